#include "docking/bars/QMXPDockingControlBar.h"

#include "docking/bars/QMXPAutoHideButton.h"
#include "docking/bars/QMXPAutoHideToolBar.h"
#include "docking/bars/QMXPBaseTabWnd.h"
#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPOutlookBar.h"
#include "docking/bars/QMXPSlider.h"
#include "docking/bars/QMXPTabbedControlBar.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPMultiMiniFrameWnd.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/StringResource.h"

#include <algorithm>
#include <iterator>

IMPLEMENT_SERIAL(CQMXPDockingControlBar, CQMXPControlBar, VERSIONABLE_SCHEMA | 2)
IMPLEMENT_DYNCREATE(CQMXPDummyDockingControlBar, CQMXPDockingControlBar)

namespace {

constexpr int kCaptionMargin = 2;
constexpr int kCaptionTextMargin = 2;
// The close button is hidden when the pane cannot be closed, the auto-hide
// button when the pane cannot be auto-hidden.
constexpr BOOL kHideDisabledButtons = TRUE;
constexpr UINT kIdsClose = 16032;
constexpr UINT kIdsAutoHide = 16033;
// m_bReadyToFloat before the first move of a drag has decided it.
constexpr BYTE kReadyUndecided = 2;

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPDockingControlBar, CQMXPControlBar)
    ON_WM_CREATE()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_PAINT()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCMOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_CANCELMODE()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CQMXPDockingControlBar::CQMXPDockingControlBar()
    : m_bPrepareToFloat(FALSE),
      m_bReadyToFloat(FALSE),
      m_nCaptionHeight(0),
      m_bHasCaption(FALSE),
      m_bActive(FALSE),
      m_bIsAutoHideMode(FALSE),
      m_nAutoHideWatchTimer(0),
      m_nSlideTimer(0),
      m_nSlideStepsNum(0),
      m_nSlideDelta(0),
      m_bIsSliding(FALSE),
      m_bIsHiding(FALSE),
      m_nAutoHideSlideMode(m_nAutoHideSlideModeDefault),
      m_pAutoHideButton(nullptr),
      m_pAutoHideBar(nullptr),
      m_pTabbedControlBarRTC(RUNTIME_CLASS(CQMXPTabbedControlBar)),
      m_hDefaultSlider(nullptr),
      m_hRestoredDefaultSlider(nullptr),
      m_nHotButton(0),
      m_nPressedButton(0),
      m_nPercentInContainer(50),
      m_dwDockState(0) {
    m_arrButtons[0].m_nHit = QMXP_HTCLOSE_PANE;
    m_arrButtons[1].m_nHit = QMXP_HTAUTOHIDE;
}

CQMXPDockingControlBar::~CQMXPDockingControlBar() = default;

// Creation --------------------------------------------------------------------

BOOL CQMXPDockingControlBar::Create(LPCWSTR lpszCaption, CWnd* pParentWnd, const CSize& sizeDefault, BOOL bHasCaption,
                                    UINT nID, DWORD dwStyle, DWORD dwTabbedStyle, DWORD dwControlBarStyle) {
    return CreateEx(0, lpszCaption, pParentWnd, CRect(0, 0, sizeDefault.cx, sizeDefault.cy), bHasCaption, nID,
                    dwStyle, dwTabbedStyle, dwControlBarStyle, nullptr);
}

BOOL CQMXPDockingControlBar::Create(LPCWSTR lpszCaption, CWnd* pParentWnd, const CRect& rect, BOOL bHasCaption,
                                    UINT nID, DWORD dwStyle, DWORD dwTabbedStyle, DWORD dwControlBarStyle,
                                    CCreateContext* pContext) {
    return CreateEx(0, lpszCaption, pParentWnd, rect, bHasCaption, nID, dwStyle, dwTabbedStyle, dwControlBarStyle,
                    pContext);
}

BOOL CQMXPDockingControlBar::CreateEx(DWORD dwStyleEx, LPCWSTR lpszCaption, CWnd* pParentWnd, const CRect& rect,
                                      BOOL bHasCaption, UINT nID, DWORD dwStyle, DWORD dwTabbedStyle,
                                      DWORD dwControlBarStyle, CCreateContext* pContext) {
    if (dwStyle & QMXP_CBRS_FLOAT_MULTI)
        m_pMiniFrameRTC = RUNTIME_CLASS(CQMXPMultiMiniFrameWnd);
    // Panes of the outlook style (0x40) dropped on each other make an outlook bar.
    if ((dwTabbedStyle & 0x40) != 0)
        m_pTabbedControlBarRTC = RUNTIME_CLASS(CQMXPOutlookBar);
    else if ((dwTabbedStyle & 0x20) != 0)
        m_pTabbedControlBarRTC = RUNTIME_CLASS(CQMXPTabbedControlBar);
    // The caption is the library's own: the system caption's bits go.
    if ((dwStyle & WS_CAPTION) != 0 || bHasCaption) {
        m_bHasCaption = TRUE;
        bHasCaption = TRUE;
        dwStyle &= ~WS_CAPTION;
    }
    if (!CQMXPControlBar::CreateEx(dwStyleEx, nullptr, dwStyle, rect, pParentWnd, nID, dwControlBarStyle, pContext))
        return FALSE;
    m_rectRestored = rect;
    if (m_sizeDialog != CSize(0, 0)) {
        m_rectRestored.right = m_rectRestored.left + m_sizeDialog.cx;
        m_rectRestored.bottom = m_rectRestored.top + m_sizeDialog.cy;
    }
    SetCurrentAlignment(dwStyle & 0xF000);
    ShowCaption(bHasCaption);
    if (lpszCaption != nullptr)
        SetWindowText(lpszCaption);
    return TRUE;
}

int CQMXPDockingControlBar::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CQMXPControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_ToolTip.Create(this, TTS_ALWAYSTIP)) {
        m_ToolTip.Activate(TRUE);
        ::SetWindowPos(m_ToolTip.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const CRect rectEmpty(0, 0, 0, 0);
        CString strClose;
        CString strAutoHide;
        AfxLoadStringResource(kIdsClose, strClose);
        AfxLoadStringResource(kIdsAutoHide, strAutoHide);
        m_ToolTip.AddTool(this, strClose, rectEmpty, 1);
        m_ToolTip.AddTool(this, strAutoHide, rectEmpty, 2);
    }
    return 0;
}

CQMXPSlider* CQMXPDockingControlBar::GetDefaultSlider() const {
    if (!::IsWindow(m_hDefaultSlider))
        return nullptr;
    return DYNAMIC_DOWNCAST(CQMXPSlider, CWnd::FromHandlePermanent(m_hDefaultSlider));
}

DWORD CQMXPDockingControlBar::GetSliderAlignment() const {
    CQMXPSlider* pSlider = GetDefaultSlider();
    return pSlider != nullptr ? pSlider->GetCurrentAlignment() : GetCurrentAlignment();
}

CQMXPDockManager* CQMXPDockingControlBar::FrameDockManager() const {
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    CWnd* pFrame = pMiniFrame != nullptr ? pMiniFrame->GetParentFrame() : GetDockSiteFrameWnd();
    return qmxGlobalUtils.GetDockManager(pFrame);
}

BOOL CQMXPDockingControlBar::CanAutoHide() const {
    CQMXPDockManager* pDockManager = FrameDockManager();
    return pDockManager != nullptr && (pDockManager->GetAutoHideSides() & GetSliderAlignment() & 0xF000) != 0 &&
           TestControlBarStyle2();
}

// Queries -----------------------------------------------------------------------

BOOL CQMXPDockingControlBar::CanAcceptBar(const CQMXPBaseControlBar* pBar) const {
    if (pBar == nullptr)
        return FALSE;
    if (pBar->IsKindOf(RUNTIME_CLASS(CQMXPDockingControlBar)))
        return TRUE;
    CWnd* pParent = pBar->GetSafeHwnd() != nullptr ? pBar->GetParent() : nullptr;
    return pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CQMXPDockingControlBar));
}

int CQMXPDockingControlBar::GetCaptionHeight() const { return IsFloating() ? 0 : m_nCaptionHeight; }

BOOL CQMXPDockingControlBar::IsInMultiMiniFrame() const {
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    return pMiniFrame != nullptr && pMiniFrame->IsKindOf(RUNTIME_CLASS(CQMXPMultiMiniFrameWnd));
}

BOOL CQMXPDockingControlBar::IsVisible() const {
    // An auto-hidden pane counts as its strip does, while hiding panes hides their buttons.
    if (m_bIsAutoHideMode)
        return m_bHideInAutoHideMode && m_pAutoHideBar != nullptr && (m_pAutoHideBar->GetStyle() & WS_VISIBLE) != 0;
    return CQMXPBaseControlBar::IsVisible();
}

CSize CQMXPDockingControlBar::CalcFixedLayout(BOOL, BOOL) {
    CRect rect;
    GetWindowRect(&rect);
    return rect.Size();
}

void CQMXPDockingControlBar::GetTabArea(CRect& rectTabAreaTop, CRect& rectTabAreaBottom) const {
    rectTabAreaTop.SetRectEmpty();
    rectTabAreaBottom.SetRectEmpty();
}

BOOL CQMXPDockingControlBar::QueryMiniFrame(CQMXPMiniFrameWnd* pMiniFrame) {
    return pMiniFrame != nullptr && pMiniFrame->CanBeDockedToBar(this);
}

// The caption -------------------------------------------------------------------

void CQMXPDockingControlBar::ShowCaption(BOOL bShow) {
    m_nCaptionHeight = bShow && m_bHasCaption ? globalData.textHeight + 2 * kCaptionMargin : 0;
    if (GetSafeHwnd() != nullptr)
        CWnd::SetWindowPos(nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CQMXPDockingControlBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
    const CRect rectWindow = lpncsp->rgrc[0];
    CQMXPControlBar::OnNcCalcSize(bCalcValidRects, lpncsp);
    RECT& rect = lpncsp->rgrc[0];
    const BOOL bFloating = IsFloating();
    const int h = bFloating ? 0 : m_nCaptionHeight;
    const CSize sizeButton = CQMXPCaptionButton::GetSize();
    // Positions relative to the window rectangle.
    int x = rect.right - rectWindow.left - sizeButton.cx;
    const int y = rect.top - rectWindow.top + (h - sizeButton.cy) / 2 - 1;
    const BOOL bCanAutoHide = CanAutoHide();
    for (int i = 0; i < 2; ++i) {
        CQMXPCaptionButton& button = m_arrButtons[i];
        button.m_bPushed = FALSE;
        button.m_bFocused = FALSE;
        // A button is only where it is drawn: without a caption of its own
        // (floating, or the caption switched off) a pane has none, so a
        // click at their old places reaches the client area.
        if (h <= 0) {
            button.m_bHidden = TRUE;
            continue;
        }
        button.m_bHidden = kHideDisabledButtons && (i == 0 ? !CanBeClosed() : !bCanAutoHide);
        button.Move(CPoint(x, y));
        if (!button.m_bHidden)
            x -= sizeButton.cx + 2;
    }
    if (!bFloating) {
        rect.top += h;
        rect.right = std::max(rect.left, rect.right);
        rect.bottom = std::max(rect.top, rect.bottom);
    }
    // The tool tips follow the buttons (client coordinates).
    if (m_ToolTip.GetSafeHwnd() != nullptr) {
        const CSize clientOrigin(rect.left - rectWindow.left, rect.top - rectWindow.top);
        for (int i = 0; i < 2; ++i) {
            CRect rectTool = m_arrButtons[i].GetRect();
            rectTool.OffsetRect(-clientOrigin);
            m_ToolTip.SetToolRect(this, static_cast<UINT_PTR>(i + 1), rectTool);
        }
    }
}

void CQMXPDockingControlBar::OnNcPaint() {
    CWindowDC dc(this);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CRect rectClient;
    GetClientRect(&rectClient);
    ClientToScreen(&rectClient);
    rectClient.OffsetRect(-rectWindow.TopLeft());
    rectWindow.OffsetRect(-rectWindow.TopLeft());
    dc.ExcludeClipRect(rectClient);
    if (!m_rectRedraw.IsRectEmpty())
        dc.IntersectClipRect(m_rectRedraw);
    CQMXPVisualManager::GetInstance()->OnFillBarBackground(&dc, this, rectWindow, rectWindow, TRUE);
    if (m_nCaptionHeight == 0 || IsFloating())
        return;
    const CRect rectCaption(rectClient.left, rectWindow.top, rectWindow.right,
                            rectWindow.top + m_nCaptionHeight - kCaptionMargin);
    DrawCaption(&dc, rectCaption);
    for (int i = 0; i < 2; ++i)
        m_arrButtons[i].OnDraw(&dc, m_bActive, IsHorizontal(), i == 1 ? m_bIsAutoHideMode : FALSE, FALSE);
}

void CQMXPDockingControlBar::DrawCaption(CDC* pDC, CRect rectCaption) {
    const CRect rectButtons = m_arrButtons[1].GetRect();
    const COLORREF clrText =
        CQMXPVisualManager::GetInstance()->OnFillBarCaption(pDC, this, m_bActive, rectCaption, rectButtons);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(clrText);
    CFont* pOldFont = pDC->SelectObject(&globalData.fontRegular);
    CRect rectText = rectCaption;
    rectText.right = rectButtons.left;
    rectText.DeflateRect(2 * kCaptionTextMargin, 0);
    CString strText;
    GetWindowText(strText);
    pDC->DrawText(strText, &rectText, DT_SINGLELINE | DT_VCENTER);
    pDC->SelectObject(pOldFont);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
}

void CQMXPDockingControlBar::OnPaint() { CPaintDC dc(this); }

int CQMXPDockingControlBar::HitTest(CPoint point, BOOL bDetectCaption) {
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    if (!rectWindow.PtInRect(point))
        return HTNOWHERE;
    CQMXPDockManager* pDockManager = FrameDockManager();
    if (pDockManager == nullptr || !pDockManager->m_bRedrawLocked) {
        for (const CQMXPCaptionButton& button : m_arrButtons) {
            CRect rectButton = button.GetRect();
            rectButton.OffsetRect(rectWindow.TopLeft());
            if (rectButton.PtInRect(point))
                return static_cast<int>(button.m_nHit);
        }
    }
    CRect rectClient;
    GetClientRect(&rectClient);
    ClientToScreen(&rectClient);
    if (rectClient.PtInRect(point))
        return HTCLIENT;
    if (!IsDocked())
        return QMXP_HT_UNDECIDED;
    const CRect rectCaption(rectWindow.left, rectWindow.top + 1, rectWindow.right,
                            rectWindow.top + m_nCaptionHeight + 1);
    if (rectCaption.PtInRect(point))
        return bDetectCaption ? HTCAPTION : HTCLIENT;
    return QMXP_HT_UNDECIDED;
}

LRESULT CQMXPDockingControlBar::OnNcHitTest(CPoint point) {
    const int nHit = HitTest(point, FALSE);
    return nHit == QMXP_HT_UNDECIDED ? CQMXPControlBar::OnNcHitTest(point) : nHit;
}

// Caption buttons ------------------------------------------------------------------

CQMXPCaptionButton* CQMXPDockingControlBar::FindButton(UINT nHit) {
    for (CQMXPCaptionButton& button : m_arrButtons) {
        if (button.m_nHit == nHit)
            return &button;
    }
    return nullptr;
}

CQMXPCaptionButton* CQMXPDockingControlBar::ButtonFromPoint(CPoint ptScreen) {
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    for (CQMXPCaptionButton& button : m_arrButtons) {
        CRect rectButton = button.GetRect();
        rectButton.OffsetRect(rectWindow.TopLeft());
        if (rectButton.PtInRect(ptScreen))
            return &button;
    }
    return nullptr;
}

void CQMXPDockingControlBar::RedrawButton(const CQMXPCaptionButton* pButton) {
    if (pButton == nullptr)
        return;
    m_rectRedraw = pButton->GetRect();
    SendMessage(WM_NCPAINT);
    m_rectRedraw.SetRectEmpty();
    UpdateWindow();
}

void CQMXPDockingControlBar::TrackCaptionButtons(CPoint ptScreen) {
    CQMXPCaptionButton* pButton = ButtonFromPoint(ptScreen);
    const UINT nHot = pButton != nullptr ? pButton->m_nHit : 0;
    const UINT nOldHot = m_nHotButton;
    m_nHotButton = nHot;
    if (pButton != nullptr)
        pButton->m_bFocused = m_nPressedButton == 0 || m_nPressedButton == nHot;
    if (nHot != nOldHot) {
        RedrawButton(pButton);
        CQMXPCaptionButton* pOld = FindButton(nOldHot);
        if (pOld != nullptr) {
            pOld->m_bFocused = FALSE;
            RedrawButton(pOld);
        }
    }
    if (m_nPressedButton != 0)
        return;
    if (nHot != 0 && nOldHot == 0)
        SetCapture();
    else if (nHot == 0 && nOldHot != 0 && CWnd::GetCapture() == this)
        ::ReleaseCapture();
}

void CQMXPDockingControlBar::StopCaptionButtonsTracking() {
    CQMXPCaptionButton* pPressed = FindButton(m_nPressedButton);
    CQMXPCaptionButton* pHot = FindButton(m_nHotButton);
    m_nPressedButton = 0;
    m_nHotButton = 0;
    if (pPressed != nullptr) {
        pPressed->m_bPushed = FALSE;
        RedrawButton(pPressed);
    }
    if (pHot != nullptr) {
        pHot->m_bFocused = FALSE;
        RedrawButton(pHot);
    }
    if (!m_bCaptured && CWnd::GetCapture() == this)
        ::ReleaseCapture();
}

void CQMXPDockingControlBar::UpdateTabbedBarRecentInfo() {
    HWND hWndTab = nullptr;
    CQMXPBaseTabWnd* pTabWnd = GetParentTabWnd(hWndTab);
    auto* pTabbedBar = pTabWnd != nullptr ? DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pTabWnd->GetParent()) : nullptr;
    if (pTabbedBar == nullptr)
        return;
    // The container that holds the tabbed bar, in its floating frame or at its slider.
    CQMXPBarContainerManager* pManager = nullptr;
    auto* pMultiFrame = DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd, pTabbedBar->GetParentMiniFrame(TRUE));
    CQMXPSlider* pSlider = pTabbedBar->GetDefaultSlider();
    if (pMultiFrame != nullptr)
        pManager = &pMultiFrame->GetContainerManager();
    else if (pSlider != nullptr)
        pManager = pSlider->GetContainerManager();
    BOOL bLeft = FALSE;
    CQMXPBarContainer* pNode = pManager != nullptr ? pManager->FindContainer(pTabbedBar, bLeft) : nullptr;
    m_recentDockInfo.StoreDockInfo(pNode, pTabbedBar);
}

void CQMXPDockingControlBar::OnPressCloseButton() {
    if (m_bIsAutoHideMode) {
        m_bIsAutoHideMode = FALSE;
        SetAutoHideMode(FALSE, GetCurrentAlignment(), nullptr, TRUE);
    }
    ShowControlBar(FALSE, FALSE, FALSE);
    AdjustDockingLayout();
}


// Mouse -------------------------------------------------------------------------------

void CQMXPDockingControlBar::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    if (!IsDocked())
        CQMXPControlBar::OnNcLButtonDown(nHitTest, point);
}

void CQMXPDockingControlBar::OnNcMouseMove(UINT nHitTest, CPoint point) {
    if (!m_bPrepareToFloat)
        TrackCaptionButtons(point);
    CQMXPControlBar::OnNcMouseMove(nHitTest, point);
}

void CQMXPDockingControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_nHotButton != 0) {
        m_nPressedButton = m_nHotButton;
        CQMXPCaptionButton* pButton = FindButton(m_nPressedButton);
        if (pButton != nullptr) {
            pButton->m_bPushed = TRUE;
            RedrawButton(pButton);
        }
        return;
    }
    CWnd* pChild = GetWindow(GW_CHILD);
    const BOOL bSingleChild = pChild != nullptr && pChild->GetWindow(GW_HWNDNEXT) == nullptr;
    if (!m_bIsAutoHideMode && !IsTabbed()) {
        if (CanFloat())
            m_bPrepareToFloat = TRUE;
        CQMXPControlBar::OnLButtonDown(nFlags, point);
    }
    if (bSingleChild)
        pChild->SetFocus();
    else if (::IsWindow(m_hWnd))
        SetFocus();
}

void CQMXPDockingControlBar::OnMouseMove(UINT nFlags, CPoint point) {
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    const int nMode = GetDockingMode();
    if (nMode == QMXP_DT_IMMEDIATE && m_bPrepareToFloat) {
        if (m_bReadyToFloat == kReadyUndecided) {
            CRect rectWindow;
            GetWindowRect(&rectWindow);
            m_bReadyToFloat = rectWindow.PtInRect(ptScreen) ? TRUE : FALSE;
        }
        m_rectDragStart.OffsetRect(ptScreen - m_dragFrame.m_ptHot);
        m_dragFrame.m_ptHot = ptScreen;
        CRect rectTest;
        HWND hWndTab = nullptr;
        CQMXPBaseTabWnd* pHolder = GetParentTabWnd(hWndTab);
        CWnd* pTested = pHolder != nullptr && pHolder->GetParent() != nullptr ? pHolder->GetParent() : this;
        pTested->GetWindowRect(&rectTest);
        rectTest.InflateRect(qmxDragThresholdX, qmxDragThresholdY);
        if (rectTest.PtInRect(ptScreen) || !m_bReadyToFloat)
            return;
        // Out of its place: the pane floats (a tab leaves its group) and the frame follows the cursor.
        m_bPrepareToFloat = FALSE;
        m_bReadyToFloat = FALSE;
        if (pHolder != nullptr)
            pHolder->DetachTab(QMXP_DM_MOUSE, -1, FALSE);
        else
            FloatControlBar(GetRecentFloatingRect(), QMXP_DM_MOUSE, true);
        return;
    }
    if (nMode == QMXP_DT_STANDARD && m_bPrepareToFloat) {
        CQMXPControlBar::OnMouseMove(nFlags, point);
        return;
    }
    TrackCaptionButtons(ptScreen);
}

void CQMXPDockingControlBar::OnLButtonUp(UINT nFlags, CPoint point) {
    m_bPrepareToFloat = FALSE;
    if (m_nPressedButton == 0) {
        CQMXPControlBar::OnLButtonUp(nFlags, point);
        return;
    }
    const UINT nPressed = m_nPressedButton;
    const BOOL bOnPressed = m_nHotButton == nPressed;
    StopCaptionButtonsTracking();
    if (bOnPressed && nPressed == QMXP_HTAUTOHIDE) {
        CQMXPDockManager* pDockManager = FrameDockManager();
        CQMXPSlider* pSlider = GetDefaultSlider();
        if (pDockManager != nullptr && pSlider != nullptr &&
            (pDockManager->GetAutoHideSides() & pSlider->GetCurrentAlignment()) != 0)
            SetAutoHideMode(!m_bIsAutoHideMode, pSlider->GetCurrentAlignment(), nullptr, TRUE);
        return;
    }
    if (bOnPressed && nPressed == QMXP_HTCLOSE_PANE)
        OnPressCloseButton();
    Default();
}

void CQMXPDockingControlBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (m_bIsAutoHideMode) {
        Default();
        return;
    }
    // A tab acts through the tabbed bar that holds it.
    HWND hWndTab = nullptr;
    CQMXPBaseTabWnd* pTabWnd = GetParentTabWnd(hWndTab);
    auto* pTabbedBar = pTabWnd != nullptr ? DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pTabWnd->GetParent()) : nullptr;
    CQMXPDockingControlBar* pSubject = pTabbedBar != nullptr ? pTabbedBar : this;
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    auto* pMultiFrame = DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd, pMiniFrame);
    if (pMultiFrame != nullptr) {
        pSubject->PrepareToChangeState();
        pMultiFrame->DockBarToRecentPlace(pSubject);
        return;
    }
    if (pSubject->GetDefaultSlider() == nullptr) {
        pSubject->PrepareToChangeState();
        return;
    }
    // Back into the floating frame of several panes it came from.
    auto* pRecentFrame = ::IsWindow(m_recentDockInfo.m_hRecentMiniFrame)
                             ? DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd,
                                                CWnd::FromHandlePermanent(m_recentDockInfo.m_hRecentMiniFrame))
                             : nullptr;
    if (pRecentFrame != nullptr && (m_recentDockInfo.GetRecentContainer(FALSE) != nullptr ||
                                    m_recentDockInfo.GetRecentTabContainer(FALSE) != nullptr)) {
        pSubject->PrepareToChangeState();
        pSubject->UndockControlBar(FALSE);
        pRecentFrame->AddRecentControlBar(pSubject);
        return;
    }
    CQMXPControlBar::OnLButtonDblClk(nFlags, point);
}

void CQMXPDockingControlBar::OnRButtonDown(UINT, CPoint) {
    // Taking the focus repaints the pane under the open menus: their
    // shadows are taken again from what now lies beneath them.
    SetFocus();
    CQMXPPopupMenu::RepaintAllShadows(nullptr);
    Default();
}

void CQMXPDockingControlBar::OnCancelMode() {
    StopCaptionButtonsTracking();
    m_bPrepareToFloat = FALSE;
    CQMXPControlBar::OnCancelMode();
}

void CQMXPDockingControlBar::EnterDragMode(BOOL bChangeHotPoint) {
    m_bPrepareToFloat = TRUE;
    m_bReadyToFloat = kReadyUndecided;
    CQMXPControlBar::EnterDragMode(bChangeHotPoint);
}

BOOL CQMXPDockingControlBar::OnBeforeFloat(CRect& rectFloat, int dockMethod) {
    const BOOL bResult = CQMXPControlBar::OnBeforeFloat(rectFloat, dockMethod);
    if (dockMethod == QMXP_DM_MOUSE)
        m_bPrepareToFloat = FALSE;
    return bResult;
}

BOOL CQMXPDockingControlBar::PreTranslateMessage(MSG* pMsg) {
    // The mouse moves, button presses and releases (client and non-client)
    // and key presses reach the caption buttons' tips.
    static const UINT kRelayed[] = {WM_MOUSEMOVE,    WM_LBUTTONDOWN,  WM_LBUTTONUP,    WM_RBUTTONDOWN,
                                    WM_RBUTTONUP,    WM_MBUTTONDOWN,  WM_MBUTTONUP,    WM_NCLBUTTONDOWN,
                                    WM_NCLBUTTONUP,  WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, WM_NCMBUTTONDOWN,
                                    WM_NCMBUTTONUP,  WM_KEYDOWN,      WM_SYSKEYDOWN};
    if (m_ToolTip.GetSafeHwnd() != nullptr &&
        std::find(std::begin(kRelayed), std::end(kRelayed), pMsg->message) != std::end(kRelayed))
        m_ToolTip.RelayEvent(pMsg);
    return CQMXPControlBar::PreTranslateMessage(pMsg);
}

// Text, closing and destruction ---------------------------------------------------------

LRESULT CQMXPDockingControlBar::OnSetText(WPARAM, LPARAM) {
    const LRESULT lResult = Default();
    if (!lResult)
        return FALSE;
    const UINT nFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    HWND hWndTab = nullptr;
    CQMXPBaseTabWnd* pTabWnd = GetParentTabWnd(hWndTab);
    if (pTabWnd != nullptr) {
        // The tab takes the new title as its label.
        const int iTab = pTabWnd->GetTabFromHwnd(hWndTab);
        CString strText;
        CString strLabel;
        GetWindowText(strText);
        if (iTab != -1 && pTabWnd->GetTabLabel(iTab, strLabel) && strLabel != strText)
            pTabWnd->SetTabLabel(iTab, strText);
        return lResult;
    }
    if (m_bIsAutoHideMode && m_pAutoHideBar != nullptr) {
        m_pAutoHideBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        AdjustDockingLayout();
        return lResult;
    }
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr)
        pMiniFrame->SetWindowPos(nullptr, 0, 0, 0, 0, nFlags);
    else
        CWnd::SetWindowPos(nullptr, 0, 0, 0, 0, nFlags);
    return lResult;
}

void CQMXPDockingControlBar::OnClose() { DestroyWindow(); }

BOOL CQMXPDockingControlBar::LeaveTabGroup(CWnd* pNewParent) {
    HWND hWndTab = nullptr;
    CQMXPBaseTabWnd* pTabWnd = GetParentTabWnd(hWndTab);
    if (pTabWnd == nullptr)
        return FALSE;
    auto* pGroup = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pTabWnd->GetParent());
    SetParent(pNewParent);
    if (pGroup != nullptr)
        pGroup->RemoveControlBar(this);
    ShowCaption(TRUE);
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CQMXPDockingControlBar::OnDestroy() {
    if (m_ToolTip.GetSafeHwnd() != nullptr)
        m_ToolTip.DestroyWindow();
    if (m_bIsAutoHideMode) {
        // The strip loses its button and the slider its pane; no way back is sought.
        m_bIsAutoHideMode = FALSE;
        if (m_pAutoHideBar != nullptr)
            m_pAutoHideBar->RemovePaneButton(this);
        SetAutoHideParents(nullptr, nullptr);
    }
    HWND hWndTab = nullptr;
    CQMXPBaseTabWnd* pTabWnd = GetParentTabWnd(hWndTab);
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (pTabWnd != nullptr) {
        auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pTabWnd->GetParent());
        const HWND hWndThis = m_hWnd;
        if (pTabbedBar != nullptr)
            pTabbedBar->RemoveControlBar(this);
        // The last tab leaving destroyed the tabbed bar, and this window with it.
        if (!::IsWindow(hWndThis))
            return;
    } else if (pMiniFrame != nullptr) {
        pMiniFrame->RemoveControlBar(this, FALSE, FALSE);
    } else {
        UndockControlBar(TRUE);
    }
    CQMXPControlBar::OnDestroy();
}

void CQMXPDockingControlBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CQMXPControlBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
    const HWND hFocus = ::GetFocus();
    const BOOL bActive = hFocus != nullptr && (hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus));
    if (bActive != m_bActive) {
        m_bActive = bActive;
        SendMessage(WM_NCPAINT);
    }
}

// Showing and hiding --------------------------------------------------------------------

void CQMXPDockingControlBar::ShowControlBar(BOOL bShow, BOOL bDelay, BOOL bActivate) {
    if (m_bIsAutoHideMode) {
        if (m_bHideInAutoHideMode) {
            if (!bShow && (GetStyle() & WS_VISIBLE) && m_pAutoHideButton != nullptr)
                m_pAutoHideButton->SlidePane(FALSE);
            if (m_pAutoHideBar != nullptr)
                m_pAutoHideBar->ShowPaneButton(this, bShow, bDelay);
        } else {
            if (m_pAutoHideButton != nullptr)
                m_pAutoHideButton->SlidePane(TRUE);
            if (bShow && bActivate) {
                SetFocus();
                m_bActive = TRUE;
            }
        }
        return;
    }
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (IsFloating() || IsTabbed()) {
        CQMXPBaseControlBar::ShowControlBar(bShow, bDelay, bActivate);
        if (pMiniFrame != nullptr && !IsTabbed())
            pMiniFrame->OnShowControlBar(this, bShow);
        HWND hWndTab = nullptr;
        CQMXPBaseTabWnd* pTabWnd = GetParentTabWnd(hWndTab);
        if (pTabWnd != nullptr && bShow && bActivate)
            pTabWnd->SetActiveTab(pTabWnd->GetTabFromHwnd(hWndTab));
        return;
    }
    ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    if (pMiniFrame != nullptr) {
        pMiniFrame->OnShowControlBar(this, bShow);
        return;
    }
    CQMXPSlider* pSlider = GetDefaultSlider();
    if (pSlider != nullptr)
        pSlider->ShowControlBar(this, bShow);
    if (!bDelay)
        AdjustDockingLayout();
}

// The layout record ---------------------------------------------------------------------

void CQMXPDockingControlBar::Serialize(CArchive& ar) {
    CQMXPBaseControlBar::Serialize(ar);
    CRect& rectFloat = m_recentDockInfo.m_rectRecentFloatingRect;
    CRect& rectDocked = m_recentDockInfo.m_recentSliderInfo.m_rectDockedRect;
    if (ar.IsStoring()) {
        CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
        if (IsFloating() && pMiniFrame != nullptr) {
            pMiniFrame->GetWindowRect(&rectFloat);
        } else if (!IsFloating()) {
            GetWindowRect(&rectDocked);
            CWnd* pDockSite = GetDockSiteFrameWnd();
            if (pDockSite != nullptr)
                pDockSite->ScreenToClient(&rectDocked);
        }
        ar << rectFloat.left << rectFloat.top << rectFloat.right << rectFloat.bottom;
        ar << rectDocked.left << rectDocked.top << rectDocked.right << rectDocked.bottom;
        ar << static_cast<BOOL>(IsFloating());
        return;
    }
    ar >> rectFloat.left >> rectFloat.top >> rectFloat.right >> rectFloat.bottom;
    ar >> rectDocked.left >> rectDocked.top >> rectDocked.right >> rectDocked.bottom;
    ar >> m_bRestoredFloating;
    m_rectRestoredDocked = rectDocked;
}
