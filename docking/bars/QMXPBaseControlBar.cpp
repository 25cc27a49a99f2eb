#include "docking/bars/QMXPBaseControlBar.h"

#include "docking/bars/QMXPBaseTabWnd.h"
#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPControlBar.h"
#include "docking/bars/QMXPDockBar.h"
#include "docking/bars/QMXPDockingCBWrapper.h"
#include "docking/bars/QMXPDockBarRow.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPMDIChildWnd.h"
#include "docking/frames/QMXPFrameWnd.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPOleFrames.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Dialog.h"
#include "platform/classlib/WinApp.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CQMXPBaseControlBar, CWnd)

namespace {

constexpr DWORD kAlignMask = 0xF000;
constexpr DWORD kHorzMask = 0xA000;
// The only bit of the extra flags that survives creation.
constexpr DWORD kExtraFlagsKept = 0x10000000;
constexpr wchar_t kIsVisible[] = L"IsVisible";

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPBaseControlBar, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
END_MESSAGE_MAP()

CQMXPBaseControlBar::CQMXPBaseControlBar()
    : m_dwExtraFlags(0),
      m_dwEnabledAlignment(0),
      m_dwStyle(0),
      m_dwControlBarStyle(0),
      m_bRecentVisibleState(FALSE),
      m_bIsRestoredFromRegistry(FALSE),
      m_pParentDockBar(nullptr),
      m_pDockBarRow(nullptr),
      m_pDockSite(nullptr),
      m_dockMode(QMXP_DT_UNDEFINED),
      m_rectVirtual(0, 0, 0, 0),
      m_lpszBarTemplateName(nullptr),
      m_sizeDialog(0, 0) {}

CQMXPBaseControlBar::~CQMXPBaseControlBar() = default;

void CQMXPBaseControlBar::Serialize(CArchive& ar) {
    CWnd::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_dwStyle & kAlignMask);
        ar << static_cast<DWORD>(IsVisible() ? 1 : 0);
    } else {
        DWORD dwAlign = 0;
        DWORD dwVisible = 0;
        ar >> dwAlign >> dwVisible;
        m_dwStyle |= dwAlign;
        m_bRecentVisibleState = static_cast<BOOL>(dwVisible);
    }
}

BOOL CQMXPBaseControlBar::IsHorizontal() const { return (GetCurrentAlignment() & kHorzMask) != 0; }

BOOL CQMXPBaseControlBar::IsDocked() const {
    // A bar in a floating frame counts as docked unless the frame holds it
    // as its single bar.
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    return pMiniFrame == nullptr || pMiniFrame->GetControlBarCount() != 1;
}

BOOL CQMXPBaseControlBar::IsTabbed() const {
    CWnd* pParent = GetSafeHwnd() != nullptr ? GetParent() : nullptr;
    return pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CQMXPBaseTabWnd));
}

BOOL CQMXPBaseControlBar::IsFloating() const { return !IsDocked(); }

BOOL CQMXPBaseControlBar::DocksToFrameEdge() const { return TRUE; }

BOOL CQMXPBaseControlBar::IsVisible() const {
    // A tab is visible when its tab window shows its tab.
    if (IsTabbed()) {
        HWND hWndTab = nullptr;
        CQMXPBaseTabWnd* pTabWnd = GetParentTabWnd(hWndTab);
        if (pTabWnd == nullptr || !(pTabWnd->GetStyle() & WS_VISIBLE))
            return FALSE;
        return pTabWnd->IsTabVisible(pTabWnd->GetTabFromHwnd(hWndTab));
    }
    if (qmxRestoringDockState)
        return GetRecentVisibleState();
    return (GetStyle() & WS_VISIBLE) != 0;
}

BOOL CQMXPBaseControlBar::IsInsertTarget() const { return CanFloat(); }

BOOL CQMXPBaseControlBar::CanAcceptBar(const CQMXPBaseControlBar*) const { return FALSE; }

BOOL CQMXPBaseControlBar::CanBeDocked(CQMXPBaseControlBar*) const { return FALSE; }

BOOL CQMXPBaseControlBar::CanBeAttached() const { return FALSE; }

DWORD CQMXPBaseControlBar::GetCurrentAlignment() const { return m_dwStyle & kAlignMask; }

DWORD CQMXPBaseControlBar::GetEnabledAlignment() const { return m_dwEnabledAlignment; }

CFrameWnd* CQMXPBaseControlBar::GetDockSiteFrameWnd() const {
    if (m_pDockSite == nullptr) {
        CWnd* pParent = GetSafeHwnd() != nullptr ? GetParent() : nullptr;
        if (pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CDialog)))
            qmxGlobalUtils.m_bDialogApp = TRUE;
    }
    return m_pDockSite;
}

CQMXPDockBar* CQMXPBaseControlBar::GetParentDockBar() const { return m_pParentDockBar; }

int CQMXPBaseControlBar::GetCaptionHeight() const { return 0; }

BOOL CQMXPBaseControlBar::IsInMultiMiniFrame() const { return FALSE; }

BOOL CQMXPBaseControlBar::GetRecentVisibleState() const { return m_bRecentVisibleState; }

BOOL CQMXPBaseControlBar::IsRestoredFromRegistry() const { return m_bIsRestoredFromRegistry; }

void CQMXPBaseControlBar::SetRestoredFromRegistry(BOOL bState) { m_bIsRestoredFromRegistry = bState; }

int CQMXPBaseControlBar::GetDockingMode() const {
    return m_dockMode != QMXP_DT_UNDEFINED ? m_dockMode : qmxDefaultDockingMode;
}

HICON CQMXPBaseControlBar::GetIcon(BOOL bBigIcon) const {
    return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, WM_GETICON, bBigIcon, 0));
}

DWORD CQMXPBaseControlBar::GetBarStyle() const { return m_dwStyle; }

DWORD CQMXPBaseControlBar::GetControlBarStyle() const { return m_dwControlBarStyle; }

BOOL CQMXPBaseControlBar::CanBeClosed() const { return (m_dwControlBarStyle & QMXP_CBRS_CLOSE) != 0; }

BOOL CQMXPBaseControlBar::CanFloat() const {
    // A tab floats when its tab may be dragged out.
    HWND hWndTab = nullptr;
    CQMXPBaseTabWnd* pTabWnd = IsTabbed() ? GetParentTabWnd(hWndTab) : nullptr;
    const int iTab = pTabWnd != nullptr ? pTabWnd->GetTabFromHwnd(hWndTab) : -1;
    if (iTab != -1)
        return pTabWnd->IsTabDetachable(iTab);
    return (m_dwControlBarStyle & QMXP_CBRS_FLOAT) != 0;
}

BOOL CQMXPBaseControlBar::TestControlBarStyle4() const { return (m_dwControlBarStyle & QMXP_CBRS_STYLE4) != 0; }

BOOL CQMXPBaseControlBar::TestControlBarStyle2() const { return (m_dwControlBarStyle & QMXP_CBRS_STYLE2) != 0; }

void CQMXPBaseControlBar::SetCurrentAlignment(DWORD dwAlignment) {
    m_dwStyle = (m_dwStyle & ~kAlignMask) | dwAlignment;
    OnChangeBarStyle(m_dwStyle);
}

void CQMXPBaseControlBar::SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }

void CQMXPBaseControlBar::OnChangeBarStyle(DWORD) {}

void CQMXPBaseControlBar::EnableDocking(DWORD dwAlignment) { m_dwEnabledAlignment = dwAlignment; }

void CQMXPBaseControlBar::ShowCaption(BOOL) {}

void CQMXPBaseControlBar::OnRemoveFromMiniFrame(CQMXPMiniFrameWnd*) {}

BOOL CQMXPBaseControlBar::DockControlBar(CQMXPBaseControlBar*, LPCRECT, int) { return FALSE; }

BOOL CQMXPBaseControlBar::FloatControlBar(CRect, int, bool) { return FALSE; }

BOOL CQMXPBaseControlBar::DockToFrameWindow(DWORD, LPCRECT, DWORD, CQMXPBaseControlBar*, int, BOOL) {
    return FALSE;
}

CSize CQMXPBaseControlBar::CalcLayoutSize(int, BOOL) { return CSize(0, 0); }

void CQMXPBaseControlBar::RefreshLayout() {}

void CQMXPBaseControlBar::AdjustLayout() {}

CQMXPMiniFrameWnd* CQMXPBaseControlBar::CreateMiniFrame(CRect) { return nullptr; }

void CQMXPBaseControlBar::OnBeforeChangeParent(CWnd*, BOOL) {}

void CQMXPBaseControlBar::OnAfterChangeParent(CWnd*) {}

void CQMXPBaseControlBar::ShowControlBar(BOOL bShow, BOOL bDelay, BOOL bActivate) {
    const int nShow = bShow ? SW_SHOWNOACTIVATE : SW_HIDE;
    if (IsFloating() && !IsTabbed()) {
        ShowWindow(nShow);
        GetParent()->ShowWindow(nShow);
    } else if (IsTabbed()) {
        // The tab window shows or hides the tab; its tabbed bar follows its visible tabs.
        HWND hWndTab = nullptr;
        CQMXPBaseTabWnd* pTabWnd = GetParentTabWnd(hWndTab);
        auto* pTabbedBar = pTabWnd != nullptr ? DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pTabWnd->GetParent()) : nullptr;
        if (pTabbedBar == nullptr) {
            if (pTabWnd != nullptr)
                pTabWnd->ShowTab(pTabWnd->GetTabFromHwnd(hWndTab), bShow, !bDelay, FALSE);
        } else if (!(pTabbedBar->GetStyle() & WS_VISIBLE) && pTabbedBar->GetTabsNum() > 1 && bShow) {
            pTabbedBar->ShowTab(CWnd::FromHandle(hWndTab), bShow, bDelay, bActivate);
            return;
        } else {
            pTabbedBar->ShowTab(CWnd::FromHandle(hWndTab), bShow, bDelay, bActivate);
        }
    } else if (m_pParentDockBar != nullptr) {
        m_pParentDockBar->ShowControlBar(this, bShow, bDelay, bActivate);
    } else {
        ShowWindow(nShow);
        if (!bDelay)
            AdjustDockingLayout();
    }
    // Only control bars sit in rows.
    if (m_pDockBarRow != nullptr)
        m_pDockBarRow->ArrangeBars(static_cast<CQMXPControlBar*>(this));
}

CQMXPMiniFrameWnd* CQMXPBaseControlBar::GetParentMiniFrame(BOOL) const {
    if (GetSafeHwnd() == nullptr)
        return nullptr;
    for (HWND hWnd = ::GetParent(m_hWnd); hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CQMXPMiniFrameWnd)))
            return static_cast<CQMXPMiniFrameWnd*>(pWnd);
    }
    return nullptr;
}

CString CQMXPBaseControlBar::StateKey(LPCWSTR lpszProfileName, UINT uiID, int nIndex) const {
    if (uiID == static_cast<UINT>(-1))
        uiID = static_cast<UINT>(GetDlgCtrlID());
    return QMXPBarStateKey(qmxRegBaseBarSection, L"QMXPBaseControlBar", lpszProfileName, uiID, nIndex);
}

BOOL CQMXPBaseControlBar::LoadState(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    CQMXPRegistrySP regSP;
    CQMXPRegistry* pReg = regSP.Create(FALSE, TRUE);
    if (!pReg->Open(StateKey(lpszProfileName, uiID, nIndex)))
        return FALSE;
    pReg->Read(kIsVisible, m_bRecentVisibleState);
    m_bIsRestoredFromRegistry = TRUE;
    return TRUE;
}

BOOL CQMXPBaseControlBar::SaveState(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    CQMXPRegistrySP regSP;
    CQMXPRegistry* pReg = regSP.Create(FALSE, FALSE);
    if (pReg->CreateKey(StateKey(lpszProfileName, uiID, nIndex)))
        pReg->Write(kIsVisible, static_cast<DWORD>(IsVisible()));
    return TRUE;
}

HDWP CQMXPBaseControlBar::MoveWindow(CRect& rect, BOOL bRepaint, HDWP hdwp) {
    CRect rectOld;
    GetWindowRect(&rectOld);
    // In the coordinates of the floating frame or of the dock site.
    CWnd* pReference = IsFloating() ? static_cast<CWnd*>(GetParentMiniFrame(TRUE)) : GetDockSiteFrameWnd();
    if (pReference != nullptr)
        pReference->ScreenToClient(&rectOld);
    if (rectOld == rect)
        return hdwp;
    if (hdwp == nullptr) {
        CWnd::MoveWindow(&rect, bRepaint);
        return nullptr;
    }
    return ::DeferWindowPos(hdwp, m_hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE);
}

HDWP CQMXPBaseControlBar::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags,
                                       HDWP hdwp) {
    if (hdwp == nullptr) {
        CWnd::SetWindowPos(pWndInsertAfter, x, y, cx, cy, nFlags);
        return nullptr;
    }
    HDWP hdwpNew = ::DeferWindowPos(hdwp, m_hWnd, CWnd::SafeHwndOf(pWndInsertAfter), x, y, cx, cy, nFlags);
    if (hdwpNew != nullptr)
        return hdwpNew;
    CWnd::SetWindowPos(nullptr, x, y, cx, cy, nFlags);
    return hdwp;
}

void CQMXPBaseControlBar::UndockControlBar(BOOL) {}

void CQMXPBaseControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

BOOL CQMXPBaseControlBar::CreateEx(DWORD dwStyleEx, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                                   const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwControlBarStyle,
                                   CCreateContext* pContext) {
    m_bWindowMade = FALSE;
    m_dwExtraFlags &= kExtraFlagsKept;
    SetBarStyle(GetBarStyle() | dwStyle);
    m_dwControlBarStyle = dwControlBarStyle;
    // A bar made again may have lost its former frame with its window: the
    // messages of the making see no frame until the new one is known below.
    m_pDockSite = nullptr;
    if (m_lpszBarTemplateName == nullptr) {
        if (!CWnd::CreateEx(dwStyleEx, lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext))
            return FALSE;
    } else {
        CREATESTRUCTW cs{};
        cs.hInstance = AfxGetResourceHandle();
        cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID));
        cs.hwndParent = CWnd::SafeHwndOf(pParentWnd);
        cs.style = static_cast<LONG>(dwStyle | WS_CHILD);
        cs.lpszName = lpszWindowName;
        cs.lpszClass = lpszClassName;
        if (!PreCreateWindow(cs)) {
            PostNcDestroy();
            return FALSE;
        }
        if (!CreateDlg(m_lpszBarTemplateName, pParentWnd))
            return FALSE;
        ::SetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(::GetSysColorBrush(COLOR_BTNFACE)));
        SetDlgCtrlID(static_cast<int>(nID));
        if (!ExecuteDlgInit(m_lpszBarTemplateName))
            return FALSE;
        CRect rectWindow;
        GetWindowRect(&rectWindow);
        m_sizeDialog = rectWindow.Size();
    }
    if (pParentWnd != nullptr && pParentWnd->IsFrameWnd()) {
        m_pDockSite = static_cast<CFrameWnd*>(pParentWnd);
    } else {
        CFrameWnd* pOwnerFrame = QMXFindOwnerFrame(pParentWnd);
        m_pDockSite = pOwnerFrame;
    }
    m_bWindowMade = TRUE;
    return TRUE;
}

CSize CQMXPBaseControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    if (!bStretch)
        return CSize(0, 0);
    return bHorz ? CSize(32767, 0) : CSize(0, 32767);
}

void CQMXPBaseControlBar::DoPaint(CDC* pDC) {
    CRect rectClip;
    pDC->GetClipBox(&rectClip);
    CRect rectClient;
    GetClientRect(&rectClient);
    CQMXPVisualManager::GetInstance()->OnFillBarBackground(pDC, this, rectClient, rectClip, FALSE);
}

void CQMXPBaseControlBar::AdjustDockingLayout(HDWP hdwp) {
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr) {
        pMiniFrame->OnBarRecalcLayout();
        return;
    }
    // The frame's own layout pass, by the kind of library frame.
    CFrameWnd* pFrame = GetDockSiteFrameWnd();
    if (pFrame == nullptr)
        return;
    if (pFrame->IsKindOf(RUNTIME_CLASS(CQMXPFrameWnd)))
        static_cast<CQMXPFrameWnd*>(pFrame)->AdjustDockingLayout(hdwp);
    else if (pFrame->IsKindOf(RUNTIME_CLASS(CQMXPMDIFrameWnd)))
        static_cast<CQMXPMDIFrameWnd*>(pFrame)->AdjustDockingLayout(hdwp);
    else if (pFrame->IsKindOf(RUNTIME_CLASS(CQMXPOleIPFrameWnd)))
        static_cast<CQMXPOleIPFrameWnd*>(pFrame)->AdjustDockingLayout(hdwp);
    else if (pFrame->IsKindOf(RUNTIME_CLASS(CQMXPOleDocIPFrameWnd)))
        static_cast<CQMXPOleDocIPFrameWnd*>(pFrame)->AdjustDockingLayout(hdwp);
    else if (pFrame->IsKindOf(RUNTIME_CLASS(CQMXPMDIChildWnd)))
        static_cast<CQMXPMDIChildWnd*>(pFrame)->AdjustDockingLayout(hdwp);
    else if (pFrame->IsKindOf(RUNTIME_CLASS(CQMXPOleCntrFrameWnd)))
        static_cast<CQMXPOleCntrFrameWnd*>(pFrame)->AdjustDockingLayout(hdwp);
}

BOOL CQMXPBaseControlBar::ReturnsEarly() const {
    return GetDockSiteFrameWnd() == nullptr && qmxGlobalUtils.m_bDialogApp;
}

// A library frame hands these calls to its dock manager; a bar without
// library frame in a dialog answers at once.

CQMXPDockManager* CQMXPBaseControlBar::DockManagerOfSite() const {
    return qmxGlobalUtils.GetDockManager(GetDockSiteFrameWnd());
}

void CQMXPBaseControlBar::AddControlBar(CQMXPBaseControlBar* pBar) {
    CQMXPDockManager* pDockManager = ReturnsEarly() ? nullptr : DockManagerOfSite();
    if (pDockManager != nullptr)
        pDockManager->AddControlBar(pBar, TRUE);
}

BOOL CQMXPBaseControlBar::InsertControlBar(CQMXPBaseControlBar* pControlBar, CQMXPBaseControlBar* pTarget,
                                           BOOL bAfter) {
    if (ReturnsEarly())
        return TRUE;
    CQMXPDockManager* pDockManager = DockManagerOfSite();
    return pDockManager != nullptr && pDockManager->InsertControlBar(pControlBar, pTarget, bAfter);
}

BOOL CQMXPBaseControlBar::RemoveControlBarFromDockManager(CQMXPBaseControlBar* pBar, BOOL bDestroy,
                                                          BOOL bAdjustLayout, BOOL bAutoHide) {
    if (ReturnsEarly())
        return TRUE;
    CQMXPDockManager* pDockManager = DockManagerOfSite();
    if (pDockManager == nullptr)
        return FALSE;
    pDockManager->RemoveControlBarFromDockManager(pBar, bDestroy, bAdjustLayout, bAutoHide);
    return TRUE;
}

BOOL CQMXPBaseControlBar::IsPointNearDockBar(CPoint point, DWORD& dwBarAlignment, BOOL& bOuterEdge) const {
    if (ReturnsEarly())
        return TRUE;
    CQMXPDockManager* pDockManager = DockManagerOfSite();
    return pDockManager != nullptr && pDockManager->IsPointNearDockBar(point, dwBarAlignment, bOuterEdge);
}

CQMXPBaseControlBar* CQMXPBaseControlBar::ControlBarFromPoint(CPoint point, int nSensitivity, bool bExactBar,
                                                              CRuntimeClass* pRTCBarType) const {
    CQMXPDockManager* pDockManager = ReturnsEarly() ? nullptr : DockManagerOfSite();
    return pDockManager != nullptr ? pDockManager->ControlBarFromPoint(point, nSensitivity, bExactBar, pRTCBarType)
                                   : nullptr;
}

void CQMXPBaseControlBar::DockToFrame(BOOL bUseDockSite) {
    if (ReturnsEarly())
        return;
    CQMXPDockManager* pDockManager =
        qmxGlobalUtils.GetDockManager(bUseDockSite ? GetDockSiteFrameWnd() : QMXFindOwnerFrame(this));
    if (pDockManager != nullptr)
        pDockManager->DockControlBar(this, 0, nullptr);
}

CQMXPBaseTabWnd* CQMXPBaseControlBar::GetParentTabWnd(HWND& hWndTab) const {
    hWndTab = m_hWnd;
    if (GetSafeHwnd() == nullptr)
        return nullptr;
    // A wrapper stands for the bar it wraps.
    CWnd* pParent = GetParent();
    if (pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CQMXPDockingCBWrapper))) {
        hWndTab = pParent->m_hWnd;
        pParent = pParent->GetParent();
    }
    if (pParent == nullptr)
        return nullptr;
    if (pParent->IsKindOf(RUNTIME_CLASS(CQMXPBaseTabWnd)))
        return static_cast<CQMXPBaseTabWnd*>(pParent);
    if (pParent->IsKindOf(RUNTIME_CLASS(CQMXPBaseTabbedBar)))
        return static_cast<CQMXPBaseTabbedBar*>(pParent)->GetUnderlinedWindow();
    return nullptr;
}

BOOL CQMXPBaseControlBar::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // In context-help mode the frame's help loop takes the keys and clicks.
    CFrameWnd* pTopFrame = GetTopLevelFrame();
    if (pTopFrame != nullptr && pTopFrame->m_bHelpMode)
        return FALSE;
    for (CWnd* pOwner = GetOwner(); pOwner != nullptr; pOwner = pOwner->GetParentFrame()) {
        if (pOwner->PreTranslateMessage(pMsg))
            return TRUE;
    }
    return PreTranslateInput(pMsg);
}

LRESULT CQMXPBaseControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_NOTIFY:
    case WM_COMMAND:
        break;
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
    LRESULT lResult = 0;
    if (OnWndMsg(message, wParam, lParam, &lResult))
        return lResult;
    CWnd* pOwner = GetOwner();
    lResult = pOwner != nullptr ? pOwner->SendMessage(message, wParam, lParam) : 0;
    if (message == WM_NOTIFY) {
        auto* pHeader = reinterpret_cast<NMHDR*>(lParam);
        if (pHeader->code == TTN_NEEDTEXTW) {
            auto* pInfo = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            if ((pInfo->lpszText == nullptr || *pInfo->lpszText == L'\0') && pInfo->hinst == nullptr)
                return Default();
        } else if (pHeader->code == TTN_NEEDTEXTA) {
            auto* pInfo = reinterpret_cast<NMTTDISPINFOA*>(lParam);
            if ((pInfo->lpszText == nullptr || *pInfo->lpszText == '\0') && pInfo->hinst == nullptr)
                return Default();
        }
    }
    return lResult;
}

void CQMXPBaseControlBar::OnPaint() {
    CPaintDC dc(this);
    if (GetStyle() & WS_VISIBLE)
        DoPaint(&dc);
}

BOOL CQMXPBaseControlBar::OnEraseBkgnd(CDC*) { return TRUE; }

void CQMXPBaseControlBar::OnSize(UINT, int, int) {
    Default();
    if (m_pDockBarRow != nullptr)
        m_pDockBarRow->OnResizeControlBar(this);
}

void CQMXPBaseControlBar::OnDestroy() {
    // A bar that goes leaves its site's lists: the site lays out its bars
    // until its own end, and the bar's object may be gone before that.
    RemoveControlBarFromDockManager(this, FALSE, FALSE, FALSE);
    RemoveControlBarFromDockManager(this, FALSE, FALSE, TRUE);
    CWnd::OnDestroy();
}

LRESULT CQMXPBaseControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    if (!(GetStyle() & WS_VISIBLE) || (m_pParentDockBar != nullptr && !(m_pParentDockBar->GetStyle() & WS_VISIBLE)))
        return 0;
    CWnd* pTarget = GetOwner();
    if (pTarget != nullptr && pTarget->IsFrameWnd()) {
        OnUpdateCmdUI(static_cast<CFrameWnd*>(pTarget), static_cast<BOOL>(wParam));
        return 0;
    }
    CFrameWnd* pOwnerFrame = QMXFindOwnerFrame(this);
    if (pOwnerFrame != nullptr)
        OnUpdateCmdUI(pOwnerFrame, static_cast<BOOL>(wParam));
    return 0;
}

LRESULT CQMXPBaseControlBar::OnHelpHitTest(WPARAM, LPARAM lParam) {
    const INT_PTR nHit = OnToolHitTest(CPoint(lParam), nullptr);
    if (nHit != -1)
        return 0x10000 + nHit;
    const int nID = GetDlgCtrlID();
    return LOWORD(nID) != 0 ? 0x50000 + nID : 0;
}
