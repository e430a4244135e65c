#include "platform/IniSettings.h"

#include "platform/Log.h"
#include "platform/OutsideFiles.h"
#include "platform/UserFolders.h"

#include <QSettings>
#include <QStringList>
#include <cerrno>

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

// QSettings reads the file itself, so what stands at the path is looked at
// first: a FIFO there would have it wait for a writer, a device read without
// end. Nothing there is sound: the file is made on the first write.
bool IniSettings::fileIsSound() const
{
    const auto refusal = outsideFileRefusal(m_filePath, kSettingsKind);
    if (!refusal || (refusal->reason == files::Refusal::Reason::CannotOpen && refusal->error == ENOENT))
        return true;
    qCWarning(lcPlatform, "settings: %s", refusal->text.c_str());
    return false;
}

std::optional<QString> IniSettings::readString(const QString& section, const QString& name)
{
    if (!fileIsSound())
        return std::nullopt;
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
    if (!fileIsSound())
        return false;
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
