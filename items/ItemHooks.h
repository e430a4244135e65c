#pragma once

#include <functional>

class QWidget;
class TSpButton;

namespace tolm::items {

// Windows that items open but do not own. The application installs them at
// start; tests install recorders.
struct ItemHooks {
    std::function<void()> openCalendar;
    std::function<void(TSpButton*)> openProperties;
    std::function<void(QWidget*)> openAbout;
};
ItemHooks& hooks();

// One tick of the refresh timer for one item: clocks every second, drives
// and memory tiles when their countdown runs out or while the pointer rests
// on them.
void refreshOnTick(TSpButton& item);
// Whether the mouse pointer rests on the item (the topmost enabled control
// of its window under the pointer is the item).
bool pointerRestsOn(const TSpButton& item);

} // namespace tolm::items
