#pragma once

#include <QDateTime>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <functional>
#include <memory>

class TSpButton;

namespace tolm::items {
class HintWindow;
}

// What every item and every window shares: the current, hovered and dragged
// item, where the mouse was pressed, the time of the last tick and the items
// the timer refreshes. One instance lives as long as the application (the
// application's own state, AppState, is that instance); `get()` finds it and
// stops the program when there is none.
class ShelfState {
public:
    ShelfState();
    virtual ~ShelfState();
    ShelfState(const ShelfState&) = delete;
    ShelfState& operator=(const ShelfState&) = delete;

    static ShelfState& get();
    static bool exists();

    // Every clock, drive and memory item of every window, plus the working
    // copy of the properties dialog while it is open.
    QList<QPointer<TSpButton>> timerItems;
    // The item that menus and the properties dialog act on.
    QPointer<TSpButton> currentItem;
    // The properties dialog's live copy of the item it edits, while it is open.
    QPointer<TSpButton> workingCopy;
    QPointer<TSpButton> hoveredItem;
    QPoint pressPoint;
    // The same press in screen coordinates: a window moves by exactly as much
    // as the pointer has since.
    QPoint pressGlobal;
    QPoint grabPoint;
    bool dragging { false };
    QSize dragClientSize;
    int hour { 0 }, minute { 0 }, second { 0 };
    // The last failure to open something that a box told, and when its box
    // closed: the same failure again soon after is not told twice.
    QString lastFailureTold;
    QDateTime lastFailureToldAt;

    void addTimerItem(TSpButton* item);
    // Something a timer-driven item shows may change at the next second (an
    // item came, the pointer moved onto one): the refresh timer, which may
    // be sleeping longer, ticks then.
    std::function<void()> tickWanted;
    void wantTick()
    {
        if (tickWanted)
            tickWanted();
    }
    // While the timer sleeps, the countdowns of the ticks it skipped wait for
    // its next tick; whoever reads an item's stored fields has them brought
    // up to date first.
    std::function<void()> ticksOwed;
    void catchUpTicks()
    {
        if (ticksOwed)
            ticksOwed();
    }
    void removeTimerItem(TSpButton* item);
    // Takes many items out in one pass over the list.
    void removeTimerItems(const QList<TSpButton*>& items);

    // The one hint window, made on first use.
    tolm::items::HintWindow& hintWindow();
    void hideHint();

private:
    std::unique_ptr<tolm::items::HintWindow> m_hintWindow;
    // The items of timerItems, so that adding and taking out need not search
    // the list: a shelf may hold thousands of them.
    QSet<const TSpButton*> m_timerSet;
};
