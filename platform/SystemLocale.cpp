#include "platform/SystemLocale.h"

#include "platform/DatePicture.h"

#include <QRegularExpression>

namespace tolm::platform {

SystemLocale::SystemLocale(const QLocale& locale)
    : m_locale(locale)
{
    // The short time format is the one users pick; the long one drags a time
    // zone along. Seconds are added to the short one when it has none.
    m_timeFormat = withSeconds(picture::fromQtFormat(locale.timeFormat(QLocale::ShortFormat)));
    // Two-digit years on a clock read ambiguously; the default short date
    // shows all four digits, as desktop systems have done since 2000.
    m_shortDateFormat = withFullYear(picture::fromQtFormat(locale.dateFormat(QLocale::ShortFormat)));
    m_longDateFormat = picture::fromQtFormat(locale.dateFormat(QLocale::LongFormat));
}

QString SystemLocale::monthName(int month, bool abbreviated) const
{
    // The stand-alone form: a name on its own, not inflected by a day number.
    return m_locale.standaloneMonthName(month, abbreviated ? QLocale::ShortFormat : QLocale::LongFormat);
}

QString SystemLocale::dayName(int dayOfWeek, bool abbreviated) const
{
    return m_locale.dayName(dayOfWeek, abbreviated ? QLocale::ShortFormat : QLocale::LongFormat);
}

QString SystemLocale::withSeconds(const QString& pic)
{
    // Outside quoted text only; quoted parts are matched whole and skipped.
    static const QRegularExpression fields(QStringLiteral("'(?:[^']|'')*'?|([hH]+)|(m+)|(s+)"));
    QString hourMinuteSeparator = QStringLiteral(":");
    qsizetype minutesEnd = -1;
    qsizetype hourEnd = -1;
    for (auto it = fields.globalMatch(pic); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedLength(3) > 0)
            return pic; // already has seconds
        if (match.capturedLength(1) > 0)
            hourEnd = match.capturedEnd(1);
        if (match.capturedLength(2) > 0 && minutesEnd < 0) {
            minutesEnd = match.capturedEnd(2);
            if (hourEnd >= 0 && match.capturedStart(2) > hourEnd)
                hourMinuteSeparator = pic.mid(hourEnd, match.capturedStart(2) - hourEnd);
        }
    }
    if (minutesEnd < 0)
        return pic;
    return pic.left(minutesEnd) + hourMinuteSeparator + QStringLiteral("ss") + pic.mid(minutesEnd);
}

QString SystemLocale::withFullYear(const QString& pic)
{
    static const QRegularExpression fields(QStringLiteral("'(?:[^']|'')*'?|(y+)"));
    QString out;
    qsizetype last = 0;
    for (auto it = fields.globalMatch(pic); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedLength(1) == 0 || match.capturedLength(1) > 2)
            continue;
        out += pic.mid(last, match.capturedStart(1) - last) + QStringLiteral("yyyy");
        last = match.capturedEnd(1);
    }
    return out + pic.mid(last);
}

} // namespace tolm::platform
