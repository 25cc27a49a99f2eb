#pragma once
// CQMXPTearOffManager: hands out the control ids of tool bars torn off
// menus from one fixed range, counts how many menu items use each id, and
// writes an id into a menu item's text as a prefix ("\x01" id "\x01" text)
// so that it survives menu rebuilding and customisation. One process-wide
// instance may exist (qmxTearOffManager); without it menus tear nothing off.
#include "platform/classlib/String.h"

#include <windows.h>

#include <vector>

class CQMXPTearOffManager {
public:
    // The range [uiFirst, uiLast]; a range with last below first, or a
    // first id of 0, is no range and hands out nothing.
    CQMXPTearOffManager(UINT uiFirst = 0, UINT uiLast = 0);
    virtual ~CQMXPTearOffManager();
    CQMXPTearOffManager(const CQMXPTearOffManager&) = delete;
    CQMXPTearOffManager& operator=(const CQMXPTearOffManager&) = delete;

    // The first free id, now counted once; 0 when none is free.
    UINT GetFreeTearOffID();
    // One use more or less; never below 0; ids outside the range change nothing.
    void SetInUse(UINT uiCmdId, BOOL bUse = TRUE);
    // The use count of an id; 0 outside the range.
    int GetUseCount(UINT uiCmdId) const;
    BOOL IsDynamicID(UINT uiCmdId) const;
    // Gives the marked popups of the menu (MF_MENUBARBREAK) ids written into
    // their texts, depth first; stops when no id is left.
    void SetupTearOffMenus(HMENU hMenu);
    // Frees every id found in the menu's texts; with no menu, the whole range.
    void Reset(HMENU hMenu);

    // The text with the id's prefix in front of it.
    static void Build(UINT uiTearOffBarID, CString& strText);
    // The id of a prefixed text, the text left with what follows the last
    // marker; 0 (text unchanged) for a text without the prefix.
    static UINT Parse(CString& str);

    UINT GetFirstID() const { return m_uiTearOffMenuFirst; }
    UINT GetLastID() const { return m_uiTearOffMenuLast; }

protected:
    // FALSE once no id is left.
    BOOL SetupMenu(HMENU hMenu);
    int IndexOf(UINT uiCmdId) const;

    UINT m_uiTearOffMenuFirst;
    UINT m_uiTearOffMenuLast;
    std::vector<int> m_arTearOffIDsUsage;
};

// The application's tear-off manager; none when menus tear nothing off.
extern CQMXPTearOffManager* qmxTearOffManager;
