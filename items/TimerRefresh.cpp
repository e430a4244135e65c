#include "items/ChildAt.h"
#include "items/ItemReports.h"
#include "items/ShelfState.h"
#include "items/TSpButton.h"

#include <QCursor>

using tolm::store::Clase;

namespace tolm::items {

bool pointerRestsOn(const TSpButton& item)
{
    const QWidget* window = item.parentWidget();
    return window && topChildAt(window, window->mapFromGlobal(QCursor::pos()), true) == &item;
}

namespace {

void repaintNow(TSpButton& item, bool full)
{
    if (full) {
        item.update();
        return;
    }
    // In place: only the picture is redrawn over what is on screen.
    item.refreshInPlace();
}

} // namespace

void refreshOnTick(TSpButton& item)
{
    const ShelfState& state = ShelfState::get();
    const bool full = state.dragging || (item.Tag() & TSpButton::kTagCovered);
    switch (item.clase()) {
    case Clase::Reloj:
        repaintNow(item, full);
        item.announceLabelChange();
        break;
    case Clase::Disco:
    case Clase::Memoria: {
        const int tag2 = item.tag2();
        const int period = (tag2 >> 8) & 0xFF;
        const int countdown = tag2 & 0xFF;
        const bool watched = state.hoveredItem == &item || state.workingCopy == &item;
        const bool hoveredHere = watched && pointerRestsOn(item);
        const bool due = (countdown == 0 && tag2 != 0) || hoveredHere;
        if (due) {
            item.settag2((tag2 & ~0xFF) | period);
            if (full)
                item.settag1(-1);
            repaintNow(item, full);
            // Screen readers hear a new figure at most once per refresh.
            item.announceLabelChange();
        } else if (countdown != 0) {
            item.settag2(tag2 - 1);
        } else {
            item.settag2((tag2 & ~0xFF) | period);
        }
        break;
    }
    default:
        break;
    }
}

void clearTickFields(store::SpButtonState& state)
{
    switch (static_cast<Clase>(state.clase)) {
    case Clase::Reloj:
        // A text clock's caption is its time.
        if (state.tag & TSpButton::kTagTextClock)
            state.caption.clear();
        state.tag2 = 0;
        break;
    case Clase::Disco:
        state.tag &= ~TSpButton::kTagDriveTypeMask;
        state.tag2 &= ~0xFF;
        break;
    case Clase::Memoria:
        state.tag2 &= ~0xFF;
        break;
    default:
        return;
    }
    state.hint.clear();
    state.comando.clear();
    state.tag1 = 0;
}

} // namespace tolm::items
