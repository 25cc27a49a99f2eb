#pragma once
// CQMXPDlgImpl: what lets a dialog or property page host the library's
// popup menus. While a popup it opened is open, keys go to the popup, a
// click outside closes it (a click on its shadow too, keeping the focus on
// the dialog), Alt closes it, and the dialog's caption stays active.
#include "platform/classlib/Wnd.h"

class CQMXPPopupMenu;

class CQMXPDlgImpl {
public:
    explicit CQMXPDlgImpl(CWnd& dlg) : m_Dlg(dlg) {}
    // Removes the mouse hook when this object installed it.
    ~CQMXPDlgImpl();
    CQMXPDlgImpl(const CQMXPDlgImpl&) = delete;
    CQMXPDlgImpl& operator=(const CQMXPDlgImpl&) = delete;

    // The popup now open (none: closed); a mouse hook watches clicks outside the dialog meanwhile.
    void SetActiveMenu(CQMXPPopupMenu* pMenu);
    CQMXPPopupMenu* GetActiveMenu() const { return m_pActivePopupMenu; }
    // A click at the screen point while a popup is open; TRUE: the click is consumed.
    BOOL ProcessMouseClick(POINT pt);
    BOOL PreTranslateMessage(MSG* pMsg);
    // An accelerator command: closes the popup or runs a user tool; TRUE when consumed.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    void OnNcActivate(BOOL& bActive);
    void OnActivate(UINT nState, CWnd* pWndOther);

protected:
    static LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    // The popup when it is still a window.
    CQMXPPopupMenu* LivePopup() const;
    // Closes the popup and gives the dialog the focus.
    void ClosePopup(CQMXPPopupMenu* pPopup, BOOL bFocusDialog);

    CWnd& m_Dlg;
    CQMXPPopupMenu* m_pActivePopupMenu = nullptr;
    // The caption stays drawn active (a window that keeps in step with the dialog is active).
    BOOL m_bStayActive = FALSE;
};
