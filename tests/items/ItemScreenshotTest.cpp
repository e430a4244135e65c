#include "ItemsTestSupport.h"
#include "app/TPrincipal.h"

#include <QCoreApplication>

using namespace tolm;
using tolm::store::Clase;

namespace {

// A shelf holding every kind in several formats, grabbed with and without
// "Siempre botones". With TOLM_SCREENSHOTS set to a folder, the pictures are
// written there three times enlarged, for a person to look at.
class ItemScreenshotTest : public tolm::test::ItemsTest {
protected:
    void SetUp() override
    {
        ItemsTest::SetUp();
        state.shelfFolder = dir.path().toStdString();
        fake.drives.add("c:\\", platform::DriveFixed, 64ull << 30, 23ull << 30, "SISTEMA", "ext4");
        fake.drives.add("a:\\", platform::DriveRemovable, 0, 0).answers = false;
        fake.drives.add("e:\\", platform::DriveCdRom, 700ull << 20, 0, "DISCO");
        fake.drives.add("n:\\", platform::DriveRemote, 0, 0).answers = false;
        fake.drives.add("d:\\", platform::DriveFixed, 1000ull << 20, 54321ull << 10, "DATOS");
        fake.memory.figures = { 62, 16ull << 30, 6ull << 30, 18ull << 30, 8ull << 30 };
    }
    void TearDown() override
    {
        delete window;
        ItemsTest::TearDown();
    }
    TSpButton* add(Clase clase, int tipo, QPoint at, const QString& text = {})
    {
        auto* item = new TSpButton(window);
        item->setClase(clase);
        item->setTipo(tipo);
        item->move(at);
        if (clase == Clase::Disco) {
            item->createPictureCache();
            item->setDirectorio(text);
            item->settag1(-2);
        } else if (clase <= Clase::Carpeta) {
            item->setCaption(text);
            item->settag1(1);
            item->refreshGlyph();
        }
        if (clase >= Clase::Reloj)
            state.addTimerItem(item);
        item->show();
        return item;
    }
    void save(const QImage& image, const QString& name, int scale = 3)
    {
        const QByteArray folder = qgetenv("TOLM_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation)
            .save(QString::fromLocal8Bit(folder) + u'/' + name);
    }

    QTemporaryDir dir;
    TPrincipal* window { nullptr };
};

TEST_F(ItemScreenshotTest, ShelfWithEveryKind)
{
    window = new TPrincipal();
    window->resize(360, 200);
    add(Clase::Normal, 1, { 0, 0 }, "Editor");
    add(Clase::Normal, 0, { 80, 0 }, "Editor");
    add(Clase::Carpeta, 4, { 120, 0 }, "Docs");
    add(Clase::Normal, 8, { 160, 0 }, "Notas");
    add(Clase::Carpeta, 9, { 160, 20 }, "Proyectos");
    TSpButton* clock = add(Clase::Reloj, 2, { 240, 0 });
    add(Clase::Reloj, 0, { 0, 40 });
    add(Clase::Reloj, 7, { 40, 40 });
    add(Clase::Reloj, 5, { 280, 40 });
    TSpButton* text = add(Clase::Reloj, 9, { 40, 60 });
    text->setTag(TSpButton::kTagTextClock);
    add(Clase::Disco, 3, { 160, 40 }, "c:\\");
    add(Clase::Disco, 0, { 0, 80 }, "a:\\");
    add(Clase::Disco, 0, { 40, 80 }, "e:\\");
    add(Clase::Disco, 0, { 80, 80 }, "n:\\");
    add(Clase::Disco, 6, { 120, 80 }, "d:\\");
    add(Clase::Disco, 8, { 200, 80 }, "c:\\");
    add(Clase::Memoria, 1, { 0, 120 });
    add(Clase::Memoria, 0, { 80, 120 });
    add(Clase::Memoria, 8, { 200, 100 });
    add(Clase::Recursos, 0, { 280, 100 });
    state.hoveredItem = clock;
    window->show();
    QCoreApplication::processEvents();

    const QImage flat = window->grab().toImage();
    window->setAlwaysButtons(true);
    const QImage buttons = window->grab().toImage();
    save(flat, "shelf-flat.png");
    save(buttons, "shelf-buttons.png");
    save(buttons.copy(0, 80, 200, 80), "tiles-close.png", 6);
    // The two states differ only in frames: the face of a non-hovered tile
    // keeps its white corner with buttons and loses it without.
    EXPECT_EQ(buttons.pixel(0, 120), rgb(gfx::clWhite));
    EXPECT_EQ(flat.pixel(0, 120), rgb(gfx::clBtnFace));
    EXPECT_EQ(flat.pixel(240, 0), rgb(gfx::clWhite)); // the hovered clock keeps its frame
}

} // namespace
