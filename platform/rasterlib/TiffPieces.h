// A TIFF decoded a piece at a time into B, G, R, A rows. Tiles of the kinds
// TiffSamples converts come in runs of rows through libtiff's codec
// (TiffRuns), for planes stored apart each plane's tile through an input of
// its own, and are converted a run at a time: a tile of 4096 x 4096 RGB held
// 48 MB stored and 64 MB converted, and a tile whose pixels passed 64 MB was
// called damaged. A tile is decoded to its last stored row, as libtiff's
// whole-tile reading decodes it. The kinds libtiff's RGBA reader converts
// come a tile or a strip at a time through that reader, which holds the
// piece's stored bytes besides. A picture whose pieces' inputs, decoders and
// rows pass the reading's bound (TiffBudget.h) is too large.
#pragma once

#include "platform/rasterlib/Resampler.h"
#include "platform/rasterlib/TiffInput.h"
#include "platform/rasterlib/TiffRuns.h"
#include "platform/rasterlib/TiffSamples.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace rasterlib {

class TiffPieces : public TileSource {
public:
    // damaged is the picture's flag of libjpeg's warnings and errors; a piece
    // decoded while it is set does not count as decoded.
    explicit TiffPieces(bool* damaged);
    ~TiffPieces() override;
    TiffPieces(const TiffPieces&) = delete;
    TiffPieces& operator=(const TiffPieces&) = delete;

    // Tiles of the samples' kind (which must outlive this object); first is
    // the picture's open input, which reads the first plane, and its twins
    // read the others.
    TiffOpening OpenTiles(TiffInput& first, const TiffSamples& samples, bool planar);
    // Tiles or strips through libtiff's RGBA reader.
    TiffOpening OpenRgba(TiffInput& first);
    // The picture's pieces (tiles, or strips) measured, none read: too large
    // when a piece at 4 bytes a pixel beside its stored bytes and its decoder
    // passes the reading's bound. The system's decoder holds a piece decoded
    // at 3 bytes a pixel beside its coded bytes (for RGB under Wine), so a
    // picture it is handed is held within the bound by the same measure.
    TiffOpening Measure(TiffInput& first);

    uint32_t PieceWidth() const { return m_pieceWidth; }
    uint32_t PieceHeight() const { return m_pieceHeight; }
    bool IsGrey() const { return m_grey; }
    bool HasAlpha() const { return m_alpha; }

    const uint8_t* Tile(uint32_t left, uint32_t y, size_t& stride, uint32_t& rows) override;
    // Every row of every piece from row top on decoded, none kept (a piece
    // that row top lies in, from its first row).
    bool DecodeFrom(uint32_t top);
    // The row after the last one handed over.
    uint32_t RowsHanded() const { return m_handed; }

private:
    struct Plane {
        std::unique_ptr<TiffInput> own;  // none for the first plane
        tiff* tif = nullptr;
        std::unique_ptr<TiffRuns> runs;
        std::vector<uint8_t> stored;  // a run of the plane's tile
    };
    // The rows from y on (of the piece at left) converted; false when they
    // do not decode.
    bool Reach(uint32_t left, uint32_t y);
    bool DecodeRun(uint32_t tile, uint32_t top);
    bool ConvertRows(uint32_t top, uint32_t columns);
    bool DecodeRgba(uint32_t left, uint32_t top, uint32_t columns, uint32_t rows);

    struct RgbaReader;
    bool* m_damaged;
    tiff* m_tiff = nullptr;
    const TiffSamples* m_samples = nullptr;
    std::unique_ptr<RgbaReader> m_rgba;
    std::vector<Plane> m_planes;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    uint32_t m_pieceWidth = 0;
    uint32_t m_pieceHeight = 0;
    bool m_grey = false;
    bool m_alpha = false;
    bool m_premultiplied = false;
    uint32_t m_runRows = 0;    // stored rows decoded at once
    uint32_t m_chunkRows = 0;  // rows converted at once
    size_t m_stride = 0;       // a converted row: the piece's width cut at the picture's edge
    std::vector<const uint8_t*> m_planeRows;
    std::vector<uint8_t> m_gathered;
    std::vector<uint8_t> m_pixels;
    // Where decoding stands: the piece, its next stored run, and the rows
    // converted into m_pixels.
    int64_t m_piece = -1;
    uint32_t m_runTop = 0;
    uint32_t m_pixelsTop = 0;
    uint32_t m_pixelsRows = 0;
    uint32_t m_handed = 0;
};

}  // namespace rasterlib
