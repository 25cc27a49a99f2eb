#pragma once
// CQMXPToolsPage: the "Tools" page of the customisation sheet, where the
// user tools are added, named, reordered, deleted, and given a command,
// arguments and an initial directory. Its list is a CToolsList, an
// editable list whose edits go to the user-tools manager at once.
#include "docking/frames/QMXPEditListBox.h"
#include "docking/toolbars/QMXPMenuButton.h"
#include "platform/classlib/Button.h"
#include "platform/classlib/Edit.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/PropertyPage.h"

class CQMXPToolbarCustomize;
class CQMXPToolsPage;
class CQMXPUserTool;

class CToolsList : public CQMXPEditListBox {
public:
    explicit CToolsList(CQMXPToolsPage* pParent) : m_pParent(pParent) {}

    // The tool of the line; none for a line without one.
    CQMXPUserTool* GetTool(int iItem) const;

protected:
    void OnSelectionChanged() override;
    BOOL OnBeforeRemoveItem(int iItem) override;
    void OnAfterAddItem(int iItem) override;
    void OnAfterRenameItem(int iItem) override;
    void OnAfterMoveItemUp(int iItem) override;
    void OnAfterMoveItemDown(int iItem) override;

    CQMXPToolsPage* m_pParent;
};

class CQMXPToolsPage : public CPropertyPage {
    DECLARE_DYNAMIC(CQMXPToolsPage)
public:
    enum { IDD = 16928 };
    CQMXPToolsPage();

    // A new tool from the manager; when the range is used up, the message
    // "You may define up to N tools." and none.
    CQMXPUserTool* CreateNewTool();
    // The tool becomes the selected one: its fields show, the sheet hears
    // of the change before and after.
    void OnSelectTool(CQMXPUserTool* pSelTool);
    CQMXPUserTool* GetSelectedTool() const { return m_pSelTool; }

    CQMXPMenuButton m_wndInitialDirBtn;
    CQMXPMenuButton m_wndArgumentsBtn;
    CEdit m_wndArgumentsEdit;
    CEdit m_wndInitialDirEdit;
    CEdit m_wndCommandEdit;
    CButton m_wndBrowseBtn;
    CToolsList m_wndToolsList;
    CString m_strCommand;
    CString m_strArguments;
    CString m_strInitialDirectory;

protected:
    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;
    void OnOK() override;
    // The fields from (bSave) or into the edits.
    void ExchangeFields(BOOL bSave);
    void EnableControls();
    // The command's text typed at the edit's caret, as a user would.
    void TypeCommandText(CEdit& wndEdit, const CQMXPMenuButton& wndButton);
    afx_msg void OnUpdateTool();
    afx_msg void OnBrowseCommand();
    afx_msg void OnArgumentsOptions();
    afx_msg void OnInitialDirectoryOptions();

    CQMXPUserTool* m_pSelTool;
    CQMXPToolbarCustomize* m_pParentSheet;
    CMenu m_menuArguments;
    CMenu m_menuInitialDir;
    // Set while the fields are written into the edits, whose change
    // notifications would read them back half done.
    BOOL m_bShowingFields;

    DECLARE_MESSAGE_MAP()
};
