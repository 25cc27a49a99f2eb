// The ways to write a camera photograph recorded sideways upright, as the
// PowerPoint export must (PowerPoint 97 shows a linked file as it is stored):
// each timed by the processor time of its thread (the least of the runs, so
// that other work on the machine does not count) on a 4000 x 3000 photograph
// of pdf_bench recorded as orientation 6 (a turn whose mirrored side ends in
// half an MCU: no exact lossless turn) and one recorded as 8 (exact).
// - libjpeg-turbo's lossless transform (tjTransform), exact where it can be;
//   for orientation 6 only with TJXOPT_TRIM, which drops the partial MCU row:
//   the least that turning the whole blocks losslessly and re-encoding only
//   the partial edge could cost (the entropy decode and encode of every block);
// - the library's lossless turn (WriteUprightJpegW);
// - the library's encoding from the stream's own planes (EncodeTurnedJpegW),
//   with libjpeg-turbo's fast integer transforms and with its accurate ones
//   (what the export uses), left as stored (the turn's own share), and the
//   decode of the planes alone;
// - the pixel path the export took before: the picture read into 32-bit
//   pixels turned upright (ReadRasterImageW), then encoded (SaveRasterImageW).
// Beside each encoding: its file's size and its PSNR against the upright
// picture decoded from the source (accurate transforms).
//
// Usage: turn_bench [photograph folder [runs]]
#include "bench/BenchPhotographs.h"
#include "platform/rasterlib/JpegReencode.h"
#include "platform/rasterlib/RasterLibApi.h"

#include <turbojpeg.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

// The processor time this thread has used, in seconds: on a machine shared
// with other work it counts what a way costs, not how long it waited.
double ThreadSeconds()
{
    FILETIME created, ended, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &ended, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return double(uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// The least processor time of the runs, in milliseconds; -1 when a run failed.
double Best(int runs, const std::function<bool()>& run)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const double start = ThreadSeconds();
        if (!run())
            return -1;
        best = std::min(best, ThreadSeconds() - start);
    }
    return best * 1000.0;
}

std::string ReadWhole(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(size_t(::GetFileSize(file, nullptr)));
    DWORD got = 0;
    ::ReadFile(file, &bytes[0], DWORD(bytes.size()), &got, nullptr);
    ::CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

struct Rgb {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
};

bool Decode(const std::string& jpeg, Rgb& rgb)
{
    tjhandle tj = tjInitDecompress();
    int subsampling = 0, colourspace = 0;
    bool ok = tjDecompressHeader3(tj, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), &rgb.width,
                                  &rgb.height, &subsampling, &colourspace) == 0;
    if (ok) {
        rgb.pixels.resize(size_t(rgb.width) * rgb.height * 3);
        ok = tjDecompress2(tj, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), rgb.pixels.data(),
                           rgb.width, 0, rgb.height, TJPF_RGB, 0) == 0;
    }
    tjDestroy(tj);
    return ok;
}

// The stored picture turned upright as orientation 6 or 8 asks.
Rgb Upright(const Rgb& stored, int orientation)
{
    Rgb out;
    out.width = stored.height;
    out.height = stored.width;
    out.pixels.resize(stored.pixels.size());
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const int sx = orientation == 6 ? y : stored.width - 1 - y;
            const int sy = orientation == 6 ? stored.height - 1 - x : x;
            std::copy_n(&stored.pixels[(size_t(sy) * stored.width + sx) * 3], 3,
                        &out.pixels[(size_t(y) * out.width + x) * 3]);
        }
    return out;
}

// dB; 0 when the sizes differ (a picture that is not upright).
double Psnr(const Rgb& a, const Rgb& b)
{
    if (a.width != b.width || a.height != b.height)
        return 0;
    double sum = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        const double d = double(a.pixels[i]) - double(b.pixels[i]);
        sum += d * d;
    }
    const double mse = sum / double(a.pixels.size());
    return mse > 0 ? 10.0 * std::log10(255.0 * 255.0 / mse) : 99.0;
}

bool TurboTurn(const std::string& jpeg, int orientation, bool trim, std::string& out)
{
    tjhandle tj = tjInitTransform();
    tjtransform transform = {};
    transform.op = orientation == 6 ? TJXOP_ROT90 : TJXOP_ROT270;
    transform.options = (trim ? TJXOPT_TRIM : TJXOPT_PERFECT) | TJXOPT_COPYNONE;
    unsigned char* result = nullptr;
    unsigned long size = 0;
    const bool ok = tjTransform(tj, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), 1, &result,
                                &size, &transform, 0) == 0;
    if (ok)
        out.assign(reinterpret_cast<char*>(result), size);
    tjFree(result);
    tjDestroy(tj);
    return ok;
}

bool Reencode(const std::string& jpeg, int orientation, bool fastDct, std::string& out)
{
    rasterlib::JpegReencoding settings;
    settings.orientation = uint8_t(orientation);
    settings.fastDct = fastDct;
    out.clear();
    return rasterlib::ReencodeJpeg(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size(), settings,
                                   [&out](const uint8_t* bytes, size_t count) {
                                       out.append(reinterpret_cast<const char*>(bytes), count);
                                       return true;
                                   });
}

bool DecodePlanes(const std::string& jpeg)
{
    tjhandle tj = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    tjDecompressHeader3(tj, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), &width, &height,
                        &subsampling, &colourspace);
    std::vector<unsigned char> planes(tjBufSizeYUV2(width, 1, height, subsampling));
    const bool ok = tjDecompressToYUV2(tj, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(),
                                       planes.data(), width, 1, height, TJFLAG_FASTDCT) == 0;
    tjDestroy(tj);
    return ok;
}

struct Library {
    HMODULE module = nullptr;
    PFN_WriteUprightJpegW upright = nullptr;
    PFN_EncodeTurnedJpegW encode = nullptr;
    PFN_ReadRasterImageW read = nullptr;
    PFN_SaveRasterImageW save = nullptr;
};

bool PixelPath(const Library& lib, const std::wstring& source, const std::wstring& target)
{
    const int32_t size = lib.read(source.c_str(), nullptr, 0);
    if (size <= 0)
        return false;
    std::vector<uint8_t> record(static_cast<size_t>(size));
    if (lib.read(source.c_str(), record.data(), size) != size)
        return false;
    const auto* header = reinterpret_cast<const rasterlib::RasterRecordHeader*>(record.data());
    return lib.save(target.c_str(), int32_t(header->width), int32_t(header->height), int32_t(header->stride),
                    rasterlib::kPixelLayoutBgra, 0, "jpg", record.data() + sizeof *header) != 0;
}

void Row(const char* what, double ms, const std::string& file, const Rgb* reference)
{
    if (ms < 0) {
        std::printf("  %-46s %s\n", what, "not made");
        return;
    }
    Rgb decoded;
    const bool shown = !file.empty() && reference && Decode(file, decoded);
    std::printf("  %-46s %7.0f ms", what, ms);
    if (!file.empty())
        std::printf("  %5.2f MB", double(file.size()) / 1048576.0);
    if (shown)
        std::printf("  PSNR %5.1f dB%s", Psnr(*reference, decoded),
                    decoded.width != reference->width ? " (not the whole picture)" : "");
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    const std::wstring folder = FolderArgument(argc, argv, 1);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    int64_t bytes = 0;
    const Camera* camera = FindCamera("4000x3000");
    const std::vector<std::wstring> photos = MakePhotographs(folder, 6, bytes, camera);
    Library lib;
    lib.module = ::LoadLibraryW(L"DAZiruraRuv.dll");
    if (lib.module) {
        lib.upright = reinterpret_cast<PFN_WriteUprightJpegW>(::GetProcAddress(lib.module, "WriteUprightJpegW"));
        lib.encode = reinterpret_cast<PFN_EncodeTurnedJpegW>(::GetProcAddress(lib.module, "EncodeTurnedJpegW"));
        lib.read = reinterpret_cast<PFN_ReadRasterImageW>(::GetProcAddress(lib.module, "ReadRasterImageW"));
        lib.save = reinterpret_cast<PFN_SaveRasterImageW>(::GetProcAddress(lib.module, "SaveRasterImageW"));
    }
    if (photos.size() < 6 || !lib.upright || !lib.encode || !lib.read || !lib.save) {
        std::printf("no photographs, or DAZiruraRuv.dll or its exports missing\n");
        return 1;
    }
    const std::wstring target = folder + L"turned.jpg";
    std::printf("4000 x 3000 photographs recorded sideways, processor time of one thread, least of %d runs\n",
                runs);
    for (int orientation : {6, 8}) {
        const std::wstring& source = photos[orientation == 6 ? 2 : 4];
        const std::string jpeg = ReadWhole(source);
        Rgb stored, reference;
        Decode(jpeg, stored);
        reference = Upright(stored, orientation);
        std::printf("\norientation %d (%s), %.2f MB:\n", orientation,
                    orientation == 6 ? "no exact lossless turn" : "exact lossless turn",
                    double(jpeg.size()) / 1048576.0);
        std::string out;
        double ms = Best(runs, [&] { return TurboTurn(jpeg, orientation, false, out); });
        Row("libjpeg-turbo lossless turn (perfect)", ms, ms < 0 ? std::string() : out, &reference);
        if (orientation == 6) {
            ms = Best(runs, [&] { return TurboTurn(jpeg, orientation, true, out); });
            Row("libjpeg-turbo lossless turn, partial edge cut", ms, out, &reference);
        }
        ms = Best(runs, [&] { return lib.upright(source.c_str(), target.c_str()) == 1; });
        Row("library's lossless turn (WriteUprightJpegW)", ms, ms < 0 ? std::string() : ReadWhole(target),
            &reference);
        ms = Best(runs, [&] { return lib.encode(source.c_str(), target.c_str(), 0, 0) == 1; });
        Row("library's encode from planes (EncodeTurnedJpegW)", ms, ReadWhole(target), &reference);
        ms = Best(runs, [&] { return Reencode(jpeg, orientation, true, out); });
        Row("  the same in memory, fast integer DCT", ms, out, &reference);
        ms = Best(runs, [&] { return Reencode(jpeg, orientation, false, out); });
        Row("  the same in memory, accurate DCT", ms, out, &reference);
        ms = Best(runs, [&] { return Reencode(jpeg, 1, false, out); });
        Row("  the same left as stored (no turn)", ms, std::string(), nullptr);
        ms = Best(runs, [&] { return DecodePlanes(jpeg); });
        Row("  its decode of the planes alone", ms, std::string(), nullptr);
        ms = Best(runs, [&] { return PixelPath(lib, source, target); });
        Row("before: 32-bit pixels turned, then encoded", ms, ReadWhole(target), &reference);
    }
    ::DeleteFileW(target.c_str());
    return 0;
}
