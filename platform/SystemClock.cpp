#include "platform/SystemClock.h"

#include <chrono>

namespace tolm::platform {

QDateTime SystemClock::now()
{
    return QDateTime::currentDateTime();
}

qint64 SystemClock::steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace tolm::platform
