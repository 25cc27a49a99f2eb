#pragma once
// CToolTipCtrl: a tool-tip control: tools (rectangles of windows, or
// windows) whose texts it shows when the mouse rests over them; the mouse
// messages reach it through RelayEvent.
#include "platform/classlib/Wnd.h"

#include <commctrl.h>

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() = default;

    // A popup owned by the parent (the common controls are started first).
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    void Activate(BOOL bActivate) { ::SendMessageW(m_hWnd, TTM_ACTIVATE, static_cast<WPARAM>(bActivate), 0); }
    // A tool of the window with the id over the rectangle (client
    // coordinates); without text, the text is asked for (TTN_NEEDTEXT).
    BOOL AddTool(CWnd* pWnd, LPCWSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool);
    int GetToolCount() const { return static_cast<int>(::SendMessageW(m_hWnd, TTM_GETTOOLCOUNT, 0, 0)); }
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    // The text of the window's tool with the id.
    void UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool);
    void RelayEvent(LPMSG lpMsg) { ::SendMessageW(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
    void Pop() { ::SendMessageW(m_hWnd, TTM_POP, 0, 0); }
    int SetMaxTipWidth(int iWidth) {
        return static_cast<int>(::SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, static_cast<LPARAM>(iWidth)));
    }

private:
    static void FillInToolInfo(TOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool);
};
