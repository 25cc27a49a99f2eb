#include "docking/bars/QMXPOutlookWnd.h"

#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPOutlookBar.h"
#include "docking/bars/QMXPOutlookBarPane.h"
#include "docking/bars/QMXPOutlookButton.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/View.h"
#include "platform/classlib/WinApp.h"

#include <vector>

IMPLEMENT_DYNCREATE(CQMXPOutlookWnd, CQMXPBaseTabWnd)

namespace {
constexpr int kScrollRepeatMs = 100;
constexpr int kImageLeft = 4;
constexpr int kTextLeft = 8;
constexpr int kGripperWidth = 11;
constexpr UINT kHandCursorID = 16919;
constexpr DWORD kWindowStyle = 0x56000000;
}  // namespace

BEGIN_MESSAGE_MAP(CQMXPOutlookWnd, CQMXPBaseTabWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CQMXPOutlookWnd::CQMXPOutlookWnd() : m_rectWndArea(0, 0, 0, 0), m_nBorderSize(0), m_bScrollButtons(FALSE) {
    m_bEnableTabSwap = FALSE;
    m_bActivateOnBtnUp = TRUE;
}

CQMXPOutlookWnd::~CQMXPOutlookWnd() = default;

BOOL CQMXPOutlookWnd::Create(const CRect& rect, CWnd* pParentWnd, UINT nID) {
    if (!CWnd::Create(nullptr, L"", kWindowStyle, rect, pParentWnd, nID))
        return FALSE;
    SetTabsHeight();
    m_bHighLightTabs = TRUE;
    return TRUE;
}

int CQMXPOutlookWnd::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CQMXPBaseTabWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    for (CQMXPButton* pButton : {&m_btnUp, &m_btnDown}) {
        if (!pButton->Create(L"", WS_CHILD, CRect(0, 0, 0, 0), this, static_cast<UINT>(-1)))
            return -1;
        pButton->SetGlyph(pButton == &m_btnUp ? CQMXPMenuGlyphs::IdArowUpLarge : CQMXPMenuGlyphs::IdArowDownLarge);
        pButton->SetAutoRepeatDelay(kScrollRepeatMs);
        pButton->m_nFlatStyle = CQMXPButton::BUTTONSTYLE_SEMIFLAT;
        pButton->m_bDrawFocus = FALSE;
    }
    return 0;
}

void CQMXPOutlookWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    RecalcLayout();
}

void CQMXPOutlookWnd::RecalcLayout() {
    if (GetSafeHwnd() == nullptr)
        return;
    for (CQMXPButton* pButton : {&m_btnUp, &m_btnDown}) {
        if (pButton->GetSafeHwnd() != nullptr)
            pButton->SendMessage(WM_CANCELMODE);
    }
    const int H = GetTabsHeight();
    CRect rectClient;
    GetClientRect(&rectClient);
    m_rectWndArea = rectClient;
    m_rectWndArea.DeflateRect(m_nBorderSize + 1, m_nBorderSize + 1);
    const int nVisible = GetVisibleTabsNum();
    if (nVisible >= 2 || !IsHideSingleTab())
        m_rectWndArea.DeflateRect(0, 1);

    for (int i = 0; i < m_iTabsNum; ++i)
        m_arTabs[i]->m_rect.SetRectEmpty();
    BOOL bUpShown = FALSE;
    BOOL bDownShown = FALSE;
    if (!PageButtonsHidden()) {
        std::vector<int> visible;
        for (int i = 0; i < m_iTabsNum; ++i) {
            if (m_arTabs[i]->m_bVisible)
                visible.push_back(i);
        }
        const int n = static_cast<int>(visible.size());
        int a = n - 1;
        for (int k = 0; k < n; ++k) {
            if (visible[k] == m_iActiveTab)
                a = k;
        }
        const CRect rectArea = m_rectWndArea;
        for (int k = 0; k < n; ++k) {
            const int top = k <= a ? rectArea.top + k * H : rectArea.bottom - (n - k) * H + 1;
            CRect rectButton(rectArea.left, top, rectArea.right + 1, top + H);
            if (m_bScrollButtons && (k == a || k == a + 1)) {
                rectButton.right -= H;
                CQMXPButton& button = k == a ? m_btnUp : m_btnDown;
                button.SetWindowPos(nullptr, rectButton.right, rectButton.top, H, H,
                                    SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
                (k == a ? bUpShown : bDownShown) = TRUE;
            }
            m_arTabs[visible[k]]->m_rect = rectButton;
            if (k == a)
                m_rectWndArea.top = rectButton.bottom;
            else if (k == a + 1)
                m_rectWndArea.bottom = rectButton.top - 1;
        }
        if (m_bScrollButtons && a == n - 1 && n > 0) {
            m_rectWndArea.bottom -= H;
            m_btnDown.SetWindowPos(nullptr, rectArea.right + 1 - H, rectArea.bottom - H + 1, H, H,
                                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            bDownShown = TRUE;
        }
    }
    if (!bUpShown && m_btnUp.GetSafeHwnd() != nullptr)
        m_btnUp.ShowWindow(SW_HIDE);
    if (!bDownShown && m_btnDown.GetSafeHwnd() != nullptr)
        m_btnDown.ShowWindow(SW_HIDE);

    for (int i = 0; i < m_iTabsNum; ++i) {
        CWnd* pWnd = m_arTabs[i]->m_pWnd;
        if (m_arTabs[i]->m_bVisible && pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr)
            pWnd->SetWindowPos(nullptr, m_rectWndArea.left, m_rectWndArea.top, m_rectWndArea.Width(),
                               m_rectWndArea.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    constexpr UINT kRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN;
    if (nVisible > 0)
        RedrawWindow(nullptr, nullptr, kRedraw);
    else
        ShowWindow(SW_HIDE);
    for (CWnd* pWnd : {static_cast<CWnd*>(&m_btnUp), static_cast<CWnd*>(&m_btnDown), GetParent()}) {
        if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr)
            pWnd->RedrawWindow(nullptr, nullptr, kRedraw);
    }
}

void CQMXPOutlookWnd::GetTabArea(CRect& rectTabAreaTop, CRect& rectTabAreaBottom) const {
    rectTabAreaTop.SetRectEmpty();
    rectTabAreaBottom.SetRectEmpty();
    BOOL bTop = TRUE;
    for (int i = 0; i < m_iTabsNum; ++i) {
        const CRect& rect = m_arTabs[i]->m_rect;
        if (!m_arTabs[i]->m_bVisible || rect.IsRectEmpty())
            continue;
        if (bTop && (rectTabAreaTop.IsRectEmpty() || rect.top == rectTabAreaTop.bottom)) {
            rectTabAreaTop.UnionRect(&rectTabAreaTop, &rect);
            continue;
        }
        bTop = FALSE;
        rectTabAreaBottom.UnionRect(&rectTabAreaBottom, &rect);
    }
    ClientToScreen(&rectTabAreaTop);
    ClientToScreen(&rectTabAreaBottom);
}

BOOL CQMXPOutlookWnd::IsPtInTabArea(CPoint point) const {
    CRect rectTop;
    CRect rectBottom;
    GetTabArea(rectTop, rectBottom);
    return rectTop.PtInRect(point) || rectBottom.PtInRect(point);
}

CWnd* CQMXPOutlookWnd::IsPtInTabsAreaGap(CPoint point) {
    CPoint ptClient = point;
    ScreenToClient(&ptClient);
    return GetTabFromPoint(ptClient) == -1 ? GetParent() : nullptr;
}

BOOL CQMXPOutlookWnd::SetActiveTab(int iTab) {
    if (!IsValidTab(iTab))
        return FALSE;
    if (iTab == m_iActiveTab)
        return TRUE;
    const int iOldActive = m_iActiveTab;
    CWnd* pOldWnd = GetActiveWnd();
    if (pOldWnd != nullptr && pOldWnd->GetSafeHwnd() != nullptr)
        pOldWnd->ShowWindow(SW_HIDE);
    m_iActiveTab = iTab;
    RecalcLayout();
    CWnd* pWnd = m_arTabs[iTab]->m_pWnd;
    if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr) {
        pWnd->ShowWindow(SW_SHOW);
        pWnd->BringWindowToTop();
        // One pixel more and back makes the page lay itself out.
        pWnd->SetWindowPos(nullptr, 0, 0, m_rectWndArea.Width() + 1, m_rectWndArea.Height(),
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        pWnd->SetWindowPos(nullptr, 0, 0, m_rectWndArea.Width(), m_rectWndArea.Height(),
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPOutlookBar, GetParent());
    if (pBar != nullptr && pBar->IsSetCaptionTextToTabName()) {
        pBar->SetWindowText(m_arTabs[iTab]->m_strText);
        CWnd* pRedraw = pBar->IsFloating() ? static_cast<CWnd*>(pBar->GetParentMiniFrame(TRUE)) : pBar;
        if (pRedraw != nullptr)
            pRedraw->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (iOldActive != -1 && pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr) {
        auto* pView = DYNAMIC_DOWNCAST(CView, pWnd);
        CFrameWnd* pFrame = pView != nullptr ? pView->GetParentFrame() : nullptr;
        if (pFrame != nullptr)
            pFrame->SetActiveView(pView);
        else
            pWnd->SetFocus();
    }
    return TRUE;
}

BOOL CQMXPOutlookWnd::OnEraseBkgnd(CDC* pDC) {
    if (m_iTabsNum > 0)
        return TRUE;
    return CWnd::OnEraseBkgnd(pDC);
}

void CQMXPOutlookWnd::OnPaint() {
    CPaintDC dc(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    if (m_nBorderSize > 0) {
        for (int i = 0; i < m_nBorderSize; ++i) {
            dc.FrameRect(&rectClient, &globalData.brBtnFace);
            rectClient.DeflateRect(1, 1);
        }
    }
    dc.Draw3dRect(&rectClient, globalData.clrBtnShadow, globalData.clrBtnShadow);
    dc.FillSolidRect(m_rectWndArea.left - 1, m_rectWndArea.bottom, m_rectWndArea.Width() + 2, 1,
                     globalData.clrBtnShadow);
    CFont* pOldFont = dc.SelectObject(&globalData.fontRegular);
    dc.SetBkMode(TRANSPARENT);
    if (!PageButtonsHidden()) {
        for (int i = 0; i < m_iTabsNum; ++i) {
            if (m_arTabs[i]->m_bVisible && !m_arTabs[i]->m_rect.IsRectEmpty())
                DrawPageButton(&dc, i);
        }
    }
    if (m_bScrollButtons && m_iActiveTab == m_iTabsNum - 1 && m_iTabsNum > 0) {
        const int H = GetTabsHeight();
        CRect rectStrip(rectClient.left, rectClient.bottom - H, rectClient.right, rectClient.bottom);
        dc.FillRect(&rectStrip, &globalData.brBtnFace);
    }
    dc.SelectObject(pOldFont);
}

void CQMXPOutlookWnd::DrawPageButton(CDC* pDC, int iTab) {
    CQMXPTabInfo* pTab = m_arTabs[iTab];
    CRect rect = pTab->m_rect;
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    const BOOL bHighlighted = iTab == m_iHighlighted;
    const BOOL bPressed = iTab == m_iPressed && bHighlighted;
    COLORREF clrText = globalData.clrBtnText;
    pManager->OnFillOutlookPageButton(pDC, rect, bHighlighted, bPressed, clrText);
    pManager->OnDrawOutlookPageButtonBorder(pDC, rect, bHighlighted, bPressed);

    const CSize sizeImage = m_sizeImage;
    if (rect.Width() >= kImageLeft + sizeImage.cx) {
        const CPoint ptImage(rect.left + kImageLeft, rect.top + (rect.Height() - sizeImage.cy) / 2);
        if (pTab->m_hIcon != nullptr) {
            ::DrawStateW(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(pTab->m_hIcon), 0, ptImage.x,
                         ptImage.y, sizeImage.cx, sizeImage.cy, DST_ICON | DSS_NORMAL);
        } else if (CImageList* pImages = GetImageList();
                   pImages != nullptr && pImages->GetSafeHandle() != nullptr &&
                   pTab->m_uiIcon != static_cast<UINT>(-1)) {
            pImages->Draw(pDC, static_cast<int>(pTab->m_uiIcon), ptImage, ILD_TRANSPARENT);
        }
    }
    CRect rectText(rect.left + kTextLeft + sizeImage.cx, rect.top, rect.right, rect.bottom);
    if (pTab->m_bIsDetachable)
        rectText.right -= kGripperWidth;
    const COLORREF clrOld = pDC->SetTextColor(clrText);
    pDC->DrawText(pTab->m_strText, &rectText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    pDC->SetTextColor(clrOld);
    if (pTab->m_bIsDetachable) {
        const CRect rectGripper(rect.right - kGripperWidth, rect.top, rect.right, rect.bottom);
        pManager->OnDrawBarGripper(pDC, rectGripper, TRUE, DYNAMIC_DOWNCAST(CQMXPBaseControlBar, GetParent()));
    }
}

BOOL CQMXPOutlookWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    CPoint point = QMXPGetCursorPos();
    ScreenToClient(&point);
    if (nHitTest == HTCLIENT && GetTabFromPoint(point) != -1) {
        if (globalData.hcurHand == nullptr)
            globalData.hcurHand = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kHandCursorID));
        if (globalData.hcurHand != nullptr) {
            ::SetCursor(globalData.hcurHand);
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

BOOL CQMXPOutlookWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const HWND hwndFrom = reinterpret_cast<HWND>(lParam);
    const BOOL bUp = hwndFrom != nullptr && hwndFrom == m_btnUp.GetSafeHwnd();
    const BOOL bDown = hwndFrom != nullptr && hwndFrom == m_btnDown.GetSafeHwnd();
    if (!bUp && !bDown)
        return CQMXPBaseTabWnd::OnCommand(wParam, lParam);
    if (auto* pBar = DYNAMIC_DOWNCAST(CQMXPOutlookBar, GetParent()))
        pBar->OnScroll(bDown);
    CQMXPButton& button = bUp ? m_btnUp : m_btnDown;
    if (!button.IsWindowEnabled())
        SetFocus();
    return TRUE;
}

DROPEFFECT CQMXPOutlookWnd::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    CQMXPToolbarButton* pButton = CQMXPToolbarButton::LoadFromOleData(pDataObject);
    const BOOL bOutlook = pButton != nullptr && pButton->IsKindOf(RUNTIME_CLASS(CQMXPOutlookButton));
    delete pButton;
    if (!bOutlook)
        return DROPEFFECT_NONE;
    const int iTab = GetTabFromPoint(point);
    if (iTab != -1)
        SetActiveTab(iTab);
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}
