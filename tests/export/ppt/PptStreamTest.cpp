// The structured-storage stream wrapper and the memory stream.
#include <gtest/gtest.h>

#include "export/ppt/PPTOutStream.h"
#include "export/ppt/SvMemoryStream.h"
#include "tests/export/ppt/PptTestSupport.h"

TEST(PPTOutStream, KeepsTheFirstWriteFailure)
{
    PPTOutStream out;
    out.Attach(NewLimitedStream(6));
    out.WriteU32(1);
    EXPECT_FALSE(out.Failed());
    out.WriteU32(2);  // only 2 bytes of room
    EXPECT_TRUE(out.Failed());
    EXPECT_EQ(STG_E_MEDIUMFULL, out.GetError());
    out.Seek(0);
    EXPECT_EQ(S_OK, out.GetLastResult());
    EXPECT_EQ(STG_E_MEDIUMFULL, out.GetError());

    // A new stream starts clean.
    out.Attach(NewMemoryStream());
    EXPECT_FALSE(out.Failed());

    // Without a stream every call fails.
    PPTOutStream none;
    none.WriteU8(1);
    EXPECT_TRUE(none.Failed());
    EXPECT_EQ(-1, none.Tell());
}

TEST(SvMemoryStream, GrowsByItsSizeOrTheGrowthStep)
{
    const struct {
        uint32_t initial, growth, write, expectedBuffer;
    } cases[] = {
        {512, 64, 513, 1024},   // doubled
        {16, 64, 20, 80},       // by the growth step
        {16, 64, 100, 164},     // 84 missing, at least the step: added on top
        {0, 64, 10, 64},
    };
    for (const auto& c : cases) {
        SvMemoryStream stream(c.initial, c.growth);
        std::vector<uint8_t> data(c.write, 0x5A);
        EXPECT_EQ(c.write, stream.Write(data.data(), c.write));
        EXPECT_EQ(c.expectedBuffer, stream.GetBufferSize()) << c.initial << " " << c.write;
        EXPECT_EQ(c.write, stream.GetSize());
        EXPECT_EQ(0u, stream.GetError());
    }
}

TEST(SvMemoryStream, WithoutGrowthWritesWhatFitsAndSeeksKeepToTheData)
{
    SvMemoryStream fixed(8, 0);
    const uint8_t data[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(8u, fixed.Write(data, 12));
    EXPECT_EQ(2321u, fixed.GetError());
    EXPECT_EQ(0u, fixed.Write(data, 1));  // the error stays
    EXPECT_EQ(8u, fixed.Seek(20));        // beyond the data: its end

    SvMemoryStream growing(4, 64);
    growing.WriteU32(0x04030201);
    EXPECT_EQ(100u, growing.Seek(100));
    EXPECT_EQ(100u, growing.GetSize());
    growing.WriteU32(0xFFFFFFFF);
    for (uint32_t i = 4; i < 100; ++i)
        ASSERT_EQ(0, growing.GetData()[i]) << i;
    EXPECT_EQ(104u, growing.Seek(CGStream::kEnd));
    uint8_t two[2];
    growing.Seek(103);
    EXPECT_EQ(1u, growing.Read(two, 2));
}
