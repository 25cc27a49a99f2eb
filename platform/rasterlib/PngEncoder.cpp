#include "platform/rasterlib/PngEncoder.h"

#include "platform/rasterlib/PixelOps.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace rasterlib {

namespace {

// The sink is handed blocks of this size: a file takes few large writes.
constexpr size_t kBlockBytes = size_t(256) << 10;
// Deflated bytes libpng gathers into one image data chunk.
constexpr size_t kChunkBytes = size_t(64) << 10;
// Each row filtered by its left neighbours and deflated at zlib's fastest.
// Measured on a scanned photograph (raster_bench --export-png): libpng's
// usual way, its choice among all five filters at zlib's usual level, took
// seven times as long for a file a fifth smaller; run-length coding is a
// fifth quicker and makes a fifth more bytes.
constexpr int kLevel = 1;

struct Writer {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const ByteSink* sink = nullptr;
    std::vector<uint8_t> block;

    ~Writer()
    {
        if (png)
            png_destroy_write_struct(&png, info ? &info : nullptr);
    }

    // The sink's answer; a throw from it counts as a failed write.
    bool Hand(const uint8_t* bytes, size_t count) const
    {
        try {
            return (*sink)(bytes, count);
        } catch (...) {
            return false;
        }
    }

    bool Flush()
    {
        const bool ok = block.empty() || Hand(block.data(), block.size());
        block.clear();
        return ok;
    }

    bool Put(const uint8_t* bytes, size_t count)
    {
        if (block.size() + count > block.capacity() && !Flush())
            return false;
        if (count > block.capacity())
            return Hand(bytes, count);
        block.insert(block.end(), bytes, bytes + count);
        return true;
    }
};

void Fail(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void Ignore(png_structp, png_const_charp) {}

void WriteBytes(png_structp png, png_bytep bytes, png_size_t count)
{
    Writer* writer = static_cast<Writer*>(png_get_io_ptr(png));
    if (!writer->Put(bytes, count))
        png_error(png, "Write Error");
}

void FlushNothing(png_structp) {}

// No C++ object lives in a function that libpng may jump out of.
bool WriteRows(Writer& w, const PixelView& view, bool alpha)
{
    w.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Ignore);
    if (!w.png)
        return false;
    w.info = png_create_info_struct(w.png);
    if (!w.info)
        return false;
    if (setjmp(png_jmpbuf(w.png)))
        return false;
    png_set_write_fn(w.png, &w, WriteBytes, FlushNothing);
    png_set_compression_buffer_size(w.png, kChunkBytes);
    png_set_compression_level(w.png, kLevel);
    png_set_filter(w.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(w.png, w.info, view.width, view.height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(w.png, w.info);
    // Rows are taken as they lie: B, G, R turned round, the fourth byte
    // dropped when it carries nothing.
    png_set_bgr(w.png);
    if (!alpha)
        png_set_filler(w.png, 0, PNG_FILLER_AFTER);
    for (uint32_t y = 0; y < view.height; ++y)
        png_write_row(w.png, const_cast<png_bytep>(view.Row(y)));
    png_write_end(w.png, w.info);
    return true;
}

}  // namespace

bool EncodePng(const PixelView& view, const ByteSink& sink)
{
    if (!IsValidView(view))
        return false;
    Writer writer;
    writer.sink = &sink;
    writer.block.reserve(kBlockBytes);
    return WriteRows(writer, view, ClassifyAlpha(view) == AlphaUse::Mixed) && writer.Flush();
}

}  // namespace rasterlib
