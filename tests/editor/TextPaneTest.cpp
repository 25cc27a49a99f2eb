// A report window in the test's own process: its text-note pane typed into
// and formatted through the report's commands, and the text properties
// sheet driven page by page.
#include "editor/TalApplication.h"
#include "editor/TalDocFrame.h"
#include "editor/TalDocTemplate.h"
#include "editor/TalTextWnd.h"
#include "editor/TalView.h"
#include "model/TalCommandGroup.h"
#include "model/TalCommandHistory.h"
#include "model/TalTextFormat.h"
#include "model/TalTextNote.h"
#include "model/document/TalDocument.h"
#include "platform/classlib/MDIFrameWnd.h"
#include "resources/Editor.h"
#include "resources/TextPropertiesDialog.h"
#include "tests/platform/classlib/TestSupport.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace {

std::wstring BesideProgram(const wchar_t* name)
{
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

// The default report template opened in a report window of a main frame.
class TextPane : public testing::Test {
protected:
    void SetUp() override
    {
        app = GetTalApp();
        ASSERT_NE(nullptr, app);
        main = app->CreateMainFrame();
        ASSERT_NE(nullptr, main);
        app->m_pMainWnd = main;
        main->ShowWindow(SW_SHOW);
        reports = new CTalAppDocTemplate(IDR_TAL_REPORT, RUNTIME_CLASS(CTalDocument), RUNTIME_CLASS(CTalDocFrame),
                                         RUNTIME_CLASS(CTalView));
        document = dynamic_cast<CTalDocument*>(reports->OpenDocumentFile(BesideProgram(L"Templates\\default.otn").c_str()));
        ASSERT_NE(nullptr, document);
        frame = dynamic_cast<CTalDocFrame*>(document->GetFrame());
        ASSERT_TRUE(frame && frame->GetTextWnd());
        classlib_test::DrainMessages();
        section = document->GetCurrentSection();
        ASSERT_TRUE(section);
        Note().SetText(L"Hello world\nSecond");
        Note().EnsureOneRun();
        Note().EnsureOnePara();
        frame->LoadSectionText(section.Get());
    }
    void TearDown() override
    {
        if (document) {
            document->SetModifiedFlag(FALSE);
            document->OnCloseDocument();
        }
        delete reports;
        if (main)
            main->DestroyWindow();
        app->m_pMainWnd = nullptr;
        classlib_test::DrainMessages();
    }
    CTalTextNote& Note() { return *section->GetTextNote(); }
    CTalTextPanel& Panel() { return frame->GetTextWnd()->GetPanel(); }
    void Command(UINT id) { frame->SendMessage(WM_COMMAND, id, 0); }
    void Edit(int start, int end)
    {
        Panel().BeginEditing();
        Panel().SetSel(start, end, false);
    }

    CTalApplication* app = nullptr;
    CFrameWnd* main = nullptr;
    CTalAppDocTemplate* reports = nullptr;
    CTalDocument* document = nullptr;
    CTalDocFrame* frame = nullptr;
    CKWRefPtr<CTalSection> section;
};

}  // namespace

TEST_F(TextPane, ShowsTheTrimmedNameAndTheReportTextFaceOrArial)
{
    section->SetName(L"\r\nIntro \t");
    frame->LoadSectionText(section.Get());
    HWND label = ::GetDlgItem(frame->GetTextWnd()->m_hWnd, CTalTextWnd::kLabelId);
    wchar_t text[64] = {};
    ::GetWindowTextW(label, text, 64);
    EXPECT_EQ(std::wstring(L"Intro"), text);

    CTalDocProperties& properties = document->GetProperties();
    auto* style = new CTalTextFormat;
    style->m_font = properties.GetFontTable().FindOrAdd(L"Courier New");
    properties.SetTextFormat(8, style);
    frame->UpdateDefaultFont();
    EXPECT_EQ(CString(L"Courier New"), frame->GetTextWnd()->GetLabel().GetFaceName());
    properties.SetTextFormat(8, nullptr);
    frame->UpdateDefaultFont();
    EXPECT_EQ(CString(L"Arial"), frame->GetTextWnd()->GetLabel().GetFaceName());
}

TEST_F(TextPane, FormatsTheWholeNoteOutsideEditingAndTheSelectionInIt)
{
    CKWParaFormat centre;
    centre.m_count = CKWParaFormat::kMaskAlign;
    centre.m_align = CKWParaFormat::kAlignCenter;
    Note().SetParaFormatInRange(12, -1, centre);
    ASSERT_EQ(2, Note().GetParaCount());
    Command(32850);  // Align Right
    for (int i = 0; i < Note().GetParaCount(); ++i)
        EXPECT_EQ(CKWParaFormat::kAlignRight, Note().GetPara(i).m_align) << i;

    CKWCharFormat bold;
    bold.m_count = CKWCharFormat::kBold;
    bold.m_style = CKWCharFormat::kBold;
    Note().SetCharFormatInRange(0, 2, bold);
    Edit(0, 5);
    // Partly bold becomes bold; again, plain.
    for (bool expected : {true, false}) {
        Command(32843);
        uint32_t mask = 0;
        const CKWCharFormat& format = Note().GetCommonCharFormat(0, 5, mask);
        EXPECT_TRUE(mask & CKWCharFormat::kBold);
        EXPECT_EQ(expected, (format.m_style & CKWCharFormat::kBold) != 0);
    }
}

TEST_F(TextPane, OneTypedCharacterIsOneStepEditTextNote)
{
    CTalCommandHistory* history = document->GetCommandHistory();
    ASSERT_NE(nullptr, history);
    const int before = history->GetGroupCount();
    document->SetModifiedFlag(FALSE);
    Edit(5, 5);
    Panel().SendMessage(WM_CHAR, L'!', 1);
    EXPECT_EQ(CString(L"Hello! world\nSecond"), Note().GetText());
    ASSERT_EQ(before + 1, history->GetGroupCount());
    EXPECT_EQ(32896u, history->GetGroup(history->GetGroupCount() - 1)->GetLabel());
    EXPECT_TRUE(document->IsModified());
    test_support::WriteWindowScreenshot(frame->GetTextWnd()->m_hWnd, L"editor_text_pane_typed");

    // Nothing shown: no cutting, copying or text.
    Panel().ShowText(nullptr);
    EXPECT_FALSE(frame->CanCutText());
    EXPECT_FALSE(frame->CanCopyText());
    EXPECT_FALSE(frame->HasText());
}
