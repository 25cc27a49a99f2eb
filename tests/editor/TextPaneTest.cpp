// A report window in the test's own process: its text-note pane typed into
// and formatted through the report's commands, and the text properties
// sheet driven page by page.
#include "ProgramRun.h"

#include "editor/TalApplication.h"
#include "editor/TalDocFrame.h"
#include "editor/TalImageViewData.h"
#include "editor/TalDocTemplate.h"
#include "editor/TalTemplatesWnd.h"
#include "editor/TalTextWnd.h"
#include "editor/TalView.h"
#include "model/TalCommandGroup.h"
#include "model/TalCommandHistory.h"
#include "model/TalTemplate.h"
#include "model/TalTemplateManager.h"
#include "model/TalTextFormat.h"
#include "model/TalTextNote.h"
#include "document/TalDocument.h"
#include "platform/classlib/MDIFrameWnd.h"
#include "resources/Editor.h"
#include "resources/TextPropertiesDialog.h"
#include "tests/platform/classlib/TestSupport.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace {

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
        const std::wstring path = edtest::BesideTests(L"Templates\\default.otn");
        document = dynamic_cast<CTalDocument*>(reports->OpenDocumentFile(path.c_str()));
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
    // Tall enough for its 20-point type.
    RECT place;
    ::GetClientRect(label, &place);
    EXPECT_GE(place.bottom, 30);

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

TEST_F(TextPane, TemplatePaneShowsTheSectionsTemplateAndChoosesOneAsOneStep)
{
    const struct {
        const wchar_t* name;
        const wchar_t* title;
    } shipped[] = {{L"a.b.ott", L""}, {L"layout.otl", L"Zeta"}};
    std::vector<CTalTemplate*> added;
    for (const auto& t : shipped) {
        auto* tmpl = new CTalTemplate;
        tmpl->SetName(t.name);
        tmpl->SetTitle(t.title);
        g_TemplateManager.AddPageTemplate(tmpl);
        added.push_back(tmpl);
    }
    frame->RefreshTemplatesWnd();
    CTalTemplatesWnd* pane = frame->GetTemplatesWnd();
    HWND list = pane->GetList();
    // Every template of the manager (the shipped ones too), read back
    // through the thumbnail list: each item names its own.
    const std::vector<CTalTemplate*>& listed = g_TemplateManager.GetPageTemplates();
    const int count = static_cast<int>(listed.size());
    ASSERT_EQ(count, ListView_GetItemCount(list));
    CKWListImagesView& thumbnails = pane->GetThumbnails();
    ASSERT_EQ(count, thumbnails.GetItemCount());
    for (int i = 0; i < count; ++i) {
        EXPECT_NE(nullptr, dynamic_cast<CTalImageViewData*>(thumbnails.GetItemData(i))) << i;
        EXPECT_EQ(listed[size_t(i)], pane->TemplateOfItem(i)) << i;
        EXPECT_EQ(i, pane->FindTemplateItem(listed[size_t(i)])) << i;
    }
    EXPECT_EQ(nullptr, pane->TemplateOfItem(count));
    const int untitled = pane->FindTemplateItem(added[0]);
    const int layout = pane->FindTemplateItem(added[1]);
    ASSERT_TRUE(untitled >= 0 && layout >= 0);
    wchar_t text[32] = {};
    ListView_GetItemText(list, untitled, 0, text, 32);
    EXPECT_EQ(std::wstring(L"a"), text);
    // The list with the focus makes the pane the frame's focus.
    ::SetForegroundWindow(main->m_hWnd);
    classlib_test::DrainMessages();
    ::SetFocus(list);
    EXPECT_EQ(CTalDocFrame::kFocusTemplates, frame->GetFocusItem());

    CKWRefPtr<CTalSection> child(new CTalSection(section.Get(), L"Child"));
    section->SetTemplateName(L"layout.otl");
    section->SetOwnTemplate(1);
    child->SetOwnTemplate(0);
    CTalCommandHistory* history = document->GetCommandHistory();
    const int steps = history->GetGroupCount();
    HWND box = ::GetDlgItem(pane->m_hWnd, CTalTemplatesWnd::kOwnTemplateId);
    const struct {
        CTalSection* section;
        bool enabled;
        bool checked;
    } cases[] = {{section.Get(), false, true}, {child.Get(), true, false}};
    for (const auto& c : cases) {
        pane->UpdateForSection(c.section);
        EXPECT_EQ(c.enabled, ::IsWindowEnabled(box) != FALSE);
        EXPECT_EQ(c.checked, ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED);
        EXPECT_EQ(layout, ListView_GetNextItem(list, -1, LVNI_SELECTED));
    }
    // Showing a section and selecting the selected thumbnail give no step.
    ListView_SetItemState(list, layout, 0, LVIS_SELECTED);
    ListView_SetItemState(list, layout, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(steps, history->GetGroupCount());

    // Another thumbnail: the current section's template, undone in one step.
    ListView_SetItemState(list, untitled, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(steps + 1, history->GetGroupCount());
    EXPECT_EQ(CString(L"a.b.ott"), section->GetTemplateName());
    Command(57643);
    EXPECT_EQ(CString(L"layout.otl"), section->GetTemplateName());
    test_support::WriteWindowScreenshot(pane->m_hWnd, L"editor_template_pane");

    // Too low for the label: the list shrinks to nothing, the box goes up.
    CRect place;
    pane->GetWindowRect(&place);
    pane->SetWindowPos(nullptr, 0, 0, place.Width(), 39, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(pane->m_hWnd, CTalTemplatesWnd::kLabelId)));
    RECT listPlace, boxPlace;
    ::GetClientRect(list, &listPlace);
    EXPECT_EQ(0, listPlace.bottom);
    ::GetWindowRect(box, &boxPlace);
    ::MapWindowPoints(nullptr, pane->m_hWnd, reinterpret_cast<POINT*>(&boxPlace), 2);
    EXPECT_EQ(0, boxPlace.top);
    child->Detach();
    g_TemplateManager.Clear();
}

namespace {

// Steps run one per tick of a thread timer while the sheet is modal; a step
// that answers false is tried again at the next tick.
std::deque<std::function<bool()>> g_steps;

void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_steps.empty() && g_steps.front()())
        g_steps.pop_front();
}

HWND Sheet()
{
    return classlib_test::FindThreadDialog(nullptr, 0x3020);  // the sheet's tab control
}

HWND Page(int index)
{
    HWND sheet = Sheet();
    if (!sheet)
        return nullptr;
    ::SendMessageW(sheet, PSM_SETCURSEL, index, 0);
    return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

std::wstring ItemText(HWND page, int id)
{
    wchar_t text[64] = {};
    ::GetDlgItemTextW(page, id, text, 64);
    return text;
}

// A step that does something on a page and is done.
std::function<bool()> OnPage(int index, std::function<void(HWND)> action)
{
    return [index, action] {
        HWND page = Page(index);
        if (!page)
            return false;
        action(page);
        return true;
    };
}

std::function<bool()> Press(int button)
{
    return [button] {
        HWND sheet = Sheet();
        if (sheet)
            ::PostMessageW(sheet, PSM_PRESSBUTTON, button, 0);
        return sheet != nullptr;
    };
}

}  // namespace

TEST(TextPropertiesSheet, ReportsOnlyTheFieldsTheUserTouched)
{
    CTalApplication* app = GetTalApp();
    ASSERT_NE(nullptr, app);
    std::vector<std::wstring> messages;
    std::wstring leftShown, leftTyped;
    const struct {
        const char* name;
        std::vector<std::function<bool()>> steps;
        bool accepted;
        uint32_t charChanged, paraChanged;
        COLORREF color;
        uint8_t alignment;
        float firstLine;
    } cases[] = {
        {"untouched", {Press(PSBTN_OK)}, true, 0, 0, RGB(1, 2, 3), 0, 50.0f},
        {"colour dialog cancelled",
         {OnPage(0, [](HWND page) {
              ::PostMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_TXT_COLOR, BN_CLICKED),
                             reinterpret_cast<LPARAM>(::GetDlgItem(page, IDC_TXT_COLOR)));
          }),
          [] {
              HWND colors = classlib_test::FindThreadDialog(Sheet());
              if (colors)
                  ::PostMessageW(colors, WM_COMMAND, IDCANCEL, 0);
              return colors != nullptr;
          },
          Press(PSBTN_OK)},
         true, CKWCharFormat::kMaskColor, 0, RGB(1, 2, 3), 0, 50.0f},
        {"first line 12.5 and centre",
         {OnPage(1,
                 [](HWND page) {
                     ::SetDlgItemTextW(page, IDC_TXT_FIRST_LINE, L"12.5");
                     ::SendMessageW(::GetDlgItem(page, IDC_TXT_ALIGN_CENTRE), BM_CLICK, 0, 0);
                 }),
          Press(PSBTN_OK)},
         true, 0, CKWParaFormat::kMaskFirstLine | CKWParaFormat::kMaskAlign, RGB(1, 2, 3), 1, 125.0f},
        {"letters from the left",
         {OnPage(1,
                 [&](HWND page) {
                     leftShown = ItemText(page, IDC_TXT_FROM_LEFT);
                     ::SetDlgItemTextW(page, IDC_TXT_FROM_LEFT, L"abc");
                 }),
          Press(PSBTN_OK),
          [&] {
              HWND box = classlib_test::FindThreadDialog(Sheet());
              if (!box)
                  return false;
              messages = classlib_test::StaticTexts(box);
              ::PostMessageW(box, WM_COMMAND, IDOK, 0);
              return true;
          },
          OnPage(1, [&](HWND page) { leftTyped = ItemText(page, IDC_TXT_FROM_LEFT); }), Press(PSBTN_CANCEL)},
         false, 0, 0, RGB(1, 2, 3), 0, 50.0f},
    };
    for (const auto& c : cases) {
        CTalTextProperties properties;
        properties.color = RGB(1, 2, 3);
        properties.fontName = L"Arial";
        properties.charFormat.m_size = 12;
        properties.paraFormat.m_firstLine = 50.0f;
        g_steps.assign(c.steps.begin(), c.steps.end());
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, RunStep);
        const bool accepted = app->RunTextProperties(L"Text Properties...", properties);
        ::KillTimer(nullptr, timer);
        EXPECT_TRUE(g_steps.empty()) << c.name;
        EXPECT_EQ(c.accepted, accepted) << c.name;
        if (!accepted)
            continue;
        EXPECT_EQ(c.charChanged, properties.charChanged) << c.name;
        EXPECT_EQ(c.paraChanged, properties.paraChanged) << c.name;
        EXPECT_EQ(c.color, properties.color) << c.name;
        EXPECT_EQ(c.alignment, properties.paraFormat.m_align) << c.name;
        EXPECT_FLOAT_EQ(c.firstLine, properties.paraFormat.m_firstLine) << c.name;
        EXPECT_EQ(CString(L"Arial"), properties.fontName) << c.name;
    }
    EXPECT_EQ(std::vector<std::wstring>{L"You must enter valid number!"}, messages);
    EXPECT_EQ(leftShown, leftTyped) << "the old value again";
    EXPECT_FALSE(leftShown.empty());
}
