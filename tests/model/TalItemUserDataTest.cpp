// The data of a section-tree item: the counted reference it holds to its
// report object, and what a reader finds through the tree's generic base.
#include "model/TalItemUserData.h"
#include "model/TalSection.h"

#include <gtest/gtest.h>

namespace {

// A section that notes when it is deleted.
class CNotedSection : public CTalSection {
public:
    explicit CNotedSection(bool& deleted) : CTalSection(nullptr, L"Noted"), m_deleted(deleted) {}
    ~CNotedSection() override { m_deleted = true; }

private:
    bool& m_deleted;
};

}  // namespace

TEST(TalItemUserData, HoldsOneReferenceAndTheLastItemToGoDeletesARemovedSection)
{
    bool deleted = false;
    CTalSection* section = new CNotedSection(deleted);
    section->AddRef();  // the document's own reference
    const int32_t before = section->GetRefCount();
    CKWDBItemUserData* first = new CTalItemUserData(section);
    CKWDBItemUserData* second = new CTalItemUserData(section);
    EXPECT_EQ(before + 2, section->GetRefCount()) << "one reference per item";
    auto* data = dynamic_cast<CTalItemUserData*>(first);
    ASSERT_NE(nullptr, data) << "a reader finds the report data through the tree's base";
    EXPECT_EQ(section, data->GetReportObject());

    // The document removes the section: its links are broken, its reference goes.
    section->Detach();
    section->Release();
    EXPECT_FALSE(deleted) << "the items still hold it";
    delete first;
    EXPECT_FALSE(deleted);
    delete second;
    EXPECT_TRUE(deleted) << "the last item to go deletes it";
}

TEST(TalItemUserData, ANullReferenceShowsNoObjectAndOtherDataIsNoReportData)
{
    CTalItemUserData empty(nullptr);
    EXPECT_EQ(nullptr, empty.GetReportObject());
    CKWDBItemUserData other;
    EXPECT_EQ(nullptr, dynamic_cast<CTalItemUserData*>(&other));
}
