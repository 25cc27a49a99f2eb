// The application base started and ended as a program is: the order of its
// start-up, the splash screen, the main window with its bars, the tool-bar
// reset, the shell's DDE commands, the settings reset and the end.
#include "KWAppTestSupport.h"

#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "appwindows/KWAccessors.h"
#include "appwindows/KWSplashScreen.h"
#include "appwindows/KWStatusBar.h"

#include <gtest/gtest.h>

#include <dde.h>

using namespace kwapp;

namespace {

std::vector<std::wstring> g_acks;

// The DDE client: notes each acknowledgement and frees the command's block.
LRESULT CALLBACK ClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_DDE_ACK)
        return ::DefWindowProcW(window, message, wParam, lParam);
    UINT_PTR status = 0;
    UINT_PTR block = 0;
    ::UnpackDDElParam(WM_DDE_ACK, lParam, &status, &block);
    ::FreeDDElParam(WM_DDE_ACK, lParam);
    g_acks.push_back(status & 0x8000 ? L"ack" : L"nack");
    ::GlobalFree(reinterpret_cast<HGLOBAL>(block));
    return 0;
}

HWND MakeClient()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ClientProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KWAppTestDDEClient";
    ::RegisterClassW(&wc);
    return ::CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
}

// Posts the bytes as a WM_DDE_EXECUTE block of exactly that size, as the
// shell does, and lets them arrive.
void Execute(HWND frame, HWND client, const void* bytes, size_t size)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    std::memcpy(::GlobalLock(block), bytes, size);
    ::GlobalUnlock(block);
    ::PostMessageW(frame, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(client),
                   ::PackDDElParam(WM_DDE_EXECUTE, 0, reinterpret_cast<UINT_PTR>(block)));
    kwwin::Pump();
}

void Execute(HWND frame, HWND client, const std::wstring& command)
{
    Execute(frame, client, command.c_str(), (command.size() + 1) * sizeof(wchar_t));
}

bool KeyExists(HKEY root, const std::wstring& key)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(opened);
    return true;
}

std::vector<std::wstring> StatusPaneTexts()
{
    std::vector<std::wstring> texts;
    for (int pane = 0; pane < GetKWStatusBar()->GetCount(); ++pane)
        texts.push_back(GetKWStatusBar()->GetPaneText(pane).GetString());
    return texts;
}

// Holds the Control key down for the thread while it lives.
class ControlHeld {
public:
    ControlHeld()
    {
        ::GetKeyboardState(m_saved);
        BYTE state[256];
        std::memcpy(state, m_saved, sizeof state);
        state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
        ::SetKeyboardState(state);
    }
    ~ControlHeld() { ::SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};

}  // namespace

class AppStartup : public AppFixture {};

TEST_F(AppStartup, StartsInOrderWithSplashMaximisedFrameMenuBarAndStatusPanes)
{
    // Loading a tool bar asks the application to reset its buttons.
    const std::vector<std::wstring> order = {
        L"GetSplashInfo",      L"PrepareApp",       L"CreateMainFrame", L"OnMainFrameCreating",
        L"ResetToolBar 130",   L"OnMainFrameCreated", L"GetStatusBarPane", L"GetResetRequest",
        L"LoadSettings",       L"CreateDocManager", L"AddDocTemplates"};
    EXPECT_EQ(order, app->calls);

    // The splash shows until its timer (give or take the tick's grain), then
    // the main window is repainted.
    ASSERT_NE(nullptr, CKWSplashScreen::GetShowing());
    EXPECT_TRUE(classlib_test::PumpUntil([] { return CKWSplashScreen::GetShowing() == nullptr; }, 5000));
    EXPECT_GE(::GetTickCount() - app->splashAskedAt, CKWSplashScreen::kDisplayTimeMs - 20);

    CKWMainFrame* frame = app->MainFrame();
    EXPECT_TRUE(frame->IsZoomed());
    EXPECT_TRUE(frame->IsWindowVisible());
    ASSERT_NE(nullptr, frame->GetMenuBar());
    EXPECT_EQ(0xE806, frame->GetMenuBar()->GetDlgCtrlID());
    // The tool bar of the description and the menu bar are the manager's.
    CKWToolBarManager* manager = app->GetToolBarManager();
    ASSERT_EQ(2, manager->GetCount());
    CQMXPToolBar* bar = manager->FindToolBar(59954);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(4, bar->GetCount());

    CKWStatusBar* status = GetKWStatusBar();
    ASSERT_EQ(app->GetStatusBar(), status);
    ASSERT_EQ(7, status->GetCount());
    EXPECT_TRUE(app->IsStatusBarVisible());
    app->SetStatusBarTexts(L"Ready", L"Page 1", nullptr);
    EXPECT_EQ((std::vector<std::wstring>{L"Ready", L"Page 1", L"", L"", L"OVR", L"NUM", L"CAP"}), StatusPaneTexts());
    EXPECT_EQ(app.get(), KWGetApp());
    EXPECT_EQ(nullptr, KWGetActiveView()) << "the main frame has no view of its own";
    CAppTestFrame* document = NewDocument();
    ASSERT_NE(nullptr, document);
    EXPECT_EQ(1, CAppTestDoc::s_live);
    EXPECT_EQ(document->GetActiveView(), KWGetActiveView());
    EXPECT_TRUE(kwwin::WriteScreenshot(frame->m_hWnd, L"app_main_window"));
}

TEST_F(AppStartup, AToolBarResetRequestReachesTheApplication)
{
    // Once when the bar was loaded, once now.
    app->MainFrame()->SendMessage(g_msgQMXResetToolBar, 130, 0);
    EXPECT_EQ(2, app->Count(L"ResetToolBar 130"));
}

TEST_F(AppStartup, DDECommandsQueueWhileTheFrameIsDisabledAndRunInOrderLater)
{
    HWND client = MakeClient();
    HWND frame = app->MainFrame()->m_hWnd;
    g_acks.clear();
    ::EnableWindow(frame, FALSE);
    for (const wchar_t* command : {L"[open(\"a\")]", L"[open(\"b\")]", L"[print(\"c\")]"})
        Execute(frame, client, command);
    // Without its terminator: read within the block.
    const std::wstring unterminated(32, L'Q');
    Execute(frame, client, unterminated.data(), unterminated.size() * sizeof(wchar_t));
    kwwin::Pump();
    EXPECT_TRUE(app->ddeCommands.empty());
    EXPECT_EQ(4u, app->MainFrame()->GetQueuedDDECommands().size());

    // Nothing runs while the frame is still disabled.
    app->MainFrame()->ProcessPendingDDECommands();
    EXPECT_TRUE(app->ddeCommands.empty());
    ::EnableWindow(frame, TRUE);
    app->MainFrame()->ProcessPendingDDECommands();
    EXPECT_EQ((std::vector<std::wstring>{L"[open(\"a\")]", L"[open(\"b\")]", L"[print(\"c\")]", unterminated}),
              app->ddeCommands);
    EXPECT_FALSE(app->MainFrame()->IsQueueingDDECommands());

    Execute(frame, client, L"[open(\"d\")]");
    EXPECT_EQ(L"[open(\"d\")]", app->ddeCommands.back());
    kwwin::Pump();
    EXPECT_EQ(std::vector<std::wstring>(5, L"ack"), g_acks);
    ::DestroyWindow(client);
}

TEST_F(AppStartup, EndingSavesOnceRegistersAgainAndLeavesNothing)
{
    ASSERT_NE(nullptr, NewDocument());
    DeleteKey(HKEY_CLASSES_ROOT, L"KWAppTests.A");
    DeleteKey(HKEY_CLASSES_ROOT, L".kwa");

    classlib_test::Watchdog watchdog(10000);
    app->MainFrame()->PostMessage(WM_CLOSE);
    EXPECT_EQ(0, app->Run());
    EXPECT_FALSE(watchdog.Fired());
    EXPECT_EQ(nullptr, app->m_pMainWnd);
    EXPECT_EQ(1, app->Count(L"SaveSettings"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"KWAppTests.A\\shell\\open\\command"));
    EXPECT_EQ(0, CAppTestDoc::s_live);
    EXPECT_EQ(nullptr, classlib_test::FindThreadDialog());
    HWND window = ::FindWindowW(nullptr, L"Application Tests");
    EXPECT_TRUE(window == nullptr || ::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId());
}

TEST_F(AppStartup, TheDefaultSettingsComeBackOnAFirstStartAndWithTheControlKeyOnly)
{
    const std::wstring marker = std::wstring(kWorkspaceKey) + L"\\Marker\\Two\\Three";
    auto imported = [] {
        return classlib_test::PumpUntil(
            [] { return KeyExists(HKEY_CURRENT_USER, std::wstring(kWorkspaceKey) + L"\\QMXPBaseControlBar-59954"); },
            10000);
    };
    // A first start: nothing saved, the script is imported.
    Stop();
    DeleteKey(HKEY_CURRENT_USER, kProgramKey);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(imported());
    DWORD visible = 0, size = sizeof visible;
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CURRENT_USER,
                                            (std::wstring(kWorkspaceKey) + L"\\QMXPBaseControlBar-59954").c_str(),
                                            L"IsVisible", RRF_RT_REG_DWORD, nullptr, &visible, &size));
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN) > 800 ? 1u : 0u, visible) << "script 1002 on a wide screen";

    // The next start keeps what is there.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyW(HKEY_CURRENT_USER, marker.c_str(), &key));
    ::RegCloseKey(key);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, marker));

    // With the Control key held the keys go, sub-keys of sub-keys too, and the script comes back.
    {
        ControlHeld control;
        ASSERT_TRUE(Start());
    }
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::wstring(kWorkspaceKey) + L"\\Marker"));
    EXPECT_TRUE(imported());
}
