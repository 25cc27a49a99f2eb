#include "framework/KWRasterLib.h"

// Built by a static initialiser, before the program's entry, and destroyed
// at its end; it lives apart so that only programs that use it load the library.
CKWRasterLib g_rasterLib;

namespace {

bool g_rasterLibGone = false;

// Built after the binding, so destroyed just before it.
struct CBindingEnd {
    ~CBindingEnd() { g_rasterLibGone = true; }
} g_bindingEnd;

}  // namespace

bool KWIsRasterLibAlive()
{
    return !g_rasterLibGone;
}
