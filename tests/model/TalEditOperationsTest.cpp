// The edit operations of the commander: the commands they build, the steps
// they leave and the cases where they refuse.
#include <gtest/gtest.h>

#include "model/TalCommandGroup.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommandStrings.h"
#include "model/TalCommander.h"
#include "model/TalPageTemplate.h"
#include "model/TalTemplateManager.h"
#include "model/TalTextNote.h"
#include "tests/model/CommandTestSupport.h"
#include "tests/model/ModelLeakCheck.h"

namespace {

class EditOperationsTest : public ModelLeakCheck {
protected:
    void SetUp() override
    {
        ModelLeakCheck::SetUp();
        document.reset(new LoggingDocument);
        report.reset(new SampleReport(*document));
    }
    void TearDown() override
    {
        report.reset();
        document.reset();
        ModelLeakCheck::TearDown();
    }

    CTalCommandHistory& History() { return document->History(); }
    CTalCommander& Commander() { return document->GetCommander(); }
    uint32_t LastLabel() { return History().GetGroup(History().GetPosition())->GetLabel(); }
    std::vector<int32_t> PictureIds(const CTalSection* section)
    {
        std::vector<int32_t> ids;
        for (const auto& picture : section->GetPictures())
            ids.push_back(picture->GetPictureId());
        return ids;
    }
    std::vector<CString> ChildNames(const CTalSection* section)
    {
        std::vector<CString> names;
        for (const auto& child : section->GetSubSections())
            names.push_back(child->GetName());
        return names;
    }

    std::unique_ptr<LoggingDocument> document;
    std::unique_ptr<SampleReport> report;
};

}  // namespace

TEST_F(EditOperationsTest, NewSubsectionNamesAreTrimmed)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* name;
    };
    const Case cases[] = {
        {L"\n  Results \t", L"Results"}, {nullptr, L"New Section"}, {L"\r\n \t", L""}, {L"a b", L"a b"},
        {L"\x3000x", L"\x3000x"},  // only "\r\n \t" is trimmed
    };
    for (const Case& c : cases) {
        CKWRefPtr<CTalSection> added =
            Commander().AddChildSection(report->c.Get(), c.text, nullptr, true, false, false, true);
        ASSERT_TRUE(added);
        EXPECT_EQ(CString(c.name), added->GetName());
        EXPECT_EQ(IDS_ADD_SUBSECTION, LastLabel());
    }
}

TEST_F(EditOperationsTest, ANewSectionTakesTwoIds)
{
    const int32_t last = CTalSection::GetLastIssuedId();
    CKWRefPtr<CTalSection> added = Commander().AddChildSection(report->c.Get(), L"x", nullptr, true, true, true, true);
    EXPECT_EQ(last + 2, added->GetId());
    EXPECT_EQ(last + 2, CTalSection::GetLastIssuedId());
    EXPECT_EQ((std::vector<std::string>{"Inserted " + std::to_string(added->GetId()) + " 1", "Layout"}),
              document->log);
}

TEST_F(EditOperationsTest, SubsectionsGoFirstOrLast)
{
    CKWRefPtr<CTalSection> first = Commander().AddChildSection(report->a.Get(), L"first", nullptr, true, false, false, true);
    CKWRefPtr<CTalSection> last = Commander().AddChildSection(report->a.Get(), L"last", nullptr, true, false, true, true);
    EXPECT_EQ((std::vector<CString>{L"first", L"A1", L"A2", L"last"}), ChildNames(report->a.Get()));
    EXPECT_EQ(2, History().GetGroupCount());
    Commander().Undo();
    Commander().Undo();
    EXPECT_EQ((std::vector<CString>{L"A1", L"A2"}), ChildNames(report->a.Get()));

    // Without undo and without a group: inserted directly, no step, no notification.
    document->log.clear();
    History().Clear();
    Commander().AddChildSection(report->a.Get(), L"quiet", nullptr, false, false, true, false);
    EXPECT_EQ((std::vector<CString>{L"A1", L"A2", L"quiet"}), ChildNames(report->a.Get()));
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

TEST_F(EditOperationsTest, SiblingsFollowTheirSection)
{
    CKWRefPtr<CTalSection> added = Commander().AddSiblingSection(report->a1.Get(), L"between", nullptr, true, false);
    EXPECT_EQ((std::vector<CString>{L"A1", L"between", L"A2"}), ChildNames(report->a.Get()));
    EXPECT_EQ(IDS_ADD_SECTION, LastLabel());
    // Beside the heading section there is no place: the new one becomes its first child.
    Commander().AddSiblingSection(report->heading.Get(), L"top", nullptr, true, false);
    EXPECT_EQ(CString(L"top"), report->heading->GetSubSection(0)->GetName());
    EXPECT_EQ(IDS_ADD_SUBSECTION, LastLabel());
    Commander().Undo();
    Commander().Undo();
    EXPECT_EQ((std::vector<CString>{L"A", L"B", L"C"}), ChildNames(report->heading.Get()));
    EXPECT_EQ((std::vector<CString>{L"A1", L"A2"}), ChildNames(report->a.Get()));
}

TEST_F(EditOperationsTest, RemoveSectionAnswersWithTheSectionToShowNext)
{
    EXPECT_EQ(report->a, Commander().RemoveSection(report->a1.Get()));
    EXPECT_EQ(report->a, Commander().RemoveSection(report->b.Get()));
    EXPECT_EQ(IDS_REMOVE_SECTION, LastLabel());
    EXPECT_EQ(2, History().GetGroupCount());
    // The heading section and no section at all: nothing happens.
    EXPECT_EQ(report->heading, Commander().RemoveSection(report->heading.Get()));
    EXPECT_FALSE(Commander().RemoveSection(nullptr));
    EXPECT_EQ(2, History().GetGroupCount());
}

TEST_F(EditOperationsTest, MovesLeftRightUpAndDown)
{
    EXPECT_FALSE(Commander().MoveSectionLeft(report->b.Get()));  // its parent is the heading section
    EXPECT_FALSE(Commander().MoveSectionRight(report->a.Get()));  // a first child
    EXPECT_FALSE(Commander().MoveSectionUp(report->a.Get()));
    EXPECT_FALSE(Commander().MoveSectionDown(report->c.Get()));
    EXPECT_FALSE(Commander().MoveSectionLeft(nullptr));
    EXPECT_FALSE(Commander().MoveSectionRight(report->heading.Get()));
    EXPECT_EQ(0, History().GetGroupCount());

    EXPECT_EQ(report->a2, Commander().MoveSectionLeft(report->a2.Get()));
    EXPECT_EQ((std::vector<CString>{L"A", L"A2", L"B", L"C"}), ChildNames(report->heading.Get()));
    EXPECT_EQ(IDS_MOVE_SECTION_LEFT, LastLabel());

    EXPECT_EQ(report->b, Commander().MoveSectionRight(report->b.Get()));
    EXPECT_EQ((std::vector<CString>{L"A", L"A2", L"C"}), ChildNames(report->heading.Get()));
    EXPECT_EQ((std::vector<CString>{L"B"}), ChildNames(report->a2.Get()));
    EXPECT_EQ(IDS_MOVE_SECTION_RIGHT, LastLabel());

    EXPECT_EQ(report->c, Commander().MoveSectionUp(report->c.Get()));
    EXPECT_EQ((std::vector<CString>{L"A", L"C", L"A2"}), ChildNames(report->heading.Get()));
    EXPECT_EQ(IDS_MOVE_SECTION_UP, LastLabel());

    EXPECT_EQ(report->c, Commander().MoveSectionDown(report->c.Get()));
    EXPECT_EQ((std::vector<CString>{L"A", L"A2", L"C"}), ChildNames(report->heading.Get()));
    EXPECT_EQ(IDS_MOVE_SECTION_DOWN, LastLabel());

    while (History().CanUndo())
        Commander().Undo();
    EXPECT_EQ((std::vector<CString>{L"A", L"B", L"C"}), ChildNames(report->heading.Get()));
    EXPECT_EQ((std::vector<CString>{L"A1", L"A2"}), ChildNames(report->a.Get()));
    EXPECT_TRUE(ModelInvariantsHold(report->heading.Get()));
}

TEST_F(EditOperationsTest, DropTestAndDrops)
{
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
    EXPECT_EQ(report->a2, report->heading->GetSubSection(0));
    EXPECT_EQ(report->b, Commander().MoveSectionTo(report->a1.Get(), report->b.Get(), false));
    EXPECT_EQ((std::vector<CString>{L"A2", L"A", L"B", L"A1", L"C"}), ChildNames(report->heading.Get()));
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
    Commander().Undo();
    EXPECT_EQ(CString(L"B"), report->b->GetName());
}

TEST_F(EditOperationsTest, TemplatesOfSections)
{
    CTalPageTemplate* first = new CTalPageTemplate;
    first->SetName(CString(L"first.otl"));
    first->SetTitle(CString(L"First"));
    CTalPageTemplate* second = new CTalPageTemplate;
    second->SetName(CString(L"second.otl"));
    second->SetTitle(CString(L"Second"));
    g_TemplateManager.AddPageTemplate(first);
    g_TemplateManager.AddPageTemplate(second);
    report->heading->SetTemplateName(CString(L"first.otl"));

    EXPECT_FALSE(Commander().SetSectionTemplate(report->b.Get(), -1));
    EXPECT_FALSE(Commander().SetSectionTemplate(report->b.Get(), 2));
    EXPECT_FALSE(Commander().SetSectionTemplate(nullptr, 0));
    EXPECT_TRUE(Commander().SetSectionTemplate(report->b.Get(), 1));
    EXPECT_EQ(CString(L"second.otl"), report->b->GetTemplateName());
    EXPECT_EQ(1, report->b->GetOwnTemplate());
    EXPECT_EQ(IDS_SET_TEMPLATE, LastLabel());
    EXPECT_EQ(second, report->b->GetPageTemplate());

    // A1 takes over what it followed: the heading section's template.
    EXPECT_FALSE(Commander().SetUseTemplate(report->heading.Get(), true));
    EXPECT_TRUE(Commander().SetUseTemplate(report->a1.Get(), true));
    EXPECT_EQ(CString(L"first.otl"), report->a1->GetTemplateName());
    EXPECT_EQ(1, report->a1->GetOwnTemplate());
    EXPECT_EQ(IDS_SET_USE_TEMPLATE, LastLabel());

    Commander().Undo();
    Commander().Undo();
    EXPECT_EQ(CString(L""), report->b->GetTemplateName());
    EXPECT_EQ(0, report->b->GetOwnTemplate());
    EXPECT_EQ(0, report->a1->GetOwnTemplate());
    g_TemplateManager.Clear();
}

TEST_F(EditOperationsTest, PictureTitles)
{
    EXPECT_FALSE(Commander().EditPictureTitle(report->a.Get(), 2, CString(L"Picture-202")));
    EXPECT_FALSE(Commander().EditPictureTitle(report->a.Get(), 5, CString(L"x")));
    EXPECT_FALSE(Commander().EditPictureTitle(nullptr, 0, CString(L"x")));
    EXPECT_EQ(0, History().GetGroupCount());
    EXPECT_TRUE(Commander().EditPictureTitle(report->a.Get(), 2, CString(L"Bridge")));
    EXPECT_EQ(CString(L"Bridge"), report->a->GetPicture(2)->GetTitle());
    EXPECT_EQ(IDS_EDIT_IMAGE_DESCRIPTION, LastLabel());
    EXPECT_EQ("Title " + std::to_string(report->a->GetId()) + " 202 0", document->log.front());
    Commander().Undo();
    EXPECT_EQ(CString(L"Picture-202"), report->a->GetPicture(2)->GetTitle());
    EXPECT_EQ("Title " + std::to_string(report->a->GetId()) + " 202 1", document->log[2]);
}

TEST_F(EditOperationsTest, InsertingPictures)
{
    EXPECT_FALSE(Commander().InsertPictures(nullptr, {MakePicture(1)}, -1, true));
    EXPECT_TRUE(Commander().InsertPictures(report->a.Get(), {MakePicture(1), MakePicture(2), MakePicture(3)}, 2, true));
    EXPECT_EQ((std::vector<int32_t>{200, 201, 1, 2, 3, 202, 203, 204}), PictureIds(report->a.Get()));
    EXPECT_EQ(IDS_ADD_IMAGES, LastLabel());
    EXPECT_TRUE(Commander().InsertPictures(report->b.Get(), {MakePicture(4), MakePicture(5)}, -1, true));
    EXPECT_EQ((std::vector<int32_t>{300, 301, 4, 5}), PictureIds(report->b.Get()));
    Commander().Undo();
    Commander().Undo();
    EXPECT_EQ((std::vector<int32_t>{200, 201, 202, 203, 204}), PictureIds(report->a.Get()));
    EXPECT_EQ((std::vector<int32_t>{300, 301}), PictureIds(report->b.Get()));
    Commander().Redo();
    EXPECT_EQ((std::vector<int32_t>{200, 201, 1, 2, 3, 202, 203, 204}), PictureIds(report->a.Get()));

    // Without undo: appended directly, no step.
    History().Clear();
    document->log.clear();
    EXPECT_TRUE(Commander().InsertPictures(report->c.Get(), {MakePicture(6)}, 0, false));
    EXPECT_EQ((std::vector<int32_t>{6}), PictureIds(report->c.Get()));
    EXPECT_EQ(report->c.Get(), report->c->GetPicture(0)->PeekParent());
    EXPECT_EQ(0, History().GetGroupCount());
    EXPECT_TRUE(document->log.empty());
}

TEST_F(EditOperationsTest, RemovingPictures)
{
    EXPECT_FALSE(Commander().RemovePictures(nullptr, {0}));
    EXPECT_TRUE(Commander().RemovePictures(report->a.Get(), {4, 0, 0, 12}));
    EXPECT_EQ((std::vector<int32_t>{201, 202, 203}), PictureIds(report->a.Get()));
    EXPECT_EQ(IDS_REMOVE_IMAGES, LastLabel());
    // Nothing valid to remove: no step.
    EXPECT_TRUE(Commander().RemovePictures(report->a.Get(), {7}));
    EXPECT_EQ(1, History().GetGroupCount());
    Commander().Undo();
    EXPECT_EQ((std::vector<int32_t>{200, 201, 202, 203, 204}), PictureIds(report->a.Get()));
}

TEST_F(EditOperationsTest, MovingPictures)
{
    EXPECT_FALSE(Commander().MovePictures(report->b.Get(), report->a.Get(), {}, 0));
    EXPECT_FALSE(Commander().MovePictures(nullptr, report->a.Get(), {0}, 0));
    // Appended to B in the listed order.
    EXPECT_TRUE(Commander().MovePictures(report->b.Get(), report->a.Get(), {3, 1}, -1));
    EXPECT_EQ((std::vector<int32_t>{200, 202, 204}), PictureIds(report->a.Get()));
    EXPECT_EQ((std::vector<int32_t>{300, 301, 203, 201}), PictureIds(report->b.Get()));
    EXPECT_EQ(IDS_MOVE_IMAGES, LastLabel());
    Commander().Undo();
    EXPECT_EQ((std::vector<int32_t>{200, 201, 202, 203, 204}), PictureIds(report->a.Get()));
    EXPECT_EQ((std::vector<int32_t>{300, 301}), PictureIds(report->b.Get()));

    // Within one section: the anchor index is a place in the source.
    EXPECT_TRUE(Commander().MovePictures(report->a.Get(), report->a.Get(), {0, 1}, 4));
    EXPECT_EQ((std::vector<int32_t>{202, 203, 200, 201, 204}), PictureIds(report->a.Get()));
    EXPECT_TRUE(Commander().MovePictures(report->a.Get(), report->a.Get(), {4}, 0));
    EXPECT_EQ((std::vector<int32_t>{204, 202, 203, 200, 201}), PictureIds(report->a.Get()));
    Commander().Undo();
    Commander().Undo();
    EXPECT_EQ((std::vector<int32_t>{200, 201, 202, 203, 204}), PictureIds(report->a.Get()));
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
    EXPECT_EQ(2, History().GetGroupCount());
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

    while (History().CanUndo())
        Commander().Undo();
    for (const auto& picture : a->GetPictures()) {
        EXPECT_EQ(1, picture->GetShown());
        EXPECT_EQ(0, picture->GetNewPage());
        EXPECT_EQ(CTalPicture::kDocumentDefault, picture->GetGrayscale());
        EXPECT_EQ(CTalPicture::kDocumentDefault, picture->GetUseDescription());
    }
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
