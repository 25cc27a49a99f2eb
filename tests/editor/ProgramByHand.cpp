// What the tests of the program's windows driven by hand share: the screen
// read back, and where two readings of it differ.
#include "ProgramByHand.h"

#include "ProgramRun.h"

#include <algorithm>
#include <climits>

namespace edtest {

std::vector<COLORREF> ScreenPixels(const RECT& rect)
{
    return test_support::CaptureScreen(rect).values;
}

std::string DifferenceText(const std::vector<COLORREF>& before, const std::vector<COLORREF>& after, const RECT& rect)
{
    const int width = rect.right - rect.left;
    RECT differs = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    size_t count = 0;
    for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
        if (before[i] == after[i])
            continue;
        ++count;
        const LONG x = rect.left + LONG(i % width), y = rect.top + LONG(i / width);
        differs = {std::min(differs.left, x), std::min(differs.top, y), std::max(differs.right, x + 1),
                   std::max(differs.bottom, y + 1)};
    }
    return std::to_string(count) + " pixels differ in (" + std::to_string(differs.left) + ", " +
           std::to_string(differs.top) + ") - (" + std::to_string(differs.right) + ", " +
           std::to_string(differs.bottom) + ")";
}


bool SteadyScreen(const RECT& rect, std::vector<COLORREF>& pixels)
{
    pixels.clear();
    return WaitFor([&] {
        const std::vector<COLORREF> now = ScreenPixels(rect);
        const bool steady = now == pixels;
        pixels = now;
        return steady;
    });
}

}  // namespace edtest
