// A picture used several times is written once in every export and referred
// to where it is used again: a report that shows each of 20 photographs in
// two sections (the second time half of them through another name of the
// same file: a copy, another letter case) is at most 1.05 times the size of
// the report that shows each once, its PDF holds 20 images, and its HTML
// folder and its presentation's picture folder hold 20 files each, every one
// of which decodes whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <turbojpeg.h>

#include <string>
#include <vector>

#include "export/ComposeExportPages.h"
#include "export/TalExportDocIFace.h"
#include "export/html/TalHTMLExp.h"
#include "export/pdf/PDFWriter.h"
#include "export/ppt/PPTWriter.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWRasterLib.h"
#include "model/TalDocProperties.h"
#include "model/TalSection.h"
#include "model/TalTemplate.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/pdf/PDFTestSupport.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/TestPictureFiles.h"

namespace {

constexpr int kPhotographs = 20;

// The report as the document holds it, composed as the document composes it.
class Report : public CTalExportDocIFace {
public:
    ~Report() override { DeletePages(m_pages); }
    CTalDocProperties& GetExportProperties() override { return properties; }
    bool ComposeExportPages(bool printing) override
    {
        DeletePages(m_pages);
        m_pages.clear();
        return ::ComposeExportPages(properties, m_pages, printing, nullptr, nullptr);
    }
    const TalPageList& GetExportPages() const override { return m_pages; }

    CTalDocProperties properties;

private:
    TalPageList m_pages;
};

uint64_t FileLength(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)
               ? uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow
               : 0;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

// Decoded whole by libjpeg-turbo, which stops at the first warning.
bool DecodesWhole(const std::string& jpeg)
{
    tjhandle tj = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    bool ok = tjDecompressHeader3(tj, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), &width,
                                  &height, &subsampling, &colourspace) == 0;
    if (ok) {
        std::vector<unsigned char> pixels(size_t(width) * height * 3);
        ok = tjDecompress2(tj, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), pixels.data(), width,
                           0, height, TJPF_RGB, TJFLAG_STOPONWARNING) == 0;
    }
    tjDestroy(tj);
    return ok;
}

void ExpectFolderOfDecodingPictures(const std::wstring& folder, size_t count, const char* what)
{
    const std::vector<std::wstring> names = FilesIn(folder);
    size_t pictures = 0;
    for (const std::wstring& name : names) {
        if (name.size() < 4 || _wcsicmp(name.c_str() + name.size() - 4, L".jpg") != 0)
            continue;
        ++pictures;
        EXPECT_TRUE(DecodesWhole(ReadFileBytes(folder + L"\\" + name))) << what << " " << testing::PrintToString(name);
    }
    EXPECT_EQ(count, pictures) << what;
}

class PictureOnce : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    void SetUp() override
    {
        // Twenty photographs, a few recorded sideways (the presentation links
        // those as they lie, once each), and a second name for half of them.
        for (int i = 0; i < kPhotographs; ++i) {
            std::string jpeg = testpictures::EncodeJpeg(testpictures::PhotoPixels(320, 240, uint32_t(i + 1)), 320, 240);
            if (i % 7 == 3)
                jpeg = testpictures::WithSegment(jpeg, testpictures::ExifSegment(6));
            const std::wstring path = m_folder.Path() + L"photo" + std::to_wstring(i) + L".jpg";
            ASSERT_TRUE(WriteFileBytes(path, jpeg));
            m_once.push_back(int32_t(g_rasterLib.GetPictureId(path.c_str())));
            std::wstring again = path;
            if (i >= 15) {
                again = m_folder.Path() + L"PHOTO" + std::to_wstring(i) + L".JPG";  // another letter case
            } else if (i >= 10) {
                again = m_folder.Path() + L"copy of photo" + std::to_wstring(i) + L".jpg";
                ASSERT_TRUE(::CopyFileW(path.c_str(), again.c_str(), FALSE));
            }
            m_again.push_back(int32_t(g_rasterLib.GetPictureId(again.c_str())));
        }
        m_page = AddTestPageTemplate({{CTalTemplate::kCellHeading, {0.1, 0.02, 0.9, 0.08}},
                                      {CTalTemplate::kCellPictures, {0.1, 0.1, 0.45, 0.45}},
                                      {CTalTemplate::kCellPictures, {0.55, 0.1, 0.9, 0.45}},
                                      {CTalTemplate::kCellPictures, {0.1, 0.55, 0.45, 0.9}},
                                      {CTalTemplate::kCellPictures, {0.55, 0.55, 0.9, 0.9}}});
    }

    // The report showing each photograph once, or twice in two sections.
    void Fill(Report& report, bool twice)
    {
        report.properties.m_insertTitlePage = 0;
        report.properties.m_insertContents = 0;
        CKWRefPtr<CTalSection> heading = report.properties.GetHeadingSection();
        UseTemplate(heading.Get(), m_page);
        CKWRefPtr<CTalSection> first = AddSection(heading.Get(), L"Photographs");
        for (int32_t id : m_once)
            AddPicture(first.Get(), id);
        if (!twice)
            return;
        CKWRefPtr<CTalSection> second = AddSection(heading.Get(), L"The same again");
        for (int32_t id : m_again)
            AddPicture(second.Get(), id);
    }

    CExportTestFolder m_folder;
    std::vector<int32_t> m_once, m_again;
    const CTalTemplate* m_page = nullptr;
};

}  // namespace

TEST_F(PictureOnce, ThePdfOfEachPhotographTwiceHoldsEachOnce)
{
    uint64_t lengths[2] = {};
    for (bool twice : {false, true}) {
        Report report;
        Fill(report, twice);
        pdftest::TempPath path;
        PDFWriter writer;
        ASSERT_TRUE(writer.Export(report, path.c_str(), nullptr));
        EXPECT_EQ(size_t(kPhotographs), writer.GetImageRecords().size()) << twice;
        const std::string bytes = ReadFileBytes(path.Path());
        EXPECT_TRUE(pdftest::Document(bytes).Valid()) << twice;
        lengths[twice] = bytes.size();
    }
    EXPECT_LE(double(lengths[1]), 1.05 * double(lengths[0]))
        << lengths[1] << " bytes for each photograph twice, " << lengths[0] << " for each once";
}

TEST_F(PictureOnce, TheHtmlFolderAndThePresentationFolderHoldEachPhotographOnce)
{
    for (bool twice : {false, true}) {
        SCOPED_TRACE(twice ? "each photograph twice" : "each photograph once");
        Report report;
        Fill(report, twice);
        const std::wstring name = m_folder.Path() + (twice ? L"twice" : L"once");
        CTalHTMLExp html;
        ASSERT_TRUE(html.Export(report, (name + L".html").c_str()));
        ExpectFolderOfDecodingPictures(name + L"_data", kPhotographs, "HTML");

        ASSERT_TRUE(report.ComposeExportPages(false));
        PPTWriter presentation;
        ASSERT_TRUE(presentation.Export(report.properties, report.GetExportPages(), (name + L".ppt").c_str()));
        ExpectFolderOfDecodingPictures(name + L"_Images", kPhotographs, "PowerPoint");
        EXPECT_GT(FileLength(name + L".ppt"), 0u);
    }
}
