#include "platform/classlib/CmdUI.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/Menu.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum : UINT {
    ID_SHARED = 0x8001,
    ID_APP_ONLY = 0x8002,
    ID_PASS_ON = 0x8003,
    ID_RANGE_FIRST = 0x8010,
    ID_RANGE_LAST = 0x8012,
    ID_DISABLED = 0x8020,
    ID_CHECKED = 0x8021,
    ID_RADIO = 0x8022,
    ID_TEXT = 0x8023,
    ID_NO_HANDLER = 0x8024,
    ID_ROUTED = 0x8025,
    ID_NO_HANDLER_CHECKBOX = 0x8026,
    ID_SYSTEM_LIKE = 0xF123,
};

std::vector<std::string> g_log;

class CRoutingApp : public classlib_test::CTestApp {
protected:
    afx_msg void OnShared() { g_log.push_back("app shared"); }
    afx_msg void OnAppOnly() { g_log.push_back("app only"); }
    afx_msg void OnPassOn() { g_log.push_back("app passon"); }
    afx_msg void OnRouted() { g_log.push_back("app routed"); }
    afx_msg void OnUpdateRouted(CCmdUI* pCmdUI) {
        g_log.push_back("app update");
        pCmdUI->SetCheck(1);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingApp, classlib_test::CTestApp)
    ON_COMMAND(ID_SHARED, OnShared)
    ON_COMMAND(ID_APP_ONLY, OnAppOnly)
    ON_COMMAND(ID_PASS_ON, OnPassOn)
    ON_COMMAND(ID_ROUTED, OnRouted)
    ON_UPDATE_COMMAND_UI(ID_ROUTED, OnUpdateRouted)
END_MESSAGE_MAP()

class CRoutingFrame : public CFrameWnd {
public:
    // Kept alive by the test, which checks it after the window is gone.
    void PostNcDestroy() override {}

protected:
    afx_msg void OnShared() { g_log.push_back("frame shared"); }
    afx_msg BOOL OnPassOn(UINT nID) {
        g_log.push_back("frame passon " + std::to_string(nID - ID_PASS_ON));
        return FALSE;  // the next target hears of it too
    }
    afx_msg void OnRange(UINT nID) { g_log.push_back("range " + std::to_string(nID - ID_RANGE_FIRST)); }
    afx_msg void OnDisabled() { g_log.push_back("disabled ran"); }
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnChecked() { g_log.push_back("checked ran"); }
    afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnRadio() {}
    afx_msg void OnUpdateRadio(CCmdUI* pCmdUI) { pCmdUI->SetRadio(TRUE); }
    afx_msg void OnText() {}
    afx_msg void OnUpdateText(CCmdUI* pCmdUI) { pCmdUI->SetText(L"Renamed"); }
    afx_msg void OnUpdateRouted(CCmdUI* pCmdUI) {
        g_log.push_back("frame update");
        pCmdUI->ContinueRouting();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingFrame, CFrameWnd)
    ON_COMMAND(ID_SHARED, OnShared)
    ON_COMMAND_EX(ID_PASS_ON, OnPassOn)
    ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnRange)
    ON_COMMAND(ID_DISABLED, OnDisabled)
    ON_UPDATE_COMMAND_UI(ID_DISABLED, OnUpdateDisabled)
    ON_COMMAND(ID_CHECKED, OnChecked)
    ON_UPDATE_COMMAND_UI(ID_CHECKED, OnUpdateChecked)
    ON_COMMAND(ID_RADIO, OnRadio)
    ON_UPDATE_COMMAND_UI(ID_RADIO, OnUpdateRadio)
    ON_COMMAND(ID_TEXT, OnText)
    ON_UPDATE_COMMAND_UI(ID_TEXT, OnUpdateText)
    ON_UPDATE_COMMAND_UI(ID_ROUTED, OnUpdateRouted)
END_MESSAGE_MAP()

class RoutingTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        ASSERT_TRUE(frame.Create(nullptr, L"routing", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    }
    void TearDown() override {
        if (frame.m_hWnd != nullptr)
            frame.DestroyWindow();
        classlib_test::DrainMessages();
    }
    void Command(UINT nID, WORD nCode = 0, HWND hWndCtrl = nullptr) {
        ::SendMessageW(frame.m_hWnd, WM_COMMAND, MAKEWPARAM(nID, nCode), reinterpret_cast<LPARAM>(hWndCtrl));
    }

    CRoutingApp app;
    CRoutingFrame frame;
};

}  // namespace

TEST_F(RoutingTest, CommandsGoToTheFrameThenTheApplication) {
    struct Case {
        UINT nID;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {ID_SHARED, {"frame shared"}},
        {ID_APP_ONLY, {"app only"}},
        {ID_PASS_ON, {"frame passon 0", "app passon"}},
        {ID_RANGE_FIRST, {"range 0"}},
        {ID_RANGE_LAST, {"range 2"}},
        {ID_RANGE_LAST + 1, {}},
        {ID_NO_HANDLER, {}},
    };
    for (const Case& c : cases) {
        g_log.clear();
        Command(c.nID);
        EXPECT_EQ(c.expected, g_log) << std::hex << c.nID;
    }
}

TEST_F(RoutingTest, HandlerLookupDoesNotRunTheHandler) {
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    EXPECT_TRUE(frame.OnCmdMsg(ID_APP_ONLY, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(static_cast<CCmdTarget*>(&app), info.pTarget);
    EXPECT_NE(nullptr, info.pmf);
    EXPECT_TRUE(frame.OnCmdMsg(ID_SHARED, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(static_cast<CCmdTarget*>(&frame), info.pTarget);
    EXPECT_FALSE(frame.OnCmdMsg(ID_NO_HANDLER, CN_COMMAND, nullptr, &info));
    EXPECT_TRUE(g_log.empty());
}

TEST_F(RoutingTest, DisabledMenuAndAcceleratorCommandsAreDropped) {
    ::PostMessageW(frame.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_DISABLED, 0), 0);  // menu
    ::PostMessageW(frame.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_DISABLED, 1), 0);  // accelerator
    ::PostMessageW(frame.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_CHECKED, 1), 0);
    ASSERT_TRUE(classlib_test::PumpUntil([] { return !g_log.empty(); }));
    classlib_test::DrainMessages();
    EXPECT_EQ(std::vector<std::string>{"checked ran"}, g_log);

    // A control's notification with the same id is not a menu command.
    HWND hButton = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD, 0, 0, 10, 10, frame.m_hWnd,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_DISABLED)), nullptr, nullptr);
    g_log.clear();
    Command(ID_DISABLED, BN_CLICKED, hButton);
    EXPECT_EQ(std::vector<std::string>{"disabled ran"}, g_log);
}

TEST_F(RoutingTest, MenuItemsAreUpdatedWhenTheirPopupOpens) {
    CMenu menuBar;
    ASSERT_TRUE(menuBar.CreateMenu());
    HMENU hPopup = ::CreatePopupMenu();
    HMENU hSub = ::CreatePopupMenu();
    ::AppendMenuW(hSub, MF_STRING, ID_DISABLED, L"Sub first");
    ::AppendMenuW(hPopup, MF_STRING, ID_SHARED, L"Shared");
    ::AppendMenuW(hPopup, MF_STRING, ID_DISABLED, L"Disabled");
    ::AppendMenuW(hPopup, MF_STRING, ID_CHECKED, L"Checked");
    ::AppendMenuW(hPopup, MF_STRING, ID_RADIO, L"Radio");
    ::AppendMenuW(hPopup, MF_STRING, ID_TEXT, L"Text");
    ::AppendMenuW(hPopup, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(hPopup, MF_STRING, ID_NO_HANDLER, L"No handler");
    ::AppendMenuW(hPopup, MF_STRING, ID_SYSTEM_LIKE, L"System range");
    ::AppendMenuW(hPopup, MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), L"Sub");
    ::AppendMenuW(hPopup, MF_STRING, ID_ROUTED, L"Routed");
    menuBar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), L"&Edit");
    ASSERT_TRUE(frame.SetMenu(&menuBar));

    ::SendMessageW(frame.m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), MAKELPARAM(0, FALSE));
    auto state = [&](UINT nID) { return ::GetMenuState(hPopup, nID, MF_BYCOMMAND); };
    EXPECT_FALSE(state(ID_SHARED) & MF_GRAYED);
    EXPECT_TRUE(state(ID_DISABLED) & MF_GRAYED);
    EXPECT_TRUE(state(ID_CHECKED) & MF_CHECKED);
    EXPECT_FALSE(state(ID_CHECKED) & MF_GRAYED);
    EXPECT_TRUE(state(ID_RADIO) & MF_CHECKED);
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE;
    ::GetMenuItemInfoW(hPopup, ID_RADIO, FALSE, &mii);
    EXPECT_TRUE(mii.fType & MFT_RADIOCHECK);
    wchar_t text[32] = {0};
    ::GetMenuStringW(hPopup, ID_TEXT, text, 32, MF_BYCOMMAND);
    EXPECT_STREQ(L"Renamed", text);
    EXPECT_FALSE(state(ID_TEXT) & MF_GRAYED);
    EXPECT_TRUE(state(ID_NO_HANDLER) & MF_GRAYED) << "no handler, disabled";
    EXPECT_FALSE(state(ID_SYSTEM_LIKE) & MF_GRAYED) << "system commands keep their state";
    EXPECT_FALSE(::GetMenuState(hPopup, 8, MF_BYPOSITION) & MF_GRAYED) << "popups are not disabled";
    EXPECT_FALSE(::GetMenuState(hSub, 0, MF_BYPOSITION) & MF_GRAYED) << "the popup's items wait for their own turn";
    EXPECT_TRUE(state(ID_ROUTED) & MF_CHECKED) << "the application answered after the frame passed it on";
    EXPECT_EQ((std::vector<std::string>{"frame update", "app update"}), g_log);

    // Without automatic enabling an item without handler is left alone.
    frame.m_bAutoMenuEnable = FALSE;
    ::EnableMenuItem(hPopup, ID_NO_HANDLER, MF_BYCOMMAND | MF_ENABLED);
    ::SendMessageW(frame.m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), MAKELPARAM(0, FALSE));
    EXPECT_FALSE(state(ID_NO_HANDLER) & MF_GRAYED);
    EXPECT_TRUE(state(ID_DISABLED) & MF_GRAYED);

    // The system menu is not touched.
    ::EnableMenuItem(hPopup, ID_DISABLED, MF_BYCOMMAND | MF_ENABLED);
    ::SendMessageW(frame.m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), MAKELPARAM(0, TRUE));
    EXPECT_FALSE(state(ID_DISABLED) & MF_GRAYED);

    frame.SetMenu(nullptr);
}

TEST_F(RoutingTest, DialogControlsAreUpdatedThroughTheirIds) {
    CWnd panel;
    ASSERT_TRUE(panel.CreateEx(0, nullptr, L"panel", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, frame.m_hWnd, nullptr));
    auto button = [&](UINT nID, DWORD style, LPCWSTR text) {
        return ::CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | style, 0, 0, 40, 20, panel.m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), nullptr, nullptr);
    };
    HWND hShared = button(ID_SHARED, BS_PUSHBUTTON, L"a");
    HWND hNoHandler = button(ID_NO_HANDLER, BS_PUSHBUTTON, L"b");
    HWND hAutoCheck = button(ID_NO_HANDLER_CHECKBOX, BS_AUTOCHECKBOX, L"c");
    HWND hDisabled = button(ID_DISABLED, BS_PUSHBUTTON, L"d");
    HWND hChecked = button(ID_CHECKED, BS_CHECKBOX, L"e");
    HWND hText = button(ID_TEXT, BS_PUSHBUTTON, L"f");

    panel.UpdateDialogControls(&frame, TRUE);
    EXPECT_TRUE(::IsWindowEnabled(hShared));
    EXPECT_FALSE(::IsWindowEnabled(hNoHandler));
    EXPECT_TRUE(::IsWindowEnabled(hAutoCheck)) << "a check box that acts by itself keeps working";
    EXPECT_FALSE(::IsWindowEnabled(hDisabled));
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(hChecked, BM_GETCHECK, 0, 0));
    wchar_t text[16] = {0};
    ::GetWindowTextW(hText, text, 16);
    EXPECT_STREQ(L"Renamed", text);

    ::EnableWindow(hNoHandler, TRUE);
    panel.UpdateDialogControls(&frame, FALSE);
    EXPECT_TRUE(::IsWindowEnabled(hNoHandler));
}

TEST(CCmdTarget, WaitCursorNestsAndRestores) {
    HCURSOR hArrow = ::LoadCursorW(nullptr, IDC_ARROW);
    HCURSOR hWait = ::LoadCursorW(nullptr, IDC_WAIT);
    ::SetCursor(hArrow);
    CCmdTarget target;
    target.BeginWaitCursor();
    EXPECT_EQ(hWait, ::GetCursor());
    {
        CWaitCursor nested;
        ::SetCursor(hArrow);  // as a message box would
        nested.Restore();
        EXPECT_EQ(hWait, ::GetCursor());
    }
    EXPECT_EQ(hWait, ::GetCursor()) << "the outer wait is still on";
    target.EndWaitCursor();
    EXPECT_EQ(hArrow, ::GetCursor());
    target.EndWaitCursor();  // one end too many changes nothing
    EXPECT_EQ(hArrow, ::GetCursor());
}
