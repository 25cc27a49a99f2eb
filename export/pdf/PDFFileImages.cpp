// PDFFile: the image XObjects. A JPEG file that is sound and fit goes into
// the file as it is: mapped where it lies on a local disk (read whole
// elsewhere) and checked while the picture before it is written, then written
// in one piece from the bytes checked;
// every other picture is re-encoded as JPEG by the raster library, or written
// as Flate-compressed RGB when that fails or for a small BMP file. One
// picture's bytes at a time.
#include "export/pdf/PDFFile.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "export/ExportJpeg.h"
#include "framework/KWAlphaComposite.h"
#include "framework/KWMappedFile.h"
#include "framework/KWProgressInterface.h"
#include "framework/KWRasterLib.h"
#include "framework/RasterExportRequest.h"

namespace {

const uint64_t kSmallBitmapLimit = 65536;  // bytes of 32-bit pixels
const uint32_t kPaperWhite = 0xFFFFFF;      // COLORREF
// Larger JPEG files are re-encoded: our decoder reads no larger ones either.
const uint64_t kMaxPassThroughBytes = uint64_t(256) << 20;

// The turn, clockwise, that stands a picture shown by an orientation's
// placement upright again: the placement undoes it. 0 for the mirrored
// orientations, which a turn cannot undo.
int32_t TurnAgainst(uint8_t orientation)
{
    return orientation == 3 ? 180 : orientation == 6 ? 270 : orientation == 8 ? 90 : 0;
}

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

// The JPEG file of a picture that is to go in as it is, held whole and checked.
struct PDFPassThroughFile {
    std::unique_ptr<CKWMappedFile> bytes;
    ExportJpegInfo info;
    bool sound = false;

    void Read(const CString& path) noexcept
    {
        try {
            // The file held before is let go first: three at the most at once.
            bytes.reset();
            bytes.reset(new CKWMappedFile(path, kMaxPassThroughBytes));
            sound = bytes->Bytes() && IsSoundJpeg(bytes->Bytes(), bytes->Size(), info) && info.CanPassThrough();
        } catch (...) {
            sound = false;
        }
    }
};

namespace {

// Opens and checks the files of the pictures that are to go in as they are,
// in their order, on a second thread, while the picture before is written:
// reading and checking then take no time of their own. Three files held at
// the most (the one being written and two ahead), whatever the number of
// pictures.
class CPassThroughReader {
public:
    CPassThroughReader(const std::vector<PDFImageRecord>& images, CKWRasterLib& raster)
    {
        for (const PDFImageRecord& record : images) {
            if (record.passThrough)
                m_paths.push_back(raster.GetImagePath(record.key >> 3));
        }
        try {
            if (!m_paths.empty())
                m_thread = std::thread([this] { ReadAll(); });
        } catch (...) {
            // Without a second thread each file is read when its turn comes.
        }
    }
    ~CPassThroughReader()
    {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_stop = true;
        }
        m_changed.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }
    CPassThroughReader(const CPassThroughReader&) = delete;
    CPassThroughReader& operator=(const CPassThroughReader&) = delete;

    // The next picture's file, read and checked; the one taken before is done with.
    PDFPassThroughFile& Take()
    {
        const size_t next = m_taken++;
        PDFPassThroughFile& file = m_files[next % kBuffers];
        if (!m_thread.joinable()) {
            file.Read(next < m_paths.size() ? m_paths[next] : CString());
            return file;
        }
        std::unique_lock<std::mutex> lock(m_lock);
        m_inUse = next;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_read > next || m_readerFailed; });
        if (m_read <= next) {
            lock.unlock();
            file.Read(m_paths[next]);
        }
        return file;
    }

private:
    static constexpr size_t kBuffers = 3;

    void ReadAll() noexcept
    {
        try {
            for (size_t next = 0; next < m_paths.size(); ++next) {
                {
                    // The buffer of the file read kBuffers before must be written.
                    std::unique_lock<std::mutex> lock(m_lock);
                    m_changed.wait(lock, [&] { return m_stop || next < m_inUse + kBuffers; });
                    if (m_stop)
                        return;
                }
                m_files[next % kBuffers].Read(m_paths[next]);
                {
                    std::lock_guard<std::mutex> lock(m_lock);
                    m_read = next + 1;
                }
                m_changed.notify_all();
            }
        } catch (...) {
            // The files not read yet are read when their turn comes.
            m_readerFailed = true;
            m_changed.notify_all();
        }
    }

    std::vector<CString> m_paths;
    PDFPassThroughFile m_files[kBuffers];
    size_t m_taken = 0;  // main thread only

    std::mutex m_lock;
    std::condition_variable m_changed;
    size_t m_inUse = 0;  // the file being written; the ones before it are done
    size_t m_read = 0;   // files read so far
    bool m_stop = false;
    std::atomic<bool> m_readerFailed{false};
    std::thread m_thread;
};

}  // namespace

void PDFFile::CheckPassThrough(CKWRasterLib& raster, uint32_t pictureId, PDFImageRecord& record)
{
    CKWRasterLib::ImageInfo source;
    // A file changed since its check is checked again; a damaged file goes in
    // as what decodes of it, at the size that has.
    raster.ForgetIfChanged(pictureId);
    if (!raster.GetImageInfo(pictureId, source) || source.format != "jpg" ||
        raster.GetPictureState(pictureId, false) != KWPictureState::Sound)
        return;
    record.passThrough = true;
    record.orientation = source.orientation;
    if (record.orientation == 1 || TurnAgainst(record.orientation) != 0)
        return;  // the file is checked when it is written
    // A mirrored picture that fails the check is drawn upright, as decoded.
    const CKWMappedFile bytes(raster.GetImagePath(pictureId), kMaxPassThroughBytes);
    ExportJpegInfo info;
    if (!bytes.Bytes() || !IsSoundJpeg(bytes.Bytes(), bytes.Size(), info) || !info.CanPassThrough()) {
        record.passThrough = false;
        record.orientation = 1;
    }
}

void PDFFile::WriteImages(const std::vector<PDFImageRecord>& images, CKWRasterLib& raster,
                          CKWProgressInterface* progress)
{
    const uint32_t first = GetObjectNumber(kFirstImageEntry);
    CPassThroughReader reader(images, raster);
    for (size_t k = 0; k < images.size(); ++k) {
        WriteImage(images[k], first + 2 * static_cast<uint32_t>(k), raster,
                   images[k].passThrough ? &reader.Take() : nullptr);
        if (progress)
            progress->Advance();
    }
}

void PDFFile::WriteImage(const PDFImageRecord& record, uint32_t number, CKWRasterLib& raster,
                         PDFPassThroughFile* passThrough)
{
    const uint32_t id = record.key >> 3;
    const int32_t rotation = PDFNormalizeRotation(record.rotation);
    PDFOutput& out = *m_output;

    const bool file = passThrough && passThrough->sound;  // the JPEG file as it is
    std::unique_ptr<RasterExportRequest> encoded;         // or JPEG bytes from the library
    KWRasterImagePtr bitmap;                              // or decoded pixels
    ExportJpegInfo info;

    if (file) {
        info = passThrough->info;
    } else if (!record.passThrough && rotation == 0 && !record.grayscale) {
        CKWRasterLib::ImageInfo source;
        if (raster.GetImageInfo(id, source) && source.format == "bmp" &&
            uint64_t(source.size.cx) * uint64_t(source.size.cy) * 4 < kSmallBitmapLimit)
            bitmap.reset(raster.LoadImage(id));
    }
    if (!file && !bitmap) {
        // What the decoder gives for a file that cannot go in as it is, turned
        // against the placement that expects the file's own orientation.
        const int32_t turn = record.passThrough ? TurnAgainst(record.orientation) : rotation;
        encoded.reset(new RasterExportRequest(L"JPG", 0, 0, turn, record.grayscale != 0));
        if (!raster.EncodeImageForExport(id, *encoded) || !encoded->bytes ||
            !ReadJpegFrame(encoded->bytes, encoded->byteCount, info) || !info.CanPassThrough()) {
            encoded.reset();
            bitmap.reset(raster.LoadImage(id));
            if (bitmap && turn != 0)
                bitmap.reset(raster.RasterRotate(bitmap.get(), turn));
            // Grey as the re-encoded picture would have been.
            if (bitmap && record.grayscale)
                bitmap.reset(CKWRasterLib::RasterToGray(bitmap.get()));
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
        count = out.WriteEncodedBlock(passThrough->bytes->Bytes(), passThrough->bytes->Size(), kPDFFilterDct);
        count += out.WriteEncodedBlock("\r\n", 2, kPDFFilterDct);
    } else if (encoded) {
        count = out.WriteEncodedBlock(encoded->bytes, encoded->byteCount, kPDFFilterDct);
        count += out.WriteEncodedBlock("\r\n", 2, kPDFFilterDct);
    } else {
        // Clear parts show the white paper, as in a re-encoded picture,
        // never the colours the picture keeps under them.
        KWBlendOver(*bitmap, kPaperWhite);
        std::vector<uint8_t> spare;
        size_t packed = 0;
        const uint8_t* rgb = PackRgb(*bitmap, spare, packed);
        count = out.WriteEncodedBlock(rgb, packed, kPDFFilterFlate);
    }
    EndStreamObject(number, count);
}
