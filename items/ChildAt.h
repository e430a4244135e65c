#pragma once

#include <QPoint>

class QWidget;

namespace tolm::items {

// The last child of `window` in z-order that is shown and contains `point`
// (window coordinates): the control a click there would reach. Disabled
// children count unless `enabledOnly` is set.
QWidget* topChildAt(const QWidget* window, QPoint point, bool enabledOnly);

} // namespace tolm::items
