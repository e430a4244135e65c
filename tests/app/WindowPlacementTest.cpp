#include "app/WindowPlacement.h"

#include "ShelfFixture.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

using tolm::app::DisplaySession;
using tolm::app::reachable;
using tolm::app::wantsXcb;

namespace {

TEST(DisplaySessionTest, XWaylandIsChosenOnlyWhenTheUserNamedNoPlatform)
{
    struct Case {
        const char* what;
        DisplaySession session;
        bool xcb;
    };
    const Case cases[] = {
        { "Wayland with XWayland", { "", "wayland-0", ":0", false }, true },
        { "Wayland alone", { "", "wayland-0", "", false }, false },
        { "X11 alone", { "", "", ":0", false }, false },
        { "the user's QT_QPA_PLATFORM", { "wayland", "wayland-0", ":0", false }, false },
        { "the user's -platform", { "", "wayland-0", ":0", true }, false },
        { "nothing at all", { "", "", "", false }, false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(wantsXcb(c.session), c.xcb) << c.what;
}

TEST(ReachableTest, WindowsOffEveryScreenComeBackAndOthersStay)
{
    // A 1280x1024 screen and a taller one to its right: below the first
    // there is room of no screen.
    const QList<QRect> screens { QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1200) };
    struct Case {
        const char* what;
        QRect window;
        QPoint expected;
        QSize size {}; // when it differs from the window's
    };
    const Case cases[] = {
        { "inside the first screen", QRect(100, 100, 300, 150), QPoint(100, 100) },
        { "across both screens", QRect(1200, 500, 300, 150), QPoint(1200, 500) },
        { "20 pixels still on the left", QRect(-280, 100, 300, 150), QPoint(-280, 100) },
        { "only 10 pixels on the left", QRect(-290, 100, 300, 150), QPoint(0, 100) },
        { "above the top", QRect(400, -150, 300, 150), QPoint(400, 0) },
        { "below the first, beside the second", QRect(200, 1030, 300, 150), QPoint(200, 874) },
        { "past the second's right edge", QRect(3300, 300, 300, 150), QPoint(2900, 300) },
        { "far away", QRect(1000000, 1000000, 300, 150), QPoint(2900, 1050) },
        { "the pointer's offset taken as a position", QRect(-100, -210, 300, 150), QPoint(0, 0) },
        { "larger than its screen", QRect(-5000, 2000, 4000, 3000), QPoint(0, 0) },
        { "a tiny window just off", QRect(1280 + 1920, 10, 5, 5), QPoint(1280 + 1920 - 5, 10) },
        { "larger than a window can be", QRect(-50000, -50000, 100000, 100000), QPoint(0, 0),
            QSize(32767, 32767) },
    };
    for (const Case& c : cases) {
        const QRect placed = reachable(c.window, screens);
        EXPECT_EQ(placed.topLeft(), c.expected) << c.what;
        EXPECT_EQ(placed.size(), c.size.isEmpty() ? c.window.size() : c.size) << c.what;
    }
    EXPECT_EQ(reachable(QRect(-4000, -4000, 10, 10), {}), QRect(-4000, -4000, 10, 10));
}

QByteArray shelfAt(int left, int top, int width, int height)
{
    tolm::store::ShelfHeader header;
    header.left = left;
    header.top = top;
    header.right = left + width;
    header.bottom = top + height;
    std::vector<std::uint8_t> bytes;
    tolm::store::writeHeader(header, bytes);
    tolm::store::writeRecord(tolm::store::writeFontDialog(tolm::store::FontDialogState {}), bytes);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

void sendMouse(QWidget* widget, QEvent::Type type, QPoint local, QPoint global, Qt::MouseButton button,
    Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(local), QPointF(global), button, buttons, modifiers);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

TEST_F(ShelfTest, AWindowIsNeverLoadedNorSavedOffEveryScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // Off every screen in the file: it comes up reachable, and its size stays.
    write("tolm95.dat", shelfAt(screen.right() + 4000, screen.bottom() + 4000, 200, 100));
    TPrincipal* main = startMain();
    main->show();
    EXPECT_TRUE(screen.contains(QRect(main->pos(), main->size())))
        << "loaded at " << main->x() << "," << main->y();
    EXPECT_EQ(main->size(), QSize(200, 100));

    // Moved off by hand (a stray drag), it is saved where it can be reached.
    main->move(-100 - main->width(), 210);
    tolm::app::saveSettings();
    const auto header = parse("tolm95.dat").header;
    EXPECT_TRUE(screen.contains(
        QRect(header.left, header.top, header.right - header.left, header.bottom - header.top)))
        << "saved at " << header.left << "," << header.top;
    EXPECT_EQ(header.right - header.left, 200);
}

TEST_F(ShelfTest, AReachablePositionIsKeptToThePixel)
{
    // Partly off the left edge, as the user may leave a window on purpose.
    write("tolm95.dat", shelfAt(-150, 40, 300, 150));
    TPrincipal* main = startMain();
    main->show();
    EXPECT_EQ(main->pos(), QPoint(-150, 40));
    tolm::app::saveSettings();
    const auto header = parse("tolm95.dat").header;
    EXPECT_EQ(QPoint(header.left, header.top), QPoint(-150, 40));
}

// The window follows the pointer's own screen movement. A client point
// mapped through where the window was last reported would lag (or, with a
// position never reported, leave the window at the pointer's offset).
TEST_F(ShelfTest, DragsMoveTheWindowByThePointersScreenMovement)
{
    struct Case {
        const char* what;
        bool onItem;
    };
    for (const Case& c : { Case { "background", false }, Case { "Ctrl on an item", true } }) {
        SCOPED_TRACE(c.what);
        TPrincipal* main = startMain();
        main->show();
        main->move(400, 300);
        const QPoint start = main->pos();
        state().pressPoint = QPoint(40, 40);
        QWidget* target = c.onItem ? static_cast<QWidget*>(main->commands().newLauncher()) : main;
        const Qt::KeyboardModifiers modifiers = c.onItem ? Qt::ControlModifier : Qt::NoModifier;
        const QPoint local(10, 10);
        const QPoint global(700, 500);
        sendMouse(target, QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, modifiers);
        // The window's own coordinates of the pointer stay put: a window that
        // follows the pointer exactly sees it stand still.
        for (const QPoint& step : { QPoint(-30, 60), QPoint(-100, 210) })
            sendMouse(
                target, QEvent::MouseMove, local, global + step, Qt::NoButton, Qt::LeftButton, modifiers);
        EXPECT_EQ(main->pos(), start + QPoint(-100, 210));
        sendMouse(target, QEvent::MouseButtonRelease, local, global + QPoint(-100, 210), Qt::LeftButton,
            Qt::NoButton, modifiers);
        EXPECT_FALSE(state().dragging);
        EXPECT_TRUE(fake.shell.launches.isEmpty());
        closeAll();
    }
}
