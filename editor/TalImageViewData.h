#pragma once
// CTalImageViewData: the data of a thumbnail of the section image panel:
// the picture id of the picture the item shows.
#include "controls/KWListImagesView.h"

#include <cstdint>

class CTalImageViewData : public CKWImageViewData {
public:
    explicit CTalImageViewData(uint32_t pictureId) : m_pictureId(pictureId) {}
    uint32_t GetPictureId() const { return m_pictureId; }

private:
    uint32_t m_pictureId;
};
