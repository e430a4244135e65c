#include "items/ChildAt.h"
#include "items/ItemKinds.h"
#include "items/ItemReports.h"
#include "items/ShelfState.h"
#include "items/TSpButton.h"

#include <QCoreApplication>
#include <QCursor>
#include <algorithm>

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

int quietTicks(const TSpButton& item, const QDateTime& now)
{
    // The dialog changes its copy as the user types: it is refreshed every second.
    if (ShelfState::get().workingCopy == &item)
        return 0;
    return item.kind().quietTicks(item, now);
}

void skipTicks(TSpButton& item, int ticks)
{
    if (ticks > 0)
        item.kind().skipTicks(item, ticks);
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

int TimerTile::ticksUntilDue(const TSpButton& item)
{
    const ShelfState& state = ShelfState::get();
    if (state.hoveredItem == &item && pointerRestsOn(item))
        return 0;
    // A countdown of n is counted down by the next n ticks and runs out at
    // the one after; without a period the tile is never due.
    return item.hasRefreshPeriod() ? item.countdown() : kQuietForever;
}

void TimerTile::countDown(TSpButton& item, int ticks)
{
    const int countdown = item.countdown();
    item.setCountdown(countdown - std::min(ticks, countdown));
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
