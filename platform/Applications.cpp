#include "platform/Applications.h"

#include "platform/DesktopEntry.h"
#include "platform/Log.h"
#include "platform/OutsideFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>
#include <optional>
#include <tuple>

namespace tolm::platform {

namespace {

// A list value ("GNOME;KDE;"): items end with ';', and "\;" is a semicolon
// inside an item.
QStringList listValue(const QString& value)
{
    QStringList items;
    QString item;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\' && i + 1 < value.size() && value.at(i + 1) == u';') {
            item += u';';
            ++i;
        } else if (c == u';') {
            items << item;
            item.clear();
        } else {
            item += c;
        }
    }
    if (!item.isEmpty())
        items << item;
    return items;
}

bool isTrue(const DesktopEntry& entry, const char* key)
{
    return entry.value(QLatin1String(key)) == u"true";
}

bool shownOn(const DesktopEntry& entry, const QStringList& desktops)
{
    const auto named = [&desktops](const QStringList& list) {
        return std::any_of(desktops.begin(), desktops.end(),
            [&list](const QString& desktop) { return list.contains(desktop); });
    };
    const QStringList only = listValue(entry.value(QStringLiteral("OnlyShowIn")));
    if (!only.isEmpty() && !named(only))
        return false;
    return !named(listValue(entry.value(QStringLiteral("NotShowIn"))));
}

std::optional<Application> applicationOf(
    const DesktopEntry& entry, const QString& id, const QStringList& desktops, const QString& locale)
{
    if (!entry.isValid() || entry.type() != u"Application" || isTrue(entry, "Hidden")
        || isTrue(entry, "NoDisplay") || entry.exec().isEmpty() || !shownOn(entry, desktops))
        return std::nullopt;
    Application app;
    app.name = entry.localizedValue(QStringLiteral("Name"), locale);
    if (app.name.isEmpty())
        return std::nullopt;
    // TryExec is looked at last: finding a program costs a walk along PATH.
    if (!entry.tryExec().isEmpty() && !programInstalled(entry.tryExec()))
        return std::nullopt;
    app.id = id;
    app.path = entry.path();
    app.icon = entry.icon();
    app.foldedName = foldForSearch(app.name);
    // The texts as written are searched too: they are often English, and
    // a user may know a program by its English name.
    QStringList texts;
    for (const char* key : { "Name", "GenericName", "Keywords", "Comment" }) {
        const QString plain = entry.value(QLatin1String(key));
        const QString translated = entry.localizedValue(QLatin1String(key), locale);
        texts << listValue(translated);
        if (plain != translated)
            texts << listValue(plain);
    }
    app.searchText = foldForSearch(texts.join(u'\n'));
    return app;
}

bool containsAll(const QString& text, const QStringList& words)
{
    return std::all_of(
        words.begin(), words.end(), [&text](const QString& word) { return text.contains(word); });
}

} // namespace

bool Application::matches(const QStringList& foldedWords) const
{
    return containsAll(searchText, foldedWords);
}

bool Application::nameMatches(const QStringList& foldedWords) const
{
    return containsAll(foldedName, foldedWords);
}

int Application::rank(const QStringList& foldedWords) const
{
    const QString typed = foldedWords.join(u' ');
    if (typed.isEmpty())
        return 4;
    if (foldedName == typed)
        return 0;
    if (foldedName.startsWith(typed))
        return 1;
    if (!nameMatches(foldedWords))
        return 4;
    static const QRegularExpression separators(QStringLiteral("[\\W_]+"));
    const QStringList nameWords = foldedName.split(separators, Qt::SkipEmptyParts);
    const auto startsAWord = [&nameWords](const QString& word) {
        return std::any_of(nameWords.begin(), nameWords.end(),
            [&word](const QString& nameWord) { return nameWord.startsWith(word); });
    };
    return std::all_of(foldedWords.begin(), foldedWords.end(), startsAWord) ? 2 : 3;
}

QString foldForSearch(const QString& text)
{
    // The compatibility decomposition also takes ligatures and full-width
    // letters apart, so "ﬁ" finds "fi".
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        switch (c.category()) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
            break;
        default:
            out += c;
        }
    }
    return out.toCaseFolded();
}

QStringList searchWords(const QString& typed)
{
    return foldForSearch(typed).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

bool programInstalled(const QString& tryExec)
{
    if (QDir::isAbsolutePath(tryExec)) {
        const QFileInfo info(tryExec);
        return info.isFile() && info.isExecutable();
    }
    return !QStandardPaths::findExecutable(tryExec).isEmpty();
}

QList<Application> listApplications(
    const QStringList& applicationFolders, const QStringList& desktops, const QString& locale)
{
    QList<Application> found;
    QSet<QString> seen;
    for (const QString& folder : applicationFolders) {
        const QDir root(folder);
        QDirIterator files(
            folder, { QStringLiteral("*.desktop") }, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            // "kde/okular.desktop" is known as "kde-okular.desktop".
            const QString id = root.relativeFilePath(path).replace(u'/', u'-');
            if (seen.contains(id))
                continue;
            // An entry of an earlier folder decides even when it is not
            // shown: a Hidden one there is how a user deletes an application.
            seen.insert(id);
            // A link to a FIFO or a device among the entries is skipped, not
            // waited on or read without end.
            files::Refusal refusal;
            const DesktopEntry entry = DesktopEntry::load(path, &refusal);
            if (!refusal.text.empty())
                qCWarning(lcPlatform, "application list: %s; skipped", refusal.text.c_str());
            if (auto app = applicationOf(entry, id, desktops, locale))
                found.append(std::move(*app));
        }
    }
    // Accents and case do not decide the order either: "Árbol" comes
    // before "Buscar" and "zona" after "Yate".
    std::sort(found.begin(), found.end(), [](const Application& a, const Application& b) {
        return std::tie(a.foldedName, a.name, a.id) < std::tie(b.foldedName, b.name, b.id);
    });
    return found;
}

QList<Application> installedApplications()
{
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
    // The names in the language of the launchers' captions.
    return listApplications(QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation), desktops,
        DesktopEntry::shownLocale());
}

} // namespace tolm::platform
