#include "docking/frames/QMXPTrackMouse.h"

namespace {

constexpr UINT kTrackPeriod = 100;

void CALLBACK TrackMouseTimerProc(HWND hWnd, UINT, UINT_PTR idEvent, DWORD) {
    RECT rect;
    ::GetClientRect(hWnd, &rect);
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<LPPOINT>(&rect), 2);
    POINT pt;
    ::GetCursorPos(&pt);
    if (::PtInRect(&rect, pt) && ::WindowFromPoint(pt) == hWnd)
        return;
    ::KillTimer(hWnd, idEvent);
    ::PostMessageW(hWnd, WM_MOUSELEAVE, 0, 0);
}

}  // namespace

BOOL QMXPTrackMouse(LPTRACKMOUSEEVENT lpEventTrack) {
    if (lpEventTrack == nullptr || lpEventTrack->cbSize < sizeof(TRACKMOUSEEVENT) ||
        !::IsWindow(lpEventTrack->hwndTrack) || !(lpEventTrack->dwFlags & TME_LEAVE))
        return FALSE;
    return ::SetTimer(lpEventTrack->hwndTrack, QMXP_TRACK_MOUSE_TIMER, kTrackPeriod, TrackMouseTimerProc) != 0;
}
