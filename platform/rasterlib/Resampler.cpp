#include "platform/rasterlib/Resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace rasterlib {

namespace {

constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;
// The horizontal pass keeps 8 fractional bits in 16-bit values.
constexpr int kMidShift = kWeightBits - 8;
constexpr int kOutShift = kWeightBits + 8;
constexpr int32_t kMidMost = 255 << 8;

// A weighted sum rounded back by shift bits and held between 0 and most: no
// sum wraps into the other end of its range.
inline uint16_t Narrowed(int32_t sum, int shift, int32_t most)
{
    const int32_t v = (sum + (1 << (shift - 1))) >> shift;
    return uint16_t(v < 0 ? 0 : v > most ? most : v);
}

// For each output position, the first source index and fixed-point weights that
// sum to exactly kWeightOne.
struct Taps {
    std::vector<int32_t> first;
    std::vector<int32_t> weights;  // maxCount per output position, zero-padded
    int maxCount = 0;
};

Taps BuildTaps(uint32_t srcCount, uint32_t dstCount)
{
    Taps taps;
    std::vector<std::vector<double>> raw(dstCount);
    taps.first.resize(dstCount);
    const double ratio = double(srcCount) / double(dstCount);
    for (uint32_t i = 0; i < dstCount; ++i) {
        if (dstCount < srcCount) {
            // Box of the output pixel's footprint: every source pixel weighs its overlap.
            const double left = i * ratio;
            const double right = std::min(double(srcCount), (i + 1) * ratio);
            const int32_t j0 = int32_t(std::floor(left));
            const int32_t j1 = std::min(int32_t(srcCount), int32_t(std::ceil(right)));
            taps.first[i] = j0;
            for (int32_t j = j0; j < j1; ++j)
                raw[i].push_back(std::min(right, double(j + 1)) - std::max(left, double(j)));
        } else {
            double x = (i + 0.5) * ratio - 0.5;
            x = std::max(0.0, std::min(x, double(srcCount - 1)));
            int32_t j0 = int32_t(std::floor(x));
            const double f = x - j0;
            if (j0 >= int32_t(srcCount) - 1) {
                taps.first[i] = int32_t(srcCount) - 1;
                raw[i].push_back(1.0);
            } else {
                taps.first[i] = j0;
                raw[i].push_back(1.0 - f);
                raw[i].push_back(f);
            }
        }
        taps.maxCount = std::max(taps.maxCount, int(raw[i].size()));
    }
    taps.weights.assign(size_t(dstCount) * taps.maxCount, 0);
    for (uint32_t i = 0; i < dstCount; ++i) {
        double sum = 0;
        for (double w : raw[i])
            sum += w;
        // Each tap is the difference of two rounded running totals: the taps
        // sum to exactly kWeightOne and none goes below 0, however many there are
        // (a remainder put on one tap made it negative past a ratio of about 183).
        int32_t* out = &taps.weights[size_t(i) * taps.maxCount];
        double running = 0;
        int32_t before = 0;
        for (size_t k = 0; k < raw[i].size(); ++k) {
            running += raw[i][k];
            const int32_t upTo = k + 1 == raw[i].size() ? kWeightOne : int32_t(std::lround(running / sum * kWeightOne));
            out[k] = upTo - before;
            before = upTo;
        }
    }
    return taps;
}

void HorizontalRow(const uint8_t* src, const Taps& taps, uint32_t dstWidth, uint16_t* out)
{
    for (uint32_t x = 0; x < dstWidth; ++x) {
        const int32_t* w = &taps.weights[size_t(x) * taps.maxCount];
        const uint8_t* p = src + size_t(taps.first[x]) * 4;
        int32_t b = 0, g = 0, r = 0, a = 0;
        for (int k = 0; k < taps.maxCount; ++k, p += 4) {
            if (w[k] == 0)
                continue;
            b += w[k] * p[0];
            g += w[k] * p[1];
            r += w[k] * p[2];
            a += w[k] * p[3];
        }
        out[x * 4 + 0] = Narrowed(b, kMidShift, kMidMost);
        out[x * 4 + 1] = Narrowed(g, kMidShift, kMidMost);
        out[x * 4 + 2] = Narrowed(r, kMidShift, kMidMost);
        out[x * 4 + 3] = Narrowed(a, kMidShift, kMidMost);
    }
}

// A source row's horizontal pass: premultiplied first (through scratch) when
// the image's transparency is real, so that clear pixels do not bleed their
// colour.
void AcrossRow(const uint8_t* row, uint32_t width, bool premultiply, std::vector<uint8_t>& scratch, const Taps& taps,
               uint32_t dstWidth, uint16_t* mid)
{
    if (premultiply) {
        std::memcpy(scratch.data(), row, size_t(width) * 4);
        Premultiply(PixelTarget{scratch.data(), width, 1, width * 4});
        row = scratch.data();
    }
    HorizontalRow(row, taps, dstWidth, mid);
}

// An output row from its sums.
void StoreRow(const int32_t* acc, size_t values, uint8_t* out)
{
    for (size_t i = 0; i < values; ++i)
        out[i] = uint8_t(Narrowed(acc[i], kOutShift, 255));
}

class ViewRows : public RowSource {
public:
    explicit ViewRows(const PixelView& view) : m_view(view) {}
    const uint8_t* Row(uint32_t y) override { return m_view.Row(y); }

private:
    PixelView m_view;
};

// The vertical pass: each output row summed from source rows that makeMid
// gives resampled across (asked in increasing order). Two such rows are kept:
// neighbouring output rows share at most their boundary rows (shrinking) or
// their two rows (growing).
template <class MakeMid>
bool VerticalPass(const Taps& down, const PixelTarget& dst, bool premultiply, MakeMid makeMid)
{
    const size_t rowValues = size_t(dst.width) * 4;
    constexpr int kSlots = 2;
    std::vector<uint16_t> ring(rowValues * kSlots);
    int32_t ringRow[kSlots] = {-1, -1};
    std::vector<int32_t> acc(rowValues);
    for (uint32_t y = 0; y < dst.height; ++y) {
        std::fill(acc.begin(), acc.end(), 0);
        const int32_t* w = &down.weights[size_t(y) * down.maxCount];
        for (int k = 0; k < down.maxCount; ++k) {
            if (w[k] == 0)
                continue;
            const int32_t srcRow = down.first[y] + k;
            const int slot = srcRow % kSlots;
            uint16_t* mid = &ring[rowValues * slot];
            if (ringRow[slot] != srcRow) {
                if (!makeMid(uint32_t(srcRow), mid))
                    return false;
                ringRow[slot] = srcRow;
            }
            for (size_t i = 0; i < rowValues; ++i)
                acc[i] += w[k] * mid[i];
        }
        StoreRow(acc.data(), rowValues, dst.Row(y));
    }
    if (premultiply)
        Unpremultiply(dst);
    return true;
}

// The most a band of tiles keeps of its rows' sums: a band of tiles taller
// than that for the output's width is taken in parts, its tiles asked again.
// With the most a TIFF reading holds besides (TiffBudget.h), within 64 MB.
constexpr size_t kBandSumBytes = size_t(24) << 20;

}  // namespace

bool ResampleRows(uint32_t width, uint32_t height, AlphaUse alpha, RowSource& rows, const PixelTarget& dst)
{
    try {
        const Taps across = BuildTaps(width, dst.width);
        const Taps down = BuildTaps(height, dst.height);
        const bool premultiply = alpha == AlphaUse::Mixed;
        std::vector<uint8_t> scratch(premultiply ? size_t(width) * 4 : 0);
        return VerticalPass(down, dst, premultiply, [&](uint32_t srcRow, uint16_t* mid) {
            const uint8_t* row = rows.Row(srcRow);
            if (!row)
                return false;
            AcrossRow(row, width, premultiply, scratch, across, dst.width, mid);
            return true;
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool ResampleTiles(uint32_t width, uint32_t height, uint32_t tileWidth, uint32_t tileHeight, AlphaUse alpha,
                   TileSource& tiles, const PixelTarget& dst)
{
    if (tileWidth == 0 || tileHeight == 0)
        return false;
    try {
        const Taps across = BuildTaps(width, dst.width);
        const Taps down = BuildTaps(height, dst.height);
        const bool premultiply = alpha == AlphaUse::Mixed;
        const size_t rowValues = size_t(dst.width) * 4;
        // Every row of a band summed across, tile by tile, unrounded until its
        // last tile is in: the sums, and so the output, are ResampleRows' own.
        const uint32_t mostRows =
            uint32_t(std::max<size_t>(1, std::min<size_t>(tileHeight, kBandSumBytes / (rowValues * 4))));
        std::vector<int32_t> sums(size_t(mostRows) * rowValues);
        std::vector<uint8_t> scratch(premultiply ? size_t(std::min(tileWidth, width)) * 4 : 0);
        uint32_t bandTop = 0, bandRows = 0;
        const auto addBand = [&](uint32_t top) {
            const uint32_t tileEnd = (top / tileHeight + 1) * tileHeight;
            bandRows = std::min({mostRows, tileEnd - top, height - top});
            bandTop = top;
            std::fill(sums.begin(), sums.begin() + std::ptrdiff_t(bandRows * rowValues), 0);
            for (uint32_t left = 0; left < width; left += tileWidth) {
                const uint32_t columns = std::min(tileWidth, width - left);
                size_t stride = 0;
                uint32_t given = 0;
                const uint8_t* pixels = nullptr;
                // The output columns whose taps reach into the tile.
                const int32_t reach = int32_t(left) - across.maxCount + 1;
                const uint32_t x0 = uint32_t(std::lower_bound(across.first.begin(), across.first.end(), reach) -
                                             across.first.begin());
                for (uint32_t r = 0; r < bandRows; ++r, --given, pixels += stride) {
                    // The tile's rows as its source gives them, a run at a time.
                    if (given == 0 && !(pixels = tiles.Tile(left, top + r, stride, given)))
                        return false;
                    const uint8_t* row = pixels;
                    if (premultiply) {
                        std::memcpy(scratch.data(), row, size_t(columns) * 4);
                        Premultiply(PixelTarget{scratch.data(), columns, 1, columns * 4});
                        row = scratch.data();
                    }
                    int32_t* out = &sums[size_t(r) * rowValues];
                    for (uint32_t x = x0; x < dst.width && across.first[x] < int32_t(left + columns); ++x) {
                        // The taps of column x that fall inside the tile.
                        const int32_t from = int32_t(left) - across.first[x];
                        const int k0 = std::max(0, from);
                        const int k1 = std::min(across.maxCount, from + int32_t(columns));
                        const int32_t* w = &across.weights[size_t(x) * across.maxCount];
                        const uint8_t* p = row + size_t(across.first[x] + k0 - int32_t(left)) * 4;
                        int32_t blue = 0, green = 0, red = 0, alpha = 0;
                        for (int k = k0; k < k1; ++k, p += 4) {
                            blue += w[k] * p[0];
                            green += w[k] * p[1];
                            red += w[k] * p[2];
                            alpha += w[k] * p[3];
                        }
                        int32_t* sum = out + size_t(x) * 4;
                        sum[0] += blue;
                        sum[1] += green;
                        sum[2] += red;
                        sum[3] += alpha;
                    }
                }
            }
            return true;
        };
        return VerticalPass(down, dst, premultiply, [&](uint32_t srcRow, uint16_t* mid) {
            while (srcRow >= bandTop + bandRows)
                if (!addBand(bandTop + bandRows))
                    return false;
            const int32_t* s = &sums[size_t(srcRow - bandTop) * rowValues];
            for (size_t i = 0; i < rowValues; ++i)
                mid[i] = Narrowed(s[i], kMidShift, kMidMost);
            return true;
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
}

struct ResampleSums::Plan {
    Taps across;
    Taps down;
    std::vector<int32_t> sums;  // every output row's
    std::vector<uint16_t> mid;
    std::vector<uint8_t> row;   // a source row made whole
    std::vector<uint8_t> scratch;
};

ResampleSums::ResampleSums() = default;
ResampleSums::~ResampleSums() = default;

bool ResampleSums::Begin(uint32_t width, uint32_t height, AlphaUse alpha, const PixelTarget& dst)
{
    try {
        m_plan.reset(new Plan);
        m_plan->across = BuildTaps(width, dst.width);
        m_plan->down = BuildTaps(height, dst.height);
        m_plan->sums.assign(size_t(dst.width) * 4 * dst.height, 0);
        m_plan->mid.resize(size_t(dst.width) * 4);
        m_plan->row.resize(size_t(width) * 4);
        m_premultiply = alpha == AlphaUse::Mixed;
        m_plan->scratch.resize(m_premultiply ? size_t(width) * 4 : 0);
    } catch (const std::bad_alloc&) {
        m_plan.reset();
        return false;
    }
    m_width = width;
    m_height = height;
    m_dst = dst;
    return true;
}

void ResampleSums::Add(uint32_t y, const uint8_t* pixels, uint32_t first, uint32_t step, uint32_t count)
{
    if (!m_plan || y >= m_height || count == 0 || step == 0 || first + uint64_t(step) * (count - 1) >= m_width)
        return;
    Plan& plan = *m_plan;
    const uint8_t* row = pixels;
    if (first != 0 || step != 1 || count != m_width) {
        // The pixels the row lacks add nothing: clear, of no colour.
        std::fill(plan.row.begin(), plan.row.end(), uint8_t(0));
        for (uint32_t i = 0; i < count; ++i)
            std::memcpy(&plan.row[size_t(first + i * step) * 4], pixels + size_t(i) * 4, 4);
        row = plan.row.data();
    }
    AcrossRow(row, m_width, m_premultiply, plan.scratch, plan.across, m_dst.width, plan.mid.data());
    // The output rows whose taps hold row y: their first rows do not decrease.
    const Taps& down = plan.down;
    const size_t rowValues = size_t(m_dst.width) * 4;
    uint32_t out = uint32_t(std::lower_bound(down.first.begin(), down.first.end(), int32_t(y) - down.maxCount + 1) -
                            down.first.begin());
    for (; out < m_dst.height && down.first[out] <= int32_t(y); ++out) {
        const int32_t w = down.weights[size_t(out) * down.maxCount + size_t(int32_t(y) - down.first[out])];
        if (w == 0)
            continue;
        int32_t* sums = &plan.sums[size_t(out) * rowValues];
        for (size_t i = 0; i < rowValues; ++i)
            sums[i] += w * plan.mid[i];
    }
}

void ResampleSums::Finish()
{
    if (!m_plan)
        return;
    const size_t rowValues = size_t(m_dst.width) * 4;
    for (uint32_t y = 0; y < m_dst.height; ++y)
        StoreRow(&m_plan->sums[size_t(y) * rowValues], rowValues, m_dst.Row(y));
    if (m_premultiply)
        Unpremultiply(m_dst);
    m_plan.reset();
}

bool Resample(const PixelView& src, const PixelTarget& dst)
{
    if (src.width == dst.width && src.height == dst.height) {
        CopyPixels(src, dst);
        return true;
    }
    ViewRows rows(src);
    return ResampleRows(src.width, src.height, ClassifyAlpha(src), rows, dst);
}

void FitInside(uint32_t width, uint32_t height, uint32_t boxWidth, uint32_t boxHeight, uint32_t& fitWidth,
               uint32_t& fitHeight)
{
    double scale = 0;
    if (boxWidth && boxHeight)
        scale = std::min(double(boxWidth) / width, double(boxHeight) / height);
    else if (boxWidth)
        scale = double(boxWidth) / width;
    else if (boxHeight)
        scale = double(boxHeight) / height;
    else
        scale = 1.0;
    const double w = std::floor(width * scale + 0.5);
    const double h = std::floor(height * scale + 0.5);
    fitWidth = uint32_t(std::max(1.0, std::min(w, double(0xFFFFFFFFu))));
    fitHeight = uint32_t(std::max(1.0, std::min(h, double(0xFFFFFFFFu))));
    if (boxWidth && fitWidth > boxWidth)
        fitWidth = boxWidth;
    if (boxHeight && fitHeight > boxHeight)
        fitHeight = boxHeight;
}

}  // namespace rasterlib
