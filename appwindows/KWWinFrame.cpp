#include "appwindows/KWWinFrame.h"

#include "platform/classlib/MessageMap.h"
#include "platform/classlib/View.h"

IMPLEMENT_DYNCREATE(CKWWinFrame, CQMXPMDIChildWnd)

BEGIN_MESSAGE_MAP(CKWWinFrame, CQMXPMDIChildWnd)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

namespace {

// Child, visible, maximised, caption with system menu and both boxes,
// sizing border, and the document's name in the caption.
const DWORD kDocumentFrameStyle = 0x51CF8000;
// The strips: visible children aligned right (vertical bar) or bottom
// (horizontal bar), with a border towards the view.
const DWORD kVertStripStyle = 0x50004108;
const DWORD kHorzStripStyle = 0x50008208;

}  // namespace

CKWWinFrame::CKWWinFrame() = default;

CKWWinFrame::~CKWWinFrame() = default;

BOOL CKWWinFrame::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!CQMXPMDIChildWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style = static_cast<LONG>(kDocumentFrameStyle);
    return TRUE;
}

void CKWWinFrame::ActivateFrame(int nCmdShow) { CQMXPMDIChildWnd::ActivateFrame(nCmdShow); }

void* CKWWinFrame::GetAttachedObject() { return nullptr; }

BOOL CKWWinFrame::OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext)
{
    if (!CQMXPMDIChildWnd::OnCreateClient(lpcs, pContext))
        return FALSE;
    const BOOL vertical = m_vScrollStrip.Create(this, kVertStripStyle, kVertStripId);
    m_attached = GetAttachedObject();
    const BOOL horizontal = m_hScrollStrip.Create(this, kHorzStripStyle, kHorzStripId);
    return vertical && horizontal;
}

bool CKWWinFrame::ScrollActiveView(CScrollBar* pScrollBar)
{
    if (!pScrollBar || (pScrollBar != GetHorzScrollBar() && pScrollBar != GetVertScrollBar()))
        return false;
    const MSG* message = GetCurrentMessage();
    CView* view = GetActiveView();
    if (!message || !view || !view->m_hWnd)
        return false;
    view->SendMessage(message->message, message->wParam, message->lParam);
    return true;
}

void CKWWinFrame::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (!ScrollActiveView(pScrollBar))
        Default();
}

void CKWWinFrame::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (!ScrollActiveView(pScrollBar))
        Default();
}
