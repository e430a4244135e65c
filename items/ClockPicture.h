#pragma once

#include <QDateTime>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

class TSpButton;

namespace tolm::platform {
class LocaleInfo;
}

namespace tolm::items {

// Hand ends on the 36 x 36 face. The hour hand moves one mark every twelve
// minutes and is 12 pixels long; the minute and seconds hands are 15.
QPoint hourHandEnd(int hour, int minute);
QPoint minuteHandEnd(int minute);

// "bclock" with the hour and minute hands (one black two-pixel line through
// the centre) and, when asked, the seconds hand XORed in 0xC0C000.
QImage clockFace(int hour, int minute, int second, bool secondsHand);
// The same face for a screen of `ratio` device pixels to the pixel, `size`
// pixels large: the dial and the hands drawn as shapes at that density
// rather than as the 36 x 36 pixels enlarged.
QImage clockFace(int hour, int minute, int second, bool secondsHand, QSize size, qreal ratio);

// The tooltip (time without seconds, a line break, the long date) and the
// item text of a clock with option bits `options`, from the pictures the item
// stores: `param` for the time, `directorio` for the date, `fichIcono` the
// separator between them.
QString clockHint(const QDateTime& now, const platform::LocaleInfo& locale);
QString clockText(const QDateTime& now, int options, const QString& param, const QString& directorio,
    const QString& fichIcono, const platform::LocaleInfo& locale);

// Refreshes the hint, the text and the face of a clock item on its surface:
// the texts from the platform's clock, the hands from the time recorded by
// the last timer tick.
void clockPicture(TSpButton& item);

} // namespace tolm::items
