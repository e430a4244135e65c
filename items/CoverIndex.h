#pragma once

#include <QHash>
#include <QList>
#include <QRect>

class QWidget;

namespace tolm::items {

// Which children of a window lie over which: the answer TSpButton::isCovered
// gives for one item, for any number of items at a cost that grows with the
// children near each rather than with all the window holds. Children are
// filed by their bounds in square cells, each cell listing them bottom to top.
class CoverIndex {
public:
    // An index of nothing; children are filed with add().
    CoverIndex() = default;
    // Files every shown child of `window` that is not a window itself, in
    // z-order.
    explicit CoverIndex(const QWidget* window);

    // Files `child` above everything filed so far.
    void add(const QWidget* child);
    // Files a child-to-be at `bounds` above everything filed so far.
    void add(const QRect& bounds);

    // Whether a filed child above `child` holds one of its sample points
    // (every tenth pixel across and down from its top left corner), the way
    // a click there would reach the other child. A hidden child counts as
    // covered; one that was never filed lies below everything filed.
    bool covered(const QWidget* child) const;
    // Whether anything filed holds a sample point of `area`: the same
    // question for a child at `area` below everything.
    bool covered(const QRect& area) const;

private:
    struct Entry {
        QRect bounds;
        const QWidget* widget { nullptr };
    };
    static constexpr int kCellShift = 6; // 64-pixel cells
    // A child spanning more cells than this is kept out of the cells and
    // checked against every query instead.
    static constexpr qint64 kMostCells = 256;

    static quint64 cellKey(qint64 cx, qint64 cy);
    static bool coveredBy(const Entry& entry, const QRect& area, const QWidget* child);
    void file(const QRect& bounds, const QWidget* child);
    bool coveredAbove(const QRect& area, int own, const QWidget* child) const;

    QList<Entry> m_entries; // z-order: index 0 at the bottom
    QHash<const QWidget*, int> m_z;
    QHash<quint64, QList<int>> m_cells;
    QList<int> m_large;
};

} // namespace tolm::items
