// Presentations written to disk and read back the way a reader would: the
// compound file, the record tree and persist offsets, slides, text boxes and
// their runs, picture frames and the files they link to, failures, and a
// report composed from a document model.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

#include "export/ComposeExportPages.h"
#include "export/pdf/PDFWriter.h"
#include "export/TalPageExport.h"
#include "export/ppt/PPTWriter.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWIndexDecoder.h"
#include "framework/KWRasterLib.h"
#include "model/TalDocProperties.h"
#include "model/TalSection.h"
#include "model/TalTemplate.h"
#include "model/TalTextFormat.h"
#include "model/TalTextNote.h"
#include "tests/export/CountingProgress.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/ppt/PptFileCheck.h"
#include "tests/support/HugePictures.h"
#include "tests/support/KeepForReaders.h"
#include "tests/support/PrivateBytes.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/TestPictureFiles.h"

#include <png.h>
#include <turbojpeg.h>

namespace {

const double kScreenWidth = 2540;  // tenths of a millimetre: a 10 x 7.5 inch show
const double kScreenHeight = 1905;

TalPageExport* NewPage(TalPageList& pages)
{
    TalPageExport* page = new TalPageExport(kSectionPage, L"Section", nullptr);
    pages.push_back(page);
    return page;
}

bool Write(const TalPageList& pages, const std::wstring& path, const CKWIndexDecoder* fonts = nullptr,
           double width = kScreenWidth, double height = kScreenHeight, CKWProgressInterface* progress = nullptr)
{
    PPTWriter writer;
    writer.SetProgress(progress);
    return writer.Export(pages, width, height, fonts, CString(path.c_str()));
}

// Reads the presentation back; false after a fatal failure of the reader's checks.
bool Read(const std::wstring& path, size_t slides, Presentation& p)
{
    LoadPresentation(path, slides, p);
    return !::testing::Test::HasFatalFailure();
}

std::string DocumentStream(const Presentation& p) { return std::string(p.doc.begin(), p.doc.end()); }

const PptRecord* PersistDirectory(const Presentation& p)
{
    for (const PptRecord& child : p.root.children) {
        if (child.type == 6002)
            return &child;
    }
    return nullptr;
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

// One page and three pages with a text box, written byte for byte as the
// golden streams hold them (record tree, persist directory and offsets,
// drawing group, master and slides, the user-defined summary section); the
// reader's walk checks every length and reference on the way. Text ids count
// on over the whole export, each slide's drawing begins on its own block of
// ids, the slide ids of the list and of the slides agree.
TEST(PPTWriter, PagesAreWrittenByteForByte)
{
    const struct {
        int pages;
        const wchar_t* text;
        CKWDoubleRect rect;
        const wchar_t* golden;
    } cases[] = {{1, L"Title", CKWDoubleRect(0.5, 0.5, 1, 1), L"one_page"},
                 {3, L"t", CKWDoubleRect(0, 0, 1, 1), L"three_pages"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pages);
        CExportTestFolder folder;
        CTestPages pages;
        CTalTextFormat format;
        CountingProgress progress;
        for (int i = 0; i < c.pages; ++i)
            NewPage(pages.List())->AddObject(new TalObjExport(CString(c.text), c.rect, &format));
        const std::wstring path = folder.Path() + L"report.ppt";
        ASSERT_TRUE(Write(pages.List(), path, nullptr, kScreenWidth, kScreenHeight, &progress));
        EXPECT_EQ(c.pages + 2, progress.steps);
        Presentation p;
        if (!Read(path, c.pages, p))
            return;
        const std::wstring golden(c.golden);
        ExpectGolden((golden + L".ppt-document").c_str(), DocumentStream(p));
        if (c.pages > 1)
            continue;
        const std::vector<uint8_t>& current = p.file.streams[L"Current User"];
        ExpectGolden((golden + L".ppt-current-user").c_str(), std::string(current.begin(), current.end()));
        const std::vector<uint8_t>& summary = p.file.streams[L"\x0005" L"DocumentSummaryInformation"];
        ExpectGolden((golden + L".ppt-summary").c_str(), std::string(summary.begin(), summary.end()));
    }
}

TEST(PPTWriter, SlideSizeAndSizeType)
{
    const struct {
        double width, height;
        uint32_t slideWidth, slideHeight;
        uint16_t type;
    } cases[] = {
        {2540, 1905, 5759, 4319, 0}, {2970, 2100, 6735, 4762, 6}, {2032, 254, 4607, 575, 5},
        {2857.5, 1905, 6479, 4319, 3}, {2751.666, 1905, 6239, 4319, 2}, {2100, 2970, 4762, 6735, 6},
        {2540.5, 1905.9, 5761, 4322, 0},  // whole tenths compared
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.slideWidth, static_cast<uint32_t>(PPTWriter::ToMasterUnits(c.width))) << c.width;
        EXPECT_EQ(c.slideHeight, static_cast<uint32_t>(PPTWriter::ToMasterUnits(c.height))) << c.height;
        EXPECT_EQ(c.type, PPTWriter::GetSlideSizeType(c.width, c.height)) << c.width << " x " << c.height;
    }
}

// Text boxes of every kind on two slides: plain texts in every character and
// paragraph format (fonts from the table, in order of first use, names cut to
// 31 characters), watermarks at their places, and blocks of a note whose runs
// and paragraphs stop short, run past the block or are missing. The document
// stream is compared with its golden file byte for byte; the reader's walk
// checks that every run list covers its box and one character more.
TEST(PPTWriter, TextBoxesOfEveryKindAreWrittenByteForByte)
{
    CKWIndexDecoder fonts;
    for (const wchar_t* face : {L"Times New Roman", L"Courier New", L"Georgia", L"A Font Name Of Exactly Forty Characters!"})
        fonts.FindOrAdd(face);
    CTalTextFormat plain;  // left, 24 points
    plain.m_size = 24;
    plain.m_align = CTalTextFormat::kAlignLeft;
    CTalTextFormat strong;
    strong.m_style = CTalTextFormat::kBold | CTalTextFormat::kItalic | CTalTextFormat::kUnderline;
    strong.m_size = 12;
    strong.m_color = 0x0000FF;  // red
    strong.m_font = 2;
    strong.m_align = CTalTextFormat::kAlignRight;
    CTalTextFormat other;
    other.m_style = 0x20 | 0x08;  // shadow and bit 3
    other.m_font = 1;
    other.m_color = 0xFF000000;  // no colour in the low three bytes
    CTalTextFormat longName;
    longName.m_font = 3;
    longName.m_style = 0x10;  // a bit without a run flag

    CExportTestFolder folder;
    CTestPages pages;
    TalPageExport* page = NewPage(pages.List());
    const CKWDoubleRect rect(0.1, 0.1, 0.9, 0.2);
    page->AddObject(new TalObjExport(CString(L"ab\ncd"), rect, &plain));
    for (const CTalTextFormat* format : {&strong, &other, &strong, &longName, static_cast<CTalTextFormat*>(nullptr)})
        page->AddObject(new TalObjExport(CString(L"text"), rect, format));
    for (int32_t place : {0, 4, 8})
        page->AddObject(new TalObjExport(CString(L"ab\ncd"), place, &plain));
    page->AddObject(new TalObjExport(CString(L""), 4, &plain));  // empty: no box

    // "Hello\n" | "World\n" (centred) | "End"; runs "Hello\nWo" bold 24 black,
    // then "rld\nEnd" italic 14 red in font 3.
    CKWRefPtr<CTalTextNote> note(new CTalTextNote());
    SetNote(*note, L"Hello\nWorld\nEnd",
            {TestRun(8, CKWCharFormat::kBold, 24, CKWColor::FromRgb(0, 0, 0)),
             TestRun(7, CKWCharFormat::kItalic, 14, CKWColor::FromRgb(255, 0, 0), 3)},
            {{6, 0}, {6, 1}, {3, 2}});
    CKWRefPtr<CTalTextNote> shortRuns(new CTalTextNote());
    SetNote(*shortRuns, L"abc\ndefghij", {TestRun(2, 0, 10, CKWColor())}, {{4, 1}});
    CKWRefPtr<CTalTextNote> noRecords(new CTalTextNote());
    SetNote(*noRecords, L"xyz", {}, {});
    CKWRefPtr<CTalTextNote> empty(new CTalTextNote());
    SetNote(*empty, L"", {}, {});
    TalPageExport* notes = NewPage(pages.List());
    const struct {
        CTalTextNote* note;
        int32_t start, end;
    } blocks[] = {{note.Get(), 6, -1}, {note.Get(), 0, 8}, {note.Get(), 3, 4},  {shortRuns.Get(), 5, -1},
                  {shortRuns.Get(), 0, 100}, {noRecords.Get(), 0, -1}, {empty.Get(), 0, -1}, {shortRuns.Get(), 20, -1}};
    for (const auto& b : blocks)
        notes->AddObject(NoteBlock(b.note, b.start, b.end));

    const std::wstring path = folder.Path() + L"texts.ppt";
    ASSERT_TRUE(Write(pages.List(), path, &fonts));
    Presentation p;
    if (!Read(path, 2, p))
        return;
    std::vector<std::wstring> texts;
    for (const PptRecord* slide : p.slides) {
        for (const ShapeInfo& box : TextBoxes(p, *slide))
            texts.push_back(box.hasText ? box.text : L"(no text)");
    }
    // Plain texts lose their line feeds, watermarks keep them; an empty text
    // has no box; a block that starts past its text keeps a box without text.
    EXPECT_EQ((std::vector<std::wstring>{L"abcd", L"text", L"text", L"text", L"text", L"text", L"ab\rcd", L"ab\rcd",
                                         L"ab\rcd", L"World\rEnd", L"Hello\rWo", L"l", L"efghij", L"abc\rdefghij",
                                         L"xyz", L"(no text)"}),
              texts);
    // The composed page is left as it was.
    EXPECT_EQ(CString(L"ab\ncd"), static_cast<const ExportSimpleTextData*>(page->GetObject(0)->GetData())->GetText());
    ExpectGolden(L"text_boxes.ppt-document", DocumentStream(p));
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
        ASSERT_NE(nullptr, g_rasterLib.GetLibraryModule()) << "DAZiruraRuv.dll is missing";
    }

    CExportTestFolder m_folder;
    std::wstring m_first, m_second;
    uint32_t m_firstId = 0, m_secondId = 0;
};

// Picture frames of every kind byte for byte: a background over the whole
// slide, a grey picture fitted into its box, pictures turned by 270 and -90
// degrees (anchored in the box they are seen in), a watermark at its own
// size in the top left corner, a description under the box of a turned
// picture, as wide as the box. Each frame links to a copy beside the
// presentation.
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
    if (!Read(path, 1, p))
        return;
    ExpectGolden(L"pictures.ppt-document", DocumentStream(p));
    ASSERT_EQ(5u, Pictures(p, *p.slides[0]).size());
    // The same file name from another folder has a copy of its own.
    EXPECT_EQ(FileSize(m_first), FileSize(m_folder.Path() + L"report_Images\\pic.bmp"));
    EXPECT_EQ(FileSize(m_second), FileSize(m_folder.Path() + L"report_Images\\pic_2.bmp"));
    EXPECT_NE(FileSize(m_first), FileSize(m_second));
    // The page keeps the picture's own box.
    const CKWDoubleRect kept = turned->GetData()->GetRect();
    EXPECT_EQ((std::vector<double>{0.5, 0.5, 1, 1}), (std::vector<double>{kept.left, kept.top, kept.right, kept.bottom}));
}

// A quarter-turned picture is fitted with its turned size, as the page shows
// it. PowerPoint sees a shape turned a quarter in its anchor, and stretches
// the picture into the anchor turned about its centre before turning it: the
// seen box lies within the cell and fills it from side to side one way, and
// the linked file fits the box it is stretched into. A JPEG recorded as
// turned is linked as it lies, and its shape turns it upright too.
TEST_F(PPTWriterPictures, AQuarterTurnedPictureLiesWithinItsCell)
{
    using namespace testpictures;
    const double width = 2100, height = 2970;  // A4 upright, in tenths of a millimetre
    const double slideWidth = width * 576 / 254, slideHeight = height * 576 / 254;
    const CKWDoubleRect box(0.1, 0.1, 0.9, 0.3);  // a wide cell; the 40 x 20 picture turned is tall
    const std::string jpeg = EncodeJpeg(PhotoPixels(40, 20, 3), 40, 20);
    const struct {
        uint16_t orientation;  // 0: the bitmap
        int32_t fileTurn;      // what shows it upright, clockwise
    } pictures[] = {{0, 0}, {1, 0}, {3, 180}, {6, 90}, {8, 270}};
    const int32_t angles[] = {90, 270, -90, 450, 0, 180};
    CTestPages pages;
    TalPageExport* page = NewPage(pages.List());
    for (const auto& picture : pictures) {
        uint32_t id = m_firstId;
        if (picture.orientation) {
            const std::wstring source = m_folder.Path() + L"o" + std::to_wstring(picture.orientation) + L".jpg";
            ASSERT_TRUE(WriteFileBytes(source, WithSegment(jpeg, ExifSegment(picture.orientation))));
            id = g_rasterLib.GetPictureId(source.c_str());
        }
        for (int32_t angle : angles)
            page->AddObject(new TalObjExport(id, box, angle, false));
    }
    const std::wstring path = m_folder.Path() + L"turned.ppt";
    ASSERT_TRUE(Write(pages.List(), path, nullptr, width, height));
    Presentation p;
    if (!Read(path, 1, p))
        return;
    const std::vector<ShapeInfo> shapes = Pictures(p, *p.slides[0]);
    ASSERT_EQ(std::size(pictures) * std::size(angles), shapes.size());
    const double cell[4] = {box.left * slideWidth, box.top * slideHeight, box.right * slideWidth,
                            box.bottom * slideHeight};
    for (size_t i = 0; i < shapes.size(); ++i) {
        const ShapeInfo& shape = shapes[i];
        const auto& picture = pictures[i / std::size(angles)];
        const int32_t angle = angles[i % std::size(angles)];
        const std::string what = "orientation " + std::to_string(picture.orientation) + ", " + std::to_string(angle);
        const int32_t turn = ((angle % 360) + 360) % 360;
        const double w = shape.right - shape.left, h = shape.bottom - shape.top;
        EXPECT_GE(shape.left, cell[0] - 1) << what;
        EXPECT_LE(shape.right, cell[2] + 1) << what;
        EXPECT_GE(shape.top, cell[1] - 1) << what;
        EXPECT_LE(shape.bottom, cell[3] + 1) << what;
        EXPECT_NEAR(h, cell[3] - cell[1], 2) << "fills the cell's height, " << what;
        // The upright picture keeps its proportions: 2 to 1, wide unless it
        // is recorded on its side or turned a quarter (not both).
        const bool quarter = turn == 90 || turn == 270;
        const bool wide = (picture.orientation < 5) != quarter;
        EXPECT_NEAR(wide ? w / h : h / w, 2.0, 0.01) << what;
        // The shape turns its file by the record's angle and by what the file records.
        const auto rotation = shape.properties.find(0x0004);
        const int32_t shapeTurn = rotation == shape.properties.end() ? 0 : int32_t(rotation->second >> 16);
        EXPECT_EQ((turn + picture.fileTurn) % 360, shapeTurn) << what;
        // The file fits the box it is stretched into.
        const std::wstring linked = m_folder.Path() + L"turned_Images\\" +
                                    (picture.orientation ? L"o" + std::to_wstring(picture.orientation) + L".jpg"
                                                         : std::wstring(L"pic.bmp"));
        CKWRasterLib::ImageInfo info;
        ASSERT_TRUE(g_rasterLib.GetImageInfo(g_rasterLib.GetPictureId(linked.c_str()), info)) << what;
        EXPECT_EQ(1, info.orientation) << what;
        const bool stretchedTurned = shapeTurn == 90 || shapeTurn == 270;
        EXPECT_NEAR(double(info.size.cx) / info.size.cy, stretchedTurned ? h / w : w / h, 0.01) << what;
    }
}

namespace {

// The quadrants of a picture, top left, top right, bottom left, bottom
// right, as the index of the nearest of four colours.
struct Quadrants {
    int at[4];
    bool operator==(const Quadrants& other) const { return std::memcmp(at, other.at, sizeof at) == 0; }
    // Turned clockwise by a quarter.
    Quadrants Turned() const { return Quadrants{{at[2], at[0], at[3], at[1]}}; }
};

const uint8_t kQuadrantColours[4][3] = {{230, 0, 0}, {0, 230, 0}, {0, 0, 230}, {240, 240, 240}};

// R, G, B rows of width x height in four quadrants of the colours 0 to 3.
std::string QuadrantPixels(uint32_t width, uint32_t height)
{
    std::string rgb;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            rgb.append(reinterpret_cast<const char*>(kQuadrantColours[(y >= height / 2) * 2 + (x >= width / 2)]), 3);
    return rgb;
}

// The quadrants libjpeg-turbo decodes of a JPEG; false when it does not
// decode whole without a warning.
bool DecodedQuadrants(const std::string& jpeg, Quadrants& quadrants)
{
    tjhandle tj = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    const unsigned char* data = reinterpret_cast<const unsigned char*>(jpeg.data());
    bool ok = tjDecompressHeader3(tj, data, static_cast<unsigned long>(jpeg.size()), &width, &height, &subsampling,
                                  &colourspace) == 0;
    std::vector<unsigned char> rgb(size_t(width) * height * 3);
    ok = ok && tjDecompress2(tj, data, static_cast<unsigned long>(jpeg.size()), rgb.data(), width, 0, height, TJPF_RGB,
                             TJFLAG_STOPONWARNING) == 0;
    tjDestroy(tj);
    for (int q = 0; ok && q < 4; ++q) {
        const unsigned char* p = &rgb[(size_t(height) * (1 + 2 * (q / 2)) / 4 * width + width * (1 + 2 * (q % 2)) / 4) * 3];
        int best = 0, bestDistance = 1 << 30;
        for (int c = 0; c < 4; ++c) {
            int distance = 0;
            for (int k = 0; k < 3; ++k)
                distance += (p[k] - kQuadrantColours[c][k]) * (p[k] - kQuadrantColours[c][k]);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = c;
            }
        }
        quadrants.at[q] = best;
    }
    return ok;
}

}  // namespace

// A JPEG whose orientation readers may take otherwise than one entry says
// (two entries, a LONG, a list of three, an orientation in XMP too) is linked
// recording no turn a reader could take: its linked file, turned by its
// shape, shows what EXIF-honouring readers show of the source (the last
// entry, the LONG's value, no turn for a list).
TEST_F(PPTWriterPictures, APictureReadersMayTurnOtherwiseIsLinkedAsTheyShowIt)
{
    using namespace testpictures;
    const std::string jpeg = EncodeJpeg(QuadrantPixels(48, 32), 48, 32, TJPF_RGB, 95);
    // Where the quadrants (0 1 above 2 3) stand once turned upright by each orientation.
    const Quadrants upright[9] = {{}, {{0, 1, 2, 3}}, {}, {{3, 2, 1, 0}}, {}, {}, {{2, 0, 3, 1}}, {}, {{1, 3, 0, 2}}};
    const struct {
        const wchar_t* name;
        std::string bytes;
        int readers;  // the orientation EXIF-honouring readers turn by
    } cases[] = {
        {L"two entries.jpg", WithSegment(jpeg, ExifSegmentWith({{3, 1, 3}, {3, 1, 6}})), 6},
        {L"long.jpg", WithSegment(jpeg, ExifSegmentWith({{4, 1, 8}}, true)), 8},
        {L"xmp.jpg", WithSegment(WithSegment(jpeg, XmpSegment(3)), ExifSegment(3)), 3},
        {L"list.jpg", WithSegment(jpeg, ExifSegmentWith({{3, 3, 6}})), 1},
    };
    CTestPages pages;
    for (const auto& c : cases) {
        const std::wstring source = m_folder.Path() + c.name;
        ASSERT_TRUE(WriteFileBytes(source, c.bytes));
        NewPage(pages.List())->AddObject(
            new TalObjExport(g_rasterLib.GetPictureId(source.c_str()), CKWDoubleRect(0, 0, 1, 1), 0, false));
    }
    const std::wstring path = m_folder.Path() + L"awkward.ppt";
    ASSERT_TRUE(Write(pages.List(), path));
    Presentation p;
    if (!Read(path, pages.Size(), p))
        return;
    for (size_t i = 0; i < pages.Size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(Narrow(c.name));
        const std::vector<ShapeInfo> pictures = Pictures(p, *p.slides[i]);
        ASSERT_EQ(1u, pictures.size());
        const std::wstring linked = m_folder.Path() + L"awkward_Images\\" + c.name;
        const std::string written = ReadFileBytes(linked);
        CKWRasterLib::ImageInfo info;
        ASSERT_TRUE(g_rasterLib.GetImageInfo(g_rasterLib.GetPictureId(linked.c_str()), info));
        EXPECT_EQ(1, info.orientation);
        EXPECT_EQ(std::string::npos, written.find(":Orientation"));
        const auto rotation = pictures[0].properties.find(0x0004);
        const int32_t shapeTurn = rotation == pictures[0].properties.end() ? 0 : int32_t(rotation->second >> 16);
        Quadrants shown;
        ASSERT_TRUE(DecodedQuadrants(written, shown));
        for (int32_t turn = 0; turn < shapeTurn; turn += 90)
            shown = shown.Turned();
        EXPECT_TRUE(shown == upright[c.readers]) << shown.at[0] << shown.at[1] << shown.at[2] << shown.at[3];
    }
}

// Pictures turned a quarter (and upright ones beside them), two to a slide
// in the cells of the two-picture page, each with its description: read
// back, every description box lies right under the picture's outline as the
// slide shows it (the anchor of a shape turned a quarter is its seen box),
// spans it, and starts on the slide above the next cell. The test command
// reads the same file with olefile.
TEST_F(PPTWriterPictures, TheDescriptionOfATurnedPictureLiesUnderItOnTheSlide)
{
    const double width = 2100, height = 2970;  // A4 upright, in tenths of a millimetre
    const double slideWidth = width * 576 / 254, slideHeight = height * 576 / 254;
    const CKWDoubleRect cells[] = {CKWDoubleRect(0.08, 0.11, 0.92, 0.41), CKWDoubleRect(0.08, 0.46, 0.92, 0.76)};
    const struct {
        uint32_t id;  // the 40 x 20 picture (tall once turned) or the 20 x 10 one
        int32_t angle;
    } pictures[] = {{m_firstId, 90}, {m_firstId, 270}, {m_secondId, -90}, {m_firstId, 0},
                    {m_secondId, 270}, {m_secondId, 90}, {m_firstId, 450}, {m_secondId, 0}};
    CTalTextFormat format;
    CTestPages pages;
    TalPageExport* page = nullptr;
    for (size_t i = 0; i < std::size(pictures); ++i) {
        if (i % 2 == 0)
            page = NewPage(pages.List());
        TalObjExport* object = new TalObjExport(pictures[i].id, cells[i % 2], pictures[i].angle, false);
        object->GetImageRecord()->SetString(CString(L"Picture ") + std::to_wstring(i).c_str());
        object->GetImageRecord()->SetFormat(&format);
        page->AddObject(object);
    }
    const std::wstring path = m_folder.Path() + L"captions.ppt";
    ASSERT_TRUE(Write(pages.List(), path, nullptr, width, height));
    Presentation p;
    if (!Read(path, pages.Size(), p))
        return;
    for (size_t i = 0; i < std::size(pictures); ++i) {
        const std::string what = "picture " + std::to_string(i) + " turned " + std::to_string(pictures[i].angle);
        const std::vector<ShapeInfo> shapes = SlideShapes(p, *p.slides[i / 2]);
        // Each picture frame is followed by its description box.
        std::vector<const ShapeInfo*> frames, boxes;
        for (size_t s = 0; s + 1 < shapes.size(); ++s) {
            if (shapes[s].shapeType == 75 && shapes[s + 1].shapeType == 202) {
                frames.push_back(&shapes[s]);
                boxes.push_back(&shapes[s + 1]);
            }
        }
        ASSERT_EQ(2u, frames.size()) << what;
        const ShapeInfo& frame = *frames[i % 2];
        const ShapeInfo& box = *boxes[i % 2];
        EXPECT_EQ(L"Picture " + std::to_wstring(i), box.text) << what;
        const auto rotation = frame.properties.find(0x0004);
        EXPECT_EQ(((pictures[i].angle % 360) + 360) % 360,
                  rotation == frame.properties.end() ? 0 : int32_t(rotation->second >> 16))
            << what;
        const CKWDoubleRect& cell = cells[i % 2];
        EXPECT_GE(box.top + 1, frame.bottom) << "under the picture, " << what;
        EXPECT_LE(box.top - frame.bottom, slideHeight / 100) << "right under the picture, " << what;
        EXPECT_LE(box.left, frame.left + 1) << what;
        EXPECT_GE(box.right + 1, frame.right) << what;
        EXPECT_LE(box.top, int32_t(cell.bottom * slideHeight) + 1) << "not hidden under the next picture, " << what;
        EXPECT_LT(box.top, slideHeight) << "on the slide, " << what;
        EXPECT_GE(box.left, 0) << what;
        EXPECT_LE(box.right, slideWidth + 1) << what;
    }
    KeepForReaders("OT_PPT_CHECK_DIR", path, L"turned_descriptions.captions.ppt");
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
        if (!Read(path, 1, p))
            return;
        const std::vector<ShapeInfo> pictures = Pictures(p, *p.slides[0]);
        ASSERT_EQ(1u, pictures.size());
        EXPECT_EQ(std::wstring(c.link), ComplexText(pictures[0].complex.at(0x0105)));
    }
}

TEST_F(PPTWriterPictures, PictureThatCannotBeWrittenFailsTheExport)
{
    // A file stands where the picture folder must go.
    m_folder.Touch(L"report_Images");
    CTestPages pages;
    NewPage(pages.List())->AddObject(new TalObjExport(m_firstId, CKWDoubleRect(0, 0, 1, 1), 0, false));
    PPTWriter writer;
    EXPECT_FALSE(writer.Export(pages.List(), 2540, 1905, nullptr, CString((m_folder.Path() + L"report.ppt").c_str())));
    // The presentation it began is taken away; the failure names the folder.
    EXPECT_FALSE(FileExistsAt(m_folder.Path() + L"report.ppt"));
    EXPECT_EQ(m_folder.Path() + L"report_Images", std::wstring(writer.GetOutputRecord().GetFailedPath().GetString()));
}

// PowerPoint 97 shows JPEG, PNG, GIF and BMP files as they stand: a picture
// it would not show is linked to a file written as our decoder reads it (the
// placeholder for a picture that cannot be read); a JPEG recorded as turned
// is linked as it lies, recording no turn, and its shape turns it.
TEST_F(PPTWriterPictures, EveryLinkLeadsToAFilePowerPointShowsUpright)
{
    using namespace testpictures;
    const std::string jpeg = EncodeJpeg(PhotoPixels(48, 32, 1), 48, 32);
    const std::string rgb = PhotoPixels(20, 10, 2);
    const struct {
        const wchar_t* name;
        std::string bytes;
        const wchar_t* link;
        std::string linked;     // the linked file's bytes, where they are known
        int32_t width, height;  // of the linked file
        int32_t shapeTurn;
    } cases[] = {
        {L"photo.JPEG", jpeg, L"photo.JPEG", jpeg, 48, 32, 0},
        {L"turned.jpg", WithSegment(jpeg, ExifSegment(6)), L"turned.jpg", WithSegment(jpeg, ExifSegment(1)), 48, 32,
         90},
        {L"upside.jpg", WithSegment(jpeg, ExifSegment(3, true)), L"upside.jpg", WithSegment(jpeg, ExifSegment(1, true)),
         48, 32, 180},
        {L"scan.tif", TiffFile(20, 10, rgb, 1, true), L"scan.png", "", 20, 10, 0},
        {L"cut.jpg", jpeg.substr(0, jpeg.size() / 2), L"cut.jpg", "", 64, 64, 0},
        {L"gone.jpg", std::string(), L"gone.png", "", 64, 64, 0},
        {L"no-folder-ppt-test.bmp", std::string(), L"no-folder-ppt-test.png", "", 64, 64, 0},
    };
    CTestPages pages;
    for (const auto& c : cases) {
        const bool bare = std::wstring(c.name).find(L"no-folder") == 0;
        const std::wstring source = bare ? c.name : m_folder.Path() + c.name;
        if (!c.bytes.empty()) {
            ASSERT_TRUE(WriteFileBytes(source, c.bytes));
        }
        const uint32_t id = g_rasterLib.GetPictureId(source.c_str());
        NewPage(pages.List())->AddObject(new TalObjExport(id, CKWDoubleRect(0, 0, 1, 1), 0, false));
    }
    const std::wstring path = m_folder.Path() + L"other.ppt";
    ASSERT_TRUE(Write(pages.List(), path));
    Presentation p;
    if (!Read(path, pages.Size(), p))
        return;
    for (size_t i = 0; i < pages.Size(); ++i) {
        const auto& c = cases[i];
        const std::vector<ShapeInfo> pictures = Pictures(p, *p.slides[i]);
        ASSERT_EQ(1u, pictures.size());
        const std::wstring link = std::wstring(L"other_Images\\") + c.link;
        EXPECT_EQ(link, ComplexText(pictures[0].complex.at(0x0105))) << Narrow(c.name);
        const std::string written = ReadFileBytes(m_folder.Path() + link);
        if (!c.linked.empty())
            EXPECT_TRUE(written == c.linked) << Narrow(c.name);
        else
            EXPECT_FALSE(written == c.bytes) << Narrow(c.name);
        const auto rotation = pictures[0].properties.find(0x0004);
        EXPECT_EQ(c.shapeTurn, rotation == pictures[0].properties.end() ? 0 : int32_t(rotation->second >> 16))
            << Narrow(c.name);
        CKWRasterLib::ImageInfo info;
        ASSERT_TRUE(g_rasterLib.GetImageInfo(g_rasterLib.GetPictureId((m_folder.Path() + link).c_str()), info))
            << Narrow(c.name);
        EXPECT_EQ(1, info.orientation) << Narrow(c.name);
        EXPECT_EQ(c.width, info.size.cx) << Narrow(c.name);
        EXPECT_EQ(c.height, info.size.cy) << Narrow(c.name);
        EXPECT_NE(std::string::npos, std::string("jpgpngbmpgif").find(info.format)) << Narrow(c.name);
    }
}

namespace {

// Runs the export in a process of its own and gives the most memory it held
// above what it held before, in MB.
int ExportPeak(const std::function<bool()>& exportReport)
{
    int peak = -1;
    EXPECT_EXIT(
        {
            size_t most = 0;
            const size_t start = test_support::PrivateBytes(&most);
            const bool written = exportReport();
            test_support::PrivateBytes(&most);
            std::exit(written ? int((most > start ? most - start : 0) >> 20) : 255 << 8);
        },
        [&peak](int code) { return (peak = code) < 255 << 8; }, "");
    return peak;
}

}  // namespace

// A picture of 50 megapixels goes to the presentation's folder as a PNG
// written as it is encoded: its export holds the memory the PDF's of the same
// report holds (both hold the picture's pixels), where a packed copy of the
// pixels and the file in memory once took more than half as much again;
// libpng reads the file back as the picture's pixels.
TEST_F(PPTWriterPictures, AHugeScanIsLinkedAsAPngWithinTheMemoryOfThePdf)
{
    const uint32_t width = 10000, height = 5000;
    const std::wstring scan = m_folder.Path() + L"scan.tif";
    ASSERT_TRUE(WriteFileBytes(scan, testpictures::HugeBlockTiff(width, height)));
    const uint32_t id = g_rasterLib.GetPictureId(scan.c_str());
    CTestPages pages;
    NewPage(pages.List())->AddObject(new TalObjExport(id, CKWDoubleRect(0, 0, 1, 1), 0, false));
    const std::wstring ppt = m_folder.Path() + L"scan.ppt";
    const int pdfPeak = ExportPeak([&] {
        PDFWriter writer;
        CTalDocProperties properties;
        return writer.ExportPages(pages.List(), properties, (m_folder.Path() + L"scan.pdf").c_str(), nullptr);
    });
    const int pptPeak = ExportPeak([&] { return Write(pages.List(), ppt); });
    std::printf("peak memory above the start: PowerPoint %d MB, PDF %d MB\n", pptPeak, pdfPeak);
    EXPECT_GE(pdfPeak, int(uint64_t(width) * height * 4 >> 20));  // the pixels
    // Both peak while the picture is read; the presentation's own records and
    // its picture thread add a megabyte or so, its PNG a row and a block.
    EXPECT_LE(pptPeak, pdfPeak + 2);

    ASSERT_TRUE(Write(pages.List(), ppt));
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, Narrow((m_folder.Path() + L"scan_Images\\scan.png").c_str()).c_str()));
    EXPECT_EQ(width, image.width);
    EXPECT_EQ(height, image.height);
    EXPECT_EQ(uint32_t(PNG_FORMAT_RGB), image.format);  // no alpha channel it does not need
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    size_t wrong = 0;
    std::string row;
    for (uint32_t y = 0; y < height; ++y) {
        testpictures::BlockRow(y, width, height, row);
        for (uint32_t x = 0; x < width; ++x)
            wrong += std::memcmp(&pixels[(size_t(y) * width + x) * 3], testpictures::kBlockColours[uint8_t(row[x])], 3) != 0;
    }
    EXPECT_EQ(0u, wrong);
}

TEST(PPTWriterFailures, NoPageOrNoFolderMakesNoFileAndAnOldFileIsReplaced)
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
    EXPECT_NE(-1, writer.GetOutputRecord().FailureMessage().Find(L"does not exist"));

    // A file already there is replaced, and released once written: another
    // program may open it while the writer still lives.
    const std::wstring old = folder.Path() + L"old.ppt";
    ASSERT_TRUE(WriteFileBytes(old, "not a presentation"));
    ASSERT_TRUE(writer.Export(pages.List(), 2540, 1905, nullptr, CString(old.c_str())));
    EXPECT_TRUE(writer.IsFinished());
    HANDLE again = ::CreateFileW(old.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, again);
    if (again != INVALID_HANDLE_VALUE)
        ::CloseHandle(again);
    Presentation p;
    LoadPresentation(old, 1, p);
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
    if (!Read(path, PPTWriter::kMaxPages, p))
        return;
    const PptRecord* directory = PersistDirectory(p);
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

class PPTWriterReport : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }
};

TEST_F(PPTWriterReport, ComposedReportIsWrittenWithoutTouchingItsPages)
{
    CExportTestFolder folder;
    CTalDocProperties properties;
    std::map<uint32_t, std::string> images;
    BuildVariedReport(properties, folder.Path(), images);
    CTestPages pages;
    ASSERT_TRUE(ComposeExportPages(properties, pages.List(), false, nullptr, nullptr));
    ASSERT_GE(pages.Size(), 3u);

    ReportDump dump(properties, images);
    const std::string before = dump.Dump(pages.List());

    const std::wstring path = folder.Path() + L"Annual report.ppt";
    PPTWriter writer;
    ASSERT_TRUE(writer.Export(properties, pages.List(), CString(path.c_str())));
    EXPECT_EQ(before, dump.Dump(pages.List()));

    Presentation p;
    if (!Read(path, pages.Size(), p))
        return;
    // The slide size is the document's page size (A4 portrait by default).
    double width = 0, height = 0;
    properties.GetPageSize(width, height, true);
    EXPECT_EQ(static_cast<uint32_t>(PPTWriter::ToMasterUnits(width)), U32At(p.doc, p.document->children[0].Body()));

    std::wstring allText;
    for (const PptRecord* slide : p.slides) {
        for (const ShapeInfo& box : TextBoxes(p, *slide))
            allText += box.text + L"|";
    }
    for (const wchar_t* text : {L"Survey of the North Shore", L"R&D <north>", L"Costs: a &lt; b & c\rLine 1"})
        EXPECT_NE(std::wstring::npos, allText.find(text)) << Narrow(text);
    EXPECT_TRUE(FileExistsAt(folder.Path() + L"Annual report_Images\\photo0.jpg"));
}

// The library turns a JPEG recorded turned or mirrored upright as jpegtran
// does (tests/data/export/upright/make.sh), byte for byte, where the turn is
// exact. The presentation links a mirrored one as that upright file, and one
// recorded as turned as it lies, every byte as it stands but the orientation
// it records, which is upright: its shape turns it.
TEST_F(PPTWriterPictures, PicturesRecordedSidewaysAreTurnedLosslesslyAsJpegtranTurnsThem)
{
    const std::string data = OT_TEST_DATA_DIR;
    std::wstring folder = (data.size() && data[0] == '/' ? L"Z:" : L"") + std::wstring(data.begin(), data.end());
    for (wchar_t& c : folder)
        c = c == L'/' ? L'\\' : c;
    folder += L"\\export\\upright\\";
    const struct {
        const wchar_t* name;
        bool exact;        // the library's lossless turn is exact for its size
        bool linkedAsItLies;
    } cases[] = {
        {L"photo2", true, false}, {L"photo3", true, true},  {L"photo4", true, false}, {L"photo5", true, false},
        {L"photo6", true, true},  {L"photo7", true, false}, {L"photo8", true, true},  {L"odd6", false, true},
    };
    CTestPages pages;
    for (const auto& c : cases) {
        const std::wstring source = m_folder.Path() + c.name + L".jpg";
        ASSERT_TRUE(WriteFileBytes(source, ReadFileBytes(folder + c.name + L".jpg"))) << Narrow(c.name);
        const uint32_t id = g_rasterLib.GetPictureId(source.c_str());
        const std::wstring upright = m_folder.Path() + c.name + L".upright.jpg";
        EXPECT_EQ(c.exact, g_rasterLib.WriteUprightJpeg(id, upright.c_str())) << Narrow(c.name);
        if (c.exact) {
            EXPECT_TRUE(ReadFileBytes(upright) == ReadFileBytes(folder + c.name + L".upright.jpg"))
                << Narrow(c.name) << " differs from jpegtran's turn";
        }
        NewPage(pages.List())->AddObject(new TalObjExport(id, CKWDoubleRect(0, 0, 1, 1), 0, false));
    }
    ASSERT_TRUE(Write(pages.List(), m_folder.Path() + L"turned.ppt"));
    for (const auto& c : cases) {
        const std::wstring linked = m_folder.Path() + L"turned_Images\\" + c.name + L".jpg";
        const std::string written = ReadFileBytes(linked);
        if (!c.linkedAsItLies) {
            EXPECT_TRUE(written == ReadFileBytes(folder + c.name + L".upright.jpg")) << Narrow(c.name);
            continue;
        }
        // Two bytes differ from the source: the orientation's value.
        const std::string source = ReadFileBytes(folder + c.name + L".jpg");
        ASSERT_EQ(source.size(), written.size()) << Narrow(c.name);
        size_t differing = 0;
        for (size_t i = 0; i < source.size(); ++i)
            differing += source[i] != written[i];
        EXPECT_EQ(1u, differing) << Narrow(c.name);  // the orientation's low byte, here little-endian
        CKWRasterLib::ImageInfo stored, info;
        ASSERT_TRUE(g_rasterLib.GetImageInfo(g_rasterLib.GetPictureId(linked.c_str()), info));
        ASSERT_TRUE(g_rasterLib.GetImageInfo(g_rasterLib.GetPictureId((folder + c.name + L".jpg").c_str()), stored));
        EXPECT_EQ(1, info.orientation) << Narrow(c.name);
        const bool sideways = stored.orientation >= 5;
        EXPECT_EQ(sideways ? stored.size.cy : stored.size.cx, info.size.cx) << Narrow(c.name) << " lies as stored";
        EXPECT_EQ(sideways ? stored.size.cx : stored.size.cy, info.size.cy) << Narrow(c.name);
    }
}
