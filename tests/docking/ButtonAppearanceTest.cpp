// The button appearance dialog answered by the test: refusals that keep it
// open, the shortcut kept after an edited label, the radios a menu button or
// a missing user strip disables, and the dialog a dropped button without a
// look opens; written to build\screenshots\button_appearance.png.
#include "CanvasTestSupport.h"
#include "DialogScriptSupport.h"
#include "DockingTestSupport.h"

#include "docking/frames/ButtonAppearanceDlg.h"
#include "docking/frames/ButtonsList.h"
#include "docking/frames/QMXPToolbarDropSource.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolBarImages.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/OleDataObject.h"
#include "platform/classlib/OleDataSource.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

// A strip of 16 by 15 images with the count of blank images; the index of
// the last one.
int AddUserImages(CQMXPToolBarImages& images, int nCount) {
    images.SetImageSize(CSize(16, 15));
    CBitmap strip;
    HDC hdcScreen = ::GetDC(nullptr);
    strip.Attach(::CreateCompatibleBitmap(hdcScreen, 16 * nCount, 15));
    ::ReleaseDC(nullptr, hdcScreen);
    return images.AddImage(static_cast<HBITMAP>(strip.m_hObject));
}

class ButtonAppearanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = MakeFrame(300, 200);
        ASSERT_NE(m_pFrame, nullptr);
        Log().clear();
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();
        Pump();
    }
    static void Click(CDialog& dlg, UINT nID) {
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(dlg.GetDlgItem(nID)->m_hWnd));
    }
    static void Choose(CDialog& dlg, UINT nID) {
        dlg.CheckRadioButton(IDC_QMXP_IMAGE_ONLY, IDC_QMXP_IMAGE_AND_TEXT, nID);
        Click(dlg, nID);
    }
    static bool Enabled(CDialog& dlg, UINT nID) { return dlg.GetDlgItem(nID)->IsWindowEnabled() != FALSE; }

    CDockTestApp m_app;
    CDockTestFrame* m_pFrame = nullptr;
    CDialogScript m_script;
};

TEST_F(ButtonAppearanceTest, RefusalsKeepItOpenAndTheShortcutFollowsTheEditedLabel) {
    CQMXPToolbarButton button(0, -1, L"Label\tCtrl+X");
    button.m_bText = TRUE;
    CButtonAppearanceDlg dlg(&button, nullptr, m_pFrame, 0, FALSE);
    const INT_PTR nResult = m_script.Run(
        dlg, {[&] {
                  CString strText;
                  dlg.GetDlgItemText(IDC_QMXP_BUTTON_TEXT, strText);
                  EXPECT_EQ(strText, CString(L"Label"));
                  // No user strip: neither the list nor its radio.
                  EXPECT_FALSE(Enabled(dlg, IDC_QMXP_USER_IMAGES));
                  EXPECT_FALSE(Enabled(dlg, IDC_QMXP_USER_IMAGE));
                  CRect rect;
                  dlg.GetWindowRect(&rect);
                  EXPECT_TRUE(SaveScreen(rect, L"button_appearance"));
                  // Image only without an image is refused.
                  dlg.m_bImage = TRUE;
                  dlg.m_bText = FALSE;
                  Click(dlg, IDOK);
              },
              [&] {
                  ASSERT_NE(dlg.GetSafeHwnd(), nullptr);
                  Choose(dlg, IDC_QMXP_TEXT_ONLY);
                  dlg.SetDlgItemText(IDC_QMXP_BUTTON_TEXT, L"");
                  Click(dlg, IDOK);
              },
              [&] {
                  ASSERT_NE(dlg.GetSafeHwnd(), nullptr);
                  dlg.SetDlgItemText(IDC_QMXP_BUTTON_TEXT, L"<edited>");
                  Click(dlg, IDOK);
              }});
    EXPECT_FALSE(m_script.TimedOut());
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(Log(), (std::vector<std::wstring>{L"msgbox:You should select an image!",
                                                L"msgbox:You should enter a text!"}));
    EXPECT_EQ(button.m_strText, CString(L"<edited>\tCtrl+X"));
    EXPECT_TRUE(button.m_bText);
    EXPECT_FALSE(button.m_bImage);
}

TEST_F(ButtonAppearanceTest, AMenuButtonIsNeverImageOnlyAndAUserStripIsListed) {
    CQMXPToolBarImages images;
    ASSERT_EQ(AddUserImages(images, 3), 2);
    CQMXPToolbarButton button(0, -1, L"Item");
    button.m_bUserButton = TRUE;
    button.m_iUserImage = 1;
    button.m_bImage = TRUE;
    CButtonAppearanceDlg dlg(&button, &images, m_pFrame, 0, TRUE);
    m_script.Run(dlg, {[&] {
                           EXPECT_FALSE(Enabled(dlg, IDC_QMXP_IMAGE_ONLY));
                           EXPECT_TRUE(Enabled(dlg, IDC_QMXP_TEXT_ONLY));
                           EXPECT_EQ(dlg.m_wndButtonList.GetCount(), 3);
                           ASSERT_NE(dlg.m_wndButtonList.GetSelectedButton(), nullptr);
                           EXPECT_EQ(dlg.m_wndButtonList.GetSelectedButton()->m_iUserImage, 1);
                           // Keys move the selection along the list.
                           dlg.m_wndButtonList.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
                           EXPECT_EQ(dlg.m_iImage, 2);
                           dlg.m_wndButtonList.SendMessage(WM_KEYDOWN, VK_HOME, 0);
                           EXPECT_EQ(dlg.m_iImage, 0);
                           dlg.EndDialog(IDCANCEL);
                       }});
    EXPECT_FALSE(m_script.TimedOut());
    EXPECT_EQ(button.m_iUserImage, 1);
}

// A button that draws its own image offers no image choice; one that always
// shows its text cannot become image only.
TEST_F(ButtonAppearanceTest, OwnImageAndAlwaysTextButtonsLimitTheChoices) {
    CQMXPToolBarImages images;
    ASSERT_EQ(AddUserImages(images, 2), 1);
    const struct {
        BOOL bOwnImage;
        BOOL bAlwaysText;
        bool bUserRadio;
        bool bImageOnly;
    } cases[] = {{FALSE, FALSE, true, true}, {TRUE, FALSE, false, true}, {FALSE, TRUE, true, false}};
    for (const auto& c : cases) {
        CQMXPToolbarButton button(0, -1, L"Item");
        button.m_bUserButton = TRUE;
        button.m_iUserImage = 1;
        button.m_bImage = TRUE;
        button.m_bText = FALSE;
        button.m_bOwnImage = c.bOwnImage;
        button.m_bAlwaysText = c.bAlwaysText;
        CButtonAppearanceDlg dlg(&button, &images, m_pFrame, 0, FALSE);
        m_script.Run(dlg, {[&] {
                               EXPECT_EQ(Enabled(dlg, IDC_QMXP_USER_IMAGE), c.bUserRadio) << c.bOwnImage;
                               EXPECT_EQ(Enabled(dlg, IDC_QMXP_USER_IMAGES), c.bUserRadio) << c.bOwnImage;
                               EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_QMXP_USER_IMAGE) == BST_CHECKED, c.bUserRadio);
                               EXPECT_EQ(Enabled(dlg, IDC_QMXP_IMAGE_ONLY), c.bImageOnly) << c.bAlwaysText;
                               // The text shows and is edited for a button that always shows it.
                               EXPECT_EQ(dlg.m_bText, c.bAlwaysText);
                               EXPECT_EQ(Enabled(dlg, IDC_QMXP_BUTTON_TEXT), c.bAlwaysText != FALSE);
                               Click(dlg, IDOK);
                           }});
        EXPECT_FALSE(m_script.TimedOut());
        // The dialog leaves the text flag of such a button alone.
        EXPECT_FALSE(button.m_bText);
    }
}

// A click on a button of the list drags it out when the list allows it: the
// drag carries the button in the tool-bar button format.
TEST_F(ButtonAppearanceTest, TheListDragsItsButtonOnlyWhenAllowed) {
    CQMXPToolBarImages images;
    images.SetImageSize(CSize(16, 15));
    CButtonsList list;
    ASSERT_TRUE(list.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 200, 100), m_pFrame, 16508));
    list.SetImages(&images);
    CQMXPToolbarButton button(30077, 0, L"Dragged");
    list.AddButton(&button);
    const CPoint ptButton = button.GetRect().CenterPoint();
    for (BOOL bEnabled : {FALSE, TRUE}) {
        list.EnableDragFromList(bEnabled);
        // The drag loop ends at once: the mouse button is up.
        g_QMXPToolbarDropSource.m_bDragStarted = FALSE;
        list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptButton.x, ptButton.y));
        EXPECT_EQ(list.GetSelectedButton(), &button);
        EXPECT_EQ(g_QMXPToolbarDropSource.m_bDragStarted, bEnabled);
    }
    list.DestroyWindow();
}

// A dropped button with neither image nor text asks the user for its look;
// cancelling drops it.
TEST_F(ButtonAppearanceTest, ADroppedButtonWithoutALookAsksForOne) {
    CQMXPToolBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 1));
    auto drop = [&bar](CQMXPToolbarButton& button) {
        auto* pSource = new COleDataSource;
        button.PutOnClipboard(pSource);
        COleDataObject data;
        data.Attach(pSource->GetDataObject(TRUE));
        CQMXPToolbarButton* pDropped = bar.CreateDroppedButton(&data);
        data.Release();
        pSource->InternalRelease();
        return pDropped;
    };
    CQMXPToolbarButton named(0, -1, L"Go\tF5");
    CQMXPToolbarButton* pNamed = drop(named);
    ASSERT_NE(pNamed, nullptr);
    EXPECT_EQ(CString(L"Go"), pNamed->m_strText);
    EXPECT_TRUE(pNamed->m_bText);
    EXPECT_FALSE(pNamed->m_bImage);
    delete pNamed;

    // The dialog the drop opens is answered: cancelled, then given a text.
    for (const wchar_t* lpszText : {static_cast<const wchar_t*>(nullptr), L"Typed"}) {
        CQMXPToolbarButton* pDropped = nullptr;
        {
            CAppearanceAnswer answer(lpszText);
            CQMXPToolbarButton blank(0, -1);
            pDropped = drop(blank);
        }
        if (lpszText == nullptr) {
            EXPECT_EQ(pDropped, nullptr);
        } else {
            ASSERT_NE(pDropped, nullptr);
            EXPECT_EQ(pDropped->m_strText, CString(lpszText));
            EXPECT_TRUE(pDropped->m_bText);
            delete pDropped;
        }
    }
    bar.DestroyWindow();
}

// A dialog whose new user image fails with an exception, as a failed
// allocation would.
class CThrowingNewImageDlg : public CButtonAppearanceDlg {
public:
    using CButtonAppearanceDlg::CButtonAppearanceDlg;

protected:
    void OnNewImage() override { AfxThrowResourceException(); }
};

// An exception during "New..." ends in the library's internal-error
// message; the dialog stays open with its images as they were.
TEST_F(ButtonAppearanceTest, AnExceptionDuringNewShowsTheInternalErrorAndTheDialogGoesOn) {
    CQMXPToolBarImages images;
    ASSERT_EQ(AddUserImages(images, 2), 1);
    CQMXPToolbarButton button(0, -1, L"Item");
    button.m_bUserButton = TRUE;
    button.m_iUserImage = 1;
    button.m_bImage = TRUE;
    CThrowingNewImageDlg dlg(&button, &images, m_pFrame, 0, FALSE);
    bool bOpenAfterNew = false;
    const INT_PTR nResult = m_script.Run(dlg, {[&] {
                                                   Click(dlg, IDC_QMXP_NEW_IMAGE);
                                                   bOpenAfterNew = ::IsWindow(dlg.m_hWnd) != FALSE;
                                                   EXPECT_EQ(dlg.m_wndButtonList.GetCount(), 2);
                                               },
                                               [&] { dlg.EndDialog(IDCANCEL); }});
    EXPECT_FALSE(m_script.TimedOut());
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_TRUE(bOpenAfterNew);
    EXPECT_EQ(images.GetCount(), 2);
    EXPECT_EQ(Log(), std::vector<std::wstring>{
                         L"msgbox:QMX Toolbar internal error. Please contact your application vendor."});
}

}  // namespace
