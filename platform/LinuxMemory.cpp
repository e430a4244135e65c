#include "platform/LinuxMemory.h"

#include <QFile>

namespace tolm::platform {

std::optional<MemoryStatus> LinuxMemory::status()
{
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return MemoryStatus::fromMeminfo(file.read(64 * 1024));
}

} // namespace tolm::platform
