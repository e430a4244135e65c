#pragma once

#include "platform/LocaleInfo.h"

#include <QLocale>

namespace tolm::platform {

// Names, separators and formats from a QLocale (the system's by default),
// with the formats converted into the picture language.
class SystemLocale : public LocaleInfo {
public:
    explicit SystemLocale(const QLocale& locale = QLocale::system());

    QString monthName(int month, bool abbreviated) const override;
    QString dayName(int dayOfWeek, bool abbreviated) const override;
    QString amDesignator() const override { return m_locale.amText(); }
    QString pmDesignator() const override { return m_locale.pmText(); }
    QString thousandsSeparator() const override { return m_locale.groupSeparator(); }
    QString decimalSeparator() const override { return m_locale.decimalPoint(); }
    QString timeFormat() const override { return m_timeFormat; }
    QString shortDateFormat() const override { return m_shortDateFormat; }
    QString longDateFormat() const override { return m_longDateFormat; }

    // Adds seconds after the minutes when a time picture has none, with the
    // separator that stands between hours and minutes: "H:mm" -> "H:mm:ss".
    static QString withSeconds(const QString& picture);
    // A two-digit year becomes a four-digit one: "d/M/yy" -> "d/M/yyyy".
    static QString withFullYear(const QString& picture);

private:
    QLocale m_locale;
    QString m_timeFormat;
    QString m_shortDateFormat;
    QString m_longDateFormat;
};

} // namespace tolm::platform
