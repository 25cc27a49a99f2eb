// Speed of thumbnail reads: makes camera-size JPEG files, then reads each into a
// 128 x 128 thumbnail through DAZiruraRuv.dll's reduced read (the two calls the
// program makes), through libjpeg-turbo's own decoding at one eighth and through
// WIC's decode-and-scale path, on one processor.
//   raster_bench [count] [width height] [--folder F [--make]] [--peer-rate R] [--no-wic]
//   raster_bench --tiff-layouts
//   raster_bench --export-png
// --folder keeps the files in F (made there when missing) for a native
// decoder to read as well; --make only makes them. --peer-rate gives the
// thumbnails per second of native `djpeg -scale 1/8` on one processor on the
// same files (bench/raster_compare.sh measures it), printed beside ours;
// --no-wic leaves WIC's path out. Thumbnails of GIFs, an interlaced PNG and
// TIFFs in one strip, of planes apart and of tiles, of 138 megapixels, follow: their time beside a
// photograph's and their memory beside WIC's; then a photograph as a
// JPEG-coded TIFF, the library's thumbnail beside WIC's. --tiff-layouts
// times only the TIFF layouts of TiffLayoutBench.h, beside libtiff's own
// readings of them. --export-png times the writing of LZW TIFFs of 20, 50 and
// 160 megapixels as a PNG file beside their JPEG for the PDF (ExportPngBench.h).
#include "platform/rasterlib/RasterLibApi.h"

#include <windows.h>
#include <wincodec.h>

#include <turbojpeg.h>

#include "bench/PeakMemory.h"
#include "platform/rasterlib/bench/ExportPngBench.h"
#include "platform/rasterlib/bench/TiffLayoutBench.h"
#include "tests/support/HugePictures.h"
#include "tests/support/LibtiffFiles.h"
#include "tests/support/TestPictureFiles.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kThumb = 128;

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

uint32_t Random(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// A photograph-like scene: a sky gradient, rolling hills, textured ground, a few
// sharp-edged objects and sensor noise, different for every seed.
std::vector<uint8_t> Scene(int width, int height, uint32_t seed)
{
    std::vector<uint8_t> pixels(size_t(width) * height * 3);
    uint32_t state = seed * 2654435761u + 1;
    const double phase1 = (Random(state) % 1000) / 160.0, phase2 = (Random(state) % 1000) / 160.0;
    const double waves = 2 + Random(state) % 4;
    std::vector<double> horizon(width), texX(width), texY(height);
    for (int x = 0; x < width; ++x) {
        const double u = double(x) / width;
        horizon[x] =
            height * (0.45 + 0.08 * std::sin(u * waves * 3.14159 + phase1) + 0.03 * std::sin(u * 23 + phase2));
        texX[x] = 18 * std::sin(x * 0.21 + phase1) + 10 * std::sin(x * 0.047 + phase2);
    }
    for (int y = 0; y < height; ++y)
        texY[y] = 16 * std::sin(y * 0.17 + phase2) + 9 * std::sin(y * 0.031 + phase1);
    struct Box {
        int x0, y0, x1, y1;
        uint8_t r, g, b;
    };
    std::vector<Box> boxes;
    for (int i = 0; i < 12; ++i) {
        const int w = width / 40 + int(Random(state) % (width / 8));
        const int h = height / 40 + int(Random(state) % (height / 6));
        const int x0 = int(Random(state) % (width - w)), y0 = height / 3 + int(Random(state) % (height * 2 / 3 - h));
        boxes.push_back({x0, y0, x0 + w, y0 + h, uint8_t(Random(state)), uint8_t(Random(state)), uint8_t(Random(state))});
    }
    auto clamp = [](double c) { return uint8_t(c < 0 ? 0 : c > 255 ? 255 : c); };
    for (int y = 0; y < height; ++y) {
        uint8_t* row = &pixels[size_t(y) * width * 3];
        const double v = double(y) / height;
        for (int x = 0; x < width; ++x) {
            double r, g, b;
            if (y < horizon[x]) {
                r = 90 + 80 * v;
                g = 140 + 60 * v;
                b = 230 - 40 * v;
            } else {
                const double t = texX[x] + texY[y];
                r = 80 + t + 40 * v;
                g = 120 + t * 0.8 - 20 * v;
                b = 50 + t * 0.5;
            }
            const int noise = int(Random(state) % 13) - 6;
            row[x * 3 + 0] = clamp(r + noise);
            row[x * 3 + 1] = clamp(g + noise);
            row[x * 3 + 2] = clamp(b + noise);
        }
    }
    for (const Box& box : boxes)
        for (int y = box.y0; y < box.y1; ++y) {
            uint8_t* row = &pixels[size_t(y) * width * 3];
            for (int x = box.x0; x < box.x1; ++x) {
                const int noise = int(Random(state) % 13) - 6;
                row[x * 3 + 0] = clamp(box.r + texY[y] * 0.5 + noise);
                row[x * 3 + 1] = clamp(box.g + texX[x] * 0.5 + noise);
                row[x * 3 + 2] = clamp(box.b + noise);
            }
        }
    return pixels;
}

bool WriteFileBytes(const std::string& path, const unsigned char* bytes, unsigned long size)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

bool ReadFileBytes(const std::string& path, std::vector<unsigned char>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    bytes.resize(size > 0 ? size_t(size) : 0);
    const bool ok = size > 0 && std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    std::fclose(f);
    return ok;
}

void FitThumb(UINT w, UINT h, UINT& tw, UINT& th)
{
    const double scale = std::min(double(kThumb) / w, double(kThumb) / h);
    tw = std::max(1u, UINT(std::floor(w * scale + 0.5)));
    th = std::max(1u, UINT(std::floor(h * scale + 0.5)));
}

bool WicThumbnail(IWICImagingFactory* factory, const std::wstring& path, std::vector<uint8_t>& out)
{
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICBitmapScaler* scaler = nullptr;
    IWICFormatConverter* converter = nullptr;
    UINT w = 0, h = 0, tw = 0, th = 0;
    bool ok = SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                           WICDecodeMetadataCacheOnDemand, &decoder)) &&
              SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&w, &h));
    if (ok) {
        FitThumb(w, h, tw, th);
        ok = SUCCEEDED(factory->CreateBitmapScaler(&scaler)) &&
             SUCCEEDED(scaler->Initialize(frame, tw, th, WICBitmapInterpolationModeFant)) &&
             SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
             SUCCEEDED(converter->Initialize(scaler, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                             0.0, WICBitmapPaletteTypeCustom));
        if (ok) {
            out.resize(size_t(tw) * th * 4);
            ok = SUCCEEDED(converter->CopyPixels(nullptr, tw * 4, UINT(out.size()), out.data()));
        }
    }
    if (converter)
        converter->Release();
    if (scaler)
        scaler->Release();
    if (frame)
        frame->Release();
    if (decoder)
        decoder->Release();
    return ok;
}

// WIC's factory on this thread, or null.
IWICImagingFactory* StartWic()
{
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IWICImagingFactory* factory = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(&factory))))
        return nullptr;
    return factory;
}

void EndWic(IWICImagingFactory* factory)
{
    if (factory) {
        factory->Release();
        ::CoUninitialize();
    }
}

// WIC: decoder, Fant scaler to the thumbnail size, conversion to 32-bit BGRA.
bool TimeWic(const std::vector<std::string>& paths, double libRate)
{
    IWICImagingFactory* factory = StartWic();
    if (!factory) {
        std::fprintf(stderr, "no WIC factory\n");
        return false;
    }
    int wicMade = 0;
    std::vector<uint8_t> thumb;
    const double start = Now();
    for (const std::string& path : paths) {
        const std::wstring wide(path.begin(), path.end());
        if (WicThumbnail(factory, wide, thumb))
            ++wicMade;
    }
    const double wicSeconds = Now() - start;
    const double wicRate = wicMade / wicSeconds;
    EndWic(factory);
    std::printf("WIC decode and Fant scaler:    %d thumbnails in %.2f s = %.1f thumbnails/s\n", wicMade, wicSeconds,
                wicRate);
    if (wicRate > 0)
        std::printf("ratio: %.1f times WIC's path\n", libRate / wicRate);
    return true;
}

}  // namespace

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// The library's check of whole files (every block of a baseline JPEG walked)
// beside libjpeg-turbo's own way to the same answer: decoding at one eighth,
// stopping at any warning.
void TimeCheck(HMODULE lib, const std::vector<std::string>& paths, double totalBytes)
{
    auto check = reinterpret_cast<PFN_CheckRasterImageW>(reinterpret_cast<void*>(::GetProcAddress(lib, "CheckRasterImageW")));
    if (!check)
        return;
    int sound = 0;
    double start = Now();
    for (const std::string& path : paths)
        sound += check(Wide(path).c_str(), 0) == rasterlib::kPictureSound ? 1 : 0;
    const double checkSeconds = Now() - start;
    tjhandle decoder = tjInitDecompress();
    std::vector<unsigned char> file, eighth;
    int decoded = 0;
    start = Now();
    for (const std::string& path : paths) {
        int w = 0, h = 0, subsampling = 0, colourspace = 0;
        if (!ReadFileBytes(path, file) ||
            tjDecompressHeader3(decoder, file.data(), static_cast<unsigned long>(file.size()), &w, &h, &subsampling,
                                &colourspace) != 0)
            continue;
        eighth.resize(size_t((w + 7) / 8) * ((h + 7) / 8) * 4);
        if (tjDecompress2(decoder, file.data(), static_cast<unsigned long>(file.size()), eighth.data(), (w + 7) / 8,
                          0, (h + 7) / 8, TJPF_BGRA, TJFLAG_FASTUPSAMPLE | TJFLAG_STOPONWARNING) == 0)
            ++decoded;
    }
    const double turboSeconds = Now() - start;
    tjDestroy(decoder);
    const double megabytes = totalBytes / 1048576.0;
    std::printf("picture check (CheckRasterImageW): %d of %zu sound in %.2f s = %.0f MB/s\n", sound, paths.size(),
                checkSeconds, megabytes / checkSeconds);
    std::printf("libjpeg-turbo at 1/8, stopping at a warning: %d whole in %.2f s = %.0f MB/s; the check %.2f times "
                "its speed\n",
                decoded, turboSeconds, megabytes / turboSeconds, turboSeconds / checkSeconds);
}

// The check of small files of 16000 x 16000 pixels (more than the library
// decodes), which answers from the header alone, beside the check of one of
// the photographs.
void TimeHugeChecks(HMODULE lib, const std::string& photo, const std::string& folder)
{
    auto check = reinterpret_cast<PFN_CheckRasterImageW>(reinterpret_cast<void*>(::GetProcAddress(lib, "CheckRasterImageW")));
    if (!check)
        return;
    constexpr uint32_t kSide = 16000;
    constexpr int kRounds = 5;
    const std::string png = testpictures::HugeGreyPng(kSide, kSide);
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"huge.png", png},
        {"huge.gif", testpictures::HugeOneColourGif(kSide, kSide, 200, 40, 10)},
        {"huge.tif", testpictures::HugeGreyTiff(kSide, kSide)},
        {"huge.ico", testpictures::IconHoldingPng(png)},
    };
    double start = Now();
    int32_t photoAnswer = -1;
    for (int round = 0; round < kRounds; ++round)
        photoAnswer = check(Wide(photo).c_str(), 0);
    const double photoSeconds = (Now() - start) / kRounds;
    std::printf("check of a photograph: %.1f ms (answer %d)\n", photoSeconds * 1000, int(photoAnswer));
    for (const auto& file : files) {
        const std::string path = folder + file.name;
        WriteFileBytes(path, reinterpret_cast<const unsigned char*>(file.bytes.data()),
                       static_cast<unsigned long>(file.bytes.size()));
        int32_t answer = -1;
        start = Now();
        for (int round = 0; round < kRounds; ++round)
            answer = check(Wide(path).c_str(), 0);
        const double seconds = (Now() - start) / kRounds;
        std::printf("check of %s (%u KB, %u x %u): %.2f ms (answer %d, too large is %d), %.3f times the "
                    "photograph's time\n",
                    file.name, unsigned(file.bytes.size() >> 10), kSide, kSide, seconds * 1000, int(answer),
                    int(rasterlib::kPictureTooLarge), seconds / photoSeconds);
        ::DeleteFileA(path.c_str());
    }
}

// The library's reduced read of one file to a thumbnail, both calls.
bool LibraryThumbnail(PFN_ReadLQRasterImage readLQ, const std::string& path)
{
    int32_t targetWidth = kThumb, targetHeight = kThumb;
    const int32_t size = readLQ(path.c_str(), nullptr, 0, &targetWidth, &targetHeight, 0, 0, 0);
    if (size < 1)
        return false;
    void* block = std::malloc(size_t(size));
    const bool made = block && readLQ(path.c_str(), block, size, &targetWidth, &targetHeight, 0, 0, 0) == size;
    std::free(block);
    return made;
}

// Thumbnails of small files of 138 megapixels below the library's bound
// (GIFs, stored row after row and interlaced, an interlaced PNG, a TIFF in
// one strip, a grey one in one PackBits strip of runs across rows, and
// libtiff's RGB TIFFs of planes stored apart in one strip each and of tiles
// of 1088 pixels), their time beside a photograph's and the private memory
// they take, beside WIC's decode and Fant scaler on the same files.
void TimeHugeThumbnails(PFN_ReadLQRasterImage readLQ, const std::string& photo, const std::string& folder, bool wic)
{
    constexpr uint32_t kWidth = 13568, kHeight = 10176;
    constexpr int kRounds = 3;
    double start = Now();
    for (int round = 0; round < kRounds; ++round)
        LibraryThumbnail(readLQ, photo);
    const double photoSeconds = (Now() - start) / kRounds;
    std::printf("thumbnail of a photograph: %.1f ms\n", photoSeconds * 1000);
    const auto bytes = [](const std::string& made) {
        return [made](const std::string& path) {
            return WriteFileBytes(path, reinterpret_cast<const unsigned char*>(made.data()),
                                  static_cast<unsigned long>(made.size()));
        };
    };
    // Blocks of colour 16 pixels wide, as 0xRRGGBB.
    const auto blocks = [](uint32_t x, uint32_t y) {
        return (x / 16 * 7 & 255) << 16 | (y / 16 * 5 & 255) << 8 | ((x + y) / 64 * 3 & 255);
    };
    const auto libtiff = [&](const testpictures::LibtiffLayout& layout) {
        return [=](const std::string& path) {
            return testpictures::WriteLibtiffRgb(path, kWidth, kHeight, layout, blocks);
        };
    };
    const struct {
        const char* name;
        std::function<bool(const std::string&)> write;
    } files[] = {
        {"blocks.gif", bytes(testpictures::HugeBlockGif(kWidth, kHeight, false, false))},
        {"interlaced blocks.gif", bytes(testpictures::HugeBlockGif(kWidth, kHeight, true, true))},
        {"interlaced blocks.png", bytes(testpictures::HugeBlockPng(kWidth, kHeight, true))},
        {"blocks in one strip.tif", bytes(testpictures::HugeBlockTiff(kWidth, kHeight))},
        {"runs across rows.tif", bytes(testpictures::HugeRunsAcrossRowsTiff(kWidth, kHeight))},
        {"planes apart in one strip each.tif", libtiff({true})},
        {"tiles of 1088.tif", libtiff({false, 1088})},
    };
    IWICImagingFactory* factory = wic ? StartWic() : nullptr;
    for (const auto& file : files) {
        const std::string path = folder + file.name;
        std::vector<unsigned char> written;
        if (!file.write(path) || !ReadFileBytes(path, written))
            continue;
        const size_t before = PrivateBytes();
        CPeakSampler sampler;
        start = Now();
        const bool made = LibraryThumbnail(readLQ, path);
        const double seconds = Now() - start;
        const size_t peak = sampler.Stop();
        std::printf("thumbnail of %s (%u KB, %u x %u): %.2f s (%s), %.1f times the photograph's time, %u MB "
                    "above the start at its peak\n",
                    file.name, unsigned(written.size() >> 10), kWidth, kHeight, seconds, made ? "made" : "FAILED",
                    seconds / photoSeconds, unsigned((peak > before ? peak - before : 0) >> 20));
        if (factory) {
            std::vector<uint8_t> thumb;
            const size_t wicBefore = PrivateBytes();
            CPeakSampler wicSampler;
            start = Now();
            const bool wicMade = WicThumbnail(factory, Wide(path), thumb);
            const double wicSeconds = Now() - start;
            const size_t wicPeak = wicSampler.Stop();
            std::printf("  WIC's decode and Fant scaler: %.2f s (%s), %u MB above the start at its peak\n", wicSeconds,
                        wicMade ? "made" : "failed", unsigned((wicPeak > wicBefore ? wicPeak - wicBefore : 0) >> 20));
        }
        ::DeleteFileA(path.c_str());
    }
    EndWic(factory);
}

// A photograph as a JPEG-coded TIFF (its JPEG the one strip, as scanners and
// cameras write it): the library's thumbnail beside WIC's, time and memory.
void TimeJpegTiffThumbnails(PFN_ReadLQRasterImage readLQ, const std::string& photo, const std::string& folder,
                            bool wic)
{
    std::vector<unsigned char> jpeg;
    tjhandle decoder = tjInitDecompress();
    int w = 0, h = 0, subsampling = 0, colourspace = 0;
    const bool measured = ReadFileBytes(photo, jpeg) &&
                          tjDecompressHeader3(decoder, jpeg.data(), static_cast<unsigned long>(jpeg.size()), &w, &h,
                                              &subsampling, &colourspace) == 0;
    tjDestroy(decoder);
    if (!measured)
        return;
    const std::string tiff = testpictures::StripTiff(uint32_t(w), uint32_t(h), 3, 7, 6,
                                                     std::string(jpeg.begin(), jpeg.end()), uint32_t(jpeg.size()));
    const std::string path = folder + "photograph.tif";
    WriteFileBytes(path, reinterpret_cast<const unsigned char*>(tiff.data()), static_cast<unsigned long>(tiff.size()));
    constexpr int kRounds = 5;
    IWICImagingFactory* factory = wic ? StartWic() : nullptr;
    for (int reader = 0; reader < (factory ? 2 : 1); ++reader) {
        const size_t before = PrivateBytes();
        CPeakSampler sampler;
        int made = 0;
        std::vector<uint8_t> thumb;
        const double start = Now();
        for (int round = 0; round < kRounds; ++round)
            made += reader == 0 ? LibraryThumbnail(readLQ, path) : WicThumbnail(factory, Wide(path), thumb);
        const double seconds = (Now() - start) / kRounds;
        const size_t peak = sampler.Stop();
        std::printf("thumbnail of a JPEG-coded TIFF of %d x %d (%u KB), %s: %.1f ms, %d of %d made, %u MB above the "
                    "start at its peak\n",
                    w, h, unsigned(tiff.size() >> 10), reader == 0 ? "the library" : "WIC's decoder and Fant scaler",
                    seconds * 1000, made, kRounds, unsigned((peak > before ? peak - before : 0) >> 20));
    }
    EndWic(factory);
    ::DeleteFileA(path.c_str());
}

// The same photographs recorded as turned a quarter (orientation 8, exact for
// a width of whole MCUs), written upright by the library's block mover beside
// libjpeg-turbo's lossless turn, alone and read back as the library must read
// back what it makes.
void TimeTurns(HMODULE lib, const std::vector<std::string>& paths, const std::string& folder)
{
    auto upright = reinterpret_cast<PFN_WriteUprightJpegW>(reinterpret_cast<void*>(::GetProcAddress(lib, "WriteUprightJpegW")));
    if (!upright)
        return;
    std::vector<std::string> turned;
    std::vector<unsigned char> file;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (!ReadFileBytes(paths[i], file))
            continue;
        const std::string recorded = testpictures::WithSegment(std::string(file.begin(), file.end()),
                                                               testpictures::ExifSegment(8, false));
        turned.push_back(folder + "turned_" + std::to_string(i) + ".jpg");
        WriteFileBytes(turned.back(), reinterpret_cast<const unsigned char*>(recorded.data()),
                       static_cast<unsigned long>(recorded.size()));
    }
    const std::string target = folder + "upright.jpg";
    int written = 0;
    double start = Now();
    for (const std::string& path : turned)
        written += upright(Wide(path).c_str(), Wide(target).c_str());
    const double librarySeconds = Now() - start;
    tjhandle transformer = tjInitTransform();
    tjhandle decoder = tjInitDecompress();
    tjtransform transform = {};
    transform.op = TJXOP_ROT270;
    transform.options = TJXOPT_PERFECT | TJXOPT_COPYNONE;
    double turnSeconds = 0, readBackSeconds = 0;
    int turboWritten = 0;
    std::vector<unsigned char> eighth;
    for (const std::string& path : turned) {
        start = Now();
        unsigned char* result = nullptr;
        unsigned long size = 0;
        if (!ReadFileBytes(path, file) || tjTransform(transformer, file.data(), static_cast<unsigned long>(file.size()), 1,
                                                      &result, &size, &transform, TJFLAG_STOPONWARNING) != 0) {
            tjFree(result);
            continue;
        }
        WriteFileBytes(target, result, size);
        turnSeconds += Now() - start;
        start = Now();
        int w = 0, h = 0, subsampling = 0, colourspace = 0;
        if (tjDecompressHeader3(decoder, result, size, &w, &h, &subsampling, &colourspace) == 0) {
            eighth.resize(size_t((w + 7) / 8) * ((h + 7) / 8) * 4);
            turboWritten += tjDecompress2(decoder, result, size, eighth.data(), (w + 7) / 8, 0, (h + 7) / 8, TJPF_BGRA,
                                          TJFLAG_FASTUPSAMPLE | TJFLAG_STOPONWARNING) == 0;
        }
        readBackSeconds += Now() - start;
        tjFree(result);
    }
    tjDestroy(decoder);
    tjDestroy(transformer);
    std::printf("upright turn (WriteUprightJpegW): %d of %zu in %.2f s = %.1f a second\n", written, turned.size(),
                librarySeconds, written / librarySeconds);
    std::printf("libjpeg-turbo's lossless turn: %.2f s alone, %.2f s read back at 1/8 (%d whole); the library %.2f "
                "times its speed alone, %.2f times with the reading back\n",
                turnSeconds, turnSeconds + readBackSeconds, turboWritten, turnSeconds / librarySeconds,
                (turnSeconds + readBackSeconds) / librarySeconds);
    for (const std::string& path : turned)
        ::DeleteFileA(path.c_str());
    ::DeleteFileA(target.c_str());
}

int main(int argc, char** argv)
{
    std::vector<std::string> arguments;
    std::string keptFolder;
    bool makeOnly = false;
    bool wic = true;
    bool tiffLayouts = false;
    bool exportPng = false;
    double peerRate = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--folder" && i + 1 < argc)
            keptFolder = argv[++i];
        else if (argument == "--make")
            makeOnly = true;
        else if (argument == "--no-wic")
            wic = false;
        else if (argument == "--tiff-layouts")
            tiffLayouts = true;
        else if (argument == "--export-png")
            exportPng = true;
        else if (argument == "--peer-rate" && i + 1 < argc)
            peerRate = std::atof(argv[++i]);
        else
            arguments.push_back(argument);
    }
    const int count = arguments.size() > 0 ? std::atoi(arguments[0].c_str()) : 100;
    const int width = arguments.size() > 2 ? std::atoi(arguments[1].c_str()) : 4000;
    const int height = arguments.size() > 2 ? std::atoi(arguments[2].c_str()) : 3000;
    if (count < 1 || width < 16 || height < 16) {
        std::fprintf(stderr, "usage: raster_bench [count] [width height]\n");
        return 2;
    }
    // One processor, as the picture-loading thread has.
    ::SetProcessAffinityMask(::GetCurrentProcess(), 1);

    HMODULE lib = ::LoadLibraryW(L"DAZiruraRuv.dll");
    auto readLQ = lib ? reinterpret_cast<PFN_ReadLQRasterImage>(
                            reinterpret_cast<void*>(::GetProcAddress(lib, "ReadLQRasterImage")))
                      : nullptr;
    if (!readLQ) {
        std::fprintf(stderr, "DAZiruraRuv.dll or ReadLQRasterImage not found\n");
        return 1;
    }

    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "ot_raster_bench_" + std::to_string(::GetCurrentProcessId()) + "\\";
    if (!keptFolder.empty())
        folder = keptFolder.back() == '\\' ? keptFolder : keptFolder + "\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    if (tiffLayouts || exportPng) {
        if (tiffLayouts)
            TimeTiffLayouts(lib, folder);
        else
            TimeExportEncodings(lib, folder);
        if (keptFolder.empty())
            ::RemoveDirectoryA(folder.c_str());
        return 0;
    }

    std::printf("making %d JPEG files of %d x %d (quality 92, 4:2:0)...\n", count, width, height);
    std::vector<std::string> paths;
    double totalBytes = 0;
    const double makeStart = Now();
    tjhandle tj = tjInitCompress();
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "bench_%03d.jpg", i);
        paths.push_back(folder + name);
        WIN32_FILE_ATTRIBUTE_DATA kept;
        if (!keptFolder.empty() && ::GetFileAttributesExA(paths.back().c_str(), GetFileExInfoStandard, &kept) &&
            kept.nFileSizeLow > 0) {
            totalBytes += kept.nFileSizeLow;
            continue;
        }
        const std::vector<uint8_t> pixels = Scene(width, height, uint32_t(i + 1));
        unsigned char* jpeg = nullptr;
        unsigned long size = 0;
        if (tjCompress2(tj, pixels.data(), width, width * 3, height, TJPF_RGB, &jpeg, &size, TJSAMP_420, 92, 0) != 0) {
            std::fprintf(stderr, "encoding failed: %s\n", tjGetErrorStr2(tj));
            return 1;
        }
        if (!WriteFileBytes(paths.back(), jpeg, size)) {
            std::fprintf(stderr, "cannot write %s\n", paths.back().c_str());
            return 1;
        }
        totalBytes += size;
        tjFree(jpeg);
    }
    tjDestroy(tj);
    std::printf("made in %.1f s, %.2f MB per file on average\n", Now() - makeStart, totalBytes / count / 1048576.0);
    if (makeOnly)
        return 0;

    // The library's reduced read, size call then fill call.
    int32_t targetWidth = kThumb, targetHeight = kThumb;
    int made = 0;
    double start = Now();
    for (const std::string& path : paths) {
        const int32_t size = readLQ(path.c_str(), nullptr, 0, &targetWidth, &targetHeight, 0, 0, 0);
        if (size < 1)
            continue;
        void* block = std::malloc(size_t(size));
        if (block && readLQ(path.c_str(), block, size, &targetWidth, &targetHeight, 0, 0, 0) == size)
            ++made;
        std::free(block);
    }
    const double libSeconds = Now() - start;
    const double libRate = made / libSeconds;
    std::printf("DAZiruraRuv ReadLQRasterImage: %d thumbnails in %.2f s = %.1f thumbnails/s\n", made, libSeconds,
                libRate);
    if (peerRate > 0)
        std::printf("native djpeg -scale 1/8:       %.1f thumbnails/s on one processor; ours %.2f times its rate\n",
                    peerRate, libRate / peerRate);

    // libjpeg-turbo alone: each file read into memory and decoded at one eighth.
    tjhandle decoder = tjInitDecompress();
    int turboMade = 0;
    std::vector<unsigned char> file, eighth;
    start = Now();
    for (const std::string& path : paths) {
        int w = 0, h = 0, subsampling = 0, colourspace = 0;
        if (!ReadFileBytes(path, file) ||
            tjDecompressHeader3(decoder, file.data(), static_cast<unsigned long>(file.size()), &w, &h, &subsampling,
                                &colourspace) != 0)
            continue;
        eighth.resize(size_t((w + 7) / 8) * ((h + 7) / 8) * 4);
        if (tjDecompress2(decoder, file.data(), static_cast<unsigned long>(file.size()), eighth.data(), (w + 7) / 8,
                          0, (h + 7) / 8, TJPF_BGRA, TJFLAG_FASTUPSAMPLE) == 0)
            ++turboMade;
    }
    const double turboSeconds = Now() - start;
    tjDestroy(decoder);
    std::printf("libjpeg-turbo at 1/8 alone:    %d thumbnails in %.2f s = %.1f thumbnails/s; ours %.2f times its rate\n",
                turboMade, turboSeconds, turboMade / turboSeconds, libRate / (turboMade / turboSeconds));

    TimeCheck(lib, paths, totalBytes);
    TimeHugeChecks(lib, paths.front(), folder);
    TimeHugeThumbnails(readLQ, paths.front(), folder, wic);
    TimeJpegTiffThumbnails(readLQ, paths.front(), folder, wic);
    TimeTurns(lib, paths, folder);

    if (wic && !TimeWic(paths, libRate))
        return 1;

    if (keptFolder.empty()) {
        for (const std::string& path : paths)
            ::DeleteFileA(path.c_str());
        ::RemoveDirectoryA(folder.c_str());
    }
    return made == count ? 0 : 1;
}
