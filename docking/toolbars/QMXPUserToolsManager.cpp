#include "docking/toolbars/QMXPUserToolsManager.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/frames/QMXPUserTool.h"
#include "platform/classlib/Archive.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

CQMXPUserToolsManager* qmxUserToolsManager = nullptr;

CQMXPUserToolsManager::CQMXPUserToolsManager(UINT uiCmdToolsDummy, UINT uiCmdFirst, UINT uiCmdLast,
                                             CRuntimeClass* pToolRTC, UINT uArgMenuID, UINT uInitDirMenuID)
    : m_uiCmdToolsDummy(uiCmdToolsDummy),
      m_uiCmdFirst(uiCmdFirst),
      m_uiCmdLast(uiCmdLast),
      m_pToolRTC(pToolRTC != nullptr ? pToolRTC : RUNTIME_CLASS(CQMXPUserTool)),
      m_uiArgumentsMenuID(uArgMenuID),
      m_uiInitialDirMenuID(uInitDirMenuID) {}

CQMXPUserToolsManager::~CQMXPUserToolsManager() { DeleteAllTools(); }

void CQMXPUserToolsManager::DeleteAllTools() {
    while (!m_lstUserTools.IsEmpty())
        delete m_lstUserTools.RemoveHead();
}

int CQMXPUserToolsManager::GetMaxTools() const {
    if (m_uiCmdLast < m_uiCmdFirst)
        return 0;
    const uint64_t nRange = static_cast<uint64_t>(m_uiCmdLast) - m_uiCmdFirst + 1;
    return nRange > INT_MAX ? INT_MAX : static_cast<int>(nRange);
}

CQMXPUserTool* CQMXPUserToolsManager::AddNewTool() {
    if (m_lstUserTools.GetCount() >= GetMaxTools())
        return nullptr;
    UINT uiCmdId = m_uiCmdFirst;
    while (LookupTool(uiCmdId) != nullptr)
        ++uiCmdId;
    CObject* pObject = m_pToolRTC->CreateObject();
    auto* pTool = DYNAMIC_DOWNCAST(CQMXPUserTool, pObject);
    if (pTool == nullptr) {
        delete pObject;
        return nullptr;
    }
    pTool->m_uiCmdId = uiCmdId;
    m_lstUserTools.AddTail(pTool);
    return pTool;
}

BOOL CQMXPUserToolsManager::DeleteTool(CQMXPUserTool* pTool) {
    POSITION pos = m_lstUserTools.Find(pTool);
    if (pos == nullptr)
        return FALSE;
    m_lstUserTools.RemoveAt(pos);
    const UINT uiCmdId = pTool->m_uiCmdId;
    delete pTool;
    for (CQMXPToolBar* pToolBar : CQMXPToolBar::GetAllToolbars()) {
        BOOL bChanged = FALSE;
        for (int i = pToolBar->GetCount() - 1; i >= 0; --i) {
            if (pToolBar->GetButton(i)->m_nID == uiCmdId) {
                pToolBar->RemoveButton(i);
                bChanged = TRUE;
            }
        }
        if (bChanged)
            pToolBar->AdjustLayout();
    }
    return TRUE;
}

BOOL CQMXPUserToolsManager::ShiftToolUp(CQMXPUserTool* pTool) { return ShiftTool(pTool, TRUE); }

BOOL CQMXPUserToolsManager::ShiftToolDown(CQMXPUserTool* pTool) { return ShiftTool(pTool, FALSE); }

BOOL CQMXPUserToolsManager::ShiftTool(CQMXPUserTool* pTool, BOOL bUp) {
    POSITION pos = m_lstUserTools.Find(pTool);
    if (pos == nullptr || pos == (bUp ? m_lstUserTools.GetHeadPosition() : m_lstUserTools.GetTailPosition()))
        return FALSE;
    POSITION posOther = pos;
    bUp ? m_lstUserTools.GetPrev(posOther) : m_lstUserTools.GetNext(posOther);
    m_lstUserTools.RemoveAt(pos);
    if (bUp)
        m_lstUserTools.InsertBefore(posOther, pTool);
    else
        m_lstUserTools.InsertAfter(posOther, pTool);
    return TRUE;
}

CQMXPUserTool* CQMXPUserToolsManager::LookupTool(UINT uiCmdId) const {
    if (!IsUserToolCmd(uiCmdId))
        return nullptr;
    for (POSITION pos = m_lstUserTools.GetHeadPosition(); pos != nullptr;) {
        auto* pTool = static_cast<CQMXPUserTool*>(m_lstUserTools.GetNext(pos));
        if (pTool->m_uiCmdId == uiCmdId)
            return pTool;
    }
    return nullptr;
}

BOOL CQMXPUserToolsManager::RunTool(UINT uiCmdId) {
    CQMXPUserTool* pTool = LookupTool(uiCmdId);
    return pTool != nullptr && pTool->Invoke();
}

BOOL CQMXPUserToolsManager::LoadState(LPCWSTR lpszProfileName) {
    DeleteAllTools();
    const CString strSection = QMXPGetRegPath(qmxRegUserToolsSection, lpszProfileName);
    CQMXPRegistrySP regSP;
    CQMXPRegistry& reg = *regSP.Create(FALSE, FALSE);
    if (!reg.Open(strSection))
        return FALSE;
    // Read by hand rather than as an object list: a stored class name must
    // not make objects of any other class, and a tool whose id lies outside
    // the range or repeats another would run a real command or collide.
    return reg.ReadArchived(qmxRegUserToolsKey, [this](CArchive& ar) {
        // Dropped tools live until the end: a later reference to one must
        // not find a deleted object.
        std::vector<std::unique_ptr<CQMXPUserTool>> dropped;
        const auto isDropped = [&dropped](const CQMXPUserTool* pTool) {
            return std::any_of(dropped.begin(), dropped.end(),
                               [pTool](const std::unique_ptr<CQMXPUserTool>& p) { return p.get() == pTool; });
        };
        for (DWORD_PTR n = ar.ReadCount(); n > 0; --n) {
            auto* pTool = static_cast<CQMXPUserTool*>(ar.ReadObject(RUNTIME_CLASS(CQMXPUserTool)));
            if (pTool == nullptr || m_lstUserTools.Find(pTool) != nullptr || isDropped(pTool))
                continue;  // none, or a second reference to a tool already seen
            if (!IsUserToolCmd(pTool->m_uiCmdId) || LookupTool(pTool->m_uiCmdId) != nullptr)
                dropped.emplace_back(pTool);
            else
                m_lstUserTools.AddTail(pTool);
        }
    });
}

BOOL CQMXPUserToolsManager::SaveState(LPCWSTR lpszProfileName) {
    const CString strSection = QMXPGetRegPath(qmxRegUserToolsSection, lpszProfileName);
    CQMXPRegistrySP regSP;
    CQMXPRegistry& reg = *regSP.Create(FALSE, FALSE);
    return reg.CreateKey(strSection) && reg.Write(qmxRegUserToolsKey, m_lstUserTools);
}
