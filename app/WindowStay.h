#pragma once

#include <QString>

namespace tolm::app {

// Where a shelf window stays among the other windows: above them, and on
// every workspace. Kept per shelf file in the settings file, since the shelf
// file's layout has no room for it.
struct WindowStay {
    bool keepAbove { false };
    bool everyDesktop { false };

    bool operator==(const WindowStay&) const = default;
};

// `shelfFile` is the window's shelf file as an absolute path. A file never
// set, or settings that cannot be read, give the defaults: neither.
WindowStay readWindowStay(const QString& shelfFile);
// False when the settings file could not be written.
bool writeWindowStay(const QString& shelfFile, const WindowStay& stay);

} // namespace tolm::app
