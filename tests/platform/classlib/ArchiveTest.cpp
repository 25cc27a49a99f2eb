// The archive's byte format, its objects by class and the collections' records.
#include "platform/classlib/Archive.h"
#include "platform/classlib/Array.h"
#include "platform/classlib/DWordArray.h"
#include "platform/classlib/Map.h"
#include "platform/classlib/MemFile.h"
#include "platform/classlib/ObList.h"
#include "platform/classlib/StringList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <vector>

// Serializable classes of the tests (the class list is global, so the names are unique).
class CArchivePoint : public CObject {
    DECLARE_SERIAL(CArchivePoint)
public:
    CArchivePoint() { ++s_live; }
    explicit CArchivePoint(LONG x) : m_x(x) { ++s_live; }
    ~CArchivePoint() override { --s_live; }
    static int s_live;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << m_x;
        else
            ar >> m_x;
    }
    LONG m_x = 0;
};
IMPLEMENT_SERIAL(CArchivePoint, CObject, 3)
int CArchivePoint::s_live = 0;

class CArchiveVersioned : public CObject {
    DECLARE_SERIAL(CArchiveVersioned)
public:
    void Serialize(CArchive& ar) override {
        if (ar.IsLoading())
            m_nLoadedSchema = ar.GetObjectSchema();
    }
    UINT m_nLoadedSchema = 99;
};
IMPLEMENT_SERIAL(CArchiveVersioned, CObject, VERSIONABLE_SCHEMA | 2)

class CArchiveOther : public CObject {
    DECLARE_SERIAL(CArchiveOther)
};
IMPLEMENT_SERIAL(CArchiveOther, CObject, 1)

namespace {

typedef std::vector<BYTE> Bytes;

// What a storing archive wrote through fn.
template <class F>
Bytes Store(F fn, int nBufSize = 4096) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, nBufSize);
        fn(ar);
        ar.Close();
    }
    Bytes bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

// A loading archive over the bytes, for fn.
template <class F>
void Load(const Bytes& bytes, F fn, int nBufSize = 4096) {
    CMemFile file;
    if (!bytes.empty())
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load, nBufSize);
    fn(ar);
    ar.Close();
}

// The cause of the archive exception fn throws; -1 when it throws none.
template <class F>
int ArchiveCause(F fn) {
    try {
        fn();
    } catch (CArchiveException* e) {
        int nCause = e->m_cause;
        e->Delete();
        return nCause;
    }
    return -1;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Ascii(const char* psz) { return Bytes(psz, psz + std::strlen(psz)); }

Bytes Utf16(const wchar_t* psz) {
    Bytes bytes;
    for (; *psz != L'\0'; ++psz) {
        bytes.push_back(static_cast<BYTE>(*psz & 0xFF));
        bytes.push_back(static_cast<BYTE>(*psz >> 8));
    }
    return bytes;
}

}  // namespace

TEST(ArchiveTest, ScalarsAreLittleEndianOfTheirOwnSize) {
    Bytes bytes = Store([](CArchive& ar) {
        ar << static_cast<BYTE>(1) << static_cast<WORD>(0x0203) << static_cast<LONG>(-2)
           << static_cast<DWORD>(0x04050607) << 1.5 << 2.0f << static_cast<LONGLONG>(-1) << true << L'Z'
           << static_cast<short>(-3) << 7 << 8u;
    });
    Bytes expected = {1,    3,    2,    0xFE, 0xFF, 0xFF, 0xFF, 7,    6,    5,    4,    0,    0,    0,
                      0,    0,    0,    0xF8, 0x3F, 0,    0,    0,    0x40, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                      0xFF, 0xFF, 0xFF, 1,    'Z',  0,    0xFD, 0xFF, 7,    0,    0,    0,    8,    0,
                      0,    0};
    EXPECT_EQ(expected, bytes);

    Load(bytes, [](CArchive& ar) {
        BYTE by;
        WORD w;
        LONG l;
        DWORD dw;
        double d;
        float f;
        LONGLONG ll;
        bool b;
        wchar_t ch;
        short s;
        int i;
        UINT u;
        ar >> by >> w >> l >> dw >> d >> f >> ll >> b >> ch >> s >> i >> u;
        EXPECT_EQ(1, by);
        EXPECT_EQ(0x0203, w);
        EXPECT_EQ(-2, l);
        EXPECT_EQ(0x04050607u, dw);
        EXPECT_EQ(1.5, d);
        EXPECT_EQ(2.0f, f);
        EXPECT_EQ(-1, ll);
        EXPECT_TRUE(b);
        EXPECT_EQ(L'Z', ch);
        EXPECT_EQ(-3, s);
        EXPECT_EQ(7, i);
        EXPECT_EQ(8u, u);
    });
}

TEST(ArchiveTest, StringsCarryTheUnicodeMarkerAndALengthPrefixOfTheirSize) {
    struct Case {
        int nLength;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0xFF, 0xFE, 0xFF, 0x00}},
        {2, {0xFF, 0xFE, 0xFF, 0x02}},
        {254, {0xFF, 0xFE, 0xFF, 0xFE}},
        {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        CString str;
        for (int i = 0; i < c.nLength; ++i)
            str += static_cast<wchar_t>(L'a' + i % 26 + (i % 7 == 0 ? 0x100 : 0));
        Bytes bytes = Store([&](CArchive& ar) { ar << str; });
        ASSERT_EQ(c.prefix.size() + 2 * static_cast<size_t>(c.nLength), bytes.size()) << c.nLength;
        EXPECT_EQ(c.prefix, Bytes(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(c.prefix.size())))
            << c.nLength;
        CString strBack = L"not read";
        Load(bytes, [&](CArchive& ar) { ar >> strBack; }, 128);
        EXPECT_TRUE(strBack == str) << c.nLength;
    }
    EXPECT_EQ(Concat({{0xFF, 0xFE, 0xFF, 0x02}, Utf16(L"Ab")}), Store([](CArchive& ar) { ar << L"Ab"; }));
}

TEST(ArchiveTest, AnsiStringsAreReadWithTheAnsiCodePage) {
    CString str;
    Load({3, 'a', 'b', 'c', 0xFF, 0x03, 0x00, 'x', 0xE9, 'y'}, [&](CArchive& ar) {
        ar >> str;
        EXPECT_STREQ(L"abc", str);
        ar >> str;
    });
    EXPECT_STREQ(L"x\u00e9y", str) << "code page 1252";
    // A length beyond the data ends with the archive's end-of-file, not a huge allocation.
    EXPECT_EQ(CArchiveException::endOfFile, ArchiveCause([] {
                  Load({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 0},
                       [](CArchive& ar) {
                           CString s;
                           ar >> s;
                       });
              }));
}

TEST(ArchiveTest, CountsAreSixteenBitWithAThirtyTwoBitEscape) {
    const std::pair<DWORD, Bytes> cases[] = {
        {0, {0, 0}},
        {5, {5, 0}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0}},
        {70000, {0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        Bytes bytes = Store([&](CArchive& ar) { ar.WriteCount(c.first); });
        EXPECT_EQ(c.second, bytes) << c.first;
        Load(bytes, [&](CArchive& ar) { EXPECT_EQ(c.first, ar.ReadCount()); });
    }
}

TEST(ArchiveTest, ObjectsAreWrittenOnceWithTheirClassThenReferredTo) {
    CArchivePoint a(0x11), b(0x22);
    CArchiveOther other;
    Bytes bytes = Store([&](CArchive& ar) {
        ar << &a << &a << static_cast<CObject*>(nullptr) << &b << &other;
    });
    Bytes expected = Concat({{0xFF, 0xFF, 0x03, 0x00, 13, 0x00},
                             Ascii("CArchivePoint"),
                             {0x11, 0, 0, 0},  // a: class 1, object 2
                             {0x02, 0x00},     // a again
                             {0x00, 0x00},     // null
                             {0x01, 0x80, 0x22, 0, 0, 0},  // b: class 1 by reference, object 3
                             {0xFF, 0xFF, 0x01, 0x00, 13, 0x00},
                             Ascii("CArchiveOther")});  // class 4, object 5
    EXPECT_EQ(expected, bytes);

    Load(bytes, [](CArchive& ar) {
        CArchivePoint* p1 = nullptr;
        CArchivePoint* p2 = nullptr;
        auto placeholder = std::make_unique<CArchiveOther>();
        CObject* pNull = placeholder.get();
        CArchivePoint* p3 = nullptr;
        CObject* p4 = nullptr;
        ar >> p1 >> p2 >> pNull >> p3 >> p4;
        std::unique_ptr<CArchivePoint> own1(p1), own3(p3);
        std::unique_ptr<CObject> own4(p4);
        ASSERT_NE(nullptr, p1);
        EXPECT_EQ(0x11, p1->m_x);
        EXPECT_EQ(p1, p2) << "a back reference gives the same object";
        EXPECT_EQ(nullptr, pNull);
        ASSERT_NE(nullptr, p3);
        EXPECT_EQ(0x22, p3->m_x);
        ASSERT_NE(nullptr, p4);
        EXPECT_TRUE(p4->IsKindOf(RUNTIME_CLASS(CArchiveOther)));
    });
}

TEST(ArchiveTest, LargeIndexesUseTheBigTags) {
    std::vector<std::unique_ptr<CArchivePoint>> fillers;
    for (int i = 0; i < 0x7FFE; ++i)
        fillers.push_back(std::make_unique<CArchivePoint>());
    CArchivePoint a(1), b(2);
    Bytes bytes = Store([&](CArchive& ar) {
        for (auto& p : fillers)
            ar.MapObject(p.get());  // indexes 1 .. 0x7FFE
        ar << &a << &a << &b;
    });
    Bytes expected = Concat({{0xFF, 0xFF, 0x03, 0x00, 13, 0x00},
                             Ascii("CArchivePoint"),
                             {1, 0, 0, 0},                                    // class 0x7FFF, a 0x8000
                             {0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00},           // a by a big object tag
                             {0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x80, 2, 0, 0, 0}});  // class by a big class tag
    EXPECT_EQ(expected, bytes);
    Load(bytes, [&](CArchive& ar) {
        for (auto& p : fillers)
            ar.MapObject(p.get());
        CArchivePoint* p1 = nullptr;
        CArchivePoint* p2 = nullptr;
        CArchivePoint* p3 = nullptr;
        ar >> p1 >> p2 >> p3;
        std::unique_ptr<CArchivePoint> own1(p1), own3(p3);
        EXPECT_EQ(p1, p2);
        ASSERT_NE(nullptr, p3);
        EXPECT_EQ(2, p3->m_x);
    });
}

TEST(ArchiveTest, DamagedObjectRecordsThrowTheirCause) {
    Bytes nameRecord = Ascii("CArchivePoint");
    struct Case {
        const char* what;
        Bytes bytes;
        int nCause;
    };
    const Case cases[] = {
        {"another schema", Concat({{0xFF, 0xFF, 0x02, 0x00, 13, 0x00}, nameRecord, {1, 0, 0, 0}}),
         CArchiveException::badSchema},
        {"an unknown class", Concat({{0xFF, 0xFF, 0x03, 0x00, 13, 0x00}, Ascii("CArchiveNoSuch"), {1, 0, 0, 0}}),
         CArchiveException::badClass},
        {"a name too long", Concat({{0xFF, 0xFF, 0x03, 0x00, 64, 0x00}, Bytes(64, 'A')}),
         CArchiveException::badClass},
        {"an object index never seen", {0x05, 0x00}, CArchiveException::badIndex},
        {"a class index never seen", {0x03, 0x80}, CArchiveException::badIndex},
        {"a record cut short", Concat({{0xFF, 0xFF, 0x03, 0x00, 13, 0x00}, nameRecord, {1, 0}}),
         CArchiveException::endOfFile},
        {"a class where an object is due", Concat({{0xFF, 0xFF, 0x03, 0x00, 13, 0x00}, nameRecord, {1, 0, 0, 0},
                                                   {0x01, 0x00}}),
         CArchiveException::badIndex},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.nCause, ArchiveCause([&] {
                      Load(c.bytes, [](CArchive& ar) {
                          CObject* p1 = nullptr;
                          CObject* p2 = nullptr;
                          ar >> p1;
                          std::unique_ptr<CObject> own(p1);
                          ar >> p2;
                      });
                  }))
            << c.what;
        EXPECT_EQ(0, CArchivePoint::s_live) << "the object being read is freed, " << c.what;
    }
    // Lists inside lists, 20,000 deep: the archive stops before the stack does.
    Bytes nested = Concat({{0xFF, 0xFF, 0x00, 0x00, 7, 0x00}, Ascii("CObList"), {1, 0}});
    for (int level = 1; level < 20000; ++level)
        nested.insert(nested.end(), {0x01, 0x80, 1, 0});
    EXPECT_EQ(CArchiveException::genericException, ArchiveCause([&] {
                  Load(nested, [](CArchive& ar) {
                      CObList* list = nullptr;
                      ar >> list;
                      delete list;
                  });
              }));
    // An object of another class than the one asked for.
    CArchiveOther other;
    Bytes bytes = Store([&](CArchive& ar) { ar << &other; });
    EXPECT_EQ(CArchiveException::badClass, ArchiveCause([&] {
                  Load(bytes, [](CArchive& ar) {
                      CArchivePoint* p = nullptr;
                      ar >> p;
                  });
              }));
}

TEST(ArchiveTest, AVersionableClassAcceptsOlderSchemasAndTellsThem) {
    Bytes bytes = Concat({{0xFF, 0xFF, 0x01, 0x00, 17, 0x00}, Ascii("CArchiveVersioned")});
    Load(bytes, [](CArchive& ar) {
        CArchiveVersioned* p = nullptr;
        ar >> p;
        std::unique_ptr<CArchiveVersioned> own(p);
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(1u, p->m_nLoadedSchema);
        EXPECT_EQ(static_cast<UINT>(-1), ar.GetObjectSchema()) << "only while the object loads";
    });
    CArchiveVersioned v;
    EXPECT_EQ(Concat({{0xFF, 0xFF, 0x02, 0x00, 17, 0x00}, Ascii("CArchiveVersioned")}),
              Store([&](CArchive& ar) { ar << &v; }))
        << "the versionable flag is not stored";
}

TEST(ArchiveTest, WrongDirectionsAndTheEndOfTheDataThrow) {
    EXPECT_EQ(CArchiveException::readOnly, ArchiveCause([] {
                  Load({1, 2, 3, 4}, [](CArchive& ar) { ar << static_cast<DWORD>(1); });
              }));
    EXPECT_EQ(CArchiveException::writeOnly, ArchiveCause([] {
                  Store([](CArchive& ar) {
                      DWORD dw;
                      ar >> dw;
                  });
              }));
    EXPECT_EQ(CArchiveException::endOfFile, ArchiveCause([] {
                  Load({1, 2, 3}, [](CArchive& ar) {
                      DWORD dw;
                      ar >> dw;
                  });
              }));
    // Raw reads just come up short.
    Load({1, 2, 3}, [](CArchive& ar) {
        BYTE buffer[8];
        EXPECT_EQ(3u, ar.Read(buffer, 8));
        EXPECT_EQ(0u, ar.Read(buffer, 8));
    });
}

TEST(ArchiveTest, SmallBuffersGiveTheSameStreamAndLoadingHandsBackTheUnreadRest) {
    Bytes data(1000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<BYTE>(i * 7);
    Bytes written = Store([&](CArchive& ar) {
        ar.Write(data.data(), 3);
        ar.Write(data.data() + 3, 500);  // larger than the buffer
        ar.Write(data.data() + 503, 497);
    }, 128);
    EXPECT_EQ(data, written);

    CMemFile file;
    file.Write(data.data(), static_cast<UINT>(data.size()));
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load, 128);
        Bytes back(1000);
        EXPECT_EQ(5u, ar.Read(back.data(), 5));
        EXPECT_EQ(200u, ar.Read(back.data() + 5, 200));
        EXPECT_EQ(data[204], back[204]);
        ar.Close();
    }
    EXPECT_EQ(205u, file.GetPosition()) << "the file continues after what the archive read";
}

TEST(ArchiveTest, CollectionsWriteTheirCountThenTheirElements) {
    CStringList strings;
    strings.AddTail(L"a");
    strings.AddTail(L"bc");
    Bytes stringBytes = Store([&](CArchive& ar) { strings.Serialize(ar); });
    EXPECT_EQ(Concat({{2, 0, 0xFF, 0xFE, 0xFF, 1}, Utf16(L"a"), {0xFF, 0xFE, 0xFF, 2}, Utf16(L"bc")}), stringBytes);
    CStringList stringsBack;
    Load(stringBytes, [&](CArchive& ar) { stringsBack.Serialize(ar); });
    ASSERT_EQ(2, stringsBack.GetCount());
    EXPECT_STREQ(L"bc", stringsBack.GetTail());

    // A point stored as an array of five 32-bit values: 22 bytes.
    CDWordArray values;
    values.SetSize(5);
    values[0] = 12;
    values[1] = static_cast<DWORD>(-3);
    Bytes valueBytes = Store([&](CArchive& ar) { values.Serialize(ar); });
    EXPECT_EQ(Bytes({5, 0, 12, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), valueBytes);
    CDWordArray valuesBack;
    valuesBack.Add(99);
    Load(valueBytes, [&](CArchive& ar) { valuesBack.Serialize(ar); });
    ASSERT_EQ(5, valuesBack.GetSize());
    EXPECT_EQ(static_cast<DWORD>(-3), valuesBack[1]);

    CArchivePoint a(5);
    CObList objects;
    objects.AddTail(&a);
    objects.AddTail(&a);
    objects.AddTail(static_cast<CObject*>(nullptr));
    Bytes objectBytes = Store([&](CArchive& ar) { objects.Serialize(ar); });
    EXPECT_EQ(Concat({{3, 0, 0xFF, 0xFF, 3, 0, 13, 0}, Ascii("CArchivePoint"), {5, 0, 0, 0, 2, 0, 0, 0}}),
              objectBytes);
    CObList objectsBack;
    Load(objectBytes, [&](CArchive& ar) { objectsBack.Serialize(ar); });
    ASSERT_EQ(3, objectsBack.GetCount());
    std::unique_ptr<CObject> own(objectsBack.GetHead());
    EXPECT_EQ(objectsBack.GetHead(), objectsBack.GetAt(objectsBack.FindIndex(1)));
    EXPECT_EQ(nullptr, objectsBack.GetTail());

    // A map: count, then key and value in the map's own order.
    CMap<UINT, UINT, int, int> usage;
    usage[32775] = 3;
    usage[57600] = -1;
    usage[2] = 7;
    Bytes mapBytes = Store([&](CArchive& ar) { usage.Serialize(ar); });
    ASSERT_EQ(2u + 3 * 8, mapBytes.size());
    Bytes firstPair(mapBytes.begin() + 2, mapBytes.begin() + 10);
    POSITION pos = usage.GetStartPosition();
    UINT nKey;
    int nValue;
    usage.GetNextAssoc(pos, nKey, nValue);
    EXPECT_EQ(Bytes({static_cast<BYTE>(nKey), static_cast<BYTE>(nKey >> 8), 0, 0, static_cast<BYTE>(nValue),
                     static_cast<BYTE>(nValue >> 8), static_cast<BYTE>(nValue >> 16),
                     static_cast<BYTE>(nValue >> 24)}),
              firstPair);
    CMap<UINT, UINT, int, int> usageBack;
    Load(mapBytes, [&](CArchive& ar) { usageBack.Serialize(ar); });
    int n = 0;
    EXPECT_TRUE(usageBack.Lookup(57600, n));
    EXPECT_EQ(-1, n);
    EXPECT_EQ(3, usageBack.GetCount());

    // Plain records go as their bytes.
    CArray<POINT, POINT> points;
    points.Add(POINT{1, -1});
    Bytes pointBytes = Store([&](CArchive& ar) { points.Serialize(ar); });
    EXPECT_EQ(Bytes({1, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}), pointBytes);
}

namespace {

// Deletes a list read whole, with the lists and points inside it, each once
// (a damaged archive may put one object in several places).
void DeleteTree(CObject* pOb, std::set<CObject*>& deleted) {
    if (pOb == nullptr || !deleted.insert(pOb).second)
        return;
    if (auto* pList = DYNAMIC_DOWNCAST(CObList, pOb)) {
        for (POSITION pos = pList->GetHeadPosition(); pos != nullptr;)
            DeleteTree(pList->GetNext(pos), deleted);
    }
    delete pOb;
}

}  // namespace

// Seeded mutations of a list of points and lists (cut, lengthened, bytes
// changed): a load that fails leaves no object it made behind, whatever
// stood where it failed; one that succeeds hands out every object it made.
// OT_FUZZ_CASES sets a longer run.
TEST(ArchiveTest, AFailedLoadDeletesWhatItMade) {
    CObList inner;
    CArchivePoint a(1), b(2), c(3);
    inner.AddTail(&a);
    inner.AddTail(&b);
    CObList outer;
    outer.AddTail(&c);
    outer.AddTail(&inner);
    outer.AddTail(&a);  // a reference to an object written before
    outer.AddTail(&b);
    const Bytes seed = Store([&](CArchive& ar) { ar << &outer; });
    const int liveBefore = CArchivePoint::s_live;
    const char* fuzzCases = std::getenv("OT_FUZZ_CASES");
    const int rounds = fuzzCases ? std::atoi(fuzzCases) : 20000;
    std::mt19937 random(20240612);
    int failed = 0;
    for (int round = 0; round < rounds; ++round) {
        Bytes bytes = seed;
        bytes.resize(random() % (bytes.size() + 16));
        for (int flips = 1 + random() % 3; flips > 0 && !bytes.empty(); --flips)
            bytes[random() % bytes.size()] = static_cast<BYTE>(random() % 4 == 0 ? random() : random() % 8);
        CObject* pRead = nullptr;
        try {
            Load(bytes, [&](CArchive& ar) { ar >> pRead; });
        } catch (CException* e) {
            e->Delete();
            ++failed;
        }
        std::set<CObject*> deleted;
        DeleteTree(pRead, deleted);
        ASSERT_EQ(liveBefore, CArchivePoint::s_live) << "round " << round;
    }
    EXPECT_GT(failed, rounds / 10) << "the mutations make loads fail";
}
