#include "docking/toolbars/CmdUsageCount.h"

#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPVisualManager.h"

#include <cstdint>

IMPLEMENT_SERIAL(CCmdUsageCount, CObject, 1)

UINT CCmdUsageCount::s_nMinUsage = 0;
UINT CCmdUsageCount::s_nMinPercentage = 5;

CCmdUsageCount::CCmdUsageCount() : m_nTotalUsage(0) {}

CCmdUsageCount::~CCmdUsageCount() = default;

void CCmdUsageCount::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_nTotalUsage;
    } else {
        ar >> m_nTotalUsage;
    }
    m_CmdUsage.Serialize(ar);
}

void CCmdUsageCount::Reset() {
    m_CmdUsage.RemoveAll();
    m_nTotalUsage = 0;
}

void CCmdUsageCount::AddCmd(UINT uiCmd) {
    if (CQMXPToolBar::m_bCustomizeMode || uiCmd == 0 || uiCmd == 0xFFFFFFFF)
        return;
    if (CQMXPToolBar::m_lstBasicCommands.Find(uiCmd) != nullptr || IsStandardCommand(uiCmd))
        return;
    UINT nUses = 0;
    m_CmdUsage.Lookup(uiCmd, nUses);
    m_CmdUsage.SetAt(uiCmd, nUses + 1);
    ++m_nTotalUsage;
}

BOOL CCmdUsageCount::HasEnoughStatistics() const { return m_nTotalUsage >= s_nMinUsage; }

BOOL CCmdUsageCount::IsFrequentlyUsedCmd(UINT uiCmd) const {
    if (m_nTotalUsage == 0)
        return FALSE;
    UINT nUses = 0;
    m_CmdUsage.Lookup(uiCmd, nUses);
    // 64 bits: a count times 100 may not fit in 32.
    return static_cast<uint64_t>(nUses) * 100 / m_nTotalUsage > s_nMinPercentage;
}
