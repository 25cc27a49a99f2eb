// Colour menu buttons and colour bars: the colour remembered per command, the
// colour bar under the button, the palette's grid and its other-colour cell,
// document colours of a docked or floating tear-off, a cancelled dialog, the
// cells fitted to controls of every size, and the drop-down of a colour
// button; the palette is written to
// build\screenshots\color_bar.png.
#include "CanvasTestSupport.h"
#include "DockLayoutSupport.h"
#include "DockingTestSupport.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/ColorButton.h"
#include "docking/frames/ColorPopup.h"
#include "docking/frames/QMXPColorButton.h"
#include "docking/frames/QMXPColorBar.h"
#include "docking/toolbars/QMXPColorMenuButton.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPVisualManagerXP.h"
#include "resources/Toolbars.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

constexpr UINT kColorCommand = 32846;

// A colour button that records the colours it is given and whether it was to notify.
class CRecordingColorButton : public CQMXPColorMenuButton {
public:
    CRecordingColorButton() : CQMXPColorMenuButton(kColorCommand, L"Color") {}
    void SetColor(COLORREF color, BOOL bNotify) override {
        calls.emplace_back(color, bNotify);
        CQMXPColorMenuButton::SetColor(color, bNotify);
    }
    std::vector<std::pair<COLORREF, BOOL>> calls;
};

class ColorBarTest : public DockLayoutTest {
protected:
    void SetUp() override {
        DockLayoutTest::SetUp();
        CQMXPVisualManager::SelectManagerClass(RUNTIME_CLASS(CQMXPVisualManagerXP));
    }
    void TearDown() override {
        DockLayoutTest::TearDown();
        CQMXPVisualManager::SelectManagerClass(nullptr);
    }
    // A tear-off bar of the command with 40 colours, document colours and an other button.
    static CQMXPColorBar* NewTearOff(UINT uiCommand) {
        std::vector<COLORREF> colors;
        for (int i = 0; i < 40; ++i)
            colors.push_back(RGB(i * 6, 255 - i * 6, 128));
        CQMXPColorBar popupBar(colors, colors[0], nullptr, L"More Color...", L"Document",
                               {RGB(1, 1, 1), RGB(2, 2, 2)}, 0, 0, 0, 0, uiCommand, nullptr);
        return new CQMXPColorBar(popupBar, uiCommand);
    }
};

TEST_F(ColorBarTest, ButtonsOfACommandShareItsColourAndShowItUnderTheImage) {
    CQMXPColorMenuButton::SetColorByCmd(kColorCommand + 1, RGB(10, 20, 30));
    const struct {
        UINT uiCmd;
        COLORREF color;
    } news[] = {{kColorCommand + 1, RGB(10, 20, 30)}, {kColorCommand + 2, CQMXPColorMenuButton::kAutomatic}};
    for (const auto& n : news) {
        CQMXPColorMenuButton button(n.uiCmd, L"");
        EXPECT_EQ(button.GetColor(), n.color);
        EXPECT_EQ(button.GetShownColor(), n.color == CQMXPColorMenuButton::kAutomatic ? button.colorAutomatic : n.color);
    }

    CQMXPToolBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 1));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TAL_MAIN_TOOLBAR));
    auto* pFirst = new CRecordingColorButton;
    auto* pSecond = new CRecordingColorButton;
    for (CQMXPColorMenuButton* pButton : {pFirst, pSecond}) {
        pButton->SetImage(0);
        pButton->m_bImage = TRUE;
        pButton->m_bText = FALSE;
    }
    bar.InsertButton(pFirst, 0);
    bar.InsertButton(pSecond, 1);
    bar.EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    CQMXPColorBar* pTearOff = NewTearOff(kColorCommand);
    ASSERT_TRUE(pTearOff->Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 2));
    m_pFrame->RecalcLayout();
    // While the bars are customised the palette refuses its window as it is
    // made: nothing opens, once, and the button names no palette.
    CQMXPToolBar::m_bCustomizeMode = TRUE;
    EXPECT_FALSE(pFirst->OpenPopupMenu(&bar));
    CQMXPToolBar::m_bCustomizeMode = FALSE;
    EXPECT_EQ(nullptr, pFirst->GetPopupMenu());

    pFirst->SetColor(RGB(200, 0, 0), TRUE);
    ASSERT_EQ(pSecond->calls.size(), 1u);
    EXPECT_EQ(pSecond->calls[0], std::make_pair(RGB(200, 0, 0), FALSE));
    EXPECT_EQ(pFirst->calls.size(), 1u);
    EXPECT_EQ(pTearOff->GetColor(), RGB(200, 0, 0));
    EXPECT_EQ(CQMXPColorMenuButton::GetColorByCmd(kColorCommand), RGB(200, 0, 0));

    // The bar under the image: the colour, or the shadow colour when disabled.
    const CRect rectButton = pSecond->GetRect();
    for (BOOL bDisabled : {FALSE, TRUE}) {
        pSecond->m_nStyle = bDisabled ? TBBS_DISABLED : 0;
        CRect rectClient;
        bar.GetClientRect(&rectClient);
        CCanvas canvas(rectClient.Width(), rectClient.Height());
        pSecond->OnDraw(&canvas.DC(), rectButton, &CQMXPToolBar::m_Images, TRUE);
        const CPoint pt = pSecond->GetColorBarRect(rectButton, TRUE).CenterPoint();
        if (!bDisabled)
            EXPECT_TRUE(canvas.SavePng(L"color_button"));
        ASSERT_TRUE(CRect(0, 0, rectClient.Width(), rectClient.Height()).PtInRect(pt)) << rectButton;
        EXPECT_EQ(canvas.At(pt.x, pt.y), bDisabled ? globalData.clrBtnShadow : RGB(200, 0, 0));
    }
    // On a popup menu the bar is 5 pixels high at the bottom of the image area.
    pSecond->m_bMenuMode = TRUE;
    const CRect rectItem(0, 0, 150, 24);
    const CRect rectBar = pSecond->GetColorBarRect(rectItem, TRUE);
    EXPECT_EQ(rectBar.Height(), 5);
    EXPECT_EQ(rectBar.bottom, rectItem.bottom - 1 - 2);
    EXPECT_EQ(rectBar.Width(), CQMXPToolBar::GetMenuImageSize().cx);
    pTearOff->DestroyWindow();
    delete pTearOff;
    bar.DestroyWindow();
}

TEST_F(ColorBarTest, PaletteGridOtherColourCellAndDocumentColours) {
    CQMXPColorBar* pBar = NewTearOff(kColorCommand + 3);
    EXPECT_EQ(pBar->GetColumnsAndRows(TRUE), CSize(7, 6));
    ASSERT_TRUE(pBar->Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 3));
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    auto cellOf = [&](auto test) -> CColorButton* {
        for (int i = 0; i < pBar->GetCount(); ++i) {
            auto* pCell = DYNAMIC_DOWNCAST(CColorButton, pBar->GetButton(i));
            if (pCell != nullptr && test(*pCell))
                return pCell;
        }
        return nullptr;
    };
    CColorButton* pOtherCell = cellOf([](const CColorButton& b) { return b.m_bIsOtherColor; });
    CColorButton* pDocCell = cellOf([](const CColorButton& b) { return b.m_bIsDocument && !b.m_bIsLabel; });
    ASSERT_NE(pOtherCell, nullptr);
    ASSERT_NE(pDocCell, nullptr);
    const struct {
        COLORREF color;
        bool bCellShown;
    } selections[] = {{RGB(1, 2, 3), true}, {pBar->m_colors[5], false}, {RGB(9, 9, 9), true}};
    for (const auto& s : selections) {
        pBar->SetColor(s.color);
        EXPECT_EQ(!pOtherCell->GetRect().IsRectEmpty(), s.bCellShown) << std::hex << s.color;
        if (s.bCellShown)
            EXPECT_EQ(pOtherCell->m_Color, s.color);
    }
    EXPECT_TRUE(pDocCell->GetRect().IsRectEmpty());
    // Floating, the frame grows to the document colours.
    ASSERT_TRUE(pBar->FloatControlBar(CRect(CPoint(300, 200), pBar->CalcFixedLayout(FALSE, TRUE)), QMXP_DM_RECT));
    EXPECT_FALSE(pDocCell->GetRect().IsRectEmpty());

    CRect rectClient;
    pBar->GetClientRect(&rectClient);
    EXPECT_GE(rectClient.Height(), pBar->CalcSize(FALSE).cy);
    CCanvas canvas(rectClient.Width(), rectClient.Height());
    pBar->DoPaint(&canvas.DC());
    EXPECT_TRUE(canvas.SavePng(L"color_bar"));
    EXPECT_EQ(CColorButton::ColorTipText(RGB(1, 0xAB, 0x20)), CString(L"Hex={01,AB,20}"));
    const CPoint ptCell = pBar->GetButton(3)->GetRect().CenterPoint();
    EXPECT_EQ(canvas.At(ptCell.x, ptCell.y), static_cast<CColorButton*>(pBar->GetButton(3))->m_Color);
    pBar->DestroyWindow();
    delete pBar;
}

// A bar whose colour dialog is always cancelled; the commands its owner got.
class CCancelledBar : public CQMXPColorBar {
public:
    using CQMXPColorBar::CQMXPColorBar;
    BOOL OpenColorDialog(COLORREF, COLORREF&) override {
        ++opened;
        return FALSE;
    }
    int opened = 0;
};

TEST_F(ColorBarTest, ACancelledDialogSendsNoCommandAndAChosenCellDoes) {
    CQMXPColorBar* pSource = NewTearOff(ID_DOCKTEST_INDICATOR_A);
    CCancelledBar bar(*pSource, ID_DOCKTEST_INDICATOR_A);
    delete pSource;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 4));
    bar.SetOwner(m_pFrame);
    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    CColorButton* pOther = nullptr;
    for (int i = 0; i < bar.GetCount(); ++i) {
        auto* pCell = DYNAMIC_DOWNCAST(CColorButton, bar.GetButton(i));
        if (pCell != nullptr && pCell->m_bIsOther)
            pOther = pCell;
    }
    ASSERT_NE(pOther, nullptr);
    Log().clear();
    bar.OnItemClicked(pOther);
    EXPECT_EQ(bar.opened, 1);
    EXPECT_TRUE(Log().empty());
    bar.OnItemClicked(bar.GetButton(2));
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(bar.GetColor(), static_cast<CColorButton*>(bar.GetButton(2))->m_Color);
    bar.DestroyWindow();
}

TEST_F(ColorBarTest, CellsFitControlsOfEverySize) {
    for (int nSize = 20; nSize <= 300; ++nSize) {
        CQMXPColorBar bar;
        const CRect rect(0, 0, nSize, nSize * 2 / 3 + 10);
        ASSERT_TRUE(bar.CreateControl(m_pFrame, rect, 1000)) << nSize;
        CRect rectClient;
        bar.GetClientRect(&rectClient);
        const CSize size = bar.CalcSize(FALSE);
        EXPECT_LE(size.cx, std::max<LONG>(rectClient.Width(), 2 * 4 + bar.GetColumnsAndRows(TRUE).cx)) << nSize;
        EXPECT_GE(bar.m_BoxSize.cx, 1) << nSize;
        EXPECT_EQ(bar.m_BoxSize.cx, bar.m_BoxSize.cy) << nSize;
        bar.DestroyWindow();
    }
}

// Holds a colour button and logs the commands it hears from it.
class CColorHost : public CWnd {
public:
    std::vector<WPARAM> commands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back(wParam);
        return CWnd::OnCommand(wParam, lParam);
    }
};

TEST_F(ColorBarTest, AColourButtonsDropDownClosesOnEscAndOutsideAndTakesAClickedCell) {
    CColorHost host;
    ASSERT_TRUE(host.CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), m_pFrame, 100));
    CQMXPColorButton button;
    ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 20, 80, 44), &host, 1234));
    const std::vector<COLORREF> palette = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(250, 250, 0)};
    button.SetPalette(palette, 2);
    button.SetColor(palette[0]);
    // A message as the message loop hands it on: first to the windows' filters.
    auto deliver = [](HWND hWnd, UINT message, WPARAM wParam, CPoint ptClient, CPoint ptScreen) {
        MSG msg{hWnd, message, wParam, MAKELPARAM(ptClient.x, ptClient.y), ::GetTickCount(), ptScreen};
        if (!AfxGetThread()->PreTranslateMessage(&msg))
            ::SendMessageW(hWnd, message, wParam, msg.lParam);
    };
    enum End { kEscape, kClickOutside, kRightClick, kCellClicked };
    for (End end : {kEscape, kClickOutside, kRightClick, kCellClicked}) {
        host.commands.clear();
        button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ASSERT_TRUE(button.IsDroppedDown()) << end;
        CColorPopup* pPopup = button.GetDropDown();
        ASSERT_NE(pPopup, nullptr);
        const HWND hwndPopup = pPopup->GetSafeHwnd();
        CQMXPColorBar& bar = pPopup->m_wndColorBar;
        // The bar holds the mouse, so that a click anywhere reaches it.
        EXPECT_EQ(CWnd::GetCapture(), &bar);
        CColorButton* pCell = nullptr;
        for (int i = 0; i < bar.GetCount() && pCell == nullptr; ++i) {
            auto* pColor = DYNAMIC_DOWNCAST(CColorButton, bar.GetButton(i));
            if (pColor != nullptr && pColor->m_Color == palette[2])
                pCell = pColor;
        }
        ASSERT_NE(pCell, nullptr);
        const CPoint ptCell = pCell->GetRect().CenterPoint();
        CPoint ptCellScreen = ptCell;
        bar.ClientToScreen(&ptCellScreen);
        CRect rectBar;
        bar.GetWindowRect(&rectBar);
        const CPoint ptOutside(rectBar.right + 40, rectBar.bottom + 40);
        CPoint ptOutsideClient = ptOutside;
        bar.ScreenToClient(&ptOutsideClient);
        switch (end) {
        case kEscape:
            deliver(button.m_hWnd, WM_KEYDOWN, VK_ESCAPE, CPoint(0, 0), CPoint(0, 0));
            break;
        case kClickOutside:
            deliver(bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, ptOutsideClient, ptOutside);
            break;
        case kRightClick:
            deliver(bar.m_hWnd, WM_RBUTTONDOWN, MK_RBUTTON, ptCell, ptCellScreen);
            break;
        case kCellClicked:
            // The pointer over the cell lights it; leaving the bar puts the light out.
            // (A window that has just appeared under the pointer lets its first move pass.)
            ::SetCursorPos(ptCellScreen.x, ptCellScreen.y);
            for (int i = 0; i < 2; ++i)
                deliver(bar.m_hWnd, WM_MOUSEMOVE, 0, ptCell, ptCellScreen);
            EXPECT_EQ(bar.GetHighlightedButton(), pCell);
            bar.SendMessage(WM_MOUSELEAVE);
            EXPECT_EQ(bar.GetHighlightedButton(), nullptr);
            deliver(bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, ptCell, ptCellScreen);
            deliver(bar.m_hWnd, WM_LBUTTONUP, 0, ptCell, ptCellScreen);
            break;
        }
        Pump();
        EXPECT_FALSE(::IsWindow(hwndPopup)) << end;
        EXPECT_FALSE(button.IsDroppedDown());
        EXPECT_EQ(button.GetDropDown(), nullptr);
        EXPECT_NE(CWnd::GetCapture(), &bar);
        EXPECT_EQ(CWnd::GetFocus(), &button);
        if (end == kCellClicked) {
            EXPECT_EQ(button.GetColor(), palette[2]);
            EXPECT_EQ(host.commands, (std::vector<WPARAM>{MAKEWPARAM(1234, BN_CLICKED)}));
        } else {
            EXPECT_EQ(button.GetColor(), palette[0]) << end;
            EXPECT_TRUE(host.commands.empty()) << end;
        }
    }
    button.DestroyWindow();
    host.DestroyWindow();
}

// A frame that answers the colour buttons' question for the document's colours.
class CDocumentColorsFrame : public CDockTestFrame {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != QMXTOOLBAR__GETDOCUMENTCOLORS)
            return CDockTestFrame::WindowProc(message, wParam, lParam);
        Record(L"colors:" + std::to_wstring(wParam));
        reinterpret_cast<CList<COLORREF, COLORREF>*>(lParam)->AddTail(RGB(7, 8, 9));
        return 0;
    }
};

// The document's colours come from the owner-frame override when it is set
// (an in-place frame stands for the window's own frame then).
TEST_F(ColorBarTest, TheOwnerFrameOverrideGivesTheDocumentColours) {
    auto* pOverride = new CDocumentColorsFrame;
    ASSERT_TRUE(pOverride->Create(nullptr, L"Override"));
    CQMXPToolBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 1));
    auto* pButton = new CQMXPColorMenuButton(kColorCommand, L"Color");
    pButton->bIsDocumentColors = TRUE;
    pButton->strDocumentColorsLabel = L"Document";
    bar.InsertButton(pButton, 0);
    for (CFrameWnd* pFrame : {static_cast<CFrameWnd*>(nullptr), static_cast<CFrameWnd*>(pOverride)}) {
        Log().clear();
        qmxTopLevelFrameOverride = pFrame;
        std::unique_ptr<CQMXPPopupMenu> pPopup(pButton->MakePopupMenu());
        qmxTopLevelFrameOverride = nullptr;
        auto* pColorPopup = dynamic_cast<CColorPopup*>(pPopup.get());
        ASSERT_NE(pColorPopup, nullptr);
        const std::vector<COLORREF> expected =
            pFrame != nullptr ? std::vector<COLORREF>{RGB(7, 8, 9)} : std::vector<COLORREF>{};
        EXPECT_EQ(pColorPopup->m_wndColorBar.m_lstDocColors, expected);
        EXPECT_EQ(Log(), pFrame != nullptr ? std::vector<std::wstring>{L"colors:" + std::to_wstring(kColorCommand)}
                                           : std::vector<std::wstring>{});
    }
    bar.DestroyWindow();
    pOverride->DestroyWindow();
}

}  // namespace
