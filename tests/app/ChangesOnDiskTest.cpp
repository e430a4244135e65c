// Another machine's sync service, or another program, replaces shelf files
// the way sync services do: a new file written beside the old one and
// renamed over it, by another process.
#include "ShelfFixture.h"
#include "app/ShelfWatch.h"

#include <QProcess>
#include <QTest>

namespace {

class ChangesOnDiskTest : public ShelfTest {
protected:
    // The main file as the other machine has it: what is on disk, with one
    // item more (a copy of the window's first).
    QByteArray withOneMoreItem(TPrincipal* main) const
    {
        const TSpButton* first = main->items().first();
        std::vector<std::uint8_t> record;
        tolm::store::writeRecord(
            tolm::store::writeSpButton(first->toState(main->menuReference(first->claseValue()))), record);
        return read("tolm95.dat") + QByteArray(reinterpret_cast<const char*>(record.data()), record.size());
    }

    void replaceFromOutside(const QByteArray& bytes) const
    {
        write(".tolm95.dat.sync-tmp", bytes);
        ASSERT_EQ(QProcess::execute("mv", { path(".tolm95.dat.sync-tmp"), path("tolm95.dat") }), 0);
    }

    QStringList conflictCopies() const
    {
        return QDir(shelfPath()).entryList({ "tolm95-conflicto-*.dat" }, QDir::Files);
    }
};

TEST_F(ChangesOnDiskTest, ReachTheWindowAndNeverGoUnderItsWork)
{
    TPrincipal* main = startMain();
    main->commands().newClock();
    ASSERT_TRUE(main->document().save());

    // A window holding nothing unwritten shows what came.
    replaceFromOutside(withOneMoreItem(main));
    ASSERT_TRUE(QTest::qWaitFor([&] { return main->items().size() == 2; }, 10000));
    EXPECT_TRUE(conflictCopies().isEmpty());

    // The user's change is not written yet when the file changes again: the
    // write finds the change, keeps the file and puts the user's work beside it.
    main->commands().newMemory();
    const QByteArray theirs = withOneMoreItem(main);
    replaceFromOutside(theirs);
    EXPECT_TRUE(main->document().save());
    EXPECT_EQ(read("tolm95.dat"), theirs);
    ASSERT_EQ(conflictCopies().size(), 1);
    EXPECT_EQ(parse(conflictCopies().first()).items.size(), 3u);
    // Then the window shows the file, and one box says where its work went.
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages().size() == 1; }, 10000));
    EXPECT_TRUE(messages().first().contains(conflictCopies().first()));
    EXPECT_FALSE(main->document().hasUnwrittenChanges());
    EXPECT_EQ(read("tolm95.dat"), theirs);

    // What the user adds then is written with what came from outside.
    main->commands().newClock();
    ASSERT_TRUE(main->document().save());
    EXPECT_EQ(parse("tolm95.dat").items.size(), 4u);
    QTest::qWait(2 * tolm::app::ShelfWatch::kSettleMs);
    EXPECT_EQ(messages().size(), 1);
    EXPECT_EQ(conflictCopies().size(), 1);
}

} // namespace
