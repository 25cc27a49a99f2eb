#include "text/KWTextData.h"

#include <algorithm>
#include <cwchar>
#include <memory>

#include "framework/KWArchive.h"
#include "framework/KWIndexDecoder.h"

namespace {

// The index of the first record from fromIndex whose accumulated end lies
// beyond pos; shared by runs and paragraphs.
template <typename T>
int IndexAtPos(const std::vector<T*>& records, int textLength, int pos, int fromIndex, int& end)
{
    const int n = static_cast<int>(records.size());
    if (n == 0) {
        end = textLength;
        return -1;
    }
    if (n == 1) {
        end = records[0]->m_count ? static_cast<int>(records[0]->m_count) : textLength;
        return 0;
    }
    for (int i = std::max(fromIndex, 0); i < n; ++i) {
        end += static_cast<int>(records[i]->m_count);
        if (end > pos)
            return i;
    }
    end = textLength;
    return n - 1;
}

// The record holding pos, strictly (a position on a record's end belongs to
// the next one), continuing from *index / *end when they describe a record at
// or before pos.
template <typename T>
const T* Locate(const std::vector<T*>& records, int pos, int* index, int* end, int& outIndex, int& outEnd)
{
    const int n = static_cast<int>(records.size());
    if (n == 0) {
        outIndex = -1;
        outEnd = 0;
        return nullptr;
    }
    int i = 0;
    int e = static_cast<int>(records[0]->m_count);
    if (index && end && *index >= 0 && *index < n) {
        const int count = static_cast<int>(records[*index]->m_count);
        const int start = *end - count;
        if (start >= 0 && start <= pos) {
            i = *index;
            e = *end;
        }
    }
    while (e <= pos && i < n - 1) {
        ++i;
        e += static_cast<int>(records[i]->m_count);
    }
    outIndex = i;
    outEnd = e;
    return records[i];
}

}  // namespace

CKWTextData::CKWTextData() {}

CKWTextData::~CKWTextData()
{
    ClearRuns();
    ClearParas();
}

void CKWTextData::Copy(const CKWTextData& source)
{
    if (&source == this)
        return;
    m_text = source.m_text;
    ClearRuns();
    m_runs.reserve(source.m_runs.size());
    for (const CKWCharFormat* r : source.m_runs)
        m_runs.push_back(new CKWCharFormat(*r));
    ClearParas();
    m_paras.reserve(source.m_paras.size());
    for (const CKWParaFormat* p : source.m_paras)
        m_paras.push_back(new CKWParaFormat(*p));
    m_box = source.m_box;
}

void CKWTextData::RemapFonts(CKWIndexDecoder* newTable, const CKWIndexDecoder* oldTable)
{
    if (!newTable)
        return;
    for (int i = 0; i < GetRunCount(); ++i) {
        const std::wstring name = m_runs[i]->GetFaceName(oldTable);
        const uint32_t index = newTable->FindOrAdd(name);
        if (index != m_runs[i]->m_fontIndex)
            SetRunFont(i, index);
    }
}

CString CKWTextData::GetTextRange(int start, int end) const
{
    const int length = GetLength();
    start = std::clamp(start, 0, length);
    end = std::clamp(end, start, length);
    return CString(m_text.GetString() + start, end - start);
}

const CKWCharFormat& CKWTextData::GetRun(int index) const
{
    if (index < 0 || index >= GetRunCount())
        return CKWCharFormat::GetDefault();
    return *m_runs[index];
}

const CKWParaFormat& CKWTextData::GetPara(int index) const
{
    if (index < 0 || index >= GetParaCount())
        return CKWParaFormat::GetDefault();
    return *m_paras[index];
}

CKWCharFormat* CKWTextData::GetRunPtr(int index)
{
    return index >= 0 && index < GetRunCount() ? m_runs[index] : nullptr;
}

CKWParaFormat* CKWTextData::GetParaPtr(int index)
{
    return index >= 0 && index < GetParaCount() ? m_paras[index] : nullptr;
}

int CKWTextData::GetRunIndexAtPos(int pos, int fromIndex, int& runEnd) const
{
    return IndexAtPos(m_runs, GetLength(), pos, fromIndex, runEnd);
}

int CKWTextData::GetParaIndexAtPos(int pos, int fromIndex, int& paraEnd) const
{
    return IndexAtPos(m_paras, GetLength(), pos, fromIndex, paraEnd);
}

int CKWTextData::GetRunIndexAt(int pos) const
{
    int end = 0;
    return GetRunIndexAtPos(pos, 0, end);
}

const CKWCharFormat& CKWTextData::LocateRun(int pos, int* index, int* runEnd) const
{
    int i = 0, e = 0;
    const CKWCharFormat* run = Locate(m_runs, pos, index, runEnd, i, e);
    if (!run)
        return CKWCharFormat::GetDefault();
    if (e > GetLength() || pos >= GetLength())
        e = GetLength();
    if (index)
        *index = i;
    if (runEnd)
        *runEnd = e;
    return *run;
}

const CKWParaFormat& CKWTextData::LocateParaAt(int pos, int* index, int* paraEnd) const
{
    int i = 0, e = 0;
    const CKWParaFormat* para = Locate(m_paras, pos, index, paraEnd, i, e);
    if (!para)
        return CKWParaFormat::GetDefault();
    if (index)
        *index = i;
    if (paraEnd)
        *paraEnd = e;
    return *para;
}

const CKWCharFormat& CKWTextData::GetCommonCharFormat(int start, int end, uint32_t& mask) const
{
    mask = CKWCharFormat::kMaskAll;
    const int n = GetRunCount();
    if (n == 0)
        return CKWCharFormat::GetDefault();
    // A boundary belongs to the run before it, unless a non-empty range starts there.
    int i = 0;
    int runEnd = static_cast<int>(m_runs[0]->m_count);
    while (runEnd < start && i < n - 1)
        runEnd += static_cast<int>(m_runs[++i]->m_count);
    if (end > start && start == runEnd && i < n - 1)
        runEnd += static_cast<int>(m_runs[++i]->m_count);
    const CKWCharFormat& first = *m_runs[i];
    while (runEnd < end && mask != 0 && i < n - 1) {
        const CKWCharFormat& r = *m_runs[++i];
        runEnd += static_cast<int>(r.m_count);
        mask &= ~static_cast<uint32_t>(first.m_style ^ r.m_style);
        if (r.m_size != first.m_size)
            mask &= ~CKWCharFormat::kMaskSize;
        if (!CKWCharFormat::IsSameColor(r.m_color, first.m_color))
            mask &= ~CKWCharFormat::kMaskColor;
        if (r.m_fontIndex != first.m_fontIndex)
            mask &= ~CKWCharFormat::kMaskFont;
        if (r.m_charSet != first.m_charSet)
            mask &= ~CKWCharFormat::kMaskCharSet;
        if (r.m_vertical != first.m_vertical)
            mask &= ~CKWCharFormat::kMaskVertical;
        if (r.m_spacing != first.m_spacing)
            mask &= ~CKWCharFormat::kMaskSpacing;
    }
    return first;
}

const CKWParaFormat& CKWTextData::GetCommonParaFormat(int start, int end, uint32_t& mask) const
{
    mask = CKWParaFormat::kMaskAll;
    const int n = GetParaCount();
    if (n == 0)
        return CKWParaFormat::GetDefault();
    int i = 0;
    int paraEnd = static_cast<int>(m_paras[0]->m_count);
    while (paraEnd <= start && i < n - 1)
        paraEnd += static_cast<int>(m_paras[++i]->m_count);
    const CKWParaFormat& first = *m_paras[i];
    while (paraEnd < end && (mask & CKWParaFormat::kMaskAlign) && i < n - 1) {
        const CKWParaFormat& p = *m_paras[++i];
        paraEnd += static_cast<int>(p.m_count);
        if (p.m_align != first.m_align)
            mask &= ~CKWParaFormat::kMaskAlign;
    }
    return first;
}

// --- Record setters ---

bool CKWTextData::SetRunStyle(int index, uint8_t style)
{
    if (index < 0 || index >= GetRunCount())
        return false;
    OnSetRunStyle(index);
    m_runs[index]->m_style = style;
    OnRunsChanged();
    return true;
}

bool CKWTextData::SetRunFont(int index, uint32_t fontIndex)
{
    if (index < 0 || index >= GetRunCount())
        return false;
    OnSetRunFont(index);
    m_runs[index]->m_fontIndex = fontIndex;
    OnRunsChanged();
    return true;
}

bool CKWTextData::SetRunSize(int index, int16_t size)
{
    if (index < 0 || index >= GetRunCount())
        return false;
    OnSetRunSize(index);
    m_runs[index]->m_size = size;
    OnRunsChanged();
    return true;
}

bool CKWTextData::SetRunColor(int index, const CKWColor& color)
{
    if (index < 0 || index >= GetRunCount())
        return false;
    OnSetRunColor(index);
    m_runs[index]->m_color = color;
    OnRunsChanged();
    return true;
}

bool CKWTextData::SetParaAlign(int index, uint8_t align)
{
    if (index < 0 || index >= GetParaCount())
        return false;
    OnSetParaAlign(index);
    m_paras[index]->m_align = align;
    OnParasChanged();
    return true;
}

bool CKWTextData::SetParaLeftIndent(int index, double indent)
{
    if (index < 0 || index >= GetParaCount())
        return false;
    OnSetParaLeftIndent(index);
    m_paras[index]->m_leftIndent = static_cast<float>(indent);
    OnParasChanged();
    return true;
}

bool CKWTextData::SetParaRightIndent(int index, double indent)
{
    if (index < 0 || index >= GetParaCount())
        return false;
    OnSetParaRightIndent(index);
    m_paras[index]->m_rightIndent = static_cast<float>(indent);
    OnParasChanged();
    return true;
}

bool CKWTextData::SetParaFirstLine(int index, double indent)
{
    if (index < 0 || index >= GetParaCount())
        return false;
    OnSetParaFirstLine(index);
    m_paras[index]->m_firstLine = static_cast<float>(indent);
    OnParasChanged();
    return true;
}

bool CKWTextData::SetRunLength(int index, uint32_t count)
{
    if (index < 0 || index >= GetRunCount())
        return false;
    OnSetRunLength(index);
    m_runs[index]->m_count = count;
    return true;
}

bool CKWTextData::SetParaLength(int index, uint32_t count)
{
    if (index < 0 || index >= GetParaCount())
        return false;
    OnSetParaLength(index);
    m_paras[index]->m_count = count;
    return true;
}

// --- Inserting and removing records ---

bool CKWTextData::InsertRun(int index, CKWCharFormat* run)
{
    if (!run || index < 0 || index > GetRunCount())
        return false;
    OnInsertRun(index);
    m_runs.insert(m_runs.begin() + index, run);
    OnRunsChanged();
    return true;
}

bool CKWTextData::InsertPara(int index, CKWParaFormat* para)
{
    if (!para || index < 0 || index > GetParaCount())
        return false;
    OnInsertPara(index);
    m_paras.insert(m_paras.begin() + index, para);
    OnParasChanged();
    return true;
}

void CKWTextData::AppendRun(CKWCharFormat* run)
{
    InsertRun(GetRunCount(), run);
}

void CKWTextData::AppendPara(CKWParaFormat* para)
{
    InsertPara(GetParaCount(), para);
}

void CKWTextData::RemoveRun(int index)
{
    if (index < 0 || index >= GetRunCount())
        return;
    if (!OnRemoveRun(index))
        delete m_runs[index];
    m_runs.erase(m_runs.begin() + index);
    OnRunsChanged();
}

void CKWTextData::RemovePara(int index)
{
    if (index < 0 || index >= GetParaCount())
        return;
    if (!OnRemovePara(index))
        delete m_paras[index];
    m_paras.erase(m_paras.begin() + index);
    OnParasChanged();
}

void CKWTextData::FreeRun(int index)
{
    delete m_runs[index];
    m_runs.erase(m_runs.begin() + index);
}

void CKWTextData::FreePara(int index)
{
    delete m_paras[index];
    m_paras.erase(m_paras.begin() + index);
}

void CKWTextData::ClearRuns()
{
    for (CKWCharFormat* r : m_runs)
        delete r;
    m_runs.clear();
}

void CKWTextData::ClearParas()
{
    for (CKWParaFormat* p : m_paras)
        delete p;
    m_paras.clear();
}

// --- Text changes ---

void CKWTextData::ReplaceRange(const wchar_t* text, int length, int start, int end)
{
    const int oldLength = GetLength();
    start = std::clamp(start, 0, oldLength);
    end = std::clamp(end, start, oldLength);
    if (!text)
        length = 0;
    length = std::max(length, 0);
    OnBeforeReplace(start, end, length);
    CString result(m_text.GetString(), start);
    if (length > 0)
        result.Append(text, length);
    result.Append(m_text.GetString() + end, oldLength - end);
    m_text = result;
    OnTextChanged();
}

void CKWTextData::ReplaceText(const wchar_t* text, int length, int start, int end)
{
    if (length < 0)
        length = text ? static_cast<int>(wcslen(text)) : 0;
    if (!text)
        length = 0;
    const int oldLength = GetLength();
    if (end < 0 || end > oldLength)
        end = oldLength;
    start = std::clamp(start, 0, end);
    if (start == end && length == 0)
        return;
    AdjustFormats(start, end, length);
    ReplaceRange(text, length, start, end);
}

void CKWTextData::SetText(const wchar_t* text, int length)
{
    if (IsReadOnly())
        return;
    if (length < 0)
        length = text ? static_cast<int>(wcslen(text)) : 0;
    if (!text)
        length = 0;
    const int oldLength = GetLength();
    if (oldLength == 0 && length == 0)
        return;
    AdjustFormats(0, oldLength, length);
    ReplaceRange(text, length, 0, oldLength);
}

// --- Archive ---

void CKWTextData::Serialize(CKWArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteU32(static_cast<uint32_t>(m_runs.size()));
        for (CKWCharFormat* r : m_runs)
            r->Serialize(ar);
        ar.WriteU32(static_cast<uint32_t>(m_paras.size()));
        for (CKWParaFormat* p : m_paras)
            p->Serialize(ar);
        ar.WriteU8(m_box.growMode);
        for (uint32_t v : m_box.values)
            ar.WriteU32(v);
        m_box.color.Serialize(ar);
        ar.WriteStringChars(m_text.GetString(), static_cast<size_t>(m_text.GetLength()));
        return;
    }

    // A count is believed only as far as the record still holds bytes for
    // that many records; the vector grows as records really arrive.
    const size_t kReserveLimit = 4096;
    ClearRuns();
    uint32_t count = ar.ReadU32();
    ar.CheckRead(uint64_t(count) * CKWCharFormat::kMinStoredSize);
    m_runs.reserve(std::min<size_t>(count, kReserveLimit));
    for (uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<CKWCharFormat> run(new CKWCharFormat);
        run->Serialize(ar);
        m_runs.push_back(run.release());
    }
    ClearParas();
    count = ar.ReadU32();
    ar.CheckRead(uint64_t(count) * CKWParaFormat::kStoredSize);
    m_paras.reserve(std::min<size_t>(count, kReserveLimit));
    for (uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<CKWParaFormat> para(new CKWParaFormat);
        para->Serialize(ar);
        m_paras.push_back(para.release());
    }
    m_box.growMode = ar.ReadU8();
    for (uint32_t& v : m_box.values)
        v = ar.ReadU32();
    m_box.color.Serialize(ar);
    std::wstring text;
    ar.ReadStringChars(text);
    if (text.size() > static_cast<size_t>(INT32_MAX))
        text.clear();
    m_text = CString(text.c_str(), static_cast<int>(text.size()));

    // The stored counts need not add up to the stored text: only the sums are
    // repaired; runs are never merged, since reading does not normalize.
    RepairRunSum(false);
    RepairParaSum(false);
    OnTextChanged();
    OnRunsChanged();
    OnParasChanged();
}
