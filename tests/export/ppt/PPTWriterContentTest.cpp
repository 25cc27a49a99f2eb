// Text-note blocks, pictures and their linked files, failures, and a report
// composed from a document model written end to end.
#include "tests/export/CountingProgress.h"
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>

#include "export/ComposeExportPages.h"
#include "export/TalPageExport.h"
#include "export/ppt/PPTWriter.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWIndexDecoder.h"
#include "framework/KWProgressInterface.h"
#include "framework/KWRasterLib.h"
#include "framework/KWRefPtr.h"
#include "model/TalDocProperties.h"
#include "model/TalSection.h"
#include "model/TalTemplate.h"
#include "model/TalTextFormat.h"
#include "model/TalTextNote.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/ppt/PptFileCheck.h"

namespace {

TalPageExport* NewPage(TalPageList& pages)
{
    TalPageExport* page = new TalPageExport(kSectionPage, L"Section", nullptr);
    pages.push_back(page);
    return page;
}

bool Write(const TalPageList& pages, const std::wstring& path, CKWProgressInterface* progress = nullptr)
{
    PPTWriter writer;
    writer.SetProgress(progress);
    return writer.Export(pages, 2540, 1905, nullptr, CString(path.c_str()));
}

std::vector<int32_t> Anchor(const ShapeInfo& shape)
{
    return {shape.left, shape.top, shape.right, shape.bottom};
}

// A note with the given runs and paragraphs (character counts).
void SetNote(CTalTextNote& note, const wchar_t* text, const std::vector<CKWCharFormat>& runs,
             const std::vector<std::pair<uint32_t, uint8_t>>& paras)
{
    note.ClearRuns();
    note.ClearParas();
    note.AssignText(CString(text));
    for (const CKWCharFormat& run : runs)
        note.AppendRun(new CKWCharFormat(run));
    for (const auto& para : paras) {
        CKWParaFormat* record = new CKWParaFormat;
        record->m_count = para.first;
        record->m_align = para.second;
        note.AppendPara(record);
    }
}

CKWCharFormat MakeRun(uint32_t count, uint8_t style, int16_t size, const CKWColor& color, uint32_t font = 0)
{
    CKWCharFormat run;
    run.m_count = count;
    run.m_style = style;
    run.m_size = size;
    run.m_color = color;
    run.m_fontIndex = font;
    return run;
}

TalObjExport* NoteBlock(CTalTextNote* note, int32_t start, int32_t end)
{
    return new TalObjExport(note, start, end, CKWDoubleRect(0, 0, 0.5, 0.5), TextExportLine());
}

long long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool IsFolderAt(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TEST(PPTWriterText, NoteBlocksCarryTheirParagraphAndCharacterRuns)
{
    // "Hello\n" | "World\n" (centred) | "End"; runs "Hello\nWo" bold 24
    // black, then "rld\nEnd" italic 14 red in font 3.
    CKWRefPtr<CTalTextNote> note(new CTalTextNote());
    SetNote(*note, L"Hello\nWorld\nEnd",
            {MakeRun(8, CKWCharFormat::kBold, 24, CKWColor::FromRgb(0, 0, 0)),
             MakeRun(7, CKWCharFormat::kItalic, 14, CKWColor::FromRgb(255, 0, 0), 3)},
            {{6, 0}, {6, 1}, {3, 2}});

    CExportTestFolder folder;
    CTestPages pages;
    TalPageExport* page = NewPage(pages.List());
    page->AddObject(NoteBlock(note.Get(), 6, -1));  // "World\nEnd"
    page->AddObject(NoteBlock(note.Get(), 0, 8));   // "Hello\nWo"
    page->AddObject(NoteBlock(note.Get(), 3, 4));   // "l"
    const std::wstring path = folder.Path() + L"note.ppt";
    ASSERT_TRUE(Write(pages.List(), path));

    Presentation p;
    LoadPresentation(path, 1, p);
    if (HasFatalFailure())
        return;
    const std::vector<ShapeInfo> boxes = TextBoxes(p, *p.slides[0]);
    ASSERT_EQ(3u, boxes.size());

    EXPECT_EQ(L"World\rEnd", boxes[0].text);
    ASSERT_EQ(2u, boxes[0].paragraphs.size());
    EXPECT_EQ(6u, boxes[0].paragraphs[0].count);
    EXPECT_EQ(0x800u, boxes[0].paragraphs[0].mask);
    EXPECT_EQ(1, boxes[0].paragraphs[0].alignment);
    EXPECT_EQ(4u, boxes[0].paragraphs[1].count);
    EXPECT_EQ(2, boxes[0].paragraphs[1].alignment);
    ASSERT_EQ(2u, boxes[0].characters.size());
    EXPECT_EQ(2u, boxes[0].characters[0].count);
    EXPECT_EQ(0x10001u, boxes[0].characters[0].mask);  // bold; 24 points and black are not written
    EXPECT_EQ(8u, boxes[0].characters[1].count);
    EXPECT_EQ(0x70002u, boxes[0].characters[1].mask);
    EXPECT_EQ(14, boxes[0].characters[1].size);
    EXPECT_EQ(0xFE0000FFu, boxes[0].characters[1].color);
    EXPECT_EQ(1, boxes[0].characters[1].font);

    EXPECT_EQ(L"Hello\rWo", boxes[1].text);
    ASSERT_EQ(2u, boxes[1].paragraphs.size());
    EXPECT_EQ(6u, boxes[1].paragraphs[0].count);
    EXPECT_EQ(0u, boxes[1].paragraphs[0].mask);
    EXPECT_EQ(3u, boxes[1].paragraphs[1].count);
    ASSERT_EQ(1u, boxes[1].characters.size());
    EXPECT_EQ(9u, boxes[1].characters[0].count);

    EXPECT_EQ(L"l", boxes[2].text);
    ASSERT_EQ(1u, boxes[2].paragraphs.size());
    EXPECT_EQ(2u, boxes[2].paragraphs[0].count);
    EXPECT_EQ(2u, boxes[2].characters[0].count);
}

TEST(PPTWriterText, RunsAlwaysCoverTheBoxAndOneMore)
{
    // Runs and paragraphs that stop short of the text, or are missing.
    CKWRefPtr<CTalTextNote> shortRuns(new CTalTextNote());
    SetNote(*shortRuns, L"abc\ndefghij", {MakeRun(2, 0, 10, CKWColor())}, {{4, 1}});
    CKWRefPtr<CTalTextNote> noRecords(new CTalTextNote());
    SetNote(*noRecords, L"xyz", {}, {});
    CKWRefPtr<CTalTextNote> empty(new CTalTextNote());
    SetNote(*empty, L"", {}, {});

    CExportTestFolder folder;
    CTestPages pages;
    TalPageExport* page = NewPage(pages.List());
    page->AddObject(NoteBlock(shortRuns.Get(), 5, -1));   // beyond the last run
    page->AddObject(NoteBlock(shortRuns.Get(), 0, 100));  // end beyond the text
    page->AddObject(NoteBlock(noRecords.Get(), 0, -1));
    page->AddObject(NoteBlock(empty.Get(), 0, -1));       // no box
    page->AddObject(NoteBlock(shortRuns.Get(), 20, -1));  // starts past the text: no text
    const std::wstring path = folder.Path() + L"runs.ppt";
    ASSERT_TRUE(Write(pages.List(), path));

    Presentation p;
    LoadPresentation(path, 1, p);
    if (HasFatalFailure())
        return;
    const std::vector<ShapeInfo> boxes = TextBoxes(p, *p.slides[0]);
    // LoadPresentation's decoder checks that every run list adds up to L + 1.
    // A block that starts past the text keeps its shape, without text.
    ASSERT_EQ(4u, boxes.size());
    EXPECT_FALSE(boxes[3].hasText);
    EXPECT_EQ(L"efghij", boxes[0].text);
    ASSERT_EQ(1u, boxes[0].characters.size());
    EXPECT_EQ(7u, boxes[0].characters[0].count);
    // The last record of each list reaches to the end of the text.
    EXPECT_EQ(L"abc\rdefghij", boxes[1].text);
    ASSERT_EQ(1u, boxes[1].paragraphs.size());
    EXPECT_EQ(12u, boxes[1].paragraphs[0].count);
    EXPECT_EQ(1, boxes[1].paragraphs[0].alignment);
    ASSERT_EQ(1u, boxes[1].characters.size());
    EXPECT_EQ(12u, boxes[1].characters[0].count);
    EXPECT_EQ(L"xyz", boxes[2].text);
    EXPECT_EQ(4u, boxes[2].paragraphs[0].count);
    EXPECT_EQ(4u, boxes[2].characters[0].count);
}

TEST(PPTWriterText, TextIdsCountOverTheWholeExport)
{
    CExportTestFolder folder;
    CTestPages pages;
    CTalTextFormat format;
    CountingProgress progress;
    for (int i = 0; i < 3; ++i)
        NewPage(pages.List())->AddObject(new TalObjExport(CString(L"t"), CKWDoubleRect(0, 0, 1, 1), &format));
    const std::wstring path = folder.Path() + L"three.ppt";
    ASSERT_TRUE(Write(pages.List(), path, &progress));
    EXPECT_EQ(3 + 2, progress.steps);

    Presentation p;
    LoadPresentation(path, 3, p);
    if (HasFatalFailure())
        return;
    for (size_t i = 0; i < 3; ++i) {
        const std::vector<ShapeInfo> boxes = TextBoxes(p, *p.slides[i]);
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(8007620u + 96 * i, boxes[0].properties.at(0x0080));
        // Each slide's drawing begins on its own block of ids.
        EXPECT_EQ(2048u + 1024 * i + 1, boxes[0].id);
        const PptRecord& atom = p.slides[i]->children[0];
        EXPECT_EQ(256u + i, U32At(p.doc, atom.Body() + 16));
    }
    const std::vector<const PptRecord*> lists = p.document->Children(4080);
    ASSERT_EQ(2u, lists.size());
    const std::vector<const PptRecord*> atoms = lists[1]->Children(1011);
    ASSERT_EQ(3u, atoms.size());
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(256u + i, U32At(p.doc, atoms[i]->Body() + 12));
    const PptRecord* dgg = p.document->Find(0xF006);
    ASSERT_NE(nullptr, dgg);
    EXPECT_EQ(4u, U32At(p.doc, dgg->Body() + 12));
}

class PPTWriterPictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_first = m_folder.MakeFolder(L"a") + L"pic.bmp";
        m_second = m_folder.MakeFolder(L"b") + L"pic.bmp";
        ASSERT_TRUE(WriteTestBmp(m_first, 40, 20));
        ASSERT_TRUE(WriteTestBmp(m_second, 20, 10));
        m_firstId = g_rasterLib.GetPictureId(m_first.c_str());
        m_secondId = g_rasterLib.GetPictureId(m_second.c_str());
        SIZE size = {0, 0};
        g_rasterLib.GetImageSize(m_firstId, size);
        m_sizesKnown = size.cx == 40 && size.cy == 20;
    }

    CExportTestFolder m_folder;
    std::wstring m_first, m_second;
    uint32_t m_firstId = 0, m_secondId = 0;
    bool m_sizesKnown = false;
};

TEST_F(PPTWriterPictures, PictureFramesLinkToCopiesBesideTheFile)
{
    CTalTextFormat format;
    CTestPages pages;
    TalPageExport* page = NewPage(pages.List());
    page->AddObject(new TalObjExport(m_firstId));  // background
    page->AddObject(new TalObjExport(m_firstId, CKWDoubleRect(0, 0, 0.5, 0.5), 0, true));
    TalObjExport* turned = new TalObjExport(m_secondId, CKWDoubleRect(0.5, 0.5, 1, 1), 270, false);
    turned->GetImageRecord()->SetString(CString(L"Desc"));
    turned->GetImageRecord()->SetFormat(&format);
    page->AddObject(turned);
    page->AddObject(new TalObjExport(m_firstId, 1.0, 0.5, 0));  // watermark, top left
    page->AddObject(new TalObjExport(m_secondId, CKWDoubleRect(0, 0.5, 0.5, 1), -90, false));
    const std::wstring path = m_folder.Path() + L"report.ppt";
    ASSERT_TRUE(Write(pages.List(), path));

    Presentation p;
    LoadPresentation(path, 1, p);
    if (HasFatalFailure())
        return;
    const std::vector<ShapeInfo> pictures = Pictures(p, *p.slides[0]);
    ASSERT_EQ(5u, pictures.size());
    for (const ShapeInfo& picture : pictures) {
        EXPECT_EQ(0xA00u, picture.flags);
        EXPECT_EQ(13u, picture.properties.at(0x0106));
        EXPECT_EQ(0xC000, picture.propertyFlags.at(0x0105));
        EXPECT_EQ(0x00090000u, picture.properties.at(0x01FF));
    }
    const std::wstring firstLink = L"report_Images\\pic.bmp";
    const std::wstring secondLink = L"report_Images\\pic_2.bmp";
    EXPECT_EQ(firstLink, ComplexText(pictures[0].complex.at(0x0105)));
    EXPECT_EQ(firstLink, ComplexText(pictures[1].complex.at(0x0105)));
    EXPECT_EQ(secondLink, ComplexText(pictures[2].complex.at(0x0105)));
    EXPECT_EQ(2 * secondLink.size() + 2, pictures[2].properties.at(0x0105));
    EXPECT_EQ(firstLink, ComplexText(pictures[3].complex.at(0x0105)));
    // The same file name from another folder has a copy of its own.
    EXPECT_EQ(FileSize(m_first), FileSize(m_folder.Path() + firstLink));
    EXPECT_EQ(FileSize(m_second), FileSize(m_folder.Path() + secondLink));
    EXPECT_NE(FileSize(m_first), FileSize(m_second));

    // Background: the whole slide.
    EXPECT_EQ((std::vector<int32_t>{0, 0, 5759, 4319}), Anchor(pictures[0]));
    EXPECT_EQ(0u, pictures[0].properties.count(0x013F));
    // A grey picture fitted into its box.
    EXPECT_EQ(0x00060004u, pictures[1].properties.at(0x013F));
    EXPECT_EQ(0u, pictures[1].properties.count(0x0004));
    // Turned pictures: their anchor turned about its centre, rotation 270.
    EXPECT_EQ(0x010E0000u, pictures[2].properties.at(0x0004));
    EXPECT_EQ(0x010E0000u, pictures[4].properties.at(0x0004));
    if (m_sizesKnown) {
        EXPECT_EQ((std::vector<int32_t>{0, 359, 2879, 1799}), Anchor(pictures[1]));
        EXPECT_EQ((std::vector<int32_t>{3599, 1799, 5039, 4679}), Anchor(pictures[2]));
        // -90 degrees turns the anchor like 270.
        EXPECT_EQ((std::vector<int32_t>{719, 1800, 2159, 4679}), Anchor(pictures[4]));
    } else {
        // Without the raster library the pictures take their boxes.
        EXPECT_EQ((std::vector<int32_t>{0, 0, 2879, 2159}), Anchor(pictures[1]));
        EXPECT_EQ((std::vector<int32_t>{3239, 1799, 5399, 4679}), Anchor(pictures[2]));
    }
    // The watermark at its own size (one by half an inch) in the top left corner.
    EXPECT_EQ((std::vector<int32_t>{0, 0, 576, 288}), Anchor(pictures[3]));

    // The description under the turned box, as wide as the box is high.
    const std::vector<ShapeInfo> boxes = TextBoxes(p, *p.slides[0]);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Desc", boxes[0].text);
    EXPECT_EQ((std::vector<int32_t>{3239, 4679, 5399, 7559}), Anchor(boxes[0]));
    // The page keeps the picture's own box.
    const CKWDoubleRect kept = turned->GetData()->GetRect();
    EXPECT_EQ(0.5, kept.left);
    EXPECT_EQ(0.5, kept.top);
    EXPECT_EQ(1.0, kept.right);
    EXPECT_EQ(1.0, kept.bottom);
}

TEST_F(PPTWriterPictures, LinkFolderIsNamedAfterTheOutputPath)
{
    const struct {
        const wchar_t* output;
        const wchar_t* folder;
        const wchar_t* link;
    } cases[] = {
        {L"report", L"report_Images", L"report_Images\\pic.bmp"},
        {L"r.old\\report", L"r.old\\report_Images", L"report_Images\\pic.bmp"},
        {L"x\\my.report.ppt", L"x\\my.report_Images", L"my.report_Images\\pic.bmp"},
    };
    m_folder.MakeFolder(L"r.old");
    m_folder.MakeFolder(L"x");
    for (const auto& c : cases) {
        CTestPages pages;
        NewPage(pages.List())->AddObject(new TalObjExport(m_firstId, CKWDoubleRect(0, 0, 1, 1), 0, false));
        const std::wstring path = m_folder.Path() + c.output;
        ASSERT_TRUE(Write(pages.List(), path)) << c.output;
        EXPECT_TRUE(IsFolderAt(m_folder.Path() + c.folder)) << c.folder;
        EXPECT_TRUE(FileExistsAt(m_folder.Path() + c.folder + L"\\pic.bmp")) << c.folder;
        Presentation p;
        LoadPresentation(path, 1, p);
        if (HasFatalFailure())
            return;
        const std::vector<ShapeInfo> pictures = Pictures(p, *p.slides[0]);
        ASSERT_EQ(1u, pictures.size());
        EXPECT_EQ(std::wstring(c.link), ComplexText(pictures[0].complex.at(0x0105)));
    }
}

TEST_F(PPTWriterPictures, PictureThatCannotBeCopiedFailsTheExport)
{
    // A file stands where the picture folder must go.
    m_folder.Touch(L"report_Images");
    CTestPages pages;
    NewPage(pages.List())->AddObject(new TalObjExport(m_firstId, CKWDoubleRect(0, 0, 1, 1), 0, false));
    EXPECT_FALSE(Write(pages.List(), m_folder.Path() + L"report.ppt"));

    // A picture whose file is gone links to the placeholder; so does a path
    // without a folder, whose link still has its separator.
    const uint32_t missing = g_rasterLib.GetPictureId((m_folder.Path() + L"gone.jpg").c_str());
    const uint32_t bare = g_rasterLib.GetPictureId(L"no-folder-ppt-test.bmp");
    CTestPages other;
    NewPage(other.List())->AddObject(new TalObjExport(missing, CKWDoubleRect(0, 0, 1, 1), 0, false));
    NewPage(other.List())->AddObject(new TalObjExport(bare, CKWDoubleRect(0, 0, 1, 1), 0, false));
    const std::wstring path = m_folder.Path() + L"other.ppt";
    EXPECT_TRUE(Write(other.List(), path));
    Presentation p;
    LoadPresentation(path, 2, p);
    if (HasFatalFailure())
        return;
    const wchar_t* links[2] = {L"other_Images\\gone.png", L"other_Images\\no-folder-ppt-test.png"};
    for (size_t i = 0; i < 2; ++i) {
        const std::vector<ShapeInfo> pictures = Pictures(p, *p.slides[i]);
        ASSERT_EQ(1u, pictures.size());
        EXPECT_EQ(std::wstring(links[i]), ComplexText(pictures[0].complex.at(0x0105)));
        EXPECT_TRUE(FileExistsAt(m_folder.Path() + links[i]));
    }
}

TEST(PPTWriterFailures, NoPageOrNoFolderMakesNoFile)
{
    CExportTestFolder folder;
    CTestPages none;
    const std::wstring path = folder.Path() + L"empty.ppt";
    EXPECT_FALSE(Write(none.List(), path));
    EXPECT_FALSE(FileExistsAt(path));

    CTestPages pages;
    NewPage(pages.List());
    const std::wstring missing = folder.Path() + L"no such folder\\report.ppt";
    PPTWriter writer;
    EXPECT_FALSE(writer.Export(pages.List(), 2540, 1905, nullptr, CString(missing.c_str())));
    EXPECT_FALSE(writer.IsFinished());
    EXPECT_FALSE(FileExistsAt(missing));
}

TEST(PPTWriterFailures, PageCountUpToWhatDrawingIdsCanNumber)
{
    CExportTestFolder folder;
    CTestPages pages;
    for (size_t i = 0; i < PPTWriter::kMaxPages; ++i)
        NewPage(pages.List());
    // 4094 slides: 4096 persist offsets, more than one directory entry holds.
    const std::wstring path = folder.Path() + L"many.ppt";
    ASSERT_TRUE(Write(pages.List(), path));
    Presentation p;
    LoadPresentation(path, PPTWriter::kMaxPages, p);
    if (HasFatalFailure())
        return;
    const PptRecord* directory = nullptr;
    for (const PptRecord& child : p.root.children)
        if (child.type == 6002)
            directory = &child;
    ASSERT_NE(nullptr, directory);
    EXPECT_EQ(4u * 4096 + 8, directory->length);
    EXPECT_EQ((4095u << 20) | 1, U32At(p.doc, directory->Body()));
    EXPECT_EQ((1u << 20) | 4096, U32At(p.doc, directory->Body() + 4 + 4 * 4095));
    std::vector<const PptRecord*> drawings;
    p.root.FindAll(0xF008, drawings);
    ASSERT_EQ(PPTWriter::kMaxPages + 1, drawings.size());
    EXPECT_EQ(4095, drawings.back()->instance);

    // One page more cannot be numbered: nothing is written.
    NewPage(pages.List());
    const std::wstring over = folder.Path() + L"over.ppt";
    EXPECT_FALSE(Write(pages.List(), over));
    EXPECT_FALSE(FileExistsAt(over));
}

TEST(PPTWriterFailures, ReplacesAnExistingFileAndReleasesIt)
{
    CExportTestFolder folder;
    const std::wstring path = folder.Touch(L"old.ppt");
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    ::WriteFile(file, "not a presentation", 18, &written, nullptr);
    ::CloseHandle(file);

    CTestPages pages;
    NewPage(pages.List());
    PPTWriter writer;
    ASSERT_TRUE(writer.Export(pages.List(), 2540, 1905, nullptr, CString(path.c_str())));
    EXPECT_TRUE(writer.IsFinished());
    // Complete and closed while the writer still lives: another program may open it.
    HANDLE again = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, again);
    if (again != INVALID_HANDLE_VALUE)
        ::CloseHandle(again);
    Presentation p;
    LoadPresentation(path, 1, p);
}

class PPTWriterReport : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }
};

TEST_F(PPTWriterReport, ComposedReportIsWrittenWithoutTouchingItsPages)
{
    CExportTestFolder folder;
    const std::wstring picture = folder.Path() + L"photo.bmp";
    ASSERT_TRUE(WriteTestBmp(picture, 64, 48));
    const int32_t pictureId = static_cast<int32_t>(g_rasterLib.GetPictureId(picture.c_str()));

    CTalDocProperties properties;
    properties.m_insertTitlePage = 1;
    properties.m_insertContents = 1;
    properties.m_title = L"Annual report";
    CKWRefPtr<CTalSection> heading = properties.GetHeadingSection();
    CTalTemplate* layout = AddTestPageTemplate({{CTalTemplate::kCellHeading, {0.1, 0.05, 0.9, 0.1}},
                                                {CTalTemplate::kCellText, {0.1, 0.6, 0.9, 0.9}},
                                                {CTalTemplate::kCellPictures, {0.1, 0.15, 0.9, 0.55}}});
    CTalTemplate* title = AddTestTitleTemplate({{CTalTemplate::kCellTitle, {0.1, 0.1, 0.9, 0.2}}});
    properties.m_titleTemplateName = title->GetName();
    UseTemplate(heading.Get(), layout);
    CKWRefPtr<CTalSection> first = AddSection(heading.Get(), L"First part");
    AddPicture(first.Get(), pictureId, true, false, L"A photo");
    FillNote(*first->GetTextNote(), L"Some words\nand more");
    CKWRefPtr<CTalSection> second = AddSection(heading.Get(), L"Second part");
    AddPicture(second.Get(), pictureId);

    CTestPages pages;
    ASSERT_TRUE(ComposeExportPages(properties, pages.List(), false, nullptr, nullptr));
    ASSERT_GE(pages.Size(), 3u);

    // A fingerprint of what the pages hold, before and after.
    auto fingerprint = [&pages]() {
        std::wstring text;
        for (const TalPageExport* page : pages.List()) {
            for (const TalObjExport* object : page->GetObjects()) {
                const ExportObjectData* data = object->GetData();
                const CKWDoubleRect r = data->GetRect();
                text += std::to_wstring(data->GetKind()) + L":" + std::to_wstring(r.left) + L"," +
                        std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom);
                if (data->GetKind() == kExportSimpleText)
                    text += static_cast<const ExportSimpleTextData*>(data)->GetText().GetString();
                if (const ExportImageData* image = object->GetImageRecord())
                    text += image->GetString().GetString();
                text += L";";
            }
        }
        return text;
    };
    const std::wstring before = fingerprint();

    const std::wstring path = folder.Path() + L"Annual report.ppt";
    PPTWriter writer;
    ASSERT_TRUE(writer.Export(properties, pages.List(), CString(path.c_str())));
    EXPECT_EQ(before, fingerprint());

    Presentation p;
    LoadPresentation(path, pages.Size(), p);
    if (HasFatalFailure())
        return;
    // The slide size is the document's page size (A4 portrait by default).
    double width = 0, height = 0;
    properties.GetPageSize(width, height, true);
    EXPECT_EQ(static_cast<uint32_t>(PPTWriter::ToMasterUnits(width)), U32At(p.doc, p.document->children[0].Body()));

    std::wstring allText;
    size_t pictures = 0;
    for (const PptRecord* slide : p.slides) {
        for (const ShapeInfo& box : TextBoxes(p, *slide))
            allText += box.text + L"|";
        pictures += Pictures(p, *slide).size();
    }
    EXPECT_NE(std::wstring::npos, allText.find(L"Annual report"));
    EXPECT_NE(std::wstring::npos, allText.find(L"First part"));
    EXPECT_NE(std::wstring::npos, allText.find(L"Some words\rand more"));
    EXPECT_NE(std::wstring::npos, allText.find(L"A photo"));
    EXPECT_EQ(2u, pictures);
    EXPECT_TRUE(FileExistsAt(folder.Path() + L"Annual report_Images\\photo.bmp"));
}
