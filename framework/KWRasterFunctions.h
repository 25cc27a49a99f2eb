#pragma once
// The exports of the raster-image library DAZiruraRuv.dll, taken by name at
// run time. Functions that produce a block answer its byte size when called
// with a null buffer and size 0, and fill the buffer on a second call; a result
// below 1 is a failure. Paths and format names are ANSI.
#include <cstdint>

class CQMFormatInfo;
struct KWRasterImage;

extern "C" {
typedef int32_t (*KWReadRasterImageFn)(const char* path, void* buffer, int32_t bufferSize);
typedef int32_t (*KWReadLQRasterImageFn)(const char* path, void* buffer, int32_t bufferSize,
                                         uint32_t* targetWidth, uint32_t* targetHeight,
                                         int32_t reserved1, int32_t reserved2, int32_t reserved3);
typedef int32_t (*KWReadRasterImageFromMemoryFn)(const void* bytes, uint32_t count, void* buffer,
                                                 int32_t bufferSize, const char* formatHint);
typedef int32_t (*KWReadRasterImageTypeFromMemoryFn)(const void* bytes, uint32_t count,
                                                     const char* formatName, uint8_t* typeCode);
typedef int32_t (*KWReadRasterImageWHFn)(const char* path, uint32_t* width, uint32_t* height);
typedef int32_t (*KWWriteRasterImageToMemoryFn)(const KWRasterImage* image, void* buffer,
                                                int32_t bufferSize, const char* formatName);
typedef uint8_t (*KWSaveRasterImageFn)(const char* path, uint32_t width, uint32_t height,
                                       uint32_t stride, int32_t mode, int32_t quality,
                                       const char* formatName, const void* pixels);
typedef int32_t (*KWTestRasterFormatFn)(const char* path);
typedef int32_t (*KWResizeRasterImageFn)(const void* pixels, uint32_t width, uint32_t height,
                                         uint32_t stride, void* buffer, uint32_t newWidth,
                                         uint32_t newHeight, int32_t bufferSize, int32_t mode);
typedef int32_t (*KWRotateRasterImageFn)(const void* pixels, uint32_t width, uint32_t height,
                                         void* buffer, int32_t bufferSize, int32_t reserved,
                                         int32_t angle);
typedef void (*KWQuartzInitializeMagickFn)(const char* configurePath);
typedef int32_t (*KWReadRasterImageWFn)(const wchar_t* path, void* buffer, int32_t bufferSize);
typedef int32_t (*KWReadLQRasterImageWFn)(const wchar_t* path, void* buffer, int32_t bufferSize,
                                          uint32_t* targetWidth, uint32_t* targetHeight, int32_t reserved1,
                                          int32_t reserved2, int32_t reserved3);
typedef uint8_t (*KWSaveRasterImageWFn)(const wchar_t* path, uint32_t width, uint32_t height, uint32_t stride,
                                        int32_t mode, int32_t quality, const char* formatName, const void* pixels);
// What a file's header tells; the library reads every picture upright, so the
// size is the upright one and the orientation is the one it undoes.
struct KWRasterImageInfo {
    uint32_t size;        // of the record, set by the caller
    int32_t width;
    int32_t height;
    int32_t orientation;  // 1 to 8, 1 when upright or none recorded
    char format[8];       // "jpg", "png", "gif", "bmp", "tif", "ico"
};
typedef int32_t (*KWReadRasterImageInfoWFn)(const wchar_t* path, KWRasterImageInfo* info);
// Writes the JPEG file at source turned upright losslessly to target; 1 when
// written (what is written decodes whole at the upright size), 0 (nothing
// written) when the turn is not exact, not needed or would not decode.
typedef int32_t (*KWWriteUprightJpegWFn)(const wchar_t* source, const wchar_t* target);
// Copies the JPEG file at source to target with its recorded orientation set
// to upright; 1 when written.
typedef int32_t (*KWWriteUnturnedJpegWFn)(const wchar_t* source, const wchar_t* target);
// Writes the JPEG file at source encoded anew at target: upright, then turned
// clockwise by rotation degrees (a multiple of 90), at the quality (0: the
// library's own); 1 when written, 0 (nothing written) when the library leaves
// the picture to a decode into pixels.
typedef int32_t (*KWEncodeTurnedJpegWFn)(const wchar_t* source, const wchar_t* target, int32_t rotation,
                                         int32_t quality);
// The whole file checked, not only its header: one of KWPictureState. A file
// it calls sound reads whole (a JPEG's data are walked block by block, other
// formats decoded), whatever the flags; a picture of more pixels than the
// library decodes is told from its header alone.
typedef int32_t (*KWCheckRasterImageWFn)(const wchar_t* path, int32_t flags);
typedef CQMFormatInfo* (*KWCreateFormatListFn)();
typedef void (*KWDisposeFormatListFn)(CQMFormatInfo* list);
}

// The constant arguments the program passes.
constexpr int32_t KW_SAVE_RASTER_MODE = 3;
constexpr int32_t KW_RESIZE_RASTER_MODE = 1;
constexpr int32_t KW_CHECK_BY_DECODING = 1;

// The exports taken when the binding is built; all null until loaded. The
// UTF-16 ones are used when the library has them; without them a path the
// code page cannot hold is passed by its short form.
struct KWRasterFunctions {
    KWReadRasterImageFn ReadRasterImage = nullptr;
    KWReadLQRasterImageFn ReadLQRasterImage = nullptr;
    KWTestRasterFormatFn TestRasterFormat = nullptr;
    KWWriteRasterImageToMemoryFn WriteRasterImageToMemory = nullptr;
    KWSaveRasterImageFn SaveRasterImage = nullptr;
    KWRotateRasterImageFn RotateRasterImage = nullptr;
    KWResizeRasterImageFn ResizeRasterImage = nullptr;
    KWReadRasterImageFromMemoryFn ReadRasterImageFromMemory = nullptr;
    KWReadRasterImageTypeFromMemoryFn ReadRasterImageTypeFromMemory = nullptr;
    KWReadRasterImageWHFn ReadRasterImageWH = nullptr;
    KWReadRasterImageWFn ReadRasterImageW = nullptr;
    KWReadLQRasterImageWFn ReadLQRasterImageW = nullptr;
    KWReadRasterImageInfoWFn ReadRasterImageInfoW = nullptr;
    KWSaveRasterImageWFn SaveRasterImageW = nullptr;
    KWWriteUprightJpegWFn WriteUprightJpegW = nullptr;
    KWWriteUnturnedJpegWFn WriteUnturnedJpegW = nullptr;
    KWEncodeTurnedJpegWFn EncodeTurnedJpegW = nullptr;
    KWCheckRasterImageWFn CheckRasterImageW = nullptr;
};

// What the check of a picture's whole file says, as the library answers it.
enum class KWPictureState : int32_t {
    Sound = 0,
    Empty = 1,       // the file holds no byte
    NotPicture = 2,  // no format the library reads
    Damaged = 3,     // cut short, changed, or claiming more than the file holds
    Missing = 4,     // the file cannot be opened
    TooLarge = 5,    // more pixels than the library decodes: measured, shown as the placeholder
    UnreadKind = 6,  // a picture of a kind the library does not read (a BigTIFF, a TIFF of
                     // floating-point samples): shown as the placeholder
};

// The last state a check answers: a value past it, from another library or
// process, is none of them.
constexpr KWPictureState kKWLastPictureState = KWPictureState::UnreadKind;
