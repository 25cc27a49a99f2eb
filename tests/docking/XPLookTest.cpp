// The flat XP look and the themed look: the colour scheme on crafted system
// colours and colour depths, the highlighted text colour, a popup menu under
// a tool-bar button with the lines under its items' letters
// (build\screenshots\xp_popup_menu.png) and the figures and bold of the
// menus' face (build\screenshots\tahoma_figures.png), the themes Wine
// opens, the theme states through a recording seam, and the fallback to the
// XP look once themes are off; tab-strip buttons and a task pane.
#include "CanvasTestSupport.h"
#include "DockingTestSupport.h"
#include "MenuTestSupport.h"

#include "docking/bars/QMXPTabButton.h"
#include "docking/bars/QMXPTabWnd.h"
#include "docking/toolbars/QMXPButton.h"
#include "docking/toolbars/QMXPDrawManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPTaskPaneItems.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "docking/toolbars/QMXPVisualManagerXP.h"
#include "docking/toolbars/QMXPWinXPVisualManager.h"
#include "resources/Toolbars.h"
#include "tests/support/LetterLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace docking_test;

namespace {

// The depth the scheme is computed for, put back afterwards.
struct CDepthScope {
    explicit CDepthScope(int nBits) : m_nSaved(globalData.bitsPerPixel) { globalData.bitsPerPixel = nBits; }
    ~CDepthScope() { globalData.bitsPerPixel = m_nSaved; }
    int m_nSaved;
};

BOOL IsSysColor(COLORREF clr) {
    for (int i = 0; i <= COLOR_MENUBAR; ++i) {
        if (::GetSysColor(i) == clr)
            return TRUE;
    }
    return FALSE;
}

TEST(XPLookTest, SchemeFollowsTheSystemColoursAndTheDepth) {
    const CSysColorsScope colors({COLOR_WINDOW, COLOR_BTNFACE}, {RGB(255, 255, 255), RGB(160, 160, 160)});
    {
        const CDepthScope depth(32);
        CQMXPVisualManagerXP manager(TRUE);
        EXPECT_EQ(manager.clrMenuLight, RGB(249, 248, 247));
        // A grey face stays grey and its tab background is lighter.
        const COLORREF clrTab = manager.clrTabBack;
        EXPECT_EQ(GetRValue(clrTab), GetGValue(clrTab));
        EXPECT_EQ(GetGValue(clrTab), GetBValue(clrTab));
        EXPECT_GT(GetRValue(clrTab), 160);
        EXPECT_EQ(manager.GetMenuImageMargin(), 3);
        EXPECT_FALSE(IsSysColor(manager.clrHighlight));
    }
    const CDepthScope depth(8);
    CQMXPVisualManagerXP manager(TRUE);
    const COLORREF brushes[] = {manager.clrMenuLight,        manager.clrTabBack,   manager.clrBarBackground,
                                manager.clrHighlight,        manager.clrHighlightDn, manager.clrHighlightChecked,
                                manager.clrGripper,          manager.clrPaneBorder,  manager.clrMenuBorder,
                                manager.clrFloatToolBarBorder, manager.clrSeparator, manager.clrDarkText};
    for (COLORREF clr : brushes)
        EXPECT_TRUE(IsSysColor(clr)) << std::hex << clr;
}

TEST(XPLookTest, HighlightedItemTextIsBlackOnlyWhenEveryChannelIsAtLeast129) {
    // A grey window of 128 gives a menu background of (125, 125, 124); the
    // highlight blend is then ((h + 2 * m) / 3) * 1.1 per channel.
    const struct {
        COLORREF clrHighlight;
        COLORREF clrText;
    } cases[] = {
        {RGB(110, 110, 110), RGB(0, 0, 0)},        // (132, 132, 130)
        {RGB(102, 110, 110), RGB(255, 255, 255)},  // red 128
        {RGB(110, 110, 100), RGB(255, 255, 255)},  // blue 127
    };
    CQMXPToolbarMenuButton button;
    for (const auto& c : cases) {
        const CSysColorsScope colors({COLOR_WINDOW, COLOR_HIGHLIGHT}, {RGB(128, 128, 128), c.clrHighlight});
        const CDepthScope depth(32);
        CQMXPVisualManagerXP manager(TRUE);
        CCanvas canvas(40, 20);
        COLORREF clrText = RGB(1, 2, 3);
        manager.OnHighlightMenuItem(&canvas.DC(), &button, CRect(0, 0, 40, 20), clrText);
        EXPECT_EQ(clrText, c.clrText) << std::hex << c.clrHighlight;
        EXPECT_EQ(canvas.At(20, 10), manager.clrHighlight);
        EXPECT_EQ(canvas.At(0, 10), ::GetSysColor(COLOR_HIGHLIGHT));
    }
}

// A tool bar with one menu button, in the test frame.
class XPMenuTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        CQMXPVisualManager::SelectManagerClass(RUNTIME_CLASS(CQMXPVisualManagerXP));
    }
    void TearDown() override {
        MenuTest::TearDown();
        CQMXPVisualManager::SelectManagerClass(nullptr);
    }
};

COLORREF ScreenPixel(int x, int y) {
    HDC hdc = ::GetDC(nullptr);
    const COLORREF clr = ::GetPixel(hdc, x, y);
    ::ReleaseDC(nullptr, hdc);
    return clr;
}

// The marked letter of a text shown in the rectangle of the screen: the
// text's glyphs stand where the menu font measures them, and the line under
// the letter spans its cell but the last column.
void ExpectLineUnderLetter(const CRect& rectScreen, const CString& strText) {
    test_support::ExpectLineUnderLetter(test_support::CaptureScreen(rectScreen),
                                        globalData.fontRegular,
                                        static_cast<LPCWSTR>(strText));
}

// The counters of a figure drawn dark on light: the light regions that no
// light path joins to the drawing's edge. Each pixel's region: 0 for ink and
// the outside, the counters from 1 in the order of their first pixels.
std::vector<int> Counters(const test_support::Pixels& drawing, int& nCounters) {
    const int cx = drawing.width, cy = drawing.height;
    std::vector<int> region(drawing.values.size());
    for (size_t i = 0; i < region.size(); ++i)
        region[i] = test_support::IsDark(drawing.values[i]) ? 0 : -1;
    auto fill = [&](int i, int nRegion, auto& self) -> void {
        const int x = i % cx, y = i / cx;
        if (x < 0 || x >= cx || y < 0 || y >= cy || region[i] >= 0)
            return;
        region[i] = nRegion;
        for (int j : {x > 0 ? i - 1 : -1, x + 1 < cx ? i + 1 : -1, i - cx, i + cx})
            self(j, nRegion, self);
    };
    for (int i = 0; i < cx * cy; ++i)
        if (i % cx == 0 || i % cx == cx - 1 || i < cx || i >= cx * (cy - 1))
            fill(i, 0, fill);
    nCounters = 0;
    for (int i = 0; i < cx * cy; ++i)
        if (region[i] < 0)
            fill(i, ++nCounters, fill);
    return region;
}

// Tahoma as the menus draw it in one bit, as the prefix holds it: "0" and
// "8" at every size of the system's one-bit text with their counters open (a
// 0 with one, open at its middle, its sides curving out evenly with no stub
// beside the counter; an 8 with two), and a bold caption heavier than the
// regular one.
void ExpectCleanFigures() {
    const int kCell = 20;
    CCanvas canvas(16 * kCell, 11 * kCell);
    canvas.DC().SetBkMode(TRANSPARENT);
    const CString strCaption = L"Report Properties 2008";
    auto draw = [&](int nHeight, int nWeight, const CString& strText, int x, int y) {
        CFont font;
        font.CreateFont(-nHeight, 0, 0, 0, nWeight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"Tahoma");
        CFont* pOld = canvas.DC().SelectObject(&font);
        wchar_t szFace[LF_FACESIZE] = {};
        ::GetTextFaceW(canvas.DC().m_hDC, LF_FACESIZE, szFace);
        EXPECT_STREQ(szFace, L"Tahoma");
        canvas.DC().TextOut(x, y, strText);
        canvas.DC().SelectObject(pOld);
        return test_support::CaptureFrom(canvas.DC().m_hDC, {x - 2, y}, strText.GetLength() > 1 ? 15 * kCell : kCell, kCell);
    };
    for (int nHeight = 8; nHeight <= 16; ++nHeight) {
        const int y = (nHeight - 8) * kCell;
        int nCounters = 0;
        const test_support::Pixels zero = draw(nHeight, FW_NORMAL, L"0", 2, y);
        const std::vector<int> region = Counters(zero, nCounters);
        const CRect ink = zero.Bounds(RGB(255, 255, 255));
        EXPECT_EQ(nCounters, 1) << "0 at " << nHeight;
        EXPECT_EQ(region[(ink.top + ink.bottom - 1) / 2 * kCell + (ink.left + ink.right - 1) / 2], 1) << nHeight;
        std::vector<int> left, right;
        for (int yRow = ink.top; yRow < ink.bottom; ++yRow) {
            int x = ink.left, xRight = ink.right - 1;
            while (!test_support::IsDark(zero.At(x, yRow)))
                ++x;
            while (!test_support::IsDark(zero.At(xRight, yRow)))
                --xRight;
            left.push_back(x);
            right.push_back(xRight);
        }
        for (size_t i = 1; i + 1 < left.size(); ++i)
            EXPECT_TRUE(left[i - 1] + left[i + 1] >= 2 * left[i] && right[i - 1] + right[i + 1] <= 2 * right[i])
                << "0 at " << nHeight << " row " << i;
        Counters(draw(nHeight, FW_NORMAL, L"8", 2 + kCell, y), nCounters);
        EXPECT_EQ(nCounters, 2) << "8 at " << nHeight;
    }
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    ASSERT_EQ(metrics.lfCaptionFont.lfWeight, FW_BOLD);
    const test_support::Pixels bold = draw(-metrics.lfCaptionFont.lfHeight, FW_BOLD, strCaption, 2, 9 * kCell);
    const test_support::Pixels regular = draw(-metrics.lfCaptionFont.lfHeight, FW_NORMAL, strCaption, 2, 10 * kCell);
    EXPECT_GT(4 * std::count_if(bold.values.begin(), bold.values.end(), test_support::IsDark),
              5 * std::count_if(regular.values.begin(), regular.values.end(), test_support::IsDark));
    EXPECT_TRUE(canvas.SavePng(L"tahoma_figures"));
}

TEST_F(XPMenuTest, PopupMenuSeparatorLeavesTheImageColumnItsBorderOpensToTheButtonAndItsFaceDrawsClean) {
    CQMXPPopupMenu::bMenuShadows = FALSE;
    CQMXPToolBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE840));
    // Letters late in long texts stand where the font measures them, their lines under them.
    const wchar_t* const strLong[] = {L"Generate Report in P&DF...", L"Convert Image To &Grayscale"};
    HMENU hMenu = MakeMenu({{30001, L"&Open"}, {0, L""}, {30002, L"&Close"}, {30003, strLong[0]}, {30004, strLong[1]}});
    auto* pMenuButton = new CQMXPToolbarMenuButton(static_cast<UINT>(-1), hMenu, -1, L"Open &Menu");
    pMenuButton->m_bText = TRUE;
    bar.InsertButton(pMenuButton);
    ::DestroyMenu(hMenu);
    bar.EnableDocking(0xF000);
    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    m_pFrame->UpdateWindow();
    const CPoint ptButton = bar.GetButton(0)->GetRect().CenterPoint();
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptButton.x, ptButton.y));
    auto* pButton = static_cast<CQMXPToolbarMenuButton*>(bar.GetButton(0));
    CQMXPPopupMenu* pPopup = pButton->GetPopupMenu();
    ASSERT_NE(pPopup, nullptr);
    ASSERT_EQ(pPopup->dropDirection, QMXP_DROP_DOWN);
    // Drawn once its showing is handled.
    Pump();
    pPopup->UpdateWindow();
    pPopup->GetMenuBar()->UpdateWindow();

    auto* pManager = static_cast<CQMXPVisualManagerXP*>(CQMXPVisualManager::GetInstance());
    const CRect rectMenu = MenuRect(pPopup);
    CRect rectButton = pButton->GetRect();
    bar.ClientToScreen(&rectButton);
    EXPECT_TRUE(SaveScreen(CRect(rectButton.left - 4, rectButton.top - 4, rectMenu.right + 8, rectMenu.bottom + 8),
                           L"xp_popup_menu"));
    // The top border is open under the button and closed right of it.
    EXPECT_EQ(ScreenPixel(rectMenu.left + 3, rectMenu.top), pManager->clrBarBackground);
    EXPECT_EQ(ScreenPixel(rectMenu.left + rectButton.Width() + 2, rectMenu.top), pManager->clrMenuBorder);
    EXPECT_EQ(ScreenPixel(rectMenu.left, rectMenu.top + 3), pManager->clrMenuBorder);

    // The separator is the one row of its colour: it starts after the image column.
    CQMXPPopupMenuBar* pItems = pPopup->GetMenuBar();
    CRect rectItems;
    pItems->GetWindowRect(&rectItems);
    const CRect rectSeparator = pItems->GetButton(1)->GetRect();
    const int ySeparator = rectItems.top + rectSeparator.top + rectSeparator.Height() / 2;
    const int xColumnEnd = rectItems.left + CQMXPToolBar::GetMenuImageSize().cx + 2 * 3 + 1;
    EXPECT_EQ(ScreenPixel(xColumnEnd - 1, ySeparator), pManager->clrBarBackground);
    EXPECT_EQ(ScreenPixel(xColumnEnd, ySeparator), pManager->clrSeparator);
    EXPECT_EQ(ScreenPixel(rectItems.right - 1, ySeparator), pManager->clrSeparator);
    ExpectLineUnderLetter(rectButton, L"Open &Menu");
    for (int i = 0; i < 2; ++i) {
        CRect rectItem = pItems->GetButton(3 + i)->GetRect();
        pItems->ClientToScreen(&rectItem);
        ExpectLineUnderLetter(rectItem, strLong[i]);
    }
    CloseAllPopups();
    bar.DestroyWindow();
    ExpectCleanFigures();
}

// The themed manager drawing nothing, recording the parts it asks for.
class CRecordingThemedManager : public CQMXPWinXPVisualManager {
public:
    CRecordingThemedManager() : CQMXPWinXPVisualManager(TRUE) {}
    std::vector<std::pair<int, int>> drawn;

protected:
    void DrawThemePart(HANDLE, CDC*, int iPart, int iState, const CRect&) override {
        drawn.emplace_back(iPart, iState);
    }
};

// What the theme library answers while themes are off.
HANDLE WINAPI NoTheme(HWND, LPCWSTR) { return nullptr; }

TEST(ThemedLookTest, OpensWinesThemesAndAsksForTheStatesOfTheButtons) {
    CRecordingThemedManager manager;
    EXPECT_NE(manager.hThemeToolBar, nullptr);
    EXPECT_NE(manager.hThemeButton, nullptr);
    EXPECT_NE(manager.hThemeWindow, nullptr);
    EXPECT_EQ(manager.hThemeExplorerBar, nullptr);
    EXPECT_EQ(manager.GetButtonExtraBorder(), CSize(2, 2));

    const struct {
        UINT nStyle;
        int state;
        int nTheme;
    } buttons[] = {
        {TBBS_CHECKED, 2, 6},  {TBBS_CHECKED, 1, 5},  {TBBS_CHECKED | TBBS_DISABLED, 2, 4},
        {TBBS_PRESSED, 1, 3},  {0, 2, 2},             {TBBS_PRESSED | TBBS_DISABLED, 1, 4},
        {0, 0, 1},
    };
    CCanvas canvas(20, 20);
    CQMXPToolbarButton button;
    for (const auto& b : buttons) {
        manager.drawn.clear();
        button.m_nStyle = b.nStyle;
        manager.OnFillButtonInterior(&canvas.DC(), &button, CRect(0, 0, 20, 20), b.state);
        ASSERT_EQ(manager.drawn.size(), 1u);
        EXPECT_EQ(manager.drawn[0], std::make_pair(1, b.nTheme)) << std::hex << b.nStyle << " " << b.state;
    }
    const struct {
        UINT nStyle;
        BOOL bHighlight;
        int nState;
    } systemButtons[] = {{TBBS_PRESSED, FALSE, 1}, {TBBS_PRESSED, TRUE, 3}, {0, TRUE, 2}, {TBBS_DISABLED, TRUE, 4}};
    for (const auto& s : systemButtons) {
        manager.drawn.clear();
        manager.OnDrawMenuSystemButton(&canvas.DC(), CRect(0, 0, 16, 14), SC_CLOSE, s.nStyle, s.bHighlight);
        ASSERT_EQ(manager.drawn.size(), 1u);
        EXPECT_EQ(manager.drawn[0], std::make_pair(20, s.nState)) << s.nStyle << " " << s.bHighlight;
    }
}

TEST(ThemedLookTest, PushButtonsTakeTheirThemeStateFromTheWindow) {
    CDockTestApp app;
    CDockTestFrame* pFrame = MakeFrame(200, 100);
    ASSERT_NE(pFrame, nullptr);
    CRecordingThemedManager manager;
    CQMXPButton button;
    ASSERT_TRUE(button.Create(L"OK", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, CRect(0, 0, 80, 24), pFrame, 1000));
    CCanvas canvas(80, 24);
    const struct {
        BOOL bEnabled;
        BOOL bChecked;
        int nState;
    } cases[] = {{TRUE, FALSE, 1}, {TRUE, TRUE, 3}, {FALSE, TRUE, 4}};
    for (const auto& c : cases) {
        button.EnableWindow(c.bEnabled);
        button.SetCheck(c.bChecked);
        manager.drawn.clear();
        EXPECT_TRUE(manager.DrawPushButtonWinXP(&canvas.DC(), CRect(0, 0, 80, 24), &button, 0));
        ASSERT_EQ(manager.drawn.size(), 1u);
        EXPECT_EQ(manager.drawn[0], std::make_pair(1, c.nState)) << c.bEnabled << c.bChecked;
    }
    manager.hThemeButton = nullptr;
    EXPECT_FALSE(manager.DrawPushButtonWinXP(&canvas.DC(), CRect(0, 0, 80, 24), &button, 0));
    button.DestroyWindow();
    pFrame->DestroyWindow();
    Pump();
}

TEST(ThemedLookTest, WithThemesOffAColourChangeClosesEveryThemeAndAToolBarDrawsAsInTheXPLook) {
    CDockTestApp app;
    CDockTestFrame* pFrame = MakeFrame(400, 200);
    ASSERT_NE(pFrame, nullptr);
    CQMXPVisualManager::SelectManagerClass(RUNTIME_CLASS(CQMXPWinXPVisualManager));
    auto* pThemed = static_cast<CQMXPWinXPVisualManager*>(CQMXPVisualManager::GetInstance());
    ASSERT_NE(pThemed->hThemeWindow, nullptr);

    CQMXPToolBar bar;
    ASSERT_TRUE(bar.Create(pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 1));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TAL_MAIN_TOOLBAR));
    const auto pfnOpen = pThemed->pfOpenThemeData;
    pThemed->pfOpenThemeData = NoTheme;
    bar.SendMessage(WM_SYSCOLORCHANGE);
    const HANDLE handles[] = {pThemed->hThemeToolBar,   pThemed->hThemeRebar,    pThemed->hThemeButton,
                              pThemed->hThemeStatusBar, pThemed->hThemeWindow,   pThemed->hThemeComboBox,
                              pThemed->hThemeProgress,  pThemed->hThemeHeader,   pThemed->hThemeScrollBar,
                              pThemed->hThemeExplorerBar};
    pThemed->pfOpenThemeData = pfnOpen;
    for (HANDLE h : handles)
        EXPECT_EQ(h, nullptr);
    EXPECT_EQ(pThemed->GetButtonExtraBorder(), CSize(0, 0));

    // The pressed look shows both the fill and the frame.
    bar.GetButton(0)->m_nStyle |= TBBS_CHECKED;
    bar.AdjustLayout();
    CRect rectBar;
    bar.GetClientRect(&rectBar);
    CCanvas themed(rectBar.Width(), rectBar.Height());
    bar.DoPaint(&themed.DC());
    CQMXPVisualManager::SelectManagerClass(RUNTIME_CLASS(CQMXPVisualManagerXP));
    CQMXPVisualManager::GetInstance();
    CCanvas xp(rectBar.Width(), rectBar.Height());
    bar.DoPaint(&xp.DC());
    EXPECT_TRUE(xp.SavePng(L"xp_toolbar"));
    int nDifferent = 0;
    for (int y = 0; y < rectBar.Height(); ++y)
        for (int x = 0; x < rectBar.Width(); ++x)
            nDifferent += themed.At(x, y) != xp.At(x, y) ? 1 : 0;
    EXPECT_EQ(nDifferent, 0);
    EXPECT_GT(xp.Count(static_cast<CQMXPVisualManagerXP*>(CQMXPVisualManager::GetInstance())->clrBarBackground), 0);

    CQMXPVisualManager::SelectManagerClass(nullptr);
    bar.DestroyWindow();
    pFrame->DestroyWindow();
    Pump();
}

// A library button (here a tab strip's) whose mouse state the test sets,
// and a tab window that is flat or not.
class CStateButton : public CQMXTabButton {
public:
    void Set(BOOL bPushed, BOOL bHot) {
        m_bPushed = bPushed;
        m_bHighlighted = bHot;
    }
};
class CLookTabWnd : public CQMXPTabWnd {
public:
    explicit CLookTabWnd(BOOL bFlat) { m_bFlat = bFlat; }
};

TEST(XPTabButtonsTest, FaceAndFrameFollowTheButtonsStateAndTheTabWindowsKind) {
    CQMXPVisualManagerXP manager(TRUE);
    CLookTabWnd flat(TRUE), plain(FALSE);
    const COLORREF clrNone = RGB(1, 2, 3);
    const struct {
        CQMXPTabWnd* pTabs;
        BOOL bPushed, bHot;
        COLORREF clrFace, clrTopLeft, clrBottomRight;
    } cases[] = {
        {&flat, FALSE, FALSE, globalData.clrBtnFace, clrNone, clrNone},
        {&flat, FALSE, TRUE, manager.clrHighlight, manager.clrGripper, globalData.clrBtnDkShadow},
        {&flat, TRUE, TRUE, manager.clrHighlightDn, globalData.clrBtnDkShadow, manager.clrGripper},
        {&plain, FALSE, FALSE, manager.clrTabBack, clrNone, clrNone},
        {&plain, TRUE, TRUE, manager.clrTabBack, globalData.clrBtnDkShadow, globalData.clrBtnDkShadow},
    };
    CStateButton button;
    for (const auto& c : cases) {
        CCanvas canvas(16, 16, clrNone);
        button.Set(c.bPushed, c.bHot);
        CRect rect(0, 0, 16, 16);
        manager.OnFillTab(&canvas.DC(), CRect(1, 1, 15, 15), &button, c.pTabs);
        manager.OnDrawTabButtonBorder(&canvas.DC(), rect, &button, 0, c.pTabs);
        EXPECT_EQ(rect, CRect(1, 1, 15, 15));
        EXPECT_EQ(canvas.At(8, 8), c.clrFace) << c.bPushed << c.bHot;
        EXPECT_EQ(canvas.At(0, 8), c.clrTopLeft) << c.bPushed << c.bHot;
        EXPECT_EQ(canvas.At(15, 8), c.clrBottomRight) << c.bPushed << c.bHot;
    }
}

TEST(ThemedLookTest, ALibraryButtonIsAThemedPushButtonOnePixelLargerAndAClassicPageButtonWithoutTheTheme) {
    CRecordingThemedManager manager;
    CStateButton button;
    const struct {
        BOOL bPushed, bHot;
        int nState;
    } cases[] = {{TRUE, TRUE, 3}, {FALSE, TRUE, 2}, {TRUE, FALSE, 1}, {FALSE, FALSE, 1}};
    for (const auto& c : cases) {
        CCanvas canvas(30, 20, RGB(1, 2, 3));
        button.Set(c.bPushed, c.bHot);
        manager.drawn.clear();
        EXPECT_TRUE(manager.DrawButtonWinXP(&button, &canvas.DC(), CRect(5, 5, 25, 15)));
        ASSERT_EQ(manager.drawn.size(), 1u);
        EXPECT_EQ(manager.drawn[0], std::make_pair(1, c.nState)) << c.bPushed << c.bHot;
        EXPECT_EQ(canvas.At(4, 10), globalData.clrBtnFace);
        EXPECT_EQ(canvas.At(3, 10), RGB(1, 2, 3));
    }
    manager.hThemeButton = nullptr;
    manager.drawn.clear();
    CCanvas canvas(30, 20, RGB(1, 2, 3));
    EXPECT_TRUE(manager.DrawButtonWinXP(&button, &canvas.DC(), CRect(5, 5, 25, 15)));
    EXPECT_TRUE(manager.drawn.empty());
    EXPECT_EQ(canvas.At(4, 10), RGB(1, 2, 3));
}

TEST(ThemedLookTest, TaskPaneFallsBackWithoutTheExplorerThemeAndAsksForItsPartsWithIt) {
    CRecordingThemedManager manager;
    ASSERT_EQ(manager.hThemeExplorerBar, nullptr);
    const COLORREF clrBack = RGB(1, 2, 3);
    {
        CCanvas canvas(40, 20, clrBack);
        manager.OnFillTaskPaneBackground(&canvas.DC(), CRect(0, 0, 40, 10));
        manager.OnDrawGroupBackground(&canvas.DC(), CRect(0, 10, 40, 20), TRUE);
        EXPECT_TRUE(manager.drawn.empty());
        EXPECT_EQ(canvas.At(20, 5), ::GetSysColor(COLOR_WINDOW));
        EXPECT_EQ(canvas.At(20, 10), globalData.clrBtnShadow);
        EXPECT_EQ(canvas.At(20, 11), clrBack);
    }

    // Any handle will do: the recording seam never hands it to the theme library.
    manager.hThemeExplorerBar = reinterpret_cast<HANDLE>(1);
    const struct {
        const wchar_t* lpszName;
        BOOL bSpecial, bCollapsed, bHot;
        std::vector<std::pair<int, int>> parts;
    } captions[] = {
        {L"Tasks", FALSE, FALSE, FALSE, {{8, 0}, {6, 1}}},
        {L"Tasks", TRUE, TRUE, TRUE, {{12, 0}, {11, 2}}},
        {L"Tasks", FALSE, TRUE, TRUE, {{8, 0}, {7, 2}}},
        {L"", FALSE, FALSE, TRUE, {{8, 0}}},
    };
    CCanvas canvas(120, 30);
    for (const auto& c : captions) {
        CQMXPTasksGroup group;
        group.strName = c.lpszName;
        group.rect = CRect(0, 0, 120, 25);
        group.bIsSpecial = c.bSpecial;
        group.bIsCollapsed = c.bCollapsed;
        manager.drawn.clear();
        manager.OnDrawGroupCaption(&canvas.DC(), &group, c.bHot, FALSE, TRUE);
        EXPECT_EQ(manager.drawn, c.parts) << c.bSpecial << c.bCollapsed << c.bHot;
    }
    manager.drawn.clear();
    manager.OnFillTaskPaneBackground(&canvas.DC(), CRect(0, 0, 120, 30));
    manager.OnDrawGroupBackground(&canvas.DC(), CRect(0, 0, 120, 30), TRUE);
    manager.OnDrawGroupBackground(&canvas.DC(), CRect(0, 0, 120, 30), FALSE);
    EXPECT_EQ(manager.drawn, (std::vector<std::pair<int, int>>{{1, 0}, {9, 0}, {5, 0}}));
    manager.hThemeExplorerBar = nullptr;
}

// The pixels of a colour that a task's text leaves on a grey canvas.
int TaskTextPixels(CQMXPVisualManager& manager, BOOL bIsLink, COLORREF clr) {
    CCanvas canvas(120, 20, RGB(128, 128, 128));
    // A label keeps the colour the pane's painting set.
    canvas.DC().SetTextColor(RGB(0, 128, 0));
    CQMXPTask task;
    task.strName = L"Open the folder";
    task.rect = CRect(0, 0, 120, 20);
    task.bIsLink = bIsLink;
    manager.OnDrawTask(&canvas.DC(), &task, nullptr, TRUE, FALSE);
    return canvas.Count(clr);
}

TEST(ThemedLookTest, LinksTakeTheirLooksColourAndGroupsWithoutCaptionATopLine) {
    const CSysColorsScope colors({COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_WINDOW},
                                 {RGB(0, 0, 0), RGB(10, 36, 106), RGB(255, 255, 255)});
    CQMXPVisualManager classic(TRUE);
    CQMXPVisualManagerXP xp(TRUE);
    CRecordingThemedManager themed;
    const struct {
        CQMXPVisualManager* pManager;
        BOOL bIsLink;
        COLORREF clrShown;
        COLORREF clrNotShown;
    } tasks[] = {
        {&classic, TRUE, RGB(0, 0, 0), globalData.clrHotLinkText},
        {&xp, TRUE, globalData.clrHotLinkText, globalData.clrHilite},
        {&xp, FALSE, RGB(0, 128, 0), globalData.clrHotLinkText},
        {&themed, TRUE, globalData.clrHilite, globalData.clrHotLinkText},
        {&themed, FALSE, RGB(0, 0, 0), globalData.clrHilite},
    };
    for (const auto& t : tasks) {
        const char* lpszLook = t.pManager->GetRuntimeClass()->m_lpszClassName;
        EXPECT_GT(TaskTextPixels(*t.pManager, t.bIsLink, t.clrShown), 0) << lpszLook << t.bIsLink;
        EXPECT_EQ(TaskTextPixels(*t.pManager, t.bIsLink, t.clrNotShown), 0) << lpszLook << t.bIsLink;
    }

    // A group without a caption: a top line in the themed look only.
    const COLORREF clrBack = RGB(1, 2, 3);
    const struct {
        CQMXPVisualManager* pManager;
        BOOL bSpecial, bNoCaption;
        COLORREF clrTop;
    } borders[] = {
        {&themed, TRUE, TRUE, RGB(10, 36, 106)},
        {&themed, FALSE, TRUE, RGB(255, 255, 255)},
        {&themed, TRUE, FALSE, clrBack},
        {&xp, TRUE, TRUE, clrBack},
    };
    for (const auto& b : borders) {
        CCanvas canvas(40, 20, clrBack);
        b.pManager->OnDrawGroupBorder(&canvas.DC(), CRect(0, 0, 40, 20), b.bSpecial, b.bNoCaption);
        EXPECT_EQ(canvas.At(20, 0), b.clrTop) << b.bSpecial << b.bNoCaption;
        EXPECT_EQ(canvas.At(20, 1), clrBack);
    }
}

}  // namespace
