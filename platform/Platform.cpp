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

LinuxServices& real()
{
    static LinuxServices services;
    return services;
}

Services& current()
{
    static Services active { &real().shell, &real().drives, &real().memory, &real().settings, &real().locale,
        &real().icons, &real().choosers, &real().messageBoxes, &real().urlOpener, &real().clock };
    return active;
}

} // namespace

Services& services()
{
    return current();
}

void setShelfFolder(const QString& folder)
{
    real().drives.setFolder(folder);
    real().shell.setFolder(folder);
}

void setServices(const Services& r)
{
    Services& s = current();
    auto take = [&](auto member) {
        if (r.*member)
            s.*member = r.*member;
    };
    take(&Services::shell);
    take(&Services::drives);
    take(&Services::memory);
    take(&Services::settings);
    take(&Services::locale);
    take(&Services::icons);
    take(&Services::choosers);
    take(&Services::messageBoxes);
    take(&Services::urlOpener);
    take(&Services::clock);
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
