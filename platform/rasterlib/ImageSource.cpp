#include "platform/rasterlib/ImageSource.h"

#include "platform/rasterlib/DibWrapper.h"
#include "platform/rasterlib/IconEntry.h"
#include "platform/rasterlib/ImageHeader.h"
#include "platform/rasterlib/JpegDecode.h"
#include "platform/rasterlib/JpegEighth.h"
#include "platform/rasterlib/PictureCheck.h"
#include "platform/rasterlib/RasterLibApi.h"
#include "platform/rasterlib/Resampler.h"
#include "platform/rasterlib/WholePalette.h"

#include <cstring>
#include <new>

namespace rasterlib {

namespace {

// A reader of the picture made and opened; kept only when it opens and reads
// the size the header gave.
template <class Reader, class Open>
bool MakeReader(std::unique_ptr<Reader>& reader, uint32_t width, uint32_t height, Open open)
{
    try {
        reader.reset(new Reader);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!open(*reader) || reader->Width() != width || reader->Height() != height) {
        reader.reset();
        return false;
    }
    return true;
}

}  // namespace

bool ImageSource::OpenFile(const wchar_t* path)
{
    return m_bytes.OpenFile(path) && Open();
}

bool ImageSource::OpenFile(const char* path)
{
    return m_bytes.OpenFile(path) && Open();
}

bool ImageSource::OpenMemory(const uint8_t* bytes, size_t count, const char* formatHint)
{
    if (!bytes || count == 0)
        return false;
    const ImageFormat sniffed = SniffFormat(bytes, count < kSniffBytes ? count : kSniffBytes);
    if (sniffed == ImageFormat::Unknown && FormatFromName(formatHint) == ImageFormat::Bmp) {
        std::vector<uint8_t> bmp;
        if (!WrapDib(bytes, count, bmp))
            return false;
        m_bytes.TakeMemory(std::move(bmp));
    } else {
        m_bytes.UseMemory(bytes, count);
    }
    return Open();
}

bool ImageSource::Open()
{
    uint8_t head[kSniffBytes] = {};
    const size_t count = m_bytes.Size() < kSniffBytes ? size_t(m_bytes.Size()) : kSniffBytes;
    if (count == 0 || !m_bytes.ReadAt(0, head, count))
        return false;
    m_format = m_decodeFormat = SniffFormat(head, count);
    ImageHeader header;
    switch (m_format) {
    case ImageFormat::Unknown:
        return false;
    case ImageFormat::Jpeg:
        if (!ReadJpegHeader(m_bytes, m_jpeg) || !IsPlausibleJpeg(m_jpeg, m_bytes.Size()))
            return false;
        header.width = m_jpeg.width;
        header.height = m_jpeg.height;
        m_orientation = ReadTiffOrientation(m_bytes, m_jpeg.exifOffset, m_jpeg.exifLength);
        break;
    case ImageFormat::Ico:
        if (!ExtractIconEntry(m_bytes, m_entry, m_decodeFormat, header))
            return false;
        m_entryBytes.UseMemory(m_entry.data(), m_entry.size());
        break;
    default:
        if (!ReadImageHeader(m_bytes, m_format, header))
            return false;
        if (m_format == ImageFormat::Tiff)
            m_orientation = ReadTiffOrientation(m_bytes, 0, m_bytes.Size());
        break;
    }
    if (!IsMeasurableSize(header.width, header.height))
        return false;
    m_width = header.width;
    m_height = header.height;
    return true;
}

bool ImageSource::OpenDecoder()
{
    if (m_wic || m_png || m_bmp)
        return true;
    // The decoders hold the whole image, whatever size is read.
    if (!IsAcceptableSize(m_width, m_height))
        return false;
    ByteSource& bytes = m_entry.empty() ? m_bytes : m_entryBytes;
    m_frame = GifPlacement{0, 0, m_width, m_height};
    if (m_decodeFormat == ImageFormat::Png) {
        const uint8_t* whole = bytes.Whole();
        return whole && MakeReader(m_png, m_width, m_height,
                                   [&](PngImage& png) { return png.Open(whole, size_t(bytes.Size())); });
    }
    // Bitmaps of a palette or of 24 bits are read here a row at a time.
    if (m_format == ImageFormat::Bmp) {
        const uint8_t* whole = m_bytes.Whole();
        if (!whole)
            return false;
        try {
            m_bmp.reset(new BmpImage);
        } catch (const std::bad_alloc&) {
            return false;
        }
        switch (m_bmp->Open(whole, size_t(m_bytes.Size()))) {
        case BmpImage::Opening::Ready:
            if (m_bmp->Width() == m_width && m_bmp->Height() == m_height)
                return true;
            m_bmp.reset();
            return false;
        case BmpImage::Opening::Damaged:
            m_bmp.reset();
            return false;
        case BmpImage::Opening::NotTaken:
            m_bmp.reset();
            break;
        }
    }
    // A palette made whole, so that no pixel comes from memory the decoder
    // never wrote; a GIF reaches the decoder as its first image alone, which
    // is then placed on the logical screen.
    if (m_format == ImageFormat::Gif) {
        const uint8_t* whole = m_bytes.Whole();
        if (!whole || !RebuildGifPalettes(whole, size_t(m_bytes.Size()), m_entry, m_frame))
            return false;
        if (!m_entry.empty())
            m_entryBytes.UseMemory(m_entry.data(), m_entry.size());
    }
    try {
        m_wic.reset(new WicImage);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!m_wic->Open(m_entry.empty() ? m_bytes : m_entryBytes, m_decodeFormat) ||
        m_wic->Width() != m_frame.width || m_wic->Height() != m_frame.height) {
        m_wic.reset();
        return false;
    }
    return true;
}

bool ImageSource::OpenGif()
{
    const uint8_t* whole = m_bytes.Whole();
    return m_gif || (whole && MakeReader(m_gif, m_width, m_height,
                                         [&](GifImage& gif) { return gif.Open(whole, size_t(m_bytes.Size())); }));
}

TiffImage::Opening ImageSource::OpenTiff()
{
    if (m_tiffTried)
        return m_tiffOpening;
    m_tiffTried = true;
    m_tiffOpening = TiffImage::Opening::Damaged;
    if (!IsAcceptableSize(m_width, m_height))
        return m_tiffOpening;
    // A file of up to kMostTiffViewBytes is seen whole, and libtiff reads
    // its strips where they lie; a larger one, or one that finds no room, is
    // read through the file, so that it takes none of the address space its
    // pixels need.
    if (m_bytes.Size() <= kMostTiffViewBytes)
        m_bytes.Whole();
    try {
        m_tiff.reset(new TiffImage);
    } catch (const std::bad_alloc&) {
        return m_tiffOpening;
    }
    m_tiffOpening = m_tiff->Open(m_bytes);
    // libtiff must see the size the header gave.
    if (m_tiffOpening == TiffImage::Opening::Ready && (m_tiff->Width() != m_width || m_tiff->Height() != m_height))
        m_tiffOpening = TiffImage::Opening::Damaged;
    if (m_tiffOpening != TiffImage::Opening::Ready)
        m_tiff.reset();
    return m_tiffOpening;
}

bool ImageSource::IsGrey()
{
    if (m_format == ImageFormat::Jpeg)
        return m_jpeg.components == 1;
    if (m_format == ImageFormat::Tiff && OpenTiff() != TiffImage::Opening::NotTaken)
        return m_tiff && m_tiff->IsGrey();
    if (!OpenDecoder())
        return false;
    return m_png ? m_png->IsGrey() : m_bmp ? m_bmp->IsGrey() : m_wic->IsGrey();
}

bool ImageSource::IsWithinBounds()
{
    return rasterlib::IsWithinPixelBound(m_width, m_height) &&
           (m_format != ImageFormat::Tiff || OpenTiff() != TiffImage::Opening::TooLarge);
}

bool ImageSource::IsTiffOfUnreadKind()
{
    if (m_format != ImageFormat::Tiff)
        return false;
    return OpenTiff() == TiffImage::Opening::NotRead;
}

void ImageSource::ReducedSize(uint32_t targetWidth, uint32_t targetHeight, uint32_t& width, uint32_t& height) const
{
    width = Width();
    height = Height();
    const bool inside = (targetWidth == 0 || targetWidth >= width) && (targetHeight == 0 || targetHeight >= height);
    if (inside)
        return;
    FitInside(Width(), Height(), targetWidth, targetHeight, width, height);
}

bool ImageSource::Decode(const PixelTarget& dst)
{
    if (!IsWithinBounds())
        return false;
    if (m_orientation == kOrientationUpright)
        return DecodeStored(dst);
    const bool swap = SwapsSides(m_orientation);
    // A JPEG read whole is turned a band of rows at a time as it is decoded.
    if (m_format == ImageFormat::Jpeg && (swap ? dst.height : dst.width) == m_width &&
        (swap ? dst.width : dst.height) == m_height) {
        const uint8_t* data = m_bytes.Whole();
        if (!data || !IsCompleteJpeg(data, size_t(m_bytes.Size())))
            return false;
        for (uint32_t y = 0; y < dst.height; ++y)
            std::memset(dst.Row(y), 0, size_t(dst.width) * 4);
        return DecodeJpeg(data, size_t(m_bytes.Size()), m_jpeg, dst, false, m_orientation);
    }
    RasterImage stored;
    return stored.Allocate(swap ? dst.height : dst.width, swap ? dst.width : dst.height) &&
           DecodeStored(stored.Target()) && OrientPixels(stored.View(), m_orientation, dst);
}

bool ImageSource::ReadsThrough(uint32_t side)
{
    if (m_format == ImageFormat::Tiff && OpenTiff() != TiffImage::Opening::NotTaken)
        return m_tiff && m_tiff->ReadThrough();
    uint32_t width = 0, height = 0;
    ReducedSize(side, side, width, height);
    RasterImage small;
    return small.Allocate(width, height) && Decode(small.Target());
}

bool ImageSource::DecodeStored(const PixelTarget& dst)
{
    if (dst.width == 0 || dst.height == 0 || dst.width > m_width || dst.height > m_height)
        return false;
    // No pixel a decoder leaves out keeps what the memory held before.
    for (uint32_t y = 0; y < dst.height; ++y)
        std::memset(dst.Row(y), 0, size_t(dst.width) * 4);
    if (m_format == ImageFormat::Jpeg)
        return DecodeJpegInto(dst);
    const bool full = dst.width == m_width && dst.height == m_height;
    // The system's decoder holds a whole GIF before it gives a row.
    if (m_format == ImageFormat::Gif && !full) {
        if (!OpenGif())
            return false;
        if (m_gif->ReadsReduced(dst.width, dst.height))
            return m_gif->CopyReduced(dst);
    }
    // libtiff reads every TIFF it has a reader for; only RGB of 1 or 4 bits
    // together in a coding that holds every sample goes to the system's
    // decoder (TiffImage.h).
    if (m_format == ImageFormat::Tiff) {
        switch (OpenTiff()) {
        case TiffImage::Opening::Ready:
            return full ? m_tiff->CopyTo(dst) : m_tiff->CopyReduced(dst);
        case TiffImage::Opening::NotRead:
        case TiffImage::Opening::Damaged:
        case TiffImage::Opening::TooLarge:
            return false;
        case TiffImage::Opening::NotTaken:
            break;
        }
    }
    if (!OpenDecoder())
        return false;
    if (m_png)
        return full ? m_png->CopyTo(dst) : m_png->CopyReduced(dst);
    if (m_bmp)
        return full ? m_bmp->CopyTo(dst) : m_bmp->CopyReduced(dst);
    const FramePlacement placement{m_width, m_height, m_frame.left, m_frame.top};
    if (!full)
        return m_wic->CopyReduced(dst, placement);
    // The frame into its place; the rest of the screen stays transparent.
    return m_wic->CopyTo(PixelTarget{dst.Row(m_frame.top) + size_t(m_frame.left) * 4, m_frame.width, m_frame.height,
                                     dst.stride});
}

bool ImageSource::DecodeJpegInto(const PixelTarget& dst)
{
    const uint8_t* data = m_bytes.Whole();
    if (!data)
        return false;
    const bool full = dst.width == m_width && dst.height == m_height;
    uint32_t scaledWidth = m_width, scaledHeight = m_height;
    if (!full)
        ChooseJpegScale(m_width, m_height, dst.width, dst.height, scaledWidth, scaledHeight);
    if (!full && DecodeJpegEighth(data, scaledWidth, scaledHeight, dst))
        return true;
    if (!IsCompleteJpeg(data, size_t(m_bytes.Size())))
        return false;
    if (scaledWidth == dst.width && scaledHeight == dst.height)
        return DecodeJpeg(data, size_t(m_bytes.Size()), m_jpeg, dst, !full);
    RasterImage scaled;
    return scaled.Allocate(scaledWidth, scaledHeight) &&
           DecodeJpeg(data, size_t(m_bytes.Size()), m_jpeg, scaled.Target(), true) &&
           Resample(scaled.View(), dst);
}

bool ImageSource::DecodeJpegEighth(const uint8_t* data, uint32_t scaledWidth, uint32_t scaledHeight,
                                   const PixelTarget& dst)
{
    // libjpeg-turbo decodes at one eighth for a target of that size whenever a
    // quarter would be wider.
    if (m_width < 16 || scaledWidth != (m_width + 7) / 8 || scaledHeight != (m_height + 7) / 8)
        return false;
    JpegEighth eighth;
    if (!eighth.Open(data, size_t(m_bytes.Size())) || eighth.Width() != scaledWidth ||
        eighth.Height() != scaledHeight)
        return false;
    if (dst.width == scaledWidth && dst.height == scaledHeight) {
        for (uint32_t y = 0; y < dst.height; ++y) {
            const uint8_t* row = eighth.Row(y);
            if (!row)
                return false;
            std::memcpy(dst.Row(y), row, size_t(dst.width) * 4);
        }
    } else if (!ResampleRows(scaledWidth, scaledHeight, AlphaUse::Opaque, eighth, dst)) {
        return false;
    }
    return eighth.Finish();
}

}  // namespace rasterlib
