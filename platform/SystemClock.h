#pragma once

#include "platform/Clock.h"

namespace tolm::platform {

// The system clock in the local time zone.
class SystemClock : public Clock {
public:
    QDateTime now() override;
};

} // namespace tolm::platform
