#include "model/TalPictureCommands.h"

#include "model/TalSection.h"

CCmdEditPictureTitle::CCmdEditPictureTitle(int32_t kind, CTalObject* target, CTalPicture* picture,
                                           const CString& title, uint8_t flag)
    : CTalCommand(kind, target), m_picture(picture), m_title(title), m_flag(flag)
{
}

CCmdEditPictureTitle::~CCmdEditPictureTitle() = default;

CKWRefPtr<CTalPicture> CCmdEditPictureTitle::GetPicture() const
{
    return m_picture;
}

CCmdInsertPictures::CCmdInsertPictures(int32_t kind, CTalObject* target, const CTalPictureList& pictures,
                                       const CTalPositionList* positions)
    : CTalCommand(kind, target), m_pictures(pictures)
{
    if (positions)
        m_positions = *positions;
}

CCmdInsertPictures::~CCmdInsertPictures()
{
    // Pictures never put back are orphans: drop their parent links.
    for (const CKWRefPtr<CTalPicture>& picture : m_pictures) {
        if (picture)
            picture->Detach();
    }
}

void CCmdInsertPictures::ReleasePayload()
{
    m_pictures.clear();
}

CCmdMovePictures::CCmdMovePictures(int32_t kind, CTalObject* target, CTalSection* source,
                                   const CTalPictureList& pictures, const CTalPictureList* anchors)
    : CTalCommand(kind, target), m_source(source), m_pictures(pictures)
{
    if (anchors)
        m_anchors = *anchors;
}

CCmdMovePictures::~CCmdMovePictures() = default;

CKWRefPtr<CTalSection> CCmdMovePictures::GetSource() const
{
    return m_source;
}
