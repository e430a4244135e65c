#include "app/TolmApplication.h"
#include "dialogs/TAboutBox.h"
#include "dialogs/TCalendario.h"
#include "dialogs/TPropiedades.h"
#include "items/ItemHooks.h"

namespace tolm::app {

void installApplicationHooks()
{
    auto& hooks = items::hooks();
    // A clock opens the one calendar window of the program at today's date.
    hooks.openCalendar = [] { TCalendario::instance()->showToday(); };
    hooks.openAbout = [](QWidget* parent) { TAboutBox::execute(parent); };
    hooks.openProperties = [](TSpButton* item) { TPropiedades::execute(item); };
}

} // namespace tolm::app
