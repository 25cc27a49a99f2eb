#include "docking/bars/QMXPTabbedToolbar.h"

#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPTabWnd.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "platform/classlib/FrameWnd.h"

#include <commctrl.h>

IMPLEMENT_SERIAL(CQMXPTabbedToolbar, CQMXPToolBar, VERSIONABLE_SCHEMA | 1)

namespace {
constexpr UINT kTabWndID = 101;
// Side borders and left/right alignment: the tab window fills the bar.
constexpr DWORD kStrippedStyle = 0x5500;
// Bits of the style that are the bar's, not the window's.
constexpr DWORD kBarStyleMask = 0x0040FFFF;
}  // namespace

BEGIN_MESSAGE_MAP(CQMXPTabbedToolbar, CQMXPToolBar)
    ON_WM_CREATE()
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CQMXPTabbedToolbar::CQMXPTabbedToolbar() : m_pTabWnd(nullptr) { SetBorders(0, 0, 0, 0); }

CQMXPTabbedToolbar::~CQMXPTabbedToolbar() { delete m_pTabWnd; }

BOOL CQMXPTabbedToolbar::CreateEx(CWnd* pParentWnd, DWORD dwStyle, UINT nID, DWORD dwControlBarStyle) {
    if (dwControlBarStyle & QMXP_CBRS_FLOAT)
        dwStyle |= QMXP_CBRS_GRIPPER;
    dwStyle &= ~kStrippedStyle;
    SetCurrentAlignment(dwStyle & CBRS_ALIGN_ANY);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&icc);
    const CString strClass = QMXPRegisterBarClass(L"QMXToolBar");
    const DWORD dwBarStyle = dwStyle & kBarStyleMask;
    SetBarStyle(dwBarStyle);
    if (!CQMXPControlBar::Create(strClass, dwStyle & ~kBarStyleMask, CRect(0, 0, 0, 0), pParentWnd, nID,
                                 dwControlBarStyle, nullptr))
        return FALSE;
    // The window's style joined the bar style on creation: the bar style is its own again.
    SetBarStyle(dwBarStyle);
    return TRUE;
}

int CQMXPTabbedToolbar::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CQMXPToolBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pTabWnd = new CQMXPTabWnd;
    if (!m_pTabWnd->Create(QMXP_STYLE_3D, CRect(0, 0, lpCreateStruct->cx, lpCreateStruct->cy), this, kTabWndID,
                           QMXP_LOCATION_TOP, FALSE)) {
        delete m_pTabWnd;
        m_pTabWnd = nullptr;
        return -1;
    }
    m_pTabWnd->HideSingleTab(FALSE);
    return 0;
}

void CQMXPTabbedToolbar::OnNcDestroy() {
    CQMXPToolBar::OnNcDestroy();
    delete m_pTabWnd;
    m_pTabWnd = nullptr;
}

BOOL CQMXPTabbedToolbar::AddTab(CQMXPToolBar* pNewBar, BOOL bDetachable) {
    if (m_pTabWnd == nullptr || pNewBar == nullptr)
        return FALSE;
    pNewBar->SetOwner(GetParentFrame());
    CString strLabel;
    pNewBar->GetWindowText(strLabel);
    pNewBar->SetBarStyle(pNewBar->GetBarStyle() & ~QMXP_CBRS_GRIPPER);
    m_pTabWnd->AddTab(pNewBar, strLabel, static_cast<UINT>(-1), bDetachable);
    const int iLast = m_pTabWnd->GetTabsNum() - 1;
    m_pTabWnd->SetActiveTab(iLast);
    m_pTabWnd->EnsureVisible(iLast);
    AdjustLayout();
    return TRUE;
}

void CQMXPTabbedToolbar::AdjustLayout() {
    if (m_pTabWnd == nullptr || m_pTabWnd->GetSafeHwnd() == nullptr) {
        CQMXPToolBar::AdjustLayout();
        return;
    }
    m_pTabWnd->RecalcLayout();
    const CSize sizeWindows = m_pTabWnd->GetMaxWindowSize();
    const int b = m_pTabWnd->GetTabBorderSize();
    const int cx = sizeWindows.cx + 2 * b;
    const int cy = sizeWindows.cy + m_pTabWnd->GetTabsHeight() + 2 + 2 * b;
    m_pTabWnd->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    m_pTabWnd->RecalcLayout();

    CRect rectBar;
    GetWindowRect(&rectBar);
    const CSize sizeWanted = CalcFixedLayout(FALSE, IsHorizontal());
    const int nDelta = IsHorizontal() ? sizeWanted.cx - rectBar.Width() : sizeWanted.cy - rectBar.Height();
    HDWP hdwp = nullptr;
    StretchBar(nDelta, hdwp);
    UpdateFullSizeRect();

    if (IsFloating()) {
        if (CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE))
            pMiniFrame->SizeToContent();
    } else if (CFrameWnd* pFrame = GetParentFrame()) {
        pFrame->RecalcLayout();
    }
    CQMXPControlBar::AdjustLayout();
}

CSize CQMXPTabbedToolbar::CalcFixedLayout(BOOL, BOOL bHorz) {
    if (m_pTabWnd == nullptr || m_pTabWnd->GetSafeHwnd() == nullptr)
        return CSize(0, 0);
    CRect rectTabs;
    m_pTabWnd->GetWindowRect(&rectTabs);
    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, bHorz);
    return CSize(rectTabs.Width() - rectInside.Width(), rectTabs.Height() - rectInside.Height());
}
