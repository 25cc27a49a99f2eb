#pragma once
// CQMXPKeyboardPage: the "Keyboard" page of the customisation sheet. For
// one accelerator table (the frame's or a document type's) it shows the
// keys of the command chosen from a category, and assigns a new key,
// removes one or resets them all; every change goes at once to the
// keyboard manager, which installs the table and keeps it.
#include "docking/frames/KeyAssign.h"
#include "platform/classlib/Button.h"
#include "platform/classlib/ComboBox.h"
#include "platform/classlib/ListBox.h"
#include "platform/classlib/PropertyPage.h"
#include "platform/classlib/Static.h"

class CFrameWnd;
class CMultiDocTemplate;
class CQMXPToolbarButton;

class CQMXPKeyboardPage : public CPropertyPage {
    DECLARE_DYNAMIC(CQMXPKeyboardPage)
public:
    enum { IDD = 16136 };
    explicit CQMXPKeyboardPage(CFrameWnd* pParentFrame = nullptr, BOOL bAutoSet = FALSE);
    // Frees the working copy of the table.
    ~CQMXPKeyboardPage() override;

    void SetAllCategory(LPCWSTR lpszCategory) { m_strAllCategory = lpszCategory; }

    CStatic m_wndAssignedToTitle;
    CKeyAssign m_wndNewKey;
    CComboBox m_wndViewTypeList;
    CStatic m_wndViewIcon;
    CButton m_wndRemoveButton;
    CListBox m_wndCurrentKeysList;
    CListBox m_wndCommandsList;
    CComboBox m_wndCategoryList;
    CButton m_wndAssignButton;
    CString m_strDescription;
    CString m_strAssignedTo;
    HACCEL m_hAccelTable;
    // The chosen table's entries as the page edits them.
    LPACCEL m_lpAccel;
    int m_nAccelSize;
    CMultiDocTemplate* m_pSelTemplate;
    CQMXPToolbarButton* m_pSelButton;
    LPACCEL m_pSelEntry;
    CFrameWnd* m_pParentFrame;
    BOOL m_bAutoSet;
    CString m_strAllCategory;

protected:
    BOOL OnInitDialog() override;
    // The working copy replaced by the entries (nullptr frees it); the key
    // lines re-pointed at the same entries of the new copy.
    void SetWorkingCopy(LPACCEL lpAccel, int nSize);
    // The working copy installed in the chosen table by the keyboard manager.
    BOOL InstallWorkingCopy();
    void AddKeyLine(LPACCEL pEntry);
    void ShowTexts();
    afx_msg void OnSelchangeCategory();
    afx_msg void OnSelchangeCommandsList();
    afx_msg void OnSelchangeCurrentKeysList();
    afx_msg void OnSelchangeViewType();
    afx_msg void OnUpdateNewShortcutKey();
    afx_msg void OnAssign();
    afx_msg void OnRemove();
    afx_msg void OnResetAll();

    DECLARE_MESSAGE_MAP()
};
