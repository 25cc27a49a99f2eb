#include "docking/frames/QMXPPrintPreviewView.h"

#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPStatusBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/DialogBar.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/PrintInfo.h"
#include "platform/classlib/StringResource.h"

IMPLEMENT_DYNCREATE(CQMXPPrintPreviewView, CPreviewView)
IMPLEMENT_DYNAMIC(CQMXPPrintPreviewToolBar, CQMXPToolBar)

namespace {

// Child, visible, gripper, top, bottom border, hidden in place.
constexpr DWORD kPreviewBarStyle = 0x50402808;
// The status bar's first stretching pane.
constexpr int kStretchPane = 255;

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPPrintPreviewToolBar, CQMXPToolBar)
    ON_WM_CONTEXTMENU()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

void CQMXPPrintPreviewToolBar::OnDestroy() {
    RemoveControlBarFromDockManager(this, FALSE, FALSE, FALSE);
    CQMXPToolBar::OnDestroy();
}

BEGIN_MESSAGE_MAP(CQMXPPrintPreviewView, CPreviewView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPageChange)
END_MESSAGE_MAP()

CQMXPPrintPreviewView::CQMXPPrintPreviewView()
    : m_iOnePageImageIndex(-1), m_iTwoPageImageIndex(-1), m_iPagesBtnIndex(-1), m_pWndStatusBar(nullptr) {}

CQMXPPrintPreviewView::~CQMXPPrintPreviewView() = default;

int CQMXPPrintPreviewView::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CPreviewView::OnCreate(lpcs) == -1)
        return -1;
    {
        CQMXPLocalResource resource;
        // Locked: the preview's images and sizes are its own, not the program's bars'.
        if (m_pToolBar == nullptr || !m_wndToolBar.Create(m_pToolBar, kPreviewBarStyle, AFX_IDW_TOOLBAR) ||
            !m_wndToolBar.LoadToolBar(IDR_QMXP_PRINT_PREVIEW, 0, 0, TRUE))
            return 0;
    }
    m_iPagesBtnIndex = m_wndToolBar.CommandToIndex(AFX_ID_PREVIEW_NUMPAGE);
    if (CQMXPToolbarButton* pPages = m_wndToolBar.GetButton(m_iPagesBtnIndex))
        m_iOnePageImageIndex = pPages->GetImage();
    const int iTwoPages = m_wndToolBar.CommandToIndex(ID_QMXP_PREVIEW_TWO_PAGES_IMAGE);
    if (CQMXPToolbarButton* pTwoPages = m_wndToolBar.GetButton(iTwoPages)) {
        m_iTwoPageImageIndex = pTwoPages->GetImage();
        m_wndToolBar.RemoveButton(iTwoPages);
    }
    for (UINT uiCmd : {AFX_ID_PREVIEW_PRINT, AFX_ID_PREVIEW_CLOSE}) {
        CQMXPToolbarButton* pButton = m_wndToolBar.GetButton(m_wndToolBar.CommandToIndex(uiCmd));
        if (pButton == nullptr)
            continue;
        CString strPrompt;
        AfxLoadStringResource(uiCmd, strPrompt);
        pButton->m_strText = AfxExtractStringField(strPrompt, 1);
        pButton->m_bText = TRUE;
    }
    m_wndToolBar.AdjustLayout();
    // The bar lies in the class library's preview bar, which the frame's
    // own layout places: the dock manager does not list it.
    CFrameWnd* pFrame = GetParentFrame();
    SetToolbarSize();
    CWnd* pStatusBar = pFrame != nullptr ? CWnd::FromHandlePermanent(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_STATUS_BAR))
                                         : nullptr;
    if (pStatusBar != nullptr && pStatusBar->IsKindOf(RUNTIME_CLASS(CQMXPStatusBar))) {
        m_pWndStatusBar = static_cast<CQMXPStatusBar*>(pStatusBar);
        m_pWndStatusBar->SetPaneText(kStretchPane, nullptr);
    }
    UpdatePagesImage();
    return 0;
}

void CQMXPPrintPreviewView::OnDestroy() {
    if (m_pWndStatusBar != nullptr && m_pWndStatusBar->GetSafeHwnd() != nullptr)
        m_pWndStatusBar->SetPaneText(kStretchPane, nullptr);
    else if (CFrameWnd* pFrame = GetParentFrame())
        // The page number went to the frame's message line: the idle text
        // takes its place again.
        pFrame->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    m_pWndStatusBar = nullptr;
    CPreviewView::OnDestroy();
}

void CQMXPPrintPreviewView::SetToolbarSize() {
    if (m_pToolBar == nullptr || m_pToolBar->m_hWnd == nullptr || m_wndToolBar.m_hWnd == nullptr)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr)
        return;
    CRect rectFrame;
    pFrame->GetClientRect(&rectFrame);
    const int cyBar = m_wndToolBar.CalcFixedLayout(FALSE, TRUE).cy;
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

void CQMXPPrintPreviewView::UpdatePagesImage() {
    CQMXPToolbarButton* pButton = m_wndToolBar.GetButton(m_iPagesBtnIndex);
    if (pButton == nullptr)
        return;
    pButton->SetImage(GetPagesShown() == 1 ? m_iTwoPageImageIndex : m_iOnePageImageIndex);
    CRect rect = pButton->GetRect();
    m_wndToolBar.InvalidateRect(&rect);
}

void CQMXPPrintPreviewView::OnNumPageChange() {
    CPreviewView::OnNumPageChange();
    UpdatePagesImage();
}

void CQMXPPrintPreviewView::OnDisplayPageNumber(UINT nPage, UINT nPagesDisplayed) {
    if (m_pPreviewInfo == nullptr)
        return;
    const CString strFormat = AfxExtractStringField(m_pPreviewInfo->m_strPageDesc, nPagesDisplayed == 1 ? 0 : 1);
    CString strText;
    if (nPagesDisplayed == 1)
        strText.Format(strFormat, nPage);
    else
        strText.Format(strFormat, nPage, nPage + nPagesDisplayed - 1);
    if (m_pWndStatusBar != nullptr && m_pWndStatusBar->GetSafeHwnd() != nullptr) {
        m_pWndStatusBar->SetPaneText(kStretchPane, strText);
        m_pWndStatusBar->UpdateWindow();
    } else if (CFrameWnd* pFrame = GetParentFrame()) {
        pFrame->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(strText)));
    }
}
