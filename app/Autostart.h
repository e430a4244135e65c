#pragma once

#include "platform/UserFolders.h"

#include <QByteArray>
#include <QString>

namespace tolm::app {

// The desktop session starts Tolm on the per-user folder through an XDG
// autostart entry ($XDG_CONFIG_HOME/autostart/tolm.desktop); the command line
// (--autostart on|off) and the window menu ("Iniciar con la sesión") both
// write or remove it here.
struct AutostartChange {
    enum class Problem { None, NoConfigFolder, CannotRemove, CannotWrite, UnwritableProgram };
    Problem problem { Problem::None };
    // The entry's path, where it is known.
    QString file;
    // What the system said of a failed write or removal; for a program
    // whose path an entry cannot hold, why, in English for the command line.
    QString detail;

    bool ok() const { return problem == Problem::None; }
};

// Whether the entry is there.
bool startsWithSession(const platform::Environment& env);
// Writes the entry, starting `program` (its path as the file system holds
// it), or removes it.
AutostartChange setStartWithSession(bool on, const QByteArray& program, const platform::Environment& env);
// The program that is running, as its path on disk.
QByteArray runningProgram();

} // namespace tolm::app
