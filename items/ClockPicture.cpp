#include "items/ClockPicture.h"

#include "gfx/Bitmaps.h"
#include "gfx/Canvas.h"
#include "items/ShelfState.h"
#include "items/TSpButton.h"
#include "items/TickReadings.h"
#include "platform/Platform.h"

#include <QPainter>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

namespace tolm::items {

namespace {

// One quarter of the dial in minute marks (6 degrees each), as whole pixels
// below the exact values: A = 15 sin, B = 15 - 15 cos for the long hands;
// C and D the same for the 12-pixel hour hand.
constexpr std::array<int, 15> kA { 0, 1, 3, 4, 6, 7, 8, 10, 11, 12, 12, 13, 14, 14, 14 };
constexpr std::array<int, 15> kB { 0, 0, 0, 0, 1, 2, 2, 3, 4, 6, 7, 8, 10, 11, 13 };
constexpr std::array<int, 15> kC { 0, 1, 2, 3, 4, 6, 7, 8, 8, 9, 10, 10, 11, 11, 11 };
constexpr std::array<int, 15> kD { 0, 0, 0, 0, 1, 1, 2, 3, 3, 4, 6, 7, 8, 9, 10 };

constexpr gfx::Color kSecondsHand = 0xC0C000;
// A piece of text longer than this is left out rather than cut.
constexpr int kMaxPiece = 49;

QString piece(const QString& text)
{
    return text.size() > kMaxPiece ? QString() : text;
}

} // namespace

QPoint hourHandEnd(int hour, int minute)
{
    const int p = ((hour % 12 + 12) % 12) * 5 + (minute % 60) / 12;
    const int k = p % 15;
    switch (p / 15) {
    case 0:
        return { 18 + kC[k], 6 + kD[k] };
    case 1:
        return { 29 - kD[k], 18 + kC[k] };
    case 2:
        return { 18 - kC[k], 29 - kD[k] };
    default:
        return { 6 + kD[k], 18 - kC[k] };
    }
}

QPoint minuteHandEnd(int minute)
{
    const int m = (minute % 60 + 60) % 60;
    const int k = m % 15;
    switch (m / 15) {
    case 0:
        return { 18 + kA[k], 3 + kB[k] };
    case 1:
        return { 32 - kB[k], 18 + kA[k] };
    case 2:
        return { 18 - kA[k], 32 - kB[k] };
    default:
        return { 3 + kB[k], 18 - kA[k] };
    }
}

QImage clockFace(int hour, int minute, int second, bool secondsHand)
{
    QImage face = gfx::tileBitmap("bclock").copy();
    gfx::Canvas canvas(face);
    const int c = gfx::place::clockCentre;
    const QPoint h = hourHandEnd(hour, minute);
    const QPoint m = minuteHandEnd(minute);
    canvas.setPen(gfx::clBlack, 2, gfx::PenMode::Copy);
    canvas.moveTo(h.x(), h.y());
    canvas.lineTo(c, c);
    canvas.lineTo(m.x(), m.y());
    if (secondsHand) {
        const QPoint s = minuteHandEnd(second);
        canvas.setPen(kSecondsHand, 1, gfx::PenMode::Xor);
        canvas.moveTo(c, c);
        canvas.lineTo(s.x(), s.y());
    }
    return face;
}

QImage clockFace(int hour, int minute, int second, bool secondsHand, QSize size, qreal ratio)
{
    QImage face((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
    face.setDevicePixelRatio(ratio);
    face.fill(gfx::toQRgb(gfx::clBtnFace));
    QPainter painter(&face);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn on the 36 x 36 grid of the bitmap, where pixel (x, y) covers the
    // square from (x, y) to (x + 1, y + 1): the dial's centre pixel (18, 18)
    // is centred on (18.5, 18.5).
    painter.scale(size.width() / 36.0, size.height() / 36.0);
    const QPointF centre(18.5, 18.5);
    const auto at = [&](int marks, qreal length) {
        const qreal angle = marks * std::numbers::pi / 30;
        return centre + QPointF(length * std::sin(angle), -length * std::cos(angle));
    };
    const auto disc = [&](QPointF middle, qreal radius, gfx::Color colour) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(gfx::toQColor(colour));
        painter.drawEllipse(middle, radius, radius);
    };
    // The discs of "bclock": its shadow and light, the rim and the dial.
    disc({ 18, 18 }, 17, gfx::clGray);
    disc({ 19, 19 }, 17, gfx::clWhite);
    disc(centre, 16.6, gfx::clBlack);
    disc(centre, 15.7, gfx::clWhite);
    for (int h = 0; h < 12; ++h) {
        if (h % 3 == 0) {
            painter.setPen(QPen(gfx::toQColor(gfx::clNavy), 1.0, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(at(h * 5, 13.5), at(h * 5, 15.5));
        } else {
            disc(at(h * 5, 14), 0.6, gfx::clNavy);
        }
    }
    disc(centre, 1.4, gfx::clGray);

    const int hourMarks = ((hour % 12 + 12) % 12) * 5 + (minute % 60) / 12;
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const QPointF hands[] = { at(hourMarks, 12), centre, at(minute % 60, 15) };
    painter.drawPolyline(hands, 3);
    if (secondsHand) {
        // XORed as on the bitmap, so it needs whole pixels: one thin line
        // of the screen's own, not one of the enlarged grid.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        QPen thin(gfx::toQColor(kSecondsHand), std::max(1.0, std::round(ratio / 2)));
        thin.setCosmetic(true);
        painter.setPen(thin);
        painter.drawLine(centre, at(second % 60, 15));
    }
    return face;
}

QString clockHint(const QDateTime& now, const platform::LocaleInfo& locale)
{
    return piece(locale.formatTime(now.time(), {}, true)) + u'\n' + piece(locale.formatLongDate(now.date()));
}

QString clockText(const QDateTime& now, int options, const QString& param, const QString& directorio,
    const QString& fichIcono, const platform::LocaleInfo& locale)
{
    QString text;
    if (!(options & TSpButton::kTagNoTime)) {
        text += piece(locale.formatTime(now.time(), param));
        if (!(options & TSpButton::kTagNoDate))
            text += fichIcono.isEmpty() ? QStringLiteral(", ") : fichIcono;
    }
    if (!(options & TSpButton::kTagNoDate))
        text += piece(locale.formatDate(now.date(), directorio));
    return text;
}

namespace {

// Within a tick every clock shows the same instant, so the clock is read once
// and each distinct text formatted once.
QDateTime tickNow(TickReadings& tick)
{
    if (!tick.now)
        tick.now = platform::services().clock->now();
    return *tick.now;
}

QString tickHint(TickReadings& tick, const QDateTime& now, const platform::LocaleInfo& locale)
{
    if (!tick.clockHint)
        tick.clockHint = clockHint(now, locale);
    return *tick.clockHint;
}

QString tickFigure(TickReadings& tick, const QDateTime& now, const platform::LocaleInfo& locale)
{
    if (!tick.clockFigure)
        tick.clockFigure = locale.formatTime(now.time(), {}, true);
    return *tick.clockFigure;
}

QString tickText(
    TickReadings& tick, const QDateTime& now, const TSpButton& item, const platform::LocaleInfo& locale)
{
    const int options = item.clockOptions();
    // The item's stored texts are compared as they are, without a copy.
    const store::SpButtonState& fields = item.storedFields();
    const int shape = options & (TSpButton::kTagNoTime | TSpButton::kTagNoDate);
    for (const TickReadings::ClockText& known : tick.clockTexts) {
        if (known.shape == shape && TSpButton::holds(fields.param, known.param)
            && TSpButton::holds(fields.directorio, known.directorio)
            && TSpButton::holds(fields.fichIcono, known.fichIcono))
            return known.text;
    }
    TickReadings::ClockText made { shape, item.Param(), item.Directorio(), item.FichIcono(), {} };
    made.text = clockText(now, options, made.param, made.directorio, made.fichIcono, locale);
    tick.clockTexts.push_back(made);
    return made.text;
}

QImage tickFace(TickReadings& tick, int hour, int minute, int second, bool secondsHand)
{
    TickReadings::Face& face = tick.faces[secondsHand ? 1 : 0];
    if (face.image.isNull() || face.hour != hour || face.minute != minute || face.second != second)
        face = { hour, minute, second, clockFace(hour, minute, second, secondsHand) };
    return face.image;
}

} // namespace

void clockPicture(TSpButton& item)
{
    const platform::LocaleInfo& locale = *platform::services().locale;
    // Outside a tick the clock is read afresh.
    std::optional<TickReadings> alone;
    TickReadings& tick = TickReadings::currentOr(alone);
    const QDateTime now = tickNow(tick);
    const int options = item.clockOptions();
    item.setHint(tickHint(tick, now, locale));
    // Minutes only: a screen reader announcing every second would say nothing else.
    item.setLiveFigure(tickFigure(tick, now, locale));

    const QString text = tickText(tick, now, item, locale);
    if (!item.comandoIs(text) || !item.pictureCurrent()) {
        item.setComando(text);
        if (options & TSpButton::kTagTextClock)
            item.setCaption(text);
        else if (item.Tipo() != 0)
            item.drawItemText();
    }
    if (options & TSpButton::kTagTextClock)
        return;

    const ShelfState& state = ShelfState::get();
    const bool noSeconds = options & TSpButton::kTagNoSeconds;
    if (noSeconds && item.hourShown() == state.hour && item.minuteShown() == state.minute)
        return;

    const QImage face = tickFace(tick, state.hour, state.minute, state.second, !noSeconds);
    gfx::Canvas canvas(item.surface());
    if (item.isSmall()) {
        canvas.stretchBlt({ 1, 1, 17, 17 }, face, { 0, 0, face.width(), face.height() });
    } else if (!item.pictureCurrent() || item.Layout() == store::ButtonLayout::GlyphTop) {
        const int x = item.Layout() == store::ButtonLayout::GlyphTop ? (item.width() - 36) / 2 : 2;
        canvas.draw(x, 2, face);
    } else {
        // The bevel around the dial is already on the screen.
        canvas.bitBlt(3, 3, 33, 33, face, 1, 1);
    }
    item.setTimeShown(state.hour, state.minute);
}

} // namespace tolm::items
