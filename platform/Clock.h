#pragma once

#include <QDateTime>

namespace tolm::platform {

// The current local date and time. Everything that shows or acts on "now"
// asks here, so that a test can fix the moment.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() = 0;
};

} // namespace tolm::platform
