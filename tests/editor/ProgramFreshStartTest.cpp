// The real program as a new user meets it: on a profile without any setting
// of the program the wizard lists the templates folder's report template and
// a new report's page-template pane the shipped page templates, whose choice
// reaches the saved file also after an opened report added templates; every
// start-up (each start-up mode, a report on the command line, a damaged one)
// ends in a main window that takes the user's commands; F2 and Ctrl with an
// arrow in the section tree and in the text panel; the status bar's command.
#include "ProgramRun.h"
#include "RemoteMemory.h"
#include "UserInput.h"

#include "files/TalXmlSerializer.h"
#include "model/TalBaseDocument.h"
#include "model/TalPageTemplate.h"
#include "model/TalSection.h"
#include "model/TalTemplateManager.h"
#include "tests/export/html/HtmlLinkWalker.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/WindowScreenshot.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

using edtest::CProgramRun;

namespace {

constexpr wchar_t kProgramKey[] = L"Software\\Kestrel Works";
constexpr int kWizardPicture = 1029;
constexpr int kWizardTemplates = 1006;
constexpr int kWizardAddTemplate = 1007;
constexpr int kStatusBar = 0xE801;
constexpr UINT kToggleStatusBar = 32791;
constexpr int kTree = 1126;
constexpr int kTemplateList = 1135;
constexpr int kTextPanel = 1159;
constexpr int kFileNameCombo = 0x47C;
constexpr int kProgressMessage = 9002;

// The number of files of the folder beside the program that match the pattern.
size_t ShippedFiles(const wchar_t* pattern)
{
    size_t count = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(edtest::BesideTests(pattern).c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found))
        ++count;
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    return count;
}

// The item of the list view whose text it is; -1 when none.
int FindListItem(const CProgramRun& program, HWND list, const std::wstring& text)
{
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        if (edtest::ListItemText(program.Process(), list, item) == text)
            return item;
    }
    return -1;
}

// A click on the list view's item, scrolled into view first.
void ClickListItem(HWND list, int item)
{
    ::SendMessageW(list, LVM_ENSUREVISIBLE, item, FALSE);
    edtest::CRemote remote(list, sizeof(RECT));
    RECT bounds = {LVIR_ICON};
    ::SendMessageW(list, LVM_GETITEMRECT, item, remote.Put(bounds));
    const RECT rect = remote.Get<RECT>();
    edtest::ClickClient(list, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

// A dialog of the program that waits for the user (not a progress window).
struct DialogQuery {
    DWORD process;
    HWND found;
};

BOOL CALLBACK VisitForDialog(HWND window, LPARAM data)
{
    auto* query = reinterpret_cast<DialogQuery*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != query->process || !::IsWindowVisible(window) || CProgramRun::ClassName(window) != L"#32770" ||
        ::GetDlgItem(window, kProgressMessage))
        return TRUE;
    query->found = window;
    return FALSE;
}

HWND AnswerableDialog(const CProgramRun& program)
{
    DialogQuery query = {0, nullptr};
    ::GetWindowThreadProcessId(program.Main(), &query.process);
    ::EnumWindows(VisitForDialog, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// The report saved under the path through Ctrl+S and its dialog; its file.
std::string SaveByKeys(const CProgramRun& program, const std::wstring& path)
{
    edtest::PressChord(VK_CONTROL, 'S');
    HWND save = program.WaitForDialogWith(kFileNameCombo);
    if (!save || !edtest::AnswerFileDialogByKeys(save, path))
        return std::string();
    edtest::WaitFor([&] { return !program.FindDialog() && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; });
    edtest::WaitFor([&] { return !program.FindDialog(); });
    return ReadFileBytes(path);
}

}  // namespace

TEST(ProgramFreshStart, TemplatesOfTheFoldersAreListedAndAChosenPageTemplateReachesTheSavedFile)
{
    CKWTestTempFolder folder(L"frs");
    // A report that carries a page template of its own, titled to sort first.
    const std::wstring carrying = folder.Path() + L"Carrying.otd";
    {
        auto* carried = new CTalPageTemplate;
        carried->SetName(L"CarriedLayout");
        carried->SetTitle(L"0 Carried");
        carried->AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0.1, 0.1, 0.9, 0.9));
        g_TemplateManager.AddPageTemplate(carried);
        CTalBaseDocument model;
        CKWRefPtr<CTalSection> heading = model.GetProperties().GetHeadingSection();
        heading->SetOwnTemplate(1);
        heading->SetTemplateName(L"CarriedLayout");
        CTalXmlSerializer serializer;
        serializer.SetTemplateFolder(folder.Path().c_str());
        ASSERT_TRUE(serializer.SaveDocument(&model, carrying.c_str(), nullptr));
    }
    // The program writes the carried template beside its own; it goes again.
    struct CRemoveCarried {
        ~CRemoveCarried() { ::DeleteFileW(edtest::BesideTests(L"DATA\\CarriedLayout.otl").c_str()); }
    } removeCarried;

    // A fresh profile: nothing of the program in the registry, nothing
    // beside it but what the build puts there.
    edtest::KeepOnlyShippedTemplates();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    HWND wizard = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        wizard = program.FindDialog();
        return wizard && CProgramRun::FindById(wizard, kWizardPicture);
    }));
    HWND page = reinterpret_cast<HWND>(::SendMessageW(wizard, PSM_GETCURRENTPAGEHWND, 0, 0));
    HWND templates = ::GetDlgItem(page, kWizardTemplates);
    ASSERT_GE(::SendMessageW(templates, LB_GETCOUNT, 0, 0), 1);
    wchar_t entry[MAX_PATH] = {};
    ::SendMessageW(templates, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(entry));
    EXPECT_EQ(std::wstring(L"default.otn"), entry);
    ::SetForegroundWindow(wizard);
    // "Add Template" opens in the templates folder: it shows the default template.
    edtest::ClickWindow(::GetDlgItem(page, kWizardAddTemplate));
    HWND add = program.WaitForDialogWith(kFileNameCombo);
    ASSERT_NE(nullptr, add);
    HWND files = nullptr;
    EXPECT_TRUE(edtest::WaitFor([&] {
        files = edtest::FindByClass(add, L"SysListView32");
        return files && FindListItem(program, files, L"default.otn") >= 0;
    }));
    edtest::ClickWindow(::GetDlgItem(add, IDCANCEL));
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(add); }));
    edtest::ClickWindow(::GetDlgItem(wizard, IDCANCEL));
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));

    // A new report (Ctrl+N): its pane lists every shipped page template.
    ::SetForegroundWindow(program.Main());
    ASSERT_TRUE(edtest::ReadyForKeys(program)) << program.Shows();
    edtest::PressChord(VK_CONTROL, 'N');
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    HWND first = program.ActiveFrame();
    HWND list = CProgramRun::FindById(first, kTemplateList);
    const size_t shipped = ShippedFiles(L"DATA\\*.otl");
    ASSERT_GE(shipped, 3u);
    EXPECT_EQ(LRESULT(shipped), ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(L"1 Picture", edtest::ListItemText(program.Process(), list, 0));

    // The report that carries its template opened: it comes before them all.
    edtest::PressChord(VK_CONTROL, 'O');
    HWND open = program.WaitForDialogWith(kFileNameCombo);
    ASSERT_NE(nullptr, open);
    ASSERT_TRUE(edtest::AnswerFileDialogByKeys(open, carrying));
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 2 && !program.FindDialog(); }));
    EXPECT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == LRESULT(shipped + 1); }))
        << "the first report's pane lists it too";

    // Back in the first report (Ctrl+F6), "2 Pictures" is chosen and saved.
    edtest::PressChord(VK_CONTROL, VK_F6);
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ActiveFrame() == first; }));
    const int two = FindListItem(program, list, L"2 Pictures");
    ASSERT_GE(two, 0);
    ClickListItem(list, two);
    ASSERT_TRUE(edtest::WaitFor([&] { return ListView_GetNextItem(list, -1, LVNI_SELECTED) == two; }));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_fresh_template_chosen");
    const std::string saved = SaveByKeys(program, folder.Path() + L"Chosen.otd");
    EXPECT_NE(std::string::npos, saved.find("FileName='TwoPictures' Title='2 Pictures'")) << saved.substr(0, 2000);
    EXPECT_EQ(std::string::npos, saved.find("FileName='CarriedLayout'"));
}

TEST(ProgramFreshStart, EveryStartUpEndsInAMainWindowThatTakesCommands)
{
    CKWTestTempFolder folder(L"sup");
    const std::string report = ReadFileBytes(L"Z:" OT_TEST_DATA_DIR L"/files/MinimalDocument.otd");
    const std::wstring sound = folder.Write(L"Sound.otd", report);
    const std::wstring damaged = folder.Write(L"Damaged.otd", report.substr(0, report.size() / 2));
    const struct {
        const wchar_t* what;
        int mode;
        std::wstring argument;
        size_t dialogs;  // that the start shows, one after the other
        size_t reports;  // once every dialog of the start is answered
    } cases[] = {
        {L"the wizard, cancelled", 0, L"", 1, 0},
        {L"a report from a template, its dialog cancelled", 1, L"", 1, 0},
        {L"the open dialog, cancelled", 2, L"", 1, 0},
        {L"an empty report", 3, L"", 0, 1},
        {L"a report named", 3, L"\"" + sound + L"\"", 0, 1},
        {L"a damaged report named", 3, L"\"" + damaged + L"\"", 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.what, c.what + wcslen(c.what)));
        edtest::SetStartPrefs(c.mode, L"");
        CProgramRun program;
        ASSERT_TRUE(program.Start(c.argument));
        // Whatever the start shows is answered as a user would: Cancel, or OK
        // where that is all a box offers.
        for (size_t shown = 0; shown < c.dialogs; ++shown) {
            HWND dialog = nullptr;
            ASSERT_TRUE(edtest::WaitFor([&] { return (dialog = AnswerableDialog(program)) != nullptr; }))
                << "dialog " << shown + 1 << " of " << c.dialogs;
            // A dialog is caught as it is made: its buttons come a moment later.
            HWND answer = nullptr;
            edtest::WaitFor([&] {
                answer = ::GetDlgItem(dialog, IDCANCEL);
                if (!answer || !::IsWindowVisible(answer))
                    answer = ::GetDlgItem(dialog, IDOK);
                return answer && ::IsWindowVisible(answer);
            });
            ASSERT_NE(nullptr, answer) << htmltest::Narrow(CProgramRun::Text(dialog) + L": " +
                                                           CProgramRun::DialogText(dialog));
            ::SetForegroundWindow(dialog);
            edtest::ClickWindow(answer);
            ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); }));
        }
        // Answered once the start is over and the main window takes messages.
        DWORD_PTR settled = 0;
        ASSERT_TRUE(::SendMessageTimeoutW(program.Main(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &settled));
        HWND more = nullptr;
        ASSERT_TRUE(edtest::WaitFor([&] { return !(more = program.FindDialog()); }))
            << "one more dialog: " << htmltest::Narrow(CProgramRun::Text(more) + L": " + CProgramRun::DialogText(more));
        EXPECT_TRUE(::IsWindowEnabled(program.Main()));
        EXPECT_EQ(c.reports, program.ReportFrames().size());
        // It takes the user's keys: Ctrl+N gives one more report.
        ::SetForegroundWindow(program.Main());
        ASSERT_TRUE(edtest::ReadyForKeys(program)) << program.Shows();
        edtest::PressChord(VK_CONTROL, 'N');
        EXPECT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == c.reports + 1; }));
    }
}

TEST(ProgramFreshStart, F2RenamesCtrlDownMovesTheSectionInTheTreeAndCtrlRightMovesByAWordInTheText)
{
    CKWTestTempFolder folder(L"key");
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    ::SetForegroundWindow(program.Main());
    HWND frame = program.ActiveFrame();
    HWND tree = CProgramRun::FindById(frame, kTree);
    HTREEITEM root = TreeView_GetRoot(tree);
    HTREEITEM introduction = TreeView_GetChild(tree, root);
    ASSERT_TRUE(edtest::ClickTreeItem(tree, introduction));

    // F2 starts the label edit, F2 again ends it keeping the typed name.
    edtest::TapKey(VK_F2);
    HWND edit = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] { return (edit = TreeView_GetEditControl(tree)) != nullptr; }));
    edtest::TypeText(L"Findings");
    edtest::TapKey(VK_F2);
    ASSERT_TRUE(edtest::WaitFor([&] { return TreeView_GetEditControl(tree) == nullptr; }));
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::TreeText(program.Process(), tree, introduction) == L"Findings"; }));

    // A second section after it (Enter, its name, Enter), then the first moved down.
    edtest::TapKey(VK_RETURN);
    ASSERT_TRUE(edtest::WaitFor([&] { return TreeView_GetEditControl(tree) != nullptr; }));
    edtest::TypeText(L"Outlook");
    edtest::TapKey(VK_RETURN);
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::TreeShape(program.Process(), tree) == L"Report[Findings Outlook]"; }));
    HTREEITEM findings = TreeView_GetChild(tree, root);
    ASSERT_TRUE(edtest::ClickTreeItem(tree, findings));
    edtest::PressChord(VK_CONTROL, VK_DOWN);
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::TreeShape(program.Process(), tree) == L"Report[Outlook Findings]"; }));
    // One step: one undo puts it back.
    edtest::PressChord(VK_CONTROL, 'Z');
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::TreeShape(program.Process(), tree) == L"Report[Findings Outlook]"; }));

    // In the text panel Ctrl+Right moves over a word (to its end, as the
    // text's word moves go), not a character; the tree stays.
    HWND panel = CProgramRun::FindById(frame, kTextPanel);
    edtest::ClickClient(panel, POINT{30, 20});
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(panel) == panel; }));
    edtest::TypeText(L"alpha beta");
    edtest::TapKey(VK_HOME);
    edtest::PressChord(VK_CONTROL, VK_RIGHT);
    edtest::TypeText(L"X");
    const std::string saved = SaveByKeys(program, folder.Path() + L"Keys.otd");
    EXPECT_NE(std::string::npos, saved.find("alphaX beta")) << saved.substr(saved.find("TextNote"), 200);
    EXPECT_EQ(L"Report[Findings Outlook]", edtest::TreeShape(program.Process(), tree));

    // The command without a menu entry hides the status bar and shows it again.
    HWND status = CProgramRun::FindById(program.Main(), kStatusBar);
    ASSERT_TRUE(status && ::IsWindowVisible(status));
    program.Command(kToggleStatusBar);
    EXPECT_FALSE(::IsWindowVisible(status));
    program.Command(kToggleStatusBar);
    EXPECT_TRUE(::IsWindowVisible(status));
}
