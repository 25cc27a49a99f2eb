// The record layer: headers, containers, reserved headers, remembered
// offsets and insertion into the middle of the stream.
#include <gtest/gtest.h>

#include <cstring>

#include "export/ppt/EscherEx.h"
#include "export/ppt/PPTOutStream.h"
#include "tests/export/ppt/PptTestSupport.h"

namespace {

struct StreamFixture {
    PPTOutStream out;
    StreamFixture() { out.Attach(NewMemoryStream()); }
    std::vector<uint8_t> Bytes() { return StreamBytes(out.Get()); }
};

}  // namespace

TEST(EscherRecord, HeadersAreByteExact)
{
    struct Case {
        uint32_t length;
        uint16_t type, version, instance;
        uint8_t expected[8];
    } cases[] = {
        {40, 1001, 1, 0, {0x01, 0x00, 0xE9, 0x03, 0x28, 0x00, 0x00, 0x00}},
        {36, 4086, 0, 0, {0x00, 0x00, 0xF6, 0x0F, 0x24, 0x00, 0x00, 0x00}},
        {12, 4040, 0xF, 2, {0x2F, 0x00, 0xC8, 0x0F, 0x0C, 0x00, 0x00, 0x00}},
        {8, 0xF00A, 2, 202, {0xA2, 0x0C, 0x0A, 0xF0, 0x08, 0x00, 0x00, 0x00}},
        {0x01020304, 0xF00B, 3, 0xFFF, {0xF3, 0xFF, 0x0B, 0xF0, 0x04, 0x03, 0x02, 0x01}},
    };
    for (const Case& c : cases) {
        StreamFixture s;
        EscherEx escher(s.out);
        escher.WriteRecordHeader(c.length, c.type, c.version, c.instance);
        const std::vector<uint8_t> bytes = s.Bytes();
        ASSERT_EQ(8u, bytes.size());
        EXPECT_EQ(0, std::memcmp(c.expected, bytes.data(), 8)) << "type " << c.type;
    }
}

TEST(EscherRecord, ContainersGetTheLengthOfTheirBodies)
{
    StreamFixture s;
    EscherEx escher(s.out);
    escher.BeginContainer(1000, 0);
    escher.WriteRecordHeader(4, 1001, 1, 0);
    s.out.WriteU32(0xAABBCCDD);
    escher.BeginContainer(4080, 1);
    escher.WriteRecordHeader(2, 1011, 0, 0);
    s.out.WriteU16(7);
    escher.EndContainer();
    EXPECT_EQ(1u, escher.GetOpenContainerCount());
    EXPECT_EQ(1000, escher.GetInnermostType());
    escher.EndContainer();
    EXPECT_EQ(0u, escher.GetOpenContainerCount());
    // A close without an open container changes nothing.
    escher.EndContainer();

    const std::vector<uint8_t> bytes = s.Bytes();
    ASSERT_EQ(8u + 12 + 8 + 10, bytes.size());
    EXPECT_EQ(0x000F, U16At(bytes, 0));
    EXPECT_EQ(30u, U32At(bytes, 4));
    EXPECT_EQ(0x001F, U16At(bytes, 20));  // instance 1, version 0xF
    EXPECT_EQ(10u, U32At(bytes, 24));

    PptRecord root;
    std::string error;
    ASSERT_TRUE(ParseTree(bytes, root, error)) << error;
    ASSERT_EQ(1u, root.children.size());
    EXPECT_EQ(2u, root.children[0].children.size());
    EXPECT_EQ(s.out.Tell(), static_cast<int64_t>(bytes.size()));
}

TEST(EscherRecord, ReservedHeadersNestAndTakeTheirBodyLength)
{
    StreamFixture s;
    EscherEx escher(s.out);
    escher.ReserveHeader();
    s.out.WriteU16(1);
    escher.ReserveHeader();
    s.out.WriteU32(2).WriteU32(3);
    escher.FillReservedHeader(4001, 0, 0);
    escher.FillReservedHeader(4003, 0, 5);

    const std::vector<uint8_t> bytes = s.Bytes();
    ASSERT_EQ(26u, bytes.size());
    EXPECT_EQ(0x0050, U16At(bytes, 0));
    EXPECT_EQ(4003, U16At(bytes, 2));
    EXPECT_EQ(18u, U32At(bytes, 4));
    EXPECT_EQ(4001, U16At(bytes, 12));
    EXPECT_EQ(8u, U32At(bytes, 14));
    EXPECT_EQ(26, s.out.Tell());
}

TEST(EscherRecord, PersistTableAndPatches)
{
    StreamFixture s;
    EscherEx escher(s.out);
    s.out.WriteZeros(4);
    escher.RememberOffset(0x80010000, escher.Tell());
    escher.RememberOffset(0x80010000, 20);  // the first entry of a key wins
    escher.RememberOffset(0x80030001, 30);
    s.out.WriteU32(0).WriteU32(0xFFFFFFFF);
    EXPECT_EQ(4u, escher.GetOffset(0x80010000));
    EXPECT_EQ(0u, escher.GetOffset(0x80030002));
    escher.SetOffset(0x80030001, 35);
    EXPECT_EQ(35u, escher.GetOffset(0x80030001));

    EXPECT_TRUE(escher.PatchAtOffset(0x80010000, 0x12345678));
    EXPECT_EQ(12, s.out.Tell());
    EXPECT_FALSE(escher.PatchAtOffset(0x80010001, 1));
    EXPECT_FALSE(escher.SeekToOffset(0x1));
    EXPECT_EQ(12, s.out.Tell());
    const std::vector<uint8_t> bytes = s.Bytes();
    EXPECT_EQ(0u, U32At(bytes, 0));
    EXPECT_EQ(0x12345678u, U32At(bytes, 4));
    EXPECT_EQ(0xFFFFFFFFu, U32At(bytes, 8));

    escher.ForgetOffset(0x80010000);
    EXPECT_FALSE(escher.HasOffset(0x80010000));
    escher.ShiftOffsets(35, 5);
    EXPECT_EQ(40u, escher.GetOffset(0x80030001));
}

namespace {

// A document container holding an 8-byte atom, a remembered point right
// after it, then a slide list with one atom; a master container after the
// document. Returns the insertion point.
uint32_t WriteSmallTree(EscherEx& escher, PPTOutStream& out)
{
    escher.BeginContainer(1000, 0);
    escher.WriteRecordHeader(8, 1001, 1, 0);
    out.WriteU32(1).WriteU32(2);
    const uint32_t point = escher.Tell();
    escher.RememberOffset(0x80080000, point);
    escher.BeginContainer(4080, 0);
    escher.WriteRecordHeader(4, 1011, 0, 0);
    escher.RememberOffset(0x80030000, escher.Tell());
    out.WriteU32(0xCAFE);
    escher.EndContainer();
    escher.EndContainer();
    escher.RememberOffset(0x80100000, escher.Tell());
    escher.BeginContainer(1016, 0);
    escher.WriteRecordHeader(4, 1007, 2, 0);
    out.WriteU32(0xBEEF);
    escher.EndContainer();
    escher.RememberOffset(0x81000000, escher.Tell());
    return point;
}

}  // namespace

TEST(EscherRecord, InsertGapGrowsTheEnclosingContainerAndMovesLaterOffsets)
{
    for (const bool expand : {true, false}) {
        StreamFixture s;
        EscherEx escher(s.out);
        const uint32_t point = WriteSmallTree(escher, s.out);
        const uint32_t slideRef = escher.GetOffset(0x80030000);
        const uint32_t master = escher.GetOffset(0x80100000);
        const uint32_t end = escher.GetOffset(0x81000000);

        escher.SeekToOffset(0x80080000);
        const uint32_t gap = 12;
        escher.InsertGap(gap, expand);
        EXPECT_EQ(point, escher.Tell());
        escher.WriteRecordHeader(4, 2000, 0, 0);
        s.out.WriteU32(0x5A5A5A5A);

        EXPECT_EQ(slideRef + gap, escher.GetOffset(0x80030000));
        EXPECT_EQ(master + gap, escher.GetOffset(0x80100000));
        EXPECT_EQ(end + gap, escher.GetOffset(0x81000000));
        // The point itself was at the insertion and moved too.
        EXPECT_EQ(point + gap, escher.GetOffset(0x80080000));

        const std::vector<uint8_t> bytes = s.Bytes();
        ASSERT_EQ(end + gap, bytes.size());
        PptRecord root;
        std::string error;
        // With expand the atom ending at the point keeps its length; without,
        // it takes the gap in and the tree no longer parses as written.
        EXPECT_EQ(8u, U32At(bytes, 12) - (expand ? 0 : gap));
        if (!expand)
            continue;
        ASSERT_TRUE(ParseTree(bytes, root, error)) << error;
        ASSERT_EQ(2u, root.children.size());
        const PptRecord& document = root.children[0];
        EXPECT_EQ(1000, document.type);
        EXPECT_EQ(16u + 12 + 20, document.length);
        ASSERT_EQ(3u, document.children.size());
        EXPECT_EQ(2000, document.children[1].type);
        EXPECT_EQ(0xCAFEu, U32At(bytes, escher.GetOffset(0x80030000)));
        EXPECT_EQ(1016, U16At(bytes, escher.GetOffset(0x80100000) + 2));
        EXPECT_EQ(0xBEEFu, U32At(bytes, root.children[1].Body() + 8));
    }
}

TEST(EscherRecord, InsertGapMovesALargeTailInPieces)
{
    StreamFixture s;
    EscherEx escher(s.out);
    escher.BeginContainer(1000, 0);
    escher.WriteRecordHeader(0, 1001, 1, 0);
    const uint32_t point = escher.Tell();
    const uint32_t tail = 3 * EscherEx::kMovePiece + 1234;
    std::vector<uint8_t> pattern(tail);
    for (uint32_t i = 0; i < tail; ++i)
        pattern[i] = static_cast<uint8_t>(i * 7 + (i >> 11));
    escher.WriteRecordHeader(tail, 1002, 0, 0);
    s.out.WriteBytes(pattern.data(), tail);
    escher.EndContainer();

    escher.GetStream().Seek(point);
    escher.InsertGap(16, true);
    s.out.WriteZeros(16);

    const std::vector<uint8_t> bytes = s.Bytes();
    ASSERT_EQ(8u + 8 + 16 + 8 + tail, bytes.size());
    EXPECT_EQ(0, std::memcmp(pattern.data(), bytes.data() + point + 16 + 8, tail));
    EXPECT_EQ(tail, U32At(bytes, point + 16 + 4));
    EXPECT_EQ(8u + 16 + 8 + tail, U32At(bytes, 4));
}
