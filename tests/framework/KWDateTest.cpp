#include "framework/KWDate.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>

namespace {

KWDateTime MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    KWDateTime date;
    date.year = year;
    date.month = month;
    date.day = day;
    date.hour = hour;
    date.minute = minute;
    date.second = second;
    return date;
}

void ExpectDate(const KWDateTime& d, int year, int month, int day, int hour, int minute, int second,
                int dayOfWeek) {
    EXPECT_EQ(d.year, year);
    EXPECT_EQ(d.month, month);
    EXPECT_EQ(d.day, day);
    EXPECT_EQ(d.hour, hour);
    EXPECT_EQ(d.minute, minute);
    EXPECT_EQ(d.second, second);
    EXPECT_EQ(d.dayOfWeek, dayOfWeek);
}

TEST(KWDateTest, DateTimeToSerial) {
    struct Case {
        KWDateTime date;
        double serial;
    };
    const Case cases[] = {
        {MakeDate(1899, 12, 30), 0},
        {MakeDate(1900, 1, 1, 12), 2.5},
        {MakeDate(1899, 12, 29, 6), -1.25},
        {MakeDate(1970, 1, 1), 25569},
        {MakeDate(2000, 2, 29, 18), 36585.75},
        {MakeDate(1800, 1, 1), -36522},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(DateTimeToSerial(c.date), c.serial) << c.serial;
}

TEST(KWDateTest, SerialToDateTime) {
    KWDateTime d;
    SerialToDateTime(0, d);
    ExpectDate(d, 1899, 12, 30, 0, 0, 0, 6);
    SerialToDateTime(2.5, d);
    ExpectDate(d, 1900, 1, 1, 12, 0, 0, 1);
    SerialToDateTime(-1.25, d);
    ExpectDate(d, 1899, 12, 29, 6, 0, 0, 5);
    SerialToDateTime(-0.25, d);
    ExpectDate(d, 1899, 12, 30, 6, 0, 0, 6);
    SerialToDateTime(36585.75, d);
    ExpectDate(d, 2000, 2, 29, 18, 0, 0, 2);
    SerialToDateTime(45366 + (13 * 3600 + 14 * 60 + 15) / 86400.0, d);
    ExpectDate(d, 2024, 3, 15, 13, 14, 15, 5);
}

// A time just before midnight used to come out as hour 24 of the same day.
TEST(KWDateTest, TimeNearMidnightRollsIntoTheNextDay) {
    KWDateTime d;
    SerialToDateTime(0.99999999, d);
    ExpectDate(d, 1899, 12, 31, 0, 0, 0, 0);
    SerialToDateTime(45366.999999999, d);
    ExpectDate(d, 2024, 3, 16, 0, 0, 0, 6);
    SerialToDateTime(-1.99999999, d);
    ExpectDate(d, 1899, 12, 28, 0, 0, 0, 4);
    // Half a second before midnight still rounds up; less does not.
    SerialToDateTime(1 - 0.4 / 86400, d);
    ExpectDate(d, 1899, 12, 31, 0, 0, 0, 0);
    SerialToDateTime(1 - 0.6 / 86400, d);
    ExpectDate(d, 1899, 12, 30, 23, 59, 59, 6);
}

TEST(KWDateTest, SerialRoundTripsOverManyDays) {
    for (int days = -40000; days <= 80000; days += 367) {
        const double seconds = ((days * 7919) % 86400 + 86400) % 86400;
        const double serial = days < 0 ? days - seconds / 86400 : days + seconds / 86400;
        KWDateTime d;
        SerialToDateTime(serial, d);
        ASSERT_EQ(d.hour * 3600 + d.minute * 60 + d.second, static_cast<int>(seconds)) << days;
        // Day 0 is a Saturday.
        EXPECT_EQ(d.dayOfWeek, ((days % 7) + 7 + 6) % 7) << days;
        EXPECT_NEAR(DateTimeToSerial(d), serial, 1e-9) << days;
    }
}

TEST(KWDateTest, DayOfWeek) {
    struct Case {
        KWDateTime date;
        int dayOfWeek;
    };
    const Case cases[] = {
        {MakeDate(2024, 3, 15), 5}, {MakeDate(2000, 1, 1), 6}, {MakeDate(1900, 3, 1), 4},
        {MakeDate(1899, 12, 30), 6}, {MakeDate(2000, 2, 29), 2}, {MakeDate(2023, 12, 31), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(DayOfWeek(c.date), c.dayOfWeek) << c.date.year << "-" << c.date.month;
}

TEST(KWDateTest, CurrentLocalDateIsToday) {
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
    EXPECT_EQ(d.hour, 0);
    EXPECT_EQ(d.minute, 0);
    EXPECT_EQ(d.second, 0);
    EXPECT_EQ(d.dayOfWeek, DayOfWeek(d));
}

TEST(KWDateTest, FormatDateUsesTheSerialsDate) {
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
    CString longText, shortText;
    FormatDate(longText, 0, 45366);
    FormatDate(shortText, 1, 45366);
    EXPECT_NE(longText, shortText);
}

}  // namespace
