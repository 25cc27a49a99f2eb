#include "controls/KWButtonCtrlImpWin.h"

namespace {

// The push-button types: push, default push and (owner-drawn) 8.
bool IsPushType(HWND hWnd)
{
    const LONG style = ::GetWindowLongW(hWnd, GWL_STYLE);
    return (style & 6) == 0 && (style & 9) < 9;
}

}  // namespace

LRESULT KWSetButtonCheck(HWND hWnd, int value)
{
    if (!hWnd)
        return 0;
    return ::SendMessageW(hWnd, IsPushType(hWnd) ? BM_SETSTATE : BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

LRESULT KWGetButtonCheck(HWND hWnd)
{
    if (!hWnd)
        return 0;
    return ::SendMessageW(hWnd, IsPushType(hWnd) ? BM_GETSTATE : BM_GETCHECK, 0, 0);
}

LRESULT CKWButtonCtrlImpWin::SetCheck(int value)
{
    return KWSetButtonCheck(GetHwnd(), value);
}

LRESULT CKWButtonCtrlImpWin::GetCheck()
{
    return KWGetButtonCheck(GetHwnd());
}
