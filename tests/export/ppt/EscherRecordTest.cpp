// Insertion into the middle of a record stream: the enclosing containers grow
// and later offsets move. (The records themselves are pinned byte for byte by
// the writer's golden streams.)
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
