#pragma once

#include <QDate>
#include <QString>
#include <QTime>

namespace tolm::platform {

class LocaleInfo;

// The Windows time and date picture language, formatted by our own code so
// that the pictures stored in clock items mean the same on every system.
//
// Time: h hh (12-hour), H HH (24-hour), m mm, s ss, t (first character of
// the AM/PM designator), tt (whole designator); a letter repeated more than
// twice counts as two.
// Date: d dd (day), ddd dddd (abbreviated, full weekday), M MM (month),
// MMM MMMM (abbreviated, full month name), y (year in two digits without a
// leading zero), yy (two digits), yyy and longer (the full year), g gg
// (the era, left out: the Gregorian calendar needs none).
// In both: text in single quotes is copied as it is, two single quotes
// give one quote (inside or outside quoted text), any other character is
// copied. Letters of the other picture (a "d" in a time picture) are copied.
namespace picture {

QString formatTime(const QString& picture, const QTime& time, const LocaleInfo& locale);
QString formatDate(const QString& picture, const QDate& date, const LocaleInfo& locale);

// The picture without its seconds: "H:mm:ss" -> "H:mm", "h.mm.ss tt" ->
// "h.mm tt". The text between the minutes and the seconds goes with them.
QString withoutSeconds(const QString& picture);

// Whether a time picture shows the seconds: "H:mm:ss" does, "H:mm" and
// "H:mm 'ss'" do not.
bool showsSeconds(const QString& picture);

// Converts a Qt time or date format (QLocale::timeFormat/dateFormat) into a
// picture. Qt's "h" is a 24-hour hour unless the format has an AM/PM marker;
// AP/ap become tt; time zone (t) and milliseconds (z) are left out together
// with the blanks and brackets that only surrounded them.
QString fromQtFormat(const QString& qtFormat);

} // namespace picture
} // namespace tolm::platform
