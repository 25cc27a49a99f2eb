// Photographs whose files are cut short after the program checked them, in
// the real program driven by the user's hand: one cut after a first PDF was
// written, one cut while the warning before the next PDF's writing is up.
// Each goes into the PDF as the placeholder, and a warning names it as
// damaged, before the writing or after it, in every generation; a sound
// photograph goes in as it is.
#include "ProgramMenus.h"
#include "ProgramRun.h"
#include "SectionsReport.h"
#include "ProgramInput.h"
#include "UserInput.h"

#include "framework/KWPictureProblem.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/KeepForReaders.h"
#include "tests/support/PictureSizes.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/WindowPixels.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using edtest::CProgramRun;

namespace {

constexpr int kFileNameCombo = 0x47C;
constexpr UINT kGeneratePdf = 32837;
// What is left of a cut photograph.
constexpr size_t kCutTo = 100 * 1024;

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// The picture warning on the screen, once it names the file.
HWND WaitForWarningNaming(const CProgramRun& program, const std::wstring& path)
{
    HWND warning = nullptr;
    edtest::WaitFor([&] {
        warning = program.FindDialog();
        const std::wstring text = warning ? CProgramRun::DialogText(warning) : std::wstring();
        return text.find(kKWPictureProblemsHeading) != std::wstring::npos && text.find(path) != std::wstring::npos;
    }, 60000);
    return warning && CProgramRun::DialogText(warning).find(path) != std::wstring::npos ? warning : nullptr;
}

// Cuts the file short as soon as no reader of the program holds it.
bool CutShort(const std::wstring& path)
{
    const std::string bytes = ReadFileBytes(path);
    return bytes.size() > kCutTo && edtest::WaitFor([&] { return WriteFileBytes(path, bytes.substr(0, kCutTo)); });
}

// A screenshot of the warning once its text is drawn (the box paints when
// its thread comes to it).
void Photograph(HWND warning, const wchar_t* name)
{
    edtest::WaitFor([&] {
        const test_support::Pixels pixels = test_support::Capture(warning, false);
        return pixels.width > 0 && !pixels.Bounds(pixels.At(0, 0), 4).IsRectEmpty();
    });
    test_support::WriteWindowScreenshot(warning, name);
}

// "Generate Report in PDF..." from the menu, the file named in its dialog;
// replace: the file is there, and the dialog's question is answered yes.
bool Generate(const CProgramRun& program, const std::wstring& path, bool replace)
{
    edtest::ChooseFromMenu(program, static_cast<int>(kGeneratePdf));
    HWND save = program.WaitForDialogWith(kFileNameCombo);
    if (!save || !edtest::AnswerFileDialogByKeys(save, path))
        return false;
    if (!replace)
        return true;
    HWND ask = program.WaitForDialogWith(IDYES);
    if (!ask)
        return false;
    edtest::ClickWindow(::GetDlgItem(ask, IDYES));
    return true;
}

// The placeholder's size, from the bitmap in the program's resources.
SIZE PlaceholderSize()
{
    HMODULE self = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(222), L"QUARTZ");
    const uint8_t* bytes = found ? static_cast<const uint8_t*>(::LockResource(::LoadResource(self, found))) : nullptr;
    if (!bytes || ::SizeofResource(self, found) < 26 || bytes[0] != 'B' || bytes[1] != 'M')
        return SIZE{0, 0};
    auto le32 = [&](size_t at) {
        return LONG(bytes[at]) | LONG(bytes[at + 1]) << 8 | LONG(bytes[at + 2]) << 16 | LONG(bytes[at + 3]) << 24;
    };
    const LONG height = le32(22);
    return SIZE{le32(18), height < 0 ? -height : height};
}

}  // namespace

TEST(ProgramChangedPicture, APhotographCutShortAfterItsCheckGoesIntoThePdfAsThePlaceholderAndIsNamed)
{
    using namespace testpictures;
    CKWTestTempFolder folder(L"chp");
    // Photographs of some hundreds of kilobytes, and one damaged from the start.
    const struct {
        const wchar_t* name;
        uint32_t seed;
    } photographs[] = {{L"cut after a PDF.jpg", 1}, {L"damaged.jpg", 2}, {L"whole.jpg", 3}, {L"cut while asked.jpg", 4}};
    std::vector<std::wstring> paths;
    std::vector<std::string> sound;
    for (const auto& photograph : photographs) {
        sound.push_back(EncodeJpeg(PhotoPixels(1200, 900, photograph.seed, 40), 1200, 900));
        ASSERT_GT(sound.back().size(), 2 * kCutTo);
        paths.push_back(folder.Write(photograph.name, sound.back()));
    }
    const std::wstring& cutAfterReading = paths[0];
    const std::wstring& damaged = paths[1];
    const std::wstring& whole = paths[2];
    const std::wstring& cutWhileAsked = paths[3];
    ASSERT_TRUE(WriteFileBytes(damaged, sound[1].substr(0, sound[1].size() / 2)));
    const std::wstring report =
        folder.Write(L"Changed.otd", edtest::SectionsReportXml({{L"Shown", {cutAfterReading, damaged, whole}},
                                                                 {L"Later", {cutWhileAsked}}}));

    CProgramRun program;
    ASSERT_TRUE(edtest::StartOnReport(program, report));

    // A first PDF: the check before it names the damaged photograph.
    const std::wstring pdf = folder.Path() + L"Changed.pdf";
    ASSERT_TRUE(Generate(program, pdf, false));
    HWND warning = WaitForWarningNaming(program, damaged + L" is damaged.");
    ASSERT_NE(nullptr, warning);
    const std::wstring first = CProgramRun::DialogText(warning);
    for (const std::wstring* sound : {&cutAfterReading, &whole, &cutWhileAsked})
        EXPECT_EQ(std::wstring::npos, first.find(*sound)) << Narrow(first);
    edtest::ClickWindow(::GetDlgItem(warning, IDOK));
    // The generation is over once the PDF is in place and the program takes
    // messages again: it checks the pictures once more after writing.
    ASSERT_TRUE(edtest::WaitFor(
        [&] { return ::GetFileAttributesW(pdf.c_str()) != INVALID_FILE_ATTRIBUTES && !program.FindDialog(); },
        60000));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(program.Main(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer));
    ASSERT_EQ(nullptr, program.FindDialog()) << "no warning after the first PDF";

    // Checked sound, then cut: the check before the next PDF names it, and
    // the damaged one again, as it goes in as the placeholder again.
    ASSERT_TRUE(CutShort(cutAfterReading));
    ASSERT_TRUE(Generate(program, pdf, true));
    warning = WaitForWarningNaming(program, cutAfterReading + L" is damaged.");
    ASSERT_NE(nullptr, warning);
    const std::wstring before = CProgramRun::DialogText(warning);
    EXPECT_NE(std::wstring::npos, before.find(damaged + L" is damaged.")) << Narrow(before);
    EXPECT_EQ(std::wstring::npos, before.find(cutWhileAsked)) << "checked sound: " << Narrow(before);
    Photograph(warning, L"editor_picture_cut_before_generation");

    // Checked sound by that check, and cut while its warning waits: the PDF
    // is written after, and the warning that follows it names the photograph.
    ASSERT_TRUE(CutShort(cutWhileAsked));
    edtest::ClickWindow(::GetDlgItem(warning, IDOK));
    HWND after = WaitForWarningNaming(program, cutWhileAsked + L" is damaged.");
    ASSERT_NE(nullptr, after);
    const std::wstring afterText = CProgramRun::DialogText(after);
    EXPECT_EQ(std::wstring::npos, afterText.find(cutAfterReading)) << Narrow(afterText);
    EXPECT_EQ(std::wstring::npos, afterText.find(damaged)) << Narrow(afterText);
    Photograph(after, L"editor_picture_cut_during_generation");
    // The PDF stands in its place before the warning: it was written whole.
    EXPECT_TRUE(::GetFileAttributesW(pdf.c_str()) != INVALID_FILE_ATTRIBUTES);
    edtest::ClickWindow(::GetDlgItem(after, IDOK));
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));

    // The pictures in the order the pages first show them: the placeholder
    // for both cut photographs and the damaged one, the whole one as it is.
    const std::string written = ReadFileBytes(pdf);
    const std::vector<SIZE> images = test_support::PdfImageSizes(written);
    const SIZE placeholder = PlaceholderSize();
    ASSERT_GT(placeholder.cx, 0);
    const SIZE expected[] = {placeholder, placeholder, {1200, 900}, placeholder};
    ASSERT_EQ(4u, images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        EXPECT_EQ(expected[i].cx, images[i].cx) << Narrow(paths[i]);
        EXPECT_EQ(expected[i].cy, images[i].cy) << Narrow(paths[i]);
    }
    EXPECT_NE(std::string::npos, written.find(sound[2])) << "the whole photograph goes in as it is";
    for (const std::wstring* cut : {&cutAfterReading, &cutWhileAsked}) {
        const std::string bytes = ReadFileBytes(*cut);
        EXPECT_EQ(std::string::npos, written.find(bytes.substr(bytes.size() - 256))) << Narrow(*cut);
    }
    KeepForReaders("OT_PDF_CHECK_DIR", pdf, L"editor_changed_pictures.pdf");

    // The section copied, then the whole photograph's file gone: its paste names it.
    HWND tree = CProgramRun::FindById(CProgramRun::FindById(program.ActiveFrame(), 0xE900), 1126);
    const LPARAM heading = edtest::TreeChildren(tree, 0).at(0);
    ASSERT_TRUE(edtest::ClickTreeItem(tree, reinterpret_cast<HTREEITEM>(edtest::TreeChildren(tree, heading).at(0))));
    edtest::PressChord(VK_CONTROL, 'C');
    ASSERT_TRUE(edtest::WaitFor([] { return ::IsClipboardFormatAvailable(::RegisterClipboardFormatW(L"Tallier Objects")); }));
    ASSERT_TRUE(edtest::WaitFor([&] { return ::DeleteFileW(whole.c_str()) != FALSE; }));
    edtest::PressChord(VK_CONTROL, 'V');
    HWND pasted = WaitForWarningNaming(program, L"Cannot open file " + whole);
    ASSERT_NE(nullptr, pasted);
    edtest::ClickWindow(::GetDlgItem(pasted, IDOK));
    EXPECT_TRUE(program.CloseWithoutSaving());
}
