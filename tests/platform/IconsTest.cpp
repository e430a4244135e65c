#include "QtPrinters.h"
#include "platform/IcoFile.h"
#include "platform/LinuxIcons.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

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

class LinuxIconsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char* name : { "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS" })
            m_saved.append({ name, qgetenv(name) });
        QDir(m_dir.path()).mkpath("config");
        QDir(m_dir.path()).mkpath("data/applications");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath("data")));
        // Of the system data folders only the MIME database is seen: their
        // applications and mimeinfo.cache would answer for the test's own.
        const QByteArray systemData = qEnvironmentVariableIsEmpty("XDG_DATA_DIRS")
            ? "/usr/local/share:/usr/share"
            : qgetenv("XDG_DATA_DIRS");
        QStringList mimeOnly;
        for (const QByteArray& dir : systemData.split(':')) {
            const QString mime = QFile::decodeName(dir) + QStringLiteral("/mime");
            if (dir.isEmpty() || !QFileInfo(mime).isDir())
                continue;
            const QString stand = m_dir.filePath(QStringLiteral("system%1").arg(mimeOnly.size()));
            QDir().mkpath(stand);
            QFile::link(mime, stand + QStringLiteral("/mime"));
            mimeOnly.append(stand);
        }
        if (mimeOnly.isEmpty())
            mimeOnly.append(m_dir.filePath(QStringLiteral("nosystem")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(mimeOnly.join(u':')));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_dir.filePath("noconfig")));
    }
    void TearDown() override
    {
        for (const auto& [name, value] : m_saved) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }
    QString write(const QString& relative, const QByteArray& data)
    {
        QFile f(m_dir.filePath(relative));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return f.fileName();
    }

    QTemporaryDir m_dir;
    QList<std::pair<const char*, QByteArray>> m_saved;
};

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

    // A subtype without its own default falls back to its parent type's.
    const QString source = write("main.c", "int main() {}");
    EXPECT_EQ(icons.associatedIcon(source).file, app);

    // A file with an icon of its own answers for itself.
    const AssociatedIcon self = icons.associatedIcon(png);
    EXPECT_EQ(self.file, png);
    EXPECT_FALSE(self.image.isNull());
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
