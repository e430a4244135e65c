#include "gfx/Canvas.h"

#include <climits>
#include <functional>
#include <gtest/gtest.h>

using namespace tolm::gfx;

namespace {

// Callers hand the canvas coordinates computed from stored figures. Far-out
// positions and sizes at either end of the int range either reach the bitmap
// where they truly do or miss it; they never wrap round onto it.
TEST(CanvasExtremes, FarOutCoordinatesHitOnlyWhereTheyTrulyReach)
{
    QImage glyph(4, 4, QImage::Format_RGB32);
    glyph.fill(qRgb(0, 0, 255));
    glyph.setPixel(0, 3, qRgb(1, 2, 3)); // the transparent colour, bottom left

    struct Case {
        const char* what;
        std::function<void(Canvas&)> draw;
        int changed; // pixels of the 8 x 8 bitmap
    };
    const Case cases[] = {
        { "fill over the whole range",
            [](Canvas& c) {
                c.fillRect({ INT_MIN, INT_MIN, INT_MAX, INT_MAX }, clRed);
            },
            64 },
        { "rectangle from the far left by INT_MAX",
            [](Canvas& c) { c.fillRect(Rect::fromSize(INT_MIN, 0, INT_MAX, 8), clRed); }, 0 },
        { "block at the far right", [&](Canvas& c) { c.bitBlt(INT_MAX - 2, 0, 8, 8, glyph, 0, 0); }, 0 },
        { "block whose source lies far out", [&](Canvas& c) { c.bitBlt(0, 0, 8, 8, glyph, INT_MAX - 2, 0); },
            0 },
        { "block from the far left reaching in",
            [&](Canvas& c) { c.bitBlt(INT_MIN, 0, INT_MAX, 4, glyph, INT_MIN, 0); }, 0 },
        { "glyph at the far right", [&](Canvas& c) { c.drawTransparent(INT_MAX, INT_MAX, glyph); }, 0 },
        { "glyph at the far left", [&](Canvas& c) { c.drawTransparent(INT_MIN, INT_MIN, glyph); }, 0 },
        { "glyph partly in", [&](Canvas& c) { c.drawTransparent(5, 4, glyph); }, 11 },
        { "diagonal across the whole range",
            [](Canvas& c) {
                c.moveTo(INT_MIN, INT_MIN);
                c.lineTo(INT_MAX, INT_MAX);
            },
            8 },
        { "wide pen across the whole range",
            [](Canvas& c) {
                c.setPen(clBlack, 3);
                c.moveTo(INT_MIN, 4);
                c.lineTo(INT_MAX, 4);
            },
            24 },
    };
    for (const Case& k : cases) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(qRgb(255, 255, 255));
        Canvas canvas(image);
        k.draw(canvas);
        int changed = 0;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x)
                changed += image.pixel(x, y) != qRgb(255, 255, 255);
        }
        EXPECT_EQ(changed, k.changed) << k.what;
    }
}

TEST(CanvasExtremes, RectArithmeticSaturates)
{
    EXPECT_EQ(
        Rect::fromSize(INT_MAX - 1, INT_MIN, 10, -10), (Rect { INT_MAX - 1, INT_MIN, INT_MAX, INT_MIN }));
    EXPECT_EQ((Rect { INT_MIN, 0, INT_MAX, 1 }).width(), INT_MAX);
    EXPECT_EQ((Rect { 0, 0, 4, 4 }).translated(INT_MAX, INT_MIN),
        (Rect { INT_MAX, INT_MIN, INT_MAX, INT_MIN + 4 }));
    EXPECT_TRUE((Rect { 0, 0, 4, 4 }).translated(INT_MAX, 0).isEmpty());
}

} // namespace
