// The server's in-place frames as library frames: a bar inside one lays
// the frame out through it, the menu bar registers with it, and the popup
// menus that open and close are told to it as to the MDI and SDI frames.
#include "MenuTestSupport.h"

#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPOleFrames.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPMenuSound.h"
#include "docking/toolbars/QMXPPopupMenu.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

// An in-place frame of either kind that logs its layouts and the popup
// menus it is told of; it refuses popups while asked to.
template <class TFrame>
class CLoggingInPlaceFrame : public TFrame {
public:
    void AdjustDockingLayout(HDWP hdwp = nullptr) override {
        Record(L"layout");
        TFrame::AdjustDockingLayout(hdwp);
    }
    BOOL OnShowPopupMenu(CQMXPPopupMenu* pPopup) override {
        Record(pPopup != nullptr ? L"show" : L"show none");
        return m_bAccept;
    }
    void OnClosePopupMenu(CQMXPPopupMenu* pPopup) override {
        Record(L"close");
        TFrame::OnClosePopupMenu(pPopup);
    }
    BOOL m_bAccept = TRUE;
};

template <class TFrame>
void CheckInPlaceFrame() {
    CDockTestApp app;
    const BOOL bSavedSounds = qmxMenuSoundsEnabled;
    qmxMenuSoundsEnabled = FALSE;
    const int nSavedAnimation = CQMXPPopupMenu::animationType;
    CQMXPPopupMenu::animationType = 0;
    auto* pFrame = new CLoggingInPlaceFrame<TFrame>;
    ASSERT_TRUE(pFrame->Create(nullptr, L"In place", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
    pFrame->ShowWindow(SW_SHOWNOACTIVATE);

    // A bar of the frame asks the frame (not the container) for the layout.
    CQMXPBaseControlBar bar;
    ASSERT_TRUE(bar.CreateEx(0, nullptr, L"Bar", WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect(0, 0, 100, 20), pFrame,
                             0xE830));
    ASSERT_EQ(bar.GetDockSiteFrameWnd(), pFrame);
    Log().clear();
    bar.AdjustDockingLayout();
    EXPECT_EQ(Log(), std::vector<std::wstring>{L"layout"});

    // The menu bar takes the frame's menu as it does an MDI or SDI frame's.
    CQMXPMenuBar menuBar;
    ASSERT_TRUE(menuBar.Create(pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_MENUBAR));
    EXPECT_EQ(pFrame->GetFrameImpl().m_pMenuBar, &menuBar);

    // A popup that opens is told to the frame, and its end too (the popup
    // owns its menu).
    Log().clear();
    auto* pPopup = new CQMXPPopupMenu;
    ASSERT_TRUE(pPopup->Create(pFrame, 100, 100, MakeMenu({{30001, L"&Open"}})));
    EXPECT_EQ(Log(), std::vector<std::wstring>{L"show"});
    EXPECT_EQ(CQMXPPopupMenu::GetActiveMenu(), pPopup);
    Log().clear();
    pPopup->SendMessage(WM_CLOSE);
    EXPECT_EQ(Log(), std::vector<std::wstring>{L"close"});
    EXPECT_EQ(CQMXPPopupMenu::GetActiveMenu(), nullptr);

    // A popup the frame refuses closes itself.
    pFrame->m_bAccept = FALSE;
    pPopup = new CQMXPPopupMenu;
    const BOOL bMade = pPopup->Create(pFrame, 100, 100, MakeMenu({{30001, L"&Open"}}));
    const HWND hWndRefused = bMade ? pPopup->GetSafeHwnd() : nullptr;
    Pump();
    EXPECT_FALSE(::IsWindow(hWndRefused));

    menuBar.DestroyWindow();
    bar.DestroyWindow();
    pFrame->DestroyWindow();
    Pump();
    CQMXPPopupMenu::animationType = nSavedAnimation;
    qmxMenuSoundsEnabled = bSavedSounds;
}

TEST(InPlaceFrameTest, TheServersFrameLaysOutItsBarsTakesTheMenuBarAndHearsOfPopups) {
    CheckInPlaceFrame<CQMXPOleIPFrameWnd>();
}

TEST(InPlaceFrameTest, TheDocumentServersFrameDoesAsWell) { CheckInPlaceFrame<CQMXPOleDocIPFrameWnd>(); }

}  // namespace
