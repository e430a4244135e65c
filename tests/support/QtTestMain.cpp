#include "gfx/Color.h"

#include <QApplication>
#include <gtest/gtest.h>

// Widget tests run headless unless the caller chose a platform (xvfb-run sets
// DISPLAY but leaves the choice to us, so an explicit value wins).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Pictures are checked pixel by pixel, and system colours follow the
    // palette: the classic one makes them the same on every machine.
    QApplication::setPalette(tolm::gfx::classicPalette());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
