// The section, undo and document commands of the report document: their
// enabling as the menus ask it, the Undo and Redo texts, the keys, renaming
// from the tree, print setup, and commands sent to the frame as WM_COMMAND.
#include "controls/KWDBItemUserData.h"
#include "TalDocumentCommandSupport.h"

#include "model/TalCommandHistory.h"
#include "model/TalCommandStrings.h"
#include "model/TalItemUserData.h"
#include "model/TalSection.h"

using namespace taldoc;

namespace {

std::string Ascii(const CString& text)
{
    std::string out;
    for (int i = 0; i < text.GetLength(); ++i)
        out += static_cast<char>(text[i]);
    return out;
}

class TalSectionCommands : public TalCommandFixture {
protected:
    void SetUp() override
    {
        TalCommandFixture::SetUp();
        c = Add(heading.Get(), L"C");
        b1 = Add(b.Get(), L"B1");
    }
    void TearDown() override
    {
        c.Release();
        b1.Release();
        TalCommandFixture::TearDown();
    }
    std::string Names(const CTalSection* parent) const
    {
        std::string out;
        for (const CKWRefPtr<CTalSection>& child : parent->GetSubSections())
            out += (out.empty() ? "" : ",") + Ascii(child->GetName());
        return out;
    }

    CKWRefPtr<CTalSection> c, b1;
};

}  // namespace

TEST_F(TalSectionCommands, MovesAndRemovalAreEnabledWhereTheSectionCanGo)
{
    struct Row {
        CTalSection* section;
        bool remove, left, right, up, down;
    };
    const Row rows[] = {
        {heading.Get(), false, false, false, false, false},
        {a.Get(), true, false, false, false, true},  // first child of the heading
        {b.Get(), true, false, true, true, true},
        {c.Get(), true, false, true, true, false},  // last child
        {b1.Get(), true, true, false, false, false},
    };
    for (const Row& row : rows) {
        Select(row.section);
        const std::string name = Ascii(row.section->GetName());
        EXPECT_EQ(row.remove, Enabled(ID_TAL_REMOVE_SECTION)) << name;
        EXPECT_EQ(row.left, Enabled(ID_TAL_MOVE_SECTION_LEFT)) << name;
        EXPECT_EQ(row.right, Enabled(ID_TAL_MOVE_SECTION_RIGHT)) << name;
        EXPECT_EQ(row.up, Enabled(ID_TAL_MOVE_SECTION_UP)) << name;
        EXPECT_EQ(row.down, Enabled(ID_TAL_MOVE_SECTION_DOWN)) << name;
        // Only the heading section can be neither cut, copied nor deleted.
        EXPECT_EQ(row.remove, Enabled(ID_TAL_EDIT_CUT)) << name;
        EXPECT_EQ(row.remove, Enabled(ID_TAL_EDIT_COPY)) << name;
        EXPECT_EQ(row.remove, Enabled(ID_TAL_DELETE_SELECTED)) << name;
        EXPECT_TRUE(Enabled(ID_TAL_ADD_SECTION)) << name;
    }
}

TEST_F(TalSectionCommands, UndoAndRedoTextsNameTheStep)
{
    CommandState undo = Update(ID_TAL_EDIT_UNDO);
    EXPECT_FALSE(undo.enabled);
    EXPECT_EQ(L"Can't Undo", undo.text);
    EXPECT_EQ(L"Can't Redo", Update(ID_TAL_EDIT_REDO).text);

    Select(a.Get());
    Command(ID_TAL_ADD_SECTION);
    undo = Update(ID_TAL_EDIT_UNDO);
    EXPECT_TRUE(undo.enabled);
    EXPECT_EQ(L"&Undo Add Section\tCtrl+Z", undo.text);
    EXPECT_TRUE(Tree().IsEditingLabel()) << "the new section's name is edited at once";
    EXPECT_EQ("New Section", Tree().Name(Tree().GetEditedItem()));

    Command(ID_TAL_EDIT_UNDO);
    EXPECT_FALSE(Tree().IsEditingLabel()) << "undo ends the label edit";
    const CommandState redo = Update(ID_TAL_EDIT_REDO);
    EXPECT_TRUE(redo.enabled);
    EXPECT_EQ(L"&Redo Add Section\tCtrl+Y", redo.text);

    // Changed text in the label box would be lost to the replay.
    Command(ID_TAL_RENAME);
    ASSERT_TRUE(Tree().IsEditingLabel());
    EXPECT_TRUE(Enabled(ID_TAL_EDIT_REDO)) << "an unchanged label";
    Tree().labelModified = true;
    EXPECT_FALSE(Enabled(ID_TAL_EDIT_REDO));
}

TEST_F(TalSectionCommands, F2EndsAnEditInProgressInsteadOfStartingOne)
{
    Select(b.Get());
    Command(ID_TAL_RENAME);
    EXPECT_EQ("B", Tree().Name(Tree().GetEditedItem()));
    views->log.clear();
    Command(ID_TAL_RENAME);
    EXPECT_FALSE(Tree().IsEditingLabel());
    EXPECT_EQ(std::vector<std::string>{"end label edit keep"}, views->log);

    // In the image panel F2 edits the current image's title, and again ends it.
    views->activePane = CTalDocumentViews::kPaneImages;
    views->currentImage = 0;
    Command(ID_TAL_RENAME);
    EXPECT_TRUE(views->editingTitle);
    views->log.clear();
    Command(ID_TAL_RENAME);
    EXPECT_EQ(std::vector<std::string>{"end title edit keep"}, views->log);
}

TEST_F(TalSectionCommands, KeysOfTheTreeAddSectionsAndDeleteOnlyWhatCanGo)
{
    Select(b.Get());
    CKWKeyRecord enter;
    enter.key = VK_RETURN;
    EXPECT_TRUE(document->HandleKey(enter));
    EXPECT_EQ("A,B,New Section,C", Names(heading.Get()));
    Tree().EndEditLabel(false);

    enter.shift = 1;
    Select(b.Get());
    EXPECT_TRUE(document->HandleKey(enter));
    EXPECT_EQ("B1,New Section", Names(b.Get())) << "Shift+Enter adds a subsection";
    Tree().EndEditLabel(false);

    CKWKeyRecord backspace;
    backspace.key = VK_BACK;
    Select(heading.Get());
    EXPECT_FALSE(document->HandleKey(backspace)) << "the heading section cannot go";
    Select(c.Get());
    EXPECT_TRUE(document->HandleKey(backspace));
    EXPECT_EQ("A,B,New Section", Names(heading.Get()));
}

TEST_F(TalSectionCommands, RenamingFromTheTreeIsOneStepForSectionItemsOnly)
{
    HTREEITEM item = document->FindSectionItem(b.Get());
    document->RenameSectionFromTree(item, L"Beta");
    EXPECT_STREQ(L"Beta", b->GetName());
    EXPECT_EQ(uint32_t(IDS_EDIT_SECTION_NAME), LastStepLabel());
    EXPECT_EQ(1, History().GetGroupCount());
    EXPECT_TRUE(document->IsModified());

    // An item whose data is not a report object's is left alone.
    HTREEITEM other = Tree().InsertItem(L"Other", Tree().GetRootItem(), nullptr);
    Tree().SetItemData(other, new CKWDBItemUserData);
    document->RenameSectionFromTree(other, L"Gamma");
    document->RenameSectionFromTree(item, L"Beta");
    EXPECT_EQ(1, History().GetGroupCount()) << "neither other data nor the same name is a step";
}

TEST_F(TalSectionCommands, PrintSetupTakesThePrintersOrientation)
{
    struct Row {
        short orientation;  // 0: no device mode
        int32_t expected;
    };
    const Row rows[] = {{DMORIENT_LANDSCAPE, 0}, {0, 1}, {DMORIENT_PORTRAIT, 1}};
    for (const Row& row : rows) {
        HGLOBAL names = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + 64);
        HGLOBAL mode = nullptr;
        if (row.orientation) {
            mode = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEW));
            auto* devMode = static_cast<DEVMODEW*>(::GlobalLock(mode));
            devMode->dmSize = sizeof(DEVMODEW);
            devMode->dmFields = DM_ORIENTATION;
            devMode->dmOrientation = row.orientation;
            ::GlobalUnlock(mode);
        }
        app->SelectPrinter(names, mode);
        document->GetProperties().SetPortrait(5);
        document->GetProperties().m_printOrientation = 5;
        Command(ID_TAL_PRINT_SETUP);
        EXPECT_EQ(row.expected, document->GetProperties().GetPortrait()) << row.orientation;
        EXPECT_EQ(row.expected, document->GetProperties().m_printOrientation) << row.orientation;
    }
    EXPECT_EQ(3, app->printSetupRuns);
}

TEST_F(TalSectionCommands, CommandsReachTheDocumentThroughTheFrameUnlessDisabled)
{
    Select(heading.Get());
    Command(ID_TAL_REMOVE_SECTION);
    Command(ID_TAL_MOVE_SECTION_DOWN);
    EXPECT_EQ(0, History().GetGroupCount()) << "disabled commands do nothing";
    EXPECT_FALSE(document->IsModified());

    Select(c.Get());
    Command(ID_TAL_MOVE_SECTION_UP);
    EXPECT_EQ("A,C,B", Names(heading.Get()));
    Command(ID_TAL_EDIT_UNDO);
    Select(heading.Get());
    Command(ID_TAL_ADD_SUBSECTION);
    EXPECT_EQ("A,B,C,New Section", Names(heading.Get()));
    EXPECT_EQ(uint32_t(IDS_ADD_SUBSECTION), LastStepLabel());
    Tree().EndEditLabel(false);
    Command(ID_TAL_REMOVE_SECTION);
    EXPECT_EQ("A,B,C", Names(heading.Get()));
    EXPECT_EQ(c.Get(), Current()) << "after removing, the previous sibling is shown";

    b->SetExpanded(0);
    Command(ID_TAL_EXPAND_ALL);
    EXPECT_EQ(1, b->GetExpanded());
    Command(ID_TAL_REPORT_PROPERTIES);
    Command(ID_TAL_WATERMARK_PROPERTIES);
    Command(ID_TAL_DOCUMENT_PROPERTIES);
    EXPECT_EQ((std::vector<int>{3, 2, -1}), app->propertiesPages);
    EXPECT_TRUE(Enabled(ID_TAL_FILE_SAVE));
    document->SetModifiedFlag(FALSE);
    EXPECT_FALSE(Enabled(ID_TAL_FILE_SAVE));
}
