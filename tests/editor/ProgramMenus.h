#pragma once
// The program's menus and property sheets as a user works them with the
// mouse: a command chosen from the menu bar, a tab of a sheet clicked.
#include "ProgramRun.h"
#include "RemoteMemory.h"
#include "UserInput.h"

#include "docking/toolbars/QMXPToolbarButton.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace edtest {

// The main window's menu bar and the tab control of a property sheet.
constexpr int kMenuBarId = 0xE806;
constexpr int kSheetTabId = 0x3020;

// The bar of items inside an open menu's window.
inline HWND MenuItems(HWND popup)
{
    for (HWND child = ::GetWindow(popup, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::SendMessageW(child, TB_BUTTONCOUNT, 0, 0) > 0)
            return child;
    }
    return nullptr;
}

// Whether a library bar's item (a tool bar's button, a menu's item) shows
// disabled. The library's bars answer TB_GETBUTTON with the high word of the
// item's style as its state: its disabled style lands on the bit that the
// common controls' tool bars use for "enabled".
inline bool BarItemDisabled(HWND bar, int index)
{
    return (AskRemote<TBBUTTON>(bar, TB_GETBUTTON, index).fsState & (TBBS_DISABLED >> 16)) != 0;
}

// Whether the bar's item of the command shows checked (pressed); false when
// the bar has no such item.
inline bool BarCommandChecked(HWND bar, UINT command)
{
    const int index = bar ? BarCommandIndex(bar, command) : -1;
    return index >= 0 && (AskRemote<TBBUTTON>(bar, TB_GETBUTTON, WPARAM(index)).fsState & TBSTATE_CHECKED);
}

// A command chosen with the mouse from the menu bar: each menu opened in
// turn until one holds it, then its item clicked. Every menu of the bar drops
// a popup; a loaded machine may take seconds to show it.
inline void ChooseFromMenu(const CProgramRun& program, int command)
{
    HWND menuBar = CProgramRun::FindById(program.Main(), kMenuBarId);
    ASSERT_NE(nullptr, menuBar);
    const int menus = static_cast<int>(::SendMessageW(menuBar, TB_BUTTONCOUNT, 0, 0));
    for (int menu = 0; menu < menus; ++menu) {
        ClickBarItem(menuBar, menu);
        HWND popup = nullptr;
        if (!WaitFor([&] { return (popup = program.FindPopup()) != nullptr && MenuItems(popup); }))
            continue;
        HWND items = MenuItems(popup);
        const int item = BarCommandIndex(items, command);
        if (item >= 0) {
            ClickBarItem(items, item);
            return;
        }
        TapKey(VK_ESCAPE);
        TapKey(VK_ESCAPE);
        ASSERT_TRUE(WaitFor([&] { return !program.FindPopup(); }));
    }
    ADD_FAILURE() << "no menu holds the command " << command;
}

// A click on the tab of a property sheet.
inline void ClickTab(HWND sheet, int index)
{
    HWND tabs = ::GetDlgItem(sheet, kSheetTabId);
    CRemote remote(tabs, sizeof(RECT));
    ASSERT_TRUE(::SendMessageW(tabs, TCM_GETITEMRECT, index, remote.At(0)));
    const RECT rect = remote.Get<RECT>();
    ClickClient(tabs, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

// The page a property sheet shows.
inline HWND CurrentPage(HWND sheet)
{
    return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

}  // namespace edtest
