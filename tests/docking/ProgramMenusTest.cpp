// The program's menus shown in a test frame of the docking library: the tool
// bars' context menu, and the Format Text tool bar docked
// at the left, where its font boxes become menu buttons that drop the fonts,
// and back at the top; the chevron of a tool bar too short for its buttons.
#include "MenuTestSupport.h"

#include "CanvasTestSupport.h"
#include "docking/frames/CustomizeButton.h"
#include "docking/toolbars/QMXPToolbarComboBoxButton.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "resources/Toolbars.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace docking_test;

namespace {

const wchar_t* const kFonts[] = {L"Arial", L"Courier New", L"Times New Roman"};

bool Logged(const std::wstring& entry) { return std::find(Log().begin(), Log().end(), entry) != Log().end(); }

class ProgramMenusTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        ASSERT_TRUE(m_text.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, ID_TAL_FORMAT_TEXT_TOOLBAR_BAR));
        ASSERT_TRUE(m_text.LoadToolBar(IDR_TAL_FORMAT_TEXT_TOOLBAR));
        m_text.EnableDocking(0xF000);
        SetFontBoxes();
        m_pFrame->DockControlBar(&m_text, AFX_IDW_DOCKBAR_TOP);
        m_pFrame->RecalcLayout();
        Pump();
    }
    void TearDown() override {
        m_text.DestroyWindow();
        MenuTest::TearDown();
    }
    // The program's text bar: boxes along the top, menu buttons at the sides.
    void SetFontBoxes() {
        CQMXPToolbarComboBoxButton fontName(32853, -1, CBS_DROPDOWNLIST, 160);
        for (const wchar_t* name : kFonts)
            fontName.AddItem(name);
        m_text.ReplaceButton(32853, fontName);
        m_text.AdjustLayout();
    }
    void SetFontMenuButtons() {
        std::vector<MenuItem> fonts;
        for (const wchar_t* name : kFonts)
            fonts.push_back({32853, name});
        HMENU hFonts = MakeMenu(fonts);
        m_text.ReplaceButton(32853, CQMXPToolbarMenuButton(32853, hFonts, -1, L"Font"));
        ::DestroyMenu(hFonts);
        m_text.AdjustLayout();
    }
    CQMXPToolBar m_text;
};

TEST_F(ProgramMenusTest, TheToolBarsContextMenuIsALibraryPopup) {
    CRect rectBar;
    m_text.GetWindowRect(&rectBar);
    const CPoint point = rectBar.CenterPoint();
    m_text.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_text.GetSafeHwnd()), MAKELPARAM(point.x, point.y));
    CQMXPPopupMenu* pPopup = CQMXPPopupMenu::GetActiveMenu();
    ASSERT_NE(pPopup, nullptr);
    EXPECT_EQ(MenuRect(pPopup).TopLeft(), point);
    EXPECT_EQ(ItemTexts(pPopup), (std::vector<std::wstring>{L"Main Toolbar", L"Edit Tree Toolbar", L"Format Text Toolbar",
                                                            L"-", L"&Customize..."}));
    Pump();
    CRect rectMenu = MenuRect(pPopup);
    EXPECT_TRUE(SaveScreen(CRect(rectBar.left, rectBar.top, rectMenu.right + 10, rectMenu.bottom + 10),
                               L"docking_toolbar_context_menu"));
    pPopup->SendMessage(WM_KEYDOWN, 'C');
    Pump();
    EXPECT_EQ(LoggedCommands(), (std::vector<UINT>{ID_MENUTEST_CUSTOMIZE}));
}

TEST_F(ProgramMenusTest, DockedAtTheLeftTheFontBoxesBecomeMenuButtons) {
    Log().clear();
    m_pFrame->DockControlBar(&m_text, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->RecalcLayout();
    EXPECT_TRUE(Logged(L"align:59954:4096"));
    SetFontMenuButtons();
    auto* pFont = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, m_text.GetButton(m_text.CommandToIndex(32853)));
    ASSERT_NE(pFont, nullptr);
    // The arrow at the button's foot drops the fonts.
    const CRect rect = pFont->GetRect();
    CPoint point(rect.CenterPoint().x, rect.bottom - 3);
    CPoint ptScreen = point;
    m_text.ClientToScreen(&ptScreen);
    {
        CCursorAt cursor(ptScreen);
        m_text.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    }
    CQMXPPopupMenu* pPopup = pFont->GetPopupMenu();
    ASSERT_NE(pPopup, nullptr);
    EXPECT_EQ(ItemTexts(pPopup), (std::vector<std::wstring>{kFonts[0], kFonts[1], kFonts[2]}));
    Pump();
    CRect rectBar;
    m_text.GetWindowRect(&rectBar);
    CRect rectMenu = MenuRect(pPopup);
    EXPECT_TRUE(SaveScreen(CRect(rectBar.left, rectBar.top, rectMenu.right + 10, std::max(rectMenu.bottom, rectBar.bottom)),
                               L"docking_text_toolbar_left_font_menu"));
    pPopup->SendMessage(WM_KEYDOWN, VK_DOWN);
    pPopup->SendMessage(WM_KEYDOWN, VK_RETURN);
    Pump();
    EXPECT_TRUE(Logged(L"command:32853"));

    m_pFrame->DockControlBar(&m_text, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    EXPECT_TRUE(Logged(L"align:59954:8192"));
    SetFontBoxes();
    EXPECT_NE(DYNAMIC_DOWNCAST(CQMXPToolbarComboBoxButton, m_text.GetButton(m_text.CommandToIndex(32853))), nullptr);
}

TEST_F(ProgramMenusTest, TheChevronListsTheButtonsThatDoNotFit) {
    m_text.EnableCustomizeButton(TRUE, ID_MENUTEST_CUSTOMIZE, L"&Customize...");
    m_pFrame->RecalcLayout();
    CCustomizeButton* pChevron = m_text.GetCustomizeButton();
    ASSERT_NE(pChevron, nullptr);
    auto openChevron = [&] {
        const CPoint point = pChevron->GetRect().CenterPoint();
        m_text.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        return pChevron->GetPopupMenu();
    };
    // All buttons fit: only the customise arrow, and only its item.
    EXPECT_TRUE(pChevron->m_bVisible);
    EXPECT_TRUE(pChevron->GetInvisibleButtons().IsEmpty());
    CQMXPPopupMenu* pPopup = openChevron();
    ASSERT_NE(pPopup, nullptr);
    EXPECT_EQ(ItemTexts(pPopup), (std::vector<std::wstring>{L"&Customize..."}));
    CloseAllPopups();

    // Too short: the buttons after the font box hide behind the chevron.
    const int iFont = m_text.CommandToIndex(32853);
    const CRect rectFont = m_text.GetButton(iFont)->GetRect();
    CRect rectBar;
    m_text.GetWindowRect(&rectBar);
    m_text.SetWindowPos(nullptr, 0, 0, rectFont.left + 20, rectBar.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(pChevron->GetInvisibleButtons().IsEmpty());
    EXPECT_FALSE(m_text.GetButton(iFont)->m_bVisible);
    pPopup = openChevron();
    ASSERT_NE(pPopup, nullptr);
    const std::vector<std::wstring> texts = ItemTexts(pPopup);
    ASSERT_GE(texts.size(), 3u);
    // The combo box under its tip; no separator at either end of the hidden buttons.
    EXPECT_EQ(texts.front(), L"Font Name");
    EXPECT_EQ(texts[texts.size() - 1], L"&Customize...");
    EXPECT_EQ(texts[texts.size() - 2], L"-");
    EXPECT_NE(texts[texts.size() - 3], L"-");
    Pump();
    CRect rectMenu = MenuRect(pPopup);
    m_text.GetWindowRect(&rectBar);
    EXPECT_TRUE(SaveScreen(CRect(rectBar.left, rectBar.top, std::max(rectMenu.right, rectBar.right) + 10,
                                     rectMenu.bottom + 10),
                               L"docking_toolbar_chevron"));
}

}  // namespace
