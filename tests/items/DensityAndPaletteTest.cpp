#include "ItemsTestSupport.h"
#include "items/ItemKind.h"

#include <QApplication>
#include <QScopeGuard>

using namespace tolm;
using tolm::store::Clase;

namespace {

using DensityAndPaletteTest = tolm::test::ItemsTest;

// The item as a screen of `ratio` device pixels to the pixel shows it.
QImage rendered(TSpButton& item, int ratio)
{
    QImage image(item.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    item.render(&image);
    return image;
}

int countInRow(const QImage& image, int y, QRgb colour)
{
    int n = 0;
    for (int x = 0; x < image.width(); ++x)
        n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

// On a denser screen the clock and the folder are drawn at its density: a
// line one pixel thin on the screen crosses a row where the 1x picture,
// enlarged, would put two or three.
TEST_F(DensityAndPaletteTest, PicturesAreDrawnAtTheScreensDensity)
{
    const QRgb black = 0x000000, secondsHand = 0xFF3F3F; // the white dial XOR 0xC0C000
    const struct {
        Clase clase;
        int tipo;
        int ratio;
        QSize picture; // in device pixels
        int row; // a device row across the picture
        QRgb colour;
        int count; // pixels of that colour in the row, the item's bevel included
    } cases[] = {
        // 10:15:07: the seconds hand rises to the right, across rows 22 to 40.
        { Clase::Reloj, 0, 2, { 72, 72 }, 26, secondsHand, 1 },
        { Clase::Reloj, 7, 2, { 32, 32 }, 12, secondsHand, 1 },
        // Below the tab, the folder's left and right outlines beside the black bevel.
        { Clase::Carpeta, 0, 2, { 72, 72 }, 60, black, 2 + 2 },
        { Clase::Carpeta, 0, 3, { 108, 108 }, 90, black, 3 + 2 },
        { Clase::Carpeta, 7, 2, { 36, 34 }, 24, black, 2 + 2 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.clase) << " tipo " << c.tipo << " at " << c.ratio << "x");
        auto item = makeItem(c.clase, c.tipo);
        if (c.clase == Clase::Carpeta) {
            item->setShowsIcon(true);
            item->refreshGlyph();
        }
        const QImage picture = item->kind().sharpPicture(*item, c.ratio);
        EXPECT_EQ(picture.size(), c.picture);
        EXPECT_EQ(picture.devicePixelRatio(), c.ratio);
        const QImage screen = rendered(*item, c.ratio);
        EXPECT_EQ(countInRow(screen, c.row, c.colour), c.count);
        // What 1x shows is the surface as it was always drawn.
        EXPECT_EQ(rendered(*item, 1), item->surface().convertToFormat(QImage::Format_RGB32));
    }
}

// Under a dark palette the tiles' pictures stand on the dark button face, as
// launchers do; the figures keep their own colours. A drive tile keeps its
// last picture between readings and draws it anew for the new palette.
TEST_F(DensityAndPaletteTest, TileBackgroundsFollowThePalette)
{
    fake.drives.add("c:\\", platform::DriveFixed, 64ull << 30, 23ull << 30, "SISTEMA", "ext4");
    const struct {
        Clase clase;
        int tipo;
        QPoint background, figure; // on the surface
        QRgb figureColour;
    } cases[] = {
        { Clase::Reloj, 0, { 2, 2 }, { 20, 10 }, 0xFFFFFF }, // the dial
        { Clase::Reloj, 7, { 1, 1 }, { 9, 5 }, 0xFFFFFF },
        { Clase::Disco, 0, { 2, 2 }, { 10, 14 }, 0xFFFFFF }, // the digits' panel
        { Clase::Disco, 7, { 1, 1 }, { 12, 14 }, 0xFF0000 }, // the used share
        { Clase::Memoria, 0, { 2, 2 }, { 10, 10 }, 0xFFFFFF }, // a figure's box
        { Clase::Memoria, 7, { 1, 1 }, { 12, 14 }, 0xFF0000 },
    };
    const QRgb dark = qRgb(0x30, 0x30, 0x30);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.clase) << " tipo " << c.tipo);
        auto item = makeItem(c.clase, c.tipo);
        item->setDirectorio("c:\\");
        item->markSourceChanged();
        EXPECT_EQ(paintWhole(*item).pixel(c.background) & 0xFFFFFF, 0xC0C0C0u);
        QPalette palette = gfx::classicPalette();
        palette.setColor(QPalette::All, QPalette::Button, dark);
        QApplication::setPalette(palette);
        // What a running application tells every widget; tests run none.
        QEvent change(QEvent::ApplicationPaletteChange);
        QApplication::sendEvent(item.get(), &change);
        const auto restore = qScopeGuard([] { QApplication::setPalette(gfx::classicPalette()); });
        const QImage& surface = paintWhole(*item);
        EXPECT_EQ(surface.pixel(c.background), dark);
        EXPECT_EQ(surface.pixel(c.figure) & 0xFFFFFF, c.figureColour);
    }
}

} // namespace
