#pragma once

#include <QUrl>

namespace tolm::platform {

// Shows a web page or a local document in the desktop's browser or viewer.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // False when no program took the URL.
    virtual bool openUrl(const QUrl& url) = 0;
};

} // namespace tolm::platform
