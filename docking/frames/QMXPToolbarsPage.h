#pragma once
// CQMXPToolbarsPage: the "Toolbars" page of the customisation sheet: the
// frame's tool bars as a check list (the mark shows or hides a bar), their
// reset, text labels, and the user's own bars made, renamed and deleted
// (the frame makes and deletes them when asked).
#include "docking/frames/QMXPExCheckList.h"
#include "platform/classlib/Button.h"
#include "platform/classlib/PropertyPage.h"

class CFrameWnd;
class CQMXPToolBar;

class CQMXPToolbarsPage : public CPropertyPage {
    DECLARE_DYNAMIC(CQMXPToolbarsPage)
public:
    enum { IDD = 16105 };
    explicit CQMXPToolbarsPage(CFrameWnd* pParentFrame = nullptr);

    void ShowToolBar(CQMXPToolBar* pToolBar, BOOL bShow);
    void EnableUserDefinedToolbars(BOOL bEnable) { m_bUserDefinedToolbars = bEnable; }

    CButton m_bntTextLabels;
    CButton m_bntRenameToolbar;
    CButton m_btnNewToolbar;
    CButton m_btnDelete;
    CButton m_btnReset;
    CQMXPExCheckList m_wndToobarList;
    BOOL m_bTextLabels;
    CQMXPToolBar* m_pSelectedToolbar;
    BOOL m_bUserDefinedToolbars;
    CFrameWnd* m_pParentFrame;

protected:
    BOOL OnInitDialog() override;
    // Adds the bar's line (its mark the bar's visibility) and selects it.
    int AddToolBarLine(CQMXPToolBar* pToolBar, const CString& strName, BOOL bSelect);
    // Shows or hides the bar of the line as its mark says; a bar that may
    // not be closed gets its mark back with a beep.
    void ApplyCheck(int iIndex);
    int AskYesNo(UINT uiPrompt, const CString& strName) const;
    afx_msg void OnSelchangeToolbarList();
    afx_msg void OnDblclkToolbarList();
    afx_msg void OnCheckChangeToolbarList();
    afx_msg void OnTextLabels();
    afx_msg void OnResetToolbar();
    afx_msg void OnResetAllToolbars();
    afx_msg void OnNewToolbar();
    afx_msg void OnRenameToolbar();
    afx_msg void OnDeleteToolbar();

    DECLARE_MESSAGE_MAP()
};
