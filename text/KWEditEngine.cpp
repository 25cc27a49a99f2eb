// CKWEditEngine: the selection, the formats and the changes of the text.
#include "text/KWEditEngine.h"

#include <algorithm>
#include <cwchar>

#include "framework/KWColor.h"
#include "framework/KWFontSizes.h"
#include "text/KWScreenGraphics.h"
#include "text/KWTextObject.h"

CKWEditEngine::CKWEditEngine()
{
    CKWScreenGraphics& screen = GetScreenGraphics();
    m_mapper.graphics = screen.GetGraphics();
    m_mapper.scale = m_mapper.graphics ? screen.GetDpi() / 254.0 : 1.0;
}

CKWEditEngine::~CKWEditEngine() = default;

void CKWEditEngine::BeginEdit(CKWTextObject* text)
{
    if (text != m_text)
        AttachTextObject(text);
    m_editing = 1;
}

void CKWEditEngine::DetachTextObject()
{
    m_text = nullptr;
    m_editing = 0;
    m_dragging = 0;
    m_formatsValid = false;
    m_useOwnFormat = false;
}

void CKWEditEngine::AttachTextObject(CKWTextObject* text)
{
    if (m_editing)
        DetachTextObject();
    m_text = text;
    m_start = m_end = m_pivot = m_prevStart = m_prevEnd = CKWTextPos();
    m_linesValid = 1;
    m_useOwnFormat = false;
    m_ownMask = 0;
    m_formatsValid = false;
    m_caretHidden = 0;
    m_typing = 0;
    m_modified = 0;
    m_dragging = 0;
    if (m_text) {
        ComputeFormats();
        PlaceText(true);
        CKWDoubleRect bounds;
        m_text->GetBounds(bounds);
        UpdateView(&bounds);
    }
    InvalidateAll();  // the window shows the other text
}

void CKWEditEngine::GetBackgroundColor(CKWColor& color)
{
    color = CKWColor::FromRgb(0xFF, 0xFF, 0xFF);
}

CKWTextPos CKWEditEngine::PosAt(int pos, bool atEnd, int fromLine) const
{
    CKWTextPos at;
    at.pos = pos;
    at.line = m_text ? m_text->LineOfPosition(pos, atEnd, fromLine) : 0;
    return at;
}

void CKWEditEngine::ValidateLines()
{
    if (!m_text)
        return;
    const int lines = m_text->GetLineCount();
    // A line that no longer holds its position is computed again too.
    auto stale = [&](const CKWTextPos& p) {
        if (p.line < 0 || p.line >= std::max(lines, 1))
            return true;
        if (lines == 0)
            return false;
        const CKWLineRecord& line = m_text->GetLine(p.line);
        return p.pos < m_text->LineStart(p.line) || p.pos > line.end;
    };
    if (m_linesValid && !stale(m_start) && !stale(m_end))
        return;
    m_start.line = m_text->LineOfPosition(m_start.pos, false);
    m_end.line = m_end.pos == m_start.pos ? m_start.line : m_text->LineOfPosition(m_end.pos, true, m_start.line);
    if (stale(m_pivot))
        m_pivot.line = m_text->LineOfPosition(m_pivot.pos, false);
    m_linesValid = 1;
}

void CKWEditEngine::SetSelection(const CKWTextPos& start, const CKWTextPos& end, bool scroll)
{
    const CKWTextPos oldStart = m_start;
    const CKWTextPos oldEnd = m_end;
    m_prevStart = oldStart;
    m_prevEnd = oldEnd;
    const bool ordered = start.pos < end.pos || (start.pos == end.pos && start.line <= end.line);
    m_start = ordered ? start : end;
    m_end = ordered ? end : start;
    if (m_start.pos == m_end.pos)
        m_pivot = m_start;
    else if (m_pivot.pos != m_start.pos && m_pivot.pos != m_end.pos)
        m_pivot = m_start;  // a selection set from outside is anchored at its start
    m_linesValid = m_start.line >= 0 && m_end.line >= 0;
    UpdateSelection(&oldStart, &oldEnd, true, scroll);
}

void CKWEditEngine::UpdateSelection(const CKWTextPos* oldStart, const CKWTextPos* oldEnd, bool invalidateNew,
                                    bool scroll)
{
    if (!m_text || !m_editing)
        return;
    ValidateLines();
    m_useOwnFormat = false;
    m_ownMask = 0;
    ComputeFormats();
    m_typing = 0;
    if (scroll)
        EnsureCaretVisible();
    std::vector<RECT> rects;
    if (invalidateNew)
        GetSelectionRects(rects, 0, 0);
    if (oldStart && oldEnd)
        AppendRangeRects(rects, *oldStart, *oldEnd);
    if (!rects.empty())
        InvalidateRects(rects);
    m_caretHidden = 0;
}

void CKWEditEngine::SetSel(int start, int end, bool scroll)
{
    if (!m_text)
        return;
    const int length = m_text->GetLength();
    start = std::clamp(start, 0, length);
    end = end < 0 ? length : std::clamp(end, 0, length);
    CKWTextPos a, b;
    a.pos = start;
    a.line = -1;
    b.pos = end;
    b.line = -1;
    SetSelection(a, b, scroll);
}

bool CKWEditEngine::HasSelection() const
{
    return m_text && !m_text->IsReadOnly() && m_end.pos > m_start.pos;
}

void CKWEditEngine::ExtendSelectionTo(const CKWTextPos& to, bool scroll)
{
    SetSelection(m_pivot, to, scroll);
}

// --- Formats ---

void CKWEditEngine::InvalidateFormatCache()
{
    m_formatsValid = false;
}

void CKWEditEngine::ComputeFormats()
{
    if (!m_text)
        return;
    m_selCharFormat = m_text->GetCommonCharFormat(m_start.pos, m_end.pos, m_charMask);
    m_selParaFormat = m_text->GetCommonParaFormat(m_start.pos, m_end.pos, m_paraMask);
    m_formatsValid = true;
}

const CKWCharFormat* CKWEditEngine::GetSelCharFormat(uint32_t& mask)
{
    if (!m_text)
        return nullptr;
    if (!m_formatsValid)
        ComputeFormats();
    mask = m_charMask;
    return m_useOwnFormat ? &m_ownFormat : &m_selCharFormat;
}

const CKWParaFormat* CKWEditEngine::GetSelParaFormat(uint32_t& mask)
{
    if (!m_text)
        return nullptr;
    if (!m_formatsValid)
        ComputeFormats();
    mask = m_paraMask;
    return &m_selParaFormat;
}

void CKWEditEngine::UseOwnFormat()
{
    if (m_useOwnFormat)
        return;
    if (!m_formatsValid)
        ComputeFormats();
    m_ownFormat = m_selCharFormat;
    m_ownFormat.m_count = 0;
    m_ownMask = 0;
    m_useOwnFormat = true;
}

void CKWEditEngine::MergeIntoOwnFormat(const CKWCharFormat& request)
{
    UseOwnFormat();
    const uint32_t mask = request.m_count;
    CKWCharFormat& own = m_ownFormat;
    if (mask & CKWCharFormat::kMaskWholeStyle) {
        own.m_style = request.m_style;
        m_ownMask |= CKWCharFormat::kMaskStyle;
    } else if (mask & CKWCharFormat::kMaskStyle) {
        const uint8_t bits = static_cast<uint8_t>(mask & CKWCharFormat::kMaskStyle);
        own.m_style = static_cast<uint8_t>((own.m_style & ~bits) | (request.m_style & bits));
        m_ownMask |= bits;
    }
    if (mask & CKWCharFormat::kMaskSize) {
        own.m_size = request.m_size;
        m_ownMask |= CKWCharFormat::kMaskSize;
    }
    if (mask & CKWCharFormat::kMaskStepSize) {
        own.m_size = static_cast<int16_t>(request.m_sizeStepUp ? GetNextFontSize(own.m_size)
                                                               : GetPrevFontSize(own.m_size));
        m_ownMask |= CKWCharFormat::kMaskSize;
    }
    if (mask & CKWCharFormat::kMaskColor) {
        own.m_color = request.m_color;
        m_ownMask |= CKWCharFormat::kMaskColor;
    }
    if (mask & CKWCharFormat::kMaskFont) {
        own.m_fontIndex = request.m_fontIndex;
        m_ownMask |= CKWCharFormat::kMaskFont;
    }
    if (mask & CKWCharFormat::kMaskCharSet) {
        own.m_charSet = request.m_charSet;
        m_ownMask |= CKWCharFormat::kMaskCharSet;
    }
    if (mask & CKWCharFormat::kMaskVertical) {
        own.m_vertical = request.m_vertical > 2 ? 0 : request.m_vertical;
        m_ownMask |= CKWCharFormat::kMaskVertical;
    }
    if (mask & CKWCharFormat::kMaskSpacing) {
        own.m_spacing = request.m_spacing;
        m_ownMask |= CKWCharFormat::kMaskSpacing;
    }
}

void CKWEditEngine::RefreshAfterFormat()
{
    m_text->UpdateLayout();
    m_linesValid = 0;
    ValidateLines();
    UpdateView(nullptr);
    InvalidateAll();
}

void CKWEditEngine::SetSelCharFormat(const CKWCharFormat& request)
{
    if (!m_text)
        return;
    if (m_end.pos > m_start.pos) {
        m_text->SetCharFormatInRange(m_start.pos, m_end.pos, request);
        RefreshAfterFormat();
    } else {
        MergeIntoOwnFormat(request);
    }
    InvalidateFormatCache();
}

void CKWEditEngine::SetSelParaFormat(const CKWParaFormat& request)
{
    if (!m_text)
        return;
    m_text->SetParaFormatInRange(m_start.pos, m_end.pos, request);
    RefreshAfterFormat();
    InvalidateFormatCache();
}

// --- Changes of the text ---

void CKWEditEngine::BeginTextChange()
{
    ValidateLines();
    // A text is edited with its records complete.
    m_text->EnsureOneRun();
    m_text->EnsureOnePara();
    OnChange();
    BeforeChange();
}

void CKWEditEngine::EndTextChange(int start, int startLine, int end, int inserted)
{
    AlignParagraphRecords(start, start + inserted);
    AfterChange();
    OnTextReplaced(start, startLine, end, inserted);
}

void CKWEditEngine::ReplaceSelection(const wchar_t* text, int length)
{
    if (!m_text || m_text->IsReadOnly())
        return;
    if (!text || length < 0)
        length = text ? static_cast<int>(std::wcslen(text)) : 0;
    if (m_start.pos == m_end.pos && length == 0)
        return;
    BeginTextChange();
    const int start = m_start.pos;
    const int end = m_end.pos;
    m_text->ReplaceText(text, length, start, end);
    m_modified |= 1;
    // New characters took the format before them; an explicitly set format
    // of the caret goes over it.
    if (m_useOwnFormat && m_ownMask != 0 && length > 0) {
        CKWCharFormat request = m_ownFormat;
        request.m_count = m_ownMask;
        m_text->SetCharFormatInRange(start, start + length, request);
    }
    EndTextChange(start, m_start.line, end, length);
}

void CKWEditEngine::DeleteRange(int start, int end)
{
    if (!m_text || m_text->IsReadOnly() || end <= start)
        return;
    BeginTextChange();
    const int startLine = m_text->LineOfPosition(start, false);
    m_text->ReplaceText(nullptr, 0, start, end);
    m_modified |= 1;
    EndTextChange(start, startLine, end, 0);
}

void CKWEditEngine::AlignParagraphRecords(int from, int to)
{
    // Each paragraph around the change keeps a record of its own: a record
    // that holds a line feed typed or pasted into it is split after it, and
    // one whose line feed was deleted takes the next record in.
    CKWTextObject& t = *m_text;
    if (t.GetParaCount() == 0)
        return;
    const int length = t.GetLength();
    const wchar_t* text = t.GetText().GetString();
    auto paraEndFrom = [&](int pos) {
        while (pos < length && text[pos] != L'\n')
            ++pos;
        return pos < length ? pos + 1 : length;
    };
    int regionStart = std::clamp(from, 0, length);
    while (regionStart > 0 && text[regionStart - 1] != L'\n')
        --regionStart;
    const int regionEnd = paraEndFrom(std::clamp(to, regionStart, length));

    int i = 0;
    int recStart = 0;
    while (i < t.GetParaCount() - 1 && recStart + static_cast<int>(t.GetPara(i).m_count) <= regionStart)
        recStart += static_cast<int>(t.GetPara(i++).m_count);
    while (i < t.GetParaCount() && recStart < regionEnd) {
        const int recEnd = recStart + static_cast<int>(t.GetPara(i).m_count);
        const int paraEnd = paraEndFrom(recStart);
        if (recEnd > paraEnd) {
            CKWParaFormat* rest = new CKWParaFormat(t.GetPara(i));
            rest->m_count = static_cast<uint32_t>(recEnd - paraEnd);
            t.SetParaLength(i, static_cast<uint32_t>(paraEnd - recStart));
            if (!t.InsertPara(i + 1, rest))
                delete rest;
            recStart = paraEnd;
            ++i;
        } else if (recEnd < paraEnd && i + 1 < t.GetParaCount()) {
            t.SetParaLength(i, t.GetPara(i).m_count + t.GetPara(i + 1).m_count);
            t.RemovePara(i + 1);
        } else {
            recStart = recEnd;
            ++i;
        }
    }
    if (regionEnd < length)
        return;
    // The empty paragraph after a final line feed has a record of its own.
    const int count = t.GetParaCount();
    const bool endsWithFeed = length > 0 && text[length - 1] == L'\n';
    if (endsWithFeed && t.GetPara(count - 1).m_count > 0) {
        CKWParaFormat* empty = new CKWParaFormat(t.GetPara(count - 1));
        empty->m_count = 0;
        t.AppendPara(empty);
    } else if (!endsWithFeed && count > 1 && t.GetPara(count - 1).m_count == 0) {
        t.RemovePara(count - 1);
    }
}

void CKWEditEngine::OnTextReplaced(int start, int startLine, int& end, int inserted)
{
    m_modified |= 1;
    CKWDoubleRect before, after;
    m_text->RelayoutRange(start, startLine, end, inserted, &before, &after);
    CKWDoubleRect box;
    box.UnionRect(before, after);

    m_prevStart = m_start;
    m_prevEnd = m_end;
    m_start = PosAt(start + inserted, false);
    m_end = m_start;
    m_pivot = m_start;
    m_linesValid = 1;

    const double dx = 1.0 / m_mapper.scale;
    const double dy = 2.0 / m_mapper.scale;
    const double scrollX = GetScrollX();
    const double scrollY = GetScrollY();
    box.left -= scrollX + dx;
    box.right -= scrollX - dx;
    box.top -= scrollY + dy;
    box.bottom -= scrollY - dy;
    InvalidateTextRect(&box);
    UpdateView(nullptr);
    UpdateSelection(nullptr, nullptr, false, true);
    UpdateNow();
}
