#include "ShelfFixture.h"
#include "gfx/Color.h"
#include "items/HintWindow.h"

#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QMenu>
#include <QTest>

namespace {

QStringList texts(const QMenu* menu)
{
    QStringList out;
    for (const QAction* action : menu->actions())
        out << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return out;
}

void send(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, buttons, modifiers);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

TEST_F(ShelfTest, TheMenusHoldTheirEntriesInOrder)
{
    TPrincipal* main = startMain();
    QMenu* ventana = main->windowMenu();
    EXPECT_EQ(ventana->title(), "Ventana");
    EXPECT_EQ(texts(ventana),
        QStringList({ "Opciones", "-", "Nuevo", "-", "Deshacer", "Pegar", "-", "Guardar configuración",
            "Restaurar configuración", "-", "Organizar botones", "-", "Cerrar", "-", "Ayuda",
            "Acerca de .." }));
    EXPECT_EQ(texts(ventana->actions()[0]->menu()),
        QStringList({ "Marco de ventana", "Siempre botones", "Color de fondo", "Fuente por defecto", "-",
            "Siempre visible", "En todos los escritorios", "-", "Iniciar con la sesión" }));
    EXPECT_EQ(texts(ventana->actions()[2]->menu()),
        QStringList({ "Botón", "Carpeta", "-", "Reloj", "Memoria", "Disco", "Aplicación..." }));
    EXPECT_EQ(texts(main->menuForClase(1)),
        QStringList({ "&Abrir", "&Cerrar", "-", "C&ortar", "-", "E&liminar", "-", "P&ropiedades", "-" }));
    EXPECT_EQ(texts(main->menuForClase(2)),
        QStringList({ "&Abrir", "-", "C&ortar", "&Copiar", "-", "E&liminar", "-", "Fecha y Hora",
            "Configuración Regional", "-", "P&ropiedades", "-" }));
    EXPECT_EQ(texts(main->menuForClase(3)),
        QStringList({ "&Abrir", "E&xplorar", "-", "C&ortar", "&Copiar", "-", "E&liminar", "-", "P&ropiedades",
            "-" }));
    const QMenu* memoria = main->menuForClase(4);
    EXPECT_EQ(
        texts(memoria), QStringList({ "C&ortar", "&Copiar", "-", "E&liminar", "-", "P&ropiedades", "-" }));
    EXPECT_TRUE(memoria->actions()[5]->font().bold());
    EXPECT_TRUE(main->menuForClase(0)->actions()[0]->font().bold());
    EXPECT_FALSE(main->undoAction()->isEnabled());
}

TEST_F(ShelfTest, TheWindowMenuMovesBetweenItemMenus)
{
    TPrincipal* main = startMain();
    QMenu* reloj = main->menuForClase(2);
    QMenu* disco = main->menuForClase(3);
    QAction* ventana = main->windowMenu()->menuAction();
    emit reloj->aboutToShow();
    EXPECT_EQ(main->menuHost(), reloj);
    EXPECT_EQ(reloj->actions().last(), ventana);
    emit disco->aboutToShow();
    EXPECT_EQ(main->menuHost(), disco);
    EXPECT_FALSE(reloj->actions().contains(ventana));
    EXPECT_EQ(disco->actions().last(), ventana);
    emit disco->aboutToShow();
    EXPECT_EQ(disco->actions().count(ventana), 1);
    // The window menu itself still holds every entry.
    EXPECT_EQ(main->windowMenu()->actions().size(), 16);
}

TEST_F(ShelfTest, PegarIsEnabledExactlyWhenTheBufferHoldsAnItem)
{
    TPrincipal* main = startMain();
    emit main->windowMenu()->aboutToShow();
    EXPECT_FALSE(main->pasteAction()->isEnabled());
    state().currentItem = main->commands().newClock();
    main->commands().copy();
    emit main->windowMenu()->aboutToShow();
    EXPECT_TRUE(main->pasteAction()->isEnabled());
}

TEST_F(ShelfTest, DraggingTheBackgroundMovesTheWindowPastADeadZone)
{
    TPrincipal* main = startMain();
    main->show();
    main->move(200, 200);
    const QPoint start = main->pos();
    send(main, QEvent::MouseButtonPress, { 20, 20 }, Qt::LeftButton, Qt::LeftButton);
    send(main, QEvent::MouseMove, { 22, 22 }, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(main->pos(), start);
    EXPECT_FALSE(state().dragging);
    send(main, QEvent::MouseMove, { 23, 20 }, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(state().dragging);
    EXPECT_EQ(main->pos(), start + QPoint(3, 0));
    send(main, QEvent::MouseButtonRelease, { 23, 20 }, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(state().dragging);
}

// The end of a drag writes what it moved at once: a program killed a moment
// after the button came up has lost nothing.
TEST_F(ShelfTest, TheEndOfADragIsOnDiskAtOnce)
{
    TPrincipal* main = startMain();
    main->show();
    main->move(200, 200);
    TSpButton* item = main->commands().newClock();
    const struct {
        const char* what;
        QWidget* dragged;
        Qt::KeyboardModifiers modifiers;
    } cases[] = {
        { "an item moved with Shift", item, Qt::ShiftModifier },
        { "the window moved by its background", main, Qt::NoModifier },
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(main->document().save());
        const QByteArray before = read("tolm95.dat");
        const QPoint grab(5, 5);
        send(c.dragged, QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton, c.modifiers);
        send(c.dragged, QEvent::MouseMove, grab + QPoint(30, 30), Qt::NoButton, Qt::LeftButton, c.modifiers);
        send(c.dragged, QEvent::MouseMove, grab + QPoint(40, 40), Qt::NoButton, Qt::LeftButton, c.modifiers);
        send(c.dragged, QEvent::MouseButtonRelease, grab + QPoint(40, 40), Qt::LeftButton, Qt::NoButton,
            c.modifiers);
        EXPECT_TRUE(main->document().hasUnwrittenChanges()) << c.what;
        QCoreApplication::processEvents();
        EXPECT_FALSE(main->document().hasUnwrittenChanges()) << c.what;
        EXPECT_NE(read("tolm95.dat"), before) << c.what;
    }
}

TEST_F(ShelfTest, ShiftDraggingAnItemMovesItOnATenPixelGrid)
{
    TPrincipal* main = startMain();
    main->show();
    main->resize(300, 200);
    state().pressPoint = QPoint(0, 0);
    TSpButton* clock = main->commands().newClock();
    state().pressPoint = QPoint(120, 120);
    TSpButton* item = main->commands().newLauncher();
    const QPoint grab(5, 5);
    send(item, QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(item, QEvent::MouseMove, grab + QPoint(2, 2), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(item->pos(), QPoint(100, 100));
    // Window point (127, 64) with the grab point (5, 5): the item goes to (120, 50).
    send(item, QEvent::MouseMove, QPoint(127, 64) - item->pos(), Qt::NoButton, Qt::LeftButton,
        Qt::ShiftModifier);
    EXPECT_EQ(item->pos(), QPoint(120, 50));
    EXPECT_EQ(main->items().last(), item);
    // Past the left edge the pointer is held at the grab point.
    send(item, QEvent::MouseMove, QPoint(3, 64) - item->pos(), Qt::NoButton, Qt::LeftButton,
        Qt::ShiftModifier);
    EXPECT_EQ(item->pos(), QPoint(0, 50));
    EXPECT_TRUE(state().dragging);
    // Lying over the clock now: its covered flag is set at the release.
    send(item, QEvent::MouseMove, QPoint(25, 25) - item->pos(), Qt::NoButton, Qt::LeftButton,
        Qt::ShiftModifier);
    EXPECT_EQ(item->pos(), QPoint(20, 20));
    send(item, QEvent::MouseButtonRelease, QPoint(25, 25) - item->pos(), Qt::LeftButton, Qt::NoButton,
        Qt::ShiftModifier);
    EXPECT_FALSE(state().dragging);
    EXPECT_TRUE(clock->coveredFlag());
    EXPECT_TRUE(fake.shell.launches.isEmpty());
    // And cleared again when it is dragged away.
    send(item, QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(item, QEvent::MouseMove, QPoint(205, 105) - item->pos(), Qt::NoButton, Qt::LeftButton,
        Qt::ShiftModifier);
    send(item, QEvent::MouseButtonRelease, QPoint(205, 105) - item->pos(), Qt::LeftButton, Qt::NoButton,
        Qt::ShiftModifier);
    EXPECT_FALSE(clock->coveredFlag());
}

TEST_F(ShelfTest, TheRightButtonMakesTheItemCurrent)
{
    TPrincipal* main = startMain();
    TSpButton* clock = main->commands().newClock();
    send(clock, QEvent::MouseButtonPress, { 5, 5 }, Qt::RightButton, Qt::RightButton);
    send(clock, QEvent::MouseButtonRelease, { 5, 5 }, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(state().currentItem, clock);
    EXPECT_EQ(state().pressPoint, clock->pos() + QPoint(5, 5));
    clock->popupMenu()->hide();
}

TEST_F(ShelfTest, HidingTheFrameKeepsTheClientAreaInPlace)
{
    TPrincipal* main = startMain();
    main->show();
    main->setGeometry(300, 200, 100, 60);
    const QRect client = main->geometry();
    main->toggleFrame();
    EXPECT_FALSE(main->frameShown());
    EXPECT_EQ(main->geometry(), client);
    main->toggleFrame();
    EXPECT_TRUE(main->frameShown());
    EXPECT_EQ(main->geometry(), client);
    main->document().save();
    EXPECT_EQ(parse("tolm95.dat").header.frameShown, 1);
}

TEST_F(ShelfTest, WindowOptionsReachTheFile)
{
    TPrincipal* main = startMain();
    main->toggleAlwaysButtons();
    main->setColor(0x00FF8040);
    main->toggleFrame();
    main->document().save();
    const auto header = parse("tolm95.dat").header;
    EXPECT_EQ(header.alwaysButtons, 1);
    EXPECT_EQ(header.frameShown, 0);
    EXPECT_EQ(header.color, 0x00FF8040u);
    main->document().load();
    EXPECT_TRUE(main->alwaysButtons());
    EXPECT_FALSE(main->frameShown());
}

TEST(HintWindowTest, PlacementKeepsTheHintOnTheScreen)
{
    using tolm::items::HintWindow;
    const QSize screen(800, 600);
    const QSize hint(100, 20);
    EXPECT_EQ(HintWindow::placement(QRect(10, 10, 1, 1), hint, screen, 0), QRect(10, 10, 100, 20));
    // Near the bottom: 4 pixels above the pointer.
    EXPECT_EQ(HintWindow::placement(QRect(10, 590, 1, 1), hint, screen, 570).topLeft(), QPoint(10, 546));
    // Near the right edge: flush with it.
    EXPECT_EQ(HintWindow::placement(QRect(750, 10, 1, 1), hint, screen, 0).topLeft(), QPoint(700, 10));
    EXPECT_EQ(HintWindow::placement(QRect(-5, -5, 1, 1), hint, screen, 0).topLeft(), QPoint(0, 0));
}

TEST_F(ShelfTest, RestingOnAnItemShowsItsHintUntilThePointerLeaves)
{
    TPrincipal* main = startMain();
    main->show();
    EXPECT_TRUE(main->testAttribute(Qt::WA_AlwaysShowToolTips));
    TSpButton* folder = main->commands().newFolder();
    QHelpEvent rest(QEvent::ToolTip, QPoint(5, 5), folder->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(folder, &rest);
    tolm::items::HintWindow& hint = state().hintWindow();
    EXPECT_TRUE(hint.isVisible());
    EXPECT_EQ(hint.text(), "Carpeta");
    EXPECT_EQ(hint.font().family(), "Courier New");
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(folder, &leave);
    EXPECT_FALSE(hint.isVisible());
}

// A window without items says what to do, whole, in any size a window is
// given, a new folder's small one too: no word reaches the window's edge.
// The first item takes the words away, and they come back when the last one goes.
TEST_F(ShelfTest, AnEmptyWindowSaysWhatToDoUntilItHoldsAnItem)
{
    TPrincipal* main = startMain();
    // The pixels that are neither background nor an item, and those of them
    // on the edge of the room the words are given (6 and 4 pixels in), where
    // a text too large for it is cut.
    struct Ink {
        int all { 0 };
        int atEdge { 0 };
    };
    auto ink = [main](const QRect& item) {
        const QImage image = main->grab().toImage();
        const QRgb background = tolm::gfx::toQColor(main->color()).rgb();
        const QRect inside = image.rect().adjusted(7, 5, -7, -5);
        Ink found;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const bool ink = !item.contains(x, y) && image.pixel(x, y) != background;
                found.all += ink;
                found.atEdge += ink && !inside.contains(x, y);
            }
        }
        return found;
    };
    for (const QSize size : { QSize(320, 120), QSize(100, 120), QSize(100, 100), QSize(60, 40) }) {
        main->resize(size);
        EXPECT_GT(ink({}).all, 20) << size.width() << "x" << size.height();
        EXPECT_EQ(ink({}).atEdge, 0) << size.width() << "x" << size.height();
    }
    main->resize(320, 120);
    TSpButton* item = main->commands().newLauncher();
    EXPECT_EQ(ink(item->geometry()).all, 0);
    delete item;
    EXPECT_GT(ink({}).all, 100);
}

// "Iniciar con la sesión" writes the autostart entry --autostart on writes,
// and removes it again; its mark shows whether the entry is there, however
// it came. A failure is said in a box.
TEST_F(ShelfTest, StartWithTheSessionWritesAndRemovesTheAutostartEntry)
{
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", path("config").toUtf8());
    QMenu* options = startMain()->windowMenu()->actions()[0]->menu();
    QAction* session = options->actions().last();
    ASSERT_EQ(session->text(), "Iniciar con la sesión");
    auto shown = [options, session] {
        emit options->aboutToShow();
        return session->isChecked();
    };
    EXPECT_FALSE(shown());
    for (const bool on : { true, false }) {
        session->trigger();
        EXPECT_EQ(read("config/autostart/tolm.desktop").contains("--user\n"), on);
        EXPECT_EQ(shown(), on);
    }
    write("config/autostart/tolm.desktop", "[Desktop Entry]\n");
    EXPECT_TRUE(shown());
    EXPECT_TRUE(messages().isEmpty());
    // A file where the entry's folder should be.
    ASSERT_TRUE(QDir(path("config")).removeRecursively());
    write("config", "");
    EXPECT_FALSE(shown());
    session->trigger();
    EXPECT_FALSE(shown());
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains("autostart/tolm.desktop")) << qPrintable(messages()[0]);
    before.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", before);
}

// "Siempre visible" reaches the window's flags; both choices come back with
// the window's file after a restart.
TEST_F(ShelfTest, WhereTheWindowStaysReachesItsFlagsAndSurvivesARestart)
{
    TPrincipal* main = startMain();
    ASSERT_TRUE(main->document().save());
    main->toggleKeepAbove();
    main->toggleEveryDesktop();
    EXPECT_TRUE(main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    closeAll();
    main = startMain();
    EXPECT_EQ(main->stay(), (tolm::app::WindowStay { true, true }));
    EXPECT_TRUE(main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(main->windowFlags().testFlag(Qt::Tool));
    main->toggleKeepAbove();
    EXPECT_FALSE(main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}
