// The About box driven by messages, the folder chooser cancelled and the
// splash screen without its picture.
#include "KWAppTestSupport.h"

#include "appwindows/KWAboutDialog.h"
#include "appwindows/KWEggsHelper.h"
#include "appwindows/KWFolderChooseDlg.h"
#include "appwindows/KWSplashScreen.h"
#include "resources/FrameworkDialogs.h"

#include <gtest/gtest.h>

using namespace kwapp;

namespace {

struct Click {
    CWnd* host;
    int x, y;
    bool operator==(const Click& other) const { return host == other.host && x == other.x && y == other.y; }
};

class CRecordingHelper : public CKWEggsHelper {
public:
    explicit CRecordingHelper(std::vector<Click>& clicks, int& live) : m_clicks(clicks), m_live(live) { ++m_live; }
    ~CRecordingHelper() override { --m_live; }
    void OnClick(CWnd* host, int x, int y) override { m_clicks.push_back({host, x, y}); }

private:
    std::vector<Click>& m_clicks;
    int& m_live;
};

// The box as if it had been open for a while.
class CAgedAboutDialog : public CKWAboutDialog {
public:
    CAgedAboutDialog() : CKWAboutDialog(IDD_KW_ABOUT) {}
    void Age(DWORD ms) { m_startTick -= ms; }
};

// Presses the button of g_browserAnswer in the folder browser.
int g_browserAnswer = IDCANCEL;
void CALLBACK AnswerBrowser(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (HWND dialog = classlib_test::FindThreadDialog()) {
        ::PostMessageW(dialog, WM_COMMAND, g_browserAnswer, 0);
        ::KillTimer(nullptr, timer);
    }
}

}  // namespace

TEST(AboutBox, CreditsWaitThreeSecondsThenScrollOneStepPerTick)
{
    CAppTestApp app;
    g_KWAboutCreditsColor = 0x8CB085;
    g_KWAboutTextColor = 0xFFFFFF;
    CAgedAboutDialog box;
    box.m_firstLinkText = L"OstraTallier";
    box.m_firstLinkTarget = L"www.kestrelworks.example/ostratallier/";
    box.m_secondLinkText = L"Kestrel Works";
    ASSERT_TRUE(box.Create(IDD_KW_ABOUT));
    box.ShowWindow(SW_SHOW);
    kwwin::Pump();

    wchar_t version[64] = {};
    ::GetDlgItemTextW(box.m_hWnd, IDC_KW_ABOUT_VERSION, version, 64);
    EXPECT_STREQ(L"Version 2.1.3.4", version);

    box.SendMessage(WM_TIMER, 7);
    EXPECT_EQ(0, box.GetCredits().GetOffset());
    box.Age(3000);
    for (int step = 1; step <= 3; ++step) {
        box.SendMessage(WM_TIMER, CKWAboutDialog::kTimerId);
        EXPECT_EQ(-step, box.GetCredits().GetOffset());
    }
    for (int step = 0; step < 40; ++step)
        box.SendMessage(WM_TIMER, CKWAboutDialog::kTimerId);
    EXPECT_TRUE(kwwin::WriteScreenshot(box.m_hWnd, L"about_box"));

    std::vector<Click> clicks;
    int live = 0;
    EXPECT_FALSE(box.OnLButtonDownHook(CPoint(10, 20)));
    box.SetOwnedObject(new CRecordingHelper(clicks, live));
    box.SetOwnedObject(new CRecordingHelper(clicks, live));
    EXPECT_EQ(1, live) << "the replaced handler is deleted";
    box.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 20));
    EXPECT_EQ((std::vector<Click>{{&box, 10, 20}}), clicks);
    box.DestroyWindow();
}

TEST(AboutBox, TheFolderChooserOpensAtItsPathAndKeepsItWhenCancelled)
{
    CKWFolderChooseDlg chooser(L"C:\\windows\\system32");
    for (int answer : {IDCANCEL, IDOK}) {
        g_browserAnswer = answer;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, AnswerBrowser);
        EXPECT_EQ(answer, chooser.DoModal());
        ::KillTimer(nullptr, timer);
        EXPECT_EQ(0, _wcsicmp(L"C:\\windows\\system32", chooser.GetPathRef())) << chooser.GetPathRef().GetString();
    }
}

TEST(AboutBox, ASplashWithoutItsPictureShowsNothing)
{
    EXPECT_EQ(nullptr, CKWSplashScreen::ShowSplashScreen(133, 4242));
    EXPECT_EQ(nullptr, CKWSplashScreen::GetShowing());
}
