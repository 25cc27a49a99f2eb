#include "platform/rasterlib/WicImage.h"

#include "platform/rasterlib/PixelOps.h"

namespace rasterlib {

namespace {

bool IsGreyFormat(const WICPixelFormatGUID& f)
{
    return IsEqualGUID(f, GUID_WICPixelFormatBlackWhite) || IsEqualGUID(f, GUID_WICPixelFormat2bppGray) ||
           IsEqualGUID(f, GUID_WICPixelFormat4bppGray) || IsEqualGUID(f, GUID_WICPixelFormat8bppGray) ||
           IsEqualGUID(f, GUID_WICPixelFormat16bppGray) || IsEqualGUID(f, GUID_WICPixelFormat32bppGrayFloat);
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
    HRESULT hr = E_FAIL;
    if (source.IsFile()) {
        hr = m_stream->InitializeFromFilename(source.WidePath().c_str(), GENERIC_READ);
    } else {
        const uint8_t* bytes = source.Whole();
        if (!bytes || source.Size() > kMaxEncodedBytes)
            return false;
        hr = m_stream->InitializeFromMemory(const_cast<BYTE*>(bytes), DWORD(source.Size()));
    }
    if (FAILED(hr) || FAILED(m_factory->CreateDecoder(*container, nullptr, m_decoder.Out())) ||
        FAILED(m_decoder->Initialize(m_stream.Get(), WICDecodeMetadataCacheOnDemand)))
        return false;
    UINT frames = 0;
    if (FAILED(m_decoder->GetFrameCount(&frames)) || frames == 0)
        return false;
    UINT chosen = 0;
    if (format == ImageFormat::Ico) {
        uint64_t bestArea = 0;
        for (UINT i = 0; i < frames && i < 256; ++i) {
            ComRef<IWICBitmapFrameDecode> frame;
            UINT w = 0, h = 0;
            if (FAILED(m_decoder->GetFrame(i, frame.Out())) || FAILED(frame->GetSize(&w, &h)))
                continue;
            if (uint64_t(w) * h > bestArea) {
                bestArea = uint64_t(w) * h;
                chosen = i;
            }
        }
    }
    UINT w = 0, h = 0;
    if (FAILED(m_decoder->GetFrame(chosen, m_frame.Out())) || FAILED(m_frame->GetSize(&w, &h)) ||
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

bool WicImage::CopyTo(const PixelTarget& dst)
{
    if (!m_frame.Get() || dst.width != m_width || dst.height != m_height)
        return false;
    ComRef<IWICBitmapSource> converted;
    if (FAILED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, m_frame.Get(), converted.Out())))
        return false;
    const uint64_t bytes = uint64_t(dst.stride) * dst.height;
    if (bytes > 0xFFFFFFFFu || FAILED(converted->CopyPixels(nullptr, dst.stride, UINT(bytes), dst.pixels)))
        return false;
    // The fourth byte of 32-bit bitmaps is often unused and left 0.
    if (m_format == ImageFormat::Bmp && ClassifyAlpha(dst.View()) == AlphaUse::Padding)
        SetAlpha(dst, 255);
    return true;
}

}  // namespace rasterlib
