#include "ItemsTestSupport.h"
#include "items/ItemKind.h"

#include <QApplication>
#include <QHash>
#include <algorithm>

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

// Every text and letter a tile draws stands out from what it stands on by
// at least 4.5 : 1, under the classic palette and under a dark one: in each
// place, the ink that differs most from the place's commonest colour.
TEST_F(DensityAndPaletteTest, TileTextsStandOutInLightAndDarkPalettes)
{
    fake.drives.add("c:\\", platform::DriveFixed, 64ull << 30, 23ull << 30, "SISTEMA", "ext4");
    EXPECT_DOUBLE_EQ(gfx::contrastRatio(qRgb(0, 0, 0), qRgb(255, 255, 255)), 21.0);
    QPalette dark = gfx::classicPalette();
    for (const auto role : { QPalette::Window, QPalette::Button, QPalette::Base })
        dark.setColor(QPalette::All, role, QColor(0x30, 0x30, 0x30));
    for (const auto role : { QPalette::WindowText, QPalette::ButtonText, QPalette::Text })
        dark.setColor(QPalette::All, role, QColor(0xE8, 0xE8, 0xE8));
    // Kind, format, what, where on the item.
    const std::tuple<Clase, int, const char*, QRect> cases[] = {
        { Clase::Memoria, 0, "P", { 31, 13, 7, 7 } },
        { Clase::Memoria, 0, "M", { 31, 31, 7, 7 } },
        { Clase::Memoria, 7, "MEM", { 3, 1, 15, 6 } },
        { Clase::Memoria, 1, "the load", { 42, 2, 36, 36 } },
        { Clase::Disco, 0, "the letter", { 27, 18, 8, 10 } },
        { Clase::Disco, 7, "the letter", { 12, 1, 7, 10 } },
        { Clase::Disco, 1, "the caption", { 42, 2, 36, 36 } },
        { Clase::Reloj, 1, "the time", { 42, 2, 36, 36 } },
    };
    for (const QPalette& palette : { gfx::classicPalette(), dark }) {
        QApplication::setPalette(palette);
        for (const auto& [clase, tipo, what, place] : cases) {
            SCOPED_TRACE(testing::Message() << what << " of Clase " << int(clase) << " tipo " << tipo
                                            << " on " << qPrintable(palette.color(QPalette::Button).name()));
            auto item = makeItem(clase, tipo);
            item->kind().setUpNew(*item);
            const QImage& image = paintWhole(*item);
            QHash<QRgb, int> counts;
            for (int y = place.top(); y <= place.bottom(); ++y)
                for (int x = place.left(); x <= place.right(); ++x)
                    ++counts[image.pixel(x, y)];
            const QList<QRgb> colours = counts.keys();
            const QRgb ground = *std::max_element(
                colours.begin(), colours.end(), [&counts](QRgb a, QRgb b) { return counts[a] < counts[b]; });
            double best = 1.0;
            for (const QRgb ink : colours)
                best = std::max(best, gfx::contrastRatio(ink, ground));
            EXPECT_GT(colours.size(), 1) << "nothing drawn";
            EXPECT_GE(best, gfx::kReadableContrast);
        }
    }
    QApplication::setPalette(gfx::classicPalette());
}

} // namespace
