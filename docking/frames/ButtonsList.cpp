#include "docking/frames/ButtonsList.h"

#include "docking/frames/QMXPToolbarDropSource.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBarImages.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/OleDataSource.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CButtonsList, CButton)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_GETDLGCODE()
    ON_WM_KEYDOWN()
    ON_WM_VSCROLL()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

namespace {

constexpr int kMarginX = 4;
constexpr int kMarginY = 5;
constexpr UINT kScrollBarID = 1;

}  // namespace

CButtonsList::CButtonsList()
    : m_pImages(nullptr),
      m_sizeButton(0, 0),
      m_bInited(FALSE),
      m_bIsFocused(FALSE),
      m_pSelButton(nullptr),
      m_iScrollOffset(0),
      m_iScrollTotal(0),
      m_iScrollPage(0),
      m_bEnableDragFromList(FALSE) {}

CButtonsList::~CButtonsList() = default;

void CButtonsList::SetImages(CQMXPToolBarImages* pImages) {
    m_pImages = pImages;
    if (pImages != nullptr)
        m_sizeButton = CSize(pImages->GetImageSize().cx + 6, pImages->GetImageSize().cy + 7);
    RemoveButtons();
}

void CButtonsList::AddButton(CQMXPToolbarButton* pButton) {
    m_Buttons.AddTail(pButton);
    pButton->OnParentChanged(this);
    if (HWND hControl = pButton->GetHwnd())
        ::EnableWindow(hControl, FALSE);
    RebuildLocations();
}

void CButtonsList::RemoveButtons() {
    SelectButton(static_cast<CQMXPToolbarButton*>(nullptr));
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos))->OnParentChanged(nullptr);
    m_Buttons.RemoveAll();
    m_iScrollOffset = 0;
    m_iScrollTotal = 0;
    if (m_wndScrollBar.GetSafeHwnd() != nullptr)
        m_wndScrollBar.ShowWindow(SW_HIDE);
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

CQMXPToolbarButton* CButtonsList::ButtonAt(int iIndex) const {
    POSITION pos = iIndex >= 0 ? m_Buttons.FindIndex(iIndex) : nullptr;
    return pos != nullptr ? static_cast<CQMXPToolbarButton*>(m_Buttons.GetAt(pos)) : nullptr;
}

int CButtonsList::SelectedIndex() const {
    int i = 0;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr; ++i) {
        if (m_Buttons.GetNext(pos) == m_pSelButton)
            return i;
    }
    return -1;
}

void CButtonsList::SelectButton(CQMXPToolbarButton* pButton) {
    if (m_pSelButton == pButton)
        return;
    m_pSelButton = pButton;
    if (pButton != nullptr)
        EnsureVisible(pButton);
    if (GetSafeHwnd() == nullptr)
        return;
    Invalidate();
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
}

BOOL CButtonsList::SelectButton(int iImage) {
    if (iImage < 0) {
        SelectButton(static_cast<CQMXPToolbarButton*>(nullptr));
        return TRUE;
    }
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        const int iButtonImage = pButton->m_bUserButton ? pButton->m_iUserImage : pButton->m_iImage;
        if (iButtonImage == iImage) {
            SelectButton(pButton);
            return TRUE;
        }
    }
    return FALSE;
}

void CButtonsList::RebuildLocations() {
    if (GetSafeHwnd() == nullptr || m_sizeButton.cx <= 0)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    const int cxScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    CRect rectButtons = rectClient;
    rectButtons.right -= cxScroll;
    rectButtons.DeflateRect(kMarginX, kMarginY);
    int x = rectButtons.left;
    int y = rectButtons.top - m_iScrollOffset;
    int nRows = m_Buttons.IsEmpty() ? 0 : 1;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        const int cx = std::min(static_cast<int>(m_sizeButton.cx), rectButtons.Width());
        if (x + cx > rectButtons.right && x > rectButtons.left) {
            x = rectButtons.left;
            y += m_sizeButton.cy + kMarginY;
            ++nRows;
        }
        pButton->SetRect(CRect(x, y, x + cx, y + m_sizeButton.cy));
        x += cx + kMarginX;
    }
    const int nRowHeight = m_sizeButton.cy + kMarginY;
    m_iScrollPage = std::max(1, rectButtons.Height() / nRowHeight);
    if (nRows > m_iScrollPage) {
        m_iScrollTotal = nRowHeight * (nRows - m_iScrollPage);
        if (m_wndScrollBar.GetSafeHwnd() == nullptr)
            m_wndScrollBar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT,
                                  CRect(rectClient.right - cxScroll, rectClient.top, rectClient.right, rectClient.bottom),
                                  this, kScrollBarID);
        m_wndScrollBar.ShowWindow(SW_SHOW);
        m_wndScrollBar.SetScrollRange(0, m_iScrollTotal);
        m_wndScrollBar.SetScrollPos(m_iScrollOffset);
    } else {
        m_iScrollTotal = 0;
        if (m_wndScrollBar.GetSafeHwnd() != nullptr)
            m_wndScrollBar.ShowWindow(SW_HIDE);
    }
    m_bInited = TRUE;
}

void CButtonsList::EnsureVisible(CQMXPToolbarButton* pButton) {
    if (GetSafeHwnd() == nullptr || m_iScrollTotal == 0)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    const CRect rectButton = pButton->GetRect();
    const int nRowHeight = m_sizeButton.cy + kMarginY;
    int iOffset = m_iScrollOffset;
    if (rectButton.top < rectClient.top + kMarginY)
        iOffset -= ((rectClient.top + kMarginY - rectButton.top) + nRowHeight - 1) / nRowHeight * nRowHeight;
    else if (rectButton.bottom > rectClient.bottom - kMarginY)
        iOffset += ((rectButton.bottom - rectClient.bottom + kMarginY) + nRowHeight - 1) / nRowHeight * nRowHeight;
    iOffset = std::min(std::max(iOffset, 0), m_iScrollTotal);
    if (iOffset != m_iScrollOffset) {
        m_iScrollOffset = iOffset;
        RebuildLocations();
        Invalidate();
    }
}

CQMXPToolbarButton* CButtonsList::HitTest(CPoint point) const {
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        if (pButton->GetRect().PtInRect(point))
            return pButton;
    }
    return nullptr;
}

void CButtonsList::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rectClient = lpDIS->rcItem;
    if (!m_bInited)
        RebuildLocations();
    pDC->FillRect(&rectClient, &globalData.brBtnFace);
    pDC->Draw3dRect(&rectClient, globalData.clrBtnShadow, globalData.clrBtnHilite);
    rectClient.DeflateRect(1, 1);
    if (m_pImages == nullptr)
        return;
    CRgn rgnClip;
    rgnClip.CreateRectRgnIndirect(&rectClient);
    pDC->SelectClipRgn(&rgnClip);
    CQMXPDrawState ds;
    const BOOL bPrepared = m_pImages->BeginDraw(ds);
    const BOOL bEnabled = IsWindowEnabled();
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        const CRect rect = pButton->GetRect();
        if (rect.bottom < rectClient.top || rect.top > rectClient.bottom)
            continue;
        const UINT nStyleSaved = pButton->m_nStyle;
        if (!bEnabled)
            pButton->m_nStyle |= TBBS_DISABLED;
        pButton->OnDraw(pDC, rect, bPrepared ? m_pImages : nullptr, TRUE, FALSE, FALSE, TRUE, TRUE);
        pButton->m_nStyle = nStyleSaved;
        if (pButton == m_pSelButton && bEnabled) {
            if (m_bIsFocused) {
                pDC->Draw3dRect(&rect, globalData.clrBtnShadow, globalData.clrBtnHilite);
            } else {
                CRect rectFocus = rect;
                pDC->DrawFocusRect(&rectFocus);
                rectFocus.DeflateRect(1, 1);
                pDC->DrawFocusRect(&rectFocus);
            }
        }
    }
    if (bPrepared)
        m_pImages->FinishDraw(ds);
    pDC->SelectClipRgn(nullptr);
}

BOOL CButtonsList::OnEraseBkgnd(CDC*) { return TRUE; }

void CButtonsList::OnLButtonDown(UINT, CPoint point) {
    SetFocus();
    CQMXPToolbarButton* pButton = HitTest(point);
    if (pButton == nullptr)
        return;
    SelectButton(pButton);
    if (!m_bEnableDragFromList)
        return;
    // The chosen button leaves the list as a tool-bar button a bar can take.
    auto* pSource = new COleDataSource;
    if (pButton->PutOnClipboard(pSource))
        pSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, nullptr, &g_QMXPToolbarDropSource);
    pSource->InternalRelease();
}

UINT CButtonsList::OnGetDlgCode() { return DLGC_WANTARROWS; }

void CButtonsList::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    const int nCount = GetCount();
    const int iSelected = SelectedIndex();
    int iNew = -2;
    switch (nChar) {
    case VK_HOME:
        iNew = 0;
        break;
    case VK_END:
        iNew = nCount - 1;
        break;
    case VK_LEFT:
    case VK_UP:
        iNew = iSelected < 0 ? 0 : std::max(0, iSelected - 1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        iNew = iSelected < 0 ? 0 : std::min(nCount - 1, iSelected + 1);
        break;
    default:
        break;
    }
    if (iNew >= 0 && nCount > 0) {
        SelectButton(ButtonAt(iNew));
        return;
    }
    CButton::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CButtonsList::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
    const int nRowHeight = m_sizeButton.cy + kMarginY;
    int iOffset = m_iScrollOffset;
    switch (nSBCode) {
    case SB_LINEUP:
        iOffset -= nRowHeight;
        break;
    case SB_LINEDOWN:
        iOffset += nRowHeight;
        break;
    case SB_PAGEUP:
        iOffset -= nRowHeight * m_iScrollPage;
        break;
    case SB_PAGEDOWN:
        iOffset += nRowHeight * m_iScrollPage;
        break;
    case SB_THUMBPOSITION:
        iOffset = (static_cast<int>(nPos) + nRowHeight / 2) / nRowHeight * nRowHeight;
        break;
    case SB_TOP:
        iOffset = 0;
        break;
    case SB_BOTTOM:
        iOffset = m_iScrollTotal;
        break;
    default:
        // The thumb moves the grid only when it is released.
        return;
    }
    iOffset = std::min(std::max(iOffset, 0), m_iScrollTotal);
    if (iOffset == m_iScrollOffset)
        return;
    m_iScrollOffset = iOffset;
    RebuildLocations();
    Invalidate();
}

void CButtonsList::OnSetFocus(CWnd* pOldWnd) {
    CButton::OnSetFocus(pOldWnd);
    m_bIsFocused = TRUE;
    if (m_pSelButton == nullptr && !m_Buttons.IsEmpty())
        SelectButton(ButtonAt(0));
    Invalidate();
}

void CButtonsList::OnKillFocus(CWnd* pNewWnd) {
    CButton::OnKillFocus(pNewWnd);
    m_bIsFocused = FALSE;
    Invalidate();
}
