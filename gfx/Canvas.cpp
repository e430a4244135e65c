#include "gfx/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <climits>
#include <cmath>
#include <vector>

namespace tolm::gfx {

namespace {

constexpr int dotsPerMeter96 = 3780;
constexpr std::uint8_t copyTable = 0xCC;
constexpr std::uint8_t patCopyTable = 0xF0;
// Shapes larger than this are not pictures anyone draws; refusing them keeps the
// arithmetic below inside 128 bits.
constexpr int maxShapeSide = 1 << 24;

// GCC and Clang have 128-bit integers; ISO C++ does not name them.
__extension__ using Int128 = __int128;

std::int64_t ceilDiv(Int128 a, Int128 b)
{
    return std::int64_t(a >= 0 ? (a + b - 1) / b : -((-a) / b));
}

// The octants of a line, counted clockwise from +x on the screen, as 1 to 8.
int octantOf(int dx, int dy)
{
    if (dy > 0) {
        if (dx > 0)
            return dx > dy ? 1 : 2;
        return -dx > dy ? 4 : 3;
    }
    if (dx < 0)
        return -dx > -dy ? 5 : 6;
    return dx > -dy ? 8 : 7;
}

// Walks the one-pixel line from a towards b, leaving b out. When the ideal line
// passes exactly halfway between two pixels, lines in octants 3, 5, 6 and 8 take
// the other one; this is what makes a line drawn back from b to a cover the same
// pixels as a line drawn from a to b would with its ends swapped, as on Windows.
// Steps along the major axis that lie outside `window` are skipped arithmetically,
// so a long line costs only the part that can be seen.
template <class Visit> void walkLine(QPoint a, QPoint b, const Rect& window, Visit&& visit)
{
    const std::int64_t dx = std::int64_t(b.x()) - a.x();
    const std::int64_t dy = std::int64_t(b.y()) - a.y();
    if (dx == 0 && dy == 0)
        return;
    const int oct = octantOf(int(std::clamp<std::int64_t>(dx, INT_MIN, INT_MAX)),
        int(std::clamp<std::int64_t>(dy, INT_MIN, INT_MAX)));
    const bool xMajor = oct == 1 || oct == 4 || oct == 5 || oct == 8;
    const int bias = (oct == 3 || oct == 5 || oct == 6 || oct == 8) ? 1 : 0;
    const std::int64_t major = xMajor ? std::abs(dx) : std::abs(dy);
    const std::int64_t minor = xMajor ? std::abs(dy) : std::abs(dx);
    const int majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int minorStep = (xMajor ? dy : dx) > 0 ? 1 : -1;
    const std::int64_t majorStart = xMajor ? a.x() : a.y();
    const std::int64_t minorStart = xMajor ? a.y() : a.x();
    const std::int64_t lo = xMajor ? window.left : window.top;
    const std::int64_t hi = xMajor ? window.right : window.bottom; // exclusive
    const std::int64_t minorLo = xMajor ? window.top : window.left;
    const std::int64_t minorHi = xMajor ? window.bottom : window.right;

    std::int64_t first = 0;
    std::int64_t last = major - 1;
    if (majorStep > 0) {
        first = std::max(first, lo - majorStart);
        last = std::min(last, hi - 1 - majorStart);
    } else {
        first = std::max(first, majorStart - (hi - 1));
        last = std::min(last, majorStart - lo);
    }
    if (first > last)
        return;

    // After m major steps the error term is 2*minor - major + 2*m*minor - 2*n*major,
    // where n, the minor steps taken, is the one value keeping it in its band.
    // A line across the whole int range needs more than 64 bits for the products.
    const Int128 skipped = Int128(2) * first * minor;
    const std::int64_t n = ceilDiv(skipped + bias - major, Int128(2) * major);
    std::int64_t err = std::int64_t(2 * minor - major + skipped - Int128(2) * n * major);
    std::int64_t maj = majorStart + first * majorStep;
    std::int64_t min = minorStart + n * minorStep;
    for (std::int64_t m = first; m <= last; ++m) {
        if (min >= minorLo && min < minorHi) {
            if (xMajor)
                visit(int(maj), int(min));
            else
                visit(int(min), int(maj));
        } else if ((minorStep > 0 && min >= minorHi) || (minorStep < 0 && min < minorLo)) {
            break;
        }
        if (err + bias > 0) {
            min += minorStep;
            err += 2 * minor - 2 * major;
        } else {
            err += 2 * minor;
        }
        maj += majorStep;
    }
}

const QImage& metricsDevice()
{
    static const QImage device = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        img.setDotsPerMeterX(dotsPerMeter96);
        img.setDotsPerMeterY(dotsPerMeter96);
        return img;
    }();
    return device;
}

} // namespace

Canvas::Canvas(QImage& target)
    : m_image(target)
{
    if (!m_image.isNull() && m_image.format() != QImage::Format_RGB32)
        m_image = m_image.convertToFormat(QImage::Format_RGB32);
    m_image.setDotsPerMeterX(dotsPerMeter96);
    m_image.setDotsPerMeterY(dotsPerMeter96);
    m_clip = { 0, 0, m_image.width(), m_image.height() };
}

void Canvas::setPen(Color color, int width, PenMode mode)
{
    m_penColor = color;
    m_penWidth = std::clamp(width, 1, 3);
    m_penMode = mode;
}

void Canvas::setBrush(Color color)
{
    m_brushColor = color;
    m_brushSolid = true;
}

void Canvas::setTextBackground(Color color, bool opaque)
{
    m_textBackground = color;
    m_textOpaque = opaque;
}

void Canvas::setClipRect(const Rect& r)
{
    m_clip = r.intersected({ 0, 0, m_image.width(), m_image.height() });
}

QRgb Canvas::pixel(int x, int y) const
{
    if (!m_image.rect().contains(x, y))
        return 0;
    return m_image.pixel(x, y);
}

void Canvas::setPixel(int x, int y, Color color)
{
    if (m_clip.contains(x, y))
        combineRow(y, x, x + 1, nullptr, toQRgb(color), patCopyTable);
}

void Canvas::combineRow(int y, int x0, int x1, const QRgb* src, QRgb pattern, std::uint8_t table)
{
    auto* row = reinterpret_cast<QRgb*>(m_image.scanLine(y));
    combineRun(table, row + x0, src, pattern, x1 - x0);
}

void Canvas::plot(int x, int y, QRgb pattern, std::uint8_t table)
{
    combineRow(y, x, x + 1, nullptr, pattern, table);
}

void Canvas::lineTo(int x, int y)
{
    const QPoint from = m_pos;
    m_pos = { x, y };
    strokeLine(from, m_pos);
}

void Canvas::strokeLine(QPoint a, QPoint b)
{
    if (m_clip.isEmpty())
        return;
    const QRgb pen = toQRgb(m_penColor);
    const std::uint8_t table = penModeTable(m_penMode);
    if (m_penWidth == 1) {
        walkLine(a, b, m_clip, [&](int x, int y) { plot(x, y, pen, table); });
        return;
    }

    // Wide pens: gather the stamped squares as one span per row first, so that a
    // pixel covered by several stamps is still mixed only once.
    const int before = (m_penWidth - 1) / 2 + (m_penWidth % 2 == 0 ? 1 : 0);
    const int after = m_penWidth - 1 - before;
    const Rect reach = m_clip.inflated(m_penWidth, m_penWidth);
    const int top = std::max(saturated(std::int64_t(std::min(a.y(), b.y())) - before), m_clip.top);
    const int bottom = std::min(saturated(std::int64_t(std::max(a.y(), b.y())) + after + 1), m_clip.bottom);
    if (top >= bottom)
        return;
    std::vector<std::pair<int, int>> spans(std::size_t(bottom - top), { INT_MAX, INT_MIN });
    auto stamp = [&](int x, int y) {
        for (int sy = y - before; sy <= y + after; ++sy) {
            if (sy < top || sy >= bottom)
                continue;
            auto& s = spans[std::size_t(sy - top)];
            s.first = std::min(s.first, x - before);
            s.second = std::max(s.second, x + after);
        }
    };
    walkLine(a, b, reach, stamp);
    if (reach.contains(b.x(), b.y()))
        stamp(b.x(), b.y());
    for (int y = top; y < bottom; ++y) {
        const auto& s = spans[std::size_t(y - top)];
        const int x0 = std::max(s.first, m_clip.left);
        const int x1 = std::min(s.second + 1, m_clip.right);
        if (x0 < x1)
            combineRow(y, x0, x1, nullptr, pen, table);
    }
}

void Canvas::fillRect(const Rect& r)
{
    fillRect(r, m_brushColor);
}

void Canvas::fillRect(const Rect& r, Color color)
{
    const Rect d = r.intersected(m_clip);
    if (d.isEmpty())
        return;
    const QRgb pattern = toQRgb(color);
    for (int y = d.top; y < d.bottom; ++y)
        combineRow(y, d.left, d.right, nullptr, pattern, patCopyTable);
}

void Canvas::frameRect(const Rect& r)
{
    frameRect(r, m_brushColor);
}

void Canvas::frameRect(const Rect& r, Color color)
{
    if (r.isEmpty())
        return;
    fillRect({ r.left, r.top, r.right, r.top + 1 }, color);
    fillRect({ r.left, r.bottom - 1, r.right, r.bottom }, color);
    fillRect({ r.left, r.top + 1, r.left + 1, r.bottom - 1 }, color);
    fillRect({ r.right - 1, r.top + 1, r.right, r.bottom - 1 }, color);
}

void Canvas::ellipse(const Rect& r)
{
    shapeFill(r, false, {}, {});
}

void Canvas::pie(const Rect& r, QPoint from, QPoint to)
{
    shapeFill(r, true, from, to);
}

void Canvas::shapeFill(const Rect& logical, bool isPie, QPoint from, QPoint to)
{
    const Rect r { std::min(logical.left, logical.right), std::min(logical.top, logical.bottom),
        std::max(logical.left, logical.right), std::max(logical.top, logical.bottom) };
    if (r.isEmpty() || r.width() > maxShapeSide || r.height() > maxShapeSide)
        return;
    const Rect c = r.intersected(m_clip);
    if (c.isEmpty())
        return;

    // Everything below works in doubled coordinates so that the centre and the pixel
    // centres are whole numbers: pixel x has its centre at 2x+1, the ellipse its
    // centre at left+right and the half-axes are width and height.
    const std::int64_t sumX = std::int64_t(r.left) + r.right;
    const std::int64_t sumY = std::int64_t(r.top) + r.bottom;
    const Int128 w = r.width();
    const Int128 h = r.height();
    auto inEllipse = [&](int x, int y) {
        const Int128 ex = 2 * std::int64_t(x) + 1 - sumX;
        const Int128 ey = 2 * std::int64_t(y) + 1 - sumY;
        return ex * ex * h * h + ey * ey * w * w <= w * w * h * h;
    };

    // Angles are measured with y pointing up, so counter-clockwise is as seen.
    const double startX = 2.0 * from.x() - double(sumX), startY = double(sumY) - 2.0 * from.y();
    const double endX = 2.0 * to.x() - double(sumX), endY = double(sumY) - 2.0 * to.y();
    const double twoPi = 2.0 * M_PI;
    auto norm = [&](double a) {
        a = std::fmod(a, twoPi);
        return a < 0 ? a + twoPi : a;
    };
    const double startAngle = std::atan2(startY, startX);
    const double sweep = norm(std::atan2(endY, endX) - startAngle);
    const bool whole = !isPie || sweep == 0.0;
    auto inside = [&](int x, int y) {
        if (!inEllipse(x, y))
            return false;
        if (whole)
            return true;
        const double vx = 2.0 * x + 1 - double(sumX), vy = double(sumY) - (2.0 * y + 1);
        if (vx == 0 && vy == 0)
            return true;
        return norm(std::atan2(vy, vx) - startAngle) <= sweep + 1e-9;
    };

    enum : std::uint8_t { Outside, Brush, Pen };
    const int cw = c.width();
    std::vector<std::uint8_t> mask(std::size_t(cw) * std::size_t(c.height()), Outside);
    auto at = [&](int x, int y) -> std::uint8_t& {
        return mask[std::size_t(y - c.top) * std::size_t(cw) + std::size_t(x - c.left)];
    };
    for (int y = c.top; y < c.bottom; ++y) {
        for (int x = c.left; x < c.right; ++x) {
            if (!inside(x, y))
                continue;
            const bool edge
                = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            at(x, y) = edge ? Pen : Brush;
        }
    }
    if (!whole) {
        // A narrow wedge may hold no pixel centre; its radials are still drawn.
        const QPoint centre(int((sumX - 1) >> 1), int((sumY - 1) >> 1));
        for (auto [vx, vy] : { std::pair { startX, startY }, std::pair { endX, endY } }) {
            const double len
                = std::sqrt((vx / double(w)) * (vx / double(w)) + (vy / double(h)) * (vy / double(h)));
            if (len == 0)
                continue;
            const QPoint rim(int(std::lround((double(sumX) + vx / len - 1) / 2)),
                int(std::lround((double(sumY) - vy / len - 1) / 2)));
            auto mark = [&](int x, int y) {
                if (inEllipse(x, y))
                    at(x, y) = Pen;
            };
            walkLine(centre, rim, c, mark);
            if (c.contains(rim.x(), rim.y()))
                mark(rim.x(), rim.y());
        }
    }

    const std::uint8_t table = penModeTable(m_penMode);
    const QRgb pen = toQRgb(m_penColor);
    const QRgb brush = toQRgb(m_brushColor);
    for (int y = c.top; y < c.bottom; ++y) {
        int x = c.left;
        while (x < c.right) {
            const std::uint8_t kind = at(x, y);
            int end = x + 1;
            while (end < c.right && at(end, y) == kind)
                ++end;
            if (kind == Pen)
                combineRow(y, x, end, nullptr, pen, table);
            else if (kind == Brush && m_brushSolid)
                combineRow(y, x, end, nullptr, brush, table);
            x = end;
        }
    }
}

void Canvas::patBlt(const Rect& r, std::uint32_t ropCode)
{
    const std::uint8_t table = ropTable(ropCode);
    if (ropUsesSource(table))
        return;
    const Rect d = r.intersected(m_clip);
    const QRgb pattern = toQRgb(m_brushColor);
    for (int y = d.top; y < d.bottom; ++y)
        combineRow(y, d.left, d.right, nullptr, pattern, table);
}

void Canvas::bitBlt(int x, int y, int w, int h, const QImage& src, int sx, int sy, std::uint32_t ropCode)
{
    const std::uint8_t table = ropTable(ropCode);
    if (!ropUsesSource(table)) {
        patBlt(Rect::fromSize(x, y, w, h), ropCode);
        return;
    }
    if (src.isNull() || w <= 0 || h <= 0)
        return;
    // Shift the destination by whatever part of the source rectangle lies outside
    // the source, then by whatever part of the destination is clipped.
    const Rect want = Rect::fromSize(sx, sy, w, h);
    const Rect have = want.intersected({ 0, 0, src.width(), src.height() });
    if (have.isEmpty())
        return;
    // Source row and column of destination pixel (0, 0); far-out positions
    // need more than 32 bits.
    const std::int64_t toSrcX = std::int64_t(sx) - std::int64_t(x);
    const std::int64_t toSrcY = std::int64_t(sy) - std::int64_t(y);
    const Rect d = Rect { saturated(have.left - toSrcX), saturated(have.top - toSrcY),
        saturated(have.right - toSrcX), saturated(have.bottom - toSrcY) }
                       .intersected(m_clip);
    if (d.isEmpty())
        return;

    QImage source = src;
    if (source.format() != QImage::Format_RGB32 && source.format() != QImage::Format_ARGB32)
        source = source.convertToFormat(QImage::Format_RGB32);
    else if (source.constBits() == m_image.constBits())
        source = source.copy();
    const QRgb pattern = toQRgb(m_brushColor);
    for (int row = d.top; row < d.bottom; ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(int(row + toSrcY)));
        combineRow(row, d.left, d.right, line + (d.left + toSrcX), pattern, table);
    }
}

void Canvas::stretchBlt(const Rect& dst, const QImage& src, const Rect& srcRect, std::uint32_t ropCode)
{
    const std::uint8_t table = ropTable(ropCode);
    if (src.isNull() || dst.isEmpty() || srcRect.isEmpty())
        return;
    const Rect d = dst.intersected(m_clip);
    if (d.isEmpty())
        return;
    QImage source = src.format() == QImage::Format_RGB32 ? src : src.convertToFormat(QImage::Format_RGB32);
    if (source.constBits() == m_image.constBits())
        source = source.copy();
    const std::int64_t dw = dst.width(), dh = dst.height();
    const std::int64_t sw = srcRect.width(), sh = srcRect.height();
    auto mapX = [&](int x) {
        return std::int64_t(srcRect.left) + ((2 * std::int64_t(x - dst.left) + 1) * sw) / (2 * dw);
    };
    auto mapY = [&](int y) {
        return std::int64_t(srcRect.top) + ((2 * std::int64_t(y - dst.top) + 1) * sh) / (2 * dh);
    };

    std::vector<QRgb> buffer(std::size_t(d.width()));
    const QRgb pattern = toQRgb(m_brushColor);
    for (int y = d.top; y < d.bottom; ++y) {
        const std::int64_t fy = mapY(y);
        if (fy < 0 || fy >= source.height())
            continue;
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(int(fy)));
        // Runs of destination pixels whose source lies inside the bitmap.
        int x = d.left;
        while (x < d.right) {
            std::int64_t fx = mapX(x);
            if (fx < 0 || fx >= source.width()) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < d.right && (fx = mapX(x)) >= 0 && fx < source.width()) {
                buffer[std::size_t(x - start)] = line[fx];
                ++x;
            }
            combineRow(y, start, x, buffer.data(), pattern, table);
        }
    }
}

void Canvas::drawTransparent(int x, int y, const QImage& glyph)
{
    if (glyph.isNull())
        return;
    drawTransparent(x, y, glyph, glyph.pixel(0, glyph.height() - 1));
}

void Canvas::drawTransparent(int x, int y, const QImage& glyph, QRgb transparent)
{
    if (glyph.isNull())
        return;
    const QImage source
        = glyph.format() == QImage::Format_RGB32 ? glyph : glyph.convertToFormat(QImage::Format_RGB32);
    // A glyph far out needs more than 32 bits to say where its pixels would be.
    const std::int64_t left = x;
    const std::int64_t top = y;
    const Rect d = Rect { saturated(left), saturated(top), saturated(left + source.width()),
        saturated(top + source.height()) }
                       .intersected(m_clip);
    transparent &= 0x00FFFFFFu;
    for (int row = d.top; row < d.bottom; ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(int(row - top)));
        auto at = [&](int col) { return line[col - left]; };
        int col = d.left;
        while (col < d.right) {
            if ((at(col) & 0x00FFFFFFu) == transparent) {
                ++col;
                continue;
            }
            const int start = col;
            while (col < d.right && (at(col) & 0x00FFFFFFu) != transparent)
                ++col;
            combineRow(row, start, col, &line[start - left], 0, copyTable);
        }
    }
}

void Canvas::textRect(const Rect& r, int x, int y, const QString& text)
{
    if (m_brushSolid)
        fillRect(r);
    drawText(r.intersected(m_clip), x, y, text);
}

void Canvas::drawText(const Rect& clip, int x, int y, const QString& text)
{
    if (clip.isEmpty() || text.isEmpty())
        return;
    const QFontMetrics metrics(m_font, &m_image);
    if (m_textOpaque) {
        const Rect cell
            = Rect::fromSize(x, y, metrics.horizontalAdvance(text), metrics.height()).intersected(clip);
        const QRgb background = toQRgb(m_textBackground);
        for (int row = cell.top; row < cell.bottom; ++row)
            combineRow(row, cell.left, cell.right, nullptr, background, patCopyTable);
    }
    QPainter painter(&m_image);
    painter.setClipRect(clip.toQRect());
    painter.setFont(m_font);
    painter.setPen(toQColor(m_textColor));
    painter.drawText(QPoint(x, saturated(std::int64_t(y) + metrics.ascent())), text);
}

int Canvas::textWidth(const QString& text) const
{
    return QFontMetrics(m_font, &m_image).horizontalAdvance(text);
}

int Canvas::textHeight(const QString&) const
{
    return QFontMetrics(m_font, &m_image).height();
}

int Canvas::textWidth(const QFont& font, const QString& text)
{
    return QFontMetrics(font, &metricsDevice()).horizontalAdvance(text);
}

int Canvas::textHeight(const QFont& font)
{
    return QFontMetrics(font, &metricsDevice()).height();
}

} // namespace tolm::gfx
