// Tests of the serial data, the data serializer and the index decoder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/KWFontFaceStorage.h"
#include "framework/KWArchive.h"
#include "framework/KWDataSerializer.h"
#include "framework/KWIndexDecoder.h"
#include "framework/KWSerialData.h"

namespace {

typedef std::vector<unsigned char> Bytes;

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

// A record that writes one empty linked record.
class EmptyLinkedRecord : public CKWSerialData {
public:
    bool Serialize(CKWArchive& ar) override
    {
        bool found = ar.BeginRecord(3);
        if (found)
            ar.EndRecord();
        return ar.IsStoring() || found;
    }
};

// A record with a name and a number, read as the model's Serialize operations do:
// a record of its own tag, refused when the tag is missing.
class NamedRecord : public CKWSerialData {
public:
    std::wstring name;
    uint32_t number = 0;
    bool refuse = false;

    bool Serialize(CKWArchive& ar) override
    {
        if (refuse)
            return false;
        if (!ar.BeginRecord(5))
            return false;
        if (ar.IsStoring()) {
            ar.WriteString(name);
            ar.WriteU32(number);
        } else {
            ar.ReadString(name);
            number = ar.ReadU32();
        }
        ar.EndRecord();
        return true;
    }
};

Bytes StoreTable(CKWIndexDecoder& table)
{
    CKWArchive ar(nullptr, 0, CKWArchive::kStore);
    EXPECT_TRUE(table.Serialize(ar));
    void* data = nullptr;
    uint32_t length = 0;
    EXPECT_TRUE(ar.FinishMemory(data, length));
    const unsigned char* p = static_cast<const unsigned char*>(data);
    return Bytes(p, p + length);
}

Bytes ArialTahomaBytes()
{
    Bytes b;
    PutU32(b, 0);
    PutU32(b, 10);
    PutUtf16(b, L"Arial");
    PutU32(b, 1);
    PutU32(b, 12);
    PutUtf16(b, L"Tahoma");
    PutU32(b, 0xFFFFFFFF);
    return b;
}

void LoadTable(CKWIndexDecoder& table, Bytes b)
{
    CKWArchive ar(b.data(), static_cast<uint32_t>(b.size()), CKWArchive::kLoad);
    EXPECT_TRUE(table.Serialize(ar));
}

}  // namespace

// ---- CKWSerialData and CKWDataSerializer -----------------------------------

TEST(KWSerialData, BaseSerializesNothing)
{
    CKWSerialData base;
    CKWArchive ar(nullptr, 0, CKWArchive::kStore);
    EXPECT_FALSE(base.Serialize(ar));
    CKWDataSerializer s = CKWDataSerializer::CKWDataSerializer2(&base);
    void* data = reinterpret_cast<void*>(1);
    uint32_t size = 1;
    EXPECT_FALSE(s.Store(data, size));
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0u);
}

TEST(KWDataSerializer, StoreOfOneEmptyLinkedRecordHandsOutThirteenBytes)
{
    EmptyLinkedRecord rec;
    CKWDataSerializer s = CKWDataSerializer::CKWDataSerializer2(&rec);
    EXPECT_TRUE(s.IsStoring());
    void* data = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(s.Store(data, size));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(size, 13u);
    const unsigned char* p = static_cast<const unsigned char*>(data);
    EXPECT_EQ(Bytes(p, p + size),
              (Bytes{0x03, 0x0D, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));

    CKWDataSerializer back(data, size);
    EXPECT_FALSE(back.IsStoring());
    EmptyLinkedRecord again;
    EXPECT_TRUE(back.Load(again));
    std::free(data);
}

TEST(KWDataSerializer, RoundTripThroughAMemoryBlock)
{
    NamedRecord rec;
    rec.name = L"Section \u00e9";
    rec.number = 0xCAFE;
    CKWDataSerializer s(CKWDataSerializer::StoreTag(), &rec);
    void* data = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(s.Store(data, size));
    EXPECT_EQ(size, 13u + 4u + 2u * 9u + 4u);

    NamedRecord loaded;
    CKWDataSerializer r(data, size);
    EXPECT_TRUE(r.Load(loaded));
    EXPECT_EQ(loaded.name, rec.name);
    EXPECT_EQ(loaded.number, 0xCAFEu);
    std::free(data);
}

TEST(KWDataSerializer, RefusingRecordHandsOutNothing)
{
    NamedRecord rec;
    rec.refuse = true;
    CKWDataSerializer s = CKWDataSerializer::CKWDataSerializer2(&rec);
    void* data = nullptr;
    uint32_t size = 0;
    EXPECT_FALSE(s.Store(data, size));
    EXPECT_EQ(data, nullptr);
}

TEST(KWDataSerializer, DirectionsAreExclusive)
{
    NamedRecord rec;
    Bytes b(4, 0);
    CKWDataSerializer restore(b.data(), 4);
    void* data = nullptr;
    uint32_t size = 0;
    EXPECT_FALSE(restore.Store(data, size));
    CKWDataSerializer store = CKWDataSerializer::CKWDataSerializer2(&rec);
    EXPECT_FALSE(store.Load(rec));
    CKWDataSerializer none = CKWDataSerializer::CKWDataSerializer2(nullptr);
    EXPECT_FALSE(none.Store(data, size));
}

TEST(KWDataSerializer, AbsentRecordLoadsAsFalse)
{
    Bytes b{0x04, 0x0D, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    NamedRecord rec;
    CKWDataSerializer r(b.data(), static_cast<uint32_t>(b.size()));
    EXPECT_FALSE(r.Load(rec));
}

TEST(KWDataSerializer, CraftedBlockThrowsThroughLoad)
{
    // Record tag 5 of 13 + 4 bytes whose string count claims 2 GB.
    Bytes b{0x05};
    PutU32(b, 17);
    PutU32(b, 0xFFFFFFFF);
    PutU32(b, 0xFFFFFFFF);
    PutU32(b, 0x80000000u);
    NamedRecord rec;
    CKWDataSerializer r(b.data(), static_cast<uint32_t>(b.size()));
    EXPECT_THROW(r.Load(rec), CKWArchiveException);
    // A block cut short inside the record.
    b.resize(15);
    CKWDataSerializer cut(b.data(), static_cast<uint32_t>(b.size()));
    EXPECT_THROW(cut.Load(rec), CKWArchiveException);
}

// ---- CKWIndexDecoder -------------------------------------------------------

TEST(KWIndexDecoder, EmptyTableStoresOnlyTheEndMarker)
{
    CKWIndexDecoder table;
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_EQ(StoreTable(table), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(KWIndexDecoder, ArialAndTahomaStoreAsIndexAndNamePairs)
{
    CKWIndexDecoder table;
    EXPECT_EQ(table.FindOrAdd(L"Arial"), 0u);
    EXPECT_EQ(table.FindOrAdd(L"Tahoma"), 1u);
    EXPECT_EQ(table.FindOrAdd(L"Arial"), 0u);
    EXPECT_EQ(table.GetCount(), 2u);
    EXPECT_EQ(StoreTable(table), ArialTahomaBytes());
}

TEST(KWIndexDecoder, LoadingRemapsIndicesToTheCurrentTable)
{
    CKWIndexDecoder table;
    table.FindOrAdd(L"Tahoma");
    CKWIndexRemap* remap = table.CreateRemap();
    LoadTable(table, ArialTahomaBytes());
    EXPECT_EQ(table.GetCount(), 2u);
    EXPECT_EQ(table.GetString(0), L"Tahoma");
    EXPECT_EQ(table.GetString(1), L"Arial");
    ASSERT_EQ(table.GetRemap(), remap);
    EXPECT_EQ(remap->flags & CKWIndexRemap::kChanged, CKWIndexRemap::kChanged);
    ASSERT_EQ(remap->pairs.size(), 2u);
    EXPECT_EQ(remap->pairs[0], std::make_pair(0u, 1u));
    EXPECT_EQ(remap->pairs[1], std::make_pair(1u, 0u));
    table.FreeTable();
    EXPECT_EQ(table.GetRemap(), nullptr);
}

TEST(KWIndexDecoder, LoadingIntoAnEmptyTableKeepsTheIndices)
{
    CKWIndexDecoder table;
    CKWIndexRemap* remap = table.CreateRemap();
    LoadTable(table, ArialTahomaBytes());
    EXPECT_EQ(table.GetString(0), L"Arial");
    EXPECT_EQ(table.GetString(1), L"Tahoma");
    EXPECT_EQ(remap->flags, 0);
    EXPECT_TRUE(remap->pairs.empty());
    // Stored again, the same bytes.
    EXPECT_EQ(StoreTable(table), ArialTahomaBytes());
}

TEST(KWIndexDecoder, LoadedPairsGoInIndexOrderAndALaterPairReplacesTheName)
{
    Bytes b;
    PutU32(b, 7);
    PutU32(b, 8);
    PutUtf16(b, L"Zeta");
    PutU32(b, 2);
    PutU32(b, 8);
    PutUtf16(b, L"Beta");
    PutU32(b, 7);
    PutU32(b, 8);
    PutUtf16(b, L"Eta!");
    PutU32(b, 0xFFFFFFFF);
    CKWIndexDecoder table;
    CKWIndexRemap* remap = table.CreateRemap();
    LoadTable(table, b);
    ASSERT_EQ(table.GetCount(), 2u);
    EXPECT_EQ(table.GetString(0), L"Beta");
    EXPECT_EQ(table.GetString(1), L"Eta!");
    ASSERT_EQ(remap->pairs.size(), 2u);
    EXPECT_EQ(remap->pairs[0], std::make_pair(2u, 0u));
    EXPECT_EQ(remap->pairs[1], std::make_pair(7u, 1u));
}

TEST(KWIndexDecoder, TableInsideARecordRoundTrips)
{
    CKWIndexDecoder table;
    table.FindOrAdd(L"Courier New");
    table.FindOrAdd(L"Times New Roman");
    CKWArchive st(nullptr, 0, CKWArchive::kStore);
    st.BeginRecord(5);
    table.Serialize(st);
    st.WriteU32(0x12345678);
    st.EndRecord();
    void* data = nullptr;
    uint32_t length = 0;
    ASSERT_TRUE(st.FinishMemory(data, length));

    CKWArchive ld(data, length, CKWArchive::kLoad);
    CKWIndexDecoder loaded;
    ASSERT_TRUE(ld.BeginRecord(5));
    loaded.Serialize(ld);
    EXPECT_EQ(ld.ReadU32(), 0x12345678u);
    ld.EndRecord();
    EXPECT_EQ(loaded.GetString(0), L"Courier New");
    EXPECT_EQ(loaded.GetString(1), L"Times New Roman");
}

TEST(KWIndexDecoder, CraftedTablesThrow)
{
    // No end marker: the data ends first.
    Bytes noEnd;
    PutU32(noEnd, 0);
    PutU32(noEnd, 2);
    PutUtf16(noEnd, L"A");
    {
        CKWIndexDecoder table;
        CKWArchive ar(noEnd.data(), static_cast<uint32_t>(noEnd.size()), CKWArchive::kLoad);
        EXPECT_THROW(table.Serialize(ar), CKWArchiveException);
    }
    // A name count far beyond the data.
    Bytes huge;
    PutU32(huge, 0);
    PutU32(huge, 0xFFFFFFF0u);
    PutU32(huge, 0xFFFFFFFF);
    {
        CKWIndexDecoder table;
        CKWArchive ar(huge.data(), static_cast<uint32_t>(huge.size()), CKWArchive::kLoad);
        EXPECT_THROW(table.Serialize(ar), CKWArchiveException);
        EXPECT_TRUE(table.IsEmpty());
    }
    // Inside a record that ends before the marker.
    Bytes rec{0xC8};
    PutU32(rec, 5 + 8);
    PutU32(rec, 0);
    PutU32(rec, 0);
    PutU32(rec, 0xFFFFFFFF);
    {
        CKWIndexDecoder table;
        CKWArchive ar(rec.data(), static_cast<uint32_t>(rec.size()), CKWArchive::kLoad);
        ASSERT_TRUE(ar.BeginRecord(200));
        EXPECT_THROW(table.Serialize(ar), CKWArchiveException);
    }
}

TEST(KWIndexDecoder, OutOfRangeLookupsGiveTheDefaultArialEntry)
{
    CKWIndexDecoder table;
    const CKWIndexEntry& def = CKWIndexDecoder::GetDefaultEntry();
    EXPECT_EQ(def.GetName(), L"Arial");
    EXPECT_EQ(def.installed, nullptr);
    EXPECT_EQ(def.reserved, 0u);
    EXPECT_EQ(&table.GetEntry(0), &def);
    EXPECT_EQ(&table.GetInstalledEntry(5), &def);
    EXPECT_EQ(&table.GetEntry(0xFFFFFFFF), &def);
    EXPECT_EQ(table.GetString(0), L"");
    table.FindOrAdd(L"Arial");
    EXPECT_NE(&table.GetEntry(0), &def);
    EXPECT_EQ(table.GetEntry(0).face, def.face);  // one pooled string per name
    EXPECT_EQ(table.GetString(1), L"");
}

TEST(KWIndexDecoder, AFaceThatIsNotInstalledKeepsItsNameButReadsAsTheDefault)
{
    CKWIndexDecoder table;
    uint32_t i = table.FindOrAdd(L"No Such Face 0xKW");
    EXPECT_EQ(table.GetEntry(i).GetName(), L"No Such Face 0xKW");
    EXPECT_EQ(table.GetEntry(i).installed, nullptr);
    EXPECT_EQ(&table.GetInstalledEntry(i), &CKWIndexDecoder::GetDefaultEntry());
    EXPECT_EQ(table.GetString(i), L"No Such Face 0xKW");
}

TEST(KWIndexDecoder, AnInstalledFaceIsFoundInTheStorage)
{
    CKWFontFaceStorage& storage = GetFontFaceStorage();
    storage.EnsureFilled();
    ASSERT_GT(storage.GetCount(), 0u) << "no fonts installed in the Wine prefix";
    const CKWFontFace* face = storage.GetAt(0);
    CKWIndexDecoder table;
    uint32_t i = table.FindOrAdd(*face->name);
    EXPECT_EQ(table.GetEntry(i).installed, face);
    EXPECT_EQ(&table.GetInstalledEntry(i), &table.GetEntry(i));
}

TEST(KWIndexDecoder, MatchingIsExactAndCaseSensitive)
{
    CKWIndexDecoder table;
    EXPECT_EQ(table.FindOrAdd(L"arial"), 0u);
    EXPECT_EQ(table.FindOrAdd(L"Arial"), 1u);
    EXPECT_EQ(table.FindOrAdd(L"Arial "), 2u);
    EXPECT_EQ(table.FindOrAdd(L"Arial"), 1u);
}

TEST(KWIndexDecoder, AssignmentCopiesTheEntries)
{
    CKWIndexDecoder a;
    a.FindOrAdd(L"Arial");
    a.FindOrAdd(L"Tahoma");
    a.CreateRemap();
    CKWIndexDecoder b;
    b.FindOrAdd(L"Other");
    b = a;
    EXPECT_EQ(b.GetCount(), 2u);
    EXPECT_EQ(b.GetString(1), L"Tahoma");
    EXPECT_EQ(b.GetRemap(), nullptr);
    CKWIndexDecoder c(a);
    EXPECT_EQ(c.GetString(0), L"Arial");
}

TEST(KWIndexDecoder, FindByKeyMakesAnEmptyEntryWhenMissing)
{
    CKWIndexMap map;
    CKWIndexEntry& e = CKWIndexDecoder::FindByKey(map, 4);
    EXPECT_EQ(e.face, nullptr);
    EXPECT_EQ(e.GetName(), L"");
    e.SetKey(L"Name");
    EXPECT_EQ(&CKWIndexDecoder::FindByKey(map, 4), &e);
    EXPECT_EQ(CKWIndexDecoder::FindByKey(map, 4).GetName(), L"Name");
    EXPECT_EQ(map.size(), 1u);

    CKWIndexDecoder table;
    table.FindOrAdd(L"Name");
    CKWIndexRemap remap;
    table.AddAll(map, &remap);
    EXPECT_EQ(remap.flags, CKWIndexRemap::kChanged);
    ASSERT_EQ(remap.pairs.size(), 1u);
    EXPECT_EQ(remap.pairs[0], std::make_pair(4u, 0u));
}
