// Tool bars in customise mode: presses that resize or drag, drops through
// each bar's drop target, how a drag ends for the dragged button, the
// button menu's states and commands, and leaving the mode.
#include "CanvasTestSupport.h"
#include "DialogScriptSupport.h"
#include "MenuTestSupport.h"

#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/frames/QMXPToolbarDropSource.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarComboBoxButton.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/OleDataSource.h"

#include <gtest/gtest.h>

#include <functional>

using namespace docking_test;

namespace {

// A bar whose OLE drag loop is played by the test: the drag hook gets the
// data and answers the effect the drag ended with.
class CDragBar : public CQMXPToolBar {
public:
    std::function<DROPEFFECT(COleDataObject&)> m_drag;
    int m_nDrags = 0;
    BOOL IsStretching() const { return m_bStretchButton; }

protected:
    DROPEFFECT DoButtonDrag(COleDataSource* pSource, const CRect&) override {
        ++m_nDrags;
        if (!m_drag)
            return DROPEFFECT_NONE;
        COleDataObject data;
        data.Attach(pSource->GetDataObject(TRUE));
        const DROPEFFECT effect = m_drag(data);
        data.Release();
        return effect;
    }
};

// Data holding one button in the tool-bar button format.
struct ButtonData {
    explicit ButtonData(CQMXPToolbarButton& button) {
        m_pSource = new COleDataSource;
        button.PutOnClipboard(m_pSource);
        m_data.Attach(m_pSource->GetDataObject(TRUE));
    }
    ~ButtonData() {
        m_data.Release();
        m_pSource->InternalRelease();
    }
    COleDataSource* m_pSource;
    COleDataObject m_data;
};

class CustomizeModeTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        for (CDragBar* pBar : {&m_barA, &m_barB}) {
            const UINT nID = pBar == &m_barA ? AFX_IDW_TOOLBAR + 1 : AFX_IDW_TOOLBAR + 2;
            ASSERT_TRUE(pBar->Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, nID));
            for (UINT uiCmd : {30001u, 30002u, 30003u})
                pBar->InsertButton(CQMXPToolbarButton(uiCmd, 0, nullptr, FALSE, TRUE));
            pBar->EnableDocking(0xF000);
            m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
        }
        m_pFrame->RecalcLayout();
        CQMXPToolBar::SwitchCustomizeMode(TRUE);
    }
    void TearDown() override {
        CQMXPToolBar::SwitchCustomizeMode(FALSE);
        m_barA.DestroyWindow();
        m_barB.DestroyWindow();
        MenuTest::TearDown();
    }
    static void Press(CWnd& bar, CPoint point, UINT nFlags = MK_LBUTTON) {
        bar.SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
    }
    static std::vector<UINT> Commands(const CQMXPToolBar& bar) {
        std::vector<UINT> ids;
        for (int i = 0; i < bar.GetCount(); ++i)
            ids.push_back(bar.GetItemID(i));
        return ids;
    }
    // The drag ends with the pointer on the screen point and the drop source's flags.
    static void EndDragAt(CWnd& wnd, CPoint ptClient, BOOL bEscape) {
        wnd.ClientToScreen(&ptClient);
        ::SetCursorPos(ptClient.x, ptClient.y);
        g_QMXPToolbarDropSource.m_bDragStarted = TRUE;
        g_QMXPToolbarDropSource.m_bEscapePressed = bEscape;
    }

    CDragBar m_barA;
    CDragBar m_barB;
};

TEST_F(CustomizeModeTest, APressAtAComboEdgeResizesANarrowResultIsNotApplied) {
    auto* pCombo = new CQMXPToolbarComboBoxButton(30010, -1, CBS_DROPDOWNLIST, 120);
    m_barA.InsertButton(pCombo, 0);
    m_barA.AdjustLayout();
    const CRect rect = pCombo->GetRect();
    const int y = rect.CenterPoint().y;
    // Six pixels from the right edge resize; seven drag.
    Press(m_barA, CPoint(rect.right - 6, y));
    EXPECT_TRUE(m_barA.IsStretching());
    EXPECT_EQ(m_barA.m_nDrags, 0);
    m_barA.SendMessage(WM_CANCELMODE);
    EXPECT_FALSE(m_barA.IsStretching());
    Press(m_barA, CPoint(rect.right - 7, y));
    EXPECT_FALSE(m_barA.IsStretching());
    EXPECT_EQ(m_barA.m_nDrags, 1);

    const struct {
        int releaseX;
        int width;
    } cases[] = {{rect.left + 4, rect.Width()}, {rect.right - 3, rect.Width()}, {rect.left + 60, 60}};
    for (const auto& c : cases) {
        const CRect now = pCombo->GetRect();
        Press(m_barA, CPoint(now.right - 2, y));
        ASSERT_TRUE(m_barA.IsStretching());
        m_barA.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.releaseX, y));
        m_barA.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.releaseX, y));
        EXPECT_FALSE(m_barA.IsStretching());
        EXPECT_EQ(pCombo->GetRect().Width(), c.width) << c.releaseX;
    }
}

TEST_F(CustomizeModeTest, ADraggedButtonMovesCopiesStaysOrIsRemoved) {
    const struct {
        DWORD keys;     // over the other bar; 0 when dropped off every bar
        BOOL overB;
        BOOL escape;
        std::vector<UINT> a;
        std::vector<UINT> b;
    } cases[] = {
        {0, TRUE, FALSE, {30002, 30003}, {30001, 30001, 30002, 30003}},
        {MK_CONTROL, TRUE, FALSE, {30001, 30002, 30003}, {30001, 30001, 30002, 30003}},
        {0, FALSE, FALSE, {30002, 30003}, {30001, 30002, 30003}},
        {0, FALSE, TRUE, {30001, 30002, 30003}, {30001, 30002, 30003}},
    };
    for (const auto& c : cases) {
        for (CDragBar* pBar : {&m_barA, &m_barB}) {
            pBar->RemoveAllButtons();
            for (UINT uiCmd : {30001u, 30002u, 30003u})
                pBar->InsertButton(CQMXPToolbarButton(uiCmd, 0, nullptr, FALSE, TRUE));
            pBar->AdjustLayout();
        }
        const CRect rectB0 = m_barB.GetButton(0)->GetRect();
        m_barA.m_drag = [&](COleDataObject& data) -> DROPEFFECT {
            if (!c.overB) {
                EXPECT_EQ(g_QMXPToolbarDropSource.GiveFeedback(DROPEFFECT_NONE), S_OK);
                if (g_QMXPToolbarDropSource.m_hcurDelete != nullptr)
                    EXPECT_EQ(::GetCursor(), g_QMXPToolbarDropSource.m_hcurDelete);
                EndDragAt(m_barB, CPoint(rectB0.left, rectB0.bottom + 200), c.escape);
                return DROPEFFECT_NONE;
            }
            CQMXPToolbarDropTarget& target = m_barB.GetDropTarget();
            const CPoint point(rectB0.left + 1, rectB0.CenterPoint().y);
            const DROPEFFECT effect = target.OnDragEnter(&m_barB, &data, c.keys, point);
            EXPECT_EQ(effect, c.keys ? DROPEFFECT_COPY : DROPEFFECT_MOVE);
            EXPECT_FALSE(g_QMXPToolbarDropSource.m_bDeleteOnDrop);
            EndDragAt(m_barB, point, FALSE);
            return target.OnDropEx(&m_barB, &data, effect, DROPEFFECT_COPY | DROPEFFECT_MOVE, point);
        };
        Press(m_barA, m_barA.GetButton(0)->GetRect().CenterPoint(), MK_LBUTTON | c.keys);
        EXPECT_EQ(Commands(m_barA), c.a) << c.keys << c.overB << c.escape;
        EXPECT_EQ(Commands(m_barB), c.b) << c.keys << c.overB << c.escape;
    }
}

TEST_F(CustomizeModeTest, DropsNeedTheModeAndTheButtonFormatAndGoBeforeTheChevron) {
    m_barB.EnableCustomizeButton(TRUE, 30099, L"Customize");
    m_barB.AdjustLayout();
    const int nCount = m_barB.GetCount();
    CQMXPToolbarButton button(30050, 0, L"New", FALSE, TRUE);
    ButtonData data(button);
    CQMXPToolbarDropTarget& target = m_barB.GetDropTarget();
    CRect rectClient;
    m_barB.GetClientRect(&rectClient);
    const CPoint ptEnd(rectClient.right - 2, m_barB.GetButton(0)->GetRect().CenterPoint().y);

    CQMXPToolBar::SwitchCustomizeMode(FALSE);
    EXPECT_EQ(target.OnDragEnter(&m_barB, &data.m_data, 0, ptEnd), DROPEFFECT_NONE);
    EXPECT_EQ(target.OnDropEx(&m_barB, &data.m_data, DROPEFFECT_MOVE, DROPEFFECT_MOVE, ptEnd), DROPEFFECT_NONE);
    CQMXPToolBar::SwitchCustomizeMode(TRUE);
    {
        auto* pText = new COleDataSource;
        pText->CacheGlobalData(CF_UNICODETEXT, ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 8));
        COleDataObject text;
        text.Attach(pText->GetDataObject(TRUE));
        EXPECT_EQ(target.OnDragEnter(&m_barB, &text, 0, ptEnd), DROPEFFECT_NONE);
        text.Release();
        pText->InternalRelease();
    }
    EXPECT_EQ(m_barB.GetCount(), nCount);

    EXPECT_EQ(target.OnDragEnter(&m_barB, &data.m_data, 0, ptEnd), DROPEFFECT_MOVE);
    CRect rectShot;
    m_pFrame->GetWindowRect(&rectShot);
    SaveScreen(rectShot, L"customize_drop_mark");
    EXPECT_EQ(target.OnDropEx(&m_barB, &data.m_data, DROPEFFECT_MOVE, DROPEFFECT_MOVE, ptEnd), DROPEFFECT_MOVE);
    ASSERT_EQ(m_barB.GetCount(), nCount + 1);
    EXPECT_EQ(m_barB.GetItemID(nCount - 1), 30050u);
    EXPECT_EQ(m_barB.GetButton(nCount), reinterpret_cast<CQMXPToolbarButton*>(m_barB.GetCustomizeButton()));
}

TEST_F(CustomizeModeTest, TheButtonMenuStatesAndTheTextCommand) {
    m_barA.InsertSeparator(2);
    m_barA.AdjustLayout();
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(QMXP_IDR_CUSTOMIZE_MENU));
    CMenu* pPopup = menu.GetSubMenu(0);
    ASSERT_NE(pPopup, nullptr);
    const struct {
        int index;
        UINT state;
    } cases[] = {{0, MF_GRAYED}, {1, 0}, {3, MF_CHECKED}};
    for (const auto& c : cases) {
        ASSERT_TRUE(m_barA.PrepareCustomizeMenu(m_barA.GetButton(c.index), pPopup));
        EXPECT_EQ(pPopup->GetMenuState(QMXP_ID_CUSTOMIZE_START_GROUP, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED),
                  c.state)
            << c.index;
        EXPECT_EQ(pPopup->GetMenuState(QMXP_ID_CUSTOMIZE_APPEARANCE, MF_BYCOMMAND) & MF_GRAYED, 0u);
    }
    // "Reset to Default" is greyed only for a button that says it cannot be reset.
    CQMXPToolbarButton* pFirst = m_barA.GetButton(0);
    for (BOOL bNoReset : {FALSE, TRUE}) {
        pFirst->m_bNoReset = bNoReset;
        ASSERT_TRUE(m_barA.PrepareCustomizeMenu(pFirst, pPopup));
        EXPECT_EQ(pPopup->GetMenuState(QMXP_ID_CUSTOMIZE_RESET, MF_BYCOMMAND) & MF_GRAYED,
                  bNoReset ? static_cast<UINT>(MF_GRAYED) : 0u);
    }
    pFirst->m_bNoReset = FALSE;
    // A command without a text keeps its image.
    m_barA.InsertButton(CQMXPToolbarButton(ID_DOCKTEST_NO_STRING, 0, nullptr, FALSE, TRUE), 0);
    m_barA.InsertButton(CQMXPToolbarButton(ID_DOCKTEST_HANDLED, 0, nullptr, FALSE, TRUE), 1);
    m_barA.AdjustLayout();
    Press(m_barA, m_barA.GetButton(0)->GetRect().CenterPoint());
    ASSERT_EQ(m_barA.GetSelectedIndex(), 0);
    m_barA.SendMessage(WM_COMMAND, QMXP_ID_CUSTOMIZE_TEXT);
    EXPECT_TRUE(m_barA.GetButton(0)->m_bImage);
    EXPECT_FALSE(m_barA.GetButton(0)->m_bText);
    // A command with one shows its text alone.
    Press(m_barA, m_barA.GetButton(1)->GetRect().CenterPoint());
    m_barA.SendMessage(WM_COMMAND, QMXP_ID_CUSTOMIZE_TEXT);
    EXPECT_FALSE(m_barA.GetButton(1)->m_bImage);
    EXPECT_TRUE(m_barA.GetButton(1)->m_bText);
    EXPECT_EQ(m_barA.GetButton(1)->m_strText, CString(L"Handled"));
    m_barA.SendMessage(WM_COMMAND, QMXP_ID_CUSTOMIZE_START_GROUP);
    EXPECT_EQ(m_barA.GetButton(1)->m_nStyle & TBBS_SEPARATOR, TBBS_SEPARATOR);
}

TEST_F(CustomizeModeTest, AppearanceCommandsAskTheUserWhereTheButtonNeedsIt) {
    const struct {
        UINT command;
        int image;               // of the selected button, which shows text only without one
        const wchar_t* answer;   // none: the dialog is cancelled
        int shown;               // appearance dialogs opened
        BOOL bImage, bText;      // the selected button afterwards
        const wchar_t* text;
        int added;               // buttons the command added
    } cases[] = {
        {QMXP_ID_CUSTOMIZE_APPEARANCE, 0, L"Typed", 1, FALSE, TRUE, L"Typed", 0},
        {QMXP_ID_CUSTOMIZE_APPEARANCE, 0, nullptr, 1, TRUE, FALSE, L"Handled", 0},
        {QMXP_ID_CUSTOMIZE_IMAGE, 0, nullptr, 0, TRUE, FALSE, L"", 0},
        {QMXP_ID_CUSTOMIZE_IMAGE, -1, nullptr, 1, FALSE, TRUE, L"Word", 0},
        {QMXP_ID_CUSTOMIZE_IMAGE_AND_TEXT, -1, nullptr, 1, FALSE, TRUE, L"Word", 0},
        {QMXP_ID_CUSTOMIZE_IMAGE_AND_TEXT, -1, L"Typed", 1, FALSE, TRUE, L"Typed", 0},
        {QMXP_ID_CUSTOMIZE_NEW_MENU, 0, nullptr, 1, TRUE, FALSE, L"", 0},
        {QMXP_ID_CUSTOMIZE_NEW_MENU, 0, L"Menu", 1, FALSE, TRUE, L"Menu", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.command << " " << c.image << " " << (c.answer ? c.answer : L"-"));
        m_barA.RemoveAllButtons();
        CQMXPToolbarButton button(ID_DOCKTEST_HANDLED, c.image, c.image < 0 ? L"Word" : nullptr, FALSE, TRUE);
        button.m_bImage = c.image >= 0;
        button.m_bText = c.image < 0;
        m_barA.InsertButton(button);
        m_barA.InsertButton(CQMXPToolbarButton(30002, 0, nullptr, FALSE, TRUE));
        m_barA.AdjustLayout();
        Press(m_barA, m_barA.GetButton(0)->GetRect().CenterPoint());
        ASSERT_EQ(m_barA.GetSelectedIndex(), 0);
        {
            CAppearanceAnswer answer(c.answer);
            m_barA.SendMessage(WM_COMMAND, c.command);
            EXPECT_EQ(CAppearanceAnswer::Shown(), c.shown);
        }
        ASSERT_EQ(m_barA.GetCount(), 2 + c.added);
        const CQMXPToolbarButton* pButton = m_barA.GetButton(m_barA.GetSelectedIndex());
        ASSERT_NE(pButton, nullptr);
        EXPECT_EQ(pButton->m_bImage, c.bImage);
        EXPECT_EQ(pButton->m_bText, c.bText);
        EXPECT_EQ(pButton->m_strText, CString(c.text));
        if (c.added != 0) {
            EXPECT_EQ(m_barA.GetSelectedIndex(), 0);
            EXPECT_TRUE(pButton->IsKindOf(RUNTIME_CLASS(CQMXPToolbarMenuButton)));
            CloseAllPopups();
            Pump();
        }
    }
}

TEST_F(CustomizeModeTest, LeavingTheModeClosesAnOpenMenuButtonPopup) {
    HMENU hMenu = MakeMenu({{30002, L"&More"}});
    auto* pButton = new CQMXPToolbarMenuButton(30001, hMenu, -1, L"Run");
    ::DestroyMenu(hMenu);
    m_barA.InsertButton(pButton);
    m_barA.AdjustLayout();
    ASSERT_TRUE(pButton->OpenPopupMenu(&m_barA));
    Pump();
    ASSERT_TRUE(pButton->IsDroppedDown());
    CQMXPToolBar::SwitchCustomizeMode(FALSE);
    Pump();
    EXPECT_FALSE(pButton->IsDroppedDown());
    EXPECT_FALSE(CQMXPToolBar::SwitchCustomizeMode(FALSE));
}

// Over the selected combo box, the cursor shows where a press would resize
// it: within 6 pixels of its right edge; not further in, not on a combo
// box of a bar that holds no selection.
TEST_F(CustomizeModeTest, TheSelectedCombosRightEdgeShowsTheResizeCursor) {
    auto* pCombo = new CQMXPToolbarComboBoxButton(30010, -1, CBS_DROPDOWNLIST, 120);
    m_barA.InsertButton(pCombo, 0);
    m_barA.AdjustLayout();
    m_barB.InsertButton(CQMXPToolbarComboBoxButton(30011, -1, CBS_DROPDOWNLIST, 120), 0);
    m_barB.AdjustLayout();
    const CRect rect = pCombo->GetRect();
    const int y = rect.CenterPoint().y;
    Press(m_barA, rect.CenterPoint());
    ASSERT_EQ(CQMXPToolBar::m_pSelToolbar, &m_barA);
    ASSERT_EQ(m_barA.GetSelectedIndex(), 0);
    ASSERT_NE(globalData.hcurStretchHorz, nullptr);
    HCURSOR hArrow = ::LoadCursorW(nullptr, IDC_ARROW);
    auto cursorAt = [hArrow](CQMXPToolBar& bar, CPoint point) {
        bar.ClientToScreen(&point);
        ::SetCursorPos(point.x, point.y);
        ::SetCursor(hArrow);
        bar.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(bar.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ::GetCursor();
    };
    const struct {
        int x;
        bool resize;
    } cases[] = {{rect.right - 1, true}, {rect.right - 6, true}, {rect.right - 7, false}, {rect.CenterPoint().x, false}};
    for (const auto& c : cases)
        EXPECT_EQ(cursorAt(m_barA, CPoint(c.x, y)) == globalData.hcurStretchHorz, c.resize) << c.x;
    const CRect rectB = m_barB.GetButton(0)->GetRect();
    EXPECT_NE(cursorAt(m_barB, CPoint(rectB.right - 2, rectB.CenterPoint().y)), globalData.hcurStretchHorz);
    // Outside customise mode the edge is only an edge.
    CQMXPToolBar::SwitchCustomizeMode(FALSE);
    EXPECT_NE(cursorAt(m_barA, CPoint(rect.right - 2, y)), globalData.hcurStretchHorz);
}

// With the customisation sheet open, a bar that goes out of sight while it
// holds the selection gives the selection up.
TEST_F(CustomizeModeTest, AHiddenSelectedBarIsNoLongerTheCustomiseBar) {
    auto* pSheet = new CQMXPToolbarCustomize(m_pFrame, TRUE, 0x1F);
    ASSERT_TRUE(pSheet->Create());
    Pump();
    Press(m_barB, m_barB.GetButton(1)->GetRect().CenterPoint());
    ASSERT_EQ(CQMXPToolBar::m_pSelToolbar, &m_barB);
    ASSERT_EQ(m_barB.GetSelectedIndex(), 1);
    m_barA.ShowWindow(SW_HIDE);
    EXPECT_EQ(CQMXPToolBar::m_pSelToolbar, &m_barB) << "another bar keeps it";
    m_barB.ShowWindow(SW_HIDE);
    EXPECT_EQ(CQMXPToolBar::m_pSelToolbar, nullptr);
    EXPECT_EQ(m_barB.GetSelectedIndex(), -1);
    m_barB.ShowWindow(SW_SHOW);
    EXPECT_EQ(m_barB.GetSelectedIndex(), -1);
    pSheet->DestroyWindow();
    Pump();
}

}  // namespace
