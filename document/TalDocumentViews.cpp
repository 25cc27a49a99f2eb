// The text-note window's operations over its text panel: in editing mode
// the edit engine acts on its selection; otherwise the whole note changes.
#include "document/TalDocumentViews.h"

#include "model/TalTextNote.h"
#include "text/KWCharFormat.h"
#include "text/KWParaFormat.h"
#include "text/KWTextPanel.h"

CTalTextNote* CTalDocumentViews::GetTextNote()
{
    CKWTextPanel* panel = GetTextPanel();
    return panel ? dynamic_cast<CTalTextNote*>(panel->GetTextObject()) : nullptr;
}

bool CTalDocumentViews::IsTextEditing()
{
    CKWTextPanel* panel = GetTextPanel();
    return panel && panel->GetTextObject() && panel->IsEditing();
}

bool CTalDocumentViews::HasText()
{
    CTalTextNote* note = GetTextNote();
    return note && note->GetLength() > 0;
}

bool CTalDocumentViews::GetTextSelection(int32_t& first, int32_t& last)
{
    CTalTextNote* note = GetTextNote();
    if (!note)
        return false;
    if (IsTextEditing()) {
        first = GetTextPanel()->GetSelStart().pos;
        last = GetTextPanel()->GetSelEnd().pos;
    } else {
        first = 0;
        last = note->GetLength();
    }
    return true;
}

const CKWCharFormat* CTalDocumentViews::GetTextCharFormat(uint32_t& mask)
{
    CTalTextNote* note = GetTextNote();
    if (!note)
        return nullptr;
    if (IsTextEditing())
        return GetTextPanel()->GetSelCharFormat(mask);
    // Outside editing the note's first run speaks for the whole note (the
    // default format when it has none), every field taken as uniform.
    mask = CKWCharFormat::kMaskAll;
    return &note->GetRun(0);
}

const CKWParaFormat* CTalDocumentViews::GetTextParaFormat(uint32_t& mask)
{
    CTalTextNote* note = GetTextNote();
    if (!note)
        return nullptr;
    if (IsTextEditing())
        return GetTextPanel()->GetSelParaFormat(mask);
    // Likewise the first paragraph.
    mask = CKWParaFormat::kMaskAll;
    return &note->GetPara(0);
}

namespace {

bool HasUniformStyle(const CKWCharFormat* format, uint32_t mask, uint8_t style)
{
    return format && (mask & style) && (format->m_style & style);
}

}  // namespace

bool CTalDocumentViews::IsTextBold()
{
    uint32_t mask = 0;
    const CKWCharFormat* format = GetTextCharFormat(mask);
    return HasUniformStyle(format, mask, CKWCharFormat::kBold);
}

bool CTalDocumentViews::IsTextItalic()
{
    uint32_t mask = 0;
    const CKWCharFormat* format = GetTextCharFormat(mask);
    return HasUniformStyle(format, mask, CKWCharFormat::kItalic);
}

bool CTalDocumentViews::IsTextUnderline()
{
    uint32_t mask = 0;
    const CKWCharFormat* format = GetTextCharFormat(mask);
    return HasUniformStyle(format, mask, CKWCharFormat::kUnderline);
}

bool CTalDocumentViews::GetTextColor(CKWColor& color)
{
    uint32_t mask = 0;
    const CKWCharFormat* format = GetTextCharFormat(mask);
    if (!format || !(mask & CKWCharFormat::kMaskColor))
        return false;
    color = format->m_color;
    return true;
}

void CTalDocumentViews::InvalidateTextFormats()
{
    if (CKWTextPanel* panel = GetTextPanel())
        panel->InvalidateFormatCache();
}

bool CTalDocumentViews::CanCutText()
{
    return IsTextEditing() && GetTextPanel()->HasSelection();
}

bool CTalDocumentViews::CanCopyText()
{
    return IsTextEditing() && GetTextPanel()->GetSelEnd().pos > GetTextPanel()->GetSelStart().pos;
}

bool CTalDocumentViews::CanPasteText()
{
    return IsTextEditing() && GetTextPanel()->CanPaste();
}

bool CTalDocumentViews::CanDeleteText()
{
    CKWTextPanel* panel = GetTextPanel();
    return panel && panel->HasSelection();
}

bool CTalDocumentViews::CutText()
{
    return IsTextEditing() && GetTextPanel()->Cut();
}

bool CTalDocumentViews::CopyText()
{
    return IsTextEditing() && GetTextPanel()->Copy();
}

bool CTalDocumentViews::PasteText()
{
    return IsTextEditing() && GetTextPanel()->Paste();
}

bool CTalDocumentViews::DeleteText()
{
    if (!CanDeleteText())
        return false;
    GetTextPanel()->Clear();
    return true;
}

void CTalDocumentViews::SelectAllText()
{
    CKWTextPanel* panel = GetTextPanel();
    if (!panel || !panel->GetTextObject())
        return;
    if (!panel->IsEditing())
        panel->BeginEdit(panel->GetTextObject());
    panel->SetSel(0, -1, true);
}

void CTalDocumentViews::ApplyCharFormat(const CKWCharFormat& request)
{
    CTalTextNote* note = GetTextNote();
    if (!note)
        return;
    if (IsTextEditing())
        GetTextPanel()->SetSelCharFormat(request);
    else
        note->SetCharFormatInRange(0, note->GetLength(), request);
}

void CTalDocumentViews::ApplyParaFormat(const CKWParaFormat& request)
{
    CTalTextNote* note = GetTextNote();
    if (!note)
        return;
    if (IsTextEditing())
        GetTextPanel()->SetSelParaFormat(request);
    else
        note->SetParaFormatInRange(0, note->GetLength(), request);
}

void CTalDocumentViews::ToggleStyle(uint8_t style)
{
    uint32_t mask = 0;
    const CKWCharFormat* format = GetTextCharFormat(mask);
    if (!format)
        return;
    CKWCharFormat request;
    request.m_count = style;
    request.m_style = HasUniformStyle(format, mask, style) ? 0 : style;
    ApplyCharFormat(request);
}

void CTalDocumentViews::ToggleBold()
{
    ToggleStyle(CKWCharFormat::kBold);
}

void CTalDocumentViews::ToggleItalic()
{
    ToggleStyle(CKWCharFormat::kItalic);
}

void CTalDocumentViews::ToggleUnderline()
{
    ToggleStyle(CKWCharFormat::kUnderline);
}

void CTalDocumentViews::SetTextAlignment(uint8_t alignment)
{
    CKWParaFormat request;
    request.m_count = CKWParaFormat::kMaskAlign;
    request.m_align = alignment;
    ApplyParaFormat(request);
}

void CTalDocumentViews::ChangeFontSize(bool up)
{
    CKWCharFormat request;
    request.m_count = CKWCharFormat::kMaskStepSize;
    request.m_sizeStepUp = up ? 1 : 0;
    ApplyCharFormat(request);
}

void CTalDocumentViews::SetFontSize(int size)
{
    CKWCharFormat request;
    request.m_count = CKWCharFormat::kMaskSize;
    request.m_size = static_cast<int16_t>(size);
    ApplyCharFormat(request);
}

void CTalDocumentViews::SetFontName(uint32_t fontIndex)
{
    CKWCharFormat request;
    request.m_count = CKWCharFormat::kMaskFont;
    request.m_fontIndex = fontIndex;
    ApplyCharFormat(request);
}

void CTalDocumentViews::SetTextColor(const CKWColor& color)
{
    CKWCharFormat request;
    request.m_count = CKWCharFormat::kMaskColor;
    request.m_color = color;
    ApplyCharFormat(request);
}
