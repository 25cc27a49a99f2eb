#pragma once
// CKWDialog: the base of the program's dialogs. Adds context help (F1, the
// registered message "show_ContextHelp" and the command whose id is that
// message's low word all show the topic that GetHelpTopic gives) and three
// mouse hooks to the class library's dialog.
#include "appwindows/KWHelpShow.h"
#include "platform/classlib/Dialog.h"
#include "platform/classlib/Rect.h"

class CKWDialog : public CDialog, public CKWHelpShow {
    DECLARE_DYNAMIC(CKWDialog)
public:
    explicit CKWDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Whether the class library's initialisation returned non-zero.
    BOOL OnInitDialog() override;

    // Each returns true when it handled the click; false lets the class
    // library's default handling run.
    virtual bool OnRButtonUpHook(CPoint point);
    virtual bool OnLButtonDownHook(CPoint point);
    virtual bool OnLButtonDblClkHook(CPoint point);

    // The window of a dialog item; null when there is none.
    HWND GetItemWindow(int nID) const;

protected:
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    afx_msg LRESULT OnShowContextHelpMessage(WPARAM wParam, LPARAM lParam);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()
};
