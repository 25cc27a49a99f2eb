#include "docking/frames/QMXPMouseManager.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPRegistry.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/StringList.h"

IMPLEMENT_SERIAL(CQMXPMouseManager, CObject, 1)

CQMXPMouseManager* qmxMouseManager = nullptr;

namespace {
constexpr UINT kMapHashSize = 17;
}

CQMXPMouseManager::CQMXPMouseManager() {
    m_ViewsNames.InitHashTable(kMapHashSize);
    m_ViewsToCommands.InitHashTable(kMapHashSize);
    m_ViewsToIcons.InitHashTable(kMapHashSize);
    qmxMouseManager = this;
}

CQMXPMouseManager::~CQMXPMouseManager() {
    if (qmxMouseManager == this)
        qmxMouseManager = nullptr;
}

void CQMXPMouseManager::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_ViewsToCommands.GetCount());
        POSITION pos = m_ViewsToCommands.GetStartPosition();
        while (pos != nullptr) {
            int iViewId = 0;
            UINT uiCmd = 0;
            m_ViewsToCommands.GetNextAssoc(pos, iViewId, uiCmd);
            ar << iViewId << uiCmd;
        }
        return;
    }
    m_ViewsToCommands.RemoveAll();
    DWORD dwCount = 0;
    ar >> dwCount;
    // Pairs are read one by one: a count larger than the data ends in the
    // archive's exception, never in a large allocation.
    for (DWORD i = 0; i < dwCount; ++i) {
        int iViewId = 0;
        UINT uiCmd = 0;
        ar >> iViewId >> uiCmd;
        m_ViewsToCommands.SetAt(iViewId, uiCmd);
    }
}

BOOL CQMXPMouseManager::AddView(int iViewId, LPCWSTR lpszViewName, UINT uiIconId) {
    int iExisting = 0;
    if (lpszViewName == nullptr || m_ViewsNames.Lookup(lpszViewName, iExisting))
        return FALSE;
    m_ViewsNames.SetAt(lpszViewName, iViewId);
    if (uiIconId != 0)
        m_ViewsToIcons.SetAt(iViewId, uiIconId);
    return TRUE;
}

int CQMXPMouseManager::GetViewIdByName(LPCWSTR lpszName) const {
    int iId = -1;
    return lpszName != nullptr && m_ViewsNames.Lookup(lpszName, iId) ? iId : -1;
}

UINT CQMXPMouseManager::GetViewDblClickCommand(int iId) const {
    UINT uiCmd = 0;
    return m_ViewsToCommands.Lookup(iId, uiCmd) ? uiCmd : 0;
}

UINT CQMXPMouseManager::GetViewIconId(int iViewId) const {
    UINT uiIcon = 0;
    return m_ViewsToIcons.Lookup(iViewId, uiIcon) ? uiIcon : 0;
}

void CQMXPMouseManager::SetCommandForDblClick(int iViewId, UINT uiCmd) {
    if (uiCmd == 0)
        m_ViewsToCommands.RemoveKey(iViewId);
    else
        m_ViewsToCommands.SetAt(iViewId, uiCmd);
}

void CQMXPMouseManager::GetViewNames(CStringList& listOfNames) const {
    listOfNames.RemoveAll();
    POSITION pos = m_ViewsNames.GetStartPosition();
    while (pos != nullptr) {
        CString strName;
        int iId = 0;
        m_ViewsNames.GetNextAssoc(pos, strName, iId);
        listOfNames.AddTail(strName);
    }
}

BOOL CQMXPMouseManager::LoadState(LPCWSTR lpszProfileName) {
    const CString strSection = QMXPGetRegPath(qmxRegMouseManager, lpszProfileName);
    CQMXPRegistrySP regSP;
    CQMXPRegistry& reg = *regSP.Create(FALSE, TRUE);
    return reg.Open(strSection) && reg.Read(qmxRegMouseSection, *this);
}

BOOL CQMXPMouseManager::SaveState(LPCWSTR lpszProfileName) {
    const CString strSection = QMXPGetRegPath(qmxRegMouseManager, lpszProfileName);
    CQMXPRegistrySP regSP;
    CQMXPRegistry& reg = *regSP.Create(FALSE, FALSE);
    return reg.CreateKey(strSection) && reg.Write(qmxRegMouseSection, *this);
}
