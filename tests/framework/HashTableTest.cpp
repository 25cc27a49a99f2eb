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

// The keys of a chain, in order.
std::string Chain(const CHashItem* item)
{
    std::string keys;
    for (; item; item = item->GetNext())
        keys += std::string(keys.empty() ? "" : " ") + item->GetKey();
    return keys;
}

TEST(HashTable, HashAndKeyCodeOfKnownKeys)
{
    const struct {
        const char* key;
        uint16_t bucket;  // with 101 buckets
        uint32_t code;
    } cases[] = {
        {"ab", 59, 0x36A},
        {"a", 97, 0x61},
        // 0xE9 is sign-extended: 16-bit 0xFFE9 = 65513, 65513 % 101 = 65.
        {"\xE9", 65, 0xFFFFFFE9u},
        // 0xFF gives 0xFFFFFFFF, which the final modulo turns into 0.
        {"\xFF", 87, 0},
        {"", 0, 0},
    };
    CHashTable table(101);
    for (const auto& c : cases) {
        EXPECT_EQ(c.bucket, table.HashKey(c.key)) << c.key;
        EXPECT_EQ(c.code, table.KeyCode(c.key)) << c.key;
    }
}

TEST(HashTable, CollidingKeysShareOneChainThatStaysLinkedAsItemsGo)
{
    int deaths = 0;
    ChainTable table(101);
    EXPECT_EQ(nullptr, table.FindTail(59, "ab")) << "empty chain";
    for (const char* key : {"ab", "bd", "cf", "dh"})
        ASSERT_EQ(59, table.HashKey(key)) << key;
    ASSERT_TRUE(table.Add("ab"));
    for (const char* key : {"bd", "cf"})
        ASSERT_TRUE(table.Insert(new CountedItem(key, &deaths))) << key;
    EXPECT_FALSE(table.Add("ab")) << "a key once";
    EXPECT_EQ("ab bd cf", Chain(table.GetChain(59)));
    for (const char* key : {"ab", "bd", "cf"}) {
        CHashItem* item = table.Lookup(key);
        ASSERT_NE(nullptr, item) << key;
        EXPECT_STREQ(key, item->GetKey());
        EXPECT_EQ(table.KeyCode(key), item->GetKeyCode());
    }
    EXPECT_EQ(nullptr, table.Lookup("AB"));
    EXPECT_EQ(nullptr, table.Lookup("dh")) << "same bucket, never added";
    EXPECT_EQ(nullptr, table.Lookup(nullptr));
    EXPECT_STREQ("cf", table.FindTail(59, "dh")->GetKey());
    EXPECT_EQ(nullptr, table.FindTail(59, "ab")) << "the key is present";
    EXPECT_EQ(nullptr, table.FindTail(101, "dh")) << "no such bucket";

    EXPECT_TRUE(table.Remove("bd"));
    EXPECT_EQ(1, deaths) << "only the matching item";
    EXPECT_EQ("ab cf", Chain(table.GetChain(59)));
    EXPECT_FALSE(table.Remove("bd"));
    EXPECT_TRUE(table.Remove("ab"));
    EXPECT_TRUE(table.Remove("cf"));
    EXPECT_EQ(2, deaths);
    EXPECT_EQ(nullptr, table.GetChain(59));
    EXPECT_FALSE(table.Remove("x"));
    EXPECT_FALSE(table.Remove(nullptr));
}

TEST(HashTable, RefusedItemsAreDeletedAndATableWithoutBucketsRefusesAll)
{
    int deaths = 0;
    CHashTable table(101);
    CountedItem* kept = new CountedItem("ab", &deaths);
    ASSERT_TRUE(table.Insert(kept));
    EXPECT_FALSE(table.Insert(new CountedItem("ab", &deaths)));
    EXPECT_EQ(1, deaths);
    EXPECT_EQ(kept, table.Lookup("ab"));
    EXPECT_FALSE(table.Insert(nullptr));
    {
        ChainTable none(0);
        EXPECT_EQ(0, none.GetBucketCount());
        EXPECT_EQ(0, none.HashKey("ab"));
        EXPECT_FALSE(none.Add("ab"));
        EXPECT_FALSE(none.Insert(new CountedItem("ab", &deaths)));
        EXPECT_EQ(2, deaths);
        EXPECT_EQ(nullptr, none.Lookup("ab"));
        EXPECT_EQ(nullptr, none.FindTail(0, "ab"));
        EXPECT_EQ(nullptr, none.GetChain(0));
        EXPECT_FALSE(none.Remove("ab"));
        none.Probe();
        none.ClearBuckets();
        none.RemoveAll();
    }
    EXPECT_EQ(2, deaths);
}

TEST(HashTable, RemoveAllAndTheDestructorDeleteClearBucketsOnlyForgets)
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
    }
    EXPECT_EQ(10, deaths);

    CHashItem* chain = nullptr;
    {
        ChainTable table(1);
        ASSERT_TRUE(table.Insert(new CountedItem("x", &deaths)));
        ASSERT_TRUE(table.Insert(new CountedItem("y", &deaths)));
        chain = table.GetChain(0);
        table.ClearBuckets();
        EXPECT_EQ(nullptr, table.Lookup("x"));
    }
    EXPECT_EQ(10, deaths);
    delete chain;
    EXPECT_EQ(12, deaths);
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

TEST(HashTable, KeysAreKnownByTheirFirst63Characters)
{
    const std::string longKey(70, 'k');
    const std::string otherTail = std::string(63, 'k') + "zz";
    CHashTable table(101);
    ASSERT_TRUE(table.Add(longKey.c_str()));
    CHashItem* found = table.Lookup(longKey.c_str());
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(std::string(63, 'k'), found->GetKey());
    EXPECT_EQ(found, table.Lookup(otherTail.c_str()));
    EXPECT_FALSE(table.Add(otherTail.c_str()));
    EXPECT_TRUE(table.Remove(longKey.c_str()));
    EXPECT_EQ(nullptr, table.Lookup(longKey.c_str()));
    EXPECT_STREQ("", CHashItem(nullptr).GetKey());
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
