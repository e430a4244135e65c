#pragma once

#include <QMargins>
#include <QPoint>
#include <optional>

class QWidget;

namespace tolm::app {

// Where the X server has a top-level window at this moment: the origin of
// its client area on the screen and the window manager's frame around it.
// Qt's own idea of the position is what the manager last said, and a
// manager that reparents a window into its frame may say (0, 0) for a while
// or never say anything again once the window is in place.
struct X11Place {
    QPoint client;
    QMargins frame;

    QPoint frameTopLeft() const { return client - QPoint(frame.left(), frame.top()); }
};

// Empty when the application does not talk to an X server or `window` has
// no native window yet.
std::optional<X11Place> x11Place(const QWidget* window);

// Asks the window manager to put the frame's corner of `window` at
// `frameTopLeft`, whatever Qt believes the window's position to be (Qt
// skips a move to where it thinks the window already is). False when the
// application does not talk to an X server.
bool x11MoveFrame(const QWidget* window, const QPoint& frameTopLeft);

// Asks the window manager to show `window` on every workspace, or on the
// current one only (_NET_WM_DESKTOP, with _NET_WM_STATE_STICKY for managers
// that go by that). False when the application does not talk to an X server.
bool x11SetOnEveryDesktop(const QWidget* window, bool every);

} // namespace tolm::app
