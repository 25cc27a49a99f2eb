#pragma once
// CQMXPContextMenuManager: shows the application's context menus as library
// popup menus. It knows them by resource id and by name, shows one at a
// point for an owner, runs one modally and returns the chosen command (the
// library's TrackPopupMenu), and keeps the user's changes to them in the
// registry. One instance per process, reached through qmxContextMenuManager.
#include "platform/classlib/Map.h"
#include "platform/classlib/String.h"

#include <windows.h>

class CQMXPPopupMenu;
class CStringList;
class CWnd;

class CQMXPContextMenuManager {
public:
    CQMXPContextMenuManager();
    virtual ~CQMXPContextMenuManager();
    CQMXPContextMenuManager(const CQMXPContextMenuManager&) = delete;
    CQMXPContextMenuManager& operator=(const CQMXPContextMenuManager&) = delete;

    // Loads the menu resource and enters it under its id and the name;
    // FALSE when it cannot be loaded or either is taken.
    BOOL AddMenu(LPCWSTR lpszName, UINT uiMenuResId);

    // The popup shown, or NULL. A library dialog or property page gets none
    // unless bOwnMessage; with it, the owner receives the commands itself.
    virtual CQMXPPopupMenu* ShowPopupMenu(HMENU hmenuPopup, int x, int y, CWnd* pWndOwner, BOOL bOwnMessage = FALSE,
                                          BOOL bKeepMenu = FALSE);
    // The first sub-menu of a registered menu; at (-1, -1) five pixels
    // inside the owner's client corner.
    virtual BOOL ShowPopupMenu(UINT uiMenuResId, int x, int y, CWnd* pWndOwner, BOOL bOwnMessage = FALSE);
    // Waits until the popup is gone; the chosen command, or 0.
    virtual UINT TrackPopupMenu(HMENU hmenuPopup, int x, int y, CWnd* pWndOwner);

    HMENU GetMenuByName(LPCWSTR lpszName, UINT* puiOrigResID = nullptr) const;
    void GetMenuNames(CStringList& listOfNames) const;

    // Each menu's items as a popup item bar's state ("<path>" with bar
    // index 0 and the menu's id), through the menu cache.
    virtual BOOL LoadState(LPCWSTR lpszProfileName = nullptr);
    virtual BOOL SaveState(LPCWSTR lpszProfileName = nullptr);

    // Written by the popup item bar of a tracked menu.
    void SetLastCommandId(UINT uiCmd) { m_nLastCommandID = uiCmd; }
    BOOL IsTracking() const { return m_bTrackMode; }

protected:
    CMap<UINT, UINT, HMENU, HMENU> m_Menus;
    CMap<CString, const CString&, HMENU, HMENU> m_MenuNames;
    UINT m_nLastCommandID;
    BOOL m_bTrackMode;
};

extern CQMXPContextMenuManager* qmxContextMenuManager;
