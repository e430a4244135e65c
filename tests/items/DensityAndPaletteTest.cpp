#include "ItemsTestSupport.h"

#include <QApplication>
#include <QScopeGuard>

using namespace tolm;
using tolm::store::Clase;

namespace {

using DensityAndPaletteTest = tolm::test::ItemsTest;

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
