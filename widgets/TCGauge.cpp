#include "widgets/TCGauge.h"

#include "gfx/Canvas.h"

#include <QPainter>
#include <climits>
#include <cmath>

using tolm::gfx::Canvas;
using tolm::gfx::Rect;
namespace rop = tolm::gfx::rop;

namespace {

constexpr double kPi = 3.141592653589793;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

} // namespace

TCGauge::RangeError::RangeError(std::int32_t low, std::int32_t high)
    : std::runtime_error(QStringLiteral("Value must be between %1 and %2").arg(low).arg(high).toStdString())
{ }

TCGauge::TCGauge(QWidget* parent)
    : QWidget(parent)
{
    // Every pixel of the control is painted from the composed image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    resize(100, 100);
}

std::int32_t TCGauge::percentDone(std::int32_t minValue, std::int32_t maxValue, std::int32_t progress)
{
    if (maxValue == minValue)
        return 0;
    const std::int64_t done = std::int64_t(progress) - minValue;
    const std::int64_t range = std::int64_t(maxValue) - minValue;
    return static_cast<std::int32_t>(floorDiv(100 * done, range));
}

std::int32_t TCGauge::ScaleFromPercent(std::int32_t percent, std::int32_t size)
{
    return static_cast<std::int32_t>(floorDiv(std::int64_t(percent) * size, 100));
}

tolm::gfx::Color TCGauge::Color() const
{
    return tolm::gfx::fromQColor(palette().color(QPalette::Window));
}

void TCGauge::SetMinValue(std::int32_t value)
{
    if (value == m_minValue)
        return;
    if (value > m_maxValue)
        throw RangeError(INT32_MIN, m_maxValue);
    m_minValue = value;
    if (m_progress < m_minValue)
        m_progress = m_minValue;
    repaint();
}

void TCGauge::SetMaxValue(std::int32_t value)
{
    // A maximum of 0 is refused without a word.
    if (value == 0)
        return;
    if (value < m_minValue)
        throw RangeError(m_minValue, INT32_MAX);
    m_maxValue = value;
    if (m_progress > m_maxValue)
        m_progress = m_maxValue;
    repaint();
}

void TCGauge::SetProgress(std::int32_t value)
{
    const std::int32_t before = GetPercentDone();
    if (value < m_minValue)
        value = m_minValue;
    else if (value > m_maxValue)
        value = m_maxValue;
    if (value == m_progress)
        return;
    m_progress = value;
    // Small steps that leave the whole percentage alone cost no paint.
    if (GetPercentDone() != before)
        repaint();
}

void TCGauge::AddProgress(std::int32_t delta)
{
    // Saturates instead of wrapping past the 32-bit range; the clamp follows anyway.
    const std::int64_t sum = std::int64_t(m_progress) + delta;
    SetProgress(static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX)));
    repaint();
}

void TCGauge::SeTCGaugeKind(TCGaugeKind kind)
{
    if (kind == m_kind)
        return;
    m_kind = kind;
    repaint();
}

void TCGauge::SetShowText(bool on)
{
    if (on == m_showText)
        return;
    m_showText = on;
    repaint();
}

void TCGauge::SetBorderStyle(TBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    repaint();
}

void TCGauge::SetForeColor(tolm::gfx::Color color)
{
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    repaint();
}

void TCGauge::SetBackColor(tolm::gfx::Color color)
{
    if (color == m_backColor)
        return;
    m_backColor = color;
    repaint();
}

Rect TCGauge::drawingRect() const
{
    const Rect client { 0, 0, width(), height() };
    return m_borderStyle == bsSingle ? client.inflated(-1, -1) : client;
}

QImage TCGauge::renderImage() const
{
    QImage image(width(), height(), QImage::Format_RGB32);
    Canvas canvas(image);
    PaintBackground(canvas);
    const Rect d = drawingRect();

    QImage overlay(image.size(), QImage::Format_RGB32);
    Canvas overlayCanvas(overlay);
    PaintBackground(overlayCanvas);
    switch (m_kind) {
    case gkText:
        PaintAsNothing(overlayCanvas, d);
        break;
    case gkHorizontalBar:
    case gkVerticalBar:
        PaintAsBar(overlayCanvas, d);
        break;
    case gkPie:
        PaintAsPie(overlayCanvas, d);
        break;
    case gkNeedle:
        PaintAsNeedle(overlayCanvas, d);
        break;
    }
    // The image is black, so XOR leaves exactly the overlay; the margin left
    // black around D is the frame.
    canvas.bitBlt(0, 0, image.width(), image.height(), overlayCanvas.image(), 0, 0, rop::SrcInvert);
    if (m_showText)
        PaintAsText(canvas, d);
    return canvas.image();
}

void TCGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, renderImage());
}

void TCGauge::PaintBackground(Canvas& canvas) const
{
    canvas.patBlt({ 0, 0, canvas.width(), canvas.height() }, rop::Blackness);
}

void TCGauge::PaintAsNothing(Canvas& canvas, const Rect& d) const
{
    canvas.fillRect(d, m_backColor);
}

void TCGauge::PaintAsBar(Canvas& canvas, const Rect& d) const
{
    const int w = d.right - d.left + 1;
    const int h = d.bottom - d.top + 1;
    canvas.fillRect(d, m_backColor);
    canvas.setPen(m_foreColor, 1);
    canvas.setBrush(m_foreColor);
    const std::int32_t percent = GetPercentDone();
    if (m_kind == gkHorizontalBar) {
        const int n = std::min(ScaleFromPercent(percent, w), w);
        // n and h are the right and bottom edges, not extents.
        if (n > 0)
            canvas.fillRect({ d.left, d.top, n, h });
    } else {
        int n = ScaleFromPercent(percent, h);
        // The top row stays unfilled even when full.
        if (n >= h)
            n = h - 1;
        canvas.fillRect({ d.left, h - n, w, h });
    }
}

void TCGauge::PaintAsPie(Canvas& canvas, const Rect& d) const
{
    int w = d.right - d.left;
    int h = d.bottom - d.top;
    if (m_borderStyle == bsSingle) {
        ++w;
        ++h;
    }
    canvas.fillRect(d, Color());
    canvas.setBrush(m_backColor);
    canvas.setPen(m_foreColor, 1);
    const Rect dial { d.left, d.top, w, h };
    canvas.ellipse(dial);
    const std::int32_t percent = GetPercentDone();
    if (percent <= 0)
        return;
    canvas.setBrush(m_foreColor);
    const int mx = w / 2;
    const int my = h / 2;
    const double angle = kPi * (percent * 0.02 + 0.5);
    // The wedge starts at twelve o'clock and grows clockwise, so it is swept
    // counter-clockwise from its far radial back to the top.
    const QPoint from(
        int(std::floor(mx * (1 - std::cos(angle)))), int(std::floor(my * (1 - std::sin(angle)))));
    canvas.pie(dial, from, QPoint(mx, 0));
}

void TCGauge::PaintAsNeedle(Canvas& canvas, const Rect& d) const
{
    const int x = d.left;
    const int y = d.top;
    int w = d.right - d.left;
    int h = d.bottom - d.top;
    if (m_borderStyle == bsSingle) {
        ++w;
        ++h;
    }
    canvas.fillRect(d, Color());
    canvas.setBrush(m_backColor);
    canvas.setPen(m_foreColor, 1);
    // The upper half of an ellipse twice as high: a half-dial standing on row B - 1.
    canvas.pie({ x, y, w, 2 * h - 1 }, QPoint(x + w, d.bottom - 1), QPoint(x, d.bottom - 1));
    canvas.moveTo(x, d.bottom);
    canvas.lineTo(x + w, d.bottom);
    const std::int32_t percent = GetPercentDone();
    if (percent <= 0)
        return;
    const int mx = width() / 2;
    canvas.moveTo(mx, d.bottom - 1);
    const double angle = percent * 0.01 * kPi;
    canvas.lineTo(
        int(std::floor(mx * (1 - std::cos(angle)))), int(std::floor((d.bottom - 1) * (1 - std::sin(angle)))));
}

void TCGauge::PaintAsText(Canvas& canvas, const Rect& d) const
{
    QImage layer(canvas.width(), canvas.height(), QImage::Format_RGB32);
    Canvas text(layer);
    PaintBackground(text);
    const QString s = QString::number(GetPercentDone()) + QLatin1Char('%');
    text.setFont(font());
    text.setTextColor(tolm::gfx::clWhite);
    text.setTextBackground(tolm::gfx::clBlack, false);
    text.setBrushClear();
    // Absolute coordinates of the bitmap, not offsets from D.
    const int x = (d.right - d.left + 1 - text.textWidth(s)) / 2;
    const int y = (d.bottom - d.top + 1 - text.textHeight(s)) / 2;
    text.textRect(d, x, y, s);
    // White glyph pixels invert whatever lies beneath them.
    canvas.bitBlt(0, 0, canvas.width(), canvas.height(), text.image(), 0, 0, rop::SrcInvert);
}
