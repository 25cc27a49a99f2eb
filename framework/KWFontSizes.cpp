#include "framework/KWFontSizes.h"

namespace {

const int32_t kSizes[] = {6, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
const int kSizeCount = static_cast<int>(sizeof(kSizes) / sizeof(kSizes[0]));

}  // namespace

int32_t GetNextFontSize(int32_t size) {
    if (size >= kSizes[kSizeCount - 1]) return kSizes[kSizeCount - 1];
    for (int i = 0; i < kSizeCount; ++i) {
        if (kSizes[i] >= size) return kSizes[i] == size ? kSizes[i + 1] : kSizes[i];
    }
    return kSizes[kSizeCount - 1];
}

int32_t GetPrevFontSize(int32_t size) {
    for (int i = kSizeCount - 1; i >= 0; --i) {
        if (kSizes[i] <= size) {
            if (kSizes[i] != size) return kSizes[i];
            return i > 0 ? kSizes[i - 1] : kSizes[i];
        }
    }
    return size;
}
