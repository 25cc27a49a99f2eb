// Every command kind through the commander: applied inside a group, undone,
// redone and undone again, with the whole model compared at each stage.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "model/TalCommandGroup.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommandPayloads.h"
#include "model/TalCommander.h"
#include "model/TalPictureCommands.h"
#include "model/TalSectionCommands.h"
#include "model/TalTextCommands.h"
#include "model/TalTextNote.h"
#include "tests/model/CommandTestSupport.h"

namespace {

typedef std::function<CTalCommand*(SampleReport&)> CommandMaker;

enum Effect {
    kChanges,       // changes the model; the recorded inverse restores it
    kChangesAlone,  // as above, but leaves the text's sums for a later command to mend
    kMarksOnly,     // changes nothing, records itself
    kNoEffect,      // changes nothing, records nothing, returns null
};

struct KindCase {
    const char* name;
    CommandMaker make;
    Effect effect;
};

CTalPictureList Pictures(std::initializer_list<CKWRefPtr<CTalPicture>> list) { return CTalPictureList(list); }

std::vector<KindCase> KindCases()
{
    auto a = [](SampleReport& r) { return r.a.Get(); };
    return {
        {"0 add section", [](SampleReport& r) -> CTalCommand* {
             CKWRefPtr<CTalSection> added(new CTalSection(nullptr, L"N"));
             return new CCmdAddSection(0, added.Get(), r.a.Get(), r.a1.Get(), 1);
         }, kChanges},
        {"0 add section first", [](SampleReport& r) -> CTalCommand* {
             CKWRefPtr<CTalSection> added(new CTalSection(nullptr, L"N"));
             return new CCmdAddSection(0, added.Get(), r.heading.Get(), nullptr, 0);
         }, kChanges},
        {"1 remove first child", [](SampleReport& r) -> CTalCommand* { return new CCmdBoolData(1, r.a1.Get(), 1); },
         kChanges},
        {"1 remove subtree", [](SampleReport& r) -> CTalCommand* { return new CCmdBoolData(1, r.a.Get(), 0); },
         kChanges},
        {"2 move under another parent", [](SampleReport& r) -> CTalCommand* {
             return new CCmdMoveSection(2, r.a2.Get(), r.c.Get(), nullptr);
         }, kChanges},
        {"2 move behind a sibling", [](SampleReport& r) -> CTalCommand* {
             return new CCmdMoveSection(2, r.a.Get(), r.heading.Get(), r.c.Get());
         }, kChanges},
        {"3 rename", [](SampleReport& r) -> CTalCommand* {
             return new CCmdEditSectionName(3, r.b.Get(), CString(L"Renamed"), 0);
         }, kChanges},
        {"5 template name", [](SampleReport& r) -> CTalCommand* {
             return new CCmdStringData(5, r.b.Get(), CString(L"Other"));
         }, kChanges},
        {"5 same template name", [](SampleReport& r) -> CTalCommand* {
             return new CCmdStringData(5, r.b.Get(), r.b->GetTemplateName());
         }, kNoEffect},
        {"6 own template", [](SampleReport& r) -> CTalCommand* { return new CCmdBoolData(6, r.b.Get(), 1); },
         kChanges},
        {"6 same own template", [](SampleReport& r) -> CTalCommand* { return new CCmdBoolData(6, r.b.Get(), 0); },
         kNoEffect},
        {"7 insert at positions", [](SampleReport& r) -> CTalCommand* {
             const CTalPositionList at = {1, 2};
             return new CCmdInsertPictures(7, r.b.Get(), Pictures({MakePicture(400), MakePicture(401)}), &at);
         }, kChanges},
        {"7 insert at descending positions", [](SampleReport& r) -> CTalCommand* {
             const CTalPositionList at = {4, 0};
             return new CCmdInsertPictures(7, r.a.Get(), Pictures({MakePicture(400), MakePicture(401)}), &at);
         }, kChanges},
        {"7 append", [](SampleReport& r) -> CTalCommand* {
             return new CCmdInsertPictures(7, r.b.Get(), Pictures({MakePicture(400), MakePicture(401)}));
         }, kChanges},
        {"8 remove listed out of order", [](SampleReport& r) -> CTalCommand* {
             const CTalPositionList at = {3, 1, 3, 9, -2};
             return new CCmdRemovePictures(8, r.a.Get(), &at, -1);
         }, kChanges},
        {"8 remove last two", [](SampleReport& r) -> CTalCommand* {
             return new CCmdRemovePictures(8, r.a.Get(), nullptr, 2);
         }, kChanges},
        {"8 remove more than there are", [](SampleReport& r) -> CTalCommand* {
             return new CCmdRemovePictures(8, r.b.Get(), nullptr, 99);
         }, kChanges},
        {"9 move behind anchors", [](SampleReport& r) -> CTalCommand* {
             const CTalPictureList anchors = {r.b->GetPicture(0), r.a->GetPicture(4)};
             return new CCmdMovePictures(9, r.b.Get(), r.a.Get(), Pictures({r.a->GetPicture(4), r.a->GetPicture(1)}),
                                         &anchors);
         }, kChanges},
        {"9 move appended", [](SampleReport& r) -> CTalCommand* {
             return new CCmdMovePictures(9, r.c.Get(), r.a.Get(), Pictures({r.a->GetPicture(3), r.a->GetPicture(0)}));
         }, kChanges},
        {"9 move listed against the source order", [](SampleReport& r) -> CTalCommand* {
             return new CCmdMovePictures(9, r.c.Get(), r.a.Get(), Pictures({r.a->GetPicture(2), r.a->GetPicture(1)}));
         }, kChanges},
        {"9 move within a section", [](SampleReport& r) -> CTalCommand* {
             const CTalPictureList anchors = {nullptr, r.a->GetPicture(3)};
             return new CCmdMovePictures(9, r.a.Get(), r.a.Get(), Pictures({r.a->GetPicture(3), r.a->GetPicture(1)}),
                                         &anchors);
         }, kChanges},
        {"10 picture title", [](SampleReport& r) -> CTalCommand* {
             return new CCmdEditPictureTitle(10, r.a.Get(), r.a->GetPicture(2).Get(), CString(L"New title"), 0);
         }, kChanges},
        {"11 use description", [](SampleReport& r) -> CTalCommand* {
             return new CCmdPropPictures(11, r.a.Get(), {0, 2, 7}, {1, 0, 1});
         }, kChanges},
        {"11 use description, one position twice", [](SampleReport& r) -> CTalCommand* {
             return new CCmdPropPictures(11, r.a.Get(), {1, 1}, {0, 1});
         }, kChanges},
        {"12 shown", [](SampleReport& r) -> CTalCommand* {
             return new CCmdPropPictures(12, r.a.Get(), {1, -1}, {0, 1});
         }, kChanges},
        {"13 greyscale", [](SampleReport& r) -> CTalCommand* {
             return new CCmdPropPictures(13, r.a.Get(), {4}, {1});
         }, kChanges},
        {"14 new page", [](SampleReport& r) -> CTalCommand* {
             return new CCmdPropPictures(14, r.b.Get(), {0, 1}, {1, 1});
         }, kChanges},
        {"15 rotate", [](SampleReport& r) -> CTalCommand* {
             return new CCmdRotatePictures(15, r.a.Get(), {3, 0}, 180);
         }, kChanges},
        {"15 rotate backwards", [](SampleReport& r) -> CTalCommand* {
             return new CCmdRotatePictures(15, r.a.Get(), {0, 1}, -300);
         }, kChanges},
        {"16 run style", [a](SampleReport& r) -> CTalCommand* { return new CCmdIntByteData(16, a(r), 1, 3); },
         kChanges},
        {"18 run font", [a](SampleReport& r) -> CTalCommand* { return new CCmdIntIntData(18, a(r), 0, 5); },
         kChanges},
        {"20 run size", [a](SampleReport& r) -> CTalCommand* { return new CCmdIntIntData(20, a(r), 2, 24); },
         kChanges},
        {"21 run colour", [a](SampleReport& r) -> CTalCommand* {
             return new CCmdIntColorData(21, a(r), 1, CKWColor::FromRgb(255, 0, 0));
         }, kChanges},
        {"22 run length", [a](SampleReport& r) -> CTalCommand* { return new CCmdIntIntData(22, a(r), 0, 3); },
         kChangesAlone},
        {"24 paragraph alignment", [a](SampleReport& r) -> CTalCommand* {
             return new CCmdIntByteData(24, a(r), 2, 2);
         }, kChanges},
        {"25 first-line indent", [a](SampleReport& r) -> CTalCommand* {
             return new CCmdIntFloatData(25, a(r), 1, 12.5f);
         }, kChanges},
        {"26 left indent", [a](SampleReport& r) -> CTalCommand* { return new CCmdIntFloatData(26, a(r), 0, 7.0f); },
         kChanges},
        {"27 right indent", [a](SampleReport& r) -> CTalCommand* { return new CCmdIntFloatData(27, a(r), 2, 3.0f); },
         kChanges},
        {"28 paragraph length", [a](SampleReport& r) -> CTalCommand* { return new CCmdIntIntData(28, a(r), 0, 5); },
         kChangesAlone},
        {"37 insert run", [a](SampleReport& r) -> CTalCommand* {
             CKWCharFormat* run = new CKWCharFormat;
             run->m_style = CKWCharFormat::kItalic;
             return new CCmdInsertCharacter(37, a(r), run, 1);
         }, kChanges},
        {"38 insert paragraph", [a](SampleReport& r) -> CTalCommand* {
             CKWParaFormat* para = new CKWParaFormat;
             para->m_align = CKWParaFormat::kAlignRight;
             return new CCmdInsertParagraf(38, a(r), para, 3);
         }, kChanges},
        {"39 remove run", [a](SampleReport& r) -> CTalCommand* { return new CCmdIntData(39, a(r), 1); },
         kChangesAlone},
        {"40 remove paragraph", [a](SampleReport& r) -> CTalCommand* { return new CCmdIntData(40, a(r), 0); },
         kChangesAlone},
        {"48 replace text", [a](SampleReport& r) -> CTalCommand* {
             return new CCmdReplaceText(48, a(r), CString(L"XYZ"), 2, 5);
         }, kChanges},
        {"50 text range", [a](SampleReport& r) -> CTalCommand* { return new CCmdIntIntData(50, a(r), 5, 9); },
         kMarksOnly},
        {"35 box colour", [a](SampleReport& r) -> CTalCommand* {
             return new CCmdColorData(35, a(r), CKWColor::FromRgb(1, 2, 3));
         }, kNoEffect},
        {"51 out of range", [a](SampleReport& r) -> CTalCommand* { return new CCmdIntData(51, a(r), 0); }, kNoEffect},
        {"-1 out of range", [a](SampleReport& r) -> CTalCommand* { return new CCmdIntData(-1, a(r), 0); }, kNoEffect},
        {"null target", [](SampleReport&) -> CTalCommand* { return new CCmdBoolData(1, nullptr, 1); }, kNoEffect},
        {"picture as target", [](SampleReport& r) -> CTalCommand* {
             return new CCmdRotatePictures(15, r.a->GetPicture(0).Get(), {0}, 90);
         }, kNoEffect},
        {"text kind with a foreign class", [a](SampleReport& r) -> CTalCommand* {
             return new CCmdIntData(16, a(r), 0);
         }, kNoEffect},
    };
}

class CommanderKindsTest : public SampleReportTest {};

void RunCase(const KindCase& test)
{
    SCOPED_TRACE(test.name);
    LoggingDocument document;
    SampleReport report(document);
    CTalCommandHistory& history = document.History();
    CTalCommander& commander = document.GetCommander();
    const std::string before = DescribeModel(report.heading.Get());

    history.BeginGroup();
    std::unique_ptr<CTalCommand> command(test.make(report));
    const bool hasResult = commander.Execute(command.get()) != nullptr;
    command->ReleasePayload();
    command.reset();
    const bool stepped = history.EndGroup(0);
    const std::string after = DescribeModel(report.heading.Get());

    if (test.effect == kNoEffect || test.effect == kMarksOnly)
        EXPECT_EQ(before, after);
    else
        EXPECT_NE(before, after);
    EXPECT_EQ(test.effect != kNoEffect, stepped);
    // Kind 5 answers with its section even when the name was already set.
    EXPECT_EQ(test.effect != kNoEffect || std::string(test.name) == "5 same template name", hasResult);
    if (test.effect != kChangesAlone) {
        EXPECT_TRUE(ModelInvariantsHold(report.heading.Get()));
    }
    if (!stepped)
        return;

    commander.Undo();
    EXPECT_EQ(before, DescribeModel(report.heading.Get()));
    EXPECT_EQ(-1, history.GetPosition());
    commander.Redo();
    if (test.effect == kChangesAlone) {
        EXPECT_TRUE(ModelInvariantsHold(report.heading.Get()));  // mended after the replay
    } else {
        EXPECT_EQ(after, DescribeModel(report.heading.Get()));
    }
    // The mending was recorded with the redo, so this undo is exact too.
    commander.Undo();
    EXPECT_EQ(before, DescribeModel(report.heading.Get()));
    EXPECT_TRUE(ModelInvariantsHold(report.heading.Get()));
}

}  // namespace

TEST_F(CommanderKindsTest, EveryKindIsUndoneAndRedoneExactly)
{
    for (const KindCase& test : KindCases())
        RunCase(test);
}

TEST_F(CommanderKindsTest, KindsWithoutAHandlerChangeNothing)
{
    const std::string before = DescribeModel(report->heading.Get());
    for (int32_t kind : {17, 19, 23, 29, 30, 31, 32, 33, 34, 36, 41, 42, 43, 44, 45, 46, 47, 49, 51, 52, -1, INT32_MIN}) {
        SCOPED_TRACE(kind);
        document->History().BeginGroup();
        CCmdIntIntData command(kind, report->a.Get(), 0, 0);
        EXPECT_FALSE(document->GetCommander().Execute(&command));
        EXPECT_FALSE(document->History().EndGroup(0));
    }
    EXPECT_EQ(before, DescribeModel(report->heading.Get()));
    EXPECT_TRUE(document->log.empty());
    EXPECT_EQ(0, document->History().GetGroupCount());
}

TEST_F(CommanderKindsTest, ExpandedStateIsAViewStateAndNeverRecorded)
{
    document->History().BeginGroup();
    CCmdBoolData collapse(4, report->a.Get(), 0);
    EXPECT_FALSE(document->GetCommander().Execute(&collapse));
    EXPECT_EQ(0, report->a->GetExpanded());
    EXPECT_EQ(0, document->History().GetOpenGroup()->GetCount());
    EXPECT_FALSE(document->History().EndGroup(0));
    // The same value again: no notification.
    EXPECT_FALSE(document->GetCommander().Execute(&collapse));
    EXPECT_EQ((std::vector<std::string>{"Expanded " + std::to_string(report->a->GetId())}), document->log);
}

TEST_F(CommanderKindsTest, RotationIsReducedByATrueModulo)
{
    struct Case {
        int32_t start, angle, expected;
    };
    const Case cases[] = {
        {270, 180, 90}, {0, -300, 60}, {0, 720, 0}, {90, -1000, 170}, {0, INT32_MIN, 232}, {359, INT32_MAX, 126},
        // Angles from files need not lie in 0..359.
        {-450, 0, 270}, {1000, 80, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        report->a->GetPicture(0)->SetAngle(c.start);
        document->History().BeginGroup();
        CCmdRotatePictures rotate(15, report->a.Get(), {0}, c.angle);
        document->GetCommander().Execute(&rotate);
        document->History().EndGroup(0);
        EXPECT_EQ(c.expected, report->a->GetPicture(0)->GetAngle());
        document->GetCommander().Undo();
        EXPECT_EQ(CTalPicture::NormalizeAngle(c.start), report->a->GetPicture(0)->GetAngle());
    }
}

TEST_F(CommanderKindsTest, RemovalResultsAndNotifications)
{
    CCmdBoolData removeFirst(1, report->a1.Get(), 0);
    CCmdBoolData removeLast(1, report->c.Get(), 0);
    CCmdBoolData removeHeading(1, report->heading.Get(), 0);
    EXPECT_EQ(report->a, document->GetCommander().Execute(&removeFirst));
    EXPECT_EQ(report->b, document->GetCommander().Execute(&removeLast));
    EXPECT_FALSE(document->GetCommander().Execute(&removeHeading));
    // Told before the removal; a section that is not a child again is refused.
    EXPECT_FALSE(document->GetCommander().Execute(&removeLast));
    EXPECT_EQ((std::vector<std::string>{"Removed " + std::to_string(report->a1->GetId()),
                                        "Removed " + std::to_string(report->c->GetId())}),
              document->log);
    EXPECT_EQ(1, report->a->GetSubSectionCount());
    EXPECT_EQ(0, document->History().GetGroupCount());
    // No inverse holds them: their links are the caller's to break.
    report->a1->Detach();
    report->c->Detach();
}

TEST_F(CommanderKindsTest, MoveOfASectionOutsideTheTreeIsNotAnnounced)
{
    report->a->RemoveSubSection(report->a2.Get());  // keeps its parent link
    const std::string before = DescribeModel(report->heading.Get());
    document->History().BeginGroup();
    CCmdMoveSection move(2, report->a2.Get(), report->c.Get(), nullptr);
    EXPECT_FALSE(document->GetCommander().Execute(&move));
    EXPECT_FALSE(document->History().EndGroup(0));
    EXPECT_TRUE(document->log.empty());
    EXPECT_EQ(before, DescribeModel(report->heading.Get()));

    // Into its own subtree: refused too.
    CCmdMoveSection intoChild(2, report->a.Get(), report->a1.Get(), nullptr);
    EXPECT_FALSE(document->GetCommander().Execute(&intoChild));
    EXPECT_TRUE(document->log.empty());
    report->a2->Detach();
}

TEST_F(CommanderKindsTest, MoveIsAnnouncedBeforeAndAfter)
{
    CCmdMoveSection move(2, report->a2.Get(), report->c.Get(), nullptr);
    EXPECT_EQ(report->a2, document->GetCommander().Execute(&move));
    const std::string id = std::to_string(report->a2->GetId());
    EXPECT_EQ((std::vector<std::string>{"Moving " + id, "Moved " + id}), document->log);
    EXPECT_EQ(report->c.Get(), report->a2->PeekParent());
}

TEST_F(CommanderKindsTest, RemovingListedPicturesSortsAndSkips)
{
    const CTalPositionList positions = {3, 1, 3, 9, -2};
    CCmdRemovePictures remove(8, report->a.Get(), &positions, -1);
    document->History().BeginGroup();
    document->GetCommander().Execute(&remove);
    std::vector<int32_t> ids;
    for (const auto& picture : report->a->GetPictures())
        ids.push_back(picture->GetPictureId());
    EXPECT_EQ((std::vector<int32_t>{200, 202, 204}), ids);
    const std::string id = std::to_string(report->a->GetId());
    EXPECT_EQ((std::vector<std::string>{"Changing " + id, "PicturesRemoved " + id + " 1"}), document->log);
    // The inverse holds exactly the two removed pictures at their positions.
    const auto* inverse = dynamic_cast<const CCmdInsertPictures*>(document->History().GetOpenGroup()->GetAt(0));
    ASSERT_NE(nullptr, inverse);
    EXPECT_EQ((CTalPositionList{1, 3}), inverse->GetPositions());
    ASSERT_EQ(2u, inverse->GetPictures().size());
    EXPECT_EQ(201, inverse->GetPictures()[0]->GetPictureId());
    EXPECT_EQ(203, inverse->GetPictures()[1]->GetPictureId());
    EXPECT_EQ(nullptr, inverse->GetPictures()[0]->PeekParent());
    document->History().EndGroup(0);
}

TEST_F(CommanderKindsTest, AppendIsUndoneByRemovingTheLastPictures)
{
    document->History().BeginGroup();
    CCmdInsertPictures insert(7, report->b.Get(), Pictures({MakePicture(400), MakePicture(401), MakePicture(402)}));
    document->GetCommander().Execute(&insert);
    insert.ReleasePayload();
    const auto* inverse = dynamic_cast<const CCmdRemovePictures*>(document->History().GetOpenGroup()->GetAt(0));
    ASSERT_NE(nullptr, inverse);
    EXPECT_EQ(3, inverse->GetCount());
    EXPECT_TRUE(inverse->GetPositions().empty());
    document->History().EndGroup(0);
    EXPECT_EQ(5, report->b->GetPictureCount());
    document->GetCommander().Undo();
    ASSERT_EQ(2, report->b->GetPictureCount());
    EXPECT_EQ(301, report->b->GetPicture(1)->GetPictureId());
}

TEST_F(CommanderKindsTest, MoveOfAPictureMissingFromTheSourceChangesNothing)
{
    const std::string before = DescribeModel(report->heading.Get());
    CKWRefPtr<CTalPicture> stranger = MakePicture(999);
    document->History().BeginGroup();
    CCmdMovePictures move(9, report->b.Get(), report->a.Get(), Pictures({report->a->GetPicture(0), stranger}));
    EXPECT_FALSE(document->GetCommander().Execute(&move));
    CCmdMovePictures twice(9, report->b.Get(), report->a.Get(), Pictures({report->a->GetPicture(0), report->a->GetPicture(0)}));
    EXPECT_FALSE(document->GetCommander().Execute(&twice));
    EXPECT_FALSE(document->History().EndGroup(0));
    EXPECT_EQ(before, DescribeModel(report->heading.Get()));
}
