#pragma once
// CQMXPMouseManager: for each kind of view the application declares, the
// command a double click in it runs. The Mouse page of the customisation
// sheet changes the assignments; the workspace runs them and keeps them in
// the registry through this object. One instance per process, reached
// through qmxMouseManager while it exists.
#include "platform/classlib/Map.h"
#include "platform/classlib/Object.h"
#include "platform/classlib/String.h"

class CStringList;

class CQMXPMouseManager : public CObject {
    DECLARE_SERIAL(CQMXPMouseManager)
public:
    CQMXPMouseManager();
    ~CQMXPMouseManager() override;
    CQMXPMouseManager(const CQMXPMouseManager&) = delete;
    CQMXPMouseManager& operator=(const CQMXPMouseManager&) = delete;

    // The stored form is the count, then (view id, command) pairs, all 32
    // bits; names and icons are the application's and are not stored.
    void Serialize(CArchive& ar) override;

    // The application's views, with the icon the Mouse page shows for each.
    BOOL AddView(int iViewId, LPCWSTR lpszViewName, UINT uiIconId = 0);

    // -1 when the name is not registered.
    int GetViewIdByName(LPCWSTR lpszName) const;
    // 0 when the view has no command.
    UINT GetViewDblClickCommand(int iId) const;
    UINT GetViewIconId(int iViewId) const;
    // Command 0 removes the assignment.
    void SetCommandForDblClick(int iViewId, UINT uiCmd);
    void GetViewNames(CStringList& listOfNames) const;

    // The binary value "Mouse" below the section; FALSE when it is missing
    // or cannot be read (what was read before stays).
    BOOL LoadState(LPCWSTR lpszProfileName = nullptr);
    BOOL SaveState(LPCWSTR lpszProfileName = nullptr);

protected:
    CMap<CString, const CString&, int, int> m_ViewsNames;
    CMap<int, int, UINT, UINT> m_ViewsToCommands;
    CMap<int, int, UINT, UINT> m_ViewsToIcons;
};

extern CQMXPMouseManager* qmxMouseManager;
