// Tests of the binary archive records.
#include "framework/KWArchive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/framework/KWTestFiles.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// Runs a store into a growing memory archive and returns the bytes.
Bytes Store(const std::function<void(CKWArchive&)>& body)
{
    CKWArchive ar(nullptr, 0, CKWArchive::kStore);
    EXPECT_TRUE(ar.IsStoring());
    body(ar);
    void* data = nullptr;
    uint32_t length = 0;
    if (!ar.FinishMemory(data, length))
        return Bytes();
    const unsigned char* p = static_cast<const unsigned char*>(data);
    return Bytes(p, p + length);
}

void PutU32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void PutUtf16(Bytes& b, const wchar_t* s)
{
    for (; *s; ++s) {
        b.push_back(static_cast<unsigned char>(*s & 0xFF));
        b.push_back(static_cast<unsigned char>(*s >> 8));
    }
}

Bytes LinkedHeader(uint8_t tag, uint32_t end, uint32_t first, uint32_t next)
{
    Bytes b{tag};
    PutU32(b, end);
    PutU32(b, first);
    PutU32(b, next);
    return b;
}

Bytes PlainHeader(uint8_t tag, uint32_t end)
{
    Bytes b{tag};
    PutU32(b, end);
    return b;
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

uint32_t U32At(const Bytes& b, size_t at)
{
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
           (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// A loading archive over a copy of the bytes (the archive does not own them).
struct Loader {
    Bytes data;
    CKWArchive ar;
    explicit Loader(const Bytes& b)
        : data(b), ar(data.empty() ? nullptr : data.data(), static_cast<uint32_t>(data.size()), CKWArchive::kLoad)
    {
    }
    int32_t Pos() { return KWStreamGetPos(ar.GetStream()); }
};

}  // namespace

// ---- Storing: the exact byte format ----------------------------------------

TEST(KWArchiveStore, EmptyLinkedRecord)
{
    Bytes b = Store([](CKWArchive& ar) {
        EXPECT_TRUE(ar.BeginRecord(3));
        ar.EndRecord();
    });
    EXPECT_EQ(b, (Bytes{0x03, 0x0D, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(KWArchiveStore, PlainRecordHoldingAU32)
{
    Bytes b = Store([](CKWArchive& ar) {
        EXPECT_TRUE(ar.BeginRecord(200));
        ar.WriteU32(7);
        ar.EndRecord();
    });
    EXPECT_EQ(b, (Bytes{0xC8, 0x09, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00}));
}

TEST(KWArchiveStore, LinkedRecordWithTwoChildren)
{
    Bytes b = Store([](CKWArchive& ar) {
        ar.BeginRecord(1);  // A
        ar.BeginRecord(2);  // B
        ar.EndRecord();
        ar.BeginRecord(2);  // C
        ar.EndRecord();
        ar.EndRecord();
    });
    Bytes expected = Cat({LinkedHeader(1, 39, 13, 0xFFFFFFFF), LinkedHeader(2, 26, 0xFFFFFFFF, 26),
                          LinkedHeader(2, 39, 0xFFFFFFFF, 0xFFFFFFFF)});
    EXPECT_EQ(b, expected);
}

TEST(KWArchiveStore, NestedLinkedRecordsAndTopLevelSiblings)
{
    // A{B{C}} D: B is A's first, C is B's first; C and B keep no next link;
    // A's next is D.
    Bytes b = Store([](CKWArchive& ar) {
        ar.BeginRecord(1);  // A at 0
        ar.BeginRecord(2);  // B at 13
        ar.BeginRecord(3);  // C at 26
        ar.EndRecord();
        ar.EndRecord();
        ar.EndRecord();
        ar.BeginRecord(4);  // D at 39
        ar.WriteU8(0x55);
        ar.EndRecord();
    });
    Bytes expected = Cat({LinkedHeader(1, 39, 13, 39), LinkedHeader(2, 39, 26, 0xFFFFFFFF),
                          LinkedHeader(3, 39, 0xFFFFFFFF, 0xFFFFFFFF), LinkedHeader(4, 53, 0xFFFFFFFF, 0xFFFFFFFF),
                          Bytes{0x55}});
    EXPECT_EQ(b, expected);
}

TEST(KWArchiveStore, LinkedRecordEndingInsideAPlainRecordGetsTheNextLinkedRecordOpenedAfter)
{
    // A(1){ P(200){ B(2) } C(2) }: B ends inside P and waits for its next link
    // when P ends; C, opened after, becomes it.
    Bytes b = Store([](CKWArchive& ar) {
        ar.BeginRecord(1);    // A at 0
        ar.BeginRecord(200);  // P at 13
        ar.BeginRecord(2);    // B at 18
        ar.EndRecord();
        ar.EndRecord();
        ar.BeginRecord(2);  // C at 31
        ar.EndRecord();
        ar.EndRecord();
    });
    Bytes expected = Cat({LinkedHeader(1, 44, 18, 0xFFFFFFFF), PlainHeader(200, 31), LinkedHeader(2, 31, 0xFFFFFFFF, 31),
                          LinkedHeader(2, 44, 0xFFFFFFFF, 0xFFFFFFFF)});
    EXPECT_EQ(b, expected);
}

TEST(KWArchiveStore, LinkedRecordInsideATopLevelPlainRecordLinksToTheNextTopLevelOne)
{
    Bytes b = Store([](CKWArchive& ar) {
        ar.BeginRecord(200);  // P at 0
        ar.BeginRecord(2);    // B at 5
        ar.EndRecord();
        ar.EndRecord();
        ar.WriteU8(0xAA);   // 18
        ar.BeginRecord(7);  // C at 19
        ar.EndRecord();
    });
    Bytes expected = Cat({PlainHeader(200, 18), LinkedHeader(2, 18, 0xFFFFFFFF, 19), Bytes{0xAA},
                          LinkedHeader(7, 32, 0xFFFFFFFF, 0xFFFFFFFF)});
    EXPECT_EQ(b, expected);
}

TEST(KWArchiveStore, Strings)
{
    Bytes bytes = Store([](CKWArchive& ar) { ar.WriteString(std::wstring(L"abc")); });
    EXPECT_EQ(bytes, (Bytes{0x06, 0, 0, 0, 0x61, 0, 0x62, 0, 0x63, 0}));
    Bytes chars = Store([](CKWArchive& ar) { ar.WriteStringChars(std::wstring(L"abc")); });
    EXPECT_EQ(chars, (Bytes{0x03, 0, 0, 0, 0x61, 0, 0x62, 0, 0x63, 0}));
    Bytes fromCString = Store([](CKWArchive& ar) { ar.WriteString(CString(L"abc")); });
    EXPECT_EQ(fromCString, bytes);
    Bytes fromLiteral = Store([](CKWArchive& ar) { ar.WriteStringChars(L"abc"); });
    EXPECT_EQ(fromLiteral, chars);
    Bytes empty = Store([](CKWArchive& ar) {
        ar.WriteString(std::wstring());
        ar.WriteStringChars(std::wstring());
    });
    EXPECT_EQ(empty, (Bytes{0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(KWArchiveStore, ScalarsAreRawLittleEndian)
{
    Bytes b = Store([](CKWArchive& ar) {
        ar.WriteU8(0x12);
        ar.WriteU16(0x3456);
        ar.WriteU32(0x789ABCDE);
        ar.WriteI32(-2);
        ar.WriteU64(0x0102030405060708ull);
        ar.WriteDouble(1.0);
        ar.WriteFloat(1.0f);
        ar.WriteByte(0xFE);
    });
    Bytes expected{0x12, 0x56, 0x34, 0xDE, 0xBC, 0x9A, 0x78, 0xFE, 0xFF, 0xFF, 0xFF, 0x08, 0x07, 0x06, 0x05, 0x04,
                   0x03, 0x02, 0x01, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0, 0x80, 0x3F, 0xFE};
    EXPECT_EQ(b, expected);
}

TEST(KWArchiveStore, CloseWritesTheLastPendingLinkedRecordAndDetachHandsOutTheBlock)
{
    CKWArchive ar(nullptr, 0, CKWArchive::kStore);
    ar.BeginRecord(9);
    ar.WriteU32(1);
    ar.EndRecord();
    EXPECT_EQ(ar.GetPendingRecords().size(), 1u);  // waits for a next link
    void* data = nullptr;
    uint32_t length = 0;
    ASSERT_TRUE(ar.FinishMemory(data, length));
    EXPECT_TRUE(ar.GetPendingRecords().empty());
    EXPECT_EQ(length, 17u);
    uint32_t detachedLength = 0;
    void* block = ar.DetachMemory(detachedLength);
    ASSERT_EQ(block, data);
    EXPECT_EQ(detachedLength, 17u);
    ar.Close();
    Bytes b(static_cast<unsigned char*>(block), static_cast<unsigned char*>(block) + 17);
    std::free(block);
    EXPECT_EQ(b, Cat({LinkedHeader(9, 17, 0xFFFFFFFF, 0xFFFFFFFF), Bytes{1, 0, 0, 0}}));
}

TEST(KWArchiveStore, ReadingFromAStoringArchiveThrows)
{
    CKWArchive ar(nullptr, 0, CKWArchive::kStore);
    ar.WriteU32(1);
    EXPECT_THROW(ar.ReadU32(), CKWArchiveException);
    std::wstring s;
    EXPECT_THROW(ar.ReadString(s), CKWArchiveException);
}

TEST(KWArchiveLoad, WritingToALoadingArchiveChangesNothing)
{
    Bytes b{1, 2, 3, 4};
    CKWArchive ar(b.data(), 4, CKWArchive::kLoad);
    ar.WriteU32(0xFFFFFFFF);
    ar.Close();
    EXPECT_EQ(b, (Bytes{1, 2, 3, 4}));
}

TEST(KWArchiveStore, FinishMemoryOfAnEmptyArchiveIsFalse)
{
    CKWArchive ar(nullptr, 0, CKWArchive::kStore);
    void* data = nullptr;
    uint32_t length = 0;
    EXPECT_FALSE(ar.FinishMemory(data, length));
}

TEST(KWArchiveStore, LargeStoreCrossesTheBufferAndPatchesEarlierHeaders)
{
    std::wstring big(10000, L'x');
    Bytes b = Store([&](CKWArchive& ar) {
        ar.BeginRecord(1);
        ar.BeginRecord(2);
        ar.WriteString(big);
        ar.EndRecord();
        ar.BeginRecord(2);
        ar.EndRecord();
        ar.EndRecord();
    });
    ASSERT_EQ(b.size(), 13u + 13u + 4u + 20000u + 13u);
    EXPECT_EQ(U32At(b, 1), b.size());        // A's end
    EXPECT_EQ(U32At(b, 5), 13u);             // A's first
    EXPECT_EQ(U32At(b, 13 + 1), 20030u);     // B's end
    EXPECT_EQ(U32At(b, 13 + 9), 20030u);     // B's next = C
    EXPECT_EQ(U32At(b, 20030 + 1), 20043u);  // C's end
}

// ---- Loading ---------------------------------------------------------------

TEST(KWArchiveLoad, AbsentTagLeavesThePositionUnchanged)
{
    Bytes b = Store([](CKWArchive& ar) {
        ar.BeginRecord(6);
        ar.WriteU32(42);
        ar.EndRecord();
    });
    Loader l(b);
    EXPECT_TRUE(l.ar.IsLoading());
    EXPECT_FALSE(l.ar.BeginRecord(5));
    EXPECT_EQ(l.Pos(), 0);
    EXPECT_TRUE(l.ar.GetPendingRecords().empty());
    ASSERT_TRUE(l.ar.BeginRecord(6));
    EXPECT_EQ(l.ar.ReadU32(), 42u);
    l.ar.EndRecord();
    EXPECT_EQ(l.Pos(), 17);
}

TEST(KWArchiveLoad, EndRecordSkipsUnreadFields)
{
    Bytes b = Store([](CKWArchive& ar) {
        ar.BeginRecord(130);
        ar.WriteU32(1);
        ar.WriteU32(2);
        ar.EndRecord();
        ar.WriteU32(3);
    });
    Loader l(b);
    ASSERT_TRUE(l.ar.BeginRecord(130));
    EXPECT_EQ(l.ar.ReadU32(), 1u);
    l.ar.EndRecord();
    EXPECT_EQ(l.ar.ReadU32(), 3u);
}

TEST(KWArchiveLoad, ReadingPastARecordsEndThrows)
{
    Bytes b = Store([](CKWArchive& ar) {
        ar.BeginRecord(10);
        ar.WriteU32(1);
        ar.WriteU32(2);
        ar.EndRecord();
        ar.WriteU32(3);
    });
    Loader l(b);
    ASSERT_TRUE(l.ar.BeginRecord(10));
    EXPECT_EQ(l.ar.ReadU32(), 1u);
    EXPECT_EQ(l.ar.ReadU32(), 2u);
    EXPECT_THROW(l.ar.ReadU32(), CKWArchiveException);
    uint32_t v = 0;
    EXPECT_THROW(l.ar.ArchiveReadBytes(&v, 4), CKWArchiveException);
    EXPECT_THROW(l.ar.CheckRead(1), CKWArchiveException);
    try {
        l.ar.ReadByte();
        ADD_FAILURE() << "no exception";
    } catch (const CKWArchiveException& e) {
        EXPECT_EQ(e.GetCode(), 0);
    }
}

TEST(KWArchiveLoad, ProbingForARecordWhenTheEnclosingRecordIsUsedUpThrows)
{
    Bytes b = Store([](CKWArchive& ar) {
        ar.BeginRecord(10);
        ar.EndRecord();
    });
    Loader l(b);
    ASSERT_TRUE(l.ar.BeginRecord(10));
    EXPECT_THROW(l.ar.BeginRecord(11), CKWArchiveException);
}

TEST(KWArchiveLoad, ProbingAtTheEndOfTheDataOutsideRecordsIsAbsent)
{
    Bytes b = Store([](CKWArchive& ar) { ar.WriteU8(1); });
    Loader l(b);
    EXPECT_EQ(l.ar.ReadU8(), 1u);
    EXPECT_FALSE(l.ar.BeginRecord(3));
    EXPECT_FALSE(l.ar.BeginRecord(200));
    EXPECT_EQ(l.ar.ReadByte(), -1);
    // A typed read the data cannot supply is a failed load.
    EXPECT_THROW(l.ar.ReadU32(), CKWArchiveException);
}

TEST(KWArchiveLoad, RoundTripOfNestedRecordsScalarsAndStrings)
{
    Bytes b = Store([](CKWArchive& ar) {
        ar.BeginRecord(1);
        ar.WriteString(std::wstring(L"h\u00e9llo \u4e16"));
        ar.BeginRecord(2);
        ar.WriteDouble(3.25);
        ar.WriteU64(0xFFFFFFFF00000001ull);
        ar.EndRecord();
        ar.BeginRecord(150);
        ar.WriteStringChars(CString(L"chars"));
        ar.WriteU16(0xBEEF);
        ar.WriteFloat(-0.5f);
        ar.EndRecord();
        ar.WriteI32(-7);
        ar.EndRecord();
    });
    Loader l(b);
    ASSERT_TRUE(l.ar.BeginRecord(1));
    std::wstring s;
    l.ar.ReadString(s);
    EXPECT_EQ(s, L"h\u00e9llo \u4e16");
    ASSERT_TRUE(l.ar.BeginRecord(2));
    EXPECT_EQ(l.ar.ReadDouble(), 3.25);
    EXPECT_EQ(l.ar.ReadU64(), 0xFFFFFFFF00000001ull);
    l.ar.EndRecord();
    EXPECT_FALSE(l.ar.BeginRecord(151));
    ASSERT_TRUE(l.ar.BeginRecord(150));
    CString cs;
    l.ar.ReadStringChars(cs);
    EXPECT_STREQ(cs.GetString(), L"chars");
    EXPECT_EQ(l.ar.ReadU16(), 0xBEEF);
    EXPECT_EQ(l.ar.ReadFloat(), -0.5f);
    l.ar.EndRecord();
    EXPECT_EQ(l.ar.ReadI32(), -7);
    l.ar.EndRecord();
    EXPECT_EQ(l.Pos(), static_cast<int32_t>(b.size()));
}

TEST(KWArchiveLoad, StringEncodings)
{
    Bytes b{0x06, 0, 0, 0, 0x61, 0, 0x62, 0, 0x63, 0, 0x03, 0, 0, 0, 0x61, 0, 0x62, 0, 0x63, 0};
    Loader l(b);
    std::wstring s = L"old";
    l.ar.ReadString(s);
    EXPECT_EQ(s, L"abc");
    CString c(L"old");
    l.ar.ReadStringChars(c);
    EXPECT_STREQ(c.GetString(), L"abc");
}

TEST(KWArchiveLoad, ZeroCountsEmptyAndCharCountAllOnesKeepsTheText)
{
    Bytes b;
    PutU32(b, 0);
    PutU32(b, 0);
    PutU32(b, 0xFFFFFFFF);
    PutU32(b, 0xFFFFFFFF);
    Loader l(b);
    std::wstring s = L"keep";
    l.ar.ReadString(s);
    EXPECT_TRUE(s.empty());
    s = L"keep";
    l.ar.ReadStringChars(s);
    EXPECT_TRUE(s.empty());
    s = L"keep";
    l.ar.ReadStringChars(s);
    EXPECT_EQ(s, L"keep");
    CString c(L"keep");
    l.ar.ReadStringChars(c);
    EXPECT_STREQ(c.GetString(), L"keep");
}

TEST(KWArchiveLoad, OddByteCountReadsTheWholeCharacters)
{
    Bytes b;
    PutU32(b, 5);
    PutUtf16(b, L"ab");
    b.push_back(0x77);
    Loader l(b);
    std::wstring s;
    l.ar.ReadString(s);
    EXPECT_EQ(s, L"ab");
    EXPECT_EQ(l.ar.ReadU8(), 0x77);
}

// ---- Crafted data ----------------------------------------------------------

// A string of count, "abcd", read by both readers; inside a plain record of
// 8 data bytes followed by 64 more when inRecord.
static void ExpectStringThrows(uint32_t count, bool chars, bool inRecord)
{
    Bytes b = inRecord ? PlainHeader(200, 5 + 4 + 8) : Bytes();
    PutU32(b, count);
    PutUtf16(b, L"abcd");
    if (inRecord)
        b.insert(b.end(), 64, 0);  // data beyond the record
    Loader l(b);
    if (inRecord) {
        ASSERT_TRUE(l.ar.BeginRecord(200));
    }
    std::wstring s;
    if (chars) {
        EXPECT_THROW(l.ar.ReadStringChars(s), CKWArchiveException) << std::hex << count;
    } else {
        EXPECT_THROW(l.ar.ReadString(s), CKWArchiveException) << std::hex << count;
    }
}

TEST(KWArchiveCrafted, HugeStringCountsInsideARecordThrow)
{
    for (uint32_t count : {0x80000000u, 0x80000002u, 0xFFFFFFFEu, 0xFFFFFFFFu, 0x7FFFFFFFu, 14u})
        ExpectStringThrows(count, false, true);
    for (uint32_t count : {0x80000000u, 0x80000001u, 0xFFFFFFFEu, 5u})
        ExpectStringThrows(count, true, true);
}

TEST(KWArchiveCrafted, StringCountsOutsideRecordsAreBoundByTheData)
{
    for (uint32_t count : {0x80000000u, 0xFFFFFFFEu, 10u})
        ExpectStringThrows(count, false, false);
    for (uint32_t count : {0x80000000u, 0x80000001u, 5u})
        ExpectStringThrows(count, true, false);
    // Exactly what remains is fine.
    Bytes b;
    PutU32(b, 8);
    PutUtf16(b, L"abcd");
    Loader l(b);
    std::wstring s;
    l.ar.ReadString(s);
    EXPECT_EQ(s, L"abcd");
}

TEST(KWArchiveCrafted, RecordEndBeforeItsHeaderThrows)
{
    for (uint32_t end : {0u, 4u, 12u}) {
        Bytes b = LinkedHeader(3, end, 0xFFFFFFFF, 0xFFFFFFFF);
        Loader l(b);
        EXPECT_THROW(l.ar.BeginRecord(3), CKWArchiveException) << end;
    }
    Bytes b = PlainHeader(200, 4);
    Loader l(b);
    EXPECT_THROW(l.ar.BeginRecord(200), CKWArchiveException);
}

TEST(KWArchiveCrafted, RecordEndBeyondTheDataThrows)
{
    for (uint32_t end : {14u, 1000u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        Bytes b = LinkedHeader(3, end, 0xFFFFFFFF, 0xFFFFFFFF);
        Loader l(b);
        EXPECT_THROW(l.ar.BeginRecord(3), CKWArchiveException) << end;
    }
    Bytes ok = LinkedHeader(3, 13, 0xFFFFFFFF, 0xFFFFFFFF);
    Loader l(ok);
    EXPECT_TRUE(l.ar.BeginRecord(3));
}

TEST(KWArchiveCrafted, NestedRecordEndBeyondTheEnclosingEndThrows)
{
    // Outer plain record ends at 5 + 5 + 4 = 14; the inner one claims 18.
    Bytes b = Cat({PlainHeader(200, 14), PlainHeader(201, 18), Bytes(8, 0)});
    Loader l(b);
    ASSERT_TRUE(l.ar.BeginRecord(200));
    EXPECT_THROW(l.ar.BeginRecord(201), CKWArchiveException);
}

TEST(KWArchiveCrafted, MismatchedTagWithAnyEndIsOnlyAbsent)
{
    Bytes b = PlainHeader(201, 0xFFFFFFFF);
    Loader l(b);
    EXPECT_FALSE(l.ar.BeginRecord(200));
    EXPECT_EQ(l.Pos(), 0);
}

TEST(KWArchiveCrafted, TruncatedHeaderThrows)
{
    Bytes b{0xC8, 0x09, 0x00};
    Loader l(b);
    EXPECT_THROW(l.ar.BeginRecord(200), CKWArchiveException);
}

// ---- Files -----------------------------------------------------------------

TEST(KWArchiveFile, StoresAndLoadsAFile)
{
    CKWTestTempFile f;
    {
        CKWArchive ar(f.Path().c_str(), CKWArchive::kStore);
        ASSERT_TRUE(ar.IsOpen());
        EXPECT_TRUE(ar.IsFileBased());
        EXPECT_EQ(ar.GetFileName(), f.Path());
        void* data = nullptr;
        uint32_t length = 0;
        ar.BeginRecord(3);
        EXPECT_FALSE(ar.FinishMemory(data, length));
        ar.EndRecord();
        EXPECT_EQ(ar.DetachMemory(length), nullptr);
        ar.Close();
        EXPECT_TRUE(ar.GetFileName().empty());
        EXPECT_FALSE(ar.IsOpen());
    }
    EXPECT_EQ(f.Size(), 13);
    CKWArchive ar(f.Path().c_str(), CKWArchive::kLoad);
    ASSERT_TRUE(ar.IsOpen());
    EXPECT_TRUE(ar.BeginRecord(3));
    ar.EndRecord();
    EXPECT_FALSE(ar.BeginRecord(3));
}

TEST(KWArchiveFile, MissingFileOrUnrepresentableNameHasNoStream)
{
    CKWTestTempFile f;
    f.Remove();
    CKWArchive missing(f.Path().c_str(), CKWArchive::kLoad);
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_FALSE(missing.BeginRecord(1));

    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    std::wstring name = std::wstring(dir) + L"kw\u4e16\u754c.bin";  // not in code page 1252
    CKWArchive odd(name.c_str(), CKWArchive::kStore);
    EXPECT_FALSE(odd.IsOpen());
    ::DeleteFileW(name.c_str());
}

TEST(KWArchiveFile, ExceptionAroundAWholeLoadLeavesNothingBehind)
{
    // The caller's pattern: catch around the whole load, then destroy the archive.
    Bytes b = PlainHeader(200, 9);
    PutU32(b, 1);
    bool failed = false;
    try {
        CKWArchive ar(b.data(), static_cast<uint32_t>(b.size()), CKWArchive::kLoad);
        ar.BeginRecord(200);
        ar.ReadU32();
        ar.ReadU32();
    } catch (const CKWArchiveException&) {
        failed = true;
    }
    EXPECT_TRUE(failed);
}
