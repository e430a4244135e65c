#include "app/WindowStay.h"

#include "platform/Platform.h"
#include "platform/Settings.h"

#include <QUrl>

namespace tolm::app {

namespace {

const QString kSection = QStringLiteral("ventanas");
// The value is a sum of these.
constexpr int kKeepAbove = 1;
constexpr int kEveryDesktop = 2;

// Settings names cannot hold the path's slashes.
QString nameFor(const QString& shelfFile)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(shelfFile));
}

} // namespace

WindowStay readWindowStay(const QString& shelfFile)
{
    bool ok = false;
    const int bits = platform::services()
                         .settings->readString(kSection, nameFor(shelfFile))
                         .value_or(QString())
                         .toInt(&ok);
    if (!ok)
        return {};
    return { (bits & kKeepAbove) != 0, (bits & kEveryDesktop) != 0 };
}

bool writeWindowStay(const QString& shelfFile, const WindowStay& stay)
{
    const int bits = (stay.keepAbove ? kKeepAbove : 0) | (stay.everyDesktop ? kEveryDesktop : 0);
    return platform::services().settings->writeString(kSection, nameFor(shelfFile), QString::number(bits));
}

} // namespace tolm::app
