#pragma once
// CTalPicturesData: the clipboard and drag-and-drop record of pictures of a
// section: record 2 holds the picture bodies, record 4 their positions.
#include <cstdint>
#include <vector>

#include "framework/KWSerialData.h"
#include "model/TalPicture.h"

class CTalPicturesData : public CKWSerialData {
public:
    enum : uint8_t { kPicturesTag = 2, kPositionsTag = 4 };

    // Copies both lists. owning: the destructor detaches every picture.
    explicit CTalPicturesData(const CTalPictureList& pictures = CTalPictureList(), bool owning = false,
                              const CTalPositionList* positions = nullptr);
    ~CTalPicturesData() override;

    // Loading empties both lists first; false (lists empty) when the block
    // lacks a record. May throw the archive's exception.
    bool Serialize(CKWArchive& ar) override;

    const CTalPictureList& GetPictures() const { return m_pictures; }
    const CTalPositionList& GetPositions() const { return m_positions; }
    bool IsOwning() const { return m_owning != 0; }

private:
    void ReleasePictures();
    std::vector<CTalPicture*> Plain() const;

    CTalPictureList m_pictures;
    CTalPositionList m_positions;
    uint8_t m_owning;
};
