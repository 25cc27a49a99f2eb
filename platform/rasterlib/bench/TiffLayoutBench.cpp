// The TIFF layouts whose readings once passed their bound or were called
// damaged: planes apart with a count of samples written as an SLONG, three
// progressive JPEG planes, sixteen planes of one row a strip, tiles of 4096
// and 4112 pixels, RGBA of 16 bits in one tile, YCbCr of 2 x 2 blocks in one
// strip, LZW of 150 megapixels in a file past 512 MB, fields libtiff reads
// that were counted as nothing (of LONG8 values, in a directory without its
// link to the next, thousands sharing one block), RGB of 1 bit a sample,
// which the system's decoder reads (whole, it held 3 bytes a pixel more).
// Each is checked, thumbnailed (128 pixels) and read whole by the library,
// then read by libtiff itself as its tools read it: every strip or tile
// decoded whole in turn into one buffer (as tiffcp copies them), and the
// whole picture through its RGBA reader (as tiff2rgba converts it). Time
// and private memory at the peak above the start, for each reading.
#include "platform/rasterlib/bench/TiffLayoutBench.h"

#include "platform/rasterlib/RasterLibApi.h"

#include "bench/ElapsedSeconds.h"
#include "bench/PeakMemory.h"
#include "tests/support/HugePictures.h"
#include "tests/support/LibtiffFiles.h"

#include <tiffio.h>
#include <turbojpeg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using Fields = std::vector<std::pair<uint32_t, uint32_t>>;

// Grey squares of 16 pixels, their levels stepped by the plane.
uint8_t Squares(uint32_t x, uint32_t y, uint32_t plane)
{
    return uint8_t(x / 16 * (3 + plane) + y / 16 * (5 + 2 * plane));
}

// Planes apart, each one progressive JPEG strip of its squares.
bool WriteProgressivePlanes(const std::string& path, uint32_t side, uint16_t planes)
{
    return testpictures::WriteWithLibtiff(
        path,
        {{TIFFTAG_IMAGEWIDTH, side}, {TIFFTAG_IMAGELENGTH, side}, {TIFFTAG_BITSPERSAMPLE, 8},
         {TIFFTAG_SAMPLESPERPIXEL, planes}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB},
         {TIFFTAG_COMPRESSION, COMPRESSION_JPEG}, {TIFFTAG_PLANARCONFIG, PLANARCONFIG_SEPARATE},
         {TIFFTAG_ROWSPERSTRIP, side}},
        [&](TIFF* tif) {
            tjhandle tj = tjInitCompress();
            std::vector<uint8_t> grey(size_t(side) * side);
            bool written = true;
            for (uint16_t plane = 0; plane < planes && written; ++plane) {
                for (size_t i = 0; i < grey.size(); ++i)
                    grey[i] = Squares(uint32_t(i % side), uint32_t(i / side), plane);
                unsigned char* jpeg = nullptr;
                unsigned long size = 0;
                written = tjCompress2(tj, grey.data(), int(side), int(side), int(side), TJPF_GRAY, &jpeg, &size,
                                      TJSAMP_GRAY, 90, TJFLAG_PROGRESSIVE) == 0 &&
                          TIFFWriteRawStrip(tif, plane, jpeg, tmsize_t(size)) >= 0;
                tjFree(jpeg);
            }
            tjDestroy(tj);
            return written;
        });
}

// Grey planes apart, one row a strip, deflated; the count of samples
// written as an SLONG when asked (libtiff reads it, but writes a SHORT).
bool WriteGreyPlanes(const std::string& path, uint32_t width, uint32_t height, uint16_t planes, bool slong)
{
    const bool written = testpictures::WriteWithLibtiff(
        path,
        {{TIFFTAG_IMAGEWIDTH, width}, {TIFFTAG_IMAGELENGTH, height}, {TIFFTAG_BITSPERSAMPLE, 8},
         {TIFFTAG_SAMPLESPERPIXEL, planes}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK},
         {TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE}, {TIFFTAG_PLANARCONFIG, PLANARCONFIG_SEPARATE},
         {TIFFTAG_ROWSPERSTRIP, 1}},
        [&](TIFF* tif) {
            const std::vector<uint16_t> extras(planes - 1, EXTRASAMPLE_UNSPECIFIED);
            std::vector<uint8_t> row(width);
            bool done = TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, uint16_t(extras.size()), extras.data()) != 0;
            for (uint16_t plane = 0; plane < planes && done; ++plane)
                for (uint32_t y = 0; y < height && done; ++y) {
                    for (uint32_t x = 0; x < width; ++x)
                        row[x] = Squares(x, y, plane);
                    done = TIFFWriteScanline(tif, row.data(), y, plane) >= 0;
                }
            return done;
        });
    if (!written || !slong)
        return written;
    // The entry's type changed in place: its value stands in the entry.
    FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file)
        return false;
    uint8_t head[8] = {}, count[2] = {};
    bool changed = std::fread(head, 1, 8, file) == 8;
    const long directory = long(head[4] | head[5] << 8 | head[6] << 16 | uint32_t(head[7]) << 24);
    changed = changed && std::fseek(file, directory, SEEK_SET) == 0 && std::fread(count, 1, 2, file) == 2;
    for (int i = 0; changed && i < (count[0] | count[1] << 8); ++i) {
        uint8_t entry[12];
        changed = std::fseek(file, directory + 2 + 12 * i, SEEK_SET) == 0 && std::fread(entry, 1, 12, file) == 12;
        if (changed && (entry[0] | entry[1] << 8) == TIFFTAG_SAMPLESPERPIXEL) {
            const uint8_t type[2] = {TIFF_SLONG, 0};
            changed = std::fseek(file, directory + 2 + 12 * i + 2, SEEK_SET) == 0 && std::fwrite(type, 1, 2, file) == 2;
            break;
        }
    }
    return std::fclose(file) == 0 && changed;
}

// Square tiles (one a plane) of RGB, of RGBA at 16 bits, or of grey.
bool WriteTiles(const std::string& path, uint32_t width, uint32_t height, uint32_t side, uint16_t samples,
                uint16_t bits)
{
    Fields fields = {{TIFFTAG_IMAGEWIDTH, width}, {TIFFTAG_IMAGELENGTH, height}, {TIFFTAG_BITSPERSAMPLE, bits},
                     {TIFFTAG_SAMPLESPERPIXEL, samples},
                     {TIFFTAG_PHOTOMETRIC, samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK},
                     {TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE}, {TIFFTAG_TILEWIDTH, side},
                     {TIFFTAG_TILELENGTH, side}};
    return testpictures::WriteWithLibtiff(path, fields, [&](TIFF* tif) {
        const uint16_t alpha = EXTRASAMPLE_UNASSALPHA;
        if (samples == 4 && !TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &alpha))
            return false;
        const size_t bytes = bits / 8;
        std::vector<uint8_t> tile(size_t(side) * side * samples * bytes);
        for (uint32_t top = 0; top < height; top += side)
            for (uint32_t left = 0; left < width; left += side) {
                for (size_t i = 0; i < size_t(side) * side * samples; ++i) {
                    const uint32_t x = left + uint32_t(i / samples % side), y = top + uint32_t(i / samples / side);
                    const uint8_t value = samples == 4 && i % 4 == 3 ? 255 : Squares(x, y, uint32_t(i % samples));
                    std::memset(&tile[i * bytes], value, bytes);
                }
                if (TIFFWriteTile(tif, tile.data(), left, top, 0, 0) < 0)
                    return false;
            }
        return true;
    });
}

// RGB noise coded in LZW, 16 rows a strip: LZW makes noise larger than its
// samples, as it makes a scan of film grain.
bool WriteNoise(const std::string& path, uint32_t width, uint32_t height)
{
    Fields fields = {{TIFFTAG_IMAGEWIDTH, width}, {TIFFTAG_IMAGELENGTH, height}, {TIFFTAG_BITSPERSAMPLE, 8},
                     {TIFFTAG_SAMPLESPERPIXEL, 3}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB},
                     {TIFFTAG_COMPRESSION, COMPRESSION_LZW}, {TIFFTAG_ROWSPERSTRIP, 16}};
    return testpictures::WriteWithLibtiff(path, fields, [&](TIFF* tif) {
        std::vector<uint8_t> row(size_t(width) * 3);
        uint32_t state = 2463534242u;
        bool written = true;
        for (uint32_t y = 0; y < height && written; ++y) {
            for (uint8_t& sample : row) {
                state ^= state << 13;
                state ^= state >> 17;
                state ^= state << 5;
                sample = uint8_t(state);
            }
            written = TIFFWriteScanline(tif, row.data(), y) >= 0;
        }
        return written;
    });
}

// RGB of 1 bit a sample in deflated strips of 64 rows, squares of 8 pixels:
// the layout the system's decoder reads.
bool WriteRgbOfOneBit(const std::string& path, uint32_t side)
{
    Fields fields = {{TIFFTAG_IMAGEWIDTH, side}, {TIFFTAG_IMAGELENGTH, side}, {TIFFTAG_BITSPERSAMPLE, 1},
                     {TIFFTAG_SAMPLESPERPIXEL, 3}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB},
                     {TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE}, {TIFFTAG_ROWSPERSTRIP, 64}};
    return testpictures::WriteWithLibtiff(path, fields, [side](TIFF* tif) {
        return testpictures::WritePackedSamples(tif, side, side, 3, 1, 0, [](uint32_t x, uint32_t y, uint16_t s) {
            return (x / 8 + y / 8 + s) & 1;
        });
    });
}

// 64 x 64 grey and fields of a private tag each, every one naming the same
// block of bytes, in a directory that ends the file without its link.
bool WriteSharedFields(const std::string& path, uint16_t fields, uint32_t blockBytes)
{
    using testpictures::Entry;
    const uint32_t side = 64, blockAt = 8 + side * side;
    std::string out = "II";
    testpictures::Put16(out, 42, false);
    testpictures::Put32(out, blockAt + blockBytes, false);
    out += std::string(side * side, '\x80');
    std::string directory;
    testpictures::Put16(directory, uint16_t(8 + fields), false);
    Entry(directory, 256, 4, 1, side, false);
    Entry(directory, 257, 4, 1, side, false);
    Entry(directory, 258, 3, 1, 8, false);
    Entry(directory, 262, 3, 1, PHOTOMETRIC_MINISBLACK, false);
    Entry(directory, 273, 4, 1, 8, false);
    Entry(directory, 277, 3, 1, 1, false);
    Entry(directory, 278, 4, 1, side, false);
    Entry(directory, 279, 4, 1, side * side, false);
    for (uint16_t field = 0; field < fields; ++field)
        Entry(directory, uint16_t(40000 + field), TIFF_UNDEFINED, blockBytes, blockAt, false);
    FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return file && std::fclose(file) == 0 && written && testpictures::AppendZeros(path, blockBytes, directory);
}

// The library's two calls of a read into a block of the size asked.
bool LibraryRead(const std::function<int32_t(void*, int32_t)>& call)
{
    const int32_t size = call(nullptr, 0);
    if (size < 1)
        return false;
    void* block = std::malloc(size_t(size));
    const bool read = block && call(block, size) == size;
    std::free(block);
    return read;
}

// libtiff's own readings of the file.
bool EveryStrile(const std::string& path)
{
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif)
        return false;
    const bool tiled = TIFFIsTiled(tif) != 0;
    const tmsize_t size = tiled ? TIFFTileSize(tif) : TIFFStripSize(tif);
    const uint32_t striles = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    std::vector<uint8_t> buffer(size_t(size > 0 ? size : 0));
    bool read = size > 0;
    for (uint32_t s = 0; s < striles && read; ++s)
        read = (tiled ? TIFFReadEncodedTile(tif, s, buffer.data(), size)
                      : TIFFReadEncodedStrip(tif, s, buffer.data(), size)) >= 0;
    TIFFClose(tif);
    return read;
}

bool WholeRgba(const std::string& path)
{
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif)
        return false;
    uint32_t width = 0, height = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    uint32_t* raster = static_cast<uint32_t*>(_TIFFmalloc(tmsize_t(width) * height * 4));
    const bool read = raster && TIFFReadRGBAImageOriented(tif, width, height, raster, ORIENTATION_TOPLEFT, 0);
    _TIFFfree(raster);
    TIFFClose(tif);
    return read;
}

void Quiet(const char*, const char*, va_list) {}

}  // namespace

void TimeTiffLayouts(HMODULE lib, const std::string& folder)
{
    auto check = reinterpret_cast<PFN_CheckRasterImageW>(reinterpret_cast<void*>(::GetProcAddress(lib, "CheckRasterImageW")));
    auto read = reinterpret_cast<PFN_ReadRasterImage>(reinterpret_cast<void*>(::GetProcAddress(lib, "ReadRasterImage")));
    auto readLQ = reinterpret_cast<PFN_ReadLQRasterImage>(reinterpret_cast<void*>(::GetProcAddress(lib, "ReadLQRasterImage")));
    if (!check || !read || !readLQ)
        return;
    ::TIFFSetWarningHandler(Quiet);
    ::TIFFSetErrorHandler(Quiet);
    const struct {
        const char* name;
        std::function<bool(const std::string&)> write;
    } files[] = {
        {"20000 grey planes, the count an SLONG",
         [](const std::string& path) { return WriteGreyPlanes(path, 8, 1, 20000, true); }},
        {"16 grey planes of 4000 x 4000, a row a strip",
         [](const std::string& path) { return WriteGreyPlanes(path, 4000, 4000, 16, false); }},
        {"3 progressive JPEG planes of 7400 x 7400",
         [](const std::string& path) { return WriteProgressivePlanes(path, 7400, 3); }},
        {"3 progressive JPEG planes of 3800 x 3800",
         [](const std::string& path) { return WriteProgressivePlanes(path, 3800, 3); }},
        {"RGB 8192 x 4096 in two tiles of 4096",
         [](const std::string& path) { return WriteTiles(path, 8192, 4096, 4096, 3, 8); }},
        {"grey tile of 4112", [](const std::string& path) { return WriteTiles(path, 4112, 4112, 4112, 1, 8); }},
        {"RGBA at 16 bits in a tile of 4096",
         [](const std::string& path) { return WriteTiles(path, 4096, 4096, 4096, 4, 16); }},
        {"YCbCr 2 x 2 of 4090 x 4090 in one strip", [](const std::string& path) { return testpictures::WriteLibtiffYCbCr(path, 4090, 4090); }},
        {"YCbCr 2 x 2 of 8000 x 8000 in one strip", [](const std::string& path) { return testpictures::WriteLibtiffYCbCr(path, 8000, 8000); }},
        {"RGB noise of 15000 x 10000 in LZW, 16 rows a strip",
         [](const std::string& path) { return WriteNoise(path, 15000, 10000); }},
        {"16 planes of 1024 x 768 and a private field of 40 MB of LONG8 values",
         [](const std::string& path) { return testpictures::WritePlanesTiff(path, 1024, 768, 40u << 20, TIFF_LONG8, true); }},
        {"16 planes of 1024 x 768 and a 40 MB profile, the directory last and unlinked",
         [](const std::string& path) {
             return testpictures::WritePlanesTiff(path, 1024, 768, 40u << 20, TIFF_UNDEFINED, false);
         }},
        {"64 x 64 grey and 4,000 private fields of one 900 KB block, the directory last and unlinked",
         [](const std::string& path) { return WriteSharedFields(path, 4000, 900u << 10); }},
        {"RGB of 1 bit, 6000 x 6000 in strips of 64 rows",
         [](const std::string& path) { return WriteRgbOfOneBit(path, 6000); }},
        {"RGB of 1 bit, 12000 x 12000 in strips of 64 rows",
         [](const std::string& path) { return WriteRgbOfOneBit(path, 12000); }},
    };
    std::printf("TIFF layouts: each reading's time and private memory at its peak above its start\n");
    for (const auto& file : files) {
        const std::string path = folder + "layout.tif";
        if (!file.write(path)) {
            std::printf("%s: not written\n", file.name);
            continue;
        }
        WIN32_FILE_ATTRIBUTE_DATA attributes = {};
        ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes);
        uint32_t width = 0, height = 0;
        if (TIFF* tif = TIFFOpen(path.c_str(), "r")) {
            TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
            TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
            TIFFClose(tif);
        }
        std::printf("%s (%lu KB; a full read returns %u MB of pixels):\n", file.name, attributes.nFileSizeLow >> 10,
                    unsigned((uint64_t(width) * height * 4) >> 20));
        const std::wstring wide(path.begin(), path.end());
        int32_t answer = -1;
        const struct {
            const char* name;
            std::function<bool()> run;
            bool library = false;  // false: libtiff's
        } readings[] = {
            {"the library's check", [&] {
                 answer = check(wide.c_str(), 0);
                 return answer == rasterlib::kPictureSound;
             }, true},
            {"the library's thumbnail", [&] {
                 return LibraryRead([&](void* block, int32_t size) {
                     int32_t side = 128;
                     return readLQ(path.c_str(), block, size, &side, &side, 0, 0, 0);
                 });
             }, true},
            {"the library's full read",
             [&] { return LibraryRead([&](void* block, int32_t size) { return read(path.c_str(), block, size); }); },
             true},
            {"libtiff, every strip or tile decoded in turn (as tiffcp)", [&] { return EveryStrile(path); }},
            {"libtiff's RGBA reader, the whole picture (as tiff2rgba)", [&] { return WholeRgba(path); }},
        };
        for (const auto& reading : readings) {
            const size_t before = PrivateBytes();
            CPeakSampler sampler;
            LARGE_INTEGER start;
            ::QueryPerformanceCounter(&start);
            const bool done = reading.run();
            const double seconds = Seconds(start);
            const size_t peak = sampler.Stop();
            std::printf("  %-58s %8.3f s %6u MB  %s\n", reading.name, seconds,
                        unsigned((peak > before ? peak - before : 0) >> 20),
                        done ? "read"
                        : reading.library && answer == rasterlib::kPictureTooLarge ? "too large"
                                                                                    : "not read");
        }
        ::DeleteFileA(path.c_str());
    }
}
