#pragma once

#include <QRect>
#include <algorithm>
#include <climits>
#include <cstdint>

namespace tolm::gfx {

// A sum or difference of coordinates, held at the ends of the int range instead
// of wrapping: a rectangle that far out lies outside every bitmap anyway.
constexpr int saturated(std::int64_t v)
{
    return int(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

// A rectangle as the pictures describe it: (left, top) is inside, (right, bottom) is
// the first column and row outside. QRect's inclusive right() invites off-by-one
// slips, so drawing code speaks in these. Its arithmetic saturates, so a caller may
// hand it any coordinates.
struct Rect {
    int left { 0 };
    int top { 0 };
    int right { 0 };
    int bottom { 0 };

    constexpr int width() const { return saturated(std::int64_t(right) - left); }
    constexpr int height() const { return saturated(std::int64_t(bottom) - top); }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr Rect translated(int dx, int dy) const
    {
        return { saturated(std::int64_t(left) + dx), saturated(std::int64_t(top) + dy),
            saturated(std::int64_t(right) + dx), saturated(std::int64_t(bottom) + dy) };
    }
    constexpr Rect inflated(int dx, int dy) const
    {
        return { saturated(std::int64_t(left) - dx), saturated(std::int64_t(top) - dy),
            saturated(std::int64_t(right) + dx), saturated(std::int64_t(bottom) + dy) };
    }
    constexpr Rect intersected(const Rect& o) const
    {
        return { std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom) };
    }
    QRect toQRect() const { return isEmpty() ? QRect() : QRect(left, top, width(), height()); }
    static constexpr Rect fromSize(int x, int y, int w, int h)
    {
        return { x, y, saturated(std::int64_t(x) + w), saturated(std::int64_t(y) + h) };
    }
    static Rect fromQRect(const QRect& r)
    {
        return { r.left(), r.top(), saturated(std::int64_t(r.left()) + r.width()),
            saturated(std::int64_t(r.top()) + r.height()) };
    }
    constexpr bool operator==(const Rect&) const = default;
};

} // namespace tolm::gfx
