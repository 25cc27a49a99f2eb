// The customisation sheet's Keyboard page (with a keyboard manager the test
// makes) and Menu page (with a context-menu manager, on a frame without a
// menu bar), driven by their controls' notifications.
#include "CanvasTestSupport.h"
#include "MenuTestSupport.h"

#include "docking/frames/QMXPContextMenuManager.h"
#include "docking/frames/QMXPKeyboardManager.h"
#include "docking/frames/QMXPKeyboardPage.h"
#include "docking/frames/QMXPMenuPage.h"
#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/MDIChildWnd.h"
#include "platform/classlib/WinThread.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

constexpr UINT kOpen = 30001;
constexpr UINT kUndo = 30002;
// A command no menu holds.
constexpr UINT kUnknown = 30050;

CString ItemText(CWnd* pPage, int nID) {
    CString str;
    pPage->GetDlgItemText(nID, str);
    return str;
}

void Notify(CWnd* pPage, int nID, WORD wCode) {
    pPage->SendMessage(WM_COMMAND, MAKEWPARAM(nID, wCode),
                       reinterpret_cast<LPARAM>(::GetDlgItem(pPage->GetSafeHwnd(), nID)));
}

std::vector<ACCEL> Entries(HACCEL hAccel) {
    std::vector<ACCEL> entries(static_cast<size_t>(::CopyAcceleratorTableW(hAccel, nullptr, 0)));
    if (!entries.empty())
        ::CopyAcceleratorTableW(hAccel, entries.data(), static_cast<int>(entries.size()));
    return entries;
}

// The key pressed in the capture box, as the message loop hands it on:
// a click, Ctrl held, then the key.
void PressCtrlKey(CKeyAssign& wndKey, WORD wKey) {
    for (const auto& m : {MSG{wndKey.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0, 0, {}},
                          MSG{wndKey.GetSafeHwnd(), WM_KEYDOWN, VK_CONTROL, 0, 0, {}},
                          MSG{wndKey.GetSafeHwnd(), WM_KEYDOWN, wKey, 0, 0, {}}}) {
        MSG msg = m;
        EXPECT_TRUE(AfxGetThread()->PreTranslateMessage(&msg));
    }
}

class CustomizeMenuKeyboardTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        m_hMenu = MakeMenu({{0, L"&File", {{kOpen, L"&Open"}}}, {0, L"&Edit", {{kUndo, L"&Undo"}}}});
        m_hOldMenu = m_pFrame->m_hMenuDefault;
        m_pFrame->m_hMenuDefault = m_hMenu;
        m_hOldAccel = m_pFrame->m_hAccelTable;
        ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'S', kOpen}, {FVIRTKEY | FCONTROL, 'Q', kUnknown}};
        m_pFrame->m_hAccelTable = ::CreateAcceleratorTableW(keys, 2);
    }
    void TearDown() override {
        if (g_pWndCustomize != nullptr)
            g_pWndCustomize->DestroyWindow();
        Pump();
        ::DestroyAcceleratorTable(m_pFrame->m_hAccelTable);
        m_pFrame->m_hAccelTable = m_hOldAccel;
        m_pFrame->m_hMenuDefault = m_hOldMenu;
        ::DestroyMenu(m_hMenu);
        MenuTest::TearDown();
    }
    CQMXPToolbarCustomize* OpenSheet() {
        auto* pSheet = new CQMXPToolbarCustomize(m_pFrame, TRUE, 0x1F);
        if (!pSheet->Create())
            return nullptr;
        Pump();
        return pSheet;
    }
    CPropertyPage* ShowPage(CQMXPToolbarCustomize* pSheet, CRuntimeClass* pClass) {
        for (int i = 0; i < pSheet->GetPageCount(); ++i) {
            if (pSheet->GetPage(i)->IsKindOf(pClass)) {
                pSheet->SetActivePage(i);
                Pump();
                return pSheet->GetPage(i);
            }
        }
        return nullptr;
    }
    void Screenshot(CQMXPToolbarCustomize* pSheet, const CRect& rectMore, const wchar_t* lpszName) {
        pSheet->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
        CRect rect;
        pSheet->GetWindowRect(&rect);
        rect.UnionRect(&rect, &rectMore);
        EXPECT_TRUE(SaveScreen(rect, lpszName));
    }

    HMENU m_hMenu = nullptr;
    HMENU m_hOldMenu = nullptr;
    HACCEL m_hOldAccel = nullptr;
};

TEST_F(CustomizeMenuKeyboardTest, TheKeyboardPageShowsWhoseKeyItIsAndAssignsOnlyFreeKeys) {
    CQMXPToolbarCustomize* pSheet = OpenSheet();
    ASSERT_NE(pSheet, nullptr);
    // Without a keyboard manager there is no page for keys.
    EXPECT_EQ(ShowPage(pSheet, RUNTIME_CLASS(CQMXPKeyboardPage)), nullptr);
    pSheet->SendMessage(WM_COMMAND, IDCANCEL);
    Pump();

    CQMXPKeyboardManager manager;
    qmxKeyboardManager = &manager;
    pSheet = OpenSheet();
    ASSERT_NE(pSheet, nullptr);
    auto* pPage = static_cast<CQMXPKeyboardPage*>(ShowPage(pSheet, RUNTIME_CLASS(CQMXPKeyboardPage)));
    ASSERT_NE(pPage, nullptr);
    pPage->m_wndCategoryList.SetCurSel(pPage->m_wndCategoryList.FindStringExact(-1, L"Edit"));
    Notify(pPage, 16601, CBN_SELCHANGE);
    ASSERT_EQ(pPage->m_wndCommandsList.GetCount(), 1);
    EXPECT_EQ(pPage->m_pSelButton->m_nID, kUndo);
    EXPECT_EQ(pPage->m_wndCurrentKeysList.GetCount(), 0);

    const struct {
        WORD wKey;
        const wchar_t* assignedTo;
        BOOL bCanAssign;
    } keys[] = {{'S', L"Open", FALSE}, {'Q', L"????", FALSE}, {'U', L"[Unassigned]", TRUE}};
    for (const auto& k : keys) {
        PressCtrlKey(pPage->m_wndNewKey, k.wKey);
        EXPECT_EQ(ItemText(pPage, 16527), CString(k.assignedTo)) << k.wKey;
        EXPECT_TRUE(pPage->m_wndAssignedToTitle.IsWindowVisible()) << k.wKey;
        EXPECT_EQ(pPage->m_wndAssignButton.IsWindowEnabled() != FALSE, k.bCanAssign != FALSE) << k.wKey;
    }
    Screenshot(pSheet, CRect(), L"customize_keyboard_page");

    // Ctrl+U goes to Undo in the frame's table, and is listed as its key.
    Notify(pPage, 16645, BN_CLICKED);
    std::vector<ACCEL> entries = Entries(m_pFrame->m_hAccelTable);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2].key, 'U');
    EXPECT_EQ(entries[2].cmd, kUndo);
    ASSERT_EQ(pPage->m_wndCurrentKeysList.GetCount(), 1);
    EXPECT_FALSE(pPage->m_wndAssignButton.IsWindowEnabled());
    // Removed again, the command has no key left.
    pPage->m_wndCurrentKeysList.SetCurSel(0);
    Notify(pPage, 16643, LBN_SELCHANGE);
    Notify(pPage, 16646, BN_CLICKED);
    EXPECT_EQ(pPage->m_wndCurrentKeysList.GetCount(), 0);
    EXPECT_EQ(Entries(m_pFrame->m_hAccelTable).size(), 2u);

    // A document type whose table holds no keys gets a table of one.
    CMultiDocTemplate docType(IDR_DOCKTEST_DOC, RUNTIME_CLASS(CDockTestDoc), RUNTIME_CLASS(CMDIChildWnd),
                              RUNTIME_CLASS(CDockTestView));
    const int iDocType = pPage->m_wndViewTypeList.AddString(L"Pane");
    pPage->m_wndViewTypeList.SetItemData(iDocType, reinterpret_cast<DWORD_PTR>(&docType));
    pPage->m_wndViewTypeList.SetCurSel(iDocType);
    Notify(pPage, 16642, CBN_SELCHANGE);
    EXPECT_EQ(pPage->m_nAccelSize, 0);
    PressCtrlKey(pPage->m_wndNewKey, 'S');
    EXPECT_EQ(ItemText(pPage, 16527), CString(L"[Unassigned]"));
    Notify(pPage, 16645, BN_CLICKED);
    entries = Entries(docType.m_hAccelTable);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].cmd, kUndo);
    EXPECT_EQ(Entries(m_pFrame->m_hAccelTable).size(), 2u);
    // The table's only key stays: a table cannot be left without keys.
    pPage->m_wndCurrentKeysList.SetCurSel(0);
    Notify(pPage, 16643, LBN_SELCHANGE);
    Notify(pPage, 16646, BN_CLICKED);
    EXPECT_EQ(pPage->m_wndCurrentKeysList.GetCount(), 1);
    EXPECT_EQ(Entries(docType.m_hAccelTable).size(), 1u);

    pSheet->SendMessage(WM_COMMAND, IDCANCEL);
    Pump();
    qmxKeyboardManager = nullptr;
}

TEST_F(CustomizeMenuKeyboardTest, TheMenuPageWithoutAMenuBarEditsContextMenusAndAnimationsWhenItCloses) {
    CQMXPContextMenuManager menus;
    ASSERT_TRUE(menus.AddMenu(L"Document", IDR_DOCKTEST_DOC));
    CQMXPPopupMenu::animationType = QMXP_ANIMATION_NONE;
    CQMXPPopupMenu::bMenuShadows = TRUE;
    CQMXPToolbarCustomize* pSheet = OpenSheet();
    ASSERT_NE(pSheet, nullptr);
    auto* pPage = static_cast<CQMXPMenuPage*>(ShowPage(pSheet, RUNTIME_CLASS(CQMXPMenuPage)));
    ASSERT_NE(pPage, nullptr);
    EXPECT_EQ(ItemText(pPage, 16506), CString(L"Can't customize menues!"));
    EXPECT_FALSE(pPage->m_wndMenuesList.IsWindowEnabled());
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(pPage->GetSafeHwnd(), 16624)));

    // A context menu opens as a popup of the page (again when chosen while
    // open), where the last one was left; the first line closes it.
    CRect rectSheet;
    pSheet->GetWindowRect(&rectSheet);
    const CPoint ptKept(rectSheet.right + 4, rectSheet.top + 20);
    CQMXPMenuPage::m_ptMenuLastPos = ptKept;
    ASSERT_EQ(pPage->m_wndContextMenus.GetCount(), 2);
    for (const int iLine : {1, 0, 1, 1}) {
        pPage->m_wndContextMenus.SetCurSel(iLine);
        Notify(pPage, 16622, CBN_SELCHANGE);
        EXPECT_EQ(pPage->m_pContextMenu != nullptr, iLine == 1);
        EXPECT_EQ(pPage->m_wndResetMenuButton.IsWindowEnabled() != FALSE, iLine == 1);
        EXPECT_EQ(pPage->m_wndContextMenus.GetCurSel(), iLine);
    }
    ASSERT_NE(pPage->m_pContextMenu, nullptr);
    ASSERT_EQ(pPage->m_pContextMenu->GetMenuItemCount(), 1);
    EXPECT_EQ(pPage->m_pContextMenu->GetMenuItem(0)->m_nID, kOpen);

    pPage->m_wndMenuAnimations.SetCurSel(QMXP_ANIMATION_SLIDE);
    pPage->m_wndMenuShadows.SetCheck(BST_UNCHECKED);
    CRect rectPopup;
    pPage->m_pContextMenu->GetWindowRect(&rectPopup);
    EXPECT_EQ(rectPopup.TopLeft(), ptKept);
    Screenshot(pSheet, rectPopup, L"customize_menu_page");
    // The user moves it.
    pPage->m_pContextMenu->SetWindowPos(nullptr, ptKept.x + 10, ptKept.y + 30, 0, 0,
                                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(CQMXPPopupMenu::animationType, QMXP_ANIMATION_NONE);
    EXPECT_TRUE(CQMXPPopupMenu::bMenuShadows);
    const HWND hwndPopup = pPage->m_pContextMenu->GetSafeHwnd();
    pSheet->SendMessage(WM_COMMAND, IDCANCEL);
    Pump();
    EXPECT_FALSE(::IsWindow(hwndPopup));
    EXPECT_EQ(CQMXPPopupMenu::animationType, QMXP_ANIMATION_SLIDE);
    EXPECT_FALSE(CQMXPPopupMenu::bMenuShadows);
    EXPECT_EQ(CQMXPMenuPage::m_ptMenuLastPos, ptKept + CSize(10, 30));
}

TEST_F(CustomizeMenuKeyboardTest, TheMenuPageShowsTheDefaultMenuAndTheBarKeepsItsChangesAfterTheSheet) {
    CQMXPContextMenuManager menus;
    CQMXPMenuBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, 0x50402808, AFX_IDW_MENUBAR));
    m_pFrame->DockControlBar(&bar);
    const HMENU hOldDefault = m_pFrame->GetFrameImpl().m_hDefaultMenu;
    m_pFrame->GetFrameImpl().m_hDefaultMenu = m_hMenu;
    bar.CreateFromMenu(m_hMenu, TRUE);
    CQMXPToolbarCustomize* pSheet = OpenSheet();
    ASSERT_NE(pSheet, nullptr);
    auto* pPage = static_cast<CQMXPMenuPage*>(ShowPage(pSheet, RUNTIME_CLASS(CQMXPMenuPage)));
    ASSERT_NE(pPage, nullptr);
    EXPECT_TRUE(pPage->m_wndMenuesList.IsWindowEnabled());
    EXPECT_EQ(pPage->m_strMenuName, CString(L"Default Menu"));
    EXPECT_EQ(ItemText(pPage, 16506), CString(L"Default application menu. Appears when no documents are open."));
    EXPECT_EQ(bar.GetHMenu(), m_hMenu);

    // The user drops a menu; a reset answered otherwise than Yes keeps it dropped.
    ASSERT_TRUE(bar.RemoveButton(1));
    Log().clear();
    Notify(pPage, 16624, BN_CLICKED);
    EXPECT_EQ(Log().size(), 1u);
    EXPECT_EQ(bar.GetCount(), 1);
    pSheet->SendMessage(WM_COMMAND, IDCANCEL);
    Pump();
    EXPECT_EQ(bar.GetHMenu(), m_hMenu);
    EXPECT_EQ(bar.GetCount(), 1);
    bar.DestroyWindow();
    m_pFrame->GetFrameImpl().m_hDefaultMenu = hOldDefault;
}

}  // namespace
