// PNG, GIF, BMP, TIFF and ICO images read through the Windows Imaging Component.
#pragma once

#include "platform/rasterlib/ByteSource.h"
#include "platform/rasterlib/ComSession.h"
#include "platform/rasterlib/FormatTable.h"
#include "platform/rasterlib/PlacedRows.h"
#include "platform/rasterlib/RasterImage.h"

#include <wincodec.h>

namespace rasterlib {

// The first frame of an image (an icon comes as the one entry the library chose).
class WicImage {
public:
    // Opens the decoder and reads the frame's size.
    bool Open(ByteSource& source, ImageFormat format);
    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    bool IsGrey() const { return m_grey; }
    // dst must have the frame's size.
    bool CopyTo(const PixelTarget& dst);
    // The canvas, with the frame in its place, reduced to dst's size, from
    // bands of rows: the full image never stands in the library's memory.
    bool CopyReduced(const PixelTarget& dst, const FramePlacement& placement);

private:
    bool Convert(ComRef<IWICBitmapSource>& converted);

    ComSession m_com;  // first member: released last
    ComRef<IWICImagingFactory> m_factory;
    ComRef<IWICStream> m_stream;
    ComRef<IWICBitmapDecoder> m_decoder;
    ComRef<IWICBitmapFrameDecode> m_frame;
    ImageFormat m_format = ImageFormat::Unknown;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    bool m_grey = false;
};

// The imaging component's container format, null for JPEG and unknown formats.
const GUID* WicContainerOf(ImageFormat format);

// The imaging factory, created for the calling thread's apartment.
bool CreateWicFactory(ComRef<IWICImagingFactory>& factory);

}  // namespace rasterlib
