#include "app/ShelfFixture.h"
#include "items/ItemAccessible.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QTest>

namespace {

// What screen readers were told, as "event type|name of the object".
QStringList g_events;

void recordEvent(QAccessibleEvent* event)
{
    const QAccessibleInterface* iface = event->accessibleInterface();
    g_events.append(
        QString::number(event->type()) + u'|' + (iface ? iface->text(QAccessible::Name) : QString()));
}

class AccessibilityTest : public ShelfTest {
protected:
    void SetUp() override
    {
        ShelfTest::SetUp();
        g_events.clear();
        tolm::items::setAccessibilitySink(recordEvent);
    }
    void TearDown() override
    {
        tolm::items::setAccessibilitySink(nullptr);
        ShelfTest::TearDown();
    }

    static QString name(TSpButton* item)
    {
        return QAccessible::queryAccessibleInterface(item)->text(QAccessible::Name);
    }
    static QString description(TSpButton* item)
    {
        return QAccessible::queryAccessibleInterface(item)->text(QAccessible::Description);
    }
    // How often screen readers heard that `item`'s name changed.
    static int nameChanges(TSpButton* item)
    {
        return int(g_events.count(QString::number(QAccessible::NameChanged) + u'|' + name(item)));
    }
    static int allNameChanges()
    {
        const QString prefix = QString::number(QAccessible::NameChanged) + u'|';
        return int(std::count_if(
            g_events.cbegin(), g_events.cend(), [&](const QString& e) { return e.startsWith(prefix); }));
    }
};

} // namespace

TEST_F(AccessibilityTest, EveryKindOfItemHasANameAndItsHintAsDescription)
{
    fake.drives.add(
        "c:\\", tolm::platform::DriveFixed, 4000ull * 1000 * 1000, 1500ull * 1000 * 1000, "SISTEMA");
    fake.memory.figures.load = 37;
    TPrincipal* main = startMain();
    main->show();
    TSpButton* editor = main->commands().newLauncher();
    editor->setCaption("Editor");
    editor->setHint("Edita textos");
    TSpButton* unnamed = main->commands().newLauncher();
    unnamed->setComando("/usr/bin/visor");
    TSpButton* folder = main->commands().newFolder();
    TSpButton* clock = main->commands().newClock();
    TSpButton* drive = main->commands().newDrive();
    TSpButton* memory = main->commands().newMemory();
    main->refreshTimerItems();

    struct Expected {
        TSpButton* item;
        QString name;
        QString description;
    };
    const Expected table[] = {
        { editor, "Editor", "Edita textos" },
        { unnamed, "visor", "" },
        { folder, "Carpeta Nueva", "Carpeta" },
        { clock, "Reloj: 10:15", "10:15\nmiércoles, 24 de septiembre de 2025" },
        { drive, "Disco: SISTEMA (c:\\), 1.500 MB libres", drive->Hint() },
        { memory, "Memoria: carga 37 %", "Carga de memoria: 37 %" },
    };
    for (const Expected& row : table) {
        SCOPED_TRACE(row.name.toStdString());
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(row.item);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), QAccessible::Button);
        EXPECT_EQ(iface->text(QAccessible::Name), row.name);
        EXPECT_EQ(iface->text(QAccessible::Description), row.description);
        EXPECT_TRUE(iface->state().focusable);
        // Reachable from the window, as a screen reader walks it.
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(main);
        EXPECT_GE(window->indexOfChild(iface), 0);
    }
    EXPECT_TRUE(drive->Hint().contains("Espacio Libre")) << drive->Hint().toStdString();

    // The cut folder is passed over by the keys and says it cannot be pressed.
    state().currentItem = folder;
    main->commands().cut();
    QAccessibleInterface* cut = QAccessible::queryAccessibleInterface(folder);
    EXPECT_TRUE(cut->state().disabled);
    EXPECT_TRUE(cut->actionInterface()->actionNames().isEmpty());
    // Pressing through the screen reader is a click.
    QAccessibleActionInterface* press = QAccessible::queryAccessibleInterface(editor)->actionInterface();
    EXPECT_EQ(press->actionNames(), QStringList { QAccessibleActionInterface::pressAction() });
    editor->setComando("/usr/bin/editor");
    press->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(fake.shell.launches.size(), 1);
    EXPECT_EQ(fake.shell.launches[0].command, "/usr/bin/editor");
}

// A clock's name changes once a minute, not with every second; a drive's
// new figure is told when its refresh comes round, never between.
TEST_F(AccessibilityTest, TilesTellNewFiguresAtMostOncePerRefresh)
{
    fake.drives.add(
        "c:\\", tolm::platform::DriveFixed, 4000ull * 1000 * 1000, 1500ull * 1000 * 1000, "SISTEMA");
    TPrincipal* main = startMain();
    // Refreshes draw in place, which only a shown window does.
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
    TSpButton* clock = main->commands().newClock();
    main->refreshTimerItems();
    EXPECT_EQ(nameChanges(clock), 1);
    for (int s = 8; s < 60; ++s) {
        fake.clock.time.setTime(QTime(10, 15, s));
        main->refreshTimerItems();
    }
    EXPECT_EQ(nameChanges(clock), 1);
    fake.clock.time.setTime(QTime(10, 16, 0));
    main->refreshTimerItems();
    EXPECT_EQ(name(clock), "Reloj: 10:16");
    EXPECT_EQ(nameChanges(clock), 1);
    EXPECT_EQ(allNameChanges(), 2);
    delete clock;
    g_events.clear();

    // Period 8: due on the first tick, then every ninth.
    TSpButton* drive = main->commands().newDrive();
    main->refreshTimerItems();
    EXPECT_EQ(allNameChanges(), 1);
    fake.drives.drives[0].space.availableBytes = 1400ull * 1000 * 1000;
    for (int tick = 0; tick < 8; ++tick)
        main->refreshTimerItems();
    EXPECT_EQ(allNameChanges(), 1) << "told before its refresh was due";
    main->refreshTimerItems();
    EXPECT_EQ(allNameChanges(), 2);
    EXPECT_EQ(name(drive), "Disco: SISTEMA (c:\\), 1.400 MB libres");
    EXPECT_EQ(nameChanges(drive), 1);
}

TEST_F(AccessibilityTest, TheMarkedItemIsTheFocusedOneForScreenReaders)
{
    TPrincipal* main = startMain();
    TSpButton* a = main->commands().newLauncher();
    a->setCaption("Uno");
    main->show();
    main->activateWindow();
    QApplication::setActiveWindow(main);
    g_events.clear();
    main->keyboard().markItem(a);
    EXPECT_TRUE(g_events.contains(QString::number(QAccessible::Focus) + "|Uno"))
        << g_events.join(", ").toStdString();
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(a)->state().focused);
    main->keyboard().markItem(nullptr);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(a)->state().focused);
}
