// The program's three tool bars, built from its tool-bar resources in the
// docking test frame: their images, a hot button, a tool tip with its
// shortcut key and the font combo boxes; a picture of them for review.
#include "CanvasTestSupport.h"
#include "DockLayoutSupport.h"

#include "docking/frames/QMXPKeyHelper.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPToolbarComboBoxButton.h"
#include "platform/classlib/ComboBox.h"
#include "platform/classlib/StringResource.h"
#include "resources/Toolbars.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace docking_test;

namespace {

bool SaveScreen(const CRect& rect, const wchar_t* lpszName, CCanvas& canvas) {
    HDC hdcScreen = ::GetDC(nullptr);
    ::BitBlt(canvas.DC().m_hDC, 0, 0, rect.Width(), rect.Height(), hdcScreen, rect.left, rect.top, SRCCOPY);
    ::ReleaseDC(nullptr, hdcScreen);
    return canvas.SavePng(lpszName);
}

BOOL CALLBACK FindShownToolTip(HWND hwnd, LPARAM lParam) {
    wchar_t szClass[64] = {0};
    ::GetClassNameW(hwnd, szClass, 64);
    if (!::IsWindowVisible(hwnd) || std::wstring(szClass) != TOOLTIPS_CLASSW)
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hwnd;
    return FALSE;
}

// The visible tool tip window of the thread; none when no tip shows.
HWND ShownToolTip() {
    HWND hwndFound = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindShownToolTip, reinterpret_cast<LPARAM>(&hwndFound));
    return hwndFound;
}

class ProgramToolBarsTest : public DockLayoutTest {
protected:
    void SetUp() override {
        DockLayoutTest::SetUp();
        m_pFrame->m_hAccelTable = ::LoadAcceleratorsW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_DOCKTEST_ACCEL));
        for (int i = 0; i < 3; ++i) {
            CQMXPToolBar& bar = m_bars[i];
            ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, ID_TAL_MAIN_TOOLBAR_BAR + i));
            ASSERT_TRUE(bar.LoadToolBar(IDR_TAL_MAIN_TOOLBAR + i));
            CString strName;
            AfxLoadStringResource(IDS_TAL_MAIN_TOOLBAR + i, strName);
            bar.SetWindowText(strName);
            bar.EnableDocking(0xF000);
        }
        CQMXPToolbarComboBoxButton fontName(32853, -1, CBS_DROPDOWNLIST, 160);
        for (const wchar_t* name : {L"Arial", L"Courier New", L"Times New Roman"})
            fontName.AddItem(name);
        fontName.SelectItem(0, FALSE);
        CQMXPToolbarComboBoxButton fontSize(32842, -1, CBS_DROPDOWN, 60);
        for (const wchar_t* size : {L"8", L"10", L"12", L"14"})
            fontSize.AddItem(size);
        fontSize.SetText(L"12");
        EXPECT_EQ(m_bars[2].ReplaceButton(32853, fontName), 1);
        EXPECT_EQ(m_bars[2].ReplaceButton(32842, fontSize), 1);
        m_bars[2].AdjustLayout();
        m_pFrame->DockControlBar(&m_bars[0], AFX_IDW_DOCKBAR_TOP);
        m_pFrame->DockControlBar(&m_bars[2], AFX_IDW_DOCKBAR_TOP);
        DockBar(0x2000)->DockControlBarLeftOf(&m_bars[1], &m_bars[2]);
        m_pFrame->SetWindowText(L"Tool bars");
        m_pFrame->RecalcLayout();
        ::SetForegroundWindow(m_pFrame->m_hWnd);
        Pump();
    }

    CQMXPToolBar m_bars[3];
};

TEST_F(ProgramToolBarsTest, ImagesHotButtonsTipsAndFontBoxes) {
    // Each bar was built from its resource, told the frame, and docked along the top.
    for (int i = 0; i < 3; ++i) {
        const std::wstring reset = L"reset:" + std::to_wstring(IDR_TAL_MAIN_TOOLBAR + i);
        EXPECT_NE(std::find(Log().begin(), Log().end(), reset), Log().end()) << reset;
        EXPECT_EQ(m_bars[i].GetParentDockBar(), DockBar(0x2000));
    }
    EXPECT_NE(std::find(Log().begin(), Log().end(), L"align:59952:8192"), Log().end());
    EXPECT_EQ(m_bars[1].GetCount(), 12);

    // The hot button: the mouse over Save, its border raised.
    CQMXPToolBar& main = m_bars[0];
    const int iSave = main.CommandToIndex(57603);
    const CRect rectSave = main.GetButton(iSave)->GetRect();
    CPoint ptSave = rectSave.CenterPoint();
    CPoint ptScreen = ptSave;
    main.ClientToScreen(&ptScreen);
    CCursorAt cursor(ptScreen);
    main.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptSave.x, ptSave.y));
    EXPECT_TRUE(classlib_test::PumpUntil([&] { return main.GetHighlightedButton() == main.GetButton(iSave); }));
    CRect rectMainClient;
    main.GetClientRect(&rectMainClient);
    CCanvas hot(rectMainClient.Width(), rectMainClient.Height());
    main.DoPaint(&hot.DC());
    EXPECT_EQ(hot.At(rectSave.left, rectSave.top), globalData.clrBtnHilite);
    EXPECT_EQ(hot.At(rectSave.right - 1, rectSave.bottom - 1), globalData.clrBtnShadow);

    // Its tip names the command and the key the frame's table gives it.
    ACCEL accel = {FVIRTKEY | FCONTROL | FSHIFT, 'S', 57603};
    CString strKey;
    CQMXPKeyHelper(&accel).Format(strKey);
    TOOLINFOW ti{};
    EXPECT_EQ(main.OnToolHitTest(ptSave, &ti), 57603);
    ASSERT_NE(ti.lpszText, nullptr);
    EXPECT_EQ(CString(ti.lpszText), L"Save (" + strKey + L")");
    std::free(ti.lpszText);
    EXPECT_TRUE(classlib_test::PumpUntil([] { return ShownToolTip() != nullptr; }));

    // The font boxes: a choice in the list reaches the frame.
    CQMXPToolBar& format = m_bars[2];
    auto* pFontName = DYNAMIC_DOWNCAST(CQMXPToolbarComboBoxButton, format.GetButton(format.CommandToIndex(32853)));
    ASSERT_NE(pFontName, nullptr);
    EXPECT_EQ(pFontName->GetRect().Width(), 160);
    const CPoint ptCombo = pFontName->GetRect().CenterPoint();
    format.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptCombo.x, ptCombo.y));
    format.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptCombo.x, ptCombo.y));
    EXPECT_TRUE(pFontName->GetComboBox()->GetDroppedState()) << "a click opens the list";
    pFontName->GetComboBox()->ShowDropDown(FALSE);
    pFontName->GetComboBox()->SetCurSel(2);
    format.SendMessage(WM_COMMAND, MAKEWPARAM(32853, CBN_SELENDOK),
                       reinterpret_cast<LPARAM>(pFontName->GetComboBox()->GetSafeHwnd()));
    Pump();
    EXPECT_EQ(CString(L"Times New Roman"), pFontName->GetText());
    EXPECT_NE(std::find(Log().begin(), Log().end(), L"format:32853"), Log().end());

    // The images: the yellow folder, the red text colour.
    CRect rectFrame;
    m_pFrame->GetWindowRect(&rectFrame);
    CRect rectTip;
    if (ShownToolTip() != nullptr)
        ::GetWindowRect(ShownToolTip(), &rectTip);
    rectFrame.UnionRect(&rectFrame, &rectTip);
    CCanvas canvas(rectFrame.Width(), rectFrame.Height());
    EXPECT_TRUE(SaveScreen(rectFrame, L"docking_program_toolbars", canvas));
    const CRect rectMain = Screen(&main) - rectFrame.TopLeft();
    const CRect rectFormat = Screen(&format) - rectFrame.TopLeft();
    EXPECT_GT(canvas.Count(RGB(255, 255, 0), rectMain), 0);
    EXPECT_GT(canvas.Count(RGB(192, 0, 0), rectFormat), 0);
    const wchar_t* names[] = {L"docking_main_toolbar", L"docking_edit_tree_toolbar", L"docking_format_text_toolbar"};
    for (int i = 0; i < 3; ++i) {
        const CRect rectBar = Screen(&m_bars[i]);
        CCanvas barCanvas(rectBar.Width(), rectBar.Height());
        EXPECT_TRUE(SaveScreen(rectBar, names[i], barCanvas));
    }
}

}  // namespace
