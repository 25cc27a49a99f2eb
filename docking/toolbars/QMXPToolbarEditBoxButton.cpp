#include "docking/toolbars/QMXPToolbarEditBoxButton.h"

#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/DC.h"

#include <algorithm>

IMPLEMENT_SERIAL(CQMXPToolbarEditBoxButton, CQMXPToolbarButton, VERSIONABLE_SCHEMA | 1)

namespace {
constexpr DWORD kEditWindowStyle = WS_CHILD | WS_VISIBLE;
constexpr int kDefaultWidth = 150;
// A command list shows at least this much of the edit's picture.
constexpr int kMinListEdit = 8;
}  // namespace

CQMXPToolbarEditBoxButton::CQMXPToolbarEditBoxButton()
    : m_dwStyle(kEditWindowStyle | ES_AUTOHSCROLL),
      m_pWndEdit(nullptr),
      m_bChangingText(FALSE),
      m_iWidth(kDefaultWidth),
      m_bHorzEdit(TRUE),
      m_bIsHotEdit(FALSE) {}

CQMXPToolbarEditBoxButton::CQMXPToolbarEditBoxButton(UINT uiID, int iImage, DWORD dwStyle, int iWidth)
    : CQMXPToolbarButton(uiID, iImage),
      m_dwStyle(dwStyle | kEditWindowStyle),
      m_pWndEdit(nullptr),
      m_bChangingText(FALSE),
      m_iWidth(iWidth == 0 ? kDefaultWidth : iWidth),
      m_bHorzEdit(TRUE),
      m_bIsHotEdit(FALSE) {}

CQMXPToolbarEditBoxButton::~CQMXPToolbarEditBoxButton() { DestroyEdit(); }

void CQMXPToolbarEditBoxButton::DestroyEdit() {
    if (m_pWndEdit == nullptr)
        return;
    m_pWndEdit->DestroyWindow();
    delete m_pWndEdit;
    m_pWndEdit = nullptr;
}

int CQMXPToolbarEditBoxButton::EditHeight() { return globalData.textHeight; }

BOOL CQMXPToolbarEditBoxButton::HasVisibleEdit() const {
    return m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr && (m_pWndEdit->GetStyle() & WS_VISIBLE);
}

void CQMXPToolbarEditBoxButton::Serialize(CArchive& ar) {
    CQMXPToolbarButton::Serialize(ar);
    if (ar.IsStoring()) {
        // The edit holds what was typed last; a button on no bar keeps its
        // contents (writing none would lose them).
        if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr)
            m_pWndEdit->GetWindowText(m_strContents);
        ar << m_iWidth << static_cast<DWORD>(m_dwStyle) << m_strContents;
        return;
    }
    CString strContents;
    ar >> m_iWidth >> m_dwStyle >> strContents;
    m_rect.right = m_rect.left + m_iWidth;
    m_strContents.Empty();
    SetContents(strContents);
}

void CQMXPToolbarEditBoxButton::AssignFrom(const CQMXPToolbarButton& src) {
    CQMXPToolbarButton::AssignFrom(src);
    const auto* pSrc = DYNAMIC_DOWNCAST(CQMXPToolbarEditBoxButton, const_cast<CQMXPToolbarButton*>(&src));
    if (pSrc == nullptr)
        return;
    m_dwStyle = pSrc->m_dwStyle;
    m_iWidth = pSrc->m_iWidth;
    m_strContents = pSrc->m_strContents;
}

SIZE CQMXPToolbarEditBoxButton::OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) {
    m_bHorzEdit = bHorz;
    const BOOL bWindow = m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr;
    if (!bHorz) {
        if (bWindow)
            m_pWndEdit->ShowWindow(SW_HIDE);
        m_sizeText = CSize(0, 0);
        return CQMXPToolbarButton::OnCalcSize(pDC, sizeDefault, bHorz);
    }
    if (bWindow && !m_bIsHidden)
        m_pWndEdit->ShowWindow(SW_SHOWNOACTIVATE);
    m_sizeText = CSize(0, 0);
    if (m_bTextBelow && !m_strText.IsEmpty()) {
        CRect rectText(0, 0, m_iWidth, sizeDefault.cy);
        pDC->DrawText(m_strText, &rectText, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
        m_sizeText = rectText.Size();
    }
    return CSize(m_iWidth, sizeDefault.cy + m_sizeText.cy);
}

BOOL CQMXPToolbarEditBoxButton::OnClick(CWnd*, BOOL) { return HasVisibleEdit(); }

void CQMXPToolbarEditBoxButton::OnParentChanged(CWnd* pWndParent) {
    CQMXPToolbarButton::OnParentChanged(pWndParent);
    if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr) {
        if (pWndParent != nullptr && ::GetParent(m_pWndEdit->GetSafeHwnd()) == pWndParent->GetSafeHwnd())
            return;
        m_pWndEdit->GetWindowText(m_strContents);
    }
    DestroyEdit();
    if (pWndParent == nullptr || pWndParent->GetSafeHwnd() == nullptr)
        return;

    CRect rect = m_rect;
    rect.DeflateRect(3, 1);
    rect.bottom = rect.top + EditHeight();
    m_pWndEdit = CreateEdit(pWndParent, rect);
    if (m_pWndEdit == nullptr)
        return;
    OnMove();
    m_pWndEdit->SetFont(&globalData.fontRegular);

    if (m_pWndEdit->GetWindowTextLength() == 0) {
        m_bChangingText = TRUE;
        m_pWndEdit->SetWindowText(m_strContents);
        m_bChangingText = FALSE;
    } else {
        m_pWndEdit->GetWindowText(m_strContents);
    }
}

CQMXPToolbarEditCtrl* CQMXPToolbarEditBoxButton::CreateEdit(CWnd* pWndParent, const CRect& rect) {
    auto* pWndEdit = new CQMXPToolbarEditCtrl(*this);
    if (!pWndEdit->Create(m_dwStyle, rect, pWndParent, m_nID)) {
        delete pWndEdit;
        return nullptr;
    }
    return pWndEdit;
}

void CQMXPToolbarEditBoxButton::OnMove() {
    if (!HasVisibleEdit())
        return;
    const int nEditHeight = EditHeight();
    const int nOffset = std::max(0, (m_rect.Height() - static_cast<int>(m_sizeText.cy) - nEditHeight) / 2);
    m_pWndEdit->SetWindowPos(nullptr, m_rect.left + 3, m_rect.top + nOffset, m_rect.Width() - 6, nEditHeight,
                             SWP_NOZORDER | SWP_NOACTIVATE);
    m_pWndEdit->SetSel(-1, 0);
}

void CQMXPToolbarEditBoxButton::OnSize(int iSize) {
    m_iWidth = iSize;
    m_rect.right = m_rect.left + m_iWidth;
    OnMove();
}

HWND CQMXPToolbarEditBoxButton::GetHwnd() { return m_pWndEdit != nullptr ? m_pWndEdit->GetSafeHwnd() : nullptr; }

BOOL CQMXPToolbarEditBoxButton::OnCommandNotify(UINT uiNotifyCode) {
    if (uiNotifyCode != EN_CHANGE || m_pWndEdit == nullptr || m_pWndEdit->GetSafeHwnd() == nullptr)
        return FALSE;
    m_pWndEdit->GetWindowText(m_strContents);
    CObList listButtons;
    CQMXPToolBar::CollectButtonsByCommand(m_nID, listButtons);
    for (POSITION pos = listButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pOther = DYNAMIC_DOWNCAST(CQMXPToolbarEditBoxButton, listButtons.GetNext(pos));
        if (pOther != nullptr && pOther != this)
            pOther->SetContents(m_strContents);
    }
    return !m_bChangingText;
}

void CQMXPToolbarEditBoxButton::OnAddToCustomizePage() {
    CObList listButtons;
    CQMXPToolBar::CollectButtonsByCommand(m_nID, listButtons);
    for (POSITION pos = listButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pOther = DYNAMIC_DOWNCAST(CQMXPToolbarEditBoxButton, listButtons.GetNext(pos));
        if (pOther != nullptr && pOther != this) {
            AssignFrom(*pOther);
            return;
        }
    }
}

HBRUSH CQMXPToolbarEditBoxButton::OnCtlColor(CDC* pDC, UINT) {
    pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    pDC->SetBkColor(::GetSysColor(COLOR_WINDOW));
    return ::GetSysColorBrush(COLOR_WINDOW);
}

BOOL CQMXPToolbarEditBoxButton::HasBorder() const { return !HasVisibleEdit(); }

void CQMXPToolbarEditBoxButton::OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz,
                                       BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder,
                                       BOOL bGrayDisabledButtons) {
    if (!HasVisibleEdit()) {
        CQMXPToolbarButton::OnDraw(pDC, rect, pImages, bHorz, bCustomizeMode, bHighlight, bDrawBorder,
                                   bGrayDisabledButtons);
        return;
    }
    const BOOL bDisabled = (bCustomizeMode && !IsPermitted()) || (m_nStyle & TBBS_DISABLED);
    CRect rectEdit;
    m_pWndEdit->GetWindowRect(&rectEdit);
    m_pWndEdit->GetParent()->ScreenToClient(&rectEdit);
    rectEdit.InflateRect(1, 1);
    const BOOL bHighlighted = globalData.bIsOfficeStyleLook ? m_bIsHotEdit : TRUE;
    CQMXPVisualManager::GetInstance()->OnDrawEditBorder(pDC, rectEdit, bDisabled, bHighlighted, this);

    if (m_bTextBelow && bHorz && !m_strText.IsEmpty()) {
        COLORREF clrText = globalData.clrBtnText;
        if (bDisabled)
            clrText = globalData.clrGrayedText;
        else if (bHighlight)
            clrText = CQMXPToolBar::GetHotTextColor();
        const COLORREF clrOld = pDC->SetTextColor(clrText);
        CRect rectText(rect.left, rectEdit.bottom, rect.right, rect.bottom);
        pDC->DrawText(m_strText, &rectText, DT_CENTER | DT_WORDBREAK);
        pDC->SetTextColor(clrOld);
    }
}

int CQMXPToolbarEditBoxButton::OnDrawInList(CDC* pDC, CRect rect, CQMXPToolBarImages* pImages, BOOL bSelected,
                                            BOOL bDrawImage) {
    const int nTextWidth = CQMXPToolbarButton::OnDrawInList(pDC, rect, pImages, bSelected, bDrawImage);
    CRect rectEdit = rect;
    rectEdit.left = std::min<int>(rect.left + nTextWidth, rect.right - kMinListEdit);
    rectEdit.DeflateRect(2, 3);
    pDC->FillSolidRect(&rectEdit, ::GetSysColor(COLOR_WINDOW));
    pDC->DrawEdge(&rectEdit, EDGE_SUNKEN, BF_RECT);
    return rect.Width();
}

void CQMXPToolbarEditBoxButton::OnShow(BOOL bShow) {
    if (m_pWndEdit == nullptr || m_pWndEdit->GetSafeHwnd() == nullptr)
        return;
    if (bShow) {
        m_pWndEdit->ShowWindow(SW_SHOWNOACTIVATE);
        OnMove();
    } else {
        m_pWndEdit->ShowWindow(SW_HIDE);
    }
}

CRect CQMXPToolbarEditBoxButton::GetRect() const {
    if (!m_bTextBelow || !m_bHorzEdit || m_strText.IsEmpty())
        return m_rect;
    // As wide as the text below, centred on the button, over its whole height.
    CRect rect = m_rect;
    const int nCentre = rect.CenterPoint().x;
    rect.left = nCentre - m_sizeText.cx / 2;
    rect.right = rect.left + m_sizeText.cx;
    return rect;
}

void CQMXPToolbarEditBoxButton::SetStyle(UINT nStyle) {
    CQMXPToolbarButton::SetStyle(nStyle);
    if (m_pWndEdit == nullptr || m_pWndEdit->GetSafeHwnd() == nullptr)
        return;
    const BOOL bDisabled = (nStyle & TBBS_DISABLED) != 0;
    m_pWndEdit->EnableWindow(CQMXPToolBar::m_bCustomizeMode ? (IsPermitted() && !bDisabled) : !bDisabled);
}

BOOL CQMXPToolbarEditBoxButton::IsOwnerOf(HWND hwnd) {
    return hwnd != nullptr && m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() == hwnd;
}

void CQMXPToolbarEditBoxButton::SetContents(const CString& strContents) {
    if (strContents == m_strContents)
        return;
    m_strContents = strContents;
    if (m_pWndEdit == nullptr || m_pWndEdit->GetSafeHwnd() == nullptr)
        return;
    m_bChangingText = TRUE;
    m_pWndEdit->SetWindowText(m_strContents);
    m_bChangingText = FALSE;
}

void CQMXPToolbarEditBoxButton::SetHotEdit(BOOL bHot) {
    if (m_bIsHotEdit == bHot)
        return;
    m_bIsHotEdit = bHot;
    CWnd* pBar = m_pWndEdit != nullptr ? m_pWndEdit->GetParent() : nullptr;
    if (pBar != nullptr) {
        pBar->InvalidateRect(&m_rect);
        pBar->UpdateWindow();
    }
}
