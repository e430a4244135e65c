#pragma once

#include "platform/Shell.h"

#include <QStringList>
#include <functional>

namespace tolm::platform {

class Drives;

// What opening a command comes down to, worked out before anything starts
// so the rules can be checked without starting programs.
struct LaunchPlan {
    enum class Kind {
        Fail, // `error` says why
        Start, // start `program` with `arguments` in `workingDirectory`
        ShowItem, // ask the file manager to show `item` selected; else start the fallback
    };
    Kind kind { Kind::Fail };
    QString program;
    QStringList arguments;
    // Further starts of the same program, one argument list each: a desktop
    // entry that takes one file at a time, given several.
    QList<QStringList> furtherArguments;
    QString workingDirectory;
    QString item;
    ShellFailure reason { ShellFailure::None };
    QString subject;
    QString error;
    QString detail;

    bool operator==(const LaunchPlan&) const = default;
};

// Starts everything detached and never through a shell: parameters are split
// into arguments by splitArguments() and handed over as they are. The show
// state cannot be passed on (see Shell.h) and is ignored.
class LinuxShell : public Shell {
public:
    // `drives` maps Windows drive roots; may be null (paths used as given).
    // Relative paths are taken from `folder`, and what has no start folder of
    // its own starts there; without one they stay relative.
    explicit LinuxShell(Drives* drives = nullptr, const QString& folder = {});
    void setFolder(const QString& folder) { m_folder = folder; }
    // Whether some program opens a document, asked before handing it to
    // xdg-open (which cannot say so once started). By default: whether the
    // desktop's file associations name an application for its type.
    void setOpenerCheck(std::function<bool(const QString& document)> check)
    {
        m_hasOpener = std::move(check);
    }

    ShellResult open(const QString& command, const QString& parameters, const QString& directory,
        ShowState show = ShowState::Normal) override;

    ShellResult showInFileManager(const QString& path, const QString& folder) override;
    ShellResult openFolder(const QString& path) override;
    ShellResult openDateTimeSettings() override;
    ShellResult openRegionalSettings() override;

    LaunchPlan plan(const QString& command, const QString& parameters, const QString& directory) const;
    LaunchPlan showInFileManagerPlan(const QString& path, const QString& folder) const;
    LaunchPlan openFolderPlan(const QString& path) const { return folderPlan(path, path); }
    LaunchPlan dateTimeSettingsPlan() const { return settingsPlan(QStringLiteral("timedate.cpl")); }
    LaunchPlan regionalSettingsPlan() const { return settingsPlan(QStringLiteral("intl.cpl")); }
    static ShellResult run(const LaunchPlan& plan);

    // The program that shows the desktop's settings page for a Windows
    // control-panel applet ("timedate.cpl", "intl.cpl"), found on PATH;
    // an empty list when none is installed.
    static QStringList controlPanelCommand(const QString& applet);

private:
    QString mapped(const QString& path) const;
    // A file or folder named by the user: mapped, and found in m_folder when relative.
    QString local(const QString& path) const;
    LaunchPlan explorer(const QString& parameters, const QString& directory) const;
    // `directory` is what an empty or blank `folder` falls back to.
    LaunchPlan folderPlan(const QString& folder, const QString& directory) const;
    LaunchPlan settingsPlan(const QString& applet) const;
    LaunchPlan openWithDesktop(const QString& target) const;
    // `startFolder` is the launcher's own start folder, resolved; empty when it names none.
    LaunchPlan desktopEntry(const QString& path, const QString& parameters, const QString& startFolder) const;

    Drives* m_drives { nullptr };
    QString m_folder;
    std::function<bool(const QString&)> m_hasOpener;
};

} // namespace tolm::platform
