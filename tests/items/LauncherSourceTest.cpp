#include "ItemsTestSupport.h"
#include "items/ItemIcons.h"
#include "platform/DesktopEntry.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QScopeGuard>

using namespace tolm;
using tolm::store::Clase;

namespace {

QImage halves(int size, QRgb left, QRgb right)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(left);
    QPainter(&image).fillRect(size / 2, 0, size - size / 2, size, right);
    return image;
}

int count(const QImage& image, QRgb color)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF);
    return n;
}

const QRgb blue = qRgb(0, 0, 255), red = qRgb(255, 0, 0), green = qRgb(0, 255, 0);

class LauncherSourceTest : public tolm::test::ShelfItemsTest {
protected:
    void SetUp() override
    {
        ShelfItemsTest::SetUp();
        // A 32-pixel picture for ordinary screens and a 64-pixel one, drawn
        // differently, for screens of twice the density.
        QIcon icon;
        icon.addPixmap(QPixmap::fromImage(halves(32, blue, blue)));
        icon.addPixmap(QPixmap::fromImage(halves(64, red, green)));
        source = icon;
    }
    // A launcher whose stored picture was made when nothing resolved.
    std::unique_ptr<TSpButton> launcher(int tipo)
    {
        auto item = makeItem(Clase::Normal, tipo);
        item->settag1(1);
        item->setComando("prog");
        item->setFichIcono("prog");
        item->refreshGlyph();
        return item;
    }

    QIcon source;
};

} // namespace

TEST_F(LauncherSourceTest, IconsAreDrawnFromTheirSourceAtThePixelRatio)
{
    auto item = launcher(0);
    const QImage stored = item->Glyph();
    const QImage withStoredGlyph = rendered(*item, 1);
    ASSERT_EQ(count(withStoredGlyph, blue), 0);

    fake.icons.sources["prog"] = { source };
    item = launcher(0);
    const QImage normal = rendered(*item, 1);
    EXPECT_EQ(count(normal, blue), 32 * 32);
    EXPECT_EQ(count(normal, red) + count(normal, green), 0);
    // Only the icon's square changed: the background, bevel and caption are as before.
    int changed = 0;
    QRect changedArea;
    for (int y = 0; y < normal.height(); ++y) {
        for (int x = 0; x < normal.width(); ++x) {
            if (normal.pixel(x, y) != withStoredGlyph.pixel(x, y)) {
                ++changed;
                changedArea |= QRect(x, y, 1, 1);
            }
        }
    }
    EXPECT_GT(changed, 0);
    EXPECT_LE(changedArea.width(), 32);
    EXPECT_LE(changedArea.height(), 32);

    // Twice the density: the 64-pixel picture, pixel for pixel.
    const QImage sharp = rendered(*item, 2);
    EXPECT_EQ(count(sharp, red), 32 * 64);
    EXPECT_EQ(count(sharp, green), 32 * 64);
    EXPECT_EQ(count(sharp, blue), 0);

    // The small format draws the same source in its 15-pixel square.
    auto small = launcher(7);
    ASSERT_TRUE(small->isSmall());
    EXPECT_EQ(count(rendered(*small, 1), blue), 15 * 15);

    // What is stored never changes: the picture stays the one first made.
    EXPECT_EQ(item->Glyph(), stored);
    EXPECT_EQ(
        item->toState("Principal.MenuBoton").glyphBmp, launcher(0)->toState("Principal.MenuBoton").glyphBmp);
}

TEST_F(LauncherSourceTest, TheStoredPictureServesWhenTheSourceIsGone)
{
    auto item = launcher(0);
    const QImage before = rendered(*item, 1);
    fake.icons.sources["prog"] = { source };
    item->setFichIcono("elsewhere"); // resolves through the command instead
    fake.icons.associatedSources["prog"] = source;
    EXPECT_EQ(count(rendered(*item, 1), blue), 32 * 32);

    fake.icons.associatedSources.clear();
    item->setComando("gone");
    EXPECT_EQ(rendered(*item, 1), before);

    // A launcher without a picture, folders and other glyph sizes never ask.
    fake.icons.sourceRequests.clear();
    item->settag1(0);
    item->refreshGlyph();
    rendered(*item, 1);
    auto folder = makeItem(Clase::Carpeta, 0);
    folder->settag1(1);
    folder->refreshGlyph();
    rendered(*folder, 1);
    auto odd = launcher(0);
    fake.icons.sourceRequests.clear();
    odd->setGlyph(QImage(20, 20, QImage::Format_RGB32));
    rendered(*odd, 1);
    EXPECT_TRUE(fake.icons.sourceRequests.isEmpty()) << fake.icons.sourceRequests.join(' ').toStdString();
}

TEST_F(LauncherSourceTest, TheSourceIsLookedUpOncePerChangeNotPerPaint)
{
    fake.icons.associatedSources["prog"] = source;
    auto item = launcher(0);
    fake.icons.sourceRequests.clear();
    for (int i = 0; i < 5; ++i)
        rendered(*item, i % 2 ? 2 : 1);
    // The icon file holds nothing, so the command answers: two lookups, once.
    EXPECT_EQ(fake.icons.sourceRequests, QStringList({ "prog", "prog" }));
    item->setTag(1);
    rendered(*item, 1);
    rendered(*item, 1);
    EXPECT_EQ(fake.icons.sourceRequests.size(), 4);

    // A launcher whose icon did not resolve finds it once the icon theme
    // changes, and draws it at once.
    const QString theme = QIcon::themeName();
    const auto restore = qScopeGuard([theme] { QIcon::setThemeName(theme); });
    auto later = launcher(0);
    fake.icons.associatedSources.clear();
    EXPECT_EQ(count(rendered(*later, 1), blue), 0);
    fake.icons.associatedSources["prog"] = source;
    EXPECT_EQ(count(rendered(*later, 1), blue), 0);
    QIcon::setThemeName(theme + "-changed");
    EXPECT_EQ(count(rendered(*later, 1), blue), 32 * 32);
}

TEST_F(LauncherSourceTest, DroppedDesktopEntriesAreCaptionedAndLaunchedByTheShell)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const QString& name, const QByteArray& text) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    };
    // The caption and hint follow the program's language, falling back from
    // language_COUNTRY to language to the plain key.
    const QByteArray editor
        = "[Desktop Entry]\nType=Application\nName=Text Editor\nName[es]=Editor de textos\n"
          "Name[en_GB]=Text Editor (GB)\nComment=Edits text\nComment[es_ES]=Edita textos\n"
          "Exec=editor %F\n";
    const struct {
        const char* file;
        QByteArray text;
        const char* locale;
        const char* caption;
        const char* hint; // null: the path
    } cases[] = {
        { "editor.desktop", editor, "es_ES", "Editor de textos", "Editor de textos — Edita textos" },
        { "editor.desktop", editor, "es_AR", "Editor de textos", "Editor de textos — Edits text" },
        { "editor.desktop", editor, "en_GB", "Text Editor (GB)", "Text Editor (GB) — Edits text" },
        { "editor.desktop", editor, "en", "Text Editor", "Text Editor — Edits text" },
        { "term.desktop", "[Desktop Entry]\nName=Terminal\nExec=term\n", "es", "Terminal", "Terminal" },
        { "quiet.desktop", "[Desktop Entry]\nComment=No name\nExec=q\n", "es", "quiet.desktop", "No name" },
        { "unnamed.desktop", "[Desktop Entry]\nName=  \nExec=x\n", "es", "unnamed.desktop", nullptr },
        { "broken.desktop", "Name=Not an entry\nComment=No\n", "es", "broken.desktop", nullptr },
        { "notes.txt", "[Desktop Entry]\nName=Not read\n", "es", "notes.txt", nullptr },
    };
    const auto restore = qScopeGuard([before = tolm::platform::DesktopEntry::shownLocale()] {
        tolm::platform::DesktopEntry::setShownLocale(before);
    });
    for (const auto& c : cases) {
        const QString path = write(c.file, c.text);
        tolm::platform::DesktopEntry::setShownLocale(c.locale);
        auto item = makeItem(Clase::Normal, 0);
        item->settag1(1);
        item->setFromFile(path);
        EXPECT_EQ(item->Caption(), QString::fromUtf8(c.caption)) << c.file << " " << c.locale;
        EXPECT_EQ(tolm::items::hintForFile(path), c.hint ? QString::fromUtf8(c.hint) : path) << c.file;
        EXPECT_EQ(item->Comando(), path) << c.file;

        // Activation hands the entry itself to the shell, which runs it as it
        // says; an entry keeps no start folder, so its program never starts
        // in the folder holding it.
        fake.shell.launches.clear();
        item->activate();
        ASSERT_EQ(fake.shell.launches.size(), 1) << c.file;
        EXPECT_EQ(fake.shell.launches[0].command, path);
        EXPECT_EQ(fake.shell.launches[0].directory, path.endsWith(".desktop") ? "" : dir.path()) << c.file;
    }
}

TEST_F(LauncherSourceTest, ADarkPaletteDarkensTheShelfAndItsItems)
{
    auto* window = shelf();
    window->resize(200, 120);
    auto* item = new TSpButton(window);
    item->setClase(Clase::Normal);
    item->setTipo(0);
    item->move(10, 10);
    item->setCaption("Carta");
    item->show();

    // A launcher drawn from its source (an icon with a clear middle, so the
    // button picture shows through) and one showing its stored picture.
    QImage ring(32, 32, QImage::Format_ARGB32);
    ring.fill(Qt::transparent);
    QPainter(&ring).fillRect(0, 0, 32, 4, Qt::blue);
    QIcon clear;
    clear.addPixmap(QPixmap::fromImage(ring));
    fake.icons.sources["prog"] = { clear };
    auto* live = new TSpButton(window);
    live->setClase(Clase::Normal);
    live->setTipo(0);
    live->move(60, 10);
    live->settag1(1);
    live->setFichIcono("prog");
    live->refreshGlyph();
    live->show();
    auto* stored = new TSpButton(window);
    stored->setClase(Clase::Normal);
    stored->setTipo(0);
    stored->move(110, 10);
    stored->settag1(1);
    stored->setFichIcono("gone");
    stored->refreshGlyph();
    stored->show();

    QPalette dark = gfx::classicPalette();
    dark.setColor(QPalette::All, QPalette::Button, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::All, QPalette::Window, QColor(0x28, 0x28, 0x28));
    dark.setColor(QPalette::All, QPalette::Dark, QColor(0x10, 0x10, 0x10));
    dark.setColor(QPalette::All, QPalette::Light, QColor(0x60, 0x60, 0x60));
    QApplication::setPalette(dark);
    const QImage shot = window->grab().toImage();
    QApplication::setPalette(gfx::classicPalette());

    // The button picture behind a source-drawn icon takes the palette's
    // face and light; a stored picture is shown as it was written.
    const QPoint glyph = live->geometry().topLeft() + QPoint(2, 2);
    EXPECT_EQ(shot.pixel(glyph + QPoint(18, 18)) & 0xFFFFFF, 0x303030u);
    EXPECT_EQ(shot.pixel(glyph + QPoint(18, 1)) & 0xFFFFFF, 0x606060u);
    EXPECT_EQ(shot.pixel(glyph + QPoint(18, 3)) & 0xFFFFFF, 0x0000FFu);
    const QPoint old = stored->geometry().topLeft() + QPoint(2, 2);
    EXPECT_EQ(shot.pixel(old + QPoint(18, 1)) & 0xFFFFFF, 0xFFFFFFu);

    const QRgb face = qRgb(0x30, 0x30, 0x30);
    EXPECT_EQ(shot.pixel(190, 110) & 0xFFFFFF, face & 0xFFFFFF); // the shelf's own background
    const QRect inside = item->geometry().adjusted(4, 4, -4, -4);
    EXPECT_EQ(shot.pixel(inside.right(), inside.bottom()) & 0xFFFFFF, face & 0xFFFFFF);
    // The stored colour of the shelf stays the system colour it was.
    EXPECT_EQ(window->color(), gfx::clBtnFace);
    EXPECT_EQ(window->grab().toImage().pixel(190, 110) & 0xFFFFFF, 0xC0C0C0u);
}

// An item that cannot be opened says so in a box that names it and the
// reason; trying again at once adds no second box, trying later does.
TEST_F(LauncherSourceTest, AFailedOpenIsToldOnceInABox)
{
    using tolm::platform::ShellFailure;
    const struct {
        ShellFailure reason;
        const char* subject;
        const char* told;
    } cases[] = {
        { ShellFailure::NotFound, "editor", "No se encuentra editor." },
        { ShellFailure::NoStartFolder, "c:\\Datos", "Su carpeta de inicio, c:\\Datos, no existe." },
        { ShellFailure::NotInstalled, "gedit", "El programa gedit no está instalado." },
        { ShellFailure::NoOpener, "/tmp/a.xyz", "Ningún programa está asociado a /tmp/a.xyz." },
        { ShellFailure::NoOpener, "xdg-open", "Falta xdg-open" },
        { ShellFailure::NoTerminal, "xterm", "No se encuentra el terminal xterm" },
        { ShellFailure::CannotStart, "/bin/ed", "No se pudo iniciar /bin/ed." },
    };
    auto item = makeItem(Clase::Normal, 0);
    item->setCaption("Editor");
    for (const auto& c : cases) {
        fake.messageBoxes.boxes.clear();
        fake.shell.result = tolm::platform::ShellResult::failure(c.reason, c.subject, "why");
        item->activate();
        item->activate();
        ASSERT_EQ(fake.messageBoxes.boxes.size(), 1) << c.told;
        const QString text = fake.messageBoxes.boxes[0].text;
        EXPECT_TRUE(text.startsWith("No se puede abrir «Editor».\n\n")) << qPrintable(text);
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.told))) << qPrintable(text);
        now = now.addSecs(6);
        item->activate();
        EXPECT_EQ(fake.messageBoxes.boxes.size(), 2) << c.told;
    }
}
