#include "platform/rasterlib/JpegTransform.h"

#include <turbojpeg.h>

namespace rasterlib {

namespace {

// The operation that undoes each recorded orientation.
int TransformFor(uint8_t orientation)
{
    switch (orientation) {
    case 2: return TJXOP_HFLIP;
    case 3: return TJXOP_ROT180;
    case 4: return TJXOP_VFLIP;
    case 5: return TJXOP_TRANSPOSE;
    case 6: return TJXOP_ROT90;
    case 7: return TJXOP_TRANSVERSE;
    case 8: return TJXOP_ROT270;
    default: return -1;
    }
}

}  // namespace

bool TransformJpegUpright(const uint8_t* data, size_t count, uint8_t orientation, std::vector<uint8_t>& out)
{
    const int operation = TransformFor(orientation);
    if (operation < 0 || !data || count == 0 || count > 0x7FFFFFFF)
        return false;
    tjhandle handle = tjInitTransform();
    if (!handle)
        return false;
    tjtransform transform = {};
    transform.op = operation;
    // Exact or not at all; the camera's segments (with the orientation that
    // no longer holds) are left behind.
    transform.options = TJXOPT_PERFECT | TJXOPT_COPYNONE;
    unsigned char* result = nullptr;
    unsigned long size = 0;
    const bool ok = tjTransform(handle, data, static_cast<unsigned long>(count), 1, &result, &size, &transform,
                                TJFLAG_STOPONWARNING) == 0 &&
                    result && size > 0;
    if (ok)
        out.assign(result, result + size);
    if (result)
        tjFree(result);
    tjDestroy(handle);
    return ok;
}

}  // namespace rasterlib
