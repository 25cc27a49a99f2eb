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
#include "tests/framework/KWTestBytes.h"

using namespace kwbytes;

namespace {

// A record with a name and a number, read as the model's Serialize operations do:
// a record of its own tag, refused when the tag is missing.
class NamedRecord : public CKWSerialData {
public:
    std::wstring name;
    uint32_t number = 0;
    bool refuse = false;

    bool Serialize(CKWArchive& ar) override
    {
        if (refuse || !ar.BeginRecord(5))
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

Bytes StoreRecord(CKWSerialData* record, bool expected = true)
{
    CKWDataSerializer s = CKWDataSerializer::CKWDataSerializer2(record);
    void* data = reinterpret_cast<void*>(1);
    uint32_t size = 1;
    EXPECT_EQ(expected, s.Store(data, size));
    if (!expected) {
        EXPECT_EQ(nullptr, data);
        EXPECT_EQ(0u, size);
        return Bytes();
    }
    Bytes bytes(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    std::free(data);
    return bytes;
}

bool LoadRecord(const Bytes& bytes, CKWSerialData& record)
{
    CKWDataSerializer r(bytes.data(), static_cast<uint32_t>(bytes.size()));
    EXPECT_FALSE(r.IsStoring());
    return r.Load(record);
}

const Bytes kArialTahoma = Writer().U32(0).String(L"Arial").U32(1).String(L"Tahoma").U32(kNoLink);

void LoadTable(CKWIndexDecoder& table, Bytes b)
{
    CKWArchive ar(b.data(), static_cast<uint32_t>(b.size()), CKWArchive::kLoad);
    EXPECT_TRUE(table.Serialize(ar));
}

}  // namespace

// ---- CKWSerialData and CKWDataSerializer -----------------------------------

TEST(KWDataSerializer, StoresARecordIntoABlockAndLoadsItBack)
{
    NamedRecord rec;
    rec.name = L"Section \u00e9";
    rec.number = 0xCAFE;
    const Bytes bytes = StoreRecord(&rec);
    EXPECT_EQ(Writer().Linked(5, 13 + 4 + 18 + 4).String(L"Section \u00e9").U32(0xCAFE).b, bytes);
    NamedRecord loaded;
    EXPECT_TRUE(LoadRecord(bytes, loaded));
    EXPECT_EQ(loaded.name, rec.name);
    EXPECT_EQ(loaded.number, 0xCAFEu);

    // A record of another tag is absent.
    EXPECT_FALSE(LoadRecord(Writer().Linked(4, 13), loaded));
}

TEST(KWDataSerializer, NothingIsHandedOutForARefusalOrTheWrongDirection)
{
    CKWSerialData base;
    StoreRecord(&base, false);
    NamedRecord rec;
    rec.refuse = true;
    StoreRecord(&rec, false);
    StoreRecord(nullptr, false);

    Bytes b(4, 0);
    CKWDataSerializer restore(b.data(), 4);
    void* data = nullptr;
    uint32_t size = 0;
    EXPECT_FALSE(restore.Store(data, size));
    CKWDataSerializer store(CKWDataSerializer::StoreTag(), &rec);
    EXPECT_TRUE(store.IsStoring());
    EXPECT_FALSE(store.Load(rec));
}

TEST(KWDataSerializer, CraftedBlockThrowsThroughLoad)
{
    // Record tag 5 of 13 + 4 bytes whose string count claims 2 GB.
    Bytes b = Writer().Linked(5, 17).U32(0x80000000u);
    NamedRecord rec;
    EXPECT_THROW(LoadRecord(b, rec), CKWArchiveException);
    b.resize(15);  // cut short inside the record
    EXPECT_THROW(LoadRecord(b, rec), CKWArchiveException);
}

// ---- CKWIndexDecoder -------------------------------------------------------

TEST(KWIndexDecoder, StoresIndexAndNamePairsThenTheEndMarker)
{
    CKWIndexDecoder table;
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_EQ(Stored([&](CKWArchive& ar) { table.Serialize(ar); }), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    // Matching is exact and case-sensitive.
    EXPECT_EQ(table.FindOrAdd(L"Arial"), 0u);
    EXPECT_EQ(table.FindOrAdd(L"Tahoma"), 1u);
    EXPECT_EQ(table.FindOrAdd(L"Arial"), 0u);
    EXPECT_EQ(table.GetCount(), 2u);
    EXPECT_EQ(Stored([&](CKWArchive& ar) { table.Serialize(ar); }), kArialTahoma);
    EXPECT_EQ(table.FindOrAdd(L"arial"), 2u);
    EXPECT_EQ(table.FindOrAdd(L"Arial "), 3u);
}

TEST(KWIndexDecoder, LoadingRemapsIndicesToTheCurrentTable)
{
    CKWIndexDecoder fresh;
    CKWIndexRemap* unchanged = fresh.CreateRemap();
    LoadTable(fresh, kArialTahoma);
    EXPECT_EQ(fresh.GetString(1), L"Tahoma");
    EXPECT_EQ(unchanged->flags, 0);
    EXPECT_TRUE(unchanged->pairs.empty());

    CKWIndexDecoder table;
    table.FindOrAdd(L"Tahoma");
    CKWIndexRemap* remap = table.CreateRemap();
    LoadTable(table, kArialTahoma);
    EXPECT_EQ(table.GetString(0), L"Tahoma");
    EXPECT_EQ(table.GetString(1), L"Arial");
    ASSERT_EQ(table.GetRemap(), remap);
    EXPECT_EQ(remap->flags, CKWIndexRemap::kChanged);
    EXPECT_EQ(remap->pairs, (std::vector<std::pair<uint32_t, uint32_t>>{{0, 1}, {1, 0}}));
    table.FreeTable();
    EXPECT_EQ(table.GetRemap(), nullptr);

    // Pairs go in index order and a later pair replaces the name of its index.
    CKWIndexDecoder ordered;
    remap = ordered.CreateRemap();
    LoadTable(ordered, Writer().U32(7).String(L"Zeta").U32(2).String(L"Beta").U32(7).String(L"Eta!").U32(kNoLink));
    ASSERT_EQ(ordered.GetCount(), 2u);
    EXPECT_EQ(ordered.GetString(0), L"Beta");
    EXPECT_EQ(ordered.GetString(1), L"Eta!");
    EXPECT_EQ(remap->pairs, (std::vector<std::pair<uint32_t, uint32_t>>{{2, 0}, {7, 1}}));
}

TEST(KWIndexDecoder, TableInsideARecordRoundTrips)
{
    CKWIndexDecoder table;
    table.FindOrAdd(L"Courier New");
    table.FindOrAdd(L"Times New Roman");
    Bytes b = Stored([&](CKWArchive& ar) {
        ar.BeginRecord(5);
        table.Serialize(ar);
        ar.WriteU32(0x12345678);
        ar.EndRecord();
    });
    CKWArchive ld(b.data(), static_cast<uint32_t>(b.size()), CKWArchive::kLoad);
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
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"no end marker", Writer().U32(0).U32(2).Utf16(L"A")},
        {"a name count far beyond the data", Writer().U32(0).U32(0xFFFFFFF0u).U32(kNoLink)},
        {"a record that ends before the marker", Writer().Plain(200, 5 + 8).U32(0).U32(0).U32(kNoLink)},
    };
    for (const auto& c : cases) {
        Bytes b = c.bytes;
        CKWIndexDecoder table;
        CKWArchive ar(b.data(), static_cast<uint32_t>(b.size()), CKWArchive::kLoad);
        ASSERT_EQ(b[0] == 200, ar.BeginRecord(200));
        EXPECT_THROW(table.Serialize(ar), CKWArchiveException) << c.name;
        EXPECT_TRUE(table.IsEmpty()) << c.name;
    }
}

TEST(KWIndexDecoder, LookupsGiveTheDefaultArialEntryOutOfRangeOrNotInstalled)
{
    CKWIndexDecoder table;
    const CKWIndexEntry& def = CKWIndexDecoder::GetDefaultEntry();
    EXPECT_EQ(def.GetName(), L"Arial");
    EXPECT_EQ(def.installed, nullptr);
    EXPECT_EQ(&table.GetEntry(0), &def);
    EXPECT_EQ(&table.GetInstalledEntry(5), &def);
    EXPECT_EQ(&table.GetEntry(0xFFFFFFFF), &def);
    EXPECT_EQ(table.GetString(0), L"");
    table.FindOrAdd(L"Arial");
    EXPECT_NE(&table.GetEntry(0), &def);
    EXPECT_EQ(table.GetEntry(0).face, def.face) << "one pooled string per name";

    const uint32_t i = table.FindOrAdd(L"No Such Face 0xKW");
    EXPECT_EQ(table.GetString(i), L"No Such Face 0xKW");
    EXPECT_EQ(table.GetEntry(i).installed, nullptr);
    EXPECT_EQ(&table.GetInstalledEntry(i), &def);

    CKWFontFaceStorage& storage = GetFontFaceStorage();
    storage.EnsureFilled();
    ASSERT_GT(storage.GetCount(), 0u) << "no fonts installed in the Wine prefix";
    const CKWFontFace* face = storage.GetAt(0);
    const uint32_t installed = table.FindOrAdd(*face->name);
    EXPECT_EQ(table.GetEntry(installed).installed, face);
    EXPECT_EQ(&table.GetInstalledEntry(installed), &table.GetEntry(installed));
}

TEST(KWIndexDecoder, CopiesTakeTheEntriesNotTheRemap)
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
    EXPECT_EQ(e.GetName(), L"");
    e.SetKey(L"Name");
    EXPECT_EQ(&CKWIndexDecoder::FindByKey(map, 4), &e);
    EXPECT_EQ(map.size(), 1u);

    CKWIndexDecoder table;
    table.FindOrAdd(L"Name");
    CKWIndexRemap remap;
    table.AddAll(map, &remap);
    EXPECT_EQ(remap.flags, CKWIndexRemap::kChanged);
    EXPECT_EQ(remap.pairs, (std::vector<std::pair<uint32_t, uint32_t>>{{4, 0}}));
}
