#include "framework/KWPictureHold.h"

#include "framework/KWRasterLib.h"

#include <utility>

namespace {

void Hold(int32_t id)
{
    if (id != 0 && KWIsRasterLibAlive())
        g_rasterLib.HoldPicture(static_cast<uint32_t>(id));
}

// Holders that outlive the binding (global templates at the program's end)
// have nothing left to release: the binding deleted the store's files.
void Release(int32_t id)
{
    if (id != 0 && KWIsRasterLibAlive())
        g_rasterLib.ReleasePicture(static_cast<uint32_t>(id));
}

}  // namespace

CKWPictureHold::CKWPictureHold(int32_t id) : m_id(id) { Hold(m_id); }

CKWPictureHold::CKWPictureHold(const CKWPictureHold& other) : m_id(other.m_id) { Hold(m_id); }

CKWPictureHold::CKWPictureHold(CKWPictureHold&& other) noexcept : m_id(other.m_id) { other.m_id = 0; }

CKWPictureHold& CKWPictureHold::operator=(const CKWPictureHold& other)
{
    return *this = other.m_id;
}

CKWPictureHold& CKWPictureHold::operator=(CKWPictureHold&& other) noexcept
{
    if (this != &other) {
        Release(m_id);
        m_id = other.m_id;
        other.m_id = 0;
    }
    return *this;
}

CKWPictureHold& CKWPictureHold::operator=(int32_t id)
{
    // The new id is held before the old one goes: the same id assigned again
    // never drops to no holder in between.
    Hold(id);
    Release(m_id);
    m_id = id;
    return *this;
}

CKWPictureHold::~CKWPictureHold() { Release(m_id); }
