#pragma once

#include <QHash>
#include <QString>

namespace tolm::files {
struct Refusal;
}

namespace tolm::platform {

// The [Desktop Entry] group of a freedesktop .desktop file: enough to start
// the application it describes and to find its icon.
class DesktopEntry {
public:
    static DesktopEntry parse(const QByteArray& text, const QString& path = {});
    // Read through the one reader of outside files, as a desktop entry: an
    // entry that cannot be read is not valid, and `refusal` says why.
    static DesktopEntry load(const QString& path, files::Refusal* refusal = nullptr);

    bool isValid() const { return m_valid; }
    QString path() const { return m_path; }
    QString value(const QString& key) const { return m_values.value(key); }
    QString type() const { return value(QStringLiteral("Type")); }
    QString name() const { return value(QStringLiteral("Name")); }
    QString exec() const { return value(QStringLiteral("Exec")); }
    QString icon() const { return value(QStringLiteral("Icon")); }
    QString workingDirectory() const { return value(QStringLiteral("Path")); }
    QString url() const { return value(QStringLiteral("URL")); }
    QString tryExec() const { return value(QStringLiteral("TryExec")); }
    bool terminal() const { return value(QStringLiteral("Terminal")) == u"true"; }

    // The value of `key` for a locale named like "es_ES.UTF-8@euro": key[es_ES@euro],
    // key[es_ES], key[es@euro], key[es], then the plain key.
    QString localizedValue(const QString& key, const QString& locale) const;
    // The Name and Comment shown on a launcher, in the language the program
    // speaks (see setShownLocale).
    QString localizedName() const { return localizedValue(QStringLiteral("Name"), shownLocale()); }
    QString localizedComment() const { return localizedValue(QStringLiteral("Comment"), shownLocale()); }

    // The locale whose translations of Name and Comment are shown ("es_ES",
    // "en"): the program's language, set once at start-up. Spanish until then.
    static void setShownLocale(const QString& locale);
    static QString shownLocale();

private:
    bool m_valid { false };
    QString m_path;
    QHash<QString, QString> m_values;
};

} // namespace tolm::platform
