#pragma once

#include <QList>
#include <QRect>

// Where shelf windows may stand, and how the program reaches the display.
namespace tolm::app {

// A shelf keeps where its windows stand, and a native Wayland client can
// neither place a window nor learn where it is. So in a Wayland session that
// also offers an X server (XWayland), Tolm talks to that one, unless the user
// named a platform (QT_QPA_PLATFORM or -platform). Says whether to ask for xcb.
struct DisplaySession {
    QByteArray qpaPlatform; // QT_QPA_PLATFORM
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
    QByteArray x11Display; // DISPLAY
    bool platformArgument { false }; // -platform on the command line
};
bool wantsXcb(const DisplaySession& session);

// Reads the session from the environment and `argv`, and sets
// QT_QPA_PLATFORM=xcb when `wantsXcb` says so. Call before QApplication.
void chooseDisplayPlatform(int argc, char** argv);

// Whether the application talks Wayland natively (no window positions).
bool nativeWayland();

// A window at least this much of which lies on some screen can be reached
// and dragged back by the user.
inline constexpr int kReachableEdge = 20;

// The longest side a window can have: X11 keeps window sizes in 16 signed
// bits, and cuts a larger one down only after it has been placed.
inline constexpr int kLongestWindowSide = 32767;

// `window` as it is when it is reachable on one of `screens`; otherwise moved,
// keeping its size, onto the screen it lies nearest to, as far in as fits.
// A side longer than a window can have is first cut to kLongestWindowSide,
// so that the window is placed at the size it will have. With no screens it
// is returned as it is.
QRect reachable(const QRect& window, const QList<QRect>& screens);

// `reachable` with the screens of the running application.
QRect reachableOnScreens(const QRect& window);

} // namespace tolm::app
