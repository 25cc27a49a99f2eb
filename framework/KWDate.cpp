#include "framework/KWDate.h"

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <ctime>

namespace {

// Julian day number of 30 December 1899.
const int64_t kSerialEpoch = 2415019;
const int64_t kSecondsPerDay = 86400;

int64_t JulianDay(int64_t year, int64_t month, int64_t day) {
    const int64_t a = (14 - month) / 12;
    const int64_t y = year + 4800 - a;
    const int64_t m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

}  // namespace

double DateTimeToSerial(const KWDateTime& date) {
    const int64_t days = JulianDay(date.year, date.month, date.day) - kSerialEpoch;
    const double time =
        static_cast<double>(date.hour * 3600 + date.minute * 60 + date.second) / static_cast<double>(kSecondsPerDay);
    return days < 0 ? static_cast<double>(days) - time : static_cast<double>(days) + time;
}

void SerialToDateTime(double serial, KWDateTime& date) {
    const bool negative = serial < 0;
    const double magnitude = std::fabs(serial);
    double wholeDays = std::floor(magnitude);
    // Rounding to whole seconds before splitting day and time lets a time just
    // before midnight become 00:00 of the next day instead of hour 24.
    int64_t seconds = static_cast<int64_t>(std::floor((magnitude - wholeDays) * kSecondsPerDay + 0.5));
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        wholeDays += 1;
    }
    const int64_t days = negative ? -static_cast<int64_t>(wholeDays) : static_cast<int64_t>(wholeDays);

    const int64_t a = days + kSerialEpoch + 32044;
    const int64_t b = (4 * a + 3) / 146097;
    const int64_t c = a - 146097 * b / 4;
    const int64_t d = (4 * c + 3) / 1461;
    const int64_t e = c - 1461 * d / 4;
    const int64_t m = (5 * e + 2) / 153;
    date.day = static_cast<int32_t>(e - (153 * m + 2) / 5 + 1);
    date.month = static_cast<int32_t>(m + 3 - 12 * (m / 10));
    date.year = static_cast<int32_t>(100 * b + d - 4800 + m / 10);
    date.hour = static_cast<int32_t>(seconds / 3600);
    date.minute = static_cast<int32_t>(seconds / 60 % 60);
    date.second = static_cast<int32_t>(seconds % 60);
    date.dayOfWeek = DayOfWeek(date);
}

int DayOfWeek(const KWDateTime& date) {
    const int a = (14 - date.month) / 12;
    const int y = date.year - a;
    const int m = date.month + 12 * a - 2;
    return (date.day + y + y / 4 - y / 100 + y / 400 + 31 * m / 12) % 7;
}

void GetCurrentLocalDate(KWDateTime& date) {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    date = KWDateTime();
    if (!local) return;
    date.year = local->tm_year + 1900;
    date.month = local->tm_mon + 1;
    date.day = local->tm_mday;
    date.dayOfWeek = local->tm_wday;
}

void SerialToSystemTime(double serial, SYSTEMTIME& time) {
    KWDateTime date;
    SerialToDateTime(serial, date);
    time = SYSTEMTIME();
    time.wYear = static_cast<WORD>(date.year);
    time.wMonth = static_cast<WORD>(date.month);
    time.wDay = static_cast<WORD>(date.day);
    time.wDayOfWeek = static_cast<WORD>(date.dayOfWeek);
    time.wHour = static_cast<WORD>(date.hour);
    time.wMinute = static_cast<WORD>(date.minute);
    time.wSecond = static_cast<WORD>(date.second);
}

void FormatDate(CString& text, int form, double serial) {
    SYSTEMTIME time;
    SerialToSystemTime(serial, time);
    wchar_t buffer[200] = {0};
    const DWORD flags = form == 0 ? DATE_LONGDATE : DATE_SHORTDATE;
    if (::GetDateFormatW(0, flags, &time, nullptr, buffer, 200) == 0) buffer[0] = 0;
    text = buffer;
}
