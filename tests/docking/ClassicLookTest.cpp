// The classic visual manager: its drawing checked in pixels, the current
// manager's life, the standard commands, and a window drawn through every
// operation, written to build\screenshots\classic_look.png.
#include "CanvasTestSupport.h"
#include "DockingTestSupport.h"

#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/bars/QMXPCaptionButton.h"
#include "docking/bars/QMXPOutlookButton.h"
#include "docking/bars/QMXPStatusBar.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPShowAllButton.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPVisualManager.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

class CDerivedManager : public CQMXPVisualManager {
    DECLARE_DYNCREATE(CDerivedManager)
};
IMPLEMENT_DYNCREATE(CDerivedManager, CQMXPVisualManager)

// A font without smoothing, so that text pixels are of the text colour only.
struct CCrispFont {
    CCrispFont() {
        font.CreateFont(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"Tahoma");
    }
    CFont font;
};

TEST(ClassicLookTest, ProgressFillsItsShareAndShowsThePercentInBothColours) {
    CQMXPVisualManager manager(TRUE);
    const COLORREF clrBar = RGB(0, 0, 255);
    const COLORREF clrText = RGB(255, 255, 0);
    const COLORREF clrBack = RGB(255, 255, 255);
    CCanvas canvas(24, 20, clrBack);
    CCrispFont crisp;
    canvas.DC().SelectObject(&crisp.font);
    manager.OnDrawStatusBarProgress(&canvas.DC(), nullptr, CRect(0, 0, 24, 20), 0, 50, clrBar,
                                    static_cast<COLORREF>(-1), clrText, TRUE);
    EXPECT_EQ(canvas.Count(clrBack), 24 * 20);

    manager.OnDrawStatusBarProgress(&canvas.DC(), nullptr, CRect(0, 0, 24, 20), 200, 50, clrBar,
                                    static_cast<COLORREF>(-1), clrText, TRUE);
    const CRect rectFilled(0, 0, 6, 20);
    const CRect rectRest(6, 0, 24, 20);
    EXPECT_EQ(canvas.Count(clrBar, rectFilled) + canvas.Count(clrText, rectFilled), 6 * 20);
    EXPECT_GT(canvas.Count(clrText, rectFilled), 0);
    EXPECT_EQ(canvas.Count(clrBack, rectRest) + canvas.Count(globalData.clrBtnText, rectRest), 18 * 20);
    EXPECT_GT(canvas.Count(globalData.clrBtnText, rectRest), 0);
    EXPECT_EQ(canvas.At(5, 0), clrBar);
    EXPECT_EQ(canvas.At(6, 0), clrBack);
}

TEST(ClassicLookTest, GripperHasTwoRaisedLinesOrOneInTheAlternativeLook) {
    CQMXPVisualManager manager(TRUE);
    for (BOOL bLook2000 : {FALSE, TRUE}) {
        manager.bLook2000 = bLook2000;
        for (BOOL bHorz : {TRUE, FALSE}) {
            CCanvas canvas(20, 20, globalData.clrBtnFace);
            manager.OnDrawBarGripper(&canvas.DC(), CRect(0, 0, 20, 20), bHorz, nullptr);
            // Across the lines, each shows its shadow edge once.
            const CRect rectAcross = bHorz ? CRect(0, 10, 20, 11) : CRect(10, 0, 11, 20);
            EXPECT_EQ(canvas.Count(globalData.clrBtnShadow, rectAcross), bLook2000 ? 1 : 2)
                << "Look2000 " << bLook2000 << " horizontal " << bHorz;
        }
    }
}

TEST(ClassicLookTest, CaptionButtonFrames) {
    CQMXPVisualManager manager(TRUE);
    CQMXPCaptionButton button(HTCLOSE);
    const CRect rect = button.GetRect();
    ASSERT_EQ(rect, CRect(0, 0, 13, 13));
    const COLORREF clrBack = RGB(0, 128, 0);
    const CRect rectBorder(rect.left, rect.top, rect.right, rect.top + 1);
    struct Case {
        BOOL bDisabled;
        BOOL bLook2000;
        BOOL bHot;
        COLORREF clrGlyph;
        COLORREF clrTopBorder;
    };
    const Case cases[] = {
        {TRUE, FALSE, FALSE, globalData.clrBtnShadow, clrBack},  // grey glyph, no frame
        {FALSE, FALSE, FALSE, globalData.clrBtnText, globalData.clrBtnLight},
        {FALSE, TRUE, FALSE, globalData.clrBtnText, clrBack},
        {FALSE, TRUE, TRUE, globalData.clrBtnText, globalData.clrBtnHilite},
    };
    for (const Case& c : cases) {
        manager.bLook2000 = c.bLook2000;
        button.m_bFocused = c.bHot;
        CCanvas canvas(13, 13, clrBack);
        manager.OnDrawCaptionButton(&canvas.DC(), &button, FALSE, FALSE, FALSE, c.bDisabled);
        EXPECT_EQ(canvas.At(3, 3), c.clrGlyph) << c.bDisabled << c.bLook2000 << c.bHot;
        EXPECT_EQ(canvas.Count(c.clrTopBorder, rectBorder), rect.Width() - (c.clrTopBorder == clrBack ? 0 : 1))
            << c.bDisabled << c.bLook2000 << c.bHot;
    }
}

// A checked button is filled light, the show-all item only when hot, an
// outlook button never; an outlook button's pressed frame has the dark shadow.
TEST(ClassicLookTest, ButtonKindsFillAndFrameByTheirKind) {
    CQMXPVisualManager manager(TRUE);
    CQMXPToolbarButton plain(100, L"B", TRUE);
    CQMXPShowAllButton showAll;
    CQMXPOutlookButton outlook;
    const COLORREF clrBack = RGB(0, 128, 0);
    struct Case {
        CQMXPToolbarButton* pButton;
        UINT nStyle;
        int state;
        bool bFilled;
        COLORREF clrTopLeft;
    };
    const Case cases[] = {
        {&plain, TBBS_CHECKED, 1, true, globalData.clrBtnShadow},
        {&showAll, 0, 2, true, globalData.clrBtnHilite},
        {&showAll, 0, 0, false, clrBack},
        {&outlook, TBBS_CHECKED, 1, false, globalData.clrBtnDkShadow},
    };
    for (const Case& c : cases) {
        c.pButton->m_nStyle = c.nStyle;
        CCanvas canvas(16, 16, clrBack);
        manager.OnFillButtonInterior(&canvas.DC(), c.pButton, CRect(0, 0, 16, 16), c.state);
        EXPECT_EQ(canvas.At(8, 8) != clrBack, c.bFilled) << c.pButton->GetRuntimeClass()->m_lpszClassName;
        manager.OnDrawButtonBorder(&canvas.DC(), c.pButton, CRect(0, 0, 16, 16), c.state);
        EXPECT_EQ(canvas.At(0, 0), c.clrTopLeft) << c.pButton->GetRuntimeClass()->m_lpszClassName;
    }
}

TEST(ClassicLookTest, CurrentManagerLifecycle) {
    CQMXPVisualManager::SelectManagerClass(nullptr);
    CQMXPVisualManager* pBase = CQMXPVisualManager::GetInstance();
    EXPECT_EQ(pBase->GetRuntimeClass(), RUNTIME_CLASS(CQMXPVisualManager));
    {
        // Another manager never takes the place of the current one, and its
        // end leaves the current one in place.
        CQMXPVisualManager other;
        CQMXPVisualManager temporary(TRUE);
        EXPECT_EQ(CQMXPVisualManager::GetInstance(), pBase);
    }
    EXPECT_EQ(CQMXPVisualManager::GetInstance(), pBase);

    CQMXPVisualManager::SelectManagerClass(RUNTIME_CLASS(CQMXPToolBar));  // not a manager: ignored
    EXPECT_EQ(CQMXPVisualManager::GetInstance(), pBase);
    CQMXPVisualManager::SelectManagerClass(RUNTIME_CLASS(CDerivedManager));
    {
        CQMXPVisualManager temporary(TRUE);
        EXPECT_TRUE(CQMXPVisualManager::GetInstance()->IsKindOf(RUNTIME_CLASS(CDerivedManager)));
    }
    CQMXPVisualManager::SelectManagerClass(nullptr);
    EXPECT_EQ(CQMXPVisualManager::GetInstance()->GetRuntimeClass(), RUNTIME_CLASS(CQMXPVisualManager));
}

TEST(ClassicLookTest, StandardCommandsCannotBeCustomised) {
    const struct {
        UINT uiCmd;
        BOOL bStandard;
    } cases[] = {{57615, FALSE}, {57616, TRUE}, {57631, TRUE}, {57632, FALSE}, {57871, FALSE},
                 {57872, TRUE},  {57887, TRUE}, {57888, FALSE}, {61439, FALSE}, {61440, TRUE},
                 {61935, TRUE},  {61936, FALSE}, {65279, FALSE}, {65280, TRUE},  {0xFFFFFFFF, TRUE}};
    for (const auto& c : cases)
        EXPECT_EQ(IsStandardCommand(c.uiCmd), c.bStandard) << c.uiCmd;
}

// A window that draws one sample of every operation of the current manager.
class CGalleryWnd : public CWnd {
public:
    CQMXPBaseControlBar m_bar;
    CQMXPBaseControlBar m_fixedBar;
    static constexpr int kCell = 96;
    static constexpr int kColumns = 6;
    static constexpr int kGlyphsTop = 4 * 48 + 4;

    void Draw(CDC* pDC) {
        CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
        CRect rectClient;
        GetClientRect(&rectClient);
        pDC->FillSolidRect(&rectClient, RGB(255, 255, 255));
        pDC->SelectObject(&globalData.fontRegular);
        pDC->SetBkMode(TRANSPARENT);
        int nCell = 0;
        auto cell = [&](LPCWSTR lpszName) {
            const CRect rect(nCell % kColumns * kCell, nCell / kColumns * 48, 0, 0);
            ++nCell;
            CRect rectText(rect.left + 2, rect.top, rect.left + kCell, rect.top + 14);
            pDC->SetTextColor(RGB(0, 0, 0));
            pDC->DrawText(lpszName, -1, &rectText, DT_SINGLELINE | DT_NOPREFIX);
            return CRect(rect.left + 4, rect.top + 16, rect.left + kCell - 8, rect.top + 44);
        };
        CRect r = cell(L"bar background");
        pManager->OnFillBarBackground(pDC, &m_bar, r, CRect());
        r = cell(L"bar border");
        pManager->OnFillBarBackground(pDC, &m_fixedBar, r, CRect());
        pManager->OnDrawBarBorder(pDC, &m_fixedBar, r);
        r = cell(L"menu border");
        pManager->OnDrawMenuBorder(pDC, nullptr, r);
        for (BOOL bLook2000 : {FALSE, TRUE}) {
            r = cell(bLook2000 ? L"grippers 2000" : L"grippers");
            pManager->bLook2000 = bLook2000;
            pDC->FillSolidRect(&r, globalData.clrBtnFace);
            pManager->OnDrawBarGripper(pDC, CRect(r.left, r.top, r.left + 10, r.bottom), TRUE, &m_bar);
            pManager->OnDrawBarGripper(pDC, CRect(r.left + 16, r.top, r.right, r.top + 10), FALSE, &m_bar);
            pManager->bLook2000 = FALSE;
        }
        r = cell(L"separators");
        pDC->FillSolidRect(&r, globalData.clrBtnFace);
        pManager->OnDrawSeparator(pDC, &m_bar, CRect(r.left, r.top, r.left + 8, r.bottom), TRUE);
        pManager->OnDrawSeparator(pDC, &m_bar, CRect(r.left + 16, r.top, r.right, r.top + 8), FALSE);
        r = cell(L"bar captions");
        COLORREF clrCaption = pManager->OnFillBarCaption(pDC, &m_bar, TRUE, CRect(r.left, r.top, r.right, r.top + 13), CRect());
        pManager->OnFillBarCaption(pDC, &m_bar, FALSE, CRect(r.left, r.top + 15, r.right, r.bottom), CRect());
        pDC->SetTextColor(clrCaption);
        pDC->TextOut(r.left + 2, r.top, L"Gallery");
        r = cell(L"caption buttons");
        pDC->FillSolidRect(&r, globalData.clrBtnFace);
        const struct {
            UINT nHit;
            BOOL bPushed;
            BOOL bDisabled;
        } buttons[] = {{HTCLOSE, FALSE, FALSE}, {HTCLOSE, TRUE, FALSE}, {8, FALSE, FALSE}, {9, FALSE, FALSE},
                       {HTCLOSE, FALSE, TRUE}};
        for (int i = 0; i < 5; ++i) {
            CQMXPCaptionButton button(buttons[i].nHit);
            button.m_bPushed = button.m_bFocused = buttons[i].bPushed;
            button.Move(CPoint(r.left + i * 16, r.top));
            pManager->OnDrawCaptionButton(pDC, &button, TRUE, FALSE, FALSE, buttons[i].bDisabled);
        }
        r = cell(L"system buttons");
        const UINT commands[] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
        for (int i = 0; i < 3; ++i)
            pManager->OnDrawMenuSystemButton(pDC, CRect(r.left + i * 18, r.top, r.left + i * 18 + 16, r.top + 14),
                                             commands[i], i == 2 ? TBBS_PRESSED : 0, FALSE);
        r = cell(L"status panes");
        pDC->FillSolidRect(&r, globalData.clrBtnFace);
        pManager->OnDrawStatusBarPaneBorder(pDC, nullptr, CRect(r.left, r.top, r.left + 38, r.top + 18), 0, 0);
        pManager->OnDrawStatusBarPaneBorder(pDC, nullptr, CRect(r.left + 42, r.top, r.right, r.top + 18), 0,
                                            SBPS_POPOUT);
        r = cell(L"progress");
        pManager->OnDrawStatusBarProgress(pDC, nullptr, CRect(r.left, r.top, r.right, r.top + 12), 200, 130,
                                          RGB(0, 0, 160), RGB(120, 160, 255), static_cast<COLORREF>(-1), TRUE);
        pManager->OnDrawStatusBarProgress(pDC, nullptr, CRect(r.left, r.top + 14, r.right, r.bottom), 4, 1,
                                          RGB(0, 128, 0), static_cast<COLORREF>(-1), RGB(255, 255, 0), TRUE);
        r = cell(L"size box");
        pDC->FillSolidRect(&r, globalData.clrBtnFace);
        pManager->OnDrawStatusBarSizeBox(pDC, nullptr, r);
        r = cell(L"combo buttons");
        for (int i = 0; i < 4; ++i)
            pManager->OnDrawComboDropButton(pDC, CRect(r.left + i * 20, r.top, r.left + i * 20 + 16, r.top + 18),
                                            i == 3, i == 1, i == 2, nullptr);
        r = cell(L"combo, edit");
        pDC->FillSolidRect(&r, globalData.clrBtnFace);
        pManager->OnDrawComboBorder(pDC, CRect(r.left, r.top, r.left + 38, r.top + 20), FALSE, FALSE, TRUE, nullptr);
        pManager->OnDrawEditBorder(pDC, CRect(r.left + 42, r.top, r.right, r.top + 20), FALSE, TRUE, nullptr);
        r = cell(L"tear-off");
        pManager->OnDrawTearOffCaption(pDC, CRect(r.left, r.top, r.right, r.top + 8), TRUE);
        pManager->OnDrawTearOffCaption(pDC, CRect(r.left, r.top + 12, r.right, r.top + 20), FALSE);
        r = cell(L"buttons");
        pDC->FillSolidRect(&r, globalData.clrBtnFace);
        CQMXPToolbarButton button(100, L"B", TRUE);
        for (int state = 0; state < 3; ++state) {
            button.m_nStyle = state == 1 ? TBBS_CHECKED : 0;
            CRect rectButton(r.left + state * 26, r.top, r.left + state * 26 + 23, r.top + 22);
            pManager->OnFillButtonInterior(pDC, &button, rectButton, state);
            pManager->OnDrawButtonBorder(pDC, &button, rectButton, state);
            pDC->SetTextColor(pManager->GetToolbarButtonTextColor(&button, state));
            pDC->DrawText(L"B", -1, &rectButton, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        r = cell(L"menu items");
        pDC->FillSolidRect(&r, pManager->GetMenuItemBackgroundColor(nullptr));
        COLORREF clrText = globalData.clrTextHilite;
        pManager->OnHighlightMenuItem(pDC, nullptr, CRect(r.left, r.top, r.right, r.top + 12), clrText);
        pDC->FillSolidRect(r.left, r.top + 14, r.Width(), 14, globalData.clrBtnFace);
        pManager->OnHighlightRarelyUsedMenuItems(pDC, CRect(r.left, r.top + 14, r.right, r.bottom));
        r = cell(L"outlook pages");
        for (int i = 0; i < 3; ++i) {
            CRect rectPage(r.left + i * 28, r.top, r.left + i * 28 + 26, r.top + 20);
            pManager->OnFillOutlookPageButton(pDC, rectPage, i > 0, i > 1, clrText);
            pManager->OnDrawOutlookPageButtonBorder(pDC, rectPage, i > 0, i > 1);
        }
        r = cell(L"tabs area");
        pManager->OnEraseTabsArea(pDC, CRect(r.left, r.top, r.right, r.top + 10), nullptr);
        pManager->OnFillTab(pDC, CRect(r.left + 10, r.top + 14, r.right - 10, r.bottom), 0, nullptr);
        r = cell(L"command list");
        for (BOOL bSelected : {FALSE, TRUE}) {
            CRect rectItem(r.left, r.top + (bSelected ? 14 : 0), r.right, r.top + (bSelected ? 28 : 14));
            pDC->SetTextColor(pManager->OnFillCommandsListBackground(pDC, rectItem, bSelected));
            pDC->DrawText(L"Command", -1, &rectItem, DT_SINGLELINE | DT_VCENTER);
        }
        r = cell(L"mini frame");
        pManager->OnDrawMiniFrameBorder(pDC, nullptr, r, CRect(3, 3, 3, 3));
        r = cell(L"scrolling");
        pManager->OnFillScrollArea(pDC, r);
        for (BOOL bUp : {TRUE, FALSE}) {
            CRect rectButton(r.left + (bUp ? 0 : 22), r.top, r.left + (bUp ? 18 : 40), r.top + 18);
            pDC->FillSolidRect(&rectButton, globalData.clrBtnFace);
            pManager->OnDrawScrollButtonBorder(nullptr, pDC, rectButton, !bUp, FALSE);
            rectButton.DeflateRect(4, 5);
            pManager->OnDrawScrollArrow(nullptr, pDC, rectButton, bUp);
        }
        r = cell(L"group frames");
        pManager->OnDrawGroupFrame(pDC, r.left, r.top, r.left + 38, r.bottom - 2, TRUE, TRUE);
        pManager->OnDrawGroupFrame(pDC, r.left + 44, r.top, r.right, r.bottom - 2, FALSE, FALSE);
        // The menu glyphs in their four colour sets, below the cells.
        for (int nStyle = 0; nStyle < 4; ++nStyle) {
            CRect rectSet(0, kGlyphsTop + nStyle * 12, 25 * 12, kGlyphsTop + nStyle * 12 + 11);
            pDC->FillSolidRect(&rectSet, nStyle == CQMXPMenuGlyphs::ImageWhite ? RGB(64, 64, 96) : RGB(255, 255, 255));
            for (int nGlyph = 0; nGlyph < 25; ++nGlyph)
                CQMXPMenuGlyphs::Draw(pDC, nGlyph, CPoint(nGlyph * 12 + 1, rectSet.top + 1), nStyle);
        }
    }

protected:
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        Draw(&dc);
    }
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM) {
        CDC dc;
        dc.Attach(reinterpret_cast<HDC>(wParam));
        Draw(&dc);
        dc.Detach();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CGalleryWnd, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
END_MESSAGE_MAP()

TEST(ClassicLookTest, AWindowDrawnThroughEveryOperation) {
    const CWineFontsScope fonts;  // Marlett draws the size grip
    ASSERT_TRUE(fonts.IsReady());
    CQMXPVisualManager::SelectManagerClass(nullptr);
    const int cx = CGalleryWnd::kCell * CGalleryWnd::kColumns;
    const int cy = CGalleryWnd::kGlyphsTop + 4 * 12 + 4;
    CGalleryWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"Classic look", WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, nullptr, nullptr));
    ASSERT_TRUE(wnd.m_bar.CreateEx(0, nullptr, nullptr, WS_CHILD | CBRS_ALIGN_TOP, CRect(0, 0, 1, 1), &wnd, 1,
                                   QMXP_CBRS_FLOAT));
    ASSERT_TRUE(wnd.m_fixedBar.CreateEx(0, nullptr, nullptr, WS_CHILD | CBRS_ALIGN_TOP | CBRS_BORDER_ANY,
                                        CRect(0, 0, 1, 1), &wnd, 2, 0));
    wnd.UpdateWindow();
    CCanvas shot(cx, cy);
    ASSERT_TRUE(::PrintWindow(wnd.m_hWnd, shot.DC().m_hDC, 0));
    EXPECT_TRUE(shot.SavePng(L"classic_look"));

    CCanvas direct(cx, cy);
    wnd.Draw(&direct.DC());
    int nDiffering = 0;
    for (int y = 0; y < cy; y += 3)
        for (int x = 0; x < cx; x += 3)
            nDiffering += shot.At(x, y) != direct.At(x, y) ? 1 : 0;
    EXPECT_EQ(nDiffering, 0);
    // The etched top edge of a bar that cannot float.
    EXPECT_EQ(direct.At(CGalleryWnd::kCell + 20, 16), globalData.clrBtnShadow);
    EXPECT_EQ(direct.At(CGalleryWnd::kCell + 20, 17), globalData.clrBtnHilite);
    wnd.DestroyWindow();
}

}  // namespace
