#pragma once
// The commands that change a section's pictures. Positions index the target
// section's picture list.
#include <cstdint>
#include <vector>

#include "framework/KWRefPtr.h"
#include "model/TalCommand.h"
#include "model/TalPicture.h"
#include "platform/classlib/String.h"

class CTalSection;

// Kind 10: a picture's new description; the flag goes to the notification.
class CCmdEditPictureTitle : public CTalCommand {
public:
    CCmdEditPictureTitle(int32_t kind, CTalObject* target, CTalPicture* picture, const CString& title,
                         uint8_t flag);
    ~CCmdEditPictureTitle() override;

    CKWRefPtr<CTalPicture> GetPicture() const;
    CString GetTitle() const { return m_title; }
    uint8_t GetFlag() const { return m_flag; }

private:
    CKWRefPtr<CTalPicture> m_picture;
    CString m_title;
    uint8_t m_flag;
};

// Kind 7: inserts picture i at positions[i], or appends them all when there
// are no positions. Until executed it owns the pictures it would put back:
// destroyed without ReleasePayload, it detaches them.
class CCmdInsertPictures : public CTalCommand {
public:
    CCmdInsertPictures(int32_t kind, CTalObject* target, const CTalPictureList& pictures,
                       const CTalPositionList* positions = nullptr);
    ~CCmdInsertPictures() override;
    // The pictures live in the section now: forget them (positions stay).
    void ReleasePayload() override;

    const CTalPictureList& GetPictures() const { return m_pictures; }
    const CTalPositionList& GetPositions() const { return m_positions; }

private:
    CTalPictureList m_pictures;
    CTalPositionList m_positions;
};

// Kind 8: count -1 removes the pictures at the positions; any other count n
// removes the last n pictures (the positions are then empty).
class CCmdRemovePictures : public CTalCommand {
public:
    static constexpr int32_t kUsePositions = -1;

    CCmdRemovePictures(int32_t kind, CTalObject* target, const CTalPositionList* positions, int32_t count)
        : CTalCommand(kind, target), m_count(count)
    {
        if (positions)
            m_positions = *positions;
    }

    const CTalPositionList& GetPositions() const { return m_positions; }
    int32_t GetCount() const { return m_count; }

private:
    CTalPositionList m_positions;
    int32_t m_count;
};

// Kind 15: adds the angle (degrees) to the pictures at the positions.
class CCmdRotatePictures : public CTalCommand {
public:
    CCmdRotatePictures(int32_t kind, CTalObject* target, const CTalPositionList& positions, int32_t angle)
        : CTalCommand(kind, target), m_positions(positions), m_angle(angle) {}

    const CTalPositionList& GetPositions() const { return m_positions; }
    int32_t GetAngle() const { return m_angle; }

private:
    CTalPositionList m_positions;
    int32_t m_angle;
};

// Kinds 11 to 14: one value of a picture property per position.
class CCmdPropPictures : public CTalCommand {
public:
    CCmdPropPictures(int32_t kind, CTalObject* target, const CTalPositionList& positions,
                     const std::vector<int32_t>& values)
        : CTalCommand(kind, target), m_positions(positions), m_values(values) {}

    const CTalPositionList& GetPositions() const { return m_positions; }
    const std::vector<int32_t>& GetValues() const { return m_values; }

private:
    CTalPositionList m_positions;
    std::vector<int32_t> m_values;
};

// Kind 9: moves the pictures from the source section into the target, each
// behind its anchor (null: at the front), or appended when there are no anchors.
class CCmdMovePictures : public CTalCommand {
public:
    CCmdMovePictures(int32_t kind, CTalObject* target, CTalSection* source, const CTalPictureList& pictures,
                     const CTalPictureList* anchors = nullptr);
    ~CCmdMovePictures() override;

    CKWRefPtr<CTalSection> GetSource() const;
    const CTalPictureList& GetPictures() const { return m_pictures; }
    const CTalPictureList& GetAnchors() const { return m_anchors; }

private:
    CKWRefPtr<CTalSection> m_source;
    CTalPictureList m_pictures;
    CTalPictureList m_anchors;
};
