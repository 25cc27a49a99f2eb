// The explorer-style file dialog driven from its own notifications: the
// custom template's controls, refusing a name, multi-select and the names
// it hands back.
#include "DocTestSupport.h"

#include "platform/classlib/FileDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace doc_test;

namespace {

// Types each answer in turn into the name box and confirms; logs the notifications.
class CScriptedFileDialog : public CFileDialog {
public:
    CScriptedFileDialog(BOOL bOpen, DWORD dwFlags, LPCWSTR lpszFilter)
        : CFileDialog(bOpen, nullptr, nullptr, dwFlags, lpszFilter) {}

    std::vector<CString> m_answers;
    std::vector<std::wstring> m_log;
    // Names beginning with a dot are refused once seen.
    BOOL m_bRefuseDotNames = FALSE;
    BOOL m_bChangeType = FALSE;
    HWND m_hWndCheck = nullptr;

protected:
    void OnInitDone() override {
        m_log.push_back(L"initdone");
        m_hWndCheck = ::GetDlgItem(m_hWnd, IDC_DOCTEST_PREVIEWCHECK);
        if (m_bChangeType) {
            // The user picks the second filter.
            HWND hCombo = ::GetDlgItem(GetParent()->m_hWnd, cmb1);
            ::SendMessageW(hCombo, CB_SETCURSEL, 1, 0);
            // A pick in the list ends with CBN_SELENDOK, which the dialog follows.
            ::SendMessageW(GetParent()->m_hWnd, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK),
                           reinterpret_cast<LPARAM>(hCombo));
        }
        // The dialog fills its name box after this notification: answer later.
        PostMessage(WM_APP + 1);
    }
    afx_msg LRESULT OnAnswer(WPARAM, LPARAM) {
        Next();
        return 0;
    }
    void OnTypeChange() override {
        m_log.push_back(L"type:" + std::to_wstring(m_pofnTemp->lpOFN->nFilterIndex));
    }
    BOOL OnFileNameOK() override {
        std::wstring strName = GetFileName().GetString();
        m_log.push_back(L"ok?" + strName);
        if (m_bRefuseDotNames && !strName.empty() && strName[0] == L'.') {
            Next();
            return TRUE;
        }
        return FALSE;
    }

    DECLARE_MESSAGE_MAP()

private:
    void Next() {
        if (m_answers.empty()) {
            GetParent()->PostMessage(WM_COMMAND, IDCANCEL, 0);
            return;
        }
        // The name box is edt1 in some versions of the dialog, cmb13 in others.
        SetControlText(edt1, m_answers.front());
        SetControlText(cmb13, m_answers.front());
        m_answers.erase(m_answers.begin());
        GetParent()->PostMessage(WM_COMMAND, IDOK, 0);
    }
};

BEGIN_MESSAGE_MAP(CScriptedFileDialog, CFileDialog)
    ON_MESSAGE(WM_APP + 1, OnAnswer)
END_MESSAGE_MAP()

class FileDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_strFolder = TestPath(L"");
        for (LPCWSTR name : {L"one.txt", L"two.txt", L"three.dat"})
            TestPath(name, TRUE);
    }
    void TearDown() override {
        for (LPCWSTR name : {L"one.txt", L"two.txt", L"three.dat"})
            ::DeleteFileW(TestPath(name));
    }
    CString m_strFolder;
    classlib_test::CTestApp app;
};

}  // namespace

TEST_F(FileDialogTest, ARefusedNameKeepsTheDialogOpenUntilAGoodOne) {
    CScriptedFileDialog dlg(FALSE, OFN_HIDEREADONLY, L"Text (*.txt)|*.txt|All (*.*)|*.*||");
    dlg.m_bRefuseDotNames = TRUE;
    dlg.m_answers = {m_strFolder + L".hidden", m_strFolder + L"saved.txt"};
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ((std::vector<std::wstring>{L"initdone", L"ok?.hidden", L"ok?saved.txt"}), dlg.m_log);
    EXPECT_TRUE(AfxComparePath(m_strFolder + L"saved.txt", dlg.GetPathName()));
    EXPECT_STREQ(L"saved.txt", dlg.GetFileName());
    EXPECT_STREQ(L"saved", dlg.GetFileTitle());
    EXPECT_STREQ(L"txt", dlg.GetFileExt());
    EXPECT_EQ(nullptr, dlg.m_hWnd) << "detached when the dialog went";
}

TEST_F(FileDialogTest, TheCustomTemplateIsTheObjectsWindowAndTypeChangesArrive) {
    CScriptedFileDialog dlg(TRUE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, L"Text (*.txt)|*.txt|Data (*.dat)|*.dat||");
    dlg.m_ofn.Flags |= OFN_ENABLETEMPLATE;
    dlg.m_ofn.lpTemplateName = MAKEINTRESOURCEW(IDD_DOCTEST_FILEPANE);
    dlg.m_bChangeType = TRUE;
    dlg.m_answers = {m_strFolder + L"three.dat"};
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_NE(nullptr, dlg.m_hWndCheck) << "the template's check box is a child of the object's window";
    EXPECT_EQ((std::vector<std::wstring>{L"initdone", L"type:2", L"ok?three.dat"}), dlg.m_log);
    EXPECT_EQ(2u, dlg.m_ofn.nFilterIndex);
}

TEST_F(FileDialogTest, SeveralChosenFilesComeBackAsFullPathsInOrder) {
    CScriptedFileDialog dlg(TRUE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT, L"All (*.*)|*.*||");
    std::vector<wchar_t> buffer(4096, L'\0');
    dlg.m_ofn.lpstrFile = buffer.data();
    dlg.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    dlg.m_ofn.lpstrInitialDir = m_strFolder;
    dlg.m_answers = {L"\"two.txt\" \"one.txt\""};
    ASSERT_EQ(IDOK, dlg.DoModal());
    std::vector<CString> names;
    POSITION pos = dlg.GetStartPosition();
    while (pos != nullptr)
        names.push_back(dlg.GetNextPathName(pos));
    ASSERT_EQ(2u, names.size());
    EXPECT_TRUE(AfxComparePath(m_strFolder + L"two.txt", names[0]));
    EXPECT_TRUE(AfxComparePath(m_strFolder + L"one.txt", names[1]));
    EXPECT_TRUE(AfxComparePath(m_strFolder + L"two.txt", dlg.GetPathName()));
}

TEST(FileDialogNames, TheNameListIsReadWithinItsBuffer) {
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT);
    struct Case {
        std::vector<wchar_t> buffer;
        std::vector<std::wstring> expected;
    };
    auto make = [](const wchar_t* psz, size_t n) { return std::vector<wchar_t>(psz, psz + n); };
    const Case cases[] = {
        {make(L"C:\\f\\one.txt\0\0", 14), {L"C:\\f\\one.txt"}},
        {make(L"C:\\f\0a.txt\0b.txt\0\0", 19), {L"C:\\f\\a.txt", L"C:\\f\\b.txt"}},
        {make(L"C:\\\0a.txt\0\0", 11), {L"C:\\a.txt"}},
        {make(L"C:\\f\0D:\\x\\a.txt\0\0", 17), {L"D:\\x\\a.txt"}},
        // No terminator inside the buffer: what is there, no more.
        {make(L"C:\\f\0abc", 8), {L"C:\\f\\abc"}},
    };
    for (const Case& c : cases) {
        std::vector<wchar_t> buffer = c.buffer;
        dlg.m_ofn.lpstrFile = buffer.data();
        dlg.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
        std::vector<std::wstring> names;
        POSITION pos = dlg.GetStartPosition();
        while (pos != nullptr && names.size() < 5)
            names.push_back(dlg.GetNextPathName(pos).GetString());
        EXPECT_EQ(c.expected, names);
    }
}
