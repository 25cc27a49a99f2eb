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
    ON_MESSAGE(WM_DESTROY, OnDestroyMessage)
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

namespace {

const UINT kMoveFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
const UINT kSizeFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
const UINT kBoundsFlags = SWP_NOZORDER | SWP_NOACTIVATE;

}  // namespace

CKWWinPanel::CKWWinPanel() = default;

CKWWinPanel::~CKWWinPanel()
{
    FreeBackBuffer();
}

void CKWWinPanel::Redraw(bool now)
{
    Invalidate(TRUE);
    if (now)
        UpdateWindow();
}

void CKWWinPanel::Show(bool show)
{
    ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CKWWinPanel::Move(int x, int y)
{
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, kMoveFlags);
}

void CKWWinPanel::Resize(int width, int height)
{
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, kSizeFlags);
}

void CKWWinPanel::SetBounds(int x, int y, int width, int height)
{
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, x, y, width, height, kBoundsFlags);
}

void CKWWinPanel::SetBounds(const RECT& rect)
{
    SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void CKWWinPanel::SetFocus()
{
    ::SetFocus(m_hWnd);
}

int CKWWinPanel::GetScrollPos()
{
    return (GetStyle() & WS_VSCROLL) ? ::GetScrollPos(m_hWnd, SB_VERT) : 0;
}

void CKWWinPanel::SetScrollPos(int position)
{
    if (GetStyle() & WS_VSCROLL)
        ::SetScrollPos(m_hWnd, SB_VERT, position, TRUE);
}

void CKWWinPanel::ScrollWindow(int dx, int dy, const RECT& rect)
{
    ::ScrollWindowEx(m_hWnd, dx, dy, &rect, &rect, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
}

void CKWWinPanel::ResizeBackBuffer(int width, int height)
{
    if (!m_memoryDC) {
        HDC window = ::GetDC(m_hWnd);
        m_memoryDC = ::CreateCompatibleDC(window);
        ::ReleaseDC(m_hWnd, window);
    }
    if (m_buffer && m_bufferWidth == width && m_bufferHeight == height)
        return;
    if (m_buffer)
        ::DeleteObject(m_buffer);
    HDC window = ::GetDC(m_hWnd);
    m_buffer = ::CreateCompatibleBitmap(window, width, height);
    ::ReleaseDC(m_hWnd, window);
    m_bufferWidth = m_buffer ? width : 0;
    m_bufferHeight = m_buffer ? height : 0;
}

void CKWWinPanel::FreeBackBuffer()
{
    if (m_buffer)
        ::DeleteObject(m_buffer);
    if (m_memoryDC)
        ::DeleteDC(m_memoryDC);
    m_buffer = nullptr;
    m_memoryDC = nullptr;
    m_bufferWidth = m_bufferHeight = 0;
}

bool CKWWinPanel::GetVScrollState(SCROLLINFO& info, int& page)
{
    info = SCROLLINFO{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!::GetScrollInfo(m_hWnd, SB_VERT, &info))
        return false;
    RECT client = {};
    GetClientRect(&client);
    page = (client.bottom - client.top) / std::max(GetScrollUnit(), 1);
    return true;
}

bool CKWWinPanel::OnVScroll(int code, int position)
{
    return ScrollVertically(code, position, 1, true, 1);
}

bool CKWWinPanel::ScrollVertically(int code, int position, int lineStep, bool lineStopsAtLastPage,
                                   int pixelsPerUnit)
{
    SCROLLINFO info;
    int step = 0;
    if (!GetVScrollState(info, step))
        return false;
    const int old = info.nPos;
    int pos = old;
    // A move never goes against its direction, even where the page bound
    // lies behind the position.
    switch (code) {
    case SB_LINEUP:
        pos = std::min(old, std::max(old - lineStep, info.nMin));
        break;
    case SB_LINEDOWN:
        pos = std::max(old, std::min(old + lineStep, lineStopsAtLastPage ? info.nMax - step : info.nMax));
        break;
    case SB_PAGEUP:
        pos = std::min(old, std::max(old - step, info.nMin));
        break;
    case SB_PAGEDOWN:
        pos = std::max(old, std::min(old + step, info.nMax));
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
        ScrollBy(0, (old - now) * pixelsPerUnit);
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

LRESULT CKWWinPanel::OnSizeMessage(WPARAM, LPARAM lParam)
{
    const LRESULT result = Default();
    const int width = LOWORD(lParam);
    const int height = HIWORD(lParam);
    if (width != 0 && height != 0)
        ResizeBackBuffer(width, height);
    OnSizeChanged();
    return result;
}

LRESULT CKWWinPanel::OnPaintMessage(WPARAM, LPARAM)
{
    RECT client = {};
    GetClientRect(&client);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const int kind = ::GetUpdateRgn(m_hWnd, region, FALSE);
    if (kind == ERROR || kind == NULLREGION)
        ::SetRectRgn(region, client.left, client.top, client.right, client.bottom);
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    // A paint may come before the first size message with a size.
    if (dc && width > 0 && height > 0 && !m_buffer)
        ResizeBackBuffer(width, height);
    if (dc && m_buffer && m_memoryDC) {
        HGDIOBJ previous = ::SelectObject(m_memoryDC, m_buffer);
        {
            CKWGdiPlusDraw graphics(m_memoryDC);
            Paint(graphics, client, region);
        }
        ::BitBlt(dc, client.left, client.top, width, height, m_memoryDC, client.left, client.top, SRCCOPY);
        ::SelectObject(m_memoryDC, previous);
    }
    if (dc)
        ::EndPaint(m_hWnd, &paint);
    ::DeleteObject(region);
    return 0;
}

LRESULT CKWWinPanel::OnDestroyMessage(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    FreeBackBuffer();
    RevokeDropTarget();
    return result;
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
    if (OnVScroll(LOWORD(wParam), position))
        Redraw(true);
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
        OnVScroll(SB_THUMBTRACK, std::max(GetScrollPos() + step, 0));
    return TRUE;
}
