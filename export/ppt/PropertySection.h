#pragma once
// PropertySection: one section of an OLE property set: its format id and its
// properties by id, each an owned copy of the property's bytes (type word
// included). Names of the dictionary (property 0) are kept apart until
// WriteDictionary turns them into that property.
#include <guiddef.h>

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "platform/classlib/String.h"

class PPTOutStream;

class PropertySection {
public:
    explicit PropertySection(const GUID& formatId) : m_formatId(formatId) {}

    const GUID& GetFormatId() const { return m_formatId; }

    // Stores a copy of the bytes under the id (-1 stands for 0, the dictionary),
    // replacing what the id held.
    void AddProperty(int32_t id, const void* bytes, uint32_t length);
    // Adds or replaces the name of a property id; an empty name is ignored.
    void AddDictionaryEntry(uint32_t id, const CString& name);
    // Property 0: the entry count, then per entry in insertion order the id,
    // the name's length with its zero and the name in the ANSI code page.
    void WriteDictionary();

    size_t GetPropertyCount() const { return m_properties.size(); }
    // The section's size: header, id/offset pairs and each property padded to 4 bytes.
    uint32_t GetSize() const;
    // The section at the stream's position.
    void Write(PPTOutStream& stream) const;

private:
    GUID m_formatId;
    std::map<uint32_t, std::vector<uint8_t>> m_properties;
    std::vector<std::pair<uint32_t, CString>> m_names;
};
