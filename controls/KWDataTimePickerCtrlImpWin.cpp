#include "controls/KWDataTimePickerCtrlImpWin.h"

#include "framework/KWDate.h"

#include <commctrl.h>

namespace {

// The style bits of the picker's text forms.
constexpr LONG kFormatBits = DTS_UPDOWN | DTS_LONGDATEFORMAT | 0x8;

}  // namespace

double CKWDataTimePickerCtrlImpWin::GetTime()
{
    HWND hWnd = GetHwnd();
    SYSTEMTIME shown = {};
    if (!hWnd || ::SendMessageW(hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)) != GDT_VALID)
        return 0;
    KWDateTime date;
    date.year = shown.wYear;
    date.month = shown.wMonth;
    date.day = shown.wDay;
    date.hour = shown.wHour;
    date.minute = shown.wMinute;
    date.second = shown.wSecond;
    return DateTimeToSerial(date);
}

void CKWDataTimePickerCtrlImpWin::SetTime(double value)
{
    HWND hWnd = GetHwnd();
    if (!hWnd)
        return;
    SYSTEMTIME shown;
    SerialToSystemTime(value, shown);
    shown.wDayOfWeek = 0;
    ::SendMessageW(hWnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&shown));
}

int CKWDataTimePickerCtrlImpWin::GetFormat()
{
    const LONG style = ::GetWindowLongW(GetHwnd(), GWL_STYLE);
    // Both bits of DTS_TIMEFORMAT: DTS_UPDOWN alone is a date with a spin.
    if ((style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT)
        return kTime;
    return (style & DTS_LONGDATEFORMAT) ? kLongDate : kShortDate;
}

void CKWDataTimePickerCtrlImpWin::SetFormat(int format)
{
    HWND hWnd = GetHwnd();
    if (!hWnd)
        return;
    LONG style = ::GetWindowLongW(hWnd, GWL_STYLE) & ~kFormatBits;
    if (format == kLongDate)
        style |= DTS_LONGDATEFORMAT;
    else if (format == kTime)
        style |= DTS_TIMEFORMAT;
    ::SetWindowLongW(hWnd, GWL_STYLE, style);
}
