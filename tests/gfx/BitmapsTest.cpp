#include "gfx/Bitmaps.h"

#include "gfx/Color.h"

#include <gtest/gtest.h>
#include <set>

using namespace tolm::gfx;

namespace {

bool is(const QImage& img, int x, int y, Color c)
{
    return img.pixel(x, y) == toQRgb(c);
}

bool allOf(const QImage& img, const Rect& r, Color c)
{
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (!is(img, x, y, c))
                return false;
    return true;
}

int countOf(const QImage& img, const Rect& r, Color c)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += is(img, x, y, c);
    return n;
}

} // namespace

TEST(Bitmaps, EveryPictureLoadsAtItsSize)
{
    const std::pair<const char*, QSize> sizes[] = {
        { "boton_b", { 36, 36 } },
        { "carpeta", { 36, 36 } },
        { "carpeta_a", { 36, 36 } },
        { "carpeta2", { 18, 17 } },
        { "carpeta2_a", { 18, 17 } },
        { "NO_ICON", { 32, 32 } },
        { "bclock", { 36, 36 } },
        { "floppy", { 36, 36 } },
        { "drive", { 36, 36 } },
        { "net", { 36, 36 } },
        { "nonet", { 36, 36 } },
        { "net2", { 36, 36 } },
        { "nonet2", { 36, 36 } },
        { "cdrom", { 36, 36 } },
        { "minidrive", { 17, 17 } },
        { "LET_6", { 156, 9 } },
        { "DIGITS_5", { 71, 11 } },
        { "NUM_4", { 46, 22 } },
        { "bmem", { 36, 36 } },
        { "minimem", { 17, 17 } },
        { "SpinUp", { 9, 6 } },
        { "SpinDown", { 9, 6 } },
        { "about", { 280, 120 } },
    };
    for (const auto& [name, size] : sizes) {
        const QImage img = bitmap(name);
        ASSERT_FALSE(img.isNull()) << name;
        EXPECT_EQ(img.size(), size) << name;
        EXPECT_EQ(img.format(), QImage::Format_RGB32) << name;
    }
    EXPECT_GE(bitmap("tolm").width(), 48);
    EXPECT_EQ(bitmap("tolm").width(), bitmap("tolm").height());
    EXPECT_TRUE(bitmap("no such picture").isNull());
    EXPECT_EQ(bitmap("no_icon"), bitmap("NO_ICON"));
    EXPECT_EQ(bitmap("Bclock"), bitmap("bclock"));
}

TEST(Bitmaps, IconsKeepTheirTransparency)
{
    const QImage icon = iconImage("NO_ICON");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(12, 16)), 255);
    EXPECT_TRUE(is(bitmap("NO_ICON"), 0, 0, clBtnFace));
    EXPECT_EQ(qAlpha(iconImage("tolm").pixel(0, 0)), 0);
}

TEST(Bitmaps, LetterStripIsBlackOnWhite)
{
    const QImage strip = bitmap("LET_6");
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x)
            ASSERT_TRUE(is(strip, x, y, clBlack) || is(strip, x, y, clWhite)) << x << "," << y;
    for (char c = 'A'; c <= 'Z'; ++c)
        EXPECT_GT(countOf(strip, letterRect(c), clBlack), 5) << c;
    EXPECT_EQ(letterRect('C'), (Rect { 12, 0, 18, 9 }));
    EXPECT_EQ(letterRect('c'), letterRect('C'));
    EXPECT_EQ(letterRect('Z'), (Rect { 150, 0, 156, 9 }));
    EXPECT_TRUE(letterRect('\\').isEmpty());
    EXPECT_TRUE(letterRect('1').isEmpty());
}

TEST(Bitmaps, DigitStripsHoldDistinctDigits)
{
    const QImage big = bitmap("DIGITS_5");
    std::set<QByteArray> seen;
    for (int d = 0; d < 10; ++d) {
        const Rect r = bigDigitRect(d);
        EXPECT_EQ(r, (Rect { 5 * d, 0, 5 * d + 5, 11 }));
        const QImage glyph = big.copy(r.toQRect());
        seen.insert(QByteArray(reinterpret_cast<const char*>(glyph.constBits()), int(glyph.sizeInBytes())));
        EXPECT_GT(countOf(big, r, clBlack), 3) << d;
    }
    EXPECT_EQ(seen.size(), 10u);
    EXPECT_TRUE(bigDigitRect(10).isEmpty());
    EXPECT_GT(countOf(big, noDiskSignRect, clRed), 10);
    EXPECT_TRUE(allOf(big, { 50, 0, 59, 11 }, clWhite));

    const QImage small = bitmap("NUM_4");
    for (NumRow row : { NumRow::Six, NumRow::Seven, NumRow::Nine }) {
        std::set<QByteArray> glyphs;
        for (int d = 0; d < 10; ++d) {
            const QImage glyph = small.copy(numDigitRect(row, d).toQRect());
            glyphs.insert(
                QByteArray(reinterpret_cast<const char*>(glyph.constBits()), int(glyph.sizeInBytes())));
        }
        const QImage g = small.copy(numGSignRect(row).toQRect());
        glyphs.insert(QByteArray(reinterpret_cast<const char*>(g.constBits()), int(g.sizeInBytes())));
        EXPECT_EQ(glyphs.size(), 11u);
    }
    EXPECT_EQ(numDigitRect(NumRow::Six, 3), (Rect { 12, 0, 16, 6 }));
    EXPECT_EQ(numDigitRect(NumRow::Seven, 0), (Rect { 0, 6, 4, 13 }));
    EXPECT_EQ(numGSignRect(NumRow::Nine), (Rect { 40, 13, 44, 22 }));
}

TEST(Bitmaps, DrivePicturesLeaveRoomForLetterDigitsAndBar)
{
    // The letter is combined by AND and the digits land on white, so those places
    // must be white; the bar is one colour that is not the red of the used part.
    for (const char* name : { "floppy", "drive", "net", "nonet", "cdrom" }) {
        const QImage img = bitmap(name);
        EXPECT_TRUE(allOf(img, place::driveLetter, clWhite)) << name;
        EXPECT_TRUE(allOf(img, place::driveDigits, clWhite)) << name;
        const QRgb bar = img.pixel(place::driveBar.left, place::driveBar.top);
        EXPECT_NE(bar, toQRgb(clRed));
        EXPECT_TRUE(allOf(img, place::driveBar, fromQRgb(bar))) << name;
    }
    const QImage mini = bitmap("minidrive");
    EXPECT_TRUE(allOf(mini, place::miniDriveLetter, clWhite));
    EXPECT_TRUE(allOf(mini, place::miniDriveBar, fromQRgb(mini.pixel(1, 12))));
}

TEST(Bitmaps, MemoryPicturesHaveWhiteFiguresAndPlainBars)
{
    const QImage mem = bitmap("bmem");
    for (Rect figures :
        { Rect { 2, 2, 16, 11 }, Rect { 20, 5, 34, 11 }, Rect { 2, 19, 16, 28 }, Rect { 20, 22, 34, 28 } })
        EXPECT_TRUE(allOf(mem, figures, clWhite));
    EXPECT_TRUE(allOf(mem, place::memPagingBar, fromQRgb(mem.pixel(2, 12))));
    EXPECT_TRUE(allOf(mem, place::memPhysicalBar, fromQRgb(mem.pixel(2, 29))));
    const QImage mini = bitmap("minimem");
    EXPECT_TRUE(allOf(mini, place::miniMemPagingBar, fromQRgb(mini.pixel(1, 7))));
    EXPECT_TRUE(allOf(mini, place::miniMemPhysicalBar, fromQRgb(mini.pixel(1, 12))));
    EXPECT_NE(mini.pixel(1, 12), toQRgb(clRed));
}

TEST(Bitmaps, ClockFaceAndSpinGlyphs)
{
    const QImage clock = bitmap("bclock");
    EXPECT_TRUE(is(clock, 18, 18, clBlack));
    // The hands' ends lie on the white dial.
    for (QPoint p :
        { QPoint(18, 3), QPoint(33, 18), QPoint(18, 33), QPoint(3, 18), QPoint(29, 18), QPoint(6, 16) })
        EXPECT_FALSE(is(clock, p.x(), p.y(), clBlack)) << p.x() << "," << p.y();
    // Twelve hour dots, in a colour of their own.
    EXPECT_GE(countOf(clock, { 0, 0, 36, 36 }, clNavy), 12);

    const QImage up = bitmap("SpinUp");
    const QImage down = bitmap("SpinDown");
    EXPECT_TRUE(is(up, 0, 5, clOlive));
    EXPECT_TRUE(is(down, 0, 5, clOlive));
    EXPECT_EQ(countOf(up, { 0, 0, 9, 6 }, clBlack), 1 + 3 + 5 + 7);
    EXPECT_EQ(countOf(up, { 1, 4, 8, 5 }, clBlack), 7);
    EXPECT_TRUE(is(up, 4, 1, clBlack));
    EXPECT_EQ(countOf(down, { 1, 1, 8, 2 }, clBlack), 7);
    EXPECT_TRUE(is(down, 4, 4, clBlack));
}

TEST(Bitmaps, ButtonGlyphsHaveATransparentCorner)
{
    // The button draws the glyph's bottom-left colour as transparent; it must not
    // be a colour the picture uses for its body.
    for (const char* name : { "boton_b", "carpeta", "carpeta_a", "carpeta2", "carpeta2_a" }) {
        const QImage img = bitmap(name);
        const QRgb clear = img.pixel(0, img.height() - 1);
        EXPECT_NE(clear, toQRgb(clBlack)) << name;
        EXPECT_NE(clear, toQRgb(clBtnFace)) << name;
        EXPECT_LT(
            countOf(img, { 0, 0, img.width(), img.height() }, fromQRgb(clear)), img.width() * img.height())
            << name;
    }
    EXPECT_TRUE(is(bitmap("boton_b"), 18, 18, clBtnFace));
}
