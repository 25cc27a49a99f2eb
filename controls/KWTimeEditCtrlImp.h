#pragma once
// The time edit kind, platform-neutral: a time of day typed as hours and
// minutes ("7:5", "07-05", "9.5"), checked, shown as "HH:MM" and kept as the
// fraction of a day. The window tells its parent when the value changes
// (kValueChanged, also when a held value is emptied) and when the typed text
// is no time (kInvalidText).
#include "controls/KWControl.h"

#include <cstdint>

class CKWTimeEditCtrlImp : public virtual CKWCtrlImp {
public:
    static constexpr UINT kValueChanged = 1;
    static constexpr UINT kInvalidText = 2;

    // The fraction of a day, 0 <= value < 1.
    virtual double GetTime();
    // Takes the value without telling anyone and shows it.
    virtual void SetTime(double value);
    // Takes a typed time and shows it in the "HH:MM" form; false (and no value)
    // for a text that is no time of day.
    virtual bool Parse(const CString& text);
    // Takes the window's text: an empty text ends the value; a wrong one is
    // reported. False when the text is no time.
    virtual bool Commit();
    virtual bool IsValid();
    // Empties the window and ends the value; nobody is told.
    virtual void Clear();
    // Keeps the fraction of the value's day; with notify, a changed (or first)
    // value is reported.
    virtual void SetTimeValue(double value, bool notify);
    virtual CString Format(int hours, int minutes);
    virtual CString GetDisplayText();
    virtual void SetValid(bool valid);
    virtual void Notify(UINT code) = 0;

protected:
    double m_time = 0;
    uint8_t m_valid = 0;
};

// Reads "number, one separator, number": blanks before each number and
// before the separator are skipped, the separator is any non-blank
// character, and what follows the second number is not read. False when a
// part is missing or a number does not fit.
bool KWScanTimeText(const wchar_t* text, int& hours, int& minutes);
