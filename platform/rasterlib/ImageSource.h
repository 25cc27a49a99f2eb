// An encoded image opened for measuring and decoding: finds the format from the
// bytes, reads the size and the recorded orientation from the header itself (an
// image more than its file can hold is refused there), and decodes upright at full
// or reduced size into initialised pixels, JPEG through libjpeg-turbo, PNG through
// libpng, bitmaps of a palette or 24 bits and GIFs read reduced by the library
// itself, TIFFs through libtiff and the other formats (and TIFFs of RGB of 1 or
// 4 bits libtiff does not read) through WIC, which is opened only to decode.
#pragma once

#include "platform/rasterlib/BmpImage.h"
#include "platform/rasterlib/ByteSource.h"
#include "platform/rasterlib/FormatTable.h"
#include "platform/rasterlib/GifImage.h"
#include "platform/rasterlib/JpegCodec.h"
#include "platform/rasterlib/Orientation.h"
#include "platform/rasterlib/PngImage.h"
#include "platform/rasterlib/RasterImage.h"
#include "platform/rasterlib/TiffImage.h"
#include "platform/rasterlib/WicImage.h"
#include "platform/rasterlib/GifLayout.h"

#include <memory>

namespace rasterlib {

class ImageSource {
public:
    // Reads the header only. False when the file is missing or not a readable image.
    bool OpenFile(const wchar_t* path);
    bool OpenFile(const char* path);
    // formatHint matters only for bytes of no known format: with "dib" or "bmp" they are
    // taken for a bitmap without its file header (see WrapDib).
    bool OpenMemory(const uint8_t* bytes, size_t count, const char* formatHint);

    // The bytes, for a caller that opens them itself and then reads the header.
    ByteSource& Bytes() { return m_bytes; }
    bool ReadHeader() { return Open(); }

    ImageFormat Format() const { return m_format; }
    // The upright size: the stored one, sides exchanged when the orientation turns
    // the picture by a quarter.
    uint32_t Width() const { return SwapsSides(m_orientation) ? m_height : m_width; }
    uint32_t Height() const { return SwapsSides(m_orientation) ? m_width : m_height; }
    // The recorded orientation (1 to 8), which reads undo.
    uint8_t Orientation() const { return m_orientation; }
    bool IsGrey();
    // False for a picture of more pixels than kMaxImagePixels, or a TIFF no
    // reading of which stays within the library's bound (TiffBudget.h): it is
    // measured, never decoded, at any size.
    bool IsWithinBounds();
    // True for a TIFF of a kind no reader here reads: one libtiff's readers
    // refuse (floating-point or complex samples, a layout or colour space
    // they have no conversion for, a coding libtiff is built without) that is
    // not of the layout and coding the system's decoder reads either. Asked
    // once a read failed: a file of that decoder's kind that it fails is
    // damaged.
    bool IsTiffOfUnreadKind();

    // The size a read for a targetWidth x targetHeight box gives (never larger than the
    // image; 0 x 0 is the full size).
    void ReducedSize(uint32_t targetWidth, uint32_t targetHeight, uint32_t& width, uint32_t& height) const;

    // Decodes upright into dst: at full size when dst has the image's size, otherwise
    // reduced to dst's size (which ReducedSize gave).
    bool Decode(const PixelTarget& dst);
    // What a full read would do, told without keeping the picture: every row
    // of a TIFF decoded by libtiff, others read at a small size.
    bool ReadsThrough(uint32_t side);

private:
    bool Open();
    // Decodes as stored, into a target of the stored proportions.
    bool DecodeStored(const PixelTarget& dst);
    bool DecodeJpegInto(const PixelTarget& dst);
    // The reduced read at one eighth of a stream JpegEighth takes, reduced further
    // to dst on the way; false when it is not taken or its data are damaged, and
    // libjpeg-turbo decodes it.
    bool DecodeJpegEighth(const uint8_t* data, uint32_t scaledWidth, uint32_t scaledHeight, const PixelTarget& dst);
    // The decoder of the image (an icon's chosen entry): libpng for PNG, the
    // system's for the rest, which must report the size the header gave.
    bool OpenDecoder();
    // The library's own reader of a GIF's first image, for reduced reads.
    bool OpenGif();
    // libtiff's reader of a TIFF, made once: not taken for the kinds the
    // system's decoder reads.
    TiffImage::Opening OpenTiff();

    ByteSource m_bytes;
    // An icon's chosen entry, or an indexed image rebuilt with a whole palette,
    // and what decodes it.
    std::vector<uint8_t> m_entry;
    ByteSource m_entryBytes;
    ImageFormat m_format = ImageFormat::Unknown;
    ImageFormat m_decodeFormat = ImageFormat::Unknown;
    uint32_t m_width = 0;   // as stored
    uint32_t m_height = 0;
    uint8_t m_orientation = kOrientationUpright;
    JpegInfo m_jpeg;
    // Where the decoder's frame lies on the picture: all of it, but for a GIF
    // whose first image covers part of its logical screen (the rest transparent).
    GifPlacement m_frame;
    std::unique_ptr<WicImage> m_wic;
    std::unique_ptr<PngImage> m_png;
    std::unique_ptr<BmpImage> m_bmp;
    std::unique_ptr<GifImage> m_gif;
    std::unique_ptr<TiffImage> m_tiff;
    bool m_tiffTried = false;
    TiffImage::Opening m_tiffOpening = TiffImage::Opening::NotTaken;
};

}  // namespace rasterlib
