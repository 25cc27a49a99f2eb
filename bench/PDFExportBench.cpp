// Speed and memory of the PDF export on a report of many camera pictures:
// JPEG files of about 3 MB each (12 megapixels, noisy like a photograph) are
// made once, each page shows one with a caption, and the writer's throughput,
// its peak private memory and the file's overhead per picture are printed.
// Usage: pdf_bench [picture count [megapixels]]
#include "bench/PeakMemory.h"
#include "export/TalPageExport.h"
#include "export/pdf/PDFWriter.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWRasterLib.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "model/TalTextFormat.h"

#include <windows.h>

#include <psapi.h>
#include <turbojpeg.h>

#include <atomic>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

// A photograph-like JPEG: a gradient with noise, at camera quality.
std::string MakeCameraJpeg(int width, int height)
{
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
    uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
            seed = seed * 1664525u + 1013904223u;
            const int noise = static_cast<int>(seed >> 27) - 16;
            const int base[3] = {x * 255 / width, y * 255 / height, (x + y) * 255 / (width + height)};
            for (int c = 0; c < 3; ++c) {
                const int v = base[c] + noise;
                p[c] = static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
            }
        }
    }
    tjhandle handle = tjInitCompress();
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::string jpeg;
    if (tjCompress2(handle, pixels.data(), width, 0, height, TJPF_RGB, &buffer, &size, TJSAMP_420, 85, 0) == 0)
        jpeg.assign(reinterpret_cast<char*>(buffer), size);
    tjFree(buffer);
    tjDestroy(handle);
    return jpeg;
}

bool WriteWhole(const std::wstring& path, const std::string& head, const std::string& comment, const std::string& tail)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    bool ok = true;
    for (const std::string* part : {&head, &comment, &tail})
        ok = ok && ::WriteFile(file, part->data(), static_cast<DWORD>(part->size()), &put, nullptr) && put == part->size();
    return ::CloseHandle(file) && ok;
}

int64_t FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

}  // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 200;
    const double megapixels = argc > 2 ? std::atof(argv[2]) : 12.0;
    const int width = static_cast<int>(std::sqrt(megapixels * 1e6 * 4 / 3));
    const int height = width * 3 / 4;
    StartupGdiPlus();

    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"pdf_bench\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);

    std::printf("making %d pictures of %d x %d...\n", count, width, height);
    const std::string jpeg = MakeCameraJpeg(width, height);
    if (jpeg.size() < 4) {
        std::printf("no JPEG\n");
        return 1;
    }
    // Each file differs by a comment segment after the start of image.
    std::vector<std::wstring> paths;
    int64_t pictureBytes = 0;
    for (int i = 0; i < count; ++i) {
        const std::string text = "picture " + std::to_string(i);
        std::string comment = "\xFF\xFE";
        comment += static_cast<char>((text.size() + 2) >> 8);
        comment += static_cast<char>((text.size() + 2) & 0xFF);
        comment += text;
        const std::wstring path = folder + L"photo" + std::to_wstring(i) + L".jpg";
        if (!WriteWhole(path, jpeg.substr(0, 2), comment, jpeg.substr(2))) {
            std::printf("cannot write %ls\n", path.c_str());
            return 1;
        }
        pictureBytes += FileSize(path);
        paths.push_back(path);
    }

    CTalDocProperties properties;
    CTalTextFormat caption;
    caption.m_size = 10;
    TalPageList pages;
    for (int i = 0; i < count; ++i) {
        TalPageExport* page = new TalPageExport(kSectionPage, (L"Picture " + std::to_wstring(i + 1)).c_str(), nullptr);
        TalObjExport* picture =
            new TalObjExport(g_rasterLib.GetPictureId(paths[i].c_str()), CKWDoubleRect(0.1, 0.1, 0.9, 0.8), 0, false);
        ExportImageData* data = picture->GetImageRecord();
        data->SetString((L"Photograph number " + std::to_wstring(i + 1)).c_str());
        data->SetFormat(&caption);
        page->AddObject(picture);
        pages.push_back(page);
    }

    const std::wstring output = folder + L"report.pdf";
    const size_t before = PrivateBytes();
    CPeakSampler sampler;
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    PDFWriter writer;
    const bool ok = writer.ExportPages(pages, properties, output.c_str(), nullptr);
    ::QueryPerformanceCounter(&end);
    const size_t peak = sampler.Stop();
    const double seconds = double(end.QuadPart - start.QuadPart) / frequency.QuadPart;
    const int64_t size = FileSize(output);
    std::printf("export %s: %d pictures, %.1f MB of JPEG files, file %.1f MB\n", ok ? "ok" : "FAILED", count,
                pictureBytes / 1048576.0, size / 1048576.0);
    std::printf("time %.2f s, %.1f MB/s\n", seconds, size / 1048576.0 / seconds);
    std::printf("private memory: %.1f MB before, peak %.1f MB (+%.1f MB)\n", before / 1048576.0, peak / 1048576.0,
                (peak - before) / 1048576.0);
    std::printf("file bytes beyond the JPEG files: %.0f per picture (fonts and pages included)\n",
                double(size - pictureBytes) / count);

    DeletePages(pages);
    ::DeleteFileW(output.c_str());
    for (const std::wstring& path : paths)
        ::DeleteFileW(path.c_str());
    ::RemoveDirectoryW(folder.c_str());
    return ok ? 0 : 1;
}
