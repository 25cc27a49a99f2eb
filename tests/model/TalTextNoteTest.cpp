#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/KWArchive.h"
#include "framework/KWIndexDecoder.h"
#include "model/TalCommandGroup.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommandPayloads.h"
#include "model/TalSection.h"
#include "model/TalTextCommands.h"
#include "model/TalTextNote.h"
#include "tests/model/ModelLeakCheck.h"

namespace {

// A heading section with a history, and one child whose note is edited.
class TalTextNoteTest : public ModelLeakCheck {
protected:
    void SetUp() override
    {
        ModelLeakCheck::SetUp();
        heading = new CTalSection(nullptr, L"Heading record");
        heading->SetCommandHistory(&history);
        heading->SetFontTable(&fonts);
        section = new CTalSection(heading.Get(), L"child");
        heading->InsertSubSection(section.Get(), nullptr);
        note = section->GetTextNote();
        // "Hello world\nBye" in three runs and two paragraphs.
        note->SetText(L"Hello world\nBye");
        for (uint32_t count : {5u, 7u, 3u}) {
            CKWCharFormat* run = new CKWCharFormat;
            run->m_count = count;
            note->AppendRun(run);
        }
        for (uint32_t count : {12u, 3u}) {
            CKWParaFormat* para = new CKWParaFormat;
            para->m_count = count;
            note->AppendPara(para);
        }
    }
    void TearDown() override
    {
        history.Clear();
        heading->Detach();
        heading.Release();
        section.Release();
        ModelLeakCheck::TearDown();
    }

    const CTalCommandGroup* Open() const { return history.GetOpenGroup(); }
    const CTalCommand* Recorded(int index) const { return Open()->GetAt(index); }

    CKWIndexDecoder fonts;
    CTalCommandHistory history;
    CKWRefPtr<CTalSection> heading;
    CKWRefPtr<CTalSection> section;
    CTalTextNote* note = nullptr;
};

}  // namespace

TEST_F(TalTextNoteTest, NothingIsRecordedWithoutAGroupATreeOrAValidIndex)
{
    note->SetRunStyle(0, CKWCharFormat::kBold);
    note->ReplaceRange(L"J", 1, 0, 1);
    note->RemoveRun(2);
    EXPECT_EQ(0, history.GetGroupCount());
    EXPECT_FALSE(history.IsGroupOpen());
    EXPECT_EQ(CString(L"Jello world\nBye"), note->GetText());

    history.BeginGroup();
    EXPECT_FALSE(note->OnSetRunStyle(2)) << "index equal to the number of runs";
    EXPECT_FALSE(note->OnSetRunSize(-1));
    EXPECT_FALSE(note->OnRemoveRun(2));
    EXPECT_FALSE(note->OnSetParaAlign(2));
    EXPECT_FALSE(note->OnRemovePara(-1));
    EXPECT_FALSE(note->OnInsertRun(3));

    CKWRefPtr<CTalTextNote> loose(new CTalTextNote);
    loose->SetText(L"abc");
    CKWCharFormat* run = new CKWCharFormat;
    run->m_count = 3;
    loose->AppendRun(run);
    loose->SetRunStyle(0, CKWCharFormat::kBold);
    EXPECT_FALSE(loose->OnSetRunStyle(0)) << "a note outside a tree";
    EXPECT_EQ(nullptr, loose->GetFontTable());
    EXPECT_EQ(0, Open()->GetCount());
}

TEST_F(TalTextNoteTest, RemovedRunIsHeldByTheCommandItself)
{
    history.BeginGroup();
    CKWCharFormat* run = note->GetRunPtr(2);
    run->m_style = CKWCharFormat::kItalic;
    note->RemoveRun(2);
    ASSERT_EQ(1, Open()->GetCount());
    const auto* command = dynamic_cast<const CCmdInsertCharacter*>(Recorded(0));
    ASSERT_NE(nullptr, command);
    EXPECT_EQ(37, command->GetKind());
    EXPECT_EQ(2, command->GetIndex());
    EXPECT_EQ(run, command->GetRun()) << "the very record, not a copy";
    EXPECT_EQ(section.Get(), command->GetTarget().Get()) << "the target is the section";
    EXPECT_EQ(2, note->GetRunCount());
}

TEST_F(TalTextNoteTest, BoxColourIsRecordedAsKind35)
{
    history.BeginGroup();
    note->GetBoxAttributes().color = CKWColor::FromRgb(9, 9, 9);
    EXPECT_TRUE(note->OnSetBoxColor());
    ASSERT_EQ(1, Open()->GetCount());
    EXPECT_EQ(35, Recorded(0)->GetKind());
    EXPECT_EQ(CKWColor::FromRgb(9, 9, 9).GetValue(), dynamic_cast<const CCmdColorData&>(*Recorded(0)).GetColor().GetValue());
}

TEST_F(TalTextNoteTest, SerializedNoteReadsBack)
{
    note->SetRect(CKWDoubleRect(1, 2, 300, 400));
    CKWArchive out(nullptr, 0, CKWArchive::kStore);
    EXPECT_TRUE(note->Serialize(out));
    uint32_t length = 0;
    void* block = out.DetachMemory(length);
    ASSERT_NE(nullptr, block);

    CKWRefPtr<CTalTextNote> copy(new CTalTextNote);
    CKWArchive in(block, length, CKWArchive::kLoad);
    EXPECT_TRUE(copy->Serialize(in));
    free(block);
    EXPECT_EQ(note->GetText(), copy->GetText());
    EXPECT_EQ(3, copy->GetRunCount());
    EXPECT_EQ(2, copy->GetParaCount());
    EXPECT_EQ(300.0, copy->GetRect().right);
}
