// The status bar stand-in: panes from indicator ids, the stretching message
// pane that takes the frame's prompts, pane texts and double clicks.
#include "DockingTestSupport.h"

#include "docking/bars/QMXPStatusBar.h"
#include "platform/classlib/StringResource.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        m_pFrame = MakeFrame(800, 300);  // wide enough for the message pane
        ASSERT_NE(m_pFrame, nullptr);
        ASSERT_TRUE(m_bar.Create(m_pFrame));
        const UINT ids[] = {0, ID_DOCKTEST_INDICATOR_A, ID_DOCKTEST_INDICATOR_B};
        ASSERT_TRUE(m_bar.SetIndicators(ids, 3));
        m_pFrame->RecalcLayout();
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();
        Pump();
    }
    int TextWidth(UINT nID) {
        CString text;
        AfxLoadStringResource(nID, text);
        HDC hdc = ::GetDC(nullptr);
        HGDIOBJ hOld = ::SelectObject(hdc, ::GetStockObject(DEFAULT_GUI_FONT));
        SIZE size = {};
        ::GetTextExtentPoint32W(hdc, text, text.GetLength(), &size);
        ::SelectObject(hdc, hOld);
        ::ReleaseDC(nullptr, hdc);
        return size.cx;
    }

    CDockTestApp m_app;
    CDockTestFrame* m_pFrame = nullptr;
    CQMXPStatusBar m_bar;
};

TEST_F(StatusBarTest, PanesComeFromTheIndicators) {
    EXPECT_EQ(m_bar.GetCount(), 3);
    EXPECT_EQ(m_bar.GetItemID(0), 0u);
    EXPECT_EQ(m_bar.GetItemID(1), static_cast<UINT>(ID_DOCKTEST_INDICATOR_A));
    EXPECT_EQ(m_bar.GetItemID(7), 0u);
    EXPECT_EQ(std::wstring(m_bar.GetPaneText(1)), L"CAPS");
    EXPECT_EQ(std::wstring(m_bar.GetPaneText(2)), L"NUMBER");
    EXPECT_EQ(std::wstring(m_bar.GetPaneText(9)), L"");
    UINT nID = 1;
    UINT nStyle = 0;
    int cx = 0;
    m_bar.GetPaneInfo(0, nID, nStyle, cx);
    EXPECT_EQ(nStyle, SBPS_STRETCH | SBPS_NOBORDERS);
    EXPECT_EQ(cx, ::GetSystemMetrics(SM_CXSCREEN) / 4);
    m_bar.GetPaneInfo(2, nID, nStyle, cx);
    EXPECT_EQ(cx, TextWidth(ID_DOCKTEST_INDICATOR_B));

    // A missing string fails the whole call, the other panes are made all the same.
    const UINT bad[] = {ID_DOCKTEST_INDICATOR_A, ID_DOCKTEST_NO_STRING};
    CQMXPStatusBar other;
    EXPECT_FALSE(other.SetIndicators(bad, 2));
    EXPECT_EQ(other.GetCount(), 2);
    EXPECT_EQ(std::wstring(other.GetPaneText(0)), L"CAPS");
}

TEST_F(StatusBarTest, TheMessagePaneStretchesOverTheFreeWidth) {
    CRect rectBar = RectInParent(m_bar.m_hWnd);
    EXPECT_EQ(rectBar.bottom, 300);
    EXPECT_EQ(rectBar.Width(), 800);
    EXPECT_EQ(rectBar.Height(), m_bar.CalcFixedLayout(TRUE, TRUE).cy);
    // The view ends where the bar begins.
    EXPECT_EQ(RectInParent(::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_PANE_FIRST)).bottom, rectBar.top);

    CRect rects[3];
    for (int i = 0; i < 3; ++i)
        m_bar.GetItemRect(i, &rects[i]);
    // The panes follow one another with a gap of 2; the fixed ones are their text and border wide.
    EXPECT_EQ(rects[0].left, 0);
    EXPECT_EQ(rects[1].left, rects[0].right + 2);
    EXPECT_EQ(rects[2].left, rects[1].right + 2);
    EXPECT_EQ(rects[1].Width(), TextWidth(ID_DOCKTEST_INDICATOR_A) + 4);
    EXPECT_EQ(rects[2].Width(), TextWidth(ID_DOCKTEST_INDICATOR_B) + 4);
    EXPECT_EQ(rects[2].right + 2, 800);
    CRect none;
    m_bar.GetItemRect(5, &none);
    EXPECT_TRUE(none.IsRectEmpty());

    // A new width for a pane moves the others.
    m_bar.SetPaneInfo(1, ID_DOCKTEST_INDICATOR_A, SBPS_NORMAL, 50);
    CRect rect1;
    m_bar.GetItemRect(1, &rect1);
    EXPECT_EQ(rect1.Width(), 54);
    CRect rect2;
    m_bar.GetItemRect(2, &rect2);
    EXPECT_EQ(rect2.right + 2, 800);
}

TEST_F(StatusBarTest, TheFramesPromptsReachTheMessagePane) {
    m_pFrame->SetMessageText(ID_DOCKTEST_HANDLED);
    EXPECT_EQ(std::wstring(m_bar.GetPaneText(0)), L"Handled command");
    m_pFrame->SetMessageText(L"Ready to go");
    EXPECT_EQ(std::wstring(m_bar.GetPaneText(0)), L"Ready to go");
    CString text;
    m_bar.GetWindowText(text);
    EXPECT_EQ(std::wstring(text), L"Ready to go");
    EXPECT_EQ(m_bar.GetWindowTextLength(), 11);

    EXPECT_TRUE(m_bar.SetPaneText(2, L"NUM"));
    EXPECT_EQ(std::wstring(m_bar.GetPaneText(2)), L"NUM");
    EXPECT_TRUE(m_bar.SetPaneText(2, L"NUM", FALSE));  // the same text changes nothing
    EXPECT_FALSE(m_bar.SetPaneText(3, L"out of range"));
}

TEST_F(StatusBarTest, DoubleClickPostsThePanesCommandWhenEnabled) {
    CRect rect2;
    m_bar.GetItemRect(2, &rect2);
    LPARAM at2 = MAKELPARAM(rect2.left + 3, rect2.top + 3);
    m_bar.SendMessage(WM_LBUTTONDBLCLK, 0, at2);
    Pump();
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0], L"frame:" + std::to_wstring(ID_DOCKTEST_INDICATOR_B));

    Log().clear();
    m_bar.SetPaneInfo(2, ID_DOCKTEST_INDICATOR_B, SBPS_DISABLED, 40);
    m_bar.GetItemRect(2, &rect2);
    m_bar.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(rect2.left + 3, rect2.top + 3));
    CRect rect0;
    m_bar.GetItemRect(0, &rect0);
    m_bar.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(rect0.left + 3, rect0.top + 3));  // the message pane: id 0
    Pump();
    EXPECT_TRUE(Log().empty());
}

}  // namespace
