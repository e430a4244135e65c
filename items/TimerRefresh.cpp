#include "items/ChildAt.h"
#include "items/ItemKinds.h"
#include "items/ItemReports.h"
#include "items/ShelfState.h"
#include "items/TSpButton.h"

#include <QCoreApplication>
#include <QCursor>

namespace tolm::items {

bool pointerRestsOn(const TSpButton& item)
{
    const QWidget* window = item.parentWidget();
    return window && topChildAt(window, window->mapFromGlobal(QCursor::pos()), true) == &item;
}

void refreshOnTick(TSpButton& item)
{
    const bool full = ShelfState::get().dragging || item.coveredFlag();
    item.kind().refreshOnTick(item, full);
}

void clearTickFields(store::SpButtonState& state)
{
    kindOf(state.clase).clearTickFields(state);
}

void TimerTile::repaint(TSpButton& item, bool full)
{
    if (full) {
        item.update();
        return;
    }
    // In place: only the picture is redrawn over what is on screen.
    item.refreshInPlace();
}

void TimerTile::clearFigures(store::SpButtonState& state)
{
    state.hint.clear();
    state.comando.clear();
    state.tag1 = 0;
}

void TimerTile::refreshWhenDue(TSpButton& item, bool full) const
{
    const ShelfState& state = ShelfState::get();
    const bool watched = state.hoveredItem == &item || state.workingCopy == &item;
    const bool hoveredHere = watched && pointerRestsOn(item);
    const int countdown = item.countdown();
    if ((countdown == 0 && item.hasRefreshPeriod()) || hoveredHere) {
        item.setCountdown(item.refreshPeriod());
        if (full)
            item.markDrawWhole();
        repaint(item, full);
        // Screen readers hear a new figure at most once per refresh.
        item.announceLabelChange();
    } else if (countdown != 0) {
        item.setCountdown(countdown - 1);
    } else {
        item.setCountdown(item.refreshPeriod());
    }
}

QImage TimerTile::sharpPicture(const TSpButton& item, qreal ratio) const
{
    // Pictures are drawn at 2x and 3x; other ratios take the nearest above,
    // down to 2x, brought to size by the painter.
    const int scale = ratio > 2 ? 3 : 2;
    QImage picture = item.finePicture(scale);
    if (!picture.isNull())
        picture.setDevicePixelRatio(scale);
    return picture;
}

QString TimerTile::accessibleLabel(const TSpButton& item) const
{
    const QString name = QCoreApplication::translate("TimerTile", m_name);
    return item.liveFigure().isEmpty() ? name : name + QStringLiteral(": ") + item.liveFigure();
}

} // namespace tolm::items
