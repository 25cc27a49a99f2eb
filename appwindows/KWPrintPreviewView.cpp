#include "appwindows/KWPrintPreviewView.h"

#include "docking/toolbars/QMXPToolbarButton.h"
#include "appwindows/KWDocument.h"
#include "appwindows/KWPrintIFace.h"
#include "appwindows/KWWinView.h"
#include "platform/classlib/DialogBar.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/PrintPreviewState.h"
#include "platform/classlib/StringResource.h"
#include "resources/FrameworkDialogs.h"

IMPLEMENT_DYNCREATE(CKWPrintPreviewView, CQMXPPrintPreviewView)

BEGIN_MESSAGE_MAP(CKWPrintPreviewView, CQMXPPrintPreviewView)
    ON_WM_CREATE()
    ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPageChange)
END_MESSAGE_MAP()

CKWPrintPreviewView::CKWPrintPreviewView() = default;

CKWPrintPreviewView::~CKWPrintPreviewView() = default;

int CKWPrintPreviewView::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    if (CQMXPPrintPreviewView::OnCreate(lpCreateStruct) == -1)
        return -1;
    // The preview's tool bar stands in for the bar template's placeholder.
    if (HWND placeholder = m_pToolBar ? ::GetDlgItem(m_pToolBar->m_hWnd, IDC_KW_PREVIEW_PLACEHOLDER) : nullptr)
        ::ShowWindow(placeholder, SW_HIDE);
    if (CFrameWnd* frame = GetParentFrame())
        frame->PostMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    // Locked, the bar keeps its height whatever the library asks later.
    m_wndToolBar.SetLocked(TRUE);
    if (CQMXPToolbarButton* button = m_wndToolBar.GetButton(m_iPagesBtnIndex)) {
        if (!AfxLoadStringResource(AFX_IDS_ONEPAGE, button->m_strText))
            button->m_strText = L"&One Page";
        m_wndToolBar.AdjustLayout();
    }
    SetToolbarSize();
    return 0;
}

void CKWPrintPreviewView::OnNumPageChange()
{
    CQMXPPrintPreviewView::OnNumPageChange();
    if (CQMXPToolbarButton* button = m_wndToolBar.GetButton(m_iPagesBtnIndex)) {
        CRect rect = button->GetRect();
        rect.InflateRect(3, 3);
        m_wndToolBar.InvalidateRect(&rect, TRUE);
    }
}

void CKWPrintPreviewView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    if (bActivate && pActivateView) {
        CDocument* document = pActivateView->GetDocument();
        if (document && document->IsKindOf(RUNTIME_CLASS(CKWDocument)))
            m_nPages = 1 + static_cast<UINT>(static_cast<CKWDocument*>(document)->GetExtraPreviewPages());
    }
    CQMXPPrintPreviewView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

bool DoPrintPreview(CKWWinView* view)
{
    CFrameWnd* frame = view->GetParentFrame();
    auto* state = new CPrintPreviewState;
    if (!view->DoPrintPreview(IDD_KW_PREVIEW_BAR, view, RUNTIME_CLASS(CKWPrintPreviewView), state)) {
        AfxMessageBoxText(AFX_IDP_COMMAND_FAILURE, L"Command failed.", MB_OK | MB_ICONEXCLAMATION);
        delete state;
        return false;
    }
    // Opens at the page the print interface names, kept within the range.
    CView* active = frame ? frame->GetActiveView() : nullptr;
    CKWPrintIFace* printIFace = view->GetPrintIFace();
    if (active && active->IsKindOf(RUNTIME_CLASS(CKWPrintPreviewView)) && printIFace) {
        static_cast<CKWPrintPreviewView*>(active)->SetCurrentPage(
            static_cast<UINT>(printIFace->GetPreviewStartPage()), TRUE);
        frame->UpdateWindow();
    }
    return true;
}
