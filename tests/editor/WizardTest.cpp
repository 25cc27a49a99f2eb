// The report wizard in the real program: started by StartUpMode 0 and by
// command 32789, its pages driven by the sheet's, the controls', the tree's
// and the list's messages, its dialogs answered.
#include "ProgramRun.h"

#include "editor/StructedWizardPage1.h"
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

std::wstring ProgramFolder()
{
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

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

// Memory inside the program, for the messages whose records must live there.
class CRemote {
public:
    CRemote(HANDLE process, size_t size) : m_process(process)
    {
        m_address = ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~CRemote() { ::VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE); }
    template <class T>
    LPARAM Put(const T& value, size_t offset = 0)
    {
        ::WriteProcessMemory(m_process, static_cast<char*>(m_address) + offset, &value, sizeof(T), nullptr);
        return At(offset);
    }
    template <class T>
    T Get(size_t offset = 0) const
    {
        T value{};
        ::ReadProcessMemory(m_process, static_cast<char*>(m_address) + offset, &value, sizeof(T), nullptr);
        return value;
    }
    LPARAM At(size_t offset) const { return reinterpret_cast<LPARAM>(static_cast<char*>(m_address) + offset); }
    std::wstring Text(size_t offset) const
    {
        wchar_t text[260] = {};
        ::ReadProcessMemory(m_process, static_cast<char*>(m_address) + offset, text, sizeof(text) - 2, nullptr);
        return text;
    }

private:
    HANDLE m_process;
    void* m_address;
};

constexpr size_t kTextAt = 256;

std::wstring TreeText(HANDLE process, HWND tree, HTREEITEM item)
{
    CRemote remote(process, 1024);
    TVITEMW record = {};
    record.mask = TVIF_TEXT;
    record.hItem = item;
    record.pszText = reinterpret_cast<wchar_t*>(remote.At(kTextAt));
    record.cchTextMax = 260;
    ::SendMessageW(tree, TVM_GETITEMW, 0, remote.Put(record));
    return remote.Text(kTextAt);
}

// The tree as text: each item's name, its children in brackets.
std::wstring TreeShape(HANDLE process, HWND tree, HTREEITEM item = nullptr)
{
    std::wstring shape;
    item = item ? item : TreeView_GetRoot(tree);
    for (; item; item = TreeView_GetNextSibling(tree, item)) {
        shape += (shape.empty() ? L"" : L" ") + TreeText(process, tree, item);
        if (HTREEITEM child = TreeView_GetChild(tree, item))
            shape += L"[" + TreeShape(process, tree, child) + L"]";
    }
    return shape;
}

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
        ::SendMessageTimeoutW(m_sheet, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
    }
    void Click(int id) const
    {
        ::PostMessageW(Page(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    }
    // Clicks the button and waits for its answer (commands that open no dialog).
    void ClickNow(int id) const { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    // A message box or file dialog the wizard opened over itself.
    HWND WaitForBox() const
    {
        HWND box = nullptr;
        edtest::WaitFor([&] {
            box = m_program.FindDialog();
            return box && box != m_sheet;
        });
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
    SetTemplateList({ProgramFolder() + L"Templates\\Default.OTN", outside, missing});
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
    ::PostMessageW(program.Main(), WM_CLOSE, 0, 0);
    if (!program.WaitForExit(1000)) {
        HWND question = program.WaitForDialog();
        ASSERT_NE(nullptr, question);
        ::PostMessageW(question, WM_COMMAND, IDNO, 0);
    }
    ASSERT_TRUE(program.WaitForExit(15000));
    EXPECT_EQ(3u, StoredStartUpMode());
}
