// The library frames: the workspace's registry paths, its save and load
// around a test MDI application run twice, the stored window placement, the
// registry class, the frame's key and click routing, the Window popup's
// list of document windows, the document frames, and the preview view
// with its tool bar.
#include "CanvasTestSupport.h"
#include "MenuTestSupport.h"

#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPStatusBar.h"
#include "docking/frames/QMXPFrameImpl.h"
#include "docking/frames/QMXPFrameLayout.h"
#include "docking/frames/QMXPFrameWnd.h"
#include "docking/frames/QMXPMDIChildWnd.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPOleFrames.h"
#include "docking/frames/QMXPPrintPreviewView.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/frames/QMXPTearOffManager.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/frames/QMXPWorkspace.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPMenuSound.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolBarImages.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPToolbarComboBoxButton.h"
#include "platform/classlib/DialogBar.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/MDIChildWnd.h"
#include "platform/classlib/OleClientItem.h"
#include "platform/classlib/OleDocument.h"
#include "platform/classlib/PrintPreviewState.h"
#include "platform/classlib/SplitterWnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

using namespace docking_test;

namespace {

constexpr wchar_t kTestKey[] = L"Software\\OstraTallier Frames Test";

// A single-document frame of 400 by 300 client pixels with the menu bar
// docked along its top; none when it cannot be made.
CQMXPFrameWnd* NewSDIFrame(CQMXPMenuBar& menuBar) {
    auto* pFrame = new CQMXPFrameWnd;
    if (!pFrame->LoadFrame(IDR_DOCKTEST_MAIN))
        return nullptr;
    SizeClientArea(pFrame, 400, 300);
    pFrame->EnableDocking(0xF000);
    if (!menuBar.Create(pFrame, 0x50402808, AFX_IDW_MENUBAR)) {
        pFrame->DestroyWindow();
        return nullptr;
    }
    menuBar.EnableDocking(0xF000);
    pFrame->DockControlBar(&menuBar);
    return pFrame;
}
const std::wstring kWorkspacePath = L"Software\\OstraTallier Frames Test\\DockingTests\\QMXWorkspace\\";

// An application that is also the workspace, as the framework's is; it
// logs the stored version its load starts with.
class CWorkspaceApp : public CDockTestApp, public CQMXPWorkspace {
protected:
    void PreLoadState() override {
        Record(L"preload:" + std::to_wstring(GetDataVersionMajor()) + L"." + std::to_wstring(GetDataVersionMinor()));
    }
    void PostLoadState() override { Record(L"postload"); }
};

bool KeyExists(const std::wstring& key) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(hKey);
    return true;
}

DWORD DwordValue(const std::wstring& key, const wchar_t* name) {
    DWORD value = 0xFFFFFFFF;
    DWORD size = sizeof(value);
    ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

TEST(WorkspaceTest, SectionPathsLieBelowTheApplicationsKey) {
    EXPECT_EQ(QMXPGetWorkspace(), nullptr);
    {
        CWorkspaceApp app;
        EXPECT_EQ(QMXPGetWorkspace(), static_cast<CQMXPWorkspace*>(&app));
        // Without a registry key the profile comes straight after "SOFTWARE".
        app.m_pszProfileName = _wcsdup(L"DockingTests");
        EXPECT_EQ(std::wstring(app.GetRegSectionPath()), L"SOFTWARE\\DockingTests\\QMXWorkspace\\");
        app.SetRegistryKey(L"Kestrel Works");
        EXPECT_EQ(std::wstring(app.GetRegSectionPath(L"QMXControlBarVersion")),
                  L"SOFTWARE\\Kestrel Works\\DockingTests\\QMXWorkspace\\QMXControlBarVersion\\");
        app.SetRegistryBase(L"Kestrel Works\\Tallier\\Settings");
        EXPECT_EQ(std::wstring(app.GetRegSectionPath(nullptr)),
                  L"SOFTWARE\\Kestrel Works\\DockingTests\\Kestrel Works\\Tallier\\Settings\\");
        // A load with another base name reads from there and keeps it.
        EXPECT_TRUE(app.LoadState(L"Layout"));
        EXPECT_EQ(std::wstring(app.GetRegSectionPath()), L"SOFTWARE\\Kestrel Works\\DockingTests\\Layout\\");
    }
    EXPECT_EQ(QMXPGetWorkspace(), nullptr);
}

// A workspace whose tool bars merge their resources' changes into their
// stored state.
class CSmartWorkspaceApp : public CDockTestApp, public CQMXPWorkspace {
public:
    CSmartWorkspaceApp() : CQMXPWorkspace(TRUE) {}
};

// Two tool bars of three buttons docked along the top below the menu bar.
void DockTwoBars(CQMXPFrameWnd* pFrame, CQMXPToolBar (&bars)[2]) {
    for (int n = 0; n < 2; ++n) {
        bars[n].Create(pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 59970 + n);
        for (UINT uiCmd : {30001u, 30002u, 30003u})
            bars[n].InsertButton(CQMXPToolbarButton(uiCmd + 10 * n, -1, L"Go", TRUE));
        bars[n].EnableDocking(0xF000);
        pFrame->DockControlBar(&bars[n]);
    }
}

// Where the windows are in the frame's client coordinates.
std::vector<CRect> PlacesIn(CWnd* pFrame, std::initializer_list<CWnd*> windows) {
    std::vector<CRect> rects;
    for (CWnd* pWnd : windows) {
        CRect rect;
        pWnd->GetWindowRect(&rect);
        pFrame->ScreenToClient(&rect);
        rects.push_back(rect);
    }
    return rects;
}

// Bars docked while the frame's layout is held are laid out once, when the
// hold goes, and end where they end without it.
TEST(LayoutHoldTest, BarsDockedUnderAHoldEndWhereTheyEndWithoutOne) {
    std::vector<CRect> placed[2];
    CRect areas[2];
    for (int held = 0; held < 2; ++held) {
        CQMXPMenuBar menuBar;
        CQMXPToolBar bars[2];
        CQMXPFrameWnd* pFrame = NewSDIFrame(menuBar);
        ASSERT_NE(pFrame, nullptr);
        CQMXPDockManager* pDockManager = qmxGlobalUtils.GetDockManager(pFrame);
        ASSERT_NE(pDockManager, nullptr);
        const CRect before = pDockManager->GetClientAreaBounds();
        if (held) {
            CQMXPLayoutHold hold(pFrame);
            DockTwoBars(pFrame, bars);
            EXPECT_EQ(pDockManager->GetClientAreaBounds(), before) << "no layout while held";
        } else {
            DockTwoBars(pFrame, bars);
        }
        placed[held] = PlacesIn(pFrame, {&menuBar, &bars[0], &bars[1]});
        areas[held] = pDockManager->GetClientAreaBounds();
        for (CQMXPToolBar& bar : bars)
            bar.DestroyWindow();
        menuBar.DestroyWindow();
        pFrame->DestroyWindow();
        Pump();
    }
    EXPECT_EQ(placed[0], placed[1]);
    EXPECT_EQ(areas[0], areas[1]);
    EXPECT_LT(areas[1].top, areas[1].bottom);
}

// Loading with smart update leaves the command manager's standard images as
// they are: a stored button's image does not replace them. Without smart
// update it does.
TEST(WorkspaceTest, ASmartLoadKeepsTheCommandManagersImages) {
    for (BOOL bSmart : {TRUE, FALSE}) {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
        std::unique_ptr<CWinApp> pApp(bSmart ? static_cast<CWinApp*>(new CSmartWorkspaceApp)
                                             : static_cast<CWinApp*>(new CWorkspaceApp));
        pApp->SetRegistryKey(L"OstraTallier Frames Test");
        CQMXPWorkspace* pWorkspace = QMXPGetWorkspace();
        ASSERT_NE(pWorkspace, nullptr);
        auto* pFrame = new CQMXPMDIFrameWnd;
        ASSERT_TRUE(pFrame->LoadFrame(IDR_DOCKTEST_MAIN));
        pApp->m_pMainWnd = pFrame;
        CQMXPToolBar bar;
        ASSERT_TRUE(bar.Create(pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 59961));
        bar.InsertButton(CQMXPToolbarButton(30071, 4, L"Go", FALSE));
        ASSERT_TRUE(pWorkspace->SaveState(nullptr, &pFrame->GetFrameImpl()));
        QMXTheCommandManager()->SetCommandImage(30071, 7);
        pWorkspace->LoadState(nullptr, &pFrame->GetFrameImpl());
        EXPECT_EQ(QMXTheCommandManager()->GetCommandImage(30071), bSmart ? 7 : 4) << bSmart;
        EXPECT_TRUE(CQMXPToolbarButton::m_bUpdateImages);
        bar.DestroyWindow();
        pFrame->DestroyWindow();
        Pump();
        QMXTheCommandManager()->SetCommandImage(30071, -1);
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
}

// The test MDI application run twice with a registry key of its own.
class WorkspaceRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
        m_app.SetRegistryKey(L"OstraTallier Frames Test");
        m_app.AddDocTemplate(new CMultiDocTemplate(IDR_DOCKTEST_DOC, RUNTIME_CLASS(CDockTestDoc),
                                                   RUNTIME_CLASS(CQMXPMDIChildWnd), RUNTIME_CLASS(CDockTestView)));
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
    // A frame loaded with a docked tool bar (its id 59960, two buttons).
    CQMXPMDIFrameWnd* Run(CQMXPToolBar& bar) {
        Log().clear();
        auto* pFrame = new CQMXPMDIFrameWnd;
        m_app.m_nCmdShow = SW_SHOWNORMAL;
        if (!pFrame->LoadFrame(IDR_DOCKTEST_MAIN))
            return nullptr;
        m_app.m_pMainWnd = pFrame;
        pFrame->EnableDocking(0xF000);
        bar.Create(pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 59960);
        for (UINT uiCmd : {30001u, 30002u})
            bar.InsertButton(CQMXPToolbarButton(uiCmd, -1, L"Go", TRUE));
        bar.EnableDocking(0xF000);
        pFrame->DockControlBar(&bar);
        return pFrame;
    }
    void Close(CQMXPMDIFrameWnd* pFrame) {
        pFrame->SendMessage(WM_CLOSE);
        Pump();
        EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    }
    CWorkspaceApp m_app;
};

TEST_F(WorkspaceRunTest, CloseSavesTheLayoutAndTheSecondRunRestoresThePlacementAndToolBar) {
    CQMXPToolBar bar;
    CQMXPMDIFrameWnd* pFrame = Run(bar);
    ASSERT_NE(pFrame, nullptr);
    // The first run: nothing stored, the window opens maximised; the version is read as none.
    EXPECT_EQ(m_app.m_nCmdShow, SW_SHOWMAXIMIZED);
    EXPECT_EQ(Log(), (std::vector<std::wstring>{L"preload:-1.-1", L"postload"}));
    EXPECT_EQ(m_app.GetDataVersionMajor(), 6);
    EXPECT_EQ(m_app.GetDataVersionMinor(), 3);
    WINDOWPLACEMENT wp = {sizeof(wp)};
    pFrame->GetWindowPlacement(&wp);
    wp.rcNormalPosition = CRect(50, 60, 650, 560);
    wp.showCmd = SW_SHOWNORMAL;
    pFrame->SetWindowPlacement(&wp);
    bar.RemoveButton(0);
    Close(pFrame);

    EXPECT_EQ(DwordValue(kWorkspacePath + L"QMXControlBarVersion", L"Major"), 6u);
    EXPECT_EQ(DwordValue(kWorkspacePath + L"QMXControlBarVersion", L"Minor"), 3u);
    EXPECT_EQ(DwordValue(kWorkspacePath + L"WindowPlacement", L"ShowCmd"), static_cast<DWORD>(SW_SHOWNORMAL));
    EXPECT_EQ(DwordValue(kWorkspacePath + L"WindowPlacement", L"Flags"), 0u);
    for (const wchar_t* key : {L"QMXToolbarParameters", L"QMXCommandManager", L"QMXToolBar-59960"})
        EXPECT_TRUE(KeyExists(kWorkspacePath + key)) << ::testing::PrintToString(std::wstring(key));
    CRect rect;
    int nFlags = -1;
    int nShowCmd = -1;
    ASSERT_TRUE(m_app.LoadWindowPlacement(rect, nFlags, nShowCmd));
    EXPECT_EQ(rect, CRect(50, 60, 650, 560));

    CQMXPToolBar barAgain;
    pFrame = Run(barAgain);
    ASSERT_NE(pFrame, nullptr);
    EXPECT_EQ(m_app.m_nCmdShow, SW_SHOWNORMAL);
    EXPECT_EQ(Log().front(), L"preload:6.3");
    CRect rectWindow;
    pFrame->GetWindowRect(&rectWindow);
    EXPECT_EQ(rectWindow, CRect(50, 60, 650, 560));
    // The bar, made after the frame's load here, takes its stored buttons.
    m_app.LoadState(nullptr, &pFrame->GetFrameImpl());
    ASSERT_EQ(barAgain.GetCount(), 1);
    EXPECT_EQ(barAgain.GetButton(0)->m_nID, 30002u);
    // With saving off only the window's placement is written, not even the version.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    m_app.EnableSaving(FALSE);
    Close(pFrame);
    ASSERT_TRUE(m_app.LoadWindowPlacement(rect, nFlags, nShowCmd));
    EXPECT_EQ(rect, CRect(50, 60, 650, 560));
    for (const wchar_t* key : {L"QMXControlBarVersion", L"QMXToolbarParameters", L"QMXCommandManager"})
        EXPECT_FALSE(KeyExists(kWorkspacePath + key)) << ::testing::PrintToString(std::wstring(key));
}

// Closed while a menu of its menu bar is open: the menu bar's save loads its
// menus, which closes the open one, and the closed menu's bar, gone with it,
// is not saved after it (docking_tests_heap fills freed blocks, and a visit
// to the gone bar fails there); the other bars are saved.
TEST_F(WorkspaceRunTest, CloseWithAMenuOpenSavesTheBarsThatStay) {
    CQMXPToolBar bar;
    CQMXPMDIFrameWnd* pFrame = Run(bar);
    ASSERT_NE(pFrame, nullptr);
    // A sound would start the sound thread that its own test starts.
    const BOOL bSounds = qmxMenuSoundsEnabled;
    qmxMenuSoundsEnabled = FALSE;
    CQMXPMenuBar menuBar;
    ASSERT_TRUE(menuBar.Create(pFrame, 0x50402808, AFX_IDW_MENUBAR));
    const HMENU hMenu = MakeMenu({{0, L"&File", {{30001, L"&Open"}}}, {0, L"&View", {{30003, L"&Pages"}}}});
    menuBar.CreateFromMenu(hMenu, TRUE);
    menuBar.SendMessage(WM_SETFOCUS);
    MSG msg = {menuBar.GetSafeHwnd(), WM_KEYDOWN, VK_DOWN, 0, 0, {0, 0}};
    ASSERT_TRUE(menuBar.PreTranslateMessage(&msg));
    ASSERT_NE(CQMXPPopupMenu::GetActiveMenu(), nullptr);
    Close(pFrame);
    EXPECT_EQ(CQMXPPopupMenu::GetActiveMenu(), nullptr);
    for (const wchar_t* key : {L"QMXToolBar-59960", L"QMXToolBar-593980"})
        EXPECT_TRUE(KeyExists(kWorkspacePath + key)) << ::testing::PrintToString(std::wstring(key));
    ::DestroyMenu(hMenu);
    qmxMenuSoundsEnabled = bSounds;
}

TEST_F(WorkspaceRunTest, SavingWritesTheChangedUserImages) {
    wchar_t szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    const std::wstring path = std::wstring(szTemp) + L"QMXWorkspaceImages.bmp";
    ASSERT_TRUE(::CopyFileW(L"Z:" OT_TEST_DATA_DIR L"/docking/strip24.bmp", path.c_str(), FALSE));
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    CQMXPToolBarImages images;
    ASSERT_TRUE(images.Load(path.c_str()));
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hbmp = ::CreateCompatibleBitmap(hScreen, 16, 15);
    ::ReleaseDC(nullptr, hScreen);
    images.AddImage(hbmp);
    ::DeleteObject(hbmp);
    ASSERT_TRUE(images.IsModified());
    CQMXPToolBar::m_pUserImages = &images;
    EXPECT_TRUE(m_app.SaveState());
    CQMXPToolBar::m_pUserImages = nullptr;
    EXPECT_FALSE(images.IsModified());
    CQMXPToolBarImages reloaded;
    ASSERT_TRUE(reloaded.Load(path.c_str()));
    EXPECT_EQ(reloaded.GetCount(), 11);
    ::DeleteFileW(path.c_str());
}

TEST_F(WorkspaceRunTest, StoredPlacementComesBackWithinTheWorkArea) {
    CQMXPFrameImpl impl(nullptr);
    const CRect rectWork = CQMXPPopupMenu::WorkAreaAt(CPoint(0, 0));
    const struct {
        CRect stored;
        int nStoredShow;
        int nAppShow;
        CRect expected;  // the creation rectangle afterwards
        int nExpectedShow;
    } cases[] = {
        // A minimised window comes back normal; a maximised one maximised.
        {CRect(10, 20, 310, 220), SW_SHOWMINIMIZED, SW_SHOWNORMAL, CRect(10, 20, 310, 220), SW_SHOWNORMAL},
        {CRect(10, 20, 310, 220), SW_SHOWMAXIMIZED, SW_SHOWNORMAL, CRect(10, 20, 310, 220), SW_SHOWMAXIMIZED},
        // A program started minimised stays so.
        {CRect(10, 20, 310, 220), SW_SHOWNORMAL, SW_SHOWMINIMIZED, CRect(10, 20, 310, 220), SW_SHOWMINIMIZED},
        // Partly outside: moved in, its size kept; wholly outside: ignored.
        {CRect(-100, 20, 200, 220), SW_SHOWNORMAL, SW_SHOWNORMAL, CRect(rectWork.left, 20, rectWork.left + 300, 220),
         SW_SHOWNORMAL},
        {CRect(-5000, -5000, -4000, -4000), SW_SHOWNORMAL, SW_SHOWNORMAL, CRect(1, 2, 101, 102), SW_SHOWNORMAL},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(m_app.StoreWindowPlacement(c.stored, 0, c.nStoredShow));
        m_app.m_nCmdShow = c.nAppShow;
        CREATESTRUCTW cs = {};
        cs.hInstance = ::GetModuleHandleW(nullptr);
        cs.x = 1;
        cs.y = 2;
        cs.cx = 100;
        cs.cy = 100;
        impl.RestorePosition(cs);
        EXPECT_EQ(CRect(cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy), c.expected) << c.stored.left;
        EXPECT_EQ(m_app.m_nCmdShow, c.nExpectedShow) << c.stored.left;
    }
}

TEST(RegistryTest, OpensExistingKeysReadOnly) {
    const wchar_t kPath[] = L"Software\\OstraTallierDockingTest";
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(hKey);
    for (const BOOL bReadOnly : {TRUE, FALSE}) {
        CQMXPRegistry reg(FALSE, bReadOnly);
        EXPECT_FALSE(reg.Open(L"Software\\OstraTallierDockingTest\\Missing\\"));
        EXPECT_EQ(reg.GetKey(), HKEY_CURRENT_USER);  // unchanged after a failure
        ASSERT_TRUE(reg.Open(L"Software\\OstraTallierDockingTest\\"));  // trailing backslash ignored
        DWORD dwValue = 1;
        const LONG lResult = ::RegSetValueExW(reg.GetKey(), L"Probe", 0, REG_DWORD,
                                              reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue));
        EXPECT_EQ(lResult == ERROR_SUCCESS, !bReadOnly);
    }
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kPath);
}

TEST(FrameImplTest, OnlyAPlainF1IsTheHelpKey) {
    const struct {
        WPARAM key;
        LPARAM lParam;
        int modifier;  // held down, 0 for none
        bool help;
    } cases[] = {
        {VK_F1, 0, 0, true},           {VK_F1, 1 << 30, 0, false},       {VK_F1, 0, VK_SHIFT, false},
        {VK_F1, 0, VK_CONTROL, false}, {VK_F1, 0, VK_MENU, false},       {VK_F2, 0, 0, false},
    };
    for (const auto& c : cases) {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        if (c.modifier != 0)
            keys[c.modifier] = 0x80;
        ::SetKeyboardState(keys);
        MSG msg = {nullptr, WM_KEYDOWN, c.key, c.lParam};
        EXPECT_EQ(CQMXPFrameImpl::IsHelpKey(&msg) != FALSE, c.help) << c.key << " " << c.modifier;
        if (c.modifier != 0)
            keys[c.modifier] = 0;
        ::SetKeyboardState(keys);
    }
}

// The test frame with a menu bar over its own menu, in the foreground.
class FrameInputTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        ASSERT_TRUE(m_menuBar.Create(m_pFrame, 0x50402808, AFX_IDW_MENUBAR));
        m_pFrame->DockControlBar(&m_menuBar);
        m_pFrame->RecalcLayout();
        ::SetForegroundWindow(m_pFrame->m_hWnd);
        m_pFrame->SetFocus();
        Pump();
    }
    void TearDown() override {
        m_menuBar.DestroyWindow();
        MenuTest::TearDown();
    }
    BOOL Translate(UINT message, WPARAM wParam, LPARAM lParam = 0, HWND hWnd = nullptr) {
        MSG msg = {hWnd != nullptr ? hWnd : m_pFrame->m_hWnd, message, wParam, lParam};
        return m_pFrame->PreTranslateMessage(&msg);
    }
    CQMXPMenuBar m_menuBar;
};

TEST_F(FrameInputTest, AltAloneEntersTheMenuBarAndAltClosesAnOpenMenu) {
    // The frame's menu went to the menu bar.
    EXPECT_EQ(::GetMenu(m_pFrame->m_hWnd), nullptr);
    EXPECT_EQ(m_menuBar.GetCount(), 2);
    EXPECT_TRUE(Translate(WM_SYSKEYUP, VK_MENU));
    EXPECT_EQ(CWnd::GetFocus(), &m_menuBar);
    EXPECT_TRUE(Translate(WM_SYSKEYUP, VK_MENU));
    EXPECT_TRUE(m_pFrame->IsChild(CWnd::GetFocus()) && CWnd::GetFocus() != &m_menuBar);

    ASSERT_NE(OpenPopup(MakeMenu({{30001, L"&Open"}}), CPoint(100, 100)), nullptr);
    EXPECT_TRUE(Translate(WM_SYSKEYDOWN, VK_MENU));
    Pump();
    EXPECT_TRUE(OpenPopups().empty());
}

// An Alt chord whose letter opened a menu: the keys let go meanwhile (the
// letter, then Alt) and Alt repeating while held neither run an item nor
// close the menu, nor put the menu bar out of or into its keyboard mode;
// the next key reaches the menu.
TEST_F(FrameInputTest, AnAltChordLeavesTheMenuItOpenedToTheNextKey) {
    Log().clear();
    m_menuBar.CreateFromMenu(MakeMenu({{0, L"&File", {{30001, L"&Open"}, {30002, L"&Close"}}}}), FALSE, TRUE);
    const CPoint ptFile = m_menuBar.GetButton(0)->GetRect().CenterPoint();
    m_menuBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptFile.x, ptFile.y));
    Pump();
    ASSERT_EQ(OpenPopups().size(), 1u);
    ASSERT_EQ(CWnd::GetFocus(), &m_menuBar);
    const LPARAM kAltHeld = static_cast<LPARAM>(KF_ALTDOWN) << 16;
    const LPARAM kRepeat = static_cast<LPARAM>(KF_REPEAT) << 16;
    const LPARAM kUp = static_cast<LPARAM>(KF_UP | KF_REPEAT) << 16;
    const struct {
        const char* name;
        UINT message;
        WPARAM key;
        LPARAM lParam;
        bool menuOpen;  // after the key
        std::vector<UINT> commands;
    } steps[] = {
        {"a letter with Alt that no item has", WM_SYSKEYDOWN, 'X', kAltHeld | 1, true, {}},
        {"an item's letter let go with Alt held", WM_SYSKEYUP, 'O', kAltHeld | kUp | 1, true, {}},
        {"Alt held down repeating", WM_SYSKEYDOWN, VK_MENU, kAltHeld | kRepeat | 1, true, {}},
        {"Alt let go after the chord", WM_KEYUP, VK_MENU, kUp | 1, true, {}},
        {"the next key", WM_KEYDOWN, 'C', 1, false, {30002}},
    };
    for (const auto& step : steps) {
        EXPECT_TRUE(Translate(step.message, step.key, step.lParam, m_menuBar.m_hWnd)) << step.name;
        Pump();
        EXPECT_EQ(!OpenPopups().empty(), step.menuOpen) << step.name;
        EXPECT_EQ(LoggedCommands(), step.commands) << step.name;
        if (step.menuOpen)
            EXPECT_EQ(CWnd::GetFocus(), &m_menuBar) << step.name;
    }
    // Alt tapped alone afterwards goes into the menu bar as before.
    m_pFrame->SetFocus();
    Translate(WM_SYSKEYDOWN, VK_MENU, kAltHeld | 1);
    EXPECT_TRUE(Translate(WM_SYSKEYUP, VK_MENU, kAltHeld | kUp | 1));
    EXPECT_EQ(CWnd::GetFocus(), &m_menuBar);
}

TEST_F(FrameInputTest, AClickOnTheMenuButtonThatOpenedTheMenuClosesIt) {
    const CPoint ptFile = m_menuBar.GetButton(0)->GetRect().CenterPoint();
    m_menuBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptFile.x, ptFile.y));
    Pump();
    ASSERT_EQ(OpenPopups().size(), 1u);
    EXPECT_TRUE(Translate(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptFile.x, ptFile.y), m_menuBar.m_hWnd));
    Pump();
    EXPECT_TRUE(OpenPopups().empty());
}

TEST_F(FrameInputTest, AfterAMenuCommandTheFocusGoesBack) {
    Log().clear();
    CWnd edit;
    ASSERT_TRUE(edit.Create(L"EDIT", L"", WS_CHILD | WS_VISIBLE, CRect(300, 300, 400, 320), m_pFrame, 1234));
    edit.SetFocus();
    m_menuBar.CreateFromMenu(MakeMenu({{0, L"&File", {{30001, L"&Open"}}}}), FALSE, TRUE);
    const CPoint ptFile = m_menuBar.GetButton(0)->GetRect().CenterPoint();
    m_menuBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptFile.x, ptFile.y));
    Pump();
    ASSERT_EQ(OpenPopups().size(), 1u);
    EXPECT_EQ(CWnd::GetFocus(), &m_menuBar);
    OpenPopups().front()->SendMessage(WM_KEYDOWN, VK_DOWN);
    OpenPopups().front()->SendMessage(WM_KEYDOWN, VK_RETURN);
    Pump();
    EXPECT_TRUE(OpenPopups().empty());
    EXPECT_EQ(LoggedCommands(), std::vector<UINT>{30001});
    EXPECT_EQ(CWnd::GetFocus(), &edit);
    edit.DestroyWindow();
}

TEST_F(FrameInputTest, KeysTypedIntoAToolBarComboAreNotAccelerators) {
    m_pFrame->m_hAccelTable = ::LoadAcceleratorsW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_DOCKTEST_ACCEL));
    CQMXPToolBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 5));
    bar.InsertButton(CQMXPToolbarComboBoxButton(ID_DOCKTEST_COMBO, -1, CBS_DROPDOWN, 120));
    bar.AdjustLayout();
    HWND hEdit = ::GetWindow(bar.GetButton(0)->GetHwnd(), GW_CHILD);
    ASSERT_NE(hEdit, nullptr);
    CCtrlDown ctrl;
    for (const bool bInCombo : {true, false}) {
        if (bInCombo)
            ::SetFocus(hEdit);
        else
            m_pFrame->SetFocus();
        EXPECT_EQ(Translate(WM_KEYDOWN, 'S', 0, ::GetFocus()) != FALSE, !bInCombo) << bInCombo;
    }
    bar.DestroyWindow();
}

TEST_F(FrameInputTest, CustomiseModeRunsNoCommand) {
    for (const BOOL bCustomize : {TRUE, FALSE}) {
        Log().clear();
        CQMXPToolBar::m_bCustomizeMode = bCustomize;
        m_pFrame->SendMessage(WM_COMMAND, ID_MENUTEST_FIRST);
        EXPECT_EQ(LoggedCommands().size(), bCustomize ? 0u : 1u);
    }
}

TEST_F(FrameInputTest, TheWindowPopupListsTheDocumentWindowsTheActiveOneChecked) {
    std::vector<CMDIChildWnd*> children;
    for (int i = 1; i <= 10; ++i) {
        auto* pChild = new CMDIChildWnd;
        ASSERT_TRUE(pChild->Create(nullptr, (L"Doc" + std::to_wstring(i)).c_str(),
                                   WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, m_pFrame));
        children.push_back(pChild);
        if (i != 2 && i != 10)
            continue;
        CQMXPPopupMenu* pPopup = OpenPopup(MakeMenu({{AFX_IDM_WINDOW_FIRST, L"&New Window"}}), CPoint(50, 50));
        ASSERT_NE(pPopup, nullptr);
        const std::vector<std::wstring> texts = ItemTexts(pPopup);
        ASSERT_GE(texts.size(), 4u);
        EXPECT_EQ(texts[1], L"-");
        EXPECT_EQ(texts[2], L"&1 Doc1");
        // Nine windows are listed, then the system's entry for the rest.
        EXPECT_EQ(texts.size(), i == 2 ? 4u : 12u);
        if (i == 10)
            EXPECT_EQ(pPopup->GetMenuItem(11)->m_nID, 0xFF09u);
        int nChecked = 0;
        for (int item = 2; item < pPopup->GetMenuItemCount(); ++item)
            nChecked += (pPopup->GetMenuItem(item)->m_nStyle & TBBS_CHECKED) ? 1 : 0;
        if (i == 2)
            EXPECT_TRUE(pPopup->GetMenuItem(3)->m_nStyle & TBBS_CHECKED);
        EXPECT_LE(nChecked, 1);
        // Told again (a sub-menu of it closed), the shown popup lists the windows once.
        Pump();
        m_pFrame->ShowPopupMenu(pPopup);
        EXPECT_EQ(static_cast<size_t>(pPopup->GetMenuItemCount()), texts.size());
        CloseAllPopups();
    }
    for (CMDIChildWnd* pChild : children)
        pChild->DestroyWindow();
}

TEST_F(FrameInputTest, MinimisingHidesFloatingToolBarsAndRestoringShowsThem) {
    CQMXPToolBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 6));
    bar.InsertButton(CQMXPToolbarButton(ID_MENUTEST_FIRST, -1, L"Go", TRUE));
    bar.EnableDocking(0xF000);
    m_pFrame->DockControlBar(&bar);
    ASSERT_TRUE(bar.FloatControlBar(CRect(300, 300, 400, 340), 0));
    CWnd* pMiniFrame = bar.GetParentMiniFrame(TRUE);
    ASSERT_NE(pMiniFrame, nullptr);
    m_pFrame->ShowWindow(SW_MINIMIZE);
    EXPECT_FALSE(pMiniFrame->IsWindowVisible());
    m_pFrame->ShowWindow(SW_RESTORE);
    EXPECT_TRUE(pMiniFrame->IsWindowVisible());
    bar.DestroyWindow();
}

// A marked menu's strip dragged off: a tool bar of its commands floats and
// follows the mouse until the button goes up, which closes the menus;
// Escape or the right button destroy it and show the menu again.
TEST_F(FrameInputTest, DraggingAMarkedMenusStripFloatsABarOfItsCommands) {
    constexpr UINT kBarId = 0xE930;
    CQMXPTearOffManager manager(kBarId, kBarId + 9);
    qmxTearOffManager = &manager;
    CString strEdit(L"&Edit");
    CQMXPTearOffManager::Build(kBarId, strEdit);
    m_menuBar.CreateFromMenu(MakeMenu({{0, strEdit, {{30001, L"&Copy"}, {30002, L"&Paste"}}}}), FALSE, TRUE);
    const CPoint ptEdit = m_menuBar.GetButton(0)->GetRect().CenterPoint();
    m_menuBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptEdit.x, ptEdit.y));
    Pump();
    ASSERT_EQ(OpenPopups().size(), 1u);
    CQMXPPopupMenu* pPopup = OpenPopups().front();
    const CRect rectStrip = pPopup->rectTearOffCaption;
    ASSERT_FALSE(rectStrip.IsRectEmpty());
    const HWND hWndPopup = pPopup->m_hWnd;
    const struct {
        UINT message;
        WPARAM wParam;
        bool bPlaced;
    } cases[] = {{WM_KEYDOWN, VK_ESCAPE, false}, {WM_RBUTTONDOWN, MK_RBUTTON, false}, {WM_LBUTTONUP, 0, true}};
    const CPoint ptStrip = rectStrip.CenterPoint();
    for (const auto& c : cases) {
        ::SendMessageW(hWndPopup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptStrip.x, ptStrip.y));
        // Read by the drag loop once the bar floats: a move, then the end.
        ::PostMessageW(m_pFrame->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, 90));
        ::PostMessageW(m_pFrame->m_hWnd, c.message, c.wParam, 0);
        ::SendMessageW(hWndPopup, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptStrip.x, rectStrip.bottom + 8));
        Pump();
        auto* pBar = DYNAMIC_DOWNCAST(CQMXPToolBar, m_pFrame->GetControlBar(kBarId));
        EXPECT_EQ(m_pFrame->GetFrameImpl().m_listTearOffToolbars.GetCount(), c.bPlaced ? 1 : 0) << c.message;
        EXPECT_EQ(::IsWindow(hWndPopup) && ::IsWindowVisible(hWndPopup), !c.bPlaced) << c.message;
        ASSERT_EQ(pBar != nullptr, c.bPlaced) << c.message;
        if (pBar == nullptr)
            continue;
        EXPECT_EQ(pBar->GetCount(), 2);
        // The cursor held the caption in its middle, five pixels down.
        CRect rectFrame;
        pBar->GetParentMiniFrame(TRUE)->GetWindowRect(&rectFrame);
        CPoint ptMoved(120, 90);
        m_pFrame->ClientToScreen(&ptMoved);
        EXPECT_EQ(CPoint((rectFrame.left + rectFrame.right) / 2, rectFrame.top + 5), ptMoved);
    }
    qmxTearOffManager = nullptr;
}

// The single-document frame lets a marked menu be torn off too: the bar it
// makes floats and is kept among the frame's torn-off bars.
TEST_F(FrameInputTest, ASingleDocumentFrameKeepsTheBarTornOffItsMenu) {
    constexpr UINT kBarId = 0xE940;
    CQMXPTearOffManager manager(kBarId, kBarId + 9);
    qmxTearOffManager = &manager;
    CQMXPMenuBar menuBar;
    CQMXPFrameWnd* pFrame = NewSDIFrame(menuBar);
    ASSERT_NE(pFrame, nullptr);
    pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    CString strEdit(L"&Edit");
    CQMXPTearOffManager::Build(kBarId, strEdit);
    menuBar.CreateFromMenu(MakeMenu({{0, strEdit, {{30001, L"&Copy"}, {30002, L"&Paste"}}}}), FALSE, TRUE);
    pFrame->RecalcLayout();
    const CPoint ptEdit = menuBar.GetButton(0)->GetRect().CenterPoint();
    menuBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptEdit.x, ptEdit.y));
    Pump();
    ASSERT_EQ(OpenPopups().size(), 1u);
    CQMXPPopupMenu* pPopup = OpenPopups().front();
    const CPoint ptStrip = pPopup->rectTearOffCaption.CenterPoint();
    ASSERT_FALSE(pPopup->rectTearOffCaption.IsRectEmpty());
    const HWND hWndPopup = pPopup->m_hWnd;
    ::SendMessageW(hWndPopup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptStrip.x, ptStrip.y));
    ::PostMessageW(pFrame->m_hWnd, WM_LBUTTONUP, 0, 0);
    ::SendMessageW(hWndPopup, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptStrip.x, pPopup->rectTearOffCaption.bottom + 8));
    Pump();
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPToolBar, pFrame->GetControlBar(kBarId));
    ASSERT_NE(pBar, nullptr);
    EXPECT_TRUE(pBar->IsFloating());
    EXPECT_EQ(pBar->GetCount(), 2);
    EXPECT_EQ(pFrame->GetFrameImpl().m_listTearOffToolbars.GetCount(), 1);
    EXPECT_FALSE(::IsWindow(hWndPopup) && ::IsWindowVisible(hWndPopup));
    pFrame->DestroyWindow();
    Pump();
    qmxTearOffManager = nullptr;
}

// Tool bars torn off menus, numbered as they are saved; a stored state of
// another class than a tool bar makes nothing.
TEST_F(FrameInputTest, TornOffBarsAreSavedWithoutGapsOrStaleKeys) {
    CQMXPFrameImpl& impl = m_pFrame->GetFrameImpl();
    std::vector<CQMXPToolBar*> bars;
    for (UINT uiID : {0xE910u, 0xE911u, 0xE912u}) {
        auto* pBar = new CQMXPToolBar;
        ASSERT_TRUE(pBar->Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, uiID));
        impl.AddTearOffToolbar(pBar);
        bars.push_back(pBar);
    }
    const std::wstring strSection(impl.GetTearOffSection());
    impl.SaveTearOffMenus();
    EXPECT_EQ(DwordValue(strSection + L"-2", L"ID"), 0xE912u);
    // The middle bar now lies in another frame: the frame's own are saved as 0 and 1.
    auto* pOther = new CFrameWnd;
    ASSERT_TRUE(pOther->Create(nullptr, L"Other"));
    bars[1]->SetParent(pOther);
    impl.SaveTearOffMenus(TRUE);
    EXPECT_EQ(DwordValue(strSection + L"-0", L"ID"), 0xE910u);
    EXPECT_EQ(DwordValue(strSection + L"-1", L"ID"), 0xE912u);
    EXPECT_FALSE(KeyExists(strSection + L"-2"));
    {
        CQMXPRegistry reg(FALSE, FALSE);
        ASSERT_TRUE(reg.Open((strSection + L"-1").c_str()));
        CObList list;
        ASSERT_TRUE(reg.Write(L"State", list));
    }
    impl.LoadTearOffMenus();
    ASSERT_EQ(impl.m_listTearOffToolbars.GetCount(), 1);
    EXPECT_EQ(static_cast<CWnd*>(impl.m_listTearOffToolbars.GetHead())->GetDlgCtrlID(), 0xE910);
    for (int n = 0; n < 2; ++n)
        ::RegDeleteTreeW(HKEY_CURRENT_USER, (strSection + L"-" + std::to_wstring(n)).c_str());
    pOther->DestroyWindow();
}

namespace {

// The child ids of the windows made on this thread while work runs.
std::vector<UINT>* g_madeIds = nullptr;

LRESULT CALLBACK CountCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && g_madeIds) {
        const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if (cs->style & WS_CHILD)
            g_madeIds->push_back(static_cast<UINT>(reinterpret_cast<UINT_PTR>(cs->hMenu)));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<UINT> WindowIdsMadeWhile(const std::function<void()>& work) {
    std::vector<UINT> ids;
    g_madeIds = &ids;
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, CountCreation, nullptr, ::GetCurrentThreadId());
    work();
    ::UnhookWindowsHookEx(hook);
    g_madeIds = nullptr;
    return ids;
}

}  // namespace

// User tool bars take the free ids of their range, float where they are
// made, come back from the registry and leave it when deleted.
TEST_F(FrameInputTest, UserToolBarsOfARange) {
    const wchar_t kProfile[] = L"Software\\OstraTallier Frames Test\\User\\";
    CQMXPFrameImpl& impl = m_pFrame->GetFrameImpl();
    impl.m_uiUserToolbarFirst = 0xE920;
    impl.m_uiUserToolbarLast = 0xE921;
    impl.m_strControlBarRegEntry = kProfile;
    Log().clear();
    CQMXPToolBar* pFirst = impl.CreateNewToolbar(L"Mine");
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst->GetDlgCtrlID(), 0xE920);
    EXPECT_TRUE(pFirst->IsFloating());
    CString strName;
    pFirst->GetWindowText(strName);
    EXPECT_EQ(std::wstring(strName), L"Mine");
    CQMXPToolBar* pSecond = impl.CreateNewToolbar(L"Yours");
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(pSecond->GetDlgCtrlID(), 0xE921);
    EXPECT_EQ(impl.CreateNewToolbar(L"Third"), nullptr);
    EXPECT_EQ(Log().back(), L"msgbox:You can't create more than 2 user-defined toolbars!");
    // A bar knows itself as the user's by its frame's range; the menu bar is not.
    EXPECT_TRUE(pFirst->IsUserDefined());
    EXPECT_TRUE(pSecond->IsUserDefined());
    EXPECT_FALSE(m_menuBar.IsUserDefined());
    impl.SaveUserToolbars();
    EXPECT_TRUE(KeyExists(std::wstring(kProfile) + L"QMXToolBar-59681"));
    EXPECT_TRUE(impl.DeleteToolbar(pFirst));
    EXPECT_FALSE(KeyExists(std::wstring(kProfile) + L"QMXToolBar-59680"));
    EXPECT_FALSE(impl.DeleteToolbar(pFirst));
    // Loading makes the bars whose state is stored: the second only, and no
    // window at all for the free number.
    std::vector<UINT> made = WindowIdsMadeWhile([&] { impl.LoadUserToolbars(); });
    ASSERT_EQ(impl.m_listUserDefinedToolbars.GetCount(), 2);
    EXPECT_EQ(static_cast<CWnd*>(impl.m_listUserDefinedToolbars.GetTail())->GetDlgCtrlID(), 0xE921);
    EXPECT_EQ(std::count(made.begin(), made.end(), 0xE920u), 0);
    EXPECT_EQ(std::count(made.begin(), made.end(), 0xE921u), 1);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
}

// A new user tool bar, made while customising, floats empty; each button
// put on it (as a drop does) widens the bar and its floating frame so that
// every button shows, also while the frame is rolled up (tool tips are the
// roll-up bit): rolled down, it shows them all.
TEST_F(FrameInputTest, AUserToolBarGrowsWithTheButtonsPutOnIt) {
    CQMXPToolBar::SwitchCustomizeMode(TRUE);
    CQMXPFrameImpl& impl = m_pFrame->GetFrameImpl();
    impl.m_uiUserToolbarFirst = 0xE920;
    impl.m_uiUserToolbarLast = 0xE921;
    CQMXPToolBar* pBar = impl.CreateNewToolbar(L"Mine");
    ASSERT_NE(pBar, nullptr);
    CQMXPMiniFrameWnd* pMiniFrame = pBar->GetParentMiniFrame(TRUE);
    ASSERT_NE(pMiniFrame, nullptr);
    CRect rectFrame;
    pMiniFrame->GetWindowRect(&rectFrame);
    // Every button inside the bar and inside the frame's window.
    auto allShown = [&] {
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        pMiniFrame->GetWindowRect(&rectFrame);
        for (int j = 0; j < pBar->GetCount(); ++j) {
            CRect rectButton = pBar->GetButton(j)->GetRect();
            pBar->ClientToScreen(&rectButton);
            CRect rectInside;
            if (!rectInside.IntersectRect(&rectButton, &rectBar) || rectInside != rectButton ||
                !rectInside.IntersectRect(&rectButton, &rectFrame) || rectInside != rectButton)
                return false;
        }
        return true;
    };
    for (const BOOL bRolledUp : {FALSE, TRUE}) {
        // The roll-up timer's step with the cursor away from the frame, or on it.
        ::SetCursorPos(bRolledUp ? rectFrame.left - 50 : rectFrame.CenterPoint().x,
                       bRolledUp ? rectFrame.top - 50 : rectFrame.CenterPoint().y);
        pMiniFrame->SendMessage(WM_TIMER, QMXP_CHECK_ROLL_STATE);
        EXPECT_EQ(pMiniFrame->IsRolledUp(), bRolledUp);
        for (int i = 0; i < 2; ++i) {
            ASSERT_GE(pBar->InsertButton(new CQMXPToolbarButton(ID_DOCKTEST_HANDLED, L"Cut", TRUE), pBar->GetCount()), 0);
            pBar->AdjustLayout();
            // The bar the button came from lays the frame out again.
            m_pFrame->RecalcLayout(TRUE);
            Pump();
            if (!bRolledUp)
                EXPECT_TRUE(allShown()) << pBar->GetCount();
        }
    }
    CRect rectRolled;
    pMiniFrame->GetWindowRect(&rectRolled);
    ::SetCursorPos(rectRolled.left + 4, rectRolled.top + 4);
    pMiniFrame->SendMessage(WM_TIMER, QMXP_CHECK_ROLL_STATE);
    EXPECT_FALSE(pMiniFrame->IsRolledUp());
    EXPECT_EQ(pBar->GetCount(), 4);
    EXPECT_TRUE(allShown());
    EXPECT_TRUE(impl.DeleteToolbar(pBar));
    CQMXPToolBar::SwitchCustomizeMode(FALSE);
}

TEST_F(FrameInputTest, WithoutAnIdRangeNoUserToolBarIsMade) {
    Log().clear();
    EXPECT_EQ(m_pFrame->SendMessage(QMXTOOLBAR_CREATE, 0, reinterpret_cast<LPARAM>(L"Mine")), 0);
    // The range left at -1 to -1 counts as its ends give it: one.
    EXPECT_EQ(Log(), (std::vector<std::wstring>{L"msgbox:You can't create more than 1 user-defined toolbars!"}));
}

class MDIFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        m_app.AddDocTemplate(new CMultiDocTemplate(IDR_DOCKTEST_DOC, RUNTIME_CLASS(CDockTestDoc),
                                                   RUNTIME_CLASS(CQMXPMDIChildWnd), RUNTIME_CLASS(CDockTestView)));
        m_pFrame = new CQMXPMDIFrameWnd;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_DOCKTEST_MAIN));
        m_app.m_pMainWnd = m_pFrame;
        SizeClientArea(m_pFrame, 500, 400);
    }
    void TearDown() override {
        if (m_app.m_pMainWnd != nullptr)
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        Pump();
        EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    }
    CDockTestApp m_app;
    CQMXPMDIFrameWnd* m_pFrame = nullptr;
};

TEST_F(MDIFrameTest, DocumentFramesOpenAndCloseWithTheirFloatingBars) {
    m_app.OnFileNew();
    auto* pChild = DYNAMIC_DOWNCAST(CQMXPMDIChildWnd, m_pFrame->MDIGetActive());
    ASSERT_NE(pChild, nullptr);
    EXPECT_EQ(pChild->GetLibraryMDIFrame(), m_pFrame);
    EXPECT_EQ(std::wstring(pChild->GetFrameText()), L"Pane1");
    // The view is no splitter: it keeps out of its siblings and its children.
    CWnd* pView = pChild->GetActiveView();
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(pView->GetStyle() & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN), DWORD(WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    qmxFloatingBarsInMDIChild = TRUE;
    pChild->EnableDocking(0xF000);
    auto* pBar = new CQMXPToolBar;
    ASSERT_TRUE(pBar->Create(pChild, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 7));
    pChild->DockControlBar(pBar);
    ASSERT_TRUE(pBar->FloatControlBar(CRect(200, 200, 300, 240), 0));
    qmxFloatingBarsInMDIChild = FALSE;
    const HWND hMiniFrame = pBar->GetParentMiniFrame(TRUE)->GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(hMiniFrame));
    pChild->DestroyWindow();
    EXPECT_FALSE(::IsWindow(hMiniFrame));
    delete pBar;
}

namespace {

// A document that holds embedded items, and an item that says it is active
// in place in a view.
class COleTestDoc : public COleDocument {
    DECLARE_DYNCREATE(COleTestDoc)
};
IMPLEMENT_DYNCREATE(COleTestDoc, COleDocument)

class CActiveItem : public COleClientItem {
public:
    CActiveItem(COleDocument* pDoc, CView* pView) : COleClientItem(pDoc) {
        m_nItemState = activeUIState;
        m_pView = pView;
    }
};

}  // namespace

// An item active in place keeps the frame's menu a Windows menu: the menu
// bar takes no menu meanwhile and an updated frame menu is set as it is. An
// item asks for border space: it is given the area the docked bars leave,
// and every request.
TEST(InPlaceItemTest, AnActiveItemKeepsTheWindowsMenuAndGetsTheFreeArea) {
    CDockTestApp app;
    app.AddDocTemplate(new CMultiDocTemplate(IDR_DOCKTEST_DOC, RUNTIME_CLASS(COleTestDoc),
                                             RUNTIME_CLASS(CQMXPMDIChildWnd), RUNTIME_CLASS(CDockTestView)));
    auto* pFrame = new CQMXPMDIFrameWnd;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_DOCKTEST_MAIN));
    app.m_pMainWnd = pFrame;
    SizeClientArea(pFrame, 500, 400);
    pFrame->EnableDocking(0xF000);
    CQMXPMenuBar menuBar;
    ASSERT_TRUE(menuBar.Create(pFrame, 0x50402808, AFX_IDW_MENUBAR));
    menuBar.EnableDocking(0xF000);
    pFrame->DockControlBar(&menuBar);
    pFrame->SetMenuBar(&menuBar);
    pFrame->RecalcLayout();
    app.OnFileNew();
    CFrameWnd* pChild = pFrame->MDIGetActive();
    ASSERT_NE(pChild, nullptr);
    CView* pView = pChild->GetActiveView();
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(pFrame->GetInPlaceActiveItem(), nullptr);
    HMENU hMenu = MakeMenu({{0, L"&Item", {{30001, L"&Go"}}}});
    EXPECT_TRUE(pFrame->OnSetMenu(hMenu));
    EXPECT_EQ(::GetMenu(pFrame->m_hWnd), nullptr);

    auto* pItem = new CActiveItem(static_cast<COleDocument*>(pView->GetDocument()), pView);
    EXPECT_EQ(pFrame->GetInPlaceActiveItem(), pItem);
    EXPECT_FALSE(pFrame->OnSetMenu(hMenu));
    pFrame->OnUpdateFrameMenu(hMenu);
    EXPECT_EQ(::GetMenu(pFrame->m_hWnd), hMenu);
    ::SetMenu(pFrame->m_hWnd, nullptr);

    CRect rectBorder;
    EXPECT_TRUE(pFrame->NegotiateBorderSpace(CFrameWnd::borderGet, &rectBorder));
    CRect rectFree;
    pFrame->GetDockManager()->GetClientAreaBounds(rectFree);
    EXPECT_EQ(rectBorder, rectFree);
    EXPECT_GT(rectBorder.top, 0);
    CRect rectHuge(0, 5000, 0, 5000);
    EXPECT_TRUE(pFrame->NegotiateBorderSpace(CFrameWnd::borderRequest, &rectHuge));

    pFrame->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    ::DestroyMenu(hMenu);
}

// With MDI tabs on, each shown document window has a tab under its title;
// windows with the same icon share one image; a hidden window loses its tab
// (the next tab keeps its own title) and, shown again, comes back at the
// end as the active one; a destroyed window's tab goes with it.
TEST_F(MDIFrameTest, MDITabsFollowTheDocumentWindows) {
    m_pFrame->EnableMDITabs();
    m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    Pump();
    CQMXPMainClientAreaWnd& client = m_pFrame->GetClientArea();
    CQMXPTabWnd& tabs = client.GetTabWnd();
    std::vector<CQMXPMDIChildWnd*> children;
    for (LPCWSTR icon : {IDI_APPLICATION, IDI_APPLICATION, IDI_WARNING}) {
        children.push_back(new CQMXPMDIChildWnd);
        ASSERT_TRUE(children.back()->Create(nullptr, L"Doc", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                            CFrameWnd::rectDefault, m_pFrame));
        children.back()->SetIcon(::LoadIconW(nullptr, icon), FALSE);
        children.back()->SetWindowText((L"Doc" + std::to_wstring(children.size())).c_str());
    }
    const auto labels = [&] {
        std::wstring strAll;
        for (int i = 0; i < tabs.GetTabsNum(); ++i) {
            CString strLabel;
            tabs.GetTabLabel(i, strLabel);
            strAll += std::wstring(strLabel) + L"|";
        }
        return strAll;
    };
    ASSERT_EQ(labels(), L"Doc1|Doc2|Doc3|");
    EXPECT_EQ(client.GetTabIcons().GetImageCount(), 2);
    EXPECT_TRUE(tabs.GetTabIcon(0) == tabs.GetTabIcon(1) && tabs.GetTabIcon(0) != tabs.GetTabIcon(2));
    // The client lies in the strip's content area, clear of the tab row.
    CRect rectClient;
    CRect rectTabs;
    client.GetWindowRect(&rectClient);
    tabs.GetWindowRect(&rectTabs);
    CRect rectRow = tabs.GetTabsAreaRect();
    rectRow.OffsetRect(rectTabs.TopLeft());
    EXPECT_TRUE(CRect().IntersectRect(rectClient, rectTabs) && !CRect().IntersectRect(rectClient, rectRow));
    // A click on a tab activates its window, and an activated window its tab.
    tabs.SetActiveTab(0);
    EXPECT_EQ(m_pFrame->MDIGetActive(), children[0]);
    m_pFrame->MDIActivate(children[1]);
    EXPECT_EQ(tabs.GetActiveTab(), 1);
    SaveScreen(rectTabs, L"mdi_tabs");

    for (const bool bShow : {false, true}) {
        children[0]->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
        client.SendMessage(QMXPM_UPDATE_MDI_TABS);
        EXPECT_EQ(labels(), bShow ? L"Doc2|Doc3|Doc1|" : L"Doc2|Doc3|");
    }
    EXPECT_EQ(tabs.GetActiveTab(), 2);
    children[2]->MDIDestroy();
    EXPECT_EQ(labels(), L"Doc2|Doc1|");
}

// A document frame that counts the layouts of its docked bars.
class CCountingChild : public CQMXPMDIChildWnd {
public:
    void AdjustDockingLayout(HDWP hdwp = nullptr) override {
        ++m_nLayouts;
        CQMXPMDIChildWnd::AdjustDockingLayout(hdwp);
    }
    int m_nLayouts = 0;
};

TEST_F(MDIFrameTest, AMinimisedChildKeepsItsBarsLayoutUntilRestored) {
    auto* pChild = new CCountingChild;
    ASSERT_TRUE(pChild->Create(nullptr, L"Doc", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                               m_pFrame));
    const int nBefore = pChild->m_nLayouts;
    pChild->ShowWindow(SW_MINIMIZE);
    EXPECT_EQ(pChild->m_nLayouts, nBefore);
    pChild->ShowWindow(SW_RESTORE);
    EXPECT_GT(pChild->m_nLayouts, nBefore);
    pChild->DestroyWindow();
}

// A main frame that counts its layouts that re-lay the docked bars too.
class CCountingMDIFrame : public CQMXPMDIFrameWnd {
public:
    void RecalcLayout(BOOL bNotify = TRUE) override {
        if (!GetDockManager()->m_bRelayoutBlocked && !m_bInRecalcLayout)
            ++m_nFullLayouts;
        CQMXPMDIFrameWnd::RecalcLayout(bNotify);
    }
    int m_nFullLayouts = 0;
};

// A plain resize lays the bars out once (a second, full layout only
// without full-window dragging); maximising and restoring from it lay out fully.
TEST(MDIFrameSizeTest, MaximiseThenRestoreLaysOutFully) {
    CDockTestApp app;
    auto* pFrame = new CCountingMDIFrame;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_DOCKTEST_MAIN));
    app.m_pMainWnd = pFrame;
    pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    BOOL bDragFull = TRUE;
    ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &bDragFull, 0);
    const struct {
        const wchar_t* what;
        std::function<void()> change;
        bool full;
    } steps[] = {
        {L"resize", [&] { pFrame->SetWindowPos(nullptr, 0, 0, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE); }, !bDragFull},
        {L"maximise", [&] { pFrame->ShowWindow(SW_MAXIMIZE); }, true},
        {L"restore", [&] { pFrame->ShowWindow(SW_RESTORE); }, true},
    };
    for (const auto& step : steps) {
        const int nBefore = pFrame->m_nFullLayouts;
        step.change();
        EXPECT_EQ(pFrame->m_nFullLayouts > nBefore, step.full) << ::testing::PrintToString(std::wstring(step.what));
    }
    pFrame->SendMessage(WM_CLOSE);
    Pump();
}

// A splitter pane paints over its children: only its siblings are clipped.
TEST(FrameLayoutTest, PaneClipStylesByItsKind) {
    CDockTestApp app;
    for (const bool bSplitter : {true, false}) {
        auto* pFrame = new CFrameWnd;
        ASSERT_TRUE(pFrame->Create(nullptr, L"Panes"));
        std::unique_ptr<CWnd> pane(bSplitter ? new CSplitterWnd : new CWnd);
        ASSERT_TRUE(pane->Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), pFrame, AFX_IDW_PANE_FIRST));
        QMXPSetPaneClipStyles(pFrame);
        EXPECT_EQ(pane->GetStyle() & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
                  bSplitter ? DWORD(WS_CLIPSIBLINGS) : DWORD(WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
        pane->DestroyWindow();
        pFrame->DestroyWindow();
    }
}

// The single-document frame without a view: its bars are laid out along
// the top and the rest of its client area stays empty; Alt alone reaches
// its menu bar even while that is hidden.
TEST(SDIFrameTest, BarsLaidOutAndTheClientLeftEmpty) {
    CDockTestApp app;
    CQMXPMenuBar menuBar;
    CQMXPFrameWnd* pFrame = NewSDIFrame(menuBar);
    ASSERT_NE(pFrame, nullptr);
    EXPECT_EQ(::GetMenu(pFrame->m_hWnd), nullptr);
    EXPECT_EQ(menuBar.GetCount(), 2);
    pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    pFrame->RecalcLayout();
    EXPECT_EQ(RectInParent(menuBar.m_hWnd).top, 0);
    EXPECT_GT(RectInParent(menuBar.m_hWnd).Height(), 0);
    EXPECT_EQ(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_PANE_FIRST), nullptr);
    CRect rectFree;
    pFrame->GetDockManager()->GetClientAreaBounds(rectFree);
    EXPECT_EQ(rectFree.top, RectInParent(menuBar.m_hWnd).bottom);
    CRect rectClient;
    pFrame->GetClientRect(&rectClient);
    EXPECT_EQ(rectFree.bottom, rectClient.bottom);

    ::SetForegroundWindow(pFrame->m_hWnd);
    pFrame->SetFocus();
    menuBar.ShowWindow(SW_HIDE);
    MSG msg = {pFrame->m_hWnd, WM_SYSKEYUP, VK_MENU, 0};
    EXPECT_TRUE(pFrame->PreTranslateMessage(&msg));
    EXPECT_EQ(CWnd::GetFocus(), &menuBar);
    pFrame->DestroyWindow();
    Pump();
}

// The in-place frames: the one activated last takes the library's
// commands and gives them back to the one before; the container's frame gets
// the library's wrapper, which takes only the server's bars with it.
TEST(OleFramesTest, CommandTargetAndContainerWrapper) {
    CDockTestApp app;
    HWND hContainer = ::CreateWindowExW(0, L"STATIC", L"Container", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                        nullptr, nullptr, nullptr);
    HWND hOwn = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, hContainer, nullptr, nullptr, nullptr);
    auto* pA = new CQMXPOleIPFrameWnd;
    auto* pB = new CQMXPOleIPFrameWnd;
    // In place the frames lie inside the container: the system activates neither.
    for (CFrameWnd* pFrame : {static_cast<CFrameWnd*>(pA), static_cast<CFrameWnd*>(pB)})
        ASSERT_TRUE(pFrame->Create(nullptr, L"In place", WS_CHILD, CRect(0, 0, 50, 50), CWnd::FromHandle(hContainer)));
    pA->m_pMainFrame = new COleCntrFrameWnd(pA);
    pA->m_pMainFrame->Attach(hContainer);
    ASSERT_TRUE(pA->OnCreateControlBars(pA->m_pMainFrame, nullptr));
    auto* pWrapper = DYNAMIC_DOWNCAST(CQMXPOleCntrFrameWnd, pA->m_pMainFrame);
    ASSERT_NE(pWrapper, nullptr);
    EXPECT_EQ(pWrapper->m_hWnd, hContainer);
    EXPECT_EQ(pWrapper->GetDockManager()->GetDockSiteFrameWnd(), pWrapper);
    EXPECT_TRUE(pA->OnCreateControlBars(pWrapper, nullptr));  // already the library's
    EXPECT_EQ(pA->m_pMainFrame, pWrapper);
    CQMXPToolBar bar;
    ASSERT_TRUE(bar.Create(pWrapper, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 8));

    const struct {
        CFrameWnd* frame;
        UINT state;
        CFrameWnd* target;
    } steps[] = {
        {pA, WA_ACTIVE, pA}, {pB, WA_CLICKACTIVE, pB}, {pB, WA_INACTIVE, pA}, {pA, WA_INACTIVE, nullptr},
    };
    for (const auto& step : steps) {
        step.frame->SendMessage(WM_ACTIVATE, step.state, 0);
        EXPECT_EQ(qmxCommandTargetOverride, step.target);
    }
    pB->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    pB->DestroyWindow();
    EXPECT_EQ(qmxCommandTargetOverride, nullptr);
    pA->DestroyWindow();
    EXPECT_FALSE(::IsWindow(bar.m_hWnd));
    EXPECT_TRUE(::IsWindow(hOwn));
    ::DestroyWindow(hContainer);
    Pump();
}

// A frame that logs the message lines it is sent.
class CMessageLineFrame : public CDockTestFrame {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETMESSAGESTRING && wParam == 0 && lParam != 0)
            Record(std::wstring(L"line:") + reinterpret_cast<LPCWSTR>(lParam));
        if (message == WM_SETMESSAGESTRING && wParam == AFX_IDS_IDLEMESSAGE)
            Record(L"line:idle");
        return CDockTestFrame::WindowProc(message, wParam, lParam);
    }
};

// The preview's tool bar over the class library's preview bar, its pages
// button, and the page numbers in the status bar's stretch pane or, without
// a library status bar, in the frame's message line.
TEST(PrintPreviewTest, ToolBarPagesButtonAndPageNumbers) {
    for (const bool bStatusBar : {true, false}) {
        CDockTestApp app;
        Log().clear();
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CDockTestView);
        context.m_pCurrentDoc = new CDockTestDoc;
        auto* pFrame = new CMessageLineFrame;
        ASSERT_TRUE(pFrame->Create(nullptr, L"Dock", WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 100), nullptr, nullptr, 0,
                                   &context));
        pFrame->InitialUpdateFrame(context.m_pCurrentDoc, FALSE);
        SizeClientArea(pFrame, 600, 400);
        CQMXPStatusBar statusBar;
        const UINT panes[] = {0, ID_DOCKTEST_INDICATOR_A};
        if (bStatusBar) {
            ASSERT_TRUE(statusBar.Create(pFrame));
            statusBar.SetIndicators(panes, 2);
            statusBar.SetPaneText(0, L"Ready");
        }
        CView* pView = pFrame->GetActiveView();
        ASSERT_TRUE(pView->DoPrintPreview(IDD_DOCKTEST_PREVIEW_BAR, pView, RUNTIME_CLASS(CQMXPPrintPreviewView),
                                          new CPrintPreviewState));
        auto* pPreview = DYNAMIC_DOWNCAST(CQMXPPrintPreviewView, pFrame->GetActiveView());
        ASSERT_NE(pPreview, nullptr);
        CQMXPToolBar& bar = pPreview->GetToolBar();
        HWND hWndBar = ::GetDlgItem(pFrame->m_hWnd, AFX_IDW_PREVIEW_BAR);
        EXPECT_EQ(::GetParent(bar.m_hWnd), hWndBar);
        EXPECT_EQ(RectInParent(bar.m_hWnd), CRect(0, 0, 600, RectInParent(hWndBar).Height()));
        EXPECT_EQ(RectInParent(pPreview->m_hWnd).top, RectInParent(hWndBar).bottom);
        const UINT expected[] = {58116, 58115, 58114, 58113, 58117, 58118, 58112};
        ASSERT_EQ(bar.GetCount(), 7);
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(bar.GetButton(i)->m_nID, expected[i]);
            EXPECT_EQ(bar.GetButton(i)->m_bText != FALSE, i == 0 || i == 6) << i;
        }
        EXPECT_EQ(std::wstring(bar.GetButton(0)->m_strText), L"&Print");
        EXPECT_EQ(std::wstring(bar.GetButton(6)->m_strText), L"&Close");
        const std::wstring strShown = bStatusBar ? std::wstring(statusBar.GetPaneText(0)) : Log().back();
        EXPECT_EQ(strShown, bStatusBar ? L"Page 1" : L"line:Page 1");

        // The pages button shows the choice its click makes.
        CQMXPToolbarButton* pPages = bar.GetButton(pPreview->GetPagesButtonIndex());
        EXPECT_NE(pPreview->GetOnePageImage(), pPreview->GetTwoPagesImage());
        EXPECT_EQ(pPages->GetImage(), pPreview->GetTwoPagesImage());
        pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NUMPAGE);
        EXPECT_EQ(pPreview->GetPagesShown(), 2u);
        EXPECT_EQ(pPages->GetImage(), pPreview->GetOnePageImage());
        if (bStatusBar)
            EXPECT_EQ(std::wstring(statusBar.GetPaneText(0)), L"Pages 1-2");

        // Closing leaves the pane empty, or the message line idle, and gives
        // the view back.
        pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
        Pump();
        EXPECT_EQ(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_PANE_FIRST), pView->m_hWnd);
        if (bStatusBar) {
            EXPECT_EQ(std::wstring(statusBar.GetPaneText(0)), L"");
        } else {
            const auto page = std::find(Log().rbegin(), Log().rend(), L"line:Page 1");
            ASSERT_NE(page, Log().rend());
            EXPECT_NE(std::find(Log().rbegin(), page, L"line:idle"), page) << "the idle text after the page";
        }
        pFrame->DestroyWindow();
        Pump();
    }
}

}  // namespace

namespace {

// True while the window lies above the other among the top-level windows.
bool LiesAbove(HWND hwnd, HWND hwndOther) {
    for (HWND hwndAbove = ::GetWindow(hwndOther, GW_HWNDPREV); hwndAbove != nullptr;
         hwndAbove = ::GetWindow(hwndAbove, GW_HWNDPREV))
        if (hwndAbove == hwnd)
            return true;
    return false;
}

}  // namespace

// After the frame came to the top, the windows it owns that it covered go
// back directly above it in their order (the sheet over a floating bar), a
// hidden one stays where it was, and a menu already above the frame stays
// above them all.
TEST_F(MDIFrameTest, OwnedWindowsGoBackAboveTheFrameBelowItsOpenMenu) {
    m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    const auto makeWindow = [&](DWORD dwVisible) {
        return ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | dwVisible, 20, 20, 60, 40, nullptr, nullptr, nullptr,
                                 nullptr);
    };
    const HWND hwndSheet = makeWindow(WS_VISIBLE);
    const HWND hwndBar = makeWindow(WS_VISIBLE);
    const HWND hwndHidden = makeWindow(0);
    const HWND hwndMenu = makeWindow(WS_VISIBLE);
    // As a click leaves them: menu, frame, sheet, floating bar, hidden
    // window; the frame owns them all (the system would keep windows owned
    // before the frame moved above it).
    for (HWND hwnd : {hwndHidden, hwndBar, hwndSheet, m_pFrame->m_hWnd, hwndMenu})
        ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (HWND hwnd : {hwndHidden, hwndBar, hwndSheet, hwndMenu})
        ::SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(m_pFrame->m_hWnd));
    ASSERT_TRUE(LiesAbove(m_pFrame->m_hWnd, hwndSheet));
    ASSERT_TRUE(LiesAbove(hwndSheet, hwndBar));
    ASSERT_TRUE(LiesAbove(hwndMenu, m_pFrame->m_hWnd));

    m_pFrame->SendMessage(QMXPMSG_KEEPOWNEDABOVE);
    EXPECT_TRUE(LiesAbove(hwndMenu, hwndSheet));
    EXPECT_TRUE(LiesAbove(hwndSheet, hwndBar));
    EXPECT_TRUE(LiesAbove(hwndBar, m_pFrame->m_hWnd));
    EXPECT_TRUE(LiesAbove(m_pFrame->m_hWnd, hwndHidden));
    for (HWND hwnd : {hwndSheet, hwndBar, hwndHidden, hwndMenu})
        ::DestroyWindow(hwnd);
}
