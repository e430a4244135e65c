#include "gfx/Canvas.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace tolm::gfx;

namespace {

QImage blank(int w, int h, Color c = clWhite)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(toQRgb(c));
    return img;
}

// A picture where every pixel differs, so raster operations show their effect.
QImage patterned(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 37 % 256, y * 59 % 256, (x * y * 13) % 256));
    return img;
}

int countPixels(const QImage& img, Color c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == toQRgb(c);
    return n;
}

bool is(const QImage& img, int x, int y, Color c)
{
    return img.pixel(x, y) == toQRgb(c);
}

void polyline(Canvas& canvas, std::initializer_list<QPoint> points)
{
    canvas.moveTo(points.begin()->x(), points.begin()->y());
    for (auto p = points.begin() + 1; p != points.end(); ++p)
        canvas.lineTo(p->x(), p->y());
}

} // namespace

TEST(CanvasLine, LeavesOutItsEndPoint)
{
    QImage img = blank(5, 5);
    Canvas canvas(img);
    canvas.moveTo(0, 0);
    canvas.lineTo(4, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(is(img, i, i, clBlack)) << i;
    EXPECT_TRUE(is(img, 4, 4, clWhite));
    EXPECT_EQ(countPixels(img, clBlack), 4);
    EXPECT_EQ(canvas.penPosition(), QPoint(4, 4));

    canvas.moveTo(4, 0);
    canvas.lineTo(4, 3);
    EXPECT_TRUE(is(img, 4, 2, clBlack));
    EXPECT_TRUE(is(img, 4, 3, clWhite));
}

TEST(CanvasLine, HalfwayStepsAgreeInBothDirections)
{
    // y = x / 4 passes exactly between two pixels at x = 2: forwards the line stays
    // on the upper row there, and drawn backwards it must pick the same pixel.
    QImage forward = blank(5, 2);
    Canvas f(forward);
    f.moveTo(0, 0);
    f.lineTo(4, 1);
    EXPECT_TRUE(is(forward, 0, 0, clBlack));
    EXPECT_TRUE(is(forward, 1, 0, clBlack));
    EXPECT_TRUE(is(forward, 2, 0, clBlack));
    EXPECT_TRUE(is(forward, 3, 1, clBlack));
    EXPECT_EQ(countPixels(forward, clBlack), 4);

    QImage backward = blank(5, 2);
    Canvas b(backward);
    b.moveTo(4, 1);
    b.lineTo(0, 0);
    for (int x = 1; x <= 3; ++x)
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(forward.pixel(x, y), backward.pixel(x, y)) << x << "," << y;
    EXPECT_TRUE(is(backward, 4, 1, clBlack));
    EXPECT_TRUE(is(backward, 0, 0, clWhite));
}

TEST(CanvasLine, ClippedLineKeepsTheUnclippedPixels)
{
    // Lines far outside the window are stepped into it arithmetically; they must
    // land on exactly the pixels of the same line drawn on a big enough picture.
    std::uint32_t seed = 12345;
    auto next = [&](int range) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % unsigned(2 * range + 1)) - range;
    };
    for (int round = 0; round < 300; ++round) {
        const QPoint a(next(250), next(250)), b(next(250), next(250));
        QImage whole = blank(520, 520);
        Canvas big(whole);
        big.moveTo(a.x() + 260, a.y() + 260);
        big.lineTo(b.x() + 260, b.y() + 260);

        QImage window = blank(40, 40);
        Canvas small(window);
        small.setClipRect({ 5, 8, 33, 36 });
        small.moveTo(a.x() + 20, a.y() + 20);
        small.lineTo(b.x() + 20, b.y() + 20);
        for (int y = -20; y < 20; ++y)
            for (int x = -20; x < 20; ++x) {
                const bool inClip = x >= -15 && x < 13 && y >= -12 && y < 16;
                const QRgb expected = inClip ? whole.pixel(x + 260, y + 260) : toQRgb(clWhite);
                ASSERT_EQ(window.pixel(x + 20, y + 20), expected)
                    << "line " << a.x() << "," << a.y() << " -> " << b.x() << "," << b.y() << " at " << x
                    << "," << y;
            }
    }
}

TEST(CanvasLine, XorTwiceRestoresThePicture)
{
    const QImage original = patterned(20, 20);
    for (int width = 1; width <= 3; ++width) {
        QImage img = original;
        Canvas canvas(img);
        canvas.setPen(0xC0C000, width, PenMode::Xor);
        polyline(canvas, { { 2, 3 }, { 17, 9 }, { 4, 18 }, { 2, 3 } });
        EXPECT_NE(img, original);
        polyline(canvas, { { 2, 3 }, { 17, 9 }, { 4, 18 }, { 2, 3 } });
        EXPECT_EQ(img, original) << "width " << width;
    }
}

TEST(CanvasLine, XorPolylineTogglesSharedCornerOnce)
{
    QImage img = blank(6, 6, clBlack);
    Canvas canvas(img);
    canvas.setPen(clWhite, 1, PenMode::Xor);
    polyline(canvas, { { 0, 0 }, { 4, 0 }, { 4, 4 } });
    EXPECT_TRUE(is(img, 4, 0, clWhite));
    EXPECT_TRUE(is(img, 4, 3, clWhite));
    EXPECT_TRUE(is(img, 4, 4, clBlack));
    EXPECT_EQ(countPixels(img, clWhite), 8);
}

TEST(CanvasLine, WidePensCoverTheirWidthAndTheEndPoint)
{
    QImage img = blank(9, 9);
    Canvas canvas(img);
    canvas.setPen(clBlack, 3);
    canvas.moveTo(2, 4);
    canvas.lineTo(6, 4);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(is(img, x, y, clBlack), x >= 1 && x <= 7 && y >= 3 && y <= 5) << x << "," << y;

    QImage two = blank(9, 9);
    Canvas c2(two);
    c2.setPen(clBlack, 2);
    c2.moveTo(4, 2);
    c2.lineTo(4, 6);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(is(two, x, y, clBlack), x >= 3 && x <= 4 && y >= 1 && y <= 6) << x << "," << y;
}

TEST(CanvasFill, RightAndBottomEdgesAreExcluded)
{
    QImage img = blank(5, 5);
    Canvas canvas(img);
    canvas.setBrush(clRed);
    canvas.fillRect({ 1, 1, 4, 3 });
    EXPECT_EQ(countPixels(img, clRed), 6);
    EXPECT_TRUE(is(img, 1, 1, clRed));
    EXPECT_TRUE(is(img, 3, 2, clRed));
    EXPECT_TRUE(is(img, 4, 1, clWhite));
    EXPECT_TRUE(is(img, 1, 3, clWhite));

    canvas.fillRect({ 3, 3, 3, 5 }, clBlack); // empty
    canvas.fillRect({ 4, 4, 2, 2 }, clBlack); // inverted: empty as well
    EXPECT_EQ(countPixels(img, clBlack), 0);
}

TEST(CanvasFill, ClipAppliesToEveryCall)
{
    QImage img = blank(6, 6);
    Canvas canvas(img);
    canvas.setClipRect({ 2, 1, 4, 3 });
    canvas.fillRect({ -5, -5, 10, 10 }, clRed);
    EXPECT_EQ(countPixels(img, clRed), 4);
    EXPECT_TRUE(is(img, 3, 2, clRed));
    EXPECT_TRUE(is(img, 4, 2, clWhite));
    EXPECT_EQ(canvas.clipRect(), (Rect { 2, 1, 4, 3 }));
}

TEST(CanvasFill, FrameLiesAlongTheInside)
{
    QImage img = blank(6, 6);
    Canvas canvas(img);
    canvas.frameRect({ 0, 0, 4, 4 }, clBlack);
    EXPECT_EQ(countPixels(img, clBlack), 12);
    EXPECT_TRUE(is(img, 3, 3, clBlack));
    EXPECT_TRUE(is(img, 1, 1, clWhite));
}

TEST(CanvasShape, EllipseStaysInsideItsBoxAndIsSymmetric)
{
    QImage img = blank(11, 11);
    Canvas canvas(img);
    canvas.setPen(clBlack);
    canvas.setBrush(clRed);
    canvas.ellipse({ 1, 1, 10, 10 });
    EXPECT_TRUE(is(img, 1, 5, clBlack));
    EXPECT_TRUE(is(img, 9, 5, clBlack));
    EXPECT_TRUE(is(img, 5, 1, clBlack));
    EXPECT_TRUE(is(img, 5, 9, clBlack));
    EXPECT_TRUE(is(img, 5, 5, clRed));
    EXPECT_TRUE(is(img, 1, 1, clWhite));
    for (int i = 0; i < 11; ++i) {
        EXPECT_TRUE(is(img, i, 0, clWhite) && is(img, i, 10, clWhite) && is(img, 0, i, clWhite)
            && is(img, 10, i, clWhite));
        for (int j = 0; j < 11; ++j) {
            EXPECT_EQ(img.pixel(i, j), img.pixel(10 - i, j));
            EXPECT_EQ(img.pixel(i, j), img.pixel(j, i));
        }
    }
}

TEST(CanvasShape, PieSweepsCounterClockwise)
{
    // A 10 x 10 dial, centre between pixels 4 and 5.
    auto pie = [](QPoint from, QPoint to) {
        QImage img = blank(10, 10);
        Canvas canvas(img);
        canvas.setPen(clBlack);
        canvas.setBrush(clRed);
        canvas.pie({ 0, 0, 10, 10 }, from, to);
        return img;
    };
    // From three o'clock to twelve: the upper right quarter.
    QImage quarter = pie({ 10, 5 }, { 5, 0 });
    EXPECT_TRUE(is(quarter, 6, 3, clRed));
    EXPECT_TRUE(is(quarter, 3, 3, clWhite));
    EXPECT_TRUE(is(quarter, 3, 6, clWhite));
    EXPECT_TRUE(is(quarter, 6, 6, clWhite));
    EXPECT_TRUE(is(quarter, 9, 4, clBlack));
    EXPECT_TRUE(is(quarter, 5, 0, clBlack));

    // From six o'clock round to twelve: the right half.
    QImage half = pie({ 5, 10 }, { 5, 0 });
    EXPECT_TRUE(is(half, 7, 3, clRed));
    EXPECT_TRUE(is(half, 7, 6, clRed));
    EXPECT_TRUE(is(half, 2, 3, clWhite));
    EXPECT_TRUE(is(half, 2, 6, clWhite));

    // The same radial twice: the whole ellipse.
    QImage whole = pie({ 5, 0 }, { 5, 0 });
    EXPECT_TRUE(is(whole, 2, 6, clRed));
    EXPECT_TRUE(is(whole, 7, 3, clRed));

    // A sliver too thin to hold a pixel centre still shows its radial.
    QImage sliver = pie({ 6, 0 }, { 5, 0 });
    EXPECT_GT(countPixels(sliver, clBlack), 2);
    EXPECT_TRUE(is(sliver, 2, 6, clWhite));
}

TEST(CanvasBlt, TruthTablesOfTheTransferCodes)
{
    const QRgb src[4]
        = { qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0xF0, 0x0F, 0x55), qRgb(0xF0, 0x0F, 0x55) };
    const QRgb dst[4]
        = { qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(0xFF, 0xFF, 0x00), qRgb(0x0C, 0x30, 0xAA) };
    QImage source(4, 1, QImage::Format_RGB32);
    for (int i = 0; i < 4; ++i)
        source.setPixel(i, 0, src[i]);
    struct Case {
        std::uint32_t code;
        std::uint32_t (*expect)(std::uint32_t s, std::uint32_t d);
    };
    const Case cases[] = {
        { rop::SrcCopy, [](std::uint32_t s, std::uint32_t) { return s; } },
        { rop::SrcAnd, [](std::uint32_t s, std::uint32_t d) { return s & d; } },
        { rop::SrcInvert, [](std::uint32_t s, std::uint32_t d) { return s ^ d; } },
        { rop::SrcPaint, [](std::uint32_t s, std::uint32_t d) { return s | d; } },
        { rop::NotSrcCopy, [](std::uint32_t s, std::uint32_t) { return ~s; } },
        { rop::SrcErase, [](std::uint32_t s, std::uint32_t d) { return s & ~d; } },
        { rop::MergePaint, [](std::uint32_t s, std::uint32_t d) { return ~s | d; } },
        { rop::Blackness, [](std::uint32_t, std::uint32_t) { return 0u; } },
        { rop::Whiteness, [](std::uint32_t, std::uint32_t) { return 0xFFFFFFu; } },
        { rop::DstInvert, [](std::uint32_t, std::uint32_t d) { return ~d; } },
    };
    for (const Case& c : cases) {
        QImage img(4, 1, QImage::Format_RGB32);
        for (int i = 0; i < 4; ++i)
            img.setPixel(i, 0, dst[i]);
        Canvas canvas(img);
        canvas.bitBlt(0, 0, 4, 1, source, 0, 0, c.code);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(img.pixel(i, 0) & 0xFFFFFFu, c.expect(src[i], dst[i]) & 0xFFFFFFu)
                << std::hex << "code " << c.code << " pixel " << i;
    }
}

TEST(CanvasBlt, FastPathsMatchTheGeneralCombination)
{
    const QRgb pattern = qRgb(0x12, 0xC0, 0x7E);
    for (unsigned table = 0; table < 256; ++table) {
        QRgb d[3] = { qRgb(1, 2, 3), qRgb(0xFF, 0x80, 0x00), qRgb(0x5A, 0xA5, 0x3C) };
        const QRgb s[3] = { qRgb(0xFF, 0, 0x81), qRgb(0x0F, 0xF0, 0x33), qRgb(0, 0, 0) };
        QRgb expected[3];
        for (int i = 0; i < 3; ++i)
            expected[i] = combinePixel(std::uint8_t(table), pattern, s[i], d[i]);
        combineRun(std::uint8_t(table), d, s, pattern, 3);
        for (int i = 0; i < 3; ++i)
            ASSERT_EQ(d[i], expected[i]) << "table " << table;
    }
    EXPECT_EQ(penModeTable(PenMode::Copy), 0xF0);
    EXPECT_EQ(penModeTable(PenMode::Xor), 0x5A);
    EXPECT_EQ(penModeTable(PenMode::Not), 0x55);
    EXPECT_EQ(penModeTable(PenMode::Nop), 0xAA);
}

TEST(CanvasBlt, PatternOperationsUseTheBrush)
{
    QImage img = patterned(4, 4);
    Canvas canvas(img);
    canvas.setBrush(0x00FF00);
    canvas.patBlt({ 0, 0, 2, 4 }, rop::PatCopy);
    canvas.patBlt({ 2, 0, 4, 4 }, rop::Blackness);
    EXPECT_TRUE(is(img, 1, 3, 0x00FF00));
    EXPECT_TRUE(is(img, 2, 0, clBlack));
    canvas.patBlt({ 0, 0, 4, 1 }, rop::SrcCopy); // needs a source: ignored
    EXPECT_TRUE(is(img, 3, 0, clBlack));
}

TEST(CanvasBlt, TransfersAreClippedOnBothSides)
{
    QImage src = patterned(6, 6);
    QImage img = blank(5, 5, clBlack);
    Canvas canvas(img);
    // Source starts outside its bitmap, destination runs past the right edge.
    canvas.bitBlt(1, 1, 6, 6, src, -1, -1);
    EXPECT_TRUE(is(img, 1, 1, clBlack)); // no source pixel at (-1, -1)
    EXPECT_EQ(img.pixel(2, 2), src.pixel(0, 0));
    EXPECT_EQ(img.pixel(4, 3), src.pixel(2, 1));
    EXPECT_TRUE(is(img, 0, 0, clBlack));

    // Copying a picture onto itself, overlapping, reads the picture as it was.
    QImage self = patterned(5, 1);
    const QImage before = self;
    Canvas sc(self);
    sc.bitBlt(1, 0, 4, 1, self, 0, 0);
    for (int x = 1; x < 5; ++x)
        EXPECT_EQ(self.pixel(x, 0), before.pixel(x - 1, 0));
}

TEST(CanvasBlt, StretchTakesThePixelUnderEachCentre)
{
    QImage src(36, 36, QImage::Format_RGB32);
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 36; ++x)
            src.setPixel(x, y, qRgb(x, y, 0));
    QImage img = blank(20, 20);
    Canvas canvas(img);
    canvas.stretchBlt({ 1, 1, 18, 18 }, src, { 0, 0, 36, 36 });
    EXPECT_TRUE(is(img, 0, 0, clWhite));
    EXPECT_TRUE(is(img, 18, 18, clWhite));
    for (int i = 0; i < 17; ++i) {
        const int expected = (2 * i + 1) * 36 / 34;
        EXPECT_EQ(qRed(img.pixel(1 + i, 5)), expected) << i;
        EXPECT_EQ(qGreen(img.pixel(5, 1 + i)), expected) << i;
    }
    EXPECT_EQ(qRed(img.pixel(1, 1)), 1);
    EXPECT_EQ(qRed(img.pixel(17, 1)), 34);
}

TEST(CanvasBlt, GlyphBottomLeftColourIsTransparent)
{
    QImage glyph(3, 2, QImage::Format_RGB32);
    glyph.fill(toQRgb(clOlive));
    glyph.setPixel(1, 0, toQRgb(clBlack));
    glyph.setPixel(2, 1, toQRgb(clRed));
    QImage img = blank(5, 4);
    Canvas canvas(img);
    canvas.drawTransparent(1, 1, glyph);
    EXPECT_EQ(countPixels(img, clOlive), 0);
    EXPECT_TRUE(is(img, 2, 1, clBlack));
    EXPECT_TRUE(is(img, 3, 2, clRed));
    EXPECT_EQ(countPixels(img, clWhite), 18);
}

TEST(CanvasText, ClippedTextStaysInsideItsRectangle)
{
    QImage img = blank(60, 30, clBlue);
    Canvas canvas(img);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    canvas.setFont(font);
    canvas.setTextColor(clBlack);
    canvas.setBrush(clWhite);
    const Rect box { 10, 5, 40, 25 };
    const QString text = QStringLiteral("WWWWWWWWWW");
    ASSERT_GT(canvas.textWidth(text), box.width());
    canvas.textRect(box, 12, 6, text);
    int inked = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            if (!box.contains(x, y))
                ASSERT_TRUE(is(img, x, y, clBlue)) << x << "," << y;
            else if (!is(img, x, y, clWhite))
                ++inked;
        }
    EXPECT_GT(inked, 20);
    // Nothing was drawn left of the text start.
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < 12; ++x)
            EXPECT_TRUE(is(img, x, y, clWhite));
}

TEST(CanvasText, MetricsFollowTheFont)
{
    QImage img = blank(10, 10);
    Canvas canvas(img);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    canvas.setFont(font);
    EXPECT_GT(canvas.textWidth(QStringLiteral("WWWW")), canvas.textWidth(QStringLiteral("ii")));
    EXPECT_EQ(canvas.textWidth(QString()), 0);
    // 8 points at 96 dots per inch, whatever resolution the bitmap came with.
    const int height = canvas.textHeight(QStringLiteral("Ag"));
    EXPECT_GE(height, 10);
    EXPECT_LE(height, 16);
    EXPECT_EQ(Canvas::textHeight(font), height);
    EXPECT_EQ(Canvas::textWidth(font, QStringLiteral("12:30")), canvas.textWidth(QStringLiteral("12:30")));
}

TEST(CanvasText, OpaqueBackgroundFillsTheCellWithinTheClip)
{
    QImage img = blank(40, 30);
    Canvas canvas(img);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    canvas.setFont(font);
    canvas.setBrushClear();
    canvas.setTextBackground(clRed, true);
    canvas.textRect({ 0, 0, 8, 30 }, 2, 3, QStringLiteral("   "));
    const int h = canvas.textHeight(QStringLiteral(" "));
    EXPECT_TRUE(is(img, 2, 3, clRed));
    EXPECT_TRUE(is(img, 7, 3 + h - 1, clRed));
    EXPECT_TRUE(is(img, 8, 3, clWhite));
    EXPECT_TRUE(is(img, 2, 3 + h, clWhite));
    EXPECT_TRUE(is(img, 1, 3, clWhite));
}

TEST(Colors, SystemColoursAndByteOrder)
{
    EXPECT_EQ(toQRgb(0x0000FF), qRgb(255, 0, 0));
    EXPECT_EQ(toQRgb(0xFF0000), qRgb(0, 0, 255));
    EXPECT_EQ(fromQRgb(qRgb(0x12, 0x34, 0x56)), 0x563412u);
    EXPECT_EQ(resolveColor(clBtnFace), 0xC0C0C0u);
    EXPECT_EQ(resolveColor(clBtnShadow), 0x808080u);
    EXPECT_EQ(resolveColor(clBtnHighlight), 0xFFFFFFu);
    EXPECT_EQ(resolveColor(clWindowText), 0u);
    EXPECT_EQ(resolveColor(clInfoBk), 0xE1FFFFu);
    EXPECT_EQ(resolveColor(0x800000FF), 0u); // no such system colour
    EXPECT_EQ(resolveColor(0x12345678), 0x345678u);
}
