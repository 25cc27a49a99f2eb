// The real program started as a process of its own: what a start shows,
// the files of its command line, the start-up modes and its commands.
#include "ProgramRun.h"

#include "tests/framework/KWTestFiles.h"
#include "tests/support/WindowScreenshot.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

using edtest::CProgramRun;

namespace {

constexpr int kViewId = 0xE900;
constexpr int kStatusBarId = 0xE801;
constexpr int kFileNameCombo = 0x47C;

// The program's windows inside a report window: the panes of the view and its splitters.
const int kReportWindowIds[] = {176, 189, 197, 1126, 1128, 1129, 1130};

HWND ViewOf(HWND frame)
{
    return CProgramRun::FindById(frame, kViewId);
}

}  // namespace

TEST(ProgramStart, EmptyReportModeShowsToolBarsStatusPanesAndOneReportWithItsPanes)
{
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    HWND frame = program.ReportFrames().front();
    EXPECT_EQ(L"Report1", CProgramRun::Text(frame));
    HWND view = ViewOf(frame);
    ASSERT_NE(nullptr, view);
    for (int id : kReportWindowIds) {
        HWND pane = CProgramRun::FindById(view, id);
        EXPECT_TRUE(pane && ::IsWindowVisible(pane)) << id;
    }
    // The report window opens maximised: it covers the MDI client, which
    // shows no scroll bars.
    HWND client = ::FindWindowExW(program.Main(), nullptr, L"MDIClient", nullptr);
    EXPECT_TRUE(::IsZoomed(frame));
    EXPECT_EQ(0, ::GetWindowLongW(client, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
    RECT area = {};
    ::GetClientRect(client, &area);
    ::MapWindowPoints(client, nullptr, reinterpret_cast<POINT*>(&area), 2);
    RECT covered = {};
    ::GetWindowRect(frame, &covered);
    RECT both = {};
    ::IntersectRect(&both, &area, &covered);
    EXPECT_TRUE(::EqualRect(&both, &area));
    // The section tree shows the report's sections.
    HWND tree = CProgramRun::FindById(view, 1126);
    EXPECT_GE(::SendMessageW(tree, TVM_GETCOUNT, 0, 0), 1);
    const wchar_t* names[] = {L"Main Toolbar", L"Edit Tree Toolbar", L"Format Text Toolbar"};
    for (int bar = 0; bar < 3; ++bar) {
        HWND window = CProgramRun::FindById(program.Main(), 59952 + bar);
        ASSERT_NE(nullptr, window) << bar;
        EXPECT_TRUE(::IsWindowVisible(window));
        EXPECT_EQ(names[bar], CProgramRun::Text(window));
    }
    HWND status = CProgramRun::FindById(program.Main(), kStatusBarId);
    ASSERT_NE(nullptr, status);
    EXPECT_EQ(2, ::SendMessageW(status, SB_GETPARTS, 0, 0));
    // Its first pane starts with the idle text.
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(status) == L"Ready"; }));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_start_empty_report");
}

// The hook beside the tests, which the system loads into the program, ends
// the splash's window while it is made: the start goes on without a splash to
// a main window that takes commands (its report and a new one).
TEST(ProgramStart, ASplashThatCannotBeMadeIsLeftOutAndTheMainWindowWorks)
{
    HANDLE refused = ::CreateEventW(nullptr, TRUE, FALSE, L"OtSplashRefused");
    HMODULE library = ::LoadLibraryW(edtest::BesideTests(L"splash_refusal.dll").c_str());
    FARPROC install = library ? ::GetProcAddress(library, "InstallSplashRefusal") : nullptr;
    ASSERT_NE(nullptr, install) << "splash_refusal.dll is built beside the tests";
    std::unique_ptr<HHOOK__, decltype(&::UnhookWindowsHookEx)> hook(reinterpret_cast<HHOOK>(install()),
                                                                     ::UnhookWindowsHookEx);
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(refused, 0)) << "the splash was made";
    program.Command(57600);
    EXPECT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 2; }));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_start_without_splash");
    ::CloseHandle(refused);
}

namespace {

// Report files in a folder of their own: A.OTD (a report) and B.otn (the same as a report template).
struct ReportFiles {
    ReportFiles()
    {
        const std::string report = ReadFileBytes(L"Z:" OT_TEST_DATA_DIR L"/files/MinimalDocument.otd");
        document = folder.Write(L"A.OTD", report);
        reportTemplate = folder.Write(L"B.otn", report);
    }
    CKWTestTempFolder folder{L"edt"};
    std::wstring document;
    std::wstring reportTemplate;
};

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(::towlower(c));
    return text;
}

// Opens the path through File Open and its dialog, and waits until the
// program is through with the open: a report that loads shows a progress
// window (a dialog too) until it is read, and the program answers again.
void OpenThroughDialog(CProgramRun& program, const std::wstring& path)
{
    program.PostCommand(57601);
    HWND dialog = program.WaitForDialogWith(kFileNameCombo);
    ASSERT_NE(nullptr, dialog);
    CProgramRun::AnswerFileDialog(dialog, path);
    ASSERT_TRUE(edtest::WaitFor([&] {
        DWORD_PTR answered = 0;
        return !::IsWindow(dialog) && !program.FindDialog() &&
               ::SendMessageTimeoutW(program.Main(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answered);
    }));
}

}  // namespace

TEST(ProgramStart, CommandLineOpensReportsOnlyAndReportsUnreadableOnes)
{
    ReportFiles files;
    edtest::SetStartPrefs(3, L"");
    struct Case {
        std::wstring argument;
        size_t frames;
        std::wstring message;  // of the message box the start shows; empty: none
    } cases[] = {
        {files.document, 1, L""},
        {files.folder.Path() + L"a.txt", 0, L""},
        {files.folder.Path() + L"Missing.otd", 0, L"Can't open file " + files.folder.Path() + L"Missing.otd!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.argument.begin(), c.argument.end()));
        CProgramRun program;
        ASSERT_TRUE(program.Start(L"\"" + c.argument + L"\""));
        if (!c.message.empty()) {
            HWND box = program.WaitForDialog();
            ASSERT_NE(nullptr, box);
            EXPECT_EQ(L"OstraTallier", CProgramRun::Text(box));
            EXPECT_EQ(c.message, CProgramRun::DialogText(box));
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        // Answered once the start is over and the main window takes messages.
        DWORD_PTR settled = 0;
        ASSERT_TRUE(::SendMessageTimeoutW(program.Main(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &settled));
        edtest::WaitFor([&] { return program.ReportFrames().size() == c.frames && !program.FindDialog(); });
        EXPECT_EQ(c.frames, program.ReportFrames().size());
        if (c.frames == 1)
            EXPECT_EQ(L"A", CProgramRun::Text(program.ReportFrames().front()));
    }
}

TEST(ProgramStart, OpenActivatesAnOpenReportInOtherCaseAndATemplateGivesTheNextUntitledReport)
{
    ReportFiles files;
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    OpenThroughDialog(program, files.document);
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 2; }));
    HWND report = program.ActiveFrame();
    EXPECT_EQ(L"A", CProgramRun::Text(report));
    program.Command(57600);
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 3; }));
    OpenThroughDialog(program, Lower(files.document));
    EXPECT_EQ(3u, program.ReportFrames().size());
    EXPECT_EQ(report, program.ActiveFrame());
    OpenThroughDialog(program, files.reportTemplate);
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 4; }));
    EXPECT_EQ(L"Report3", CProgramRun::Text(program.ActiveFrame()));
    // Once changed (a section added), saving it asks for a name: the template stays as it was.
    const std::string template_ = ReadFileBytes(files.reportTemplate);
    program.Command(32806);
    program.PostCommand(57603);
    HWND save = program.WaitForDialog();
    ASSERT_NE(nullptr, save);
    EXPECT_NE(nullptr, CProgramRun::FindById(save, 0x47C)) << "a file dialog, not a message";
    ::PostMessageW(save, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(template_, ReadFileBytes(files.reportTemplate));
}

TEST(ProgramStart, OpenModeReopensTheLastFileOrAsksAndAsksOnEveryLaterOpen)
{
    ReportFiles files;
    const std::wstring second = files.folder.Write(L"C.otd", ReadFileBytes(files.document));
    // With a last file the start opens it without a dialog; without one it
    // asks, and the request is used up even so: the later File Open asks again
    // although a last file is known by then.
    for (const bool known : {true, false}) {
        SCOPED_TRACE(known ? "last file known" : "no last file");
        edtest::SetStartPrefs(2, known ? files.document : L"");
        CProgramRun program;
        ASSERT_TRUE(program.Start());
        if (!known) {
            HWND dialog = program.WaitForDialog();
            ASSERT_NE(nullptr, dialog);
            CProgramRun::AnswerFileDialog(dialog, files.document);
        }
        ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1 && !program.FindDialog(); }));
        EXPECT_EQ(L"A", CProgramRun::Text(program.ReportFrames().front()));
        OpenThroughDialog(program, second);
        ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 2; }));
        EXPECT_EQ(L"C", CProgramRun::Text(program.ActiveFrame()));
    }
}

TEST(ProgramStart, UnregisterReportsAndEnds)
{
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"/Unregister"));
    HWND box = program.WaitForDialog();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"System registry entries have been removed and the INI file (if any) was deleted.",
              CProgramRun::DialogText(box));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(program.WaitForExit(15000));
}

namespace {

std::wstring ClassesRootValue(const std::wstring& key, const wchar_t* name = nullptr)
{
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS)
        return L"<missing>";
    return value;
}

bool ClassesRootKeyExists(const std::wstring& key)
{
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(handle);
    return true;
}

}  // namespace

TEST(ProgramStart, ExitWritesTheShellRegistrationOfBothTypes)
{
    const wchar_t* const typeIds[] = {L"OstraTallier.Document", L"OstraTallier.Template"};
    // Another program's DDE service and topic must not survive the exit.
    for (const wchar_t* typeId : typeIds) {
        for (const wchar_t* leaf : {L"Application", L"topic"}) {
            HKEY key = nullptr;
            const std::wstring path = std::wstring(typeId) + L"\\shell\\open\\ddeexec\\" + leaf;
            ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyW(HKEY_CLASSES_ROOT, path.c_str(), &key));
            ::RegSetValueW(HKEY_CLASSES_ROOT, path.c_str(), REG_SZ, L"Other", 10);
            ::RegCloseKey(key);
        }
    }
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.CloseWithoutSaving());

    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring exe(self);
    exe = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"OstraTallier.exe";
    const struct {
        const wchar_t* extension;
        const wchar_t* typeId;
        const wchar_t* name;
        const wchar_t* icon;
    } types[] = {
        {L".otd", L"OstraTallier.Document", L"OstraTallier Document", L",1"},
        {L".otn", L"OstraTallier.Template", L"OstraTallier Template", L",2"},
    };
    for (const auto& type : types) {
        SCOPED_TRACE(testing::Message() << type.extension);
        const std::wstring id = type.typeId;
        const std::pair<std::wstring, std::wstring> values[] = {
            {type.extension, id},
            {id, type.name},
            {id + L"\\DefaultIcon", exe + type.icon},
            {id + L"\\shell\\open\\ddeexec", L"[open(\"%1\")]"},
            {id + L"\\shell\\open\\command", exe + L" \"%1\""},
            {id + L"\\shell\\print\\ddeexec", L"[print(\"%1\")]"},
            {id + L"\\shell\\print\\command", exe + L" /p \"%1\""},
            {id + L"\\shell\\printto\\ddeexec", L"[printto(\"%1\",\"%2\",\"%3\",\"%4\")]"},
            {id + L"\\shell\\printto\\command", exe + L" /pt \"%1\" \"%2\" \"%3\" \"%4\""},
        };
        for (const auto& value : values)
            EXPECT_EQ(value.second, ClassesRootValue(value.first)) << std::string(value.first.begin(), value.first.end());
        EXPECT_FALSE(ClassesRootKeyExists(id + L"\\shell\\open\\ddeexec\\Application"));
        EXPECT_FALSE(ClassesRootKeyExists(id + L"\\shell\\open\\ddeexec\\topic"));
        EXPECT_EQ(L"", ClassesRootValue(std::wstring(type.extension) + L"\\ShellNew", L"NullFile"));
    }
}

// A report that fails to open, or a Save As that fails, leaves the main
// window's caption naming the report still open.
TEST(ProgramStart, AFailedOpenOrSaveAsLeavesTheCaptionOfTheOpenReport)
{
    CKWTestTempFolder folder(L"eft");
    const std::wstring broken = folder.Path() + L"embedded.otd";
    WriteFileBytes(broken, "<?xml version='1.0' encoding='utf-8' ?>\n<TallierDocument>\n<Section Title='x'>\n");
    const std::wstring locked = folder.Path() + L"Locked.otd";
    WriteFileBytes(locked, "in use");
    HANDLE held = ::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    const std::wstring caption = CProgramRun::Text(program.Main());
    ASSERT_NE(std::wstring::npos, caption.find(L"Report1")) << std::string(caption.begin(), caption.end());
    const struct {
        const char* name;
        UINT command;
        const std::wstring& path;
        int boxes;  // answered in turn: the error, after the question to replace an existing file
    } cases[] = {{"open", 57601, broken, 1}, {"save as", 32888, locked, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        program.PostCommand(c.command);
        HWND dialog = program.WaitForDialog();
        ASSERT_NE(nullptr, dialog);
        CProgramRun::AnswerFileDialog(dialog, c.path);
        // The error (and for an existing file the question to replace it) are
        // answered; the file dialog going and the load's progress window are passed over.
        for (int answered = 0; answered < c.boxes; ++answered) {
            HWND box = nullptr;
            UINT answer = 0;
            ASSERT_TRUE(edtest::WaitFor([&] {
                box = program.FindDialog();
                answer = !box || (box == dialog && ::IsWindow(dialog)) ? 0
                         : ::GetDlgItem(box, IDYES)                    ? IDYES
                         : ::GetDlgItem(box, IDOK)                     ? IDOK
                                                                       : 0;
                return answer != 0;
            })) << "box " << answered + 1 << " of " << c.boxes;
            ::PostMessageW(box, WM_COMMAND, answer, 0);
            ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(box); }));
        }
        HWND more = nullptr;
        EXPECT_TRUE(edtest::WaitFor([&] { return !(more = program.FindDialog()); }))
            << "one more box: " << testing::PrintToString(CProgramRun::DialogText(more));
        // A report that failed to load closes its window after the error.
        EXPECT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }))
            << program.ReportFrames().size() << " report windows";
        EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(program.Main()) == caption; }))
            << std::string(caption.begin(), caption.end()) << " became "
            << std::string(CProgramRun::Text(program.Main()).begin(), CProgramRun::Text(program.Main()).end());
    }
    test_support::WriteWindowScreenshot(program.Main(), L"editor_caption_after_failed_open");
    ::CloseHandle(held);
}
