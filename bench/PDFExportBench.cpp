// The speed of generating a PDF report of camera photographs the way
// "Generate Report" does it: a report whose section holds the photographs with
// captions on a page template of one picture cell, composed into pages and
// written by the PDF writer under the progress window. The photographs are
// made first (kept between runs in the folder): photo-like JPEGs of 5 to 24
// megapixels and about 2 to 16 MB, with the EXIF and XMP segments cameras
// write, a third of them recorded sideways (orientation 6 or 8).
//
// Printed: the photographs' megabytes, the export's time, its throughput in
// MB/s of photographs, its peak private memory beyond what the program held
// before, the same for the PowerPoint export of the same report (its pictures
// are files beside it, the sideways ones turned upright) with its time as a
// multiple of the PDF's, and the throughput of a plain copy of the same files
// on the same system. Before the exports every photograph is checked as adding
// it to a report checks it (its time printed), so the exports pass on pictures
// known to read whole; the PDF is then written once more for the same
// photographs as pictures no check has seen (a report opened from its file),
// whose export checks each. bench/pdf_compare.sh runs it beside img2pdf and a
// native copy.
//
// Usage: pdf_bench [picture count [photograph folder [output folder [camera [runs]]]]]
// (a folder on a memory file system as output measures the program rather
// than the disk's write-back; camera "all" mixes the six cameras, "4000x3000"
// takes only that one; with several runs the medians are printed, with the
// machine's load before and after)
#include "bench/BenchPhotographs.h"
#include "bench/ElapsedSeconds.h"
#include "bench/MachineLoad.h"
#include "bench/PeakMemory.h"
#include "export/ComposeExportPages.h"
#include "export/TalExportDocIFace.h"
#include "export/pdf/PDFWriter.h"
#include "export/ppt/PPTWriter.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWRasterLib.h"
#include "appwindows/KWProgressWnd.h"
#include "model/TalDocProperties.h"
#include "model/TalPageTemplate.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalTemplateManager.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The report as the document holds it, composed as the document composes it.
class CBenchReport : public CTalExportDocIFace {
public:
    CTalDocProperties& GetExportProperties() override { return m_properties; }
    bool ComposeExportPages(bool printing) override
    {
        DeletePages(m_pages);
        m_pages.clear();
        return ::ComposeExportPages(m_properties, m_pages, printing, nullptr, nullptr);
    }
    const TalPageList& GetExportPages() const override { return m_pages; }
    ~CBenchReport() override { DeletePages(m_pages); }

    CTalDocProperties m_properties;

private:
    TalPageList m_pages;
};

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

size_t Above(size_t peak, size_t before)
{
    return peak > before ? peak - before : 0;
}

void RemoveFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::DeleteFileW((folder + found.cFileName).c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

// The report's section of photographs, one page each; under other letter
// case the same files are other pictures of the store, whose checks are not
// yet made (as in a report opened from its file).
void FillReport(CBenchReport& report, const std::vector<std::wstring>& photos, const wchar_t* templateName,
                bool otherCase)
{
    report.m_properties.m_insertTitlePage = 0;
    report.m_properties.m_insertContents = 0;
    report.m_properties.m_useDescription = 1;
    CKWRefPtr<CTalSection> section = report.m_properties.GetHeadingSection();
    section->SetName(L"Photographs");
    section->SetOwnTemplate(1);
    section->SetTemplateName(templateName);
    CTalPictureList pictures;
    for (size_t i = 0; i < photos.size(); ++i) {
        std::wstring path = photos[i];
        if (otherCase)
            CharUpperBuffW(&path[0], DWORD(path.size()));
        CKWRefPtr<CTalPicture> photo(new CTalPicture(section.Get()));
        photo->SetPictureId(int32_t(g_rasterLib.GetPictureId(path.c_str())));
        photo->SetTitle((L"Photograph number " + std::to_wstring(i + 1)).c_str());
        pictures.push_back(photo);
    }
    section->InsertPictures(pictures, nullptr);
}

// The PDF written as "Generate Report" writes it; its time, and its peak
// private memory above what the program held before.
bool TimePdf(CBenchReport& report, const std::wstring& output, double& seconds, double& megabytes)
{
    const size_t before = PrivateBytes();
    CPeakSampler sampler;
    const LARGE_INTEGER start = Now();
    bool ok = false;
    {
        CKWProgressWnd progress;
        progress.SetRange(1, 100);
        progress.SetStep(1);
        progress.Show();
        PDFWriter writer;
        ok = writer.Export(report, output.c_str(), &progress);
        progress.Hide();
    }
    seconds = Seconds(start);
    megabytes = double(sampler.Stop() - before) / 1048576.0;
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 200;
    const std::wstring folder = FolderArgument(argc, argv, 2);
    const std::wstring outputFolder = FolderArgument(argc, argv, 3, folder);
    const Camera* camera = argc > 4 && std::strcmp(argv[4], "all") != 0 ? FindCamera(argv[4]) : nullptr;
    const int runs = argc > 5 ? std::max(1, std::atoi(argv[5])) : 1;
    if (argc > 4 && std::strcmp(argv[4], "all") != 0 && !camera) {
        std::printf("no camera makes photographs of %s\n", argv[4]);
        return 1;
    }
    StartupGdiPlus();

    std::printf("photographs in %ls\n", folder.c_str());
    int64_t pictureBytes = 0;
    const std::vector<std::wstring> photos = MakePhotographs(folder, count, pictureBytes, camera);
    if (photos.empty())
        return 1;
    const double megabytes = double(pictureBytes) / 1048576.0;
    std::printf("%d photographs, %.1f MB (%.1f MB each on average)\n", count, megabytes, megabytes / count);
    // Photographs of 4:2:0 turn exactly when the side that a turn mirrors
    // holds whole MCUs of 16 pixels: orientation 6 mirrors the rows, 8 the columns.
    int exact = 0, inexact = 0;
    for (int i = 0; i < count; ++i) {
        const Camera& c = kCameras[CameraIndexOf(i, camera)];
        const uint16_t orientation = OrientationOf(i, camera);
        if (orientation == 6 || orientation == 8)
            ((orientation == 6 ? c.height : c.width) % 16 == 0 ? exact : inexact) += 1;
    }
    std::printf("recorded sideways: %d (%d with an exact lossless turn, %d without)\n", exact + inexact, exact,
                inexact);

    // The photographs are read once, so that every measure finds them in the
    // system's cache.
    {
        std::vector<char> block(1 << 20);
        for (const std::wstring& path : photos) {
            HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            DWORD got = 0;
            while (file != INVALID_HANDLE_VALUE && ::ReadFile(file, block.data(), DWORD(block.size()), &got, nullptr) &&
                   got > 0) {
            }
            if (file != INVALID_HANDLE_VALUE)
                ::CloseHandle(file);
        }
    }

    CBenchReport report;
    // One page per photograph: the section's heading above, the picture with its caption below.
    CTalTemplate* onePerPage = new CTalPageTemplate;
    const wchar_t* const kTemplateName = L"Photograph";
    onePerPage->SetName(kTemplateName);
    onePerPage->SetTitle(kTemplateName);
    const CKWDoubleRect heading(0.1, 0.03, 0.9, 0.07), picture(0.1, 0.1, 0.9, 0.85);
    onePerPage->AddCell(CTalTemplate::kCellHeading, heading);
    onePerPage->AddCell(CTalTemplate::kCellPictures, picture);
    g_TemplateManager.AddPageTemplate(onePerPage);
    FillReport(report, photos, kTemplateName, false);

    // Every photograph checked as adding it to a report checks it: each is
    // then known to read whole, and the exports pass it on unwalked.
    const LARGE_INTEGER checkStart = Now();
    int sound = 0;
    for (const std::wstring& photo : photos)
        sound += g_rasterLib.GetPictureState(g_rasterLib.GetPictureId(photo.c_str()), true) == KWPictureState::Sound;
    const double checkSeconds = Seconds(checkStart);

    // The two exports in turn, each run after the other's, so that both meet
    // the machine as it is from one moment to the next.
    std::vector<double> pdfTimes, pptTimes;
    double pdfMemory = 0;
    size_t pptPeak = 0;
    bool ok = true, pptOk = true;
    double fileMegabytes = 0;
    const std::string loadBefore = MachineLoad();
    const std::wstring output = outputFolder + L"report.pdf";
    for (int run = 0; run < runs; ++run) {
        double pdfSeconds = 0, memory = 0;
        ok = TimePdf(report, output, pdfSeconds, memory) && ok;
        pdfTimes.push_back(pdfSeconds);
        pdfMemory = std::max(pdfMemory, memory);
        fileMegabytes = double(FileSize(output)) / 1048576.0;
        ::DeleteFileW(output.c_str());

        // The PowerPoint presentation of the same pages, with its picture folder.
        const std::wstring presentation = outputFolder + L"report.ppt";
        const size_t pptBefore = PrivateBytes();
        CPeakSampler pptSampler;
        const LARGE_INTEGER pptStart = Now();
        PPTWriter pptWriter;
        pptOk = pptWriter.Export(report.m_properties, report.GetExportPages(), presentation.c_str()) && pptOk;
        pptTimes.push_back(Seconds(pptStart));
        pptPeak = std::max(pptPeak, Above(pptSampler.Stop(), pptBefore));
        ::DeleteFileW(presentation.c_str());
        RemoveFolder(outputFolder + L"report_Images\\");
        std::printf("run %d: PDF %.2f s, PowerPoint %.2f s (%.2f times)\n", run + 1, pdfTimes.back(), pptTimes.back(),
                    pptTimes.back() / pdfTimes.back());
    }
    const std::string loadAfter = MachineLoad();
    const double seconds = Median(pdfTimes), pptSeconds = Median(pptTimes);

    // The same report whose pictures no check has seen: the generation checks
    // each first, as the document does before it writes.
    CBenchReport unchecked;
    FillReport(unchecked, photos, kTemplateName, true);
    std::vector<uint32_t> uncheckedIds;
    for (const auto& photo : unchecked.m_properties.GetHeadingSection()->GetPictures())
        uncheckedIds.push_back(uint32_t(photo->GetPictureId()));
    const LARGE_INTEGER uncheckedStart = Now();
    g_rasterLib.CheckPictures(uncheckedIds, false);
    const double parallelCheckSeconds = Seconds(uncheckedStart);
    double uncheckedSeconds = 0, uncheckedMemory = 0;
    const bool uncheckedOk = TimePdf(unchecked, output, uncheckedSeconds, uncheckedMemory);
    uncheckedSeconds += parallelCheckSeconds;
    ::DeleteFileW(output.c_str());

    // A plain copy of the same files, after the report is gone.
    const std::wstring copies = outputFolder + L"copies\\";
    ::CreateDirectoryW(copies.c_str(), nullptr);
    double copySeconds = 0;
    {
        const LARGE_INTEGER copyStart = Now();
        for (size_t i = 0; i < photos.size(); ++i)
            ::CopyFileW(photos[i].c_str(), (copies + std::to_wstring(i) + L".jpg").c_str(), FALSE);
        copySeconds = Seconds(copyStart);
        for (size_t i = 0; i < photos.size(); ++i)
            ::DeleteFileW((copies + std::to_wstring(i) + L".jpg").c_str());
    }
    ::RemoveDirectoryW(copies.c_str());

    std::printf("\nmedian of %d runs; machine load (1, 5, 15 minutes) %s before, %s after, %u processors\n", runs,
                loadBefore.c_str(), loadAfter.c_str(), Processors());
    std::printf("%-34s %10s %10s %12s\n", "", "seconds", "MB/s", "peak memory");
    std::printf("%-34s %10.2f %10.1f   (%d of %zu sound)\n", "check of each photograph (insert)", checkSeconds,
                megabytes / checkSeconds, sound, photos.size());
    std::printf("%-34s %10.2f %10.1f %9.1f MB\n", ok ? "PDF report (document's path)" : "PDF report FAILED", seconds,
                megabytes / seconds, pdfMemory);
    std::printf("%-34s %10.2f %10.1f %9.1f MB   (of which the check on %u threads %.2f s)\n",
                uncheckedOk ? "PDF report, pictures unchecked" : "PDF unchecked FAILED", uncheckedSeconds,
                megabytes / uncheckedSeconds, uncheckedMemory, std::max(1u, std::thread::hardware_concurrency()),
                parallelCheckSeconds);
    std::printf("%-34s %10.2f %10.1f %9.1f MB\n", pptOk ? "PowerPoint report" : "PowerPoint report FAILED",
                pptSeconds, megabytes / pptSeconds, double(pptPeak) / 1048576.0);
    std::printf("%-34s %10.2f %10.1f\n", "file copy (CopyFileW)", copySeconds, megabytes / copySeconds);
    std::printf("PowerPoint / PDF: %.2f times the time (median of %d); PowerPoint peak memory +%.1f MB\n",
                pptSeconds / seconds, runs, double(pptPeak) / 1048576.0);
    std::printf("PDF / CopyFileW: %.2f times the time with the pictures checked at their insert, %.2f with the "
                "export checking them\n",
                seconds / copySeconds, uncheckedSeconds / copySeconds);
    std::printf("\nreport: %zu pages, %.1f MB, %.0f bytes per picture beyond the photographs\n",
                report.GetExportPages().size(), fileMegabytes, (fileMegabytes - megabytes) * 1048576.0 / count);
    return ok && pptOk ? 0 : 1;
}
