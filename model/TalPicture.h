#pragma once
// CTalPicture: an image of a section, named by its picture id in the picture
// store (g_rasterLib), which it holds while it names it, with its
// description, rotation and report options.
#include <cstdint>
#include <vector>

#include "framework/KWPictureHold.h"
#include "framework/KWRefPtr.h"
#include "model/TalObject.h"
#include "platform/classlib/String.h"

class CTalPicture;
typedef std::vector<CKWRefPtr<CTalPicture>> CTalPictureList;

class CTalPicture : public CTalObject {
public:
    // Tri-state values of the description and greyscale settings.
    enum : int32_t { kNo = 0, kYes = 1, kDocumentDefault = 2 };
    static constexpr int32_t kFullTurn = 360;

    explicit CTalPicture(CTalSection* parent = nullptr);
    ~CTalPicture() override;

    // The picture body; the image travels as its file path (see the .cpp).
    bool Serialize(CKWArchive& ar) override;

    int32_t GetPictureId() const { return m_pictureId; }
    void SetPictureId(int32_t id) { m_pictureId = id; }
    const CString& GetTitle() const { return m_title; }
    void SetTitle(const CString& title) { m_title = title; }

    int32_t GetUseDescription() const { return m_useDescription; }
    void SetUseDescription(int32_t value) { m_useDescription = value; }
    // 2 gives the document's default, 1 true, anything else false.
    bool IsUseDescription(bool documentDefault) const { return Resolve(m_useDescription, documentDefault); }

    uint8_t GetShown() const { return m_shown; }
    void SetShown(uint8_t shown) { m_shown = shown; }

    int32_t GetGrayscale() const { return m_grayscale; }
    void SetGrayscale(int32_t value) { m_grayscale = value; }
    bool IsGrayscale(bool documentDefault) const { return Resolve(m_grayscale, documentDefault); }

    uint8_t GetNewPage() const { return m_newPage; }
    void SetNewPage(uint8_t newPage) { m_newPage = newPage; }

    // The rotation in degrees as stored (files may hold any value).
    int32_t GetAngle() const { return m_angle; }
    void SetAngle(int32_t angle) { m_angle = angle; }
    // Turns by delta degrees; the result is reduced to 0..359 whatever the
    // stored angle was. Returns the new angle.
    int32_t Rotate(int32_t delta);
    // The angle reduced to 0..359 (a true modulo, also for negative values).
    static int32_t NormalizeAngle(int64_t angle);

private:
    static bool Resolve(int32_t value, bool documentDefault)
    {
        return value == kDocumentDefault ? documentDefault : value == kYes;
    }

    CKWPictureHold m_pictureId;
    CString m_title;
    int32_t m_useDescription = kDocumentDefault;
    uint8_t m_shown = 1;
    int32_t m_grayscale = kDocumentDefault;
    uint8_t m_newPage = 0;
    int32_t m_angle = 0;
};
