// Shared helpers of the raster library tests: the library loaded by name as the
// program loads it, test pictures, the two-call protocol, and independent encoders
// and decoders (WIC, libjpeg-turbo and libtiff called directly) to check the library against.
#pragma once

#include "platform/rasterlib/RasterLibApi.h"
#include "tests/support/LibtiffFiles.h"

#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace rastertest {

struct RasterLib {
    HMODULE module = nullptr;
    PFN_ReadRasterImage read = nullptr;
    PFN_ReadLQRasterImage readLQ = nullptr;
    PFN_ReadRasterImageFromMemory readMemory = nullptr;
    PFN_ReadRasterImageTypeFromMemory readType = nullptr;
    PFN_ReadRasterImageWH readSize = nullptr;
    PFN_WriteRasterImageToMemory write = nullptr;
    PFN_SaveRasterImage save = nullptr;
    PFN_TestRasterFormat test = nullptr;
    PFN_ResizeRasterImage resize = nullptr;
    PFN_RotateRasterImage rotate = nullptr;
    PFN_Quartz_InitializeMagick initialize = nullptr;
    PFN_CreateFormatList createFormats = nullptr;
    PFN_DisposeFormatList disposeFormats = nullptr;
    PFN_ReadRasterImageW readW = nullptr;
    PFN_ReadRasterImageInfoW infoW = nullptr;
    PFN_SaveRasterImageW saveW = nullptr;
    PFN_CheckRasterImageW checkW = nullptr;
    PFN_WriteUprightJpegW writeUpright = nullptr;
    PFN_WriteUnturnedJpegW writeUnturned = nullptr;
    PFN_EncodeTurnedJpegW encodeTurned = nullptr;

    bool IsComplete() const;
};

// Loaded once with LoadLibraryW and GetProcAddress.
const RasterLib& Lib();

struct Pixel {
    uint8_t b, g, r, a;
};

// A packed image (rows width * 4 bytes apart).
class Picture {
public:
    Picture() = default;
    Picture(uint32_t width, uint32_t height, Pixel fill = Pixel{0, 0, 0, 255});

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    Pixel At(uint32_t x, uint32_t y) const;
    void Set(uint32_t x, uint32_t y, Pixel p);
    const uint8_t* Data() const { return m_pixels.data(); }
    uint8_t* Data() { return m_pixels.data(); }

    // As a raster image record: 12-byte header and pixels.
    std::vector<uint8_t> Record() const;
    // False when the record is empty, too short for its header or its stride is not
    // width * 4.
    static bool FromRecord(const std::vector<uint8_t>& record, Picture& picture);

private:
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    std::vector<uint8_t> m_pixels;
};

// Smooth colours: blue grows to the right, green downwards, red along the diagonal.
Picture Gradient(uint32_t width, uint32_t height);
Pixel GradientAt(double x, double y, uint32_t width, uint32_t height);
// Squares of cell pixels alternating between two colours.
Picture Checker(uint32_t width, uint32_t height, uint32_t cell, Pixel first, Pixel second);

// Largest difference of any channel (the fourth one only when withAlpha).
int MaxDifference(const Picture& a, const Picture& b, bool withAlpha = true);
int MaxDifference(Pixel a, Pixel b, bool withAlpha = true);

// The two calls, as the program makes them; empty when the first answers below 1 or
// the second does not answer the same size.
std::vector<uint8_t> ReadFile(const std::string& path);
std::vector<uint8_t> ReadFileReduced(const std::string& path, int32_t width, int32_t height);
std::vector<uint8_t> ReadMemory(const std::vector<uint8_t>& bytes, const char* hint);
std::vector<uint8_t> WriteMemory(const std::vector<uint8_t>& record, const char* format);
std::vector<uint8_t> Resize(const Picture& picture, int32_t width, int32_t height, int32_t mode);
std::vector<uint8_t> Rotate(const Picture& picture, int32_t angle, uint32_t background = 0);

// Writes a little-endian field of so many bytes (2 or 4) into the bytes.
void PutLe(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int size);

// Files in a folder of the test run under the temporary folder (ANSI paths).
std::string TempPath(const std::string& name);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadBytes(const std::string& path);

// Records the largest block the library asks the C runtime for, by redirecting
// the library's imports of malloc, calloc and realloc while it lives.
class AllocationWatch {
public:
    AllocationWatch();
    ~AllocationWatch();
    AllocationWatch(const AllocationWatch&) = delete;
    AllocationWatch& operator=(const AllocationWatch&) = delete;

    bool IsInstalled() const { return m_installed; }
    // The largest block since the watch began or was reset.
    static size_t Largest();
    // The bytes of every block asked for since then, added up.
    static uint64_t Total();
    static void Reset();

private:
    bool m_installed = false;
};

// The same bytes read through the two calls with the fill buffer prefilled by
// the given byte: pixels a decoder leaves out show up as the prefill.
std::vector<uint8_t> ReadMemoryPrefilled(const std::vector<uint8_t>& bytes, const char* hint, uint8_t prefill);

// Independent codecs.
std::vector<uint8_t> EncodeWithWic(const Picture& picture, const GUID& container, const GUID& pixelFormat);
bool DecodeWithWic(const std::vector<uint8_t>& bytes, Picture& picture);
std::vector<uint8_t> EncodeJpeg(const Picture& picture, int quality, bool progressive = false);
std::vector<uint8_t> EncodeGreyJpeg(const std::vector<uint8_t>& grey, uint32_t width, uint32_t height, int quality,
                                    bool progressive = false);
// inks: 4 bytes per pixel, C M Y K as amounts of ink (255 = full). adobeInverted
// stores 255 - ink under an Adobe segment as Photoshop does; ycck stores YCCK.
std::vector<uint8_t> EncodeCmykJpeg(const std::vector<uint8_t>& inks, uint32_t width, uint32_t height,
                                    bool adobeInverted, bool ycck);

// A TIFF libtiff writes (tests/support/LibtiffFiles.h) into the test's
// folder, read back; empty when it is not written.
std::vector<uint8_t> WrittenByLibtiff(const std::vector<std::pair<uint32_t, uint32_t>>& fields,
                                      const std::function<bool(TIFF*)>& write);
// An RGB picture of colour(x, y) in that layout.
std::vector<uint8_t> LibtiffRgb(uint32_t width, uint32_t height, const testpictures::LibtiffLayout& layout,
                                const std::function<Pixel(uint32_t, uint32_t)>& colour);
// Its YCbCr blocks of side x side in strips of rowsPerStrip rows.
std::vector<uint8_t> LibtiffYCbCr(uint32_t side, uint32_t rowsPerStrip);

// A baseline JPEG written through libjpeg's own interface, laid out as cameras and
// editors lay them out.
struct JpegLayout {
    int lumaH = 2;  // luma samples across and down for each chroma sample
    int lumaV = 2;
    bool grey = false;
    int restartMcus = 0;  // a restart marker every so many MCUs; 0: none
    bool adobe = false;   // an Adobe segment naming YCbCr after the JFIF one
    bool jfif = true;     // a JFIF segment (with a density of 300 by 72 dots an inch)
    bool baseline = true; // quantization tables of 8-bit values
    bool crAsLuma = false; // Cr sampled as the luma is while Cb stays 1 x 1
};
std::vector<uint8_t> EncodeLaidOutJpeg(const Picture& picture, int quality, const JpegLayout& layout);

// libjpeg-turbo's lossless turn of the bytes upright from the orientation (2 to
// 8), exact or not at all, the camera's segments left out (as `jpegtran -copy
// none -perfect`); empty when it fails.
std::vector<uint8_t> TurnWithTurbo(const std::vector<uint8_t>& bytes, int orientation);

// True when libjpeg-turbo (its libjpeg interface, which takes every sampling)
// decodes the whole stream at full size without a warning.
bool DecodesWholeWithTurbo(const std::vector<uint8_t>& bytes, int* width = nullptr, int* height = nullptr);

// The stream with fill bytes (an extra FF) before every stuffed FF and every
// restart marker of its scan; unchanged when it has none.
std::vector<uint8_t> WithFillBytes(const std::vector<uint8_t>& jpeg);

// libjpeg-turbo's own read at one eighth of the size (fast upsampling, as a
// reduced read asks, carrying on past warnings); false when it fails.
bool DecodeJpegEighthWithTurbo(const std::vector<uint8_t>& bytes, Picture& picture);

}  // namespace rastertest
