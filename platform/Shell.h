#pragma once

#include <QString>

namespace tolm::platform {

// How the launched program's first window should appear. Values match the
// show commands stored with launchers (0 normal, 1 minimised, 2 maximised).
// On Linux the window manager decides where and how a new window opens and no
// portable request exists, so every implementation here may only record it.
enum class ShowState { Normal = 0, Minimized = 1, Maximized = 2 };

// Why something could not be opened, for the words that tell the user.
enum class ShellFailure {
    None,
    NothingToOpen, // the command is empty
    NotFound, // no such program, file, folder or drive
    NoStartFolder, // the start folder given does not exist
    NotInstalled, // a desktop entry's TryExec program is missing
    BrokenEntry, // not a desktop entry, or one with nothing to start
    UnreadableEntry, // a desktop entry that is not read: `detail` says why
    NoOpener, // no program opens this document or folder
    NoTerminal, // the terminal a desktop entry asks for is missing
    NoSettings, // no settings program for the page asked for
    CannotStart, // the program would not start
};

struct ShellResult {
    bool ok { false };
    ShellFailure reason { ShellFailure::None };
    QString subject; // what the reason is about: the missing program, file or folder
    QString error; // why it failed, in English for a line on stderr; empty on success
    // Why, in the program's language, where the reason alone does not say:
    // the end of a sentence ("no es un archivo normal, sino una FIFO").
    QString detail;

    static ShellResult success() { return { true, ShellFailure::None, {}, {}, {} }; }
    static ShellResult failure(
        ShellFailure reason, const QString& subject, const QString& why, const QString& detail = {})
    {
        return { false, reason, subject, why, detail };
    }
};

// Opens programs, documents, folders and URLs the way the desktop's "open"
// verb would, and the few desktop places the launcher itself asks for.
class Shell {
public:
    virtual ~Shell() = default;

    // `command` may name a program on PATH, a path with or without a Windows
    // drive root ("c:\datos\carta.txt"), a .desktop file, a URL, or one of
    // the two Windows shell programs a stored launcher may name: "explorer"
    // (folders, "/e,<dir>", "/select,<file>") and "rundll32" with the date/time
    // and regional control-panel applets.
    virtual ShellResult open(const QString& command, const QString& parameters, const QString& directory,
        ShowState show = ShowState::Normal)
        = 0;
    // Shows `path` selected in the file manager; when there is no such file,
    // opens `folder` instead (the home folder when that is no folder either).
    virtual ShellResult showInFileManager(const QString& path, const QString& folder) = 0;
    virtual ShellResult openFolder(const QString& path) = 0;
    virtual ShellResult openDateTimeSettings() = 0;
    virtual ShellResult openRegionalSettings() = 0;
};

} // namespace tolm::platform
