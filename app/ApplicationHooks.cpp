#include "app/TolmApplication.h"
#include "items/ItemHooks.h"

namespace tolm::app {

void installApplicationHooks()
{
    auto& hooks = items::hooks();
    hooks.openCalendar = [] {};
    hooks.openAbout = [](QWidget*) {};
    hooks.openProperties = [](TSpButton*) {};
}

} // namespace tolm::app
