#include "platform/DesktopEntry.h"

#include "platform/OutsideFiles.h"

namespace tolm::platform {

namespace {

// String values escape \s \n \t \r and \\; any other backslash stays, so the
// Exec line's own quoting (\" \$ ...) reaches the argument splitter intact.
QString unescapeValue(const QString& raw)
{
    // Most values have no escapes; copying them a character at a time
    // would be most of the cost of reading an entry.
    if (!raw.contains(u'\\'))
        return raw;
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c != u'\\' || i + 1 >= raw.size()) {
            out += c;
            continue;
        }
        const QChar n = raw.at(i + 1);
        if (n == u's')
            out += u' ';
        else if (n == u'n')
            out += u'\n';
        else if (n == u't')
            out += u'\t';
        else if (n == u'r')
            out += u'\r';
        else if (n == u'\\')
            out += u'\\';
        else {
            out += c;
            continue;
        }
        ++i;
    }
    return out;
}

QString& shownLocaleName()
{
    static QString name = QStringLiteral("es");
    return name;
}

} // namespace

void DesktopEntry::setShownLocale(const QString& locale)
{
    shownLocaleName() = locale;
}

QString DesktopEntry::shownLocale()
{
    return shownLocaleName();
}

DesktopEntry DesktopEntry::parse(const QByteArray& text, const QString& path)
{
    DesktopEntry entry;
    entry.m_path = path;
    bool inMainGroup = false;
    for (const QByteArray& rawLine : text.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inMainGroup = line == u"[Desktop Entry]";
            entry.m_valid = entry.m_valid || inMainGroup;
            continue;
        }
        if (!inMainGroup)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        // The first occurrence of a key counts; localised keys (Name[es]) are
        // kept under their full name and not used as the plain one.
        if (!entry.m_values.contains(key))
            entry.m_values.insert(key, unescapeValue(line.mid(eq + 1).trimmed()));
    }
    return entry;
}

QString DesktopEntry::localizedValue(const QString& key, const QString& locale) const
{
    QString name = locale;
    QString modifier;
    const qsizetype at = name.indexOf(u'@');
    if (at >= 0) {
        modifier = name.mid(at);
        name.truncate(at);
    }
    // The encoding part says nothing about which translation to show.
    name.truncate(name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.'));
    const QString language = name.section(u'_', 0, 0);
    QStringList candidates;
    if (!modifier.isEmpty() && name != language)
        candidates << name + modifier;
    if (name != language)
        candidates << name;
    if (!modifier.isEmpty())
        candidates << language + modifier;
    if (!language.isEmpty())
        candidates << language;
    for (const QString& candidate : candidates) {
        const auto found = m_values.constFind(key + u'[' + candidate + u']');
        if (found != m_values.constEnd() && !found.value().isEmpty())
            return found.value();
    }
    return value(key);
}

DesktopEntry DesktopEntry::load(const QString& path, files::Refusal* refusal)
{
    FileBytes file = readOutsideFile(path, kDesktopEntryKind);
    if (!file) {
        if (refusal)
            *refusal = *file.refusal;
        return {};
    }
    return parse(file.bytes, path);
}

} // namespace tolm::platform
