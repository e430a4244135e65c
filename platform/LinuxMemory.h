#pragma once

#include "platform/Memory.h"

#include <QByteArray>

namespace tolm::platform {

class LinuxMemory : public Memory {
public:
    std::optional<MemoryStatus> status() override;

private:
    // Kept from one reading to the next: the file is read every second.
    QByteArray m_text;
};

} // namespace tolm::platform
