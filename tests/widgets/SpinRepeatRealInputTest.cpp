#include "widgets/TCSpinButton.h"
#include "widgets/TCSpinEdit.h"
#include "widgets/TTimerSpeedButton.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

// Holds the mouse on the up arrow with real X input (xdotool under xvfb-run)
// and compares the steps with the repeat rule for the time it was really held:
// one step at 400 ms, one every 100 ms after that, and one on release.
// Run it with: xvfb-run -a env QT_QPA_PLATFORM=xcb test_widgets --gtest_filter='*RealInput*'
TEST(SpinRepeatRealInput, HoldingStepsAsTheRepeatRuleSays)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display (xvfb-run with QT_QPA_PLATFORM=xcb)";
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty())
        GTEST_SKIP() << "needs xdotool";

    for (const int holdMs : { 150, 1000, 1730 }) {
        TCSpinEdit edit;
        edit.setGeometry(100, 100, 80, 30);
        edit.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
        edit.activateWindow();
        QTest::qWait(100);

        TTimerSpeedButton* up = edit.Button()->upButton();
        QElapsedTimer clock;
        clock.start();
        qint64 pressedAt = -1;
        qint64 releasedAt = -1;
        QObject::connect(up, &TTimerSpeedButton::mouseDown, [&] { pressedAt = clock.elapsed(); });
        struct ReleaseWatch : QObject {
            QElapsedTimer* clock;
            qint64* at;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::MouseButtonRelease)
                    *at = clock->elapsed();
                return false;
            }
        } watch;
        watch.clock = &clock;
        watch.at = &releasedAt;
        up->installEventFilter(&watch);

        const QPoint target = up->mapToGlobal(up->rect().center());
        ASSERT_EQ(
            QProcess::execute(xdotool,
                { "mousemove", QString::number(target.x()), QString::number(target.y()), "mousedown", "1" }),
            0);
        QTest::qWait(holdMs);
        ASSERT_EQ(QProcess::execute(xdotool, { "mouseup", "1" }), 0);
        QTest::qWait(200);

        ASSERT_GE(pressedAt, 0) << "the press never arrived";
        ASSERT_GE(releasedAt, pressedAt) << "the release never arrived";
        const qint64 held = releasedAt - pressedAt;
        const int expected = 1 + (held >= 400 ? 1 + int((held - 400) / 100) : 0);
        const int steps = edit.Value();
        std::printf("held %lld ms: %d steps, rule says %d\n", static_cast<long long>(held), steps, expected);
        EXPECT_LE(std::abs(steps - expected), 1) << "held " << held << " ms";
    }
}
