#include "platform/rasterlib/JpegScanWalk.h"

#include "platform/rasterlib/JpegBaseline.h"
#include "platform/rasterlib/JpegScanBits.h"

#include <vector>

namespace rasterlib {

ScanWalk WalkBaselineScan(const uint8_t* data, size_t count)
{
    JpegBaseline header;
    std::vector<HuffmanTable> tables;
    if (!header.Read(data, count))
        return ScanWalk::NotTaken;
    // A JFIF segment of another major version is one libjpeg-turbo warns of.
    if ((header.Jfif().seen && header.Jfif().major != 1) || !header.BuildTables(tables))
        return ScanWalk::Damaged;
    const int components = header.ComponentCount();
    const bool single = components == 1;
    // One component: an MCU is one block of the plane.
    const uint32_t columns = single ? header.BlocksWide(0) : header.McuColumns();
    const uint32_t rows = single ? header.BlocksHigh(0) : header.McuRows();
    uint32_t blocks[3][2] = {};
    for (int c = 0; c < components; ++c) {
        blocks[c][0] = single ? 1 : header.Component(c).h;
        blocks[c][1] = single ? 1 : header.Component(c).v;
    }
    // The least a block takes is two bits (a DC code and an end of block): a
    // frame claiming more blocks than the data can hold is damaged at once.
    uint64_t perMcu = 0;
    for (int c = 0; c < components; ++c)
        perMcu += uint64_t(blocks[c][0]) * blocks[c][1];
    if (uint64_t(columns) * rows * perMcu > uint64_t(header.DataEnd() - header.ScanData()) * 4)
        return ScanWalk::Damaged;
    JpegScanBits bits;
    if (!bits.Start(header.ScanData(), header.DataEnd()))
        return ScanWalk::NotTaken;
    const uint32_t interval = header.RestartInterval();
    uint32_t untilRestart = interval, restarts = 0;
    int32_t predictors[3] = {};
    for (uint32_t my = 0; my < rows; ++my) {
        for (uint32_t mx = 0; mx < columns; ++mx) {
            if (interval != 0) {
                if (untilRestart == 0) {
                    if (!bits.EndsAtPosition() || bits.Marker() != 0xD0 + (restarts & 7))
                        return ScanWalk::Damaged;
                    ++restarts;
                    bits.Restart();
                    predictors[0] = predictors[1] = predictors[2] = 0;
                    untilRestart = interval;
                }
                --untilRestart;
            }
            bits.Reserve();
            const uint8_t* bytes = bits.Bytes();
            uint32_t position = bits.Position();
            for (int c = 0; c < components; ++c) {
                const HuffmanTable& dc = tables[size_t(c) * 2];
                const HuffmanTable& ac = tables[size_t(c) * 2 + 1];
                for (uint32_t n = blocks[c][0] * blocks[c][1]; n > 0; --n) {
                    if (!SkipBlock(bytes, position, dc, ac, predictors[c]))
                        return ScanWalk::Damaged;
                }
            }
            bits.SetPosition(position);
            if (bits.Overrun())
                return ScanWalk::Damaged;
        }
    }
    if (!bits.EndsAtPosition())
        return ScanWalk::Damaged;
    // Segments between the scan and the end of the image are the decoder's to
    // read: the whole decoding tells.
    return bits.Marker() == 0xD9 ? ScanWalk::Whole : ScanWalk::NotTaken;
}

}  // namespace rasterlib
