#pragma once

#include <QDateTime>
#include <QString>

namespace tolm::store {
struct SpButtonState;
}

class TSpButton;

namespace tolm::items {

// What a drive tile's refresh found, handed to the properties dialog while
// the tile is the dialog's working copy.
struct DriveReport {
    QString caption; // "SISTEMA (C:\)"; " (C:\)" without a label
    int type { 0 }; // drive type code
    QString fileSystem;
    bool volumeRead { false };
    bool compressed { false };
    bool sizesRead { false };
    quint64 totalBytes { 0 };
    quint64 freeBytes { 0 }; // what the user can write
    quint64 usedBytes { 0 }; // what files take, root's reserve left out
};

// What a memory tile's refresh found (64-bit byte counts).
struct MemoryReport {
    int load { 0 };
    quint64 totalPhysical { 0 }, availablePhysical { 0 };
    quint64 totalPageFile { 0 }, availablePageFile { 0 };
};

// One tick of the refresh timer for one item: clocks every second, drives
// and memory tiles when their countdown runs out or while the pointer rests
// on them.
void refreshOnTick(TSpButton& item);
// How many of the ticks after the one at `now` the item can do without
// (ItemKind::quietTicks): the properties dialog's working copy none.
int quietTicks(const TSpButton& item, const QDateTime& now);
// What `ticks` skipped quiet ticks would have done to the item.
void skipTicks(TSpButton& item, int ticks);
// Whether the mouse pointer rests on the item (the topmost enabled control
// of its window under the pointer is the item).
bool pointerRestsOn(const TSpButton& item);
// A stored item without what its refresh rewrites on its own (the figures,
// hint and texts of a tile, a clock's last hour, a countdown): two states
// that differ only there hold the same work of the user.
void clearTickFields(store::SpButtonState& state);

} // namespace tolm::items
