#pragma once
// CQMXPOptionsPage: the "Options" page of the customisation sheet: screen
// tips, shortcut keys in them, large icons, the alternative look, short
// menus; every change takes effect at once.
#include "platform/classlib/PropertyPage.h"

class CQMXPOptionsPage : public CPropertyPage {
    DECLARE_DYNAMIC(CQMXPOptionsPage)
public:
    enum { IDD = 16137 };
    explicit CQMXPOptionsPage(BOOL bIsMenuBarExist = FALSE);

    BOOL m_bShowTooltips;
    BOOL m_bShowShortcutKeys;
    BOOL m_bRecentlyUsedMenus;
    BOOL m_bShowAllMenusDelay;
    BOOL m_bLargeIcons;
    BOOL m_bLook2000;
    BOOL m_bIsMenuBarExist;

protected:
    BOOL OnInitDialog() override;
    // The members read back from the check boxes.
    void ReadChecks();
    void ShowControl(int nID, BOOL bShow);
    afx_msg void OnShowTooltips();
    afx_msg void OnShowShortcutKeys();
    afx_msg void OnLargeIcons();
    afx_msg void OnLook2000();
    afx_msg void OnRecentlyUsedMenus();
    afx_msg void OnShowAllMenusDelay();
    afx_msg void OnResetUsageData();

    DECLARE_MESSAGE_MAP()
};
