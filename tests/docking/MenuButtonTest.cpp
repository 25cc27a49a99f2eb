// Menu buttons to and from menu handles, with tear-off ids in their texts;
// the arrow part of a command's menu button; the tear-off ids' range; the
// keyboard manager's tables in the registry and its key lookups.
#include "MenuTestSupport.h"

#include "docking/frames/QMXPKeyHelper.h"
#include "docking/frames/QMXPKeyboardManager.h"
#include "docking/frames/QMXPTearOffManager.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "platform/classlib/Exception.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

const CString kTearOffEdit = CString(static_cast<wchar_t>(1)) + L"12" + CString(static_cast<wchar_t>(1)) + L"Edit";

struct ItemInfo {
    UINT id;
    std::wstring text;
    UINT state;
};
std::vector<ItemInfo> Items(HMENU hMenu) {
    std::vector<ItemInfo> items;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        wchar_t szText[64] = {0};
        ::GetMenuStringW(hMenu, static_cast<UINT>(i), szText, 64, MF_BYPOSITION);
        items.push_back({::GetMenuItemID(hMenu, i), szText, ::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION)});
    }
    return items;
}

TEST(MenuButtonTest, MenuHandlesBothWays) {
    CQMXPTearOffManager manager(10, 20);
    qmxTearOffManager = &manager;
    HMENU hMenu = MakeMenu({{0, L"&File", {{30001, L"&Open"}, {0, nullptr}, {30002, L"E&xit"}, {30003, L"&Close", {}, MF_MENUBREAK}}},
                            {0, kTearOffEdit, {{30004, L"&Copy"}}}});
    ::SetMenuDefaultItem(::GetSubMenu(hMenu, 0), 30002, FALSE);
    {
        CQMXPToolbarMenuButton button(static_cast<UINT>(-1), hMenu, -1, L"Menu");
        ::DestroyMenu(hMenu);
        ASSERT_EQ(button.GetCommands().GetCount(), 2);
        const auto* pFile = static_cast<CQMXPToolbarMenuButton*>(button.GetCommands().GetHead());
        const auto* pEdit = static_cast<CQMXPToolbarMenuButton*>(button.GetCommands().GetTail());
        EXPECT_EQ(std::wstring(pFile->m_strText), L"&File");
        EXPECT_EQ(pEdit->GetTearOffId(), 12u);
        EXPECT_EQ(std::wstring(pEdit->m_strText), L"Edit");
        EXPECT_EQ(manager.GetUseCount(12), 1);

        HMENU hExported = button.CreateMenuHandle();
        ASSERT_NE(hExported, nullptr);
        std::vector<ItemInfo> top = Items(hExported);
        ASSERT_EQ(top.size(), 2u);
        EXPECT_EQ(top[1].text, std::wstring(kTearOffEdit));
        EXPECT_TRUE(top[1].state & MF_MENUBARBREAK);
        HMENU hFile = ::GetSubMenu(hExported, 0);
        const std::vector<ItemInfo> file = Items(hFile);
        ASSERT_EQ(file.size(), 4u);
        EXPECT_EQ(file[0].id, 30001u);
        EXPECT_TRUE(file[1].state & MF_SEPARATOR);
        EXPECT_EQ(file[2].id, 30002u);
        EXPECT_EQ(::GetMenuDefaultItem(hFile, FALSE, 0), 30002u);
        EXPECT_TRUE(file[3].state & MF_MENUBREAK);
        EXPECT_FALSE(file[2].state & MF_MENUBREAK);
        ::DestroyMenu(hExported);
        // A command button without sub-items has no menu.
        EXPECT_EQ(CQMXPToolbarMenuButton(30005, nullptr, -1, L"X").CreateMenuHandle(), nullptr);
    }
    EXPECT_EQ(manager.GetUseCount(12), 0);
    qmxTearOffManager = nullptr;
}

TEST(MenuButtonTest, SubItemsLoadOnlyAsMenuButtons) {
    // A record from another process's data names a plain button among the sub-items.
    CQMXPToolbarMenuButton stored(static_cast<UINT>(-1), nullptr, -1, L"Menu");
    stored.m_listCommands.AddTail(new CQMXPToolbarButton(30001, -1, L"Plain"));
    const std::vector<BYTE> bytes = StoredBytes(stored);
    CQMXPToolbarMenuButton loaded;
    bool bRefused = false;
    try {
        LoadBytes(loaded, bytes);
    } catch (CArchiveException* pException) {
        bRefused = pException->m_cause == CArchiveException::badClass;
        pException->Delete();
    }
    EXPECT_TRUE(bRefused);
    EXPECT_TRUE(loaded.GetCommands().IsEmpty());
}

TEST(TearOffManagerTest, IdsOfARangeAndTheirTexts) {
    CString strText = kTearOffEdit;
    struct Case {
        const wchar_t* text;
        UINT id;
        const wchar_t* rest;
    };
    const CString strMarked = CString(static_cast<wchar_t>(1)) + L"42" + CString(static_cast<wchar_t>(1)) + L"File";
    const CString strInner = strMarked + CString(static_cast<wchar_t>(1)) + L"More";
    for (const Case& c : {Case{strMarked, 42, L"File"}, Case{L"File", 0, L"File"}, Case{L"", 0, L""},
                          Case{strInner, 42, L"More"}}) {
        CString str = c.text;
        EXPECT_EQ(CQMXPTearOffManager::Parse(str), c.id);
        EXPECT_EQ(std::wstring(str), c.rest);
    }
    CString strBuilt = L"File";
    CQMXPTearOffManager::Build(42, strBuilt);
    EXPECT_EQ(std::wstring(strBuilt), std::wstring(strMarked));

    CQMXPTearOffManager two(100, 101);
    EXPECT_EQ(two.GetFreeTearOffID(), 100u);
    EXPECT_EQ(two.GetFreeTearOffID(), 101u);
    EXPECT_EQ(two.GetFreeTearOffID(), 0u);
    two.SetInUse(100, FALSE);
    two.SetInUse(100, FALSE);
    EXPECT_EQ(two.GetUseCount(100), 0);
    two.SetInUse(500);
    EXPECT_EQ(two.GetUseCount(500), 0);
    two.SetInUse(100);
    // A menu frees the ids it names; none frees them all.
    HMENU hMenu = MakeMenu({{0, L"\x01" L"101\x01" L"Tools", {{30001, L"A"}}}});
    two.Reset(hMenu);
    EXPECT_EQ(two.GetFreeTearOffID(), 101u);
    two.Reset(nullptr);
    EXPECT_EQ(two.GetFreeTearOffID(), 100u);
    ::DestroyMenu(hMenu);
    // A last id below the first is no range (not four thousand million ids).
    CQMXPTearOffManager inverted(200, 100);
    EXPECT_EQ(inverted.GetFreeTearOffID(), 0u);
    EXPECT_FALSE(inverted.IsDynamicID(150));
    // Marked popups get ids written into their texts.
    CQMXPTearOffManager three(7, 7);
    hMenu = MakeMenu({{0, L"Tools", {{30001, L"A"}}, MF_MENUBARBREAK}, {0, L"More", {{30002, L"B"}}, MF_MENUBARBREAK}});
    three.SetupTearOffMenus(hMenu);
    const std::vector<ItemInfo> items = Items(hMenu);
    EXPECT_EQ(items[0].text, std::wstring(L"\x01" L"7\x01" L"Tools"));
    EXPECT_EQ(items[1].text, L"More");
    ::DestroyMenu(hMenu);
}

class MenuButtonBarTest : public MenuTest {};

TEST_F(MenuButtonBarTest, TheArrowPartOpensThePopupTheRestRunsTheCommand) {
    CQMXPToolBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE840));
    HMENU hMenu = MakeMenu({{30002, L"&More"}});
    auto* pButton = new CQMXPToolbarMenuButton(30001, hMenu, -1, L"Run");
    ::DestroyMenu(hMenu);
    pButton->m_bText = TRUE;
    bar.InsertButton(pButton);
    bar.EnableDocking(0xF000);
    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    const CRect rect = pButton->GetRect();
    const int nArrow = CQMXPMenuGlyphs::GetSize().cx + 2;
    for (const int x : {rect.right - nArrow, rect.right - 1, rect.right - nArrow - 1, rect.left + 2}) {
        Log().clear();
        const bool bArrow = x >= rect.right - nArrow;
        CPoint point(x, rect.CenterPoint().y);
        CPoint ptScreen = point;
        bar.ClientToScreen(&ptScreen);
        CCursorAt cursor(ptScreen);
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        EXPECT_EQ(pButton->IsDroppedDown() != FALSE, bArrow) << x;
        if (!bArrow)
            bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        Pump();
        EXPECT_EQ(LoggedCommands(), bArrow ? std::vector<UINT>{} : std::vector<UINT>{30001}) << x;
        CloseAllPopups();
    }
    bar.DestroyWindow();
}

// The test frame's tables: a default one (Ctrl+S, Alt+T no-invert) and another.
class KeyboardManagerTest : public MenuTest {
protected:
    HACCEL Table(std::vector<ACCEL> entries) {
        return ::CreateAcceleratorTableW(entries.data(), static_cast<int>(entries.size()));
    }
};

TEST_F(KeyboardManagerTest, TablesInTheRegistryAndKeyLookups) {
    m_pFrame->m_hAccelTable = Table({{FVIRTKEY | FCONTROL, 'S', 30001}, {FVIRTKEY | FALT | FNOINVERT, 'T', 30002}});
    // An Alt key that does not invert the menu is still the frame's key.
    EXPECT_TRUE(CQMXPKeyboardManager::IsKeyHandled('T', FVIRTKEY | FALT, m_pFrame, TRUE));
    EXPECT_FALSE(CQMXPKeyboardManager::IsKeyHandled('T', FVIRTKEY, m_pFrame, TRUE));
    CString strKey;
    EXPECT_TRUE(CQMXPKeyboardManager::FindDefaultAccelerator(30001, strKey, m_pFrame, TRUE));
    EXPECT_EQ(std::wstring(strKey), std::wstring(CQMXPKeyHelper::GetKeyName(VK_CONTROL) + L"+S"));

    // A new table replaces the old one, which is gone, and the lookups see the new keys.
    CQMXPKeyboardManager manager;
    HACCEL hOld = m_pFrame->m_hAccelTable;
    ACCEL replaced[] = {{FVIRTKEY | FCONTROL, 'R', 30001}};
    ASSERT_TRUE(manager.UpdateAcceleratorTable(nullptr, replaced, 1, m_pFrame));
    EXPECT_NE(m_pFrame->m_hAccelTable, hOld);
    EXPECT_EQ(::CopyAcceleratorTableW(hOld, nullptr, 0), 0);
    EXPECT_TRUE(CQMXPKeyboardManager::FindDefaultAccelerator(30001, strKey, m_pFrame, TRUE));
    EXPECT_EQ(std::wstring(strKey), std::wstring(CQMXPKeyHelper::GetKeyName(VK_CONTROL) + L"+R"));

    // Stored as "Accelerators" of 6-byte records below "...QMXKeyboard-0".
    const std::wstring strProfile = L"Software\\OstraTallierDockingTest\\Keys\\";
    ACCEL three[] = {{FVIRTKEY | FCONTROL, 'A', 30001}, {FVIRTKEY, VK_F5, 30002}, {FVIRTKEY | FSHIFT, 'B', 30003}};
    ASSERT_TRUE(manager.UpdateAcceleratorTable(nullptr, three, 3, m_pFrame));
    EXPECT_TRUE(manager.SaveState((L"SOFTWARE\\" + strProfile).c_str(), m_pFrame));
    const std::vector<BYTE> stored = RawRegistryValue(L"SOFTWARE\\" + strProfile + L"QMXKeyboard-0", L"Accelerators");
    ASSERT_EQ(stored.size(), 18u);
    EXPECT_EQ(std::vector<BYTE>(stored.begin() + 6, stored.begin() + 12),
              (std::vector<BYTE>{FVIRTKEY, 0, VK_F5, 0, 0x32, 0x75}));
    // A command no bar may carry loads as 0.
    CQMXPToolBar::m_lstUnpermittedCommands.AddTail(30002);
    ASSERT_TRUE(manager.LoadState((L"SOFTWARE\\" + strProfile).c_str(), m_pFrame));
    CQMXPToolBar::m_lstUnpermittedCommands.RemoveAll();
    ACCEL loaded[3] = {};
    ASSERT_EQ(::CopyAcceleratorTableW(m_pFrame->m_hAccelTable, loaded, 3), 3);
    EXPECT_EQ(loaded[0].cmd, 30001);
    EXPECT_EQ(loaded[1].cmd, 0);
    EXPECT_EQ(loaded[1].key, VK_F5);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Software\\OstraTallierDockingTest");
}

}  // namespace
