#pragma once
// The progress bar and slider kinds over a dialog's progress bar and track
// bar: one message per operation. Both are bound to existing windows (Create
// answers false).
#include "controls/KWCtrlImpWin.h"

class CKWProgressCtrlImp : public virtual CKWCtrlImp {
public:
    // Without a window: 0 for SetRange, -1 for the rest.
    virtual int SetRange(int lower, int upper) = 0;
    virtual int GetLower() = 0;
    virtual int GetUpper() = 0;
    // The previous position.
    virtual int SetPos(int position) = 0;
    virtual int GetPos() = 0;
    // The previous step.
    virtual int SetStep(int step) = 0;
    // The previous position.
    virtual int StepIt() = 0;
};

class CKWProgressCtrlImpWin : public CKWCtrlImpWin, public CKWProgressCtrlImp {
public:
    explicit CKWProgressCtrlImpWin(HWND hWnd = nullptr) : CKWCtrlImpWin(hWnd) {}

    bool Create(DWORD, DWORD, const RECT&, CWnd*, UINT) override { return false; }

    int SetRange(int lower, int upper) override;
    int GetLower() override;
    int GetUpper() override;
    int SetPos(int position) override;
    int GetPos() override;
    int SetStep(int step) override;
    int StepIt() override;

private:
    int Send(UINT message, WPARAM wParam, LPARAM lParam, int without);
};

class CKWSliderCtrlImp : public virtual CKWCtrlImp {
public:
    // Sets both ends without redrawing; the next SetPos redraws.
    virtual void SetRange(int minimum, int maximum) = 0;
    // 0 without a window.
    virtual int GetRangeMin() = 0;
    virtual int GetRangeMax() = 0;
    virtual void SetPos(int position) = 0;
    virtual int GetPos() = 0;
};

class CKWSliderCtrlImpWin : public CKWCtrlImpWin, public CKWSliderCtrlImp {
public:
    explicit CKWSliderCtrlImpWin(HWND hWnd = nullptr) : CKWCtrlImpWin(hWnd) {}

    bool Create(DWORD, DWORD, const RECT&, CWnd*, UINT) override { return false; }

    void SetRange(int minimum, int maximum) override;
    int GetRangeMin() override;
    int GetRangeMax() override;
    void SetPos(int position) override;
    int GetPos() override;

private:
    int Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
};
