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
    // The editing keys stay with the edit: the frame's accelerators would
    // take them for commands of the document.
    if (::GetFocus() == m_hWnd && (::GetKeyState(VK_CONTROL) & 0x8000)) {
        const struct {
            WPARAM wKey;
            UINT message;
        } keys[] = {{VK_DELETE, WM_CLEAR}, {'C', WM_COPY}, {'V', WM_PASTE}, {'X', WM_CUT}, {'Z', EM_UNDO}};
        for (const auto& key : keys) {
            if (pMsg->wParam == key.wKey) {
                SendMessage(key.message);
                return TRUE;
            }
        }
    }
    return CQMXPHotEdit::PreTranslateMessage(pMsg);
}

void CQMXPToolbarEditCtrl::SetButtonHot(BOOL bHot) { m_buttonEdit.SetHotEdit(bHot); }
