#include "framework/KWDate.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>

namespace {

struct DateRow {
    int year, month, day, hour, minute, second, dayOfWeek;
};

DateRow RowOf(const KWDateTime& d)
{
    return {d.year, d.month, d.day, d.hour, d.minute, d.second, d.dayOfWeek};
}

bool operator==(const DateRow& a, const DateRow& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second && a.dayOfWeek == b.dayOfWeek;
}

std::ostream& operator<<(std::ostream& out, const DateRow& d)
{
    return out << d.year << "-" << d.month << "-" << d.day << " " << d.hour << ":" << d.minute << ":" << d.second
               << " day " << d.dayOfWeek;
}

KWDateTime MakeDate(const DateRow& row)
{
    KWDateTime date;
    date.year = row.year;
    date.month = row.month;
    date.day = row.day;
    date.hour = row.hour;
    date.minute = row.minute;
    date.second = row.second;
    return date;
}

TEST(KWDateTest, SerialsAndDatesConvertBothWays)
{
    const struct {
        double serial;
        DateRow date;
        bool exact;  // the date converts back to the serial
    } cases[] = {
        {0, {1899, 12, 30, 0, 0, 0, 6}, true},
        {2.5, {1900, 1, 1, 12, 0, 0, 1}, true},
        {-1.25, {1899, 12, 29, 6, 0, 0, 5}, true},
        {-0.25, {1899, 12, 30, 6, 0, 0, 6}, false},
        {25569, {1970, 1, 1, 0, 0, 0, 4}, true},
        {36585.75, {2000, 2, 29, 18, 0, 0, 2}, true},
        {-36522, {1800, 1, 1, 0, 0, 0, 3}, true},
        {45366 + (13 * 3600 + 14 * 60 + 15) / 86400.0, {2024, 3, 15, 13, 14, 15, 5}, true},
        // A time just before midnight rolls into the next day (it used to be hour 24).
        {0.99999999, {1899, 12, 31, 0, 0, 0, 0}, false},
        {45366.999999999, {2024, 3, 16, 0, 0, 0, 6}, false},
        {-1.99999999, {1899, 12, 28, 0, 0, 0, 4}, false},
        // Half a second before midnight still rounds up; less does not.
        {1 - 0.4 / 86400, {1899, 12, 31, 0, 0, 0, 0}, false},
        {1 - 0.6 / 86400, {1899, 12, 30, 23, 59, 59, 6}, false},
    };
    for (const auto& c : cases) {
        KWDateTime d;
        SerialToDateTime(c.serial, d);
        EXPECT_EQ(c.date, RowOf(d)) << c.serial;
        EXPECT_EQ(c.date.dayOfWeek, DayOfWeek(MakeDate(c.date))) << c.serial;
        if (c.exact) {
            EXPECT_DOUBLE_EQ(c.serial, DateTimeToSerial(MakeDate(c.date)));
        }
    }
    for (int days = -40000; days <= 80000; days += 367) {
        const double seconds = ((days * 7919) % 86400 + 86400) % 86400;
        const double serial = days < 0 ? days - seconds / 86400 : days + seconds / 86400;
        KWDateTime d;
        SerialToDateTime(serial, d);
        ASSERT_EQ(d.hour * 3600 + d.minute * 60 + d.second, static_cast<int>(seconds)) << days;
        EXPECT_EQ(d.dayOfWeek, ((days % 7) + 7 + 6) % 7) << days << ": day 0 is a Saturday";
        EXPECT_NEAR(DateTimeToSerial(d), serial, 1e-9) << days;
    }
}

TEST(KWDateTest, TodayAndItsFormats)
{
    SYSTEMTIME before;
    ::GetLocalTime(&before);
    KWDateTime d;
    d.hour = 5;
    GetCurrentLocalDate(d);
    SYSTEMTIME after;
    ::GetLocalTime(&after);
    const bool matchesBefore = d.year == before.wYear && d.month == before.wMonth && d.day == before.wDay;
    const bool matchesAfter = d.year == after.wYear && d.month == after.wMonth && d.day == after.wDay;
    EXPECT_TRUE(matchesBefore || matchesAfter);
    EXPECT_EQ((DateRow{d.year, d.month, d.day, 0, 0, 0, DayOfWeek(d)}), RowOf(d)) << "midnight";

    SYSTEMTIME day = {};
    day.wYear = 2024;
    day.wMonth = 3;
    day.wDay = 15;
    day.wDayOfWeek = 5;
    for (int form : {0, 1}) {
        wchar_t expected[200] = {0};
        ASSERT_NE(::GetDateFormatW(0, form == 0 ? DATE_LONGDATE : DATE_SHORTDATE, &day, nullptr, expected, 200), 0);
        CString text;
        FormatDate(text, form, 45366.75);
        EXPECT_STREQ(text, expected) << form;
        EXPECT_NE(std::wcsstr(text, L"15"), nullptr);
    }
}

}  // namespace
