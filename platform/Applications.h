#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tolm::platform {

// An installed application as a menu of the desktop would show it.
struct Application {
    QString id; // the desktop-file id: its path under applications/ with '/' as '-'
    QString path; // the .desktop file
    QString name; // Name in the language asked for
    QString icon; // Icon: a theme name or an absolute path
    QString foldedName; // the name folded by foldForSearch()
    // Name, GenericName, Keywords and Comment, each translated and as
    // written, folded.
    QString searchText;

    // Whether every one of the folded words occurs in the search text, or
    // in the name.
    bool matches(const QStringList& foldedWords) const;
    bool nameMatches(const QStringList& foldedWords) const;
    // How well the application answers what was typed, best first: 0 the
    // name itself, 1 the start of the name, 2 each typed word starts a word
    // of the name, 3 the name holds every word elsewhere, 4 only the other
    // texts do ("xterm" finds XTerm before UXTerm).
    int rank(const QStringList& foldedWords) const;
};

// A text as searches compare it: without accents or other combining marks
// and case-folded, so that "Edición" and "edicion" are the same.
QString foldForSearch(const QString& text);
// The words of a typed search, folded.
QStringList searchWords(const QString& typed);

// Whether the program a TryExec line names is installed: an absolute path
// that is an executable file, or a name found on PATH.
bool programInstalled(const QString& tryExec);

// The applications of the `applications` folders, the most important
// folder first: an entry's id found in an earlier folder hides entries of
// that id in later ones. Listed are the entries of type Application with a
// Name and an Exec line that are not Hidden or NoDisplay, whose OnlyShowIn
// and NotShowIn let one of `desktops` show them and whose TryExec program
// is installed. Texts are taken in `locale` ("es_ES"); the list is sorted
// by name, regardless of case and accents.
QList<Application> listApplications(
    const QStringList& applicationFolders, const QStringList& desktops, const QString& locale);

// The applications installed for this user: the applications folders of
// $XDG_DATA_HOME and $XDG_DATA_DIRS, for the desktops $XDG_CURRENT_DESKTOP
// names, in the language the program speaks (DesktopEntry::shownLocale()).
QList<Application> installedApplications();

} // namespace tolm::platform
