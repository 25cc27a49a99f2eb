#include "docking/toolbars/QMXPHotEdit.h"

#include "docking/frames/QMXPTrackMouse.h"

BEGIN_MESSAGE_MAP(CQMXPHotEdit, CEdit)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

CQMXPHotEdit::CQMXPHotEdit() : m_bTracked(FALSE) {}

CQMXPHotEdit::~CQMXPHotEdit() = default;

BOOL CQMXPHotEdit::RouteEditingKey(HWND hwndEdit, const MSG* pMsg) {
    if (pMsg->message != WM_KEYDOWN || hwndEdit == nullptr || ::GetFocus() != hwndEdit ||
        !(::GetKeyState(VK_CONTROL) & 0x8000) || (::GetKeyState(VK_MENU) & 0x8000))
        return FALSE;
    wchar_t szClass[8] = {};
    if (::GetClassNameW(hwndEdit, szClass, 8) <= 0 || ::lstrcmpiW(szClass, L"Edit") != 0)
        return FALSE;
    const BOOL bShift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    struct EditingKey {
        WPARAM wKey;
        BOOL bShift;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    // Ctrl+A selects the whole text (which an edit does not do by itself on
    // every system); the others are the clipboard keys and Undo.
    static const EditingKey keys[] = {
        {'A', FALSE, EM_SETSEL, 0, -1},    {'C', FALSE, WM_COPY, 0, 0},  {VK_INSERT, FALSE, WM_COPY, 0, 0},
        {'V', FALSE, WM_PASTE, 0, 0},      {'X', FALSE, WM_CUT, 0, 0},   {'Z', FALSE, EM_UNDO, 0, 0},
        {VK_DELETE, FALSE, WM_CLEAR, 0, 0},
    };
    for (const EditingKey& key : keys) {
        if (pMsg->wParam == key.wKey && bShift == key.bShift) {
            ::SendMessageW(hwndEdit, key.message, key.wParam, key.lParam);
            return TRUE;
        }
    }
    return FALSE;
}

void CQMXPHotEdit::OnSetFocus(CWnd* pOldWnd) {
    CEdit::OnSetFocus(pOldWnd);
    SetButtonHot(TRUE);
}

void CQMXPHotEdit::OnKillFocus(CWnd* pNewWnd) {
    CEdit::OnKillFocus(pNewWnd);
    SetButtonHot(FALSE);
}

void CQMXPHotEdit::OnMouseMove(UINT nFlags, CPoint point) {
    SetButtonHot(TRUE);
    if (!m_bTracked) {
        TRACKMOUSEEVENT trackmouseevent = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        m_bTracked = QMXPTrackMouse(&trackmouseevent);
    }
    CEdit::OnMouseMove(nFlags, point);
}

void CQMXPHotEdit::OnMouseLeave() {
    m_bTracked = FALSE;
    if (CWnd::GetFocus() != this)
        SetButtonHot(FALSE);
}
