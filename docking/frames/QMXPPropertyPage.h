#pragma once
// CQMXPPropertyPage: the library's property-page base for pages that open
// the library's popup menus; like CQMXPDialog it is told which popup is open.
#include "platform/classlib/PropertyPage.h"

class CQMXPPopupMenu;

class CQMXPPropertyPage : public CPropertyPage {
    DECLARE_DYNAMIC(CQMXPPropertyPage)
public:
    explicit CQMXPPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0) : CPropertyPage(nIDTemplate, nIDCaption) {}

    void SetActiveMenu(CQMXPPopupMenu* pMenu) { m_pActivePopupMenu = pMenu; }
    CQMXPPopupMenu* GetActiveMenu() const { return m_pActivePopupMenu; }

protected:
    CQMXPPopupMenu* m_pActivePopupMenu = nullptr;
};
