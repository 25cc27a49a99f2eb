// Interface of DAZiruraRuv.dll, the raster-image library that the program loads at
// run time and calls through GetProcAddress.
//
// Calling convention: every export is __cdecl, exported undecorated through
// DAZiruraRuv.def. The caller removes the arguments, as a C library's callers expect;
// declare the function pointers with the typedefs below.
//
// Memory: the library never hands the caller a block to free. Every function that
// produces a block is called twice: first with a null buffer (or size 0), which
// returns the size needed, then with a buffer of at least that size, which is filled.
// A fill call whose buffer is smaller than needed writes nothing and returns the size
// needed, so a caller comparing the two results sees the mismatch. A result below 1 is
// a failure. The format list is the one exception: it belongs to the library and is
// released with DisposeFormatList.
//
// Raster image record: u32 width, u32 height, u32 stride (always width * 4 in records
// the library makes), then height rows, top row first, of 4-byte pixels in the byte
// order B, G, R, A with straight (not premultiplied) alpha; opaque images have A = 255.
// An image whose fourth bytes are all 0 (as a grey copy made by the program is) is
// treated as opaque wherever pixels are blended or encoded.
#pragma once

#include <cstdint>

namespace rasterlib {

struct RasterRecordHeader {
    uint32_t width;
    uint32_t height;
    uint32_t stride;
};
static_assert(sizeof(RasterRecordHeader) == 12, "record header is 12 bytes");

// Limits applied to every image the library reads, makes or is given; sizes are
// computed in 64-bit arithmetic before they are compared.
constexpr uint32_t kMaxImageSide = 1u << 18;
constexpr uint64_t kMaxRecordBytes = uint64_t(1) << 30;
// The most pixels a picture may have to be decoded at any size: its record
// (640 MB at the most) is one a 32-bit program can hold beside its own, and
// the largest camera photographs (150 megapixels) stay within it. A file of
// more pixels is measured but never decoded; its check says so at once.
constexpr uint64_t kMaxImagePixels = 160000000;

// Image type codes of ReadRasterImageTypeFromMemory.
constexpr uint8_t kImageTypeColour = 0;
constexpr uint8_t kImageTypeGrey = 1;

// Answers of CheckRasterImageW.
constexpr int32_t kPictureSound = 0;
constexpr int32_t kPictureEmpty = 1;       // the file holds no byte
constexpr int32_t kPictureNotImage = 2;    // no format the library reads
constexpr int32_t kPictureDamaged = 3;     // cut short, changed, or claiming more than the file holds
constexpr int32_t kPictureMissing = 4;     // the file cannot be opened
constexpr int32_t kPictureTooLarge = 5;    // more pixels than kMaxImagePixels: measured, never decoded;
                                           // or a file its reader takes whole that finds no room
constexpr int32_t kPictureUnreadKind = 6;  // a picture of a kind the library does not read: a BigTIFF,
                                           // a TIFF of floating-point samples, of a coding or a layout
                                           // none of its readers takes

// The layout argument of SaveRasterImage: 4-byte pixels B, G, R, A.
constexpr int32_t kPixelLayoutBgra = 3;

// The mode argument of ResizeRasterImage.
constexpr int32_t kResizeExact = 0;
constexpr int32_t kResizeFit = 1;  // keep the aspect ratio inside the box; 0 = unbounded side

}  // namespace rasterlib

extern "C" {

// Whole image at full size. Returns the record size.
typedef int32_t(__cdecl* PFN_ReadRasterImage)(const char* path, void* buffer, int32_t bufferSize);

// Image reduced to fit targetWidth x targetHeight (aspect kept, never enlarged; a 0
// side is unbounded; both 0 read at full size). The targets are only read. The three
// trailing arguments are reserved and should be 0.
typedef int32_t(__cdecl* PFN_ReadLQRasterImage)(const char* path, void* buffer, int32_t bufferSize,
                                                const int32_t* targetWidth, const int32_t* targetHeight,
                                                int32_t reserved1, int32_t reserved2, int32_t reserved3);

// Encoded bytes in memory. The format is found from the bytes; the hint only matters
// for bytes of no known format, which with "dib" or "bmp" are read as a clipboard
// bitmap (BITMAPINFO and bits without a file header).
typedef int32_t(__cdecl* PFN_ReadRasterImageFromMemory)(const void* bytes, int32_t count, void* buffer,
                                                        int32_t bufferSize, const char* formatHint);

// Writes kImageTypeGrey or kImageTypeColour into *type. Returns 1, or 0 (and type 0)
// when the bytes cannot be read.
typedef int32_t(__cdecl* PFN_ReadRasterImageTypeFromMemory)(const void* bytes, int32_t count,
                                                            const char* formatName, uint8_t* type);

// Size from the file's header only, upright (see RasterImageInfo). Returns 1; 0 and a
// size of 0 x 0 on failure.
typedef int32_t(__cdecl* PFN_ReadRasterImageWH)(const char* path, int32_t* width, int32_t* height);

// Encodes a record ("jpg", "png", "gif", "bmp", "tif", "ico", ...). Returns the
// encoded size, 0 on failure.
typedef int32_t(__cdecl* PFN_WriteRasterImageToMemory)(const void* record, void* buffer, int32_t bufferSize,
                                                       const char* formatName);

// Encodes pixels into a file. layout must be kPixelLayoutBgra; quality 1 to 100 counts
// for JPEG (0 or less: 90). Returns non-zero when the whole file was written.
typedef uint8_t(__cdecl* PFN_SaveRasterImage)(const char* path, int32_t width, int32_t height, int32_t stride,
                                              int32_t layout, int32_t quality, const char* formatName,
                                              const void* pixels);

// 1 when the file holds an image in a format the library reads, else 0.
typedef int32_t(__cdecl* PFN_TestRasterFormat)(const char* path);

// Resamples (area averaging down, bilinear up) into a new record. Returns its size.
typedef int32_t(__cdecl* PFN_ResizeRasterImage)(const void* pixels, int32_t width, int32_t height, int32_t stride,
                                                void* buffer, int32_t newWidth, int32_t newHeight,
                                                int32_t bufferSize, int32_t mode);

// Rotates clockwise by a whole number of degrees into a new record: exact for
// multiples of 90, interpolated otherwise on a canvas enlarged to hold the whole image,
// whose uncovered pixels take the value background (a pixel read little-endian, so 0
// is transparent black). The source rows are width * 4 bytes apart. Returns its size.
typedef int32_t(__cdecl* PFN_RotateRasterImage)(const void* pixels, int32_t width, int32_t height, void* buffer,
                                                int32_t bufferSize, uint32_t background, int32_t angle);

// Checks the configuration written out of the "Magick" resources; configurePath names
// "configure.mgk" in that folder. Returns 1 when it is present and well formed. The
// library works without this call.
typedef int32_t(__cdecl* PFN_Quartz_InitializeMagick)(const char* configurePath);

// The same reads by UTF-16 path, so that a file of any name can be read; the ANSI
// functions above widen their path and call these.
typedef int32_t(__cdecl* PFN_ReadRasterImageW)(const wchar_t* path, void* buffer, int32_t bufferSize);
typedef int32_t(__cdecl* PFN_ReadLQRasterImageW)(const wchar_t* path, void* buffer, int32_t bufferSize,
                                                 const int32_t* targetWidth, const int32_t* targetHeight,
                                                 int32_t reserved1, int32_t reserved2, int32_t reserved3);
typedef uint8_t(__cdecl* PFN_SaveRasterImageW)(const wchar_t* path, int32_t width, int32_t height, int32_t stride,
                                               int32_t layout, int32_t quality, const char* formatName,
                                               const void* pixels);

// What the header of an image file tells. Every read turns the picture upright by the
// orientation it records, so width and height are the upright size.
struct RasterImageInfo {
    uint32_t size;        // of this record, set by the caller
    int32_t width;
    int32_t height;
    int32_t orientation;  // as recorded, 1 to 8 (1: upright or none recorded)
    char format[8];       // "jpg", "png", "gif", "bmp", "tif" or "ico", terminated
};

// Fills info from the file's header. Returns 1; 0, with a size of 0 x 0, when the file
// cannot be read as an image or info->size is smaller than the record.
typedef int32_t(__cdecl* PFN_ReadRasterImageInfoW)(const wchar_t* path, RasterImageInfo* info);

// Writes the JPEG file at source turned upright by the orientation it records,
// losslessly, to target (created or replaced). Returns 1 when written, and
// what it wrote decodes whole at the upright size; 0, writing nothing, when
// the file is no JPEG, records no turn or flip, the turn would not be exact for
// its size, or what the turn makes would not decode (the caller then decodes
// and encodes it). Callable from several threads at once.
typedef int32_t(__cdecl* PFN_WriteUprightJpegW)(const wchar_t* source, const wchar_t* target);
// Copies the JPEG file at source to target (created or replaced) with the
// orientation it records set to upright (1), every other byte as it stands:
// for a reader that is to turn the picture itself. Only a single, well-formed
// orientation is changed: one entry of the tag in the first EXIF segment's
// first directory, of type SHORT and one value, with no orientation in XMP.
// Returns 1 when written; 0, writing nothing, when the file is no JPEG or
// records no such orientation (two entries, a LONG, a list, an XMP one, which
// some reader would turn the copy by): the caller then writes the picture
// upright, recording no turn, instead.
typedef int32_t(__cdecl* PFN_WriteUnturnedJpegW)(const wchar_t* source, const wchar_t* target);
// Writes the JPEG file at source to target (created or replaced) encoded anew:
// turned upright by the orientation it records, then clockwise by rotation
// degrees (a multiple of 90), at the quality (0: the library's own). Returns 1
// when written; 0, leaving no file, when the file is no JPEG, its stream is one
// this path does not take (4 components, colours stored as R, G, B, a mirrored
// side ending in part of a colour sample, a stream libjpeg warns about) or the
// target cannot be written: the caller then decodes the picture to pixels and
// encodes those.
typedef int32_t(__cdecl* PFN_EncodeTurnedJpegW)(const wchar_t* source, const wchar_t* target, int32_t rotation,
                                                int32_t quality);
// Checks the whole file, not only its header, and calls sound only a file that
// reads whole here and in other readers: JPEG segments to the end of image,
// every marker one decoders read, and the scan's data decoded without a
// warning (walked block by block where the library reads the stream itself);
// PNG read through by libpng (chunk CRCs, Adler-32, filter bytes, nothing left
// over); GIF blocks to the trailer, every frame inside the logical screen; BMP
// and TIFF data inside the file, a BMP's colour count within its bit depth and
// its runs filling every row; an icon's entry; every format but JPEG and PNG
// then decoded at a small size. A picture of more than kMaxImagePixels is
// answered kPictureTooLarge from its header alone, nothing of it decoded, and
// so is a file of a format read whole (all but TIFF, which is read through
// the file at any size) that the process has no room to map. A TIFF of a
// kind no reader here takes (README.md's limits name them) is answered
// kPictureUnreadKind, not damaged: nothing says its data are.
// kCheckByDecoding, which asked for that decoding once, no longer changes the
// answer. One of the kPicture answers above.
constexpr int32_t kCheckByDecoding = 1;
typedef int32_t(__cdecl* PFN_CheckRasterImageW)(const wchar_t* path, int32_t flags);

struct CQMFormatInfo;
typedef CQMFormatInfo*(__cdecl* PFN_CreateFormatList)();
typedef void(__cdecl* PFN_DisposeFormatList)(CQMFormatInfo* list);

}  // extern "C"
