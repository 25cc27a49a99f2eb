#pragma once
// The date-time picker kind over a dialog's date-time picker. Dates cross
// the interface as day numbers with the time of day as their fraction.
#include "controls/KWCtrlImpWin.h"

class CKWDataTimePickerCtrlImp {
public:
    // The forms of the picker's text.
    enum Format { kLongDate = 0, kShortDate = 1, kTime = 2 };

    virtual ~CKWDataTimePickerCtrlImp() = default;
    // The date and time shown, to the second.
    virtual double GetTime() = 0;
    virtual void SetTime(double value) = 0;
    virtual int GetFormat() = 0;
    // Any value other than kLongDate and kTime gives kShortDate.
    virtual void SetFormat(int format) = 0;
};

class CKWDataTimePickerCtrlImpWin : public CKWCtrlImpWin, public CKWDataTimePickerCtrlImp {
public:
    explicit CKWDataTimePickerCtrlImpWin(HWND hWnd = nullptr) : CKWCtrlImpWin(hWnd) {}

    // Bound to an existing picker: true, and no window is made.
    bool Create(DWORD, DWORD, const RECT&, CWnd*, UINT) override { return true; }

    double GetTime() override;
    void SetTime(double value) override;
    int GetFormat() override;
    void SetFormat(int format) override;
};
