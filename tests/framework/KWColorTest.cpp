#include "framework/KWArchive.h"
#include "framework/KWBrush.h"
#include "framework/KWColor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void PutU8(Bytes& out, uint8_t v) { out.push_back(v); }

void PutU32(Bytes& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutDouble(Bytes& out, double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}

Bytes Store(CKWColor color)
{
    CKWArchive archive(nullptr, 0, CKWArchive::kStore);
    color.Serialize(archive);
    uint32_t length = 0;
    void* data = archive.DetachMemory(length);
    Bytes bytes(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + length);
    std::free(data);
    return bytes;
}

CKWColor Load(Bytes bytes)
{
    CKWArchive archive(bytes.data(), static_cast<uint32_t>(bytes.size()), CKWArchive::kLoad);
    CKWColor color;
    color.Serialize(archive);
    return color;
}

// The head, kind and flag that start every archived colour.
Bytes Head(uint8_t kind, uint8_t flag)
{
    Bytes out;
    PutU32(out, uint32_t(kind) | uint32_t(flag) << 8);
    PutU8(out, kind);
    PutU8(out, flag);
    return out;
}

TEST(KWColor, DefaultIsOpaqueBlackRgb)
{
    CKWColor color;
    EXPECT_EQ(CKWColor::KindRgb, color.GetKind());
    EXPECT_EQ(0u, color.GetValue());
    EXPECT_EQ(0xFF000000u, color.ToArgb());
}

TEST(KWColor, ValueBytesAreInMemoryOrder)
{
    CKWColor color = CKWColor::FromArgb(0x11, 0x22, 0x33, 0x44);
    uint8_t raw[8];
    std::memcpy(raw, &color, sizeof raw);
    EXPECT_EQ(CKWColor::KindArgb, raw[0]);
    EXPECT_EQ(0x11, raw[4]);
    EXPECT_EQ(0x22, raw[5]);
    EXPECT_EQ(0x33, raw[6]);
    EXPECT_EQ(0x44, raw[7]);
    // A COLORREF (red lowest) is the value shifted right by 8.
    EXPECT_EQ(0x00443322u, color.GetValue() >> 8);
}

TEST(KWColor, CmykToRgb)
{
    struct Case {
        uint8_t c, m, y, k;
        uint8_t r, g, b;
    } cases[] = {
        {0, 0, 0, 0, 255, 255, 255},
        {200, 0, 0, 100, 0, 155, 155},
        {10, 20, 30, 0, 245, 235, 225},
        {0, 0, 0, 255, 0, 0, 0},
        {100, 200, 250, 100, 55, 0, 0},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(::testing::Message() << int(t.c) << "," << int(t.m) << "," << int(t.y) << "," << int(t.k));
        const uint32_t rgb = CKWColor::FromCmyk(t.c, t.m, t.y, t.k).CmykToRgb();
        EXPECT_EQ(0u, rgb & 0xFF);
        EXPECT_EQ(t.r, (rgb >> 8) & 0xFF);
        EXPECT_EQ(t.g, (rgb >> 16) & 0xFF);
        EXPECT_EQ(t.b, (rgb >> 24) & 0xFF);
    }
}

TEST(KWColor, ToArgbKeepsAlphaOnlyForArgbKind)
{
    const CKWColor argb = CKWColor::FromArgb(0x80, 0x12, 0x34, 0x56);
    EXPECT_EQ(0x80123456u, argb.ToArgb());

    CKWColor rgb = argb;
    rgb.SetKind(CKWColor::KindRgb);
    EXPECT_EQ(0xFF123456u, rgb.ToArgb());

    const CKWColor plain(CKWColor::KindValue, 0x56341280u);
    EXPECT_EQ(0xFF123456u, plain.ToArgb());

    // CMYK is converted, not read as R, G and B.
    EXPECT_EQ(0xFFFFFFFFu, CKWColor::FromCmyk(0, 0, 0, 0).ToArgb());
    EXPECT_EQ(0xFF009B9Bu, CKWColor::FromCmyk(200, 0, 0, 100).ToArgb());
}

TEST(KWColor, ArchiveBytesOfEachKind)
{
    {
        SCOPED_TRACE("plain value");
        Bytes expected = Head(0, 7);
        PutU32(expected, 0xA1B2C3D4u);
        EXPECT_EQ(expected, Store(CKWColor(CKWColor::KindValue, 0xA1B2C3D4u, 7)));
    }
    {
        SCOPED_TRACE("rgb");
        Bytes expected = Head(1, 0);
        for (uint8_t b : {0x00, 0x10, 0x20, 0x30})
            PutU8(expected, b);
        EXPECT_EQ(expected, Store(CKWColor::FromRgb(0x10, 0x20, 0x30)));
    }
    {
        SCOPED_TRACE("argb");
        CKWColor color = CKWColor::FromArgb(0x80, 0x01, 0x02, 0x03);
        color.SetFlag(0xFE);
        Bytes expected = Head(2, 0xFE);
        for (uint8_t b : {0x80, 0x01, 0x02, 0x03})
            PutU8(expected, b);
        EXPECT_EQ(expected, Store(color));
    }
    {
        SCOPED_TRACE("cmyk");
        Bytes expected = Head(3, 1);
        for (double percent : {100.0, 49.80392156862745, 0.0, 20.0})
            PutDouble(expected, percent);
        CKWColor color = CKWColor::FromCmyk(255, 127, 0, 51);
        color.SetFlag(1);
        EXPECT_EQ(expected, Store(color));
    }
    {
        SCOPED_TRACE("unknown kind");
        EXPECT_EQ(Head(9, 2), Store(CKWColor(9, 0x12345678u, 2)));
    }
}

TEST(KWColor, CmykPercentagesReadBackAsBytes)
{
    Bytes data = Head(3, 0);
    for (double percent : {50.0, 100.0, 0.39215686274509803, 20.0})
        PutDouble(data, percent);
    const CKWColor color = Load(data);
    EXPECT_EQ(CKWColor::KindCmyk, color.GetKind());
    EXPECT_EQ(127, color.GetByte(0));
    EXPECT_EQ(255, color.GetByte(1));
    EXPECT_EQ(1, color.GetByte(2));
    EXPECT_EQ(51, color.GetByte(3));
}

TEST(KWColor, CorruptCmykPercentagesAreClamped)
{
    Bytes data = Head(3, 0);
    for (double percent : {150.0, -3.0, std::numeric_limits<double>::quiet_NaN(), 1e300})
        PutDouble(data, percent);
    const CKWColor color = Load(data);
    EXPECT_EQ(255, color.GetByte(0));
    EXPECT_EQ(0, color.GetByte(1));
    EXPECT_EQ(0, color.GetByte(2));
    EXPECT_EQ(255, color.GetByte(3));
}

TEST(KWColor, EveryKindRoundTripsThroughTheArchive)
{
    std::vector<CKWColor> colors = {
        CKWColor(CKWColor::KindValue, 0xDEADBEEFu, 3),
        CKWColor::FromRgb(1, 2, 3),
        CKWColor::FromArgb(0x7F, 0xFF, 0x00, 0x80),
    };
    for (int v = 0; v < 256; ++v)
        colors.push_back(CKWColor::FromCmyk(uint8_t(v), uint8_t(255 - v), uint8_t(v / 2), uint8_t(v / 3)));
    for (const CKWColor& original : colors) {
        SCOPED_TRACE(::testing::Message() << int(original.GetKind()) << " " << std::hex << original.GetValue());
        const CKWColor copy = Load(Store(original));
        EXPECT_EQ(original.GetKind(), copy.GetKind());
        EXPECT_EQ(original.GetFlag(), copy.GetFlag());
        EXPECT_EQ(original.GetValue(), copy.GetValue());
    }
}

TEST(KWColor, HeadIsSupersededByKindAndFlagBytes)
{
    Bytes data;
    PutU32(data, 0x0000FF03u);  // claims CMYK
    PutU8(data, 1);
    PutU8(data, 4);
    for (uint8_t b : {0x00, 0xAA, 0xBB, 0xCC})
        PutU8(data, b);
    const CKWColor color = Load(data);
    EXPECT_EQ(CKWColor::KindRgb, color.GetKind());
    EXPECT_EQ(4, color.GetFlag());
    EXPECT_EQ(0xFFAABBCCu, color.ToArgb());
}

TEST(KWColor, UnknownKindReadsNoValue)
{
    Bytes data = Head(6, 0);
    PutU32(data, 0x01020304u);
    CKWArchive archive(data.data(), static_cast<uint32_t>(data.size()), CKWArchive::kLoad);
    CKWColor color = CKWColor::FromRgb(9, 9, 9);
    color.Serialize(archive);
    EXPECT_EQ(6, color.GetKind());
    EXPECT_EQ(CKWColor::FromRgb(9, 9, 9).GetValue(), color.GetValue());
    EXPECT_EQ(0x01020304u, archive.ReadU32());
}

TEST(KWColor, TruncatedArchiveThrows)
{
    Bytes data = Head(3, 0);
    PutDouble(data, 10.0);
    EXPECT_THROW(Load(data), CKWArchiveException);
}

TEST(KWBrush, DefaultsAreSolidBlackOverWhite)
{
    const CKWBrush brush;
    EXPECT_EQ(CKWBrush::StyleSolid, brush.m_style);
    EXPECT_EQ(CKWColor::KindRgb, brush.m_color1.GetKind());
    EXPECT_EQ(0xFF000000u, brush.m_color1.ToArgb());
    EXPECT_EQ(CKWColor::KindRgb, brush.m_color2.GetKind());
    EXPECT_EQ(0xFFFFFFFFu, brush.m_color2.ToArgb());
    EXPECT_EQ(0u, brush.m_hatch);
    EXPECT_EQ(0.0, brush.m_x1);
    EXPECT_EQ(0.0, brush.m_y1);
    EXPECT_EQ(0.0, brush.m_x2);
    EXPECT_EQ(0.0, brush.m_y2);

    const CKWBrush solid(CKWColor::FromArgb(0x40, 1, 2, 3));
    EXPECT_EQ(0x40010203u, solid.m_color1.ToArgb());
    EXPECT_EQ(0xFFFFFFFFu, solid.m_color2.ToArgb());
}

}  // namespace
