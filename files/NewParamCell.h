#pragma once
// CNewParamCell: what the reader gathered of one element while it is parsed,
// its attributes and its character data; element handlers take their values
// from it by attribute name.
#include "files/Attributes.h"
#include "platform/classlib/String.h"

#include <cstdint>
#include <initializer_list>

class CNewParamCell {
public:
    // Kind bits: which parts the cell carries. Operations on a part the kind
    // does not carry do nothing.
    enum : uint8_t { kAttributes = 1, kText = 2, kAll = 3 };

    explicit CNewParamCell(uint8_t kind = kAll) : m_kind(kind) {}
    // Narrow (ANSI) attribute strings up to a null entry, at most count of them (0: all).
    CNewParamCell(const wchar_t* text, const char* const* attributes, int32_t count, uint8_t kind);
    // The attribute strings as a list; a null entry ends it.
    CNewParamCell(const wchar_t* text, uint8_t kind, std::initializer_list<const char*> attributes);
    // Parser data: UTF-8 text and UTF-8 name/value entries ending with a null
    // name; at most count strings are taken (0: no limit).
    static CNewParamCell FromParser(const char* utf8Text, const char* const* utf8Attributes, int32_t count,
                                    uint8_t kind);

    CNewParamCell(const CNewParamCell& other);
    CNewParamCell& operator=(const CNewParamCell& other);
    virtual ~CNewParamCell() = default;

    uint8_t GetKind() const { return m_kind; }
    bool HasText() const { return (m_kind & kText) != 0; }
    bool HasAttributes() const { return (m_kind & kAttributes) != 0; }

    // Replaces the value of an attribute of that name (exact comparison) or
    // appends the pair. The values of "F" keep no commas: they become ';'.
    void SetAttribute(const wchar_t* name, const wchar_t* value);
    // Null empties the text.
    void SetText(const wchar_t* value);
    void AppendText(const wchar_t* text, int32_t length);
    // Takes the other cell's text and sets each of its pairs in turn.
    void Merge(const CNewParamCell& other);

    const CString& GetText() const { return m_text; }
    const CAttributes& GetAttributes() const { return m_attributes; }
    int32_t GetPairCount() const { return m_attributes.GetPairCount(); }
    const CString& GetName(int32_t pair) const { return m_attributes.GetAt(pair * 2); }
    const CString& GetValue(int32_t pair) const { return m_attributes.GetAt(pair * 2 + 1); }

    // The value of the attribute of that name (exact comparison); null when absent.
    const wchar_t* Find(const wchar_t* name) const;

private:
    uint8_t m_kind;
    CString m_text;
    CAttributes m_attributes;
};
