// The build installed into a temporary prefix, as `cmake --install` and the
// Debian package install it, and checked the way a desktop reads it.
#include "gfx/Bitmaps.h"
#include "gfx/ProgramIcon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLibraryInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int kPatienceMs = 60000;

struct Ran {
    bool finished { false };
    int exitCode { -1 };
    QString output;
};

Ran runProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Ran ran;
    ran.finished = process.waitForFinished(kPatienceMs);
    ran.exitCode = process.exitCode();
    ran.output = QString::fromLocal8Bit(process.readAll());
    return ran;
}

// key=value lines of the [Desktop Entry] group.
QMap<QString, QString> desktopKeys(const QString& path)
{
    QMap<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return keys;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && !line.startsWith(QLatin1Char('#')))
            keys.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return keys;
}

} // namespace

class InstallTreeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_prefix = std::make_unique<QTemporaryDir>();
        const Ran install = runProgram(QStringLiteral(TOLM_CMAKE),
            { QStringLiteral("--install"), QStringLiteral(TOLM_BUILD_DIR), QStringLiteral("--prefix"),
                s_prefix->path() });
        s_installed = install.finished && install.exitCode == 0;
        s_installLog = install.output;
    }
    static void TearDownTestSuite() { s_prefix.reset(); }

    void SetUp() override { ASSERT_TRUE(s_installed) << s_installLog.toStdString(); }

    static QString installed(const QString& relative) { return s_prefix->filePath(relative); }

    // An installed text file, uncompressed when it was installed compressed.
    static QString installedText(const QString& relative)
    {
        const QString plain = installed(relative);
        if (QFile::exists(plain + QStringLiteral(".gz")))
            return runProgram(
                QStringLiteral("gzip"), { QStringLiteral("-dc"), plain + QStringLiteral(".gz") })
                .output;
        QFile file(plain);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    static QString manPage(const QString& name)
    {
        return installedText(QStringLiteral("share/man/man1/%1.1").arg(name));
    }

    static std::unique_ptr<QTemporaryDir> s_prefix;
    static bool s_installed;
    static QString s_installLog;
};

std::unique_ptr<QTemporaryDir> InstallTreeTest::s_prefix;
bool InstallTreeTest::s_installed = false;
QString InstallTreeTest::s_installLog;

TEST_F(InstallTreeTest, BothProgramsAreInstalledAndRun)
{
    for (const char* name : { "bin/tolm", "bin/tolm-shelf" })
        EXPECT_TRUE(QFileInfo(installed(QString::fromLatin1(name))).isExecutable()) << name;
    const Ran version = runProgram(installed(QStringLiteral("bin/tolm")), { QStringLiteral("--version") });
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.output.startsWith(QLatin1String("tolm "))) << version.output.toStdString();
}

TEST_F(InstallTreeTest, TheDesktopEntryStartsTolmOnThePerUserFolder)
{
    const QMap<QString, QString> keys
        = desktopKeys(installed(QStringLiteral("share/applications/tolm.desktop")));
    EXPECT_EQ(keys.value("Type"), "Application");
    EXPECT_EQ(keys.value("Exec"), "tolm --user");
    EXPECT_EQ(keys.value("Icon"), "tolm");
    EXPECT_TRUE(keys.value("Categories").split(';').contains("Utility"))
        << keys.value("Categories").toStdString();
    for (const char* key : { "Name", "Comment" }) {
        const QString english = keys.value(QString::fromLatin1(key));
        const QString spanish = keys.value(QString::fromLatin1(key) + QStringLiteral("[es]"));
        EXPECT_FALSE(english.isEmpty()) << key;
        EXPECT_FALSE(spanish.isEmpty()) << key;
    }
    EXPECT_NE(keys.value("Comment"), keys.value("Comment[es]"));
}

TEST_F(InstallTreeTest, TheHicolorIconsAreTheProgramIconAtEverySize)
{
    for (const int size : tolm::gfx::kProgramIconSizes) {
        const QString path = installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/tolm.png").arg(size));
        const QImage image(path, "PNG");
        ASSERT_FALSE(image.isNull()) << path.toStdString();
        EXPECT_EQ(image.size(), QSize(size, size)) << path.toStdString();
        // The same pixels as the window icon: nothing drawn twice, nothing stale.
        EXPECT_EQ(image.convertToFormat(QImage::Format_ARGB32), tolm::gfx::programIconImage(size)) << size;
        // The corner is see-through and the middle is not.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
    }
    // The drawing's own size is the artwork itself.
    EXPECT_EQ(tolm::gfx::programIconImage(48), tolm::gfx::iconImage("tolm"));
}

TEST_F(InstallTreeTest, TheManPagesDescribeTheCommandLines)
{
    const QString tolm = manPage(QStringLiteral("tolm"));
    ASSERT_TRUE(tolm.startsWith(QLatin1String(".TH TOLM 1"))) << tolm.left(80).toStdString();
    for (const char* option : { "dir", "user", "autostart", "help", "version" })
        EXPECT_TRUE(tolm.contains(QStringLiteral("\\-\\-") + QString::fromLatin1(option))) << option;
    EXPECT_FALSE(tolm.contains(QLatin1Char('@'))) << "a placeholder was left unfilled";
    const QString shelf = manPage(QStringLiteral("tolm-shelf"));
    ASSERT_TRUE(shelf.startsWith(QLatin1String(".TH TOLM-SHELF 1"))) << shelf.left(80).toStdString();
    for (const char* command : { "dump", "build", "check", "tree" })
        EXPECT_TRUE(shelf.contains(QString::fromLatin1(command))) << command;
}

TEST_F(InstallTreeTest, TheMetainfoNamesTheDesktopEntryAndAScreenshot)
{
    QFile file(installed(QStringLiteral("share/metainfo/tolm.metainfo.xml")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(xml.contains("<launchable type=\"desktop-id\">tolm.desktop</launchable>"));
    const QRegularExpressionMatch image = QRegularExpression("<image>(https://[^<]+)</image>").match(xml);
    EXPECT_TRUE(image.captured(1).endsWith("docs/screenshot.png")) << xml.toStdString();
    const QString version = QRegularExpression("<release version=\"([^\"]+)\"").match(xml).captured(1);
    ASSERT_FALSE(version.isEmpty());
    EXPECT_EQ(runProgram(installed(QStringLiteral("bin/tolm")), { "--version" }).output.trimmed(),
        "tolm " + version);
}

TEST_F(InstallTreeTest, TheCopyrightAndTheChangelogAgreeWithTheMetainfoAndTheProgram)
{
    const QString copyright = installedText(QStringLiteral("share/doc/tolm/copyright"));
    EXPECT_TRUE(copyright.startsWith(
        QLatin1String("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n")));
    const QString metainfo = installedText(QStringLiteral("share/metainfo/tolm.metainfo.xml"));
    const QString licence
        = QRegularExpression("<project_license>([^<]+)</project_license>").match(metainfo).captured(1);
    ASSERT_FALSE(licence.isEmpty());
    EXPECT_TRUE(copyright.contains("\nLicense: " + licence + "\n")) << licence.toStdString();

    // A new version needs its entry at the top of the changelog.
    const QString version = runProgram(installed(QStringLiteral("bin/tolm")), { "--version" })
                                .output.trimmed()
                                .section(QLatin1Char(' '), 1);
    ASSERT_FALSE(version.isEmpty());
    const QString changelog = installedText(QStringLiteral("share/doc/tolm/changelog"));
    EXPECT_TRUE(changelog.startsWith("tolm (" + version + ") ")) << changelog.left(80).toStdString();
}

TEST_F(InstallTreeTest, TheDesktopEntryPassesDesktopFileValidate)
{
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed (Debian package desktop-file-utils)";
    const Ran ran = runProgram(validator, { installed(QStringLiteral("share/applications/tolm.desktop")) });
    EXPECT_TRUE(ran.finished);
    EXPECT_EQ(ran.exitCode, 0) << ran.output.toStdString();
    // Hints are printed but do not fail; we want none.
    EXPECT_TRUE(ran.output.trimmed().isEmpty()) << ran.output.toStdString();
}

TEST_F(InstallTreeTest, TheMetainfoPassesAppstreamcliValidate)
{
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (validator.isEmpty())
        GTEST_SKIP() << "appstreamcli is not installed (Debian package appstream)";
    const Ran ran = runProgram(validator,
        { QStringLiteral("validate"), QStringLiteral("--no-net"),
            installed(QStringLiteral("share/metainfo/tolm.metainfo.xml")) });
    EXPECT_TRUE(ran.finished);
    EXPECT_EQ(ran.exitCode, 0) << ran.output.toStdString();
}

// Most applications' icons exist only as SVG: without Qt's SVG plugins the
// launchers made from them show "?". The build installs the plugins, and
// the package depends on whatever Debian package holds the ones this Qt loads.
TEST(PackageTest, DependsOnThePackageOfTheSvgPlugins)
{
    EXPECT_TRUE(QImageReader::supportedImageFormats().contains("svg"));
    const QString dpkgQuery = QStandardPaths::findExecutable(QStringLiteral("dpkg-query"));
    if (dpkgQuery.isEmpty())
        GTEST_SKIP() << "dpkg-query is not installed: not a Debian system";
    QFile config(QStringLiteral(TOLM_BUILD_DIR "/CPackConfig.cmake"));
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    const QRegularExpressionMatch line
        = QRegularExpression(QStringLiteral("set\\(CPACK_DEBIAN_PACKAGE_DEPENDS \"([^\"]*)\"\\)"))
              .match(QString::fromUtf8(config.readAll()));
    ASSERT_TRUE(line.hasMatch());
    QStringList depends;
    for (const QString& item : line.captured(1).split(u',', Qt::SkipEmptyParts))
        depends << item.trimmed().section(u' ', 0, 0);
    const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath);
    for (const char* plugin : { "imageformats/libqsvg.so", "iconengines/libqsvgicon.so" }) {
        const QString path = plugins + u'/' + QLatin1String(plugin);
        ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
        const Ran owner = runProgram(dpkgQuery, { QStringLiteral("-S"), path });
        ASSERT_EQ(owner.exitCode, 0) << owner.output.toStdString();
        // "libqt6svg6:amd64: /usr/lib/..."
        const QString package = owner.output.section(u':', 0, 0).trimmed();
        EXPECT_TRUE(depends.contains(package))
            << package.toStdString() << " not in " << line.captured(1).toStdString();
    }
}
