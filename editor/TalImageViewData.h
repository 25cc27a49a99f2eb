#pragma once
// CTalImageViewData: the data of a thumbnail of the section image panel:
// the picture id of the picture the item shows, and whether the item shows
// the picture's cached thumbnail already.
#include "controls/KWListImagesView.h"

#include <cstdint>

class CTalImageViewData : public CKWImageViewData {
public:
    explicit CTalImageViewData(uint32_t pictureId) : m_pictureId(pictureId) {}
    uint32_t GetPictureId() const { return m_pictureId; }
    bool ShowsThumbnail() const { return m_showsThumbnail; }
    void SetShowsThumbnail() { m_showsThumbnail = true; }

private:
    uint32_t m_pictureId;
    bool m_showsThumbnail = false;
};
