#include <gtest/gtest.h>

#include <vector>

#include "framework/KWIndexDecoder.h"
#include "model/TalCommandHistory.h"
#include "model/TalPageTemplate.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalTemplateManager.h"
#include "model/TalTextNote.h"
#include "tests/model/CommandTestSupport.h"
#include "tests/model/ModelLeakCheck.h"

namespace {

// The first sections of the run are made before any test, so that the
// counter's start does not depend on the order the tests run in.
struct FirstSectionIds : ::testing::Environment {
    void SetUp() override
    {
        counterBefore = CTalSection::GetLastIssuedId();
        CKWRefPtr<CTalSection> first(new CTalSection(nullptr, L"first"));
        firstId = first->GetId();
        CKWRefPtr<CTalSection> second(new CTalSection(first.Get(), L"second"));
        secondId = second->GetId();
        second->RenewId();
        renewedId = second->GetId();
        CKWRefPtr<CTalSection> third(new CTalSection);
        third->RenewId();
        newSectionIdAfterRenew = third->GetId();
        first->Detach();
        second->Detach();
        third->Detach();
    }
    static int32_t counterBefore, firstId, secondId, renewedId, newSectionIdAfterRenew;
};
int32_t FirstSectionIds::counterBefore, FirstSectionIds::firstId, FirstSectionIds::secondId,
    FirstSectionIds::renewedId, FirstSectionIds::newSectionIdAfterRenew;
::testing::Environment* const g_firstSectionIds = ::testing::AddGlobalTestEnvironment(new FirstSectionIds);

CTalPictureList MakePictures(int count, int firstId = 1)
{
    CTalPictureList pictures;
    for (int i = 0; i < count; ++i) {
        CTalPicture* picture = new CTalPicture;
        picture->SetPictureId(firstId + i);
        pictures.push_back(picture);
    }
    return pictures;
}

class TalSectionTest : public ModelLeakCheck {};

}  // namespace

TEST(TalSectionIds, FirstSectionOfTheRunIsOneAndANewSectionTakesTwoIds)
{
    EXPECT_EQ(0, FirstSectionIds::counterBefore);
    EXPECT_EQ(1, FirstSectionIds::firstId);
    EXPECT_EQ(2, FirstSectionIds::secondId);
    EXPECT_EQ(3, FirstSectionIds::renewedId);
    // Constructed (4), then renewed when added to a tree: keeps the second value.
    EXPECT_EQ(5, FirstSectionIds::newSectionIdAfterRenew);
}

TEST_F(TalSectionTest, IdsAreNeverReusedAndANewSectionHasANoteAndIsExpanded)
{
    CKWRefPtr<CTalSection> a(new CTalSection(nullptr, L"Results"));
    const int32_t first = a->GetId();
    EXPECT_EQ(1, a->GetExpanded());
    EXPECT_EQ(a.Get(), a->GetTextNote()->PeekParent());
    a->Detach();
    a.Release();
    CKWRefPtr<CTalSection> b(new CTalSection);
    EXPECT_EQ(first + 1, b->GetId());
    EXPECT_EQ(b->GetId(), CTalSection::GetLastIssuedId());
    b->Detach();
}

TEST_F(TalSectionTest, SubSectionsAreInsertedBehindTheirPreviousAndRemovedWithIt)
{
    CKWRefPtr<CTalSection> parent(new CTalSection(nullptr, L"P"));
    CKWRefPtr<CTalSection> a(new CTalSection(nullptr, L"a"));
    CKWRefPtr<CTalSection> b(new CTalSection(nullptr, L"b"));
    CKWRefPtr<CTalSection> c(new CTalSection(nullptr, L"c"));
    CKWRefPtr<CTalSection> d(new CTalSection(nullptr, L"d"));
    CKWRefPtr<CTalSection> stranger(new CTalSection(nullptr, L"x"));
    EXPECT_TRUE(parent->InsertSubSection(a.Get(), nullptr));          // a
    EXPECT_TRUE(parent->InsertSubSection(b.Get(), nullptr));          // b a: null puts it first
    EXPECT_TRUE(parent->InsertSubSection(c.Get(), stranger.Get()));   // b a c: not a child appends
    EXPECT_TRUE(parent->InsertSubSection(d.Get(), b.Get()));          // b d a c: right behind b
    EXPECT_EQ((std::vector<CString>{L"b", L"d", L"a", L"c"}), ChildNames(parent.Get()));
    EXPECT_EQ(parent.Get(), c->PeekParent());
    EXPECT_EQ(2, parent->IndexOfSubSection(a.Get()));
    EXPECT_EQ(-1, parent->IndexOfSubSection(stranger.Get()));

    CKWRefPtr<CTalSection> previous;
    EXPECT_TRUE(parent->RemoveSubSection(a.Get(), &previous));
    EXPECT_EQ(d.Get(), previous.Get());
    EXPECT_EQ(parent.Get(), a->PeekParent()) << "the removed section keeps its parent link";
    EXPECT_TRUE(parent->RemoveSubSection(b.Get(), &previous));
    EXPECT_EQ(nullptr, previous.Get()) << "the first child has no previous sibling";
    EXPECT_FALSE(parent->RemoveSubSection(a.Get(), &previous));
    EXPECT_EQ(nullptr, previous.Get());
    for (CTalSection* s : {a.Get(), b.Get(), parent.Get(), stranger.Get()})
        s->Detach();
}

TEST_F(TalSectionTest, FindSubSectionByIdIsDepthFirstAndSkipsItself)
{
    CKWRefPtr<CTalSection> root(new CTalSection);
    CKWRefPtr<CTalSection> a(new CTalSection);
    CKWRefPtr<CTalSection> a1(new CTalSection);
    CKWRefPtr<CTalSection> b(new CTalSection);
    root->InsertSubSection(a.Get(), nullptr);
    root->InsertSubSection(b.Get(), a.Get());
    a->InsertSubSection(a1.Get(), nullptr);
    // Pasted descendants may repeat ids: the first in depth-first order wins.
    b->SetId(a1->GetId());

    EXPECT_EQ(a1.Get(), root->FindSubSectionById(a1->GetId()).Get());
    EXPECT_EQ(a.Get(), root->FindSubSectionById(a->GetId()).Get());
    EXPECT_EQ(nullptr, root->FindSubSectionById(root->GetId()).Get());
    EXPECT_EQ(nullptr, root->FindSubSectionById(-7).Get());
    root->Detach();
}

TEST_F(TalSectionTest, FontTableAndHistoryComeFromTheHeadingSection)
{
    CKWIndexDecoder fonts;
    CTalCommandHistory history;
    CKWRefPtr<CTalSection> heading(new CTalSection(nullptr, L"Heading record"));
    heading->SetFontTable(&fonts);
    heading->SetCommandHistory(&history);
    CKWRefPtr<CTalSection> child(new CTalSection);
    CKWRefPtr<CTalSection> grandChild(new CTalSection);
    heading->InsertSubSection(child.Get(), nullptr);
    child->InsertSubSection(grandChild.Get(), nullptr);
    CTalPictureList pictures = MakePictures(1);
    grandChild->InsertPictures(pictures, nullptr);

    EXPECT_EQ(&fonts, pictures[0]->GetFontTable());
    EXPECT_EQ(&history, pictures[0]->GetCommandHistory());
    EXPECT_EQ(&fonts, grandChild->GetTextNote()->GetFontTable());
    const CKWTextData* text = grandChild->GetTextNote();
    EXPECT_EQ(&fonts, text->GetFontTable()) << "the styled text resolves fonts too";
    EXPECT_EQ(&history, grandChild->GetTextNote()->GetCommandHistory());

    CKWRefPtr<CTalPicture> loose(new CTalPicture);
    EXPECT_EQ(nullptr, loose->GetFontTable());
    EXPECT_EQ(nullptr, loose->GetCommandHistory());
    CTalTextNote* looseNote = new CTalTextNote;
    CKWRefPtr<CTalTextNote> heldNote(looseNote);
    // The note ignores a table of its own: only its section's counts.
    looseNote->SetFontTable(&fonts);
    EXPECT_EQ(nullptr, looseNote->GetFontTable());

    EXPECT_TRUE(grandChild->IsDescendantOf(heading.Get()));
    EXPECT_TRUE(pictures[0]->IsDescendantOf(child.Get()));
    EXPECT_FALSE(heading->IsDescendantOf(heading.Get()));
    EXPECT_FALSE(child->IsDescendantOf(grandChild.Get()));
    EXPECT_FALSE(child->IsDescendantOf(nullptr));
    heading->Detach();
}

TEST_F(TalSectionTest, InsertPicturesWithAndWithoutPositions)
{
    CKWRefPtr<CTalSection> section(new CTalSection);
    EXPECT_EQ(-1, section->InsertPictures(CTalPictureList(), nullptr));

    EXPECT_EQ(3, section->InsertPictures(MakePictures(3, 1), nullptr));  // 1 2 3
    EXPECT_EQ(section.Get(), section->GetPicture(2)->PeekParent());

    const CTalPositionList positions{0, 2, 99, -4};
    CTalPositionList done;
    EXPECT_EQ(-1, section->InsertPictures(MakePictures(5, 10), &positions, &done));
    // 10 at 0; 11 at 2; 12 clamped to the end; 13 clamped to 0; 14 beyond the list: appended.
    EXPECT_EQ((std::vector<int32_t>{13, 10, 1, 11, 2, 3, 12, 14}), PictureIds(section.Get()));
    EXPECT_EQ((CTalPositionList{0, 2, 5, 0, 7}), done);

    // Appended elsewhere, pictures keep their parents.
    CKWRefPtr<CTalSection> other(new CTalSection);
    EXPECT_TRUE(other->AppendPictures(section->GetPictures()));
    EXPECT_EQ(8, other->GetPictureCount());
    EXPECT_EQ(section.Get(), other->GetPicture(1)->PeekParent());
    section->Detach();
    other->Detach();
}

struct RemoveCase {
    int pictures;
    CTalPositionList positions;
    int count;
    bool result;
    std::vector<int32_t> remaining;  // picture ids 1..n
    CTalPositionList selection;
};

class TalSectionRemovePictures : public ModelLeakCheck, public ::testing::WithParamInterface<RemoveCase> {};

TEST_P(TalSectionRemovePictures, RemovesDetachesAndSelects)
{
    const RemoveCase& c = GetParam();
    CKWRefPtr<CTalSection> section(new CTalSection);
    CTalPictureList pictures = MakePictures(c.pictures);
    section->InsertPictures(pictures, nullptr);
    CTalPositionList selection;
    EXPECT_EQ(c.result, section->RemovePictures(c.positions, c.count, &selection));
    EXPECT_EQ(c.remaining, PictureIds(section.Get()));
    EXPECT_EQ(c.selection, selection);
    for (const auto& picture : pictures) {
        const bool kept = section->IndexOfPicture(picture.Get()) >= 0;
        EXPECT_EQ(kept ? section.Get() : nullptr, picture->PeekParent()) << "removed pictures are detached";
    }
    section->Detach();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TalSectionRemovePictures,
    ::testing::Values(
        RemoveCase{5, {1, 3}, -1, true, {1, 3, 5}, {1}},
        RemoveCase{5, {}, 2, true, {1, 2, 3}, {2}},
        // Not ascending, repeated and out of range: sorted, once each, skipped.
        RemoveCase{5, {3, 1, 3, 9, -2}, -1, true, {1, 3, 5}, {1}},
        // The first removed position is past the end afterwards: the last one is selected.
        RemoveCase{5, {3, 4}, -1, true, {1, 2, 3}, {2}},
        RemoveCase{3, {0, 1, 2}, -1, true, {}, {}},
        // Counts are clamped.
        RemoveCase{3, {}, 7, true, {}, {}},
        RemoveCase{3, {}, -5, true, {1, 2, 3}, {2}},
        RemoveCase{3, {}, 0, true, {1, 2, 3}, {2}},
        RemoveCase{0, {0}, -1, false, {}, {}}));

TEST_F(TalSectionTest, CollectTakeAndInsertPicture)
{
    CKWRefPtr<CTalSection> section(new CTalSection);
    section->InsertPictures(MakePictures(4), nullptr);
    CTalPictureList collected;
    section->CollectPictures({3, 0, 8, -1}, collected);
    ASSERT_EQ(2u, collected.size());
    EXPECT_EQ(4, collected[0]->GetPictureId());
    EXPECT_EQ(1, collected[1]->GetPictureId());

    CKWRefPtr<CTalPicture> taken = section->TakePicture(1);
    ASSERT_TRUE(taken);
    EXPECT_EQ(section.Get(), taken->PeekParent()) << "a taken picture is moved, not detached";
    EXPECT_EQ(nullptr, section->TakePicture(3).Get());
    EXPECT_EQ(0, section->InsertPicture(-3, taken.Get()));
    EXPECT_EQ((std::vector<int32_t>{2, 1, 3, 4}), PictureIds(section.Get()));
    section->Detach();
}

TEST(TalPictureTest, TriStatesFollowTheDocumentDefault)
{
    CKWRefPtr<CTalPicture> picture(new CTalPicture);
    EXPECT_TRUE(picture->IsUseDescription(true));
    EXPECT_FALSE(picture->IsUseDescription(false));
    EXPECT_TRUE(picture->IsGrayscale(true));
    picture->SetUseDescription(0);
    EXPECT_FALSE(picture->IsUseDescription(true));
    picture->SetGrayscale(1);
    EXPECT_TRUE(picture->IsGrayscale(false));
    picture->SetGrayscale(7);
    EXPECT_FALSE(picture->IsGrayscale(true));
}

TEST_F(TalSectionTest, DetachFreesTheTreeThatItsCyclesWouldKeep)
{
    const int32_t before = CKWRefCounter::GetLiveCount();
    {
        CKWRefPtr<CTalSection> heading(new CTalSection(nullptr, L"Heading record"));
        for (int i = 0; i < 3; ++i) {
            CKWRefPtr<CTalSection> child(new CTalSection(heading.Get()));
            heading->InsertSubSection(child.Get(), nullptr);
            CKWRefPtr<CTalSection> grandChild(new CTalSection(child.Get()));
            child->InsertSubSection(grandChild.Get(), nullptr);
            grandChild->InsertPictures(MakePictures(2), nullptr);
        }
        heading->InsertPictures(MakePictures(2), nullptr);
        // 1 + 3 + 3 sections, each with a note, and 8 pictures.
        EXPECT_EQ(before + 7 * 2 + 8, CKWRefCounter::GetLiveCount());
        heading->Detach();
    }
    EXPECT_EQ(before, CKWRefCounter::GetLiveCount());

    CTalSection* raw = nullptr;
    {
        CKWRefPtr<CTalSection> heading(new CTalSection);
        raw = heading.Get();
        CKWRefPtr<CTalSection> child(new CTalSection(heading.Get()));
        heading->InsertSubSection(child.Get(), nullptr);
    }
    EXPECT_EQ(before + 4, CKWRefCounter::GetLiveCount()) << "the child and the notes hold their parents";
    CKWRefPtr<CTalSection> again(raw);
    again->Detach();
    again.Release();
    EXPECT_EQ(before, CKWRefCounter::GetLiveCount());

    // A detached subtree held by an outside reference (a command) stays whole.
    CKWRefPtr<CTalSection> kept;
    {
        CKWRefPtr<CTalSection> heading(new CTalSection);
        CKWRefPtr<CTalSection> child(new CTalSection(heading.Get()));
        heading->InsertSubSection(child.Get(), nullptr);
        child->InsertPictures(MakePictures(1), nullptr);
        kept = child;
        heading->Detach();
    }
    EXPECT_EQ(before + 3, CKWRefCounter::GetLiveCount());
    EXPECT_EQ(nullptr, kept->PeekParent());
    EXPECT_EQ(1, kept->GetPictureCount());
    kept.Release();
    EXPECT_EQ(before, CKWRefCounter::GetLiveCount());
}

TEST_F(TalSectionTest, PageTemplateComesFromTheNearestSectionWithItsOwn)
{
    g_TemplateManager.Clear();  // whatever an earlier test left
    for (const wchar_t* name : {L"plain", L"photos"}) {
        CTalPageTemplate* tmpl = new CTalPageTemplate;
        tmpl->SetName(name);
        tmpl->SetTitle(name);
        g_TemplateManager.AddPageTemplate(tmpl);
    }
    CKWRefPtr<CTalSection> heading(new CTalSection);
    heading->SetTemplateName(L"plain");
    CKWRefPtr<CTalSection> child(new CTalSection(heading.Get()));
    heading->InsertSubSection(child.Get(), nullptr);
    CKWRefPtr<CTalSection> grandChild(new CTalSection(child.Get()));
    child->InsertSubSection(grandChild.Get(), nullptr);
    CTalPictureList pictures = MakePictures(1);
    grandChild->InsertPictures(pictures, nullptr);

    CTalTemplate* plain = g_TemplateManager.FindPageTemplate(L"plain");
    CTalTemplate* photos = g_TemplateManager.FindPageTemplate(L"photos");
    EXPECT_EQ(plain, grandChild->GetPageTemplate()) << "none has its own: the heading's";
    child->SetOwnTemplate(1);
    child->SetTemplateName(L"photos");
    EXPECT_EQ(photos, grandChild->GetPageTemplate());
    EXPECT_EQ(photos, pictures[0]->GetPageTemplate());
    EXPECT_EQ(plain, heading->GetPageTemplate());
    child->SetTemplateName(L"gone");
    EXPECT_EQ(nullptr, grandChild->GetPageTemplate());

    heading->Detach();
    g_TemplateManager.Clear();
}
