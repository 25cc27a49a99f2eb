#include "RecordingTags.h"

#include <gtest/gtest.h>

namespace {

class CListTags : public CTagTable {
public:
    bool RegisterTags() override { return true; }
    CTagDelegateVoid* Delegate() { return MakeDelegate(this, &CListTags::Nothing, &CListTags::Nothing); }

private:
    void Nothing(const CString&) {}
};

}  // namespace

TEST(TagTable, RootsAndParents)
{
    CListTags tags;
    ASSERT_TRUE(tags.AddTagList("Root", CTagTable::kRootParent, tags.Delegate(), CNewParamCell::kAll, nullptr, {nullptr}));
    ASSERT_TRUE(tags.AddTagList("Child", "Root", tags.Delegate(), CNewParamCell::kAll, nullptr, {nullptr}));
    ASSERT_TRUE(tags.AddTagList("Other", CTagTable::kRootParent, tags.Delegate(), CNewParamCell::kAll, nullptr, {nullptr}));
    // A second registration only adds the parent.
    ASSERT_TRUE(tags.AddTagList("Child", "Other", tags.Delegate(), CNewParamCell::kAll, nullptr, {nullptr}));
    ASSERT_TRUE(tags.AddTagList("Child", "Other", tags.Delegate(), CNewParamCell::kAll, nullptr, {nullptr}));

    CTagItem* root = tags.FindTagA("Root");
    CTagItem* child = tags.FindTag(L"Child");
    CTagItem* other = tags.FindTagA("Other");
    ASSERT_TRUE(root && child && other);
    EXPECT_TRUE(root->IsAllowedUnder(nullptr));
    EXPECT_FALSE(root->IsAllowedUnder(other)) << "a root may not stand inside another element";
    EXPECT_FALSE(child->IsAllowedUnder(nullptr));
    EXPECT_TRUE(child->IsAllowedUnder(root));
    EXPECT_TRUE(child->IsAllowedUnder(other));
    EXPECT_EQ(child->GetParents().size(), 2u);
    EXPECT_EQ(tags.FindTagA("child"), nullptr) << "names compare case-sensitively";
    EXPECT_EQ(tags.FindTag(L"\xFF2Foot"), nullptr) << "no look-alike mapping";
}

TEST(TagTable, KeepsADefaultCellOnlyWhenItHoldsSomething)
{
    CListTags tags;
    tags.AddTagList("Empty", CTagTable::kRootParent, tags.Delegate(), CNewParamCell::kAll, nullptr, {nullptr});
    tags.AddTagList("Text", CTagTable::kRootParent, tags.Delegate(), CNewParamCell::kAll, L"t", {nullptr});
    tags.AddTagList("Attr", CTagTable::kRootParent, tags.Delegate(), CNewParamCell::kAll, nullptr, {"A", "1", nullptr});
    EXPECT_EQ(tags.FindTagA("Empty")->GetDefaultCell(), nullptr);
    ASSERT_NE(tags.FindTagA("Text")->GetDefaultCell(), nullptr);
    ASSERT_NE(tags.FindTagA("Attr")->GetDefaultCell(), nullptr);
    EXPECT_STREQ(tags.FindTagA("Attr")->GetDefaultCell()->Find(L"A"), L"1");
}

TEST(TagTable, TheLookupCacheForgetsRemovedItems)
{
    CListTags tags;
    tags.AddTagList("Gone", CTagTable::kRootParent, tags.Delegate(), CNewParamCell::kAll, nullptr, {nullptr});
    ASSERT_NE(tags.FindTagA("Gone"), nullptr);
    EXPECT_EQ(tags.GetCachedItem(), tags.FindTagA("Gone"));
    tags.Remove("Gone");
    EXPECT_EQ(tags.GetCachedItem(), nullptr);
    EXPECT_EQ(tags.FindTagA("Gone"), nullptr);
    tags.AddTagList("Again", CTagTable::kRootParent, tags.Delegate(), CNewParamCell::kAll, nullptr, {nullptr});
    ASSERT_NE(tags.FindTagA("Again"), nullptr);
    tags.RemoveAll();
    EXPECT_EQ(tags.FindTagA("Again"), nullptr);
}

TEST(TagTable, ManyElementsAreFoundInTheirBuckets)
{
    CListTags tags;
    EXPECT_EQ(tags.GetBucketCount(), 512);
    char name[16];
    for (int i = 0; i < 2000; ++i) {
        std::snprintf(name, sizeof name, "E%d", i);
        ASSERT_TRUE(tags.AddTagList(name, CTagTable::kRootParent, tags.Delegate(), CNewParamCell::kAll, nullptr, {nullptr}));
    }
    for (int i = 1999; i >= 0; --i) {
        std::snprintf(name, sizeof name, "E%d", i);
        CTagItem* item = tags.FindTagA(name);
        ASSERT_NE(item, nullptr) << name;
        EXPECT_STREQ(item->GetKey(), name);
    }
}
