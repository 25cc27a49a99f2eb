#include "model/TalTextRepair.h"

#include <cstdint>

#include "text/KWTextData.h"

namespace {

// The two record kinds differ only in their accessors; one algorithm serves both.
template <class GetCount, class SetLength, class Remove>
bool RepairSum(int recordCount, int64_t length, GetCount count, SetLength setLength, Remove remove)
{
    if (recordCount == 0)
        return false;
    int64_t sum = 0;
    for (int i = 0; i < recordCount; ++i)
        sum += count(i);
    if (sum == length)
        return false;
    if (sum < length) {
        const int last = recordCount - 1;
        setLength(last, static_cast<uint32_t>(count(last) + (length - sum)));
        return true;
    }
    int64_t before = 0;
    int k = 0;
    while (k < recordCount - 1 && before + count(k) < length)
        before += count(k++);
    const uint32_t kept = static_cast<uint32_t>(length - before);
    if (kept != count(k))
        setLength(k, kept);
    for (int i = recordCount - 1; i > k; --i)
        remove(i);
    return true;
}

}  // namespace

bool TalRepairTextSums(CKWTextData& text)
{
    const int64_t length = text.GetLength();
    const bool runs = RepairSum(
        text.GetRunCount(), length, [&](int i) { return text.GetRun(i).m_count; },
        [&](int i, uint32_t n) { text.SetRunLength(i, n); }, [&](int i) { text.RemoveRun(i); });
    const bool paras = RepairSum(
        text.GetParaCount(), length, [&](int i) { return text.GetPara(i).m_count; },
        [&](int i, uint32_t n) { text.SetParaLength(i, n); }, [&](int i) { text.RemovePara(i); });
    if (runs)
        text.OnRunsChanged();
    if (paras)
        text.OnParasChanged();
    return runs || paras;
}
