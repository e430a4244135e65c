#pragma once

#include "platform/MemoryStatus.h"

#include <optional>

namespace tolm::platform {

class Memory {
public:
    virtual ~Memory() = default;
    virtual std::optional<MemoryStatus> status() = 0;
};

} // namespace tolm::platform
