#include "platform/rasterlib/JpegReencode.h"

// libjpeg's header wants the C runtime's FILE declared before it.
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

namespace rasterlib {

namespace {

constexpr size_t kSinkBlock = 256 * 1024;
// iMCU rows decoded before they are turned: 64 rows of a 4:2:0 picture.
constexpr uint32_t kReadsPerBand = 4;

// Where a picture's sample (x, y) goes when it is turned by an orientation:
// x' = ax x + bx y and y' = ay x + by y, moved back into the picture. The
// rows are the orientations 1 to 8 (see Orientation.h).
struct TurnMatrix {
    int ax, bx, ay, by;
};
const TurnMatrix kTurns[9] = {
    {1, 0, 0, 1},  {1, 0, 0, 1},  {-1, 0, 0, 1}, {-1, 0, 0, -1}, {1, 0, 0, -1},
    {0, 1, 1, 0},  {0, -1, 1, 0}, {0, -1, -1, 0}, {0, 1, -1, 0},
};

bool SameTurn(const TurnMatrix& a, const TurnMatrix& b)
{
    return a.ax == b.ax && a.bx == b.bx && a.ay == b.ay && a.by == b.by;
}

// libjpeg's errors and warnings both end the pass: a stream it warns about is
// left to the pixel path, which shows what decodes of it.
struct StopAll {
    jpeg_error_mgr manager;  // first: libjpeg holds a pointer to it
    std::jmp_buf jump;
};

void Stop(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<StopAll*>(cinfo->err)->jump, 1);
}

void StopOnWarning(j_common_ptr cinfo, int level)
{
    if (level < 0)
        Stop(cinfo);
}

void PrintNothing(j_common_ptr) {}

void SetUpErrors(StopAll& errors)
{
    jpeg_std_error(&errors.manager);
    errors.manager.error_exit = Stop;
    errors.manager.emit_message = StopOnWarning;
    errors.manager.output_message = PrintNothing;
}

// One component's samples, as libjpeg reads and writes them raw.
struct Plane {
    uint32_t width = 0;   // samples that show
    uint32_t height = 0;
    uint32_t stride = 0;  // padded to whole MCUs
    uint32_t rows = 0;
    int h = 1, v = 1;     // sampling factors
    std::vector<uint8_t> samples;

    uint8_t* Row(uint32_t y) { return samples.data() + size_t(y) * stride; }

    void Allocate()
    {
        const uint32_t across = uint32_t(h) * DCTSIZE, down = uint32_t(v) * DCTSIZE;
        stride = (width + across - 1) / across * across;
        rows = (height + down - 1) / down * down;
        samples.resize(size_t(stride) * rows);
    }

    // The padding repeats the last sample of each row and the last row, as
    // libjpeg's own downsampling pads an edge block.
    void PadEdges()
    {
        for (uint32_t y = 0; y < height; ++y) {
            uint8_t* row = Row(y);
            std::memset(row + width, row[width - 1], stride - width);
        }
        for (uint32_t y = height; y < rows; ++y)
            std::memcpy(Row(y), Row(height - 1), stride);
    }
};

// Everything of one re-encoding that must outlive a jump back from libjpeg.
struct Work {
    const uint8_t* data = nullptr;
    size_t count = 0;
    JpegReencoding settings;
    uint8_t turn = 1;
    const ByteSink* sink = nullptr;

    StopAll readErrors, writeErrors;
    jpeg_decompress_struct reader;
    jpeg_compress_struct writer;
    jpeg_destination_mgr destination;
    bool writerMade = false;

    int components = 0;  // written
    Plane planes[3];     // turned, upright
    std::vector<size_t> bandOffsets;
    std::vector<uint8_t> band;
    std::vector<JSAMPROW> rowPointers;
    std::vector<uint8_t> out;
    bool sinkFailed = false;
};

Work& WorkOf(j_compress_ptr cinfo)
{
    return *static_cast<Work*>(cinfo->client_data);
}

// The sink is called from inside libjpeg: nothing may be thrown through it.
void Deliver(j_compress_ptr cinfo, size_t count)
{
    Work& work = WorkOf(cinfo);
    bool taken = false;
    try {
        taken = count == 0 || (*work.sink)(work.out.data(), count);
    } catch (...) {
        taken = false;
    }
    if (!taken) {
        work.sinkFailed = true;
        ERREXIT(cinfo, JERR_FILE_WRITE);
    }
    cinfo->dest->next_output_byte = work.out.data();
    cinfo->dest->free_in_buffer = work.out.size();
}

void StartDestination(j_compress_ptr cinfo)
{
    Work& work = WorkOf(cinfo);
    cinfo->dest->next_output_byte = work.out.data();
    cinfo->dest->free_in_buffer = work.out.size();
}

boolean EmptyDestination(j_compress_ptr cinfo)
{
    Deliver(cinfo, WorkOf(cinfo).out.size());
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    Deliver(cinfo, WorkOf(cinfo).out.size() - cinfo->dest->free_in_buffer);
}

// Four rows of four samples (one 32-bit word each, the first sample in the
// lowest byte) turned into four columns: word k then holds column k, its
// lowest byte from the first row.
void TransposeQuad(uint32_t q[4])
{
    uint32_t t = ((q[0] >> 16) ^ q[2]) & 0x0000FFFFu;
    q[0] ^= t << 16;
    q[2] ^= t;
    t = ((q[1] >> 16) ^ q[3]) & 0x0000FFFFu;
    q[1] ^= t << 16;
    q[3] ^= t;
    t = ((q[0] >> 8) ^ q[1]) & 0x00FF00FFu;
    q[0] ^= t << 8;
    q[1] ^= t;
    t = ((q[2] >> 8) ^ q[3]) & 0x00FF00FFu;
    q[2] ^= t << 8;
    q[3] ^= t;
}

// The rows of one component's band, turned into its upright plane. first is
// the band's first row in the stored component, which is width x height.
void TurnRows(const uint8_t* band, uint32_t bandStride, uint32_t first, uint32_t count, uint32_t width,
              uint32_t height, uint8_t turn, Plane& plane)
{
    const TurnMatrix& m = kTurns[turn];
    const int cx = (m.ax < 0 ? int(width) - 1 : 0) + (m.bx < 0 ? int(height) - 1 : 0);
    const int cy = (m.ay < 0 ? int(width) - 1 : 0) + (m.by < 0 ? int(height) - 1 : 0);
    if (m.bx == 0) {
        // Rows stay rows: each goes in one piece, reversed when mirrored.
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* from = band + size_t(i) * bandStride;
            uint8_t* to = plane.Row(uint32_t(m.by * int(first + i) + cy));
            if (m.ax > 0) {
                std::memcpy(to, from, width);
            } else {
                for (uint32_t x = 0; x < width; ++x)
                    to[width - 1 - x] = from[x];
            }
        }
        return;
    }
    // Columns become rows: the band's samples of one column go side by side,
    // four rows by four columns at a time, turned in four 32-bit words.
    const int step = m.bx;
    const int start = m.bx * int(first) + cx;
    const uint32_t wholeRows = count / 4 * 4, wholeColumns = width / 4 * 4;
    for (uint32_t i = 0; i < wholeRows; i += 4) {
        const uint8_t* from = band + size_t(i) * bandStride;
        // Where the four samples of a column go: reversed when the rows are mirrored.
        const int at = step > 0 ? start + int(i) : start - int(i) - 3;
        for (uint32_t x = 0; x < wholeColumns; x += 4) {
            uint32_t q[4];
            for (int k = 0; k < 4; ++k)
                std::memcpy(&q[k], from + size_t(k) * bandStride + x, 4);
            TransposeQuad(q);
            for (int k = 0; k < 4; ++k) {
                const uint32_t column = step > 0 ? q[k] : __builtin_bswap32(q[k]);
                std::memcpy(plane.Row(uint32_t(m.ay * int(x + uint32_t(k)) + cy)) + at, &column, 4);
            }
        }
    }
    // The rows and columns left over, one sample at a time.
    for (uint32_t x = 0; x < width; ++x) {
        uint8_t* to = plane.Row(uint32_t(m.ay * int(x) + cy)) + start;
        const uint8_t* from = band + x;
        for (uint32_t i = x < wholeColumns ? wholeRows : 0; i < count; ++i)
            to[int(i) * step] = from[size_t(i) * bandStride];
    }
}

// A side that ends in part of a colour sample (33 pixels across at 4:1:1 hold
// 9 samples, the last for one pixel) and is mirrored would move every colour
// sample off the pixels it belongs to, up to three pixels at 4:1:1 and one at
// 4:2:0: such a stream is left to the pixel path, which turns whole pixels.
bool EndsInPartOfASample(const jpeg_decompress_struct& in, const TurnMatrix& m)
{
    const bool acrossMirrored = m.ax < 0 || m.ay < 0, downMirrored = m.bx < 0 || m.by < 0;
    for (int c = 0; c < in.num_components; ++c) {
        const jpeg_component_info& comp = in.comp_info[c];
        if (acrossMirrored && in.image_width * uint32_t(comp.h_samp_factor) % uint32_t(in.max_h_samp_factor) != 0)
            return true;
        if (downMirrored && in.image_height * uint32_t(comp.v_samp_factor) % uint32_t(in.max_v_samp_factor) != 0)
            return true;
    }
    return false;
}

bool Decode(Work* work)
{
    jpeg_decompress_struct& in = work->reader;
    if (setjmp(work->readErrors.jump))
        return false;
    jpeg_mem_src(&in, work->data, static_cast<unsigned long>(work->count));
    jpeg_read_header(&in, TRUE);
    const bool grey = in.jpeg_color_space == JCS_GRAYSCALE && in.num_components == 1;
    const bool colour = in.jpeg_color_space == JCS_YCbCr && in.num_components == 3;
    if ((!grey && !colour) || EndsInPartOfASample(in, kTurns[work->turn]))
        return false;
    in.raw_data_out = TRUE;
    in.out_color_space = in.jpeg_color_space;
    in.dct_method = work->settings.fastDct ? JDCT_IFAST : JDCT_ISLOW;
    jpeg_start_decompress(&in);

    const bool swap = kTurns[work->turn].bx != 0;
    work->components = in.num_components;
    for (int c = 0; c < work->components; ++c) {
        const jpeg_component_info& comp = in.comp_info[c];
        Plane& plane = work->planes[c];
        const uint32_t width = comp.downsampled_width, height = comp.downsampled_height;
        plane.width = swap ? height : width;
        plane.height = swap ? width : height;
        plane.h = swap ? comp.v_samp_factor : comp.h_samp_factor;
        plane.v = swap ? comp.h_samp_factor : comp.v_samp_factor;
        plane.Allocate();
    }

    // A band of a few iMCU rows of every component at a time: a turn then
    // writes whole cache lines of its plane, not a few bytes of each.
    const uint32_t perRead = uint32_t(in.max_v_samp_factor) * DCTSIZE;
    size_t bandBytes = 0, pointers = 0;
    std::vector<size_t>& offsets = work->bandOffsets;
    offsets.assign(size_t(in.num_components), 0);
    for (int c = 0; c < in.num_components; ++c) {
        const jpeg_component_info& comp = in.comp_info[c];
        offsets[size_t(c)] = bandBytes;
        bandBytes += size_t(comp.width_in_blocks) * DCTSIZE * size_t(comp.v_samp_factor) * DCTSIZE * kReadsPerBand;
        pointers += size_t(comp.v_samp_factor) * DCTSIZE * kReadsPerBand;
    }
    work->band.resize(bandBytes);
    work->rowPointers.resize(pointers);
    JSAMPARRAY rows[MAX_COMPONENTS] = {};
    size_t pointer = 0;
    for (int c = 0; c < in.num_components; ++c) {
        const jpeg_component_info& comp = in.comp_info[c];
        const size_t stride = size_t(comp.width_in_blocks) * DCTSIZE;
        rows[c] = &work->rowPointers[pointer];
        for (uint32_t r = 0; r < uint32_t(comp.v_samp_factor) * DCTSIZE * kReadsPerBand; ++r)
            rows[c][r] = work->band.data() + offsets[size_t(c)] + size_t(r) * stride;
        pointer += size_t(comp.v_samp_factor) * DCTSIZE * kReadsPerBand;
    }
    for (uint32_t iMcuRow = 0; in.output_scanline < in.output_height;) {
        const uint32_t bandStart = iMcuRow;
        uint32_t reads = 0;
        for (; reads < kReadsPerBand && in.output_scanline < in.output_height; ++reads, ++iMcuRow) {
            JSAMPARRAY slice[MAX_COMPONENTS] = {};
            for (int c = 0; c < in.num_components; ++c)
                slice[c] = rows[c] + size_t(reads) * uint32_t(in.comp_info[c].v_samp_factor) * DCTSIZE;
            if (jpeg_read_raw_data(&in, slice, perRead) == 0)
                return false;
        }
        for (int c = 0; c < work->components; ++c) {
            const jpeg_component_info& comp = in.comp_info[c];
            const uint32_t height = comp.downsampled_height;
            const uint32_t rowsPerRead = uint32_t(comp.v_samp_factor) * DCTSIZE;
            const uint32_t first = bandStart * rowsPerRead;
            if (first >= height)
                continue;
            const uint32_t count = std::min(reads * rowsPerRead, height - first);
            TurnRows(rows[c][0], comp.width_in_blocks * DCTSIZE, first, count, comp.downsampled_width, height,
                     work->turn, work->planes[c]);
        }
    }
    for (int c = 0; c < work->components; ++c)
        work->planes[c].PadEdges();
    jpeg_finish_decompress(&in);
    return true;
}

bool Encode(Work* work)
{
    jpeg_compress_struct& out = work->writer;
    if (setjmp(work->writeErrors.jump))
        return false;
    out.client_data = work;
    work->destination.init_destination = StartDestination;
    work->destination.empty_output_buffer = EmptyDestination;
    work->destination.term_destination = TermDestination;
    out.dest = &work->destination;
    const jpeg_decompress_struct& in = work->reader;
    const bool swap = kTurns[work->turn].bx != 0;
    out.image_width = swap ? in.output_height : in.output_width;
    out.image_height = swap ? in.output_width : in.output_height;
    out.input_components = work->components;
    out.in_color_space = work->components == 1 ? JCS_GRAYSCALE : JCS_YCbCr;
    jpeg_set_defaults(&out);
    jpeg_set_colorspace(&out, out.in_color_space);
    for (int c = 0; c < work->components; ++c) {
        out.comp_info[c].h_samp_factor = work->planes[c].h;
        out.comp_info[c].v_samp_factor = work->planes[c].v;
    }
    jpeg_set_quality(&out, work->settings.quality, TRUE);
    out.dct_method = work->settings.fastDct ? JDCT_IFAST : JDCT_ISLOW;
    out.raw_data_in = TRUE;
    jpeg_start_compress(&out, TRUE);

    int maxV = 1;
    for (int c = 0; c < work->components; ++c)
        maxV = std::max(maxV, work->planes[c].v);
    const uint32_t bandRows = uint32_t(maxV) * DCTSIZE;
    JSAMPARRAY rows[MAX_COMPONENTS] = {};
    work->rowPointers.assign(size_t(work->components) * bandRows, nullptr);
    for (int c = 0; c < work->components; ++c)
        rows[c] = &work->rowPointers[size_t(c) * bandRows];
    for (uint32_t iMcuRow = 0; out.next_scanline < out.image_height; ++iMcuRow) {
        for (int c = 0; c < work->components; ++c) {
            Plane& plane = work->planes[c];
            const uint32_t first = iMcuRow * uint32_t(plane.v) * DCTSIZE;
            for (int r = 0; r < plane.v * DCTSIZE; ++r)
                rows[c][r] = plane.Row(std::min(first + uint32_t(r), plane.rows - 1));
        }
        if (jpeg_write_raw_data(&out, rows, bandRows) == 0)
            return false;
    }
    jpeg_finish_compress(&out);
    return true;
}

}  // namespace

uint8_t ComposeTurn(uint8_t orientation, int32_t rotation)
{
    if (orientation < 1 || orientation > 8 || rotation % 90 != 0)
        return 0;
    TurnMatrix m = kTurns[orientation];
    // A quarter turn clockwise: (x, y) -> (-y, x).
    for (int quarters = ((rotation / 90) % 4 + 4) % 4; quarters > 0; --quarters)
        m = TurnMatrix{-m.ay, -m.by, m.ax, m.bx};
    for (uint8_t turn = 1; turn <= 8; ++turn) {
        if (SameTurn(kTurns[turn], m))
            return turn;
    }
    return 0;
}

bool ReencodeJpeg(const uint8_t* data, size_t count, const JpegReencoding& settings, const ByteSink& sink)
{
    if (!data || count == 0 || count > 0x7FFFFFFF || settings.quality < 1 || settings.quality > 100)
        return false;
    Work work;
    work.data = data;
    work.count = count;
    work.settings = settings;
    work.turn = ComposeTurn(settings.orientation, settings.rotation);
    work.sink = &sink;
    if (work.turn == 0)
        return false;

    SetUpErrors(work.readErrors);
    work.reader.err = &work.readErrors.manager;
    jpeg_create_decompress(&work.reader);
    bool ok = false;
    try {
        ok = Decode(&work);
        if (ok) {
            work.out.resize(kSinkBlock);
            SetUpErrors(work.writeErrors);
            work.writer.err = &work.writeErrors.manager;
            jpeg_create_compress(&work.writer);
            work.writerMade = true;
            ok = Encode(&work);
        }
    } catch (...) {
        ok = false;  // no memory for the planes
    }
    if (work.writerMade)
        jpeg_destroy_compress(&work.writer);
    jpeg_destroy_decompress(&work.reader);
    return ok && !work.sinkFailed;
}

}  // namespace rasterlib
