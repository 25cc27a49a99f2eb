// The edit operations of the commander: the commands they build, the steps
// they leave and the cases where they refuse.
#include <gtest/gtest.h>

#include "model/TalCommandGroup.h"
#include "model/TalCommandStrings.h"
#include "model/TalPageTemplate.h"
#include "model/TalTemplateManager.h"
#include "model/TalTextNote.h"
#include "tests/model/CommandTestSupport.h"

namespace {

class EditOperationsTest : public SampleReportTest {};

typedef std::vector<CString> Names;
typedef std::vector<int32_t> Ids;

}  // namespace

TEST_F(EditOperationsTest, NewSubsectionsAreTrimmedTakeTwoIdsAndGoFirstOrLast)
{
    const struct {
        const wchar_t* text;
        const wchar_t* name;
    } cases[] = {
        {L"\n  Results \t", L"Results"}, {nullptr, L"New Section"}, {L"\r\n \t", L""}, {L"a b", L"a b"},
        {L"\x3000x", L"\x3000x"},  // only "\r\n \t" is trimmed
    };
    for (const auto& c : cases) {
        const int32_t last = CTalSection::GetLastIssuedId();
        CKWRefPtr<CTalSection> added = Commander().AddChildSection(report->c.Get(), c.text, nullptr, true, true, true, true);
        ASSERT_TRUE(added);
        EXPECT_EQ(CString(c.name), added->GetName());
        EXPECT_EQ(IDS_ADD_SUBSECTION, LastLabel());
        EXPECT_EQ(last + 2, added->GetId()) << "the section and its note";
        EXPECT_EQ((std::vector<std::string>{"Inserted " + std::to_string(added->GetId()) + " 1", "Layout"}),
                  document->log);
        document->log.clear();
    }
    Commander().AddChildSection(report->a.Get(), L"first", nullptr, true, false, false, true);
    Commander().AddChildSection(report->a.Get(), L"last", nullptr, true, false, true, true);
    EXPECT_EQ((Names{L"first", L"A1", L"A2", L"last"}), ChildNames(report->a.Get()));

    // Without undo and without a group: inserted directly, no step, no notification.
    History().Clear();
    document->log.clear();
    Commander().AddChildSection(report->b.Get(), L"quiet", nullptr, false, false, true, false);
    EXPECT_EQ((Names{L"quiet"}), ChildNames(report->b.Get()));
    EXPECT_EQ(0, History().GetGroupCount());
    EXPECT_TRUE(document->log.empty());
}

TEST_F(EditOperationsTest, AnExistingSectionKeepsItsNameAndGetsTheDocumentFonts)
{
    CKWIndexDecoder sourceFonts;
    sourceFonts.FindOrAdd(L"Arial");
    sourceFonts.FindOrAdd(L"Courier New");
    CKWRefPtr<CTalSection> pasted(new CTalSection(nullptr, L"Pasted"));
    pasted->SetId(7);
    CTalTextNote* note = pasted->GetTextNote();
    note->SetText(L"abc");
    CKWCharFormat* run = new CKWCharFormat;
    run->m_count = 3;
    run->m_fontIndex = 1;  // Courier New in the source
    note->AppendRun(run);
    CKWIndexDecoder& fonts = document->GetProperties().GetFontTable();
    fonts.FindOrAdd(L"Times New Roman");

    const int32_t last = CTalSection::GetLastIssuedId();
    CKWRefPtr<CTalSection> added =
        Commander().AddChildSection(report->c.Get(), L"ignored", pasted.Get(), true, false, true, true, &sourceFonts);
    EXPECT_EQ(pasted, added);
    EXPECT_EQ(CString(L"Pasted"), added->GetName());
    EXPECT_EQ(last + 1, added->GetId());
    EXPECT_EQ(std::wstring(L"Courier New"), fonts.GetString(note->GetRun(0).m_fontIndex));
    EXPECT_EQ(report->c.Get(), added->PeekParent());
}

TEST_F(EditOperationsTest, SiblingsFollowTheirSectionAndRemovalAnswersWithTheNextToShow)
{
    Commander().AddSiblingSection(report->a1.Get(), L"between", nullptr, true, false);
    EXPECT_EQ((Names{L"A1", L"between", L"A2"}), ChildNames(report->a.Get()));
    EXPECT_EQ(IDS_ADD_SECTION, LastLabel());
    // Beside the heading section there is no place: the new one becomes its first child.
    Commander().AddSiblingSection(report->heading.Get(), L"top", nullptr, true, false);
    EXPECT_EQ((Names{L"top", L"A", L"B", L"C"}), ChildNames(report->heading.Get()));
    EXPECT_EQ(IDS_ADD_SUBSECTION, LastLabel());

    EXPECT_EQ(report->a, Commander().RemoveSection(report->a1.Get()));
    EXPECT_EQ(report->a, Commander().RemoveSection(report->b.Get()));
    EXPECT_EQ(IDS_REMOVE_SECTION, LastLabel());
    EXPECT_EQ(4, History().GetGroupCount());
    // The heading section and no section at all: nothing happens.
    EXPECT_EQ(report->heading, Commander().RemoveSection(report->heading.Get()));
    EXPECT_FALSE(Commander().RemoveSection(nullptr));
    EXPECT_EQ(4, History().GetGroupCount());
}

TEST_F(EditOperationsTest, MovesLeftRightUpDownAndByDrop)
{
    const struct {
        CTalSection* section;
        CKWRefPtr<CTalSection> (CTalCommander::*move)(CTalSection*);
    } refused[] = {
        {report->b.Get(), &CTalCommander::MoveSectionLeft},  // its parent is the heading section
        {report->a.Get(), &CTalCommander::MoveSectionRight},  // a first child
        {report->a.Get(), &CTalCommander::MoveSectionUp},
        {report->c.Get(), &CTalCommander::MoveSectionDown},
        {nullptr, &CTalCommander::MoveSectionLeft},
        {report->heading.Get(), &CTalCommander::MoveSectionRight},
    };
    for (const auto& r : refused)
        EXPECT_FALSE((Commander().*r.move)(r.section));
    EXPECT_EQ(0, History().GetGroupCount());

    const struct {
        CTalSection* section;
        CKWRefPtr<CTalSection> (CTalCommander::*move)(CTalSection*);
        uint32_t label;
        Names heading;
    } moves[] = {
        {report->a2.Get(), &CTalCommander::MoveSectionLeft, IDS_MOVE_SECTION_LEFT, {L"A", L"A2", L"B", L"C"}},
        {report->b.Get(), &CTalCommander::MoveSectionRight, IDS_MOVE_SECTION_RIGHT, {L"A", L"A2", L"C"}},
        {report->c.Get(), &CTalCommander::MoveSectionUp, IDS_MOVE_SECTION_UP, {L"A", L"C", L"A2"}},
        {report->c.Get(), &CTalCommander::MoveSectionDown, IDS_MOVE_SECTION_DOWN, {L"A", L"A2", L"C"}},
    };
    for (const auto& m : moves) {
        EXPECT_EQ(m.section, (Commander().*m.move)(m.section).Get());
        EXPECT_EQ(m.heading, ChildNames(report->heading.Get()));
        EXPECT_EQ(m.label, LastLabel());
    }
    EXPECT_EQ((Names{L"B"}), ChildNames(report->a2.Get()));
    while (History().CanUndo())
        Commander().Undo();

    bool asChild = false;
    EXPECT_FALSE(Commander().CanMoveSection(report->a.Get(), report->a1.Get(), asChild));
    EXPECT_FALSE(Commander().CanMoveSection(report->a.Get(), report->a.Get(), asChild));
    EXPECT_FALSE(Commander().CanMoveSection(report->heading.Get(), report->a.Get(), asChild));
    EXPECT_FALSE(Commander().CanMoveSection(report->a.Get(), nullptr, asChild));
    EXPECT_TRUE(Commander().CanMoveSection(report->a1.Get(), report->b.Get(), asChild));
    EXPECT_FALSE(asChild);
    EXPECT_TRUE(Commander().CanMoveSection(report->a1.Get(), report->heading.Get(), asChild));
    EXPECT_TRUE(asChild);

    EXPECT_FALSE(Commander().MoveSectionTo(report->a.Get(), report->a2.Get(), false));
    EXPECT_EQ(report->heading, Commander().MoveSectionTo(report->a2.Get(), report->heading.Get(), false));
    EXPECT_EQ(report->b, Commander().MoveSectionTo(report->a1.Get(), report->b.Get(), false));
    EXPECT_EQ((Names{L"A2", L"A", L"B", L"A1", L"C"}), ChildNames(report->heading.Get()));
    EXPECT_EQ(report->c, Commander().MoveSectionTo(report->a.Get(), report->c.Get(), true));
    EXPECT_EQ(report->c.Get(), report->a->PeekParent());
    EXPECT_EQ(IDS_MOVE_SECTION, LastLabel());
    EXPECT_EQ(3, History().GetGroupCount());
}

TEST_F(EditOperationsTest, RenamingRecordsEvenTheSameName)
{
    Commander().RenameSection(report->b.Get(), CString(L"B"));
    EXPECT_EQ(1, History().GetGroupCount());
    EXPECT_EQ(IDS_EDIT_SECTION_NAME, LastLabel());
    Commander().RenameSection(report->b.Get(), CString(L"Bee"));
    const std::string id = std::to_string(report->b->GetId());
    EXPECT_EQ((std::vector<std::string>{"Renamed " + id + " 0", "Layout", "Renamed " + id + " 0", "Layout"}),
              document->log);
}

TEST_F(EditOperationsTest, TemplatesOfSections)
{
    for (const wchar_t* name : {L"first.otl", L"second.otl"}) {
        CTalPageTemplate* page = new CTalPageTemplate;
        page->SetName(name);
        page->SetTitle(name);
        g_TemplateManager.AddPageTemplate(page);
    }
    report->heading->SetTemplateName(CString(L"first.otl"));

    EXPECT_FALSE(Commander().SetSectionTemplate(report->b.Get(), -1));
    EXPECT_FALSE(Commander().SetSectionTemplate(report->b.Get(), 2));
    EXPECT_FALSE(Commander().SetSectionTemplate(nullptr, 0));
    EXPECT_TRUE(Commander().SetSectionTemplate(report->b.Get(), 1));
    EXPECT_EQ(CString(L"second.otl"), report->b->GetTemplateName());
    EXPECT_EQ(1, report->b->GetOwnTemplate());
    EXPECT_EQ(IDS_SET_TEMPLATE, LastLabel());
    EXPECT_EQ(g_TemplateManager.FindPageTemplate(L"second.otl"), report->b->GetPageTemplate());

    // A1 takes over what it followed: the heading section's template.
    EXPECT_FALSE(Commander().SetUseTemplate(report->heading.Get(), true));
    EXPECT_TRUE(Commander().SetUseTemplate(report->a1.Get(), true));
    EXPECT_EQ(CString(L"first.otl"), report->a1->GetTemplateName());
    EXPECT_EQ(1, report->a1->GetOwnTemplate());
    EXPECT_EQ(IDS_SET_USE_TEMPLATE, LastLabel());
    g_TemplateManager.Clear();
}

TEST_F(EditOperationsTest, PictureTitlesInsertionsAndRemovals)
{
    EXPECT_FALSE(Commander().EditPictureTitle(report->a.Get(), 2, CString(L"Picture-202"))) << "the same title";
    EXPECT_FALSE(Commander().EditPictureTitle(report->a.Get(), 5, CString(L"x")));
    EXPECT_FALSE(Commander().EditPictureTitle(nullptr, 0, CString(L"x")));
    EXPECT_EQ(0, History().GetGroupCount());
    EXPECT_TRUE(Commander().EditPictureTitle(report->a.Get(), 2, CString(L"Bridge")));
    EXPECT_EQ(CString(L"Bridge"), report->a->GetPicture(2)->GetTitle());
    EXPECT_EQ(IDS_EDIT_IMAGE_DESCRIPTION, LastLabel());
    EXPECT_EQ("Title " + std::to_string(report->a->GetId()) + " 202 0", document->log.front());
    Commander().Undo();
    EXPECT_EQ("Title " + std::to_string(report->a->GetId()) + " 202 1", document->log[2]) << "undo starts the edit";

    EXPECT_FALSE(Commander().InsertPictures(nullptr, {MakePicture(1)}, -1, true));
    EXPECT_TRUE(Commander().InsertPictures(report->a.Get(), {MakePicture(1), MakePicture(2), MakePicture(3)}, 2, true));
    EXPECT_EQ((Ids{200, 201, 1, 2, 3, 202, 203, 204}), PictureIds(report->a.Get()));
    EXPECT_EQ(IDS_ADD_IMAGES, LastLabel());
    EXPECT_TRUE(Commander().InsertPictures(report->b.Get(), {MakePicture(4), MakePicture(5)}, -1, true));
    EXPECT_EQ((Ids{300, 301, 4, 5}), PictureIds(report->b.Get()));

    EXPECT_FALSE(Commander().RemovePictures(nullptr, {0}));
    EXPECT_TRUE(Commander().RemovePictures(report->a.Get(), {7, 0, 0, 12}));
    EXPECT_EQ((Ids{201, 1, 2, 3, 202, 203}), PictureIds(report->a.Get()));
    EXPECT_EQ(IDS_REMOVE_IMAGES, LastLabel());
    const int32_t steps = History().GetGroupCount();
    EXPECT_TRUE(Commander().RemovePictures(report->a.Get(), {9}));
    EXPECT_EQ(steps, History().GetGroupCount()) << "nothing valid to remove: no step";

    // Without undo: appended directly, no step.
    History().Clear();
    document->log.clear();
    EXPECT_TRUE(Commander().InsertPictures(report->c.Get(), {MakePicture(6)}, 0, false));
    EXPECT_EQ((Ids{6}), PictureIds(report->c.Get()));
    EXPECT_EQ(report->c.Get(), report->c->GetPicture(0)->PeekParent());
    EXPECT_EQ(0, History().GetGroupCount());
    EXPECT_TRUE(document->log.empty());
}

TEST_F(EditOperationsTest, MovingPictures)
{
    EXPECT_FALSE(Commander().MovePictures(report->b.Get(), report->a.Get(), {}, 0));
    EXPECT_FALSE(Commander().MovePictures(nullptr, report->a.Get(), {0}, 0));
    // Appended to B in the listed order.
    EXPECT_TRUE(Commander().MovePictures(report->b.Get(), report->a.Get(), {3, 1}, -1));
    EXPECT_EQ((Ids{200, 202, 204}), PictureIds(report->a.Get()));
    EXPECT_EQ((Ids{300, 301, 203, 201}), PictureIds(report->b.Get()));
    EXPECT_EQ(IDS_MOVE_IMAGES, LastLabel());
    Commander().Undo();

    // Within one section: the anchor index is a place in the source.
    EXPECT_TRUE(Commander().MovePictures(report->a.Get(), report->a.Get(), {0, 1}, 4));
    EXPECT_EQ((Ids{202, 203, 200, 201, 204}), PictureIds(report->a.Get()));
    EXPECT_TRUE(Commander().MovePictures(report->a.Get(), report->a.Get(), {4}, 0));
    EXPECT_EQ((Ids{204, 202, 203, 200, 201}), PictureIds(report->a.Get()));
    Commander().Undo();
    Commander().Undo();
    EXPECT_EQ((Ids{200, 201, 202, 203, 204}), PictureIds(report->a.Get()));
    EXPECT_TRUE(ModelInvariantsHold(report->heading.Get()));
}

TEST_F(EditOperationsTest, RotatingLeftThenRightIsTwoSteps)
{
    Commander().RotatePicturesLeft(report->a.Get(), {0, 1});
    EXPECT_EQ(270, report->a->GetPicture(0)->GetAngle());
    EXPECT_EQ(0, report->a->GetPicture(1)->GetAngle());
    Commander().RotatePicturesRight(report->a.Get(), {0, 1});
    EXPECT_EQ(0, report->a->GetPicture(0)->GetAngle());
    EXPECT_EQ(90, report->a->GetPicture(1)->GetAngle());
    EXPECT_EQ(IDS_ROTATE_IMAGES_RIGHT, History().GetGroup(1)->GetLabel());
    EXPECT_EQ(IDS_ROTATE_IMAGES_LEFT, History().GetGroup(0)->GetLabel());
    // Without a group of its own: no step.
    Commander().RotatePictures(report->a.Get(), {2}, 90);
    EXPECT_EQ(270, report->a->GetPicture(2)->GetAngle());
    EXPECT_EQ(2, History().GetGroupCount());
}

TEST_F(EditOperationsTest, PictureProperties)
{
    const CTalSection* a = report->a.Get();
    EXPECT_FALSE(Commander().SetPicturesShowInReport(nullptr, {0}, 0));
    EXPECT_TRUE(Commander().SetPicturesShowInReport(report->a.Get(), {0, 3}, 0));
    EXPECT_EQ(0, a->GetPicture(3)->GetShown());
    EXPECT_EQ(IDS_SHOW_IMAGES_IN_REPORT, LastLabel());
    EXPECT_TRUE(Commander().SetPicturesNewPage(report->a.Get(), {1}, 1));
    EXPECT_EQ(1, a->GetPicture(1)->GetNewPage());
    EXPECT_EQ(IDS_TURN_IMAGES_TO_NEW_PAGE, LastLabel());
    EXPECT_TRUE(Commander().SetPicturesGrayscale(report->a.Get(), {2}, 0));
    EXPECT_EQ(0, a->GetPicture(2)->GetGrayscale());
    EXPECT_EQ(IDS_CONVERT_IMAGES_TO_GRAYSCALE, LastLabel());
    EXPECT_TRUE(Commander().SetPicturesUseDescription(report->a.Get(), {4}, 0));
    EXPECT_EQ(IDS_INSERT_IMAGE_DESCRIPTIONS, LastLabel());

    // Resolving: "document default" becomes the document's setting.
    document->GetProperties().m_useDescription = 1;
    document->GetProperties().m_grayscale = 0;
    EXPECT_TRUE(Commander().ResolvePicturesUseDescription(report->a.Get(), {0, 4, 9}, false));
    EXPECT_EQ(CTalPicture::kYes, a->GetPicture(0)->GetUseDescription());
    EXPECT_EQ(CTalPicture::kNo, a->GetPicture(4)->GetUseDescription());
    EXPECT_TRUE(Commander().ResolvePicturesGrayscale(report->a.Get(), {1, 2}, false));
    EXPECT_EQ(CTalPicture::kNo, a->GetPicture(1)->GetGrayscale());
    EXPECT_TRUE(Commander().ResolvePicturesGrayscale(report->a.Get(), {1, 2}, true));
    EXPECT_EQ(CTalPicture::kDocumentDefault, a->GetPicture(1)->GetGrayscale());
    EXPECT_EQ(CTalPicture::kDocumentDefault, a->GetPicture(2)->GetGrayscale());
    EXPECT_EQ(7, History().GetGroupCount());
}

TEST_F(EditOperationsTest, ExpandingIsNotAStep)
{
    report->a->SetExpanded(0);
    report->a1->SetExpanded(0);
    report->c->SetExpanded(0);
    Commander().ExpandAll(report->a.Get());
    EXPECT_EQ(1, report->a->GetExpanded());
    EXPECT_EQ(1, report->a1->GetExpanded());
    EXPECT_EQ(0, report->c->GetExpanded());
    Commander().SetSectionExpanded(report->a.Get(), false);
    EXPECT_EQ(0, report->a->GetExpanded());
    EXPECT_EQ(0, History().GetGroupCount());
}
