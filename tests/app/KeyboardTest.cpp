#include "ShelfFixture.h"
#include "gfx/Color.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

namespace {

class KeyboardTest : public ShelfTest {
protected:
    // A launcher with a caption at a place on the window.
    TSpButton* launcher(TPrincipal* window, const QString& caption, QPoint at)
    {
        state().pressPoint = at;
        TSpButton* item = window->commands().newLauncher();
        item->setCaption(caption);
        item->setComando(QStringLiteral("/usr/bin/") + caption.toLower());
        return item;
    }

    TPrincipal* shownMain()
    {
        TPrincipal* main = startMain();
        // At the screen's corner, so that menus open where they are asked to.
        main->setGeometry(0, 0, 200, 120);
        main->show();
        return main;
    }

    TSpButton* marked() const { return AppState::get().hoveredItem; }

    static void closePopups()
    {
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }
};

} // namespace

// Five launchers: two rows of two, and one a little lower at the right end
// of the first row. Reading order is A B E C D.
TEST_F(KeyboardTest, TabAndTheArrowsMoveTheMarkBetweenItems)
{
    TPrincipal* main = shownMain();
    TSpButton* a = launcher(main, "A", { 0, 0 });
    TSpButton* c = launcher(main, "C", { 0, 50 });
    TSpButton* d = launcher(main, "D", { 50, 50 });
    TSpButton* b = launcher(main, "B", { 50, 0 });
    TSpButton* e = launcher(main, "E", { 100, 10 });
    // A cut folder waits greyed for its paste and takes no mark.
    state().pressPoint = { 150, 60 };
    state().currentItem = main->commands().newFolder();
    main->commands().cut();
    EXPECT_EQ(main->keyboard().readingOrder(), QList<TSpButton*>({ a, b, e, c, d }));

    for (TSpButton* expected : { a, b, e, c, d, a }) {
        QTest::keyClick(main, Qt::Key_Tab);
        EXPECT_EQ(marked(), expected) << qPrintable(expected->Caption());
    }
    QTest::keyClick(main, Qt::Key_Backtab);
    EXPECT_EQ(marked(), d);

    struct Step {
        TSpButton* from;
        Qt::Key key;
        TSpButton* to;
    };
    const Step steps[] = {
        { a, Qt::Key_Right, b },
        { a, Qt::Key_Down, c },
        { a, Qt::Key_Up, a }, // nothing above: the mark stays
        { a, Qt::Key_Left, a },
        { b, Qt::Key_Right, e },
        { b, Qt::Key_Down, d },
        { d, Qt::Key_Up, b },
        { d, Qt::Key_Left, c },
        { d, Qt::Key_Right, e },
        { e, Qt::Key_Left, b },
        { c, Qt::Key_Up, a },
    };
    for (const Step& step : steps) {
        main->keyboard().markItem(step.from);
        QTest::keyClick(main, step.key);
        EXPECT_EQ(marked(), step.to) << qPrintable(step.from->Caption()) << " key " << step.key;
    }

    // With no mark, the first arrow starts at an end of the reading order.
    QTest::keyClick(main, Qt::Key_Escape);
    EXPECT_EQ(marked(), nullptr);
    QTest::keyClick(main, Qt::Key_Down);
    EXPECT_EQ(marked(), a);
    QTest::keyClick(main, Qt::Key_Escape);
    QTest::keyClick(main, Qt::Key_Up);
    EXPECT_EQ(marked(), d);
}

TEST_F(KeyboardTest, ReturnAndSpaceActivateTheMarkedItemAsAClickDoes)
{
    TPrincipal* main = shownMain();
    launcher(main, "Editor", { 0, 0 });
    TSpButton* visor = launcher(main, "Visor", { 50, 0 });
    visor->setParam("--grande");
    visor->setDirectorio("/home/ana");
    visor->setRun(2);

    QTest::keyClick(main, Qt::Key_Return);
    QTest::keyClick(main, Qt::Key_Space);
    EXPECT_TRUE(fake.shell.launches.isEmpty()) << "nothing is marked yet";

    QTest::keyClick(main, Qt::Key_Tab);
    QTest::keyClick(main, Qt::Key_Tab);
    ASSERT_EQ(marked(), visor);
    QTest::keyClick(main, Qt::Key_Return);
    QTest::keyClick(main, Qt::Key_Space);
    QTest::mouseClick(visor, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(fake.shell.launches.size(), 3);
    for (const auto& launch : fake.shell.launches) {
        EXPECT_EQ(launch.command, "/usr/bin/visor");
        EXPECT_EQ(launch.parameters, "--grande");
        EXPECT_EQ(launch.directory, "/home/ana");
        EXPECT_EQ(launch.show, tolm::platform::ShowState(2));
    }
    EXPECT_EQ(state().currentItem, visor);

    // Escape takes the mark away; the keys then reach nothing.
    QTest::keyClick(main, Qt::Key_Escape);
    QTest::keyClick(main, Qt::Key_Return);
    QTest::keyClick(main, Qt::Key_Space);
    EXPECT_EQ(fake.shell.launches.size(), 3);
}

TEST_F(KeyboardTest, TheMenuKeyOpensTheMarkedItemsMenuAtTheItem)
{
    TPrincipal* main = shownMain();
    launcher(main, "Editor", { 0, 0 });
    state().pressPoint = { 50, 40 };
    TSpButton* clock = main->commands().newClock();

    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    for (const Case& how :
        { Case { "menu key", Qt::Key_Menu, {} }, Case { "Shift+F10", Qt::Key_F10, Qt::ShiftModifier } }) {
        SCOPED_TRACE(how.name);
        // No mark: the window's own menu.
        main->keyboard().markItem(nullptr);
        QTest::keyClick(main, how.key, how.modifiers);
        EXPECT_EQ(QApplication::activePopupWidget(), main->windowMenu());
        closePopups();

        main->keyboard().markItem(clock);
        state().currentItem = nullptr;
        QTest::keyClick(main, how.key, how.modifiers);
        QMenu* menu = clock->popupMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(QApplication::activePopupWidget(), menu);
        EXPECT_EQ(menu->objectName(), "MenuReloj");
        EXPECT_EQ(state().currentItem, clock);
        EXPECT_EQ(menu->pos(), clock->mapToGlobal(QPoint(0, clock->height())));
        closePopups();
    }
    // F10 alone is not a menu key.
    QTest::keyClick(main, Qt::Key_F10);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(KeyboardTest, TypedLettersMarkTheNextItemWhoseNameBeginsWithThem)
{
    TPrincipal* main = shownMain();
    TSpButton* editor = launcher(main, "Editor", { 0, 0 });
    TSpButton* explorador = launcher(main, "Explorador", { 50, 0 });
    TSpButton* calc = launcher(main, "Calc", { 100, 0 });
    TSpButton* eco = launcher(main, "eco", { 0, 50 });
    TSpButton* mi = launcher(main, "Mi Visor", { 50, 50 });
    auto pause = [] { QTest::qWait(tolm::app::ShelfKeyboard::kTypeAheadPauseMs + 150); };

    QTest::keyClicks(main, "ex");
    EXPECT_EQ(marked(), explorador);
    pause();
    // One letter again steps through the items it begins, case ignored.
    QTest::keyClicks(main, "e");
    EXPECT_EQ(marked(), eco);
    pause();
    QTest::keyClicks(main, "E");
    EXPECT_EQ(marked(), editor);
    pause();
    QTest::keyClicks(main, "c");
    EXPECT_EQ(marked(), calc);
    // Without the pause the letters make one prefix: "ce" begins nothing
    // and the mark stays.
    QTest::keyClicks(main, "e");
    EXPECT_EQ(marked(), calc);
    pause();
    // Inside a typed name a space is a letter, not an activation.
    QTest::keyClicks(main, "mi v");
    EXPECT_EQ(marked(), mi);
    EXPECT_TRUE(fake.shell.launches.isEmpty());
    QTest::keyClick(main, Qt::Key_Return);
    ASSERT_EQ(fake.shell.launches.size(), 1);
    EXPECT_EQ(fake.shell.launches[0].command, "/usr/bin/mi visor");
}

// The keyboard's mark is the hover mark: with "Siempre botones" both draw
// the highlight frame, and the mouse takes the mark where it goes.
TEST_F(KeyboardTest, TheMarkIsDrawnAsTheHoverIsAndFollowsTheMouse)
{
    TPrincipal* main = shownMain();
    main->setAlwaysButtons(true);
    TSpButton* a = launcher(main, "A", { 0, 0 });
    TSpButton* b = launcher(main, "B", { 50, 0 });
    const QRgb highlight = tolm::gfx::toQRgb(tolm::gfx::clHighlight);
    auto framed = [highlight](TSpButton* item) { return item->grab().toImage().pixel(1, 1) == highlight; };
    EXPECT_FALSE(framed(a));
    QTest::keyClick(main, Qt::Key_Tab);
    EXPECT_TRUE(framed(a));
    EXPECT_FALSE(framed(b));

    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), b->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(b, &move);
    EXPECT_EQ(marked(), b);
    EXPECT_FALSE(framed(a));
    EXPECT_TRUE(framed(b));
    QTest::keyClick(main, Qt::Key_Left);
    EXPECT_EQ(marked(), a);
}
