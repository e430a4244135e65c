#include "items/CoverIndex.h"

#include <QWidget>
#include <algorithm>

namespace tolm::items {

namespace {

// Whether some point area.left + 10 i (i >= 0, up to area's far edge) lies in [from, to].
bool sampleWithin(qint64 start, qint64 end, qint64 from, qint64 to)
{
    from = std::max(from, start);
    to = std::min(to, end);
    if (from > to)
        return false;
    const qint64 first = start + (from - start + 9) / 10 * 10;
    return first <= to;
}

} // namespace

CoverIndex::CoverIndex(const QWidget* window)
{
    for (const QObject* object : window->children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (child && !child->isHidden() && !child->isWindow())
            add(child);
    }
}

quint64 CoverIndex::cellKey(qint64 cx, qint64 cy)
{
    return (quint64(quint32(qint32(cx))) << 32) | quint32(qint32(cy));
}

void CoverIndex::add(const QWidget* child)
{
    m_z.insert(child, int(m_entries.size()));
    file(child->geometry(), child);
}

void CoverIndex::add(const QRect& bounds)
{
    file(bounds, nullptr);
}

void CoverIndex::file(const QRect& bounds, const QWidget* child)
{
    const int z = int(m_entries.size());
    m_entries.append({ bounds, child });
    if (bounds.isEmpty())
        return;
    const qint64 x0 = qint64(bounds.left()) >> kCellShift;
    const qint64 x1 = qint64(bounds.right()) >> kCellShift;
    const qint64 y0 = qint64(bounds.top()) >> kCellShift;
    const qint64 y1 = qint64(bounds.bottom()) >> kCellShift;
    if ((x1 - x0 + 1) * (y1 - y0 + 1) > kMostCells) {
        m_large.append(z);
        return;
    }
    for (qint64 cy = y0; cy <= y1; ++cy) {
        for (qint64 cx = x0; cx <= x1; ++cx)
            m_cells[cellKey(cx, cy)].append(z);
    }
}

bool CoverIndex::coveredBy(const Entry& entry, const QRect& area, const QWidget* child)
{
    return (!child || entry.widget != child) && !entry.bounds.isEmpty()
        && sampleWithin(area.left(), area.right(), entry.bounds.left(), entry.bounds.right())
        && sampleWithin(area.top(), area.bottom(), entry.bounds.top(), entry.bounds.bottom());
}

bool CoverIndex::covered(const QWidget* child) const
{
    if (child->isHidden())
        return true;
    return coveredAbove(child->geometry(), m_z.value(child, -1), child);
}

bool CoverIndex::covered(const QRect& area) const
{
    return coveredAbove(area, -1, nullptr);
}

bool CoverIndex::coveredAbove(const QRect& area, int own, const QWidget* child) const
{
    if (area.isEmpty())
        return false;
    for (const int z : m_large) {
        if (z > own && coveredBy(m_entries.at(z), area, child))
            return true;
    }
    const qint64 x0 = qint64(area.left()) >> kCellShift;
    const qint64 x1 = qint64(area.right()) >> kCellShift;
    const qint64 y0 = qint64(area.top()) >> kCellShift;
    const qint64 y1 = qint64(area.bottom()) >> kCellShift;
    for (qint64 cy = y0; cy <= y1; ++cy) {
        for (qint64 cx = x0; cx <= x1; ++cx) {
            const auto cell = m_cells.constFind(cellKey(cx, cy));
            if (cell == m_cells.cend())
                continue;
            // From the top down: in a pile the first one above decides.
            for (auto it = cell->crbegin(); it != cell->crend() && *it > own; ++it) {
                if (coveredBy(m_entries.at(*it), area, child))
                    return true;
            }
        }
    }
    return false;
}

} // namespace tolm::items
