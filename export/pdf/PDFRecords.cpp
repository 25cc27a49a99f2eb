#include "export/pdf/PDFRecords.h"

int32_t PDFNormalizeRotation(int32_t rotation)
{
    int32_t r = rotation % 360;
    return r < 0 ? r + 360 : r;
}

uint32_t PDFImageRecordKey(uint32_t imageKey, int32_t rotation, bool grayscale)
{
    const uint32_t quarterTurns = static_cast<uint32_t>(PDFNormalizeRotation(rotation) / 90);
    return ((imageKey << 2 | quarterTurns) << 1) | (grayscale ? 1u : 0u);
}
