#pragma once
// CAttributes: the attributes of one XML element as an ordered list of
// strings, names and values alternately (name, value, name, value, ...).
#include "platform/classlib/String.h"

#include <cstdint>
#include <vector>

class CAttributes {
public:
    CAttributes() = default;
    // Narrow strings in the ANSI code page up to a null entry, at most
    // maxCount of them (0: no limit).
    explicit CAttributes(const char* const* strings, int32_t maxCount = 0);
    CAttributes(const CAttributes& other) = default;
    CAttributes& operator=(const CAttributes& other) = default;
    virtual ~CAttributes() = default;

    void Clear() { m_strings.clear(); }
    void Append(const CString& text) { m_strings.push_back(text); }
    // Appends the narrow strings as the constructor takes them.
    void AppendNarrow(const char* const* strings, int32_t maxCount);
    int32_t GetCount() const { return static_cast<int32_t>(m_strings.size()); }
    int32_t GetPairCount() const { return GetCount() / 2; }
    const CString& GetAt(int32_t index) const { return m_strings[static_cast<size_t>(index)]; }
    void SetAt(int32_t index, const CString& text) { m_strings[static_cast<size_t>(index)] = text; }

private:
    std::vector<CString> m_strings;
};
