#include "ShelfFixture.h"
#include "app/TolmApplication.h"
#include "dialogs/ApplicationPicker.h"
#include "dialogs/TCalendario.h"
#include "platform/CommandLine.h"
#include "platform/LinuxShell.h"
#include "support/TemporaryDesktop.h"
#include "support/Watchdog.h"
#include "widgets/TCCalendar.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <sys/stat.h>

using tolm::store::Clase;

TEST_F(ShelfTest, FilesDroppedOnTheBackgroundBecomeARowOfLaunchers)
{
    TPrincipal* main = startMain();
    main->commands().dropFiles({ "/tmp/a.txt", "/tmp/b c.txt", "/usr/bin/true" }, QPoint(30, 50));
    const auto items = main->items();
    ASSERT_EQ(items.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(items[i]->pos(), QPoint(10 + 40 * i, 30));
        EXPECT_EQ(items[i]->size(), QSize(40, 40));
        EXPECT_EQ(items[i]->tag1(), 1);
        EXPECT_EQ(items[i]->clase(), Clase::Normal);
    }
    EXPECT_EQ(items[1]->Hint(), "/tmp/b c.txt");
    EXPECT_EQ(items[1]->Comando(), "/tmp/b c.txt");
    EXPECT_EQ(items[1]->Caption(), "b c.txt");
    EXPECT_EQ(items[1]->Directorio(), "/tmp");
    EXPECT_TRUE(fake.shell.launches.isEmpty());
}

// A new or dropped item is centred on the pointer and lies wholly inside
// the window, near an edge too.
TEST_F(ShelfTest, NewAndDroppedItemsLandWhollyInsideTheWindow)
{
    TPrincipal* main = startMain();
    main->resize(300, 200);
    const struct {
        const char* what;
        QPoint pointer;
        QPoint first, second; // a new clock's place; the second of two dropped files
    } cases[] = {
        { "inside", { 100, 60 }, { 80, 40 }, { 120, 40 } },
        { "top left corner", { 3, 2 }, { 0, 0 }, { 23, 0 } },
        { "right edge", { 298, 60 }, { 260, 40 }, { 260, 40 } },
        { "bottom edge", { 100, 199 }, { 80, 160 }, { 120, 160 } },
        { "outside, beyond the bottom right", { 350, 260 }, { 260, 160 }, { 260, 160 } },
    };
    for (const auto& c : cases) {
        state().pressPoint = c.pointer;
        EXPECT_EQ(main->commands().newClock()->pos(), c.first) << c.what;
        main->commands().dropFiles({ "/tmp/a.txt", "/tmp/b.txt" }, c.pointer);
        const auto items = main->items();
        EXPECT_EQ(items[items.size() - 2]->pos(), c.first) << c.what;
        EXPECT_EQ(items.last()->pos(), c.second) << c.what;
    }
}

TEST_F(ShelfTest, FilesDroppedOnALauncherAreItsParametersOnce)
{
    TPrincipal* main = startMain();
    TSpButton* launcher = main->commands().newLauncher();
    launcher->setComando("editor");
    launcher->setParam("--own");
    launcher->setDirectorio("/home");
    launcher->setRun(1);
    main->commands().dropFiles({ "/tmp/a.txt", "/tmp/b c.txt" }, QPoint(5, 5));
    ASSERT_EQ(fake.shell.launches.size(), 1);
    const auto& launch = fake.shell.launches[0];
    EXPECT_EQ(launch.command, "editor");
    EXPECT_EQ(
        tolm::platform::splitArguments(launch.parameters), QStringList({ "/tmp/a.txt", "/tmp/b c.txt" }));
    EXPECT_EQ(launch.directory, "/home");
    EXPECT_EQ(launch.show, tolm::platform::ShowState::Minimized);
    EXPECT_EQ(main->items().size(), 1);
}

TEST_F(ShelfTest, FilesDroppedOnOtherKindsMakeNewLaunchers)
{
    TPrincipal* main = startMain();
    main->commands().newClock();
    main->commands().dropFiles({ "/tmp/a.txt" }, QPoint(5, 5));
    ASSERT_EQ(main->items().size(), 2);
    EXPECT_EQ(main->items()[1]->clase(), Clase::Normal);
    EXPECT_TRUE(fake.shell.launches.isEmpty());
}

// From the window menu: type a few letters of a name (the calculator, found
// by its comment, comes first but is not chosen), then Escape leaves the
// shelf as it was, and Return makes the launcher a drop of the entry makes.
TEST_F(ShelfTest, APickedApplicationBecomesTheLauncherItsDroppedEntryMakes)
{
    tolm::test::TemporaryDesktop desktop;
    const QString editor = desktop.write("home/applications/editor.desktop",
        "[Desktop Entry]\nType=Application\nName=Editor de textos\nExec=editor\nIcon=editor\n");
    desktop.write("system/applications/calc.desktop",
        "[Desktop Entry]\nType=Application\nName=Calculadora\nComment=Edita cuentas\nExec=c\n");
    TPrincipal* main = startMain();
    QAction* aplicacion = main->windowMenu()->actions()[2]->menu()->actions().last();
    for (const auto key : { Qt::Key_Escape, Qt::Key_Return }) {
        state().pressPoint = QPoint(50, 60);
        aplicacion->trigger();
        state().pressPoint = QPoint(0, 0);
        auto* picker = main->findChild<ApplicationPicker*>();
        ASSERT_TRUE(picker && QTest::qWaitForWindowActive(picker));
        EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(picker->searchEdit()));
        QTest::keyClicks(QApplication::focusWidget(), "EDÍ");
        EXPECT_EQ(picker->chosenFile(), editor);
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_FALSE(picker->isVisible());
        flushDeletes();
    }
    main->commands().dropFiles({ editor }, QPoint(100, 60));
    const auto items = main->items();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->pos(), QPoint(30, 40));
    for (auto field : { &TSpButton::Caption, &TSpButton::Comando, &TSpButton::Hint, &TSpButton::FichIcono })
        EXPECT_EQ((items[0]->*field)(), (items[1]->*field)());
}

// A desktop entry that is a FIFO would be waited on for good. Dropped, it
// makes no launcher and a box says why, while the sound entry and the folder
// dropped with it make theirs; a launcher that names it says why in a box
// when clicked.
TEST_F(ShelfTest, AnEntryThatCannotBeReadIsSaidInABoxWhenDroppedOrClicked)
{
    tolm::test::TemporaryDesktop desktop;
    const QString editor = desktop.write("home/applications/editor.desktop",
        "[Desktop Entry]\nType=Application\nName=Editor de textos\nExec=editor\n");
    const QString fifo = desktop.path("home/applications/fifo.desktop");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    tolm::platform::LinuxShell shell;
    tolm::platform::Services real;
    real.shell = &shell;
    tolm::platform::ScopedServices use(real);
    tolm::test::Watchdog watchdog(std::chrono::seconds(30));
    TPrincipal* main = startMain();

    const QString folder = desktop.path("home/applications/carpeta.desktop");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString why = "no es un archivo normal, sino una FIFO";
    main->commands().dropFiles({ fifo, editor, folder }, QPoint(10, 30));
    ASSERT_EQ(main->items().size(), 2);
    EXPECT_EQ(main->items()[0]->Caption(), "Editor de textos");
    EXPECT_EQ(main->items()[1]->Comando(), folder); // a folder, whatever its name
    EXPECT_EQ(messages(),
        QStringList(
            { "Tolm|No se puede añadir «fifo.desktop».\n\nNo se puede leer " + fifo + ": " + why + "." }));

    TSpButton* launcher = main->commands().newLauncher();
    launcher->setCaption("Tubo");
    launcher->setComando(fifo);
    QTest::mouseClick(launcher, Qt::LeftButton);
    ASSERT_EQ(fake.messageBoxes.boxes.size(), 2);
    EXPECT_EQ(messages()[1], "Tolm|No se puede abrir «Tubo».\n\nNo se puede leer " + fifo + ": " + why + ".");
}

// The picker lists what answers the typing best first and selects it: the
// name itself, then names starting with it, then names with words starting
// with it, then names holding it, then other texts. Each rank keeps the
// order of names.
TEST(ApplicationPickerTest, TheBestAnswersComeFirst)
{
    tolm::test::TemporaryDesktop desktop;
    const std::pair<const char*, const char*> entries[] = {
        { "uxterm", "Name=UXTerm" },
        { "xterm", "Name=XTerm" },
        { "editor", "Name=Editor de textos" },
        { "settings", "Name=Ajustes del editor de textos" },
        { "credits", "Name=Acreditación" },
        { "calc", "Name=Calculadora" },
        { "sheet", "Name=Hoja de cálculo" },
        { "abacus", "Name=Ábaco\nKeywords=calculadora;" },
    };
    for (const auto& [file, lines] : entries)
        desktop.write(QStringLiteral("home/applications/%1.desktop").arg(file),
            QByteArray("[Desktop Entry]\nType=Application\nExec=x\n") + lines + "\n");
    const struct {
        const char* typed;
        QStringList shown;
    } cases[] = {
        { "xterm", { "XTerm", "UXTerm" } },
        { "edit", { "Editor de textos", "Ajustes del editor de textos", "Acreditación" } },
        { "EDITOR text", { "Ajustes del editor de textos", "Editor de textos" } },
        { "calc", { "Calculadora", "Hoja de cálculo", "Ábaco" } },
        { "calculadora", { "Calculadora", "Ábaco" } },
    };
    ApplicationPicker picker(
        tolm::platform::listApplications({ desktop.path("home/applications") }, {}, QStringLiteral("es")));
    for (const auto& c : cases) {
        picker.searchEdit()->setText(QString::fromUtf8(c.typed));
        QStringList shown;
        for (int row = 0; row < picker.list()->model()->rowCount(); ++row)
            shown << picker.list()->model()->index(row, 0).data().toString();
        EXPECT_EQ(shown, c.shown) << c.typed;
        EXPECT_EQ(picker.list()->currentIndex().data().toString(), c.shown.value(0)) << c.typed;
    }
}

TEST_F(ShelfTest, ALauncherStartsItsProgramWithItsFields)
{
    TPrincipal* main = startMain();
    TSpButton* launcher = main->commands().newLauncher();
    launcher->setComando("/usr/bin/xterm");
    launcher->setRun(2);
    QTest::mouseClick(launcher, Qt::LeftButton);
    ASSERT_EQ(fake.shell.launches.size(), 1);
    EXPECT_EQ(fake.shell.launches[0].parameters, "");
    EXPECT_EQ(fake.shell.launches[0].directory, "");
    EXPECT_EQ(fake.shell.launches[0].show, tolm::platform::ShowState::Maximized);
    // A Shift-press moves things and never launches.
    QTest::mouseClick(launcher, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(fake.shell.launches.size(), 1);
}

TEST_F(ShelfTest, ADriveOpensTheFileManagerAndAMemoryTileItsProperties)
{
    TPrincipal* main = startMain();
    TSpButton* drive = main->commands().newDrive();
    drive->setDirectorio("d:\\");
    drive->activate();
    EXPECT_EQ(fake.shell.intents, QStringList({ "openFolder d:\\" }));
    TSpButton* memory = main->commands().newMemory();
    memory->activate();
    ASSERT_EQ(propertiesOpened.size(), 1);
    EXPECT_EQ(propertiesOpened[0], memory);
    EXPECT_EQ(state().currentItem, memory);
}

TEST_F(ShelfTest, TwoDeletesKeepOnlyTheSecondForUndo)
{
    TPrincipal* main = startMain();
    QPointer<TSpButton> first = main->commands().newClock();
    TSpButton* second = main->commands().newMemory();
    state().currentItem = first;
    main->commands().deleteItem();
    EXPECT_TRUE(main->undoAction()->isEnabled());
    state().currentItem = second;
    main->commands().deleteItem();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(main->commands().undoSlot(), second);
    EXPECT_TRUE(state().timerItems.isEmpty());

    main->commands().undo();
    EXPECT_FALSE(main->undoAction()->isEnabled());
    ASSERT_EQ(main->items().size(), 1);
    EXPECT_EQ(main->items()[0], second);
    EXPECT_EQ(second->parentWidget(), main);
    EXPECT_TRUE(state().timerItems.contains(second));
    main->document().save();
    EXPECT_EQ(parse("tolm95.dat").items.size(), 1);
}

TEST_F(ShelfTest, ACopiedClockPastesAgainAndAgain)
{
    TPrincipal* main = startMain();
    TSpButton* clock = main->commands().newClock();
    state().currentItem = clock;
    main->commands().copy();
    for (int i = 0; i < 3; ++i) {
        state().pressPoint = QPoint(50 + 40 * i, 0);
        main->commands().paste();
    }
    EXPECT_EQ(main->items().size(), 4);
    EXPECT_EQ(state().timerItems.size(), 4);
    EXPECT_NE(state().cutBuffer(), nullptr);
    EXPECT_EQ(main->items()[3]->pos(), QPoint(130, 0));
}

TEST_F(ShelfTest, AnItemCutFromAClosedFolderWindowPastesWithItsSettings)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    folder->activate();
    TPrincipal* window = TPrincipal::folderWindowOf(folder);
    TSpButton* launcher = window->commands().newLauncher();
    launcher->setComando("gimp");
    launcher->setCaption("Fotos");
    state().currentItem = launcher;
    window->commands().cut();
    EXPECT_TRUE(window->items().isEmpty());
    window->close();
    flushDeletes();
    state().pressPoint = QPoint(60, 0);
    main->commands().paste();
    ASSERT_EQ(main->items().size(), 2);
    EXPECT_EQ(main->items()[1]->Comando(), "gimp");
    EXPECT_EQ(main->items()[1]->Caption(), "Fotos");
    EXPECT_EQ(main->items()[1]->pos(), QPoint(60, 0));
}

TEST_F(ShelfTest, ACutFolderMovesWithItsFilesOnce)
{
    TPrincipal* main = startMain();
    TSpButton* target = main->commands().newFolder();
    state().pressPoint = QPoint(40, 0);
    TSpButton* moving = main->commands().newFolder();
    moving->activate();
    TPrincipal::folderWindowOf(moving)->commands().newClock();
    state().currentItem = moving;
    main->commands().cut();
    flushDeletes();
    EXPECT_FALSE(moving->isEnabled());
    EXPECT_TRUE(state().openFolderWindows.isEmpty());
    EXPECT_EQ(parse("tolmc2.dat").items.size(), 1);

    target->activate();
    TPrincipal* window = TPrincipal::folderWindowOf(target);
    window->commands().paste();
    EXPECT_EQ(state().cutBuffer(), nullptr);
    EXPECT_TRUE(moving->isEnabled());
    EXPECT_EQ(moving->parentWidget(), window);
    EXPECT_EQ(main->items().size(), 1);
    ASSERT_EQ(window->items().size(), 1);
    EXPECT_TRUE(exists("tolmc2.dat"));
}

TEST_F(ShelfTest, AFolderIsNeverPastedInsideItself)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    folder->activate();
    TPrincipal* window = TPrincipal::folderWindowOf(folder);
    state().currentItem = folder;
    main->commands().cut();
    flushDeletes();
    // Its window closed on the cut; open it again the way Enter would, then paste inside.
    folder->setEnabled(true);
    folder->activate();
    folder->setEnabled(false);
    window = TPrincipal::folderWindowOf(folder);
    ASSERT_NE(window, nullptr);
    window->commands().paste();
    EXPECT_EQ(messages().size(), 1);
    EXPECT_EQ(state().cutBuffer(), folder);
    EXPECT_EQ(folder->parentWidget(), main);
}

TEST_F(ShelfTest, TheFolderQuestionKeepsOrDeletesTheCutFolder)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    TSpButton* clock = main->commands().newClock();
    state().currentItem = folder;
    main->commands().cut();

    fake.messageBoxes.answer = tolm::platform::Answer::Cancel;
    state().currentItem = clock;
    main->commands().cut();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0], "Atención|Hay una carpeta cortada en el buffer\n¿Borrar carpeta?");
    EXPECT_TRUE(fake.messageBoxes.boxes[0].question);
    EXPECT_EQ(state().cutBuffer(), folder);
    EXPECT_EQ(clock->parentWidget(), main);

    fake.messageBoxes.answer = tolm::platform::Answer::Ok;
    main->commands().cut();
    EXPECT_FALSE(exists("tolmc1.dat"));
    EXPECT_EQ(state().cutBuffer(), clock);
    EXPECT_TRUE(main->items().isEmpty());
}

TEST_F(ShelfTest, ACutFolderDestroyedWithItsWindowEmptiesTheBuffer)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    folder->activate();
    TSpButton* inner = TPrincipal::folderWindowOf(folder)->commands().newFolder();
    state().currentItem = inner;
    TPrincipal::folderWindowOf(folder)->commands().cut();
    TPrincipal::folderWindowOf(folder)->close();
    flushDeletes();
    EXPECT_EQ(state().cutBuffer(), nullptr);
    main->commands().paste();
    EXPECT_EQ(main->items().size(), 1);
}

TEST_F(ShelfTest, ArrangingPacksItemsIntoRowsOnA20PixelGrid)
{
    TPrincipal* main = startMain();
    main->resize(100, 200);
    ASSERT_EQ(main->width(), 100);
    QList<TSpButton*> made;
    const QPoint places[] = { { 50, 90 }, { 10, 10 }, { 60, 10 }, { 0, 150 } };
    for (const QPoint& p : places) {
        state().pressPoint = p;
        made.append(main->commands().newClock());
    }
    main->commands().arrange();
    EXPECT_EQ(made[1]->pos(), QPoint(0, 0));
    EXPECT_EQ(made[2]->pos(), QPoint(40, 0));
    // Reaches past the right edge, but x = 80 was still inside.
    EXPECT_EQ(made[0]->pos(), QPoint(80, 0));
    // Row 20 is covered by the first row's items everywhere.
    EXPECT_EQ(made[3]->pos(), QPoint(0, 40));
    EXPECT_EQ(main->items(), QList<TSpButton*>({ made[1], made[2], made[0], made[3] }));
}

TEST_F(ShelfTest, EnterActivatesTheItemTheMouseLastMovedOver)
{
    TPrincipal* main = startMain();
    TSpButton* launcher = main->commands().newLauncher();
    launcher->setComando("xclock");
    QTest::keyClick(main, Qt::Key_Return);
    EXPECT_TRUE(fake.shell.launches.isEmpty());
    QTest::mouseMove(launcher, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), launcher->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(launcher, &move);
    EXPECT_EQ(state().hoveredItem, launcher);
    QTest::keyClick(main, Qt::Key_Return);
    ASSERT_EQ(fake.shell.launches.size(), 1);
    EXPECT_EQ(state().currentItem, launcher);
}

TEST_F(ShelfTest, TheClientAreaSnapsToTens)
{
    TPrincipal* main = startMain();
    main->show();
    main->resize(127, 64);
    EXPECT_EQ(main->size(), QSize(120, 60));
}

TEST_F(ShelfTest, DriveTilesRefreshOnTheirCountdown)
{
    TPrincipal* main = startMain();
    TSpButton* drive = main->commands().newDrive();
    main->refreshTimerItems();
    // Due at once: the countdown reloads from the period of 8.
    EXPECT_EQ(drive->tag2(), 2048 + 8);
    for (int i = 0; i < 8; ++i)
        main->refreshTimerItems();
    EXPECT_EQ(drive->tag2(), 2048);
    main->refreshTimerItems();
    EXPECT_EQ(drive->tag2(), 2048 + 8);
}

TEST_F(ShelfTest, TheCoveredTestFindsOverlapsIncludingDisabledItems)
{
    TPrincipal* main = startMain();
    state().pressPoint = QPoint(0, 0);
    TSpButton* clock = main->commands().newClock();
    EXPECT_FALSE(clock->isCovered());
    state().pressPoint = QPoint(30, 30);
    TSpButton* other = main->commands().newLauncher();
    EXPECT_TRUE(clock->isCovered());
    other->setEnabled(false);
    EXPECT_TRUE(clock->isCovered());
    other->move(40, 0);
    EXPECT_FALSE(clock->isCovered());
    clock->hide();
    EXPECT_TRUE(clock->isCovered());
}

TEST_F(ShelfTest, TipoSetsSizeAndLayoutAndAssignCopiesButNotTheWindow)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    folder->setTipo(8);
    EXPECT_EQ(folder->size(), QSize(80, 20));
    folder->setTipo(5);
    EXPECT_EQ(folder->size(), QSize(60, 60));
    EXPECT_EQ(folder->Layout(), tolm::store::ButtonLayout::GlyphTop);
    folder->setTipo(42);
    EXPECT_EQ(folder->size(), QSize(40, 40));
    folder->activate();
    TSpButton copy;
    copy.Assign(*folder);
    EXPECT_EQ(copy.Tag(), 1);
    EXPECT_EQ(copy.folderWindow(), nullptr);
    EXPECT_EQ(copy.Comando(), folder->Comando());
}

TEST_F(ShelfTest, AFileManagerDropArrivesAsUriList)
{
    TPrincipal* main = startMain();
    main->show();
    QMimeData data;
    // What a file manager puts on a drag: text/uri-list with file: URLs.
    data.setData("text/uri-list", "file:///tmp/informe%20final.txt\r\nfile:///usr/bin/true\r\n");
    QDragEnterEvent enter(QPoint(50, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(main, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(main, &drop);
    const auto items = main->items();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->Comando(), "/tmp/informe final.txt");
    EXPECT_EQ(items[0]->pos(), QPoint(30, 20));
    EXPECT_EQ(items[1]->Comando(), "/usr/bin/true");
    EXPECT_EQ(items[1]->pos(), QPoint(70, 20));
}

TEST_F(ShelfTest, AClockOpensTheOneCalendarWindowAtToday)
{
    // A day that is not the machine's today, so the calendar must ask the platform's clock.
    const QDate today(1999, 12, 31);
    fake.clock.time = QDateTime(today, QTime(23, 59, 30));
    TPrincipal* main = startMain();
    tolm::app::connectDialogs(main);
    TSpButton* clock = main->commands().newClock();
    TSpButton* second = main->commands().newClock();
    clock->activate();
    TCalendario* calendar = state().calendar();
    EXPECT_TRUE(calendar->isVisible());
    EXPECT_EQ(QDate(calendar->Calen()->Year(), calendar->Calen()->Month(), calendar->Calen()->Day()), today);
    calendar->close();
    EXPECT_FALSE(calendar->isVisible());
    second->activate();
    EXPECT_EQ(state().calendar(), calendar);
    EXPECT_TRUE(calendar->isVisible());
    calendar->close();
}
