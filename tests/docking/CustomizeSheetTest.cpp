// The customisation sheet in a test frame: its catalogue built from the
// frame's menu, the Commands page's lists, the frame while the sheet is
// open, and the Toolbars page's check marks, names, buttons and resets.
#include "CanvasTestSupport.h"
#include "MenuTestSupport.h"

#include "docking/frames/QMXPCustomizePage.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPOutlookBar.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPOptionsPage.h"
#include "docking/toolbars/CmdUsageCount.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/frames/QMXPToolbarsPage.h"
#include "docking/frames/QMXPWorkspace.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace docking_test;

namespace {

constexpr UINT kPasteSpecial = 30101;

// The values of "QMXTOOLBAR_CUSTOMIZE" the frame was sent.
std::vector<WPARAM> g_customizeSent;
HHOOK g_hookSent = nullptr;
LRESULT CALLBACK RecordCustomize(int nCode, WPARAM wParam, LPARAM lParam) {
    const auto* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMsg->message == QMXTOOLBAR_CUSTOMIZE)
        g_customizeSent.push_back(pMsg->wParam);
    return ::CallNextHookEx(g_hookSent, nCode, wParam, lParam);
}

// A bar the user may not close.
class CPermanentBar : public CQMXPToolBar {
public:
    CPermanentBar() { m_bPermament = TRUE; }
};

// Answers the next "Toolbar Name" dialog with the name.
CString g_strNewName;
void CALLBACK AnswerNameDialog(HWND, UINT, UINT_PTR idEvent, DWORD) {
    HWND hwnd = ::FindWindowW(nullptr, L"Toolbar Name");
    if (hwnd == nullptr)
        return;
    ::KillTimer(nullptr, idEvent);
    ::SetDlgItemTextW(hwnd, 16516, g_strNewName);
    ::SendMessageW(hwnd, WM_COMMAND, IDOK, 0);
}

std::vector<std::wstring> Lines(const CListBox& list) {
    std::vector<std::wstring> lines;
    for (int i = 0; i < list.GetCount(); ++i) {
        CString strLine;
        list.GetText(i, strLine);
        lines.emplace_back(strLine.GetString());
    }
    return lines;
}

class CustomizeSheetTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        m_hMenu = MakeMenu({{0, L"&File", {{30001, L"&Open"}, {0xE110, L"&1 recent.otd"}, {0, nullptr}}},
                            {0, L"&Edit",
                             {{30002, L"&Undo"}, {kPasteSpecial, L"Paste &Special...\tCtrl+Alt+V"},
                              {0, L"&More", {{30001, L"&Open"}}}}}});
        m_hOldMenu = m_pFrame->m_hMenuDefault;
        m_pFrame->m_hMenuDefault = m_hMenu;
        ASSERT_TRUE(m_bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 1));
        ASSERT_TRUE(m_fixed.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 2));
        m_bar.SetWindowText(L"");
        m_fixed.SetWindowText(L"Fixed");
        for (CQMXPToolBar* pBar : {static_cast<CQMXPToolBar*>(&m_bar), static_cast<CQMXPToolBar*>(&m_fixed)}) {
            pBar->InsertButton(CQMXPToolbarButton(30001, 0, nullptr, FALSE, TRUE));
            pBar->EnableDocking(0xF000);
            m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
        }
        m_pFrame->RecalcLayout();
        g_customizeSent.clear();
        g_hookSent = ::SetWindowsHookExW(WH_CALLWNDPROC, RecordCustomize, nullptr, ::GetCurrentThreadId());
    }
    void TearDown() override {
        if (g_pWndCustomize != nullptr)
            g_pWndCustomize->DestroyWindow();
        ::UnhookWindowsHookEx(g_hookSent);
        m_pFrame->m_hMenuDefault = m_hOldMenu;
        ::DestroyMenu(m_hMenu);
        m_bar.DestroyWindow();
        m_fixed.DestroyWindow();
        MenuTest::TearDown();
    }
    CQMXPToolbarCustomize* OpenSheet(BOOL bUserDefined, UINT uiFlags = 0x1F) {
        auto* pSheet = new CQMXPToolbarCustomize(m_pFrame, TRUE, uiFlags);
        pSheet->EnableUserDefinedToolbars(bUserDefined);
        if (!pSheet->Create())
            return nullptr;
        Pump();
        return pSheet;
    }
    CQMXPToolbarsPage* ToolbarsPage(CQMXPToolbarCustomize* pSheet) {
        pSheet->SetActivePage(1);
        Pump();
        return static_cast<CQMXPToolbarsPage*>(pSheet->GetPage(1));
    }

    HMENU m_hMenu = nullptr;
    HMENU m_hOldMenu = nullptr;
    CQMXPToolBar m_bar;
    CPermanentBar m_fixed;
};

TEST_F(CustomizeSheetTest, CategoriesComeFromTheMenusAndTheFrameIsCustomisedWhileItIsOpen) {
    // Buttons are dragged onto an outlook bar too: it stays enabled.
    CQMXPOutlookBar outlook;
    ASSERT_TRUE(outlook.Create(L"Shortcuts", m_pFrame, CRect(0, 0, 120, 200), 0xE830, WS_CHILD | WS_VISIBLE | CBRS_LEFT,
                               0));
    ASSERT_EQ(outlook.GetParent(), m_pFrame);
    // A command with a standard image shows it in the lists.
    QMXTheCommandManager()->SetCommandImage(kPasteSpecial, 2);
    CQMXPToolbarCustomize* pSheet = OpenSheet(TRUE);
    ASSERT_NE(pSheet, nullptr);
    EXPECT_TRUE(CQMXPToolBar::m_bCustomizeMode);
    EXPECT_FALSE(::IsWindowEnabled(m_pFrame->m_hWndMDIClient));
    EXPECT_TRUE(m_bar.IsWindowEnabled());
    EXPECT_TRUE(outlook.IsWindowEnabled());
    auto* pPage = static_cast<CQMXPCustomizePage*>(pSheet->GetPage(0));
    EXPECT_EQ(Lines(pPage->m_wndCategory),
              (std::vector<std::wstring>{L"File", L"Edit", L"New Menu", L"All Commands"}));

    const struct {
        const wchar_t* category;
        std::vector<std::wstring> lines;
    } cases[] = {
        {L"Edit", {L"Undo", L"Paste Special...", L"Open"}},
        {L"File", {L"Open"}},
        {L"All Commands", {L"EditPasteSpecial...", L"EditUndo", L"FileOpen", L"New Menu"}},
    };
    for (const auto& c : cases) {
        pPage->m_wndCategory.SetCurSel(pPage->m_wndCategory.FindStringExact(-1, c.category));
        pPage->SendMessage(WM_COMMAND, MAKEWPARAM(16601, LBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(pPage->m_wndCategory.GetSafeHwnd()));
        EXPECT_EQ(Lines(pPage->m_wndTools), c.lines) << c.category;
    }
    const CObList* pEdit = pSheet->GetCategoryButtons(L"Edit");
    ASSERT_NE(pEdit, nullptr);
    const auto* pPaste = static_cast<CQMXPToolbarButton*>(pEdit->GetAt(pEdit->FindIndex(1)));
    EXPECT_EQ(pPaste->m_strText, CString(L"Paste Special..."));
    EXPECT_EQ(pPaste->m_strTextCustom, CString(L"EditPasteSpecial..."));
    EXPECT_EQ(pPaste->GetImage(), 2);
    QMXTheCommandManager()->SetCommandImage(kPasteSpecial, -1);
    for (POSITION pos = pSheet->GetCategoryButtons(L"All Commands")->GetHeadPosition(); pos != nullptr;)
        EXPECT_NE(static_cast<CQMXPToolbarButton*>(pSheet->GetCategoryButtons(L"All Commands")->GetNext(pos))->m_nID,
                  0xE110u);

    pSheet->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    CRect rectSheet;
    pSheet->GetWindowRect(&rectSheet);
    SaveScreen(rectSheet, L"customize_commands_page");
    pSheet->SendMessage(WM_COMMAND, IDCANCEL);
    Pump();
    EXPECT_EQ(g_pWndCustomize, nullptr);
    EXPECT_FALSE(CQMXPToolBar::m_bCustomizeMode);
    EXPECT_TRUE(::IsWindowEnabled(m_pFrame->m_hWndMDIClient));
    EXPECT_EQ(g_customizeSent, (std::vector<WPARAM>{1, 0}));
    outlook.DestroyWindow();
}

TEST_F(CustomizeSheetTest, TheToolbarsPageListsBarsKeepsFixedOnesAndRenamesFloatingOnes) {
    for (const BOOL bUserDefined : {FALSE, TRUE}) {
        CQMXPToolbarCustomize* pSheet = OpenSheet(bUserDefined);
        ASSERT_NE(pSheet, nullptr);
        CQMXPToolbarsPage* pPage = ToolbarsPage(pSheet);
        for (int nID : {16615, 16616, 16617})
            EXPECT_EQ(::IsWindowVisible(::GetDlgItem(pPage->GetSafeHwnd(), nID)) != FALSE, bUserDefined != FALSE);
        if (bUserDefined) {
            pSheet->SendMessage(WM_COMMAND, IDCANCEL);
            Pump();
            break;
        }
        CQMXPExCheckList& list = pPage->m_wndToobarList;
        const std::vector<std::wstring> lines = Lines(list);
        const auto findLine = [&](const wchar_t* text) {
            return static_cast<int>(std::find(lines.begin(), lines.end(), text) - lines.begin());
        };
        const int iUntitled = findLine(L"<Untitled>");
        const int iFixed = findLine(L"Fixed");
        ASSERT_LT(iUntitled, list.GetCount());
        ASSERT_LT(iFixed, list.GetCount());
        CRect rect;
        list.GetItemRect(iFixed, &rect);
        list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.left + 3, rect.CenterPoint().y));
        list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rect.left + 3, rect.CenterPoint().y));
        EXPECT_EQ(list.GetCheck(iFixed), 1);
        EXPECT_TRUE(m_fixed.IsWindowVisible());
        list.GetItemRect(iUntitled, &rect);
        list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.left + 3, rect.CenterPoint().y));
        list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rect.left + 3, rect.CenterPoint().y));
        EXPECT_EQ(list.GetCheck(iUntitled), 0);
        EXPECT_FALSE(m_bar.IsWindowVisible());

        // Reset All answered otherwise than Yes changes nothing.
        m_bar.InsertButton(CQMXPToolbarButton(30002, 0, nullptr, FALSE, TRUE));
        Log().clear();
        pPage->SendMessage(WM_COMMAND, MAKEWPARAM(16614, BN_CLICKED));
        EXPECT_EQ(Log().size(), 1u);
        EXPECT_EQ(m_bar.GetCount(), 2);

        // A floating bar's new name is its frame's caption too.
        m_bar.ShowControlBar(TRUE, FALSE, FALSE);
        EXPECT_EQ(list.GetCheck(iUntitled), 1);
        ASSERT_TRUE(m_bar.FloatControlBar(CRect(300, 300, 400, 340), QMXP_DM_RECT));
        Pump();
        list.SetCurSel(iUntitled);
        pPage->SendMessage(WM_COMMAND, MAKEWPARAM(16611, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list.GetSafeHwnd()));
        g_strNewName = L"Renamed";
        ::SetTimer(nullptr, 0, 20, AnswerNameDialog);
        pPage->SendMessage(WM_COMMAND, MAKEWPARAM(16616, BN_CLICKED));
        CString strCaption;
        ASSERT_NE(m_bar.GetParentMiniFrame(), nullptr);
        m_bar.GetParentMiniFrame()->GetWindowText(strCaption);
        EXPECT_EQ(strCaption, CString(L"Renamed"));
        EXPECT_NE(list.FindStringExact(-1, L"Renamed"), LB_ERR);
        CRect rectSheet;
        pSheet->GetWindowRect(&rectSheet);
        SaveScreen(rectSheet, L"customize_toolbars_page");
        pSheet->SendMessage(WM_COMMAND, IDCANCEL);
        Pump();
    }
}

TEST_F(CustomizeSheetTest, OptionsAreAPageOfTheirOwnAndTakeEffectAtOnce) {
    CQMXPToolbarCustomize* pSheet = OpenSheet(FALSE, 0x1F | QMXCUSTOMIZE_NO_OPTIONS);
    ASSERT_NE(pSheet, nullptr);
    EXPECT_EQ(pSheet->GetPageCount(), 2);
    pSheet->SendMessage(WM_COMMAND, IDCANCEL);
    Pump();

    const BOOL bSavedTips = CQMXPToolBar::m_bShowTooltips;
    const BOOL bSavedKeys = CQMXPToolBar::m_bShowShortcutKeys;
    CQMXPToolBar::m_bShowTooltips = TRUE;
    CQMXPToolBar::m_bShowShortcutKeys = TRUE;
    qmxCmdUsageCount.AddCmd(30001);
    const UINT nUsage = qmxCmdUsageCount.GetTotalUsage();
    pSheet = OpenSheet(FALSE);
    ASSERT_NE(pSheet, nullptr);
    ASSERT_EQ(pSheet->GetPageCount(), 3);
    pSheet->SetActivePage(2);
    Pump();
    CPropertyPage* pPage = pSheet->GetPage(2);
    HWND hwndKeys = ::GetDlgItem(pPage->GetSafeHwnd(), 16652);
    ::CheckDlgButton(pPage->GetSafeHwnd(), 16651, BST_UNCHECKED);
    pPage->SendMessage(WM_COMMAND, MAKEWPARAM(16651, BN_CLICKED));
    EXPECT_FALSE(CQMXPToolBar::m_bShowTooltips);
    EXPECT_FALSE(::IsWindowEnabled(hwndKeys));
    EXPECT_EQ(::IsDlgButtonChecked(pPage->GetSafeHwnd(), 16652), static_cast<UINT>(BST_CHECKED));
    EXPECT_TRUE(CQMXPToolBar::m_bShowShortcutKeys);
    // The test application answers the reset's question with OK, not Yes.
    Log().clear();
    pPage->SendMessage(WM_COMMAND, MAKEWPARAM(16657, BN_CLICKED));
    EXPECT_EQ(Log().size(), 1u);
    EXPECT_EQ(qmxCmdUsageCount.GetTotalUsage(), nUsage);
    CRect rectSheet;
    pSheet->GetWindowRect(&rectSheet);
    SaveScreen(rectSheet, L"customize_options_page");
    pSheet->SendMessage(WM_COMMAND, IDCANCEL);
    Pump();
    CQMXPToolBar::m_bShowTooltips = bSavedTips;
    CQMXPToolBar::m_bShowShortcutKeys = bSavedKeys;
}

}  // namespace

namespace {

// A sheet that keeps the help it asks for instead of starting the help program.
class CHelpRecordingSheet : public CQMXPToolbarCustomize {
public:
    using CQMXPToolbarCustomize::CQMXPToolbarCustomize;
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override { m_calls.emplace_back(dwData, nCmd); }
    std::vector<std::pair<DWORD_PTR, UINT>> m_calls;
};

// A workspace that keeps the context help it is asked for.
class CHelpRecordingWorkspace : public CQMXPWorkspace {
public:
    void OnContextHelp(CWnd* pWnd, const DWORD* lpHelpIDs) override {
        m_pWnd = pWnd;
        m_lpHelpIDs = lpHelpIDs;
    }
    CWnd* m_pWnd = nullptr;
    const DWORD* m_lpHelpIDs = nullptr;
};

}  // namespace

// With context help the sheet has the caption's help button, a control asks
// for help id 0x41000 + its id as a pop-up and a right click asks the
// workspace with the whole table; without it neither happens. The help
// button shows its picture beside the close button, which sits on a row of
// its own at the right. With or without the help button the sheet opens, at
// its full height, over the middle of the frame.
TEST_F(CustomizeSheetTest, WithContextHelpEachControlHasItsOwnHelpId) {
    CHelpRecordingWorkspace workspace;
    PlaceFrame(CRect(60, 40, 960, 740));
    const struct {
        UINT uiFlags;
        bool bContextHelp;
        bool bHelpButton;
    } cases[] = {{0x1F, false, false}, {0x2F, true, true}};
    for (const auto& c : cases) {
        auto* pSheet = new CHelpRecordingSheet(m_pFrame, TRUE, c.uiFlags);
        ASSERT_TRUE(pSheet->Create());
        Pump();
        EXPECT_EQ((pSheet->GetExStyle() & WS_EX_CONTEXTHELP) != 0, c.bContextHelp) << c.uiFlags;
        CRect rectSheet;
        pSheet->GetWindowRect(&rectSheet);
        CRect rectFrame;
        m_pFrame->GetWindowRect(&rectFrame);
        EXPECT_LE(std::abs(rectSheet.CenterPoint().x - rectFrame.CenterPoint().x), 1) << c.uiFlags;
        EXPECT_LE(std::abs(rectSheet.CenterPoint().y - rectFrame.CenterPoint().y), 1) << c.uiFlags;
        CWnd* pList = pSheet->GetPage(0)->GetDlgItem(16602);
        ASSERT_NE(pList, nullptr);
        HELPINFO info = {sizeof(HELPINFO), HELPINFO_WINDOW, 16602, pList->m_hWnd, 0, {0, 0}};
        pSheet->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        workspace.m_lpHelpIDs = nullptr;
        pSheet->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(pList->m_hWnd), MAKELPARAM(10, 10));
        if (c.bContextHelp) {
            ASSERT_EQ(pSheet->m_calls.size(), 1u);
            EXPECT_EQ(pSheet->m_calls[0].first, 0x41000u + 16602);
            EXPECT_EQ(pSheet->m_calls[0].second, static_cast<UINT>(HELP_CONTEXTPOPUP));
            EXPECT_EQ(workspace.m_pWnd, pList);
            ASSERT_EQ(workspace.m_lpHelpIDs, CQMXPToolbarCustomize::GetHelpIDs());
            int nPairs = 0;
            for (const DWORD* p = workspace.m_lpHelpIDs; p[0] != 0; p += 2, ++nPairs)
                EXPECT_EQ(p[1], 0x41000 + p[0]);
            EXPECT_EQ(nPairs, 35);
        } else {
            EXPECT_TRUE(pSheet->m_calls.empty());
            EXPECT_EQ(workspace.m_lpHelpIDs, nullptr);
        }
        CRect rectClient;
        pSheet->GetClientRect(&rectClient);
        CWnd* pClose = pSheet->GetDlgItem(IDCANCEL);
        CRect rectClose = RectInParent(pClose->m_hWnd);
        EXPECT_EQ(rectClose.right, rectClient.right - 8);
        EXPECT_LE(rectClose.bottom, rectClient.bottom);
        CRect rectPages = RectInParent(pSheet->GetTabControl());
        EXPECT_GE(rectClose.top, rectPages.bottom);
        CWnd* pHelp = pSheet->GetDlgItem(IDHELP);
        ASSERT_NE(pHelp, nullptr);
        EXPECT_EQ(pHelp->IsWindowVisible() != FALSE, c.bHelpButton);
        if (c.bHelpButton) {
            EXPECT_NE(pHelp->SendMessage(BM_GETIMAGE, IMAGE_BITMAP), 0);
            EXPECT_EQ(RectInParent(pHelp->m_hWnd), CRect(8, rectClose.top - 4, 8 + 26, rectClose.top - 4 + 26));
        }
        pSheet->DestroyWindow();
        Pump();
    }
}
