// Tests of the preferences dialog, driven by messages from a timer of its own.
#include "model/TalPrefDlg.h"
#include "model/TalPrefs.h"

#include "resources/PrefsDialog.h"
#include "tests/platform/classlib/TestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

class CTestPrefDlg : public CTalPrefDlg {
public:
    explicit CTestPrefDlg(CTalPrefs& prefs) : CTalPrefDlg(prefs, nullptr) {}

    // Run one per tick; a message box that is up is answered first.
    std::deque<std::function<void(CTestPrefDlg&)>> steps;
    std::vector<std::wstring> messages;
    std::vector<int32_t> resized;
    bool focusOnCacheAfterMessage = false;
    bool timedOut = false;

    void Check(int id, bool on) { ::CheckDlgButton(m_hWnd, id, on ? BST_CHECKED : BST_UNCHECKED); }
    bool Checked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }
    void SetText(int id, const wchar_t* text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    std::wstring Text(int id) const
    {
        wchar_t text[260] = {};
        ::GetDlgItemTextW(m_hWnd, id, text, 260);
        return text;
    }
    void Click(int id) { PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetItemWindow(id))); }

    BOOL OnInitDialog() override
    {
        BOOL result = CTalPrefDlg::OnInitDialog();
        SetTimer(1, 30);
        m_started = ::GetTickCount();
        return result;
    }

protected:
    void ResizeImageCaches(int32_t kilobytes) override { resized.push_back(kilobytes); }

    afx_msg void OnTimer(UINT_PTR)
    {
        const std::vector<std::wstring> texts = classlib_test::AnswerMessageBox(m_hWnd);
        if (!texts.empty()) {
            messages.insert(messages.end(), texts.begin(), texts.end());
            m_afterMessage = true;
            return;
        }
        if (m_afterMessage) {
            focusOnCacheAfterMessage = ::GetFocus() == GetItemWindow(IDC_PREF_IMAGE_CACHE);
            m_afterMessage = false;
        }
        if (::GetTickCount() - m_started > 5000) {
            timedOut = true;
            EndDialog(-2);
            return;
        }
        if (!steps.empty()) {
            auto step = steps.front();
            steps.pop_front();
            step(*this);
        }
    }
    DECLARE_MESSAGE_MAP()

private:
    DWORD m_started = 0;
    bool m_afterMessage = false;
};

BEGIN_MESSAGE_MAP(CTestPrefDlg, CTalPrefDlg)
    ON_WM_TIMER()
END_MESSAGE_MAP()

using classlib_test::DrainMessages;

}  // namespace

TEST(CTalPrefDlg, ShowsTheSettingsAndCancelKeepsThem)
{
    struct Case {
        int32_t mode;
        int checkedRadio;  // 0: none
    };
    // Each run costs the window manager's time to hide the window: a few cases.
    const Case cases[] = {{2, IDC_PREF_STARTUP_OPEN}, {3, IDC_PREF_STARTUP_EMPTY}, {7, 0}};
    const int radios[] = {IDC_PREF_STARTUP_WIZARD, IDC_PREF_STARTUP_TEMPLATE, IDC_PREF_STARTUP_OPEN,
                          IDC_PREF_STARTUP_EMPTY};
    for (const Case& c : cases) {
        CTalPrefs prefs;
        prefs.SetStartUpMode(c.mode);
        prefs.SetShowExportDialog(false);
        prefs.SetWysiwygFonts(true);
        prefs.SetDefaultFile(L"C:\\T\\mine.otn");
        prefs.SetImageCache(65536 + 1000);
        CTestPrefDlg dialog(prefs);
        std::vector<int> checked;
        std::wstring file, cache;
        bool exportBox = true, fontsBox = false;
        dialog.steps.push_back([&](CTestPrefDlg& d) {
            for (int id : radios) {
                if (d.Checked(id))
                    checked.push_back(id);
            }
            exportBox = d.Checked(IDC_PREF_SHOW_EXPORT_DIALOG);
            fontsBox = d.Checked(IDC_PREF_WYSIWYG_FONTS);
            file = d.Text(IDC_PREF_DEFAULT_FILE);
            cache = d.Text(IDC_PREF_IMAGE_CACHE);
            d.Click(IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        EXPECT_FALSE(dialog.timedOut);
        EXPECT_EQ(c.checkedRadio ? std::vector<int>{c.checkedRadio} : std::vector<int>{}, checked) << c.mode;
        EXPECT_FALSE(exportBox);
        EXPECT_TRUE(fontsBox);
        EXPECT_EQ(L"C:\\T\\mine.otn", file);
        EXPECT_EQ(L"64", cache) << "kilobytes shown in whole megabytes";
        EXPECT_EQ(c.mode, prefs.GetStartUpMode());
        EXPECT_TRUE(dialog.resized.empty());
    }
    DrainMessages();
}

TEST(CTalPrefDlg, OkTakesEverySetting)
{
    struct Case {
        const wchar_t* cacheText;
        int32_t cache;
        std::vector<int32_t> resized;
    };
    const Case cases[] = {
        {L"128", 128 * 1024, {128 * 1024}},
        {L"32", 32768, {}},  // the value shown: the caches are left alone
        {L"99999999999", 2 * 1024 * 1024, {2 * 1024 * 1024}},
    };
    for (const Case& c : cases) {
        CTalPrefs prefs;
        CTestPrefDlg dialog(prefs);
        dialog.steps.push_back([&](CTestPrefDlg& d) {
            d.Check(IDC_PREF_STARTUP_WIZARD, false);
            d.Check(IDC_PREF_STARTUP_OPEN, true);
            d.Check(IDC_PREF_SHOW_EXPORT_DIALOG, false);
            d.Check(IDC_PREF_WYSIWYG_FONTS, false);
            d.SetText(IDC_PREF_DEFAULT_FILE, L"D:\\other.otn");
            d.SetText(IDC_PREF_IMAGE_CACHE, c.cacheText);
            d.Click(IDOK);
        });
        EXPECT_EQ(IDOK, dialog.DoModal()) << c.cacheText;
        EXPECT_FALSE(dialog.timedOut);
        EXPECT_TRUE(dialog.messages.empty());
        EXPECT_EQ(2, prefs.GetStartUpMode());
        EXPECT_FALSE(prefs.GetShowExportDialog());
        EXPECT_FALSE(prefs.GetWysiwygFonts());
        EXPECT_STREQ(L"D:\\other.otn", prefs.GetDefaultFile());
        EXPECT_EQ(c.cache, prefs.GetImageCache()) << c.cacheText;
        EXPECT_EQ(c.resized, dialog.resized) << c.cacheText;
    }
    DrainMessages();
}

TEST(CTalPrefDlg, AnInvalidCacheSizeKeepsTheDialogOpen)
{
    const wchar_t* invalid[] = {L"0", L"text"};
    for (const wchar_t* text : invalid) {
        CTalPrefs prefs;
        prefs.SetStartUpMode(0);
        CTestPrefDlg dialog(prefs);
        dialog.steps.push_back([&](CTestPrefDlg& d) {
            d.Check(IDC_PREF_STARTUP_WIZARD, false);
            d.Check(IDC_PREF_STARTUP_EMPTY, true);
            d.SetText(IDC_PREF_DEFAULT_FILE, L"changed.otn");
            d.SetText(IDC_PREF_IMAGE_CACHE, text);
            d.Click(IDOK);
        });
        dialog.steps.push_back([](CTestPrefDlg&) {});  // the box is answered meanwhile
        dialog.steps.push_back([](CTestPrefDlg& d) { d.Click(IDCANCEL); });
        EXPECT_EQ(IDCANCEL, dialog.DoModal()) << "the dialog stayed open after OK";
        EXPECT_FALSE(dialog.timedOut);
        EXPECT_EQ(std::vector<std::wstring>{L"You must enter valid number!"}, dialog.messages) << text;
        EXPECT_TRUE(dialog.focusOnCacheAfterMessage) << text;
        EXPECT_EQ(3, prefs.GetStartUpMode()) << "the radios were taken before the check";
        EXPECT_EQ(32768, prefs.GetImageCache());
        EXPECT_STREQ(L"Templates\\default.otn", prefs.GetDefaultFile());
        EXPECT_TRUE(dialog.resized.empty());
    }
    DrainMessages();
}
