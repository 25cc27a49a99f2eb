// A TIFF decoded a piece at a time into B, G, R, A rows: a tile (for planes
// stored apart, that tile of every plane) of the kinds TiffSamples converts,
// or, for the kinds libtiff's RGBA reader converts, a tile or a strip through
// that reader. A piece costs its own pixels: a row of tiles 1088 pixels high
// across 16000 pixels took 70 MB held whole.
#pragma once

#include "platform/rasterlib/Resampler.h"
#include "platform/rasterlib/TiffInput.h"
#include "platform/rasterlib/TiffSamples.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace rasterlib {

class TiffPieces : public TileSource {
public:
    // damaged is the picture's flag of libjpeg's warnings; a piece decoded
    // while it is set does not count as decoded.
    explicit TiffPieces(const bool* damaged);
    ~TiffPieces() override;
    TiffPieces(const TiffPieces&) = delete;
    TiffPieces& operator=(const TiffPieces&) = delete;

    // Tiles of the samples' kind (which must outlive this object).
    TiffOpening OpenTiles(tiff* tif, const TiffSamples& samples, bool planar);
    // Tiles or strips through libtiff's RGBA reader.
    TiffOpening OpenRgba(tiff* tif);

    uint32_t PieceWidth() const { return m_pieceWidth; }
    uint32_t PieceHeight() const { return m_pieceHeight; }
    bool IsGrey() const { return m_grey; }
    bool HasAlpha() const { return m_alpha; }

    // The piece whose corner is (left, top), both multiples of the piece's
    // sides, decoded unless it is the last one decoded; its rows cut at the
    // picture's edges.
    bool Decode(uint32_t left, uint32_t top);
    const uint8_t* Pixels() const { return m_pixels.data(); }
    size_t Stride() const { return m_stride; }
    const uint8_t* Tile(uint32_t left, uint32_t y, size_t& stride) override;
    // Every piece after the last one decoded, none kept.
    bool DecodeRest();

private:
    bool DecodeTile(uint32_t left, uint32_t top, uint32_t columns, uint32_t rows);
    bool DecodeRgba(uint32_t left, uint32_t top, uint32_t columns, uint32_t rows);

    struct RgbaReader;
    const bool* m_damaged;
    tiff* m_tiff = nullptr;
    const TiffSamples* m_samples = nullptr;
    std::unique_ptr<RgbaReader> m_rgba;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    uint32_t m_pieceWidth = 0;
    uint32_t m_pieceHeight = 0;
    bool m_grey = false;
    bool m_alpha = false;
    bool m_premultiplied = false;
    uint16_t m_planes = 1;
    size_t m_stride = 0;         // the piece's width cut at the picture's edge
    size_t m_tileBytes = 0;      // a plane's stored tile
    std::vector<uint8_t> m_tiles;  // each plane's stored tile
    std::vector<uint8_t> m_gathered;
    std::vector<uint8_t> m_pixels;
    int64_t m_decoded = -1;  // the last piece decoded, in their order
};

}  // namespace rasterlib
