#include "docking/toolbars/QMXPToolbarEditCtrl.h"

#include "docking/toolbars/QMXPToolbarEditBoxButton.h"
#include "platform/classlib/FrameWnd.h"

CQMXPToolbarEditCtrl::CQMXPToolbarEditCtrl(CQMXPToolbarEditBoxButton& edit) : m_buttonEdit(edit) {}

BOOL CQMXPToolbarEditCtrl::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message != WM_KEYDOWN)
        return CQMXPHotEdit::PreTranslateMessage(pMsg);
    switch (pMsg->wParam) {
    case VK_TAB: {
        CWnd* pNext = GetParent() != nullptr ? GetParent()->GetNextDlgTabItem(this) : nullptr;
        if (pNext != nullptr)
            pNext->SetFocus();
        return TRUE;
    }
    case VK_ESCAPE: {
        CFrameWnd* pFrame = GetTopLevelFrame();
        if (pFrame != nullptr)
            pFrame->SetFocus();
        return TRUE;
    }
    default:
        break;
    }
    if (RouteEditingKey(m_hWnd, pMsg))
        return TRUE;
    return CQMXPHotEdit::PreTranslateMessage(pMsg);
}

void CQMXPToolbarEditCtrl::SetButtonHot(BOOL bHot) { m_buttonEdit.SetHotEdit(bHot); }
