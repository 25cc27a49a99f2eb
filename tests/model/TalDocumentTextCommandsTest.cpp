// The text-format commands on the note shown in a real text panel: one step
// each whose undo selects the range again, no step for no change, the font
// name and font size boxes of a tool bar, and the text-properties sheet.
#include "TalDocumentCommandSupport.h"

#include "controls/KWColorMenuButton.h"
#include "controls/KWCommonComboBoxButton.h"
#include "controls/KWFontLists.h"
#include "controls/KWFontMenuChoice.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "framework/KWFontFaceStorage.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommandStrings.h"
#include "model/TalSection.h"
#include "model/TalTextNote.h"

using namespace taldoc;

namespace {

class TalTextCommands : public TalCommandFixture {
protected:
    void SetUp() override
    {
        TalCommandFixture::SetUp();
        // A note as the editor leaves it: one run, one paragraph record.
        Note().SetText(L"Hello world");
        Note().EnsureOneRun();
        Note().EnsureOnePara();
        Select(a.Get());
        views->activePane = CTalDocumentViews::kPaneText;
        bar.Create(CWnd::FromHandle(views->frame));
        fontName = new CKWFontNameComboBoxButton;
        fontSize = new CQMXPToolbarComboBoxButton(ID_TAL_FONT_SIZE);
        bar.InsertButton(fontName);
        bar.InsertButton(fontSize);
        document->SetModifiedFlag(FALSE);
    }
    void TearDown() override
    {
        bar.DestroyWindow();
        TalCommandFixture::TearDown();
    }
    CTalTextNote& Note() { return *a->GetTextNote(); }
    void Edit(int start, int end)
    {
        Panel().BeginEdit(&Note());
        Panel().SetSel(start, end, false);
    }
    std::pair<int, int> Selection() { return {Panel().GetSelStart().pos, Panel().GetSelEnd().pos}; }
    // The box's combo reports the end of a selection, as it does while it has the focus.
    void BoxChosen(UINT id)
    {
        CKWCommonComboBoxButton box;
        box.NotifyCommand(CKWCommonComboBoxButton::kSetFocus);
        ::SendMessageW(views->frame, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), LPARAM(bar.m_hWnd));
        box.NotifyCommand(CKWCommonComboBoxButton::kKillFocus);
    }

    CQMXPToolBar bar;
    CKWFontNameComboBoxButton* fontName = nullptr;
    CQMXPToolbarComboBoxButton* fontSize = nullptr;
};

}  // namespace

TEST_F(TalTextCommands, BoldOnASelectionIsOneStepWhoseUndoSelectsTheRangeAgain)
{
    Edit(0, 5);
    Command(ID_TAL_BOLD);
    EXPECT_EQ(CKWCharFormat::kBold, Note().GetRun(0).m_style);
    EXPECT_EQ(5u, Note().GetRun(0).m_count);
    EXPECT_EQ(1, Update(ID_TAL_BOLD).checked);
    EXPECT_EQ(1, History().GetGroupCount());
    EXPECT_EQ(uint32_t(IDS_CHANGE_TEXT_NOTE_PROPERTIES), LastStepLabel());
    EXPECT_EQ(L"&Undo Change Text Note Properties\tCtrl+Z", Update(ID_TAL_EDIT_UNDO).text);
    EXPECT_TRUE(document->IsModified());

    Panel().SetSel(8, 8, false);
    Command(ID_TAL_EDIT_UNDO);
    EXPECT_EQ(0, Note().GetRun(0).m_style);
    EXPECT_EQ((std::pair<int, int>(0, 5)), Selection());
    Panel().SetSel(2, 2, false);
    Command(ID_TAL_EDIT_REDO);
    EXPECT_EQ(CKWCharFormat::kBold, Note().GetRun(0).m_style);
    EXPECT_EQ((std::pair<int, int>(0, 5)), Selection());
}

TEST_F(TalTextCommands, AFormatThatChangesNothingLeavesNoStep)
{
    Edit(3, 3);
    Command(ID_TAL_BOLD);  // only the format of the next typed characters
    Command(ID_TAL_TEXT_BACKGROUND_COLOR);
    Panel().DetachTextObject();
    Panel().AttachTextObject(&Note());
    Command(ID_TAL_ALIGN_LEFT);  // the whole note is left aligned already
    EXPECT_EQ(0, History().GetGroupCount());
    EXPECT_FALSE(document->IsModified());

    // Outside editing mode a change reaches the whole note.
    Command(ID_TAL_ALIGN_RIGHT);
    EXPECT_EQ(CKWParaFormat::kAlignRight, Note().GetPara(0).m_align);
    EXPECT_EQ(1, Update(ID_TAL_ALIGN_RIGHT).checked);
    EXPECT_EQ(0, Update(ID_TAL_ALIGN_LEFT).checked);
    Command(ID_TAL_FONT_BIGGER);
    EXPECT_EQ(11, Note().GetRun(0).m_size);
    EXPECT_EQ(2, History().GetGroupCount());
}

TEST_F(TalTextCommands, AFontNameNotYetUsedJoinsTheFontTable)
{
    GetFontFaceStorage().AddFace(L"Test Face Unused", CKWFontFaceStorage::kTrueType, 0);
    document->UpdateFontLists(true);
    ASSERT_EQ(int(GetFontFaceStorage().GetCount()), fontName->GetCount());
    int item = 0;
    while (fontName->GetItemData(item) &&
           *reinterpret_cast<FontCommboData*>(fontName->GetItemData(item))->face->name != L"Test Face Unused")
        ++item;
    const CKWIndexDecoder& fonts = document->GetProperties().GetFontTable();
    const uint32_t before = fonts.GetCount();

    fontName->SelectItem(item);
    BoxChosen(ID_TAL_FONT_NAME);
    ASSERT_EQ(before + 1, fonts.GetCount());
    EXPECT_EQ(L"Test Face Unused", fonts.GetString(before));
    EXPECT_EQ(before, Note().GetRun(0).m_fontIndex);
    EXPECT_EQ(int(before), reinterpret_cast<FontCommboData*>(fontName->GetItemData(item))->value);
    EXPECT_EQ("focus frame", views->log.back());

    // The box follows the selection's font, and is emptied for mixed fonts.
    fontName->SelectItem(-1);
    Update(ID_TAL_FONT_NAME);
    EXPECT_EQ(item, fontName->GetCurSel());
    Edit(0, 2);
    SetChosenFontName(L"Test Face Menu");
    Command(ID_TAL_FONT_NAME_MENU);
    EXPECT_EQ(L"Test Face Menu", fonts.GetString(before + 1));
    Edit(0, 8);
    Update(ID_TAL_FONT_NAME);
    EXPECT_EQ(-1, fontName->GetCurSel());
    EXPECT_EQ(CString(), fontName->GetText());
}

TEST_F(TalTextCommands, TheFontSizeBoxTakesPointsOrUnitsWithinLimits)
{
    struct Row {
        const wchar_t* typed;
        int size;  // 0: refused
        const wchar_t* shown;
    };
    const Row rows[] = {
        {L"12", 12, L"12"},     {L"1 in", 72, L"72"},   {L"10 mm", 28, L"28"}, {L"0.4", 0, L"0.4"},
        {L"5000", 1670, L"1670"}, {L"1e12", 1670, L"1670"}, {L"9 pt", 9, L"9"}, {L"big", 0, L"big"},
    };
    for (const Row& row : rows) {
        app->messages.clear();
        Note().SetCharFormatInRange(0, Note().GetLength(), [] {
            CKWCharFormat reset;
            reset.m_count = CKWCharFormat::kMaskSize;
            reset.m_size = 10;
            return reset;
        }());
        fontSize->SetText(row.typed);
        BoxChosen(ID_TAL_FONT_SIZE);
        EXPECT_EQ(row.size ? row.size : 10, Note().GetRun(0).m_size) << row.typed;
        EXPECT_EQ(CString(row.shown), fontSize->GetText()) << row.typed;
        const std::vector<std::wstring> refusal = {L"Font Size must be an integer positive number."};
        EXPECT_EQ(row.size ? std::vector<std::wstring>() : refusal, app->messages) << row.typed;
    }
    app->messages.clear();
    SetChosenFontSize(0);
    Command(ID_TAL_FONT_SIZE_MENU);
    EXPECT_EQ(1u, app->messages.size());
}

TEST_F(TalTextCommands, TheFontSizeBoxShowsTheFirstRunOutsideEditingAndNothingForAMixedSelection)
{
    CKWCharFormat bigger;
    bigger.m_count = CKWCharFormat::kMaskSize;
    bigger.m_size = 14;
    Note().SetCharFormatInRange(6, 11, bigger);
    // Outside editing the note's first run speaks for the whole note.
    Update(ID_TAL_FONT_SIZE);
    CString first;
    first.Format(L"%d", static_cast<int>(Note().GetRun(0).m_size));
    EXPECT_NE(CString(L"14"), first);
    EXPECT_EQ(first, fontSize->GetText()) << "the first run's size, though the note has two";
    // Editing, a selection across both sizes shows none.
    Edit(4, 9);
    Update(ID_TAL_FONT_SIZE);
    EXPECT_EQ(CString(), fontSize->GetText()) << "the selection has two sizes";
    Edit(7, 9);
    Update(ID_TAL_FONT_SIZE);
    EXPECT_EQ(CString(L"14"), fontSize->GetText());

    // Not while the user types into a box.
    fontSize->SetText(L"3");
    CKWCommonComboBoxButton typing;
    typing.NotifyCommand(CKWCommonComboBoxButton::kSetFocus);
    Update(ID_TAL_FONT_SIZE);
    EXPECT_EQ(CString(L"3"), fontSize->GetText());
    typing.NotifyCommand(CKWCommonComboBoxButton::kKillFocus);
}

TEST_F(TalTextCommands, TheTextPropertiesSheetChangesOnlyWhatItReports)
{
    Note().SetCharFormatInRange(0, 5, [] {
        CKWCharFormat italic;
        italic.m_count = CKWCharFormat::kItalic | CKWCharFormat::kMaskSize;
        italic.m_style = CKWCharFormat::kItalic;
        italic.m_size = 16;
        return italic;
    }());
    Edit(0, 5);
    app->textPropertiesAnswer = [](CTalTextProperties&) { return false; };
    Command(ID_TAL_TEXT_PROPERTIES);
    EXPECT_EQ(CString(L"Arial"), app->textPropertiesShown.fontName);
    EXPECT_EQ(16, app->textPropertiesShown.charFormat.m_size);
    EXPECT_EQ(0, History().GetGroupCount()) << "Cancel records nothing";

    app->textPropertiesAnswer = [](CTalTextProperties& sheet) {
        sheet.charFormat.m_style = 0;
        sheet.charFormat.m_size = 40;
        sheet.color = RGB(0x12, 0x34, 0x56);
        sheet.charChanged = CKWCharFormat::kMaskColor;
        return true;
    };
    Command(ID_TAL_TEXT_PROPERTIES);
    const CKWCharFormat& run = Note().GetRun(0);
    EXPECT_EQ(CKWCharFormat::kItalic, run.m_style);
    EXPECT_EQ(16, run.m_size);
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), run.GetColorRef());
    EXPECT_EQ(5u, run.m_count);
    EXPECT_EQ(1, History().GetGroupCount());

    // The text colour button shows the selection's colour.
    CColorMenuButton* color = new CColorMenuButton(ID_TAL_TEXT_COLOR, CKWColor());
    bar.InsertButton(color);
    app->button = color;
    Update(ID_TAL_TEXT_COLOR);
    CKWColor recorded;
    ASSERT_TRUE(CColorMenuButton::LookupColor(ID_TAL_TEXT_COLOR, recorded));
    EXPECT_EQ(run.m_color.GetValue(), recorded.GetValue());
    // The command, as the menu sends it, applies what the button holds (over
    // text of two colours the button keeps it).
    const CKWColor red = CKWColor::FromColorRef(RGB(255, 0, 0));
    color->SetColor(red.GetKind(), red.GetValue());
    Edit(0, 11);
    Command(ID_TAL_TEXT_COLOR);
    EXPECT_EQ(RGB(255, 0, 0), Note().GetRun(0).GetColorRef());
    EXPECT_EQ(RGB(255, 0, 0), Note().GetRun(Note().GetRunCount() - 1).GetColorRef());
    EXPECT_EQ(2, History().GetGroupCount());
}
