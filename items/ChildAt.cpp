#include "items/ChildAt.h"

#include <QWidget>

namespace tolm::items {

QWidget* topChildAt(const QWidget* window, QPoint point, bool enabledOnly)
{
    const QObjectList& children = window->children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        auto* child = qobject_cast<QWidget*>(*it);
        if (child && !child->isHidden() && !child->isWindow() && (!enabledOnly || child->isEnabled())
            && child->geometry().contains(point))
            return child;
    }
    return nullptr;
}

} // namespace tolm::items
