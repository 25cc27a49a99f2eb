#include "docking/bars/QMXPStatusBar.h"

#include "docking/toolbars/QMXPPopupMenu.h"

#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/CmdUI.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Dialog.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/StringResource.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

IMPLEMENT_DYNAMIC(CQMXPStatusBar, CQMXPControlBar)

namespace {

constexpr int kPaneFrame = 4;

LPWSTR CopyText(LPCWSTR lpszText) {
    const size_t nLength = std::wcslen(lpszText);
    auto* pszCopy = new (std::nothrow) wchar_t[nLength + 1];
    if (pszCopy != nullptr)
        std::wmemcpy(pszCopy, lpszText, nLength + 1);
    return pszCopy;
}

// The update of one pane from the command handlers.
class CQMXStatusCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        SetStyleBit(SBPS_DISABLED, !bOn);
    }
    void SetCheck(int nCheck) override { SetStyleBit(SBPS_POPOUT, nCheck != 0); }
    void SetText(LPCWSTR lpszText) override { m_pBar->SetPaneText(static_cast<int>(m_nIndex), lpszText, TRUE); }
    CQMXPStatusBar* m_pBar = nullptr;

private:
    void SetStyleBit(UINT nBit, bool bSet) {
        CQMXStatusBarPaneInfo* pPane = m_pBar->GetPanePtr(static_cast<int>(m_nIndex));
        if (pPane == nullptr)
            return;
        const UINT nStyle = bSet ? (pPane->nStyle | nBit) : (pPane->nStyle & ~nBit);
        if (nStyle != pPane->nStyle) {
            pPane->nStyle = nStyle;
            m_pBar->InvalidateRect(&pPane->rect);
        }
    }
};

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPStatusBar, CQMXPControlBar)
    ON_WM_NCHITTEST()
    ON_WM_SYSCOMMAND()
    ON_WM_SIZE()
    ON_MESSAGE(WM_SETFONT, OnSetFont)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_GETTEXT, OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(SB_GETPARTS, OnGetParts)
    ON_MESSAGE(SB_GETTEXTW, OnGetPaneText)
    ON_MESSAGE(SB_GETTEXTLENGTHW, OnGetPaneTextLength)
    ON_WM_SETTINGCHANGE()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_WM_CREATE()
END_MESSAGE_MAP()

CQMXPStatusBar::CQMXPStatusBar()
    : m_hFont(nullptr),
      m_cxSizeBox(0),
      m_bHideSizeBox(FALSE),
      m_bPaneDoubleClick(FALSE),
      m_rectSizeBox(0, 0, 0, 0),
      m_nTipHit(-1) {
    SetBorders(4, 2, 0, 0);
}

CQMXPStatusBar::~CQMXPStatusBar() { FreePaneTexts(); }

void CQMXPStatusBar::FreePaneTexts() {
    for (int i = 0; i < m_nCount; ++i) {
        delete[] Panes()[i].lpszText;
        Panes()[i].lpszText = nullptr;
        delete[] Panes()[i].lpszToolTip;
        Panes()[i].lpszToolTip = nullptr;
    }
}

BOOL CQMXPStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) { return CreateEx(pParentWnd, 0, dwStyle, nID); }

BOOL CQMXPStatusBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, UINT nID) {
    SetBarStyle(dwStyle & 0x40FFFF);
    m_nID = nID;
    const CString strClass = QMXPRegisterBarClass(L"QMXControlBar");
    if (!CWnd::CreateEx(0, strClass, nullptr, dwStyle | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    if (pParentWnd != nullptr && pParentWnd->IsFrameWnd())
        m_pDockSite = static_cast<CFrameWnd*>(pParentWnd);
    else
        m_pDockSite = QMXFindOwnerFrame(pParentWnd);
    if (pParentWnd != nullptr && pParentWnd->IsKindOf(RUNTIME_CLASS(CDialog)))
        qmxGlobalUtils.m_bDialogApp = TRUE;
    else
        AddControlBar(this);
    return TRUE;
}

BOOL CQMXPStatusBar::PreCreateWindow(CREATESTRUCTW& cs) {
    constexpr DWORD kBottomWithTopBorder = 0x8000 | 0x200;
    if ((GetBarStyle() & kBottomWithTopBorder) == kBottomWithTopBorder)
        SetBarStyle(GetBarStyle() & ~(0x0F00 | 0x80));
    return CQMXPControlBar::PreCreateWindow(cs);
}

int CQMXPStatusBar::OnCreate(LPCREATESTRUCTW lpcs) { return CWnd::OnCreate(lpcs); }

HFONT CQMXPStatusBar::BarFont() const {
    return m_hFont != nullptr ? m_hFont : static_cast<HFONT>(globalData.fontRegular.GetSafeHandle());
}

// Panes -------------------------------------------------------------------

BOOL CQMXPStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    FreePaneTexts();
    if (!AllocElements(nIDCount, sizeof(CQMXStatusBarPaneInfo)))
        return FALSE;
    BOOL bResult = TRUE;
    if (lpIDArray != nullptr) {
        HDC hdcScreen = ::GetDC(nullptr);
        HGDIOBJ hOldFont = ::SelectObject(hdcScreen, BarFont());
        BOOL bStretchGiven = FALSE;
        for (int i = 0; i < nIDCount; ++i) {
            CQMXStatusBarPaneInfo& pane = Panes()[i];
            pane.nID = lpIDArray[i];
            if (pane.nID == 0) {
                pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
                if (i == 0 && !bStretchGiven) {
                    pane.nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
                    bStretchGiven = TRUE;
                }
                continue;
            }
            CString strText;
            if (!AfxLoadStringResource(pane.nID, strText)) {
                bResult = FALSE;
                continue;
            }
            SIZE size = {};
            ::GetTextExtentPoint32W(hdcScreen, strText, strText.GetLength(), &size);
            pane.cxText = size.cx;
            pane.lpszText = CopyText(strText);
            if (pane.lpszText == nullptr)
                bResult = FALSE;
        }
        ::SelectObject(hdcScreen, hOldFont);
        ::ReleaseDC(nullptr, hdcScreen);
    }
    AdjustLayout();
    return bResult;
}

CQMXStatusBarPaneInfo* CQMXPStatusBar::GetPanePtr(int nIndex) const {
    if (nIndex == kStretchPane) {
        for (int i = 0; i < m_nCount; ++i) {
            if (Panes()[i].nStyle & SBPS_STRETCH)
                return &Panes()[i];
        }
        return nullptr;
    }
    return nIndex >= 0 && nIndex < m_nCount ? &Panes()[nIndex] : nullptr;
}

UINT CQMXPStatusBar::GetItemID(int nIndex) const {
    const CQMXStatusBarPaneInfo* pPane = GetPanePtr(nIndex);
    return pPane != nullptr ? pPane->nID : 0;
}

void CQMXPStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    if (lpRect == nullptr)
        return;
    const CQMXStatusBarPaneInfo* pPane = GetPanePtr(nIndex);
    if (pPane != nullptr)
        *lpRect = pPane->rect;
    else
        ::SetRectEmpty(lpRect);
}

int CQMXPStatusBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < m_nCount; ++i) {
        if (Panes()[i].nID == nIDFind)
            return i;
    }
    return -1;
}

CQMXStatusBarPaneInfo* CQMXPStatusBar::HitTest(CPoint pt) const {
    for (int i = 0; i < m_nCount; ++i) {
        if (::PtInRect(&Panes()[i].rect, pt))
            return &Panes()[i];
    }
    return nullptr;
}

void CQMXPStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    CQMXStatusBarPaneInfo* pPane = GetPanePtr(nIndex);
    if (pPane == nullptr)
        return;
    pPane->nID = nID;
    if (pPane->nStyle != nStyle) {
        pPane->nStyle = nStyle;
        if (GetSafeHwnd() != nullptr)
            InvalidateRect(&pPane->rect);
    }
    SetPaneWidth(nIndex, cxWidth);
}

void CQMXPStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    const CQMXStatusBarPaneInfo* pPane = GetPanePtr(nIndex);
    if (pPane == nullptr) {
        nID = nStyle = 0;
        cxWidth = 0;
        return;
    }
    nID = pPane->nID;
    nStyle = pPane->nStyle;
    cxWidth = pPane->cxText;
}

void CQMXPStatusBar::SetPaneWidth(int nIndex, int cx) {
    CQMXStatusBarPaneInfo* pPane = GetPanePtr(nIndex);
    if (pPane == nullptr)
        return;
    pPane->cxText = std::max(cx - pPane->cxIcon - (pPane->cxIcon > 0 ? kPaneFrame : 0), 0);
    const int cxCurrent = pPane->rect.right - pPane->rect.left - kPaneFrame;
    if (cx != cxCurrent) {
        AdjustLayout();
        if (GetSafeHwnd() != nullptr)
            Invalidate();
    }
}

CRect CQMXPStatusBar::PaneContentRect(const CQMXStatusBarPaneInfo& pane) const {
    CRect rect(pane.rect);
    if (pane.nStyle & SBPS_NOBORDERS)
        ++rect.top;
    else
        rect.DeflateRect(1, 1);
    return rect;
}

BOOL CQMXPStatusBar::SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate) {
    CQMXStatusBarPaneInfo* pPane = GetPanePtr(nIndex);
    if (pPane == nullptr)
        return FALSE;
    const BOOL bNewEmpty = lpszNewText == nullptr || *lpszNewText == L'\0';
    const BOOL bOldEmpty = pPane->lpszText == nullptr || *pPane->lpszText == L'\0';
    if ((bNewEmpty && bOldEmpty) || (!bNewEmpty && !bOldEmpty && std::wcscmp(pPane->lpszText, lpszNewText) == 0))
        return TRUE;
    LPWSTR lpszCopy = nullptr;
    if (!bNewEmpty) {
        lpszCopy = CopyText(lpszNewText);
        if (lpszCopy == nullptr)
            return FALSE;
    }
    delete[] pPane->lpszText;
    pPane->lpszText = lpszCopy;
    if (bUpdate && GetSafeHwnd() != nullptr)
        InvalidatePaneContent(static_cast<int>(pPane - Panes()));
    return TRUE;
}

CString CQMXPStatusBar::GetPaneText(int nIndex) const {
    const CQMXStatusBarPaneInfo* pPane = GetPanePtr(nIndex);
    return pPane != nullptr && pPane->lpszText != nullptr ? CString(pPane->lpszText) : CString();
}

void CQMXPStatusBar::InvalidatePaneContent(int nIndex) {
    const CQMXStatusBarPaneInfo* pPane = GetPanePtr(nIndex);
    if (pPane == nullptr || GetSafeHwnd() == nullptr)
        return;
    const CRect rect = PaneContentRect(*pPane);
    InvalidateRect(&rect);
    UpdateWindow();
}

// Layout ---------------------------------------------------------------------------

CSize CQMXPStatusBar::CalcFixedLayout(BOOL, BOOL) {
    HDC hdcScreen = ::GetDC(nullptr);
    HGDIOBJ hOldFont = ::SelectObject(hdcScreen, BarFont());
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(hdcScreen, &tm);
    ::SelectObject(hdcScreen, hOldFont);
    ::ReleaseDC(nullptr, hdcScreen);
    int cyIcons = 0;
    for (int i = 0; i < m_nCount; ++i)
        cyIcons = std::max(cyIcons, Panes()[i].cyIcon);
    return CSize(32767, std::max<int>(tm.tmHeight, cyIcons) + m_cyTopBorder + m_cyBottomBorder + 4);
}

void CQMXPStatusBar::AdjustLayout() {
    if (GetSafeHwnd() == nullptr)
        return;
    CRect rect;
    GetClientRect(&rect);
    rect.DeflateRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
    m_cxSizeBox = std::min<int>(::GetSystemMetrics(SM_CXVSCROLL) + 1, rect.Height());
    const int cxGrip = m_bHideSizeBox ? 0 : m_cxSizeBox;
    // Without a grip the panes may run one pixel into the right border.
    const int xEnd = cxGrip != 0 ? rect.right - cxGrip : rect.right + 1;
    // What the grip takes is not free for the stretching pane.
    int cxFree = rect.Width() - cxGrip + m_cxDefaultGap;
    for (int i = 0; i < m_nCount; ++i) {
        const CQMXStatusBarPaneInfo& pane = Panes()[i];
        cxFree -= kPaneFrame + pane.cxText + pane.cxIcon + m_cxDefaultGap;
        if (pane.cxText > 0 && pane.cxIcon > 0)
            cxFree -= kPaneFrame;
    }
    BOOL bStretched = FALSE;
    int x = rect.left;
    int xLast = rect.left;
    for (int i = 0; i < m_nCount; ++i) {
        CQMXStatusBarPaneInfo& pane = Panes()[i];
        int cx = pane.cxText + pane.cxIcon + (pane.cxText > 0 && pane.cxIcon > 0 ? kPaneFrame : 0);
        if ((pane.nStyle & SBPS_STRETCH) && !bStretched) {
            bStretched = TRUE;
            if (cxFree > 0)
                cx += cxFree;
        }
        if (x >= xEnd) {
            ::SetRect(&pane.rect, x, rect.top, x, rect.top);
            continue;
        }
        ::SetRect(&pane.rect, x, rect.top, std::min(x + cx + kPaneFrame, xEnd), rect.bottom);
        xLast = pane.rect.right;
        x = pane.rect.right + m_cxDefaultGap;
    }
    if (cxGrip == 0)
        m_rectSizeBox.SetRectEmpty();
    else
        m_rectSizeBox.SetRect(xLast, rect.top, xLast + std::min(m_cxSizeBox, rect.Height() + m_cyTopBorder),
                              rect.bottom);
}

void CQMXPStatusBar::OnSize(UINT nType, int cx, int cy) {
    CQMXPControlBar::OnSize(nType, cx, cy);
    AdjustLayout();
    Invalidate();
}

void CQMXPStatusBar::OnSettingChange(UINT, LPCWSTR) {
    AdjustLayout();
    Invalidate();
}

LRESULT CQMXPStatusBar::OnSizeParent(WPARAM, LPARAM lParam) {
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (pLayout == nullptr || pLayout->hDWP == nullptr)
        return 0;
    CFrameWnd* pFrame = QMXFindOwnerFrame(this);
    BOOL bHide = TRUE;
    if (pFrame != nullptr && !pFrame->IsZoomed() && (pFrame->GetStyle() & WS_THICKFRAME)) {
        // The grip shows only while the bar sits in the frame's bottom-right corner.
        CRect rectFrameClient;
        pFrame->GetClientRect(&rectFrameClient);
        CRect rectBar;
        GetWindowRect(&rectBar);
        pFrame->ScreenToClient(&rectBar);
        bHide = rectBar.right != rectFrameClient.right || rectBar.bottom != rectFrameClient.bottom;
    }
    if (bHide != m_bHideSizeBox) {
        m_bHideSizeBox = bHide;
        AdjustLayout();
        Invalidate();
    }
    return 0;
}

// Painting ---------------------------------------------------------------------------

void CQMXPStatusBar::DoPaint(CDC* pDC) {
    CRect rectClient;
    GetClientRect(&rectClient);
    CDC dcMem;
    dcMem.CreateCompatibleDC(pDC);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(pDC, rectClient.Width(), rectClient.Height());
    CBitmap* pOldBitmap = dcMem.SelectObject(&bitmap);
    CQMXPControlBar::DoPaint(&dcMem);
    HGDIOBJ hOldFont = dcMem.SelectObject(static_cast<HGDIOBJ>(BarFont()));
    dcMem.SetBkMode(TRANSPARENT);
    dcMem.SetTextColor(globalData.clrBtnText);
    dcMem.SetBkColor(globalData.clrBtnFace);
    for (int i = 0; i < m_nCount; ++i)
        DrawPane(&dcMem, i);
    if (!m_rectSizeBox.IsRectEmpty())
        CQMXPVisualManager::GetInstance()->OnDrawStatusBarSizeBox(&dcMem, this, m_rectSizeBox);
    dcMem.SelectObject(hOldFont);
    pDC->BitBlt(0, 0, rectClient.Width(), rectClient.Height(), &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOldBitmap);
}

void CQMXPStatusBar::DrawPane(CDC* pDC, int nIndex) {
    const CQMXStatusBarPaneInfo* pPane = GetPanePtr(nIndex);
    if (pPane == nullptr)
        return;
    CRect rect(pPane->rect);
    if (rect.IsRectEmpty() || !pDC->RectVisible(rect))
        return;
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    pManager->OnDrawStatusBarPaneBorder(pDC, this, rect, pPane->nID, pPane->nStyle);
    if (!(pPane->nStyle & SBPS_NOBORDERS))
        rect.DeflateRect(2, 1);
    if (pPane->hImageList != nullptr && pPane->cxIcon > 0) {
        const int x = rect.left + std::max(0, (pPane->cxIcon - pPane->cxIcon) / 2);
        const int y = rect.top + std::max(0, (rect.Height() - pPane->cyIcon) / 2);
        ::ImageList_Draw(pPane->hImageList, pPane->nAnimCurrent, pDC->m_hDC, x, y, ILD_TRANSPARENT);
    }
    CRect rectText = rect;
    if (pPane->cxIcon > 0)
        rectText.left += pPane->cxIcon + kPaneFrame;
    if (pPane->nProgressTotal > 0) {
        rectText.DeflateRect(1, 1);
        const COLORREF clrBar = pPane->clrProgressBar == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_HIGHLIGHT)
                                                                                   : pPane->clrProgressBar;
        pManager->OnDrawStatusBarProgress(pDC, this, rectText, pPane->nProgressTotal, pPane->nProgressCurr, clrBar,
                                          pPane->clrProgressBarDest, pPane->clrProgressText, pPane->bProgressText);
        return;
    }
    if (pPane->lpszText == nullptr || pPane->cxText <= 0)
        return;
    COLORREF clrText = pPane->clrText == static_cast<COLORREF>(-1) ? globalData.clrBtnText : pPane->clrText;
    if (pPane->nStyle & SBPS_DISABLED)
        clrText = globalData.clrGrayedText;
    const COLORREF clrOld = pDC->SetTextColor(clrText);
    pDC->DrawText(CString(pPane->lpszText), &rectText, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->SetTextColor(clrOld);
}

// Messages ------------------------------------------------------------------------------

LRESULT CQMXPStatusBar::OnNcHitTest(CPoint point) {
    if (!m_bHideSizeBox && !m_rectSizeBox.IsRectEmpty()) {
        CRect rect;
        GetClientRect(&rect);
        rect.DeflateRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
        const int cx = std::min(m_cxSizeBox - 1, rect.Height());
        CRect rectGrip(rect.right - cx, rect.bottom - cx, rect.right, rect.bottom);
        ClientToScreen(&rectGrip);
        if (rectGrip.PtInRect(point))
            return HTBOTTOMRIGHT;
    }
    return static_cast<LRESULT>(Default());
}

void CQMXPStatusBar::OnSysCommand(UINT nID, LPARAM lParam) {
    if (!m_bHideSizeBox && (nID & 0xFFF0) == SC_SIZE) {
        CFrameWnd* pFrame = QMXFindOwnerFrame(this);
        if (pFrame != nullptr) {
            pFrame->SendMessage(WM_SYSCOMMAND, nID, lParam);
            return;
        }
    }
    Default();
}

LRESULT CQMXPStatusBar::OnSetFont(WPARAM wParam, LPARAM lParam) {
    m_hFont = reinterpret_cast<HFONT>(wParam);
    AdjustLayout();
    if (LOWORD(lParam) != 0)
        Invalidate();
    return 0;
}

LRESULT CQMXPStatusBar::OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(BarFont()); }

LRESULT CQMXPStatusBar::OnSetText(WPARAM, LPARAM lParam) {
    const int nIndex = CommandToIndex(0);
    if (nIndex < 0)
        return -1;
    return SetPaneText(nIndex, reinterpret_cast<LPCWSTR>(lParam), TRUE) ? 0 : -1;
}

LRESULT CQMXPStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
    const int nMax = static_cast<int>(wParam);
    auto* pszBuffer = reinterpret_cast<LPWSTR>(lParam);
    if (nMax <= 0 || pszBuffer == nullptr)
        return 0;
    const CString strText = GetPaneText(CommandToIndex(0));
    const int nCopy = std::min(strText.GetLength(), nMax - 1);
    std::wmemcpy(pszBuffer, strText.GetString(), static_cast<size_t>(nCopy));
    pszBuffer[nCopy] = L'\0';
    // The characters copied, as the window text's own message answers.
    return nCopy;
}

LRESULT CQMXPStatusBar::OnGetTextLength(WPARAM, LPARAM) { return GetPaneText(CommandToIndex(0)).GetLength(); }

void CQMXPStatusBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    const CQMXStatusBarPaneInfo* pPane = m_bPaneDoubleClick ? HitTest(point) : nullptr;
    if (pPane != nullptr) {
        CWnd* pOwner = GetOwner();
        if (pOwner == nullptr)
            pOwner = GetParent();
        if (pOwner != nullptr)
            pOwner->PostMessage(WM_COMMAND, pPane->nID, 0);
    }
    CQMXPControlBar::OnLButtonDblClk(nFlags, point);
}

void CQMXPStatusBar::OnTimer(UINT_PTR nIDEvent) {
    for (int i = 0; i < m_nCount; ++i) {
        CQMXStatusBarPaneInfo& pane = Panes()[i];
        if (pane.nID != nIDEvent || pane.nAnimFrames <= 0)
            continue;
        pane.nAnimCurrent = (pane.nAnimCurrent + 1) % pane.nAnimFrames;
        CRect rectIcon(pane.rect);
        rectIcon.right = rectIcon.left + pane.cxIcon + kPaneFrame;
        InvalidateRect(&rectIcon);
        UpdateWindow();
        // Open popup menus draw their shadows over the repainted icon again.
        ClientToScreen(&rectIcon);
        CQMXPPopupMenu::RepaintAllShadows(&rectIcon);
        return;
    }
    Default();
}

void CQMXPStatusBar::OnDestroy() {
    for (int i = 0; i < m_nCount; ++i) {
        CQMXStatusBarPaneInfo& pane = Panes()[i];
        if (pane.nAnimFrames > 0)
            KillTimer(pane.nID);
        if (pane.hImageList != nullptr)
            ::ImageList_Destroy(pane.hImageList);
        pane.hImageList = nullptr;
        pane.nAnimFrames = 0;
        pane.nAnimCurrent = 0;
    }
    FreePaneTexts();
    if (m_wndToolTip.GetSafeHwnd() != nullptr)
        m_wndToolTip.DestroyWindow();
    m_nTipHit = -1;
    CQMXPControlBar::OnDestroy();
}

void CQMXPStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CQMXStatusCmdUI state;
    state.m_pBar = this;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(m_nCount);
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = Panes()[state.m_nIndex].nID;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
    CQMXPControlBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
}

// A pane's text by index, as the common status bar gives it: the length in
// the low word; the buffer must hold it.
LRESULT CQMXPStatusBar::OnGetPaneText(WPARAM wParam, LPARAM lParam) {
    const int nIndex = static_cast<int>(wParam);
    if (nIndex < 0 || nIndex >= m_nCount)
        return 0;
    const CString strText = GetPaneText(nIndex);
    if (auto* pszBuffer = reinterpret_cast<LPWSTR>(lParam))
        std::wmemcpy(pszBuffer, strText.GetString(), static_cast<size_t>(strText.GetLength()) + 1);
    return strText.GetLength();
}

LRESULT CQMXPStatusBar::OnGetPaneTextLength(WPARAM wParam, LPARAM) {
    const int nIndex = static_cast<int>(wParam);
    return nIndex >= 0 && nIndex < m_nCount ? GetPaneText(nIndex).GetLength() : 0;
}

LRESULT CQMXPStatusBar::OnGetParts(WPARAM wParam, LPARAM lParam) {
    if (auto* edges = reinterpret_cast<int*>(lParam)) {
        for (int i = 0; i < m_nCount && i < static_cast<int>(wParam); ++i) {
            CRect rect;
            GetItemRect(i, &rect);
            edges[i] = rect.right;
        }
    }
    return m_nCount;
}
