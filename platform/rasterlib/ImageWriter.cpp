#include "platform/rasterlib/ImageWriter.h"

#include "platform/rasterlib/FormatTable.h"
#include "platform/rasterlib/IcoEncoder.h"
#include "platform/rasterlib/JpegCodec.h"
#include "platform/rasterlib/PixelOps.h"
#include "platform/rasterlib/PngEncoder.h"
#include "platform/rasterlib/WicEncoder.h"

namespace rasterlib {

bool EncodeImage(const PixelView& view, const char* formatName, int quality, std::vector<uint8_t>& out)
{
    out.clear();
    if (!IsValidView(view))
        return false;
    switch (FormatFromName(formatName)) {
    case ImageFormat::Jpeg: {
        if (quality <= 0)
            quality = kDefaultJpegQuality;
        if (quality > 100)
            quality = 100;
        if (ClassifyAlpha(view) != AlphaUse::Mixed)
            return EncodeJpeg(view, quality, out);
        // JPEG holds no transparency: clear parts show the page's white.
        RasterImage blended;
        if (!blended.Allocate(view.width, view.height))
            return false;
        CopyPixels(view, blended.Target());
        CompositeOverWhite(blended.Target());
        return EncodeJpeg(blended.View(), quality, out);
    }
    case ImageFormat::Ico:
        return EncodeIco(view, out);
    case ImageFormat::Png:
        return EncodePng(view, [&out](const uint8_t* bytes, size_t count) {
            out.insert(out.end(), bytes, bytes + count);
            return true;
        });
    case ImageFormat::Gif:
    case ImageFormat::Bmp:
    case ImageFormat::Tiff:
        return WicEncode(view, FormatFromName(formatName), out);
    default:
        return false;
    }
}

bool EncodeImage(const PixelView& view, const char* formatName, int quality, const ByteSink& sink)
{
    if (FormatFromName(formatName) == ImageFormat::Png)
        return EncodePng(view, sink);
    std::vector<uint8_t> bytes;
    return EncodeImage(view, formatName, quality, bytes) && sink(bytes.data(), bytes.size());
}

}  // namespace rasterlib
