#include "platform/classlib/View.h"

#include "platform/classlib/CommandLineInfo.h"
#include "platform/classlib/CreateContext.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/PrintDialog.h"
#include "platform/classlib/PrintInfo.h"
#include "platform/classlib/PrintingDialog.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CView, CWnd)

namespace {

const wchar_t kViewWndClass[] = L"OTClassLibView";

LPCWSTR ViewWndClass() {
    HINSTANCE hInst = AfxGetInstanceHandle();
    WNDCLASSW wc;
    if (!::GetClassInfoW(hInst, kViewWndClass, &wc)) {
        wc = WNDCLASSW();
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = hInst;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        wc.lpszClassName = kViewWndClass;
        if (!::RegisterClassW(&wc))
            return nullptr;
    }
    return kViewWndClass;
}

// The shell's "/pt" command that the application is carrying out, else null.
const CCommandLineInfo* PrintToCommand(const CWinApp* pApp) {
    if (pApp == nullptr || pApp->m_pCmdInfo == nullptr ||
        pApp->m_pCmdInfo->m_nShellCommand != CCommandLineInfo::FilePrintTo)
        return nullptr;
    return pApp->m_pCmdInfo;
}

}  // namespace

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMsg)
    // The shell's print command ("/p", DDE) reaches every view.
    ON_COMMAND(ID_FILE_PRINT_DIRECT, OnFilePrint)
END_MESSAGE_MAP()

CView::CView() : m_pDocument(nullptr) {}

CView::~CView() {
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCTW& cs) {
    if (cs.lpszClass == nullptr)
        cs.lpszClass = ViewWndClass();
    if (cs.lpszClass == nullptr)
        return FALSE;
    // The sunken client edge replaces a plain border.
    if (cs.style & WS_BORDER) {
        cs.style &= ~WS_BORDER;
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
    }
    return TRUE;
}

void CView::PostNcDestroy() { delete this; }

int CView::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (pContext != nullptr && pContext->m_pCurrentDoc != nullptr)
        pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy() {
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr && pFrame->GetActiveView() == this)
        pFrame->SetActiveView(nullptr, FALSE);
    CWnd::OnDestroy();
}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;
    // A click makes the view its frame's active view.
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr && pFrame->GetActiveView() != this)
        pFrame->SetActiveView(this);
    return nResult;
}

LRESULT CView::OnInitialUpdateMsg(WPARAM, LPARAM) {
    OnInitialUpdate();
    return 0;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo) {
    // A job of unknown length prints its first page only, unless the view says otherwise.
    if (pInfo != nullptr && pInfo->GetMaxPage() == 0xFFFF)
        pInfo->m_bContinuePrinting = pInfo->m_nCurPage == 1;
}

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*) {
    if (!bActivate || pActivateView != this)
        return;
    // The focus follows only when the view's top-level window is the active one.
    CWnd* pTop = GetTopLevelParent();
    if (pTop != nullptr && ::GetActiveWindow() == pTop->m_hWnd)
        SetFocus();
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo) {
    if (pInfo == nullptr || pInfo->m_pPD == nullptr)
        return FALSE;
    CPrintDialog* pPD = pInfo->m_pPD;
    if (pPD->m_pd.nMinPage > pPD->m_pd.nMaxPage)
        pPD->m_pd.nMaxPage = pPD->m_pd.nMinPage;
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return FALSE;
    if (pInfo->m_bPreview || pInfo->m_bDirect) {
        const CCommandLineInfo* pPrintTo = pInfo->m_bPreview ? nullptr : PrintToCommand(pApp);
        if (pPD->m_pd.hDC == nullptr && pPrintTo != nullptr) {
            // The printer "/pt" names, with the paper and orientation of the
            // application's printer defaults, which the view has set up by
            // now as "/p" and File > Print print with. A printer that is not
            // there prints nothing, not even on another one.
            PRINTDLGW pd = {};
            pd.lStructSize = sizeof(pd);
            HGLOBAL hDevMode = pApp->GetPrinterDeviceDefaults(&pd) ? pd.hDevMode : nullptr;
            pPD->m_pd.hDC =
                CPrintDialog::CreateNamedPrinterDC(pPrintTo->m_strDriverName, pPrintTo->m_strPrinterName, hDevMode);
            if (pPD->m_pd.hDC == nullptr)
                return FALSE;
            pPD->m_pd.Flags |= PD_RETURNDC;  // the dialog object deletes it
        }
        // No dialog: the application's printer, or the system's default.
        if (pPD->m_pd.hDC == nullptr) {
            if (!pApp->GetPrinterDeviceDefaults(&pPD->m_pd)) {
                // A preview without a printer lets the user pick one; direct printing cannot.
                if (pInfo->m_bDirect || pApp->DoPrintDialog(pPD) != IDOK)
                    return FALSE;
            }
            if (pPD->m_pd.hDC == nullptr && pPD->CreatePrinterDC() == nullptr)
                return FALSE;
        }
        pPD->m_pd.nFromPage = static_cast<WORD>(pInfo->GetMinPage());
        pPD->m_pd.nToPage = static_cast<WORD>(pInfo->GetMaxPage());
    } else {
        if (pApp->DoPrintDialog(pPD) != IDOK)
            return FALSE;
    }
    return pPD->m_pd.hDC != nullptr;
}

void CView::OnFilePrint() {
    CPrintInfo printInfo;
    const MSG* pMsg = GetCurrentMessage();
    if (pMsg != nullptr && pMsg->message == WM_COMMAND && LOWORD(pMsg->wParam) == ID_FILE_PRINT_DIRECT)
        printInfo.m_bDirect = TRUE;

    // "/pt" prints on the printer it names, without a dialog; its DC is made
    // once the view has prepared the printing (see DoPreparePrinting).
    const bool bPrintTo = PrintToCommand(AfxGetApp()) != nullptr;
    if (bPrintTo)
        printInfo.m_bDirect = TRUE;
    if (!OnPreparePrinting(&printInfo)) {
        if (bPrintTo)
            AfxMessageBoxText(AFX_IDP_FAILED_TO_START_PRINT, L"Failed to start print job.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    HDC hdcPrinter = printInfo.m_pPD->m_pd.hDC;
    if (hdcPrinter == nullptr)
        return;

    CString strTitle;
    if (m_pDocument != nullptr)
        strTitle = m_pDocument->GetTitle();
    DOCINFOW docInfo = {};
    docInfo.cbSize = sizeof(docInfo);
    docInfo.lpszDocName = strTitle;

    CDC dcPrint;
    dcPrint.Attach(hdcPrinter);
    OnBeginPrinting(&dcPrint, &printInfo);

    // The "Printing" box lets the user cancel; the abort procedure pumps its messages.
    CPrintingDialog dlgPrinting(this);
    dlgPrinting.Start(strTitle, printInfo.m_pPD->GetDeviceName(), printInfo.m_pPD->GetPortName());
    ::SetAbortProc(hdcPrinter, AfxAbortProc);

    bool bError = ::StartDocW(hdcPrinter, &docInfo) <= 0;
    if (!bError) {
        UINT nStartPage = std::max(printInfo.GetFromPage(), printInfo.GetMinPage());
        UINT nEndPage = std::min(printInfo.GetToPage(), printInfo.GetMaxPage());
        for (printInfo.m_nCurPage = nStartPage; printInfo.m_nCurPage <= nEndPage; ++printInfo.m_nCurPage) {
            OnPrepareDC(&dcPrint, &printInfo);
            if (!printInfo.m_bContinuePrinting)
                break;
            dlgPrinting.SetPage(printInfo.m_nCurPage);
            printInfo.m_rectDraw.SetRect(0, 0, dcPrint.GetDeviceCaps(HORZRES), dcPrint.GetDeviceCaps(VERTRES));
            dcPrint.DPtoLP(&printInfo.m_rectDraw);
            if (::StartPage(hdcPrinter) <= 0) {
                bError = true;
                break;
            }
            // Starting a page may reset the context; the view sets it up again.
            OnPrepareDC(&dcPrint, &printInfo);
            OnPrint(&dcPrint, &printInfo);
            if (::EndPage(hdcPrinter) <= 0 || !AfxAbortProc(hdcPrinter, 0)) {
                bError = true;
                break;
            }
            if (printInfo.m_nCurPage == 0xFFFF)
                break;  // the counter would wrap
        }
        if (bError)
            ::AbortDoc(hdcPrinter);
        else
            ::EndDoc(hdcPrinter);
    }
    dlgPrinting.Finish();
    OnEndPrinting(&dcPrint, &printInfo);
    dcPrint.Detach();  // the print dialog object owns the DC
    if (bError && !CPrintingDialog::UserAborted())
        AfxMessageBoxText(AFX_IDP_FAILED_TO_START_PRINT, L"Failed to start print job.", MB_OK | MB_ICONEXCLAMATION);
}
