#pragma once

#include "files/ReadFile.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace tolm::platform {

// The kinds of file the platform reads from paths it did not make, each
// with the most it may hold. Every such file is read through
// readOutsideFile, or, where Qt must be handed the path, checked with
// outsideFileRefusal first.
//
// A desktop entry is a few kilobytes; one translated into every language
// some tens.
inline constexpr files::FileKind kDesktopEntryKind { "a desktop entry", std::uint64_t(1) << 20 };
// An .ico holding every size up to 256 x 256 at 32 bits is about 400 kB; a
// photograph chosen as an icon may be a few megabytes.
inline constexpr files::FileKind kIconFileKind { "an icon file", std::uint64_t(16) << 20 };
// mimeapps.list and mimeinfo.cache: some hundred kilobytes on a desktop
// with every application installed.
inline constexpr files::FileKind kApplicationListKind { "a list of applications", std::uint64_t(16) << 20 };
// The settings file holds one counter; a hand-edited one may hold more.
inline constexpr files::FileKind kSettingsKind { "a settings file", std::uint64_t(1) << 20 };
// The kernel's mount table: some hundred bytes a mount.
inline constexpr files::FileKind kMountTableKind { "a mount table", std::uint64_t(16) << 20 };

// A file's bytes, or why they were not read.
struct FileBytes {
    QByteArray bytes;
    std::optional<files::Refusal> refusal;
    explicit operator bool() const { return !refusal; }
};
FileBytes readOutsideFile(const QString& path, const files::FileKind& kind);
// The first `count` bytes (fewer when the file is shorter).
FileBytes readOutsideFileHead(const QString& path, std::size_t count);
// What readOutsideFile would refuse at once, told without opening the file.
std::optional<files::Refusal> outsideFileRefusal(const QString& path, const files::FileKind& kind);

// The refusal as the end of a sentence in the program's language: "no es un
// archivo normal, sino una FIFO", "ocupa 3.221.225.472 bytes, y se leen como
// mucho 1.048.576".
QString refusalReason(const files::Refusal& refusal);

} // namespace tolm::platform
