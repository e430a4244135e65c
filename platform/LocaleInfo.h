#pragma once

#include <QDate>
#include <QString>
#include <QTime>

namespace tolm::platform {

// What the launcher needs of the user's regional settings. Formats are given
// in the Windows time/date picture language (see DatePicture.h), which is
// what clock items store, whatever the system's own format language is.
class LocaleInfo {
public:
    virtual ~LocaleInfo() = default;

    // month 1..12
    virtual QString monthName(int month, bool abbreviated) const = 0;
    // dayOfWeek as QDate::dayOfWeek: 1 Monday .. 7 Sunday
    virtual QString dayName(int dayOfWeek, bool abbreviated) const = 0;
    virtual QString amDesignator() const = 0;
    virtual QString pmDesignator() const = 0;
    virtual QString thousandsSeparator() const = 0;
    virtual QString decimalSeparator() const = 0;
    // The user's time format, with seconds ("H:mm:ss").
    virtual QString timeFormat() const = 0;
    virtual QString shortDateFormat() const = 0;
    virtual QString longDateFormat() const = 0;

    // Conveniences over the pure functions, with this locale's names.
    // An empty picture means the default format; `noSeconds` drops the
    // seconds and the separator before them, as the hint of a clock wants.
    QString formatTime(const QTime& time, const QString& picture = {}, bool noSeconds = false) const;
    QString formatDate(const QDate& date, const QString& picture = {}) const;
    QString formatLongDate(const QDate& date) const { return formatDate(date, longDateFormat()); }
    // Digits with this locale's thousands separator (the first character of
    // it, "," when the locale has none), padded in front to `width`.
    QString groupedNumber(quint64 value, int width = 0) const;
    // A size in decimal units with this locale's decimal mark: "2,50GB", "2.50GB".
    // Every size the program shows is written this way.
    QString sizeText(quint64 bytes) const;
};

} // namespace tolm::platform
