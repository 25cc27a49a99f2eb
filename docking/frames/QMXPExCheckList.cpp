#include "docking/frames/QMXPExCheckList.h"

IMPLEMENT_DYNAMIC(CQMXPExCheckList, CCheckListBox)

void CQMXPExCheckList::EnableCheck(int nIndex, BOOL bEnable) {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_arCheckData.size()))
        return;
    m_arCheckData[static_cast<size_t>(nIndex)] = bEnable ? 1 : 0;
    CRect rect;
    if (GetSafeHwnd() != nullptr && GetItemRect(nIndex, &rect) != LB_ERR)
        InvalidateRect(&rect);
}

BOOL CQMXPExCheckList::IsCheckEnabled(int nIndex) const {
    return nIndex >= 0 && nIndex < static_cast<int>(m_arCheckData.size()) &&
           m_arCheckData[static_cast<size_t>(nIndex)] != 0;
}

void CQMXPExCheckList::OnItemInserted(int nIndex) {
    CCheckListBox::OnItemInserted(nIndex);
    m_arCheckData.insert(m_arCheckData.begin() + nIndex, 1);
}

void CQMXPExCheckList::OnItemDeleted(int nIndex) {
    CCheckListBox::OnItemDeleted(nIndex);
    m_arCheckData.erase(m_arCheckData.begin() + nIndex);
}

void CQMXPExCheckList::OnItemsReset() {
    CCheckListBox::OnItemsReset();
    m_arCheckData.clear();
}
