// The menu bar in the test MDI frame: a button per menu, a maximised child's
// system-menu and window buttons, the buttons each menu keeps, its registry
// state, the drawing of a menu from its cache, and keys; the show-all and
// window buttons' sizes.
#include "MenuTestSupport.h"

#include "docking/frames/QMXPKeyHelper.h"
#include "docking/frames/QMXPMenuPage.h"
#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/frames/QMXPToolbarMenuButtonsButton.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPShowAllButton.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "docking/toolbars/QMXPToolbarSystemMenuButton.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/MDIChildWnd.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace docking_test;

namespace {

// A document window that logs the system commands it gets and keeps them.
class CLoggingChild : public CMDIChildWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_SYSCOMMAND)
            return CMDIChildWnd::WindowProc(message, wParam, lParam);
        Record(L"syscmd:" + std::to_wstring(wParam & 0xFFF0));
        return 0;
    }
};

class MenuBarTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        ASSERT_TRUE(m_menuBar.Create(m_pFrame, 0x50402808, AFX_IDW_MENUBAR));
        m_menuBar.EnableDocking(0xF000);
        m_pFrame->DockControlBar(&m_menuBar);
        // The frame's default menu: a document window without a menu of its own shows it.
        HMENU hMenu = MakeMenu({{0, L"&File", {{30001, L"&Open"}}},
                                {0, L"&Edit", {{30002, L"&Copy"}}},
                                {0, L"&View", {{30003, L"&Pages"}}},
                                {0, L"&Window", {{30004, L"&Tile"}}},
                                {0, L"&Help", {{30005, L"&About"}}}});
        ::DestroyMenu(m_pFrame->m_hMenuDefault);
        m_pFrame->m_hMenuDefault = hMenu;
        m_pFrame->GetFrameImpl().m_hDefaultMenu = hMenu;
        m_menuBar.CreateFromMenu(hMenu, TRUE);
        m_pFrame->RecalcLayout();
    }
    void TearDown() override {
        m_menuBar.DestroyWindow();
        MenuTest::TearDown();
    }
    CQMXPMenuBar m_menuBar;
};

TEST_F(MenuBarTest, MenusAndTheMaximisedChildsButtons) {
    ASSERT_EQ(m_menuBar.GetCount(), 5);
    const wchar_t* names[] = {L"&File", L"&Edit", L"&View", L"&Window", L"&Help"};
    for (int i = 0; i < 5; ++i) {
        const CQMXPToolbarButton* pButton = m_menuBar.GetButton(i);
        EXPECT_TRUE(pButton->IsKindOf(RUNTIME_CLASS(CQMXPToolbarMenuButton)));
        EXPECT_TRUE(pButton->m_bText);
        EXPECT_EQ(std::wstring(pButton->m_strText), names[i]);
    }

    auto* pChild = new CLoggingChild;
    ASSERT_TRUE(pChild->Create(nullptr, L"Doc", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                               m_pFrame));
    for (const bool bCloseGreyed : {false, true}) {
        ::EnableMenuItem(::GetSystemMenu(pChild->m_hWnd, FALSE), SC_CLOSE, bCloseGreyed ? MF_GRAYED : MF_ENABLED);
        m_menuBar.SetMaximizeMode(TRUE, pChild);
        ASSERT_EQ(m_menuBar.GetCount(), 9);
        EXPECT_TRUE(m_menuBar.GetButton(0)->IsKindOf(RUNTIME_CLASS(CQMXPToolbarSystemMenuButton)));
        CRect rectClient;
        m_menuBar.GetClientRect(&rectClient);
        int nRight = rectClient.right;
        const UINT commands[] = {SC_CLOSE, SC_RESTORE, SC_MINIMIZE};
        for (int i = 0; i < 3; ++i) {
            auto* pButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButtonsButton, m_menuBar.GetButton(8 - i));
            ASSERT_NE(pButton, nullptr);
            EXPECT_EQ(pButton->m_uiSystemCommand, commands[i]);
            EXPECT_EQ(pButton->GetRect().right, nRight);
            EXPECT_EQ(pButton->GetRect().Size(), m_menuBar.GetSystemButtonSize());
            nRight = pButton->GetRect().left - 1;
        }
        EXPECT_EQ((m_menuBar.GetButton(8)->m_nStyle & TBBS_DISABLED) != 0, bCloseGreyed);

        // A double click on the child's icon closes it unless Close is greyed.
        Log().clear();
        const CPoint ptIcon = m_menuBar.GetButton(0)->GetRect().CenterPoint();
        m_menuBar.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(ptIcon.x, ptIcon.y));
        CloseAllPopups();
        EXPECT_EQ(Log(), bCloseGreyed ? std::vector<std::wstring>{} : std::vector<std::wstring>{L"syscmd:61536"});
        // A window button sends its command to the child.
        const CPoint ptMin = m_menuBar.GetButton(6)->GetRect().CenterPoint();
        m_menuBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptMin.x, ptMin.y));
        m_menuBar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptMin.x, ptMin.y));
        ASSERT_FALSE(Log().empty());
        EXPECT_EQ(Log().back(), L"syscmd:61472");
        m_menuBar.SetMaximizeMode(FALSE);
        EXPECT_EQ(m_menuBar.GetCount(), 5);
    }
    pChild->DestroyWindow();
}

TEST_F(MenuBarTest, EachMenuKeepsItsButtonsAndItsRegistryState) {
    auto* pTemplate = new CMultiDocTemplate(IDR_DOCKTEST_DOC, RUNTIME_CLASS(CDockTestDoc), RUNTIME_CLASS(CMDIChildWnd),
                                            RUNTIME_CLASS(CDockTestView));
    m_app.AddDocTemplate(pTemplate);
    ASSERT_NE(pTemplate->m_hMenuShared, nullptr);
    m_menuBar.SetDefaultMenuResource(IDR_DOCKTEST_MAIN);
    HMENU hDefault = m_menuBar.GetHMenu();
    // The user renamed a menu; another document's menu and back restores it.
    m_menuBar.GetButton(0)->m_strText = L"&Reports";
    m_menuBar.CreateFromMenu(pTemplate->m_hMenuShared);
    EXPECT_EQ(m_menuBar.GetCount(), 2);
    EXPECT_EQ(std::wstring(m_menuBar.GetButton(1)->m_strText), L"&View");
    m_menuBar.CreateFromMenu(hDefault);
    EXPECT_EQ(m_menuBar.GetCount(), 5);
    EXPECT_EQ(std::wstring(m_menuBar.GetButton(0)->m_strText), L"&Reports");

    const std::wstring strProfile = L"SOFTWARE\\OstraTallierDockingTest\\MenuBar\\";
    ASSERT_TRUE(m_menuBar.SaveState(strProfile.c_str()));
    for (const wchar_t* key : {L"QMXToolBar-593980", L"QMXToolBar-593984a3a"}) {
        EXPECT_FALSE(RawRegistryValue(strProfile + key, L"Buttons").empty()) << key;
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\OstraTallierDockingTest");
    // Nothing stored: each menu is rebuilt and the frame told.
    Log().clear();
    m_menuBar.LoadState(strProfile.c_str());
    EXPECT_EQ(Log(), (std::vector<std::wstring>{L"resetmenu:19002", L"resetmenu:19001"}));
    EXPECT_EQ(std::wstring(m_menuBar.GetButton(0)->m_strText), L"&File");

    // A bar destroys the menu it shows, but not a document type's.
    for (const bool bTemplateMenu : {false, true}) {
        HMENU hMenu = bTemplateMenu ? pTemplate->m_hMenuShared : MakeMenu({{0, L"&Tools", {{30001, L"&Run"}}}});
        auto* pBar = new CQMXPMenuBar;
        pBar->CreateFromMenu(hMenu);
        delete pBar;
        EXPECT_EQ(::IsMenu(hMenu) != FALSE, bTemplateMenu);
    }
}

// Counts the paints of a window by taking its window procedure over.
class CPaintCounter {
public:
    explicit CPaintCounter(HWND hWnd) : m_hWnd(hWnd) {
        s_count = 0;
        s_previous = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CPaintCounter::Proc)));
    }
    ~CPaintCounter() { ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_previous)); }
    int Count() const { return s_count; }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PAINT)
            ++s_count;
        return ::CallWindowProcW(s_previous, hWnd, message, wParam, lParam);
    }
    HWND m_hWnd;
    static inline int s_count = 0;
    static inline WNDPROC s_previous = nullptr;
};

TEST_F(MenuBarTest, AMenuFromTheCacheIsDrawnAsOftenAsAMenuBuiltAfresh) {
    m_pFrame->ShowWindow(SW_SHOW);
    Pump();
    ASSERT_TRUE(m_menuBar.IsWindowVisible());
    HMENU hDefault = m_menuBar.GetHMenu();
    HMENU hOther = MakeMenu({{0, L"&Tools", {{30006, L"&Run"}}}, {0, L"&Reports", {{30007, L"&Print"}}}});
    m_menuBar.CreateFromMenu(hOther);
    m_menuBar.CreateFromMenu(hDefault);
    // Each switch starts from the other menu; the first takes the buttons
    // from the cache, the second builds them afresh.
    struct Switch {
        const char* name;
        HMENU hFrom;
        HMENU hTo;
        int count;
    };
    const Switch switches[] = {{"to the other menu", hDefault, hOther, 2}, {"to the default menu", hOther, hDefault, 5}};
    for (const Switch& sw : switches) {
        int paints[2] = {0, 0};
        std::vector<CRect> rects[2];
        for (const BOOL bForceUpdate : {FALSE, TRUE}) {
            m_menuBar.CreateFromMenu(sw.hFrom);
            Pump();
            {
                CPaintCounter counter(m_menuBar.GetSafeHwnd());
                m_menuBar.CreateFromMenu(sw.hTo, FALSE, bForceUpdate);
                paints[bForceUpdate] = counter.Count();
            }
            ASSERT_EQ(m_menuBar.GetCount(), sw.count) << sw.name;
            for (int i = 0; i < sw.count; ++i)
                rects[bForceUpdate].push_back(m_menuBar.GetButton(i)->GetRect());
        }
        EXPECT_GT(paints[TRUE], 0) << sw.name;
        EXPECT_EQ(paints[FALSE], paints[TRUE]) << sw.name;
        EXPECT_EQ(rects[FALSE], rects[TRUE]) << sw.name;
        for (const CRect& rect : rects[FALSE])
            EXPECT_FALSE(rect.IsRectEmpty()) << sw.name;
    }
    m_menuBar.CreateFromMenu(hDefault);
    ::DestroyMenu(hOther);
}

TEST_F(MenuBarTest, KeysMoveAlongTheMenus) {
    m_menuBar.SendMessage(WM_SETFOCUS);
    ASSERT_EQ(m_menuBar.GetHighlightedButton(), m_menuBar.GetButton(0));
    MSG msg = {m_menuBar.GetSafeHwnd(), WM_KEYDOWN, VK_LEFT, 0, 0, {0, 0}};
    EXPECT_TRUE(m_menuBar.PreTranslateMessage(&msg));
    EXPECT_EQ(m_menuBar.GetHighlightedButton(), m_menuBar.GetButton(4));
    msg.wParam = VK_RIGHT;
    EXPECT_TRUE(m_menuBar.PreTranslateMessage(&msg));
    EXPECT_EQ(m_menuBar.GetHighlightedButton(), m_menuBar.GetButton(0));
    // Down opens the menu with its first item selected; Right moves on to the next menu.
    msg.wParam = VK_DOWN;
    EXPECT_TRUE(m_menuBar.PreTranslateMessage(&msg));
    CQMXPPopupMenu* pFile = CQMXPPopupMenu::GetActiveMenu();
    ASSERT_NE(pFile, nullptr);
    EXPECT_EQ(pFile->GetSelItem()->m_nID, 30001u);
    pFile->SendMessage(WM_KEYDOWN, VK_RIGHT);
    CQMXPPopupMenu* pEdit = CQMXPPopupMenu::GetActiveMenu();
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->GetParentButton(), m_menuBar.GetButton(1));
    // The mouse over another menu opens it instead.
    const CPoint ptView = m_menuBar.GetButton(2)->GetRect().CenterPoint();
    m_menuBar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptView.x, ptView.y));
    ASSERT_NE(CQMXPPopupMenu::GetActiveMenu(), nullptr);
    EXPECT_EQ(CQMXPPopupMenu::GetActiveMenu()->GetParentButton(), m_menuBar.GetButton(2));
    // A click elsewhere in the frame closes the menu and goes on to its window.
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    MSG click = {m_pFrame->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rectClient.right - 5, rectClient.bottom - 5),
                 0, {0, 0}};
    EXPECT_FALSE(m_pFrame->PreTranslateMessage(&click));
    Pump();
    EXPECT_EQ(CQMXPPopupMenu::GetActiveMenu(), nullptr);
}

TEST(MenuItemSizeTest, ShowAllAndWindowButtons) {
    CClientDC dc(nullptr);
    CQMXPShowAllButton showAll;
    EXPECT_EQ(CSize(showAll.OnCalcSize(&dc, CSize(23, 22), TRUE)), CSize(50, 15));
    const BOOL bSavedLarge = CQMXPToolBar::IsLargeIcons();
    for (const BOOL bLarge : {FALSE, TRUE}) {
        CQMXPToolBar::m_bLargeIcons = bLarge;
        CQMXPToolbarMenuButtonsButton button(SC_CLOSE);
        EXPECT_EQ(CSize(button.OnCalcSize(&dc, CSize(46, 44), TRUE)),
                  CSize(::GetSystemMetrics(SM_CXMENUSIZE), ::GetSystemMetrics(SM_CYMENUSIZE)));
    }
    CQMXPToolBar::m_bLargeIcons = bSavedLarge;

    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(showAll.OnToolHitTest(nullptr, &info));
    EXPECT_EQ(std::wstring(info.lpszText),
              L"Expand (" + std::wstring(CQMXPKeyHelper::GetKeyName(VK_CONTROL) + L"+" + CQMXPKeyHelper::GetKeyName(VK_DOWN)) + L")");
    std::free(info.lpszText);
}

// While the customisation sheet's Menu page customises the bar, a switch of
// the active document type (the MDI client's menu message) shows on the
// page: its list selects that type's menu, or the default one. Closing the
// sheet makes the bar forget the page.
TEST_F(MenuBarTest, TheMenuPageFollowsTheActiveDocumentType) {
    auto* pTemplate = new CMultiDocTemplate(IDR_DOCKTEST_DOC, RUNTIME_CLASS(CDockTestDoc), RUNTIME_CLASS(CMDIChildWnd),
                                            RUNTIME_CLASS(CDockTestView));
    m_app.AddDocTemplate(pTemplate);
    ASSERT_NE(pTemplate->m_hMenuShared, nullptr);
    HMENU hDefault = m_menuBar.GetHMenu();
    auto* pSheet = new CQMXPToolbarCustomize(m_pFrame, TRUE, 0x1F);
    ASSERT_TRUE(pSheet->Create());
    Pump();
    CQMXPMenuPage* pPage = nullptr;
    for (int i = 0; i < pSheet->GetPageCount() && pPage == nullptr; ++i) {
        pPage = DYNAMIC_DOWNCAST(CQMXPMenuPage, pSheet->GetPage(i));
        if (pPage != nullptr)
            pSheet->SetActivePage(i);
    }
    ASSERT_NE(pPage, nullptr);
    Pump();
    EXPECT_EQ(m_menuBar.GetMenuPage(), pPage);
    HWND hList = ::GetDlgItem(pPage->m_hWnd, 16621);
    ASSERT_NE(hList, nullptr);
    auto selected = [hList] {
        const LRESULT iSel = ::SendMessageW(hList, CB_GETCURSEL, 0, 0);
        return iSel < 0 ? reinterpret_cast<CDocTemplate*>(-1)
                        : reinterpret_cast<CDocTemplate*>(::SendMessageW(hList, CB_GETITEMDATA, iSel, 0));
    };
    EXPECT_EQ(selected(), nullptr) << "the default menu";

    const struct {
        HMENU hMenu;
        CDocTemplate* pTemplate;
    } switches[] = {{pTemplate->m_hMenuShared, pTemplate}, {hDefault, nullptr}, {pTemplate->m_hMenuShared, pTemplate}};
    for (const auto& step : switches) {
        ::SendMessageW(m_pFrame->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(step.hMenu), 0);
        EXPECT_EQ(m_menuBar.GetHMenu(), step.hMenu);
        EXPECT_EQ(selected(), step.pTemplate);
    }
    pSheet->DestroyWindow();
    Pump();
    EXPECT_EQ(m_menuBar.GetMenuPage(), nullptr);
    // The sheet gone, the bar shows the frame's real menu again.
    EXPECT_EQ(m_menuBar.GetHMenu(), pTemplate->m_hMenuShared);
}

}  // namespace
