// The framework controls: facades over implementations made by the factory,
// the tree control and the data of its items, the installed faces and the
// font pickers' data, and the tool bar manager.
#include "controls/KWDBItemUserData.h"
#include "controls/KWColorMenuButton.h"
#include "controls/KWControlsFactory.h"
#include "controls/KWControlsWnd.h"
#include "controls/KWCtrlImpWin.h"
#include "controls/KWFontLists.h"
#include "controls/KWToolBarManager.h"
#include "controls/KWTreeControl.h"
#include "docking/frames/ColorButton.h"
#include "docking/frames/QMXPColorBar.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPWorkspace.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "framework/KWFont.h"
#include "framework/KWFontFaceStorage.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWIndexDecoder.h"
#include "framework/KWRegKeyStack.h"
#include "platform/classlib/Object.h"
#include "platform/classlib/WinApp.h"
#include "ControlsTestSupport.h"
#include "resources/Toolbars.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

controls_test::CControlsTestApp g_application;

// A parent window for the controls.
struct ParentWindow {
    ParentWindow() { window.CreateEx(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr); }
    ~ParentWindow() { window.DestroyWindow(); }
    CWnd window;
};

// Item data that notes its deletion.
class CNotedData : public CKWDBItemUserData {
public:
    CNotedData(int id, std::vector<int>& deleted) : m_id(id), m_deleted(deleted) {}
    ~CNotedData() override { m_deleted.push_back(m_id); }

private:
    int m_id;
    std::vector<int>& m_deleted;
};

bool s_dialogSeen = false;

void CALLBACK CancelColorDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND dialog = classlib_test::FindThreadDialog()) {
        // The common colour dialog: its basic colours (720) and the red, green
        // and blue of the colour it makes (706 to 708); not the library's own.
        s_dialogSeen = ::GetDlgItem(dialog, 720) != nullptr && ::GetDlgItem(dialog, 706) != nullptr &&
                       ::GetDlgItem(dialog, 708) != nullptr && ::GetDlgItem(dialog, 16662) == nullptr;
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

// The palette's cell that opens the colour dialog; null when none.
CColorButton* OtherColorCell(CQMXPColorBar* palette)
{
    for (int i = 0; i < palette->GetCount(); ++i) {
        auto* cell = DYNAMIC_DOWNCAST(CColorButton, palette->GetButton(i));
        if (cell != nullptr && cell->m_bIsOther)
            return cell;
    }
    return nullptr;
}

}  // namespace

controls_test::CControlsTestApp& controls_test::App()
{
    return g_application;
}

TEST(ControlFacade, AnswersNothingWithoutImplementationAndKeepsTheIdAndOneFont)
{
    CKWControl empty;
    int minimum = 7;
    int maximum = 9;
    EXPECT_EQ(0, empty.GetScrollInfo(true, minimum, maximum, 5));
    EXPECT_EQ(0, minimum);
    EXPECT_EQ(0, maximum);
    EXPECT_FALSE(empty.IsVisible());

    ASSERT_TRUE(StartupGdiPlus());
    ParentWindow parent;
    std::unique_ptr<CKWCtrlImp> imp(
        KWGetControlsFactory()->CreateCtrl(0, WS_CHILD, CRect(0, 0, 50, 20), &parent.window, 77));
    auto* generic = dynamic_cast<CKWCtrlImpWin*>(imp.get());
    ASSERT_NE(nullptr, generic);
    EXPECT_EQ(77, ::GetDlgCtrlID(generic->GetHwnd()));
    CKWFont first(L"Arial", 12, 0);
    CKWFont second(L"Arial", 14, 0);
    generic->SetFont(first);
    const HFONT firstHandle = generic->GetFontHandle();
    generic->SetFont(second);
    const HFONT secondHandle = generic->GetFontHandle();
    ASSERT_NE(firstHandle, secondHandle);
    EXPECT_EQ(0u, ::GetObjectType(firstHandle));
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), ::GetObjectType(secondHandle));
    imp.reset();
    EXPECT_EQ(0u, ::GetObjectType(secondHandle));
}

TEST(TreeControl, InsertsFirstFindsTopLevelTextExactlyAndDeletesOneSubtreesData)
{
    ParentWindow parent;
    CKWTreeControl tree;
    ASSERT_TRUE(tree.Create(0, WS_CHILD | WS_VISIBLE | TVS_HASLINES, CRect(0, 0, 200, 200), &parent.window, 1126));
    std::vector<int> deleted;
    HTREEITEM top = tree.InsertItem(L"Report", nullptr, TVI_LAST);
    HTREEITEM a = tree.InsertItem(L"A", top, TVI_LAST);
    HTREEITEM b = tree.InsertItem(L"B", top, a);
    HTREEITEM c = tree.InsertItem(L"C", top, b);
    HTREEITEM b1 = tree.InsertItem(L"B1", b, TVI_LAST);
    HTREEITEM first = tree.InsertItem(L"First", top, nullptr);
    EXPECT_EQ(first, tree.GetNextChildItem(top, nullptr));
    tree.InsertItem(L"Other", nullptr, top);
    int id = 0;
    for (HTREEITEM item : {top, a, b, c, b1, first})
        tree.SetItemData(item, new CNotedData(++id, deleted));

    // Only top-level items, compared case-sensitively.
    EXPECT_EQ(0, tree.SelectItemByText(L"B"));
    EXPECT_EQ(0, tree.SelectItemByText(L"other"));
    EXPECT_NE(0, tree.SelectItemByText(L"Other"));
    EXPECT_EQ(tree.GetRootItem(), tree.GetTopAncestor(b1));

    // The middle child's subtree and nothing else: B (3) and B1 (5).
    EXPECT_TRUE(tree.DeleteItem(b));
    EXPECT_EQ((std::vector<int>{3, 5}), deleted);
    tree.DeleteAllItems();
    EXPECT_EQ(6u, deleted.size());
}

TEST(FontFaces, ChainCharsetsPerExactNameAndMatchTheDocumentsFonts)
{
    CKWFontFaceStorage storage;
    storage.AddFace(L"Arial", CKWFontFaceStorage::kTrueType, 0);
    storage.AddFace(L"Arial", CKWFontFaceStorage::kDevice, 204);
    storage.AddFace(L"Arial", CKWFontFaceStorage::kDevice, 0);
    storage.AddFace(L"arial", CKWFontFaceStorage::kTrueType, 0);
    ASSERT_EQ(2u, storage.GetCount());
    EXPECT_EQ(L"Arial", *storage.GetAt(0)->name);
    EXPECT_EQ((std::vector<uint8_t>{0, 204}), storage.GetAt(0)->charsets);
    EXPECT_EQ(CKWFontFaceStorage::kTrueType, storage.GetAt(0)->type);
    EXPECT_EQ(L"arial", *storage.GetAt(1)->name);

    // A document font the system lacks gets an entry of its own, after the installed ones.
    CKWFontFaceStorage application;
    application.AddFace(L"Arial", CKWFontFaceStorage::kTrueType, 0);
    application.AddFace(L"Courier", CKWFontFaceStorage::kTrueType, 0);
    CKWIndexDecoder document;
    document.FindOrAdd(L"Verdana");
    document.FindOrAdd(L"Arial");
    SetCurrentFontLists(&document, &application);
    UpdateFontLists(true);
    FCOMMBO_DATA_ARRAY& data = GetFontCommboData();
    ASSERT_EQ(3u, data.GetSize());
    EXPECT_EQ(1, data.GetAt(0)->value);
    EXPECT_EQ(-1, data.GetAt(1)->value);
    EXPECT_EQ(0, data.GetAt(2)->value);
    EXPECT_EQ(std::wstring(L"Verdana"), GetMissingFontName(data.GetAt(2)));
    SetCurrentFontLists(nullptr, nullptr);
    data.RemoveAll();

    std::vector<std::wstring> installed;
    EXPECT_FALSE(FillFontFaceStorage(nullptr));
    ASSERT_TRUE(FillFontFaceStorage(&installed));
    EXPECT_EQ(1, std::count(installed.begin(), installed.end(), L"Arial"));
}

namespace {

// The manager over a workspace of its own below the test program's key.
class ToolBarManagerTest : public testing::Test {
protected:
    ToolBarManagerTest() : workspace(FALSE)
    {
        workspace.SetRegistryBase(L"ToolBarManager");
        keys.SetRoot(HKEY_CURRENT_USER);
        manager.SetKeyStack(&keys);
    }
    ~ToolBarManagerTest() override
    {
        CString path = workspace.GetRegSectionPath(L"");
        ::RegDeleteTreeW(HKEY_CURRENT_USER, path.Left(path.GetLength() - 1));
    }
    void StoreVersion(uint32_t version)
    {
        CString path = workspace.GetRegSectionPath(L"");
        HKEY key = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, path.Left(path.GetLength() - 1), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr);
        ::RegSetValueExW(key, CKWToolBarManager::kSettingsVersionValue, 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&version), sizeof(version));
        ::RegCloseKey(key);
    }

    CQMXPWorkspace workspace;
    CKWRegKeyStack keys;
    CKWToolBarManager manager;
};

}  // namespace

TEST_F(ToolBarManagerTest, VersionHalvesAreComparedAndAMissingValueMatchesNeither)
{
    const struct {
        bool store;
        uint32_t stored;
        bool major, minor;
    } cases[] = {{false, 0, false, false}, {true, 0x00010000, false, true}, {true, 0, true, true},
                 {true, 1, true, false}};
    for (const auto& c : cases) {
        if (c.store)
            StoreVersion(c.stored);
        bool major = !c.major;
        bool minor = !c.minor;
        manager.CheckVersion(major, &minor);
        EXPECT_EQ(c.major, major) << std::hex << c.stored;
        EXPECT_EQ(c.minor, minor) << std::hex << c.stored;
    }
    StoreVersion(0x00050005);
    manager.SaveVersion();
    bool major = false;
    bool minor = false;
    manager.CheckVersion(major, &minor);
    EXPECT_TRUE(major && minor);
}

TEST_F(ToolBarManagerTest, HideThenRestoreShowsExactlyTheBarsVisibleBefore)
{
    auto* frame = new CQMXPMDIFrameWnd;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, L"Bars", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr));
    g_application.m_pMainWnd = frame;
    manager.AddToolBarInfo(IDR_TAL_MAIN_TOOLBAR, ID_TAL_MAIN_TOOLBAR_BAR, IDS_TAL_MAIN_TOOLBAR, true, false);
    manager.AddToolBarInfo(IDR_TAL_EDIT_TREE_TOOLBAR, ID_TAL_EDIT_TREE_TOOLBAR_BAR, IDS_TAL_EDIT_TREE_TOOLBAR, true,
                           false);
    manager.AddToolBarInfo(IDR_TAL_FORMAT_TEXT_TOOLBAR, ID_TAL_FORMAT_TEXT_TOOLBAR_BAR, IDS_TAL_FORMAT_TEXT_TOOLBAR,
                           true, false);
    ASSERT_TRUE(manager.CreateToolBars(frame));
    ASSERT_EQ(3, manager.GetCount());
    auto shown = [&] {
        std::vector<bool> visible;
        for (int i = 0; i < manager.GetCount(); ++i)
            visible.push_back(manager.GetToolBar(i)->IsVisible() == TRUE);
        return visible;
    };
    EXPECT_EQ(L"Edit Tree Toolbar", [&] {
        CString title;
        manager.GetToolBar(1)->GetWindowText(title);
        return std::wstring(title);
    }());
    manager.ToggleToolBar(ID_TAL_EDIT_TREE_TOOLBAR_BAR);
    manager.ToggleToolBar(4711);
    ASSERT_EQ((std::vector<bool>{true, false, true}), shown());
    manager.HideToolBars();
    EXPECT_EQ((std::vector<bool>{false, false, false}), shown());
    manager.RestoreToolBars();
    EXPECT_EQ((std::vector<bool>{true, false, true}), shown());
    // Nothing is remembered any more.
    manager.ApplyToolBarVisibility();
    EXPECT_EQ((std::vector<bool>{true, false, true}), shown());
    manager.DestroyAll();
    g_application.m_pMainWnd = nullptr;
    frame->DestroyWindow();
}

TEST_F(ToolBarManagerTest, APressOnTheTextColourArrowOpensThePaletteWhoseMoreColorOpensTheColourDialog)
{
    constexpr UINT kTextColor = 32846;
    auto* frame = new CQMXPMDIFrameWnd;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, L"Bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr));
    g_application.m_pMainWnd = frame;
    manager.AddToolBarInfo(IDR_TAL_FORMAT_TEXT_TOOLBAR, ID_TAL_FORMAT_TEXT_TOOLBAR_BAR, IDS_TAL_FORMAT_TEXT_TOOLBAR,
                           true, false);
    ASSERT_TRUE(manager.CreateToolBars(frame));
    CQMXPToolBar* bar = manager.GetToolBar(0);
    CColorMenuButton prototype(kTextColor, CKWColor());
    prototype.EnableCustomColorButton(L"More Color...", TRUE, TRUE);
    ASSERT_EQ(1, bar->ReplaceButton(kTextColor, prototype, TRUE));
    auto* button = DYNAMIC_DOWNCAST(CColorMenuButton, bar->GetButton(bar->CommandToIndex(kTextColor)));
    ASSERT_NE(nullptr, button);
    frame->RecalcLayout();
    // A press on the drop-down arrow opens the palette, not a dialog.
    CPoint arrow(button->GetRect().right - 3, button->GetRect().CenterPoint().y);
    bar->ClientToScreen(&arrow);
    ::SetCursorPos(arrow.x, arrow.y);
    EXPECT_TRUE(button->OnClick(bar, FALSE));
    ASSERT_NE(nullptr, button->GetPopupMenu());
    EXPECT_EQ(nullptr, classlib_test::FindThreadDialog());
    auto* palette = DYNAMIC_DOWNCAST(CQMXPColorBar, button->GetPopupMenu()->GetMenuBar());
    ASSERT_NE(nullptr, palette);
    CColorButton* other = OtherColorCell(palette);
    ASSERT_NE(nullptr, other);
    EXPECT_EQ(CString(L"More Color..."), other->m_strText);
    auto* cell = static_cast<CColorButton*>(palette->GetButton(5));
    const COLORREF chosen = cell->m_Color;
    palette->OnItemClicked(cell);
    CKWColor recorded;
    ASSERT_TRUE(CColorMenuButton::LookupColor(kTextColor, recorded));
    EXPECT_EQ(CKWColor::FromColorRef(chosen).GetValue(), recorded.GetValue());
    EXPECT_EQ(chosen, button->CQMXPColorMenuButton::GetColor());

    // The other colour opens the common colour dialog; cancelled, the colour stays.
    ASSERT_TRUE(button->OpenPopupMenu());
    palette = DYNAMIC_DOWNCAST(CQMXPColorBar, button->GetPopupMenu()->GetMenuBar());
    ASSERT_NE(nullptr, palette);
    s_dialogSeen = false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, CancelColorDialog);
    palette->OnItemClicked(OtherColorCell(palette));
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(s_dialogSeen);
    EXPECT_EQ(chosen, button->CQMXPColorMenuButton::GetColor());
    ASSERT_TRUE(CColorMenuButton::LookupColor(kTextColor, recorded));
    EXPECT_EQ(CKWColor::FromColorRef(chosen).GetValue(), recorded.GetValue());
    manager.DestroyAll();
    g_application.m_pMainWnd = nullptr;
    frame->DestroyWindow();
}

TEST(ControlsWindow, TakesItsCaptionFromTheStyleAndNeverHidesAVisibleTemplate)
{
    ParentWindow parent;
    const struct {
        UINT templateId;
        DWORD style;
        bool caption, visible;
    } cases[] = {
        {7001, WS_CHILD, false, false},                  // the template's caption removed
        {7001, WS_CHILD | WS_CAPTION | WS_VISIBLE, true, true},
        {7002, WS_CHILD | WS_CAPTION, true, true},       // added; the template shows it
        {7002, WS_CHILD, false, true},
    };
    for (const auto& c : cases) {
        CKWControlsWnd pane;
        ASSERT_TRUE(pane.Create(c.templateId, 176, CRect(10, 20, 110, 90), &parent.window, c.style, WS_EX_CLIENTEDGE));
        EXPECT_EQ(c.caption, (pane.GetStyle() & WS_CAPTION) == WS_CAPTION) << c.templateId;
        EXPECT_EQ(c.visible, (pane.GetStyle() & WS_VISIBLE) != 0) << c.templateId;
        EXPECT_EQ(176, pane.GetDlgCtrlID());
        EXPECT_TRUE(pane.GetExStyle() & WS_EX_CLIENTEDGE);
        EXPECT_EQ(c.templateId == 7001, pane.GetItemHwnd(7100) != nullptr);
        CRect place;
        pane.GetWindowRect(&place);
        parent.window.ScreenToClient(&place);
        EXPECT_EQ(CRect(10, 20, 110, 90), place);
        pane.DestroyWindow();
    }
}
