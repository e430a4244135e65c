#pragma once

#include "platform/Choosers.h"
#include "platform/Clock.h"
#include "platform/Drives.h"
#include "platform/Icons.h"
#include "platform/LocaleInfo.h"
#include "platform/Memory.h"
#include "platform/MessageBoxes.h"
#include "platform/Settings.h"
#include "platform/Shell.h"
#include "platform/UrlOpener.h"

namespace tolm::platform {

// The one access point to the operating system. Code that needs a service
// asks for it here:
//
//     tolm::platform::services().shell->open(comando, param, directorio, show);
//
// On first use every service is the Linux implementation (LinuxShell,
// LinuxDrives, LinuxMemory, IniSettings at IniSettings::defaultPath(),
// SystemLocale for the system locale, LinuxIcons, LinuxChoosers,
// LinuxMessageBoxes, LinuxUrlOpener, SystemClock), owned by this module and
// living until the program ends. Tests put fakes in place for a scope with
// ScopedServices. Everything here belongs to the GUI thread.
struct Services {
    Shell* shell { nullptr };
    Drives* drives { nullptr };
    Memory* memory { nullptr };
    Settings* settings { nullptr };
    LocaleInfo* locale { nullptr };
    Icons* icons { nullptr };
    Choosers* choosers { nullptr };
    MessageBoxes* messageBoxes { nullptr };
    UrlOpener* urlOpener { nullptr };
    Clock* clock { nullptr };
};

// The services in use; never null members.
Services& services();

// Replaces the services that are not null in `replacement`; the caller keeps
// ownership and must keep them alive while they are installed.
void setServices(const Services& replacement);

// Shelf content names files relative to the shelf folder (a launcher's
// command, its start folder, an icon file, a drive tile's folder): the Linux
// services look for them in `folder`, and start programs there when they
// have no start folder of their own. Start-up sets it once.
void setShelfFolder(const QString& folder);

// Installs services for its lifetime and puts the previous ones back after:
//
//     FakePlatform fake;               // tests/support/FakePlatform.h
//     ScopedServices use(fake.services());
class ScopedServices {
public:
    explicit ScopedServices(const Services& replacement);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services m_previous;
};

} // namespace tolm::platform
