#pragma once
// CKWColor: an 8-byte colour value of one of four kinds, copied as a whole
// and stored in the binary archive.
#include <cstdint>

class CKWArchive;

class CKWColor {
public:
    enum Kind : uint8_t {
        KindValue = 0,  // one plain 32-bit value
        KindRgb = 1,    // bytes A R G B, A ignored
        KindArgb = 2,   // bytes A R G B, A used in drawing
        KindCmyk = 3,   // bytes C M Y K, 0-255 each
    };

    // Opaque black.
    CKWColor() : m_kind(KindRgb), m_flag(0), m_value(0) {}
    CKWColor(uint8_t kind, uint32_t value, uint8_t flag = 0)
        : m_kind(kind), m_flag(flag), m_value(value) {}

    static CKWColor FromRgb(uint8_t r, uint8_t g, uint8_t b);
    static CKWColor FromArgb(uint8_t a, uint8_t r, uint8_t g, uint8_t b);
    static CKWColor FromCmyk(uint8_t c, uint8_t m, uint8_t y, uint8_t k);
    // The RGB kind from a Windows colour reference (0x00BBGGRR).
    static CKWColor FromColorRef(uint32_t colorRef);

    uint8_t GetKind() const { return m_kind; }
    void SetKind(uint8_t kind) { m_kind = kind; }
    uint8_t GetFlag() const { return m_flag; }
    void SetFlag(uint8_t flag) { m_flag = flag; }
    // The four value bytes packed with the first byte lowest.
    uint32_t GetValue() const { return m_value; }
    void SetValue(uint32_t value) { m_value = value; }
    // Value byte 0-3 (A R G B or C M Y K).
    uint8_t GetByte(int index) const;
    void SetByte(int index, uint8_t byte);

    // The colour as a GDI+ ARGB value; only the ARGB kind carries its alpha.
    uint32_t ToArgb() const;
    // The CMYK bytes as R, G and B in the second, third and fourth bytes of
    // the result (the low byte is 0): shift right by 8 for a COLORREF.
    uint32_t CmykToRgb() const;

    // Stores or loads through the archive; a short read throws the archive's
    // exception.
    void Serialize(CKWArchive& archive);

private:
    uint8_t m_kind;
    uint8_t m_flag;
    uint32_t m_value;
};

static_assert(sizeof(CKWColor) == 8, "CKWColor is an 8-byte value");
