#include "appwindows/KWBusyCursor.h"

namespace {

int g_waits = 0;
int g_background = 0;
HHOOK g_hook = nullptr;

// After a window of this thread chose the cursor of its client area, the
// busy one replaces it. The main frame shows it over its own children, but
// a window of the program's own (the progress window, a floating bar) would
// show its arrow while the work goes on under it.
LRESULT CALLBACK AfterWindowProcedure(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call && call->message == WM_SETCURSOR && LOWORD(call->lParam) == HTCLIENT) {
        if (HCURSOR busy = CKWBusyCursor::Current())
            ::SetCursor(busy);
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

// The hook lives while the program is busy.
void FollowBusyState()
{
    const bool busy = CKWBusyCursor::Current() != nullptr;
    if (busy && !g_hook)
        g_hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, AfterWindowProcedure, nullptr, ::GetCurrentThreadId());
    else if (!busy && g_hook && ::UnhookWindowsHookEx(g_hook))
        g_hook = nullptr;
}

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
    FollowBusyState();
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
