#include "platform/rasterlib/WicImage.h"

#include "platform/rasterlib/PixelOps.h"
#include "platform/rasterlib/PlacedRows.h"
#include "platform/rasterlib/Resampler.h"

#include <algorithm>
#include <new>
#include <vector>

namespace rasterlib {

namespace {

bool IsGreyFormat(const WICPixelFormatGUID& f)
{
    return IsEqualGUID(f, GUID_WICPixelFormatBlackWhite) || IsEqualGUID(f, GUID_WICPixelFormat2bppGray) ||
           IsEqualGUID(f, GUID_WICPixelFormat4bppGray) || IsEqualGUID(f, GUID_WICPixelFormat8bppGray) ||
           IsEqualGUID(f, GUID_WICPixelFormat16bppGray) || IsEqualGUID(f, GUID_WICPixelFormat32bppGrayFloat);
}

// Rows of about a megabyte of pixels: what a read asks of the decoder at once.
uint32_t BandRowsOf(uint32_t width)
{
    return std::max<uint32_t>(1, (1u << 20) / (width * 4));
}

}  // namespace

const GUID* WicContainerOf(ImageFormat format)
{
    switch (format) {
    case ImageFormat::Png:
        return &GUID_ContainerFormatPng;
    case ImageFormat::Gif:
        return &GUID_ContainerFormatGif;
    case ImageFormat::Bmp:
        return &GUID_ContainerFormatBmp;
    case ImageFormat::Tiff:
        return &GUID_ContainerFormatTiff;
    case ImageFormat::Ico:
        return &GUID_ContainerFormatIco;
    default:
        return nullptr;
    }
}

bool CreateWicFactory(ComRef<IWICImagingFactory>& factory)
{
    return SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out())));
}

bool WicImage::Open(ByteSource& source, ImageFormat format)
{
    const GUID* container = WicContainerOf(format);
    if (!container || !m_com.IsReady() || !CreateWicFactory(m_factory))
        return false;
    if (FAILED(m_factory->CreateStream(m_stream.Out())))
        return false;
    // Always from memory: a decoder reading a file by its name sizes what it
    // allocates by what the tags claim, not by what the file holds.
    const uint8_t* bytes = source.Whole();
    if (!bytes || source.Size() > MAXDWORD)
        return false;
    const HRESULT hr = m_stream->InitializeFromMemory(const_cast<BYTE*>(bytes), DWORD(source.Size()));
    if (FAILED(hr) || FAILED(m_factory->CreateDecoder(*container, nullptr, m_decoder.Out())) ||
        FAILED(m_decoder->Initialize(m_stream.Get(), WICDecodeMetadataCacheOnDemand)))
        return false;
    UINT frames = 0;
    if (FAILED(m_decoder->GetFrameCount(&frames)) || frames == 0)
        return false;
    UINT w = 0, h = 0;
    if (FAILED(m_decoder->GetFrame(0, m_frame.Out())) || FAILED(m_frame->GetSize(&w, &h)) ||
        !IsMeasurableSize(w, h))
        return false;
    m_width = w;
    m_height = h;
    m_format = format;
    WICPixelFormatGUID pixelFormat = {};
    if (SUCCEEDED(m_frame->GetPixelFormat(&pixelFormat))) {
        m_grey = IsGreyFormat(pixelFormat);
        if (!m_grey && IsEqualGUID(pixelFormat, GUID_WICPixelFormat8bppIndexed)) {
            ComRef<IWICPalette> palette;
            BOOL grey = FALSE;
            if (SUCCEEDED(m_factory->CreatePalette(palette.Out())) &&
                SUCCEEDED(m_frame->CopyPalette(palette.Get())) && SUCCEEDED(palette->IsGrayscale(&grey)))
                m_grey = grey != FALSE;
        }
    }
    return true;
}

bool WicImage::Convert(ComRef<IWICBitmapSource>& converted)
{
    return m_frame.Get() &&
           SUCCEEDED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, m_frame.Get(), converted.Out()));
}

bool WicImage::CopyTo(const PixelTarget& dst)
{
    ComRef<IWICBitmapSource> converted;
    if (dst.width != m_width || dst.height != m_height || !Convert(converted))
        return false;
    // In bands, as the reduced read: converted in one call, the frame stood
    // whole in the decoder's own format beside the pixels (3 bytes a pixel
    // more for RGB TIFFs under Wine).
    const uint32_t bandRows = BandRowsOf(m_width);
    for (uint32_t y = 0; y < m_height; y += bandRows) {
        const uint32_t rows = std::min(bandRows, m_height - y);
        const WICRect rect = {0, INT(y), INT(m_width), INT(rows)};
        // The rows of a frame placed inside a larger picture end before the stride does.
        const uint64_t bytes = uint64_t(dst.stride) * (rows - 1) + uint64_t(m_width) * 4;
        if (bytes > 0xFFFFFFFFu || FAILED(converted->CopyPixels(&rect, dst.stride, UINT(bytes), dst.Row(y))))
            return false;
    }
    // The fourth byte of 32-bit bitmaps is often unused and left 0.
    if (m_format == ImageFormat::Bmp && ClassifyAlpha(dst.View()) == AlphaUse::Padding)
        SetAlpha(dst, 255);
    return true;
}

namespace {

// The converted frame in bands of rows of about a megabyte; a band the decoder
// cannot deliver ends the read.
class BandRows : public RowSource {
public:
    BandRows(IWICBitmapSource* source, uint32_t width, uint32_t height, bool opaque)
        : m_source(source), m_width(width), m_height(height), m_opaque(opaque),
          m_bandRows(BandRowsOf(width))
    {
    }

    const uint8_t* Row(uint32_t y) override
    {
        if (y >= m_height)
            return nullptr;
        if (y < m_first || y >= m_first + m_count) {
            m_first = y;
            m_count = std::min(m_bandRows, m_height - y);
            const WICRect rect = {0, INT(y), INT(m_width), INT(m_count)};
            try {
                m_band.assign(size_t(m_width) * 4 * m_count, 0);
            } catch (const std::bad_alloc&) {
                return nullptr;
            }
            if (FAILED(m_source->CopyPixels(&rect, m_width * 4, UINT(m_band.size()), m_band.data())))
                return nullptr;
            if (m_opaque)
                SetAlpha(PixelTarget{m_band.data(), m_width, m_count, m_width * 4}, 255);
            alpha = Combine(alpha, ClassifyAlpha(PixelView{m_band.data(), m_width, m_count, m_width * 4}));
        }
        return m_band.data() + size_t(y - m_first) * m_width * 4;
    }

    // The alpha use of the rows read so far.
    AlphaUse alpha = AlphaUse::Opaque;
    bool seen = false;

private:
    AlphaUse Combine(AlphaUse a, AlphaUse b)
    {
        if (!seen) {
            seen = true;
            return b;
        }
        return a == b ? a : AlphaUse::Mixed;
    }

    IWICBitmapSource* m_source;
    uint32_t m_width;
    uint32_t m_height;
    bool m_opaque;
    uint32_t m_bandRows;
    uint32_t m_first = 0;
    uint32_t m_count = 0;
    std::vector<uint8_t> m_band;
};

}  // namespace

bool WicImage::CopyReduced(const PixelTarget& dst, const FramePlacement& placement)
{
    ComRef<IWICBitmapSource> converted;
    if (!Convert(converted) || uint64_t(placement.left) + m_width > placement.canvasWidth ||
        uint64_t(placement.top) + m_height > placement.canvasHeight)
        return false;
    // A first pass learns how the image uses its alpha, which decides how the
    // second one resamples it.
    BandRows probe(converted.Get(), m_width, m_height, false);
    for (uint32_t y = 0; y < m_height; ++y) {
        if (!probe.Row(y))
            return false;
    }
    // An unused fourth byte of a bitmap makes it opaque, as a full read does.
    const bool padding = m_format == ImageFormat::Bmp && probe.alpha == AlphaUse::Padding;
    BandRows rows(converted.Get(), m_width, m_height, padding);
    AlphaUse alpha = padding ? AlphaUse::Opaque : probe.alpha;
    if (m_width == placement.canvasWidth && m_height == placement.canvasHeight)
        return ResampleRows(m_width, m_height, alpha, rows, dst);
    // Transparent pixels around the frame: whatever the frame holds, the
    // canvas mixes them.
    PlacedRows canvas(rows, m_width, m_height, placement);
    return canvas.Prepare() &&
           ResampleRows(placement.canvasWidth, placement.canvasHeight, AlphaUse::Mixed, canvas, dst);
}

}  // namespace rasterlib
