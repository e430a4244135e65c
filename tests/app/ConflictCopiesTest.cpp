#include "app/ConflictCopies.h"

#include "ShelfFixture.h"
#include "platform/LinuxMessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

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

TEST_F(ShelfTest, ThreeHundredConflictCopiesFitTheScreenWithTheButtonInReach)
{
    for (int i = 0; i < 300; ++i)
        write(
            QStringLiteral("tolm95.sync-conflict-20261207-10%1-ABCDEFG.dat").arg(i, 4, 10, QLatin1Char('0')),
            "");
    // The real message box, on the test's screen.
    tolm::platform::LinuxMessageBoxes boxes;
    tolm::platform::Services real;
    real.messageBoxes = &boxes;
    tolm::platform::ScopedServices use(real);
    QRect box, button, text;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        // As it stands once its layout has settled.
        QCoreApplication::sendPostedEvents();
        box = shown->frameGeometry();
        const QWidget* ok = shown->button(QMessageBox::Ok);
        button = ok->isVisible() ? QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size()) : QRect();
        const auto* label = shown->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        text = QRect(label->mapToGlobal(QPoint(0, 0)), label->size());
        shown->button(QMessageBox::Ok)->click();
    });
    tolm::app::ConflictCopies(shelfPath()).sayNew();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(box)) << box.height() << " px tall on a screen of " << screen.height();
    EXPECT_TRUE(box.contains(button));
    // The names are there to be read: their lines break within the box,
    // which is no sliver either.
    EXPECT_LE(text.right(), box.right());
    EXPECT_GE(text.width(), box.width() / 2);
}
