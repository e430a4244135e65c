#include "ItemsTestSupport.h"
#include "items/ItemKind.h"

#include <QApplication>

using namespace tolm;
using tolm::store::Clase;

namespace {

using DensityAndPaletteTest = tolm::test::ItemsTest;

// On a denser screen the clock, folder, drive and memory pictures are drawn at its density:
// a line one pixel thin crosses a row where the 1x picture enlarged would put two or three
// (counted across the item, its black bevel included), and a red used share keeps its
// length. At 1x the screen shows the surface as always.
TEST_F(DensityAndPaletteTest, PicturesAreDrawnAtTheScreensDensity)
{
    // Kind, format, ratio, the picture's device size, a device row, its count of a colour.
    fake.drives.add("c:\\", platform::DriveFixed, 64ull << 30, 23ull << 30, "SISTEMA", "ext4");
    const std::tuple<Clase, int, int, QSize, int, int, QRgb> cases[] = {
        { Clase::Reloj, 0, 2, { 72, 72 }, 26, 1, 0xFF3F3F }, // 10:15:07, the white dial XOR 0xC0C000
        { Clase::Carpeta, 0, 2, { 72, 72 }, 60, 2 + 2, 0 }, // the black outlines below the tab
        { Clase::Carpeta, 0, 3, { 108, 108 }, 90, 3 + 2, 0 },
        { Clase::Carpeta, 7, 2, { 36, 34 }, 24, 2 + 2, 0 },
        { Clase::Disco, 0, 2, { 72, 72 }, 66, 2 + 2, 0 }, // the ends of the free space bar
        { Clase::Memoria, 0, 2, { 72, 72 }, 32, 2 + 2, 0 }, // the ends of the paging bar
        { Clase::Memoria, 7, 3, { 51, 51 }, 40, 2 + 3, 0 }, // physical memory, small
    };
    for (const auto& [clase, tipo, ratio, size, row, count, colour] : cases) {
        SCOPED_TRACE(testing::Message() << int(clase) << " tipo " << tipo << " at " << ratio << "x");
        auto item = makeItem(clase, tipo);
        item->kind().setUpNew(*item);
        EXPECT_EQ(item->kind().sharpPicture(*item, ratio).size(), size);
        const QImage screen = rendered(*item, ratio);
        EXPECT_EQ(countColour(screen, { 0, row, screen.width(), row + 1 }, colour), count);
        const int red
            = countColour(item->surface(), { 0, row / ratio, item->width(), row / ratio + 1 }, 0xFF0000);
        EXPECT_NEAR(
            countColour(screen, { 0, row, screen.width(), row + 1 }, 0xFF0000), red * ratio, ratio - 1);
        EXPECT_EQ(rendered(*item, 1).convertToFormat(QImage::Format_RGB32), item->surface());
    }
}

// Under a dark palette the tiles' pictures stand on the dark button face and
// their figures keep their colours; a drive tile's kept picture is drawn anew.
TEST_F(DensityAndPaletteTest, TileBackgroundsFollowThePalette)
{
    fake.drives.add("c:\\", platform::DriveFixed, 64ull << 30, 23ull << 30, "SISTEMA", "ext4");
    const std::tuple<Clase, int, QPoint, QRgb> cases[] = {
        { Clase::Reloj, 0, { 20, 10 }, 0xFFFFFF }, // the dial
        { Clase::Disco, 7, { 12, 14 }, 0xFF0000 }, // the used share
        { Clase::Memoria, 0, { 10, 10 }, 0xFFFFFF }, // a figure's box
    };
    QPalette dark = gfx::classicPalette();
    dark.setColor(QPalette::All, QPalette::Button, QColor(0x30, 0x30, 0x30));
    for (const auto& [clase, tipo, figure, colour] : cases) {
        auto item = makeItem(clase, tipo);
        item->kind().setUpNew(*item); // a drive tile shows drive C
        const QPoint corner = item->isSmall() ? QPoint(1, 1) : QPoint(2, 2); // the picture's
        EXPECT_EQ(paintWhole(*item).pixel(corner) & 0xFFFFFF, 0xC0C0C0u);
        QApplication::setPalette(dark);
        // What a running application tells every widget; tests run none.
        QEvent change(QEvent::ApplicationPaletteChange);
        QApplication::sendEvent(item.get(), &change);
        EXPECT_EQ(paintWhole(*item).pixel(corner) & 0xFFFFFF, 0x303030u);
        EXPECT_EQ(item->surface().pixel(figure) & 0xFFFFFF, colour);
        QApplication::setPalette(gfx::classicPalette());
    }
}

} // namespace
