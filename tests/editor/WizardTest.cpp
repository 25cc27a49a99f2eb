// The report wizard in the real program: started by StartUpMode 0 and by
// command 32789, its pages driven by the sheet's, the controls', the tree's
// and the list's messages, its dialogs answered.
#include "ProgramRun.h"
#include "RemoteMemory.h"

#include "editor/StructedWizardPage1.h"
#include "framework/KWSystemInfo.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/WindowScreenshot.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using edtest::CProgramRun;

namespace {

constexpr wchar_t kTemplateListKey[] = L"Software\\Kestrel Works\\OstraTallier\\OTN_Templates";
constexpr wchar_t kPrefsKey[] = L"Software\\Kestrel Works\\OstraTallier";

void SetTemplateList(const std::vector<std::wstring>& paths)
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTemplateListKey);
    HKEY key = nullptr;
    ::RegCreateKeyW(HKEY_CURRENT_USER, kTemplateListKey, &key);
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::wstring name = L"OTN" + std::to_wstring(i);
        ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(paths[i].c_str()),
                         DWORD((paths[i].size() + 1) * sizeof(wchar_t)));
    }
    ::RegCloseKey(key);
}

DWORD StoredStartUpMode()
{
    DWORD mode = 99;
    DWORD bytes = sizeof(mode);
    ::RegGetValueW(HKEY_CURRENT_USER, kPrefsKey, L"StartUpMode", RRF_RT_REG_DWORD, nullptr, &mode, &bytes);
    return mode;
}

// A report template whose heading "Report" holds the sections of the body
// (Leaf elements, children in a Leafs element after their parent).
std::string TemplateXml(const std::string& leaves)
{
    return "<?xml version='1.0' encoding='utf-8' ?>\n<TallierDocument Version='1.0' Company='' Author='' Subject='' "
           "Desc='' Title=''>\n<Tree>\n<Leaf ID='1' IDParentLeaf='0'>\nReport<CurLeafTemplate ID='-1'>"
           "</CurLeafTemplate></Leaf>\n<Leafs>\n" + leaves + "</Leafs>\n</Tree>\n</TallierDocument>\n";
}

std::string Leaf(int id, int parent, const char* name)
{
    return "<Leaf ID='" + std::to_string(id) + "' IDParentLeaf='" + std::to_string(parent) + "'>\n" + name +
           "<CurLeafTemplate ID='-1'></CurLeafTemplate></Leaf>\n";
}

using edtest::CRemote;
constexpr size_t kTextAt = CRemote::kTextAt;

using edtest::TreeShape;
using edtest::TreeText;

HTREEITEM FindItem(HANDLE process, HWND tree, const std::wstring& name, HTREEITEM item = nullptr)
{
    for (item = item ? item : TreeView_GetRoot(tree); item; item = TreeView_GetNextSibling(tree, item)) {
        if (TreeText(process, tree, item) == name)
            return item;
        if (HTREEITEM child = TreeView_GetChild(tree, item))
            if (HTREEITEM found = FindItem(process, tree, name, child))
                return found;
    }
    return nullptr;
}

std::wstring ListBoxText(HWND list, int index)
{
    wchar_t text[MAX_PATH] = {};
    ::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

// A wizard open in the program.
class CWizard {
public:
    explicit CWizard(CProgramRun& program) : m_program(program)
    {
        edtest::WaitFor([&] { return (m_sheet = WizardSheet()) != nullptr; });
    }
    HWND WizardSheet() const
    {
        HWND dialog = m_program.FindDialog();
        return dialog && CProgramRun::FindById(dialog, 1029) ? dialog : nullptr;
    }
    HWND Sheet() const { return m_sheet; }
    HWND Page() const { return reinterpret_cast<HWND>(::SendMessageW(m_sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }
    HWND Item(int id) const { return ::GetDlgItem(Page(), id); }
    // Presses a wizard button and waits until the sheet has answered it.
    void Press(int button) const
    {
        ::PostMessageW(m_sheet, PSM_PRESSBUTTON, button, 0);
        DWORD_PTR answer;
        ::SendMessageTimeoutW(m_sheet, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
    }
    void Click(int id) const
    {
        ::PostMessageW(Page(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    }
    // Clicks the button and waits for its answer (commands that open no dialog).
    void ClickNow(int id) const { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    // A message box or file dialog the wizard opened over itself.
    HWND WaitForBox(DWORD timeoutMs = 15000) const
    {
        HWND box = nullptr;
        edtest::WaitFor([&] {
            box = m_program.FindDialog();
            return box && box != m_sheet;
        }, timeoutMs);
        return box != m_sheet ? box : nullptr;
    }
    void Screenshot(const wchar_t* name) const { test_support::WriteWindowScreenshot(m_sheet, name); }

private:
    CProgramRun& m_program;
    HWND m_sheet = nullptr;
};

}  // namespace

TEST(WizardEntries, TemplatesInTheFolderAreListedByTheirLowerCasedRest)
{
    const struct {
        const wchar_t* path;
        const wchar_t* entry;
    } cases[] = {
        {L"C:\\App\\Templates\\A.otn", L"a.otn"},
        {L"c:\\app\\templates\\Sub\\B.OTN", L"sub\\b.otn"},
        {L"D:\\Other\\C.otn", L"D:\\Other\\C.otn"},
        {L"C:\\App\\TemplatesX.otn", L"C:\\App\\TemplatesX.otn"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.entry, CStructedWizardPage1::EntryText(L"c:\\app\\templates\\", c.path).GetString());
    EXPECT_STREQ(L"C:\\A.otn", CStructedWizardPage1::EntryText(L"", L"C:\\A.otn").GetString());
}

TEST(Wizard, FirstPageListsChecksAndRemovesTemplates)
{
    CKWTestTempFolder folder(L"wiz");
    const std::wstring outside = folder.Write(L"B.otn", TemplateXml(Leaf(2, 1, "A")));
    const std::wstring missing = folder.Path() + L"Missing.otn";
    SetTemplateList({std::wstring(GetModuleDirectory().GetString()) + L"Templates\\Default.OTN", outside, missing});
    edtest::SetStartPrefs(0, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    CWizard wizard(program);
    ASSERT_NE(nullptr, wizard.Sheet());
    HWND list = wizard.Item(1006);
    ASSERT_EQ(3, ::SendMessageW(list, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(L"default.otn", ListBoxText(list, 0));
    EXPECT_EQ(outside, ListBoxText(list, 1));
    EXPECT_EQ(0, ::SendMessageW(list, LB_GETCURSEL, 0, 0));
    wizard.Screenshot(L"editor_wizard_page1");

    // The same file again, in other letters: refused with its path.
    std::wstring again = outside;
    for (wchar_t& c : again)
        c = static_cast<wchar_t>(::towupper(c));
    wizard.Click(1007);
    HWND files = wizard.WaitForBox();
    ASSERT_NE(nullptr, files);
    CProgramRun::AnswerFileDialog(files, again);
    HWND box = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] { return (box = wizard.WaitForBox()) && box != files; }));
    EXPECT_EQ(L"This template already exists!\n" + again, CProgramRun::DialogText(box));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return program.FindDialog() == wizard.Sheet(); }));
    EXPECT_EQ(3, ::SendMessageW(list, LB_GETCOUNT, 0, 0));

    // A template that is not there keeps the wizard on its page.
    ::SendMessageW(list, LB_SETCURSEL, 2, 0);
    wizard.Press(PSBTN_NEXT);
    box = wizard.WaitForBox();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"Cannot open file " + missing, CProgramRun::DialogText(box));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return program.FindDialog() == wizard.Sheet(); }));
    EXPECT_EQ(list, wizard.Item(1006));

    // Removing the last entry selects the new last one.
    wizard.ClickNow(1008);
    EXPECT_EQ(2, ::SendMessageW(list, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(1, ::SendMessageW(list, LB_GETCURSEL, 0, 0));

    // Clearing the start-up box asks for an empty report at the next start;
    // a cancel now leaves that empty report.
    wizard.ClickNow(1099);
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(wizard.Item(1099), BM_GETCHECK, 0, 0));
    wizard.Press(PSBTN_CANCEL);
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    ASSERT_TRUE(program.CloseWithoutSaving());
    EXPECT_EQ(3u, StoredStartUpMode());
    // Next saved the list as it stood then, the cancel did not take it back.
    wchar_t stored[MAX_PATH] = {};
    DWORD bytes = sizeof(stored);
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CURRENT_USER, kTemplateListKey, L"OTN2", RRF_RT_REG_SZ, nullptr,
                                            stored, &bytes));
    EXPECT_EQ(missing, std::wstring(stored));
}

namespace {

// Keys typed into the program's focused window (the wizard in front), with
// the modifiers held as a user holds them.
void TypeKey(WORD key, WORD modifier = 0)
{
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    if (modifier)
        add(modifier, false);
    add(key, false);
    add(key, true);
    if (modifier)
        add(modifier, true);
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SelectItem(HWND tree, HTREEITEM item)
{
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

HTREEITEM Selected(HWND tree)
{
    return TreeView_GetSelection(tree);
}

// Waits until the program has handled everything typed or posted to the window.
void Settle(HWND window)
{
    for (int round = 0; round < 3; ++round) {
        DWORD_PTR answer;
        ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
    }
}

void SetListSelection(HANDLE process, HWND list, const std::vector<int>& selected)
{
    CRemote remote(process, sizeof(LVITEMW));
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), remote.Put(state));
    state.state = LVIS_SELECTED;
    for (int index : selected)
        ::SendMessageW(list, LVM_SETITEMSTATE, index, remote.Put(state));
}

std::string TeamPictureBytes()
{
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(251), MAKEINTRESOURCEW(10));
    const auto* bytes = static_cast<const char*>(::LockResource(::LoadResource(nullptr, found)));
    return std::string(bytes, ::SizeofResource(nullptr, found));
}

}  // namespace

TEST(Wizard, BuildsTheStructureAndImagesAndFinishesWithThemInANewReport)
{
    CKWTestTempFolder folder(L"wiz");
    const std::wstring first = folder.Write(
        L"First.otn", TemplateXml(Leaf(2, 1, "A") + Leaf(3, 1, "B") + "<Leafs>\n" + Leaf(4, 3, "B1") + "</Leafs>\n" +
                                  Leaf(5, 1, "C")));
    const std::wstring second = folder.Write(L"Second.otn", TemplateXml(Leaf(2, 1, "X") + Leaf(3, 1, "Y")));
    std::vector<std::wstring> pictures;
    for (const wchar_t* name : {L"holiday.jpg", L"p1.jpg", L"p2.jpg", L"p3.jpg", L"p4.jpg"})
        pictures.push_back(folder.Write(name, TeamPictureBytes()));
    SetTemplateList({first, second});
    edtest::SetStartPrefs(0, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    CWizard wizard(program);
    ASSERT_NE(nullptr, wizard.Sheet());
    const HANDLE process = program.Process();
    auto next = [&](int button) {
        HWND page = wizard.Page();
        wizard.Press(button);
        return edtest::WaitFor([&] { return wizard.Page() != page; });
    };

    // Another template first, then the first one: only its own sections.
    ::SendMessageW(wizard.Item(1006), LB_SETCURSEL, 1, 0);
    ASSERT_TRUE(next(PSBTN_NEXT));
    EXPECT_EQ(L"Report[X Y]", TreeShape(process, wizard.Item(1010)));
    ASSERT_TRUE(next(PSBTN_BACK));
    ::SendMessageW(wizard.Item(1006), LB_SETCURSEL, 0, 0);
    ::SendMessageW(wizard.Item(1043), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Trip"));
    ::SendMessageW(wizard.Item(1012), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Ann"));
    ::SendMessageW(wizard.Item(1014), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Kite Ltd"));
    ASSERT_TRUE(next(PSBTN_NEXT));
    HWND tree = wizard.Item(1010);
    EXPECT_EQ(L"Report[A B[B1] C]", TreeShape(process, tree));
    wizard.Screenshot(L"editor_wizard_page2");

    // The root item: neither removed nor moved; Add Section adds a subsection.
    EXPECT_EQ(TreeView_GetRoot(tree), Selected(tree));
    for (int id = 1019; id <= 1023; ++id)
        EXPECT_FALSE(::IsWindowEnabled(wizard.Item(id))) << id;
    wizard.ClickNow(1011);
    HWND label = TreeView_GetEditControl(tree);
    ASSERT_NE(nullptr, label);
    ::PostMessageW(label, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !TreeView_GetEditControl(tree); }));
    EXPECT_EQ(L"Report[A B[B1] C New Section]", TreeShape(process, tree));

    // The moves, by buttons and then by keys.
    const struct {
        const wchar_t* section;
        int button;
        WORD key, modifier;
        const wchar_t* shape;
        const wchar_t* selected;
    } steps[] = {
        {L"C", 1023, 0, 0, L"Report[A B[B1 C] New Section]", L"C"},
        {L"C", 1022, 0, 0, L"Report[A B[B1] C New Section]", L"C"},
        {L"A", 1021, 0, 0, L"Report[B[B1] A C New Section]", L"A"},
        {L"B1", 1019, 0, 0, L"Report[B A C New Section]", L"B"},
        {L"New Section", 1019, 0, 0, L"Report[B A C]", L"C"},
        {L"A", 0, VK_RIGHT, VK_CONTROL, L"Report[B[A] C]", L"A"},
        {L"A", 0, VK_LEFT, VK_CONTROL, L"Report[B A C]", L"A"},
        {L"A", 0, VK_UP, VK_CONTROL, L"Report[A B C]", L"A"},
        {L"A", 0, VK_DOWN, VK_CONTROL, L"Report[B A C]", L"A"},
        {L"C", 0, VK_DELETE, 0, L"Report[B A]", L"A"},
        {L"B", 0, VK_RETURN, VK_SHIFT, L"Report[B[New Section] A]", L"New Section"},
        {L"A", 0, VK_RETURN, 0, L"Report[B[New Section] A New Section]", L"New Section"},
    };
    ::SetForegroundWindow(wizard.Sheet());
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << step.button << " " << step.key);
        HTREEITEM item = FindItem(process, tree, step.section);
        ASSERT_NE(nullptr, item);
        SelectItem(tree, item);
        if (step.button) {
            wizard.ClickNow(step.button);
        } else {
            Settle(tree);
            TypeKey(step.key, step.modifier);
            Settle(tree);
        }
        if (HWND edit = TreeView_GetEditControl(tree)) {
            TypeKey(VK_RETURN);
            edtest::WaitFor([&] { return !TreeView_GetEditControl(tree) && !::IsWindow(edit); });
        }
        // A typed key's move rebuilds the tree after the key has been taken.
        edtest::WaitFor([&] { return TreeShape(process, tree) == step.shape; });
        EXPECT_EQ(step.shape, TreeShape(process, tree));
        EXPECT_EQ(step.selected, TreeText(process, tree, Selected(tree)));
    }
    // F2 renames through the label.
    SelectItem(tree, FindItem(process, tree, L"A"));
    Settle(tree);
    TypeKey(VK_F2);
    ASSERT_TRUE(edtest::WaitFor([&] { return TreeView_GetEditControl(tree) != nullptr; }));
    ::SendMessageW(TreeView_GetEditControl(tree), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Alpha"));
    TypeKey(VK_F2);
    ASSERT_TRUE(edtest::WaitFor([&] { return !TreeView_GetEditControl(tree); }));
    EXPECT_EQ(L"Report[B[New Section] Alpha New Section]", TreeShape(process, tree));

    // A comment of two lines, shown and left three times, stays as typed.
    HWND comment = wizard.Item(1025);
    SelectItem(tree, FindItem(process, tree, L"B"));
    // Typed as a replacement of the whole text (a multi-line edit tells no change of WM_SETTEXT).
    ::SendMessageW(comment, EM_SETSEL, 0, -1);
    ::SendMessageW(comment, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"one\r\ntwo"));
    for (int visit = 0; visit < 3; ++visit) {
        SelectItem(tree, FindItem(process, tree, L"Alpha"));
        EXPECT_EQ(L"", CProgramRun::Text(comment));
        SelectItem(tree, FindItem(process, tree, L"B"));
    }
    EXPECT_EQ(L"one\r\ntwo", CProgramRun::Text(comment));

    // Page 3 shows B; its images come from files, titled by their names.
    ASSERT_TRUE(next(PSBTN_NEXT));
    tree = wizard.Item(1010);
    HWND list = wizard.Item(1006);
    EXPECT_EQ(L"B", TreeText(process, tree, Selected(tree)));
    EXPECT_EQ(nullptr, reinterpret_cast<HWND>(::SendMessageW(tree, TVM_EDITLABELW, 0,
                                                             reinterpret_cast<LPARAM>(Selected(tree)))));
    EXPECT_EQ(nullptr, TreeView_GetEditControl(tree));
    for (const std::wstring& picture : pictures) {
        wizard.Click(1016);
        HWND files = wizard.WaitForBox();
        ASSERT_NE(nullptr, files);
        CProgramRun::AnswerFileDialog(files, picture);
        ASSERT_TRUE(edtest::WaitFor([&] { return program.FindDialog() == wizard.Sheet(); }));
    }
    ASSERT_EQ(5, ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(L"holiday", edtest::ListItemText(process, list, 0));
    SetListSelection(process, list, {1, 3});
    wizard.ClickNow(1042);
    ASSERT_EQ(3, ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(L"holiday p2 p4", edtest::ListItemText(process, list, 0) + L" " + edtest::ListItemText(process, list, 1) + L" " +
                                    edtest::ListItemText(process, list, 2));
    wizard.Screenshot(L"editor_wizard_page3");

    // Back to the first page and on with the same template: nothing reloaded.
    ASSERT_TRUE(next(PSBTN_BACK));
    ASSERT_TRUE(next(PSBTN_BACK));
    ASSERT_TRUE(next(PSBTN_NEXT));
    EXPECT_EQ(L"Report[B[New Section] Alpha New Section]", TreeShape(process, wizard.Item(1010)));
    ASSERT_TRUE(next(PSBTN_NEXT));
    EXPECT_EQ(3, ::SendMessageW(wizard.Item(1006), LVM_GETITEMCOUNT, 0, 0));

    // Finish: a new report with the wizard's content.
    wizard.Press(PSBTN_FINISH);
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1 && !program.FindDialog(); }));
    HWND reportTree = nullptr;
    edtest::WaitFor([&] { return (reportTree = CProgramRun::FindById(program.ReportFrames().front(), 1126)); });
    test_support::WriteWindowScreenshot(program.Main(), L"editor_wizard_report");
    ASSERT_NE(nullptr, reportTree);
    EXPECT_EQ(L"Report[B[New Section] Alpha New Section]", TreeShape(process, reportTree));
    const std::wstring saved = folder.Path() + L"Saved.otd";
    program.PostCommand(57604);
    HWND save = program.WaitForDialog();
    ASSERT_NE(nullptr, save);
    CProgramRun::AnswerFileDialog(save, saved);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::GetFileAttributesW(saved.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));
    const std::string file = ReadFileBytes(saved);
    for (const char* part : {"Title='Trip'", "Author='Ann'", "Company='Kite Ltd'", "Desc='holiday'", "Desc='p2'",
                             "Desc='p4'", "\none&#10;two\t"})
        EXPECT_NE(std::string::npos, file.find(part)) << part;
    for (const char* part : {"Desc='p1'", "Desc='p3'"})
        EXPECT_EQ(std::string::npos, file.find(part)) << part;

    // The wizard's command opens it again; a cancel there changes nothing.
    program.PostCommand(32789);
    CWizard again(program);
    ASSERT_NE(nullptr, again.Sheet());
    EXPECT_EQ(2, ::SendMessageW(again.Item(1006), LB_GETCOUNT, 0, 0)) << "the template list was kept";
    again.Press(PSBTN_CANCEL);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));
    EXPECT_EQ(1u, program.ReportFrames().size());
}

TEST(Wizard, AnEmptyListKeepsTheFirstPageWithAWordAndACancelAtStartLeavesNoReport)
{
    CKWTestTempFolder folder(L"wiz");
    SetTemplateList({folder.Write(L"Only.otn", TemplateXml(Leaf(2, 1, "A")))});
    edtest::SetStartPrefs(0, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    CWizard wizard(program);
    ASSERT_NE(nullptr, wizard.Sheet());
    HWND page = wizard.Page();
    wizard.ClickNow(1008);
    EXPECT_EQ(0, ::SendMessageW(wizard.Item(1006), LB_GETCOUNT, 0, 0));
    EXPECT_EQ(LB_ERR, ::SendMessageW(wizard.Item(1006), LB_GETCURSEL, 0, 0));
    EXPECT_FALSE(::IsWindowEnabled(wizard.Item(1008)));
    // Next without a template stays on the page and says what it waits for.
    wizard.Press(PSBTN_NEXT);
    HWND box = wizard.WaitForBox();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"Choose the report template of the new report in the list, or add one with \"Add Template\".",
              CProgramRun::DialogText(box));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return program.FindDialog() == wizard.Sheet(); }));
    EXPECT_EQ(page, wizard.Page());
    wizard.Press(PSBTN_CANCEL);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));
    // The start is over once the main window answers.
    DWORD_PTR answer;
    ::SendMessageTimeoutW(program.Main(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
    EXPECT_EQ(0u, program.ReportFrames().size());
}

TEST(Wizard, OpenedByItsCommandItKeepsAnotherStartUpModeUntilTheBoxIsChanged)
{
    CKWTestTempFolder folder(L"wiz");
    const std::wstring report =
        folder.Write(L"A.otd", ReadFileBytes(L"Z:" OT_TEST_DATA_DIR L"/files/MinimalDocument.otd"));
    SetTemplateList({folder.Write(L"Only.otn", TemplateXml(Leaf(2, 1, "A")))});
    edtest::SetStartPrefs(2, report);
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    program.PostCommand(32789);
    CWizard wizard(program);
    ASSERT_NE(nullptr, wizard.Sheet());
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(wizard.Item(1099), BM_GETCHECK, 0, 0));
    wizard.Press(PSBTN_CANCEL);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));
    ASSERT_TRUE(program.CloseWithoutSaving());
    EXPECT_EQ(2u, StoredStartUpMode()) << "filling the page's own boxes is no choice of the user's";
}
