#include "platform/classlib/CheckListBox.h"

#include "platform/classlib/DC.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

BEGIN_MESSAGE_MAP(CCheckListBox, CListBox)
    ON_MESSAGE(LB_ADDSTRING, OnAddString)
    ON_MESSAGE(LB_INSERTSTRING, OnInsertString)
    ON_MESSAGE(LB_DELETESTRING, OnDeleteString)
    ON_MESSAGE(LB_RESETCONTENT, OnResetContent)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

int CCheckListBox::GetCheck(int nIndex) const {
    return nIndex >= 0 && nIndex < static_cast<int>(m_checks.size()) ? m_checks[static_cast<size_t>(nIndex)] : 0;
}

void CCheckListBox::SetCheck(int nIndex, int nCheck) {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_checks.size()))
        return;
    m_checks[static_cast<size_t>(nIndex)] = nCheck;
    CRect rect;
    if (GetItemRect(nIndex, &rect) != LB_ERR)
        InvalidateRect(&rect);
}

void CCheckListBox::OnItemInserted(int nIndex) {
    m_checks.insert(m_checks.begin() + nIndex, 0);
}

void CCheckListBox::OnItemDeleted(int nIndex) { m_checks.erase(m_checks.begin() + nIndex); }

void CCheckListBox::OnItemsReset() { m_checks.clear(); }

LRESULT CCheckListBox::OnAddString(WPARAM, LPARAM) {
    const LRESULT lIndex = Default();
    if (lIndex >= 0 && lIndex <= static_cast<LRESULT>(m_checks.size()))
        OnItemInserted(static_cast<int>(lIndex));
    return lIndex;
}

LRESULT CCheckListBox::OnInsertString(WPARAM, LPARAM) { return OnAddString(0, 0); }

LRESULT CCheckListBox::OnDeleteString(WPARAM wParam, LPARAM) {
    const LRESULT lResult = Default();
    const auto nIndex = static_cast<int>(wParam);
    if (lResult != LB_ERR && nIndex >= 0 && nIndex < static_cast<int>(m_checks.size()))
        OnItemDeleted(nIndex);
    return lResult;
}

LRESULT CCheckListBox::OnResetContent(WPARAM, LPARAM) {
    const LRESULT lResult = Default();
    OnItemsReset();
    return lResult;
}

CRect CCheckListBox::CheckBoxRect(const CRect& rectItem) const {
    const int nSize = std::max(static_cast<int>(rectItem.Height()) - 2, 1);
    const int nTop = rectItem.top + (rectItem.Height() - nSize) / 2;
    return CRect(rectItem.left + 1, nTop, rectItem.left + 1 + nSize, nTop + nSize);
}

int CCheckListBox::CheckFromPoint(CPoint point) const {
    BOOL bOutside = FALSE;
    const int nIndex = static_cast<int>(ItemFromPoint(point, bOutside));
    if (bOutside || nIndex < 0 || nIndex >= GetCount())
        return -1;
    CRect rectItem;
    GetItemRect(nIndex, &rectItem);
    CRect rectCheck = CheckBoxRect(rectItem);
    // The whole height of the row in front of the text counts.
    rectCheck.top = rectItem.top;
    rectCheck.bottom = rectItem.bottom;
    return rectCheck.PtInRect(point) ? nIndex : -1;
}

BOOL CCheckListBox::ToggleCheck(int nIndex) {
    if (!IsCheckEnabled(nIndex)) {
        ::MessageBeep(static_cast<UINT>(-1));
        return FALSE;
    }
    SetCheck(nIndex, GetCheck(nIndex) == 0 ? 1 : 0);
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE),
                             reinterpret_cast<LPARAM>(m_hWnd));
    return TRUE;
}

void CCheckListBox::OnLButtonDown(UINT, CPoint point) {
    const int nIndex = CheckFromPoint(point);
    if (nIndex >= 0 && !ToggleCheck(nIndex))
        return;
    Default();
}

void CCheckListBox::OnLButtonDblClk(UINT, CPoint point) {
    const int nIndex = CheckFromPoint(point);
    if (nIndex >= 0 && !ToggleCheck(nIndex))
        return;
    Default();
}

void CCheckListBox::OnKeyDown(UINT nChar, UINT, UINT) {
    if (nChar == VK_SPACE) {
        const int nIndex = GetCaretIndex();
        if (nIndex >= 0 && nIndex < GetCount())
            ToggleCheck(nIndex);
        return;
    }
    Default();
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    if (lpDIS->itemID == static_cast<UINT>(-1))
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const CRect rectItem(lpDIS->rcItem);
    const auto nIndex = static_cast<int>(lpDIS->itemID);
    const BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    const BOOL bEnabled = IsCheckEnabled(nIndex) && IsWindowEnabled();
    const CRect rectCheck = CheckBoxRect(rectItem);
    CRect rectText = rectItem;
    rectText.left = rectCheck.right + 3;
    pDC->FillSolidRect(&rectItem, ::GetSysColor(COLOR_WINDOW));
    if (bSelected)
        pDC->FillSolidRect(&rectText, ::GetSysColor(COLOR_HIGHLIGHT));
    RECT rcCheck = rectCheck;
    ::DrawFrameControl(lpDIS->hDC, &rcCheck, DFC_BUTTON,
                       DFCS_BUTTONCHECK | DFCS_FLAT | (GetCheck(nIndex) ? DFCS_CHECKED : 0) |
                           (bEnabled ? 0 : DFCS_INACTIVE));
    CString strText;
    GetText(nIndex, strText);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(::GetSysColor(!bEnabled ? COLOR_GRAYTEXT : bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    pDC->DrawText(strText, &rectText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    if (lpDIS->itemState & ODS_FOCUS)
        pDC->DrawFocusRect(&rectText);
}
