#include "docking/frames/PropertySheetCtrl.h"

IMPLEMENT_DYNAMIC(CPropertySheetCtrl, CPropertySheet)

BEGIN_MESSAGE_MAP(CPropertySheetCtrl, CPropertySheet)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CPropertySheetCtrl::CPropertySheetCtrl(LPCWSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage), m_hAccel(nullptr) {}

BOOL CPropertySheetCtrl::OnInitDialog() {
    const BOOL bResult = CPropertySheet::OnInitDialog();
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    // The dialog that holds the sheet has its own buttons.
    for (int nID : {IDOK, IDCANCEL, IDHELP, 0x3021 /* Apply */}) {
        HWND hButton = ::GetDlgItem(m_hWnd, nID);
        if (hButton != nullptr)
            ::ShowWindow(hButton, SW_HIDE);
    }
    LayoutControls();
    return bResult;
}

void CPropertySheetCtrl::LayoutControls() {
    HWND hTab = GetTabControl();
    if (hTab == nullptr)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    ::SetWindowPos(hTab, nullptr, 0, 0, rectClient.Width(), rectClient.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    const int cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    for (int i = 0; i < GetPageCount(); ++i) {
        CPropertyPage* pPage = GetPage(i);
        if (pPage == nullptr || pPage->GetSafeHwnd() == nullptr)
            continue;
        CRect rectPage;
        pPage->GetWindowRect(&rectPage);
        ::MapWindowPoints(nullptr, hTab, reinterpret_cast<POINT*>(&rectPage), 2);
        pPage->SetWindowPos(nullptr, rectPage.left, rectPage.top, rectClient.Width() - 3 * cxEdge,
                            rectClient.Height() - rectPage.top - cyEdge, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CPropertySheetCtrl::OnSize(UINT nType, int cx, int cy) {
    CPropertySheet::OnSize(nType, cx, cy);
    LayoutControls();
}

BOOL CPropertySheetCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* pNMH = reinterpret_cast<const NMHDR*>(lParam);
    if (pNMH != nullptr && pNMH->code == TCN_SELCHANGE) {
        // The system shows the new page first; then it is placed.
        const LRESULT lResult = Default();
        if (pResult != nullptr)
            *pResult = lResult;
        LayoutControls();
        return TRUE;
    }
    return CPropertySheet::OnNotify(wParam, lParam, pResult);
}

BOOL CPropertySheetCtrl::PreTranslateMessage(MSG* pMsg) {
    if (m_hAccel != nullptr && ::TranslateAcceleratorW(m_hWnd, m_hAccel, pMsg))
        return TRUE;
    return CPropertySheet::PreTranslateMessage(pMsg);
}

void CPropertySheetCtrl::PostNcDestroy() {
    CPropertySheet::PostNcDestroy();
    delete this;
}
