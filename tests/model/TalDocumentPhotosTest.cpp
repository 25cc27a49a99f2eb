// A report of the files users really have: progressive, grey, CMYK and
// camera-turned JPEGs, 16-bit and transparent PNGs, a palette GIF, 4- and
// 24-bit bitmaps, an LZW TIFF, a 1-pixel and an 8000 x 200 picture, and the
// broken ones (cut short, damaged scan, a huge size claimed in a few bytes,
// empty, text named .jpg), a JPEG named .png, all in a folder and under a
// name outside the ANSI code page. Saved in the three storage modes,
// reloaded, and generated as PDF, HTML and PowerPoint: each output is read
// back here and by the test command's readers, and turned pictures stand
// upright in all three.
#include "TalDocumentExportFixture.h"
#include "tests/export/html/HtmlLinkWalker.h"
#include "tests/export/pdf/PDFTestSupport.h"
#include "tests/export/ppt/PptFileCheck.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/TestPictureFiles.h"

#include "export/pdf/PDFRecords.h"
#include "files/XmlErrorDlg.h"
#include "framework/KWPictureProblem.h"
#include "framework/KWRasterLib.h"
#include "model/TalPicture.h"
#include "model/TalTextNote.h"
#include "resources/FilesDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

using namespace taldoc;
using namespace testpictures;

namespace {

struct PhotoFile {
    std::wstring name;
    std::string bytes;
};

std::string Rgb(uint32_t width, uint32_t height, uint32_t seed)
{
    return PhotoPixels(width, height, seed, 16);
}

// RGBA or 16-bit samples from RGB ones.
std::string Widened(const std::string& rgb, bool alpha, bool sixteen)
{
    std::string out;
    for (size_t i = 0; i < rgb.size(); i += 3) {
        for (int c = 0; c < (alpha ? 4 : 3); ++c) {
            const char v = c < 3 ? rgb[i + c] : char(i % 256);
            out += v;
            if (sixteen)
                out += char(0x5A);
        }
    }
    return out;
}

std::string Grey(const std::string& rgb)
{
    std::string grey;
    for (size_t i = 0; i < rgb.size(); i += 3)
        grey += rgb[i + 1];
    return grey;
}

std::vector<PhotoFile> MakePhotoFiles()
{
    const std::string photo = Rgb(96, 64, 1);
    const std::string jpeg = EncodeJpeg(photo, 96, 64);
    std::string cmykPixels;
    for (size_t i = 0; i < photo.size(); i += 3)
        cmykPixels += std::string{char(255 - photo[i]), char(255 - photo[i + 1]), char(255 - photo[i + 2]), 0};
    // The frame header claims 65,500 x 65,500 pixels.
    std::string huge = jpeg;
    const size_t frame = huge.find("\xFF\xC0");
    for (size_t k : {frame + 5, frame + 7}) {
        huge[k] = char(0xFF);
        huge[k + 1] = char(0xDC);
    }
    // A stretch of the coded data with its bits turned over.
    std::string flipped = jpeg;
    const size_t scan = flipped.find("\xFF\xDA") + 20;
    for (size_t k = scan; k < scan + 400 && k + 2 < flipped.size(); ++k)
        flipped[k] = char(~flipped[k]);
    std::string palette;
    KWRasterImagePtr image(KWAllocRasterImage(40, 30, 160));
    for (uint32_t i = 0; image && i < 40 * 30 * 4; ++i)
        image->Pixels()[i] = uint8_t((i / 4 % 40) * 6 + (i % 4) * 50);
    if (KWWriteRasterImageToMemoryFn write = g_rasterLib.GetFunctions().WriteRasterImageToMemory) {
        const int32_t size = image ? write(image.get(), nullptr, 0, "gif") : 0;
        palette.resize(size_t(size > 0 ? size : 0));
        if (size > 0)
            write(image.get(), &palette[0], size, "gif");
    }
    std::string bmp24 = "BM";
    {
        const std::string rows = Rgb(50, 20, 5);
        const uint32_t stride = (50 * 3 + 3) & ~3u;
        for (uint32_t v : {54 + stride * 20, 0u, 54u, 40u, 50u, 20u})
            Put32(bmp24, v, false);
        Put16(bmp24, 1, false);
        Put16(bmp24, 24, false);
        for (uint32_t v : {0u, stride * 20, 2835u, 2835u, 0u, 0u})
            Put32(bmp24, v, false);
        for (uint32_t y = 20; y-- > 0;) {
            std::string line = rows.substr(y * 150, 150);
            for (size_t x = 0; x < line.size(); x += 3)
                std::swap(line[x], line[x + 2]);
            bmp24 += line + std::string(stride - 150, '\0');
        }
    }
    return {
        {L"progressive.jpg", EncodeJpeg(photo, 96, 64, TJPF_RGB, 90, TJFLAG_PROGRESSIVE)},
        {L"grey.jpg", EncodeJpeg(Grey(photo), 96, 64, TJPF_GRAY)},
        {L"cmyk.jpg", EncodeJpeg(cmykPixels, 96, 64, TJPF_CMYK)},
        {L"turned3.jpg", WithSegment(jpeg, ExifSegment(3))},
        {L"turned6.jpg", WithSegment(jpeg, ExifSegment(6, true))},
        {L"turned8.jpg", WithSegment(jpeg, ExifSegment(8))},
        {L"deep.png", PngFile(48, 32, 16, false, Widened(Rgb(48, 32, 2), false, true))},
        {L"clear.png", PngFile(48, 32, 8, true, Widened(Rgb(48, 32, 3), true, false))},
        {L"palette.gif", palette},
        {L"four.bmp", FourBitBmp(33, 21, Grey(Rgb(33, 21, 4)))},
        {L"true.bmp", bmp24},
        {L"lzw.tif", TiffFile(40, 24, Rgb(40, 24, 6), 1, true)},
        {L"dot.png", PngFile(1, 1, 8, false, "\x10\x80\xF0")},
        {L"strip.jpg", EncodeJpeg(Rgb(8000, 200, 7), 8000, 200)},
        {L"cut.jpg", jpeg.substr(0, jpeg.size() * 2 / 3)},
        {L"flipped.jpg", flipped},
        {L"huge.jpg", huge},
        {L"empty.jpg", std::string()},
        {L"text.jpg", "This is a note, not a picture.\r\n"},
        {L"jpeg.png", jpeg},
        {L"\u7167\u7247 photo.jpg", EncodeJpeg(Rgb(64, 48, 8), 64, 48)},
    };
}

// The placed width and height of an image in a PDF's page contents: the
// matrix before its "Do", whose columns are the image's sides on the page.
bool PlacedSize(const std::string& pdf, uint32_t imageKey, double& width, double& height)
{
    const pdftest::Document doc(pdf);
    const std::string draw = " cm\r\n/I" + std::to_string(imageKey) + " Do";
    for (uint32_t n = 1; n < doc.Size(); ++n) {
        if (doc.Entry(n, "/Filter") != "/FlateDecode" || !doc.Entry(n, "/Subtype").empty())
            continue;
        const std::string content = pdftest::Inflate(doc.StreamData(n));
        const size_t at = content.find(draw);
        if (at == std::string::npos)
            continue;
        const size_t line = content.rfind("\r\n", at) + 2;
        double m[6] = {};
        if (std::sscanf(content.c_str() + line, "%lf %lf %lf %lf %lf %lf", &m[0], &m[1], &m[2], &m[3], &m[4],
                        &m[5]) != 6)
            return false;
        width = std::abs(m[0]) + std::abs(m[2]);
        height = std::abs(m[1]) + std::abs(m[3]);
        return true;
    }
    return false;
}

class TalDocumentPhotos : public TalDocumentExport {
protected:
    void AddPhotos()
    {
        CTalTemplate* page = heading->GetPageTemplate();
        ASSERT_NE(nullptr, page);
        page->AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0.1, 0.2, 0.45, 0.6));
        page->AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0.55, 0.2, 0.9, 0.6));
        TypeNote(*document, heading.Get(), L"R&D notes: a < b & c");
        pictureFolder = folder + L"\u76f8\u7247 pictures\\";
        ASSERT_TRUE(::CreateDirectoryW(pictureFolder.c_str(), nullptr));
        CTalPictureList pictures;
        for (const PhotoFile& file : MakePhotoFiles()) {
            ASSERT_TRUE(WriteFileBytes(pictureFolder + file.name, file.bytes));
            CKWRefPtr<CTalPicture> picture(new CTalPicture);
            picture->SetPictureId(static_cast<int32_t>(g_rasterLib.GetPictureId((pictureFolder + file.name).c_str())));
            picture->SetTitle(file.name.c_str());
            pictures.push_back(picture);
            titles.push_back(file.name);
        }
        ASSERT_TRUE(document->GetCommander().InsertPictures(heading.Get(), pictures, 0, true));
    }

    uint32_t PictureIdOf(const std::wstring& title)
    {
        for (const CKWRefPtr<CTalPicture>& picture : heading->GetPictures()) {
            if (std::wstring(picture->GetTitle()) == title)
                return static_cast<uint32_t>(picture->GetPictureId());
        }
        return 0;
    }

    void SaveAndReload(int32_t mode)
    {
        Properties().m_imageSaveType = mode;
        const std::wstring saved = folder + L"\u62a5\u544a " + std::to_wstring(mode) + L".otd";
        // The empty picture is named in the save's messages when pictures are embedded.
        if (mode == 0)
            PressInDialogWith(IDC_XML_ERROR_LIST, IDOK);
        ASSERT_TRUE(document->OnSaveDocument(saved.c_str())) << mode;
        if (mode == 0)
            EXPECT_TRUE(DialogWasAnswered());
        StopAnswering();
        document->OnCloseDocument();
        PressInDialogWith(IDC_XML_ERROR_LIST, IDOK);
        document = app->OpenDocument(saved.c_str());
        // Naming files where they lie, the report takes only pictures: the text file is named.
        if (mode == 1)
            EXPECT_TRUE(DialogWasAnswered());
        StopAnswering();
        ASSERT_NE(nullptr, document);
        heading = document->GetProperties().GetHeadingSection();
        std::vector<std::wstring> back;
        for (const CKWRefPtr<CTalPicture>& picture : heading->GetPictures())
            back.push_back(picture->GetTitle().GetString());
        EXPECT_EQ(titles, back) << mode;
        EXPECT_EQ(CString(L"R&D notes: a < b & c"), heading->GetTextNote()->GetText());
    }

    void CheckPdf(const std::wstring& name)
    {
        const std::wstring path = folder + name + L".pdf";
        ASSERT_TRUE(document->WritePdf(path.c_str()));
        KeepForReaders("OT_PDF_CHECK_DIR", path, (name + L".pdf").c_str());
        const std::string pdf = ReadFileBytes(path);
        // The turned photograph goes in as it is, stored sideways, and is placed upright.
        const uint32_t key = PDFImageRecordKey(PictureIdOf(L"turned6.jpg"), 0, false);
        double width = 0, height = 0;
        ASSERT_TRUE(PlacedSize(pdf, key, width, height));
        EXPECT_GT(height, width * 1.4);
        EXPECT_NE(std::string::npos, pdf.find("/Width 96\r\n/Height 64\r\n"));
    }

    void CheckHtml(const std::wstring& name, const std::wstring& extension)
    {
        const std::wstring path = folder + name + extension;
        ASSERT_TRUE(document->WriteHtml(path.c_str()));
        const htmltest::LinkReport links = htmltest::WalkLinks(path);
        EXPECT_GT(links.references, titles.size());
        for (const std::string& broken : links.broken)
            ADD_FAILURE() << broken;
        EXPECT_NE(std::string::npos, links.text.find("R&D notes: a < b & c"));
        // The browser turns the photograph itself; its box is upright.
        const std::string turned = ReadFileBytes(pictureFolder + L"turned6.jpg");
        const std::wstring data = folder + name + L"_data\\";
        size_t upright = 0;
        for (const std::wstring& file : htmltest::ListFolder(data)) {
            if (ReadFileBytes(data + file) != turned)
                continue;
            const std::string reference = htmltest::Narrow(file);
            for (const std::wstring& page : htmltest::ListFolder(data)) {
                const std::string html = ReadFileBytes(data + page);
                const size_t at = html.find("src=\"" + reference + "\"");
                if (at == std::string::npos)
                    continue;
                int width = 0, height = 0;
                const size_t style = html.rfind("WIDTH: ", at);
                ASSERT_EQ(2, std::sscanf(html.c_str() + style, "WIDTH: %dpx; HEIGHT: %dpx", &width, &height));
                EXPECT_GT(height, width * 1.4);
                ++upright;
            }
        }
        EXPECT_EQ(1u, upright);
    }

    void CheckPowerPoint(const std::wstring& name)
    {
        const std::wstring path = folder + name + L".ppt";
        ASSERT_TRUE(document->WritePowerPoint(path.c_str()));
        KeepForReaders("OT_PPT_CHECK_DIR", path, (name + L".ppt").c_str());
        Presentation p;
        LoadPresentation(path, document->GetPageCount(), p);
        size_t links = 0;
        for (const PptRecord* slide : p.slides) {
            for (const ShapeInfo& picture : Pictures(p, *slide)) {
                const std::wstring link = ComplexText(picture.complex.at(0x0105));
                const std::string bytes = ReadFileBytes(folder + link);
                EXPECT_TRUE(htmltest::IsShownPicture(bytes)) << htmltest::Narrow(link);
                ++links;
                // PowerPoint shows the file as it stores it: the turned photograph is written upright.
                if (link.find(L"turned6") == std::wstring::npos)
                    continue;
                EXPECT_GT(picture.bottom - picture.top, (picture.right - picture.left) * 14 / 10);
                const uint32_t written = g_rasterLib.GetPictureId((folder + link).c_str());
                CKWRasterLib::ImageInfo info;
                ASSERT_TRUE(g_rasterLib.GetImageInfo(written, info));
                EXPECT_EQ(1, info.orientation);
                EXPECT_EQ(64, info.size.cx);
                EXPECT_EQ(96, info.size.cy);
            }
        }
        EXPECT_EQ(titles.size(), links);
    }

    std::wstring pictureFolder;
    std::vector<std::wstring> titles;
};

}  // namespace

TEST_F(TalDocumentPhotos, EveryKindOfFileSavesReloadsAndExportsInEveryStorageMode)
{
    ASSERT_NE(nullptr, g_rasterLib.GetLibraryModule()) << "DAZiruraRuv.dll must lie next to the test program";
    NoTitleNoContents();
    AddPhotos();
    for (int32_t mode : {0, 1, 2}) {
        SaveAndReload(mode);
        if (HasFatalFailure())
            return;
        const std::wstring name = L"photos" + std::to_wstring(mode);
        CheckPdf(name);
        CheckHtml(name, mode == 1 ? L".htm" : L".html");
        CheckPowerPoint(name);
    }
    // No generation failed: every message is the warning that names the
    // broken pictures a reloaded report carries as their placeholders go in.
    // The first reload carries every broken file with its bytes (an empty
    // one comes back as the placeholder) and names each once.
    size_t broken = 0;
    for (const PhotoFile& file : MakePhotoFiles()) {
        const KWPictureState state = g_rasterLib.CheckPictureFile((pictureFolder + file.name).c_str(), false);
        broken += state == KWPictureState::Damaged || state == KWPictureState::NotPicture ? 1 : 0;
    }
    ASSERT_GT(broken, 0u);
    ASSERT_FALSE(app->messages.empty());
    for (const std::wstring& message : app->messages)
        EXPECT_EQ(0u, message.find(kKWPictureProblemsHeading)) << htmltest::Narrow(message);
    const std::wstring& first = app->messages.front();
    EXPECT_EQ(broken, size_t(std::count(first.begin(), first.end(), L'\n'))) << htmltest::Narrow(first);
}
