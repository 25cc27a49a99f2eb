#include "platform/classlib/PropertySheet.h"

#include "platform/classlib/ThreadState.h"
#include "platform/classlib/WinApp.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_MESSAGE(PSM_PRESSBUTTON, HandlePressButton)
END_MESSAGE_MAP()

namespace {

// The head of an extended dialog template.
#pragma pack(push, 2)
struct DLGTEMPLATEEX_STYLE {
    WORD dlgVer;
    WORD signature;
    DWORD helpID;
    DWORD exStyle;
    DWORD style;
};
#pragma pack(pop)

// The pages' dialog procedure: pages are subclassed by the library, so
// everything left over gets the dialog manager's default processing.
INT_PTR CALLBACK PageDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Called by the system just before it makes a page's dialog: the page object
// is attached to the window that comes next.
UINT CALLBACK PageCallback(HWND, UINT uMsg, LPPROPSHEETPAGEW ppsp) {
    if (uMsg == PSPCB_CREATE) {
        CPropertyPage* pPage = reinterpret_cast<CPropertyPage*>(ppsp->lParam);
        if (pPage != nullptr && AfxHookWindowCreate(pPage))
            AfxGetThreadState()->m_bUnhookAfterAttach = true;
    }
    return 1;
}

// The sheet's template loses WS_VISIBLE: the modal loop shows the sheet when
// it first idles, after its first page is ready.
int CALLBACK SheetCallback(HWND, UINT uMsg, LPARAM lParam) {
    if (uMsg == PSCB_PRECREATE && lParam != 0) {
        auto* pWords = reinterpret_cast<WORD*>(lParam);
        if (pWords[0] == 1 && pWords[1] == 0xFFFF)  // extended template: style after help id and ex-style
            reinterpret_cast<DLGTEMPLATEEX_STYLE*>(pWords)->style &= ~WS_VISIBLE;
        else
            reinterpret_cast<DLGTEMPLATE*>(lParam)->style &= ~WS_VISIBLE;
    }
    return 0;
}

// The style and extended style a sheet made by Create takes instead of the
// system's popup frame.
thread_local DWORD t_dwCreateStyle = 0;
thread_local DWORD t_dwCreateExStyle = 0;

int CALLBACK CreateSheetCallback(HWND, UINT uMsg, LPARAM lParam) {
    // -1: the system's own style for a sheet beside its parent.
    if (uMsg != PSCB_PRECREATE || lParam == 0 || t_dwCreateStyle == static_cast<DWORD>(-1))
        return 0;
    auto* pWords = reinterpret_cast<WORD*>(lParam);
    DWORD* pStyle = nullptr;
    DWORD* pExStyle = nullptr;
    if (pWords[0] == 1 && pWords[1] == 0xFFFF) {
        pStyle = &reinterpret_cast<DLGTEMPLATEEX_STYLE*>(pWords)->style;
        pExStyle = &reinterpret_cast<DLGTEMPLATEEX_STYLE*>(pWords)->exStyle;
    } else {
        pStyle = &reinterpret_cast<DLGTEMPLATE*>(lParam)->style;
        pExStyle = &reinterpret_cast<DLGTEMPLATE*>(lParam)->dwExtendedStyle;
    }
    *pStyle = t_dwCreateStyle | DS_3DLOOK | DS_SETFONT | DS_CONTROL;
    *pExStyle = t_dwCreateExStyle;
    return 0;
}

// The sheet's window that PropertySheetW returned; null for its failure (-1 or 0).
HWND SheetWindow(INT_PTR nResult) {
    return nResult == -1 ? nullptr : reinterpret_cast<HWND>(nResult);
}

}  // namespace

CPropertySheet::CPropertySheet() { CommonConstruct(nullptr, 0); }

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) {
    CommonConstruct(pParentWnd, iSelectPage);
    const wchar_t* pText = nullptr;
    int nLength = ::LoadStringW(AfxGetResourceHandle(), nIDCaption, reinterpret_cast<LPWSTR>(&pText), 0);
    if (nLength > 0)
        m_strCaption = CString(pText, nLength);
}

CPropertySheet::CPropertySheet(LPCWSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) {
    CommonConstruct(pParentWnd, iSelectPage);
    m_strCaption = pszCaption;
}

void CPropertySheet::CommonConstruct(CWnd* pParentWnd, UINT iSelectPage) {
    std::memset(&m_psh, 0, sizeof(m_psh));
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_DEFAULT;
    m_psh.nStartPage = iSelectPage;
    m_pParentWnd = pParentWnd;
    m_hWndTop = nullptr;
}

HPROPSHEETPAGE CPropertySheet::CreatePageHandle(CPropertyPage* pPage) {
    PROPSHEETPAGEW psp;
    std::memcpy(&psp, &pPage->m_psp, sizeof(psp));
    psp.dwFlags |= PSP_USECALLBACK;
    psp.dwFlags &= ~PSP_DLGINDIRECT;
    psp.hInstance = AfxGetResourceHandle();
    psp.pfnDlgProc = PageDlgProc;
    psp.pfnCallback = PageCallback;
    psp.lParam = reinterpret_cast<LPARAM>(pPage);
    return ::CreatePropertySheetPageW(&psp);
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    m_pages.push_back(pPage);
    if (m_hWnd != nullptr) {
        HPROPSHEETPAGE hPage = CreatePageHandle(pPage);
        if (hPage == nullptr || !::SendMessageW(m_hWnd, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(hPage))) {
            if (hPage != nullptr)
                ::DestroyPropertySheetPage(hPage);
            m_pages.pop_back();
        }
    }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) {
    int nPage = GetPageIndex(pPage);
    if (nPage >= 0)
        RemovePage(nPage);
}

void CPropertySheet::RemovePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount())
        return;
    if (m_hWnd != nullptr)
        ::SendMessageW(m_hWnd, PSM_REMOVEPAGE, static_cast<WPARAM>(nPage), 0);
    m_pages.erase(m_pages.begin() + nPage);
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
    if (nPage < 0 || nPage >= GetPageCount())
        return nullptr;
    return m_pages[static_cast<size_t>(nPage)];
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i] == pPage)
            return static_cast<int>(i);
    }
    return -1;
}

int CPropertySheet::GetActiveIndex() const {
    if (m_hWnd == nullptr)
        return static_cast<int>(m_psh.nStartPage);
    HWND hWndPage = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i]->m_hWnd != nullptr && m_pages[i]->m_hWnd == hWndPage)
            return static_cast<int>(i);
    }
    return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(GetActiveIndex()); }

BOOL CPropertySheet::SetActivePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (m_hWnd == nullptr) {
        m_psh.nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    return static_cast<BOOL>(::SendMessageW(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0));
}

void CPropertySheet::SetTitle(LPCWSTR lpszText, UINT nStyle) {
    m_strCaption = lpszText;
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
    if (m_hWnd != nullptr)
        ::SendMessageW(m_hWnd, PSM_SETTITLEW, nStyle, reinterpret_cast<LPARAM>(m_strCaption.GetString()));
}

PROPSHEETHEADERW CPropertySheet::MakeHeader(std::vector<HPROPSHEETPAGE>& pages, HWND hWndParent,
                                            PFNPROPSHEETCALLBACK pfnCallback, DWORD dwFlags) {
    for (CPropertyPage* pPage : m_pages) {
        HPROPSHEETPAGE hPage = CreatePageHandle(pPage);
        if (hPage != nullptr)
            pages.push_back(hPage);
    }
    PROPSHEETHEADERW psh = m_psh;
    psh.dwSize = sizeof(psh);
    psh.dwFlags = (psh.dwFlags & ~PSH_PROPSHEETPAGE) | PSH_MODELESS | PSH_USECALLBACK | dwFlags;
    psh.pfnCallback = pfnCallback;
    psh.hwndParent = hWndParent;
    psh.hInstance = AfxGetResourceHandle();
    psh.pszCaption = m_strCaption;
    psh.nPages = static_cast<UINT>(pages.size());
    psh.phpage = pages.data();
    if (psh.nStartPage >= psh.nPages)
        psh.nStartPage = 0;
    return psh;
}

INT_PTR CPropertySheet::DoModal() {
    HWND hWndParent = CWnd::GetSafeOwner(m_pParentWnd, &m_hWndTop)->GetSafeHwnd();
    BOOL bEnableParent = FALSE;
    if (hWndParent != nullptr && ::IsWindowEnabled(hWndParent)) {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = TRUE;
    }

    std::vector<HPROPSHEETPAGE> pages;
    PROPSHEETHEADERW psh = MakeHeader(pages, hWndParent, SheetCallback, 0);

    m_nModalResult = IDCANCEL;
    INT_PTR nResult = -1;
    BOOL bMade = FALSE;
    HWND hWndAttached = nullptr;
    if (!pages.empty() && AfxHookWindowCreate(this, &hWndAttached)) {
        bMade = AfxEndWindowCreate(this, hWndAttached, SheetWindow(::PropertySheetW(&psh)));
    } else {
        for (HPROPSHEETPAGE hPage : pages)
            ::DestroyPropertySheetPage(hPage);
    }
    if (bMade) {
        m_nFlags |= WF_CONTINUEMODAL;
        RunModalLoop(MLF_SHOWONIDLE);
        nResult = m_nModalResult;
    }
    EndModalState(hWndParent, bEnableParent, m_hWndTop);
    return nResult;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
    if (pParentWnd != nullptr)
        m_pParentWnd = pParentWnd;
    pParentWnd = m_pParentWnd;
    std::vector<HPROPSHEETPAGE> pages;
    PROPSHEETHEADERW psh = MakeHeader(pages, pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr,
                                      CreateSheetCallback, PSH_NOAPPLYNOW);
    HWND hWndAttached = nullptr;
    if (pages.empty() || !AfxHookWindowCreate(this, &hWndAttached)) {
        for (HPROPSHEETPAGE hPage : pages)
            ::DestroyPropertySheetPage(hPage);
        PostNcDestroy();
        return FALSE;
    }
    t_dwCreateStyle = dwStyle;
    t_dwCreateExStyle = dwExStyle;
    return AfxEndWindowCreate(this, hWndAttached, SheetWindow(::PropertySheetW(&psh)));
}

void CPropertySheet::EndDialog(int nEndID) {
    m_nModalResult = nEndID;
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nEndID);
    else
        DestroyWindow();
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CPropertySheet::OnInitDialog() {
    // The system sheet builds its tab control and first page here.
    return static_cast<BOOL>(Default());
}

LRESULT CPropertySheet::HandlePressButton(WPARAM wParam, LPARAM) {
    // A button pressed by message does not come back as a command.
    switch (wParam) {
    case PSBTN_OK:
        m_nModalResult = IDOK;
        break;
    case PSBTN_CANCEL:
        m_nModalResult = IDCANCEL;
        break;
    case PSBTN_FINISH:
        m_nModalResult = ID_WIZFINISH;
        break;
    default:
        break;
    }
    return Default();
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam) {
    // The button that closes the sheet is its result; the system handles it as usual.
    UINT nID = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED && (nID == IDOK || nID == IDCANCEL || nID == ID_WIZFINISH))
        m_nModalResult = static_cast<int>(nID);
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CPropertySheet::ContinueModal() {
    if (!CWnd::ContinueModal())
        return FALSE;
    // The system sheet has no current page once it wants to close.
    return ::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if ((pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) &&
        (pMsg->message < WM_MOUSEFIRST || pMsg->message > WM_MOUSELAST))
        return FALSE;
    return static_cast<BOOL>(::SendMessageW(m_hWnd, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
}

BOOL CPropertySheet::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if ((nCode != CN_COMMAND && nCode != CN_UPDATE_COMMAND_UI) || nID < 0x8000 || nID >= 0xF000)
        return FALSE;
    CWnd* pOwner = GetParent();
    if (pOwner != nullptr && pOwner->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr && pThread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
