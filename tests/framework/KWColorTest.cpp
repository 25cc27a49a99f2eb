#include "framework/KWArchive.h"
#include "framework/KWColor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "tests/framework/KWTestBytes.h"

using namespace kwbytes;

namespace {

Bytes Store(CKWColor color)
{
    return Stored([&](CKWArchive& ar) { color.Serialize(ar); });
}

CKWColor Load(Bytes bytes, CKWColor color = CKWColor())
{
    CKWArchive archive(bytes.data(), static_cast<uint32_t>(bytes.size()), CKWArchive::kLoad);
    color.Serialize(archive);
    return color;
}

// The head, kind and flag that start every archived colour.
Writer Head(uint8_t kind, uint8_t flag)
{
    return Writer().U32(uint32_t(kind) | uint32_t(flag) << 8).U8(kind).U8(flag);
}

TEST(KWColor, ValuesAndTheirArgbForms)
{
    EXPECT_EQ(0xFF000000u, CKWColor().ToArgb()) << "opaque black RGB by default";
    CKWColor argb = CKWColor::FromArgb(0x11, 0x22, 0x33, 0x44);
    uint8_t raw[8];
    std::memcpy(raw, &argb, sizeof raw);
    EXPECT_EQ((std::vector<uint8_t>{CKWColor::KindArgb, 0x11, 0x22, 0x33, 0x44}),
              (std::vector<uint8_t>{raw[0], raw[4], raw[5], raw[6], raw[7]})) << "the value bytes in memory order";
    EXPECT_EQ(0x00443322u, argb.GetValue() >> 8) << "a COLORREF (red lowest) is the value shifted right by 8";
    EXPECT_EQ(0x11223344u, argb.ToArgb());
    argb.SetKind(CKWColor::KindRgb);
    EXPECT_EQ(0xFF223344u, argb.ToArgb()) << "alpha only for the ARGB kind";
    EXPECT_EQ(0xFF123456u, CKWColor(CKWColor::KindValue, 0x56341280u).ToArgb());

    const struct {
        uint8_t c, m, y, k;
        uint32_t argb;
    } cmyk[] = {
        {0, 0, 0, 0, 0xFFFFFFFF}, {200, 0, 0, 100, 0xFF009B9B}, {10, 20, 30, 0, 0xFFF5EBE1},
        {0, 0, 0, 255, 0xFF000000}, {100, 200, 250, 100, 0xFF370000},
    };
    for (const auto& t : cmyk) {
        const CKWColor color = CKWColor::FromCmyk(t.c, t.m, t.y, t.k);
        const uint32_t rgb = color.CmykToRgb();  // red, green and blue in the upper three bytes
        EXPECT_EQ(t.argb, color.ToArgb()) << int(t.c) << "," << int(t.m) << "," << int(t.y) << "," << int(t.k);
        EXPECT_EQ(t.argb & 0xFFFFFF, (rgb >> 8 & 0xFF) << 16 | (rgb >> 16 & 0xFF) << 8 | rgb >> 24);
        EXPECT_EQ(0u, rgb & 0xFF);
    }
}

TEST(KWColor, ArchiveBytesOfEachKind)
{
    CKWColor argb = CKWColor::FromArgb(0x80, 0x01, 0x02, 0x03);
    argb.SetFlag(0xFE);
    CKWColor cmyk = CKWColor::FromCmyk(255, 127, 0, 51);
    cmyk.SetFlag(1);
    const struct {
        const char* name;
        CKWColor color;
        Bytes bytes;
    } cases[] = {
        {"plain value", CKWColor(CKWColor::KindValue, 0xA1B2C3D4u, 7), Head(0, 7).U32(0xA1B2C3D4u)},
        {"rgb", CKWColor::FromRgb(0x10, 0x20, 0x30), Head(1, 0).U8(0).U8(0x10).U8(0x20).U8(0x30)},
        {"argb", argb, Head(2, 0xFE).U8(0x80).U8(1).U8(2).U8(3)},
        {"cmyk as percentages", cmyk, Head(3, 1).F64(100.0).F64(49.80392156862745).F64(0.0).F64(20.0)},
        {"unknown kind: no value", CKWColor(9, 0x12345678u, 2), Head(9, 2)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.bytes, Store(c.color)) << c.name;
}

TEST(KWColor, LoadingTakesTheKindBytesAndClampsPercentages)
{
    const struct {
        const char* name;
        Bytes bytes;
        std::vector<int> cmyk;  // the four bytes of a CMYK colour
    } cases[] = {
        {"percentages to bytes", Head(3, 0).F64(50.0).F64(100.0).F64(0.39215686274509803).F64(20.0), {127, 255, 1, 51}},
        {"corrupt percentages clamped",
         Head(3, 0).F64(150.0).F64(-3.0).F64(std::numeric_limits<double>::quiet_NaN()).F64(1e300), {255, 0, 0, 255}},
    };
    for (const auto& c : cases) {
        const CKWColor color = Load(c.bytes);
        EXPECT_EQ(CKWColor::KindCmyk, color.GetKind());
        EXPECT_EQ(c.cmyk, (std::vector<int>{color.GetByte(0), color.GetByte(1), color.GetByte(2), color.GetByte(3)}))
            << c.name;
    }
    // The head claims CMYK; the kind and flag bytes after it decide.
    const CKWColor rgb = Load(Writer().U32(0x0000FF03u).U8(1).U8(4).U8(0).U8(0xAA).U8(0xBB).U8(0xCC));
    EXPECT_EQ(CKWColor::KindRgb, rgb.GetKind());
    EXPECT_EQ(4, rgb.GetFlag());
    EXPECT_EQ(0xFFAABBCCu, rgb.ToArgb());

    // An unknown kind reads no value and keeps the old one.
    Bytes data = Head(6, 0).U32(0x01020304u);
    CKWArchive archive(data.data(), static_cast<uint32_t>(data.size()), CKWArchive::kLoad);
    CKWColor color = CKWColor::FromRgb(9, 9, 9);
    color.Serialize(archive);
    EXPECT_EQ(6, color.GetKind());
    EXPECT_EQ(CKWColor::FromRgb(9, 9, 9).GetValue(), color.GetValue());
    EXPECT_EQ(0x01020304u, archive.ReadU32());

    EXPECT_THROW(Load(Head(3, 0).F64(10.0)), CKWArchiveException) << "truncated";
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
        const CKWColor copy = Load(Store(original));
        EXPECT_EQ(original.GetKind(), copy.GetKind());
        EXPECT_EQ(original.GetFlag(), copy.GetFlag());
        EXPECT_EQ(original.GetValue(), copy.GetValue()) << int(original.GetKind()) << " " << std::hex
                                                        << original.GetValue();
    }
}

}  // namespace
