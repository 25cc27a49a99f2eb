// Tests of the export and import file dialogs, driven through the common
// dialog's own controls.
#include "appwindows/KWExportFileDialog.h"
#include "appwindows/KWImportFileDialog.h"

#include "resources/FrameworkDialogs.h"
#include "tests/framework/KWFileDialogTestSupport.h"
#include "tests/framework/KWTestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

const int kNameEdit = 1152;   // edt1
const int kNameCombo = 1148;  // cmb13
const int kFilterBox = 1136;  // cmb1

// Runs its script from a timer of the dialog's template window.
template <class Base>
class CScripted : public Base {
public:
    using Base::Base;
    kw_test::StepScript script;

    HWND Dialog() const { return ::GetParent(this->m_hWnd); }
    void SetName(const wchar_t* name)
    {
        int id = ::GetDlgItem(Dialog(), kNameEdit) ? kNameEdit : kNameCombo;
        ::SendMessageW(Dialog(), CDM_SETCONTROLTEXT, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(name));
    }
    std::wstring Name() const
    {
        wchar_t name[MAX_PATH + 1] = {};
        ::SendMessageW(Dialog(), CDM_GETSPEC, MAX_PATH + 1, reinterpret_cast<LPARAM>(name));
        return name;
    }
    void Press(int id) { ::PostMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void PickFilter(int index)
    {
        HWND combo = ::GetDlgItem(Dialog(), kFilterBox);
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        // Closing the list with a new selection: both notifications.
        ::SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(kFilterBox, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        ::SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(kFilterBox, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
    }

protected:
    void OnInitDone() override
    {
        Base::OnInitDone();
        script.Start();
        ::SetTimer(this->m_hWnd, 1, 50, &CScripted::Tick);
        s_current = this;
    }

private:
    static void CALLBACK Tick(HWND hWnd, UINT, UINT_PTR, DWORD)
    {
        if (s_current && !s_current->script.Tick(::GetParent(hWnd)))
            ::PostMessageW(::GetParent(hWnd), WM_COMMAND, IDCANCEL, 0);
    }
    static CScripted* s_current;
};

template <class Base>
CScripted<Base>* CScripted<Base>::s_current = nullptr;

using CTestExportDialog = CScripted<CKWExportFileDialog>;
using CTestImportDialog = CScripted<CKWImportFileDialog>;

// The application's formats and a folder of its own for each dialog test.
class FileDialogs : public ::testing::Test {
protected:
    void TearDown() override { classlib_test::DrainMessages(); }

    std::unique_ptr<CQMFormatInfo> formats = kw_test::MakeApplicationFormats();
    CKWTestTempFolder temp{L"kwfiledlg"};
    const std::wstring folder = temp.Path();
};

class ExportFileDialog : public FileDialogs {};
class ImportFileDialog : public FileDialogs {};

}  // namespace

TEST_F(ExportFileDialog, ATypedExtensionIsKeptAndTheFormatsAppended)
{
    CTestExportDialog dialog(formats.get(), kKWFormatPdf, (folder + L"Report").c_str(), nullptr, kKWFormatPdf);
    std::wstring shown;
    dialog.script.steps.push_back([&] {
        shown = dialog.Name();
        dialog.SetName(L"Report.html");
        dialog.Press(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_FALSE(dialog.script.timedOut);
    EXPECT_EQ(L"Report.pdf", shown) << "the proposed name gets the format's extension";
    EXPECT_STREQ((folder + L"Report.html.pdf").c_str(), dialog.GetPathName());
    EXPECT_EQ(kw_test::FindFormat(formats.get(), L"PDF Files"), dialog.GetChosenFormat());
}

TEST_F(ExportFileDialog, PickingAFilterChangesTheTypedExtension)
{
    CTestExportDialog dialog(formats.get(), kKWFormatHtml | kKWFormatPowerPoint | kKWFormatPdf,
                             (folder + L"Report.html").c_str(), nullptr, kKWFormatHtml, L"Generate Report");
    std::wstring before, after;
    wchar_t title[64] = {};
    dialog.script.steps.push_back([&] {
        before = dialog.Name();
        ::GetWindowTextW(dialog.Dialog(), title, 64);
        dialog.PickFilter(2);
    });
    dialog.script.steps.push_back([&] {
        after = dialog.Name();
        dialog.Press(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_FALSE(dialog.script.timedOut);
    EXPECT_EQ(L"Report.html", before);
    EXPECT_EQ(L"Report.pdf", after);
    EXPECT_STREQ(L"Generate Report", title);
    EXPECT_EQ(kw_test::FindFormat(formats.get(), L"PDF Files"), dialog.GetChosenFormat());
}

TEST_F(ExportFileDialog, ANameBeginningWithADotIsRefused)
{
    CTestExportDialog dialog(formats.get(), kKWFormatPdf, (folder + L"Report").c_str(), nullptr, kKWFormatPdf);
    dialog.script.steps.push_back([&] {
        dialog.SetName(L".pdf");
        dialog.Press(IDOK);
    });
    dialog.script.steps.push_back([] {});
    dialog.script.steps.push_back([&] { dialog.Press(IDCANCEL); });
    EXPECT_EQ(IDCANCEL, dialog.DoModal()) << "the dialog stayed open";
    EXPECT_FALSE(dialog.script.timedOut);
    EXPECT_EQ(std::vector<std::wstring>{L"Invalid filename!"}, dialog.script.messages);
}

TEST_F(ImportFileDialog, MultipleSelectionReturnsEveryFileInOrder)
{
    const wchar_t* names[] = {L"b.jpg", L"a.jpg", L"c.png"};
    for (const wchar_t* name : names)
        temp.Write(name);
    CTestImportDialog dialog(formats.get(), kKWFormatRaster | kKWFormatAllSupported, kKWFormatAllSupported, nullptr,
                             true, L"Open Image", true);
    dialog.SetInitialDir(folder.c_str());
    bool previewBox = false;
    bool previewControl = false;
    dialog.script.steps.push_back([&] {
        previewBox = ::IsDlgButtonChecked(dialog.m_hWnd, IDC_KW_PREVIEW_CHECK) == BST_CHECKED;
        previewControl = dialog.GetPreview().m_hWnd != nullptr;
        dialog.SetName(L"\"b.jpg\" \"a.jpg\" \"c.png\"");
        dialog.Press(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_FALSE(dialog.script.timedOut);
    EXPECT_TRUE(previewBox) << "the preview box starts checked";
    EXPECT_TRUE(previewControl);
    std::vector<CString> files;
    dialog.GetSelectedFiles(files);
    ASSERT_EQ(3u, files.size());
    for (size_t i = 0; i < 3; ++i)
        EXPECT_STREQ((folder + names[i]).c_str(), files[i]);
    EXPECT_EQ(CKWImportFileDialog::kFileBufferChars, dialog.m_ofn.nMaxFile);
    for (const wchar_t* name : names)
        ::DeleteFileW((folder + name).c_str());
}

TEST(CKWImportFileDialog, ThePreviewOfAPictureIsItsBitmapAndNoFileHasNone)
{
    const std::wstring picture = std::wstring(L"" OT_TEST_DATA_DIR "/../../resources/autoscroll.bmp");
    HBITMAP preview = KWMakeImagePreview(picture.c_str(), 0);
    ASSERT_NE(nullptr, preview);
    BITMAP info = {};
    ::GetObjectW(preview, sizeof(info), &info);
    EXPECT_EQ(78, info.bmWidth);
    EXPECT_EQ(26, info.bmHeight);
    ::DeleteObject(preview);
    EXPECT_EQ(nullptr, KWMakeImagePreview(L"C:\\no such folder\\none.jpg", 0));
    EXPECT_EQ(nullptr, KWMakeImagePreview(L"C:\\windows", 0));
}
