#include "QtPrinters.h"
#include "platform/DatePicture.h"
#include "platform/NumberText.h"
#include "platform/SystemLocale.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

using namespace tolm::platform;

namespace {

QString t(const char* pic, int h, int m, int s)
{
    static tolm::test::FakeLocale es;
    return picture::formatTime(pic, QTime(h, m, s), es);
}

QString d(const char* pic, int y, int m, int day)
{
    static tolm::test::FakeLocale es;
    return picture::formatDate(pic, QDate(y, m, day), es);
}

} // namespace

TEST(TimePicture, HoursMinutesSeconds)
{
    EXPECT_EQ(t("H:mm:ss", 9, 5, 7), "9:05:07");
    EXPECT_EQ(t("HH:m:s", 9, 5, 7), "09:5:7");
    EXPECT_EQ(t("h hh", 0, 0, 0), "12 12");
    EXPECT_EQ(t("h hh", 13, 0, 0), "1 01");
    EXPECT_EQ(t("h", 12, 0, 0), "12");
    EXPECT_EQ(t("H", 23, 0, 0), "23");
    // Longer runs count as two.
    EXPECT_EQ(t("HHH:mmmm:sss", 7, 8, 9), "07:08:09");
}

TEST(TimePicture, DesignatorsQuotesAndOtherLetters)
{
    EXPECT_EQ(t("h:mm tt", 9, 30, 0), "9:30 a.m.");
    EXPECT_EQ(t("h:mm tt", 21, 30, 0), "9:30 p.m.");
    EXPECT_EQ(t("ht", 12, 0, 0), "12p");
    EXPECT_EQ(t("ttt", 1, 0, 0), "a.m.");
    EXPECT_EQ(t("H 'h' mm 'min'", 8, 4, 0), "8 h 04 min");
    EXPECT_EQ(t("H''mm", 8, 4, 0), "8'04");
    EXPECT_EQ(t("'o''clock' H", 8, 0, 0), "o'clock 8");
    EXPECT_EQ(t("'sin cerrar H", 8, 0, 0), "sin cerrar H");
    // Date letters are plain text in a time picture.
    EXPECT_EQ(t("dd H", 8, 0, 0), "dd 8");
    EXPECT_EQ(t("", 8, 0, 0), "");
}

TEST(DatePicture, DaysMonthsYears)
{
    EXPECT_EQ(d("dd/MM/yyyy", 2000, 9, 3), "03/09/2000");
    EXPECT_EQ(d("d/M/yy", 2005, 1, 9), "9/1/05");
    EXPECT_EQ(d("y", 2005, 1, 9), "5");
    EXPECT_EQ(d("y", 1999, 1, 9), "99");
    EXPECT_EQ(d("yyy yyyyy", 1999, 1, 9), "1999 1999");
    EXPECT_EQ(d("ddd ddddd", 2000, 9, 3), "dom domingo");
    EXPECT_EQ(d("MMM MMMM MMMMM", 2000, 9, 3), "sep septiembre septiembre");
    EXPECT_EQ(d("dddd, d' de 'MMMM' de 'yyyy", 2024, 2, 29), "jueves, 29 de febrero de 2024");
    EXPECT_EQ(d("gg yyyy", 2024, 2, 29), " 2024");
    EXPECT_EQ(d("H:mm d", 2024, 2, 29), "H:mm 29");
    EXPECT_EQ(picture::formatDate("d", QDate(), tolm::test::FakeLocale()), "");
}

TEST(DatePicture, WithoutSeconds)
{
    EXPECT_EQ(picture::withoutSeconds("H:mm:ss"), "H:mm");
    EXPECT_EQ(picture::withoutSeconds("h.mm.ss tt"), "h.mm tt");
    EXPECT_EQ(picture::withoutSeconds("ss:mm"), "mm");
    EXPECT_EQ(picture::withoutSeconds("H 'h' mm"), "H 'h' mm");
    EXPECT_EQ(picture::withoutSeconds("H:mm 'ok''s'"), "H:mm 'ok''s'");
}

TEST(DatePicture, FromQtFormats)
{
    EXPECT_EQ(picture::fromQtFormat("H:mm"), "H:mm");
    EXPECT_EQ(picture::fromQtFormat("HH:mm:ss"), "HH:mm:ss");
    EXPECT_EQ(picture::fromQtFormat("h:mm AP"), "h:mm tt");
    EXPECT_EQ(picture::fromQtFormat("h:mm:ss ap t"), "h:mm:ss tt");
    EXPECT_EQ(picture::fromQtFormat("hh:mm"), "HH:mm"); // no marker: 24-hour
    EXPECT_EQ(picture::fromQtFormat("H:mm:ss (t)"), "H:mm:ss");
    EXPECT_EQ(picture::fromQtFormat("HH:mm:ss.zzz"), "HH:mm:ss");
    EXPECT_EQ(picture::fromQtFormat("dddd, d 'de' MMMM 'de' yyyy"), "dddd, d 'de' MMMM 'de' yyyy");
    EXPECT_EQ(picture::fromQtFormat("d.M.yy"), "d.M.yy");
}

TEST(SystemLocale, SpanishFromQt)
{
    const SystemLocale es(QLocale(QLocale::Spanish, QLocale::Spain));
    EXPECT_EQ(es.timeFormat(), "H:mm:ss");
    EXPECT_EQ(es.shortDateFormat(), "d/M/yyyy");
    EXPECT_EQ(es.thousandsSeparator(), ".");
    EXPECT_EQ(es.decimalSeparator(), ",");
    EXPECT_EQ(es.monthName(9, false), "septiembre");
    EXPECT_EQ(es.dayName(7, false), "domingo");
    EXPECT_EQ(es.formatLongDate(QDate(2000, 9, 3)), "domingo, 3 de septiembre de 2000");
    EXPECT_EQ(es.formatTime(QTime(14, 5, 9)), "14:05:09");
    EXPECT_EQ(es.formatTime(QTime(14, 5, 9), {}, true), "14:05");
    EXPECT_EQ(es.groupedNumber(1234567), "1.234.567");

    const SystemLocale us(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.timeFormat(), "h:mm:ss tt");
    EXPECT_EQ(us.formatTime(QTime(14, 5, 9)), "2:05:09 PM");
    EXPECT_EQ(us.groupedNumber(2684354560), "2,684,354,560");
}

TEST(SystemLocale, AddingSecondsAndFullYears)
{
    EXPECT_EQ(SystemLocale::withSeconds("H.mm"), "H.mm.ss");
    EXPECT_EQ(SystemLocale::withSeconds("h:mm tt"), "h:mm:ss tt");
    EXPECT_EQ(SystemLocale::withSeconds("H:mm:ss"), "H:mm:ss");
    EXPECT_EQ(SystemLocale::withSeconds("'mm' H"), "'mm' H");
    EXPECT_EQ(SystemLocale::withFullYear("d/M/yy"), "d/M/yyyy");
    EXPECT_EQ(SystemLocale::withFullYear("yyyy-MM-dd"), "yyyy-MM-dd");
    EXPECT_EQ(SystemLocale::withFullYear("'yy' d"), "'yy' d");
}

TEST(NumberText, GroupedNumbers)
{
    EXPECT_EQ(groupedNumber(0, "."), "0");
    EXPECT_EQ(groupedNumber(999, "."), "999");
    EXPECT_EQ(groupedNumber(1000, "."), "1.000");
    EXPECT_EQ(groupedNumber(1234567, "."), "1.234.567");
    EXPECT_EQ(groupedNumber(1234, ".", 8), "   1.234");
    EXPECT_EQ(groupedNumber(1234567, ".", 3), "1.234.567");
    EXPECT_EQ(groupedNumber(1234, ""), "1,234");
    EXPECT_EQ(groupedNumber(18446744073709551615ull, "."), "18.446.744.073.709.551.615");
}

TEST(NumberText, ShortSizes)
{
    const struct {
        quint64 bytes;
        const char* es; // decimal ","
        const char* en; // decimal "."
    } cases[] = {
        { 0, "0kB", "0kB" },
        { 512000, "512kB", "512kB" },
        { 999999, "999kB", "999kB" },
        { 1000000, "1,00MB", "1.00MB" },
        { 1500000, "1,50MB", "1.50MB" },
        { 12339999, "12,33MB", "12.33MB" }, // hundredths cut, not rounded
        { 99999999, "99,99MB", "99.99MB" },
        { 100000000, "100MB", "100MB" },
        { 999999999, "999MB", "999MB" },
        { 1000000000, "1,00GB", "1.00GB" },
        { 2500000000, "2,50GB", "2.50GB" },
        { 150000000000, "150,00GB", "150.00GB" },
        // Beyond 4 TB the count of kilobytes no longer fits 32 bits; it still reads right.
        { 8ull << 40, "8796,09GB", "8796.09GB" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shortSizeText(c.bytes, ","), c.es) << c.bytes;
        EXPECT_EQ(shortSizeText(c.bytes, "."), c.en) << c.bytes;
    }
}
