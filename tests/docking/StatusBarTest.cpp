// The status bar at the bottom of a library frame: panes from indicator ids,
// the stretching message pane that takes the frame's prompts, the size grip,
// double clicks and the panes' tips.
#include "CanvasTestSupport.h"
#include "DockLayoutSupport.h"

#include "docking/bars/QMXPStatusBar.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/StringResource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace docking_test;

namespace {

class StatusBarTest : public DockLayoutTest {
protected:
    void SetUp() override {
        DockLayoutTest::SetUp();
        ASSERT_TRUE(AddStatusBar(m_bar));
        m_pFrame->RecalcLayout();
    }
    static int TextWidth(UINT nID) {
        CString text;
        AfxLoadStringResource(nID, text);
        HDC hdc = ::GetDC(nullptr);
        HGDIOBJ hOld = ::SelectObject(hdc, globalData.fontRegular.GetSafeHandle());
        SIZE size = {};
        ::GetTextExtentPoint32W(hdc, text, text.GetLength(), &size);
        ::SelectObject(hdc, hOld);
        ::ReleaseDC(nullptr, hdc);
        return size.cx;
    }
    CRect Pane(int nIndex) const {
        CRect rect;
        m_bar.GetItemRect(nIndex, &rect);
        return rect;
    }

    CQMXPStatusBar m_bar;
};

TEST_F(StatusBarTest, PanesComeFromTheIndicators) {
    ASSERT_EQ(m_bar.GetCount(), 3);
    EXPECT_EQ(std::wstring(m_bar.GetPaneText(1)), L"CAPS");
    EXPECT_EQ(m_bar.CommandToIndex(ID_DOCKTEST_INDICATOR_B), 2);
    EXPECT_EQ(m_bar.GetPanePtr(CQMXPStatusBar::kStretchPane), m_bar.GetPanePtr(0));
    EXPECT_EQ(m_bar.GetPanePtr(3), nullptr);
    UINT nID = 1;
    UINT nStyle = 0;
    int cx = 0;
    m_bar.GetPaneInfo(0, nID, nStyle, cx);
    EXPECT_EQ(nStyle, SBPS_STRETCH | SBPS_NOBORDERS);
    EXPECT_EQ(cx, ::GetSystemMetrics(SM_CXSCREEN) / 4);
    m_bar.GetPaneInfo(2, nID, nStyle, cx);
    EXPECT_EQ(cx, TextWidth(ID_DOCKTEST_INDICATOR_B));

    // A missing string fails the call; the other panes are made all the same.
    const UINT bad[] = {ID_DOCKTEST_INDICATOR_A, ID_DOCKTEST_NO_STRING};
    CQMXPStatusBar other;
    EXPECT_FALSE(other.SetIndicators(bad, 2));
    EXPECT_EQ(other.GetCount(), 2);
    EXPECT_EQ(std::wstring(other.GetPaneText(0)), L"CAPS");
}

TEST_F(StatusBarTest, TheMessagePaneStretchesAndTheGripEndsTheBar) {
    TEXTMETRICW tm = {};
    HDC hdc = ::GetDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hdc, globalData.fontRegular.GetSafeHandle());
    ::GetTextMetricsW(hdc, &tm);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(nullptr, hdc);
    const int cyBar = tm.tmHeight + 2 + 4;
    EXPECT_EQ(m_bar.CalcFixedLayout(FALSE, TRUE), CSize(32767, cyBar));
    EXPECT_EQ(InFrame(&m_bar), CRect(0, 600 - cyBar, 800, 600));
    EXPECT_EQ(Manager().GetClientAreaBounds(), CRect(0, 0, 800, 600 - cyBar));

    // Left border 4, gap 2, the fixed panes as wide as their texts and frame,
    // then the grip at the right end.
    const int cxGrip = std::min(::GetSystemMetrics(SM_CXVSCROLL) + 1, cyBar - 2);
    EXPECT_EQ(Pane(0).left, 4);
    EXPECT_EQ(Pane(1).left, Pane(0).right + 2);
    EXPECT_EQ(Pane(1).Width(), TextWidth(ID_DOCKTEST_INDICATOR_A) + 4);
    EXPECT_EQ(Pane(2).Width(), TextWidth(ID_DOCKTEST_INDICATOR_B) + 4);
    EXPECT_EQ(Pane(2).right, 800 - cxGrip);
    EXPECT_EQ(m_bar.GetSizeBoxRect().left, Pane(2).right);
    CRect rectBar = Screen(&m_bar);
    const LPARAM atGrip = MAKELPARAM(rectBar.right - 2, rectBar.bottom - 2);
    EXPECT_EQ(m_bar.SendMessage(WM_NCHITTEST, 0, atGrip), HTBOTTOMRIGHT);

    // A maximised frame has no grip: the panes run to the bar's end.
    m_pFrame->ShowWindow(SW_MAXIMIZE);
    Pump();
    EXPECT_TRUE(m_bar.IsSizeBoxHidden());
    EXPECT_TRUE(m_bar.GetSizeBoxRect().IsRectEmpty());
    CRect rectClient;
    m_bar.GetClientRect(&rectClient);
    EXPECT_EQ(Pane(2).right, rectClient.right);
    rectBar = Screen(&m_bar);
    EXPECT_NE(m_bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rectBar.right - 2, rectBar.bottom - 2)), HTBOTTOMRIGHT);
    m_pFrame->ShowWindow(SW_RESTORE);
    Pump();
    EXPECT_FALSE(m_bar.IsSizeBoxHidden());

    m_bar.SetPaneText(0, L"Ready");
    CCanvas canvas(800, cyBar);
    m_bar.RedrawWindow();
    HDC hdcBar = ::GetWindowDC(m_bar.m_hWnd);
    ::BitBlt(canvas.DC().m_hDC, 0, 0, 800, cyBar, hdcBar, 0, 0, SRCCOPY);
    ::ReleaseDC(m_bar.m_hWnd, hdcBar);
    EXPECT_TRUE(canvas.SavePng(L"docking_status_bar"));
}

TEST_F(StatusBarTest, TheFramesPromptsReachTheMessagePane) {
    m_pFrame->SetMessageText(ID_DOCKTEST_HANDLED);
    EXPECT_EQ(std::wstring(m_bar.GetPaneText(0)), L"Handled command");
    m_pFrame->SetMessageText(L"Ready to go");
    EXPECT_EQ(m_bar.GetWindowTextLength(), 11);
    const struct {
        WPARAM cchBuffer;
        LRESULT copied;
        const wchar_t* text;
    } cases[] = {{64, 11, L"Ready to go"}, {5, 4, L"Read"}, {1, 0, L""}};
    for (const auto& c : cases) {
        wchar_t buffer[64];
        std::fill(std::begin(buffer), std::end(buffer), L'#');
        EXPECT_EQ(m_bar.SendMessage(WM_GETTEXT, c.cchBuffer, reinterpret_cast<LPARAM>(buffer)), c.copied);
        EXPECT_EQ(std::wstring(buffer), c.text);
    }
    EXPECT_EQ(m_bar.SendMessage(WM_GETTEXT, 0, 0), 0);
    EXPECT_TRUE(m_bar.SetPaneText(2, L"NUM"));
    EXPECT_EQ(std::wstring(m_bar.GetPaneText(2)), L"NUM");
    EXPECT_FALSE(m_bar.SetPaneText(3, L"out of range"));
}

TEST_F(StatusBarTest, DoubleClicksPostThePanesCommandWhenSwitchedOn) {
    const LPARAM atPane2 = MAKELPARAM(Pane(2).left + 3, Pane(2).top + 3);
    m_bar.SendMessage(WM_LBUTTONDBLCLK, 0, atPane2);
    Pump();
    EXPECT_TRUE(Log().empty());
    m_bar.EnablePaneDoubleClick();
    m_bar.SendMessage(WM_LBUTTONDBLCLK, 0, atPane2);
    Pump();
    EXPECT_EQ(Log(), std::vector<std::wstring>{L"frame:" + std::to_wstring(ID_DOCKTEST_INDICATOR_B)});
}

TEST_F(StatusBarTest, APaneWithATipIsTheToolUnderThePointer) {
    EXPECT_FALSE(m_bar.SetTipText(3, L"None"));
    ASSERT_TRUE(m_bar.SetTipText(1, L"Caps Lock state"));
    const struct {
        int nPane;
        bool bTool;
    } cases[] = {{1, true}, {2, false}, {0, false}};
    for (const auto& c : cases) {
        TOOLINFOW ti{};
        ti.cbSize = sizeof(ti);
        const INT_PTR nHit = m_bar.OnToolHitTest(Pane(c.nPane).CenterPoint(), &ti);
        if (!c.bTool) {
            EXPECT_EQ(nHit, -1) << c.nPane;
            EXPECT_EQ(ti.lpszText, nullptr);
            continue;
        }
        EXPECT_EQ(nHit, static_cast<INT_PTR>(m_bar.GetItemID(c.nPane)));
        EXPECT_EQ(CRect(ti.rect), Pane(c.nPane));
        ASSERT_NE(ti.lpszText, nullptr);
        EXPECT_EQ(std::wstring(ti.lpszText), L"Caps Lock state");
        std::free(ti.lpszText);
    }
    // The pointer on the pane gives the bar's tip window that text, in the status font.
    CToolTipCtrl& tip = m_bar.GetToolTip();
    ASSERT_NE(tip.GetSafeHwnd(), nullptr);
    auto tipText = [&] {
        wchar_t szText[80] = {};
        TOOLINFOW ti{};
        ti.cbSize = sizeof(ti);
        ti.hwnd = m_bar.m_hWnd;
        ti.uId = 1;
        ti.lpszText = szText;
        tip.SendMessage(TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&ti));
        return std::wstring(szText);
    };
    for (const auto& c : cases) {
        const CPoint pt = Pane(c.nPane).CenterPoint();
        MSG msg{m_bar.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y), 0, {}};
        m_bar.PreTranslateMessage(&msg);
        EXPECT_EQ(tipText(), c.bTool ? L"Caps Lock state" : L"") << c.nPane;
    }
    // (The tip window keeps a copy of the font it is given.)
    LOGFONTW lfTip{};
    LOGFONTW lfStatus{};
    ::GetObjectW(reinterpret_cast<HFONT>(tip.SendMessage(WM_GETFONT)), sizeof(lfTip), &lfTip);
    ::GetObjectW(globalData.fontStatus.GetSafeHandle(), sizeof(lfStatus), &lfStatus);
    EXPECT_EQ(lfTip.lfHeight, lfStatus.lfHeight);
    EXPECT_EQ(std::wstring(lfTip.lfFaceName), std::wstring(lfStatus.lfFaceName));
    // An empty tip takes the pane's away.
    ASSERT_TRUE(m_bar.SetTipText(1, L""));
    EXPECT_EQ(m_bar.OnToolHitTest(Pane(1).CenterPoint(), nullptr), -1);
}

}  // namespace
