// A photograph that is sound when the report's pictures are checked and is
// cut short afterwards (before the report is written, or while it is) goes
// into the PDF, the HTML pages and the presentation's folder as the
// placeholder, never as its cut bytes, and the next check of the pictures
// names it as damaged.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "export/html/TalHTMLExp.h"
#include "export/pdf/PDFWriter.h"
#include "export/ppt/PPTWriter.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWProgressInterface.h"
#include "framework/KWRasterLib.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/PhotoReport.h"
#include "tests/support/PictureSizes.h"
#include "tests/support/TestPictureFiles.h"

using test_support::PdfImageSizes;
using test_support::PictureSize;

namespace {

enum Writer { kPdf, kHtml, kPowerPoint };
enum When { kBeforeWriting, kWhileWriting };

// Calls the action once, at a point of the writing that the predicate on the
// progress finds.
class CProgressTrigger : public CKWProgressInterface {
public:
    CProgressTrigger(std::function<bool(CProgressTrigger&)> when, std::function<void()> action)
        : m_when(std::move(when)), m_action(std::move(action))
    {
    }
    void StepIt() override { SetPos(m_position + 1); }
    int GetPos() override { return m_position; }
    void SetPos(int position) override
    {
        m_position = position;
        ++m_steps;
        if (m_firstShare < 0)
            m_firstShare = GetStageShare();
        if (!m_done && m_when(*this)) {
            m_done = true;
            m_action();
        }
    }
    int GetUpper() override { return 1000; }

    int Steps() const { return m_steps; }
    // True once a stage of another share than the first one has begun.
    bool InLaterStage() const { return m_firstShare >= 0 && GetStageShare() != m_firstShare; }
    bool Done() const { return m_done; }

private:
    std::function<bool(CProgressTrigger&)> m_when;
    std::function<void()> m_action;
    int m_position = 0;
    int m_steps = 0;
    double m_firstShare = -1;
    bool m_done = false;
};

void CutShort(const std::wstring& path)
{
    const std::string bytes = ReadFileBytes(path);
    WriteFileBytes(path, bytes.substr(0, bytes.size() / 3));
}

class ChangedPicture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    CExportTestFolder m_folder;
};

}  // namespace

TEST_F(ChangedPicture, APhotographCutShortAfterTheCheckGoesInAsThePlaceholder)
{
    // A JPEG's coded data are walked before its file is passed on; a PNG is
    // copied as it stands, trusting the check.
    const struct {
        Writer writer;
        When when;
        bool png;
        const char* name;
    } cases[] = {
        {kPdf, kBeforeWriting, false, "PDF, a JPEG cut before it is written"},
        {kPdf, kBeforeWriting, true, "PDF, a PNG cut before it is written"},
        {kPdf, kWhileWriting, false, "PDF, a JPEG cut once its pages are laid out"},
        {kPdf, kWhileWriting, true, "PDF, a PNG cut once its pages are laid out"},
        {kHtml, kBeforeWriting, false, "HTML, a JPEG cut before it is written"},
        {kHtml, kBeforeWriting, true, "HTML, a PNG cut before it is written"},
        {kHtml, kWhileWriting, false, "HTML, a JPEG cut once the first page is written"},
        {kHtml, kWhileWriting, true, "HTML, a PNG cut once the first page is written"},
        {kPowerPoint, kBeforeWriting, false, "PowerPoint, a JPEG cut before it is written"},
        {kPowerPoint, kBeforeWriting, true, "PowerPoint, a PNG cut before it is written"},
    };
    KWRasterImagePtr placeholder(g_rasterLib.RasterCopyPlaceholder());
    ASSERT_NE(nullptr, placeholder);
    const SIZE photoSize = {320, 240};
    const SIZE placeholderSize = {LONG(placeholder->width), LONG(placeholder->height)};
    uint32_t seed = 10;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring folder = m_folder.MakeFolder(std::to_wstring(seed)) + L"\\";
        CPhotoReport report(3);
        report.TakePhotographs(folder, ++seed, L"Photographs");
        if (c.png) {
            const std::wstring chart = folder + L"chart.png";
            ASSERT_TRUE(WriteFileBytes(
                chart, testpictures::PngFile(320, 240, 8, false, testpictures::PhotoPixels(320, 240, seed))));
            report.SetPicture(1, g_rasterLib.GetPictureId(chart.c_str()));
        }
        const std::vector<uint32_t> ids = report.Pictures();
        // The check before a generation: every photograph is sound.
        g_rasterLib.CheckPictures(ids, false);
        for (uint32_t id : ids)
            ASSERT_EQ(KWPictureState::Sound, g_rasterLib.GetPictureState(id, false));
        const std::wstring cutPath = g_rasterLib.GetImagePath(ids[1]).GetString();
        const std::string sound = ReadFileBytes(cutPath);
        if (c.when == kBeforeWriting)
            CutShort(cutPath);
        CProgressTrigger progress(
            [&](CProgressTrigger& at) {
                if (c.when != kWhileWriting)
                    return false;
                // The PDF's pages are laid out in a first stage; the HTML
                // pages come last, one step each, after the other steps.
                return c.writer == kPdf ? at.InLaterStage()
                                        : at.Steps() == CTalHTMLExp::CountProgressSteps(3, false) - 2;
            },
            [&] { CutShort(cutPath); });
        const std::string cut = sound.substr(0, sound.size() / 3);

        const wchar_t* names[] = {L"out.pdf", L"out.html", L"out.ppt"};
        const std::wstring target = folder + names[c.writer];
        std::vector<std::pair<std::wstring, SIZE>> pictures;  // written, with the size each shows
        switch (c.writer) {
        case kPdf: {
            PDFWriter writer;
            ASSERT_TRUE(writer.Export(report, target.c_str(), &progress));
            const std::string pdf = ReadFileBytes(target);
            for (const SIZE& size : PdfImageSizes(pdf))
                pictures.emplace_back(L"PDF image", size);
            EXPECT_EQ(std::string::npos, pdf.find(cut.substr(cut.size() - 64))) << "the cut bytes' last ones";
            EXPECT_NE(std::string::npos, pdf.find(ReadFileBytes(g_rasterLib.GetImagePath(ids[0]).GetString())))
                << "a sound photograph goes in as it is";
            break;
        }
        case kHtml: {
            CTalHTMLExp exporter;
            ASSERT_TRUE(exporter.WriteExport(report, target.c_str(), &progress));
            for (int i = 1; i <= 3; ++i) {
                const wchar_t* extension = c.png && i == 2 ? L".png" : L".jpg";
                const std::wstring path = folder + L"out_data\\out_image" + std::to_wstring(i) + extension;
                pictures.emplace_back(path, PictureSize(ReadFileBytes(path)));
            }
            break;
        }
        case kPowerPoint: {
            report.ComposeExportPages(false);
            PPTWriter writer;
            writer.SetProgress(&progress);
            ASSERT_TRUE(writer.Export(report.GetExportProperties(), report.GetExportPages(), CString(target.c_str())));
            for (uint32_t id : ids) {
                const std::wstring path = folder + L"out_Images\\" + g_rasterLib.GetImageFileName(id).GetString();
                pictures.emplace_back(path, PictureSize(ReadFileBytes(path)));
            }
            break;
        }
        }
        EXPECT_EQ(c.when == kWhileWriting, progress.Done());
        ASSERT_EQ(3u, pictures.size());
        for (size_t i = 0; i < pictures.size(); ++i) {
            const SIZE expected = i == 1 ? placeholderSize : photoSize;
            EXPECT_EQ(expected.cx, pictures[i].second.cx) << Narrow(pictures[i].first.c_str());
            EXPECT_EQ(expected.cy, pictures[i].second.cy) << Narrow(pictures[i].first.c_str());
            if (c.writer != kPdf)
                EXPECT_NE(cut, ReadFileBytes(pictures[i].first)) << Narrow(pictures[i].first.c_str());
        }
        // The check after the generation names the cut photograph as damaged, once.
        g_rasterLib.CheckPictures(ids, false);
        EXPECT_EQ(KWPictureState::Damaged, g_rasterLib.GetPictureState(ids[1], false));
        EXPECT_EQ(KWPictureState::Sound, g_rasterLib.GetPictureState(ids[0], false));
        EXPECT_TRUE(g_rasterLib.TakeReport(ids[1]));
        EXPECT_FALSE(g_rasterLib.TakeReport(ids[1]));
    }
}
