#pragma once
// The menus' tests: a library MDI frame that handles a range of commands
// and logs them, menus made in code, the popup menus that open, a work
// area of the tests' choosing, and pumping for a time.
#include "DockLayoutSupport.h"

#include "docking/toolbars/QMXPPopupMenu.h"

#include <string>
#include <vector>

namespace docking_test {

// The frame logs "cmd:<id>" for the tests' commands and the menus reset.
class CMenuTestFrame : public CDockTestMDIFrame {
    DECLARE_DYNCREATE(CMenuTestFrame)
protected:
    afx_msg void OnMenuCommand(UINT nID) { Record(L"cmd:" + std::to_wstring(nID)); }
    afx_msg LRESULT OnResetMenu(WPARAM wParam, LPARAM) {
        Record(L"resetmenu:" + std::to_wstring(wParam));
        return 0;
    }
    // The tool bars' context menu, as the program's frame shows it.
    afx_msg LRESULT OnToolBarContextMenu(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// One item of a menu made in code: a command, a separator (id 0) or a sub-menu.
struct MenuItem {
    UINT id;
    const wchar_t* text;
    std::vector<MenuItem> sub = {};
    UINT flags = 0;
};
HMENU MakeMenu(const std::vector<MenuItem>& items);

// The commands logged so far.
std::vector<UINT> LoggedCommands();
// Dispatches messages for the time (timers fire meanwhile).
void PumpFor(DWORD dwMilliseconds);

// The menu or separator ("-") texts of a popup's items.
std::vector<std::wstring> ItemTexts(CQMXPPopupMenu* pPopup);

class MenuTest : public DockLayoutTest {
protected:
    void SetUp() override;
    void TearDown() override;
    CDockTestMDIFrame* NewFrame() override { return new CMenuTestFrame; }

    // A popup of the menu at the point, opened for the frame (owned by the popup).
    CQMXPPopupMenu* OpenPopup(HMENU hMenu, CPoint point);
    // The popups that are open, the active one first, then its parents.
    static std::vector<CQMXPPopupMenu*> OpenPopups();
    static void CloseAllPopups();
    // The popup's rectangle on the screen without its shadow.
    static CRect MenuRect(CQMXPPopupMenu* pPopup);
    CRect WorkArea() const { return CQMXPPopupMenu::WorkAreaAt(CPoint(0, 0)); }
    // The frame moved so that its window fills the rectangle.
    void PlaceFrame(const CRect& rect);

    // The work area the popups see while set.
    static CRect s_rectWork;
    static CRect InjectedWorkArea(CPoint) { return s_rectWork; }

private:
    int m_nSavedAnimation = 0;
    BOOL m_bSavedShadows = TRUE;
    BOOL m_bSavedSounds = TRUE;
};

}  // namespace docking_test
