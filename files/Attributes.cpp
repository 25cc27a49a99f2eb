#include "files/Attributes.h"

CAttributes::CAttributes(const char* const* strings, int32_t maxCount)
{
    AppendNarrow(strings, maxCount);
}

void CAttributes::AppendNarrow(const char* const* strings, int32_t maxCount)
{
    if (!strings)
        return;
    for (int32_t i = 0; strings[i] && (maxCount <= 0 || i < maxCount); ++i)
        m_strings.push_back(CString(strings[i]));
}
