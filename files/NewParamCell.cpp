#include "files/NewParamCell.h"

#include "framework/KWCodePage.h"

#include <cwchar>
#include <cstdlib>
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
        for (int32_t i = 0; utf8Attributes[i] && (count <= 0 || i + 1 < count) && utf8Attributes[i + 1]; i += 2) {
            CString name = FromUtf8(utf8Attributes[i]);
            CString value = FromUtf8(utf8Attributes[i + 1]);
            cell.SetAttribute(name, value);
        }
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

void CNewParamCell::SetAttribute(const wchar_t* name, const wchar_t* value)
{
    if (!HasAttributes() || !name)
        return;
    CString stored(value ? value : L"");
    // The "F" lists are read with ';' as the separator.
    if (name[0] == L'F' && name[1] == 0)
        stored.Replace(L',', L';');
    for (int32_t pair = 0; pair < m_attributes.GetPairCount(); ++pair) {
        if (std::wcscmp(m_attributes.GetAt(pair * 2), name) == 0) {
            m_attributes.SetAt(pair * 2 + 1, stored);
            return;
        }
    }
    m_attributes.Append(CString(name));
    m_attributes.Append(stored);
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
    if (HasAttributes() && other.HasAttributes()) {
        for (int32_t pair = 0; pair < other.GetPairCount(); ++pair)
            SetAttribute(other.GetName(pair), other.GetValue(pair));
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

int32_t CNewParamCell::GetInt(const wchar_t* name, int32_t defaultValue) const
{
    const wchar_t* value = Find(name);
    return value ? static_cast<int32_t>(::_wtoi(value)) : defaultValue;
}

double CNewParamCell::GetDouble(const wchar_t* name, double defaultValue) const
{
    const wchar_t* value = Find(name);
    return value ? std::wcstod(value, nullptr) : defaultValue;
}
