// PDFFile: the image XObjects. A JPEG file that needs no change is copied
// into the file as it is, in blocks, never whole; every other picture is
// re-encoded as JPEG by the raster library, or written as Flate-compressed RGB
// when that fails or for a small BMP file. One picture's bytes at a time.
#include "export/pdf/PDFFile.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "export/pdf/PDFJpegInfo.h"
#include "framework/KWProgressInterface.h"
#include "framework/KWRasterLib.h"
#include "framework/RasterExportRequest.h"

namespace {

const size_t kCopyBlock = 256 * 1024;
const uint64_t kSmallBitmapLimit = 65536;  // bytes of 32-bit pixels

enum class SourceType { None, Jpeg, Bmp };

bool EndsWithNoCase(const CString& text, const wchar_t* tail)
{
    const int n = static_cast<int>(std::wcslen(tail));
    if (text.GetLength() < n)
        return false;
    const wchar_t* p = static_cast<const wchar_t*>(text) + (text.GetLength() - n);
    for (int i = 0; i < n; ++i) {
        if (std::towupper(p[i]) != std::towupper(tail[i]))
            return false;
    }
    return true;
}

SourceType TypeOfPath(const CString& path)
{
    if (EndsWithNoCase(path, L".JPG") || EndsWithNoCase(path, L".JPEG"))
        return SourceType::Jpeg;
    if (EndsWithNoCase(path, L".BMP"))
        return SourceType::Bmp;
    return SourceType::None;
}

// A picture file read by its UTF-16 path, through a small window.
class SourceFile {
public:
    explicit SourceFile(const wchar_t* path)
    {
        m_file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        LARGE_INTEGER size;
        if (m_file != INVALID_HANDLE_VALUE && ::GetFileSizeEx(m_file, &size))
            m_size = static_cast<uint64_t>(size.QuadPart);
    }
    ~SourceFile()
    {
        if (m_file != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_file);
    }
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }
    uint64_t Size() const { return m_size; }

    bool ReadAt(uint64_t offset, void* buffer, size_t count)
    {
        if (offset > m_size || count > m_size - offset)
            return false;
        uint8_t* out = static_cast<uint8_t*>(buffer);
        while (count > 0) {
            if (offset < m_windowStart || offset >= m_windowStart + m_window.size()) {
                if (!Fill(offset))
                    return false;
            }
            const size_t at = static_cast<size_t>(offset - m_windowStart);
            const size_t take = count < m_window.size() - at ? count : m_window.size() - at;
            std::memcpy(out, m_window.data() + at, take);
            out += take;
            offset += take;
            count -= take;
        }
        return true;
    }

    // Copies the whole file to the output; the bytes copied.
    uint64_t CopyTo(PDFOutput& out)
    {
        std::vector<uint8_t> block(kCopyBlock);
        LARGE_INTEGER start;
        start.QuadPart = 0;
        if (!::SetFilePointerEx(m_file, start, nullptr, FILE_BEGIN)) {
            out.SetFailed();
            return 0;
        }
        uint64_t copied = 0;
        for (;;) {
            DWORD got = 0;
            if (!::ReadFile(m_file, block.data(), static_cast<DWORD>(block.size()), &got, nullptr)) {
                out.SetFailed();
                break;
            }
            if (got == 0)
                break;
            out.WriteBytes(block.data(), got);
            copied += got;
        }
        // A file that changed since it was measured would not match its header.
        if (copied != m_size)
            out.SetFailed();
        return copied;
    }

private:
    bool Fill(uint64_t offset)
    {
        const size_t windowSize = 16 * 1024;
        m_window.resize(windowSize);
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(offset);
        DWORD got = 0;
        if (!::SetFilePointerEx(m_file, position, nullptr, FILE_BEGIN) ||
            !::ReadFile(m_file, m_window.data(), static_cast<DWORD>(windowSize), &got, nullptr) || got == 0) {
            m_window.clear();
            return false;
        }
        m_window.resize(got);
        m_windowStart = offset;
        return true;
    }

    HANDLE m_file = INVALID_HANDLE_VALUE;
    uint64_t m_size = 0;
    std::vector<uint8_t> m_window;
    uint64_t m_windowStart = 0;
};

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

    std::unique_ptr<SourceFile> file;       // a JPEG file copied as it is
    std::unique_ptr<RasterExportRequest> encoded;  // or JPEG bytes from the library
    KWRasterImagePtr bitmap;                // or decoded pixels
    PDFJpegInfo info;

    if (rotation == 0 && !record.grayscale) {
        const CString path = raster.GetImagePath(id);
        const SourceType type = TypeOfPath(path);
        if (type == SourceType::Jpeg) {
            std::unique_ptr<SourceFile> candidate(new SourceFile(path));
            if (candidate->IsOpen() && candidate->Size() > 0 &&
                PDFReadJpegInfo([&](uint64_t o, void* b, size_t n) { return candidate->ReadAt(o, b, n); }, info) &&
                info.CanPassThrough())
                file = std::move(candidate);
        } else if (type == SourceType::Bmp) {
            SIZE size = {0, 0};
            raster.GetImageSize(id, size);
            if (size.cx > 0 && size.cy > 0 && uint64_t(size.cx) * uint64_t(size.cy) * 4 < kSmallBitmapLimit)
                bitmap.reset(raster.LoadImage(id));
        }
    }
    if (!file && !bitmap) {
        encoded.reset(new RasterExportRequest(L"JPG", 0, 0, rotation, record.grayscale != 0));
        if (!raster.EncodeImageForExport(id, *encoded) || !encoded->bytes ||
            !PDFReadJpegInfo(encoded->bytes, encoded->byteCount, info) || !info.CanPassThrough()) {
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
        count = file->CopyTo(out);
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
