#include "QtPrinters.h"
#include "files/ReadFile.h"
#include "platform/Applications.h"
#include "platform/DesktopEntry.h"
#include "platform/IcoFile.h"
#include "platform/LinuxIcons.h"
#include "platform/LinuxShell.h"
#include "platform/OutsideFiles.h"
#include "support/Watchdog.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QTemporaryDir>
#include <QtEndian>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tolm::platform;

namespace {

void put16(QByteArray& b, quint16 v)
{
    char raw[2];
    qToLittleEndian(v, raw);
    b.append(raw, 2);
}

void put32(QByteArray& b, quint32 v)
{
    char raw[4];
    qToLittleEndian(v, raw);
    b.append(raw, 4);
}

QByteArray dibHeader(int width, int height, int bitCount, int colors = 0)
{
    QByteArray b;
    put32(b, 40);
    put32(b, width);
    put32(b, height * 2);
    put16(b, 1);
    put16(b, bitCount);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, colors);
    put32(b, 0);
    return b;
}

// 4 x 2, 4 bits: palette red, green; top row red, bottom row green; the mask
// makes the top-left pixel transparent.
QByteArray paletteDib()
{
    QByteArray b = dibHeader(4, 2, 4, 2);
    b += QByteArray("\x00\x00\xff\x00", 4); // red (BGRx)
    b += QByteArray("\x00\xff\x00\x00", 4); // green
    b += QByteArray("\x11\x11\x00\x00", 4); // bottom row first: green
    b += QByteArray("\x00\x00\x00\x00", 4); // top row: red
    b += QByteArray("\x00\x00\x00\x00", 4); // mask, bottom row
    b += QByteArray("\x80\x00\x00\x00", 4); // mask, top row: x = 0 transparent
    return b;
}

// size x size, 32 bits with alpha, every pixel blue at alpha 0x80.
QByteArray alphaDib(int size)
{
    QByteArray b = dibHeader(size, size, 32);
    for (int i = 0; i < size * size; ++i)
        b += QByteArray("\xff\x00\x00\x80", 4);
    b += QByteArray(((size + 31) / 32) * 4 * size, '\0');
    return b;
}

// 2 x 2, every pixel `pixel` (BGR or BGRA bytes); the mask makes the
// top-left pixel transparent.
QByteArray uniformDib(int bitCount, const QByteArray& pixel, quint32 headerSize = 40, quint32 compression = 0)
{
    QByteArray b = dibHeader(2, 2, bitCount);
    qToLittleEndian(headerSize, b.data());
    qToLittleEndian(compression, b.data() + 16);
    b += QByteArray(headerSize - 40, '\0');
    if (compression == 3 && headerSize == 40)
        b += QByteArray("\x00\x00\xff\x00\x00\xff\x00\x00\xff\x00\x00\x00", 12);
    const QByteArray row = (pixel + pixel).leftJustified(8, '\0');
    b += row + row;
    b += QByteArray("\x00\x00\x00\x00\x80\x00\x00\x00", 8); // mask, bottom row first
    return b;
}

QByteArray pngImage(int size, QRgb color, int height = 0)
{
    QImage image(size, height ? height : size, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray icoFile(const QList<std::pair<int, QByteArray>>& images)
{
    QByteArray out;
    put16(out, 0);
    put16(out, 1);
    put16(out, quint16(images.size()));
    quint32 offset = 6 + 16 * images.size();
    for (const auto& [size, data] : images) {
        out += char(size >= 256 ? 0 : size);
        out += char(size >= 256 ? 0 : size);
        out += char(0);
        out += char(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, data.size());
        put32(out, offset);
        offset += data.size();
    }
    for (const auto& image : images)
        out += image.second;
    return out;
}

} // namespace

TEST(IcoFile, DecodesPaletteDibWithMask)
{
    const QByteArray ico = icoFile({ { 4, paletteDib() } });
    ASSERT_EQ(IcoFile::entries(ico).size(), 1);
    const QImage image = IcoFile::image(ico, 0);
    ASSERT_EQ(image.size(), QSize(4, 2));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(3, 1), qRgb(0, 255, 0));
}

TEST(IcoFile, DecodesAlphaAndPngAndPicksTheBestSize)
{
    const QByteArray ico
        = icoFile({ { 16, alphaDib(16) }, { 32, pngImage(32, qRgb(0, 200, 0)) }, { 48, alphaDib(48) } });
    ASSERT_EQ(IcoFile::entries(ico).size(), 3);
    const QImage small = IcoFile::image(ico, 0);
    EXPECT_EQ(small.pixel(5, 5), qRgba(0, 0, 255, 0x80));
    const QImage best = IcoFile::bestImage(ico, 32);
    ASSERT_EQ(best.size(), QSize(32, 32));
    EXPECT_EQ(best.pixel(10, 10), qRgb(0, 200, 0));

    // Without a 32 x 32 image the larger one is scaled down.
    const QImage scaled = IcoFile::bestImage(icoFile({ { 16, alphaDib(16) }, { 48, alphaDib(48) } }), 32);
    ASSERT_EQ(scaled.size(), QSize(32, 32));
    EXPECT_EQ(qBlue(scaled.pixel(16, 16)), 255);
}

TEST(IcoFile, MalformedFilesGiveNothing)
{
    const QByteArray good = icoFile({ { 4, paletteDib() } });
    EXPECT_TRUE(IcoFile::entries("").isEmpty());
    EXPECT_TRUE(IcoFile::entries(good.left(10)).isEmpty()); // directory cut short
    QByteArray wrongType = good;
    wrongType[2] = 7;
    EXPECT_TRUE(IcoFile::entries(wrongType).isEmpty());
    QByteArray noImages = good;
    noImages[4] = 0;
    EXPECT_TRUE(IcoFile::entries(noImages).isEmpty());
    QByteArray manyImages = good;
    manyImages[4] = char(0xff);
    manyImages[5] = char(0xff);
    EXPECT_TRUE(IcoFile::entries(manyImages).isEmpty());

    // Image data cut short, and an offset far beyond the end.
    EXPECT_TRUE(IcoFile::image(good.left(good.size() - 20), 0).isNull());
    QByteArray farOffset = good;
    qToLittleEndian<quint32>(0xfffffff0u, farOffset.data() + 6 + 12);
    EXPECT_TRUE(IcoFile::image(farOffset, 0).isNull());
    EXPECT_TRUE(IcoFile::image(good, 1).isNull());
    EXPECT_TRUE(IcoFile::image(good, -1).isNull());

    // Headers that claim absurd sizes or formats are refused before allocating.
    QByteArray huge = paletteDib();
    qToLittleEndian<quint32>(0x7fffffffu, huge.data() + 4);
    EXPECT_TRUE(IcoFile::decodeDib(huge).isNull());
    QByteArray negative = paletteDib();
    qToLittleEndian<quint32>(0xfffffffeu, negative.data() + 8);
    EXPECT_TRUE(IcoFile::decodeDib(negative).isNull());
    QByteArray oddDepth = paletteDib();
    oddDepth[14] = 7;
    EXPECT_TRUE(IcoFile::decodeDib(oddDepth).isNull());
    QByteArray manyColors = paletteDib();
    qToLittleEndian<quint32>(100000u, manyColors.data() + 32);
    EXPECT_TRUE(IcoFile::decodeDib(manyColors).isNull());
    QByteArray badHeader = paletteDib();
    qToLittleEndian<quint32>(0x10000000u, badHeader.data());
    EXPECT_TRUE(IcoFile::decodeDib(badHeader).isNull());
    EXPECT_TRUE(IcoFile::bestImage(farOffset, 32).isNull());

    // An entry stating 2 GB, and a PNG stating more pixels than any icon has
    // (a few kilobytes can state hundreds of megabytes): refused unread.
    QByteArray hugeEntry = good;
    qToLittleEndian<quint32>(0x80000000u, hugeEntry.data() + 6 + 8);
    EXPECT_TRUE(IcoFile::image(hugeEntry, 0).isNull());
    EXPECT_TRUE(IcoFile::image(icoFile({ { 32, pngImage(1100, qRgb(1, 2, 3), 1) } }), 0).isNull());
    EXPECT_FALSE(IcoFile::image(icoFile({ { 32, pngImage(1000, qRgb(1, 2, 3), 1) } }), 0).isNull());

    // A damaged first choice falls back to an intact image.
    QByteArray pngBroken = icoFile({ { 32, QByteArray("\x89PNG garbage") }, { 16, alphaDib(16) } });
    EXPECT_EQ(IcoFile::bestImage(pngBroken, 32).size(), QSize(32, 32));
}

// Pictures that Qt's own icon reader draws otherwise than Windows does.
TEST(IcoFile, DibsDrawAsWindowsDrawsThem)
{
    const QRgb clear = qRgba(0, 0, 0, 0);
    const QRgb opaque = qRgb(0xc0, 0x80, 0x40);
    const QRgb faint = qRgba(0xff, 0x11, 0x03, 0x11);
    const struct {
        const char* what;
        QByteArray dib;
        QRgb topLeft, topRight;
    } cases[] = {
        { "24 bits: the mask cuts", uniformDib(24, "\x40\x80\xc0"), clear, opaque },
        { "32 bits, empty alpha: the mask cuts", uniformDib(32, QByteArray("\x40\x80\xc0\x00", 4)), clear,
            opaque },
        { "32 bits with alpha: colours kept unmultiplied", uniformDib(32, "\x03\x11\xff\x11"), faint, faint },
        { "masks after the short header", uniformDib(32, "\x40\x80\xc0\xff", 40, 3), opaque, opaque },
        { "masks inside a long header", uniformDib(32, "\x40\x80\xc0\xff", 124, 3), opaque, opaque },
    };
    for (const auto& c : cases) {
        const QImage image = IcoFile::image(icoFile({ { 2, c.dib } }), 0);
        ASSERT_EQ(image.size(), QSize(2, 2)) << c.what;
        EXPECT_EQ(image.pixel(0, 0), c.topLeft) << c.what;
        EXPECT_EQ(image.pixel(1, 0), c.topRight) << c.what;
    }
}

// A desktop of its own in a temporary folder: the user's and the system's
// data and config folders, a small MIME database and no desktop database, so
// whatever the host has installed (another editor for C sources, another
// icon theme) cannot change an answer.
class LinuxIconsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char* name :
            { "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS", "XDG_CURRENT_DESKTOP" })
            m_saved.append({ name, qgetenv(name) });
        for (const char* dir : { "config", "data/applications", "system/applications", "system/mime/packages",
                 "system/icons", "noconfig" })
            QDir(m_dir.path()).mkpath(dir);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath("data")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_dir.filePath("system")));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_dir.filePath("noconfig")));
        qunsetenv("XDG_CURRENT_DESKTOP");
        write("system/mime/packages/tolm-test.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            " <mime-type type=\"text/plain\"><comment>text</comment><glob pattern=\"*.txt\"/>"
            "<generic-icon name=\"text-x-generic\"/></mime-type>\n"
            " <mime-type type=\"text/x-csrc\"><comment>C source</comment>"
            "<sub-class-of type=\"text/plain\"/><glob pattern=\"*.c\"/></mime-type>\n"
            " <mime-type type=\"application/x-desktop\"><comment>desktop entry</comment>"
            "<glob pattern=\"*.desktop\"/></mime-type>\n"
            "</mime-info>\n");
        m_savedTheme = QIcon::themeName();
        m_savedSearchPaths = QIcon::themeSearchPaths();
    }
    void TearDown() override
    {
        for (const auto& [name, value] : m_saved) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
        QIcon::setThemeSearchPaths(m_savedSearchPaths);
        QIcon::setThemeName(m_savedTheme);
    }
    QString write(const QString& relative, const QByteArray& data)
    {
        QDir(m_dir.path()).mkpath(QFileInfo(relative).path());
        QFile f(m_dir.filePath(relative));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return f.fileName();
    }
    // A theme under system/icons with the given index text; `icons` maps
    // "<folder>/<name>.png" to a picture.
    void theme(
        const QString& name, const QByteArray& index, const QList<std::pair<QString, QImage>>& icons = {})
    {
        write("system/icons/" + name + "/index.theme", index);
        for (const auto& [path, image] : icons) {
            const QString file = "system/icons/" + name + '/' + path;
            QDir(m_dir.path()).mkpath(QFileInfo(file).path());
            EXPECT_TRUE(image.save(m_dir.filePath(file), "PNG"));
        }
    }

    QTemporaryDir m_dir;
    QList<std::pair<const char*, QByteArray>> m_saved;
    QString m_savedTheme;
    QStringList m_savedSearchPaths;
};

QImage halves(int size, QRgb left, QRgb right)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(left);
    for (int y = 0; y < size; ++y)
        for (int x = size / 2; x < size; ++x)
            image.setPixel(x, y, right);
    return image;
}

const QByteArray twoSizeTheme = "[Icon Theme]\nName=Adwaita\nDirectories=32x32/mimetypes,64x64/mimetypes\n"
                                "[32x32/mimetypes]\nSize=32\nType=Fixed\n"
                                "[64x64/mimetypes]\nSize=64\nType=Fixed\n";

TEST_F(LinuxIconsTest, CountsAndExtractsIconFilesImagesAndDesktopEntries)
{
    LinuxIcons icons;
    const QString ico
        = write("app.ico", icoFile({ { 16, alphaDib(16) }, { 32, pngImage(32, qRgb(9, 9, 9)) } }));
    EXPECT_EQ(icons.iconCount(ico), 1); // one icon, drawn at two sizes
    EXPECT_EQ(icons.extractIcon(ico, 0).pixel(3, 3), qRgb(9, 9, 9));
    EXPECT_TRUE(icons.extractIcon(ico, 1).isNull());

    const QString png = write("pic.png", pngImage(64, qRgb(200, 0, 0)));
    EXPECT_EQ(icons.iconCount(png), 1);
    const QImage picture = icons.extractIcon(png, 0);
    EXPECT_EQ(picture.size(), QSize(32, 32));
    EXPECT_EQ(picture.pixel(16, 16), qRgb(200, 0, 0));

    const QString entry
        = write("tool.desktop", "[Desktop Entry]\nType=Application\nExec=tool\nIcon=" + png.toUtf8() + "\n");
    EXPECT_EQ(icons.iconCount(entry), 1);
    EXPECT_EQ(icons.extractIcon(entry, 0).pixel(16, 16), qRgb(200, 0, 0));

    const QString text = write("notes.txt", "hello");
    EXPECT_EQ(icons.iconCount(text), 0);
    EXPECT_EQ(icons.iconCount(m_dir.filePath("missing.ico")), 0);
    EXPECT_EQ(icons.iconCount(""), 0);
    const QString broken = write("broken.ico", "\0\0\1\0\1\0garbage");
    EXPECT_EQ(icons.iconCount(broken), 0);
    EXPECT_TRUE(icons.extractIcon(broken, 0).isNull());
}

TEST_F(LinuxIconsTest, DocumentTakesTheIconOfItsDefaultApplication)
{
    const QString png = write("editor.png", pngImage(32, qRgb(0, 0, 120)));
    const QString app = write("data/applications/tolm-test-editor.desktop",
        "[Desktop Entry]\nType=Application\nName=Editor\nExec=editor %f\nIcon=" + png.toUtf8() + "\n");
    write("config/mimeapps.list",
        "[Default Applications]\ntext/plain=missing.desktop;tolm-test-editor.desktop;\n");
    const QString doc = write("carta.txt", "Querida Ana");

    EXPECT_EQ(LinuxIcons::defaultApplicationFor("text/plain"), app);
    LinuxIcons icons;
    const AssociatedIcon found = icons.associatedIcon(doc);
    EXPECT_EQ(found.file, app);
    EXPECT_EQ(found.index, 0);
    ASSERT_FALSE(found.image.isNull());
    EXPECT_EQ(found.image.pixel(5, 5), qRgb(0, 0, 120));

    // A subtype without its own default falls back to its parent type's,
    // even when another program is merely registered for the subtype.
    const QString source = write("main.c", "int main() {}");
    const QString other = write("system/applications/other-editor.desktop",
        "[Desktop Entry]\nType=Application\nName=Other\nExec=other %f\nIcon=" + png.toUtf8() + "\n");
    write("system/applications/mimeinfo.cache", "[MIME Cache]\ntext/x-csrc=other-editor.desktop;\n");
    EXPECT_EQ(icons.associatedIcon(source).file, app);
    EXPECT_EQ(LinuxIcons::defaultApplicationFor("text/x-csrc"), app);
    // Without a chosen default the registered program answers.
    write("config/mimeapps.list", "[Default Applications]\n");
    EXPECT_EQ(LinuxIcons::defaultApplicationFor("text/x-csrc"), other);
    EXPECT_EQ(LinuxIcons::defaultApplicationFor("text/plain"), "");

    // A file with an icon of its own answers for itself.
    const AssociatedIcon self = icons.associatedIcon(png);
    EXPECT_EQ(self.file, png);
    EXPECT_FALSE(self.image.isNull());
}

// A desktop entry is an application: its icon is its own Icon= or none,
// never the icon of the program that opens .desktop files nor that of their
// MIME type, which a launcher would then keep.
TEST_F(LinuxIconsTest, ADesktopEntryShowsItsOwnIconOrNone)
{
    const QRgb green = qRgb(0, 120, 0), grey = qRgb(90, 90, 90), red = qRgb(200, 0, 0);
    theme("Adwaita",
        "[Icon Theme]\nName=Adwaita\nDirectories=32x32/mimetypes\n"
        "[32x32/mimetypes]\nSize=32\nType=Fixed\n",
        { { "32x32/mimetypes/application-x-desktop.png", halves(32, grey, grey) } });
    QIcon::setThemeSearchPaths({ m_dir.filePath("system/icons") });
    QIcon::setThemeName("Adwaita");
    const QString handlerIcon = write("handler.png", pngImage(32, green));
    write("data/applications/panel-desktop-handler.desktop",
        "[Desktop Entry]\nType=Application\nName=Handler\nExec=handler %f\n"
        "MimeType=application/x-desktop;text/plain;\nIcon="
            + handlerIcon.toUtf8() + "\n");
    const QString ownIcon = write("own.png", pngImage(32, red));
    const struct {
        const char* what;
        QByteArray icon;
        bool handlerIsDefault;
        QRgb expected; // 0: none
    } cases[] = {
        { "its own icon", ownIcon.toUtf8(), true, red },
        { "an icon that cannot be read, with a handler", "drawing-only-as-svg", true, 0 },
        { "an icon that cannot be read, no handler", "drawing-only-as-svg", false, 0 },
        { "no Icon line", "", true, 0 },
    };
    for (const auto& c : cases) {
        write("config/mimeapps.list",
            c.handlerIsDefault
                ? "[Default Applications]\napplication/x-desktop=panel-desktop-handler.desktop;\n"
                  "text/plain=panel-desktop-handler.desktop;\n"
                : "[Default Applications]\n");
        const QString entry = write("drawing.desktop",
            "[Desktop Entry]\nType=Application\nName=Drawing\nExec=drawing\nIcon=" + c.icon + "\n");
        LinuxIcons icons;
        const AssociatedIcon found = icons.associatedIcon(entry);
        EXPECT_EQ(found.file, entry) << c.what;
        EXPECT_EQ(found.image.isNull() ? 0 : found.image.pixel(16, 16), c.expected) << c.what;
        const QIcon source = icons.associatedIconSource(entry);
        EXPECT_EQ(source.isNull() ? 0 : source.pixmap(QSize(32, 32)).toImage().pixel(16, 16), c.expected)
            << c.what;
        // The handler and the type's icon are found for a document all the same.
        const AssociatedIcon document = icons.associatedIcon(write("notes.txt", "text"));
        EXPECT_EQ(document.file.endsWith("panel-desktop-handler.desktop"), c.handlerIsDefault) << c.what;
    }
}

TEST_F(LinuxIconsTest, NothingFoundKeepsTheFileAndIndexZero)
{
    LinuxIcons icons;
    const QString unknown = write("data.tolmunknownext", QByteArray(64, '\x01'));
    const AssociatedIcon found = icons.associatedIcon(unknown);
    EXPECT_EQ(found.file, unknown);
    EXPECT_EQ(found.index, 0);
    EXPECT_EQ(icons.associatedIcon("").file, "");
}

TEST_F(LinuxIconsTest, AFallbackThemeIsChosenOnlyWhenThePlatformNamesNone)
{
    const QString system = m_dir.filePath("system/icons");
    const QString home = m_dir.filePath("home-icons");
    QDir().mkpath(home);
    write("system/icons/oxygen/index.theme", "[Icon Theme]\nName=oxygen\n");
    write("system/icons/hicolor/index.theme", "[Icon Theme]\nName=hicolor\n");
    EXPECT_EQ(LinuxIcons::firstInstalledTheme({ home, system }), "oxygen");
    write("home-icons/breeze/index.theme", "[Icon Theme]\nName=breeze\n");
    // The list's order counts, not the folders'.
    EXPECT_EQ(LinuxIcons::firstInstalledTheme({ system, home }), "breeze");
    QDir().mkpath(m_dir.filePath("system/icons/Adwaita")); // a folder without index is no theme
    EXPECT_EQ(LinuxIcons::firstInstalledTheme({ system, home }), "breeze");
    EXPECT_EQ(LinuxIcons::firstInstalledTheme({ m_dir.filePath("nothing") }), "");

    const struct {
        const char* platformTheme;
        const char* expected;
    } cases[] = { { "", "breeze" }, { "hicolor", "breeze" }, { "Papirus", "Papirus" } };
    for (const auto& c : cases) {
        QIcon::setThemeName(c.platformTheme);
        EXPECT_EQ(LinuxIcons::useFallbackThemeIfNone({ system, home }), c.expected) << c.platformTheme;
        EXPECT_EQ(QIcon::themeName(), c.expected) << c.platformTheme;
    }
    EXPECT_TRUE(QIcon::themeSearchPaths().contains(home));
    QIcon::setThemeName("hicolor");
    EXPECT_EQ(LinuxIcons::useFallbackThemeIfNone({ m_dir.filePath("nothing") }), "hicolor");
}

TEST_F(LinuxIconsTest, SourcesDrawAtThePixelRatioAskedFor)
{
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);
    theme("Adwaita", twoSizeTheme,
        { { "32x32/mimetypes/text-x-generic.png", halves(32, blue, blue) },
            { "64x64/mimetypes/text-x-generic.png", halves(64, red, green) } });
    QIcon::setThemeSearchPaths({ m_dir.filePath("system/icons") });
    QIcon::setThemeName("hicolor");
    ASSERT_EQ(LinuxIcons::useFallbackThemeIfNone({ m_dir.filePath("system/icons") }), "Adwaita");

    LinuxIcons icons;
    const QString doc = write("carta.txt", "Querida Ana");
    const QIcon source = icons.associatedIconSource(doc);
    ASSERT_FALSE(source.isNull());
    // At ratio 2 the 64-pixel picture is drawn, not the 32-pixel one enlarged.
    const QImage sharp = source.pixmap(QSize(32, 32), 2.0).toImage();
    ASSERT_EQ(sharp.size(), QSize(64, 64));
    EXPECT_EQ(sharp.pixel(10, 30), red);
    EXPECT_EQ(sharp.pixel(50, 30), green);
    EXPECT_EQ(source.pixmap(QSize(32, 32), 1.0).toImage().pixel(20, 20), blue);
    // The fixed picture of the same document comes from the same theme entry.
    EXPECT_EQ(icons.associatedIcon(doc).image.pixel(20, 20), blue);

    // An icon file keeps every size it holds; an image file its full size.
    const QString ico = write(
        "two.ico", icoFile({ { 32, pngImage(32, qRgb(1, 1, 1)) }, { 64, pngImage(64, qRgb(2, 2, 2)) } }));
    EXPECT_EQ(icons.iconSource(ico, 0).pixmap(QSize(32, 32), 2.0).toImage().pixel(40, 40), qRgb(2, 2, 2));
    EXPECT_EQ(icons.iconSource(ico, 0).pixmap(QSize(32, 32), 1.0).toImage().pixel(20, 20), qRgb(1, 1, 1));
    EXPECT_TRUE(icons.iconSource(ico, 1).isNull());
    const QString png = write("big.png", QByteArray());
    ASSERT_TRUE(halves(128, red, green).save(png, "PNG"));
    const QImage fromPng = icons.iconSource(png, 0).pixmap(QSize(32, 32), 2.0).toImage();
    ASSERT_EQ(fromPng.size(), QSize(64, 64));
    EXPECT_EQ(fromPng.pixel(31, 10), red);
    EXPECT_EQ(fromPng.pixel(32, 10), green);

    // A desktop entry's Icon by theme name, and the document's default application.
    const QString entry = write("data/applications/tolm-viewer.desktop",
        "[Desktop Entry]\nType=Application\nName=Viewer\nExec=viewer %f\nIcon=text-x-generic\n");
    EXPECT_EQ(icons.iconSource(entry, 0).pixmap(QSize(32, 32), 2.0).toImage().pixel(50, 30), green);
    write("config/mimeapps.list", "[Default Applications]\ntext/plain=tolm-viewer.desktop;\n");
    LinuxIcons fresh;
    EXPECT_EQ(fresh.associatedIconSource(doc).pixmap(QSize(32, 32), 2.0).toImage().pixel(10, 30), red);

    // Sources that no longer resolve give nothing, so the stored picture stays.
    EXPECT_TRUE(icons.iconSource(m_dir.filePath("gone.ico"), 0).isNull());
    const QString stale = write("stale.desktop", "[Desktop Entry]\nType=Application\nIcon=no-such-icon\n");
    EXPECT_TRUE(icons.iconSource(stale, 0).isNull());
    EXPECT_TRUE(icons.associatedIconSource("").isNull());
    EXPECT_TRUE(icons.associatedIconSource(write("blob.tolmunknownext", QByteArray(64, '\x01'))).isNull());
}

namespace {

QStringList platformWarnings;

void keepPlatformWarning(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (context.category && QByteArray(context.category) == "tolm.platform")
        platformWarnings << text;
}

} // namespace

// What stands behind a desktop entry or an icon may be anything: a FIFO no
// one writes to, a link to one, a link to a device that never ends, a
// folder, a file far too large. Each is refused at once, with its reason, by
// the application list (which skips it and says so), by the shell and by
// the icons; the sound entries and icons beside them are still read.
TEST_F(LinuxIconsTest, SpecialFilesBehindEntriesAndIconsAreRefusedAtOnce)
{
    using Reason = tolm::files::Refusal::Reason;
    using Type = tolm::files::FileType;
    const QString fifo = m_dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct {
        const char* name;
        std::function<bool(const QString&)> make;
        Reason reason;
        Type type;
    } specials[] = {
        { "fifo", [](const QString& at) { return ::mkfifo(QFile::encodeName(at).constData(), 0600) == 0; },
            Reason::NotRegular, Type::Fifo },
        { "link-to-fifo", [&](const QString& at) { return QFile::link(fifo, at); }, Reason::NotRegular,
            Type::Fifo },
        { "link-to-zero", [](const QString& at) { return QFile::link("/dev/zero", at); }, Reason::NotRegular,
            Type::CharacterDevice },
        { "folder", [](const QString& at) { return QDir().mkpath(at); }, Reason::NotRegular,
            Type::Directory },
        { "huge",
            [](const QString& at) {
                QFile(at).open(QIODevice::WriteOnly);
                std::error_code ec;
                std::filesystem::resize_file(QFile::encodeName(at).toStdString(), 3ull << 30, ec);
                return !ec;
            },
            Reason::TooLarge, Type::Regular },
    };
    const auto entryText = [](const QString& name, const QString& icon) {
        return "[Desktop Entry]\nType=Application\nName=" + name.toUtf8()
            + "\nExec=true\nIcon=" + icon.toUtf8() + "\n";
    };
    const QString png = write("pictures/good.png", pngImage(32, qRgb(0, 90, 0)));
    const QString ico = write("pictures/good.ico", icoFile({ { 32, pngImage(32, qRgb(0, 0, 90)) } }));
    const QString goodPng = write("data/applications/good-png.desktop", entryText("good png", png));
    const QString goodIco = write("data/applications/good-ico.desktop", entryText("good ico", ico));
    QStringList shown { "good-ico.desktop", "good-png.desktop" };
    for (const auto& special : specials) {
        const QString name = QString::fromLatin1(special.name);
        ASSERT_TRUE(special.make(m_dir.filePath("data/applications/" + name + ".desktop"))) << special.name;
        for (const QString suffix : { "png", "ico" }) {
            ASSERT_TRUE(special.make(m_dir.filePath("pictures/" + name + '.' + suffix))) << special.name;
            write("data/applications/icon-" + name + '-' + suffix + ".desktop",
                entryText(name, m_dir.filePath("pictures/" + name + '.' + suffix)));
            shown << "icon-" + name + '-' + suffix + ".desktop";
        }
    }

    tolm::test::Watchdog watchdog(std::chrono::seconds(60));
    LinuxIcons icons;
    LinuxShell shell;
    for (const auto& special : specials) {
        watchdog.step(special.name);
        QElapsedTimer timer;
        timer.start();
        const QString entry = m_dir.filePath("data/applications/") + special.name + ".desktop";
        tolm::files::Refusal refusal;
        EXPECT_FALSE(DesktopEntry::load(entry, &refusal).isValid()) << special.name;
        EXPECT_EQ(refusal.reason, special.reason) << special.name;
        EXPECT_EQ(refusal.type, special.type) << special.name;
        // A folder, whatever its name, opens as a folder.
        const LaunchPlan plan = shell.plan(entry, "", "");
        if (special.type != Type::Directory) {
            EXPECT_EQ(plan.reason, ShellFailure::UnreadableEntry) << special.name;
            EXPECT_EQ(plan.error, QString::fromStdString(refusal.text)) << special.name;
            EXPECT_EQ(plan.detail, refusalReason(refusal)) << special.name;
        }
        for (const char* suffix : { "png", "ico" }) {
            const QString withIcon
                = m_dir.filePath("data/applications/icon-") + special.name + '-' + suffix + ".desktop";
            EXPECT_TRUE(icons.extractIcon(withIcon, 0).isNull()) << special.name << suffix;
            EXPECT_TRUE(icons.iconSource(withIcon, 0).isNull()) << special.name << suffix;
        }
        EXPECT_LT(timer.elapsed(), 2000) << special.name;
    }

    watchdog.step("the application list");
    platformWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepPlatformWarning);
    QStringList listed;
    for (const Application& application : installedApplications())
        listed << application.id;
    qInstallMessageHandler(previous);
    listed.sort();
    shown.sort();
    EXPECT_EQ(listed, shown);
    // A FIFO or a folder is not listed as a file at all; what is listed and
    // refused is named.
    for (const char* name : { "link-to-fifo", "link-to-zero", "huge" }) {
        const QString path = m_dir.filePath("data/applications/") + name + ".desktop";
        EXPECT_EQ(platformWarnings.filter(path + ": ").size(), 1) << name;
    }

    watchdog.step("the sound icons");
    EXPECT_EQ(icons.extractIcon(goodPng, 0).pixel(16, 16), qRgb(0, 90, 0));
    EXPECT_EQ(icons.extractIcon(goodIco, 0).pixel(16, 16), qRgb(0, 0, 90));
    EXPECT_FALSE(icons.iconSource(goodPng, 0).isNull());
    EXPECT_FALSE(icons.iconSource(goodIco, 0).isNull());
}
