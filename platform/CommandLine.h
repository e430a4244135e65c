#pragma once

#include <QString>
#include <QStringList>

namespace tolm::platform {

// Splits a parameter text into arguments like a POSIX shell splits words,
// without expanding anything: no variables, globs, ~, redirections or command
// separators. Blanks (space, tab, newline) separate words; 'single quotes'
// keep everything literally; "double quotes" keep everything except that a
// backslash escapes \ " $ and `. Outside quotes a backslash escapes a blank, a
// quote or another backslash; before any other character it stays literal, so
// Windows paths such as c:\datos\carta.txt pass through unchanged. An empty
// quote pair gives an empty argument; an unterminated quote runs to the end.
QStringList splitArguments(const QString& text);

// The argument as parameter text that splitArguments() gives back as exactly
// that one argument, whatever it holds (blanks, quotes, backslashes):
// joining quoted file names with spaces makes parameters for several files.
QString quoteArgument(const QString& argument);

// The launches that a desktop entry's Exec line asks for. `files` fill the %f
// %F %u %U field codes: %F and %U take them all in one launch, while a program
// whose line has %f or %u takes one file at a time and is launched once per
// file; without files those codes drop out. %i becomes "--icon <Icon>", %c the
// Name, %k the entry's own path, %% a percent sign; deprecated codes drop out.
// There is always at least one launch.
struct DesktopExec {
    QString program;
    QStringList arguments;
};
QList<DesktopExec> desktopExecCommands(const QString& execLine, const QStringList& files,
    const QString& iconName, const QString& name, const QString& entryPath);

} // namespace tolm::platform
