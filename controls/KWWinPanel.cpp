#include "controls/KWWinPanel.h"

#include "controls/KWTrackContextMenu.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/KWGdiPlusDraw.h"
#include "platform/classlib/WinApp.h"
#include "platform/classlib/WinThread.h"

BEGIN_MESSAGE_MAP(CKWWinPanel, CWnd)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDownMessage)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUpMessage)
    ON_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDblClkMessage)
    ON_MESSAGE(WM_RBUTTONDOWN, OnRButtonDownMessage)
    ON_MESSAGE(WM_RBUTTONUP, OnRButtonUpMessage)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMoveMessage)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDownMessage)
    ON_MESSAGE(WM_KEYUP, OnKeyUpMessage)
    ON_MESSAGE(WM_SETFOCUS, OnSetFocusMessage)
    ON_MESSAGE(WM_KILLFOCUS, OnKillFocusMessage)
    ON_MESSAGE(WM_SIZE, OnSizeMessage)
    ON_MESSAGE(WM_PAINT, OnPaintMessage)
    ON_MESSAGE(WM_VSCROLL, OnVScrollMessage)
    ON_MESSAGE(WM_CONTEXTMENU, OnContextMenuMessage)
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CKWWinPanel::CKWWinPanel() = default;

CKWWinPanel::~CKWWinPanel() = default;

int CKWWinPanel::GetScrollY() const
{
    return (GetStyle() & WS_VSCROLL) ? ::GetScrollPos(m_hWnd, SB_VERT) : 0;
}

void CKWWinPanel::SetScrollY(int position)
{
    if (GetStyle() & WS_VSCROLL)
        ::SetScrollPos(m_hWnd, SB_VERT, position, TRUE);
}

void CKWWinPanel::ScrollWindow(int dx, int dy, const RECT& rect)
{
    ::ScrollWindowEx(m_hWnd, dx, dy, &rect, &rect, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
}

void CKWWinPanel::SetFocus()
{
    ::SetFocus(m_hWnd);
}

bool CKWWinPanel::OnVScroll(int code, int position)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!::GetScrollInfo(m_hWnd, SB_VERT, &info))
        return false;
    RECT client = {};
    GetClientRect(&client);
    const int step = (client.bottom - client.top) / std::max(GetScrollUnit(), 1);
    const int old = info.nPos;
    int pos = old;
    // A move never goes against its direction, even where the page bound
    // lies behind the position.
    switch (code) {
    case SB_LINEUP:
        pos = std::min(old, std::max(old - 1, info.nMin));
        break;
    case SB_LINEDOWN:
        pos = std::max(old, std::min(old + 1, info.nMax - step));
        break;
    case SB_PAGEUP:
        pos = std::min(old, std::max(old - step, info.nMin));
        break;
    case SB_PAGEDOWN:
        pos = std::max(old, std::min(old + step, info.nMax - step));
        break;
    case SB_THUMBTRACK:
        pos = position;
        break;
    default:
        return false;
    }
    if (pos == old)
        return false;
    ::SetScrollPos(m_hWnd, SB_VERT, pos, TRUE);
    // The bar keeps the position within its range: the contents follow the
    // position it really took.
    const int now = ::GetScrollPos(m_hWnd, SB_VERT);
    if (now != old)
        ScrollBy(0, old - now);
    return false;
}

void CKWWinPanel::OnContextMenu(int x, int y)
{
    const UINT id = GetContextMenuId();
    if (id == 0)
        return;
    if (x == -1 && y == -1) {  // from the keyboard: at the pointer
        POINT cursor;
        ::GetCursorPos(&cursor);
        x = cursor.x;
        y = cursor.y;
    }
    // The chosen command goes to the application's main window.
    CWnd* main = AfxGetMainWnd();
    KWTrackContextMenu(id, x, y, main ? main->m_hWnd : m_hWnd);
}

LRESULT CKWWinPanel::Handled(bool handled)
{
    return handled ? 0 : Default();
}

LRESULT CKWWinPanel::OnLButtonDownMessage(WPARAM, LPARAM lParam)
{
    return Handled(OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
}

LRESULT CKWWinPanel::OnLButtonUpMessage(WPARAM, LPARAM lParam)
{
    return Handled(OnLButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
}

LRESULT CKWWinPanel::OnLButtonDblClkMessage(WPARAM, LPARAM lParam)
{
    return Handled(OnLButtonDblClk(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
}

LRESULT CKWWinPanel::OnRButtonDownMessage(WPARAM, LPARAM lParam)
{
    return Handled(OnRButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
}

LRESULT CKWWinPanel::OnRButtonUpMessage(WPARAM, LPARAM lParam)
{
    return Handled(OnRButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
}

LRESULT CKWWinPanel::OnMouseMoveMessage(WPARAM, LPARAM lParam)
{
    return Handled(OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
}

LRESULT CKWWinPanel::OnKeyDownMessage(WPARAM wParam, LPARAM)
{
    return Handled(OnKeyDown(CKWKeyRecord::FromMessage(wParam)));
}

LRESULT CKWWinPanel::OnKeyUpMessage(WPARAM wParam, LPARAM)
{
    return Handled(OnKeyUp(CKWKeyRecord::FromMessage(wParam)));
}

LRESULT CKWWinPanel::OnSetFocusMessage(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    OnSetFocus();
    return result;
}

LRESULT CKWWinPanel::OnKillFocusMessage(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    OnKillFocus();
    return result;
}

LRESULT CKWWinPanel::OnSizeMessage(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    OnSizeChanged();
    return result;
}

LRESULT CKWWinPanel::OnPaintMessage(WPARAM, LPARAM)
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (dc) {
        RECT client = {};
        GetClientRect(&client);
        {
            CKWGdiPlusDraw graphics(dc);
            Paint(graphics, client, dc);
        }
        ::EndPaint(m_hWnd, &paint);
    }
    return 0;
}

LRESULT CKWWinPanel::OnVScrollMessage(WPARAM wParam, LPARAM)
{
    int position = HIWORD(wParam);
    if (LOWORD(wParam) == SB_THUMBTRACK) {  // the full 32-bit track position
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        if (::GetScrollInfo(m_hWnd, SB_VERT, &info))
            position = info.nTrackPos;
    }
    if (OnVScroll(LOWORD(wParam), position)) {
        Invalidate(TRUE);
        UpdateWindow();
    }
    return 0;
}

LRESULT CKWWinPanel::OnContextMenuMessage(WPARAM, LPARAM lParam)
{
    OnContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return 0;
}

BOOL CKWWinPanel::OnMouseWheel(UINT, short delta, CPoint)
{
    RECT client = {};
    GetClientRect(&client);
    const int notches = -delta / 120;  // toward zero: a part of a notch moves nothing
    const int step = (client.bottom - client.top) * notches;
    if (step != 0)
        OnVScroll(SB_THUMBTRACK, std::max(GetScrollY() + step, 0));
    return TRUE;
}
