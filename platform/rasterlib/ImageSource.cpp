#include "platform/rasterlib/ImageSource.h"

#include "platform/rasterlib/DibWrapper.h"
#include "platform/rasterlib/Resampler.h"

#include <new>

namespace rasterlib {

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
    if (!bytes || count == 0 || count > kMaxEncodedBytes)
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
    m_format = SniffFormat(head, count);
    if (m_format == ImageFormat::Unknown)
        return false;
    if (m_format == ImageFormat::Jpeg) {
        if (!ReadJpegHeader(m_bytes, m_jpeg) || !IsMeasurableSize(m_jpeg.width, m_jpeg.height))
            return false;
        m_width = m_jpeg.width;
        m_height = m_jpeg.height;
        m_orientation = ReadTiffOrientation(m_bytes, m_jpeg.exifOffset, m_jpeg.exifLength);
        return true;
    }
    try {
        m_wic.reset(new WicImage);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!m_wic->Open(m_bytes, m_format)) {
        m_wic.reset();
        return false;
    }
    m_width = m_wic->Width();
    m_height = m_wic->Height();
    if (m_format == ImageFormat::Tiff)
        m_orientation = ReadTiffOrientation(m_bytes, 0, m_bytes.Size());
    return true;
}

bool ImageSource::IsGrey() const
{
    if (m_format == ImageFormat::Jpeg)
        return m_jpeg.components == 1;
    return m_wic && m_wic->IsGrey();
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
    if (m_orientation == kOrientationUpright)
        return DecodeStored(dst);
    const bool swap = SwapsSides(m_orientation);
    RasterImage stored;
    return stored.Allocate(swap ? dst.height : dst.width, swap ? dst.width : dst.height) &&
           DecodeStored(stored.Target()) && OrientPixels(stored.View(), m_orientation, dst);
}

bool ImageSource::DecodeStored(const PixelTarget& dst)
{
    if (dst.width == 0 || dst.height == 0 || dst.width > m_width || dst.height > m_height)
        return false;
    if (m_format == ImageFormat::Jpeg)
        return DecodeJpegInto(dst);
    if (!m_wic)
        return false;
    if (dst.width == m_width && dst.height == m_height)
        return m_wic->CopyTo(dst);
    RasterImage full;
    return full.Allocate(m_width, m_height) && m_wic->CopyTo(full.Target()) && Resample(full.View(), dst);
}

bool ImageSource::DecodeJpegInto(const PixelTarget& dst)
{
    const uint8_t* data = m_bytes.Whole();
    if (!data || !IsCompleteJpeg(data, size_t(m_bytes.Size())))
        return false;
    const bool full = dst.width == m_width && dst.height == m_height;
    uint32_t scaledWidth = m_width, scaledHeight = m_height;
    if (!full)
        ChooseJpegScale(m_width, m_height, dst.width, dst.height, scaledWidth, scaledHeight);
    if (scaledWidth == dst.width && scaledHeight == dst.height)
        return DecodeJpeg(data, size_t(m_bytes.Size()), m_jpeg, dst, !full);
    RasterImage scaled;
    return scaled.Allocate(scaledWidth, scaledHeight) &&
           DecodeJpeg(data, size_t(m_bytes.Size()), m_jpeg, scaled.Target(), true) &&
           Resample(scaled.View(), dst);
}

}  // namespace rasterlib
