#include "platform/LocaleInfo.h"

#include "platform/DatePicture.h"
#include "platform/NumberText.h"

namespace tolm::platform {

QString LocaleInfo::formatTime(const QTime& time, const QString& pic, bool noSeconds) const
{
    QString format = pic.isEmpty() ? timeFormat() : pic;
    if (noSeconds)
        format = picture::withoutSeconds(format);
    return picture::formatTime(format, time, *this);
}

QString LocaleInfo::formatDate(const QDate& date, const QString& pic) const
{
    return picture::formatDate(pic.isEmpty() ? shortDateFormat() : pic, date, *this);
}

QString LocaleInfo::groupedNumber(quint64 value, int width) const
{
    return tolm::platform::groupedNumber(value, thousandsSeparator().left(1), width);
}

QString LocaleInfo::sizeText(quint64 bytes) const
{
    return shortSizeText(bytes, decimalSeparator());
}

} // namespace tolm::platform
