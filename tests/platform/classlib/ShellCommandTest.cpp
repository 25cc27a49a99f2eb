// The command line, the shell's DDE commands and conversation, and the
// shell registration of the document types.
#include "DocTestSupport.h"

#include "platform/classlib/CommandLineInfo.h"
#include "platform/classlib/DocManager.h"
#include "platform/classlib/DocTemplate.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <dde.h>

#include <cstring>

using namespace doc_test;

namespace {

struct CommandLineCase {
    LPCWSTR lpszLine;
    int nCommand;
    LPCWSTR lpszFile;
    LPCWSTR lpszPrinter;
    LPCWSTR lpszDriver;
    LPCWSTR lpszPort;
    BOOL bEmbedded;
};

// A DDE client window: it records the server that answered and the acknowledgements.
struct DdeClient {
    HWND hWnd = nullptr;
    HWND hWndServer = nullptr;
    int nAcks = 0;
    int nPositiveAcks = 0;
    BOOL bTerminated = FALSE;

    static LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* pThis = reinterpret_cast<DdeClient*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (pThis != nullptr && message == WM_DDE_ACK) {
            if (pThis->hWndServer == nullptr) {
                // The answer to the initiate: the atoms are ours to delete.
                pThis->hWndServer = reinterpret_cast<HWND>(wParam);
                ::GlobalDeleteAtom(LOWORD(lParam));
                ::GlobalDeleteAtom(HIWORD(lParam));
            } else {
                UINT_PTR uiLo = 0;
                UINT_PTR uiHi = 0;
                ::UnpackDDElParam(WM_DDE_ACK, lParam, &uiLo, &uiHi);
                ::FreeDDElParam(WM_DDE_ACK, lParam);
                ++pThis->nAcks;
                if (uiLo & 0x8000)
                    ++pThis->nPositiveAcks;
                ::GlobalFree(reinterpret_cast<HGLOBAL>(uiHi));
            }
            return 0;
        }
        if (pThis != nullptr && message == WM_DDE_TERMINATE) {
            pThis->bTerminated = TRUE;
            return 0;
        }
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }

    DdeClient() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &DdeClient::WndProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ClassLibDdeClient";
        ::RegisterClassW(&wc);
        hWnd = ::CreateWindowExW(0, L"ClassLibDdeClient", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~DdeClient() { ::DestroyWindow(hWnd); }

    BOOL Initiate(LPCWSTR lpszService, LPCWSTR lpszTopic) {
        ATOM atomService = ::GlobalAddAtomW(lpszService);
        ATOM atomTopic = ::GlobalAddAtomW(lpszTopic);
        ::SendMessageW(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(hWnd),
                       MAKELPARAM(atomService, atomTopic));
        ::GlobalDeleteAtom(atomService);
        ::GlobalDeleteAtom(atomTopic);
        return hWndServer != nullptr;
    }
    void Execute(LPCWSTR lpszCommand) {
        SIZE_T cb = (::lstrlenW(lpszCommand) + 1) * sizeof(wchar_t);
        HGLOBAL hCommand = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, cb);
        std::memcpy(::GlobalLock(hCommand), lpszCommand, cb);
        ::GlobalUnlock(hCommand);
        ::PostMessageW(hWndServer, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(hWnd),
                       ::PackDDElParam(WM_DDE_EXECUTE, 0, reinterpret_cast<UINT_PTR>(hCommand)));
    }
};

std::vector<std::wstring> OpenTitles(CWinApp& app) {
    std::vector<std::wstring> titles;
    POSITION posTemplate = app.GetFirstDocTemplatePosition();
    while (posTemplate != nullptr) {
        CDocTemplate* pTemplate = app.GetNextDocTemplate(posTemplate);
        POSITION pos = pTemplate->GetFirstDocPosition();
        while (pos != nullptr)
            titles.push_back(pTemplate->GetNextDoc(pos)->GetTitle().GetString());
    }
    return titles;
}

CString ClassesValue(LPCWSTR lpszKey, LPCWSTR lpszValue = nullptr) {
    wchar_t szValue[1024] = {0};
    DWORD cb = sizeof(szValue);
    if (::RegGetValueW(HKEY_CLASSES_ROOT, lpszKey, lpszValue, RRF_RT_REG_SZ, nullptr, szValue, &cb) != ERROR_SUCCESS)
        return L"<none>";
    return szValue;
}

void DeleteShellKeys() {
    for (LPCWSTR key : {L".dtr", L".dtt", L"KestrelWorksTests.DocTestReport", L"KestrelWorksTests.DocTestTemplate"})
        ::SHDeleteKeyW(HKEY_CLASSES_ROOT, key);
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::SHDeleteKeyW(HKEY_CURRENT_USER, CString(L"Software\\") + CDocTestApp::kRegistryKey);
        DeleteShellKeys();
        Log().clear();
        ASSERT_TRUE(app.StartUp());
        m_strFile = TestPath(L"shell.dtr");
        WriteDocFile(m_strFile, L"S");
    }
    void TearDown() override {
        app.ShutDown();
        EXPECT_EQ(0, LiveObjects());
        ::DeleteFileW(m_strFile);
        DeleteShellKeys();
        ::SHDeleteKeyW(HKEY_CURRENT_USER, CString(L"Software\\") + CDocTestApp::kRegistryKey);
    }
    CString m_strFile;
    CDocTestApp app;
};

}  // namespace

TEST(CommandLineTest, FlagsAndArgumentsGiveTheShellCommand) {
    const CommandLineCase cases[] = {
        {L"", CCommandLineInfo::FileNew, L"", L"", L"", L"", FALSE},
        {L"report.otd", CCommandLineInfo::FileOpen, L"report.otd", L"", L"", L"", FALSE},
        {L"\"C:\\My Files\\report.otd\"", CCommandLineInfo::FileOpen, L"C:\\My Files\\report.otd", L"", L"", L"",
         FALSE},
        {L"/p report.otd", CCommandLineInfo::FilePrint, L"report.otd", L"", L"", L"", FALSE},
        {L"-P report.otd", CCommandLineInfo::FilePrint, L"report.otd", L"", L"", L"", FALSE},
        {L"/pt report.otd \"PDF Printer\" winspool LPT1:", CCommandLineInfo::FilePrintTo, L"report.otd",
         L"PDF Printer", L"winspool", L"LPT1:", FALSE},
        {L"/dde", CCommandLineInfo::FileDDE, L"", L"", L"", L"", FALSE},
        {L"/Unregister", CCommandLineInfo::AppUnregister, L"", L"", L"", L"", FALSE},
        {L"/unregserver", CCommandLineInfo::AppUnregister, L"", L"", L"", L"", FALSE},
        {L"/REGISTER", CCommandLineInfo::AppRegister, L"", L"", L"", L"", FALSE},
        {L"/Embedding", CCommandLineInfo::FileNew, L"", L"", L"", L"", TRUE},
        {L"/unknown report.otd", CCommandLineInfo::FileOpen, L"report.otd", L"", L"", L"", FALSE},
    };
    classlib_test::CTestApp app;
    for (const CommandLineCase& c : cases) {
        std::wstring line = c.lpszLine;
        app.m_lpCmdLine = line.data();
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        EXPECT_EQ(c.nCommand, info.m_nShellCommand) << c.lpszLine;
        EXPECT_STREQ(c.lpszFile, info.m_strFileName) << c.lpszLine;
        EXPECT_STREQ(c.lpszPrinter, info.m_strPrinterName) << c.lpszLine;
        EXPECT_STREQ(c.lpszDriver, info.m_strDriverName) << c.lpszLine;
        EXPECT_STREQ(c.lpszPort, info.m_strPortName) << c.lpszLine;
        EXPECT_EQ(c.bEmbedded, info.m_bRunEmbedded) << c.lpszLine;
        if (*c.lpszLine != L'\0') {
            EXPECT_EQ(!c.bEmbedded, info.m_bShowSplash) << c.lpszLine;
        }
    }
    app.m_lpCmdLine = nullptr;
}

TEST(DDECommandTest, CommandsAreParsedIntoVerbAndArguments) {
    struct Case {
        LPCWSTR lpszCommand;
        BOOL bValid;
        LPCWSTR lpszVerb;
        std::vector<std::wstring> args;
    };
    const Case cases[] = {
        {L"[open(\"C:\\a b\\x.otd\")]", TRUE, L"open", {L"C:\\a b\\x.otd"}},
        {L"[printto(\"x.otd\",\"PDF, Inc.\",\"winspool\",\"LPT1:\")]", TRUE, L"printto",
         {L"x.otd", L"PDF, Inc.", L"winspool", L"LPT1:"}},
        {L"  [ print ( \"a\" ) ]  ", TRUE, L"print", {L"a"}},
        {L"[open( a , b )]", TRUE, L"open", {L"a", L"b"}},
        {L"[new]", TRUE, L"new", {}},
        {L"[new()]", TRUE, L"new", {}},
        {L"[open(\"unterminated)]", FALSE, L"open", {}},
        {L"open(\"a\")", FALSE, L"", {}},
        {L"[open(\"a\")]x", FALSE, L"open", {}},
        {L"[open(\"a\")", FALSE, L"open", {}},
        {L"[open(\"a\" \"b\")]", FALSE, L"open", {}},
        {L"[a(1,2,3,4,5)]", FALSE, L"a", {}},
    };
    for (const Case& c : cases) {
        CString strVerb;
        CString args[4];
        int nArgs = 0;
        BOOL bValid = AfxParseDDECommand(c.lpszCommand, strVerb, args, 4, nArgs);
        EXPECT_EQ(c.bValid, bValid) << c.lpszCommand;
        if (!c.bValid)
            continue;
        EXPECT_STREQ(c.lpszVerb, strVerb) << c.lpszCommand;
        ASSERT_EQ(c.args.size(), static_cast<size_t>(nArgs)) << c.lpszCommand;
        for (int i = 0; i < nArgs; ++i)
            EXPECT_EQ(c.args[static_cast<size_t>(i)], std::wstring(args[i])) << c.lpszCommand;
    }
}

TEST_F(ShellTest, DDECommandsOpenPrintAndPrintTo) {
    std::wstring command = L"[open(\"" + std::wstring(m_strFile) + L"\")]";
    EXPECT_TRUE(app.OnDDECommand(command.data()));
    EXPECT_EQ(std::vector<std::wstring>{L"shell.dtr"}, OpenTitles(app));
    // Printing an open document leaves it open.
    command = L"[print(\"" + std::wstring(m_strFile) + L"\")]";
    EXPECT_TRUE(app.OnDDECommand(command.data()));
    EXPECT_EQ(std::vector<std::wstring>{L"shell.dtr"}, OpenTitles(app));
    app.CloseAllDocuments(FALSE);
    // A document opened only for printing closes again.
    command = L"[printto(\"" + std::wstring(m_strFile) + L"\",\"PDF\",\"winspool\",\"CUPS:PDF\")]";
    EXPECT_TRUE(app.OnDDECommand(command.data()));
    EXPECT_TRUE(OpenTitles(app).empty());
    EXPECT_EQ((std::vector<std::wstring>{L"print:shell.dtr", L"print:shell.dtr to PDF,winspool,CUPS:PDF"}), Log());
    EXPECT_EQ(nullptr, app.m_pCmdInfo);

    std::wstring bad = L"[close(\"x\")]";
    EXPECT_FALSE(app.OnDDECommand(bad.data()));
    bad = L"[printto(\"x\")]";
    EXPECT_FALSE(app.OnDDECommand(bad.data()));
}

TEST_F(ShellTest, TheConversationRunsQueuedCommandsInOrder) {
    std::vector<CString> files = {TestPath(L"dde1.dtr"), TestPath(L"dde2.dtt"), TestPath(L"dde3.dtr")};
    for (const CString& file : files)
        WriteDocFile(file, L"D");
    DdeClient client;
    EXPECT_FALSE(client.Initiate(L"OtherApp", L"system")) << "another service is not answered";
    ASSERT_TRUE(client.Initiate(L"DocTestApp", L"System"));
    EXPECT_EQ(app.m_pMainWnd->m_hWnd, client.hWndServer);

    // Three commands wait in the queue together and run in the order they came.
    for (const CString& file : files)
        client.Execute((L"[open(\"" + std::wstring(file) + L"\")]").c_str());
    ASSERT_TRUE(classlib_test::PumpUntil([&] { return client.nAcks == 3; }));
    EXPECT_EQ(3, client.nPositiveAcks);
    EXPECT_EQ((std::vector<std::wstring>{L"dde1.dtr", L"dde3.dtr", L"dde2.dtt"}), OpenTitles(app))
        << "report template's documents first, each template in opening order";
    CFrameWnd* pActive = app.m_pMainWnd->IsFrameWnd() ? static_cast<CFrameWnd*>(app.m_pMainWnd)->GetActiveFrame()
                                                      : nullptr;
    ASSERT_NE(nullptr, pActive);
    EXPECT_STREQ(L"dde3.dtr", pActive->GetActiveDocument()->GetTitle()) << "the last one opened is active";

    // While a modal dialog disables the frame a command is acknowledged, not run.
    app.CloseAllDocuments(FALSE);
    app.m_pMainWnd->EnableWindow(FALSE);
    client.Execute((L"[open(\"" + std::wstring(files[0]) + L"\")]").c_str());
    ASSERT_TRUE(classlib_test::PumpUntil([&] { return client.nAcks == 4; }));
    app.m_pMainWnd->EnableWindow(TRUE);
    EXPECT_TRUE(OpenTitles(app).empty());

    ::PostMessageW(client.hWndServer, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(client.hWnd), 0);
    EXPECT_TRUE(classlib_test::PumpUntil([&] { return client.bTerminated == TRUE; }));
    for (const CString& file : files)
        ::DeleteFileW(file);
}

TEST_F(ShellTest, ProcessShellCommandCarriesOutTheCommandLine) {
    struct Step {
        std::wstring line;
        BOOL bResult;
        std::vector<std::wstring> log;
        std::vector<std::wstring> open;
    };
    std::wstring file = L"\"" + std::wstring(m_strFile) + L"\"";
    const Step steps[] = {
        {file, TRUE, {}, {L"shell.dtr"}},
        {L"/p " + file, FALSE, {L"print:shell.dtr"}, {L"shell.dtr"}},
        {L"/pt " + file + L" PDF winspool CUPS:PDF", FALSE, {L"print:shell.dtr to PDF,winspool,CUPS:PDF"},
         {L"shell.dtr"}},
        {L"", TRUE, {L"new:Report1"}, {L"shell.dtr", L"Report1"}},
        {L"/dde", TRUE, {}, {L"shell.dtr", L"Report1"}},
    };
    for (const Step& step : steps) {
        Log().clear();
        std::wstring line = step.line;
        app.m_lpCmdLine = line.data();
        app.m_nCmdShow = SW_SHOWNORMAL;
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        EXPECT_EQ(step.bResult, app.ProcessShellCommand(info)) << step.line;
        EXPECT_EQ(step.log, Log()) << step.line;
        EXPECT_EQ(step.open, OpenTitles(app)) << step.line;
        EXPECT_EQ(nullptr, app.m_pCmdInfo);
        if (info.m_nShellCommand == CCommandLineInfo::FilePrint || info.m_nShellCommand == CCommandLineInfo::FileDDE) {
            EXPECT_EQ(SW_HIDE, app.m_nCmdShow) << step.line;
        }
    }
    // Unregistering removes the profile and says so.
    app.WriteProfileInt(L"Settings", L"Value", 1);
    std::wstring line = L"/unregister";
    app.m_lpCmdLine = line.data();
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    EXPECT_FALSE(app.ProcessShellCommand(info));
    ASSERT_EQ(1u, app.m_prompts.size());
    EXPECT_EQ(L"System registry entries have been removed and the INI file (if any) was deleted.", app.m_prompts[0]);
    HKEY hKey = nullptr;
    EXPECT_NE(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, CString(L"Software\\") + CDocTestApp::kRegistryKey,
                                             0, KEY_READ, &hKey))
        << "the maker's key went with the profile";
    app.m_lpCmdLine = nullptr;
}

TEST_F(ShellTest, TheDocumentTypesAreRegisteredWithTheirVerbs) {
    app.RegisterShellFileTypes(TRUE);
    EXPECT_EQ(CString(L"KestrelWorksTests.DocTestReport"), ClassesValue(L".dtr"));
    EXPECT_EQ(CString(L"KestrelWorksTests.DocTestTemplate"), ClassesValue(L".dtt")) << "the first extension";
    EXPECT_EQ(CString(L"DocTest Report"), ClassesValue(L"KestrelWorksTests.DocTestReport"));
    EXPECT_EQ(CString(L"[open(\"%1\")]"), ClassesValue(L"KestrelWorksTests.DocTestReport\\shell\\open\\ddeexec"));
    EXPECT_EQ(CString(L"[print(\"%1\")]"), ClassesValue(L"KestrelWorksTests.DocTestReport\\shell\\print\\ddeexec"));
    EXPECT_EQ(CString(L"[printto(\"%1\",\"%2\",\"%3\",\"%4\")]"),
              ClassesValue(L"KestrelWorksTests.DocTestReport\\shell\\printto\\ddeexec"));
    CString strOpen = ClassesValue(L"KestrelWorksTests.DocTestReport\\shell\\open\\command");
    EXPECT_EQ(CString(L" /dde"), strOpen.Right(5));
    EXPECT_NE(CString(L"<none>"), ClassesValue(L"KestrelWorksTests.DocTestReport\\DefaultIcon"));
    EXPECT_EQ(CString(L""), ClassesValue(L".dtr\\ShellNew", L"NullFile"));

    // An extension that another program owns is left alone.
    ::SHDeleteKeyW(HKEY_CLASSES_ROOT, L".dtt");
    HKEY hKey = nullptr;
    ::RegCreateKeyW(HKEY_CLASSES_ROOT, L".dtt", &hKey);
    ::RegSetValueExW(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"Other.Type"), 22);
    ::RegCloseKey(hKey);
    app.RegisterShellFileTypes(TRUE);
    EXPECT_EQ(CString(L"Other.Type"), ClassesValue(L".dtt"));

    app.UnregisterShellFileTypes();
    EXPECT_EQ(CString(L"<none>"), ClassesValue(L".dtr"));
    EXPECT_EQ(CString(L"<none>"), ClassesValue(L"KestrelWorksTests.DocTestReport"));
    EXPECT_EQ(CString(L"Other.Type"), ClassesValue(L".dtt")) << "not ours to remove";
}
