// Tests of the dialog bases: modal runs, context help and the mouse hooks.
#include "appwindows/KWDialog.h"
#include "appwindows/KWPropertyPage.h"
#include "appwindows/KWPropertySheet.h"
#include "framework/KWSystemInfo.h"

#include "tests/framework/KWDialogTestResources.h"
#include "tests/platform/classlib/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using classlib_test::DrainMessages;

// Records what the help and mouse hooks receive instead of opening the help file.
class CHelpDialog : public CKWDialog {
public:
    explicit CHelpDialog(bool hasHelp) : CKWDialog(IDD_KW_TEST_DIALOG), m_hasHelp(hasHelp) {}

    std::function<void(CHelpDialog&)> onInit;
    int topicQueries = 0;
    std::vector<std::wstring> shown;
    std::vector<std::string> mouse;
    bool handleMouse = true;
    bool timedOut = false;

    BOOL OnInitDialog() override
    {
        BOOL result = CKWDialog::OnInitDialog();
        SetTimer(99, 4000);
        if (onInit)
            onInit(*this);
        return result;
    }
    bool GetHelpTopic(KWHelpTopic& topic) override
    {
        ++topicQueries;
        if (!m_hasHelp)
            return CKWDialog::GetHelpTopic(topic);
        topic.topic = L"preferences.htm";
        topic.folder = L"::/Dialogs/";
        return true;
    }
    void ShowHelpTopic(const KWHelpTopic* topic) override
    {
        shown.push_back(std::wstring(topic->folder) + std::wstring(topic->topic));
    }
    bool OnRButtonUpHook(CPoint point) override { return Record("right up", point); }
    bool OnLButtonDownHook(CPoint point) override { return Record("left down", point); }
    bool OnLButtonDblClkHook(CPoint point) override { return Record("left double", point); }

protected:
    afx_msg void OnOther() { EndDialog(IDC_KW_TEST_OTHER); }
    afx_msg void OnTimer(UINT_PTR)
    {
        timedOut = true;
        EndDialog(-2);
    }
    DECLARE_MESSAGE_MAP()

private:
    bool Record(const char* what, CPoint point)
    {
        mouse.push_back(std::string(what) + " " + std::to_string(point.x) + "," + std::to_string(point.y));
        return handleMouse;
    }
    bool m_hasHelp;
};

BEGIN_MESSAGE_MAP(CHelpDialog, CKWDialog)
    ON_BN_CLICKED(IDC_KW_TEST_OTHER, OnOther)
    ON_WM_TIMER()
END_MESSAGE_MAP()

void PostClick(CWnd& dialog, int id)
{
    dialog.PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, id)));
}

LRESULT SendHelpKey(CWnd& dialog)
{
    HELPINFO info = {};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.hItemHandle = ::GetDlgItem(dialog.m_hWnd, IDC_KW_TEST_EDIT);
    return dialog.SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

class CHelpSheet : public CKWPropertySheet {
public:
    CHelpSheet() : CKWPropertySheet(L"Sheet") {}
    std::vector<std::wstring> shown;
    LRESULT registeredResult = 0;
    bool timedOut = false;

    BOOL OnInitDialog() override
    {
        BOOL result = CKWPropertySheet::OnInitDialog();
        SetTimer(99, 4000);
        registeredResult = SendMessage(g_msgShowContextHelp);
        SendMessage(WM_COMMAND, KWGetHelpCommandId(), 0);
        // Command 0 is no help request.
        SendMessage(WM_COMMAND, 0, 0);
        PostMessage(PSM_PRESSBUTTON, PSBTN_CANCEL);
        return result;
    }
    bool GetHelpTopic(KWHelpTopic& topic) override
    {
        topic.topic = L"sheet.htm";
        return true;
    }
    void ShowHelpTopic(const KWHelpTopic* topic) override { shown.push_back(std::wstring(topic->topic)); }

protected:
    afx_msg void OnTimer(UINT_PTR)
    {
        timedOut = true;
        EndDialog(-2);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHelpSheet, CKWPropertySheet)
    ON_WM_TIMER()
END_MESSAGE_MAP()

}  // namespace

TEST(CKWDialog, ModalDialogEndsWithTheButtonId)
{
    const int buttons[] = {IDOK, IDCANCEL, IDC_KW_TEST_OTHER};
    for (int id : buttons) {
        CHelpDialog dialog(true);
        dialog.onInit = [id](CHelpDialog& d) { PostClick(d, id); };
        EXPECT_EQ(id, dialog.DoModal()) << id;
        EXPECT_FALSE(dialog.timedOut);
        EXPECT_EQ(nullptr, dialog.m_hWnd);
    }
    DrainMessages();
}

TEST(CKWDialog, HelpRequestsReachTheTopicHook)
{
    CHelpDialog dialog(true);
    ASSERT_TRUE(dialog.Create(IDD_KW_TEST_DIALOG));
    dialog.KillTimer(99);
    EXPECT_NE(0, SendHelpKey(dialog)) << "F1 is handled";
    EXPECT_EQ(1, dialog.SendMessage(g_msgShowContextHelp));
    dialog.SendMessage(WM_COMMAND, KWGetHelpCommandId(), 0);
    dialog.SendMessage(WM_COMMAND, 0, 0);
    EXPECT_EQ(3, dialog.topicQueries) << "command 0 asks for no help";
    EXPECT_EQ((std::vector<std::wstring>(3, L"::/Dialogs/preferences.htm")), dialog.shown);

    EXPECT_EQ(::GetDlgItem(dialog.m_hWnd, IDC_KW_TEST_EDIT), dialog.GetItemWindow(IDC_KW_TEST_EDIT));
    EXPECT_EQ(nullptr, dialog.GetItemWindow(4321));
    dialog.DestroyWindow();

    CHelpDialog silent(false);
    ASSERT_TRUE(silent.Create(IDD_KW_TEST_DIALOG));
    silent.KillTimer(99);
    SendHelpKey(silent);
    EXPECT_EQ(1, silent.topicQueries);
    EXPECT_TRUE(silent.shown.empty()) << "a dialog without a topic ignores F1";
    silent.DestroyWindow();
    DrainMessages();
}

TEST(CKWDialog, MouseHooksSeeTheClickPoint)
{
    CHelpDialog dialog(false);
    ASSERT_TRUE(dialog.Create(IDD_KW_TEST_DIALOG));
    dialog.KillTimer(99);
    dialog.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(12, 34));
    dialog.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    dialog.handleMouse = false;
    dialog.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(7, 8));
    EXPECT_EQ((std::vector<std::string>{"right up 12,34", "left down 5,6", "left double 7,8"}), dialog.mouse);
    dialog.DestroyWindow();
    DrainMessages();
}

TEST(CKWPropertySheet, TheHelpCommandAndTheRegisteredMessageShowHelp)
{
    CKWPropertyPage page(IDD_KW_TEST_PAGE);
    EXPECT_EQ(48u, page.m_psp.dwSize);
    EXPECT_TRUE(page.HasHelp());
    CHelpSheet sheet;
    sheet.AddPage(&page);
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_FALSE(sheet.timedOut);
    EXPECT_EQ(1, sheet.registeredResult);
    EXPECT_EQ((std::vector<std::wstring>(2, L"sheet.htm")), sheet.shown);
    DrainMessages();
}

TEST(KWShowHelp, HelpPathsFromTopicPrefixAndName)
{
    EXPECT_STREQ(L"OstraTallier Help", KWGetHelpFileName());
    const CString folder = GetModuleDirectory();
    struct Case {
        const wchar_t* topic;
        const wchar_t* prefix;
        const wchar_t* name;
        KWHelpAction action;
        CString path;
    };
    const Case cases[] = {
        {L"intro.htm", nullptr, nullptr, KWHelpAction::kViewer, folder + L"OstraTallier Help.chm::/HelpHtml/intro.htm"},
        {L"intro.htm", L"", nullptr, KWHelpAction::kViewer, folder + L"OstraTallier Help.chm::/HelpHtml/intro.htm"},
        {L"t.htm", L"::/Other/", L"Custom", KWHelpAction::kViewer, folder + L"Custom.chm::/Other/t.htm"},
        {L"", L"::/Other/", nullptr, KWHelpAction::kShell, folder + L"OstraTallier Help.chm"},
        {nullptr, nullptr, L"Custom", KWHelpAction::kShell, folder + L"Custom.chm"},
        {L"intro.htm", nullptr, L"", KWHelpAction::kNone, CString()},
    };
    for (const Case& c : cases) {
        CString path(L"stale");
        EXPECT_EQ(c.action, KWBuildHelpPath(c.topic, c.prefix, c.name, path)) << (c.topic ? c.topic : L"(null)");
        EXPECT_STREQ(c.path, path);
    }
    // With an empty name nothing is started at all.
    KWShowHelp(L"intro.htm", nullptr, L"");
}
