#pragma once

#include <QDateTime>
#include <chrono>

namespace tolm::platform {

// The current local date and time. Everything that shows or acts on "now"
// asks here, so that a test can fix the moment.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() = 0;
    // Milliseconds on a clock that only runs forward at an even pace,
    // whatever is done to the date, the time or the time zone.
    virtual qint64 steadyMs()
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

} // namespace tolm::platform
