#include "model/TalPicturesData.h"

#include "framework/KWArchive.h"
#include "model/TalPictureKinds.h"

CTalPicturesData::CTalPicturesData(const CTalPictureList& pictures, bool owning, const CTalPositionList* positions)
    : m_pictures(pictures), m_owning(owning ? 1 : 0)
{
    if (positions)
        m_positions = *positions;
}

CTalPicturesData::~CTalPicturesData() { ReleasePictures(); }

std::vector<CTalPicture*> CTalPicturesData::Plain() const
{
    std::vector<CTalPicture*> pictures;
    for (const auto& picture : m_pictures)
        pictures.push_back(picture.Get());
    return pictures;
}

void CTalPicturesData::ReleasePictures()
{
    if (m_owning) {
        for (auto& picture : m_pictures) {
            if (picture)
                picture->Detach();
        }
    }
    m_pictures.clear();
}

// Block: record 2, a u32 count and the picture bodies (closed by what the
// pictures without a file were, CTalPictureKinds); record 4, a u32 count and
// the u32 positions.
bool CTalPicturesData::Serialize(CKWArchive& ar)
{
    if (ar.IsStoring()) {
        ar.BeginRecord(kPicturesTag);
        ar.WriteU32(static_cast<uint32_t>(m_pictures.size()));
        for (auto& picture : m_pictures)
            picture->Serialize(ar);
        CTalPictureKinds::Store(ar, Plain());
        ar.EndRecord();
        ar.BeginRecord(kPositionsTag);
        ar.WriteU32(static_cast<uint32_t>(m_positions.size()));
        for (int32_t position : m_positions)
            ar.WriteI32(position);
        ar.EndRecord();
        return true;
    }

    ReleasePictures();
    m_positions.clear();
    if (!ar.BeginRecord(kPicturesTag))
        return false;
    // Each element is read (guarded) before the next is made: a false count
    // ends in the archive's exception, not in a huge allocation.
    const uint32_t count = ar.ReadU32();
    for (uint32_t i = 0; i < count; ++i) {
        CKWRefPtr<CTalPicture> picture(new CTalPicture(nullptr));
        picture->Serialize(ar);
        m_pictures.push_back(picture);
    }
    CTalPictureKinds::Load(ar, Plain());
    ar.EndRecord();
    if (!ar.BeginRecord(kPositionsTag)) {
        m_pictures.clear();
        return false;
    }
    const uint32_t positionCount = ar.ReadU32();
    for (uint32_t i = 0; i < positionCount; ++i)
        m_positions.push_back(ar.ReadI32());
    ar.EndRecord();
    return true;
}
