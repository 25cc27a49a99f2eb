#include "model/TalPicture.h"

#include "framework/KWArchive.h"
#include "framework/KWRasterLib.h"
#include "model/TalSection.h"

CTalPicture::CTalPicture(CTalSection* parent) : CTalObject(parent) {}

CTalPicture::~CTalPicture() = default;

int32_t CTalPicture::NormalizeAngle(int64_t angle)
{
    int64_t reduced = angle % kFullTurn;
    if (reduced < 0)
        reduced += kFullTurn;
    return static_cast<int32_t>(reduced);
}

int32_t CTalPicture::Rotate(int32_t delta)
{
    m_angle = NormalizeAngle(static_cast<int64_t>(m_angle) + delta);
    return m_angle;
}

// Body: title, use description (u32), shown (u8), greyscale (u32), new page
// (u8), angle (u32), then the image's file path. Picture ids are never written:
// the reader turns the path back into an id of its own picture store.
bool CTalPicture::Serialize(CKWArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteString(m_title);
        ar.WriteI32(m_useDescription);
        ar.WriteU8(m_shown);
        ar.WriteI32(m_grayscale);
        ar.WriteU8(m_newPage);
        ar.WriteI32(m_angle);
        // Asked with no target folder, so no file is copied.
        const CString path = m_pictureId ? g_rasterLib.GetImagePath(static_cast<uint32_t>(m_pictureId)) : CString();
        ar.WriteString(path);
    } else {
        ar.ReadString(m_title);
        m_useDescription = ar.ReadI32();
        m_shown = ar.ReadU8();
        m_grayscale = ar.ReadI32();
        m_newPage = ar.ReadU8();
        m_angle = ar.ReadI32();
        CString path;
        ar.ReadString(path);
        // A picture without a file is none until the record that carries
        // it says what it was (CTalPictureKinds).
        m_pictureId = static_cast<int32_t>(path.IsEmpty() ? 0 : g_rasterLib.GetPictureId(path));
    }
    return true;
}
