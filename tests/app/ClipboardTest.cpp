#include "ShelfFixture.h"

#include <QCursor>

using tolm::store::Clase;

TEST_F(ShelfTest, APastedFolderIsReachableFromItsNewWindowAfterARestart)
{
    TPrincipal* main = startMain();
    TSpButton* target = main->commands().newFolder(); // tolmc1.dat
    state().pressPoint = QPoint(40, 0);
    TSpButton* moving = main->commands().newFolder(); // tolmc2.dat
    moving->activate();
    TPrincipal::folderWindowOf(moving)->commands().newClock();
    state().currentItem = moving;
    main->commands().cut();
    flushDeletes();
    target->activate();
    state().pressPoint = QPoint(10, 10);
    TPrincipal::folderWindowOf(target)->commands().paste();
    tolm::app::saveSettings();
    closeAll();

    startMain();
    ASSERT_EQ(state().mainWindow->items().size(), 1);
    // The target was open when saved, so it opens again, holding the moved folder.
    TPrincipal* reopened = TPrincipal::folderWindowOf(state().mainWindow->items()[0]);
    ASSERT_NE(reopened, nullptr);
    ASSERT_EQ(reopened->items().size(), 1);
    TSpButton* pasted = reopened->items()[0];
    EXPECT_EQ(pasted->Comando(), "tolmc2.dat");
    EXPECT_EQ(pasted->pos(), QPoint(10, 10));
    pasted->activate();
    ASSERT_NE(TPrincipal::folderWindowOf(pasted), nullptr);
    ASSERT_EQ(TPrincipal::folderWindowOf(pasted)->items().size(), 1);
    EXPECT_EQ(TPrincipal::folderWindowOf(pasted)->items()[0]->clase(), Clase::Reloj);
}

TEST_F(ShelfTest, AFolderCutWhenSavedComesBackEnabled)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    state().currentItem = folder;
    main->commands().cut();
    main->document().save();
    main->document().load();
    ASSERT_EQ(main->items().size(), 1);
    EXPECT_TRUE(main->items()[0]->isEnabled());
}

TEST_F(ShelfTest, ADeletedMemoryTileComesBackTicking)
{
    TPrincipal* main = startMain();
    TSpButton* memory = main->commands().newMemory();
    state().currentItem = memory;
    main->commands().deleteItem();
    main->refreshTimerItems();
    EXPECT_EQ(memory->tag2(), 512);
    main->commands().undo();
    main->refreshTimerItems();
    // Due at once after the undo: the countdown reloads from the period.
    EXPECT_EQ(memory->tag2(), 512 + 2);
}

TEST_F(ShelfTest, AWindowWhoseFileWasJustCreatedAcceptsAPaste)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    state().currentItem = main->commands().newClock();
    main->commands().copy();
    folder->activate();
    TPrincipal* window = TPrincipal::folderWindowOf(folder);
    EXPECT_TRUE(window->items().isEmpty());
    window->commands().paste();
    ASSERT_EQ(window->items().size(), 1);
    EXPECT_TRUE(state().timerItems.contains(window->items()[0]));
    window->close();
    flushDeletes();
    EXPECT_EQ(parse("tolmc1.dat").items.size(), 1);
}

TEST_F(ShelfTest, ArrangingPlacesItemsAtTheSamePlaceAndFindsDisabledOnes)
{
    TPrincipal* main = startMain();
    main->resize(200, 200);
    state().pressPoint = QPoint(30, 30);
    TSpButton* a = main->commands().newClock();
    TSpButton* b = main->commands().newMemory();
    TSpButton* folder = main->commands().newFolder();
    state().currentItem = folder;
    main->commands().cut();
    main->commands().arrange();
    QList<QPoint> places { a->pos(), b->pos(), folder->pos() };
    std::sort(places.begin(), places.end(), [](QPoint p, QPoint q) { return p.x() < q.x(); });
    EXPECT_EQ(places, QList<QPoint>({ QPoint(0, 0), QPoint(40, 0), QPoint(80, 0) }));
    EXPECT_FALSE(folder->isEnabled());
}

TEST_F(ShelfTest, APointerRestingOnADriveRefreshesItEveryTick)
{
    TPrincipal* main = startMain();
    main->show();
    main->move(100, 100);
    TSpButton* drive = main->commands().newDrive();
    main->refreshTimerItems();
    ASSERT_EQ(drive->tag2() & 0xFF, 8);
    state().hoveredItem = drive;
    QCursor::setPos(drive->mapToGlobal(QPoint(20, 20)));
    if (QCursor::pos() != drive->mapToGlobal(QPoint(20, 20)))
        GTEST_SKIP() << "this platform cannot place the pointer";
    main->refreshTimerItems();
    main->refreshTimerItems();
    // Refreshed at each tick: the countdown keeps being reloaded.
    EXPECT_EQ(drive->tag2() & 0xFF, 8);
    QCursor::setPos(QPoint(0, 0));
    main->refreshTimerItems();
    EXPECT_EQ(drive->tag2() & 0xFF, 7);
}

namespace {

// Drives that fail the way a vanished network share might: by throwing.
struct ThrowingDrives : tolm::test::FakeDrives {
    bool fail { true };
    int driveType(const QString& root) override
    {
        if (fail)
            throw std::runtime_error("the share went away");
        return FakeDrives::driveType(root);
    }
};

} // namespace

TEST_F(ShelfTest, AnErrorInsideATickIsSwallowedAndTheNextTickRuns)
{
    ThrowingDrives drives;
    drives.add("c:\\", tolm::platform::DriveFixed, 1000 * 1024, 250 * 1024, "SISTEMA");
    tolm::platform::Services only {};
    only.drives = &drives;
    tolm::platform::ScopedServices use(only);
    TPrincipal* main = startMain();
    main->show();
    TSpButton* drive = main->commands().newDrive();
    QCoreApplication::processEvents();
    main->refreshTimerItems();
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_LT(drive->tag1(), 0);

    drives.fail = false;
    for (int i = 0; i < 9; ++i)
        main->refreshTimerItems();
    drive->repaint();
    // 250 KB free, drawn at last.
    EXPECT_EQ(drive->tag1(), 250);
}
