#include "platform/rasterlib/WicEncoder.h"

#include "platform/rasterlib/ComSession.h"
#include "platform/rasterlib/PixelOps.h"
#include "platform/rasterlib/WicImage.h"

#include <new>
#include <unordered_map>

namespace rasterlib {

namespace {

// Encoded bytes out of an HGLOBAL stream.
bool StreamBytes(IStream* stream, std::vector<uint8_t>& out)
{
    STATSTG stat = {};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart == 0 ||
        stat.cbSize.QuadPart > 0x7FFFFFFF)
        return false;
    HGLOBAL global = nullptr;
    if (FAILED(::GetHGlobalFromStream(stream, &global)))
        return false;
    const void* bytes = ::GlobalLock(global);
    if (!bytes)
        return false;
    bool ok = true;
    try {
        out.assign(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + stat.cbSize.QuadPart);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    ::GlobalUnlock(global);
    return ok;
}

// Rows of 3-byte pixels, each row padded to 4 bytes.
std::vector<uint8_t> PackBgr(const PixelView& view, uint32_t& stride)
{
    stride = (view.width * 3 + 3) & ~3u;
    std::vector<uint8_t> packed(size_t(stride) * view.height);
    for (uint32_t y = 0; y < view.height; ++y) {
        const uint8_t* in = view.Row(y);
        uint8_t* out = &packed[size_t(y) * stride];
        for (uint32_t x = 0; x < view.width; ++x) {
            out[x * 3 + 0] = in[x * 4 + 0];
            out[x * 3 + 1] = in[x * 4 + 1];
            out[x * 3 + 2] = in[x * 4 + 2];
        }
    }
    return packed;
}

// Exact palette and indices when the image has at most 256 colours.
bool IndexExactly(const PixelView& view, std::vector<WICColor>& palette, std::vector<uint8_t>& indices)
{
    std::unordered_map<uint32_t, uint8_t> seen;
    indices.resize(size_t(view.width) * view.height);
    for (uint32_t y = 0; y < view.height; ++y) {
        const uint8_t* in = view.Row(y);
        for (uint32_t x = 0; x < view.width; ++x) {
            const uint32_t colour = 0xFF000000u | (uint32_t(in[x * 4 + 2]) << 16) | (uint32_t(in[x * 4 + 1]) << 8) |
                                    in[x * 4 + 0];
            auto it = seen.find(colour);
            if (it == seen.end()) {
                if (palette.size() == 256)
                    return false;
                it = seen.emplace(colour, uint8_t(palette.size())).first;
                palette.push_back(colour);
            }
            indices[size_t(y) * view.width + x] = it->second;
        }
    }
    return true;
}

bool WriteGifFrame(IWICImagingFactory* factory, IWICBitmapFrameEncode* frame, const PixelView& view)
{
    std::vector<WICColor> colours;
    std::vector<uint8_t> indices;
    ComRef<IWICPalette> palette;
    if (FAILED(factory->CreatePalette(palette.Out())))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat8bppIndexed;
    if (IndexExactly(view, colours, indices)) {
        if (FAILED(palette->InitializeCustom(colours.data(), UINT(colours.size()))) ||
            FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat8bppIndexed) ||
            FAILED(frame->SetPalette(palette.Get())))
            return false;
        return SUCCEEDED(frame->WritePixels(view.height, view.width, UINT(indices.size()), indices.data()));
    }
    // More colours: WIC chooses a palette and diffuses the error.
    ComRef<IWICBitmap> bitmap;
    ComRef<IWICFormatConverter> converter;
    if (FAILED(factory->CreateBitmapFromMemory(view.width, view.height, GUID_WICPixelFormat32bppBGR, view.stride,
                                               view.stride * view.height, const_cast<BYTE*>(view.pixels),
                                               bitmap.Out())) ||
        FAILED(palette->InitializeFromBitmap(bitmap.Get(), 256, FALSE)) ||
        FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(bitmap.Get(), GUID_WICPixelFormat8bppIndexed, WICBitmapDitherTypeErrorDiffusion,
                                     palette.Get(), 0.0, WICBitmapPaletteTypeCustom)) ||
        FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat8bppIndexed) ||
        FAILED(frame->SetPalette(palette.Get())))
        return false;
    return SUCCEEDED(frame->WriteSource(converter.Get(), nullptr));
}

bool WriteColourFrame(IWICBitmapFrameEncode* frame, const PixelView& view, bool withAlpha)
{
    WICPixelFormatGUID format = withAlpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
    const GUID wanted = format;
    if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, wanted))
        return false;
    if (withAlpha)
        return SUCCEEDED(frame->WritePixels(view.height, view.stride, view.stride * view.height,
                                            const_cast<BYTE*>(view.pixels)));
    uint32_t stride = 0;
    std::vector<uint8_t> packed = PackBgr(view, stride);
    return SUCCEEDED(frame->WritePixels(view.height, stride, UINT(packed.size()), packed.data()));
}

}  // namespace

bool WicEncode(const PixelView& source, ImageFormat format, std::vector<uint8_t>& out)
{
    const GUID* container = WicContainerOf(format);
    if (!container || format == ImageFormat::Ico || format == ImageFormat::Png)
        return false;
    try {
        PixelView view = source;
        const bool transparent = ClassifyAlpha(view) == AlphaUse::Mixed;
        RasterImage blended;
        if (transparent && (format == ImageFormat::Bmp || format == ImageFormat::Gif)) {
            if (!blended.Allocate(view.width, view.height))
                return false;
            CopyPixels(view, blended.Target());
            CompositeOverWhite(blended.Target());
            view = blended.View();
        }
        ComSession com;
        ComRef<IWICImagingFactory> factory;
        ComRef<IStream> stream;
        ComRef<IWICBitmapEncoder> encoder;
        ComRef<IWICBitmapFrameEncode> frame;
        ComRef<IPropertyBag2> options;
        if (!com.IsReady() || !CreateWicFactory(factory) ||
            FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.Out())) ||
            FAILED(factory->CreateEncoder(*container, nullptr, encoder.Out())) ||
            FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
            FAILED(encoder->CreateNewFrame(frame.Out(), options.Out())) || FAILED(frame->Initialize(options.Get())) ||
            FAILED(frame->SetSize(view.width, view.height)))
            return false;
        const bool written = format == ImageFormat::Gif
                                 ? WriteGifFrame(factory.Get(), frame.Get(), view)
                                 : WriteColourFrame(frame.Get(), view, transparent && format == ImageFormat::Tiff);
        if (!written || FAILED(frame->Commit()) || FAILED(encoder->Commit()))
            return false;
        return StreamBytes(stream.Get(), out);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace rasterlib
