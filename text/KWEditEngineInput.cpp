// CKWEditEngine: keys, typed characters and the mouse.
#include <algorithm>
#include <cwctype>

#include "framework/KWTextUtils.h"
#include "text/KWEditEngine.h"
#include "text/KWTextObject.h"

CKWTextPos CKWEditEngine::HitPosition(double x, double y) const
{
    CKWTextPos hit;
    const int lines = m_text ? m_text->GetLineCount() : 0;
    if (lines == 0)
        return hit;
    const CKWDoubleRect& place = m_text->GetRect();
    const double px = x - place.left;
    const double py = y - place.top;
    // The line under the point; the position follows from it, so a point
    // past the end of a wrapped line stays on that line.
    int line = 0;
    while (line < lines - 1 && py >= m_text->GetLine(line).top + m_text->GetLine(line).height)
        ++line;
    hit.pos = m_text->PositionInLine(line, px);
    hit.line = line;
    return hit;
}

CKWTextPos CKWEditEngine::FreeEnd() const
{
    return m_pivot.pos < m_end.pos ? m_end : m_start;
}

CKWTextPos CKWEditEngine::MovedEnd(const CKWTextPos& from, UINT key, bool ctrl, bool shift) const
{
    const CKWTextObject& t = *m_text;
    const int length = t.GetLength();
    const int lastLine = std::max(t.GetLineCount() - 1, 0);
    const wchar_t* text = t.GetText().GetString();
    CKWTextPos to = from;
    switch (key) {
    case VK_LEFT:
        if (ctrl)
            return PosAt(std::max(FindPrevWordStart(text, length, from.pos) + 1, 0), false);
        if (from.pos > 0)
            return PosAt(from.pos - 1, false, std::max(from.line - 1, 0));
        break;
    case VK_RIGHT:
        if (ctrl)
            return PosAt(std::max(FindNextWordStart(text, length, from.pos), 0), false);
        if (from.pos < length)
            return PosAt(from.pos + 1, false, from.line);
        break;
    case VK_UP:
    case VK_DOWN: {
        const int target = from.line + (key == VK_UP ? -1 : 1);
        if (target < 0)
            return CKWTextPos();
        if (target > lastLine) {
            to.pos = length;
            to.line = lastLine;
            return to;
        }
        double x = 0, y = 0;
        t.PositionToPoint(from.pos, from.line, x, y);
        to.pos = t.PositionInLine(target, x);
        to.line = target;
        return to;
    }
    case VK_HOME:
        if (ctrl)
            return CKWTextPos();
        to.pos = t.LineStart(from.line);
        return to;
    case VK_END:
        if (ctrl) {
            to.pos = length;
            to.line = lastLine;
            return to;
        }
        if (t.GetLineCount() > 0) {
            const CKWLineRecord& line = t.GetLine(from.line);
            to.pos = shift ? line.end : line.VisibleEnd();
        }
        return to;
    default:
        break;
    }
    return to;
}

bool CKWEditEngine::OnMoveKey(UINT key, bool shift, bool ctrl)
{
    if ((key == VK_UP || key == VK_DOWN) && ctrl)
        return false;
    ValidateLines();
    if (shift) {
        const CKWTextPos to = MovedEnd(FreeEnd(), key, ctrl, true);
        const CKWTextPos& pivot = m_pivot;
        const bool ordered = pivot.pos < to.pos || (pivot.pos == to.pos && pivot.line <= to.line);
        if ((ordered ? pivot : to) != m_start || (ordered ? to : pivot) != m_end)
            ExtendSelectionTo(to, true);
        return true;
    }
    CKWTextPos caret;
    if (m_start.pos != m_end.pos && !ctrl && key == VK_LEFT)
        caret = m_start;  // a selection collapses to its start, no further
    else if (m_start.pos != m_end.pos && !ctrl && key == VK_RIGHT)
        caret = m_end;
    else
        caret = MovedEnd(key == VK_END || key == VK_DOWN || key == VK_RIGHT ? m_end : m_start, key, ctrl, false);
    if (caret != m_start || caret != m_end)
        SetSelection(caret, caret, true);
    return true;
}

bool CKWEditEngine::OnKey(UINT key, bool shift, bool ctrl)
{
    if (!m_text)
        return false;
    const int length = m_text->GetLength();
    switch (key) {
    case VK_BACK:
    case VK_DELETE:
        if (ctrl)
            return !shift;  // consumed, nothing done
        if (key == VK_DELETE && shift)
            return Cut(), true;
        if (m_end.pos > m_start.pos) {
            DeleteRange(m_start.pos, m_end.pos);
        } else if (key == VK_BACK && m_start.pos > 0) {
            DeleteRange(m_start.pos - 1, m_start.pos);
            m_typing = 1;
        } else if (key == VK_DELETE && m_start.pos < length) {
            DeleteRange(m_start.pos, m_start.pos + 1);
        }
        return true;
    case VK_INSERT:
        if (shift && !ctrl)
            return Paste(), true;
        if (ctrl && !shift)
            return Copy(), true;
        return false;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
        return OnMoveKey(key, shift, ctrl);
    case 'A':
    case 'C':
    case 'V':
    case 'X':
        if (!ctrl || shift)
            return false;
        if (key == 'A') {
            if (m_start.pos != 0 || m_end.pos != length)
                SetSel(0, -1, true);
        } else if (key == 'C') {
            Copy();
        } else if (key == 'V') {
            Paste();
        } else {
            Cut();
        }
        return true;
    default:
        return false;
    }
}

void CKWEditEngine::OnChar(UINT code, UINT, UINT)
{
    // Control characters (Ctrl with a letter, Backspace, Escape, the DEL of
    // Ctrl+Backspace) are no text; Enter and Tab are.
    if ((code < 32 && code != L'\r' && code != L'\t') || code == 127)
        return;
    if (!m_text || m_text->IsReadOnly())
        return;
    if (!m_formatsValid)
        ComputeFormats();
    const wchar_t ch = code == L'\r' ? L'\n' : static_cast<wchar_t>(code);
    ReplaceSelection(&ch, 1);
    m_typing = 1;
}

void CKWEditEngine::MouseDown(double x, double y)
{
    m_dragging = 1;
    CaptureMouse();
    if (!m_text)
        return;
    const CKWTextPos hit = HitPosition(x, y);
    SetSelection(hit, hit, true);
}

void CKWEditEngine::MouseMove(double x, double y)
{
    CKWDoublePoint point = {x, y};
    OnPointerMoved(point);
    if (m_dragging && m_text)
        ExtendSelectionTo(HitPosition(x, y), true);
}

void CKWEditEngine::MouseUp(double, double)
{
    m_dragging = 0;
    UpdateSelection(nullptr, nullptr, false, true);
    EndMouseAction();
}

void CKWEditEngine::MouseDoubleClick(double, double)
{
    if (!m_text)
        return;
    const int length = m_text->GetLength();
    const wchar_t* text = m_text->GetText().GetString();
    const int s = m_start.pos;
    // A click on a word's first letter is inside that word, not after the
    // word before it.
    const bool onWord = s < length && std::iswalnum(text[s]);
    const int first = std::max(FindPrevWordStart(text, length, onWord ? s + 1 : s) + 1, 0);
    const int last = std::max(FindNextWordStart(text, length, s), s);
    const CKWTextPos a = PosAt(first, false);
    SetSelection(a, PosAt(last, true, a.line), true);
}
