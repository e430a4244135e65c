#pragma once

#include "store/Components.h"

#include <QList>
#include <QPoint>

class TSpButton;

namespace tolm::items {

// What an item needs from the window it stands on. The shelf window
// implements it; an item finds it through its parent widget, so an item
// that stands on anything else (the properties dialog's sample) has none.
class ItemHost {
public:
    // The font of every item that follows its window's font.
    virtual const store::FontState& defaultFont() const = 0;
    // "Siempre botones": items are drawn as buttons even when not hovered.
    virtual bool alwaysButtons() const = 0;
    // The items in saved order; destroyed items show up as null entries.
    virtual QList<TSpButton*> items() const = 0;
    // Moves `item` to the end of the saved order: a dragged item is saved
    // last, so it is drawn on top after the next load.
    virtual void moveToEndOfItemList(TSpButton* item) = 0;
    // A Ctrl-drag on an item moves the window (the pointer in screen
    // coordinates; the press was recorded in ShelfState).
    virtual void windowMouseMove(const QPoint& global, Qt::MouseButtons buttons) = 0;

    static ItemHost* of(const TSpButton* item);

protected:
    ~ItemHost() = default;
};

} // namespace tolm::items
