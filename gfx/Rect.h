#pragma once

#include <QRect>
#include <algorithm>

namespace tolm::gfx {

// A rectangle as the pictures describe it: (left, top) is inside, (right, bottom) is
// the first column and row outside. QRect's inclusive right() invites off-by-one
// slips, so drawing code speaks in these.
struct Rect {
    int left { 0 };
    int top { 0 };
    int right { 0 };
    int bottom { 0 };

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr Rect translated(int dx, int dy) const
    {
        return { left + dx, top + dy, right + dx, bottom + dy };
    }
    constexpr Rect inflated(int dx, int dy) const { return { left - dx, top - dy, right + dx, bottom + dy }; }
    constexpr Rect intersected(const Rect& o) const
    {
        return { std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom) };
    }
    QRect toQRect() const { return isEmpty() ? QRect() : QRect(left, top, width(), height()); }
    static constexpr Rect fromSize(int x, int y, int w, int h) { return { x, y, x + w, y + h }; }
    static Rect fromQRect(const QRect& r)
    {
        return { r.left(), r.top(), r.left() + r.width(), r.top() + r.height() };
    }
    constexpr bool operator==(const Rect&) const = default;
};

} // namespace tolm::gfx
