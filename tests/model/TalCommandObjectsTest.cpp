// Command objects: the references they hold, what their destructors do with
// objects never put back, and ReleasePayload.
#include <gtest/gtest.h>

#include "model/TalCommandPayloads.h"
#include "model/TalCommander.h"
#include "model/TalPictureCommands.h"
#include "model/TalSectionCommands.h"
#include "model/TalTextCommands.h"
#include "model/TalTextNote.h"
#include "tests/model/CommandTestSupport.h"
#include "tests/model/ModelLeakCheck.h"

namespace {

class CommandObjectsTest : public ModelLeakCheck {};

}  // namespace

TEST_F(CommandObjectsTest, CommandsHoldOneReferencePerObject)
{
    CKWRefPtr<CTalSection> parent(new CTalSection(nullptr, L"parent"));
    CKWRefPtr<CTalSection> section(new CTalSection(nullptr, L"section"));
    CKWRefPtr<CTalPicture> picture = MakePicture(1);
    const int32_t parentRefs = parent->GetRefCount();
    const int32_t sectionRefs = section->GetRefCount();
    {
        CCmdMoveSection move(2, section.Get(), parent.Get(), nullptr);
        CCmdEditPictureTitle title(10, section.Get(), picture.Get(), CString(L"t"), 0);
        EXPECT_EQ(parentRefs + 1, parent->GetRefCount());
        EXPECT_EQ(sectionRefs + 2, section->GetRefCount());
        EXPECT_EQ(parent, move.GetParent());
        EXPECT_EQ(picture, title.GetPicture());
        EXPECT_EQ(CString(L"t"), title.GetTitle());
        EXPECT_FALSE(move.GetPrevious());
    }
    EXPECT_EQ(parentRefs, parent->GetRefCount());
    EXPECT_EQ(sectionRefs, section->GetRefCount());
    section->Detach();
    parent->Detach();
}

TEST_F(CommandObjectsTest, AnAddSectionNeverRunDetachesItsSubtree)
{
    const int32_t live = CKWRefCounter::GetLiveCount();
    CKWRefPtr<CTalSection> parent(new CTalSection(nullptr, L"parent"));
    CTalSection* removed = new CTalSection(parent.Get(), L"removed");
    CKWRefPtr<CTalSection> child(new CTalSection(removed, L"child"));
    removed->InsertSubSection(child.Get(), nullptr);
    removed->InsertPicture(0, MakePicture(5).Get());
    {
        CCmdAddSection add(0, removed, parent.Get(), nullptr, 1);
        child.Release();
    }
    // Only the parent (with its note) is left.
    EXPECT_EQ(live + 2, CKWRefCounter::GetLiveCount());
    parent->Detach();
}

TEST_F(CommandObjectsTest, AnAddSectionThatRanLeavesItsSectionAlone)
{
    CKWRefPtr<CTalSection> parent(new CTalSection(nullptr, L"parent"));
    CKWRefPtr<CTalSection> section(new CTalSection(parent.Get(), L"section"));
    parent->InsertSubSection(section.Get(), nullptr);
    {
        CCmdAddSection add(0, section.Get(), parent.Get(), nullptr, 1);
        add.ReleasePayload();
        EXPECT_FALSE(add.GetTarget());
    }
    EXPECT_EQ(parent.Get(), section->PeekParent());
    EXPECT_EQ(0, parent->IndexOfSubSection(section.Get()));
    parent->Detach();
}

TEST_F(CommandObjectsTest, InsertPicturesWithoutPositionsDetachesWhatItStillHolds)
{
    CKWRefPtr<CTalSection> section(new CTalSection(nullptr, L"s"));
    CKWRefPtr<CTalPicture> kept(new CTalPicture(section.Get()));
    CKWRefPtr<CTalPicture> handedOver(new CTalPicture(section.Get()));
    {
        CCmdInsertPictures insert(7, section.Get(), {kept, handedOver});
        EXPECT_TRUE(insert.GetPositions().empty());
        EXPECT_EQ(2u, insert.GetPictures().size());
    }
    EXPECT_EQ(nullptr, kept->PeekParent());
    EXPECT_EQ(nullptr, handedOver->PeekParent());

    handedOver->SetParent(section.Get());
    {
        const CTalPositionList positions = {3};
        CCmdInsertPictures insert(7, section.Get(), {handedOver}, &positions);
        EXPECT_EQ(positions, insert.GetPositions());
        insert.ReleasePayload();
        EXPECT_TRUE(insert.GetPictures().empty());
        EXPECT_EQ(positions, insert.GetPositions());
    }
    EXPECT_EQ(section.Get(), handedOver->PeekParent());
    handedOver->Detach();
    section->Detach();
}

TEST_F(CommandObjectsTest, RecordsOfTextCommandsAreOwnedUntilTheyRun)
{
    CKWRefPtr<CTalSection> section(new CTalSection(nullptr, L"s"));
    CKWCharFormat* run = new CKWCharFormat;
    CCmdInsertCharacter insertRun(37, section.Get(), run, 0);
    EXPECT_EQ(run, insertRun.GetRun());
    // Run outside any document: the text takes the record, the command lets go.
    CTalCommander commander;
    EXPECT_EQ(section, commander.Execute(&insertRun));
    EXPECT_EQ(nullptr, insertRun.GetRun());
    EXPECT_EQ(run, section->GetTextNote()->GetRunPtr(0));

    CKWParaFormat* para = new CKWParaFormat;
    CCmdInsertParagraf insertPara(38, section.Get(), para, 5);
    EXPECT_EQ(section, commander.Execute(&insertPara));  // clamped to the end
    EXPECT_EQ(para, section->GetTextNote()->GetParaPtr(0));
    insertPara.ReleasePayload();
    EXPECT_EQ(nullptr, insertPara.GetPara());
    section->Detach();
}
