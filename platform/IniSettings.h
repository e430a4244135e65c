#pragma once

#include "platform/Settings.h"

namespace tolm::platform {

// Settings in an ini file that stands for the registry key: each section of
// the key is an ini section ("[gen]"), each value a line ("tolml=3").
class IniSettings : public Settings {
public:
    explicit IniSettings(const QString& filePath = defaultPath());

    // Tolm/tolm.ini in the user's configuration folder (see UserFolders.h).
    static QString defaultPath();
    QString filePath() const { return m_filePath; }

    std::optional<QString> readString(const QString& section, const QString& name) override;
    bool writeString(const QString& section, const QString& name, const QString& value) override;

private:
    bool fileIsSound() const;

    QString m_filePath;
};

} // namespace tolm::platform
