// CKWTextData: keeping runs and paragraph records in step with the text, and
// applying format requests to ranges.
#include <algorithm>

#include "framework/KWFontSizes.h"
#include "framework/KWIndexDecoder.h"
#include "text/KWTextData.h"

namespace {

bool SameColorBytes(const CKWColor& a, const CKWColor& b)
{
    return a.GetKind() == b.GetKind() && a.GetFlag() == b.GetFlag() && a.GetValue() == b.GetValue();
}

}  // namespace

void CKWTextData::AdjustFormats(int start, int end, int insertLength)
{
    const int removed = std::max(end - start, 0);

    if (!m_runs.empty()) {
        int runEnd = 0;
        int i = GetRunIndexAtPos(start, 0, runEnd);
        int taken = 0;
        if (removed > 0) {
            taken = std::min(std::max(runEnd - start, 0), removed);
            int rest = removed - taken;
            while (rest > 0 && i + 1 < GetRunCount()) {
                const int count = static_cast<int>(m_runs[i + 1]->m_count);
                if (count <= rest) {
                    RemoveRun(i + 1);
                    rest -= count;
                } else {
                    SetRunLength(i + 1, static_cast<uint32_t>(count - rest));
                    rest = 0;
                }
            }
        } else if (i > 0 && start == runEnd - static_cast<int>(m_runs[i]->m_count)) {
            --i;  // inserted text takes the format of the character before it
        }
        const int count = std::max(static_cast<int>(m_runs[i]->m_count) - taken + insertLength, 0);
        if (count != static_cast<int>(m_runs[i]->m_count))
            SetRunLength(i, static_cast<uint32_t>(count));
        if (insertLength == 0 && GetRunCount() > 1 && count <= 0)
            RemoveRun(i);
    }

    if (!m_paras.empty()) {
        int paraEnd = 0;
        const int i = GetParaIndexAtPos(start, 0, paraEnd);
        int taken = 0;
        if (removed > 0) {
            taken = std::min(std::max(paraEnd - start, 0), removed);
            int rest = removed - taken;
            while (rest > 0 && i + 1 < GetParaCount()) {
                const int count = static_cast<int>(m_paras[i + 1]->m_count);
                if (count <= rest) {
                    RemovePara(i + 1);
                    rest -= count;
                } else {
                    SetParaLength(i + 1, static_cast<uint32_t>(count - rest));
                    rest = 0;
                }
            }
        }
        const int count = std::max(static_cast<int>(m_paras[i]->m_count) - taken + insertLength, 0);
        if (count != static_cast<int>(m_paras[i]->m_count))
            SetParaLength(i, static_cast<uint32_t>(count));
        if (insertLength == 0 && GetParaCount() > 1 && count <= 0)
            RemovePara(i);
    }
}

void CKWTextData::EnsureOneRun()
{
    if (!m_runs.empty())
        return;
    CKWCharFormat* run = new CKWCharFormat(CKWCharFormat::GetDefault());
    run->m_count = static_cast<uint32_t>(GetLength());
    CKWIndexDecoder* table = GetFontTable();
    run->m_fontIndex = table ? table->FindOrAdd(L"Arial") : CKWCharFormat::kNoFont;
    OnInsertRun(0);
    m_runs.insert(m_runs.begin(), run);
    OnRunsChanged();
}

void CKWTextData::EnsureOnePara()
{
    if (!m_paras.empty())
        return;
    CKWParaFormat* para = new CKWParaFormat(CKWParaFormat::GetDefault());
    para->m_count = static_cast<uint32_t>(GetLength());
    OnInsertPara(0);
    m_paras.insert(m_paras.begin(), para);
    OnParasChanged();
}

int CKWTextData::SplitRunsAt(int start, int end, int& lastIndex)
{
    RunCursor cursor;
    return SplitRunsFrom(start, end, lastIndex, cursor);
}

int CKWTextData::SplitRunsFrom(int start, int end, int& lastIndex, RunCursor& cursor)
{
    EnsureOneRun();
    const int n0 = GetRunCount();
    if (cursor.index < 0 || cursor.index >= n0 || cursor.start > start)
        cursor = RunCursor();
    int i = cursor.index;
    int runStart = cursor.start;
    int runEnd = runStart + static_cast<int>(m_runs[i]->m_count);
    while (runEnd <= start && i < n0 - 1) {
        runStart = runEnd;
        runEnd += static_cast<int>(m_runs[++i]->m_count);
    }
    bool splitAtStart = false;
    if (start > runStart && start < runEnd) {
        CKWCharFormat* rest = new CKWCharFormat(*m_runs[i]);
        rest->m_count = static_cast<uint32_t>(runEnd - start);
        SetRunLength(i, static_cast<uint32_t>(start - runStart));
        OnInsertRun(i + 1);
        m_runs.insert(m_runs.begin() + i + 1, rest);
        OnRunsChanged();
        ++i;
        runStart = start;
        splitAtStart = true;
    }
    const int first = i;
    const int n = GetRunCount();
    while (runEnd < end && i < n - 1) {
        runStart = runEnd;
        runEnd += static_cast<int>(m_runs[++i]->m_count);
    }
    if (end > runStart && end < runEnd) {
        CKWCharFormat* rest = new CKWCharFormat(*m_runs[i]);
        rest->m_count = static_cast<uint32_t>(runEnd - end);
        if (i == first && splitAtStart)
            m_runs[i]->m_count = static_cast<uint32_t>(end - runStart);  // made by this split
        else
            SetRunLength(i, static_cast<uint32_t>(end - runStart));
        OnInsertRun(i + 1);
        m_runs.insert(m_runs.begin() + i + 1, rest);
        OnRunsChanged();
    }
    lastIndex = i;
    cursor.index = i;
    cursor.start = runStart;
    return first;
}

int CKWTextData::SplitParasAt(int start, int end, int& lastIndex)
{
    ExpandToParagraphs(start, end);
    EnsureOnePara();
    const int n0 = GetParaCount();
    int i = 0;
    int paraStart = 0;
    int paraEnd = static_cast<int>(m_paras[0]->m_count);
    while (paraEnd <= start && i < n0 - 1) {
        paraStart = paraEnd;
        paraEnd += static_cast<int>(m_paras[++i]->m_count);
    }
    bool splitAtStart = false;
    if (start > paraStart && start < paraEnd) {
        CKWParaFormat* rest = new CKWParaFormat(*m_paras[i]);
        rest->m_count = static_cast<uint32_t>(paraEnd - start);
        SetParaLength(i, static_cast<uint32_t>(start - paraStart));
        OnInsertPara(i + 1);
        m_paras.insert(m_paras.begin() + i + 1, rest);
        OnParasChanged();
        ++i;
        paraStart = start;
        splitAtStart = true;
    }
    const int first = i;
    const int n = GetParaCount();
    while (paraEnd < end && i < n - 1) {
        paraStart = paraEnd;
        paraEnd += static_cast<int>(m_paras[++i]->m_count);
    }
    if (end > paraStart && end < paraEnd) {
        CKWParaFormat* rest = new CKWParaFormat(*m_paras[i]);
        rest->m_count = static_cast<uint32_t>(paraEnd - end);
        if (i == first && splitAtStart)
            m_paras[i]->m_count = static_cast<uint32_t>(end - paraStart);
        else
            SetParaLength(i, static_cast<uint32_t>(end - paraStart));
        OnInsertPara(i + 1);
        m_paras.insert(m_paras.begin() + i + 1, rest);
        OnParasChanged();
    }
    lastIndex = i;
    return first;
}

void CKWTextData::ExpandToParagraphs(int& start, int& end) const
{
    const int length = GetLength();
    const wchar_t* text = m_text.GetString();
    start = std::clamp(start, 0, length);
    end = std::clamp(end, start, length);
    while (start > 0 && text[start - 1] != L'\n')
        --start;
    if (end > 0 && end != start)
        --end;
    while (end < length && text[end] != L'\n')
        ++end;
    if (end < length)
        ++end;  // past the line feed
}

// Applies the request's fields to one run; with dryRun only tells whether
// anything would change.
bool CKWTextData::ApplyCharRequest(int index, const CKWCharFormat& request, bool dryRun)
{
    CKWCharFormat& run = *m_runs[index];
    const uint32_t mask = request.m_count;
    bool changed = false;

    uint8_t style = run.m_style;
    if (mask & CKWCharFormat::kMaskWholeStyle) {
        style = request.m_style;
    } else {
        const uint8_t bits = static_cast<uint8_t>(mask & CKWCharFormat::kMaskStyle);
        style = static_cast<uint8_t>((run.m_style & ~bits) | (request.m_style & bits));
    }
    if (style != run.m_style) {
        changed = true;
        if (dryRun)
            return true;
        OnSetRunStyle(index);
        run.m_style = style;
    }
    if ((mask & CKWCharFormat::kMaskSize) && request.m_size != run.m_size) {
        changed = true;
        if (dryRun)
            return true;
        OnSetRunSize(index);
        run.m_size = request.m_size;
    }
    if (mask & CKWCharFormat::kMaskStepSize) {
        const int16_t size = static_cast<int16_t>(request.m_sizeStepUp ? GetNextFontSize(run.m_size)
                                                                       : GetPrevFontSize(run.m_size));
        if (size != run.m_size) {
            changed = true;
            if (dryRun)
                return true;
            OnSetRunSize(index);
            run.m_size = size;
        }
    }
    if ((mask & CKWCharFormat::kMaskColor) && !SameColorBytes(request.m_color, run.m_color)) {
        changed = true;
        if (dryRun)
            return true;
        OnSetRunColor(index);
        run.m_color = request.m_color;
    }
    if ((mask & CKWCharFormat::kMaskFont) && request.m_fontIndex != run.m_fontIndex) {
        changed = true;
        if (dryRun)
            return true;
        OnSetRunFont(index);
        run.m_fontIndex = request.m_fontIndex;
    }
    if ((mask & CKWCharFormat::kMaskVertical) && request.m_vertical != run.m_vertical) {
        changed = true;
        if (dryRun)
            return true;
        OnSetRunVertical(index);
        run.m_vertical = request.m_vertical;
    }
    if ((mask & CKWCharFormat::kMaskSpacing) && request.m_spacing != run.m_spacing) {
        changed = true;
        if (dryRun)
            return true;
        OnSetRunSpacing(index);
        run.m_spacing = request.m_spacing;
    }
    return changed;
}

void CKWTextData::SetCharFormatInRange(int start, int end, const CKWCharFormat& request)
{
    RunCursor cursor;
    SetCharFormatInRange(start, end, request, cursor);
}

void CKWTextData::SetCharFormatInRange(int start, int end, const CKWCharFormat& request, RunCursor& cursor)
{
    if (IsReadOnly() || request.m_count == 0)
        return;
    const int length = GetLength();
    start = std::clamp(start, 0, length);
    end = std::clamp(end, start, length);
    if (start >= end)
        return;
    if (cursor.index < 0 || cursor.index >= GetRunCount() || cursor.start > start)
        cursor = RunCursor();
    // A request that changes nothing must not split runs either (that would
    // notify a change).
    if (!m_runs.empty()) {
        bool any = false;
        int runEnd = cursor.start;
        for (int i = GetRunIndexAtPos(start, cursor.index, runEnd); i >= 0 && !any; ++i) {
            any = ApplyCharRequest(i, request, true);
            if (runEnd >= end || i + 1 >= GetRunCount())
                break;
            runEnd += static_cast<int>(m_runs[i + 1]->m_count);
        }
        if (!any)
            return;
    }
    int last = 0;
    const int first = SplitRunsFrom(start, end, last, cursor);
    bool changed = false;
    for (int i = first; i <= last && i < GetRunCount(); ++i)
        changed |= ApplyCharRequest(i, request, false);
    if (changed)
        OnRunsChanged();
}

bool CKWTextData::ApplyParaRequest(int index, const CKWParaFormat& request, bool dryRun)
{
    CKWParaFormat& para = *m_paras[index];
    const uint32_t mask = request.m_count;
    bool changed = false;
    if ((mask & CKWParaFormat::kMaskAlign) && request.m_align != para.m_align) {
        changed = true;
        if (dryRun)
            return true;
        OnSetParaAlign(index);
        para.m_align = request.m_align;
    }
    struct Field {
        uint32_t bit;
        float CKWParaFormat::*member;
        bool (CKWTextData::*hook)(int);
    };
    static const Field fields[] = {
        {CKWParaFormat::kMaskLeftIndent, &CKWParaFormat::m_leftIndent, &CKWTextData::OnSetParaLeftIndent},
        {CKWParaFormat::kMaskRightIndent, &CKWParaFormat::m_rightIndent, &CKWTextData::OnSetParaRightIndent},
        {CKWParaFormat::kMaskFirstLine, &CKWParaFormat::m_firstLine, &CKWTextData::OnSetParaFirstLine},
        {CKWParaFormat::kMaskSpaceBefore, &CKWParaFormat::m_spaceBefore, &CKWTextData::OnSetParaSpaceBefore},
        {CKWParaFormat::kMaskSpaceAfter, &CKWParaFormat::m_spaceAfter, &CKWTextData::OnSetParaSpaceAfter},
        {CKWParaFormat::kMaskLineSpacing, &CKWParaFormat::m_lineSpacing, &CKWTextData::OnSetParaLineSpacing},
    };
    for (const Field& f : fields) {
        if (!(mask & f.bit) || request.*f.member == para.*f.member)
            continue;
        changed = true;
        if (dryRun)
            return true;
        (this->*f.hook)(index);
        para.*f.member = request.*f.member;
    }
    return changed;
}

void CKWTextData::SetParaFormatInRange(int start, int end, const CKWParaFormat& request)
{
    if (IsReadOnly() || request.m_count == 0)
        return;
    if (!m_paras.empty()) {
        int s = start, e = end;
        ExpandToParagraphs(s, e);
        bool any = false;
        int paraEnd = 0;
        for (int i = GetParaIndexAtPos(s, 0, paraEnd); i >= 0 && !any; ++i) {
            any = ApplyParaRequest(i, request, true);
            if (paraEnd >= e || i + 1 >= GetParaCount())
                break;
            paraEnd += static_cast<int>(m_paras[i + 1]->m_count);
        }
        if (!any)
            return;
    }
    int last = 0;
    const int first = SplitParasAt(start, end, last);
    bool changed = false;
    for (int i = first; i <= last && i < GetParaCount(); ++i)
        changed |= ApplyParaRequest(i, request, false);
    if (changed)
        OnParasChanged();
}

void CKWTextData::NormalizeRuns()
{
    for (int i = 0; i < GetRunCount();) {
        if (GetRunCount() >= 2 && m_runs[i]->m_count == 0) {
            RemoveRun(i);
            continue;
        }
        if (i > 0 && m_runs[i]->IsSameFormat(*m_runs[i - 1])) {
            SetRunLength(i - 1, m_runs[i - 1]->m_count + m_runs[i]->m_count);
            RemoveRun(i);
            continue;
        }
        ++i;
    }
    RepairRunSum(true);
    RepairParaSum(true);
}

void CKWTextData::RepairRunSum(bool withHooks)
{
    if (m_runs.empty())
        return;
    const int64_t length = GetLength();
    int64_t sum = 0;
    for (const CKWCharFormat* r : m_runs)
        sum += r->m_count;
    if (sum == length)
        return;
    if (sum < length) {
        const int last = GetRunCount() - 1;
        const uint32_t count = static_cast<uint32_t>(m_runs[last]->m_count + (length - sum));
        if (withHooks)
            SetRunLength(last, count);
        else
            m_runs[last]->m_count = count;
        if (withHooks)
            OnRunsChanged();
        return;
    }
    // The run in which the sum reaches the length ends there; later runs go.
    int64_t before = 0;
    int k = 0;
    while (k < GetRunCount() - 1 && before + m_runs[k]->m_count < length)
        before += m_runs[k++]->m_count;
    const uint32_t count = static_cast<uint32_t>(length - before);
    if (count != m_runs[k]->m_count) {
        if (withHooks)
            SetRunLength(k, count);
        else
            m_runs[k]->m_count = count;
    }
    while (GetRunCount() > k + 1) {
        if (withHooks)
            RemoveRun(GetRunCount() - 1);
        else
            FreeRun(GetRunCount() - 1);
    }
    if (withHooks)
        OnRunsChanged();
}

void CKWTextData::RepairParaSum(bool withHooks)
{
    if (m_paras.empty())
        return;
    const int64_t length = GetLength();
    int64_t sum = 0;
    for (const CKWParaFormat* p : m_paras)
        sum += p->m_count;
    if (sum == length)
        return;
    if (sum < length) {
        const int last = GetParaCount() - 1;
        const uint32_t count = static_cast<uint32_t>(m_paras[last]->m_count + (length - sum));
        if (withHooks)
            SetParaLength(last, count);
        else
            m_paras[last]->m_count = count;
        if (withHooks)
            OnParasChanged();
        return;
    }
    int64_t before = 0;
    int k = 0;
    while (k < GetParaCount() - 1 && before + m_paras[k]->m_count < length)
        before += m_paras[k++]->m_count;
    const uint32_t count = static_cast<uint32_t>(length - before);
    if (count != m_paras[k]->m_count) {
        if (withHooks)
            SetParaLength(k, count);
        else
            m_paras[k]->m_count = count;
    }
    while (GetParaCount() > k + 1) {
        if (withHooks)
            RemovePara(GetParaCount() - 1);
        else
            FreePara(GetParaCount() - 1);
    }
    if (withHooks)
        OnParasChanged();
}
