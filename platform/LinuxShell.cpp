#include "platform/LinuxShell.h"

#include "platform/Applications.h"
#include "platform/CommandLine.h"
#include "platform/DesktopEntry.h"
#include "platform/Drives.h"
#include "platform/LinuxIcons.h"
#include "platform/OutsideFiles.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace tolm::platform {

namespace {

const QString fileManagerService = QStringLiteral("org.freedesktop.FileManager1");

LaunchPlan failure(ShellFailure reason, const QString& subject, const QString& why)
{
    LaunchPlan p;
    p.reason = reason;
    p.subject = subject;
    p.error = why;
    return p;
}

ShellResult failed(const LaunchPlan& plan)
{
    return ShellResult::failure(plan.reason, plan.subject, plan.error, plan.detail);
}

// Whether the desktop's associations name an application for the document's type.
bool associatedApplicationExists(const QString& document)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(document);
    return type.isValid() && !LinuxIcons::defaultApplicationFor(type.name()).isEmpty();
}

bool hasDriveRoot(const QString& path)
{
    return path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter() && path.at(0).unicode() < 128;
}

bool isUrl(const QString& text)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon < 2) // "c:" is a drive, not a scheme
        return false;
    const QUrl url(text);
    return url.isValid() && !url.scheme().isEmpty()
        && (text.mid(colon, 3) == u"://" || url.scheme() == u"mailto" || url.scheme() == u"file");
}

// The run bit alone is no proof of a program: on FAT and NTFS volumes every
// file has it. A program starts with the ELF magic or a #! line.
bool isProgram(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isExecutable())
        return false;
    const QByteArray head = readOutsideFileHead(path, 4).bytes;
    return head
        == "\x7f"
           "ELF"
        || head.startsWith("#!");
}

QString stripQuotes(QString text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        text = text.mid(1, text.size() - 2);
    return text;
}

bool sameFolder(const QString& a, const QString& b)
{
    if (QDir::cleanPath(a) == QDir::cleanPath(b))
        return true;
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

// Where the program of a desktop entry runs: where the entry says, else in
// the launcher's start folder. Launchers made from an entry used to keep the
// folder holding it (/usr/share/applications) as their start folder; that
// folder, like no start folder at all, means the user's home, where the
// desktop's own menus start programs.
QString entryStartFolder(const DesktopEntry& entry, const QString& path, const QString& startFolder)
{
    if (!entry.workingDirectory().isEmpty())
        return entry.workingDirectory();
    if (startFolder.isEmpty() || sameFolder(startFolder, QFileInfo(path).absolutePath()))
        return QDir::homePath();
    return startFolder;
}

QString programName(const QString& command)
{
    QString name = command;
    name.replace(u'\\', u'/');
    name = name.mid(name.lastIndexOf(u'/') + 1).toLower();
    if (name.endsWith(u".exe"))
        name.chop(4);
    return name;
}

} // namespace

LinuxShell::LinuxShell(Drives* drives, const QString& folder)
    : m_drives(drives)
    , m_folder(folder)
{ }

QString LinuxShell::mapped(const QString& path) const
{
    if (path.isEmpty())
        return {};
    if (m_drives && hasDriveRoot(path))
        return m_drives->localPath(path);
    return path;
}

QString LinuxShell::local(const QString& path) const
{
    const QString found = mapped(path);
    if (found.isEmpty() || m_folder.isEmpty() || QDir::isAbsolutePath(found))
        return found;
    return QDir(m_folder).absoluteFilePath(found);
}

ShellResult LinuxShell::open(
    const QString& command, const QString& parameters, const QString& directory, ShowState)
{
    return run(plan(command, parameters, directory));
}

ShellResult LinuxShell::showInFileManager(const QString& path, const QString& folder)
{
    return run(showInFileManagerPlan(path, folder));
}

ShellResult LinuxShell::openFolder(const QString& path)
{
    return run(openFolderPlan(path));
}

ShellResult LinuxShell::openDateTimeSettings()
{
    return run(dateTimeSettingsPlan());
}

ShellResult LinuxShell::openRegionalSettings()
{
    return run(regionalSettingsPlan());
}

LaunchPlan LinuxShell::openWithDesktop(const QString& target) const
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return failure(ShellFailure::NoOpener, QStringLiteral("xdg-open"),
            QStringLiteral("xdg-open is not installed; cannot open %1").arg(target));
    LaunchPlan p;
    p.kind = LaunchPlan::Kind::Start;
    p.program = opener;
    p.arguments = { target };
    p.workingDirectory = m_folder;
    return p;
}

QStringList LinuxShell::controlPanelCommand(const QString& applet)
{
    struct Candidate {
        const char* program;
        QStringList arguments;
        bool kde;
    };
    QList<Candidate> candidates;
    if (applet.compare(u"timedate.cpl", Qt::CaseInsensitive) == 0) {
        candidates
            = { { "gnome-control-center", { "datetime" }, false }, { "kcmshell6", { "kcm_clock" }, true },
                  { "kcmshell5", { "clock" }, true }, { "cinnamon-settings", { "calendar" }, false },
                  { "mate-time-admin", {}, false }, { "time-admin", {}, false } };
    } else if (applet.compare(u"intl.cpl", Qt::CaseInsensitive) == 0) {
        candidates = { { "gnome-control-center", { "region" }, false },
            { "kcmshell6", { "kcm_regionandlang" }, true }, { "kcmshell5", { "kcm_regionandlang" }, true },
            { "kcmshell5", { "formats" }, true }, { "cinnamon-settings", { "region" }, false } };
    }
    // On a KDE desktop its own settings come first even when GNOME's are installed.
    if (qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(u"KDE", Qt::CaseInsensitive))
        std::stable_partition(candidates.begin(), candidates.end(), [](const Candidate& c) { return c.kde; });
    for (const Candidate& c : candidates) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(c.program));
        if (!path.isEmpty())
            return QStringList { path } + c.arguments;
    }
    return {};
}

LaunchPlan LinuxShell::explorer(const QString& parameters, const QString& directory) const
{
    QString rest = parameters.trimmed();
    QString select;
    // Switches come first, each ending in a comma: /e, /n, /root,<folder> /select,<file>
    for (;;) {
        const QString lower = rest.toLower();
        if (lower.startsWith(u"/select,")) {
            select = rest.mid(8);
            rest.clear();
            break;
        }
        if (lower.startsWith(u"/e,") || lower.startsWith(u"/n,")) {
            rest = rest.mid(3).trimmed();
        } else if (lower == u"/e" || lower == u"/n") {
            rest.clear();
        } else if (lower.startsWith(u"/root,")) {
            rest = rest.mid(6).trimmed();
        } else {
            break;
        }
    }
    if (!select.isNull())
        return showInFileManagerPlan(select, directory);
    return folderPlan(rest, directory);
}

LaunchPlan LinuxShell::showInFileManagerPlan(const QString& path, const QString& folder) const
{
    const QString target = local(stripQuotes(path));
    const QFileInfo info(target);
    if (target.isEmpty() || !info.exists()) {
        // Nothing to select: show the start folder (or home) instead.
        const QString fallback = local(folder);
        return openWithDesktop(
            fallback.isEmpty() || !QFileInfo(fallback).isDir() ? QDir::homePath() : fallback);
    }
    LaunchPlan p = openWithDesktop(info.absolutePath());
    if (p.kind == LaunchPlan::Kind::Fail)
        p = LaunchPlan {}; // the file manager may still answer over D-Bus
    p.kind = LaunchPlan::Kind::ShowItem;
    p.item = info.absoluteFilePath();
    return p;
}

LaunchPlan LinuxShell::folderPlan(const QString& path, const QString& directory) const
{
    QString folder = local(stripQuotes(path));
    if (folder.isEmpty())
        folder = local(directory);
    if (folder.isEmpty())
        folder = QDir::homePath();
    if (!QFileInfo(folder).exists())
        return failure(ShellFailure::NotFound, folder, QStringLiteral("no such folder: %1").arg(folder));
    return openWithDesktop(folder);
}

LaunchPlan LinuxShell::settingsPlan(const QString& applet) const
{
    const QStringList settings = controlPanelCommand(applet);
    if (settings.isEmpty())
        return failure(
            ShellFailure::NoSettings, applet, QStringLiteral("no settings program for %1").arg(applet));
    LaunchPlan p;
    p.kind = LaunchPlan::Kind::Start;
    p.program = settings.first();
    p.arguments = settings.mid(1);
    p.workingDirectory = m_folder;
    return p;
}

LaunchPlan LinuxShell::desktopEntry(
    const QString& path, const QString& parameters, const QString& startFolder) const
{
    files::Refusal refusal;
    const DesktopEntry entry = DesktopEntry::load(path, &refusal);
    if (!refusal.text.empty()) {
        LaunchPlan p = failure(ShellFailure::UnreadableEntry, path, QString::fromStdString(refusal.text));
        p.detail = refusalReason(refusal);
        return p;
    }
    if (!entry.isValid())
        return failure(ShellFailure::BrokenEntry, path, QStringLiteral("not a desktop entry: %1").arg(path));
    if (entry.type() == u"Link")
        return entry.url().isEmpty()
            ? failure(ShellFailure::BrokenEntry, path, QStringLiteral("link without URL: %1").arg(path))
            : openWithDesktop(entry.url());
    // TryExec names the program whose absence means the entry is stale (its
    // package was removed): nothing is started then.
    const QString tryExec = entry.tryExec();
    if (!tryExec.isEmpty() && !programInstalled(tryExec))
        return failure(ShellFailure::NotInstalled, tryExec,
            QStringLiteral("%1 is not installed (TryExec of %2)").arg(tryExec, path));
    const QList<DesktopExec> launches = desktopExecCommands(
        entry.exec(), splitArguments(parameters), entry.icon(), entry.localizedName(), path);
    const DesktopExec& exec = launches.first();
    if (exec.program.isEmpty())
        return failure(ShellFailure::BrokenEntry, path, QStringLiteral("no Exec line in %1").arg(path));
    LaunchPlan p;
    p.kind = LaunchPlan::Kind::Start;
    p.program
        = QDir::isAbsolutePath(exec.program) ? exec.program : QStandardPaths::findExecutable(exec.program);
    if (p.program.isEmpty())
        return failure(ShellFailure::NotInstalled, exec.program,
            QStringLiteral("program not found: %1").arg(exec.program));
    p.arguments = exec.arguments;
    for (qsizetype i = 1; i < launches.size(); ++i)
        p.furtherArguments << launches.at(i).arguments;
    if (entry.terminal()) {
        // The user's own terminal first; Debian's alternatives name a default.
        // Both understand "-e program arguments...".
        QStringList terminal = splitArguments(qEnvironmentVariable("TERMINAL"));
        if (terminal.isEmpty())
            terminal = { QStringLiteral("x-terminal-emulator") };
        const QString emulator = QDir::isAbsolutePath(terminal.first())
            ? terminal.first()
            : QStandardPaths::findExecutable(terminal.first());
        if (emulator.isEmpty())
            return failure(ShellFailure::NoTerminal, terminal.first(),
                QStringLiteral("no terminal to run %1 in (%2)").arg(path, terminal.first()));
        const QStringList prefix = terminal.mid(1) + QStringList { QStringLiteral("-e"), p.program };
        p.arguments = prefix + p.arguments;
        for (QStringList& further : p.furtherArguments)
            further = prefix + further;
        p.program = emulator;
    }
    p.workingDirectory = entryStartFolder(entry, path, startFolder);
    return p;
}

LaunchPlan LinuxShell::plan(const QString& command, const QString& parameters, const QString& directory) const
{
    const QString cmd = command.trimmed();
    if (cmd.isEmpty())
        return failure(ShellFailure::NothingToOpen, {}, QStringLiteral("nothing to open"));
    const QString name = programName(cmd);
    if (name == u"explorer")
        return explorer(parameters, directory);
    if (name == u"rundll32") {
        const QStringList words = splitArguments(parameters);
        QString applet;
        for (qsizetype i = 0; i + 1 < words.size(); ++i) {
            if (words.at(i).compare(u"shell32.dll,Control_RunDLL", Qt::CaseInsensitive) == 0)
                applet = words.at(i + 1);
        }
        return applet.isEmpty() ? failure(ShellFailure::NoSettings, parameters,
                   QStringLiteral("no settings program for: rundll32 %1").arg(parameters))
                                : settingsPlan(applet);
    }
    if (isUrl(cmd))
        return openWithDesktop(cmd);

    const QString workingDirectory = directory.isEmpty() ? m_folder : local(directory);
    if (!directory.isEmpty() && (workingDirectory.isEmpty() || !QFileInfo(workingDirectory).isDir()))
        return failure(ShellFailure::NoStartFolder, directory,
            QStringLiteral("no such start folder: %1").arg(directory));

    QString target = mapped(cmd);
    if (target.isEmpty())
        return failure(ShellFailure::NotFound, cmd, QStringLiteral("no such drive: %1").arg(cmd));
    if (!QDir::isAbsolutePath(target)) {
        const QString inStart
            = workingDirectory.isEmpty() ? QString() : QDir(workingDirectory).absoluteFilePath(target);
        if (!inStart.isEmpty() && QFileInfo::exists(inStart))
            target = inStart;
        else if (!target.contains(u'/'))
            target = QStandardPaths::findExecutable(target);
        else
            target.clear();
        if (target.isEmpty())
            return failure(ShellFailure::NotFound, cmd, QStringLiteral("not found: %1").arg(cmd));
    }

    const QFileInfo info(target);
    if (!info.exists())
        return failure(ShellFailure::NotFound, cmd, QStringLiteral("not found: %1").arg(cmd));
    if (info.isDir())
        return openWithDesktop(target);
    if (info.suffix().compare(u"desktop", Qt::CaseInsensitive) == 0)
        return desktopEntry(target, parameters, directory.isEmpty() ? QString() : workingDirectory);
    if (isProgram(target)) {
        LaunchPlan p;
        p.kind = LaunchPlan::Kind::Start;
        p.program = info.absoluteFilePath();
        p.arguments = splitArguments(parameters);
        p.workingDirectory = workingDirectory;
        return p;
    }
    // A document: its application takes no parameters from us.
    if (!(m_hasOpener ? m_hasOpener : associatedApplicationExists)(info.absoluteFilePath()))
        return failure(ShellFailure::NoOpener, info.absoluteFilePath(),
            QStringLiteral("no program opens %1").arg(info.absoluteFilePath()));
    return openWithDesktop(info.absoluteFilePath());
}

ShellResult LinuxShell::run(const LaunchPlan& plan)
{
    switch (plan.kind) {
    case LaunchPlan::Kind::Fail:
        return failed(plan);
    case LaunchPlan::Kind::ShowItem: {
        QDBusConnection bus = QDBusConnection::sessionBus();
        QDBusConnectionInterface* iface = bus.isConnected() ? bus.interface() : nullptr;
        if (iface
            && (iface->isServiceRegistered(fileManagerService).value()
                || iface->activatableServiceNames().value().contains(fileManagerService))) {
            QDBusMessage call = QDBusMessage::createMethodCall(fileManagerService,
                QStringLiteral("/org/freedesktop/FileManager1"), fileManagerService,
                QStringLiteral("ShowItems"));
            call << QStringList { QUrl::fromLocalFile(plan.item).toString() } << QString();
            if (bus.send(call))
                return ShellResult::success();
        }
        if (plan.program.isEmpty())
            return ShellResult::failure(ShellFailure::NoOpener, plan.item,
                QStringLiteral("no file manager to show %1").arg(plan.item));
        [[fallthrough]];
    }
    case LaunchPlan::Kind::Start:
        if (!QProcess::startDetached(plan.program, plan.arguments, plan.workingDirectory))
            return ShellResult::failure(ShellFailure::CannotStart, plan.program,
                QStringLiteral("could not start %1").arg(plan.program));
        for (const QStringList& arguments : plan.furtherArguments) {
            if (!QProcess::startDetached(plan.program, arguments, plan.workingDirectory))
                return ShellResult::failure(ShellFailure::CannotStart, plan.program,
                    QStringLiteral("could not start %1").arg(plan.program));
        }
        return ShellResult::success();
    }
    return ShellResult::failure(ShellFailure::CannotStart, {}, QStringLiteral("unknown launch"));
}

} // namespace tolm::platform
