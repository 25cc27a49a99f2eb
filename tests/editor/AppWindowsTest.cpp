// The application's windows in the test's own process: the main frame the
// application makes, its text tool bar following its docking side, the
// wheel over a panel, and the page templates shipped beside the program.
#include "TestApplication.h"

#include "controls/KWCommonComboBoxButton.h"
#include "controls/KWFontLists.h"
#include "controls/KWFontMenuButtons.h"
#include "controls/KWFontMenuChoice.h"
#include "controls/KWPanel.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "editor/TalApplication.h"
#include "editor/TalControlsWnd.h"
#include "editor/TalMainFrame.h"
#include "files/TalTemplateFolder.h"
#include "framework/KWSystemInfo.h"
#include "framework/KWFontFaceStorage.h"
#include "model/TalTemplate.h"
#include "model/TalTemplateManager.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/platform/classlib/TestSupport.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

CTestApplication& g_application = TestApplication();

// A panel that notes the scroll codes it is sent.
class CNotingPanel : public CKWPanel {
public:
    bool OnVScroll(int code, int position) override
    {
        codes.push_back(code);
        return CKWPanel::OnVScroll(code, position);
    }
    std::vector<int> codes;
};

class AppWindows : public testing::Test {
protected:
    void SetUp() override
    {
        frame = dynamic_cast<CTalMainFrame*>(g_application.CreateMainFrame());
        ASSERT_NE(nullptr, frame);
        g_application.m_pMainWnd = frame;
        frame->ShowWindow(SW_SHOW);
        classlib_test::DrainMessages();
    }
    void TearDown() override
    {
        if (frame)
            frame->DestroyWindow();
        g_application.m_pMainWnd = nullptr;
        classlib_test::DrainMessages();
    }

    CTalMainFrame* frame = nullptr;
};

CQMXPToolBar* TextToolBar()
{
    return g_application.GetToolBarManager()->FindToolBar(59954);
}

}  // namespace

TEST_F(AppWindows, TextToolBarTurnsItsFontBoxesIntoMenusAlongASideAndBackAlongTheTop)
{
    CQMXPToolBar* bar = TextToolBar();
    ASSERT_NE(nullptr, bar);
    auto notice = [&](DWORD alignment) {
        NMHDR header = {bar->m_hWnd, 59954, alignment};
        frame->SendMessage(WM_NOTIFY, QMXM_TOLBARCHANGEALIGN, reinterpret_cast<LPARAM>(&header));
    };
    // The fonts the menus offer.
    CKWFontFaceStorage fonts;
    fonts.AddFace(L"Arial", CKWFontFaceStorage::kTrueType, 0);
    fonts.AddFace(L"Courier", CKWFontFaceStorage::kDevice, 0);
    SetCurrentFontLists(nullptr, &fonts);
    UpdateFontLists(true);
    notice(0x1000);
    EXPECT_EQ(0, bar->CommandToIndex(32902));
    EXPECT_EQ(1, bar->CommandToIndex(32903));
    EXPECT_EQ(-1, bar->CommandToIndex(32853));
    auto* sizes = dynamic_cast<CQMXPToolbarFontSizeMenuButton*>(bar->GetButton(1));
    ASSERT_NE(nullptr, sizes);
    EXPECT_EQ(17u, sizes->GetMenuItems().size());
    EXPECT_EQ(L"72", sizes->GetMenuItems().back().text);
    auto* names = dynamic_cast<CQMXPToolbarFontNameMenuButton*>(bar->GetButton(0));
    ASSERT_NE(nullptr, names);
    ASSERT_EQ(2u, names->GetMenuItems().size());
    EXPECT_EQ(L"Courier", names->GetMenuItems().back().text);
    EXPECT_EQ(32902u, names->GetMenuItems().front().command);

    // The popups list them; a chosen entry is recorded before its command goes.
    const struct {
        CKWFontMenuButtonBase* button;
        int count;
        int chosen;
    } popups[] = {{names, 2, 1}, {sizes, 17, 5}};
    for (const auto& p : popups) {
        ASSERT_TRUE(p.button->OpenPopupMenu(bar));
        CQMXPPopupMenu* popup = p.button->GetPopupMenu();
        ASSERT_NE(nullptr, popup);
        CQMXPPopupMenuBar* items = popup->GetMenuBar();
        EXPECT_EQ(p.count, items->GetCount());
        classlib_test::DrainMessages();
        test_support::WriteWindowScreenshot(popup->m_hWnd, p.button == sizes ? L"editor_font_size_menu"
                                                                              : L"editor_font_name_menu");
        items->OnItemClicked(items->GetButton(p.chosen));
        classlib_test::DrainMessages();
    }
    EXPECT_EQ(CString(L"Courier"), GetChosenFontName());
    EXPECT_EQ(12, GetChosenFontSize());
    SetCurrentFontLists(nullptr, nullptr);
    GetFontCommboData().RemoveAll();
    // Floating (no side) leaves them as they are.
    notice(0);
    EXPECT_EQ(0, bar->CommandToIndex(32902));
    notice(0x2000);
    auto* nameBox = dynamic_cast<CKWFontNameComboBoxButton*>(bar->GetButton(0));
    auto* sizeBox = dynamic_cast<CKWFontSizeComboBoxButton*>(bar->GetButton(1));
    ASSERT_TRUE(nameBox && sizeBox);
    EXPECT_EQ(160, nameBox->GetWidth());
    EXPECT_EQ(60, sizeBox->GetWidth());
    test_support::WriteWindowScreenshot(frame->m_hWnd, L"editor_text_toolbar_back_on_top");
}

TEST_F(AppWindows, WheelPagesThePanelUnderThePointerByTheTurnsSign)
{
    CNotingPanel panel;
    ASSERT_TRUE(panel.CreateEx(WS_EX_TOPMOST, nullptr, L"", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 40, 40, 200, 200,
                               nullptr, nullptr));
    const struct {
        short delta;
        int page;
    } cases[] = {{60, SB_PAGEUP}, {120, SB_PAGEUP}, {-60, SB_PAGEDOWN}, {-240, SB_PAGEDOWN}};
    for (const auto& c : cases) {
        panel.codes.clear();
        frame->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, c.delta), MAKELPARAM(100, 100));
        EXPECT_EQ((std::vector<int>{c.page, SB_ENDSCROLL}), panel.codes) << c.delta;
    }
    panel.DestroyWindow();
}

// The image panel makes its controls once when it is made: a second round
// would build its facades anew and find its drop target already registered.
TEST_F(AppWindows, TheImagePanelMakesItsControlsOnce)
{
    class CCountingPanel : public CTalControlsWnd {
    public:
        void InitControls() override
        {
            ++rounds;
            CTalControlsWnd::InitControls();
        }
        int rounds = 0;
    };
    CCountingPanel panel;
    ASSERT_TRUE(panel.CreatePane(frame, CRect(0, 0, 400, 300), WS_CHILD | WS_VISIBLE, 0));
    EXPECT_EQ(1, panel.rounds);
    EXPECT_NE(nullptr, ::GetDlgItem(panel.m_hWnd, 1122)) << "its thumbnail list";
    panel.DestroyWindow();
}

TEST(AppTemplates, ShippedTitleTemplatesAreSortedByTitleAndABrokenOneIsSkippedAndListed)
{
    CKWTestTempFolder folder;
    const std::wstring data = folder.Path() + L"DATA\\";
    ::CreateDirectoryW(data.c_str(), nullptr);
    const char head[] = "<?xml version='1.0' encoding='utf-8' ?>\n";
    WriteFileBytes(data + L"B.ott", std::string(head) + "<TitleTemplate Title='B'>\n</TitleTemplate>\n");
    WriteFileBytes(data + L"A.ott", std::string(head) + "<TitleTemplate Title='A'>\n</TitleTemplate>\n");
    WriteFileBytes(data + L"Broken.ott", std::string(head) + "<TitleTemplate Title='C'>\n<Leaf>");
    WriteFileBytes(data + L"Other.ott", std::string(head) + "<LeafTemplate Title='D'>\n</LeafTemplate>\n");
    WriteFileBytes(data + L"Odd.otl", std::string(head) + "<LeafTemplate Title='E'>\n<LeafCell/></LeafTemplate>\n");
    const size_t before = g_TemplateManager.GetTitlePageTemplates().size();
    const std::vector<CString> problems = TalLoadTemplateFolder(data.c_str());
    // Sorted in among the ones the program already holds (those shipped beside it).
    std::vector<std::wstring> names;
    std::vector<std::wstring> titles;
    for (const CTalTemplate* loaded : g_TemplateManager.GetTitlePageTemplates()) {
        names.push_back(static_cast<const wchar_t*>(loaded->GetName()));
        titles.push_back(static_cast<const wchar_t*>(loaded->GetTitle()));
    }
    EXPECT_EQ(before + 2, names.size());
    EXPECT_TRUE(std::is_sorted(titles.begin(), titles.end()));
    const auto a = std::find(names.begin(), names.end(), L"A");
    const auto b = std::find(names.begin(), names.end(), L"B");
    ASSERT_TRUE(a != names.end() && b != names.end());
    EXPECT_LT(a - names.begin(), b - names.begin());
    // One list for all files: which were left out, and what each lacks.
    std::wstring all;
    for (const CString& line : problems)
        all += std::wstring(line.GetString()) + L"\n";
    for (const wchar_t* expected : {L"Broken.ott: The template is left out.\n", L"Broken.ott: Error [Line 3]: ",
                                    L"Other.ott: The template is left out.\n",
                                    L"Other.ott: Error: The file's root element is not TitleTemplate",
                                    L"Odd.otl: Warning [line 3]: Unknown tag LeafCell is ignored.\n"})
        EXPECT_NE(all.find(expected), std::wstring::npos) << expected << "\n"
                                                          << all;
    EXPECT_EQ(all.find(L"A.ott"), std::wstring::npos);
    EXPECT_NE(g_TemplateManager.FindPageTemplate(L"Odd"), nullptr) << "a warning leaves the template in";
}

// Last: the start sets the application's registry key.
TEST(AppStart, AFailedFrameworkStartEndsTheProgramBeforeAnyShellCommand)
{
    g_application.failFrame = true;
    EXPECT_FALSE(g_application.InitInstance());
    EXPECT_EQ(0, g_application.shellCommands);
    EXPECT_EQ(nullptr, g_application.m_pMainWnd);
    g_application.failFrame = false;
}

CTestApplication& TestApplication()
{
    static CTestApplication s_application;
    return s_application;
}
