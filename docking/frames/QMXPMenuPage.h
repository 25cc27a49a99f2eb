#pragma once
// CQMXPMenuPage: the "Menu" page of the customisation sheet. It picks the
// application menu the menu bar shows while customising (the frame's
// default menu or a document type's) and resets it from its resource; it
// opens a context menu as a floating popup that takes dragged commands,
// and resets it; and it edits the menu animation and shadows, which take
// effect when the sheet closes.
#include "platform/classlib/Button.h"
#include "platform/classlib/ComboBox.h"
#include "platform/classlib/PropertyPage.h"
#include "platform/classlib/Static.h"

class CFrameWnd;
class CMultiDocTemplate;
class CQMXPMenuBar;
class CQMXPPopupMenu;

class CQMXPMenuPage : public CPropertyPage {
    DECLARE_DYNAMIC(CQMXPMenuPage)
public:
    enum { IDD = 16134 };
    explicit CQMXPMenuPage(CFrameWnd* pParentFrame = nullptr, BOOL bAutoSet = FALSE);

    // Shows the template's menu (none: the default menu); FALSE when the
    // page does not offer it.
    BOOL SelectMenu(CMultiDocTemplate* pTemplate, BOOL bSaveSelection = TRUE);
    // The popup of the chosen context menu is going: its place and items
    // are kept and the page forgets it.
    void CloseContextMenu(CQMXPPopupMenu* pMenu);

    CStatic m_wndMenuAnimationsLabel;
    CComboBox m_wndMenuAnimations;
    CButton m_wndMenuShadows;
    CStatic m_wndContextFrame;
    CStatic m_wndContextHint;
    CButton m_wndResetMenuButton;
    CStatic m_wndContextMenuCaption;
    CComboBox m_wndContextMenus;
    CStatic m_wndIcon;
    CComboBox m_wndMenuesList;
    CString m_strMenuDescr;
    CString m_strContextMenuName;
    CString m_strMenuName;
    int m_iMenuAnimationType;
    BOOL m_bMenuShadows;
    CQMXPMenuBar* m_pMenuBar;
    HMENU m_hmenuCurr;
    HMENU m_hmenuSelected;
    CQMXPPopupMenu* m_pContextMenu;
    UINT m_uiContextMenuResId;
    BOOL m_bIsDefaultMenuLoaded;
    BOOL m_bAutoSet;
    CFrameWnd* m_pParentFrame;

    // Where the next context menu opens: where the last one was left.
    static CPoint m_ptMenuLastPos;

protected:
    BOOL OnInitDialog() override;
    // The members from the controls.
    void ReadControls();
    void ShowDescription();
    // The bar's buttons kept in the menu cache under the menu.
    void SaveBarButtons(HMENU hMenu);
    // The open context menu's place and items kept, and the popup closed.
    void SaveAndCloseContextMenu();
    void OpenContextMenu();
    int AskReset(const CString& strName) const;
    afx_msg void OnSelchangeMenuList();
    afx_msg void OnResetFrameMenu();
    afx_msg void OnSelchangeContextMenuList();
    afx_msg void OnResetContextMenu();
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()
};
