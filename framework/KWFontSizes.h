#pragma once
// Steps of the "larger"/"smaller" text commands along the standard point sizes.
#include <cstdint>

// The next standard size above size (72 at most).
int32_t GetNextFontSize(int32_t size);

// The previous standard size below size (6 at least; sizes below 6 are kept).
int32_t GetPrevFontSize(int32_t size);
