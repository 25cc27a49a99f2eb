// The PNG of a picture goes to its file as libpng makes it, a row at a time;
// the PDF's JPEG stands whole in memory before the PDF takes it. Both read the
// picture whole first, as the exports do.
#include "platform/rasterlib/bench/ExportPngBench.h"

#include "platform/rasterlib/RasterLibApi.h"

#include "bench/ElapsedSeconds.h"
#include "bench/PeakMemory.h"
#include "tests/support/LibtiffFiles.h"

#include <tiffio.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

// A scanned photograph's rows: a sky over rolling ground, the ground
// textured, and a little noise, which LZW codes as a scan's.
bool WriteScene(const std::string& path, uint32_t width, uint32_t height)
{
    std::vector<double> horizon(width), texX(width), texY(height);
    for (uint32_t x = 0; x < width; ++x) {
        const double u = double(x) / width;
        horizon[x] = height * (0.45 + 0.08 * std::sin(u * 9.4) + 0.03 * std::sin(u * 23));
        texX[x] = 18 * std::sin(x * 0.21) + 10 * std::sin(x * 0.047);
    }
    for (uint32_t y = 0; y < height; ++y)
        texY[y] = 16 * std::sin(y * 0.17 + 1) + 9 * std::sin(y * 0.031);
    return testpictures::WriteWithLibtiff(
        path,
        {{TIFFTAG_IMAGEWIDTH, width}, {TIFFTAG_IMAGELENGTH, height}, {TIFFTAG_BITSPERSAMPLE, 8},
         {TIFFTAG_SAMPLESPERPIXEL, 3}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB}, {TIFFTAG_COMPRESSION, COMPRESSION_LZW},
         {TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG}, {TIFFTAG_ROWSPERSTRIP, 16}},
        [&](TIFF* tif) {
            std::vector<uint8_t> row(size_t(width) * 3);
            uint32_t state = 1;
            const auto clamp = [](double c) { return uint8_t(c < 0 ? 0 : c > 255 ? 255 : c); };
            for (uint32_t y = 0; y < height; ++y) {
                const double v = double(y) / height;
                for (uint32_t x = 0; x < width; ++x) {
                    state = state * 1664525u + 1013904223u;
                    const int noise = int((state >> 24) % 5) - 2;
                    const double t = texX[x] + texY[y];
                    const bool sky = y < horizon[x];
                    row[x * 3 + 0] = clamp((sky ? 90 + 80 * v : 80 + t + 40 * v) + noise);
                    row[x * 3 + 1] = clamp((sky ? 140 + 60 * v : 120 + t * 0.8 - 20 * v) + noise);
                    row[x * 3 + 2] = clamp((sky ? 230 - 40 * v : 50 + t * 0.5) + noise);
                }
                if (TIFFWriteScanline(tif, row.data(), y, 0) < 0)
                    return false;
            }
            return true;
        });
}

template <typename Fn>
Fn Function(HMODULE lib, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(lib, name)));
}

uint64_t FileBytes(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes = {};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes))
        return 0;
    return uint64_t(attributes.nFileSizeHigh) << 32 | attributes.nFileSizeLow;
}

}  // namespace

void TimeExportEncodings(HMODULE lib, const std::string& folder)
{
    const auto read = Function<PFN_ReadRasterImageW>(lib, "ReadRasterImageW");
    const auto save = Function<PFN_SaveRasterImageW>(lib, "SaveRasterImageW");
    const auto toMemory = Function<PFN_WriteRasterImageToMemory>(lib, "WriteRasterImageToMemory");
    if (!read || !save || !toMemory) {
        std::printf("the library lacks its reading or writing calls\n");
        return;
    }
    const struct {
        uint32_t width, height;
    } sizes[] = {{5600, 3600}, {8700, 5800}, {16000, 10000}};
    std::printf("LZW TIFFs read whole and written for the exports: time and private memory at the peak above "
                "the start\n");
    for (const auto& size : sizes) {
        const std::string path = folder + "scan.tif";
        const std::wstring widePath(path.begin(), path.end());
        const std::wstring png = std::wstring(widePath.begin(), widePath.end() - 3) + L"png";
        if (!WriteScene(path, size.width, size.height)) {
            std::printf("%u x %u: not written\n", size.width, size.height);
            continue;
        }
        std::printf("%u x %u (%.0f MP, %llu MB):\n", size.width, size.height, size.width * double(size.height) / 1e6,
                    (unsigned long long)(FileBytes(widePath) >> 20));
        uint64_t written = 0;
        const struct {
            const char* name;
            std::function<bool(const uint8_t* record)> write;
        } ways[] = {
            {"the PDF's: JPEG into memory", [&](const uint8_t* record) {
                 const int32_t bytes = toMemory(record, nullptr, 0, "jpg");
                 std::vector<uint8_t> jpeg(bytes > 0 ? size_t(bytes) : 0);
                 written = jpeg.size();
                 return bytes > 0 && toMemory(record, jpeg.data(), bytes, "jpg") == bytes;
             }},
            {"PowerPoint's and HTML's: PNG into its file", [&](const uint8_t* record) {
                 const int32_t* header = reinterpret_cast<const int32_t*>(record);
                 const bool saved = save(png.c_str(), header[0], header[1], header[2], rasterlib::kPixelLayoutBgra, 0, "png",
                                         record + 12) == 1;
                 written = FileBytes(png);
                 ::DeleteFileW(png.c_str());
                 return saved;
             }},
        };
        for (const auto& way : ways) {
            const size_t before = PrivateBytes();
            CPeakSampler sampler;
            LARGE_INTEGER start;
            ::QueryPerformanceCounter(&start);
            bool done = false;
            const int32_t bytes = read(widePath.c_str(), nullptr, 0);
            if (bytes > 0) {
                uint8_t* record = static_cast<uint8_t*>(std::malloc(size_t(bytes)));
                done = record && read(widePath.c_str(), record, bytes) == bytes && way.write(record);
                std::free(record);
            }
            const double seconds = Seconds(start);
            const size_t peak = sampler.Stop();
            std::printf("  %-46s %7.2f s %6u MB  %s, %llu MB\n", way.name, seconds,
                        unsigned((peak > before ? peak - before : 0) >> 20), done ? "written" : "failed",
                        (unsigned long long)(written >> 20));
        }
        ::DeleteFileA(path.c_str());
    }
}
