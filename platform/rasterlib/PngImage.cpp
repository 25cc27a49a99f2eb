#include "platform/rasterlib/PngImage.h"

#include "platform/rasterlib/PixelOps.h"
#include "platform/rasterlib/RasterLibApi.h"
#include "platform/rasterlib/Resampler.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace rasterlib {

namespace {

// Bytes a chunk libpng keeps may take: far more than any real text or table.
constexpr png_alloc_size_t kMostChunkBytes = png_alloc_size_t(8) << 20;

// The ancillary chunks libpng would otherwise read (some inflate theirs): they
// are checked by their CRC and passed over.
const png_byte kPassedOver[] = "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0sCAL\0sPLT\0"
                               "sRGB\0tEXt\0tIME\0zTXt";

// Image data read from the start of the last row on: that row's data (at most
// its stored bytes and a little of deflate's framing), libpng's reading ahead
// and the stream's end. More is data left over, which libpng would inflate to
// its end (gigabytes from a small file) before it refuses them.
constexpr size_t kDataReadAtOnce = 2048;
constexpr size_t kMostDataAfterRows = kDataReadAtOnce + 512;

struct Reader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const uint8_t* bytes = nullptr;
    size_t count = 0;
    size_t at = 0;
    uint64_t rowsLeft = 0;  // calls of png_read_row still to come
    bool rowsDone = false;  // the last row is being read
    size_t afterRows = 0;
    size_t mostAfterRows = kMostDataAfterRows;
    // Where the image data chunks' data lie in the bytes.
    std::vector<std::pair<size_t, size_t>> imageData;

    Reader(const uint8_t* data, size_t size) : bytes(data), count(size)
    {
        for (size_t chunk = 8; data && chunk + 12 <= size;) {
            const size_t length = size_t(data[chunk]) << 24 | size_t(data[chunk + 1]) << 16 |
                                  size_t(data[chunk + 2]) << 8 | data[chunk + 3];
            if (length > size - chunk - 12)
                break;
            if (std::memcmp(data + chunk + 4, "IDAT", 4) == 0)
                imageData.emplace_back(chunk + 8, chunk + 8 + length);
            chunk += 12 + length;
        }
    }
    ~Reader()
    {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
};

void Fail(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

// Ancillary chunks out of place, duplicated or invalid (a transparent colour
// beside an alpha channel) are passed over, as readers do; any trouble with
// the image data (left over, or a wrong Adler-32) ends the read.
void Warn(png_structp png, png_const_charp message)
{
    // No C++ object here: the jump passes over its destructor.
    if (message && (std::strstr(message, "IDAT") || std::strstr(message, "image data") ||
                    std::strstr(message, "compressed data")))
        png_longjmp(png, 1);
}

void ReadBytes(png_structp png, png_bytep out, png_size_t length)
{
    Reader* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (length > reader->count - reader->at)
        png_error(png, "Read Error");
    if (reader->rowsDone) {
        for (const auto& range : reader->imageData) {
            const size_t from = std::max(range.first, reader->at), to = std::min(range.second, reader->at + length);
            reader->afterRows += to > from ? to - from : 0;
        }
        if (reader->afterRows > reader->mostAfterRows)
            png_error(png, "Too much image data");
    }
    std::memcpy(out, reader->bytes + reader->at, length);
    reader->at += length;
}

// What the header and the palette say, before the transforms change them.
struct Stored {
    bool alpha = false;
    bool grey = false;
};

// The structures made and the chunks before the image data read, with the
// transforms to B, G, R, A set. byPass: the rows of an interlaced file come
// as each pass stores them (its pixels every so many columns), not combined
// into rows of the picture. No C++ object lives in a function that libpng
// may jump out of.
bool Begin(Reader& r, int& passes, Stored* stored = nullptr, bool byPass = false)
{
    r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Warn);
    if (!r.png)
        return false;
    r.info = png_create_info_struct(r.png);
    if (!r.info)
        return false;
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    png_set_read_fn(r.png, &r, ReadBytes);
    png_set_compression_buffer_size(r.png, kDataReadAtOnce);
    // A changed chunk is refused; the other troubles libpng calls benign
    // come to Warn, which refuses those of the image data.
    png_set_benign_errors(r.png, 1);
    png_set_crc_action(r.png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
    png_set_user_limits(r.png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_malloc_max(r.png, kMostChunkBytes);
    png_set_keep_unknown_chunks(r.png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(r.png, PNG_HANDLE_CHUNK_NEVER, kPassedOver, int(sizeof kPassedOver / 5));
    png_read_info(r.png, r.info);
    if (stored) {
        const png_byte type = png_get_color_type(r.png, r.info);
        stored->alpha = (type & PNG_COLOR_MASK_ALPHA) || png_get_valid(r.png, r.info, PNG_INFO_tRNS);
        stored->grey = !(type & PNG_COLOR_MASK_COLOR);
        png_colorp palette = nullptr;
        int colours = 0;
        if (type == PNG_COLOR_TYPE_PALETTE && png_get_PLTE(r.png, r.info, &palette, &colours) && colours > 0) {
            stored->grey = true;
            for (int i = 0; i < colours; ++i)
                stored->grey = stored->grey && palette[i].red == palette[i].green && palette[i].green == palette[i].blue;
        }
    }
    png_set_expand(r.png);
    png_set_strip_16(r.png);
    png_set_gray_to_rgb(r.png);
    png_set_bgr(r.png);
    const png_byte type = png_get_color_type(r.png, r.info);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !png_get_valid(r.png, r.info, PNG_INFO_tRNS))
        png_set_filler(r.png, 0xFF, PNG_FILLER_AFTER);
    passes = byPass ? 1 : png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);
    const png_uint_32 width = png_get_image_width(r.png, r.info), height = png_get_image_height(r.png, r.info);
    r.rowsLeft = uint64_t(height) * uint64_t(passes);
    if (byPass && png_get_interlace_type(r.png, r.info) != PNG_INTERLACE_NONE) {
        r.rowsLeft = 0;
        for (int pass = 0; pass < PNG_INTERLACE_ADAM7_PASSES; ++pass)
            r.rowsLeft += PNG_PASS_COLS(width, pass) ? PNG_PASS_ROWS(height, pass) : 0;
    }
    r.mostAfterRows = kMostDataAfterRows + size_t(width) * 8 + size_t(width) / 8;
    return png_get_rowbytes(r.png, r.info) == size_t(png_get_image_width(r.png, r.info)) * 4;
}

// After the last row libpng reads the image data to their end at once.
bool ReadRow(Reader& r, uint8_t* row)
{
    if (r.rowsLeft == 0)
        return false;
    if (--r.rowsLeft == 0)
        r.rowsDone = true;
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    png_read_row(r.png, row, nullptr);
    return true;
}

// The image data to their end (nothing left over, the Adler-32 right) and the
// chunks after them to the end chunk.
bool End(Reader& r)
{
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    png_read_end(r.png, nullptr);
    return true;
}

// Every row as stored, handed to visit(y, first, step, count): the row of the
// picture it belongs to and the columns its pixels stand in. An interlaced
// file's rows come pass after pass (Begin byPass). Then the rest of the file.
template <class Visit>
bool ReadStoredRows(Reader& r, uint32_t width, uint32_t height, bool interlaced, uint8_t* row, Visit visit)
{
    const int passes = interlaced ? PNG_INTERLACE_ADAM7_PASSES : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const uint32_t columns = interlaced ? PNG_PASS_COLS(width, pass) : width;
        const uint32_t rows = columns == 0 ? 0 : interlaced ? PNG_PASS_ROWS(height, pass) : height;
        for (uint32_t j = 0; j < rows; ++j) {
            if (!ReadRow(r, row))
                return false;
            if (interlaced)
                visit(PNG_ROW_FROM_PASS_ROW(j, pass), PNG_PASS_START_COL(pass), PNG_PASS_COL_OFFSET(pass), columns);
            else
                visit(j, 0, 1, columns);
        }
    }
    return End(r);
}

// The rows of a file that is not interlaced, one at a time in order.
class SequentialRows : public RowSource {
public:
    SequentialRows(Reader& reader, uint32_t width, uint32_t height)
        : m_reader(reader), m_height(height), m_row(size_t(width) * 4, 0)
    {
    }

    const uint8_t* Row(uint32_t y) override
    {
        if (y >= m_height || (m_next > 0 && y < m_next - 1))
            return nullptr;
        while (m_next <= y) {
            if (!ReadRow(m_reader, m_row.data()))
                return nullptr;
            ++m_next;
        }
        return m_row.data();
    }

private:
    Reader& m_reader;
    uint32_t m_height;
    uint32_t m_next = 0;
    std::vector<uint8_t> m_row;
};

}  // namespace

bool PngImage::Open(const uint8_t* bytes, size_t count)
{
    m_bytes = bytes;
    m_count = count;
    Reader r(bytes, count);
    int passes = 0;
    Stored stored;
    if (!bytes || !Begin(r, passes, &stored))
        return false;
    m_width = png_get_image_width(r.png, r.info);
    m_height = png_get_image_height(r.png, r.info);
    m_interlaced = passes > 1;
    m_alpha = stored.alpha;
    m_grey = stored.grey;
    return IsMeasurableSize(m_width, m_height);
}

bool PngImage::CopyTo(const PixelTarget& dst)
{
    if (dst.width != m_width || dst.height != m_height)
        return false;
    Reader r(m_bytes, m_count);
    int passes = 0;
    if (!Begin(r, passes))
        return false;
    // Each pass of an interlaced file adds its pixels to the rows.
    for (int pass = 0; pass < passes; ++pass) {
        for (uint32_t y = 0; y < dst.height; ++y) {
            if (!ReadRow(r, dst.Row(y)))
                return false;
        }
    }
    return End(r);
}

bool PngImage::CopyReduced(const PixelTarget& dst)
{
    // An interlaced file's passes each reach over the whole picture: their
    // pixels go into the sums of every output row, unless those would hold
    // more than the picture itself.
    const bool sums = m_interlaced && uint64_t(dst.width) * dst.height * ResampleSums::kSumBytes <=
                                          uint64_t(m_width) * m_height * 4;
    if (m_interlaced && !sums) {
        RasterImage whole;
        return whole.Allocate(m_width, m_height) && CopyTo(whole.Target()) && Resample(whole.View(), dst);
    }
    std::vector<uint8_t> row;
    try {
        row.resize(size_t(m_width) * 4);
    } catch (const std::bad_alloc&) {
        return false;
    }
    AlphaUse alpha = AlphaUse::Opaque;
    if (m_alpha) {
        // A first pass learns how the image uses its alpha, which decides how
        // the second one resamples it.
        Reader probe(m_bytes, m_count);
        int passes = 0;
        bool seen = false;
        const auto classify = [&](uint32_t, uint32_t, uint32_t, uint32_t count) {
            const AlphaUse use = ClassifyAlpha(PixelView{row.data(), count, 1, count * 4});
            alpha = !seen || use == alpha ? use : AlphaUse::Mixed;
            seen = true;
        };
        if (!Begin(probe, passes, nullptr, true) ||
            !ReadStoredRows(probe, m_width, m_height, m_interlaced, row.data(), classify))
            return false;
    }
    Reader r(m_bytes, m_count);
    int passes = 0;
    if (!Begin(r, passes, nullptr, true))
        return false;
    if (sums) {
        ResampleSums resampler;
        if (!resampler.Begin(m_width, m_height, alpha, dst))
            return false;
        const auto add = [&](uint32_t y, uint32_t first, uint32_t step, uint32_t count) {
            resampler.Add(y, row.data(), first, step, count);
        };
        if (!ReadStoredRows(r, m_width, m_height, true, row.data(), add))
            return false;
        resampler.Finish();
        return true;
    }
    SequentialRows rows(r, m_width, m_height);
    if (!ResampleRows(m_width, m_height, alpha, rows, dst))
        return false;
    // Rows the reduction did not need, then the rest of the file.
    return rows.Row(m_height - 1) && End(r);
}

bool PngImage::ReadThrough()
{
    Reader r(m_bytes, m_count);
    int passes = 0;
    if (!Begin(r, passes))
        return false;
    std::vector<uint8_t> row;
    try {
        row.resize(size_t(m_width) * 4);
    } catch (const std::bad_alloc&) {
        return false;
    }
    // An interlaced file's passes are read into the same row: only whether
    // they decode counts.
    for (int pass = 0; pass < passes; ++pass) {
        for (uint32_t y = 0; y < m_height; ++y) {
            if (!ReadRow(r, row.data()))
                return false;
        }
    }
    return End(r);
}

}  // namespace rasterlib
