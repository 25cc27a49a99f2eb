#pragma once
// CQMXPExCheckList: a check list whose items can be disabled one by one
// (a tool bar that may not be hidden keeps its check).
#include "platform/classlib/CheckListBox.h"

#include <vector>

class CQMXPExCheckList : public CCheckListBox {
    DECLARE_DYNAMIC(CQMXPExCheckList)
public:
    CQMXPExCheckList() = default;

    void EnableCheck(int nIndex, BOOL bEnable = TRUE);
    BOOL IsCheckEnabled(int nIndex) const override;

protected:
    void OnItemInserted(int nIndex) override;
    void OnItemDeleted(int nIndex) override;
    void OnItemsReset() override;

    // One per item, 1 = enabled; new items are enabled.
    std::vector<DWORD> m_arCheckData;
};
