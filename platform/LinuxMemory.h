#pragma once

#include "platform/Memory.h"

namespace tolm::platform {

class LinuxMemory : public Memory {
public:
    std::optional<MemoryStatus> status() override;
};

} // namespace tolm::platform
