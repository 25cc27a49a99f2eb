#include "docking/bars/QMXPOutlookBarPane.h"

#include "docking/bars/QMXPOutlookButton.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPPaintBuffer.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>

IMPLEMENT_SERIAL(CQMXPOutlookBarPane, CQMXPToolBar, VERSIONABLE_SCHEMA | 1)

namespace {
constexpr UINT kScrollPeriodMs = 200;
constexpr int kScrollButtonMargin = 5;
constexpr int kButtonSpacing = 4;
// Left and right alignment: the only alignment bits a pane answers.
constexpr DWORD kAlignmentMask = 0x5000;
}  // namespace

BEGIN_MESSAGE_MAP(CQMXPOutlookBarPane, CQMXPToolBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_NCCALCSIZE()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

CQMXPOutlookBarPane::CQMXPOutlookBarPane()
    : m_uiBackImageId(0),
      m_hbmpBack(nullptr),
      m_sizeBackImage(0, 0),
      m_clrBackColor(globalData.clrBtnShadow),
      m_clrTextColor(static_cast<COLORREF>(-1)),
      m_nScrollOffset(0),
      m_iFirstVisibleButton(0),
      m_bScrollDown(FALSE),
      m_nExtraSpace(kButtonSpacing),
      m_bOwnColors(FALSE),
      m_bFlatLook(FALSE),
      m_uiScrollTimer(0) {}

CQMXPOutlookBarPane::~CQMXPOutlookBarPane() {
    ClearInitialButtons();
    if (m_hbmpBack != nullptr)
        ::DeleteObject(m_hbmpBack);
}

BOOL CQMXPOutlookBarPane::Create(CWnd* pParentWnd, DWORD dwStyle, UINT uiID, DWORD) {
    if (!CQMXPToolBar::CreateEx(pParentWnd, dwStyle, uiID))
        return FALSE;
    // The pane fills its page: no gripper, whatever the style asked.
    SetBarStyle(GetBarStyle() & ~QMXP_CBRS_GRIPPER);
    SetBorders(0, 0, 0, 0);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

int CQMXPOutlookBarPane::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CQMXPToolBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    struct ScrollPlan {
        CQMXPButton* pButton;
        UINT nID;
        int nGlyph;
    };
    const ScrollPlan plans[] = {{&m_btnUp, 1, CQMXPMenuGlyphs::IdArowUp},
                                {&m_btnDown, 2, CQMXPMenuGlyphs::IdArowDown}};
    for (const ScrollPlan& plan : plans) {
        if (!plan.pButton->Create(L"", WS_CHILD | BS_PUSHBUTTON, CRect(0, 0, 0, 0), this, plan.nID))
            return -1;
        plan.pButton->SetGlyph(plan.nGlyph);
        plan.pButton->m_bDrawFocus = FALSE;
    }
    return 0;
}

DWORD CQMXPOutlookBarPane::GetCurrentAlignment() const { return GetBarStyle() & kAlignmentMask; }

CSize CQMXPOutlookBarPane::CalcFixedLayout(BOOL, BOOL) {
    CRect rectClient;
    GetClientRect(&rectClient);
    return rectClient.Size();
}

void CQMXPOutlookBarPane::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
    CRect& rect = *reinterpret_cast<CRect*>(&lpncsp->rgrc[0]);
    rect.DeflateRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
}

void CQMXPOutlookBarPane::AdjustLocations() {
    if (GetSafeHwnd() == nullptr)
        return;
    // A scroll button held down keeps its press: its steps re-lay out the pane.
    for (CQMXPButton* pScroll : {&m_btnUp, &m_btnDown}) {
        if (pScroll->GetSafeHwnd() != nullptr && m_uiScrollTimer == 0)
            pScroll->SendMessage(WM_CANCELMODE);
    }
    const CSize sizeScroll = CQMXPMenuGlyphs::GetSize() + CSize(4, 4);
    CRect rectClient;
    GetClientRect(&rectClient);
    CClientDC dc(this);
    CFont* pOldFont = dc.SelectObject(&globalData.fontRegular);
    const int nAvailable = rectClient.Width() - 2;
    int y = rectClient.top + m_nExtraSpace - m_nScrollOffset;

    const BOOL bUpFits = rectClient.Height() >= sizeScroll.cy + 2 * kScrollButtonMargin &&
                         rectClient.Width() >= sizeScroll.cx + 2 * kScrollButtonMargin;
    if (m_btnUp.GetSafeHwnd() != nullptr) {
        if (m_iFirstVisibleButton > 0 && bUpFits)
            m_btnUp.SetWindowPos(nullptr, rectClient.right - sizeScroll.cx - kScrollButtonMargin,
                                 rectClient.top + kScrollButtonMargin, sizeScroll.cx, sizeScroll.cy,
                                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        else
            m_btnUp.ShowWindow(SW_HIDE);
    }

    const CSize sizeImage = m_OutlookImages.GetImageSize();
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        pButton->m_bTextBelow = m_bTextLabels;
        if (auto* pOutlook = DYNAMIC_DOWNCAST(CQMXPOutlookButton, pButton))
            pOutlook->SetImageSize(sizeImage);
        CSize size = pButton->OnCalcSize(&dc, CSize(nAvailable, sizeImage.cy), FALSE);
        size.cx = std::min<int>(size.cx, nAvailable - 1);
        const int left = rectClient.left + (nAvailable - size.cx) / 2;
        const CRect rectButton(left, y, left + size.cx, y + size.cy);
        y = rectButton.bottom + m_nExtraSpace;
        if (rectButton != pButton->GetRect())
            pButton->SetRect(rectButton);
    }
    dc.SelectObject(pOldFont);

    m_bScrollDown = y > rectClient.bottom;
    if (m_btnDown.GetSafeHwnd() != nullptr) {
        if (m_bScrollDown && bUpFits)
            ::SetWindowPos(m_btnDown.m_hWnd, HWND_TOP, rectClient.right - sizeScroll.cx - kScrollButtonMargin,
                           rectClient.bottom - sizeScroll.cy - kScrollButtonMargin, sizeScroll.cx, sizeScroll.cy,
                           SWP_NOACTIVATE | SWP_SHOWWINDOW);
        else
            m_btnDown.ShowWindow(SW_HIDE);
    }
    for (CQMXPButton* pScroll : {&m_btnUp, &m_btnDown}) {
        if (pScroll->GetSafeHwnd() != nullptr)
            pScroll->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    UpdateTooltips();
}

void CQMXPOutlookBarPane::AdjustLayout() {
    if (GetSafeHwnd() != nullptr)
        RelayoutAndRedraw();
}

void CQMXPOutlookBarPane::RelayoutAndRedraw() {
    AdjustLocations();
    Invalidate();
    UpdateWindow();
}

void CQMXPOutlookBarPane::StopScrollTimers() {
    KillTimer(kTimerScrollUp);
    KillTimer(kTimerScrollDown);
    m_uiScrollTimer = 0;
}

void CQMXPOutlookBarPane::ScrollUp() {
    if (m_nScrollOffset <= 0 || m_iFirstVisibleButton <= 0) {
        m_nScrollOffset = 0;
        m_iFirstVisibleButton = 0;
        StopScrollTimers();
        return;
    }
    --m_iFirstVisibleButton;
    CQMXPToolbarButton* pButton = GetButton(m_iFirstVisibleButton);
    m_nScrollOffset -= pButton != nullptr ? pButton->GetRect().Height() + m_nExtraSpace : 0;
    if (m_iFirstVisibleButton == 0 || m_nScrollOffset < 0)
        m_nScrollOffset = 0;
    RelayoutAndRedraw();
}

void CQMXPOutlookBarPane::ScrollDown() {
    if (!m_bScrollDown || m_iFirstVisibleButton + 1 >= GetCount()) {
        StopScrollTimers();
        return;
    }
    CQMXPToolbarButton* pButton = GetButton(m_iFirstVisibleButton);
    ++m_iFirstVisibleButton;
    m_nScrollOffset += pButton != nullptr ? pButton->GetRect().Height() + m_nExtraSpace : 0;
    RelayoutAndRedraw();
}

void CQMXPOutlookBarPane::RemoveAllButtons() {
    CQMXPToolBar::RemoveAllButtons();
    m_nScrollOffset = 0;
    m_iFirstVisibleButton = 0;
    if (GetSafeHwnd() != nullptr)
        RelayoutAndRedraw();
}

void CQMXPOutlookBarPane::CopyButtons(const CObList& lstFrom, CObList& lstTo) {
    for (POSITION pos = lstFrom.GetHeadPosition(); pos != nullptr;) {
        const auto* pSource = static_cast<const CQMXPToolbarButton*>(lstFrom.GetNext(pos));
        auto* pCopy = static_cast<CQMXPToolbarButton*>(pSource->GetRuntimeClass()->CreateObject());
        if (pCopy == nullptr)
            continue;
        pCopy->AssignFrom(*pSource);
        lstTo.AddTail(pCopy);
    }
}

void CQMXPOutlookBarPane::ClearInitialButtons() {
    while (!m_lstInitialButtons.IsEmpty())
        delete m_lstInitialButtons.RemoveHead();
}

void CQMXPOutlookBarPane::SetInitialButtons(const CObList& lstButtons) {
    const BOOL bRecorded = !m_lstInitialButtons.IsEmpty();
    BOOL bSame = bRecorded && m_lstInitialButtons.GetCount() == lstButtons.GetCount();
    for (POSITION posOld = m_lstInitialButtons.GetHeadPosition(), posNew = lstButtons.GetHeadPosition();
         bSame && posOld != nullptr && posNew != nullptr;) {
        const auto* pOld = static_cast<const CQMXPToolbarButton*>(m_lstInitialButtons.GetNext(posOld));
        const auto* pNew = static_cast<const CQMXPToolbarButton*>(lstButtons.GetNext(posNew));
        bSame = pOld->CompareWith(*pNew);
    }
    if (bSame)
        return;
    ClearInitialButtons();
    CopyButtons(lstButtons, m_lstInitialButtons);
    if (bRecorded)
        RestoreInitialState();
}

BOOL CQMXPOutlookBarPane::RestoreInitialState() {
    if (m_lstInitialButtons.IsEmpty())
        return FALSE;
    CQMXPToolBar::RemoveAllButtons();
    m_nScrollOffset = 0;
    m_iFirstVisibleButton = 0;
    CObList lstCopies;
    CopyButtons(m_lstInitialButtons, lstCopies);
    while (!lstCopies.IsEmpty())
        InsertButton(static_cast<CQMXPToolbarButton*>(lstCopies.RemoveHead()));
    if (GetSafeHwnd() != nullptr) {
        AdjustLocations();
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return TRUE;
}

void CQMXPOutlookBarPane::OnSize(UINT nType, int cx, int cy) {
    CQMXPToolBar::OnSize(nType, cx, cy);
    AdjustLocations();
    // An enlarged pane scrolls back so that as many buttons show as fit.
    while (m_nScrollOffset > 0 && GetCount() > 0) {
        CQMXPToolbarButton* pLast = GetButton(GetCount() - 1);
        if (pLast == nullptr || pLast->GetRect().bottom + m_nExtraSpace >= cy)
            break;
        ScrollUp();
    }
}

CQMXPButton* CQMXPOutlookBarPane::ScrollButtonAt(CPoint ptScreen) {
    for (CQMXPButton* pScroll : {&m_btnUp, &m_btnDown}) {
        if (pScroll->GetSafeHwnd() == nullptr || !(pScroll->GetStyle() & WS_VISIBLE))
            continue;
        CRect rect;
        pScroll->GetWindowRect(&rect);
        if (rect.PtInRect(ptScreen))
            return pScroll;
    }
    return nullptr;
}

BOOL CQMXPOutlookBarPane::PreTranslateMessage(MSG* pMsg) {
    const UINT message = pMsg->message;
    if (message == WM_LBUTTONUP)
        StopScrollTimers();
    if ((message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) &&
        (pMsg->hwnd == m_hWnd || pMsg->hwnd == m_btnUp.GetSafeHwnd() || pMsg->hwnd == m_btnDown.GetSafeHwnd())) {
        CPoint pt(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
        ::ClientToScreen(pMsg->hwnd, &pt);
        if (CQMXPButton* pScroll = ScrollButtonAt(pt)) {
            // A message the pane caught (it holds the capture) reaches the button too.
            if (pMsg->hwnd != pScroll->m_hWnd) {
                CPoint ptButton = pt;
                pScroll->ScreenToClient(&ptButton);
                pScroll->SendMessage(message, pMsg->wParam, MAKELPARAM(ptButton.x, ptButton.y));
            }
            if (message == WM_LBUTTONDOWN) {
                const BOOL bDown = pScroll == &m_btnDown;
                StopScrollTimers();
                m_uiScrollTimer = bDown ? kTimerScrollDown : kTimerScrollUp;
                SetTimer(m_uiScrollTimer, kScrollPeriodMs, nullptr);
                if (bDown)
                    ScrollDown();
                else
                    ScrollUp();
            }
        }
    }
    return CQMXPToolBar::PreTranslateMessage(pMsg);
}

void CQMXPOutlookBarPane::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kTimerScrollUp || nIDEvent == kTimerScrollDown) {
        CQMXPButton& button = nIDEvent == kTimerScrollUp ? m_btnUp : m_btnDown;
        if (nIDEvent != m_uiScrollTimer || button.GetSafeHwnd() == nullptr || !(button.GetStyle() & WS_VISIBLE) ||
            !button.IsPressed()) {
            StopScrollTimers();
            return;
        }
        if (nIDEvent == kTimerScrollUp)
            ScrollUp();
        else
            ScrollDown();
        return;
    }
    CQMXPToolBar::OnTimer(nIDEvent);
}

CQMXPToolbarButton* CQMXPOutlookBarPane::CreateDroppedButton(COleDataObject* pDataObject) {
    CQMXPToolbarButton* pButton = CQMXPToolBar::CreateDroppedButton(pDataObject);
    if (pButton != nullptr && !pButton->IsKindOf(RUNTIME_CLASS(CQMXPOutlookButton))) {
        delete pButton;
        return nullptr;
    }
    return pButton;
}

BOOL CQMXPOutlookBarPane::OnDrop(COleDataObject* pDataObject, DWORD dropEffect, CPoint point) {
    CQMXPToolbarButton* pButton = CQMXPToolbarButton::LoadFromOleData(pDataObject);
    const BOOL bOutlook = pButton != nullptr && pButton->IsKindOf(RUNTIME_CLASS(CQMXPOutlookButton));
    delete pButton;
    if (!bOutlook)
        return FALSE;
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    if (CQMXPButton* pScroll = ScrollButtonAt(ptScreen)) {
        if (pScroll == &m_btnUp)
            ScrollUp();
        else
            ScrollDown();
        return TRUE;
    }
    return CQMXPToolBar::OnDrop(pDataObject, dropEffect, point);
}

void CQMXPOutlookBarPane::SetBackImage(UINT uiImageID) {
    if (uiImageID == m_uiBackImageId)
        return;
    if (m_hbmpBack != nullptr)
        ::DeleteObject(m_hbmpBack);
    m_hbmpBack = nullptr;
    m_sizeBackImage = CSize(0, 0);
    m_uiBackImageId = 0;
    if (uiImageID != 0) {
        m_hbmpBack = static_cast<HBITMAP>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(uiImageID),
                                                       IMAGE_BITMAP, 0, 0,
                                                       LR_CREATEDIBSECTION | LR_LOADMAP3DCOLORS));
        BITMAP bmp{};
        if (m_hbmpBack != nullptr && ::GetObjectW(m_hbmpBack, sizeof(bmp), &bmp) != 0 && bmp.bmWidth > 0 &&
            bmp.bmHeight > 0) {
            m_sizeBackImage = CSize(bmp.bmWidth, bmp.bmHeight);
            m_uiBackImageId = uiImageID;
        } else if (m_hbmpBack != nullptr) {
            ::DeleteObject(m_hbmpBack);
            m_hbmpBack = nullptr;
        }
    }
    if (GetSafeHwnd() != nullptr) {
        Invalidate();
        UpdateWindow();
    }
}

void CQMXPOutlookBarPane::FillBackground(CDC* pDC, CRect rectFill) {
    if (m_hbmpBack == nullptr) {
        pDC->FillSolidRect(&rectFill, m_clrBackColor);
        return;
    }
    CDC dcImage;
    if (!dcImage.CreateCompatibleDC(pDC)) {
        pDC->FillSolidRect(&rectFill, m_clrBackColor);
        return;
    }
    HGDIOBJ hOld = ::SelectObject(dcImage.GetSafeHdc(), m_hbmpBack);
    for (int x = rectFill.left; x < rectFill.right; x += m_sizeBackImage.cx) {
        for (int y = rectFill.top; y < rectFill.bottom; y += m_sizeBackImage.cy)
            pDC->BitBlt(x, y, m_sizeBackImage.cx, m_sizeBackImage.cy, &dcImage, 0, 0, SRCCOPY);
    }
    ::SelectObject(dcImage.GetSafeHdc(), hOld);
}

void CQMXPOutlookBarPane::DoPaint(CDC* pDCPaint) {
    CRect rectClip;
    pDCPaint->GetClipBox(&rectClip);
    CRect rectClient;
    GetClientRect(&rectClient);
    const CQMXPPaintBuffer buffer(pDCPaint, rectClient, rectClip);
    CDC* pDC = buffer.GetDC();
    CQMXPVisualManager::GetInstance()->OnFillBarBackground(pDC, this, rectClient, rectClient);
    pDC->SetTextColor(globalData.clrBtnText);
    pDC->SetBkMode(TRANSPARENT);
    CFont* pOldFont = pDC->SelectObject(&globalData.fontRegular);

    const BOOL bCustomize = m_bCustomizeMode && !m_bLocked;
    CQMXPDrawState ds;
    const CSize sizeImage = m_OutlookImages.GetImageSize();
    CQMXPToolBarImages* pImages =
        m_OutlookImages.GetCount() > 0 && m_OutlookImages.BeginDraw(ds, sizeImage.cx, sizeImage.cy) ? &m_OutlookImages
                                                                                                   : nullptr;
    int iButton = 0;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr; ++iButton) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        const CRect rectButton = pButton->GetRect();
        CRect rectIntersect;
        if ((pButton->m_nStyle & TBBS_SEPARATOR) || !rectIntersect.IntersectRect(&rectButton, &rectClip))
            continue;
        const BOOL bHighlighted = !bCustomize && (iButton == m_iHighlighted || iButton == m_iButtonCapture);
        pButton->OnDraw(pDC, rectButton, pImages, FALSE, bCustomize, bHighlighted, TRUE, TRUE);
    }
    if (pImages != nullptr)
        pImages->FinishDraw(ds);

    CQMXPToolbarButton* pSelected = GetButton(m_iSelected);
    if (bCustomize && m_pSelToolbar == this && pSelected != nullptr) {
        CRect rectSelected = pSelected->GetRect();
        pDC->Draw3dRect(&rectSelected, globalData.clrBtnText, globalData.clrBtnText);
        rectSelected.DeflateRect(1, 1);
        pDC->Draw3dRect(&rectSelected, globalData.clrBtnText, globalData.clrBtnText);
    }
    pDC->SelectObject(pOldFont);
}

void CQMXPOutlookBarPane::OnSysColorChange() {
    CQMXPToolBar::OnSysColorChange();
    m_clrBackColor = globalData.clrBtnShadow;
    const UINT uiBackImage = m_uiBackImageId;
    if (uiBackImage != 0) {
        m_uiBackImageId = 0;
        SetBackImage(uiBackImage);
    } else {
        Invalidate();
    }
}

BOOL CQMXPOutlookBarPane::PrepareCustomizeMenu(CQMXPToolbarButton* pButton, CMenu* pMenu) {
    // The tool bar's own preparation enables some of these items; greyed
    // after it, they stay greyed.
    CQMXPToolBar::PrepareCustomizeMenu(pButton, pMenu);
    if (m_bCustomizeMode) {
        for (UINT uiID : {QMXP_ID_CUSTOMIZE_IMAGE, QMXP_ID_CUSTOMIZE_TEXT, QMXP_ID_CUSTOMIZE_IMAGE_AND_TEXT,
                          QMXP_ID_CUSTOMIZE_APPEARANCE, QMXP_ID_CUSTOMIZE_START_GROUP, QMXP_ID_CUSTOMIZE_RESET,
                          QMXP_ID_CUSTOMIZE_COPY_IMAGE})
            pMenu->EnableMenuItem(uiID, MF_BYCOMMAND | MF_GRAYED);
    }
    return TRUE;
}
