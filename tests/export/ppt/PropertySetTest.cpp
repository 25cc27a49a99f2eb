// Property sections and the property-set stream.
#include <gtest/gtest.h>

#include <cstring>

#include "export/ppt/PPTOutStream.h"
#include "export/ppt/PropertySetWriter.h"
#include "tests/export/ppt/PptTestSupport.h"

namespace {

const GUID kFirst = {0xd5cdd502, 0x2e9c, 0x101b, {0x93, 0x97, 0x08, 0x00, 0x2b, 0x2c, 0xf9, 0xae}};

}  // namespace

TEST(PropertySection, PropertiesArePaddedAndInIdOrder)
{
    PropertySection section(kFirst);
    const uint8_t three[3] = {1, 2, 3};
    const uint8_t eight[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    section.AddProperty(7, eight, 8);
    section.AddProperty(2, three, 3);
    section.AddDictionaryEntry(7, CString(L"Seven"));
    section.AddDictionaryEntry(2, CString(L""));  // ignored
    section.AddDictionaryEntry(7, CString(L"Sev"));  // replaces
    section.WriteDictionary();
    ASSERT_EQ(3u, section.GetPropertyCount());

    PPTOutStream out;
    out.Attach(NewMemoryStream());
    section.Write(out);
    const std::vector<uint8_t> bytes = StreamBytes(out.Get());
    // Dictionary: 4 + 4 + 4 + "Sev\0" = 16 bytes.
    ASSERT_EQ(section.GetSize(), bytes.size());
    EXPECT_EQ(8u + 24 + 16 + 4 + 8, bytes.size());
    EXPECT_EQ(bytes.size(), U32At(bytes, 0));
    EXPECT_EQ(3u, U32At(bytes, 4));
    const uint32_t ids[3] = {0, 2, 7};
    const uint32_t offsets[3] = {32, 48, 52};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ids[i], U32At(bytes, 8 + 8 * i));
        EXPECT_EQ(offsets[i], U32At(bytes, 12 + 8 * i));
    }
    EXPECT_EQ(1u, U32At(bytes, 32));
    EXPECT_EQ(7u, U32At(bytes, 36));
    EXPECT_EQ(4u, U32At(bytes, 40));
    EXPECT_EQ(0, std::memcmp("Sev", bytes.data() + 44, 4));
    EXPECT_EQ(3, bytes[50]);
    EXPECT_EQ(0, bytes[51]);  // padding
}

TEST(PropertySetWriter, HeaderAndSectionOffsets)
{
    PPTOutStream out;
    out.Attach(NewMemoryStream());
    PropertySetWriter writer(out);
    writer.AddSection(std::unique_ptr<PropertySection>(new PropertySection(kFirst)));
    GUID second = kFirst;
    second.Data1 = 0xd5cdd505;
    std::unique_ptr<PropertySection> user(new PropertySection(second));
    const uint8_t value[4] = {2, 0, 0, 0};
    user->AddProperty(1, value, 4);
    writer.AddSection(std::move(user));
    writer.Write();

    const std::vector<uint8_t> bytes = StreamBytes(out.Get());
    ASSERT_EQ(68u + 8 + 20, bytes.size());
    const uint8_t header[8] = {0xFE, 0xFF, 0, 0, 4, 0, 2, 0};
    EXPECT_EQ(0, std::memcmp(header, bytes.data(), 8));
    for (int i = 8; i < 24; ++i)
        EXPECT_EQ(0, bytes[i]);
    EXPECT_EQ(2u, U32At(bytes, 24));
    const uint8_t firstId[16] = {0x02, 0xd5, 0xcd, 0xd5, 0x9c, 0x2e, 0x1b, 0x10,
                                 0x93, 0x97, 0x08, 0x00, 0x2b, 0x2c, 0xf9, 0xae};
    EXPECT_EQ(0, std::memcmp(firstId, bytes.data() + 28, 16));
    EXPECT_EQ(68u, U32At(bytes, 44));
    EXPECT_EQ(0x05, bytes[48]);
    EXPECT_EQ(76u, U32At(bytes, 64));
    EXPECT_EQ(8u, U32At(bytes, 68));
    EXPECT_EQ(0u, U32At(bytes, 72));
    EXPECT_EQ(20u, U32At(bytes, 76));
}
