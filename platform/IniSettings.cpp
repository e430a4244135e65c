#include "platform/IniSettings.h"

#include "platform/UserFolders.h"

#include <QSettings>
#include <QStringList>

namespace tolm::platform {

IniSettings::IniSettings(const QString& filePath)
    : m_filePath(filePath)
{ }

QString IniSettings::defaultPath()
{
    QString folder = userConfigFolder(processEnvironment());
    // Without HOME there is no user's folder; the file is then looked for
    // under the root folder, where it cannot be written, as Qt would look.
    if (folder.isEmpty())
        folder = QStringLiteral("/.config");
    return folder + QStringLiteral("/Tolm/tolm.ini");
}

std::optional<QString> IniSettings::readString(const QString& section, const QString& name)
{
    QSettings ini(m_filePath, QSettings::IniFormat);
    const QString key = section + u'/' + name;
    if (ini.status() != QSettings::NoError || !ini.contains(key))
        return std::nullopt;
    const QVariant value = ini.value(key);
    // An unquoted value with commas in a hand-edited file reads as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

bool IniSettings::writeString(const QString& section, const QString& name, const QString& value)
{
    QSettings ini(m_filePath, QSettings::IniFormat);
    // A file we could not parse would be rewritten from nothing; refuse
    // instead of losing what it holds.
    if (ini.status() != QSettings::NoError)
        return false;
    ini.setValue(section + u'/' + name, value);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

} // namespace tolm::platform
