#include "platform/LinuxUrlOpener.h"

#include <QDesktopServices>

namespace tolm::platform {

bool LinuxUrlOpener::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace tolm::platform
