#include "files/NewParamCell.h"

#include "framework/KWCodePage.h"

#include <cwchar>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

CString FromUtf8(const char* text)
{
    CString result;
    if (text && *text)
        MultiByteToString(result, text, -1, CP_UTF8);
    return result;
}

}  // namespace

CNewParamCell::CNewParamCell(const wchar_t* text, const char* const* attributes, int32_t count, uint8_t kind)
    : m_kind(kind)
{
    if (HasText() && text)
        m_text = text;
    if (HasAttributes())
        m_attributes.AppendNarrow(attributes, count);
}

CNewParamCell::CNewParamCell(const wchar_t* text, uint8_t kind, std::initializer_list<const char*> attributes)
    : m_kind(kind)
{
    if (HasText() && text)
        m_text = text;
    if (HasAttributes()) {
        std::vector<const char*> list(attributes.begin(), attributes.end());
        list.push_back(nullptr);
        m_attributes.AppendNarrow(list.data(), 0);
    }
}

CNewParamCell CNewParamCell::FromParser(const char* utf8Text, const char* const* utf8Attributes, int32_t count,
                                        uint8_t kind)
{
    CNewParamCell cell(kind);
    if (cell.HasText())
        cell.m_text = FromUtf8(utf8Text);
    if (cell.HasAttributes() && utf8Attributes) {
        // Each pair takes two strings; a name without its value ends the list.
        CNewParamCell read(kAttributes);
        for (int32_t i = 0; utf8Attributes[i] && (count <= 0 || i + 1 < count) && utf8Attributes[i + 1]; i += 2) {
            read.m_attributes.Append(FromUtf8(utf8Attributes[i]));
            read.m_attributes.Append(FromUtf8(utf8Attributes[i + 1]));
        }
        cell.Merge(read);
    }
    return cell;
}

CNewParamCell::CNewParamCell(const CNewParamCell& other) : m_kind(other.m_kind)
{
    if (HasText())
        m_text = other.m_text;
    if (HasAttributes())
        m_attributes = other.m_attributes;
}

CNewParamCell& CNewParamCell::operator=(const CNewParamCell& other)
{
    if (this == &other)
        return *this;
    m_kind = other.m_kind;
    m_text.Empty();
    m_attributes.Clear();
    if (HasText())
        m_text = other.m_text;
    if (HasAttributes())
        m_attributes = other.m_attributes;
    return *this;
}

namespace {

// The "F" lists are read with ';' as the separator.
CString StoredValue(const wchar_t* name, const wchar_t* value)
{
    CString stored(value ? value : L"");
    if (name[0] == L'F' && name[1] == 0)
        stored.Replace(L',', L';');
    return stored;
}

}  // namespace

void CNewParamCell::SetAttribute(const wchar_t* name, const wchar_t* value)
{
    if (!HasAttributes() || !name)
        return;
    for (int32_t pair = 0; pair < m_attributes.GetPairCount(); ++pair) {
        if (std::wcscmp(m_attributes.GetAt(pair * 2), name) == 0) {
            m_attributes.SetAt(pair * 2 + 1, StoredValue(name, value));
            return;
        }
    }
    m_attributes.Append(CString(name));
    m_attributes.Append(StoredValue(name, value));
}

void CNewParamCell::SetText(const wchar_t* value)
{
    if (!HasText())
        return;
    m_text = value ? value : L"";
}

void CNewParamCell::AppendText(const wchar_t* text, int32_t length)
{
    if (!HasText() || !text || length <= 0)
        return;
    m_text.Append(text, length);
}

void CNewParamCell::Merge(const CNewParamCell& other)
{
    // An empty text is no text: a default text given at registration stays.
    if (HasText() && other.HasText() && !other.m_text.IsEmpty())
        m_text = other.m_text;
    if (!HasAttributes() || !other.HasAttributes())
        return;
    // As SetAttribute pair by pair, with the names found through an index: an
    // element may carry any number of attributes.
    std::unordered_map<std::wstring, int32_t> index;
    for (int32_t pair = 0; pair < GetPairCount(); ++pair)
        index.emplace(GetName(pair).GetString(), pair);
    for (int32_t pair = 0; pair < other.GetPairCount(); ++pair) {
        const wchar_t* name = other.GetName(pair);
        const auto found = index.emplace(name, GetPairCount());
        if (!found.second) {
            m_attributes.SetAt(found.first->second * 2 + 1, StoredValue(name, other.GetValue(pair)));
        } else {
            m_attributes.Append(CString(name));
            m_attributes.Append(StoredValue(name, other.GetValue(pair)));
        }
    }
}

const wchar_t* CNewParamCell::Find(const wchar_t* name) const
{
    if (!HasAttributes() || !name)
        return nullptr;
    for (int32_t pair = 0; pair < GetPairCount(); ++pair) {
        if (std::wcscmp(GetName(pair), name) == 0)
            return GetValue(pair);
    }
    return nullptr;
}
