#include "ItemsTestSupport.h"
#include "app/TPrincipal.h"
#include "items/ItemIcons.h"

#include <QCoreApplication>

using namespace tolm;
using tolm::store::Clase;

namespace {

class ItemDrawingTest : public tolm::test::ShelfItemsTest {
protected:
    TSpButton* addItem(Clase clase, int tipo, QPoint at)
    {
        auto* item = new TSpButton(shelf());
        item->setClase(clase);
        item->setTipo(tipo);
        item->move(at);
        if (clase >= Clase::Reloj)
            state.addTimerItem(item);
        return item;
    }
};

TEST_F(ItemDrawingTest, LauncherGlyphFollowsTheIconFallbacks)
{
    fake.icons.files["prog.exe"] = { fake.icons.solid(qRgb(255, 0, 0)), fake.icons.solid(qRgb(0, 255, 0)),
        fake.icons.solid(qRgb(0, 0, 255)) };
    fake.icons.associations["carta.txt"] = { fake.icons.solid(qRgb(9, 9, 9)), "editor.desktop", 0 };

    const QImage third = items::launcherGlyph("prog.exe", 2, "carta.txt", false);
    ASSERT_EQ(third.size(), QSize(36, 36));
    EXPECT_EQ(third.pixel(2, 2), qRgb(0, 0, 255));
    EXPECT_EQ(third.pixel(33, 33), qRgb(0, 0, 255));
    const QImage background = gfx::bitmap("boton_b");
    EXPECT_EQ(third.pixel(1, 1), background.pixel(1, 1));
    EXPECT_EQ(third.pixel(34, 34), background.pixel(34, 34));

    EXPECT_EQ(items::launcherGlyph("prog.exe", 7, "carta.txt", false).pixel(18, 18), qRgb(9, 9, 9));
    EXPECT_EQ(items::launcherGlyph("", 0, "carta.txt", false).pixel(18, 18), qRgb(9, 9, 9));

    // Neither: our own stand-in, the same wherever it is opaque.
    const QImage none = items::launcherGlyph("", 0, "nada.xyz", false);
    const QImage noIcon = gfx::iconImage("NO_ICON");
    int compared = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (qAlpha(noIcon.pixel(x, y)) == 255) {
                EXPECT_EQ(none.pixel(x + 2, y + 2) & 0xFFFFFF, noIcon.pixel(x, y) & 0xFFFFFF);
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 100);

    const QImage small = items::launcherGlyph("prog.exe", 0, "", true);
    ASSERT_EQ(small.size(), QSize(18, 17));
    EXPECT_EQ(small.pixel(8, 8), qRgb(255, 0, 0));
    EXPECT_EQ(small.pixel(17, 1), background.pixel(17, 1)); // the column the scaling leaves
}

TEST_F(ItemDrawingTest, GlyphRefreshByKindSizeAndTag1)
{
    auto folder = makeItem(Clase::Carpeta, 0);
    folder->settag1(1);
    folder->refreshGlyph();
    EXPECT_EQ(folder->Glyph(), gfx::bitmap("carpeta"));
    EXPECT_EQ(folder->Margin(), 1);
    folder->setTag(1);
    folder->refreshGlyph();
    EXPECT_EQ(folder->Glyph(), gfx::bitmap("carpeta_a"));
    folder->setTipo(7);
    EXPECT_EQ(folder->Glyph(), gfx::bitmap("carpeta2_a"));
    folder->setTag(0);
    folder->refreshGlyph();
    EXPECT_EQ(folder->Glyph(), gfx::bitmap("carpeta2"));

    auto launcher = makeItem(Clase::Normal, 0);
    launcher->settag1(1);
    launcher->refreshGlyph();
    EXPECT_EQ(launcher->Glyph().size(), QSize(36, 36));
    launcher->setTipo(7);
    EXPECT_EQ(launcher->Glyph().size(), QSize(18, 17));
    launcher->setTipo(1);
    EXPECT_EQ(launcher->Glyph().size(), QSize(36, 36));

    launcher->settag1(0);
    launcher->refreshGlyph();
    EXPECT_TRUE(launcher->Glyph().isNull());
    EXPECT_EQ(launcher->Margin(), -1);
    launcher->settag1(1);
    launcher->refreshGlyph();
    EXPECT_FALSE(launcher->Glyph().isNull());
    EXPECT_EQ(launcher->Margin(), 1);

    auto clock = makeItem(Clase::Reloj, 0);
    clock->settag1(10);
    clock->refreshGlyph();
    EXPECT_EQ(clock->tag1(), -2);
    EXPECT_TRUE(clock->Glyph().isNull());
}

TEST_F(ItemDrawingTest, SetFromFileFillsALauncher)
{
    fake.icons.associations["C:\\Datos\\carta.txt"]
        = { fake.icons.solid(qRgb(9, 9, 9)), "/usr/share/applications/ed.desktop", 3 };
    auto item = makeItem(Clase::Normal, 0);
    item->setParam("viejo");
    item->settag1(1);
    item->setFromFile("C:\\Datos\\carta.txt");
    EXPECT_EQ(item->Comando(), QStringLiteral("C:\\Datos\\carta.txt"));
    EXPECT_EQ(item->Caption(), QStringLiteral("carta.txt"));
    EXPECT_EQ(item->Directorio(), QStringLiteral("C:\\Datos"));
    EXPECT_EQ(item->Param(), QString());
    EXPECT_EQ(item->FichIcono(), QStringLiteral("/usr/share/applications/ed.desktop"));
    EXPECT_EQ(item->Tag(), 3);
    EXPECT_EQ(item->Glyph().size(), QSize(36, 36));

    EXPECT_EQ(items::folderPart("C:\\carta.txt"), QStringLiteral("C:\\"));
    EXPECT_EQ(items::folderPart("/home/ana/carta.txt"), QStringLiteral("/home/ana"));
    EXPECT_EQ(items::folderPart("/carta.txt"), QStringLiteral("/"));
    EXPECT_EQ(items::folderPart("/tmp//carta.txt"), QStringLiteral("/tmp"));
    EXPECT_EQ(items::folderPart("C:carta.txt"), QStringLiteral("C:"));
    EXPECT_EQ(items::fileNamePart("C:carta.txt"), QStringLiteral("carta.txt"));
    EXPECT_EQ(items::fileNamePart("/home/ana/notas"), QStringLiteral("notas"));
}

TEST_F(ItemDrawingTest, FlatFaceBevelLines)
{
    auto item = makeItem(Clase::Memoria, 0);
    const QImage& s = paintWhole(*item);
    EXPECT_EQ(s.pixel(0, 0), rgb(gfx::clWhite));
    EXPECT_EQ(s.pixel(0, 38), rgb(gfx::clWhite));
    EXPECT_EQ(s.pixel(38, 0), rgb(gfx::clWhite));
    EXPECT_EQ(s.pixel(39, 0), rgb(gfx::clBlack));
    EXPECT_EQ(s.pixel(0, 39), rgb(gfx::clBlack));
    EXPECT_EQ(s.pixel(39, 39), rgb(gfx::clBlack));
    EXPECT_EQ(s.pixel(1, 38), rgb(gfx::clBtnShadow));
    EXPECT_EQ(s.pixel(38, 1), rgb(gfx::clBtnShadow));
    EXPECT_EQ(s.pixel(38, 38), rgb(gfx::clBtnShadow));
    EXPECT_EQ(s.pixel(1, 1), rgb(gfx::clBtnFace));
    EXPECT_EQ(s.pixel(37, 1), rgb(gfx::clBtnFace));

    auto resources = makeItem(Clase::Recursos, 1);
    const QImage& r = paintWhole(*resources);
    EXPECT_EQ(countColour(r, { 1, 1, 78, 38 }, rgb(gfx::clBtnFace)), 77 * 37);
}

TEST_F(ItemDrawingTest, SpeedButtonPlacesGlyphAndCaption)
{
    auto item = makeItem(Clase::Carpeta, 1); // T80x40
    item->settag1(1);
    item->refreshGlyph();
    item->setCaption("Docs");
    const QImage& s = paintWhole(*item);
    // Margin 1, centred down; the glyph's bottom-left colour is transparent.
    const QImage folder = gfx::bitmap("carpeta");
    const QRgb clear = folder.pixel(0, 35);
    auto glyphAt = [&](const QImage& image, int x, int y) {
        for (int j = 0; j < 36; ++j) {
            for (int i = 0; i < 36; ++i) {
                const QRgb want = folder.pixel(i, j) == clear ? rgb(gfx::clBtnFace) : folder.pixel(i, j);
                if (image.pixel(x + i, y + j) != want)
                    return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(glyphAt(s, 1, 2));
    EXPECT_EQ(s.pixel(0, 0), rgb(gfx::clWhite));
    // The caption starts 4 pixels after the picture.
    EXPECT_EQ(inked(s, { 37, 2, 41, 38 }), 0);
    EXPECT_GT(inked(s, { 41, 2, 78, 38 }), 0);

    item->setDown(true);
    const QImage& pressed = paintWhole(*item);
    EXPECT_EQ(pressed.pixel(0, 0), rgb(gfx::clBlack));
    EXPECT_EQ(pressed.pixel(79, 39), rgb(gfx::clWhite));
    EXPECT_TRUE(glyphAt(pressed, 2, 3));

    auto plain = makeItem(Clase::Normal, 1);
    plain->setCaption("X");
    const QImage& centred = paintWhole(*plain);
    EXPECT_GT(inked(centred, { 2, 2, 78, 38 }), 0);
    EXPECT_EQ(inked(centred, { 2, 2, 30, 38 }), 0);
    EXPECT_EQ(inked(centred, { 50, 2, 78, 38 }), 0);
}

TEST_F(ItemDrawingTest, AlwaysButtonsMarksTheHoveredItemAroundItsText)
{
    shelf()->setAlwaysButtons(true);
    TSpButton* hovered = addItem(Clase::Normal, 1, { 0, 0 });
    hovered->settag1(1);
    hovered->refreshGlyph();
    TSpButton* other = addItem(Clase::Normal, 1, { 0, 40 });
    state.hoveredItem = hovered;
    const QRgb mark = rgb(gfx::clHighlight);
    const QImage& h = paintWhole(*hovered);
    EXPECT_EQ(countColour(h, { 40, 1, 78, 2 }, mark), 38);
    EXPECT_EQ(countColour(h, { 40, 37, 78, 38 }, mark), 38);
    EXPECT_EQ(countColour(h, { 40, 1, 41, 38 }, mark), 37);
    EXPECT_EQ(countColour(h, { 77, 1, 78, 38 }, mark), 37);
    EXPECT_EQ(countColour(h, { 1, 1, 40, 2 }, mark), 0);
    EXPECT_EQ(countColour(h, { 1, 1, 2, 38 }, mark), 0);
    const QImage& o = paintWhole(*other);
    EXPECT_EQ(countColour(o, { 0, 0, 80, 40 }, mark), 0);
    EXPECT_EQ(o.pixel(0, 0), rgb(gfx::clWhite)); // still a button

    // Without a picture the mark goes all round; small items start at x = 20.
    TSpButton* small = addItem(Clase::Memoria, 8, { 0, 80 });
    state.hoveredItem = other;
    EXPECT_EQ(countColour(paintWhole(*other), { 1, 1, 2, 38 }, mark), 37);
    state.hoveredItem = small;
    const QImage& sm = paintWhole(*small);
    EXPECT_EQ(countColour(sm, { 20, 1, 21, 18 }, mark), 17);
    EXPECT_EQ(countColour(sm, { 0, 0, 20, 20 }, mark), 0);
}

TEST_F(ItemDrawingTest, WithoutAlwaysButtonsOnlyTheHoveredItemHasAFrame)
{
    TSpButton* hovered = addItem(Clase::Normal, 1, { 0, 0 });
    TSpButton* other = addItem(Clase::Memoria, 1, { 0, 40 });
    state.hoveredItem = hovered;
    const QImage& h = paintWhole(*hovered);
    EXPECT_EQ(h.pixel(0, 0), rgb(gfx::clWhite));
    EXPECT_EQ(h.pixel(79, 39), rgb(gfx::clBlack));
    const QImage& o = paintWhole(*other);
    const QRgb face = rgb(gfx::clBtnFace);
    EXPECT_EQ(o.pixel(0, 0), face);
    EXPECT_EQ(o.pixel(79, 39), face);
    EXPECT_EQ(o.pixel(78, 38), face);
    EXPECT_EQ(o.pixel(1, 20), face);
    EXPECT_EQ(countColour(o, { 0, 0, 80, 2 }, face), 160);
    EXPECT_EQ(countColour(o, { 77, 0, 80, 40 }, face), 120);
}

TEST_F(ItemDrawingTest, InPlaceRepaintOnAWindowDrawsOnlyThePicture)
{
    shelf()->resize(200, 100);
    TSpButton* memory = addItem(Clase::Memoria, 1, { 0, 0 });
    TSpButton* drive = addItem(Clase::Disco, 1, { 80, 0 });
    drive->createPictureCache();
    drive->setDirectorio("c:\\");
    fake.drives.add("c:\\", platform::DriveFixed, 1000 * 1024, 500 * 1024);
    shelf()->show();
    QCoreApplication::processEvents();
    shelf()->grab();
    ASSERT_EQ(memory->tag1(), 0);
    ASSERT_EQ(drive->tag1(), 500);

    const QRgb mark = qRgb(1, 2, 3);
    memory->surface().setPixel(0, 0, mark);
    memory->surface().setPixel(60, 20, mark); // the load text, rewritten only when it changes
    memory->surface().setPixel(20, 20, mark);
    memory->setTimerRepaint(true);
    memory->repaint();
    memory->setTimerRepaint(false);
    EXPECT_EQ(memory->surface().pixel(0, 0), mark);
    EXPECT_EQ(memory->surface().pixel(60, 20), mark);
    // The same reading draws the same picture: it is not drawn again.
    EXPECT_EQ(memory->surface().pixel(20, 20), mark);
    // Repainting one item did not repaint the window under it, which would
    // have sent every tile back to a full redraw.
    EXPECT_EQ(drive->tag1(), 500);

    fake.memory.figures.load = 80;
    memory->setTimerRepaint(true);
    memory->repaint();
    memory->setTimerRepaint(false);
    EXPECT_NE(memory->surface().pixel(60, 20), mark);
    EXPECT_NE(memory->surface().pixel(20, 20), mark);
    EXPECT_EQ(memory->Comando(), QStringLiteral("80%"));
}

} // namespace
