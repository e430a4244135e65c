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

TickReadings& TickReadings::currentOr(std::optional<TickReadings>& alone)
{
    return s_current ? *s_current : alone.emplace();
}

} // namespace tolm::items
