#include "platform/LinuxMemory.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tolm::platform {

std::optional<MemoryStatus> LinuxMemory::status()
{
    const int file = ::open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return std::nullopt;
    // Proc files say they are empty: they are read to their end, up to 64 kB.
    constexpr qsizetype most = 64 * 1024;
    m_text.resize(most);
    qsizetype size = 0;
    while (size < most) {
        const ssize_t got = ::read(file, m_text.data() + size, std::size_t(most - size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        size += got;
    }
    ::close(file);
    return MemoryStatus::fromMeminfo(QByteArray::fromRawData(m_text.constData(), size));
}

} // namespace tolm::platform
