// The real program's font and colour choices: the owner-drawn font picker of
// the "Generate Report" page and of the watermark dialog (a font the report
// uses and the system lacks marked "MISSED!"), their colour buttons opening
// the colour chooser, and the text tool bar's Bold state outside editing,
// which follows the note's first run, and the program's clean end after a
// report with a missing font filled its pickers.
#include "ProgramMenus.h"
#include "ProgramRealInput.h"
#include "ProgramRun.h"

#include "files/TalTags.h"
#include "files/TalXmlSerializer.h"
#include "model/TalBaseDocument.h"
#include "model/TalDocProperties.h"
#include "model/TalSection.h"
#include "model/TalTextFormat.h"
#include "model/TalTextNote.h"
#include "model/TalWatermark.h"
#include "resources/ReportPropDialogs.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/WindowPixels.h"
#include "tests/support/WindowScreenshot.h"
#include "text/KWCharFormat.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

using edtest::CProgramRun;

namespace {

constexpr int kSheetTab = 0x3020;
constexpr UINT kReportProperties = 32854;
constexpr UINT kWatermarkProperties = 32855;
constexpr UINT kBold = 32843;
constexpr UINT kUndo = 57643;
constexpr UINT kSave = 57603;
constexpr int kTextToolBar = 59954;
constexpr int kFontNameBox = 32853;
constexpr wchar_t kMissingFace[] = L"Nonesuch Grotesk";
constexpr wchar_t kNote[] = L"Bold and plain";
constexpr int kBoldPart = 4;

// A report whose text styles and one watermark use a font this system lacks,
// and whose heading's note begins bold.
std::wstring WriteReport(const std::wstring& folder)
{
    const std::wstring path = folder + L"Fonts.otd";
    CTalBaseDocument model;
    CTalDocProperties& properties = model.GetProperties();
    const uint32_t missing = properties.GetFontTable().FindOrAdd(kMissingFace);
    for (int id = 1; id <= 9; ++id)
        properties.GetTextFormat(id, true)->m_font = missing;
    auto* mark = new CTalWatermark;
    mark->m_name = L"Stamp";
    mark->m_text = L"COPY";
    mark->m_textFormat.m_font = missing;
    properties.AddWatermark(mark);
    CTalTextNote* note = properties.GetHeadingSection()->GetTextNote();
    note->SetText(kNote);
    CKWCharFormat bold;
    bold.m_count = CKWCharFormat::kBold;
    bold.m_style = CKWCharFormat::kBold;
    note->SetCharFormatInRange(0, kBoldPart, bold);
    CTalXmlSerializer serializer;
    EXPECT_TRUE(serializer.SaveDocument(&model, path.c_str(), nullptr));
    return path;
}

// Whether the saved report's heading note is bold at each of the characters.
std::wstring BoldMap(const std::wstring& path)
{
    CTalBaseDocument model;
    CTalXmlSerializer serializer;
    CTalTags tags;
    if (!tags.RegisterTags() || !serializer.LoadDocument(path.c_str(), &model, &tags, 0, nullptr))
        return L"unreadable";
    const CTalTextNote* note = model.GetProperties().GetHeadingSection()->GetTextNote();
    std::wstring map;
    for (int i = 0; note && i < note->GetLength(); ++i)
        map += (note->LocateRun(i).m_style & CKWCharFormat::kBold) ? L'B' : L'-';
    return map;
}

// The Bold button of the text tool bar is shown pressed.
bool BoldPressed(HWND main)
{
    return edtest::BarCommandChecked(CProgramRun::FindById(main, kTextToolBar), kBold);
}

// The font box shows its items owner-drawn, the current one's text.
void ExpectOwnerDrawnPicker(HWND box, const std::wstring& shown, const wchar_t* picture)
{
    ASSERT_NE(nullptr, box);
    const LONG style = ::GetWindowLongW(box, GWL_STYLE);
    EXPECT_TRUE(style & CBS_OWNERDRAWFIXED) << picture;
    EXPECT_GT(::SendMessageW(box, CB_GETCOUNT, 0, 0), 1) << picture;
    const int current = int(::SendMessageW(box, CB_GETCURSEL, 0, 0));
    ASSERT_GE(current, 0) << picture;
    wchar_t text[128] = {};
    ::SendMessageW(box, CB_GETLBTEXT, current, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(shown, text) << picture;
    // The type mark stands left of the name: ink in the first 16 pixels of
    // the box's face, which the system's own box leaves to the text.
    // The box is the program's: its repaint comes when the program gets to it.
    ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    int ink = 0;
    edtest::WaitFor([&] {
        const test_support::Pixels pixels = test_support::Capture(box, false);
        const COLORREF face = pixels.At(pixels.width / 2, 1);
        ink = 0;
        for (int y = 3; y < pixels.height - 3; ++y)
            for (int x = 3; x < 19; ++x)
                ink += pixels.At(x, y) != face;
        return ink > 10;
    });
    EXPECT_GT(ink, 10) << picture;
    test_support::WriteWindowScreenshot(::GetAncestor(box, GA_ROOT), picture);
}

// The colour button opens the colour chooser ("Color"); cancelled.
void ExpectColourChooser(const CProgramRun& program, HWND owner, int buttonId)
{
    ::PostMessageW(::GetDlgItem(owner, buttonId), BM_CLICK, 0, 0);
    HWND chooser = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        chooser = program.FindDialog();
        return chooser && ::GetWindow(chooser, GW_OWNER) == ::GetAncestor(owner, GA_ROOT) &&
               CProgramRun::Text(chooser) == L"Color";
    }));
    ::PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return !::IsWindow(chooser); }));
}

// Wine's heap checks for the programs started while it lives: freed blocks
// are filled with a pattern, so that a read of freed memory faults at once
// instead of corrupting the heap unnoticed.
class CHeapChecks {
public:
    CHeapChecks()
    {
        wchar_t channels[256] = {};
        m_had = ::GetEnvironmentVariableW(L"WINEDEBUG", channels, 256) > 0;
        m_channels = channels;
        ::SetEnvironmentVariableW(L"WINEDEBUG", L"-all,warn+heap");
    }
    ~CHeapChecks() { ::SetEnvironmentVariableW(L"WINEDEBUG", m_had ? m_channels.c_str() : nullptr); }
    CHeapChecks(const CHeapChecks&) = delete;
    CHeapChecks& operator=(const CHeapChecks&) = delete;

private:
    bool m_had = false;
    std::wstring m_channels;
};

}  // namespace

TEST(ProgramDialogFonts, AReportWithAMissingFontLetsTheProgramEndCleanlyUnderHeapChecks)
{
    CKWTestTempFolder folder(L"edx");
    const std::wstring report = WriteReport(folder.Path());
    edtest::SetStartPrefs(3, L"", false);
    CHeapChecks checks;
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    // The tool bar's font-name box lists the missing font once the program
    // has updated its tool bars: the picker data destroyed at exit frees
    // that entry.
    const std::wstring missed = std::wstring(kMissingFace) + L" MISSED!";
    EXPECT_TRUE(edtest::WaitFor([&] {
        HWND box = CProgramRun::FindById(program.Main(), kFontNameBox);
        return box && ::SendMessageW(box, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(missed.c_str())) !=
                          CB_ERR;
    }));
    ASSERT_TRUE(program.CloseWithoutSaving());
    DWORD code = STILL_ACTIVE;
    ASSERT_TRUE(program.WaitForExit(0, &code));
    EXPECT_EQ(0u, code) << "the program ends without a fault";
}

TEST(ProgramDialogFonts, GenerateReportAndWatermarkShowTheFontPickerWithTheMissingFontAndTheColourChooser)
{
    CKWTestTempFolder folder(L"edf");
    const std::wstring report = WriteReport(folder.Path());
    edtest::SetStartPrefs(3, L"", false);
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    const std::wstring missed = std::wstring(kMissingFace) + L" MISSED!";

    // "Report Properties..." opens "Generate Report" on its first style.
    program.PostCommand(kReportProperties);
    HWND sheet = program.WaitForDialogWith(kSheetTab);
    ASSERT_NE(nullptr, sheet);
    HWND generate = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    ASSERT_NE(nullptr, generate);
    ExpectOwnerDrawnPicker(::GetDlgItem(generate, IDC_GR_FONT), missed, L"program_generate_font_picker");
    ExpectColourChooser(program, generate, IDC_GR_COLOR);
    ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));

    // The watermark of that font, from the "Watermarks" page.
    program.PostCommand(kWatermarkProperties);
    sheet = program.WaitForDialogWith(kSheetTab);
    ASSERT_NE(nullptr, sheet);
    HWND marks = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    ::SendMessageW(::GetDlgItem(marks, IDC_WMS_LIST), LB_SETCURSEL, 0, 0);
    ::PostMessageW(::GetDlgItem(marks, IDC_WMS_PROPERTIES), BM_CLICK, 0, 0);
    HWND dialog = program.WaitForDialogWith(IDC_WM_NAME);
    ASSERT_NE(nullptr, dialog);
    ExpectOwnerDrawnPicker(::GetDlgItem(dialog, IDC_WM_FONT), missed, L"program_watermark_font_picker");
    ExpectColourChooser(program, dialog, IDC_WM_COLOR);
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.WaitForDialogWith(IDC_WM_NAME, 0); }));
    ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));
}

TEST(ProgramDialogFonts, OutsideEditingBoldFollowsTheFirstRunAndMakesTheWholeNotePlainInOneStep)
{
    CKWTestTempFolder folder(L"edb");
    const std::wstring report = WriteReport(folder.Path());
    const std::wstring before = BoldMap(report);
    ASSERT_EQ(std::wstring(kBoldPart, L'B') + std::wstring(std::wcslen(kNote) - kBoldPart, L'-'), before);
    edtest::SetStartPrefs(3, L"", false);
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));

    EXPECT_TRUE(edtest::WaitFor([&] { return BoldPressed(program.Main()); }))
        << "the note's first run is bold";
    test_support::WriteWindowScreenshot(program.Main(), L"program_bold_first_run");
    program.Command(kBold);
    EXPECT_TRUE(edtest::WaitFor([&] { return !BoldPressed(program.Main()); }));
    program.Command(kSave);
    EXPECT_EQ(std::wstring(std::wcslen(kNote), L'-'), BoldMap(report)) << "the whole note is plain";

    program.Command(kUndo);
    EXPECT_TRUE(edtest::WaitFor([&] { return BoldPressed(program.Main()); }));
    program.Command(kSave);
    EXPECT_EQ(before, BoldMap(report)) << "one undo step gives the bold part back";
}
