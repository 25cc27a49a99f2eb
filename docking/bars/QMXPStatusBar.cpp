#include "docking/bars/QMXPStatusBar.h"

#include "platform/classlib/DC.h"
#include "platform/classlib/StringResource.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CQMXPStatusBar, CControlBar)

namespace {
constexpr int kPaneGap = 2;
constexpr int kPaneBorder = 4;  // the sunken edge and the text's inset, both sides together

// The bar's text font.
HFONT BarFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }
}  // namespace

BEGIN_MESSAGE_MAP(CQMXPStatusBar, CControlBar)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_GETTEXT, OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

CQMXPStatusBar::CQMXPStatusBar() = default;

CQMXPStatusBar::~CQMXPStatusBar() = default;

BOOL CQMXPStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_dwStyle = dwStyle & 0xFFFF;
    return CWnd::Create(nullptr, nullptr, (dwStyle & 0xFFFF0000) | WS_CHILD, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CQMXPStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    m_panes.assign(static_cast<size_t>(std::max(nIDCount, 0)), Pane());
    BOOL bResult = TRUE;
    if (lpIDArray != nullptr) {
        HDC hdcScreen = ::GetDC(nullptr);
        HGDIOBJ hOldFont = ::SelectObject(hdcScreen, BarFont());
        bool bStretchGiven = false;
        for (int i = 0; i < nIDCount; ++i) {
            Pane& pane = m_panes[static_cast<size_t>(i)];
            pane.nID = lpIDArray[i];
            if (pane.nID != 0) {
                if (!AfxLoadStringResource(pane.nID, pane.text)) {
                    bResult = FALSE;
                    continue;
                }
                SIZE size = {};
                ::GetTextExtentPoint32W(hdcScreen, pane.text, pane.text.GetLength(), &size);
                pane.cxText = size.cx;
            } else {
                pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
                if (i == 0 && !bStretchGiven) {
                    pane.nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
                    bStretchGiven = true;
                }
            }
        }
        ::SelectObject(hdcScreen, hOldFont);
        ::ReleaseDC(nullptr, hdcScreen);
    }
    AdjustLayout();
    return bResult;
}

void CQMXPStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    if (!IsValidIndex(nIndex))
        return;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxText = std::max(cxWidth, 0);
    AdjustLayout();
}

void CQMXPStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    if (!IsValidIndex(nIndex)) {
        nID = nStyle = 0;
        cxWidth = 0;
        return;
    }
    const Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxText;
}

UINT CQMXPStatusBar::GetItemID(int nIndex) const {
    return IsValidIndex(nIndex) ? m_panes[static_cast<size_t>(nIndex)].nID : 0;
}

void CQMXPStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    if (lpRect == nullptr)
        return;
    if (IsValidIndex(nIndex))
        *lpRect = m_panes[static_cast<size_t>(nIndex)].rect;
    else
        ::SetRectEmpty(lpRect);
}

int CQMXPStatusBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_panes[static_cast<size_t>(i)].nID == nIDFind)
            return i;
    }
    return -1;
}

BOOL CQMXPStatusBar::SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate) {
    if (!IsValidIndex(nIndex))
        return FALSE;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    CString strNew(lpszNewText != nullptr ? lpszNewText : L"");
    if (pane.text == strNew)
        return TRUE;
    pane.text = strNew;
    if (bUpdate && m_hWnd != nullptr) {
        CRect rect = pane.rect;
        InvalidateRect(&rect);
        UpdateWindow();
    }
    return TRUE;
}

CString CQMXPStatusBar::GetPaneText(int nIndex) const {
    return IsValidIndex(nIndex) ? m_panes[static_cast<size_t>(nIndex)].text : CString();
}

CSize CQMXPStatusBar::CalcFixedLayout(BOOL, BOOL) {
    HDC hdcScreen = ::GetDC(nullptr);
    HGDIOBJ hOldFont = ::SelectObject(hdcScreen, BarFont());
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(hdcScreen, &tm);
    ::SelectObject(hdcScreen, hOldFont);
    ::ReleaseDC(nullptr, hdcScreen);
    return CSize(32767, tm.tmHeight + 2 + kPaneBorder);
}

void CQMXPStatusBar::AdjustLayout() {
    if (m_hWnd == nullptr)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    int cxFree = rectClient.Width();
    for (const Pane& pane : m_panes)
        cxFree -= pane.cxText + kPaneBorder + kPaneGap;
    bool bStretched = false;
    int x = rectClient.left;
    for (Pane& pane : m_panes) {
        int cx = pane.cxText + kPaneBorder;
        if ((pane.nStyle & SBPS_STRETCH) && !bStretched && cxFree > 0) {
            cx += cxFree;
            bStretched = true;
        }
        pane.rect.SetRect(x, rectClient.top, std::min<LONG>(x + cx, rectClient.right), rectClient.bottom);
        if (pane.rect.left >= rectClient.right)
            pane.rect.SetRectEmpty();
        x += cx + kPaneGap;
    }
    Invalidate();
}

void CQMXPStatusBar::DrawPane(CDC* pDC, int nIndex) {
    const Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    CRect rect = pane.rect;
    if (rect.IsRectEmpty())
        return;
    if (!(pane.nStyle & SBPS_NOBORDERS))
        pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
    rect.DeflateRect(2, 1);
    pDC->SetTextColor(::GetSysColor((pane.nStyle & SBPS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    pDC->DrawText(pane.text, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void CQMXPStatusBar::OnPaint() {
    CPaintDC dc(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    dc.FillSolidRect(&rectClient, ::GetSysColor(COLOR_BTNFACE));
    HGDIOBJ hOldFont = ::SelectObject(dc.m_hDC, BarFont());
    dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < GetCount(); ++i)
        DrawPane(&dc, i);
    ::SelectObject(dc.m_hDC, hOldFont);
}

void CQMXPStatusBar::OnSize(UINT nType, int cx, int cy) {
    CControlBar::OnSize(nType, cx, cy);
    AdjustLayout();
}

void CQMXPStatusBar::OnLButtonDblClk(UINT, CPoint point) {
    for (const Pane& pane : m_panes) {
        if (pane.rect.PtInRect(point)) {
            CWnd* pOwner = GetOwner();
            if (pane.nID != 0 && !(pane.nStyle & SBPS_DISABLED) && pOwner != nullptr)
                pOwner->PostMessage(WM_COMMAND, pane.nID, 0);
            return;
        }
    }
}

LRESULT CQMXPStatusBar::OnSetText(WPARAM, LPARAM lParam) {
    // The message pane holds the window text; the window keeps none of its own.
    int nIndex = CommandToIndex(0);
    if (nIndex < 0)
        return FALSE;
    return SetPaneText(nIndex, reinterpret_cast<LPCWSTR>(lParam));
}

LRESULT CQMXPStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
    CString strText = GetPaneText(CommandToIndex(0));
    auto* pszBuffer = reinterpret_cast<LPWSTR>(lParam);
    int nMax = static_cast<int>(wParam);
    if (pszBuffer == nullptr || nMax <= 0)
        return 0;
    int nCopy = std::min(strText.GetLength(), nMax - 1);
    ::CopyMemory(pszBuffer, strText.GetString(), static_cast<size_t>(nCopy) * sizeof(wchar_t));
    pszBuffer[nCopy] = L'\0';
    return nCopy;
}

LRESULT CQMXPStatusBar::OnGetTextLength(WPARAM, LPARAM) { return GetPaneText(CommandToIndex(0)).GetLength(); }
