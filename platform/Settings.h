#pragma once

#include <QString>
#include <optional>

namespace tolm::platform {

// The launcher's little corner of the Windows registry: one key holding
// sections of named text values. Its only value today is the start counter,
// section "gen", value "tolml", kept as decimal text.
class Settings {
public:
    static constexpr const char* registryKey = "Software\\Tolm 95";
    static constexpr const char* counterSection = "gen";
    static constexpr const char* counterName = "tolml";

    virtual ~Settings() = default;

    // std::nullopt when the value does not exist (or the store cannot be read).
    virtual std::optional<QString> readString(const QString& section, const QString& name) = 0;
    // True only when the value has really been stored.
    virtual bool writeString(const QString& section, const QString& name, const QString& value) = 0;

    // Counts a program start: a missing value or one that is not a decimal
    // number counts as 0; the value plus one is written back. Returns the new
    // count, or std::nullopt when it could not be stored.
    std::optional<qint64> countStart();
};

} // namespace tolm::platform
