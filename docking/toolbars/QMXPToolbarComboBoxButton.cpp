#include "docking/toolbars/QMXPToolbarComboBoxButton.h"

#include "docking/toolbars/QMXPComboEdit.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/ComboBox.h"
#include "platform/classlib/DC.h"

#include <algorithm>

IMPLEMENT_SERIAL(CQMXPToolbarComboBoxButton, CQMXPToolbarButton, VERSIONABLE_SCHEMA | 1)

namespace {

constexpr DWORD kComboWindowStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL;
constexpr DWORD kDefaultComboStyle = kComboWindowStyle | CBS_NOINTEGRALHEIGHT | CBS_DROPDOWNLIST;
constexpr int kDefaultWidth = 150;
constexpr int kDefaultListHeight = 150;
constexpr int kDefaultEditHeight = 22;
constexpr int kMaxStoredText = 1024;

// The combo style's type: an editable combo box has a drop-down edit.
bool IsEditableStyle(DWORD dwStyle) { return (dwStyle & 0x3) == CBS_DROPDOWN; }

}  // namespace

CQMXPToolbarComboBoxButton::CQMXPToolbarComboBoxButton() {
    m_dwStyle = kDefaultComboStyle;
    m_iWidth = kDefaultWidth;
    Initialize();
}

CQMXPToolbarComboBoxButton::CQMXPToolbarComboBoxButton(UINT uiID, int iImage, DWORD dwStyle, int iWidth)
    : CQMXPToolbarButton(uiID, iImage) {
    m_dwStyle = dwStyle | kComboWindowStyle;
    m_iWidth = iWidth == 0 ? kDefaultWidth : iWidth;
    Initialize();
}

CQMXPToolbarComboBoxButton::CQMXPToolbarComboBoxButton(UINT uiID) : CQMXPToolbarComboBoxButton(uiID, -1) {}

CQMXPToolbarComboBoxButton::~CQMXPToolbarComboBoxButton() { DestroyWindows(); }

void CQMXPToolbarComboBoxButton::Initialize() {
    m_pWndCombo = nullptr;
    m_pWndEdit = nullptr;
    m_iSelIndex = -1;
    m_rectCombo.SetRectEmpty();
    m_rectButton.SetRectEmpty();
    m_nDropDownHeight = kDefaultListHeight;
    m_nEditHeight = kDefaultEditHeight;
    m_bIsHotEdit = FALSE;
}

void CQMXPToolbarComboBoxButton::DestroyWindows() {
    if (m_pWndEdit != nullptr) {
        m_pWndEdit->DestroyWindow();
        delete m_pWndEdit;
        m_pWndEdit = nullptr;
    }
    if (m_pWndCombo != nullptr) {
        m_pWndCombo->DestroyWindow();
        delete m_pWndCombo;
        m_pWndCombo = nullptr;
    }
}

template <class TAction>
void CQMXPToolbarComboBoxButton::ForEachOther(TAction action) {
    CObList listButtons;
    CQMXPToolBar::CollectButtonsByCommand(m_nID, listButtons);
    for (POSITION pos = listButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pOther = DYNAMIC_DOWNCAST(CQMXPToolbarComboBoxButton, listButtons.GetNext(pos));
        if (pOther != nullptr && pOther != this)
            action(*pOther);
    }
}

void CQMXPToolbarComboBoxButton::RefillFromWindow() {
    if (m_pWndCombo == nullptr || m_pWndCombo->GetSafeHwnd() == nullptr)
        return;
    m_lstItems.RemoveAll();
    OnClearItemData();
    m_lstItemData.RemoveAll();
    for (int i = 0; i < m_pWndCombo->GetCount(); ++i) {
        CString strItem;
        m_pWndCombo->GetLBText(i, strItem);
        m_lstItems.AddTail(strItem);
        m_lstItemData.AddTail(m_pWndCombo->GetItemData(i));
    }
    OnItemDataChanged();
}

void CQMXPToolbarComboBoxButton::FillWindow() {
    m_pWndCombo->ResetContent();
    POSITION posData = m_lstItemData.GetHeadPosition();
    for (POSITION pos = m_lstItems.GetHeadPosition(); pos != nullptr;) {
        const int iItem = m_pWndCombo->AddString(m_lstItems.GetNext(pos));
        const DWORD_PTR dwData = posData != nullptr ? m_lstItemData.GetNext(posData) : 0;
        if (iItem >= 0)
            m_pWndCombo->SetItemData(iItem, dwData);
    }
}

void CQMXPToolbarComboBoxButton::Serialize(CArchive& ar) {
    CQMXPToolbarButton::Serialize(ar);
    if (ar.IsStoring()) {
        RefillFromWindow();
        ar << m_iWidth << static_cast<DWORD>(m_dwStyle) << m_iSelIndex << m_strEdit << m_nDropDownHeight;
        m_lstItems.Serialize(ar);
        for (POSITION pos = m_lstItemData.GetHeadPosition(); pos != nullptr;)
            ar << static_cast<DWORD>(m_lstItemData.GetNext(pos));
        return;
    }
    int iSelIndex = -1;
    ar >> m_iWidth;
    m_rect.right = m_rect.left + m_iWidth;
    ar >> m_dwStyle >> iSelIndex >> m_strEdit >> m_nDropDownHeight;
    m_lstItems.RemoveAll();
    m_lstItems.Serialize(ar);
    OnClearItemData();
    m_lstItemData.RemoveAll();
    for (POSITION pos = m_lstItems.GetHeadPosition(); pos != nullptr;) {
        if (m_lstItems.GetNext(pos).GetLength() > kMaxStoredText || m_strEdit.GetLength() > kMaxStoredText)
            AfxThrowArchiveException(CArchiveException::genericException);
        DWORD dwData = 0;
        ar >> dwData;
        m_lstItemData.AddTail(dwData);
    }
    OnItemDataChanged();
    // A button on a bar shows the loaded items, and the selection is announced.
    m_iSelIndex = -1;
    if (m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr)
        FillWindow();
    SelectItem(iSelIndex, TRUE);
}

void CQMXPToolbarComboBoxButton::AssignFrom(const CQMXPToolbarButton& src) {
    CQMXPToolbarButton::AssignFrom(src);
    const auto* pSrc = DYNAMIC_DOWNCAST(CQMXPToolbarComboBoxButton, const_cast<CQMXPToolbarButton*>(&src));
    if (pSrc == nullptr)
        return;
    m_lstItems.RemoveAll();
    m_lstItems.AddTail(const_cast<CStringList*>(&pSrc->m_lstItems));
    OnClearItemData();
    m_lstItemData.RemoveAll();
    for (POSITION pos = pSrc->m_lstItemData.GetHeadPosition(); pos != nullptr;)
        m_lstItemData.AddTail(pSrc->m_lstItemData.GetNext(pos));
    OnItemDataChanged();
    m_dwStyle = pSrc->m_dwStyle;
    m_iWidth = pSrc->m_iWidth;
    m_iSelIndex = pSrc->m_iSelIndex;
    m_nDropDownHeight = pSrc->m_nDropDownHeight;
    m_nEditHeight = pSrc->m_nEditHeight;
}

SIZE CQMXPToolbarComboBoxButton::OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) {
    m_bHorz = bHorz;
    m_sizeText = CSize(0, 0);
    const BOOL bWindow = m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr;
    if (bWindow && (m_pWndCombo->GetStyle() & WS_VISIBLE))
        m_pWndCombo->ShowWindow(SW_HIDE);
    if (!bHorz) {
        // A plain button down a vertical bar: no window shows.
        if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr)
            m_pWndEdit->ShowWindow(SW_HIDE);
        return CQMXPToolbarButton::OnCalcSize(pDC, sizeDefault, bHorz);
    }
    if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr && m_bVisible && !m_bIsHidden &&
        !(m_pWndEdit->GetStyle() & WS_VISIBLE))
        m_pWndEdit->ShowWindow(SW_SHOWNOACTIVATE);
    int cyText = 0;
    if (m_bTextBelow && !m_strText.IsEmpty()) {
        CRect rectText(0, 0, m_iWidth, sizeDefault.cy);
        pDC->DrawText(m_strText, &rectText, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
        cyText = rectText.Height();
        m_sizeText = rectText.Size();
    }
    int cyCombo = sizeDefault.cy;
    if (bWindow) {
        CRect rectWindow;
        m_pWndCombo->GetWindowRect(&rectWindow);
        cyCombo = rectWindow.Height();
    }
    return CSize(m_iWidth, cyText + cyCombo);
}

void CQMXPToolbarComboBoxButton::AdjustRect() {
    // Down a vertical bar the button is a plain one.
    if (m_pWndCombo == nullptr || m_pWndCombo->GetSafeHwnd() == nullptr || m_rect.IsRectEmpty() || !m_bHorz) {
        m_rectCombo.SetRectEmpty();
        m_rectButton.SetRectEmpty();
        return;
    }
    m_pWndCombo->SetWindowPos(nullptr, m_rect.left + 1, m_rect.top, m_rect.Width() - 2, m_nDropDownHeight,
                              SWP_NOZORDER | SWP_NOACTIVATE);
    m_pWndCombo->SetEditSel(-1, 0);
    m_pWndCombo->GetWindowRect(&m_rectCombo);
    m_pWndCombo->GetParent()->ScreenToClient(&m_rectCombo);

    const CSize sizeGlyph = CQMXPMenuGlyphs::GetSize();
    m_rectButton = m_rectCombo;
    m_rectButton.left = m_rectButton.right - 2 * sizeGlyph.cx;
    m_rectButton.DeflateRect(2, 2);

    m_rect.left = m_rectCombo.left - 1;
    m_rect.right = m_rectCombo.right + 1;
    if (!m_bTextBelow || m_strText.IsEmpty()) {
        m_rect.top = m_rectCombo.top;
        m_rect.bottom = m_rectCombo.bottom;
    }
    if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr)
        m_pWndEdit->SetWindowPos(nullptr, m_rectCombo.left + 3, m_rect.top + 3,
                                 m_rect.Width() - m_rectButton.Width() - 8, m_rectCombo.Height() - 6,
                                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQMXPToolbarComboBoxButton::OnParentChanged(CWnd* pWndParent) {
    CQMXPToolbarButton::OnParentChanged(pWndParent);
    if (m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr) {
        if (pWndParent != nullptr && ::GetParent(m_pWndCombo->GetSafeHwnd()) == pWndParent->GetSafeHwnd())
            return;
        RefillFromWindow();
    }
    DestroyWindows();
    if (pWndParent == nullptr || pWndParent->GetSafeHwnd() == nullptr)
        return;

    CRect rect = m_rect;
    rect.DeflateRect(2, 0);
    rect.bottom = rect.top + m_nEditHeight;
    m_pWndCombo = CreateCombo(pWndParent, rect);
    if (m_pWndCombo == nullptr)
        return;
    const BOOL bEnable = !(m_nStyle & TBBS_DISABLED) || CQMXPToolBar::m_bCustomizeMode;
    m_pWndCombo->EnableWindow(bEnable);
    m_pWndCombo->RedrawWindow();

    if (IsEditableStyle(m_dwStyle)) {
        m_pWndEdit = new CQMXPComboEdit(*this);
        const DWORD dwEditStyle =
            WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_WANTRETURN | (m_dwStyle & WS_TABSTOP);
        if (m_pWndEdit->Create(dwEditStyle, rect, pWndParent, m_nID)) {
            m_pWndEdit->SetFont(&globalData.fontRegular);
            m_pWndEdit->SetOwner(m_pWndCombo->GetOwner());
            m_pWndEdit->EnableWindow(bEnable);
        } else {
            delete m_pWndEdit;
            m_pWndEdit = nullptr;
        }
    }
    AdjustRect();
    m_pWndCombo->SetFont(&globalData.fontRegular);

    if (m_pWndCombo->GetCount() == 0) {
        FillWindow();
        m_pWndCombo->SetCurSel(m_iSelIndex);
    } else {
        RefillFromWindow();
        m_iSelIndex = m_pWndCombo->GetCurSel();
    }
    if (m_iSelIndex >= 0 && m_iSelIndex < GetCount()) {
        m_strEdit = GetItem(m_iSelIndex);
        m_pWndCombo->SetWindowText(m_strEdit);
        if (m_pWndEdit != nullptr)
            m_pWndEdit->SetWindowText(m_strEdit);
    }
}

CComboBox* CQMXPToolbarComboBoxButton::CreateCombo(CWnd* pWndParent, const CRect& rect) {
    auto* pWndCombo = new CComboBox;
    if (!pWndCombo->Create(m_dwStyle, rect, pWndParent, m_nID)) {
        delete pWndCombo;
        return nullptr;
    }
    return pWndCombo;
}

BOOL CQMXPToolbarComboBoxButton::FillMenuItemText(CQMXPToolbarButton* pMenuItem) {
    if (pMenuItem != nullptr)
        pMenuItem->m_strText = GetCommandShortName(m_nID);
    return TRUE;
}

void CQMXPToolbarComboBoxButton::OnMove() {
    if (m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr)
        AdjustRect();
}

void CQMXPToolbarComboBoxButton::OnSize(int iSize) {
    m_iWidth = iSize;
    m_rect.right = m_rect.left + m_iWidth;
    AdjustRect();
}

HWND CQMXPToolbarComboBoxButton::GetHwnd() { return m_pWndCombo != nullptr ? m_pWndCombo->GetSafeHwnd() : nullptr; }

BOOL CQMXPToolbarComboBoxButton::OnClick(CWnd* pWnd, BOOL) {
    if (m_pWndCombo == nullptr || m_pWndCombo->GetSafeHwnd() == nullptr || !m_bHorz)
        return FALSE;
    if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr)
        m_pWndEdit->SetFocus();
    else
        m_pWndCombo->SetFocus();
    m_pWndCombo->ShowDropDown(TRUE);
    if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr)
        pWnd->InvalidateRect(&m_rectCombo);
    return TRUE;
}

BOOL CQMXPToolbarComboBoxButton::OnCommandNotify(UINT uiNotifyCode) {
    if (m_pWndCombo == nullptr || m_pWndCombo->GetSafeHwnd() == nullptr)
        return FALSE;
    CWnd* pWndBar = m_pWndCombo->GetParent();
    if (pWndBar != nullptr)
        pWndBar->InvalidateRect(&m_rectCombo);
    if (uiNotifyCode == 0)
        return TRUE;
    switch (uiNotifyCode) {
    case CBN_SELCHANGE: {
        const int iSel = m_pWndCombo->GetCurSel();
        if (m_pWndEdit != nullptr && iSel >= 0) {
            CString strItem;
            m_pWndCombo->GetLBText(iSel, strItem);
            m_pWndEdit->SetWindowText(strItem);
        }
        return TRUE;
    }
    case CBN_SETFOCUS:
        if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr)
            m_pWndEdit->SetFocus();
        return TRUE;
    case CBN_KILLFOCUS:
    case CBN_EDITUPDATE:
        return TRUE;
    case CBN_EDITCHANGE:
        // A list without an edit part has no typed text of its own.
        if (IsEditableStyle(m_dwStyle))
            m_pWndCombo->GetWindowText(m_strEdit);
        ForEachOther([this](CQMXPToolbarComboBoxButton& other) {
            other.m_strEdit = m_strEdit;
            if (other.m_pWndCombo != nullptr && other.m_pWndCombo->GetSafeHwnd() != nullptr)
                other.m_pWndCombo->SetWindowText(m_strEdit);
            if (other.m_pWndEdit != nullptr && other.m_pWndEdit->GetSafeHwnd() != nullptr)
                other.m_pWndEdit->SetWindowText(m_strEdit);
        });
        return TRUE;
    case CBN_SELENDOK: {
        m_iSelIndex = m_pWndCombo->GetCurSel();
        const LPCWSTR lpszItem = GetItem(m_iSelIndex);
        m_strEdit = lpszItem != nullptr ? lpszItem : L"";
        if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr)
            m_pWndEdit->SetWindowText(m_strEdit);
        const int iSel = m_iSelIndex;
        ForEachOther([iSel](CQMXPToolbarComboBoxButton& other) { other.SelectItem(iSel, FALSE); });
        if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr)
            m_pWndEdit->SetFocus();
        return TRUE;
    }
    default:
        return FALSE;
    }
}

void CQMXPToolbarComboBoxButton::OnAddToCustomizePage() {
    CQMXPToolbarComboBoxButton* pFirst = nullptr;
    ForEachOther([&pFirst](CQMXPToolbarComboBoxButton& other) {
        if (pFirst == nullptr)
            pFirst = &other;
    });
    if (pFirst != nullptr)
        AssignFrom(*pFirst);
}

HBRUSH CQMXPToolbarComboBoxButton::OnCtlColor(CDC* pDC, UINT) {
    pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    pDC->SetBkColor(::GetSysColor(COLOR_WINDOW));
    return ::GetSysColorBrush(COLOR_WINDOW);
}

void CQMXPToolbarComboBoxButton::OnShow(BOOL bShow) {
    if (m_pWndCombo == nullptr || m_pWndCombo->GetSafeHwnd() == nullptr)
        return;
    const BOOL bEdit = m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr;
    if (bShow && m_bHorz) {
        OnMove();
        m_pWndCombo->ShowWindow(SW_HIDE);
        if (bEdit)
            m_pWndEdit->ShowWindow(SW_SHOWNOACTIVATE);
    } else {
        m_pWndCombo->ShowWindow(SW_HIDE);
        if (bEdit)
            m_pWndEdit->ShowWindow(SW_HIDE);
    }
}

void CQMXPToolbarComboBoxButton::SetStyle(UINT nStyle) {
    CQMXPToolbarButton::SetStyle(nStyle);
    const BOOL bDisabled = (nStyle & TBBS_DISABLED) != 0;
    const BOOL bEnable = CQMXPToolBar::m_bCustomizeMode ? (IsPermitted() && !bDisabled) : !bDisabled;
    const UINT nRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
    for (CWnd* pWnd : {static_cast<CWnd*>(m_pWndCombo), static_cast<CWnd*>(m_pWndEdit)}) {
        if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr) {
            pWnd->EnableWindow(bEnable);
            pWnd->RedrawWindow(nullptr, nullptr, nRedraw);
        }
    }
}

void CQMXPToolbarComboBoxButton::EnableWindow(BOOL bEnable) {
    for (CWnd* pWnd : {static_cast<CWnd*>(m_pWndCombo), static_cast<CWnd*>(m_pWndEdit)}) {
        if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr)
            pWnd->EnableWindow(bEnable);
    }
}

BOOL CQMXPToolbarComboBoxButton::IsWindowVisible() {
    for (CWnd* pWnd : {static_cast<CWnd*>(m_pWndCombo), static_cast<CWnd*>(m_pWndEdit)}) {
        if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr && (pWnd->GetStyle() & WS_VISIBLE))
            return TRUE;
    }
    return FALSE;
}

BOOL CQMXPToolbarComboBoxButton::IsOwnerOf(HWND hwnd) {
    if (hwnd == nullptr)
        return FALSE;
    for (CWnd* pWnd : {static_cast<CWnd*>(m_pWndCombo), static_cast<CWnd*>(m_pWndEdit)}) {
        HWND hwndOwn = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
        if (hwndOwn != nullptr && (hwndOwn == hwnd || ::IsChild(hwndOwn, hwnd)))
            return TRUE;
    }
    return FALSE;
}

BOOL CQMXPToolbarComboBoxButton::HasFocus() const {
    if (m_pWndCombo == nullptr || m_pWndCombo->GetSafeHwnd() == nullptr)
        return FALSE;
    if (m_pWndCombo->GetDroppedState())
        return TRUE;
    HWND hwndFocus = ::GetFocus();
    if (hwndFocus == nullptr)
        return FALSE;
    HWND hwndCombo = m_pWndCombo->GetSafeHwnd();
    return hwndFocus == hwndCombo || ::IsChild(hwndCombo, hwndFocus) ||
           (m_pWndEdit != nullptr && hwndFocus == m_pWndEdit->GetSafeHwnd());
}

int CQMXPToolbarComboBoxButton::AddItem(LPCWSTR lpszItem, DWORD_PTR dwData) {
    m_lstItems.AddTail(lpszItem != nullptr ? lpszItem : L"");
    m_lstItemData.AddTail(dwData);
    if (m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr) {
        const int iItem = m_pWndCombo->AddString(lpszItem != nullptr ? lpszItem : L"");
        if (iItem >= 0)
            m_pWndCombo->SetItemData(iItem, dwData);
    }
    return GetCount() - 1;
}

void CQMXPToolbarComboBoxButton::RemoveAllItems() {
    m_lstItems.RemoveAll();
    OnClearItemData();
    m_lstItemData.RemoveAll();
    m_iSelIndex = -1;
    if (m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr)
        m_pWndCombo->ResetContent();
}

LPCWSTR CQMXPToolbarComboBoxButton::GetItem(int iIndex) const {
    if (iIndex == -1)
        iIndex = m_iSelIndex;
    if (iIndex < 0 || iIndex >= GetCount())
        return nullptr;
    return m_lstItems.GetAt(m_lstItems.FindIndex(iIndex));
}

DWORD_PTR CQMXPToolbarComboBoxButton::GetItemData(int iIndex) const {
    if (iIndex == -1)
        iIndex = m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr ? m_pWndCombo->GetCurSel()
                                                                                    : m_iSelIndex;
    if (iIndex < 0 || iIndex >= GetCount())
        return 0;
    if (m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr && iIndex < m_pWndCombo->GetCount())
        return m_pWndCombo->GetItemData(iIndex);
    return m_lstItemData.GetAt(m_lstItemData.FindIndex(iIndex));
}

BOOL CQMXPToolbarComboBoxButton::SelectItem(int iIndex, BOOL bNotify) {
    if (iIndex < -1 || iIndex >= GetCount())
        return FALSE;
    m_iSelIndex = iIndex;
    const LPCWSTR lpszItem = GetItem(iIndex);
    m_strEdit = lpszItem != nullptr ? lpszItem : L"";
    if (m_pWndCombo == nullptr || m_pWndCombo->GetSafeHwnd() == nullptr)
        return TRUE;
    if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr) {
        CString strShown;
        m_pWndEdit->GetWindowText(strShown);
        if (strShown != m_strEdit)
            m_pWndEdit->SetWindowText(m_strEdit);
    }
    if (m_pWndCombo->GetCurSel() != iIndex) {
        // -1 clears the selection, which the window answers with CB_ERR.
        if (m_pWndCombo->SetCurSel(iIndex) == CB_ERR && iIndex >= 0)
            return FALSE;
        if (bNotify)
            OnCommandNotify(CBN_SELENDOK);
    }
    return TRUE;
}

BOOL CQMXPToolbarComboBoxButton::SelectItem(LPCWSTR lpszText, BOOL bNotify) {
    int iIndex = 0;
    for (POSITION pos = m_lstItems.GetHeadPosition(); pos != nullptr; ++iIndex) {
        if (m_lstItems.GetNext(pos) == lpszText)
            return SelectItem(iIndex, bNotify);
    }
    return FALSE;
}

BOOL CQMXPToolbarComboBoxButton::SetText(LPCWSTR lpszText, BOOL bNotify) {
    if (lpszText == nullptr)
        lpszText = L"";
    if (SelectItem(lpszText, bNotify))
        return TRUE;
    // A typed text is no item: nothing stays selected.
    m_iSelIndex = -1;
    m_strEdit = lpszText;
    if (m_pWndCombo != nullptr && m_pWndCombo->GetSafeHwnd() != nullptr) {
        m_pWndCombo->SetCurSel(-1);
        m_pWndCombo->SetWindowText(m_strEdit);
        if (bNotify)
            OnCommandNotify(CBN_EDITCHANGE);
    }
    if (m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr)
        m_pWndEdit->SetWindowText(m_strEdit);
    return TRUE;
}

void CQMXPToolbarComboBoxButton::SetHotEdit(BOOL bHot) {
    if (m_bIsHotEdit == bHot)
        return;
    m_bIsHotEdit = bHot;
    CWnd* pWndBar = m_pWndCombo != nullptr ? m_pWndCombo->GetParent() : nullptr;
    if (pWndBar != nullptr) {
        pWndBar->InvalidateRect(&m_rectCombo);
        pWndBar->UpdateWindow();
    }
}

CQMXPToolbarComboBoxButton* CQMXPToolbarComboBoxButton::GetByCmd(UINT uiCmd, BOOL bIsFocus) {
    CObList listButtons;
    CQMXPToolBar::CollectButtonsByCommand(uiCmd, listButtons);
    for (POSITION pos = listButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pCombo = DYNAMIC_DOWNCAST(CQMXPToolbarComboBoxButton, listButtons.GetNext(pos));
        if (pCombo != nullptr && (!bIsFocus || pCombo->HasFocus()))
            return pCombo;
    }
    return nullptr;
}

int CQMXPToolbarComboBoxButton::GetCurSelForCommand(UINT uiCmd) {
    CQMXPToolbarComboBoxButton* pCombo = GetByCmd(uiCmd);
    return pCombo != nullptr ? pCombo->GetCurSel() : -1;
}

DWORD_PTR CQMXPToolbarComboBoxButton::GetItemDataForCommand(UINT uiCmd, int iIndex) {
    CQMXPToolbarComboBoxButton* pCombo = GetByCmd(uiCmd);
    return pCombo != nullptr ? pCombo->GetItemData(iIndex) : static_cast<DWORD_PTR>(-1);
}

BOOL CQMXPToolbarComboBoxButton::SetTextForCommand(UINT uiCmd, LPCWSTR lpszText, BOOL bNotify) {
    CQMXPToolbarComboBoxButton* pCombo = GetByCmd(uiCmd);
    return pCombo != nullptr && pCombo->SetText(lpszText, bNotify);
}

BOOL CQMXPToolbarComboBoxButton::GetTextForCommand(UINT uiCmd, CString& strText) {
    CQMXPToolbarComboBoxButton* pCombo = GetByCmd(uiCmd);
    if (pCombo == nullptr)
        return FALSE;
    strText = pCombo->m_strEdit;
    return TRUE;
}
