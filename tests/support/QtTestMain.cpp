#include <QApplication>
#include <gtest/gtest.h>

// Widget tests run headless unless the caller chose a platform (xvfb-run sets
// DISPLAY but leaves the choice to us, so an explicit value wins).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
