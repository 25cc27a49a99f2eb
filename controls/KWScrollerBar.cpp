#include "controls/KWScrollerBar.h"

#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/ScrollBar.h"
#include "platform/classlib/View.h"

IMPLEMENT_DYNAMIC(CKWScrollerBar, CControlBar)

BEGIN_MESSAGE_MAP(CKWScrollerBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

CKWScrollerBar::CKWScrollerBar() : m_scrollBar(nullptr) {}

CKWScrollerBar::~CKWScrollerBar()
{
    delete m_scrollBar;
    m_scrollBar = nullptr;
}

BOOL CKWScrollerBar::Create(CWnd* parentFrame, DWORD style, UINT id)
{
    m_dwStyle = style & 0xFFFF;
    return CWnd::Create(nullptr, nullptr, (style & 0xFFFF0000) | WS_CHILD, CRect(0, 0, 0, 0), parentFrame, id);
}

CSize CKWScrollerBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    if (bHorz)
        return CSize(32767, ::GetSystemMetrics(SM_CYHSCROLL));
    return CSize(::GetSystemMetrics(SM_CXVSCROLL), 32767);
}

int CKWScrollerBar::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    if (CControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_scrollBar = new CScrollBar;
    const DWORD kind = IsHorz() ? SBS_HORZ : SBS_VERT;
    if (!m_scrollBar->Create(WS_CHILD | WS_VISIBLE | kind, CRect(0, 0, 0, 0), this, 1))
        return -1;
    return 0;
}

void CKWScrollerBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    if (m_scrollBar && m_scrollBar->m_hWnd)
        m_scrollBar->MoveWindow(0, 0, cx, cy);
}

void CKWScrollerBar::ForwardScroll()
{
    const MSG* message = GetCurrentMessage();
    CFrameWnd* frame = GetDockingFrame();
    CView* view = frame ? frame->GetActiveView() : nullptr;
    if (message && view && view->m_hWnd)
        view->SendMessage(message->message, message->wParam, message->lParam);
}

void CKWScrollerBar::OnHScroll(UINT, UINT, CScrollBar*) { ForwardScroll(); }

void CKWScrollerBar::OnVScroll(UINT, UINT, CScrollBar*) { ForwardScroll(); }
