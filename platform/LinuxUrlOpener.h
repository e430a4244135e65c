#pragma once

#include "platform/UrlOpener.h"

namespace tolm::platform {

// QDesktopServices: the desktop's handler for the URL's scheme or file type.
class LinuxUrlOpener : public UrlOpener {
public:
    bool openUrl(const QUrl& url) override;
};

} // namespace tolm::platform
