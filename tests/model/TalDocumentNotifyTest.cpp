// The report document keeps its frame's panes in step with the model: the
// notifications of the commander reach the section tree, the image panel, the
// page-template window and the text window in the order the user sees them.
#include "TalDocumentTestSupport.h"
#include "CommandTestSupport.h"
#include "ModelLeakCheck.h"

#include "model/TalCommandHistory.h"
#include "model/TalCommander.h"
#include "model/TalDocProperties.h"
#include "model/TalSection.h"
#include "model/TalTextNote.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace taldoc;

namespace {

// Lines of the panes that only tell that edits ended.
const std::vector<std::string> kEditEnds = {"end title edit", "end label edit", "leave text editing"};

class TalDocumentNotify : public ReportDocumentTest {
protected:
    CFakeSectionTree& Tree() { return views->tree; }
    CKWRefPtr<CTalSection> Add(CTalSection* parent, const wchar_t* name)
    {
        return Commander().AddChildSection(parent, name, nullptr, true, false, true, true);
    }
    void Select(CTalSection* section) { Tree().SelectItem(document->FindSectionItem(section)); }
    // The log since the last call, without the lines that end edits.
    std::vector<std::string> Steps()
    {
        std::vector<std::string> steps = views->LogWithout(kEditEnds);
        views->log.clear();
        return steps;
    }
    bool Logged(const std::string& line) const
    {
        return std::find(views->log.begin(), views->log.end(), line) != views->log.end();
    }

};

}  // namespace

TEST_F(TalDocumentNotify, AReplacedModelFillsTheTreeAndShowsTheHeading)
{
    EXPECT_EQ("Heading record+", Tree().Describe());
    EXPECT_EQ(heading, document->GetCurrentSection());

    Add(heading.Get(), L"A");
    views->log.clear();
    document->OnModelReset(heading);
    const std::vector<std::string> expected = {
        "clear",
        "insert Heading record under - after -",
        "insert A under Heading record after -",
        "expand Heading record",
        "expand A",
        "select Heading record",
        "load images",
        "templates Heading record",
        "load text Heading record",
    };
    EXPECT_EQ(expected, Steps());
    EXPECT_EQ("Heading record+(A+)", Tree().Describe());
}

TEST_F(TalDocumentNotify, AnInsertedSectionIsPlacedAfterItsPreviousSiblingAndShown)
{
    Add(heading.Get(), L"A");
    Steps();
    Commander().AddChildSection(heading.Get(), L"B", nullptr, true, true, true, true);
    const std::vector<std::string> expected = {
        "visible Heading record",
        "insert B under Heading record after A",
        "visible B",
        "select B",
        "load images",
        "templates B",
        "load text B",
        "expand B",
        "refresh text",
    };
    EXPECT_EQ(expected, Steps());
    EXPECT_EQ("B", Tree().Name(Tree().GetSelected()));
    EXPECT_STREQ(L"B", document->GetCurrentSection()->GetName());

    // A first child goes first.
    Commander().AddChildSection(heading.Get(), L"First", nullptr, true, false, false, true);
    EXPECT_EQ("Heading record+(First+,A+,B+)", Tree().Describe());
    EXPECT_STREQ(L"B", document->GetCurrentSection()->GetName()) << "not selected";
}

TEST_F(TalDocumentNotify, RemovingSelectsThePreviousSiblingOrElseTheParent)
{
    CKWRefPtr<CTalSection> a = Add(heading.Get(), L"A");
    CKWRefPtr<CTalSection> b = Add(heading.Get(), L"B");
    CKWRefPtr<CTalSection> c = Add(heading.Get(), L"C");
    Select(c.Get());
    Steps();

    Commander().RemoveSection(c.Get());
    std::vector<std::string> steps = Steps();
    ASSERT_GE(steps.size(), 3u);
    EXPECT_EQ((std::vector<std::string>{"visible B", "delete C", "visible B", "select B"}),
              std::vector<std::string>(steps.begin(), steps.begin() + 4));
    EXPECT_EQ(b, document->GetCurrentSection());

    Commander().RemoveSection(a.Get());
    EXPECT_EQ(heading, document->GetCurrentSection()) << "the first child's removal selects the parent";
    EXPECT_EQ("Heading record+(B+)", Tree().Describe());
}

TEST_F(TalDocumentNotify, AMovedInSectionExpandsItsCollapsedParent)
{
    CKWRefPtr<CTalSection> a = Add(heading.Get(), L"A");
    Add(a.Get(), L"A1");
    CKWRefPtr<CTalSection> b = Add(heading.Get(), L"B");
    Commander().SetSectionExpanded(a.Get(), false);
    Tree().Expand(document->FindSectionItem(a.Get()), CTalSectionTree::kCollapse);  // as the user collapsed it
    Steps();

    bool asChild = true;
    ASSERT_TRUE(Commander().CanMoveSection(b.Get(), a.Get(), asChild));
    ASSERT_TRUE(Commander().MoveSectionTo(b.Get(), a.Get(), true));
    EXPECT_EQ(1, a->GetExpanded());
    EXPECT_TRUE(Tree().IsExpanded(document->FindSectionItem(a.Get())));
    EXPECT_EQ("Heading record+(A+(B+,A1+))", Tree().Describe());
    EXPECT_EQ(b, document->GetCurrentSection()) << "the moved section is shown";
    const std::vector<std::string> steps = Steps();
    const auto deleted = std::find(steps.begin(), steps.end(), "delete B");
    const auto inserted = std::find(steps.begin(), steps.end(), "insert B under A after -");
    const auto expanded = std::find(steps.begin(), steps.end(), "expand A");
    EXPECT_TRUE(deleted < inserted && inserted < expanded && expanded != steps.end())
        << "the item leaves before the move and comes back under its expanded parent";
}

TEST_F(TalDocumentNotify, RenamingShowsTheSectionAndCanStartTheLabelEdit)
{
    CKWRefPtr<CTalSection> a = Add(heading.Get(), L"A");
    Steps();
    Commander().RenameSection(a.Get(), L"Alpha");
    std::vector<std::string> steps = Steps();
    EXPECT_NE(steps.end(), std::find(steps.begin(), steps.end(), "select A")) << "another section is shown first";
    EXPECT_NE(steps.end(), std::find(steps.begin(), steps.end(), "rename A to Alpha"));
    EXPECT_EQ(a, document->GetCurrentSection());

    // The current section: its label in the text window follows, and a label edit can start.
    document->OnSectionRenamed(a, true);
    const std::vector<std::string> expected = {"visible Alpha", "load text Alpha", "rename Alpha to Alpha",
                                               "edit label Alpha"};
    EXPECT_EQ(expected, Steps());
    EXPECT_TRUE(Tree().IsEditingLabel());

    // A change ends the label edit in progress, keeping its text.
    Commander().RenameSection(a.Get(), L"Again");
    EXPECT_TRUE(Logged("end label edit keep"));
    EXPECT_FALSE(Tree().IsEditingLabel());
}

TEST_F(TalDocumentNotify, TheTemplateWindowFollowsTheCurrentSectionsOwnTemplate)
{
    CKWRefPtr<CTalSection> a = Add(heading.Get(), L"A");
    Select(a.Get());
    Steps();
    ASSERT_TRUE(Commander().SetUseTemplate(a.Get(), true));
    const std::vector<std::string> expected = {"visible A", "templates A", "focus templates", "refresh text"};
    EXPECT_EQ(expected, Steps());
}

TEST_F(TalDocumentNotify, PictureChangesReachTheImagePanel)
{
    CKWRefPtr<CTalSection> a = Add(heading.Get(), L"A");
    Select(a.Get());
    CTalPictureList pictures = {MakePicture(201), MakePicture(202), MakePicture(203)};
    ASSERT_TRUE(Commander().InsertPictures(a.Get(), pictures, -1, true));
    Steps();

    ASSERT_TRUE(Commander().EditPictureTitle(a.Get(), 1, L"Bridge"));
    EXPECT_EQ((std::vector<std::string>{"visible A", "image title 1 Bridge", "refresh text"}), Steps());

    Commander().RotatePicturesLeft(a.Get(), {0, 2});
    std::vector<std::string> steps = Steps();
    EXPECT_NE(steps.end(), std::find(steps.begin(), steps.end(), "update images 0,2"));
    EXPECT_NE(steps.end(), std::find(steps.begin(), steps.end(), "select images 0,2"));

    ASSERT_TRUE(Commander().RemovePictures(a.Get(), {0}));
    EXPECT_EQ("leave text editing", views->log.front()) << "the text window lets go before the pictures change";
    steps = Steps();
    const auto loaded = std::find(steps.begin(), steps.end(), "load images");
    ASSERT_NE(steps.end(), loaded);
    ASSERT_NE(steps.end(), loaded + 1);
    EXPECT_EQ(0u, (loaded + 1)->find("select images")) << "the panel is reloaded, then the next picture selected";

    // The grey-scale default reloads the current section's pictures.
    document->OnDefaultGrayscaleChanged();
    EXPECT_EQ((std::vector<std::string>{"grayscale images 2"}), Steps());
}

TEST_F(TalDocumentNotify, UndoingATextChangeInAnotherSectionShowsItAndSelectsTheRange)
{
    CKWRefPtr<CTalSection> a = Add(heading.Get(), L"A");
    CKWRefPtr<CTalSection> b = Add(heading.Get(), L"B");
    TypeNote(*document, a.Get(), L"Hello world");
    Select(b.Get());
    document->SetModifiedFlag(FALSE);
    Steps();

    ASSERT_TRUE(document->OnCmdMsg(ID_TAL_EDIT_UNDO, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(a, document->GetCurrentSection());
    EXPECT_TRUE(document->IsModified()) << "undo marks the document modified";
    std::vector<std::string> steps = Steps();
    const auto selected = std::find(steps.begin(), steps.end(), "select A");
    const auto range = std::find_if(steps.begin(), steps.end(),
                                    [](const std::string& line) { return line.find("select text") == 0; });
    ASSERT_NE(steps.end(), range);
    EXPECT_TRUE(selected < range) << "the section is shown before its range is selected";
    EXPECT_EQ("select text 0 0", *range) << "the removed text leaves the caret at its start";
    EXPECT_TRUE(a->GetTextNote()->GetText().IsEmpty());

    document->RestoreTextRange();
    EXPECT_TRUE(Steps().empty()) << "the range is forgotten after it was applied";

    document->SetModifiedFlag(FALSE);
    ASSERT_TRUE(document->OnCmdMsg(ID_TAL_EDIT_REDO, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(document->IsModified()) << "redo marks the document modified";
    EXPECT_STREQ(L"Hello world", a->GetTextNote()->GetText());
    steps = Steps();
    // A as the current section: made visible, the caret behind the restored text.
    EXPECT_EQ((std::vector<std::string>{"visible A", "refresh text", "visible A", "select text 11 11"}), steps);
}

TEST_F(TalDocumentNotify, UndoWithAnEmptyHistoryChangesNothing)
{
    document->GetCommandHistory()->Clear();
    document->SetModifiedFlag(FALSE);
    Steps();
    document->OnEditUndo();
    document->OnEditRedo();
    EXPECT_FALSE(document->IsModified());
    EXPECT_TRUE(Steps().empty());
}

TEST_F(TalDocumentNotify, TheDefaultPageSizeIsA4UntilTheApplicationHasOne)
{
    double width = 0, height = 0;
    ASSERT_TRUE(document->GetDefaultPageSize(width, height));
    EXPECT_DOUBLE_EQ(210.0, width);
    EXPECT_DOUBLE_EQ(297.0, height);
    EXPECT_EQ(2100, app->pageWidth) << "the application keeps the size it was given";
    EXPECT_EQ(2970, app->pageHeight);
    app->pageWidth = 2159;
    app->pageHeight = 2794;
    ASSERT_TRUE(document->GetDefaultPageSize(width, height));
    EXPECT_DOUBLE_EQ(215.9, width);
    EXPECT_DOUBLE_EQ(279.4, height);
}

TEST_F(TalDocumentNotify, ADocumentWithoutAFrameIgnoresTheNotifications)
{
    CTalDocument bare;
    bare.m_bAutoDelete = FALSE;
    CKWRefPtr<CTalSection> top = bare.GetProperties().GetHeadingSection();
    CTalCommander& commander = bare.GetCommander();
    CKWRefPtr<CTalSection> a = commander.AddChildSection(top.Get(), L"A", nullptr, true, true, true, true);
    commander.RenameSection(a.Get(), L"B");
    commander.SetSectionExpanded(a.Get(), false);
    TypeNote(bare, a.Get(), L"text");
    bare.OnEditUndo();
    bare.OnModelReset(top);
    commander.RemoveSection(a.Get());
    EXPECT_EQ(0, top->GetSubSectionCount());
    EXPECT_FALSE(bare.GetCurrentSection());
    EXPECT_EQ(nullptr, bare.FindSectionItem(top.Get()));
}

TEST_F(TalDocumentNotify, ShowingASectionExpandsItsCollapsedAncestors)
{
    CKWRefPtr<CTalSection> a = Add(heading.Get(), L"A");
    CKWRefPtr<CTalSection> a1 = Add(a.Get(), L"A1");
    Commander().SetSectionExpanded(a.Get(), false);
    Select(heading.Get());
    Steps();

    Commander().RenameSection(a1.Get(), L"Inner");
    EXPECT_EQ(1, a->GetExpanded()) << "the parent of a shown section is opened";
    EXPECT_EQ(a1, document->GetCurrentSection());
    const std::vector<std::string> steps = Steps();
    const auto expanded = std::find(steps.begin(), steps.end(), "expand A");
    const auto selected = std::find(steps.begin(), steps.end(), "select A1");
    EXPECT_TRUE(expanded < selected && selected != steps.end());
}

TEST_F(TalDocumentNotify, MissingItemsAreFilledInUnderASection)
{
    // Sections that entered the model without notifications.
    CKWRefPtr<CTalSection> a(new CTalSection(heading.Get(), L"A"));
    heading->AppendSubSection(a.Get());
    CKWRefPtr<CTalSection> a1(new CTalSection(a.Get(), L"A1"));
    a->AppendSubSection(a1.Get());
    CKWRefPtr<CTalSection> b(new CTalSection(heading.Get(), L"B"));
    heading->AppendSubSection(b.Get());
    EXPECT_EQ(nullptr, document->FindSectionItem(a1.Get()));

    document->EnsureSectionItem(heading.Get(), true);
    EXPECT_EQ("Heading record+(A+(A1+),B+)", Tree().Describe());
    EXPECT_NE(nullptr, document->FindSectionItem(a1.Get()));
    EXPECT_EQ(heading, document->GetCurrentSection());
}

TEST_F(TalDocumentNotify, ARangeOfASectionWithoutAnItemIsNotSelectedElsewhere)
{
    CKWRefPtr<CTalSection> orphan(new CTalSection(nullptr, L"Orphan"));
    document->OnTextRangeChanged(orphan, 1, 2);
    Steps();
    document->RestoreTextRange();
    EXPECT_TRUE(Steps().empty()) << "the text window keeps the current note's selection";
    EXPECT_EQ(heading, document->GetCurrentSection());
    orphan->Detach();
}
