#pragma once

#include "platform/UserFolders.h"

#include <QString>
#include <QStringList>

namespace tolm::app {

// What the command line asks for. Everything here is decided before Qt's
// application object exists, so that --help, --version and --autostart need
// no display and touch no shelf file.
struct StartOptions {
    enum class Action { Run, Help, Version, Autostart, Error };
    enum class Folder { Current, Given, User };

    Action action { Action::Run };
    Folder folder { Folder::Current };
    // The folder --dir names, as typed.
    QString dir;
    bool autostartOn { false };
    // For Action::Error: one line, without the program's name.
    QString error;
    // Qt's own options (-platform offscreen, -session ID …) with argv[0]
    // first: they decide whether a display is needed.
    QStringList qtArguments;
};

// `arguments` is the whole argv, argv[0] included.
StartOptions parseStartOptions(const QStringList& arguments);

using Environment = platform::Environment;
using platform::processEnvironment;

// The folder the shelves live in, absolute: the current directory, the one
// --dir names (relative to the current directory), or the per-user folder
// $XDG_DATA_HOME/tolm (~/.local/share/tolm). Empty when it cannot be told
// (--user without HOME); `error` then says why.
QString shelfFolder(
    const StartOptions& options, const QString& currentDir, const Environment& env, QString* error = nullptr);

// Why Qt cannot start here, or empty when it can: the platform it would pick
// draws on an X or Wayland display and neither DISPLAY nor WAYLAND_DISPLAY
// says where one is.
QString missingDisplay(const StartOptions& options, const Environment& env);

// The XDG autostart entry that starts `program` (its path as the file system
// holds it) on the per-user folder, and where it goes
// ($XDG_CONFIG_HOME/autostart/tolm.desktop). The entry is empty, and `error`
// says why, when the path cannot be written in one.
QString autostartEntry(const QByteArray& program, QString* error = nullptr);
QString autostartFile(const Environment& env);

QString usageText();
QString versionText();

} // namespace tolm::app
