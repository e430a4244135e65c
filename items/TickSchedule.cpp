#include "items/TickSchedule.h"

#include <algorithm>

namespace tolm::items {

namespace {

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - (a % b < 0 ? 1 : 0);
}

} // namespace

void TickSchedule::ticked(qint64 wall, qint64 steady, int quiet)
{
    m_wall = wall;
    m_steady = steady;
    m_skip = std::clamp(quiet, 0, kMaxSkip);
}

qint64 TickSchedule::secondAt(qint64 steady) const
{
    return floorDiv(m_wall + (steady - m_steady), 1000);
}

qint64 TickSchedule::delayMs(qint64 steady) const
{
    const qint64 due = (floorDiv(m_wall, 1000) + m_skip + 1) * 1000 + kAfterTurnMs;
    return std::max<qint64>(0, due - (m_wall + (steady - m_steady)));
}

int TickSchedule::skippedBy(qint64 steady) const
{
    // The tick that runs stands for the second it runs in; the seconds
    // between the last tick's and that one each had a tick skipped.
    const qint64 passed = secondAt(steady) - floorDiv(m_wall, 1000);
    return static_cast<int>(std::clamp<qint64>(passed - 1, 0, m_skip));
}

int TickSchedule::catchUp(qint64 steady)
{
    const qint64 passed = secondAt(steady) - floorDiv(m_wall, 1000);
    const int done = static_cast<int>(std::clamp<qint64>(passed, 0, m_skip));
    m_wall += done * qint64(1000);
    m_steady += done * qint64(1000);
    m_skip -= done;
    return done;
}

bool TickSchedule::tickNextSecond(qint64 steady)
{
    const qint64 passed = std::max<qint64>(0, secondAt(steady) - floorDiv(m_wall, 1000));
    if (passed >= m_skip)
        return false;
    m_skip = static_cast<int>(passed);
    return true;
}

} // namespace tolm::items
