// Tests of the buffered binary stream.
#include "framework/KWStream.h"

#include <gtest/gtest.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tests/framework/KWTestFiles.h"

namespace {

// A back end over a vector that records every call.
struct CountingBackend {
    std::vector<unsigned char> data;
    int32_t position = 0;
    std::vector<int32_t> writes;  // sizes of the write calls
    std::vector<int32_t> reads;   // sizes asked for by the read calls
    int32_t writeLimit = -1;      // when >= 0, writes store at most this many bytes in total
    bool closed = false;

    static int32_t Read(void* h, void* buf, int32_t n)
    {
        CountingBackend* b = static_cast<CountingBackend*>(h);
        b->reads.push_back(n);
        int32_t avail = static_cast<int32_t>(b->data.size()) - b->position;
        if (avail < 0)
            avail = 0;
        int32_t take = n < avail ? n : avail;
        if (take)
            std::memcpy(buf, b->data.data() + b->position, static_cast<size_t>(take));
        b->position += take;
        return take;
    }
    static int32_t Write(void* h, const void* buf, int32_t n)
    {
        CountingBackend* b = static_cast<CountingBackend*>(h);
        b->writes.push_back(n);
        int32_t put = n;
        if (b->writeLimit >= 0 && put > b->writeLimit - b->position)
            put = b->writeLimit - b->position;
        if (put < 0)
            put = 0;
        if (b->data.size() < static_cast<size_t>(b->position + put))
            b->data.resize(static_cast<size_t>(b->position + put));
        if (put)
            std::memcpy(b->data.data() + b->position, buf, static_cast<size_t>(put));
        b->position += put;
        return put;
    }
    static int64_t Seek(void* h, int64_t offset, int origin)
    {
        CountingBackend* b = static_cast<CountingBackend*>(h);
        int64_t pos = origin == 1 ? b->position + offset : origin == 2 ? static_cast<int64_t>(b->data.size()) + offset : offset;
        if (pos < 0)
            return -1;
        b->position = static_cast<int32_t>(pos);
        return pos;
    }
    static void Close(void* h) { static_cast<CountingBackend*>(h)->closed = true; }
};

const KWStreamBackend kCounting = {CountingBackend::Read, CountingBackend::Write, CountingBackend::Seek,
                                   CountingBackend::Close};

KWMemoryDescriptor* Mem(KWStream* s) { return static_cast<KWMemoryDescriptor*>(s->handle); }

std::vector<unsigned char> Pattern(size_t n)
{
    std::vector<unsigned char> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<unsigned char>(i * 7 + 3);
    return v;
}

}  // namespace

TEST(KWStream, ParsesModeStrings)
{
    const struct {
        const char* mode;
        uint32_t flags;
    } cases[] = {
        {"rb", KWSTREAM_MODE_READ | KWSTREAM_MODE_BINARY},
        {"wb", KWSTREAM_MODE_WRITE | KWSTREAM_MODE_CREATE | KWSTREAM_MODE_BINARY},
        {"rw", KWSTREAM_MODE_READ | KWSTREAM_MODE_WRITE | KWSTREAM_MODE_CREATE},
        {"r+", KWSTREAM_MODE_READ | KWSTREAM_MODE_WRITE},
        {"ab", KWSTREAM_MODE_APPEND | KWSTREAM_MODE_BINARY},
        {"b+", KWSTREAM_MODE_READ | KWSTREAM_MODE_WRITE | KWSTREAM_MODE_BINARY},
        {"xyz", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.flags, KWStreamParseMode(c.mode)) << c.mode;
}

TEST(KWStream, TheBufferGathersWritesAndReadsIntoBlocks)
{
    CountingBackend b;
    KWStream* s = KWStreamOpenBackend(&kCounting, &b, KWStreamParseMode("wb"));
    ASSERT_NE(s, nullptr);
    std::vector<unsigned char> data = Pattern(8193);
    EXPECT_EQ(KWStreamWrite(s, data.data(), 10), 10);
    EXPECT_TRUE(b.writes.empty());
    EXPECT_EQ(KWStreamGetPos(s), 10) << "the position counts what waits in the buffer";
    EXPECT_EQ(KWStreamWrite(s, data.data() + 10, 8183), 8183);
    EXPECT_EQ(b.writes, std::vector<int32_t>{8192}) << "one block and one byte: one full write";
    EXPECT_EQ(KWStreamFlush(s), 0);
    EXPECT_EQ(b.writes, (std::vector<int32_t>{8192, 1}));
    EXPECT_EQ(KWStreamClose(s), 0);
    EXPECT_TRUE(b.closed);
    EXPECT_EQ(b.data, data);

    CountingBackend small;
    s = KWStreamOpenBackend(&kCounting, &small, KWStreamParseMode("w+b"));
    for (uint32_t i = 0; i < 1000; ++i)
        KWStreamWrite(s, &i, 4);
    EXPECT_TRUE(small.writes.empty());
    KWStreamSeek(s, 0, KWSTREAM_SEEK_SET);
    EXPECT_EQ(small.writes, std::vector<int32_t>{4000}) << "a seek writes out the pending part";
    uint32_t v = 0;
    for (uint32_t i = 0; i < 1000; ++i) {
        ASSERT_EQ(KWStreamRead(s, &v, 4), 4);
        ASSERT_EQ(v, i);
    }
    EXPECT_EQ(small.reads, std::vector<int32_t>{8192});
    KWStreamClose(s);
}

TEST(KWStream, FileWriteOf8193BytesReachesTheFileAsOneBlockThenTheRestAtClose)
{
    CKWTestTempFile f;
    KWStream* s = KWStreamOpenFile(f.AnsiPath().c_str(), "wb");
    ASSERT_NE(s, nullptr);
    std::vector<unsigned char> data = Pattern(8193);
    EXPECT_EQ(KWStreamWrite(s, data.data(), 8193), 8193);
    EXPECT_EQ(f.Size(), 8192);
    EXPECT_EQ(KWStreamClose(s), 0);
    EXPECT_EQ(f.Size(), 8193);

    // A seek writes out the rest as well.
    s = KWStreamOpenFile(f.AnsiPath().c_str(), "wb");
    ASSERT_NE(s, nullptr);
    KWStreamWrite(s, data.data(), 8193);
    EXPECT_EQ(f.Size(), 8192);
    EXPECT_EQ(KWStreamSeek(s, 0, KWSTREAM_SEEK_SET), 0);
    EXPECT_EQ(f.Size(), 8193);
    KWStreamClose(s);

    s = KWStreamOpenFile(f.AnsiPath().c_str(), "rb");
    ASSERT_NE(s, nullptr);
    std::vector<unsigned char> back(9000);
    EXPECT_EQ(KWStreamRead(s, back.data(), 9000), 8193);
    EXPECT_TRUE(s->error & KWSTREAM_ERR_EOF);
    back.resize(8193);
    EXPECT_EQ(back, data);
    KWStreamClose(s);
}

TEST(KWStream, PositionAfterReadingOneByteOfALargeFileIsOne)
{
    CKWTestTempFile f;
    std::vector<unsigned char> data = Pattern(20000);
    ASSERT_TRUE(WriteFileBytes(f.Path(), std::string(data.begin(), data.end())));

    KWStream* s = KWStreamOpenFile(f.AnsiPath().c_str(), "rb");
    ASSERT_NE(s, nullptr);
    unsigned char c = 0;
    EXPECT_EQ(KWStreamRead(s, &c, 1), 1);
    EXPECT_EQ(c, data[0]);
    EXPECT_EQ(KWStreamGetPos(s), 1);
    EXPECT_EQ(::_lseek(*static_cast<int*>(s->handle), 0, SEEK_CUR), 8192);
    EXPECT_EQ(KWStreamLength(s), 20000);
    EXPECT_EQ(KWStreamGetPos(s), 1);  // the length keeps the position
    EXPECT_EQ(KWStreamRead(s, &c, 1), 1);
    EXPECT_EQ(c, data[1]);
    // A relative seek counts from the position the caller sees.
    EXPECT_EQ(KWStreamSeek(s, 100, KWSTREAM_SEEK_CUR), 102);
    EXPECT_EQ(KWStreamRead(s, &c, 1), 1);
    EXPECT_EQ(c, data[102]);
    KWStreamClose(s);
}

TEST(KWStream, GrowingMemoryDoublesFillsGapsWithZerosAndIsDetached)
{
    KWStream* s = KWStreamOpenMemory(nullptr, 0);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->mode, 11u);
    EXPECT_EQ(Mem(s)->capacity, 1024u);
    EXPECT_EQ(Mem(s)->growable, 1u);
    EXPECT_EQ(Mem(s)->owned, 1u);
    std::vector<unsigned char> data = Pattern(3000);
    EXPECT_EQ(KWStreamWrite(s, data.data(), 3000), 3000);
    EXPECT_EQ(Mem(s)->length, 0u) << "still in the buffer";
    EXPECT_EQ(KWStreamFlush(s), 0);
    EXPECT_EQ(Mem(s)->capacity, 4096u);
    EXPECT_EQ(KWStreamLength(s), 3000);
    EXPECT_EQ(KWStreamSeek(s, 3010, KWSTREAM_SEEK_SET), 3010);
    unsigned char x = 'x';
    KWStreamWrite(s, &x, 1);
    EXPECT_EQ(KWStreamLength(s), 3011);
    void* block = KWStreamDetachMemory(s);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(Mem(s)->owned, 0u);
    EXPECT_EQ(Mem(s)->growable, 0u);
    KWStreamClose(s);
    const unsigned char* d = static_cast<const unsigned char*>(block);
    EXPECT_EQ(std::memcmp(d, data.data(), 3000), 0);
    EXPECT_EQ(std::vector<unsigned char>(d + 3000, d + 3010), std::vector<unsigned char>(10, 0));
    EXPECT_EQ(d[3010], 'x') << "pending output was written before the block was handed out";
    std::free(block);

    // A block given without a size is not taken as the growing block.
    unsigned char small[2] = {1, 2};
    s = KWStreamOpenMemory(small, 0);
    EXPECT_NE(KWStreamGetBackendData(s), static_cast<void*>(small));
    EXPECT_EQ(KWStreamWrite(s, data.data(), 3000), 3000);
    EXPECT_EQ(KWStreamLength(s), 3000);
    KWStreamClose(s);
    EXPECT_EQ(small[0], 1);
}

TEST(KWStream, FixedMemoryBlockTakesOnlyItsSizeAndReportsTheRestAtFlush)
{
    unsigned char block[16];
    std::memset(block, 0xEE, sizeof block);
    KWStream* s = KWStreamOpenMemory(block, 16);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Mem(s)->growable, 0u);
    EXPECT_EQ(Mem(s)->owned, 0u);
    EXPECT_EQ(Mem(s)->length, 16u);  // existing data
    std::vector<unsigned char> data = Pattern(20);
    EXPECT_EQ(KWStreamWrite(s, data.data(), 20), 20);  // accepted into the buffer
    EXPECT_EQ(s->error, 0u);
    EXPECT_EQ(KWStreamFlush(s), -1);
    EXPECT_TRUE(s->error & KWSTREAM_ERR_IO);
    EXPECT_EQ(std::memcmp(block, data.data(), 16), 0);
    // While the error bit is set, nothing more is transferred, and a seek keeps it.
    EXPECT_EQ(KWStreamWrite(s, data.data(), 4), 0);
    KWStreamSeek(s, 0, KWSTREAM_SEEK_SET);
    EXPECT_TRUE(s->error & KWSTREAM_ERR_IO);
    KWStreamClose(s);
}

TEST(KWStream, MemorySeekRulesAndTheEndOfData)
{
    KWStream* empty = KWStreamOpenMemory(nullptr, 0);
    unsigned char buf[4];
    EXPECT_EQ(KWStreamRead(empty, buf, 4), 0);
    EXPECT_EQ(empty->error, static_cast<uint32_t>(KWSTREAM_ERR_EOF));
    EXPECT_EQ(KWStreamSeek(empty, 0, KWSTREAM_SEEK_SET), 0);
    EXPECT_EQ(empty->error, 0u) << "a seek clears the end of data";
    KWStreamClose(empty);

    unsigned char block[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    KWStream* s = KWStreamOpenMemory(block, 10);
    EXPECT_EQ(KWStreamSeek(s, 4, KWSTREAM_SEEK_SET), 4);
    EXPECT_EQ(KWStreamSeek(s, 2, KWSTREAM_SEEK_CUR), 6);
    EXPECT_EQ(KWStreamSeek(s, 3, KWSTREAM_SEEK_END), 7) << "the length minus the offset";
    unsigned char c = 0;
    EXPECT_EQ(KWStreamRead(s, &c, 1), 1);
    EXPECT_EQ(c, 7);
    EXPECT_EQ(KWStreamSeek(s, -100, KWSTREAM_SEEK_SET), -1);
    EXPECT_EQ(KWStreamGetPos(s), 8) << "a negative result leaves the position";
    KWStreamClose(s);
}

TEST(KWStream, ReadsExistingMemoryData)
{
    std::vector<unsigned char> data = Pattern(10000);
    KWStream* s = KWStreamOpenMemory(data.data(), 10000);
    std::vector<unsigned char> back(10000);
    EXPECT_EQ(KWStreamRead(s, back.data(), 5000), 5000);
    EXPECT_EQ(KWStreamGetPos(s), 5000);
    EXPECT_EQ(KWStreamRead(s, back.data() + 5000, 6000), 5000);
    EXPECT_EQ(back, data);
    EXPECT_EQ(KWStreamLength(s), 10000);
    KWStreamClose(s);
}

TEST(KWStream, ChangingDirectionWithoutASeekKeepsTheData)
{
    KWStream* s = KWStreamOpenMemory(nullptr, 0);
    unsigned char abcd[4] = {'a', 'b', 'c', 'd'};
    KWStreamWrite(s, abcd, 4);
    KWStreamSeek(s, 1, KWSTREAM_SEEK_SET);
    unsigned char c = 0;
    ASSERT_EQ(KWStreamRead(s, &c, 1), 1);
    EXPECT_EQ(c, 'b');
    unsigned char z = 'Z';
    EXPECT_EQ(KWStreamWrite(s, &z, 1), 1);  // overwrites 'c'
    EXPECT_EQ(KWStreamGetPos(s), 3);
    ASSERT_EQ(KWStreamRead(s, &c, 1), 1);
    EXPECT_EQ(c, 'd');
    EXPECT_EQ(KWStreamLength(s), 4);
    EXPECT_EQ(std::memcmp(KWStreamGetBackendData(s), "abZd", 4), 0);
    KWStreamClose(s);
}

TEST(KWStream, ReadOnlyModeRefusesWritesAndWriteOnlyRefusesReads)
{
    CKWTestTempFile f;
    ASSERT_TRUE(WriteFileBytes(f.Path(), "hello"));
    KWStream* s = KWStreamOpenFile(f.AnsiPath().c_str(), "rb");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->mode, static_cast<uint32_t>(KWSTREAM_MODE_READ | KWSTREAM_MODE_BINARY));
    EXPECT_EQ(KWStreamWrite(s, "x", 1), 0);
    EXPECT_EQ(KWStreamFlush(s), -1);
    char buf[8] = {};
    EXPECT_EQ(KWStreamRead(s, buf, 8), 5);
    EXPECT_STREQ(buf, "hello");
    EXPECT_EQ(KWStreamGetBackendData(s), nullptr) << "only memory has backend data";
    EXPECT_EQ(KWStreamDetachMemory(s), nullptr);
    KWStreamClose(s);
    EXPECT_EQ(f.Size(), 5);

    // "wb" truncates and refuses reads.
    s = KWStreamOpenFile(f.AnsiPath().c_str(), "wb");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(f.Size(), 0);
    EXPECT_EQ(KWStreamRead(s, buf, 1), 0);
    EXPECT_EQ(KWStreamWrite(s, "abc", 3), 3);
    KWStreamClose(s);
    EXPECT_EQ(f.Size(), 3);

    f.Remove();
    EXPECT_EQ(KWStreamOpenFile(f.AnsiPath().c_str(), "rb"), nullptr);
    EXPECT_EQ(KWStreamOpenFile(nullptr, "rb"), nullptr);
}

TEST(KWStream, ReadWriteModeTruncatesAndReadsBack)
{
    CKWTestTempFile f;
    ASSERT_TRUE(WriteFileBytes(f.Path(), "old content"));
    KWStream* s = KWStreamOpenFile(f.AnsiPath().c_str(), "rw");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(f.Size(), 0);
    EXPECT_EQ(KWStreamWrite(s, "new", 3), 3);
    EXPECT_EQ(KWStreamSeek(s, 0, KWSTREAM_SEEK_SET), 0);
    char buf[4] = {};
    EXPECT_EQ(KWStreamRead(s, buf, 3), 3);
    EXPECT_STREQ(buf, "new");
    KWStreamClose(s);
}

TEST(KWStream, BlockReadsTakeTheBufferFirstThenGoStraightToTheBackEnd)
{
    const std::vector<unsigned char> data = Pattern(50000);
    const struct {
        int32_t first;  // read through the buffer before the block
        int32_t block;
        std::vector<int32_t> reads;  // the back end's read calls
    } cases[] = {
        {0, 30000, {30000}},                  // straight through
        {100, 30000, {8192, 21908}},          // the buffer's rest, then the remainder
        {100, 50000, {8192, 41908, 8192}},  // past the end: the data there is, then end of data
        {100, 5000, {8192}},                  // smaller than a buffer: as a plain read
    };
    for (const auto& c : cases) {
        CountingBackend b;
        b.data = data;
        KWStream* s = KWStreamOpenBackend(&kCounting, &b, KWStreamParseMode("rb"));
        ASSERT_NE(s, nullptr);
        std::vector<unsigned char> back(static_cast<size_t>(c.first + c.block));
        if (c.first)
            ASSERT_EQ(KWStreamRead(s, back.data(), c.first), c.first);
        const int32_t expected = std::min<int32_t>(c.block, 50000 - c.first);
        EXPECT_EQ(KWStreamReadBlock(s, back.data() + c.first, c.block), expected) << c.first << "+" << c.block;
        back.resize(static_cast<size_t>(c.first + expected));
        EXPECT_TRUE(std::equal(back.begin(), back.end(), data.begin())) << c.first << "+" << c.block;
        EXPECT_EQ(b.reads, c.reads) << c.first << "+" << c.block;
        // What follows continues where the block ended.
        unsigned char next = 0;
        if (c.first + expected < 50000) {
            EXPECT_EQ(KWStreamRead(s, &next, 1), 1);
            EXPECT_EQ(next, data[static_cast<size_t>(c.first + expected)]);
        }
        KWStreamClose(s);
    }
}
