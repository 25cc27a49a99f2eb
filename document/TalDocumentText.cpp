// The text-format commands of the text tool bar and the text menu: each is
// one undoable step "Change Text Note Properties" that, in editing mode,
// ends with the selected range so that undo and redo select it again. Also
// the font-name and font-size boxes, the text-properties sheet and the
// font lists of the pickers.
#include "document/TalDocument.h"

#include "controls/KWColorMenuButton.h"
#include "controls/KWCommonComboBoxButton.h"
#include "controls/KWFontLists.h"
#include "controls/KWFontMenuChoice.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarComboBoxButton.h"
#include "framework/KWFontFaceStorage.h"
#include "framework/KWMeasure.h"
#include "model/TalCommandGroup.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommandPayloads.h"
#include "model/TalCommandStrings.h"
#include "document/TalDocumentApp.h"
#include "document/TalDocumentViews.h"
#include "platform/classlib/CmdUI.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"
#include "resources/Strings.h"

#include <cwchar>

namespace {

// The largest font size of a text run, in points.
const int kMaxFontSize = 1670;
const wchar_t kFontSizeMessage[] = L"Font Size must be an integer positive number.";

// The first tool-bar button of the text colour that is a colour button;
// null when there is none.
CColorMenuButton* TextColorButton()
{
    CTalDocumentApp* app = GetTalDocumentApp();
    CQMXPToolbarButton* button = app ? app->FindToolbarButton(ID_TAL_TEXT_COLOR) : nullptr;
    return button ? DYNAMIC_DOWNCAST(CColorMenuButton, button) : nullptr;
}

// Every combo box of the command on the tool bars.
template <typename Action>
void ForEachComboButton(UINT id, Action action)
{
    CObList buttons;
    CQMXPToolBar::CollectButtonsByCommand(id, buttons);
    for (POSITION pos = buttons.GetHeadPosition(); pos != nullptr;) {
        CObject* button = buttons.GetNext(pos);
        if (button->IsKindOf(RUNTIME_CLASS(CQMXPToolbarComboBoxButton)))
            action(*static_cast<CQMXPToolbarComboBoxButton*>(button));
    }
}

void ShowFontSizeMessage()
{
    AfxMessageBox(kFontSizeMessage, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

// ---- The text command -------------------------------------------------------------------

void CTalDocument::BeginTextCommand()
{
    if (CTalCommandHistory* history = GetCommandHistory())
        history->BeginGroup();
}

void CTalDocument::EndTextCommand()
{
    CTalCommandHistory* history = GetCommandHistory();
    if (!history)
        return;
    const bool editing = m_frame && m_frame->IsTextEditing();
    if (editing)
        m_frame->InvalidateTextFormats();
    const CTalCommandGroup* group = history->GetOpenGroup();
    int32_t first = 0, last = 0;
    if (editing && group && !group->IsEmpty() && m_currentSection && m_frame->GetTextSelection(first, last))
        history->AddCommand(new CCmdIntIntData(CTalCommand::kTextRange, m_currentSection.Get(), first, last));
    if (history->EndGroup(IDS_CHANGE_TEXT_NOTE_PROPERTIES)) {
        OnTextLayoutChanged();
        SetModifiedFlag(TRUE);
    }
}

template <typename Change>
void CTalDocument::RunTextCommand(Change change)
{
    if (!m_frame)
        return;
    BeginTextCommand();
    change();
    EndTextCommand();
}

// ---- Formats --------------------------------------------------------------------------------

void CTalDocument::OnTextStyle(UINT id)
{
    RunTextCommand([&] {
        if (id == ID_TAL_BOLD)
            m_frame->ToggleBold();
        else if (id == ID_TAL_ITALIC)
            m_frame->ToggleItalic();
        else
            m_frame->ToggleUnderline();
    });
}

void CTalDocument::OnTextAlign(UINT id)
{
    RunTextCommand([&] { m_frame->SetTextAlignment(static_cast<uint8_t>(id - ID_TAL_ALIGN_LEFT)); });
}

void CTalDocument::OnFontStep(UINT id)
{
    RunTextCommand([&] { m_frame->ChangeFontSize(id == ID_TAL_FONT_BIGGER); });
}

void CTalDocument::OnTextColor()
{
    // The colour the tool-bar button holds, whether the command came from the
    // button, its palette or the menu; a colour picked for the command waits
    // no longer.
    CKWColor color;
    GetColorMap().TakeChosen(ID_TAL_TEXT_COLOR);
    CColorMenuButton::LookupColor(ID_TAL_TEXT_COLOR, color);
    RunTextCommand([&] { m_frame->SetTextColor(color); });
}

void CTalDocument::OnTextBackgroundColor()
{
    // Styled text has no background colour: the colour is looked up and the
    // command stays empty, so it leaves no step.
    RunTextCommand([] {
        CKWColor color;
        CColorMenuButton::LookupColor(ID_TAL_TEXT_BACKGROUND_COLOR, color);
    });
}

void CTalDocument::OnSelectAllText()
{
    if (m_frame)
        m_frame->SelectAllText();
}

// ---- Font names ---------------------------------------------------------------------------------

uint32_t CTalDocument::ApplyFontName(const CString& name)
{
    uint32_t index = 0;
    RunTextCommand([&] {
        index = GetProperties().GetFontTable().FindOrAdd(static_cast<const wchar_t*>(name));
        m_frame->SetFontName(index);
    });
    return index;
}

void CTalDocument::OnFontName()
{
    const int selected = CQMXPToolbarComboBoxButton::GetCurSelForCommand(ID_TAL_FONT_NAME);
    if (selected >= 0) {
        CString name;
        CQMXPToolbarComboBoxButton::GetTextForCommand(ID_TAL_FONT_NAME, name);
        const uint32_t index = ApplyFontName(name);
        const DWORD_PTR data = CQMXPToolbarComboBoxButton::GetItemDataForCommand(ID_TAL_FONT_NAME, selected);
        if (data != 0 && data != static_cast<DWORD_PTR>(-1))
            reinterpret_cast<FontCommboData*>(data)->value = static_cast<int>(index);
    }
    if (m_frame)
        m_frame->FocusFrame();
}

void CTalDocument::OnFontNameCancel()
{
    if (m_frame)
        m_frame->FocusFrame();
}

void CTalDocument::OnFontNameMenu()
{
    const CString& name = GetChosenFontName();
    if (name.IsEmpty())
        return;
    ApplyFontName(name);
    if (m_frame)
        m_frame->FocusFrame();
}

void CTalDocument::UpdateFontLists(bool rebuild)
{
    const CKWIndexDecoder* fonts = &GetProperties().GetFontTable();
    if (rebuild && GetCurrentFontList() == fonts && !fonts->IsEmpty())
        return;
    SetCurrentFontLists(fonts, &GetFontFaceStorage());
    ::UpdateFontLists(rebuild);
}

// ---- Font sizes ---------------------------------------------------------------------------------

namespace {

// The size the text of the font-size box gives, in points: a number and an
// optional unit; 0 when it gives none. Computed in floating point and
// limited before it becomes a whole number.
int ParseFontSize(const CString& text)
{
    double value = 0.0;
    if (!ParsePointSize(text, value))
        return 0;
    value += 0.5;
    if (!(value >= 1.0))  // also NaN
        return 0;
    return value >= kMaxFontSize ? kMaxFontSize : static_cast<int>(value);
}

}  // namespace

void CTalDocument::OnFontSize()
{
    CString text;
    CQMXPToolbarComboBoxButton::GetTextForCommand(ID_TAL_FONT_SIZE, text);
    const int size = ParseFontSize(text);
    if (size <= 0) {
        ShowFontSizeMessage();
        return;
    }
    CString shown;
    shown.Format(L"%d", size);
    CQMXPToolbarComboBoxButton::SetTextForCommand(ID_TAL_FONT_SIZE, shown);
    RunTextCommand([&] { m_frame->SetFontSize(size); });
    if (m_frame)
        m_frame->FocusFrame();
}

void CTalDocument::OnFontSizeMenu()
{
    const int size = GetChosenFontSize();
    if (size <= 0) {
        ShowFontSizeMessage();
        return;
    }
    RunTextCommand([&] { m_frame->SetFontSize(size); });
    if (m_frame)
        m_frame->FocusFrame();
}

// ---- Text properties ------------------------------------------------------------------------------

void CTalDocument::OnTextProperties()
{
    CTalDocumentApp* app = GetTalDocumentApp();
    if (!m_frame || !app)
        return;
    uint32_t charMask = 0, paraMask = 0;
    const CKWCharFormat* charFormat = m_frame->GetTextCharFormat(charMask);
    const CKWParaFormat* paraFormat = m_frame->GetTextParaFormat(paraMask);
    if (!charFormat || !paraFormat)
        return;
    CKWIndexDecoder& fonts = GetProperties().GetFontTable();
    CTalTextProperties sheet;
    sheet.charFormat = *charFormat;
    sheet.paraFormat = *paraFormat;
    sheet.fontName = fonts.GetEntry(charFormat->m_fontIndex).GetName().c_str();
    sheet.color = charFormat->GetColorRef();
    CString caption;
    AfxLoadStringResource(IDS_TEXT_PROPERTIES, caption);
    if (!app->RunTextProperties(caption, sheet))
        return;
    RunTextCommand([&] {
        const uint32_t styles = CKWCharFormat::kBold | CKWCharFormat::kItalic | CKWCharFormat::kUnderline;
        const uint32_t charFields = styles | CKWCharFormat::kMaskSize | CKWCharFormat::kMaskColor |
                                    CKWCharFormat::kMaskFont;
        CKWCharFormat chars;
        chars.m_count = sheet.charChanged & charFields;
        chars.m_style = static_cast<uint8_t>(sheet.charFormat.m_style & sheet.charChanged & styles);
        chars.m_size = sheet.charFormat.m_size;
        chars.m_color = CKWColor::FromRgb(GetRValue(sheet.color), GetGValue(sheet.color), GetBValue(sheet.color));
        if (chars.m_count & CKWCharFormat::kMaskFont) {
            chars.m_fontIndex = fonts.FindOrAdd(static_cast<const wchar_t*>(sheet.fontName));
            UpdateFontLists(false);
        }
        if (chars.m_count)
            m_frame->ApplyCharFormat(chars);
        const uint32_t paraFields = CKWParaFormat::kMaskAlign | CKWParaFormat::kMaskFirstLine |
                                    CKWParaFormat::kMaskLeftIndent | CKWParaFormat::kMaskRightIndent;
        CKWParaFormat paras = sheet.paraFormat;
        paras.m_count = sheet.paraChanged & paraFields;
        if (paras.m_count)
            m_frame->ApplyParaFormat(paras);
    });
}

// ---- Update handlers ---------------------------------------------------------------------------------

void CTalDocument::OnUpdateTextStyle(CCmdUI* cmdUI)
{
    cmdUI->Enable(TRUE);
    if (!m_frame)
        return;
    switch (cmdUI->m_nID) {
    case ID_TAL_BOLD:
        cmdUI->SetCheck(m_frame->IsTextBold());
        break;
    case ID_TAL_ITALIC:
        cmdUI->SetCheck(m_frame->IsTextItalic());
        break;
    default:
        cmdUI->SetCheck(m_frame->IsTextUnderline());
        break;
    }
}

void CTalDocument::OnUpdateTextAlign(CCmdUI* cmdUI)
{
    cmdUI->Enable(TRUE);
    uint32_t mask = 0;
    const CKWParaFormat* format = m_frame ? m_frame->GetTextParaFormat(mask) : nullptr;
    cmdUI->SetCheck(format && (mask & CKWParaFormat::kMaskAlign) &&
                    format->m_align == cmdUI->m_nID - ID_TAL_ALIGN_LEFT);
}

void CTalDocument::OnUpdateTextColor(CCmdUI*)
{
    // The button shows the selection's colour, also after the user picked one
    // in it; only a colour picked and not yet applied stays, since its command
    // applies what the button shows.
    CKWColor color;
    CColorMenuButton* colorButton = TextColorButton();
    if (!m_frame || !colorButton || CColorMenuButton::IsColorChosen(ID_TAL_TEXT_COLOR) ||
        !m_frame->GetTextColor(color))
        return;
    // The button and its command's record are told only of a change.
    const CKWColor& shown = colorButton->GetColor();
    if (shown.GetKind() != color.GetKind() || shown.GetValue() != color.GetValue())
        colorButton->SetColor(color.GetKind(), color.GetValue());
}

void CTalDocument::OnUpdateFontName(CCmdUI* cmdUI)
{
    cmdUI->Enable(TRUE);
    if (CKWCommonComboBoxButton::HasComboFocus())
        return;
    UpdateFontLists(false);
    uint32_t mask = 0;
    const CKWCharFormat* format = m_frame ? m_frame->GetTextCharFormat(mask) : nullptr;
    if (format && (mask & CKWCharFormat::kMaskFont)) {
        const int index = static_cast<int>(format->m_fontIndex);
        // A new report's empty note names a font its table does not list yet.
        const std::wstring face = GetProperties().GetFontTable().GetEntry(format->m_fontIndex).GetName();
        CKWFontNameComboBoxButton::SetCurrentFont(index < 0 ? -1 : index, face.c_str());
        return;
    }
    ForEachComboButton(ID_TAL_FONT_NAME, [](CQMXPToolbarComboBoxButton& button) {
        button.SelectItem(-1);
        button.SetText(L"", TRUE);
    });
}

void CTalDocument::OnUpdateFontSize(CCmdUI* cmdUI)
{
    cmdUI->Enable(TRUE);
    if (CKWCommonComboBoxButton::HasComboFocus())
        return;
    uint32_t mask = 0;
    const CKWCharFormat* format = m_frame ? m_frame->GetTextCharFormat(mask) : nullptr;
    if (format && (mask & CKWCharFormat::kMaskSize)) {
        CString size, shown;
        size.Format(L"%d", static_cast<int>(format->m_size));
        if (!CQMXPToolbarComboBoxButton::GetTextForCommand(ID_TAL_FONT_SIZE, shown) || shown != size)
            CQMXPToolbarComboBoxButton::SetTextForCommand(ID_TAL_FONT_SIZE, size);
        return;
    }
    ForEachComboButton(ID_TAL_FONT_SIZE, [](CQMXPToolbarComboBoxButton& button) { button.SetText(L"", FALSE); });
}

void CTalDocument::OnUpdateSelectAllText(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_frame && m_frame->HasText());
}
