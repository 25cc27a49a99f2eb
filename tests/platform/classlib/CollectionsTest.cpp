#include "platform/classlib/DWordArray.h"
#include "platform/classlib/Map.h"
#include "platform/classlib/ObList.h"
#include "platform/classlib/StringList.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {
template <class L>
std::vector<int> Values(const L& list) {
    std::vector<int> out;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        out.push_back(list.GetNext(pos));
    return out;
}
}  // namespace

TEST(CList, InsertsAndRemovesAtPositions) {
    CList<int, int> list;
    POSITION two = list.AddTail(2);
    list.AddHead(1);
    list.AddTail(4);
    list.InsertAfter(two, 3);
    list.InsertBefore(list.GetHeadPosition(), 0);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4}), Values(list));

    list.RemoveAt(two);
    EXPECT_EQ((std::vector<int>{0, 1, 3, 4}), Values(list));
    EXPECT_EQ(0, list.RemoveHead());
    EXPECT_EQ(4, list.RemoveTail());
    EXPECT_EQ(2, list.GetCount());
    EXPECT_EQ(3, list.GetTail());

    // Walking backwards.
    std::vector<int> back;
    for (POSITION pos = list.GetTailPosition(); pos != nullptr;)
        back.push_back(list.GetPrev(pos));
    EXPECT_EQ((std::vector<int>{3, 1}), back);

    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    bool thrown = false;
    try {
        list.RemoveHead();
    } catch (CInvalidArgException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown) << "an empty list has no head";
}

TEST(CList, FindAndFindIndex) {
    CList<int, int> list;
    for (int v : {5, 6, 5, 7})
        list.AddTail(v);
    POSITION first = list.Find(5);
    ASSERT_NE(nullptr, first);
    POSITION second = list.Find(5, first);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    EXPECT_EQ(nullptr, list.Find(5, second));
    EXPECT_EQ(nullptr, list.Find(9));
    EXPECT_EQ(7, list.GetAt(list.FindIndex(3)));
    EXPECT_EQ(nullptr, list.FindIndex(4));
    EXPECT_EQ(nullptr, list.FindIndex(-1));

    CList<int, int> other;
    other.AddTail(1);
    other.AddTail(2);
    list.AddHead(&other);
    list.AddTail(&other);
    EXPECT_EQ((std::vector<int>{1, 2, 5, 6, 5, 7, 1, 2}), Values(list));
}

TEST(CObList, HoldsObjectsWithoutOwningThem) {
    CStringList a;
    CDWordArray b;
    CObList list;
    list.AddTail(&a);
    list.AddHead(&b);
    EXPECT_EQ(&b, list.GetHead());
    EXPECT_EQ(&a, list.GetTail());
    EXPECT_NE(nullptr, list.Find(&a));
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CObList)));
    EXPECT_EQ(RUNTIME_CLASS(CObList), CRuntimeClass::FromName("CObList"));
}

TEST(CStringList, FindsByText) {
    CStringList list;
    list.AddTail(L"alpha");
    list.AddTail(CString(L"beta"));
    wchar_t buffer[] = L"beta";
    POSITION pos = list.Find(buffer);
    ASSERT_NE(nullptr, pos);
    EXPECT_STREQ(L"beta", list.GetAt(pos));
    EXPECT_EQ(nullptr, list.Find(L"Beta")) << "comparison is case-sensitive";
    list.SetAt(pos, L"gamma");
    EXPECT_STREQ(L"gamma", list.GetTail());
}

TEST(CMap, LookupReplaceRemoveAndWalk) {
    CMap<DWORD, DWORD, CString, const wchar_t*> names;
    EXPECT_EQ(17u, names.GetHashTableSize());
    EXPECT_EQ(nullptr, names.GetStartPosition());
    std::map<DWORD, std::wstring> expected;
    for (DWORD key = 0; key < 100; key += 3) {
        CString text;
        text.Format(L"c%u", key);
        names.SetAt(key, text);
        expected[key] = text.GetString();
    }
    names[6] = L"six";
    expected[6] = L"six";
    EXPECT_TRUE(names.RemoveKey(9));
    EXPECT_FALSE(names.RemoveKey(9));
    expected.erase(9);

    CString value;
    EXPECT_TRUE(names.Lookup(6, value));
    EXPECT_STREQ(L"six", value);
    EXPECT_FALSE(names.Lookup(7, value));
    EXPECT_EQ(static_cast<INT_PTR>(expected.size()), names.GetCount());

    std::map<DWORD, std::wstring> walked;
    POSITION pos = names.GetStartPosition();
    while (pos != nullptr) {
        DWORD key;
        names.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(walked.emplace(key, value.GetString()).second) << "each association once";
    }
    EXPECT_EQ(expected, walked);
}

TEST(CMap, StringKeysAndTableSize) {
    CMap<CString, const CString&, int, int> counts;
    counts.InitHashTable(3);
    EXPECT_EQ(3u, counts.GetHashTableSize());
    const wchar_t* words[] = {L"a", L"b", L"a", L"c", L"a", L"b"};
    for (const wchar_t* w : words)
        counts[CString(w)]++;
    int n = 0;
    EXPECT_TRUE(counts.Lookup(CString(L"a"), n));
    EXPECT_EQ(3, n);
    EXPECT_TRUE(counts.Lookup(CString(L"b"), n));
    EXPECT_EQ(2, n);
    EXPECT_EQ(3, counts.GetCount());
}

TEST(CDWordArray, GrowInsertRemoveAndBounds) {
    CDWordArray values;
    values.Add(10);
    values.Add(30);
    values.InsertAt(1, 20);
    values.InsertAt(5, 99);  // past the end: the gap is filled with zeros
    ASSERT_EQ(6, values.GetSize());
    const DWORD expected[] = {10, 20, 30, 0, 0, 99};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(expected[i], values[i]) << i;
    values.RemoveAt(3, 2);
    EXPECT_EQ(4, values.GetSize());
    EXPECT_EQ(99u, values.GetAt(3));
    values.SetAtGrow(5, 7);
    EXPECT_EQ(5, values.GetUpperBound());

    for (INT_PTR bad : {static_cast<INT_PTR>(-1), static_cast<INT_PTR>(6)}) {
        bool thrown = false;
        try {
            values.GetAt(bad);
        } catch (CInvalidArgException* e) {
            thrown = true;
            e->Delete();
        }
        EXPECT_TRUE(thrown) << bad;
    }
    bool thrown = false;
    try {
        values.RemoveAt(4, 3);
    } catch (CException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(6, values.GetSize()) << "a refused removal changes nothing";
}
