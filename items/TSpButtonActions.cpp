// What an item does when it is activated, and how it follows the mouse.
#include "items/CoverIndex.h"
#include "items/ItemHost.h"
#include "items/ItemKind.h"
#include "items/ShelfState.h"
#include "items/TSpButton.h"

#include <QMenu>
#include <QMouseEvent>

void TSpButton::activate()
{
    kind().activate(*this);
}

void TSpButton::mousePressEvent(QMouseEvent* event)
{
    ShelfState& state = ShelfState::get();
    const QPoint local = event->position().toPoint();
    state.pressPoint = mapToParent(local);
    state.pressGlobal = event->globalPosition().toPoint();
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
        // A Shift or Ctrl press moves things; it never presses the button.
        state.grabPoint = local;
        event->accept();
        return;
    }
    state.grabPoint = local;
    if (event->button() == Qt::LeftButton)
        QAbstractButton::mousePressEvent(event);
    else
        event->accept();
}

void TSpButton::mouseMoveEvent(QMouseEvent* event)
{
    ShelfState& state = ShelfState::get();
    if (state.hoveredItem != this) {
        if (TSpButton* previous = state.hoveredItem)
            previous->update();
        state.hoveredItem = this;
        update();
    }
    // A tile under the pointer is refreshed every second.
    if (isTimerDriven())
        state.wantTick();
    if (!(event->buttons() & Qt::LeftButton)) {
        QAbstractButton::mouseMoveEvent(event);
        return;
    }
    const QPoint local = event->position().toPoint();
    QPoint p = mapToParent(local);
    tolm::items::ItemHost* window = host();
    if (event->modifiers() & Qt::ShiftModifier) {
        if (!state.dragging) {
            if (std::abs(state.grabPoint.x() - local.x()) < 3
                && std::abs(state.grabPoint.y() - local.y()) < 3)
                return;
            state.dragging = true;
            if (window) {
                state.dragClientSize = parentWidget()->size();
                window->moveToEndOfItemList(this);
            }
            raise();
        }
        p.setX(std::max(p.x(), state.grabPoint.x()));
        p.setY(std::max(p.y(), state.grabPoint.y()));
        // Items sit on a 10-pixel grid.
        move((p.x() - state.grabPoint.x()) / 10 * 10, (p.y() - state.grabPoint.y()) / 10 * 10);
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        if (window)
            window->windowMouseMove(event->globalPosition().toPoint(), event->buttons());
        return;
    }
    QAbstractButton::mouseMoveEvent(event);
}

void TSpButton::mouseReleaseEvent(QMouseEvent* event)
{
    ShelfState& state = ShelfState::get();
    const bool wasDragging = state.dragging;
    const bool plain = !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    if (wasDragging) {
        if (tolm::items::ItemHost* window = host()) {
            const tolm::items::CoverIndex cover(parentWidget());
            for (TSpButton* item : window->items()) {
                if (item && item->isTimerDriven())
                    item->updateCoveredFlag(cover);
            }
        }
    }
    state.dragging = false;
    if (event->button() == Qt::RightButton) {
        state.currentItem = this;
        event->accept();
        if (m_popupMenu)
            m_popupMenu->popup(event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton && plain && !wasDragging && isDown())
        QAbstractButton::mouseReleaseEvent(event);
    else {
        setDown(false);
        event->accept();
    }
}
