#pragma once
// CKWProgressControl: the facade over a progress bar, through the Windows
// progress-bar messages. While it has no control window, GetUpper gives
// 2147483647, the other queries and setters give 0, and SetRange does nothing.
#include <windows.h>

class CKWProgressControl {
public:
    CKWProgressControl() = default;
    CKWProgressControl(const CKWProgressControl&) = delete;
    CKWProgressControl& operator=(const CKWProgressControl&) = delete;

    // Binds the facade to an existing progress bar (null unbinds it).
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND GetHwnd() const { return m_hWnd; }

    void SetRange(int low, int high);
    // The previous position.
    int SetPos(int position);
    int GetPos() const;
    // The previous step.
    int SetStep(int step);
    // The previous position.
    int StepIt();
    int GetUpper() const;

private:
    HWND m_hWnd = nullptr;
};
