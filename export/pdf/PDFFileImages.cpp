// PDFFile: the image XObjects. A JPEG file that the layout pass found sound
// and fit goes into the file as it is, from a view of the file in one write;
// every other picture is re-encoded as JPEG by the raster library, or written
// as Flate-compressed RGB when that fails or for a small BMP file. One
// picture's bytes at a time.
#include "export/pdf/PDFFile.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "export/ExportFileView.h"
#include "export/ExportJpeg.h"
#include "framework/KWProgressInterface.h"
#include "framework/KWRasterLib.h"
#include "framework/RasterExportRequest.h"

namespace {

const uint64_t kSmallBitmapLimit = 65536;  // bytes of 32-bit pixels

// Turns the 4-byte pixels (blue, green, red, unused) of a decoded image into
// packed red, green, blue followed by CR LF, in place when the image's own
// block has room (every image of 2 pixels or more), else into spare; returns
// the bytes and sets count.
const uint8_t* PackRgb(KWRasterImage& image, std::vector<uint8_t>& spare, size_t& count)
{
    const uint64_t needed = uint64_t(image.width) * image.height * 3 + 2;
    uint8_t* pixels = image.Pixels();
    if (needed > uint64_t(image.height) * image.stride) {
        spare.resize(static_cast<size_t>(needed));
        pixels = spare.data();
    }
    const uint8_t* source = image.Pixels();
    size_t to = 0;
    for (uint32_t row = 0; row < image.height; ++row) {
        const uint8_t* from = source + size_t(row) * image.stride;
        for (uint32_t x = 0; x < image.width; ++x, from += 4) {
            const uint8_t blue = from[0], green = from[1], red = from[2];
            pixels[to++] = red;
            pixels[to++] = green;
            pixels[to++] = blue;
        }
    }
    pixels[to++] = '\r';
    pixels[to++] = '\n';
    count = to;
    return pixels;
}

// A white pixel, for a picture that yields no image at all.
KWRasterImage* WhitePixel()
{
    KWRasterImage* image = KWAllocRasterImage(1, 1, 8);
    if (image)
        std::memset(image->Pixels(), 0xFF, 8);
    return image;
}

}  // namespace

void PDFFile::CheckPassThrough(CKWRasterLib& raster, uint32_t pictureId, PDFImageRecord& record)
{
    CKWRasterLib::ImageInfo source;
    if (!raster.GetImageInfo(pictureId, source) || source.format != "jpg")
        return;
    const CExportFileView file(raster.GetImagePath(pictureId));
    ExportJpegInfo info;
    if (!file.IsOpen() || !IsSoundJpeg(file.Data(), file.Size(), info) || !info.CanPassThrough())
        return;
    record.passThrough = true;
    record.width = info.width;
    record.height = info.height;
    record.components = info.components;
    record.orientation = source.orientation;
}

void PDFFile::WriteImages(const std::vector<PDFImageRecord>& images, CKWRasterLib& raster,
                          CKWProgressInterface* progress)
{
    const uint32_t first = GetObjectNumber(kFirstImageEntry);
    for (size_t k = 0; k < images.size(); ++k) {
        WriteImage(images[k], first + 2 * static_cast<uint32_t>(k), raster);
        if (progress)
            progress->Advance();
    }
}

void PDFFile::WriteImage(const PDFImageRecord& record, uint32_t number, CKWRasterLib& raster)
{
    const uint32_t id = record.key >> 3;
    const int32_t rotation = PDFNormalizeRotation(record.rotation);
    PDFOutput& out = *m_output;

    std::unique_ptr<CExportFileView> file;          // a JPEG file as it is
    std::unique_ptr<RasterExportRequest> encoded;  // or JPEG bytes from the library
    KWRasterImagePtr bitmap;                       // or decoded pixels
    ExportJpegInfo info;

    if (record.passThrough) {
        file.reset(new CExportFileView(raster.GetImagePath(id)));
        info.width = record.width;
        info.height = record.height;
        info.components = record.components;
        if (!file->IsOpen())
            file.reset();  // gone since the layout pass
    } else if (rotation == 0 && !record.grayscale) {
        CKWRasterLib::ImageInfo source;
        if (raster.GetImageInfo(id, source) && source.format == "bmp" &&
            uint64_t(source.size.cx) * uint64_t(source.size.cy) * 4 < kSmallBitmapLimit)
            bitmap.reset(raster.LoadImage(id));
    }
    if (!file && !bitmap) {
        encoded.reset(new RasterExportRequest(L"JPG", 0, 0, rotation, record.grayscale != 0));
        if (!raster.EncodeImageForExport(id, *encoded) || !encoded->bytes ||
            !ReadJpegFrame(encoded->bytes, encoded->byteCount, info) || !info.CanPassThrough()) {
            encoded.reset();
            bitmap.reset(raster.LoadImage(id));
            if (!bitmap || !KWIsRasterBlockValid(bitmap.get(), KWRasterImageBytes(*bitmap)) ||
                bitmap->width == 0 || bitmap->height == 0)
                bitmap.reset(WhitePixel());
        }
    }
    if (!file && !encoded && !bitmap) {
        SetFailed();  // not even a white pixel could be had
        return;
    }

    const bool dct = !bitmap;
    const uint32_t width = dct ? info.width : bitmap->width;
    const uint32_t height = dct ? info.height : bitmap->height;
    const PDFFilterKind filter = dct ? kPDFFilterDct : kPDFFilterFlate;

    BeginObject(number);
    out.WriteLine("<<").WriteLine("/Type /XObject").WriteLine("/Subtype /Image");
    out.Write("/Width ").WriteUInt(width).WriteLineEnd();
    out.Write("/Height ").WriteUInt(height).WriteLineEnd();
    out.Write("/BitsPerComponent ").WriteInt(8).WriteLineEnd();
    out.WriteLine(dct && info.components == 1 ? "/ColorSpace /DeviceGray" : "/ColorSpace /DeviceRGB");
    out.Write("/Length ");
    WriteReference(number + 1);
    out.WriteLineEnd().Write("/Filter ").WriteLine(PDFFilterName(filter));
    out.WriteLine(">>").WriteLine("stream");

    uint64_t count = 0;
    if (file) {
        count = out.WriteEncodedBlock(file->Data(), file->Size(), kPDFFilterDct);
        count += out.WriteEncodedBlock("\r\n", 2, kPDFFilterDct);
    } else if (encoded) {
        count = out.WriteEncodedBlock(encoded->bytes, encoded->byteCount, kPDFFilterDct);
        count += out.WriteEncodedBlock("\r\n", 2, kPDFFilterDct);
    } else {
        std::vector<uint8_t> spare;
        size_t packed = 0;
        const uint8_t* rgb = PackRgb(*bitmap, spare, packed);
        count = out.WriteEncodedBlock(rgb, packed, kPDFFilterFlate);
    }
    EndStreamObject(number, count);
}
