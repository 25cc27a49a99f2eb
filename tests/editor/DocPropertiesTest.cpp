// The report properties sheet and the watermark dialog in the test's own
// process, over a report document, driven by messages from a thread timer
// that runs in whatever modal loop is up (the sheet's, a message box's, a
// file dialog's).
#include "ListPictures.h"
#include "ProgramRun.h"

#include "editor/DocProperties.h"
#include "editor/DocPropertiesPage2.h"
#include "editor/DocPropertiesPage5.h"
#include "editor/StructedWizard.h"
#include "editor/StructedWizardPage3.h"
#include "editor/TalWizardDocument.h"
#include "editor/TalImageViewData.h"
#include "editor/WatermarkDrawing.h"
#include "editor/WatermarkPropDlg.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWIndexDecoder.h"
#include "framework/KWRasterLib.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalTemplate.h"
#include "model/TalTemplateManager.h"
#include "model/TalWatermark.h"
#include "document/TalDocument.h"
#include "document/TalDocumentApp.h"
#include "platform/classlib/WinApp.h"
#include "resources/ReportPropDialogs.h"
#include "tests/framework/GdiPlusCanvas.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/platform/classlib/TestSupport.h"
#include "tests/support/RecordingGraphics.h"
#include "tests/support/TestPictureFiles.h"
#include "tests/support/WindowPixels.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Step = std::function<bool()>;

// Runs the steps in order from a thread timer; a step that answers false is
// tried again at the next tick. A step stuck for seconds ends the run by
// cancelling whatever dialog is up.
class CSteps {
public:
    explicit CSteps(std::vector<Step> steps) : m_steps(std::move(steps))
    {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 20, Tick);
    }
    ~CSteps()
    {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
        classlib_test::DrainMessages();
    }
    bool Finished() const { return m_next == m_steps.size(); }
    size_t Reached() const { return m_next; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        CSteps* self = s_current;
        if (!self || self->m_running)
            return;
        self->m_running = true;
        if (self->m_next < self->m_steps.size()) {
            if (self->m_steps[self->m_next]()) {
                ++self->m_next;
                self->m_tries = 0;
            } else if (++self->m_tries > 250) {
                self->m_next = self->m_steps.size() + 1;
            }
        } else if (self->m_next > self->m_steps.size()) {
            if (HWND dialog = classlib_test::FindThreadDialog())
                ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        self->m_running = false;
    }

    static CSteps* s_current;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    int m_tries = 0;
    bool m_running = false;
    UINT_PTR m_timer = 0;
};
CSteps* CSteps::s_current = nullptr;

// The tab control every property sheet holds.
constexpr int kSheetTab = 0x3020;

HWND SheetWindow() { return classlib_test::FindThreadDialog(nullptr, kSheetTab); }
HWND CurrentPage() { return reinterpret_cast<HWND>(::SendMessageW(SheetWindow(), PSM_GETCURRENTPAGEHWND, 0, 0)); }
HWND Item(int id) { return ::GetDlgItem(CurrentPage(), id); }
std::wstring ItemText(HWND item)
{
    wchar_t text[256] = {};
    ::GetWindowTextW(item, text, 256);
    return text;
}

// Step makers. Actions that open a modal window post their message.
Step Do(std::function<void()> action)
{
    return [action] {
        action();
        return true;
    };
}
Step ShowPage(int index, const wchar_t* screenshot = nullptr)
{
    return [=] {
        if (!SheetWindow())
            return false;
        ::SendMessageW(SheetWindow(), PSM_SETCURSEL, index, 0);
        if (screenshot)
            test_support::WriteWindowScreenshot(SheetWindow(), screenshot);
        return true;
    };
}
Step Click(int id) { return Do([id] { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }); }
Step PostClick(int id) { return Do([id] { ::PostMessageW(Item(id), BM_CLICK, 0, 0); }); }
Step Type(int id, const wchar_t* text) { return Do([=] { ::SetWindowTextW(Item(id), text); }); }
Step Press(int button)
{
    return Do([button] { ::PostMessageW(SheetWindow(), PSM_PRESSBUTTON, button, 0); });
}
Step Apply() { return Do([] { ::SendMessageW(SheetWindow(), PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0); }); }
// Answers the dialog of the thread (other than the sheet) that holds the item.
Step Answer(int itemId, std::function<void(HWND)> answer)
{
    return [=] {
        HWND dialog = classlib_test::FindThreadDialog(SheetWindow(), itemId);
        if (!dialog)
            return false;
        answer(dialog);
        return true;
    };
}
Step AnswerFile(const std::wstring& path)
{
    return Answer(IDOK, [path](HWND dialog) { edtest::CProgramRun::AnswerFileDialog(dialog, path); });
}
Step Check(std::function<void()> check) { return Do(std::move(check)); }
// Waits until only the sheet is up.
Step Closed()
{
    return [] { return !classlib_test::FindThreadDialog(SheetWindow()); };
}

class CTestReport : public CTalDocument {
public:
    void OnDefaultGrayscaleChanged() override { ++grayscaleNotes; }
    int grayscaleNotes = 0;
};

// Runs the sheet at the page with the steps; true when every step ran.
bool RunSheet(CTalDocument& report, int page, std::vector<Step> steps, CDocProperties** seen = nullptr)
{
    CDocProperties sheet(L"Document Properties", nullptr, &report, page);
    if (seen)
        *seen = &sheet;
    CSteps run(std::move(steps));
    sheet.DoModal();
    return run.Finished();
}

CTalWatermark* NamedWatermark(const wchar_t* name)
{
    auto* mark = new CTalWatermark;
    mark->m_name = name;
    return mark;
}

// A 200 x 100 grey bitmap file.
std::wstring WriteLandscapePicture(const CKWTestTempFolder& folder)
{
    const std::wstring path = folder.Path() + L"wide.bmp";
    WriteFileBytes(path, testpictures::FourBitBmp(200, 100, std::string(200 * 100, '\x80')));
    return path;
}

DEVMODEW* PrinterMode(HGLOBAL& block)
{
    PRINTDLGW pd = {};
    pd.lStructSize = sizeof(pd);
    block = AfxGetApp()->GetPrinterDeviceDefaults(&pd) ? pd.hDevMode : nullptr;
    return block ? static_cast<DEVMODEW*>(::GlobalLock(block)) : nullptr;
}

short PrinterOrientation()
{
    HGLOBAL block = nullptr;
    DEVMODEW* mode = PrinterMode(block);
    const short orientation = mode ? mode->dmOrientation : 0;
    if (block)
        ::GlobalUnlock(block);
    return orientation;
}

}  // namespace

TEST(DocProperties, OpensAtTheCommandsPagesWritesOnlyShownPagesAndApplyOutlivesCancel)
{
    // The document's commands open the sheet at their pages.
    for (const auto& c : {std::pair<UINT, int>{32795, 0}, {32855, 2}, {32854, 3}}) {
        CTestReport report;
        int shown = -1;
        CSteps run({[&] {
                        if (!SheetWindow())
                            return false;
                        shown = static_cast<int>(::SendMessageW(SheetWindow(), PSM_HWNDTOINDEX,
                                                                reinterpret_cast<WPARAM>(CurrentPage()), 0));
                        return true;
                    },
                    Press(PSBTN_CANCEL)});
        report.OnCmdMsg(c.first, CN_COMMAND, nullptr, nullptr);
        EXPECT_TRUE(run.Finished()) << c.first;
        EXPECT_EQ(c.second, shown) << c.first;
    }

    CTestReport report;
    report.GetProperties().AddWatermark(NamedWatermark(L"Kept"));
    const CTalWatermark* kept = report.GetProperties().GetWatermarks()[0];
    report.SetModifiedFlag(FALSE);
    // A shown page marks the document modified unchanged; the unshown keep theirs.
    EXPECT_TRUE(RunSheet(report, 0, {ShowPage(0, L"report_properties_general"), Press(PSBTN_OK)}));
    EXPECT_TRUE(report.IsModified());
    ASSERT_EQ(1u, report.GetProperties().GetWatermarks().size());
    EXPECT_EQ(kept, report.GetProperties().GetWatermarks()[0]);

    EXPECT_TRUE(RunSheet(report, 0,
                         {ShowPage(0), Type(IDC_GEN_TITLE, L"Alpha"), Click(IDC_GEN_IMAGE_LINKS), Apply(),
                          Type(IDC_GEN_TITLE, L"Beta"), Press(PSBTN_CANCEL)}));
    EXPECT_EQ(CString(L"Alpha"), report.GetProperties().m_title);
    EXPECT_EQ(1, report.GetProperties().m_imageSaveType);
}

TEST(DocPropertiesPage5, PageLengthsTakeInchesOnlyAsTyped)
{
    const struct {
        const wchar_t* text;
        bool inches, custom, valid;
        double millimetres;
    } cases[] = {
        {L"8.5in", false, true, true, 215.9},  {L"8.5 in", false, true, true, 215.9},
        {L"8.5 In", false, true, true, 8.5},   {L"8.5in", false, false, true, 8.5},
        {L"11", true, false, true, 279.4},     {L"0", false, true, false, 0},
        {L"-3", false, true, false, 0},        {L"wide", false, true, false, 0},
    };
    for (const auto& c : cases) {
        double millimetres = -1;
        EXPECT_EQ(c.valid, CDocPropertiesPage5::ParsePageLength(c.text, c.inches, c.custom, millimetres)) << c.text;
        EXPECT_NEAR(c.millimetres, millimetres, 1e-9) << c.text;
    }
}

TEST(DocPropertiesPage5, OrientationSwapsTheSizesAndKeepsThePrinterInStep)
{
    HGLOBAL block = nullptr;
    DEVMODEW* mode = PrinterMode(block);
    ASSERT_NE(nullptr, mode) << "the tests' PDF printer gives printer defaults";
    mode->dmOrientation = DMORIENT_PORTRAIT;
    ::GlobalUnlock(block);
    int32_t width = 0, height = 0;
    GetTalDocumentApp()->GetDefaultPageSize(width, height);
    GetTalDocumentApp()->SetDefaultPageSize(0, 0);

    CTestReport report;
    CDocProperties* sheet = nullptr;
    std::wstring swapped[2];
    std::vector<std::wstring> refusal;
    short landscapeMode = 0;
    const bool finished = RunSheet(
        report, 4,
        {ShowPage(4, L"report_properties_page"), Click(IDC_PG_CUSTOM), Type(IDC_PG_WIDTH, L"wide"),
         Type(IDC_PG_HEIGHT, L"11in"),
         // A size refused with the message is not stored.
         Press(PSBTN_APPLYNOW), Answer(IDOK, [&](HWND box) {
             refusal = classlib_test::StaticTexts(box);
             ::PostMessageW(box, WM_COMMAND, IDOK, 0);
         }),
         Closed(), Check([&] {
             EXPECT_EQ(CTalDocProperties::kPaperTable, report.GetProperties().GetPaperKind());
             EXPECT_EQ(CString(), report.GetProperties().GetCustomWidthText());
         }),
         Type(IDC_PG_WIDTH, L"8.5in"), Apply(), Check([&] {
             EXPECT_NEAR(215.9, sheet->m_pageWidthMm, 1e-9);
             EXPECT_NEAR(279.4, sheet->m_pageHeightMm, 1e-9);
         }),
         Click(IDC_PG_LANDSCAPE), Check([&] {
             swapped[0] = ItemText(Item(IDC_PG_WIDTH));
             landscapeMode = PrinterOrientation();
         }),
         Apply(),
         // Still listening after Apply: the next click swaps back.
         Click(IDC_PG_PORTRAIT), Check([&] {
             swapped[1] = ItemText(Item(IDC_PG_WIDTH));
             // A turn measures the printer's paper again: a printer that
             // reports no size is one whose size reads 0 after the turns.
             GetTalDocumentApp()->SetDefaultPageSize(0, 0);
         }),
         Click(IDC_PG_PRINTER_SIZE), Check([&] {
             EXPECT_EQ(L"210.00", ItemText(Item(IDC_PG_WIDTH)));
             EXPECT_EQ(L"297.00", ItemText(Item(IDC_PG_HEIGHT)));
         }),
         Press(PSBTN_CANCEL)},
        &sheet);
    EXPECT_TRUE(finished);
    EXPECT_EQ(L"11in", swapped[0]);
    EXPECT_EQ(DMORIENT_LANDSCAPE, landscapeMode);
    EXPECT_EQ(L"8.5in", swapped[1]);
    EXPECT_EQ(std::vector<std::wstring>{L"You must enter valid number!"}, refusal);
    // What Apply wrote stays, the sizes upright; Cancel puts the printer back
    // to the document's landscape.
    EXPECT_EQ(CTalDocProperties::kPaperCustom, report.GetProperties().GetPaperKind());
    EXPECT_EQ(CString(L"8.5in"), report.GetProperties().GetCustomWidthText());
    EXPECT_EQ(CString(L"11in"), report.GetProperties().GetCustomHeightText());
    EXPECT_EQ(0, report.GetProperties().GetPortrait());
    EXPECT_EQ(DMORIENT_LANDSCAPE, PrinterOrientation());
    GetTalDocumentApp()->SetDefaultPageSize(width, height);
}

TEST(DocPropertiesPage2, LogoBrowsesWhenMissingAndTheSameFileIsStoredOnce)
{
    CKWTestTempFolder folder(L"tpl");
    const std::wstring picture = WriteLandscapePicture(folder);
    std::wstring upper = picture;
    upper.replace(upper.size() - 8, 4, L"WIDE");
    CTestReport report;
    report.GetProperties().m_titleTemplateName = L"Gone";
    CDocProperties* sheet = nullptr;
    int32_t ids[3] = {};
    CString pathAfterCancel = L"unset";
    const auto applyAndNote = [&](int n) { return Check([&, n] {
        ::SendMessageW(SheetWindow(), PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
        ids[n] = report.GetProperties().m_logoPictureId;
    }); };
    EXPECT_TRUE(RunSheet(
        report, 1,
        {ShowPage(1), PostClick(IDC_TP_INSERT_LOGO),
         Answer(IDOK, [](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }), Closed(), Check([&] {
             EXPECT_EQ(BST_CHECKED, ::SendMessageW(Item(IDC_TP_INSERT_LOGO), BM_GETCHECK, 0, 0));
             pathAfterCancel = static_cast<CDocPropertiesPage2*>(sheet->GetPage(1))->GetLogoPath();
         }),
         PostClick(IDC_TP_BROWSE), AnswerFile(picture), Closed(), applyAndNote(0), PostClick(IDC_TP_BROWSE),
         AnswerFile(picture), Closed(), applyAndNote(1), PostClick(IDC_TP_BROWSE), AnswerFile(upper), Closed(), applyAndNote(2),
         ShowPage(1, L"report_properties_title_page"), Press(PSBTN_OK)},
        &sheet));
    EXPECT_EQ(CString(), pathAfterCancel);
    EXPECT_NE(0, ids[0]);
    EXPECT_EQ(ids[0], ids[1]) << "the same path adds no second copy";
    EXPECT_NE(ids[1], ids[2]) << "a path in other letters is another file";
    EXPECT_EQ(1, report.GetProperties().m_insertLogo);
    // An unknown template keeps the first of the list, or its name when the list is empty.
    const std::vector<CTalTemplate*>& titles = g_TemplateManager.GetTitlePageTemplates();
    EXPECT_EQ(titles.empty() ? CString(L"Gone") : titles[0]->GetName(), report.GetProperties().m_titleTemplateName);
}

// The logo's preview shows the title page's white through the logo's clear
// parts, not the colour the file keeps under them.
TEST(DocPropertiesPage2, ALogosClearPartsShowTheWhitePage)
{
    CKWTestTempFolder folder(L"tpc");
    std::string samples;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x)
            samples += x < 40 ? std::string("\x00\xFF\x00\x00", 4) : std::string("\x00\x00\xFF\xFF", 4);
    const std::wstring logo = folder.Path() + L"clear.png";
    ASSERT_TRUE(WriteFileBytes(logo, testpictures::PngFile(80, 40, 8, true, samples)));
    CTestReport report;
    size_t white = 0, green = 0, blue = 0;
    EXPECT_TRUE(RunSheet(report, 1,
                         {ShowPage(1), PostClick(IDC_TP_BROWSE), AnswerFile(logo), Closed(), Check([&] {
                              const test_support::Pixels pixels = test_support::Capture(Item(IDC_PROP_PREVIEW));
                              for (COLORREF pixel : pixels.values) {
                                  white += pixel == RGB(255, 255, 255);
                                  green += GetGValue(pixel) > 200 && GetRValue(pixel) < 60 && GetBValue(pixel) < 60;
                                  blue += GetBValue(pixel) > 200 && GetRValue(pixel) < 60 && GetGValue(pixel) < 60;
                              }
                          }),
                          ShowPage(1, L"report_properties_transparent_logo"), Press(PSBTN_CANCEL)}));
    EXPECT_EQ(0u, green);
    EXPECT_GT(blue, 100u);
    EXPECT_GT(white, blue / 2) << "the clear half shows white, as large as the blue half";
}

TEST(DocPropertiesPage3, AddNamesByCountAndRemoveSelectsTheNeighbour)
{
    CTestReport report;
    report.GetProperties().AddWatermark(NamedWatermark(L"A"));
    report.GetProperties().AddWatermark(NamedWatermark(L"B"));
    std::wstring offeredName;
    std::vector<int> selections;
    const auto removeSelected = [&] {
        return std::vector<Step>{PostClick(IDC_WMS_REMOVE), Answer(IDYES, [](HWND box) {
                                     ::PostMessageW(box, WM_COMMAND, IDYES, 0);
                                 }),
                                 Closed(), Check([&] {
                                     selections.push_back(
                                         static_cast<int>(::SendMessageW(Item(IDC_WMS_LIST), LB_GETCURSEL, 0, 0)));
                                 })};
    };
    std::vector<Step> steps = {
        ShowPage(2), PostClick(IDC_WMS_ADD), Answer(IDC_WM_NAME, [&](HWND dialog) {
            offeredName = ItemText(::GetDlgItem(dialog, IDC_WM_NAME));
            ::SetDlgItemTextW(dialog, IDC_WM_TEXT, L"Draft");
            ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        }),
        Closed(), ShowPage(2, L"report_properties_watermarks")};
    // The first of three, then the last of two, then the only one.
    for (int select : {0, 1, 0}) {
        steps.push_back(Do([select] { ::SendMessageW(Item(IDC_WMS_LIST), LB_SETCURSEL, select, 0); }));
        for (Step& step : removeSelected())
            steps.push_back(step);
    }
    bool buttonsEnabled = true;
    steps.push_back(Check([&] {
        buttonsEnabled = ::IsWindowEnabled(Item(IDC_WMS_PROPERTIES)) || ::IsWindowEnabled(Item(IDC_WMS_REMOVE));
    }));
    steps.push_back(Press(PSBTN_CANCEL));
    EXPECT_TRUE(RunSheet(report, 2, steps));
    EXPECT_EQ(L"Watermark3", offeredName);
    EXPECT_EQ((std::vector<int>{0, 0, -1}), selections);
    EXPECT_FALSE(buttonsEnabled);
    // Cancelled: the document keeps its two.
    ASSERT_EQ(2u, report.GetProperties().GetWatermarks().size());
    EXPECT_EQ(CString(L"B"), report.GetProperties().GetWatermarks()[1]->m_name);
}

TEST(DocPropertiesPage4, SizeBoxTakesThreeDigitsAndGreyDefaultNotifiesOnce)
{
    CTestReport report;
    // The title style's face is not installed: the font box shows none.
    CTalTextFormat* title = report.GetProperties().GetTextFormat(kTalFormatTitle, true);
    title->m_font = report.GetProperties().GetFontTable().FindOrAdd(L"No Such Face");
    const uint32_t faces = report.GetProperties().GetFontTable().GetCount();
    std::wstring typed;
    const auto typeChars = [&](const wchar_t* chars) {
        return Do([chars] {
            HWND edit = ::GetWindow(Item(IDC_GR_SIZE), GW_CHILD);
            ::SetWindowTextW(edit, L"");
            ::SetFocus(edit);
            for (const wchar_t* c = chars; *c; ++c)
                ::PostMessageW(edit, WM_CHAR, *c, 0);
        });
    };
    EXPECT_TRUE(RunSheet(report, 3,
                         {ShowPage(3, L"report_properties_generate"), typeChars(L"12a34"), Check([&] {
                              typed = ItemText(Item(IDC_GR_SIZE));
                          }),
                          Click(IDC_GR_GRAYSCALE), Apply(), Apply(), Press(PSBTN_OK)}));
    EXPECT_EQ(L"123", typed);
    EXPECT_EQ(123, title->m_size);
    EXPECT_EQ(faces, report.GetProperties().GetFontTable().GetCount()) << "no empty face added";
    EXPECT_EQ(L"No Such Face", report.GetProperties().GetFontTable().GetString(title->m_font));
    EXPECT_EQ(1, report.grayscaleNotes);
    EXPECT_EQ(1, report.GetProperties().m_grayscale);
}

TEST(CWatermarkPropDlg, SizesFollowUnitsProportionsAndTheImageAndANameIsRequired)
{
    CKWTestTempFolder folder(L"wmd");
    const std::wstring picture = WriteLandscapePicture(folder);
    const int32_t pictureId = static_cast<int32_t>(g_rasterLib.GetPictureId(picture.c_str()));
    CTestReport report;  // A4 portrait
    CDocProperties sheet(L"Document Properties", nullptr, &report);
    const auto chooseUnit = [](HWND dialog, int row) {
        ::SendDlgItemMessageW(dialog, IDC_WM_UNIT, CB_SETCURSEL, row, 0);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_WM_UNIT, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDC_WM_UNIT)));
    };
    const struct {
        int32_t picture, unit;
        double width, height;
        std::function<void(HWND)> edit;
        const wchar_t *width_, *height_;
        int32_t unitAfter;
        double widthAfter;
    } cases[] = {
        // Choosing the unit shown changes nothing; mm to inch converts.
        {pictureId, 8, 25.4, 25.4, [&](HWND d) { chooseUnit(d, 1); chooseUnit(d, 0); }, L"1.00", L"1.00", 4, 1},
        {pictureId, 4, 1, 0.5, [](HWND d) { ::SetDlgItemTextW(d, IDC_WM_WIDTH, L"100"); }, L"100", L"50.00", 4, 100},
        // A new landscape picture takes 80 % of the A4 width.
        {0, 4, 0, 0,
         [&](HWND d) {
             chooseUnit(d, 1);
             ::SetDlgItemTextW(d, IDC_WM_IMAGE, picture.c_str());
         },
         L"168.00", L"84.00", 8, 168},
        // A new watermark's unit counts as inches, as the exports read it:
        // shown as it is and kept by OK.
        {pictureId, 7, 3, 1.5, [](HWND) {}, L"3", L"1.5", 4, 3},
    };
    for (const auto& c : cases) {
        CTalWatermark mark;
        mark.m_kind = CTalWatermark::kImage;
        mark.m_name = L"Logo";
        mark.m_pictureId = c.picture;
        mark.m_unit = c.unit;
        mark.m_width = c.width;
        mark.m_height = c.height;
        std::wstring shown[2];
        CWatermarkPropDlg dialog(&mark, &sheet);
        CSteps run({Answer(IDC_WM_NAME, [&](HWND d) {
            c.edit(d);
            shown[0] = ItemText(::GetDlgItem(d, IDC_WM_WIDTH));
            shown[1] = ItemText(::GetDlgItem(d, IDC_WM_HEIGHT));
            if (c.unit == 7)
                test_support::WriteWindowScreenshot(d, L"watermark_properties");
            ::PostMessageW(d, WM_COMMAND, IDOK, 0);
        })});
        EXPECT_EQ(IDOK, dialog.DoModal()) << c.width_;
        EXPECT_EQ(c.width_, shown[0]);
        EXPECT_EQ(c.height_, shown[1]);
        EXPECT_EQ(c.unitAfter, mark.m_unit) << c.width_;
        EXPECT_NEAR(c.widthAfter, mark.m_width, 0.005) << c.width_;
    }

    // An empty name is refused with its message and the dialog stays.
    CTalWatermark mark;
    std::vector<std::wstring> message;
    bool stillOpen = false;
    CWatermarkPropDlg dialog(&mark, &sheet);
    CSteps run({Answer(IDC_WM_NAME, [](HWND d) { ::PostMessageW(d, WM_COMMAND, IDOK, 0); }),
                [&] {
                    HWND box = classlib_test::FindThreadDialog(classlib_test::FindThreadDialog(nullptr, IDC_WM_NAME));
                    if (!box)
                        return false;
                    message = classlib_test::StaticTexts(box);
                    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                    return true;
                },
                Answer(IDC_WM_NAME, [&](HWND d) {
                    stillOpen = true;
                    ::PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
                })});
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(std::vector<std::wstring>{L"You should specify the name of watermark"}, message);
}

TEST(WatermarkDrawing, PlacesTextsAndPageNumbersByTheirRowsOffsetsAndSizesImagesInTheirUnits)
{
    CKWTestTempFolder folder(L"wmp");
    const std::wstring picture = WriteLandscapePicture(folder);
    CKWIndexDecoder fonts;
    const CRect page(10, 20, 220, 317);  // 210 x 297 pixels for an A4 page
    // The anchors of the columns and rows: 5 %, 50 % and 95 % across and
    // down the page, cut to whole pixels.
    const double anchorX[3] = {20, 115, 209};
    const double anchorY[3] = {34, 168, 302};
    const double charWidth = test_support::CRecordingGraphics::kCharWidth;

    // A text rises from its row's anchor by half its format's size (middle
    // row) or the whole size (bottom row), taken as pixels, whatever size it
    // is drawn at: 48 points on the 210-pixel page are drawn at 210 x (48 /
    // (96 x 0.13889)) x 0.02 = 15.12 points.
    struct TextCase {
        int16_t size;
        int row;
        double rise;
        double drawn;
    };
    const TextCase texts[] = {
        {6, 0, 0, 1.89},  {6, 1, 3, 1.89},    {6, 2, 6, 1.89},    {12, 0, 0, 3.78}, {12, 1, 6, 3.78},
        {12, 2, 12, 3.78}, {36, 0, 0, 11.34}, {36, 1, 18, 11.34}, {36, 2, 36, 11.34}, {48, 1, 24, 15.12},
    };
    for (const TextCase& c : texts) {
        CTalWatermark draft;
        draft.m_kind = CTalWatermark::kText;
        draft.m_place = c.row * 3 + 1;
        draft.m_text = L"DRAFT";
        draft.m_textFormat.m_size = c.size;
        test_support::CRecordingGraphics graphics(96);
        TalDrawWatermark(graphics, page, draft, 210, 297, fonts);
        ASSERT_FALSE(graphics.texts.empty()) << c.size;
        const auto& drawn = graphics.texts.back();
        EXPECT_NEAR(c.drawn, drawn.size, 0.01) << c.size;
        EXPECT_DOUBLE_EQ(anchorY[c.row] - c.rise, drawn.y) << c.size << " in row " << c.row;
        EXPECT_DOUBLE_EQ(anchorX[1] - 5 * charWidth * 0.5, drawn.x) << "centred on the anchor";
    }

    // A page number is 10 points in the screen's dots per point, which is
    // under one point, so it is drawn at the 6 points that can be read, on
    // any page at any resolution; it rises 3 pixels (middle row) or 6
    // (bottom row) from its anchor, right-aligned in the right column.
    CTalWatermark number;
    number.m_kind = CTalWatermark::kPageNumber;
    number.m_firstNumber = 12;
    struct NumberCase {
        CRect page;
        int dpi;
        int row;
        double x, y;
    };
    const NumberCase numbers[] = {
        {page, 96, 0, anchorX[2], anchorY[0]},      {page, 96, 1, anchorX[2], anchorY[1] - 3},
        {page, 96, 2, anchorX[2], anchorY[2] - 6},  {CRect(0, 0, 500, 707), 96, 2, 475, 671 - 6},
        {page, 300, 2, anchorX[2], anchorY[2] - 6},
    };
    for (const NumberCase& c : numbers) {
        number.m_place = c.row * 3 + 2;
        test_support::CRecordingGraphics graphics(c.dpi);
        TalDrawWatermark(graphics, c.page, number, 210, 297, fonts);
        ASSERT_FALSE(graphics.texts.empty());
        const auto& drawn = graphics.texts.back();
        EXPECT_EQ(L"12", drawn.text);
        EXPECT_NEAR(6.0, drawn.size, 1e-9) << c.page.Width() << " at " << c.dpi;
        EXPECT_DOUBLE_EQ(c.x - 2 * charWidth, drawn.x) << c.page.Width();
        EXPECT_DOUBLE_EQ(c.y, drawn.y) << c.page.Width() << " in row " << c.row;
    }

    // Drawn for real on the 90 x 127 page of the dialog's preview, the
    // bottom right number is ink of some pixels' height that starts at most
    // 6 pixels above the 95 % line.
    number.m_place = CTalWatermark::kPlaceBottomRight;
    ASSERT_TRUE(StartupGdiPlus());
    GdiPlusCanvas canvas(100, 140);
    ASSERT_TRUE(canvas.IsReady());
    TalDrawWatermark(canvas.Draw(), CRect(5, 5, 95, 132), number, 210, 297, fonts);
    RECT ink = {};
    ASSERT_TRUE(canvas.InkBounds(ink)) << "the number shows";
    EXPECT_GE(ink.bottom - ink.top, 4) << "digits of a readable height";
    EXPECT_LE(ink.right, 5 + static_cast<int>(90 * 0.95) + 1);
    EXPECT_GE(ink.top, 5 + static_cast<int>(127 * 0.95) - 6);

    // 30 mm and 30/25.4 in (codes 4 and 7 alike) are all 30 pixels of the 210-pixel page.
    for (const auto& size : {std::pair<int, double>{7, 30 / 25.4}, {8, 30.0}, {4, 30 / 25.4}}) {
        CTalWatermark image;
        image.m_kind = CTalWatermark::kImage;
        image.m_place = CTalWatermark::kPlaceTopLeft;
        image.m_pictureId = static_cast<int32_t>(g_rasterLib.GetPictureId(picture.c_str()));
        image.m_unit = size.first;
        image.m_width = size.second;
        image.m_height = size.second;
        test_support::CRecordingGraphics pictures(96);
        TalDrawWatermark(pictures, page, image, 210, 297, fonts);
        ASSERT_EQ(1u, pictures.images.size()) << size.first;
        EXPECT_NEAR(30.0, pictures.images[0].width, 1e-9) << size.first;
        EXPECT_DOUBLE_EQ(20, pictures.images[0].x) << "the 5 % anchor";
    }
}

TEST(DocPropertiesPage2, TemplatesAreThumbnailsOfTheListFacadeWithTheDefaultPictureForAMissingPreview)
{
    CKWTestTempFolder folder(L"tpv");
    const auto previewId = static_cast<int32_t>(g_rasterLib.GetPictureId(WriteLandscapePicture(folder).c_str()));
    g_TemplateManager.Clear();
    const struct {
        const wchar_t* name;
        const wchar_t* title;
        int32_t preview;
    } shipped[] = {{L"classic.ott", L"Classic", previewId}, {L"bare.v2.ott", L"", 0}};
    for (const auto& t : shipped) {
        auto* tmpl = new CTalTemplate;
        tmpl->SetName(t.name);
        tmpl->SetTitle(t.title);
        tmpl->SetPreviewPictureId(t.preview);
        g_TemplateManager.AddTitlePageTemplate(tmpl);
    }
    CTestReport report;
    report.GetProperties().m_titleTemplateName = L"classic.ott";
    CDocProperties* sheet = nullptr;
    std::vector<std::wstring> labels;
    std::vector<int32_t> ids;
    std::vector<bool> defaults;
    int selected = -2;
    EXPECT_TRUE(RunSheet(report, 1,
                         {ShowPage(1), Check([&] {
                              CKWListImagesView& list = static_cast<CDocPropertiesPage2*>(sheet->GetPage(1))->GetTemplateList();
                              for (int i = 0; i < list.GetItemCount(); ++i) {
                                  labels.push_back(std::wstring(list.GetItemText(i)));
                                  auto* data = dynamic_cast<CTalImageViewData*>(list.GetItemData(i));
                                  ids.push_back(data ? static_cast<int32_t>(data->GetPictureId()) : -1);
                                  defaults.push_back(edtest::ShowsDefaultPicture(Item(IDC_TP_TEMPLATES), i));
                              }
                              selected = list.GetFirstSelected();
                          }),
                          ShowPage(1, L"report_properties_title_templates"), Press(PSBTN_CANCEL)},
                         &sheet));
    g_TemplateManager.Clear();
    // Sorted by title: the untitled one first, named by its name's first part.
    EXPECT_EQ((std::vector<std::wstring>{L"bare", L"Classic"}), labels);
    EXPECT_EQ((std::vector<int32_t>{0, previewId}), ids);
    EXPECT_EQ((std::vector<bool>{true, false}), defaults) << "a missing preview shows the default picture";
    EXPECT_EQ(1, selected) << "the report's template";
}

// The wizard's image page runs like the sheet, shown first.
TEST(WizardImagePage, ASectionsPicturesAreThumbnailsOfTheListFacadeAndOneWithoutImageShowsTheDefault)
{
    CKWTestTempFolder folder(L"wip");
    const auto shown = static_cast<int32_t>(g_rasterLib.GetPictureId(WriteLandscapePicture(folder).c_str()));
    const auto unreadable = static_cast<int32_t>(g_rasterLib.GetPictureId((folder.Path() + L"gone.jpg").c_str()));
    CStructedWizard wizard;
    CKWRefPtr<CTalSection> heading = wizard.GetWizardDocument()->GetProperties().GetHeadingSection();
    ASSERT_TRUE(heading);
    const struct {
        int32_t id;
        const wchar_t* title;
    } pictures[] = {{shown, L"wide"}, {0, L"none"}, {unreadable, L"gone"}};
    int at = 0;
    for (const auto& p : pictures) {
        CKWRefPtr<CTalPicture> picture(new CTalPicture(heading.Get()));
        picture->SetPictureId(p.id);
        picture->SetTitle(p.title);
        heading->InsertPicture(at++, picture.Get());
    }
    wizard.SetActivePage(2);
    std::vector<std::wstring> titles;
    std::vector<int32_t> ids;
    std::vector<bool> defaults;
    CSteps run({[&] {
                    HWND page = SheetWindow() ? CurrentPage() : nullptr;
                    if (!page || !::GetDlgItem(page, 1006))
                        return false;
                    CKWListImagesView& list = static_cast<CStructedWizardPage3*>(wizard.GetPage(2))->GetImageList();
                    for (int i = 0; i < list.GetItemCount(); ++i) {
                        titles.push_back(std::wstring(list.GetItemText(i)));
                        auto* data = dynamic_cast<CTalImageViewData*>(list.GetItemData(i));
                        ids.push_back(data ? static_cast<int32_t>(data->GetPictureId()) : -1);
                        defaults.push_back(edtest::ShowsDefaultPicture(::GetDlgItem(page, 1006), i));
                    }
                    test_support::WriteWindowScreenshot(SheetWindow(), L"editor_wizard_default_picture");
                    return true;
                },
                Press(PSBTN_CANCEL)});
    EXPECT_EQ(IDCANCEL, wizard.DoModal());
    EXPECT_TRUE(run.Finished());
    EXPECT_EQ((std::vector<std::wstring>{L"wide", L"none", L"gone"}), titles);
    EXPECT_EQ((std::vector<int32_t>{shown, 0, unreadable}), ids);
    EXPECT_EQ((std::vector<bool>{false, true, false}), defaults)
        << "no image in the store: the default picture; an unreadable file: the store's placeholder";
    heading->Detach();
}
