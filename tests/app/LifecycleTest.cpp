#include "ShelfFixture.h"
#include "app/TolmApplication.h"
#include "app/WindowDocument.h"

#include <QStyle>
#include <QTest>

using tolm::store::Clase;

TEST_F(ShelfTest, FirstStartCreatesTheMainFile)
{
    TPrincipal* main = startMain();
    ASSERT_TRUE(exists("tolm95.dat"));
    const auto file = parse("tolm95.dat");
    EXPECT_EQ(file.header.magic, 991091);
    EXPECT_EQ(file.fontDialog.name, "FontDialog1");
    EXPECT_TRUE(file.items.empty());
    EXPECT_EQ(main->windowTitle(), "Tolm 2000");
    EXPECT_TRUE(main->isMainWindow());
}

TEST_F(ShelfTest, ItemsOfEveryKindSurviveASaveAndALoad)
{
    TPrincipal* main = startMain();
    state().pressPoint = QPoint(20, 20);
    TSpButton* launcher = main->commands().newLauncher();
    launcher->setComando("/usr/bin/true");
    launcher->setParam("-x 'a b'");
    launcher->setCaption("Verdad");
    launcher->setHint("Un programa");
    launcher->setRun(2);
    state().pressPoint = QPoint(60, 20);
    main->commands().newClock()->setTag(TSpButton::kTagNoSeconds);
    state().pressPoint = QPoint(100, 20);
    TSpButton* disk = main->commands().newDrive();
    disk->settag1(5000);
    state().pressPoint = QPoint(140, 20);
    main->commands().newMemory();
    ASSERT_TRUE(main->document().save());

    main->document().load();
    const auto items = main->items();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->Comando(), "/usr/bin/true");
    EXPECT_EQ(items[0]->Param(), "-x 'a b'");
    EXPECT_EQ(items[0]->Caption(), "Verdad");
    EXPECT_EQ(items[0]->Hint(), "Un programa");
    EXPECT_EQ(items[0]->Run(), 2);
    EXPECT_EQ(items[1]->clase(), Clase::Reloj);
    EXPECT_EQ(items[1]->Tag() & TSpButton::kTagNoSeconds, TSpButton::kTagNoSeconds);
    EXPECT_EQ(items[1]->pos(), QPoint(40, 0));
    // A stored drive always comes back asking for a full redraw.
    EXPECT_EQ(items[2]->tag1(), -2);
    EXPECT_NE(items[2]->pictureCache(), nullptr);
    EXPECT_EQ(items[2]->tag2(), 2048);
    EXPECT_EQ(items[3]->tag2(), 512);
    EXPECT_EQ(items[0]->popupMenu(), main->menuForClase(0));
    EXPECT_EQ(items[3]->popupMenu(), main->menuForClase(4));
    // Exactly the three timer-driven items tick; the old ones left the list.
    EXPECT_EQ(state().timerItems.size(), 3);
}

TEST_F(ShelfTest, ARecordOfTheSavedFileNamesTheMenuAndTheHandlers)
{
    TPrincipal* main = startMain();
    main->commands().newLauncher();
    main->document().save();
    const auto file = parse("tolm95.dat");
    ASSERT_EQ(file.items.size(), 1);
    std::map<std::string, tolm::store::Value> props;
    for (const auto& p : file.items[0].properties)
        props[p.name] = p.value;
    EXPECT_EQ(props["PopupMenu"].text, "Principal.MenuBoton");
    EXPECT_EQ(props["OnClick"].text, "SpButtonClick");
    EXPECT_EQ(props["OnMouseUp"].text, "SpButtonMouseUp");
    EXPECT_EQ(props["ShowHint"].tag, tolm::store::ValueTag::True);
    EXPECT_EQ(props["ParentShowHint"].tag, tolm::store::ValueTag::False);
}

TEST_F(ShelfTest, AForeignFileIsReportedAndNeverOverwritten)
{
    QByteArray foreign("\x01\x02\x03\x04 not a shelf at all, but the user's data", 44);
    write("tolm95.dat", foreign);
    TPrincipal* main = startMain();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0],
        "Error caragando datos|El fichero tolm95.dat\nno es compatible con esta versión del programa");
    EXPECT_TRUE(main->document().loadFailed());
    main->commands().newClock();
    EXPECT_FALSE(main->document().save());
    main->close();
    flushDeletes();
    EXPECT_EQ(read("tolm95.dat"), foreign);
}

TEST_F(ShelfTest, ABrokenRecordKeepsTheItemsBeforeItAndTheFile)
{
    {
        TPrincipal* main = startMain();
        main->commands().newClock();
        main->commands().newMemory();
        main->document().save();
    }
    closeAll();
    QByteArray bytes = read("tolm95.dat");
    // Cut the last record short.
    bytes.chop(5);
    write("tolm95.dat", bytes);
    TPrincipal* main = startMain();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains("tolm95.dat")) << messages()[0].toStdString();
    EXPECT_EQ(main->items().size(), 1);
    main->close();
    flushDeletes();
    EXPECT_EQ(read("tolm95.dat"), bytes);
}

TEST_F(ShelfTest, ANewFolderTakesTheFirstFreeFileName)
{
    write("tolmc1.dat", "x");
    write("tolmc3.dat", "x");
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    EXPECT_EQ(folder->Comando(), "tolmc2.dat");
    EXPECT_EQ(folder->Caption(), "Carpeta Nueva");
    EXPECT_EQ(folder->Hint(), "Carpeta");
    EXPECT_EQ(folder->tag1(), 1);
    const auto file = parse("tolmc2.dat");
    EXPECT_EQ(file.header.left, 50);
    EXPECT_EQ(file.header.right, 150);
    EXPECT_TRUE(file.items.empty());
}

TEST_F(ShelfTest, FolderWindowsOpenOnceAndCloseAsATree)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    folder->activate();
    ASSERT_EQ(state().openFolderWindows.size(), 1);
    TPrincipal* window = state().openFolderWindows[0];
    EXPECT_EQ(folder->Tag(), 1);
    EXPECT_EQ(window->windowTitle(), "Carpeta");
    EXPECT_EQ(window->timer(), nullptr);
    // Activating again brings the same window forward.
    folder->activate();
    EXPECT_EQ(state().openFolderWindows.size(), 1);

    TSpButton* sub = window->commands().newFolder();
    sub->activate();
    ASSERT_EQ(state().openFolderWindows.size(), 2);
    window->commands().newClock();

    window->close();
    flushDeletes();
    EXPECT_TRUE(state().openFolderWindows.isEmpty());
    EXPECT_EQ(folder->Tag(), 0);
    EXPECT_EQ(TPrincipal::folderWindowOf(folder), nullptr);

    // The sub-folder was open when its parent closed, so it opens with it again.
    folder->activate();
    EXPECT_EQ(state().openFolderWindows.size(), 2);
    TPrincipal* reopened = TPrincipal::folderWindowOf(folder);
    ASSERT_NE(reopened, nullptr);
    ASSERT_EQ(reopened->items().size(), 2);
    EXPECT_EQ(reopened->items()[0]->Tag(), 1);
    EXPECT_EQ(reopened->items()[1]->clase(), Clase::Reloj);
}

// A folder whose file was deleted says so, naming the file, and makes it
// afresh only if the user says so. The new window never stands exactly over
// its parent.
TEST_F(ShelfTest, AFolderWhoseFileIsGoneAsksBeforeMakingItAfresh)
{
    TPrincipal* main = startMain();
    main->setBounds(tolm::app::WindowDocument::kNewFolderBounds.adjusted(0, 0, 200, 50));
    TSpButton* folder = main->commands().newFolder();
    folder->setCaption("Juegos");
    const QString file = folder->Comando();
    ASSERT_TRUE(QFile::remove(path(file)));

    fake.messageBoxes.answer = tolm::platform::Answer::Cancel;
    folder->activate();
    ASSERT_EQ(fake.messageBoxes.boxes.size(), 1);
    EXPECT_TRUE(fake.messageBoxes.boxes[0].question);
    EXPECT_TRUE(fake.messageBoxes.boxes[0].text.contains("«Juegos»"));
    EXPECT_TRUE(fake.messageBoxes.boxes[0].text.contains(path(file)))
        << fake.messageBoxes.boxes[0].text.toStdString();
    EXPECT_TRUE(state().openFolderWindows.isEmpty());
    EXPECT_FALSE(exists(file));
    EXPECT_EQ(folder->Comando(), file);

    fake.messageBoxes.answer = tolm::platform::Answer::Ok;
    folder->activate();
    ASSERT_EQ(state().openFolderWindows.size(), 1);
    EXPECT_EQ(fake.messageBoxes.boxes.size(), 2);
    EXPECT_TRUE(exists(file));
    TPrincipal* window = state().openFolderWindows[0];
    const int step = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    ASSERT_GT(step, 0);
    EXPECT_EQ(window->bounds().topLeft(), main->bounds().topLeft() + QPoint(step, step));
    EXPECT_EQ(window->size(), tolm::app::WindowDocument::kNewFolderBounds.size());

    // A window stored anywhere else opens where it was, asking nothing.
    window->close();
    flushDeletes();
    main->setBounds(QRect(300, 200, 250, 150));
    folder->activate();
    ASSERT_EQ(state().openFolderWindows.size(), 1);
    EXPECT_EQ(state().openFolderWindows[0]->bounds().topLeft(), QPoint(50 + step, 50 + step));
    EXPECT_EQ(fake.messageBoxes.boxes.size(), 2);
}

// A folder stored open whose file is gone asks once the windows are up,
// not while its window is being read.
TEST_F(ShelfTest, AStoredOpenFolderWhoseFileIsGoneAsksAfterTheLoad)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    folder->activate();
    main->close();
    flushDeletes();
    ASSERT_TRUE(QFile::remove(path("tolmc1.dat")));

    fake.messageBoxes.answer = tolm::platform::Answer::Cancel;
    main = startMain();
    EXPECT_TRUE(fake.messageBoxes.boxes.isEmpty());
    QTRY_COMPARE(fake.messageBoxes.boxes.size(), 1);
    EXPECT_TRUE(state().openFolderWindows.isEmpty());
    EXPECT_FALSE(exists("tolmc1.dat"));
}

TEST_F(ShelfTest, ClosingTheMainWindowSavesEveryWindow)
{
    TPrincipal* main = startMain();
    TSpButton* a = main->commands().newFolder();
    state().pressPoint = QPoint(40, 0);
    TSpButton* b = main->commands().newFolder();
    a->activate();
    b->activate();
    state().openFolderWindows[0]->commands().newClock();
    state().openFolderWindows[1]->commands().newMemory();
    main->close();
    flushDeletes();
    EXPECT_EQ(parse("tolm95.dat").items.size(), 2);
    EXPECT_EQ(parse("tolmc1.dat").items.size(), 1);
    EXPECT_EQ(parse("tolmc2.dat").items.size(), 1);
}

TEST_F(ShelfTest, RestoreDiscardsUnsavedFolderChangesAndReopensSavedFolders)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    folder->activate();
    tolm::app::saveSettings();
    state().openFolderWindows[0]->commands().newClock();
    main->commands().newMemory();

    tolm::app::restoreSettings();
    flushDeletes();
    ASSERT_EQ(main->items().size(), 1);
    ASSERT_EQ(state().openFolderWindows.size(), 1);
    EXPECT_TRUE(state().openFolderWindows[0]->items().isEmpty());
}

TEST_F(ShelfTest, DeletingAnOpenFolderDeletesItsWholeTreeUnsaved)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    folder->activate();
    TPrincipal* window = TPrincipal::folderWindowOf(folder);
    TSpButton* sub = window->commands().newFolder();
    sub->activate();
    // Folders made since the last save are found through the open windows.
    TPrincipal::folderWindowOf(sub)->commands().newFolder();
    ASSERT_TRUE(exists("tolmc3.dat"));

    state().currentItem = folder;
    main->commands().deleteFolder();
    flushDeletes();
    EXPECT_FALSE(exists("tolmc1.dat"));
    EXPECT_FALSE(exists("tolmc2.dat"));
    EXPECT_FALSE(exists("tolmc3.dat"));
    EXPECT_TRUE(state().openFolderWindows.isEmpty());
    EXPECT_TRUE(main->items().isEmpty());
}

TEST_F(ShelfTest, FolderFilesNamingEachOtherDoNotOpenWithoutEnd)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    folder->activate();
    TPrincipal* window = state().openFolderWindows[0];
    // A folder inside tolmc1.dat that names tolmc1.dat itself, stored open.
    TSpButton* loop = window->commands().newFolder();
    QFile::remove(loop->Comando());
    loop->setComando("tolmc1.dat");
    loop->setTag(1);
    window->close();
    flushDeletes();

    folder->activate();
    EXPECT_EQ(state().openFolderWindows.size(), 1);
}

TEST_F(ShelfTest, AtStartEveryWindowIsShownBeforeTheBoxOfWhatAutorunCouldNotStart)
{
    // Two launchers that run on their own, one in a folder stored open, and
    // their programs gone.
    TPrincipal* main = startMain();
    main->commands().newLauncher()->setCaption("Correo");
    TSpButton* folder = main->commands().newFolder();
    folder->activate();
    TPrincipal::folderWindowOf(folder)->commands().newLauncher()->setCaption("Notas");
    for (TPrincipal* window : { main, TPrincipal::folderWindowOf(folder) }) {
        window->items()[0]->setAutorun(true);
        ASSERT_TRUE(window->document().save());
    }
    closeAll();
    fake.shell.result
        = tolm::platform::ShellResult::failure(tolm::platform::ShellFailure::NotFound, "/opt/x", "");
    QList<bool> windowsShown;
    fake.messageBoxes.whileOpen = [&] {
        bool shown = state().mainWindow->isVisible() && state().openFolderWindows.size() == 1;
        for (const auto& window : state().openFolderWindows)
            shown = shown && window->isVisible();
        windowsShown.append(shown);
    };
    main = tolm::app::showShelfWindows(nullptr, {});
    EXPECT_EQ(fake.shell.launches.size(), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !windowsShown.isEmpty(); }, 10000));
    EXPECT_EQ(windowsShown, QList<bool>({ true }));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains("Correo") && messages()[0].contains("Notas"))
        << messages()[0].toStdString();
    // From then on a failure is said at once (the same one only after a while).
    fake.clock.time = fake.clock.time.addSecs(60);
    main->items()[0]->activate();
    EXPECT_EQ(messages().size(), 2);
}
