// A frame's rows on a canvas of its picture, whose pixels outside it are
// transparent (a GIF's first image on its logical screen), for a resampler
// that takes the canvas's rows in order.
#pragma once

#include "platform/rasterlib/Resampler.h"

#include <cstdint>
#include <vector>

namespace rasterlib {

// Where a frame lies on its canvas.
struct FramePlacement {
    uint32_t canvasWidth = 0;
    uint32_t canvasHeight = 0;
    uint32_t left = 0;
    uint32_t top = 0;
};

// The canvas's rows: transparent but where the frame's rows stand.
class PlacedRows : public RowSource {
public:
    PlacedRows(RowSource& frame, uint32_t frameWidth, uint32_t frameHeight, const FramePlacement& placement)
        : m_frame(frame), m_frameWidth(frameWidth), m_frameHeight(frameHeight), m_placement(placement)
    {
    }

    // False when memory is short.
    bool Prepare();
    const uint8_t* Row(uint32_t y) override;

private:
    RowSource& m_frame;
    uint32_t m_frameWidth;
    uint32_t m_frameHeight;
    FramePlacement m_placement;
    std::vector<uint8_t> m_row;
    bool m_framed = false;
};

}  // namespace rasterlib
