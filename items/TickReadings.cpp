#include "items/TickReadings.h"

namespace tolm::items {

namespace {
TickReadings* s_current = nullptr;
}

TickReadings::TickReadings()
    : m_outer(s_current)
{
    s_current = this;
}

TickReadings::~TickReadings()
{
    s_current = m_outer;
}

TickReadings* TickReadings::current()
{
    return s_current;
}

} // namespace tolm::items
