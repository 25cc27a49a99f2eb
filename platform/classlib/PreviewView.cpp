#include "platform/classlib/PreviewView.h"

#include "platform/classlib/CmdUI.h"
#include "platform/classlib/DialogBar.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/PreviewDC.h"
#include "platform/classlib/PrintDialog.h"
#include "platform/classlib/PrintInfo.h"
#include "platform/classlib/PrintPreviewState.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>
#include <cstdint>

IMPLEMENT_DYNCREATE(CPreviewView, CView)

namespace {
// Space around and between the pages, in pixels.
constexpr int kMargin = 8;
constexpr int kShadow = 3;
}  // namespace

BEGIN_MESSAGE_MAP(CPreviewView, CView)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
    ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPageChange)
    ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
    ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
    ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NUMPAGE, OnUpdateNumPageChange)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NEXT, OnUpdateNextPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_PREV, OnUpdatePrevPage)
END_MESSAGE_MAP()

CPreviewView::CPreviewView()
    : m_pToolBar(nullptr),
      m_pPreviewState(nullptr),
      m_pPrintView(nullptr),
      m_pPreviewInfo(nullptr),
      m_pPreviewDC(nullptr),
      m_nPages(1),
      m_nCurrentPage(1),
      m_bPreparing(FALSE),
      m_bCloseAsked(FALSE) {}

CPreviewView::~CPreviewView() {
    delete m_pPreviewDC;  // before the job, which owns the printer's DC
    delete m_pPreviewInfo;
    delete m_pPreviewState;
}

BOOL CPreviewView::SetPrintView(CView* pPrintView) {
    m_bPreparing = TRUE;
    const BOOL bPrepared = PreparePrintView(pPrintView);
    m_bPreparing = FALSE;
    return bPrepared;
}

BOOL CPreviewView::PreparePrintView(CView* pPrintView) {
    if (pPrintView == nullptr)
        return FALSE;
    m_pPrintView = pPrintView;
    delete m_pPreviewDC;
    m_pPreviewDC = nullptr;
    delete m_pPreviewInfo;
    m_pPreviewInfo = new CPrintInfo;
    m_pPreviewInfo->m_bPreview = TRUE;
    m_pPreviewInfo->m_pPD->m_pd.nFromPage = 1;
    // The application's setting, which the view may change.
    CWinApp* pApp = AfxGetApp();
    m_pPreviewInfo->m_nNumPreviewPages = pApp != nullptr && pApp->m_nNumPreviewPages == 2 ? 2 : 1;
    if (!m_pPrintView->OnPreparePrinting(m_pPreviewInfo))
        return FALSE;
    HDC hdcPrinter = m_pPreviewInfo->m_pPD->m_pd.hDC;
    if (hdcPrinter == nullptr)
        return FALSE;
    m_pPreviewDC = new CPreviewDC;
    m_pPreviewDC->SetAttribDC(hdcPrinter);
    m_pPrintView->OnBeginPrinting(m_pPreviewDC, m_pPreviewInfo);
    m_nPages = m_pPreviewInfo->m_nNumPreviewPages == 2 ? 2 : 1;
    m_nCurrentPage = m_pPreviewInfo->GetMinPage();
    return TRUE;
}

UINT CPreviewView::PagesDisplayed() const {
    if (m_pPreviewInfo == nullptr)
        return 1;
    UINT nMax = m_pPreviewInfo->GetMaxPage();
    return (m_nPages == 2 && m_nCurrentPage < nMax) ? 2 : 1;
}

void CPreviewView::SetCurrentPage(UINT nPage, BOOL) {
    if (m_pPreviewInfo == nullptr)
        return;
    UINT nMin = m_pPreviewInfo->GetMinPage();
    UINT nMax = std::max(m_pPreviewInfo->GetMaxPage(), nMin);
    m_nCurrentPage = std::min(std::max(nPage, nMin), nMax);
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
    OnDisplayPageNumber(m_nCurrentPage, PagesDisplayed());
}

void CPreviewView::OnDisplayPageNumber(UINT nPage, UINT nPagesDisplayed) {
    if (m_pPreviewInfo == nullptr)
        return;
    CString strFormat = AfxExtractStringField(m_pPreviewInfo->m_strPageDesc, nPagesDisplayed == 1 ? 0 : 1);
    CString strText;
    if (nPagesDisplayed == 1)
        strText.Format(strFormat, nPage);
    else
        strText.Format(strFormat, nPage, nPage + nPagesDisplayed - 1);
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr)
        pFrame->SetMessageText(strText);
}

CRect CPreviewView::CalcPageRect(int nSlot) const {
    CRect rectClient;
    GetClientRect(&rectClient);
    CSize paper = m_pPreviewDC != nullptr ? m_pPreviewDC->GetPaperSize() : CSize(0, 0);
    if (paper.cx <= 0 || paper.cy <= 0)
        return CRect(0, 0, 0, 0);
    const int nSlots = static_cast<int>(m_nPages);
    int cxSlot = (rectClient.Width() - kMargin * (nSlots + 1)) / nSlots;
    int cySlot = rectClient.Height() - 2 * kMargin;
    if (cxSlot <= 0 || cySlot <= 0)
        return CRect(0, 0, 0, 0);
    // The page keeps the paper's proportions in its slot (64-bit: printer pixels times screen pixels).
    int cx = cxSlot;
    int cy = static_cast<int>(static_cast<int64_t>(paper.cy) * cx / paper.cx);
    if (cy > cySlot) {
        cy = cySlot;
        cx = static_cast<int>(static_cast<int64_t>(paper.cx) * cy / paper.cy);
    }
    int x = kMargin + nSlot * (cxSlot + kMargin) + (cxSlot - cx) / 2;
    int y = kMargin + (cySlot - cy) / 2;
    return CRect(x, y, x + cx, y + cy);
}

BOOL CPreviewView::OnEraseBkgnd(CDC*) { return TRUE; }  // OnDraw paints every pixel

void CPreviewView::OnDraw(CDC* pDC) {
    CRect rectClient;
    GetClientRect(&rectClient);
    pDC->FillSolidRect(&rectClient, ::GetSysColor(COLOR_APPWORKSPACE));
    if (m_pPreviewInfo == nullptr || m_pPreviewDC == nullptr)
        return;
    UINT nShown = PagesDisplayed();
    for (UINT nSlot = 0; nSlot < nShown; ++nSlot) {
        UINT nPage = m_nCurrentPage + nSlot;
        CRect rectPage = CalcPageRect(static_cast<int>(nSlot));
        if (rectPage.IsRectEmpty())
            break;
        CRect rectShadow = rectPage;
        rectShadow.OffsetRect(kShadow, kShadow);
        pDC->FillSolidRect(&rectShadow, ::GetSysColor(COLOR_3DDKSHADOW));
        pDC->FillSolidRect(&rectPage, RGB(255, 255, 255));
        if (!DrawPage(pDC, nPage, rectPage)) {
            // The job ended before this page: what was shown as paper is background again.
            rectShadow.UnionRect(&rectShadow, &rectPage);
            pDC->FillSolidRect(&rectShadow, ::GetSysColor(COLOR_APPWORKSPACE));
            if (nSlot == 0 && m_nCurrentPage > m_pPreviewInfo->GetMinPage())
                SetCurrentPage(m_pPreviewInfo->GetMaxPage(), TRUE);  // back to the last page
            else
                OnDisplayPageNumber(m_nCurrentPage, PagesDisplayed());
            break;
        }
    }
}

BOOL CPreviewView::DrawPage(CDC* pDC, UINT nPage, const CRect& rectPage) {
    m_pPreviewInfo->m_nCurPage = nPage;
    m_pPreviewInfo->m_bContinuePrinting = TRUE;
    if (!m_pPreviewDC->BeginPage())
        return FALSE;
    m_pPrintView->OnPrepareDC(m_pPreviewDC, m_pPreviewInfo);
    if (!m_pPreviewInfo->m_bContinuePrinting) {
        ::DeleteEnhMetaFile(m_pPreviewDC->EndPage());
        // Now the length of the job is known.
        if (nPage > m_pPreviewInfo->GetMinPage())
            m_pPreviewInfo->SetMaxPage(nPage - 1);
        return FALSE;
    }
    HDC hdcPrinter = m_pPreviewDC->m_hAttribDC;
    m_pPreviewInfo->m_rectDraw.SetRect(0, 0, ::GetDeviceCaps(hdcPrinter, HORZRES),
                                       ::GetDeviceCaps(hdcPrinter, VERTRES));
    m_pPreviewDC->DPtoLP(&m_pPreviewInfo->m_rectDraw);
    // The printable area sits inside the paper as on the printer.
    CSize paper = m_pPreviewDC->GetPaperSize();
    CRect printable = m_pPreviewDC->GetPrintableRect();
    auto scaleX = [&](int v) { return static_cast<int>(static_cast<int64_t>(v) * rectPage.Width() / paper.cx); };
    auto scaleY = [&](int v) { return static_cast<int>(static_cast<int64_t>(v) * rectPage.Height() / paper.cy); };
    RECT rectPlay = {rectPage.left + scaleX(printable.left), rectPage.top + scaleY(printable.top),
                     rectPage.left + scaleX(printable.right), rectPage.top + scaleY(printable.bottom)};
    m_pPreviewDC->SetShownSize(CSize(rectPlay.right - rectPlay.left, rectPlay.bottom - rectPlay.top));
    m_pPrintView->OnPrint(m_pPreviewDC, m_pPreviewInfo);
    HENHMETAFILE hemf = m_pPreviewDC->EndPage();
    if (hemf == nullptr)
        return TRUE;
    int nSaved = ::SaveDC(pDC->m_hDC);
    ::IntersectClipRect(pDC->m_hDC, rectPage.left, rectPage.top, rectPage.right, rectPage.bottom);
    ::PlayEnhMetaFile(pDC->m_hDC, hemf, &rectPlay);
    ::RestoreDC(pDC->m_hDC, nSaved);
    ::DeleteEnhMetaFile(hemf);
    return TRUE;
}

void CPreviewView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CPreviewView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    if (bActivate)
        OnDisplayPageNumber(m_nCurrentPage, PagesDisplayed());
}

void CPreviewView::OnSize(UINT nType, int cx, int cy) {
    CView::OnSize(nType, cx, cy);
    Invalidate(TRUE);
}

void CPreviewView::OnPreviewClose() {
    if (m_bPreparing) {
        m_bCloseAsked = TRUE;
        return;
    }
    if (m_pPrintView == nullptr)
        return;
    // The printing view takes the pane back; this view is destroyed on the way.
    m_pPrintView->OnEndPrintPreview(m_pPreviewDC, m_pPreviewInfo, CPoint(0, 0), this);
}

void CPreviewView::OnNumPageChange() {
    m_nPages = m_nPages == 1 ? 2 : 1;
    // Two pages from the last one show the last two.
    if (m_nPages == 2 && m_pPreviewInfo != nullptr && m_nCurrentPage >= m_pPreviewInfo->GetMaxPage() &&
        m_nCurrentPage > m_pPreviewInfo->GetMinPage())
        --m_nCurrentPage;
    SetCurrentPage(m_nCurrentPage, TRUE);
}

void CPreviewView::OnNextPage() { SetCurrentPage(m_nCurrentPage + 1, TRUE); }

void CPreviewView::OnPrevPage() {
    if (m_pPreviewInfo != nullptr && m_nCurrentPage > m_pPreviewInfo->GetMinPage())
        SetCurrentPage(m_nCurrentPage - 1, TRUE);
}

void CPreviewView::OnPreviewPrint() {
    CFrameWnd* pFrame = GetParentFrame();
    HWND hWndFrame = CWnd::SafeHwndOf(pFrame);
    OnPreviewClose();  // deletes this view
    if (hWndFrame != nullptr)
        ::SendMessageW(hWndFrame, WM_COMMAND, ID_FILE_PRINT, 0);
}

void CPreviewView::OnUpdateNumPageChange(CCmdUI* pCmdUI) {
    // The button offers the other layout.
    CString strText;
    if (m_nPages == 1) {
        if (!AfxLoadStringResource(AFX_IDS_TWOPAGE, strText))
            strText = L"&Two Page";
    } else if (!AfxLoadStringResource(AFX_IDS_ONEPAGE, strText)) {
        strText = L"&One Page";
    }
    pCmdUI->SetText(strText);
    pCmdUI->Enable(m_pPreviewInfo != nullptr && m_pPreviewInfo->GetMaxPage() > m_pPreviewInfo->GetMinPage());
}

void CPreviewView::OnUpdateNextPage(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pPreviewInfo != nullptr && m_nCurrentPage + PagesDisplayed() - 1 < m_pPreviewInfo->GetMaxPage());
}

void CPreviewView::OnUpdatePrevPage(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pPreviewInfo != nullptr && m_nCurrentPage > m_pPreviewInfo->GetMinPage());
}

BOOL AfxPreviewCloseProc(CFrameWnd* pFrameWnd) {
    HWND hWndPane = ::GetDlgItem(pFrameWnd->m_hWnd, AFX_IDW_PANE_FIRST);
    CWnd* pPane = CWnd::FromHandlePermanent(hWndPane);
    if (pPane != nullptr && pPane->IsKindOf(RUNTIME_CLASS(CPreviewView)))
        pPane->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
    return FALSE;
}
