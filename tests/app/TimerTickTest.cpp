// One tick of the refresh timer over many tiles: each source is asked once,
// each tile still shows its own picture, and what the tick drew reaches the
// screen.
#include "ShelfFixture.h"
#include "items/ClockPicture.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <functional>

using namespace tolm;

namespace {

struct CountingDrives : test::FakeDrives {
    QMap<QString, int> asked; // driveType calls by root
    int driveType(const QString& root) override
    {
        ++asked[key(root)];
        return FakeDrives::driveType(root);
    }
};

struct CountingMemory : test::FakeMemory {
    int asked { 0 };
    std::optional<platform::MemoryStatus> status() override
    {
        ++asked;
        return FakeMemory::status();
    }
};

struct CountingClock : test::FakeClock {
    int asked { 0 };
    QDateTime now() override
    {
        ++asked;
        return FakeClock::now();
    }
};

class TimerTickTest : public ShelfTest {
protected:
    void SetUp() override
    {
        ShelfTest::SetUp();
        drives.add("c:\\", platform::DriveFixed, 1000 * 1024, 250 * 1024, "SISTEMA");
        drives.add("d:\\", platform::DriveFixed, 2000 * 1024, 500 * 1024, "DATOS");
        platform::Services counting = fake.services();
        counting.drives = &drives;
        counting.memory = &memory;
        counting.clock = &clock;
        m_counting = std::make_unique<platform::ScopedServices>(counting);
    }
    void TearDown() override
    {
        closeAll();
        m_counting.reset();
        ShelfTest::TearDown();
    }

    // A shown main window; items go side by side, none covering another.
    TPrincipal* shownMain()
    {
        TPrincipal* main = startMain();
        main->resize(600, 200);
        main->show();
        return main;
    }
    TSpButton* add(TPrincipal* main, TSpButton* (tolm::app::ItemCommands::*command)())
    {
        state().pressPoint = QPoint(m_next, 0);
        m_next += 50;
        return (main->commands().*command)();
    }

    CountingDrives drives;
    CountingMemory memory;
    CountingClock clock;

private:
    std::unique_ptr<platform::ScopedServices> m_counting;
    int m_next { 0 };
};

TEST_F(TimerTickTest, OneTickAsksEachSourceOnceAndTheNextTickAsksAgain)
{
    TPrincipal* main = shownMain();
    for (int i = 0; i < 3; ++i)
        add(main, &tolm::app::ItemCommands::newClock);
    QList<TSpButton*> tiles;
    for (const char* root : { "c:\\", "c:\\", "d:\\" }) {
        TSpButton* drive = add(main, &tolm::app::ItemCommands::newDrive);
        drive->setDirectorio(QString::fromLatin1(root));
        tiles.append(drive);
    }
    TSpButton* m1 = add(main, &tolm::app::ItemCommands::newMemory);
    TSpButton* m2 = add(main, &tolm::app::ItemCommands::newMemory);
    QApplication::processEvents();
    drives.asked.clear();
    memory.asked = 0;
    clock.asked = 0;

    // Every drive and memory tile is due at the first tick.
    main->refreshTimerItems();
    EXPECT_EQ(drives.asked.value("c:\\"), 1);
    EXPECT_EQ(drives.asked.value("d:\\"), 1);
    EXPECT_EQ(memory.asked, 1);
    EXPECT_EQ(clock.asked, 1);
    // Each drive tile shows its own drive.
    EXPECT_EQ(tiles[0]->tag1(), 250);
    EXPECT_EQ(tiles[1]->tag1(), 250);
    EXPECT_EQ(tiles[2]->tag1(), 500);

    // Nothing read in one tick is kept for the next.
    memory.figures.load = 70;
    drives.drives[0].space.freeBytes = 100 * 1024;
    drives.drives[0].space.availableBytes = 100 * 1024;
    for (int i = 0; i < 9; ++i)
        main->refreshTimerItems();
    EXPECT_EQ(clock.asked, 10);
    EXPECT_TRUE(m1->Hint().contains(QStringLiteral("70")));
    EXPECT_EQ(m2->Hint(), m1->Hint());
    EXPECT_EQ(tiles[0]->tag1(), 100);
    EXPECT_EQ(tiles[2]->tag1(), 500);
}

TEST_F(TimerTickTest, ClocksOfOneTickKeepTheirOwnTexts)
{
    struct Shape {
        int tag;
        const char* time;
        const char* date;
        const char* separator;
    };
    const Shape shapes[] = {
        { 0, "", "", "" },
        { 0, "hh:mm tt", "d MMM", " - " },
        { 0, "hh:mm tt", "d MMM", " / " },
        { TSpButton::kTagNoDate, "hh:mm tt", "d MMM", " - " },
        { TSpButton::kTagNoTime, "hh:mm tt", "dddd", "" },
        { TSpButton::kTagNoSeconds, "H:mm", "", "" },
    };
    TPrincipal* main = shownMain();
    QList<TSpButton*> clocks;
    for (const Shape& shape : shapes) {
        TSpButton* item = add(main, &tolm::app::ItemCommands::newClock);
        item->setTag(shape.tag);
        item->setParam(QString::fromUtf8(shape.time));
        item->setDirectorio(QString::fromUtf8(shape.date));
        item->setFichIcono(QString::fromUtf8(shape.separator));
        clocks.append(item);
    }
    QApplication::processEvents();
    main->refreshTimerItems();
    QApplication::processEvents();
    for (int i = 0; i < clocks.size(); ++i) {
        SCOPED_TRACE(i);
        const Shape& shape = shapes[i];
        EXPECT_EQ(clocks[i]->Comando(),
            items::clockText(clock.time, shape.tag, QString::fromUtf8(shape.time),
                QString::fromUtf8(shape.date), QString::fromUtf8(shape.separator), fake.locale));
        EXPECT_EQ(clocks[i]->Hint(), items::clockHint(clock.time, fake.locale));
    }
}

TEST_F(TimerTickTest, ATickPaintsTheTilesWhoseTextOrPictureChangedAndNoOthers)
{
    struct PaintCounter : QObject {
        QMap<QObject*, int> paints;
        bool eventFilter(QObject* item, QEvent* event) override
        {
            paints[item] += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    TPrincipal* main = shownMain();
    auto& big = drives.add("e:\\", platform::DriveFixed, 10'000'000ull << 10, 5'000'000ull << 10);
    clock.time = QDateTime(QDate(2024, 5, 6), QTime(10, 41, 50));
    // Two text clocks alike and one in bold: faces drawn once are copied only to their like.
    QList<TSpButton*> clocks;
    for (int i = 0; i < 3; ++i) {
        state().pressPoint = QPoint(0, 25 * i);
        clocks.append(main->commands().newClock());
        clocks[i]->setTipo(int(store::Tipo::T80x20));
        clocks[i]->setTag(TSpButton::kTagTextClock | TSpButton::kTagNoDate);
        clocks[i]->setParam(QStringLiteral("H:mm"));
    }
    store::FontState bold = clocks[2]->effectiveFont();
    bold.style = 1;
    clocks[2]->setOwnFont(bold);
    state().pressPoint = QPoint(100, 0);
    TSpButton* drive = main->commands().newDrive();
    drive->setDirectorio(QStringLiteral("e:\\"));
    drive->setRefreshPeriod(1);
    state().pressPoint = QPoint(150, 0);
    TSpButton* tile = main->commands().newMemory();
    tile->setRefreshPeriod(1);
    const QList<TSpButton*> items = clocks + QList<TSpButton*> { drive, tile };
    // A tile with a period of one second is refreshed at every other tick.
    const auto twoTicks = [&] {
        for (int i = 0; i < 2; ++i) {
            main->refreshTimerItems();
            QApplication::processEvents();
        }
    };
    twoTicks();
    for (TSpButton* item : items)
        item->installEventFilter(&counter);

    struct Step {
        const char* what;
        std::function<void()> change;
        bool clocks, drive, memory; // painted
    };
    const Step steps[] = {
        { "seconds pass", [&] { clock.time = clock.time.addSecs(2); }, false, false, false },
        { "kilobytes freed", [&] { big.space.availableBytes += 3 << 10; }, false, false, false },
        { "the minute turns", [&] { clock.time = clock.time.addSecs(60); }, true, false, false },
        { "a megabyte freed", [&] { big.space.availableBytes += 1 << 20; }, false, true, false },
        { "the load rises", [&] { memory.figures.load += 10; }, false, false, true },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        counter.paints.clear();
        step.change();
        twoTicks();
        for (TSpButton* item : clocks)
            EXPECT_EQ(counter.paints.value(item) > 0, step.clocks);
        EXPECT_EQ(counter.paints.value(drive) > 0, step.drive);
        EXPECT_EQ(counter.paints.value(tile) > 0, step.memory);
        const QString time = fake.locale.formatTime(clock.time.time(), QStringLiteral("H:mm"));
        EXPECT_EQ(clocks[0]->Caption(), time);
        EXPECT_EQ(clocks[0]->Hint(), items::clockHint(clock.time, fake.locale));
        EXPECT_TRUE(clocks[0]->accessibleLabel().endsWith(time));
        EXPECT_EQ(clocks[1]->surface(), clocks[0]->surface());
        EXPECT_NE(clocks[2]->surface(), clocks[0]->surface());
        EXPECT_EQ(drive->tag1(), int(big.space.availableBytes >> 10));
        EXPECT_TRUE(tile->Hint().contains(QString::number(memory.figures.load)));
    }
}

TEST_F(TimerTickTest, WhatATickDrawsReachesTheScreenAndAJoinedRepaintIsWhole)
{
    TPrincipal* main = shownMain();
    TSpButton* item = add(main, &tolm::app::ItemCommands::newClock);
    QApplication::processEvents();
    main->refreshTimerItems();
    QApplication::processEvents();

    // A minute later the hands have moved on the item's surface and on the screen.
    const QImage before = item->surface().copy();
    clock.time = clock.time.addSecs(60);
    main->refreshTimerItems();
    ASSERT_NE(item->surface(), before);
    QApplication::processEvents();
    const QImage shown = QGuiApplication::primaryScreen()
                             ->grabWindow(main->winId(), item->x(), item->y(), item->width(), item->height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    if (shown.size() != item->size())
        GTEST_SKIP() << "this platform cannot grab a window";
    EXPECT_EQ(shown, item->surface().convertToFormat(QImage::Format_RGB32));

    // A change asked for in the same round as a tick is drawn whole: the
    // pointer resting on a flat item brings its raised frame back.
    const QRgb flatCorner = item->surface().pixel(0, 0);
    clock.time = clock.time.addSecs(60);
    main->refreshTimerItems();
    state().hoveredItem = item;
    item->update();
    QApplication::processEvents();
    EXPECT_NE(item->surface().pixel(0, 0), flatCorner);
    EXPECT_EQ(item->surface().pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(TimerTickTest, TheTimerSleepsUntilATickCanChangeSomething)
{
    const int text = TSpButton::kTagTextClock | TSpButton::kTagNoDate, memory = -1;
    const struct {
        const char* what;
        int options; // a clock's, or a memory tile with `tag2`
        const char* picture;
        int tag2;
        QTime at;
        int skipping;
    } rows[] = {
        { "a dial with its seconds hand", 0, "H:mm", 0, QTime(10, 15, 7), 0 },
        { "a dial without, text in minutes", TSpButton::kTagNoSeconds, "H:mm", 0, QTime(10, 15, 7), 52 },
        { "text in minutes, last second", text, "H:mm", 0, QTime(10, 15, 59), 0 },
        { "text with seconds", text, "HH:mm:ss", 0, QTime(10, 15, 7), 0 },
        { "seconds quoted are text", text, "H:mm 'ss'", 0, QTime(10, 15, 7), 52 },
        { "the user's time, with seconds", text, "", 0, QTime(10, 15, 7), 0 },
        { "the date alone", TSpButton::kTagTextClock | TSpButton::kTagNoTime, "", 0, QTime(23, 59, 30), 29 },
        { "a tile just refreshed, period 60", memory, "", 60 << 8, QTime(10, 15, 7), 60 },
        { "a tile counting down from 5", memory, "", 8 << 8 | 5, QTime(10, 15, 7), 4 },
        { "a tile without a period", memory, "", 0, QTime(10, 15, 7), items::TickSchedule::kMaxSkip },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TPrincipal* main = shownMain();
        TSpButton* item
            = add(main, row.options == memory ? &app::ItemCommands::newMemory : &app::ItemCommands::newClock);
        if (row.options == memory) {
            item->settag2(row.tag2);
        } else {
            item->setClockOptions(row.options);
            item->setParam(QString::fromUtf8(row.picture));
        }
        clock.time = QDateTime(clock.time.date(), row.at);
        QApplication::processEvents();
        main->refreshTimerItems();
        EXPECT_EQ(main->tickSchedule().skipping(), row.skipping);
        // It comes just after its second begins.
        EXPECT_EQ(main->tickSchedule().delayMs(clock.steadyMs()), row.skipping * 1000 + 1020);
        // A tile under the pointer is refreshed every second.
        if (row.options == memory && row.tag2) {
            state().hoveredItem = item;
            QCursor::setPos(item->mapToGlobal(QPoint(20, 20)));
            main->refreshTimerItems();
            EXPECT_EQ(main->tickSchedule().skipping(), 0);
            QCursor::setPos(QPoint(0, 0));
        }
        closeAll();
    }
}

TEST_F(TimerTickTest, AfterAJumpOrAWishTheNextTickComesAtOnceAndCountsOnTheSteadyClock)
{
    TPrincipal* main = shownMain();
    TSpButton* text = add(main, &app::ItemCommands::newClock);
    text->setClockOptions(TSpButton::kTagTextClock | TSpButton::kTagNoDate);
    text->setParam(QStringLiteral("H:mm"));
    TSpButton* tile = add(main, &app::ItemCommands::newMemory);
    tile->setRefreshPeriod(60);
    main->refreshTimerItems();
    // Something wants the next second: 4.5 s on, the tick comes 0.52 s later.
    clock.time = clock.time.addMSecs(4500);
    state().wantTick();
    EXPECT_EQ(main->tickSchedule().skipping(), 4);
    EXPECT_EQ(main->tickSchedule().delayMs(clock.steadyMs()), 520);
    // The time is set an hour ahead 3 s after the tick: the tick at once shows
    // the new hour, and the countdown has lost 3 seconds, not an hour.
    clock.steady = clock.steadyMs() - 1500;
    clock.time = clock.time.addSecs(3600).addMSecs(-1500);
    main->tickAfterSleep();
    EXPECT_EQ(text->Caption(), QStringLiteral("11:15"));
    EXPECT_EQ(tile->countdown(), 57);
    EXPECT_EQ(main->tickSchedule().skipping(), 59 - 10);
}

TEST_F(TimerTickTest, SkippedTicksLeaveTheShelfAsTickingEverySecond)
{
    // A dial without its seconds hand showing the date, a drive tile of
    // period 8 whose drive fills at second 30, and a memory tile of period 60
    // whose load changes at 95.
    auto shelf = [this] {
        TPrincipal* main = shownMain();
        for (auto [x, make] : { std::pair(0, &app::ItemCommands::newClock),
                 { 50, &app::ItemCommands::newDrive }, { 100, &app::ItemCommands::newMemory } }) {
            state().pressPoint = QPoint(x, 0);
            (main->commands().*make)();
        }
        main->items()[0]->setClockOptions(TSpButton::kTagNoSeconds | TSpButton::kTagNoTime);
        main->items()[2]->setRefreshPeriod(60);
        QApplication::processEvents();
        return main;
    };
    auto changeSources = [this](int second) {
        const quint64 free = second < 30 ? 250 * 1024 : 100 * 1024;
        drives.drives[0].space.freeBytes = drives.drives[0].space.availableBytes = free;
        memory.figures.load = second < 95 ? 50 : 70;
    };
    // What a save stores, `tag1` and `tag2` among the rest.
    auto stored = [this](TPrincipal* main) {
        EXPECT_TRUE(main->document().save());
        return read(QString::fromLatin1(TPrincipal::kMainFileName));
    };
    const QDateTime start = clock.time;
    const int seconds = 200, hour = state().hour, minute = state().minute;
    QList<QByteArray> everySecond;
    TPrincipal* main = shelf();
    for (int second = 0; second <= seconds; ++second) {
        clock.time = start.addSecs(second);
        changeSources(second);
        main->refreshTimerItems();
        everySecond.append(stored(main));
    }

    closeAll();
    QFile::remove(path(QString::fromLatin1(TPrincipal::kMainFileName)));
    // A new dial shows the time of the last tick.
    state().hour = hour;
    state().minute = minute;
    clock.time = start;
    changeSources(0);
    main = shelf();
    main->refreshTimerItems();
    EXPECT_EQ(stored(main), everySecond[0]);
    int ticks = 1;
    for (int second = 0; second < seconds; ++ticks) {
        const int next = std::min(seconds, second + main->tickSchedule().skipping() + 1);
        // Saved while the timer sleeps, the shelf is as the skipped ticks left it.
        for (second += 1; second <= next; ++second) {
            clock.time = start.addSecs(second);
            changeSources(second);
            if (second == next)
                main->tickAfterSleep();
            if (second == next || second % 7 == 0) {
                EXPECT_EQ(stored(main), everySecond[second]) << "second " << second;
            }
        }
        second = next;
    }
    // The drive tile wakes it every ninth second; the minute and the memory a few times more.
    EXPECT_LE(ticks, seconds / 9 + 8);
}

TEST_F(TimerTickTest, ArrangingStacksItemsInTheirNewOrder)
{
    TPrincipal* main = startMain();
    main->resize(100, 200);
    // Made right to left and bottom up, so that the new order reverses the old one.
    QList<TSpButton*> made;
    for (int i = 0; i < 6; ++i) {
        state().pressPoint = QPoint(60 - (i % 2) * 40, 100 - (i / 2) * 40);
        made.append(main->commands().newLauncher());
    }
    main->commands().arrange();
    const QList<TSpButton*> arranged = main->items();
    QList<TSpButton*> stacked;
    for (QObject* child : main->children()) {
        if (auto* item = qobject_cast<TSpButton*>(child))
            stacked.append(item);
    }
    EXPECT_EQ(stacked, arranged);
    EXPECT_NE(arranged, made);
    for (TSpButton* item : arranged)
        EXPECT_FALSE(item->isHidden());
}

} // namespace
