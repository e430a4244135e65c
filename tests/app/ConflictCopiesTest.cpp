#include "app/ConflictCopies.h"

#include "ShelfFixture.h"

#include <QTest>

TEST_F(ShelfTest, ConflictCopiesAreSaidOnceEachAsTheyAppear)
{
    const auto& boxes = fake.messageBoxes.boxes;
    write(QStringLiteral("tolm95.sync-conflict-20261207-101500-ABCDEFG.dat"), "");
    tolm::app::ConflictCopies copies(shelfPath());
    copies.sayNew();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("tolm95.sync-conflict-20261207-101500-ABCDEFG.dat")));

    // A new shelf file changes the folder too; the copy said is not said
    // again, nor one this Tolm wrote and said itself.
    write(QStringLiteral("tolmc1.dat"), "");
    state().conflictCopiesWritten.insert(QStringLiteral("tolm95-conflicto-20261208-101500.dat"));
    write(QStringLiteral("tolm95-conflicto-20261208-101500.dat"), "");
    QTest::qWait(1500);
    EXPECT_EQ(boxes.size(), 1);
    write(QStringLiteral("tolmc2 (conflicted copy).dat"), "");
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.size() == 2; }, 10000));
    EXPECT_TRUE(boxes[1].text.contains(QStringLiteral("tolmc2 (conflicted copy).dat")));
    EXPECT_FALSE(boxes[1].text.contains(QStringLiteral("sync-conflict")));
}
