#pragma once
// CKWParaFormat: the record of one paragraph (its line feed included). A format
// request carries its mask in the count field.
#include <cstdint>

class CKWArchive;

class CKWParaFormat {
public:
    enum : uint8_t { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };
    enum : uint32_t {
        kMaskAlign = 0x01,
        kMaskLeftIndent = 0x02,
        kMaskRightIndent = 0x04,
        kMaskFirstLine = 0x08,
        kMaskSpaceBefore = 0x10,
        kMaskSpaceAfter = 0x20,
        kMaskLineSpacing = 0x40,
        kMaskAll = 0x7F,
    };
    // Bytes of one stored paragraph record.
    static constexpr uint32_t kStoredSize = 29;

    CKWParaFormat() = default;

    // The height of a line whose natural height is given: 0 keeps it, a
    // positive spacing is the exact height, a negative one a percentage of it.
    double ApplyLineSpacing(double naturalHeight) const;

    void Serialize(CKWArchive& ar);

    static const CKWParaFormat& GetDefault();

    uint32_t m_count = 0;  // characters of the paragraph, or the mask of a request
    float m_leftIndent = 0.0f;
    float m_rightIndent = 0.0f;
    float m_firstLine = 0.0f;  // added to the left indent on the first line
    float m_spaceBefore = 0.0f;
    float m_spaceAfter = 0.0f;
    float m_lineSpacing = 0.0f;
    uint8_t m_align = kAlignLeft;
};
