#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace tolm::platform {

// Memory figures in bytes. All counts are 64-bit: machines have long since
// outgrown what 32 bits can count.
struct MemoryStatus {
    quint32 load { 0 }; // percent of physical memory in use, 0..100
    quint64 totalPhys { 0 };
    quint64 availPhys { 0 };
    // The commit space (physical memory plus swap) stands in for the paging file.
    quint64 totalPageFile { 0 };
    quint64 availPageFile { 0 };

    // Reads /proc/meminfo text. Needs MemTotal; MemAvailable, when the kernel
    // is too old to give it, is estimated as MemFree + Buffers + Cached.
    static std::optional<MemoryStatus> fromMeminfo(const QByteArray& text);
};

} // namespace tolm::platform
