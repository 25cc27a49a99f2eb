#pragma once
// CQMXPUserToolsManager: keeps the user's tools in menu order, gives each a
// command id from a reserved range, runs a tool when its command arrives,
// and takes a deleted tool's buttons off every tool bar.
#include "platform/classlib/ObList.h"
#include "platform/classlib/String.h"

class CQMXPUserTool;
class CRuntimeClass;

class CQMXPUserToolsManager {
public:
    CQMXPUserToolsManager(UINT uiCmdToolsDummy, UINT uiCmdFirst, UINT uiCmdLast,
                          CRuntimeClass* pToolRTC = nullptr, UINT uArgMenuID = 0, UINT uInitDirMenuID = 0);
    // Deletes the tools.
    virtual ~CQMXPUserToolsManager();
    CQMXPUserToolsManager(const CQMXPUserToolsManager&) = delete;
    CQMXPUserToolsManager& operator=(const CQMXPUserToolsManager&) = delete;

    // A tool with the lowest free id of the range, appended; none when the range is used up.
    CQMXPUserTool* AddNewTool();
    BOOL DeleteTool(CQMXPUserTool* pTool);
    BOOL ShiftToolUp(CQMXPUserTool* pTool);
    BOOL ShiftToolDown(CQMXPUserTool* pTool);
    CQMXPUserTool* LookupTool(UINT uiCmdId) const;
    BOOL RunTool(UINT uiCmdId);
    BOOL IsUserToolCmd(UINT uiCmdId) const { return uiCmdId >= m_uiCmdFirst && uiCmdId <= m_uiCmdLast; }

    const CObList& GetUserTools() const { return m_lstUserTools; }
    UINT GetToolsEntryCmd() const { return m_uiCmdToolsDummy; }
    // How many tools the command range holds.
    int GetMaxTools() const;
    UINT GetArgumentsMenuID() const { return m_uiArgumentsMenuID; }
    UINT GetInitialDirMenuID() const { return m_uiInitialDirMenuID; }

    // The value "Tools" of the section "QMXUserToolsManager" (the given
    // path when there is one): the count, then each tool as an archived
    // object. Loading replaces the tools; only user-tool objects are made,
    // and a tool whose id is outside the range or already taken is
    // dropped. FALSE when the value is missing or could not be read whole
    // (the sound tools before the fault stay).
    BOOL LoadState(LPCWSTR lpszProfileName = nullptr);
    BOOL SaveState(LPCWSTR lpszProfileName = nullptr);

    CString m_strFilter;
    CString m_strDefExt;

protected:
    void DeleteAllTools();
    // One place before (bUp) or after its neighbour; FALSE at that end of the list.
    BOOL ShiftTool(CQMXPUserTool* pTool, BOOL bUp);

    CObList m_lstUserTools;
    const UINT m_uiCmdToolsDummy;
    const UINT m_uiCmdFirst;
    const UINT m_uiCmdLast;
    CRuntimeClass* m_pToolRTC;
    const UINT m_uiArgumentsMenuID;
    const UINT m_uiInitialDirMenuID;
};

// The application's user tools; none when it has none.
extern CQMXPUserToolsManager* qmxUserToolsManager;
