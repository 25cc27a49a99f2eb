#include "controls/KWTimeEditCtrlImp.h"

#include "framework/KWDate.h"

#include <cmath>
#include <cstdint>
#include <cwctype>

namespace {

const wchar_t* SkipBlanks(const wchar_t* p)
{
    while (*p && std::iswspace(*p))
        ++p;
    return p;
}

// A whole number with an optional sign after blanks; false without digits
// or past the range of an int.
bool ScanNumber(const wchar_t*& p, int& value)
{
    p = SkipBlanks(p);
    bool negative = false;
    if (*p == L'+' || *p == L'-')
        negative = *p++ == L'-';
    if (*p < L'0' || *p > L'9')
        return false;
    int64_t number = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        number = number * 10 + (*p - L'0');
        if (number > INT32_MAX)
            return false;
    }
    value = static_cast<int>(negative ? -number : number);
    return true;
}

}  // namespace

bool KWScanTimeText(const wchar_t* text, int& hours, int& minutes)
{
    if (!text)
        return false;
    const wchar_t* p = text;
    if (!ScanNumber(p, hours))
        return false;
    p = SkipBlanks(p);
    if (!*p)
        return false;
    ++p;  // the separator
    return ScanNumber(p, minutes);
}

double CKWTimeEditCtrlImp::GetTime()
{
    return m_time;
}

void CKWTimeEditCtrlImp::SetTime(double value)
{
    SetTimeValue(value, false);
    SetText(GetDisplayText());
}

bool CKWTimeEditCtrlImp::Parse(const CString& text)
{
    int hours = 0;
    int minutes = 0;
    const bool valid = KWScanTimeText(text, hours, minutes) && hours >= 0 && hours <= 23 && minutes >= 0 &&
                       minutes <= 59;
    if (valid) {
        // Minutes of the day over the minutes of a day: the time as it was typed.
        SetTimeValue((hours * 60 + minutes) / 1440.0, true);
        SetText(Format(hours, minutes));
    }
    SetValid(valid);
    return valid;
}

bool CKWTimeEditCtrlImp::Commit()
{
    CString text;
    GetText(text);
    if (text.IsEmpty()) {
        if (m_valid)
            Notify(kValueChanged);
        SetValid(false);
        return true;
    }
    const bool valid = Parse(text);
    if (!valid)
        Notify(kInvalidText);
    return valid;
}

bool CKWTimeEditCtrlImp::IsValid()
{
    return m_valid != 0;
}

void CKWTimeEditCtrlImp::Clear()
{
    SetText(CString());
    SetValid(false);
}

void CKWTimeEditCtrlImp::SetTimeValue(double value, bool notify)
{
    const double old = m_time;
    const bool wasValid = m_valid != 0;
    double fraction = value - std::floor(value);
    if (!(fraction >= 0 && fraction < 1))  // rounding up to a whole day, or not a number
        fraction = 0;
    m_time = fraction;
    SetValid(true);
    if (notify && (std::fabs(m_time - old) > 1e-6 || !wasValid))
        Notify(kValueChanged);
}

CString CKWTimeEditCtrlImp::Format(int hours, int minutes)
{
    CString text;
    text.Format(L"%02d:%02d", hours, minutes);
    return text;
}

CString CKWTimeEditCtrlImp::GetDisplayText()
{
    KWDateTime time;
    SerialToDateTime(m_time, time);
    return Format(time.hour, time.minute);
}

void CKWTimeEditCtrlImp::SetValid(bool valid)
{
    m_valid = valid ? 1 : 0;
}
