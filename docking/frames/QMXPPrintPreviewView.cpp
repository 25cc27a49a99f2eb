#include "docking/frames/QMXPPrintPreviewView.h"

#include "docking/bars/QMXPStatusBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/DialogBar.h"
#include "platform/classlib/FrameWnd.h"

IMPLEMENT_DYNCREATE(CQMXPPrintPreviewView, CPreviewView)
IMPLEMENT_DYNAMIC(CQMXPPrintPreviewToolBar, CQMXPToolBar)

BEGIN_MESSAGE_MAP(CQMXPPrintPreviewToolBar, CQMXPToolBar)
    ON_WM_CONTEXTMENU()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

void CQMXPPrintPreviewToolBar::OnDestroy() {
    RemoveControlBarFromDockManager(this, FALSE, FALSE, FALSE);
    CQMXPToolBar::OnDestroy();
}

namespace {

struct PreviewButton {
    UINT nID;
    const wchar_t* text;
    bool bText;
};

// The preview tool bar's buttons, in order.
const PreviewButton kPreviewButtons[] = {
    {AFX_ID_PREVIEW_PRINT, L"&Print", true},
    {AFX_ID_PREVIEW_PREV, L"Previous Page", false},
    {AFX_ID_PREVIEW_NEXT, L"Next Page", false},
    {AFX_ID_PREVIEW_NUMPAGE, L"&Two Page", false},
    {AFX_ID_PREVIEW_CLOSE, L"&Close", true},
};

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPPrintPreviewView, CPreviewView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPageChange)
END_MESSAGE_MAP()

CQMXPPrintPreviewView::CQMXPPrintPreviewView()
    : m_iOnePageImageIndex(-1), m_iTwoPageImageIndex(-1), m_iPagesBtnIndex(-1), m_pWndStatusBar(nullptr) {}

CQMXPPrintPreviewView::~CQMXPPrintPreviewView() = default;

int CQMXPPrintPreviewView::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CPreviewView::OnCreate(lpcs) == -1)
        return -1;
    if (m_pToolBar == nullptr ||
        !m_wndToolBar.Create(m_pToolBar, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR))
        return -1;
    for (const PreviewButton& button : kPreviewButtons)
        m_wndToolBar.InsertButton(new CQMXPToolbarButton(button.nID, button.text, button.bText));
    m_iPagesBtnIndex = m_wndToolBar.CommandToIndex(AFX_ID_PREVIEW_NUMPAGE);
    CFrameWnd* pFrame = GetParentFrame();
    CWnd* pStatusBar = pFrame != nullptr ? CWnd::FromHandlePermanent(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_STATUS_BAR))
                                         : nullptr;
    if (pStatusBar != nullptr && pStatusBar->IsKindOf(RUNTIME_CLASS(CQMXPStatusBar)))
        m_pWndStatusBar = static_cast<CQMXPStatusBar*>(pStatusBar);
    SetToolbarSize();
    return 0;
}

void CQMXPPrintPreviewView::SetToolbarSize() {
    if (m_pToolBar == nullptr || m_pToolBar->m_hWnd == nullptr || m_wndToolBar.m_hWnd == nullptr)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr)
        return;
    CRect rectFrame;
    pFrame->GetClientRect(&rectFrame);
    int cyBar = m_wndToolBar.CalcFixedLayout(TRUE, TRUE).cy;
    const UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW;
    m_pToolBar->SetWindowPos(nullptr, 0, 0, rectFrame.Width(), cyBar, nFlags);
    m_wndToolBar.SetWindowPos(nullptr, 0, 0, rectFrame.Width(), cyBar, nFlags);
    m_pToolBar->m_sizeDefault.cy = cyBar;
    pFrame->RecalcLayout(TRUE);
    pFrame->UpdateWindow();
}

void CQMXPPrintPreviewView::OnSize(UINT nType, int cx, int cy) {
    CPreviewView::OnSize(nType, cx, cy);
    SetToolbarSize();
}

void CQMXPPrintPreviewView::OnNumPageChange() {
    CPreviewView::OnNumPageChange();
    CQMXPToolbarButton* pButton = m_wndToolBar.GetButton(m_iPagesBtnIndex);
    if (pButton != nullptr) {
        CRect rect = pButton->GetRect();
        m_wndToolBar.InvalidateRect(&rect);
    }
}
