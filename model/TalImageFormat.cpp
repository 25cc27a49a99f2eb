#include "model/TalImageFormat.h"

uint32_t ImageFormatToRasterFlag(int32_t index)
{
    // Index 1 to 8; 0x30000 and 0x70000 are no stored format.
    static const uint32_t kFlags[] = {0, 0x10000, 0x20000, 0x40000, 0x50000, 0x60000, 0x80000, 0x90000, 0xA0000};
    if (index < 0 || index >= static_cast<int32_t>(sizeof kFlags / sizeof kFlags[0]))
        return 0;
    return kFlags[index];
}
