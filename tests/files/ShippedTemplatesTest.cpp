// The page templates the program ships in its folder "DATA"
// (resources/templates/DATA): each file is what the program's own template
// writer makes of the layout below, byte for byte, and reads back as that
// layout. With OT_REGENERATE_GOLDENS set the shipped files are written anew.
#include "FilesTestSupport.h"

#include "files/TalTemplateTags.h"
#include "files/TalXmlSerializer.h"
#include "framework/KWRasterLib.h"
#include "model/TalPageTemplate.h"
#include "model/TalTitlePageTemplate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct Cell {
    int32_t kind;
    double left, top, right, bottom;
};

struct ShippedTemplate {
    const wchar_t* file;
    const wchar_t* title;
    bool titlePage;
    std::vector<Cell> cells;
};

// Page templates: 1 heading, 2 text, 3 pictures. Title-page templates: 4
// title, 5 subject, 6 author, 7 company, 8 description, 9 logo, 10 date.
// The gap under a picture cell holds the picture's caption.
const ShippedTemplate kTemplates[] = {
    {L"OnePicture.otl", L"1 Picture", false,
     {{1, 0.08, 0.04, 0.92, 0.09}, {3, 0.08, 0.11, 0.92, 0.66}, {2, 0.08, 0.72, 0.92, 0.95}}},
    {L"TwoPictures.otl", L"2 Pictures", false,
     {{1, 0.08, 0.04, 0.92, 0.09},
      {3, 0.08, 0.11, 0.92, 0.41},
      {3, 0.08, 0.46, 0.92, 0.76},
      {2, 0.08, 0.82, 0.92, 0.96}}},
    {L"FourPicturesNote.otl", L"4 Pictures and Note", false,
     {{1, 0.06, 0.04, 0.94, 0.09},
      {3, 0.06, 0.11, 0.485, 0.35},
      {3, 0.515, 0.11, 0.94, 0.35},
      {3, 0.06, 0.4, 0.485, 0.64},
      {3, 0.515, 0.4, 0.94, 0.64},
      {2, 0.06, 0.7, 0.94, 0.96}}},
    {L"Classic.ott", L"Classic", true,
     {{9, 0.35, 0.08, 0.65, 0.26},
      {4, 0.1, 0.3, 0.9, 0.4},
      {5, 0.1, 0.41, 0.9, 0.47},
      {8, 0.1, 0.49, 0.9, 0.59},
      {6, 0.1, 0.64, 0.9, 0.68},
      {7, 0.1, 0.69, 0.9, 0.73},
      {10, 0.1, 0.88, 0.9, 0.92}}},
    {L"Modern.ott", L"Modern", true,
     {{9, 0.06, 0.05, 0.3, 0.2},
      {4, 0.06, 0.55, 0.94, 0.65},
      {5, 0.06, 0.66, 0.94, 0.71},
      {8, 0.06, 0.72, 0.94, 0.8},
      {6, 0.06, 0.84, 0.6, 0.88},
      {7, 0.06, 0.88, 0.6, 0.92},
      {10, 0.6, 0.84, 0.94, 0.88}}},
};

// The preview: the page in miniature, a 4-bit bitmap of the A4 proportions
// with each cell drawn as what it holds.
constexpr int kPreviewWidth = 96;
constexpr int kPreviewHeight = 136;
enum Ink : uint8_t { kPaper, kEdge, kHeading, kPicture, kPictureEdge, kHill, kLine, kLogo };
const uint8_t kPalette[][3] = {  // red, green, blue
    {0xFF, 0xFF, 0xFF}, {0x90, 0x90, 0x90}, {0x2A, 0x3C, 0x6A}, {0xB8, 0xD4, 0xF0},
    {0x50, 0x78, 0xB0}, {0x5A, 0xA0, 0x50}, {0xA8, 0xA8, 0xA8}, {0xE0, 0x90, 0x30},
};

std::string PreviewBitmap(const ShippedTemplate& shipped)
{
    std::vector<uint8_t> ink(kPreviewWidth * kPreviewHeight, kPaper);
    auto put = [&](int x, int y, uint8_t value) {
        if (x >= 0 && y >= 0 && x < kPreviewWidth && y < kPreviewHeight)
            ink[static_cast<size_t>(y * kPreviewWidth + x)] = value;
    };
    for (int x = 0; x < kPreviewWidth; ++x)
        put(x, 0, kEdge), put(x, kPreviewHeight - 1, kEdge);
    for (int y = 0; y < kPreviewHeight; ++y)
        put(0, y, kEdge), put(kPreviewWidth - 1, y, kEdge);
    for (const Cell& cell : shipped.cells) {
        const int l = static_cast<int>(cell.left * kPreviewWidth), r = static_cast<int>(cell.right * kPreviewWidth);
        const int t = static_cast<int>(cell.top * kPreviewHeight), b = static_cast<int>(cell.bottom * kPreviewHeight);
        for (int y = t; y < b; ++y) {
            for (int x = l; x < r; ++x) {
                const bool edge = x == l || x == r - 1 || y == t || y == b - 1;
                switch (cell.kind) {
                case 3: {
                    // Sky over a hill.
                    const bool hill = (y - t) * (r - l) > (b - t) * (r - l) / 2 + (x - l) * (b - t) / 3;
                    put(x, y, edge ? kPictureEdge : hill ? kHill : kPicture);
                    break;
                }
                case 9:
                    put(x, y, edge ? kEdge : kLogo);
                    break;
                case 1:
                case 4:
                    put(x, y, (y - t) < (b - t) * 2 / 3 ? kHeading : kPaper);
                    break;
                default:
                    // Lines of text, every third row.
                    if ((y - t) % 3 == 1 && x < r - (y * 7 % 11))
                        put(x, y, kLine);
                    break;
                }
            }
        }
    }
    const uint32_t stride = ((kPreviewWidth * 4 + 31) / 32) * 4;
    const uint32_t paletteSize = 16 * 4;
    const uint32_t offset = 14 + 40 + paletteSize;
    std::string bytes;
    auto u16 = [&](uint32_t v) { bytes += static_cast<char>(v & 0xFF), bytes += static_cast<char>(v >> 8 & 0xFF); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
    bytes += "BM";
    u32(offset + stride * kPreviewHeight), u32(0), u32(offset);
    u32(40), u32(kPreviewWidth), u32(kPreviewHeight), u16(1), u16(4), u32(0), u32(stride * kPreviewHeight);
    u32(2835), u32(2835), u32(16), u32(0);
    for (size_t i = 0; i < 16; ++i) {
        const uint8_t* rgb = i < sizeof kPalette / sizeof kPalette[0] ? kPalette[i] : kPalette[0];
        bytes += static_cast<char>(rgb[2]), bytes += static_cast<char>(rgb[1]), bytes += static_cast<char>(rgb[0]);
        bytes += '\0';
    }
    for (int y = kPreviewHeight - 1; y >= 0; --y) {  // bottom row first
        std::string row(stride, '\0');
        for (int x = 0; x < kPreviewWidth; ++x)
            row[static_cast<size_t>(x / 2)] |= static_cast<char>(ink[static_cast<size_t>(y * kPreviewWidth + x)]
                                                                 << (x % 2 ? 0 : 4));
        bytes += row;
    }
    return bytes;
}

std::vector<std::vector<double>> CellsOf(const CTalTemplate& tmpl, int32_t kind)
{
    std::vector<std::vector<double>> cells;
    if (const CTalCellList* list = tmpl.GetCells(kind)) {
        for (const CKWDoubleRect& r : *list)
            cells.push_back({r.left, r.top, r.right, r.bottom});
    }
    return cells;
}

}  // namespace

TEST(ShippedTemplates, AreWhatTheTemplateWriterMakesOfTheirLayoutsAndReadBack)
{
    filestest::TempDir folder;
    CTalXmlSerializer writer;
    writer.SetTemplateFolder(folder.Path().c_str());
    int pageTemplates = 0, titleTemplates = 0;
    for (const ShippedTemplate& shipped : kTemplates) {
        SCOPED_TRACE(filestest::ToAnsi(shipped.file));
        std::unique_ptr<CTalTemplate> made;
        if (shipped.titlePage)
            made = std::make_unique<CTalTitlePageTemplate>();
        else
            made = std::make_unique<CTalPageTemplate>();
        (shipped.titlePage ? titleTemplates : pageTemplates)++;
        made->SetName(shipped.file);
        made->SetTitle(shipped.title);
        for (const Cell& cell : shipped.cells)
            made->AddCell(cell.kind, CKWDoubleRect(cell.left, cell.top, cell.right, cell.bottom));
        const std::wstring preview = folder.File((std::wstring(shipped.file) + L".bmp").c_str());
        filestest::WriteBytes(preview, PreviewBitmap(shipped));
        made->SetPreviewPictureId(static_cast<int32_t>(g_rasterLib.GetPictureId(preview.c_str())));
        ASSERT_TRUE(shipped.titlePage ? writer.SaveTitleTemplate(made.get()) : writer.SaveLeafTemplate(made.get()));
        const std::string written = filestest::ReadBytes(folder.File(shipped.file));
        const std::wstring shippedPath = filestest::ShippedTemplatePath(shipped.file);
        if (std::getenv("OT_REGENERATE_GOLDENS"))
            filestest::WriteBytes(shippedPath, written);
        ASSERT_TRUE(filestest::FileExists(shippedPath)) << "not shipped: " << filestest::ToAnsi(shippedPath);
        EXPECT_EQ(filestest::ReadBytes(shippedPath), written);
        EXPECT_TRUE(filestest::IsWellFormedXml(shippedPath));

        // The shipped file reads back as the layout, with its preview.
        std::unique_ptr<CTalTemplate> back;
        if (shipped.titlePage)
            back = std::make_unique<CTalTitlePageTemplate>();
        else
            back = std::make_unique<CTalPageTemplate>();
        CTalTemplateTags tags;
        ASSERT_TRUE(tags.RegisterTags());
        CTalXmlSerializer reader;
        ASSERT_TRUE(reader.LoadTemplate(shippedPath.c_str(), &tags, back.get()));
        EXPECT_EQ(CString(shipped.title), back->GetTitle());
        for (int32_t kind = 0; kind <= 10; ++kind)
            EXPECT_EQ(CellsOf(*made, kind), CellsOf(*back, kind)) << kind;
        ASSERT_NE(0, back->GetPreviewPictureId());
        EXPECT_EQ(PreviewBitmap(shipped),
                  filestest::ReadBytes(g_rasterLib.GetImagePath(back->GetPreviewPictureId()).GetString()));
        // A page template has a heading, pictures and text; a title page every text, the logo and the date.
        const std::vector<int32_t> kinds = shipped.titlePage ? std::vector<int32_t>{4, 5, 6, 7, 8, 9, 10}
                                                             : std::vector<int32_t>{1, 2, 3};
        for (int32_t kind : kinds)
            EXPECT_FALSE(CellsOf(*back, kind).empty()) << kind;
    }
    EXPECT_GE(pageTemplates, 3);
    EXPECT_GE(titleTemplates, 2);
}
