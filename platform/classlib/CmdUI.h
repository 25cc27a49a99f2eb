#pragma once
// CCmdUI: the state of one user-interface item (a menu item, a control, or a
// bar button in derived classes) asked of the command targets.
#include <windows.h>

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI();
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCWSTR lpszText);

    // Called by an update handler that wants the next target asked as well.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target for the item's state; when no handler set it and
    // bDisableIfNoHndler is TRUE, the item is enabled exactly when the target
    // has a command handler for the id. TRUE when an update handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    UINT m_nID;
    UINT m_nIndex;
    CMenu* m_pMenu;       // the menu of a menu item
    CMenu* m_pSubMenu;    // the popup of a popup item (its state follows its first item)
    CMenu* m_pParentMenu;
    CWnd* m_pOther;       // a control or bar window
    BOOL m_bEnableChanged;
    BOOL m_bContinueRouting;
    UINT m_nIndexMax;
};

// Brings every item of a popup menu up to date against the target, as the
// frames do on WM_INITMENUPOPUP. Items from 0xF000 (system commands) are left
// alone when they have no handler.
void AfxUpdateMenuPopup(CCmdTarget* pTarget, CMenu* pPopupMenu, BOOL bAutoMenuEnable);
