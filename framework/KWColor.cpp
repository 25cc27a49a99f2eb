#include "framework/KWColor.h"

#include "framework/KWArchive.h"

namespace {

// Archive form of a CMYK component: a percentage.
const double kByteToPercent = 0.39215686274509803;
const double kPercentToByte = 2.5500000000000003;

uint32_t Pack(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
{
    return uint32_t(b0) | uint32_t(b1) << 8 | uint32_t(b2) << 16 | uint32_t(b3) << 24;
}

// The x87 unit multiplies in extended precision; rounding the product to a
// double first keeps the percentages and their truncation as in the format
// (76 would otherwise come back as 75).
double Scale(double value, double factor)
{
    volatile double product = value * factor;
    return product;
}

uint8_t PercentToByte(double percent)
{
    // The value comes from a file: out-of-range or NaN input must not reach an
    // undefined float-to-integer conversion.
    const double scaled = Scale(percent, kPercentToByte);
    if (!(scaled > 0.0))
        return 0;
    if (scaled >= 255.0)
        return 255;
    return static_cast<uint8_t>(scaled);
}

uint8_t Subtract(uint8_t component, uint8_t black)
{
    const int v = 255 - int(component) - int(black);
    return static_cast<uint8_t>(v < 0 ? 0 : v);
}

}  // namespace

CKWColor CKWColor::FromRgb(uint8_t r, uint8_t g, uint8_t b)
{
    return CKWColor(KindRgb, Pack(0, r, g, b));
}

CKWColor CKWColor::FromColorRef(uint32_t colorRef)
{
    return FromRgb(uint8_t(colorRef), uint8_t(colorRef >> 8), uint8_t(colorRef >> 16));
}

CKWColor CKWColor::FromArgb(uint8_t a, uint8_t r, uint8_t g, uint8_t b)
{
    return CKWColor(KindArgb, Pack(a, r, g, b));
}

CKWColor CKWColor::FromCmyk(uint8_t c, uint8_t m, uint8_t y, uint8_t k)
{
    return CKWColor(KindCmyk, Pack(c, m, y, k));
}

uint8_t CKWColor::GetByte(int index) const
{
    if (index < 0 || index > 3)
        return 0;
    return static_cast<uint8_t>(m_value >> (8 * index));
}

void CKWColor::SetByte(int index, uint8_t byte)
{
    if (index < 0 || index > 3)
        return;
    const int shift = 8 * index;
    m_value = (m_value & ~(uint32_t(0xFF) << shift)) | uint32_t(byte) << shift;
}

uint32_t CKWColor::ToArgb() const
{
    if (m_kind == KindArgb)
        return uint32_t(GetByte(0)) << 24 | uint32_t(GetByte(1)) << 16 | uint32_t(GetByte(2)) << 8 | GetByte(3);
    // CMYK bytes are not red, green and blue: convert them first.
    const uint32_t rgb = m_kind == KindCmyk ? CmykToRgb() : m_value;
    return 0xFF000000u | ((rgb >> 8) & 0xFF) << 16 | ((rgb >> 16) & 0xFF) << 8 | ((rgb >> 24) & 0xFF);
}

uint32_t CKWColor::CmykToRgb() const
{
    const uint8_t k = GetByte(3);
    return Pack(0, Subtract(GetByte(0), k), Subtract(GetByte(1), k), Subtract(GetByte(2), k));
}

void CKWColor::Serialize(CKWArchive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteU32(uint32_t(m_kind) | uint32_t(m_flag) << 8);
        archive.WriteU8(m_kind);
        archive.WriteU8(m_flag);
        switch (m_kind) {
        case KindValue:
            archive.WriteU32(m_value);
            break;
        case KindRgb:
        case KindArgb:
            for (int i = 0; i < 4; ++i)
                archive.WriteU8(GetByte(i));
            break;
        case KindCmyk:
            for (int i = 0; i < 4; ++i)
                archive.WriteDouble(Scale(GetByte(i), kByteToPercent));
            break;
        default:
            break;
        }
        return;
    }

    archive.ReadU32();  // the head; the two bytes after it say the same
    m_kind = archive.ReadU8();
    m_flag = archive.ReadU8();
    switch (m_kind) {
    case KindValue:
        m_value = archive.ReadU32();
        break;
    case KindRgb:
    case KindArgb:
        for (int i = 0; i < 4; ++i)
            SetByte(i, archive.ReadU8());
        break;
    case KindCmyk:
        for (int i = 0; i < 4; ++i)
            SetByte(i, PercentToByte(archive.ReadDouble()));
        break;
    default:
        break;
    }
}
