#include "framework/HashItem.h"
#include "framework/HashTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// An item that counts its destruction, to check who deletes what.
class CountedItem : public CHashItem {
public:
    CountedItem(const char* name, int* deaths) : CHashItem(name), m_deaths(deaths) {}
    ~CountedItem() override { ++*m_deaths; }

private:
    int* m_deaths;
};

// Exposes the chains for checks of the linking.
class ChainTable : public CHashTable {
public:
    explicit ChainTable(uint16_t buckets) : CHashTable(buckets) {}
    using CHashTable::GetChain;
};

int ChainLength(const CHashItem* item)
{
    int length = 0;
    for (; item; item = item->GetNext())
        ++length;
    return length;
}

struct KeyCase {
    const char* key;
    uint16_t bucket;  // with 101 buckets
    uint32_t code;
};

TEST(HashTable, HashAndKeyCodeOfKnownKeys)
{
    const KeyCase cases[] = {
        {"ab", 59, 0x36A},
        {"a", 97, 0x61},
        // 0xE9 is sign-extended: 16-bit 0xFFE9 = 65513, 65513 % 101 = 65.
        {"\xE9", 65, 0xFFFFFFE9u},
        // 0xFF gives 0xFFFFFFFF, which the final modulo turns into 0.
        {"\xFF", 87, 0},
        {"", 0, 0},
    };
    CHashTable table(101);
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(c.bucket, table.HashKey(c.key));
        EXPECT_EQ(c.code, table.KeyCode(c.key));
    }
}

TEST(HashTable, DuplicateKeyIsRefused)
{
    ChainTable table(101);
    EXPECT_TRUE(table.Add("ab"));
    EXPECT_FALSE(table.Add("ab"));
    EXPECT_EQ(1, ChainLength(table.GetChain(table.HashKey("ab"))));
}

TEST(HashTable, CollidingKeysShareOneChainAndAreAllFound)
{
    ChainTable table(101);
    const char* keys[] = {"ab", "bd", "cf"};
    for (const char* key : keys)
        ASSERT_EQ(table.HashKey("ab"), table.HashKey(key)) << key;
    for (const char* key : keys)
        ASSERT_TRUE(table.Add(key)) << key;

    EXPECT_EQ(3, ChainLength(table.GetChain(59)));
    for (const char* key : keys) {
        CHashItem* item = table.Lookup(key);
        ASSERT_NE(nullptr, item) << key;
        EXPECT_STREQ(key, item->GetKey());
        EXPECT_EQ(table.KeyCode(key), item->GetKeyCode());
    }
    EXPECT_EQ(0x36Au, table.Lookup("ab")->GetKeyCode());
    EXPECT_EQ(nullptr, table.Lookup("AB"));
    EXPECT_EQ(nullptr, table.Lookup(nullptr));
    // Same bucket, never added.
    ASSERT_EQ(59, table.HashKey("dh"));
    EXPECT_EQ(nullptr, table.Lookup("dh"));
    EXPECT_FALSE(table.Add("bd"));
    EXPECT_EQ(3, ChainLength(table.GetChain(59)));
}

TEST(HashTable, RemovingTheMiddleItemKeepsTheOthersLinked)
{
    ChainTable table(101);
    ASSERT_TRUE(table.Add("ab"));
    ASSERT_TRUE(table.Add("bd"));
    ASSERT_TRUE(table.Add("cf"));

    EXPECT_TRUE(table.Remove("bd"));
    CHashItem* first = table.GetChain(59);
    ASSERT_NE(nullptr, first);
    EXPECT_STREQ("ab", first->GetKey());
    ASSERT_NE(nullptr, first->GetNext());
    EXPECT_STREQ("cf", first->GetNext()->GetKey());
    EXPECT_EQ(nullptr, first->GetNext()->GetNext());
    EXPECT_EQ(nullptr, table.Lookup("bd"));
    EXPECT_FALSE(table.Remove("bd"));
}

TEST(HashTable, RemoveDeletesOnlyTheMatchingItem)
{
    int deaths = 0;
    ChainTable table(101);
    ASSERT_TRUE(table.Insert(new CountedItem("ab", &deaths)));
    ASSERT_TRUE(table.Insert(new CountedItem("bd", &deaths)));
    ASSERT_TRUE(table.Insert(new CountedItem("cf", &deaths)));

    EXPECT_TRUE(table.Remove("ab"));  // the chain's first item
    EXPECT_EQ(1, deaths);
    EXPECT_EQ(2, ChainLength(table.GetChain(59)));
    EXPECT_STREQ("bd", table.GetChain(59)->GetKey());

    EXPECT_TRUE(table.Remove("cf"));  // the last item
    EXPECT_EQ(2, deaths);
    EXPECT_EQ(1, ChainLength(table.GetChain(59)));

    EXPECT_FALSE(table.Remove("dh"));  // same bucket, absent
    EXPECT_FALSE(table.Remove("x"));   // empty bucket
    EXPECT_FALSE(table.Remove(nullptr));
    EXPECT_EQ(2, deaths);
}

TEST(HashTable, InsertDeletesTheCallersItemWhenRefused)
{
    int deaths = 0;
    CHashTable table(101);
    CountedItem* kept = new CountedItem("ab", &deaths);
    ASSERT_TRUE(table.Insert(kept));
    EXPECT_EQ(kept, table.Lookup("ab"));

    EXPECT_FALSE(table.Insert(new CountedItem("ab", &deaths)));
    EXPECT_EQ(1, deaths);
    EXPECT_EQ(kept, table.Lookup("ab"));
    EXPECT_FALSE(table.Insert(nullptr));
}

TEST(HashTable, TableWithoutBucketsRefusesEverything)
{
    int deaths = 0;
    {
        ChainTable table(0);
        EXPECT_EQ(0, table.GetBucketCount());
        EXPECT_EQ(0, table.HashKey("ab"));
        EXPECT_FALSE(table.Add("ab"));
        EXPECT_FALSE(table.Insert(new CountedItem("ab", &deaths)));
        EXPECT_EQ(1, deaths);
        EXPECT_EQ(nullptr, table.Lookup("ab"));
        EXPECT_EQ(nullptr, table.FindTail(0, "ab"));
        EXPECT_EQ(nullptr, table.GetChain(0));
        EXPECT_FALSE(table.Remove("ab"));
        table.Probe();
        table.ClearBuckets();
        table.RemoveAll();
    }
    EXPECT_EQ(1, deaths);
}

TEST(HashTable, FindTailGivesTheLastItemUnlessTheKeyIsPresent)
{
    CHashTable table(101);
    EXPECT_EQ(nullptr, table.FindTail(59, "ab"));  // empty chain
    ASSERT_TRUE(table.Add("ab"));
    ASSERT_TRUE(table.Add("bd"));
    CHashItem* tail = table.FindTail(59, "cf");
    ASSERT_NE(nullptr, tail);
    EXPECT_STREQ("bd", tail->GetKey());
    EXPECT_EQ(nullptr, table.FindTail(59, "ab"));
    EXPECT_EQ(nullptr, table.FindTail(101, "cf"));  // no such bucket
}

TEST(HashTable, RemoveAllAndDestructorDeleteEveryItem)
{
    int deaths = 0;
    {
        CHashTable table(7);
        for (const char* key : {"a", "b", "c", "d", "e", "f", "g", "h", "i"})
            ASSERT_TRUE(table.Insert(new CountedItem(key, &deaths))) << key;
        table.RemoveAll();
        EXPECT_EQ(9, deaths);
        EXPECT_EQ(nullptr, table.Lookup("a"));
        ASSERT_TRUE(table.Insert(new CountedItem("a", &deaths)));
        ASSERT_TRUE(table.Insert(new CountedItem("b", &deaths)));
    }
    EXPECT_EQ(11, deaths);
}

TEST(HashTable, ClearBucketsForgetsChainsWithoutDeleting)
{
    int deaths = 0;
    CHashItem* chain = nullptr;
    {
        ChainTable table(1);
        ASSERT_TRUE(table.Insert(new CountedItem("x", &deaths)));
        ASSERT_TRUE(table.Insert(new CountedItem("y", &deaths)));
        chain = table.GetChain(0);
        table.ClearBuckets();
        EXPECT_EQ(nullptr, table.Lookup("x"));
    }
    EXPECT_EQ(0, deaths);
    delete chain;
    EXPECT_EQ(2, deaths);
}

TEST(HashTable, ProbeAddsAndRemovesItsTestKeys)
{
    CHashTable table(101);
    ASSERT_TRUE(table.Add("012"));
    ASSERT_TRUE(table.Add("keep"));
    table.Probe();
    EXPECT_EQ(nullptr, table.Lookup("012"));
    EXPECT_EQ(nullptr, table.Lookup("000"));
    EXPECT_NE(nullptr, table.Lookup("keep"));

    ASSERT_TRUE(table.Add("000"));
    table.Probe();
    EXPECT_EQ(nullptr, table.Lookup("000"));
    EXPECT_FALSE(table.ReservedSlot());
}

TEST(HashTable, LongKeysAreCutButStillFound)
{
    const std::string longKey(70, 'k');
    const std::string otherTail = std::string(63, 'k') + "zz";
    CHashItem item(longKey.c_str());
    EXPECT_EQ(std::string(63, 'k'), item.GetKey());

    CHashTable table(101);
    ASSERT_TRUE(table.Add(longKey.c_str()));
    CHashItem* found = table.Lookup(longKey.c_str());
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(std::string(63, 'k'), found->GetKey());
    // Keys are known by their first 63 characters.
    EXPECT_EQ(found, table.Lookup(otherTail.c_str()));
    EXPECT_FALSE(table.Add(otherTail.c_str()));
    EXPECT_TRUE(table.Remove(longKey.c_str()));
    EXPECT_EQ(nullptr, table.Lookup(longKey.c_str()));
}

TEST(HashItem, NullNameGivesEmptyKey)
{
    CHashItem item(nullptr);
    EXPECT_STREQ("", item.GetKey());
    EXPECT_EQ(nullptr, item.GetNext());
}

TEST(HashItem, DeletingTheHeadDeletesAVeryLongChain)
{
    // Far more items than stack frames fit into the 1 MB main-thread stack.
    const int count = 300000;
    int deaths = 0;
    CHashItem* head = new CountedItem("0", &deaths);
    CHashItem* tail = head;
    for (int i = 1; i < count; ++i) {
        CHashItem* next = new CountedItem("n", &deaths);
        tail->SetNext(next);
        tail = next;
    }
    delete head;
    EXPECT_EQ(count, deaths);
}

}  // namespace
