#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstring>
#include <limits>

namespace tolm::app {

bool wantsXcb(const DisplaySession& session)
{
    if (!session.qpaPlatform.isEmpty() || session.platformArgument)
        return false;
    return !session.waylandDisplay.isEmpty() && !session.x11Display.isEmpty();
}

void chooseDisplayPlatform(int argc, char** argv)
{
    DisplaySession session;
    session.qpaPlatform = qgetenv("QT_QPA_PLATFORM");
    session.waylandDisplay = qgetenv("WAYLAND_DISPLAY");
    session.x11Display = qgetenv("DISPLAY");
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            session.platformArgument = true;
    }
    if (wantsXcb(session))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

bool nativeWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

namespace {

// How far `window` would have to travel to lie wholly inside `screen`, as
// the sum of both axes; 64-bit so that far-away stored positions cannot wrap.
std::int64_t distance(const QRect& window, const QRect& screen)
{
    auto axis = [](std::int64_t low, std::int64_t high, std::int64_t areaLow, std::int64_t areaHigh) {
        if (high < areaLow)
            return areaLow - high;
        if (low > areaHigh)
            return low - areaHigh;
        return std::int64_t(0);
    };
    return axis(window.left(), window.right(), screen.left(), screen.right())
        + axis(window.top(), window.bottom(), screen.top(), screen.bottom());
}

bool reaches(const QRect& window, const QRect& screen)
{
    const QRect common = window.intersected(screen);
    return common.width() >= std::min(kReachableEdge, window.width())
        && common.height() >= std::min(kReachableEdge, window.height());
}

} // namespace

QRect reachable(const QRect& stored, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return stored;
    const QRect window(stored.topLeft(),
        QSize(std::min(stored.width(), kLongestWindowSide), std::min(stored.height(), kLongestWindowSide)));
    const QRect* nearest = nullptr;
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    for (const QRect& screen : screens) {
        if (reaches(window, screen))
            return window;
        const std::int64_t away = distance(window, screen);
        if (away < best) {
            best = away;
            nearest = &screen;
        }
    }
    // A window larger than its screen keeps its top left corner on it, where
    // the frame's title bar is.
    const int left
        = std::max(nearest->left(), std::min(window.left(), nearest->right() + 1 - window.width()));
    const int top = std::max(nearest->top(), std::min(window.top(), nearest->bottom() + 1 - window.height()));
    return QRect(QPoint(left, top), window.size());
}

QRect reachableOnScreens(const QRect& window)
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->geometry());
    return reachable(window, areas);
}

} // namespace tolm::app
