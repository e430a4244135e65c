#include "QtPrinters.h"
#include "platform/Drives.h"
#include "platform/LinuxShell.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace tolm::platform;

namespace {

// c: is the temporary folder, d: names nothing.
struct MappedDrives : tolm::platform::Drives {
    QString c;
    QStringList logicalDriveStrings() override { return { "c:\\" }; }
    int driveType(const QString&) override { return DriveFixed; }
    std::optional<VolumeInfo> volumeInformation(const QString&) override { return std::nullopt; }
    std::optional<DiskSpace> diskFreeSpace(const QString&) override { return std::nullopt; }
    QString localPath(const QString& path) override
    {
        if (!path.startsWith("c:", Qt::CaseInsensitive))
            return {};
        QString rest = path.mid(2);
        rest.replace('\\', '/');
        return QDir::cleanPath(c + '/' + rest);
    }
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_drives.c = m_dir.path();
        QDir(m_dir.path()).mkpath("bin");
        QDir(m_dir.path()).mkpath("Datos");
        m_savedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_dir.filePath("bin")));
    }
    void TearDown() override { qputenv("PATH", m_savedPath); }

    QString write(const QString& relative, const QByteArray& data, bool executable = false)
    {
        QFile f(m_dir.filePath(relative));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        f.close();
        if (executable)
            f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeUser);
        return f.fileName();
    }
    QString tool(const QString& name) { return write("bin/" + name, "#!/bin/sh\nexit 0\n", true); }

    QTemporaryDir m_dir;
    MappedDrives m_drives;
    QByteArray m_savedPath;
};

QByteArray waitForFile(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray data = f.readAll();
            if (data.endsWith("END\n"))
                return data;
        }
        QThread::msleep(20);
    }
    return {};
}

} // namespace

TEST_F(ShellTest, StartsAProgramWithSplitArgumentsAndNoShell)
{
    const QString script = write("Datos/args.sh",
        "#!/bin/sh\n"
        "for a in \"$@\"; do printf '[%s]\\n' \"$a\" >> args.txt; done\n"
        "pwd >> args.txt\n"
        "echo END >> args.txt\n",
        true);
    LinuxShell shell(&m_drives);
    const ShellResult result
        = shell.open("c:\\Datos\\args.sh", "'a b' c;touch x", "c:\\Datos", ShowState::Maximized);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    const QByteArray out = waitForFile(m_dir.filePath("Datos/args.txt"));
    const QString cwd = QDir(m_dir.filePath("Datos")).canonicalPath();
    EXPECT_EQ(out, "[a b]\n[c;touch]\n[x]\n" + QFile::encodeName(cwd) + "\nEND\n");
    EXPECT_FALSE(QFile::exists(m_dir.filePath("Datos/x")));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("x")));
    (void)script;
}

TEST_F(ShellTest, ProgramsDocumentsFoldersAndUrls)
{
    const QString opener = tool("xdg-open");
    const QString onPath = tool("herramienta");
    const QString program = write("Datos/prog",
        "\x7f"
        "ELF rest",
        true);
    const QString fatDocument = write("Datos/carta.txt", "text with the run bit", true);
    LinuxShell shell(&m_drives);
    shell.setOpenerCheck([](const QString&) { return true; });

    LaunchPlan p = shell.plan("herramienta", "-v \"two words\"", "");
    EXPECT_EQ(p.kind, LaunchPlan::Kind::Start);
    EXPECT_EQ(p.program, onPath);
    EXPECT_EQ(p.arguments, QStringList({ "-v", "two words" }));

    p = shell.plan("c:\\Datos\\prog", "", "c:\\");
    EXPECT_EQ(p.program, program);
    EXPECT_EQ(p.workingDirectory, m_dir.path());

    // A relative command is looked for in the start folder first.
    p = shell.plan("prog", "", "c:\\Datos");
    EXPECT_EQ(p.program, program);

    // Documents (even with the run bit, as on FAT volumes) go to xdg-open,
    // without the parameters.
    p = shell.plan("c:\\Datos\\carta.txt", "ignored", "");
    EXPECT_EQ(p.program, opener);
    EXPECT_EQ(p.arguments, QStringList({ fatDocument }));

    p = shell.plan("c:\\Datos", "", "");
    EXPECT_EQ(p.arguments, QStringList({ m_dir.filePath("Datos") }));

    p = shell.plan("https://example.org/a?b=c", "", "");
    EXPECT_EQ(p.program, opener);
    EXPECT_EQ(p.arguments, QStringList({ "https://example.org/a?b=c" }));

    // Relative names are the shelf folder's; a launcher without a start folder starts there.
    LinuxShell inShelf(&m_drives, m_dir.path());
    p = inShelf.plan("Datos/prog", "", "");
    EXPECT_EQ(p.program, program);
    EXPECT_EQ(p.workingDirectory, m_dir.path());
    EXPECT_EQ(inShelf.plan("prog", "", "Datos").workingDirectory, m_dir.filePath("Datos"));
}

TEST_F(ShellTest, FailuresAreReportedWithTheirReason)
{
    tool("xdg-open");
    write("Datos/doc.txt", "x");
    write("Datos/nadie.xyz", "x");
    LinuxShell shell(&m_drives);
    shell.setOpenerCheck([](const QString& document) { return !document.endsWith(".xyz"); });
    const struct {
        const char* command;
        const char* directory;
        ShellFailure reason;
        QString subject;
    } cases[] = {
        { "", "", ShellFailure::NothingToOpen, {} },
        { "   ", "", ShellFailure::NothingToOpen, {} },
        { "no-such-program-anywhere", "", ShellFailure::NotFound, "no-such-program-anywhere" },
        { "c:\\Datos\\missing.txt", "", ShellFailure::NotFound, "c:\\Datos\\missing.txt" },
        { "d:\\x.txt", "", ShellFailure::NotFound, "d:\\x.txt" },
        { "herramienta", "c:\\NoExiste", ShellFailure::NoStartFolder, "c:\\NoExiste" },
        { "c:\\Datos\\nadie.xyz", "", ShellFailure::NoOpener, m_dir.filePath("Datos/nadie.xyz") },
    };
    for (const auto& c : cases) {
        const LaunchPlan p = shell.plan(c.command, "", c.directory);
        EXPECT_EQ(p.kind, LaunchPlan::Kind::Fail) << c.command;
        EXPECT_EQ(p.reason, c.reason) << c.command;
        EXPECT_EQ(p.subject, c.subject) << c.command;
    }
    const ShellResult result = shell.open("c:\\Datos\\missing.txt", "", "");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, ShellFailure::NotFound);
    EXPECT_TRUE(result.error.contains("missing.txt"));

    qputenv("PATH", QFile::encodeName(m_dir.filePath("empty")));
    const LaunchPlan noOpener = shell.plan("c:\\Datos\\doc.txt", "", "");
    EXPECT_EQ(noOpener.reason, ShellFailure::NoOpener);
    EXPECT_EQ(noOpener.subject, "xdg-open");
}

TEST_F(ShellTest, DesktopEntries)
{
    const QString editor = tool("editor");
    const QString entry = write("Datos/editor.desktop",
        "[Desktop Entry]\nType=Application\nName=Editor\nIcon=ed\nPath=/srv\nExec=editor --new %F\n");
    LinuxShell shell(&m_drives);
    LaunchPlan p = shell.plan(entry, "a.txt 'b c.txt'", "");
    EXPECT_EQ(p.kind, LaunchPlan::Kind::Start);
    EXPECT_EQ(p.program, editor);
    EXPECT_EQ(p.arguments, QStringList({ "--new", "a.txt", "b c.txt" }));
    EXPECT_EQ(p.workingDirectory, "/srv");

    // The entry's Path wins over the start folder a drop records.
    p = shell.plan(entry, "", "c:\\Datos");
    EXPECT_EQ(p.arguments, QStringList({ "--new" }));
    EXPECT_EQ(p.workingDirectory, "/srv");

    const QString opener = tool("xdg-open");
    const QString link = write("Datos/web.desktop", "[Desktop Entry]\nType=Link\nURL=https://example.org\n");
    p = shell.plan(link, "", "");
    EXPECT_EQ(p.program, opener);
    EXPECT_EQ(p.arguments, QStringList({ "https://example.org" }));

    const QString noExec = write("Datos/empty.desktop", "[Desktop Entry]\nType=Application\n");
    EXPECT_EQ(shell.plan(noExec, "", "").kind, LaunchPlan::Kind::Fail);
}

TEST_F(ShellTest, DesktopEntryTryExecTerminalAndPath)
{
    const QString editor = tool("editor");
    const QString terminal = tool("x-terminal-emulator");
    const QString kitty = tool("kitty");
    const QByteArray savedTerminal = qgetenv("TERMINAL");
    // The start folder c:\Datos is the entry's own folder: the program starts at home.
    const QString home = QDir::homePath();
    const struct {
        const char* what;
        QByteArray fields;
        QByteArray terminalVariable; // "-" leaves $TERMINAL unset
        bool starts;
        QString program;
        QStringList arguments;
        QString workingDirectory;
    } cases[] = {
        { "TryExec found on PATH", "TryExec=editor\n", "-", true, editor, { "a b" }, home },
        { "TryExec as an absolute path", "TryExec=" + QFile::encodeName(editor) + "\n", "-", true, editor,
            { "a b" }, home },
        { "TryExec not installed", "TryExec=no-such-editor\n", "-", false, {}, {}, {} },
        { "TryExec absolute but missing", "TryExec=/nonexistent/editor\n", "-", false, {}, {}, {} },
        { "Terminal without $TERMINAL", "Terminal=true\n", "-", true, terminal, { "-e", editor, "a b" },
            home },
        { "Terminal in $TERMINAL with its own options", "Terminal=true\n", "kitty --single-instance", true,
            kitty, { "--single-instance", "-e", editor, "a b" }, home },
        { "Terminal=false runs bare", "Terminal=false\n", "kitty", true, editor, { "a b" }, home },
        { "Path sets the working folder", "Path=/var/tmp\n", "-", true, editor, { "a b" }, "/var/tmp" },
    };
    LinuxShell shell(&m_drives);
    for (const auto& c : cases) {
        if (c.terminalVariable == "-")
            qunsetenv("TERMINAL");
        else
            qputenv("TERMINAL", c.terminalVariable);
        const QString entry = write("Datos/case.desktop",
            "[Desktop Entry]\nType=Application\nName=Editor\nExec=editor %f\n" + c.fields);
        const LaunchPlan p = shell.plan(entry, "'a b'", "c:\\Datos");
        ASSERT_EQ(p.kind, c.starts ? LaunchPlan::Kind::Start : LaunchPlan::Kind::Fail) << c.what;
        if (!c.starts) {
            EXPECT_TRUE(p.error.contains("not installed")) << c.what << ": " << p.error.toStdString();
            continue;
        }
        EXPECT_EQ(p.program, c.program) << c.what;
        EXPECT_EQ(p.arguments, c.arguments) << c.what;
        EXPECT_EQ(p.workingDirectory, c.workingDirectory) << c.what;
    }

    // No terminal anywhere: the entry is refused rather than run without one.
    qunsetenv("TERMINAL");
    QFile::remove(terminal);
    const QString entry
        = write("Datos/term.desktop", "[Desktop Entry]\nType=Application\nExec=editor\nTerminal=true\n");
    EXPECT_EQ(shell.plan(entry, "", "").kind, LaunchPlan::Kind::Fail);

    // A refused entry starts nothing and says why.
    const QString stale
        = write("Datos/stale.desktop", "[Desktop Entry]\nType=Application\nExec=editor\nTryExec=gone\n");
    const ShellResult result = shell.open(stale, "", "");
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains("gone"));
    if (savedTerminal.isNull())
        qunsetenv("TERMINAL");
    else
        qputenv("TERMINAL", savedTerminal);
}

// A program from a desktop entry never starts in the folder holding the
// entry, which launchers made from an entry used to keep as their start folder.
TEST_F(ShellTest, DesktopEntriesStartInTheirPathElseTheLaunchersFolderElseHome)
{
    tool("editor");
    const QString plain = write("Datos/editor.desktop", "[Desktop Entry]\nType=Application\nExec=editor\n");
    const QString withPath
        = write("Datos/ide.desktop", "[Desktop Entry]\nType=Application\nExec=editor\nPath=/srv\n");
    const struct {
        const char* what;
        QString entry;
        QString startFolder;
        QString expected;
    } cases[] = {
        { "Path= and no start folder", withPath, "", "/srv" },
        { "Path= over a start folder", withPath, "c:\\", "/srv" },
        { "no Path= and no start folder", plain, "", QDir::homePath() },
        { "start folder = the entry's folder", plain, "c:\\Datos", QDir::homePath() },
        { "the entry's folder written another way", plain, m_dir.filePath("Datos/./"), QDir::homePath() },
        { "start folder elsewhere", plain, "c:\\", m_dir.path() },
    };
    LinuxShell shell(&m_drives);
    for (const auto& c : cases) {
        const LaunchPlan p = shell.plan(c.entry, "", c.startFolder);
        ASSERT_EQ(p.kind, LaunchPlan::Kind::Start) << c.what << ": " << p.error.toStdString();
        EXPECT_EQ(p.workingDirectory, c.expected) << c.what;
    }
}

TEST_F(ShellTest, ExplorerCommands)
{
    const QString opener = tool("xdg-open");
    const QString file = write("Datos/carta con espacios.txt", "x");
    LinuxShell shell(&m_drives);

    LaunchPlan p = shell.plan("explorer", "c:\\", "c:\\");
    EXPECT_EQ(p.program, opener);
    EXPECT_EQ(p.arguments, QStringList({ m_dir.path() }));

    p = shell.plan("EXPLORER.EXE", "/e,c:\\Datos", "c:\\Datos");
    EXPECT_EQ(p.arguments, QStringList({ m_dir.filePath("Datos") }));

    p = shell.plan("explorer", "/select,c:\\Datos\\carta con espacios.txt", "c:\\Datos");
    EXPECT_EQ(p.kind, LaunchPlan::Kind::ShowItem);
    EXPECT_EQ(p.item, file);
    // The fallback opens the folder that holds it.
    EXPECT_EQ(p.arguments, QStringList({ m_dir.filePath("Datos") }));

    // "/select," with nothing after it still opens something: the start folder.
    p = shell.plan("explorer", "/select,", "c:\\Datos");
    EXPECT_EQ(p.kind, LaunchPlan::Kind::Start);
    EXPECT_EQ(p.arguments, QStringList({ m_dir.filePath("Datos") }));

    EXPECT_EQ(shell.plan("explorer", "c:\\NoExiste", "").kind, LaunchPlan::Kind::Fail);
}

// What the launcher itself asks for plans the same launch as the Windows
// command a stored launcher would name for it.
TEST_F(ShellTest, EachRequestPlansWhatItsExplorerOrRundllCommandPlans)
{
    tool("xdg-open");
    tool("gnome-control-center");
    write("Datos/carta con espacios.txt", "x");
    LinuxShell shell(&m_drives, m_dir.path());
    const struct {
        const char* what;
        LaunchPlan request;
        LaunchPlan command;
    } cases[] = {
        { "a drive's folder", shell.openFolderPlan("c:\\"), shell.plan("explorer", "c:\\", "c:\\") },
        { "an item's folder", shell.openFolderPlan("c:\\Datos"),
            shell.plan("explorer", "/e,c:\\Datos", "c:\\Datos") },
        { "a file shown selected", shell.showInFileManagerPlan("c:\\Datos\\carta con espacios.txt", "c:\\"),
            shell.plan("explorer", "/select,c:\\Datos\\carta con espacios.txt", "c:\\") },
        { "a quoted file", shell.showInFileManagerPlan("\"c:\\Datos\\carta con espacios.txt\"", ""),
            shell.plan("explorer", "/select,\"c:\\Datos\\carta con espacios.txt\"", "") },
        { "no file: its folder", shell.showInFileManagerPlan("", "c:\\Datos"),
            shell.plan("explorer", "/select,", "c:\\Datos") },
        { "no file, no folder: home", shell.showInFileManagerPlan("c:\\Nada.txt", "c:\\NoExiste"),
            shell.plan("explorer", "/select,c:\\Nada.txt", "c:\\NoExiste") },
        { "date and time", shell.dateTimeSettingsPlan(),
            shell.plan("rundll32", "shell32.dll,Control_RunDLL timedate.cpl", "") },
        { "regional settings", shell.regionalSettingsPlan(),
            shell.plan("rundll32", "shell32.dll,Control_RunDLL intl.cpl", "") },
    };
    for (const auto& c : cases)
        EXPECT_TRUE(c.request == c.command) << c.what << ": " << c.request.arguments.join(' ').toStdString();
}

TEST_F(ShellTest, ControlPanelApplets)
{
    LinuxShell shell(&m_drives);
    EXPECT_EQ(
        shell.plan("rundll32", "shell32.dll,Control_RunDLL timedate.cpl", "").kind, LaunchPlan::Kind::Fail);

    const QString kde = tool("kcmshell6");
    const QString gnome = tool("gnome-control-center");
    const QByteArray savedDesktop = qgetenv("XDG_CURRENT_DESKTOP");
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    LaunchPlan p = shell.plan("rundll32", "shell32.dll,Control_RunDLL timedate.cpl", "");
    EXPECT_EQ(p.program, gnome);
    EXPECT_EQ(p.arguments, QStringList({ "datetime" }));
    p = shell.plan("rundll32.exe", "SHELL32.DLL,Control_RunDLL INTL.CPL", "");
    EXPECT_EQ(p.arguments, QStringList({ "region" }));

    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    p = shell.plan("rundll32", "shell32.dll,Control_RunDLL intl.cpl", "");
    EXPECT_EQ(p.program, kde);
    EXPECT_EQ(p.arguments, QStringList({ "kcm_regionandlang" }));

    EXPECT_EQ(shell.plan("rundll32", "user32.dll,LockWorkStation", "").kind, LaunchPlan::Kind::Fail);
    qputenv("XDG_CURRENT_DESKTOP", savedDesktop);
}
