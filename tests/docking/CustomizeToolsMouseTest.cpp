// User tools in the registry, the customisation sheet's Tools page (tools
// made, edited, refused beyond their range, deleted and stored) and its
// Mouse page (views in name order, their double-click commands).
#include "CanvasTestSupport.h"
#include "MenuTestSupport.h"

#include "docking/frames/QMXPMouseManager.h"
#include "docking/frames/QMXPMousePage.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/frames/QMXPToolsPage.h"
#include "docking/frames/QMXPUserTool.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "platform/classlib/ObList.h"
#include "tests/framework/ScratchRegistryKey.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

// Each tool as "label|command|arguments|folder|id", in list order.
std::vector<std::wstring> Fields(const CQMXPUserToolsManager& manager) {
    std::vector<std::wstring> fields;
    for (POSITION pos = manager.GetUserTools().GetHeadPosition(); pos != nullptr;) {
        const auto* p = static_cast<const CQMXPUserTool*>(manager.GetUserTools().GetNext(pos));
        fields.push_back(std::wstring(p->m_strLabel.GetString()) + L"|" + p->GetCommand().GetString() + L"|" +
                         p->m_strArguments.GetString() + L"|" + p->m_strInitialDirectory.GetString() + L"|" +
                         std::to_wstring(p->m_uiCmdId));
    }
    return fields;
}

CQMXPUserTool* MakeTool(UINT uiCmdId, const wchar_t* lpszLabel) {
    auto* pTool = new CQMXPUserTool;
    pTool->m_uiCmdId = uiCmdId;
    pTool->m_strLabel = lpszLabel;
    return pTool;
}

TEST(UserToolStoreTest, ToolsAreArchivedObjectsAndOnlySoundToolsComeBack) {
    CScratchRegistryKey scratch;
    const std::wstring path = scratch.Path();
    CQMXPUserToolsManager manager(90, 100, 102);
    EXPECT_FALSE(manager.LoadState(path.c_str()));
    CQMXPUserTool* pTool = manager.AddNewTool();
    pTool->m_strLabel = L"A";
    pTool->SetCommand(L"B");
    ASSERT_TRUE(manager.SaveState(path.c_str()));
    const std::vector<BYTE> expected = {1,    0,    0xFF, 0xFF, 1,    0,    13,   0,    'C',  'Q',  'M',  'X',
                                        'P',  'U',  's',  'e',  'r',  'T',  'o',  'o',  'l',  0xFF, 0xFE, 0xFF,
                                        1,    'A',  0,    0xFF, 0xFE, 0xFF, 1,    'B',  0,    0xFF, 0xFE, 0xFF,
                                        0,    0xFF, 0xFE, 0xFF, 0,    100,  0,    0,    0};
    EXPECT_EQ(RawRegistryValue(path, L"Tools"), expected);

    // Stored lists a user could not have made: the sound tools before a
    // foreign object stay, the rest of the value cannot be trusted.
    CObList foreign;
    const struct {
        const char* name;
        std::vector<CObject*> objects;
        BOOL bResult;
        std::vector<std::wstring> tools;
    } cases[] = {
        {"out of range", {MakeTool(99, L"x"), MakeTool(101, L"y"), MakeTool(103, L"z")}, TRUE, {L"y||||101"}},
        {"repeated id", {MakeTool(100, L"x"), MakeTool(100, L"y"), MakeTool(102, L"z")}, TRUE, {L"x||||100", L"z||||102"}},
        {"foreign class", {MakeTool(102, L"x"), &foreign, MakeTool(100, L"y")}, FALSE, {L"x||||102"}},
    };
    for (const auto& c : cases) {
        std::vector<CObject*> objects = c.objects;
        objects.push_back(objects.front());  // a second reference to the first
        CQMXPRegistry reg(FALSE, FALSE);
        ASSERT_TRUE(reg.CreateKey(path.c_str()));
        ASSERT_TRUE(reg.WriteArchived(L"Tools", [&objects](CArchive& ar) {
            ar.WriteCount(objects.size());
            for (CObject* pObject : objects)
                ar.WriteObject(pObject);
        }));
        EXPECT_EQ(manager.LoadState(path.c_str()), c.bResult) << c.name;
        EXPECT_EQ(Fields(manager), c.tools) << c.name;
        for (CObject* pObject : c.objects)
            if (pObject != &foreign)
                delete pObject;
    }
}

TEST(UserToolStoreTest, ACommandWithoutPathIsFoundOnTheSearchPath) {
    CQMXPUserTool tool;
    tool.SetCommand(L"notepad.exe");
    const HICON hFound = tool.GetIcon();
    ASSERT_NE(hFound, nullptr);
    EXPECT_NE(hFound, globalData.hiconTool);
    tool.SetCommand(L"notepad.exe");
    EXPECT_EQ(tool.GetIcon(), hFound);
    tool.SetCommand(L"no-such-tool-here.exe");
    EXPECT_EQ(tool.GetIcon(), globalData.hiconTool);
    EXPECT_NE(tool.GetIcon(), nullptr);
}

// The index of the sheet's first page of the kind; -1 for none.
template <class TPage>
int PageIndex(CPropertySheet* pSheet) {
    for (int i = 0; i < pSheet->GetPageCount(); ++i)
        if (DYNAMIC_DOWNCAST(TPage, pSheet->GetPage(i)) != nullptr)
            return i;
    return -1;
}

// A sheet whose tools the test declares sound or not.
class CCheckingSheet : public CQMXPToolbarCustomize {
public:
    using CQMXPToolbarCustomize::CQMXPToolbarCustomize;
    BOOL ValidateTools(const CObList&) override { return m_bValid; }
    BOOL m_bValid = FALSE;
};

class CustomizePagesTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        m_hMenu = MakeMenu({{0, L"&File", {{30001, L"&Open"}, {30002, L"&Close"}}}});
        m_hOldMenu = m_pFrame->m_hMenuDefault;
        m_pFrame->m_hMenuDefault = m_hMenu;
        Log().clear();
    }
    void TearDown() override {
        if (g_pWndCustomize != nullptr)
            g_pWndCustomize->DestroyWindow();
        Pump();
        m_pFrame->m_hMenuDefault = m_hOldMenu;
        ::DestroyMenu(m_hMenu);
        qmxUserToolsManager = nullptr;
        MenuTest::TearDown();
    }
    CCheckingSheet* OpenSheet(UINT uiFlags = 0x1F) {
        auto* pSheet = new CCheckingSheet(m_pFrame, TRUE, uiFlags);
        if (!pSheet->Create())
            return nullptr;
        Pump();
        return pSheet;
    }
    // The sheet on its page of the kind.
    template <class TPage>
    TPage* ShowPage(CQMXPToolbarCustomize* pSheet) {
        const int iPage = PageIndex<TPage>(pSheet);
        if (iPage < 0)
            return nullptr;
        pSheet->SetActivePage(iPage);
        Pump();
        return static_cast<TPage*>(pSheet->GetPage(iPage));
    }
    void Close(CQMXPToolbarCustomize* pSheet) {
        pSheet->SendMessage(WM_COMMAND, IDCANCEL);
        Pump();
    }
    void Shoot(CQMXPToolbarCustomize* pSheet, const wchar_t* lpszName) {
        pSheet->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
        CRect rect;
        pSheet->GetWindowRect(&rect);
        SaveScreen(rect, lpszName);
    }
    HMENU m_hMenu = nullptr;
    HMENU m_hOldMenu = nullptr;
};

TEST_F(CustomizePagesTest, ToolsAreAPageOnlyWithTheirManagerAndUnsoundToolsKeepTheSheetOpen) {
    CQMXPUserToolsManager manager(90, 100, 102);
    const struct {
        CQMXPUserToolsManager* pManager;
        UINT uiFlags;
        bool bTools;
    } cases[] = {{nullptr, 0x1F, false}, {&manager, 0x1F | QMXCUSTOMIZE_NO_TOOLS, false}, {&manager, 0x1F, true}};
    for (const auto& c : cases) {
        qmxUserToolsManager = c.pManager;
        CCheckingSheet* pSheet = OpenSheet(c.uiFlags);
        ASSERT_NE(pSheet, nullptr);
        // Tools come right after Commands and Toolbars.
        EXPECT_EQ(PageIndex<CQMXPToolsPage>(pSheet), c.bTools ? 2 : -1);
        Close(pSheet);
        // Only a sheet with tools asks whether they are sound.
        EXPECT_EQ(g_pWndCustomize != nullptr, c.bTools);
        if (g_pWndCustomize == nullptr)
            continue;
        EXPECT_EQ(pSheet->GetActiveIndex(), 2);
        pSheet->m_bValid = TRUE;
        Close(pSheet);
        EXPECT_EQ(g_pWndCustomize, nullptr);
    }
}

TEST_F(CustomizePagesTest, ToolsAreMadeEditedRefusedBeyondTheirRangeAndStored) {
    CQMXPUserToolsManager manager(90, 100, 102);
    qmxUserToolsManager = &manager;
    CCheckingSheet* pSheet = OpenSheet();
    ASSERT_NE(pSheet, nullptr);
    pSheet->m_bValid = TRUE;
    auto* pPage = ShowPage<CQMXPToolsPage>(pSheet);
    ASSERT_NE(pPage, nullptr);
    Log().clear();
    CToolsList& list = pPage->m_wndToolsList;
    const auto key = [&list](WORD wKey) { ::SendMessageW(list.GetListHwnd(), WM_KEYDOWN, wKey, 0); };
    const auto addTool = [&](const wchar_t* lpszLabel) {
        key(VK_INSERT);
        const HWND hEdit = list.GetEditHwnd();
        ASSERT_NE(hEdit, nullptr);
        ::SetWindowTextW(hEdit, lpszLabel);
        ::SendMessageW(hEdit, WM_KEYDOWN, VK_RETURN, 0);
        Pump();
    };
    for (const wchar_t* lpszLabel : {L"One", L"Two", L"Three", L"Four"})
        addTool(lpszLabel);
    EXPECT_EQ(Log(), std::vector<std::wstring>{L"msgbox:You may define up to 3 tools."});
    EXPECT_EQ(list.GetCount(), 3);

    // Edits go to the selected tool; the fields follow the selection.
    list.SelectItem(2);
    Pump();
    ASSERT_EQ(pPage->GetSelectedTool(), manager.LookupTool(102));
    pPage->m_wndCommandEdit.SetWindowText(L"notepad.exe");
    pPage->m_wndArgumentsEdit.SetWindowText(L"notes.txt");
    pPage->m_wndInitialDirEdit.SetWindowText(L"C:\\windows");
    list.SelectItem(0);
    Pump();
    CString strShown;
    pPage->m_wndCommandEdit.GetWindowText(strShown);
    EXPECT_TRUE(strShown.IsEmpty());

    // The middle tool goes; the next new one takes its id.
    list.SelectItem(1);
    key(VK_DELETE);
    Pump();
    EXPECT_EQ(manager.LookupTool(101), nullptr);
    addTool(L"Five");
    CScratchRegistryKey scratch;
    ASSERT_TRUE(manager.SaveState(scratch.Path().c_str()));
    CQMXPUserToolsManager loaded(90, 100, 102);
    ASSERT_TRUE(loaded.LoadState(scratch.Path().c_str()));
    EXPECT_EQ(Fields(loaded), (std::vector<std::wstring>{L"One||||100", L"Three|notepad.exe|notes.txt|C:\\windows|102",
                                                         L"Five||||101"}));
    list.SelectItem(1);
    Pump();
    pPage->m_wndCommandEdit.GetWindowText(strShown);
    EXPECT_EQ(strShown, CString(L"notepad.exe"));
    Shoot(pSheet, L"customize_tools_page");
    Close(pSheet);
}

TEST_F(CustomizePagesTest, MouseViewsAreListedByNameAndTakeTheirDoubleClickCommands) {
    CQMXPMouseManager manager;
    manager.AddView(3, L"Tree");
    manager.AddView(1, L"Gallery", 16931);
    manager.AddView(2, L"Pages");
    manager.SetCommandForDblClick(1, 30001);
    CCheckingSheet* pSheet = OpenSheet();
    ASSERT_NE(pSheet, nullptr);
    auto* pPage = ShowPage<CQMXPMousePage>(pSheet);
    ASSERT_NE(pPage, nullptr);
    CListCtrl& views = pPage->m_wndListOfViews;
    const std::vector<std::wstring> names = {L"Gallery", L"Pages", L"Tree"};
    ASSERT_EQ(views.GetItemCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(std::wstring(views.GetItemText(i, 0)), names[i]);
        LVITEMW item = {LVIF_IMAGE, i};
        views.GetItem(&item);
        EXPECT_EQ(item.iImage, i == 0 ? 0 : -1) << i;
    }
    const HWND hPage = pPage->GetSafeHwnd();
    const int iOpen = pPage->m_wndListOfCommands.GetCurSel();
    ASSERT_GE(iOpen, 0);
    EXPECT_EQ(pPage->m_wndListOfCommands.GetItemData(iOpen), 30001u);
    EXPECT_EQ(::IsDlgButtonChecked(hPage, 16633), static_cast<UINT>(BST_CHECKED));
    Shoot(pSheet, L"customize_mouse_page");

    views.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(::IsDlgButtonChecked(hPage, 16632), static_cast<UINT>(BST_CHECKED));
    EXPECT_FALSE(pPage->m_wndListOfCommands.IsWindowEnabled());
    ::CheckRadioButton(hPage, 16632, 16633, 16633);
    pPage->SendMessage(WM_COMMAND, MAKEWPARAM(16633, BN_CLICKED));
    EXPECT_TRUE(pPage->m_wndListOfCommands.IsWindowEnabled());
    EXPECT_EQ(manager.GetViewDblClickCommand(2), 0u);
    const int iClose = static_cast<int>(iOpen == 0 ? 1 : 0);
    pPage->m_wndListOfCommands.SetCurSel(iClose);
    pPage->SendMessage(WM_COMMAND, MAKEWPARAM(16634, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(pPage->m_wndListOfCommands.GetSafeHwnd()));
    EXPECT_EQ(manager.GetViewDblClickCommand(2), pPage->m_wndListOfCommands.GetItemData(iClose));
    pPage->SendMessage(WM_COMMAND, MAKEWPARAM(16632, BN_CLICKED));
    EXPECT_EQ(manager.GetViewDblClickCommand(2), 0u);
    EXPECT_EQ(manager.GetViewDblClickCommand(1), 30001u);
    Close(pSheet);
}

}  // namespace
