#include "app/StartOptions.h"

#include <QMap>
#include <gtest/gtest.h>

using tolm::app::autostartEntry;
using tolm::app::autostartFile;
using tolm::app::Environment;
using tolm::app::missingDisplay;
using tolm::app::parseStartOptions;
using tolm::app::shelfFolder;
using tolm::app::StartOptions;
using Action = StartOptions::Action;
using Folder = StartOptions::Folder;

namespace {

Environment fakeEnvironment(QMap<QString, QString> values)
{
    return [values](const char* name) { return values.value(QString::fromLatin1(name)); };
}

StartOptions parse(const QString& commandLine)
{
    QStringList arguments { QStringLiteral("tolm") };
    arguments += commandLine.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return parseStartOptions(arguments);
}

} // namespace

TEST(StartOptionsTest, EachCommandLineGivesItsActionAndFolder)
{
    struct Case {
        const char* line;
        Action action;
        Folder folder;
        const char* dir;
    };
    const Case cases[] = {
        { "", Action::Run, Folder::Current, "" },
        { "--help", Action::Help, Folder::Current, "" },
        { "-h", Action::Help, Folder::Current, "" },
        { "--version", Action::Version, Folder::Current, "" },
        // The first of help and version answers.
        { "--version --help", Action::Version, Folder::Current, "" },
        { "--dir estantes", Action::Run, Folder::Given, "estantes" },
        { "--dir=/tmp/a", Action::Run, Folder::Given, "/tmp/a" },
        { "--user", Action::Run, Folder::User, "" },
        { "--user --help", Action::Help, Folder::User, "" },
        { "--autostart on", Action::Autostart, Folder::Current, "" },
        { "--autostart=off", Action::Autostart, Folder::Current, "" },
        // Qt's own options pass through and are not ours to refuse.
        { "-platform offscreen --user", Action::Run, Folder::User, "" },
        { "-session 1234abcd -reverse", Action::Run, Folder::Current, "" },
    };
    for (const Case& c : cases) {
        const StartOptions options = parse(QString::fromLatin1(c.line));
        EXPECT_EQ(options.action, c.action) << c.line << ": " << options.error.toStdString();
        EXPECT_EQ(options.folder, c.folder) << c.line;
        EXPECT_EQ(options.dir, QString::fromLatin1(c.dir)) << c.line;
    }
    EXPECT_TRUE(parse(QStringLiteral("--autostart on")).autostartOn);
    EXPECT_FALSE(parse(QStringLiteral("--autostart off")).autostartOn);
    EXPECT_EQ(parse(QStringLiteral("-platform offscreen -reverse")).qtArguments,
        QStringList({ "tolm", "-platform", "offscreen", "-reverse" }));
}

TEST(StartOptionsTest, MistakesAreOneLineErrorsThatNameTheOption)
{
    struct Case {
        const char* line;
        const char* named;
    };
    const Case cases[] = {
        { "--bogus", "--bogus" },
        { "-x", "-x" },
        { "estantes", "estantes" },
        { "--dir", "--dir" },
        { "--dir=", "--dir" },
        { "--autostart", "--autostart" },
        { "--autostart maybe", "maybe" },
        { "--user=yes", "--user" },
        { "--help=1", "--help" },
        { "--dir a --user", "--user" },
        { "--dir a --dir b", "--dir" },
        { "--autostart on --dir a", "--dir" },
        { "-platform", "-platform" },
        // An error wins over help: the user should hear about the typing mistake.
        { "--help --bogus", "--bogus" },
    };
    for (const Case& c : cases) {
        const StartOptions options = parse(QString::fromLatin1(c.line));
        EXPECT_EQ(options.action, Action::Error) << c.line;
        EXPECT_TRUE(options.error.contains(QString::fromLatin1(c.named)))
            << c.line << ": " << options.error.toStdString();
        EXPECT_FALSE(options.error.contains(QLatin1Char('\n'))) << c.line;
    }
}

TEST(StartOptionsTest, TheShelfFolderFollowsTheOptionAndTheXdgVariables)
{
    struct Case {
        const char* line;
        QMap<QString, QString> env;
        const char* folder;
    };
    const Case cases[] = {
        { "", { { "HOME", "/home/ana" } }, "/work/here" },
        { "--dir estantes", {}, "/work/here/estantes" },
        { "--dir ../otra/./carpeta", {}, "/work/otra/carpeta" },
        { "--dir /srv/tolm/", {}, "/srv/tolm" },
        { "--user", { { "HOME", "/home/ana" } }, "/home/ana/.local/share/tolm" },
        { "--user", { { "HOME", "/home/ana" }, { "XDG_DATA_HOME", "/datos" } }, "/datos/tolm" },
        // A relative XDG_DATA_HOME is to be ignored.
        { "--user", { { "HOME", "/home/ana" }, { "XDG_DATA_HOME", "datos" } },
            "/home/ana/.local/share/tolm" },
        { "--user", { { "XDG_DATA_HOME", "/datos/" } }, "/datos/tolm" },
    };
    for (const Case& c : cases) {
        const QString folder = shelfFolder(
            parse(QString::fromLatin1(c.line)), QStringLiteral("/work/here"), fakeEnvironment(c.env));
        EXPECT_EQ(folder, QString::fromLatin1(c.folder)) << c.line;
    }
    QString error;
    EXPECT_TRUE(
        shelfFolder(parse(QStringLiteral("--user")), QStringLiteral("/w"), fakeEnvironment({}), &error)
            .isEmpty());
    EXPECT_TRUE(error.contains(QLatin1String("HOME")));
}

TEST(StartOptionsTest, ADisplayIsMissingOnlyWhenThePlatformNeedsOneAndNoneIsSet)
{
    struct Case {
        const char* line;
        QMap<QString, QString> env;
        bool missing;
    };
    const Case cases[] = {
        { "", {}, true },
        { "", { { "DISPLAY", ":0" } }, false },
        { "", { { "WAYLAND_DISPLAY", "wayland-0" } }, false },
        { "", { { "QT_QPA_PLATFORM", "xcb" } }, true },
        { "", { { "QT_QPA_PLATFORM", "wayland-egl" } }, true },
        { "", { { "QT_QPA_PLATFORM", "wayland;xcb" } }, true },
        { "", { { "QT_QPA_PLATFORM", "offscreen" } }, false },
        { "", { { "QT_QPA_PLATFORM", "vnc:size=800x600" } }, false },
        { "", { { "QT_QPA_PLATFORM", "xcb;offscreen" } }, false },
        { "-platform offscreen", {}, false },
        { "-platform xcb", { { "QT_QPA_PLATFORM", "offscreen" } }, true },
        { "-display :5", {}, false },
    };
    for (const Case& c : cases) {
        const QString why = missingDisplay(parse(QString::fromLatin1(c.line)), fakeEnvironment(c.env));
        EXPECT_EQ(!why.isEmpty(), c.missing) << c.line << " " << c.env.value("QT_QPA_PLATFORM").toStdString();
        if (c.missing) {
            EXPECT_TRUE(why.contains(QLatin1String("DISPLAY")));
            EXPECT_TRUE(why.contains(QLatin1String("WAYLAND_DISPLAY")));
        }
    }
}

TEST(StartOptionsTest, TheAutostartEntryStartsThisProgramOnThePerUserFolder)
{
    EXPECT_EQ(autostartFile(fakeEnvironment({ { "HOME", "/home/ana" } })),
        QStringLiteral("/home/ana/.config/autostart/tolm.desktop"));
    EXPECT_EQ(autostartFile(fakeEnvironment({ { "HOME", "/home/ana" }, { "XDG_CONFIG_HOME", "/cfg" } })),
        QStringLiteral("/cfg/autostart/tolm.desktop"));
    EXPECT_TRUE(autostartFile(fakeEnvironment({})).isEmpty());

    struct Case {
        const char* program;
        const char* exec;
    };
    // Blanks and the entry format's reserved characters are quoted; a
    // backslash is escaped twice, once for the quotes and once for the file.
    const Case cases[] = {
        { "/usr/bin/tolm", "Exec=/usr/bin/tolm --user\n" },
        { "/opt/mis programas/tolm", "Exec=\"/opt/mis programas/tolm\" --user\n" },
        { "/opt/a$b/tolm", "Exec=\"/opt/a\\\\$b/tolm\" --user\n" },
        { "/opt/100%/tolm", "Exec=/opt/100%%/tolm --user\n" },
        { "/opt/a\tb\rc/tolm", "Exec=\"/opt/a\\tb\\rc/tolm\" --user\n" },
        { "/opt/año/tolm", "Exec=/opt/año/tolm --user\n" },
        // Bytes that are no UTF-8, and a control character without an escape.
        { "/opt/a\xf1o/tolm", nullptr },
        { "/opt/a\x01/tolm", nullptr },
    };
    for (const Case& c : cases) {
        QString error;
        const QString entry = autostartEntry(QByteArray(c.program), &error);
        if (!c.exec) {
            EXPECT_TRUE(entry.isEmpty() && error.contains(QLatin1String("UTF-8"))) << error.toStdString();
            continue;
        }
        EXPECT_TRUE(entry.startsWith(QLatin1String("[Desktop Entry]\n")));
        EXPECT_TRUE(entry.contains(QString::fromUtf8(c.exec))) << entry.toStdString();
        EXPECT_TRUE(entry.contains(QLatin1String("\nType=Application\n")));
    }
}
