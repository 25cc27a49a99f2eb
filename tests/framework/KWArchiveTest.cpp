// Tests of the binary archive records.
#include "framework/KWArchive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/framework/KWTestBytes.h"
#include "tests/framework/KWTestFiles.h"

using namespace kwbytes;

namespace {

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

uint32_t U32At(const Bytes& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

}  // namespace

TEST(KWArchiveStore, RecordsLinksScalarsAndStringsByteForByte)
{
    const struct {
        const char* name;
        std::function<void(CKWArchive&)> body;
        Bytes expected;
    } cases[] = {
        {"empty linked record", [](CKWArchive& ar) { EXPECT_TRUE(ar.BeginRecord(3)); ar.EndRecord(); },
         Writer().Linked(3, 13)},
        {"plain record holding a u32", [](CKWArchive& ar) { ar.BeginRecord(200); ar.WriteU32(7); ar.EndRecord(); },
         Writer().Plain(200, 9).U32(7)},
        {"two children: the first links to the second",
         [](CKWArchive& ar) {
             ar.BeginRecord(1);
             ar.BeginRecord(2);
             ar.EndRecord();
             ar.BeginRecord(2);
             ar.EndRecord();
             ar.EndRecord();
         },
         Writer().Linked(1, 39, 13).Linked(2, 26, kNoLink, 26).Linked(2, 39)},
        {"A{B{C}} D: first links down, A's next is D",
         [](CKWArchive& ar) {
             ar.BeginRecord(1);
             ar.BeginRecord(2);
             ar.BeginRecord(3);
             ar.EndRecord();
             ar.EndRecord();
             ar.EndRecord();
             ar.BeginRecord(4);
             ar.WriteU8(0x55);
             ar.EndRecord();
         },
         Writer().Linked(1, 39, 13, 39).Linked(2, 39, 26).Linked(3, 39).Linked(4, 53).U8(0x55)},
        {"A{P{B} C}: B, ended inside the plain P, links to C opened after",
         [](CKWArchive& ar) {
             ar.BeginRecord(1);
             ar.BeginRecord(200);
             ar.BeginRecord(2);
             ar.EndRecord();
             ar.EndRecord();
             ar.BeginRecord(2);
             ar.EndRecord();
             ar.EndRecord();
         },
         Writer().Linked(1, 44, 18).Plain(200, 31).Linked(2, 31, kNoLink, 31).Linked(2, 44)},
        {"P{B} x C at the top: B links to C",
         [](CKWArchive& ar) {
             ar.BeginRecord(200);
             ar.BeginRecord(2);
             ar.EndRecord();
             ar.EndRecord();
             ar.WriteU8(0xAA);
             ar.BeginRecord(7);
             ar.EndRecord();
         },
         Writer().Plain(200, 18).Linked(2, 18, kNoLink, 19).U8(0xAA).Linked(7, 32)},
        {"strings by bytes and by characters, from every source type",
         [](CKWArchive& ar) {
             ar.WriteString(std::wstring(L"abc"));
             ar.WriteString(CString(L"abc"));
             ar.WriteStringChars(std::wstring(L"abc"));
             ar.WriteStringChars(L"abc");
             ar.WriteString(std::wstring());
             ar.WriteStringChars(std::wstring());
         },
         Writer().String(L"abc").String(L"abc").U32(3).Utf16(L"abc").U32(3).Utf16(L"abc").U32(0).U32(0)},
        {"scalars raw little-endian",
         [](CKWArchive& ar) {
             ar.WriteU8(0x12);
             ar.WriteU16(0x3456);
             ar.WriteU32(0x789ABCDE);
             ar.WriteI32(-2);
             ar.WriteU64(0x0102030405060708ull);
             ar.WriteDouble(1.0);
             ar.WriteFloat(1.0f);
             ar.WriteByte(0xFE);
         },
         Writer().U8(0x12).U16(0x3456).U32(0x789ABCDE).U32(0xFFFFFFFE).U64(0x0102030405060708ull).F64(1.0).F32(1.0f).U8(
             0xFE)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, Stored(c.body)) << c.name;
}

TEST(KWArchiveStore, FinishDetachAndTheWrongDirection)
{
    CKWArchive ar(nullptr, 0, CKWArchive::kStore);
    void* data = nullptr;
    uint32_t length = 0;
    EXPECT_FALSE(ar.FinishMemory(data, length)) << "nothing stored";
    ar.BeginRecord(9);
    ar.WriteU32(1);
    ar.EndRecord();
    EXPECT_EQ(ar.GetPendingRecords().size(), 1u) << "waits for a next link";
    EXPECT_THROW(ar.ReadU32(), CKWArchiveException) << "a storing archive does not read";
    ASSERT_TRUE(ar.FinishMemory(data, length));
    EXPECT_TRUE(ar.GetPendingRecords().empty());
    uint32_t detachedLength = 0;
    void* block = ar.DetachMemory(detachedLength);
    ASSERT_EQ(block, data);
    ar.Close();
    EXPECT_EQ(Bytes(static_cast<uint8_t*>(block), static_cast<uint8_t*>(block) + detachedLength),
              Writer().Linked(9, 17).U32(1).b);
    std::free(block);

    Bytes b{1, 2, 3, 4};
    CKWArchive loading(b.data(), 4, CKWArchive::kLoad);
    loading.WriteU32(0xFFFFFFFF);
    loading.Close();
    EXPECT_EQ(b, (Bytes{1, 2, 3, 4})) << "a loading archive does not write";
}

TEST(KWArchiveStore, LargeStoreCrossesTheBufferAndPatchesEarlierHeaders)
{
    const std::wstring big(10000, L'x');
    Bytes b = Stored([&](CKWArchive& ar) {
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

TEST(KWArchiveLoad, ProbesSkipsAndRoundTrips)
{
    Bytes b = Stored([](CKWArchive& ar) {
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
        ar.WriteU32(99);  // never read: skipped by EndRecord
        ar.EndRecord();
        ar.WriteI32(-7);
        ar.EndRecord();
        ar.WriteU8(1);
    });
    Loader l(b);
    EXPECT_TRUE(l.ar.IsLoading());
    EXPECT_FALSE(l.ar.BeginRecord(5)) << "another tag";
    EXPECT_EQ(l.Pos(), 0) << "an absent tag leaves the position";
    EXPECT_TRUE(l.ar.GetPendingRecords().empty());
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
    EXPECT_EQ(l.ar.ReadU8(), 1u);
    EXPECT_EQ(l.Pos(), static_cast<int32_t>(b.size()));
    // At the end of the data outside records: absent, -1, and a typed read throws.
    EXPECT_FALSE(l.ar.BeginRecord(3));
    EXPECT_FALSE(l.ar.BeginRecord(200));
    EXPECT_EQ(l.ar.ReadByte(), -1);
    EXPECT_THROW(l.ar.ReadU32(), CKWArchiveException);
}

TEST(KWArchiveLoad, ReadingPastARecordsEndThrowsCodeZero)
{
    Loader l(Stored([](CKWArchive& ar) {
        ar.BeginRecord(10);
        ar.WriteU32(1);
        ar.EndRecord();
        ar.WriteU32(3);
    }));
    ASSERT_TRUE(l.ar.BeginRecord(10));
    EXPECT_EQ(l.ar.ReadU32(), 1u);
    EXPECT_THROW(l.ar.ReadU32(), CKWArchiveException);
    uint32_t v = 0;
    EXPECT_THROW(l.ar.ArchiveReadBytes(&v, 4), CKWArchiveException);
    EXPECT_THROW(l.ar.CheckRead(1), CKWArchiveException);
    EXPECT_THROW(l.ar.BeginRecord(11), CKWArchiveException) << "probing inside a used-up record";
    try {
        l.ar.ReadByte();
        ADD_FAILURE() << "no exception";
    } catch (const CKWArchiveException& e) {
        EXPECT_EQ(e.GetCode(), 0);
    }
}

TEST(KWArchiveLoad, StringCountsZeroAllOnesAndOdd)
{
    Loader l(Writer().String(L"abc").U32(3).Utf16(L"abc").U32(0).U32(0).U32(kNoLink).U32(kNoLink).U32(5).Utf16(
        L"ab").U8(0x77));
    std::wstring s = L"old";
    l.ar.ReadString(s);
    EXPECT_EQ(s, L"abc");
    CString c(L"old");
    l.ar.ReadStringChars(c);
    EXPECT_STREQ(c.GetString(), L"abc");
    s = L"keep";
    l.ar.ReadString(s);
    EXPECT_TRUE(s.empty());
    s = L"keep";
    l.ar.ReadStringChars(s);
    EXPECT_TRUE(s.empty());
    s = L"keep";
    l.ar.ReadStringChars(s);
    EXPECT_EQ(s, L"keep") << "a character count of all ones keeps the text";
    c = L"keep";
    l.ar.ReadStringChars(c);
    EXPECT_STREQ(c.GetString(), L"keep");
    l.ar.ReadString(s);
    EXPECT_EQ(s, L"ab") << "an odd byte count reads the whole characters";
    EXPECT_EQ(l.ar.ReadU8(), 0x77);
}

// ---- Crafted data ----------------------------------------------------------

TEST(KWArchiveCrafted, StringCountsBeyondTheRecordOrTheDataThrow)
{
    const struct {
        uint32_t count;
        bool chars;
        bool inRecord;
    } cases[] = {
        {0x80000000u, false, true}, {0x80000002u, false, true}, {0xFFFFFFFEu, false, true},
        {0xFFFFFFFFu, false, true}, {0x7FFFFFFFu, false, true}, {14u, false, true},
        {0x80000000u, true, true},  {0x80000001u, true, true},  {0xFFFFFFFEu, true, true},
        {5u, true, true},           {0x80000000u, false, false}, {0xFFFFFFFEu, false, false},
        {10u, false, false},        {0x80000000u, true, false}, {0x80000001u, true, false},
        {5u, true, false},
    };
    for (const auto& c : cases) {
        // Inside a plain record of 8 data bytes followed by 64 more, or alone.
        Writer w;
        if (c.inRecord)
            w.Plain(200, 5 + 4 + 8);
        w.U32(c.count).Utf16(L"abcd");
        if (c.inRecord)
            w.Add(Bytes(64, 0));
        Loader l(w);
        ASSERT_EQ(c.inRecord, l.ar.BeginRecord(200));
        std::wstring s;
        EXPECT_THROW(c.chars ? l.ar.ReadStringChars(s) : l.ar.ReadString(s), CKWArchiveException) << std::hex << c.count;
    }
    Loader exact(Writer().String(L"abcd"));
    std::wstring s;
    exact.ar.ReadString(s);
    EXPECT_EQ(s, L"abcd") << "exactly what remains is fine";
}

TEST(KWArchiveCrafted, RecordHeadersThatLieThrowAndAnotherTagIsOnlyAbsent)
{
    const struct {
        const char* name;
        Bytes bytes;
        uint8_t tag;
    } throwing[] = {
        {"end 0", Writer().Linked(3, 0), 3},
        {"end inside the header", Writer().Linked(3, 12), 3},
        {"plain end inside the header", Writer().Plain(200, 4), 200},
        {"end past the data", Writer().Linked(3, 14), 3},
        {"end far past the data", Writer().Linked(3, 0x7FFFFFFF), 3},
        {"end with the top bit", Writer().Linked(3, 0x80000000u), 3},
        {"end all ones", Writer().Linked(3, kNoLink), 3},
        {"truncated header", Bytes{0xC8, 0x09, 0x00}, 200},
    };
    for (const auto& c : throwing) {
        Loader l(c.bytes);
        EXPECT_THROW(l.ar.BeginRecord(c.tag), CKWArchiveException) << c.name;
    }
    Loader ok(Writer().Linked(3, 13));
    EXPECT_TRUE(ok.ar.BeginRecord(3));

    // The inner record claims 18 where the outer one ends at 14.
    Loader nested(Writer().Plain(200, 14).Plain(201, 18).Add(Bytes(8, 0)));
    ASSERT_TRUE(nested.ar.BeginRecord(200));
    EXPECT_THROW(nested.ar.BeginRecord(201), CKWArchiveException);

    Loader other(Writer().Plain(201, kNoLink));
    EXPECT_FALSE(other.ar.BeginRecord(200));
    EXPECT_EQ(other.Pos(), 0);
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
    {
        CKWArchive ar(f.Path().c_str(), CKWArchive::kLoad);
        ASSERT_TRUE(ar.IsOpen());
        EXPECT_TRUE(ar.BeginRecord(3));
        ar.EndRecord();
        EXPECT_FALSE(ar.BeginRecord(3));
    }

    f.Remove();
    CKWArchive missing(f.Path().c_str(), CKWArchive::kLoad);
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_FALSE(missing.BeginRecord(1));
    const std::wstring odd = f.Path() + L"\u4e16\u754c.bin";  // not in code page 1252
    CKWArchive unnamed(odd.c_str(), CKWArchive::kStore);
    EXPECT_FALSE(unnamed.IsOpen());
    ::DeleteFileW(odd.c_str());
}
