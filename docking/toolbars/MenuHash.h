#pragma once
// CMenuHash: for each menu handle the menu bar has shown, the bar's buttons
// as built for it, kept in a temporary file of their own that the system
// removes when its handle closes; switching back to a menu restores a
// customised menu bar without rebuilding it. One library-wide object.
#include "platform/classlib/Map.h"

#include <windows.h>

class CQMXPToolBar;

class CMenuHash {
public:
    CMenuHash();
    // Closes the files, which vanish.
    ~CMenuHash();
    CMenuHash(const CMenuHash&) = delete;
    CMenuHash& operator=(const CMenuHash&) = delete;

    // FALSE for a bar without buttons or when no file can be made.
    BOOL StoreBarButtons(HMENU hMenu, CQMXPToolBar* pBar);
    // FALSE when nothing is stored for the menu.
    BOOL RestoreBarButtons(HMENU hMenu, CQMXPToolBar* pBar);
    BOOL RemoveBarButtons(HMENU hMenu);

protected:
    CMap<HMENU, HMENU, HANDLE, HANDLE> m_StoredMenues;
};

extern CMenuHash qmxMenuHash;
