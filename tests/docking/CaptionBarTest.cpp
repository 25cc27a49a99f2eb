// The caption bar across a frame: its height from the font, the button that
// takes clicks only when it has an id and is active, and the text cut where
// it would run under the button.
#include "CanvasTestSupport.h"
#include "DockingTestSupport.h"

#include "docking/bars/QMXPCaptionBar.h"

#include <gtest/gtest.h>

#include <memory>

using namespace docking_test;

namespace {

class CaptionBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = MakeFrame(400, 200);
        ASSERT_NE(m_pFrame, nullptr);
        ASSERT_TRUE(m_bar.Create(WS_CHILD | WS_VISIBLE, m_pFrame, 0xE810));
        // Tahoma asked for 8 pixels is 8 high (a text height of 10).
        m_hFont = ::CreateFontW(8, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
        ASSERT_EQ(TextHeight(m_hFont), 8);
        m_bar.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), 0);
        ::SetWindowPos(m_bar.m_hWnd, HWND_TOP, 0, 0, 400, 40, SWP_NOACTIVATE);
        Log().clear();
    }
    void TearDown() override {
        m_bar.DestroyWindow();
        if (m_pFrame != nullptr)
            m_pFrame->DestroyWindow();
        ::DeleteObject(m_hFont);
    }
    static int TextHeight(HFONT hFont) {
        HDC hdc = ::GetDC(nullptr);
        HGDIOBJ hOld = ::SelectObject(hdc, hFont);
        TEXTMETRICW tm = {};
        ::GetTextMetricsW(hdc, &tm);
        ::SelectObject(hdc, hOld);
        ::ReleaseDC(nullptr, hdc);
        return tm.tmHeight;
    }
    void Mouse(UINT message, CPoint pt, WPARAM keys = 0) {
        m_bar.SendMessage(message, keys, MAKELPARAM(pt.x, pt.y));
    }

    CDockTestFrame* m_pFrame = nullptr;
    CQMXPCaptionBar m_bar;
    HFONT m_hFont = nullptr;
};

TEST_F(CaptionBarTest, HeightComesFromTheFontUnlessFixed) {
    EXPECT_EQ(m_bar.CalcFixedLayout(FALSE, TRUE), CSize(32767, 4 + 8 + 10));
    m_bar.SetFixedHeight(30);
    EXPECT_EQ(m_bar.CalcFixedLayout(FALSE, TRUE).cy, 30);
}

TEST_F(CaptionBarTest, OnlyAnActiveButtonWithAnIdTakesClicks) {
    struct Case {
        UINT nID;
        BOOL bActive;
        bool bTakes;
    };
    const Case cases[] = {{0, TRUE, false}, {ID_DOCKTEST_HANDLED, FALSE, false}, {ID_DOCKTEST_HANDLED, TRUE, true}};
    int nPlainWidth = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nID);
        m_bar.SetButton(L"Options", c.nID, CQMXPCaptionBar::ALIGN_LEFT, c.bActive);
        const CRect rectButton = m_bar.GetButtonRect();
        if (!c.bTakes)
            nPlainWidth = rectButton.Width();
        const CPoint ptIn = rectButton.CenterPoint();
        Mouse(WM_MOUSEMOVE, ptIn);
        EXPECT_EQ(m_bar.IsButtonHot() != FALSE, c.bTakes);
        Mouse(WM_LBUTTONDOWN, ptIn, MK_LBUTTON);
        EXPECT_EQ(m_bar.IsButtonPressed() != FALSE, c.bTakes);
        EXPECT_EQ(Log(), c.bTakes ? std::vector<std::wstring>{L"frame:HANDLED"} : std::vector<std::wstring>{});
        if (c.bTakes) {
            // The triangle's room; screenshot while the button shows pressed.
            EXPECT_EQ(rectButton.Width(), nPlainWidth + 10);
            m_bar.SetText(L"Pictures of the report", CQMXPCaptionBar::ALIGN_RIGHT);
            // The frame's view would paint over the bar.
            ::ShowWindow(::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_PANE_FIRST), SW_HIDE);
            m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
            m_bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
            Pump();
            CRect rectBar;
            m_bar.GetWindowRect(&rectBar);
            EXPECT_TRUE(SaveScreen(rectBar, L"docking_caption_bar"));
        }
        Mouse(WM_LBUTTONUP, ptIn);
        EXPECT_FALSE(m_bar.IsButtonPressed());
        Mouse(WM_MOUSEMOVE, CPoint(390, 2));
        EXPECT_FALSE(m_bar.IsButtonHot());
        Log().clear();
    }
}

TEST_F(CaptionBarTest, RightAlignedTextKeepsItsRightEdgeNextToALeftButton) {
    m_bar.SetButton(L"A rather long button label", ID_DOCKTEST_HANDLED, CQMXPCaptionBar::ALIGN_LEFT, TRUE);
    m_bar.SetText(L"A long right-aligned caption that cannot fit beside the button, however the "
                  L"bar lays it out, so it is cut on its left", CQMXPCaptionBar::ALIGN_RIGHT);
    CRect rectClient;
    m_bar.GetClientRect(&rectClient);
    const CRect rectText = m_bar.GetTextRect();
    EXPECT_EQ(rectText.right, rectClient.right - 4);
    EXPECT_EQ(rectText.left, m_bar.GetButtonRect().right + 4);
}

}  // namespace
