#include "appwindows/KWBusyCursor.h"

namespace {

int g_waits = 0;
int g_background = 0;

// The window of this thread under the pointer; null over any other.
HWND OwnWindowAtPointer(POINT& point)
{
    if (!::GetCursorPos(&point))
        return nullptr;
    HWND window = ::WindowFromPoint(point);
    return window && ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId() ? window : nullptr;
}

}  // namespace

CKWBusyCursor::CWait::CWait()
{
    ++g_waits;
    Refresh();
}

CKWBusyCursor::CWait::~CWait()
{
    --g_waits;
    Refresh();
}

void CKWBusyCursor::BeginBackground()
{
    ++g_background;
    Refresh();
}

void CKWBusyCursor::EndBackground()
{
    if (g_background > 0)
        --g_background;
    Refresh();
}

bool CKWBusyCursor::IsBackgroundBusy()
{
    return g_background > 0;
}

HCURSOR CKWBusyCursor::Current()
{
    if (g_waits > 0)
        return ::LoadCursorW(nullptr, IDC_WAIT);
    if (g_background > 0)
        return ::LoadCursorW(nullptr, IDC_APPSTARTING);
    return nullptr;
}

void CKWBusyCursor::Refresh()
{
    POINT point;
    HWND window = OwnWindowAtPointer(point);
    if (!window)
        return;
    if (HCURSOR busy = Current()) {
        ::SetCursor(busy);
        return;
    }
    // As a move of the pointer would: the window under it sets its cursor.
    const LRESULT hit = ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    ::SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(LOWORD(hit), WM_MOUSEMOVE));
}
