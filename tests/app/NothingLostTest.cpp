// Every change reaches its file as it is made, and only changes do: tiles
// refreshing their figures write nothing. "Restaurar configuración" returns
// to the kept state.
#include "ShelfFixture.h"
#include "app/AutoSave.h"

#include <QTest>

using tolm::platform::Answer;

TEST_F(ShelfTest, InputWritesAChangeSoonAndTickingTilesWriteNothing)
{
    fake.drives.add("c:\\", tolm::platform::DriveFixed, 1000 * 1024, 250 * 1024, "SISTEMA");
    TPrincipal* main = startMain();
    main->show();
    main->commands().newClock();
    main->commands().newMemory();
    main->commands().newDrive();
    // Any key or click may have changed a window; the pass a moment later finds what.
    QTest::keyClick(main, Qt::Key_Shift);
    QTRY_COMPARE_WITH_TIMEOUT(parse("tolm95.dat").items.size(), std::size_t(3), 5000);

    const QByteArray written = read("tolm95.dat");
    for (int second = 0; second < 90; ++second) {
        fake.clock.time = fake.clock.time.addSecs(1);
        fake.memory.figures.load = second % 100;
        fake.drives.drives[0].space.freeBytes += 4096 * 1024;
        main->refreshTimerItems();
    }
    EXPECT_FALSE(main->document().hasUnwrittenChanges());
    main->autoSave()->saveNow();
    EXPECT_EQ(read("tolm95.dat"), written);
}

TEST_F(ShelfTest, RestoreAsksThenReturnsToTheKeptStateOrTheStartOfTheRun)
{
    TPrincipal* main = startMain();
    main->commands().newClock();
    ASSERT_TRUE(main->document().save());
    // Nothing kept yet: back to the empty shelf this run began with.
    tolm::app::restoreSettings();
    EXPECT_TRUE(main->items().isEmpty());
    EXPECT_TRUE(parse("tolm95.dat").items.empty());

    main->commands().newClock();
    tolm::app::saveSettings();
    main->commands().newMemory();
    main->close();
    flushDeletes();
    ASSERT_EQ(parse("tolm95.dat").items.size(), 2u);

    // The kept state outlives the run.
    main = startMain();
    fake.messageBoxes.answer = Answer::Cancel;
    tolm::app::restoreSettings();
    EXPECT_EQ(main->items().size(), 2);
    fake.messageBoxes.answer = Answer::Ok;
    tolm::app::restoreSettings();
    EXPECT_EQ(main->items().size(), 1);
    EXPECT_EQ(parse("tolm95.dat").items.size(), 1u);
}
