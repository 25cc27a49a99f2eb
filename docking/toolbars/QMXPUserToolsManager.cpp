#include "docking/toolbars/QMXPUserToolsManager.h"

#include "docking/frames/QMXPUserTool.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"

CQMXPUserToolsManager* qmxUserToolsManager = nullptr;

CQMXPUserToolsManager::CQMXPUserToolsManager(UINT uiCmdToolsDummy, UINT uiCmdFirst, UINT uiCmdLast,
                                             CRuntimeClass* pToolRTC, UINT uArgMenuID, UINT uInitDirMenuID)
    : m_uiCmdToolsDummy(uiCmdToolsDummy),
      m_uiCmdFirst(uiCmdFirst),
      m_uiCmdLast(uiCmdLast),
      m_pToolRTC(pToolRTC != nullptr ? pToolRTC : RUNTIME_CLASS(CQMXPUserTool)),
      m_uiArgumentsMenuID(uArgMenuID),
      m_uiInitialDirMenuID(uInitDirMenuID) {}

CQMXPUserToolsManager::~CQMXPUserToolsManager() {
    for (POSITION pos = m_lstUserTools.GetHeadPosition(); pos != nullptr;)
        delete m_lstUserTools.GetNext(pos);
    m_lstUserTools.RemoveAll();
}

CQMXPUserTool* CQMXPUserToolsManager::AddNewTool() {
    if (m_uiCmdLast < m_uiCmdFirst ||
        static_cast<UINT>(m_lstUserTools.GetCount()) >= m_uiCmdLast - m_uiCmdFirst + 1)
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
