#include "docking/toolbars/QMXPComboEdit.h"

#include "docking/toolbars/QMXPToolbarComboBoxButton.h"
#include "platform/classlib/ComboBox.h"
#include "platform/classlib/FrameWnd.h"

BEGIN_MESSAGE_MAP(CQMXPComboEdit, CQMXPHotEdit)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CQMXPComboEdit::CQMXPComboEdit(CQMXPToolbarComboBoxButton& combo) : m_combo(combo) {}

CQMXPComboEdit::~CQMXPComboEdit() = default;

BOOL CQMXPComboEdit::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && ::GetKeyState(VK_MENU) >= 0 && ::GetKeyState(VK_CONTROL) >= 0 &&
        ProcessKey(static_cast<UINT>(pMsg->wParam)))
        return TRUE;
    if (RouteEditingKey(m_hWnd, pMsg))
        return TRUE;
    return CQMXPHotEdit::PreTranslateMessage(pMsg);
}

BOOL CQMXPComboEdit::ProcessKey(UINT nChar) {
    CComboBox* pCombo = m_combo.GetComboBox();
    if (pCombo == nullptr || pCombo->GetSafeHwnd() == nullptr)
        return FALSE;
    const BOOL bDropped = pCombo->GetDroppedState();
    switch (nChar) {
    case VK_RETURN: {
        SetFocus();
        if (bDropped) {
            pCombo->SendMessage(WM_KEYDOWN, nChar, 0);
            return TRUE;
        }
        CString strText;
        GetWindowText(strText);
        m_combo.SetText(strText, FALSE);
        CWnd* pOwner = pCombo->GetOwner();
        if (pOwner != nullptr)
            pOwner->PostMessage(WM_COMMAND, m_combo.m_nID, reinterpret_cast<LPARAM>(pCombo->GetSafeHwnd()));
        return TRUE;
    }
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_UP:
    case VK_DOWN:
        if (bDropped) {
            pCombo->SendMessage(WM_KEYDOWN, nChar, 0);
            return TRUE;
        }
        if (nChar == VK_UP || nChar == VK_DOWN) {
            pCombo->ShowDropDown(TRUE);
            CRect rectCombo = m_combo.GetComboRect();
            if (pCombo->GetParent() != nullptr)
                pCombo->GetParent()->InvalidateRect(&rectCombo);
            return TRUE;
        }
        return FALSE;
    case VK_TAB: {
        CWnd* pNext = GetParent() != nullptr ? GetParent()->GetNextDlgTabItem(this) : nullptr;
        if (pNext != nullptr)
            pNext->SetFocus();
        return TRUE;
    }
    case VK_ESCAPE: {
        pCombo->ShowDropDown(FALSE);
        CFrameWnd* pFrame = GetTopLevelFrame();
        if (pFrame != nullptr)
            pFrame->SetFocus();
        return TRUE;
    }
    default:
        return FALSE;
    }
}

void CQMXPComboEdit::SetButtonHot(BOOL bHot) { m_combo.SetHotEdit(bHot); }

void CQMXPComboEdit::OnSetFocus(CWnd* pOldWnd) {
    CQMXPHotEdit::OnSetFocus(pOldWnd);
    m_combo.OnCommandNotify(CBN_SETFOCUS);
}

void CQMXPComboEdit::OnKillFocus(CWnd* pNewWnd) {
    CQMXPHotEdit::OnKillFocus(pNewWnd);
    m_combo.OnCommandNotify(CBN_KILLFOCUS);
}
