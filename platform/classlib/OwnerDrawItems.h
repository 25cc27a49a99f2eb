#pragma once
// The owner-drawn list and combo boxes answer the drawing, measuring and
// comparing their parent reflects back to them in one way.
#include <windows.h>

// TRUE when the message was one of the three (the result stored).
template <class TControl>
BOOL ReflectOwnerDrawItem(TControl& control, UINT message, LPARAM lParam, LRESULT* pResult) {
    LRESULT lResult = TRUE;
    switch (message) {
    case WM_DRAWITEM:
        control.DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        control.MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    case WM_COMPAREITEM:
        lResult = control.CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        break;
    default:
        return FALSE;
    }
    if (pResult != nullptr)
        *pResult = lResult;
    return TRUE;
}
