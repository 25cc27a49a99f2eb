#include "controls/KWScrollerBar.h"

#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/ScrollBar.h"

IMPLEMENT_DYNAMIC(CKWScrollerBar, CControlBar)

namespace {

// The low word and the gripper bit of a style are the bar style.
constexpr DWORD kBarStyleMask = 0x40FFFF;
constexpr DWORD kGripper = 0x400000;
// Child, visible, vertical and right-aligned / horizontal and bottom-aligned.
constexpr DWORD kVertBarStyle = 0x50000005;
constexpr DWORD kHorzBarStyle = 0x50000004;
// Along the bar a strip takes all the room its side has.
constexpr LONG kStretched = 32767;

}  // namespace

BEGIN_MESSAGE_MAP(CKWScrollerBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_PAINT()
    ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

CKWScrollerBar::CKWScrollerBar() : m_scrollBar(nullptr), m_client(0, 0, 0, 0) {}

CKWScrollerBar::~CKWScrollerBar()
{
    delete m_scrollBar;
    m_scrollBar = nullptr;
}

BOOL CKWScrollerBar::Create(CWnd* parentFrame, DWORD style, UINT id)
{
    m_dwStyle = style & kBarStyleMask;
    // The control bar's window class has the arrow cursor and the button
    // face. The gripper bit is a dialog frame to the window: it stays a bar style.
    return CWnd::Create(nullptr, nullptr, (style & ~kGripper) | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0), parentFrame, id);
}

CRect CKWScrollerBar::InsideRect(const CRect& client) const
{
    CRect inside = client;
    const int border = globalData.borderSize;
    if (m_dwStyle & CBRS_BORDER_LEFT)
        inside.left += border;
    if (m_dwStyle & CBRS_BORDER_TOP)
        inside.top += border;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        inside.right -= border;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        inside.bottom -= border;
    if (m_dwStyle & kGripper) {
        if (IsHorz())
            inside.left += globalData.gripperSize;
        else
            inside.top += globalData.gripperSize;
    }
    return inside;
}

CSize CKWScrollerBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    const int border = globalData.borderSize;
    if (bHorz) {
        int height = ::GetSystemMetrics(SM_CYHSCROLL);
        height += (m_dwStyle & CBRS_BORDER_TOP) ? border : 0;
        height += (m_dwStyle & CBRS_BORDER_BOTTOM) ? border : 0;
        return CSize(kStretched, height);
    }
    int width = ::GetSystemMetrics(SM_CXVSCROLL);
    width += (m_dwStyle & CBRS_BORDER_LEFT) ? border : 0;
    width += (m_dwStyle & CBRS_BORDER_RIGHT) ? border : 0;
    return CSize(width, kStretched);
}

int CKWScrollerBar::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    if (CControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_dwStyle &= ~CBRS_BORDER_3D;
    const DWORD style = GetStyle();
    DWORD barStyle = 0;
    if (style & (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT))
        barStyle = kVertBarStyle;
    else if (style & (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP))
        barStyle = kHorzBarStyle;
    if (barStyle == 0)
        return 0;
    CRect client;
    GetClientRect(&client);
    m_scrollBar = new CScrollBar;
    if (!m_scrollBar->Create(barStyle, client, this, kScrollBarId))
        return -1;
    return 0;
}

void CKWScrollerBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    CRect client;
    GetClientRect(&client);
    if (client == m_client)
        return;
    m_client = client;
    if (m_scrollBar && m_scrollBar->m_hWnd)
        m_scrollBar->MoveWindow(InsideRect(client));
}

void CKWScrollerBar::ForwardScroll()
{
    const MSG* message = GetCurrentMessage();
    CWnd* owner = GetOwner();
    if (message && owner && owner->m_hWnd && owner->m_hWnd != m_hWnd)
        owner->SendMessage(message->message, message->wParam, message->lParam);
}

void CKWScrollerBar::OnHScroll(UINT, UINT, CScrollBar*) { ForwardScroll(); }

void CKWScrollerBar::OnVScroll(UINT, UINT, CScrollBar*) { ForwardScroll(); }

void CKWScrollerBar::OnPaint()
{
    CPaintDC dc(this);
    ::FillRect(dc.m_hDC, &m_client, ::GetSysColorBrush(COLOR_BTNFACE));
}

void CKWScrollerBar::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    CControlBar::OnWindowPosChanging(lpwndpos);
    if (lpwndpos->flags & SWP_NOSIZE)
        return;
    // The border along the far edge is drawn again where it was and where it goes.
    const int strip = 2 * globalData.borderSize;
    CRect client;
    GetClientRect(&client);
    CRect old(client.right - strip, client.top, client.right, client.bottom);
    CRect next(lpwndpos->cx - strip, 0, lpwndpos->cx, lpwndpos->cy);
    InvalidateRect(&old);
    InvalidateRect(&next);
}
