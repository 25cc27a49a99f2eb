#pragma once
// CCmdUsageCount: how often each command was chosen from a menu, for menus
// that hide rarely used items. One library-wide instance; the toolbar's
// statics (CountCommandUse, IsCommandRarelyUsed) front it.
#include "platform/classlib/Map.h"

class CCmdUsageCount : public CObject {
    DECLARE_SERIAL(CCmdUsageCount)
public:
    CCmdUsageCount();
    ~CCmdUsageCount() override;

    // The total (32 bits), then the map: count, then id and uses of each entry.
    void Serialize(CArchive& ar) override;

    void Reset();
    // Counts one use, except in customise mode and for ids 0 and
    // 0xFFFFFFFF, always-shown and standard commands.
    void AddCmd(UINT uiCmd);
    BOOL HasEnoughStatistics() const;
    // More than the minimum percentage of all counted uses.
    BOOL IsFrequentlyUsedCmd(UINT uiCmd) const;

    UINT GetTotalUsage() const { return m_nTotalUsage; }

    // Fewer uses in all are not enough to tell rare commands.
    static UINT s_nMinUsage;
    // A command needs more than this share of all uses to be frequent.
    static UINT s_nMinPercentage;

private:
    CMap<UINT, UINT, UINT, UINT> m_CmdUsage;
    UINT m_nTotalUsage;
};
