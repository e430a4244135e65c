#pragma once

#include "store/Components.h"

#include <QDateTime>
#include <QImage>
#include <QString>

class TSpButton;

namespace tolm::items {

// What an item does differently by its kind (`Clase`): how it is activated,
// what picture it draws and how the timer refreshes it, which popup menu it
// has, what it needs when it arrives on a window and what a new one starts
// with. The item keeps the stored fields; its kind gives them their meaning.
class ItemKind {
public:
    virtual ~ItemKind() = default;
    ItemKind(const ItemKind&) = delete;
    ItemKind& operator=(const ItemKind&) = delete;

    // How an item came to stand on its window.
    enum class Arrival {
        Loaded, // read from the window's file
        Pasted, // a copy of the cut or copied item
    };

    // The popup menu's name in the window's form ("MenuBoton"); empty for a
    // kind without a menu.
    virtual QString menuName() const { return {}; }
    // Refreshed by the application's timer (clocks, drives, memory).
    virtual bool isTimerDriven() const { return false; }
    // Drawn as a flat bevelled tile with a picture of its own, rather than as
    // a button with a glyph and a caption.
    virtual bool isTile() const { return true; }

    // A click, Enter or autorun.
    virtual void activate(TSpButton&) const { }
    // Fills the fields of an item just made from a menu command.
    virtual void setUpNew(TSpButton&) const { }
    // What an item needs once it stands on its window.
    virtual void arrive(TSpButton& item, Arrival how) const;

    // A launcher's or a folder's glyph as its fields say; null for a tile.
    virtual QImage buttonGlyph(const TSpButton&) const { return {}; }
    // Draws the kind's picture onto the item's surface where it changed.
    virtual void drawPicture(TSpButton&) const { }
    // A full paint of a tile after its bevel and face: the picture and text
    // drawn whole.
    virtual void drawTile(TSpButton&) const { }
    // The picture that drawPicture() or buttonGlyph() makes, drawn again for
    // a screen of `ratio` device pixels to the pixel, with that ratio set on
    // the image; null when the kind has nothing finer than its 1x picture.
    virtual QImage sharpPicture(const TSpButton&, qreal /*ratio*/) const { return {}; }
    // A full paint of a tile shown as text only, before its button face.
    virtual void drawText(TSpButton&) const { }
    // One tick of the refresh timer; `full` when the item must be painted
    // whole (it is covered, or something is being dragged).
    virtual void refreshOnTick(TSpButton&, bool /*full*/) const { }
    // How many of the ticks after the one at `now` can pass without touching
    // the item: none of them would change its picture, text, hint or stored
    // fields beyond what skipTicks() does. 0 when the very next tick may.
    virtual int quietTicks(const TSpButton&, const QDateTime& /*now*/) const { return kQuietForever; }
    // Does for the item what `ticks` quiet ticks would have done.
    virtual void skipTicks(TSpButton&, int /*ticks*/) const { }
    static constexpr int kQuietForever = 1 << 30;
    // Takes out of a stored item what its refreshes rewrite on their own.
    virtual void clearTickFields(store::SpButtonState&) const { }

    // What a screen reader calls the item.
    virtual QString accessibleLabel(const TSpButton& item) const;

protected:
    ItemKind() = default;
};

// The kind of a stored `Clase` value. A value no kind claims gets a tile
// that does nothing, as a resources tile.
const ItemKind& kindOf(int clase);
inline const ItemKind& kindOf(store::Clase clase)
{
    return kindOf(static_cast<int>(clase));
}

} // namespace tolm::items
