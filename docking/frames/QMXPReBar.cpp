#include "docking/frames/QMXPReBar.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CQMXPReBar, CWnd)

namespace {
// The band record of the common controls before the fields MinGW adds.
constexpr UINT kBandInfoSize = 80;
}  // namespace

CQMXPReBar::CQMXPReBar() = default;

CQMXPReBar::~CQMXPReBar() = default;

BOOL CQMXPReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CWnd::CreateEx(0, REBARCLASSNAMEW, nullptr,
                          dwStyle | dwCtrlStyle | RBS_BANDBORDERS | RBS_VARHEIGHT | CCS_NODIVIDER, CRect(0, 0, 0, 0),
                          pParentWnd, nID);
}

BOOL CQMXPReBar::AddBar(CWnd* pBar, LPCWSTR lpszText, DWORD dwStyle) {
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    REBARBANDINFOW rbbi{};
    rbbi.cbSize = kBandInfoSize;
    rbbi.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID;
    rbbi.fStyle = dwStyle;
    rbbi.hwndChild = pBar->m_hWnd;
    rbbi.cxMinChild = static_cast<UINT>(rectBar.Width());
    rbbi.cyMinChild = static_cast<UINT>(rectBar.Height());
    rbbi.cx = static_cast<UINT>(rectBar.Width());
    rbbi.wID = static_cast<UINT>(pBar->GetDlgCtrlID());
    if (lpszText != nullptr) {
        rbbi.fMask |= RBBIM_TEXT;
        rbbi.lpText = const_cast<LPWSTR>(lpszText);
    }
    return SendMessage(RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&rbbi)) != 0;
}

UINT CQMXPReBar::GetBandCount() const {
    return static_cast<UINT>(::SendMessageW(m_hWnd, RB_GETBANDCOUNT, 0, 0));
}

int CQMXPReBar::FindBandByChildID(UINT nID) const {
    const UINT nCount = GetBandCount();
    for (UINT i = 0; i < nCount; ++i) {
        REBARBANDINFOW rbbi{};
        rbbi.cbSize = kBandInfoSize;
        rbbi.fMask = RBBIM_CHILD;
        if (::SendMessageW(m_hWnd, RB_GETBANDINFOW, i, reinterpret_cast<LPARAM>(&rbbi)) && rbbi.hwndChild != nullptr &&
            static_cast<UINT>(::GetDlgCtrlID(rbbi.hwndChild)) == nID)
            return static_cast<int>(i);
    }
    return -1;
}
