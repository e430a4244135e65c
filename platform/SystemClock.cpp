#include "platform/SystemClock.h"

namespace tolm::platform {

QDateTime SystemClock::now()
{
    return QDateTime::currentDateTime();
}

} // namespace tolm::platform
