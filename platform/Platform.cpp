#include "platform/Platform.h"

#include "platform/IniSettings.h"
#include "platform/LinuxChoosers.h"
#include "platform/LinuxDrives.h"
#include "platform/LinuxIcons.h"
#include "platform/LinuxMemory.h"
#include "platform/LinuxMessageBoxes.h"
#include "platform/LinuxShell.h"
#include "platform/LinuxUrlOpener.h"
#include "platform/SystemClock.h"
#include "platform/SystemLocale.h"

namespace tolm::platform {

namespace {

struct LinuxServices {
    LinuxDrives drives;
    LinuxShell shell { &drives };
    LinuxMemory memory;
    IniSettings settings;
    SystemLocale locale;
    LinuxIcons icons { &drives };
    LinuxChoosers choosers;
    LinuxMessageBoxes messageBoxes;
    LinuxUrlOpener urlOpener;
    SystemClock clock;
};

Services& current()
{
    static Services active = [] {
        static LinuxServices real;
        return Services { &real.shell, &real.drives, &real.memory, &real.settings, &real.locale, &real.icons,
            &real.choosers, &real.messageBoxes, &real.urlOpener, &real.clock };
    }();
    return active;
}

} // namespace

Services& services()
{
    return current();
}

void setServices(const Services& r)
{
    Services& s = current();
    if (r.shell)
        s.shell = r.shell;
    if (r.drives)
        s.drives = r.drives;
    if (r.memory)
        s.memory = r.memory;
    if (r.settings)
        s.settings = r.settings;
    if (r.locale)
        s.locale = r.locale;
    if (r.icons)
        s.icons = r.icons;
    if (r.choosers)
        s.choosers = r.choosers;
    if (r.messageBoxes)
        s.messageBoxes = r.messageBoxes;
    if (r.urlOpener)
        s.urlOpener = r.urlOpener;
    if (r.clock)
        s.clock = r.clock;
}

ScopedServices::ScopedServices(const Services& replacement)
    : m_previous(current())
{
    setServices(replacement);
}

ScopedServices::~ScopedServices()
{
    current() = m_previous;
}

} // namespace tolm::platform
