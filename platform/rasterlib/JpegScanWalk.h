// The strict check of a baseline JPEG's entropy-coded data: every block of the
// scan walked by its Huffman codes (no coefficient kept, no pixel made), each
// restart interval ending where its data end, the end of the image right after
// the last one. Where libjpeg-turbo would warn of anything in the data (a code
// no table has, data that stop short, bytes left over, a restart marker out of
// turn) the walk calls the data damaged, so that a stream it calls whole
// decodes whole in every reader. It takes the streams JpegBaseline reads; the
// others are left to libjpeg-turbo's own strict decoding.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rasterlib {

enum class ScanWalk {
    Whole,
    Damaged,
    NotTaken  // a stream of another kind: decode it to know
};

ScanWalk WalkBaselineScan(const uint8_t* data, size_t count);

}  // namespace rasterlib
