#pragma once
// Calendar dates and day numbers. A day number counts days from 30 December
// 1899 (day 0); its fraction is the time of day, counted backwards for
// negative day numbers (-1.25 is 29 December 1899, 06:00).
#include "platform/classlib/String.h"

#include <windows.h>

#include <cstdint>

struct KWDateTime {
    int32_t year = 0;
    int32_t month = 0;  // 1-12
    int32_t day = 0;
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
    int32_t dayOfWeek = 0;  // 0 Sunday
};

double DateTimeToSerial(const KWDateTime& date);

// The inverse of DateTimeToSerial, rounded to whole seconds, with the day of week.
void SerialToDateTime(double serial, KWDateTime& date);

// The date and time of a day number, to the second, with its day of week.
void SerialToSystemTime(double serial, SYSTEMTIME& time);

// 0 Sunday to 6 Saturday.
int DayOfWeek(const KWDateTime& date);

// Today's local date with the time 0.
void GetCurrentLocalDate(KWDateTime& date);

// The date of a day number in the user's format: form 0 long, form 1 short.
void FormatDate(CString& text, int form, double serial);
