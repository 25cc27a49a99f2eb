// The command history: steps, the limit, undo and redo through the
// commander.
#include <gtest/gtest.h>

#include "model/TalCommandGroup.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommandPayloads.h"
#include "model/TalCommandStrings.h"
#include "model/TalCommander.h"
#include "model/TalSectionCommands.h"
#include "tests/model/CommandTestSupport.h"

namespace {

class CommandHistoryTest : public SampleReportTest {
protected:
    void Rename(CTalSection* section, const wchar_t* name) { Commander().RenameSection(section, CString(name)); }
};

}  // namespace

TEST_F(CommandHistoryTest, KeepsThirtyStepsAndDropsTheOldest)
{
    for (int i = 0; i <= 30; ++i) {
        CString name;
        name.Format(L"name %d", i);
        Rename(report->b.Get(), name);
    }
    EXPECT_EQ(30, History().GetGroupCount());
    EXPECT_EQ(29, History().GetPosition());
    while (History().CanUndo())
        Commander().Undo();
    // The first rename can no longer be undone.
    EXPECT_EQ(CString(L"name 0"), report->b->GetName());
    EXPECT_EQ(-1, History().GetPosition());
    EXPECT_EQ(30, History().GetGroupCount());
}

TEST_F(CommandHistoryTest, ANewStepDropsTheRedoStepsAnEmptyOneKeepsThem)
{
    Rename(report->a.Get(), L"one");
    Rename(report->a.Get(), L"two");
    Rename(report->a.Get(), L"three");
    Commander().Undo();
    Commander().Undo();
    EXPECT_EQ(0, History().GetPosition());
    // B has no own template: clearing the flag changes nothing and leaves no step.
    EXPECT_TRUE(Commander().SetUseTemplate(report->b.Get(), false));
    EXPECT_EQ(3, History().GetGroupCount());
    EXPECT_TRUE(History().CanRedo());
    Rename(report->b.Get(), L"other");
    EXPECT_EQ(2, History().GetGroupCount());
    EXPECT_EQ(1, History().GetPosition());
    EXPECT_EQ("Can't Redo", Narrow(History().GetRedoText()));
    EXPECT_EQ(CString(L"one"), report->a->GetName());
}

TEST_F(CommandHistoryTest, UndoAndRedoOfARemovalBringBackTheSameSection)
{
    CTalSection* removed = report->a1.Get();
    Commander().RemoveSection(removed);
    EXPECT_EQ(1, report->a->GetSubSectionCount());
    Commander().Undo();
    ASSERT_EQ(2, report->a->GetSubSectionCount());
    EXPECT_EQ(removed, report->a->GetSubSection(0).Get());
    EXPECT_EQ(report->a.Get(), removed->PeekParent());
    Commander().Redo();
    EXPECT_EQ(-1, report->a->IndexOfSubSection(removed));
    Commander().Undo();
    EXPECT_EQ(0, report->a->IndexOfSubSection(removed));
}

TEST_F(CommandHistoryTest, UndoRunsAGroupBackwardsAndRedoForwards)
{
    History().BeginGroup();
    CCmdEditSectionName a(3, report->a.Get(), CString(L"a"), 0);
    CCmdEditSectionName b(3, report->b.Get(), CString(L"b"), 0);
    CCmdEditSectionName c(3, report->c.Get(), CString(L"c"), 0);
    Commander().Execute(&a);
    Commander().Execute(&b);
    Commander().Execute(&c);
    ASSERT_TRUE(History().EndGroup(IDS_EDIT_SECTION_NAME));
    const std::string ida = std::to_string(report->a->GetId());
    const std::string idb = std::to_string(report->b->GetId());
    const std::string idc = std::to_string(report->c->GetId());

    document->log.clear();
    Commander().Undo();
    EXPECT_EQ((std::vector<std::string>{"Renamed " + idc + " 1", "Renamed " + idb + " 1", "Renamed " + ida + " 1"}),
              document->log);
    // The group now holds C', B', A', in that order.
    const CTalCommandGroup* group = History().GetGroup(0);
    ASSERT_EQ(3, group->GetCount());
    EXPECT_EQ(report->c.Get(), group->GetAt(0)->GetTarget().Get());
    EXPECT_EQ(report->a.Get(), group->GetAt(2)->GetTarget().Get());
    EXPECT_EQ(IDS_EDIT_SECTION_NAME, group->GetLabel());

    document->log.clear();
    Commander().Redo();
    EXPECT_EQ((std::vector<std::string>{"Renamed " + ida + " 1", "Renamed " + idb + " 1", "Renamed " + idc + " 1"}),
              document->log);
    EXPECT_EQ(CString(L"b"), report->b->GetName());
}

TEST_F(CommandHistoryTest, NothingToReplayOrNoGroupChangesNothing)
{
    const std::string before = DescribeModel(report->heading.Get());
    Commander().Undo();
    Commander().Redo();
    Rename(report->a.Get(), L"one");
    Commander().Redo();
    EXPECT_EQ(0, History().GetPosition());
    Commander().Undo();
    Commander().Undo();
    EXPECT_EQ(-1, History().GetPosition());
    EXPECT_EQ(before, DescribeModel(report->heading.Get()));
    EXPECT_EQ(nullptr, History().TakeUndoGroup());
    Commander().Redo();
    Commander().Redo();
    EXPECT_EQ(0, History().GetPosition());
    EXPECT_EQ(nullptr, History().TakeRedoGroup());

    // A command without an open group is dropped.
    const int32_t references = report->b->GetRefCount();
    History().AddCommand(new CCmdBoolData(1, report->b.Get(), 1));
    EXPECT_EQ(references, report->b->GetRefCount());
    EXPECT_EQ(0, History().GetPosition());
    EXPECT_EQ(1, History().GetGroupCount());
    EXPECT_FALSE(History().EndGroup(0));
}

TEST_F(CommandHistoryTest, AnUnfinishedGroupIsDroppedWithWhatItHolds)
{
    const int32_t live = CKWRefCounter::GetLiveCount();
    History().BeginGroup();
    {
        CKWRefPtr<CTalSection> orphan(new CTalSection(report->a.Get(), L"orphan"));
        History().AddCommand(new CCmdAddSection(0, orphan.Get(), report->a.Get(), nullptr, 0));
    }
    EXPECT_LT(live, CKWRefCounter::GetLiveCount());
    History().BeginGroup();
    // The section and its note are freed: the command detached them.
    EXPECT_EQ(live, CKWRefCounter::GetLiveCount());
    EXPECT_FALSE(History().EndGroup(0));
    EXPECT_EQ(0, History().GetGroupCount());
}

TEST_F(CommandHistoryTest, AReplayThatRecordsNothingKeepsItsCommands)
{
    History().BeginGroup();
    History().AddCommand(new CCmdBoolData(6, report->b.Get(), 0));  // B's flag is 0 already
    ASSERT_TRUE(History().EndGroup(IDS_SET_USE_TEMPLATE));
    Commander().Undo();
    EXPECT_EQ(-1, History().GetPosition());
    EXPECT_EQ(1, History().GetGroup(0)->GetCount());
    EXPECT_EQ("&Redo Set Use Template\tCtrl+Y", Narrow(History().GetRedoText()));
}

TEST_F(CommandHistoryTest, ClearDropsEverything)
{
    Rename(report->a.Get(), L"one");
    Commander().RemoveSection(report->c.Get());
    History().BeginGroup();
    History().Clear();
    EXPECT_EQ(0, History().GetGroupCount());
    EXPECT_EQ(-1, History().GetPosition());
    EXPECT_FALSE(History().IsGroupOpen());
    EXPECT_EQ(2, report->heading->GetSubSectionCount());
}
