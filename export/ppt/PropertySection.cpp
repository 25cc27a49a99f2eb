#include "export/ppt/PropertySection.h"

#include <windows.h>

#include "export/ppt/PPTOutStream.h"

namespace {

uint32_t Padded(size_t length)
{
    return static_cast<uint32_t>((length + 3) & ~static_cast<size_t>(3));
}

void AppendU32(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
}

}  // namespace

void PropertySection::AddProperty(int32_t id, const void* bytes, uint32_t length)
{
    const uint32_t key = id == -1 ? 0 : static_cast<uint32_t>(id);
    const uint8_t* first = static_cast<const uint8_t*>(bytes);
    m_properties[key].assign(first, first + (first ? length : 0));
}

void PropertySection::AddDictionaryEntry(uint32_t id, const CString& name)
{
    if (name.IsEmpty())
        return;
    for (auto& entry : m_names) {
        if (entry.first == id) {
            entry.second = name;
            return;
        }
    }
    m_names.emplace_back(id, name);
}

void PropertySection::WriteDictionary()
{
    std::vector<uint8_t> bytes;
    AppendU32(bytes, static_cast<uint32_t>(m_names.size()));
    for (const auto& entry : m_names) {
        const int size = ::WideCharToMultiByte(CP_ACP, 0, entry.second, entry.second.GetLength(), nullptr, 0,
                                               nullptr, nullptr);
        std::vector<char> ansi(static_cast<size_t>(size > 0 ? size : 0) + 1, '\0');
        if (size > 0)
            ::WideCharToMultiByte(CP_ACP, 0, entry.second, entry.second.GetLength(), ansi.data(), size, nullptr,
                                  nullptr);
        AppendU32(bytes, entry.first);
        AppendU32(bytes, static_cast<uint32_t>(ansi.size()));
        bytes.insert(bytes.end(), ansi.begin(), ansi.end());
    }
    AddProperty(0, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

uint32_t PropertySection::GetSize() const
{
    uint32_t size = 8 + 8 * static_cast<uint32_t>(m_properties.size());
    for (const auto& property : m_properties)
        size += Padded(property.second.size());
    return size;
}

void PropertySection::Write(PPTOutStream& stream) const
{
    stream.WriteU32(GetSize());
    stream.WriteU32(static_cast<uint32_t>(m_properties.size()));
    uint32_t offset = 8 + 8 * static_cast<uint32_t>(m_properties.size());
    for (const auto& property : m_properties) {
        stream.WriteU32(property.first).WriteU32(offset);
        offset += Padded(property.second.size());
    }
    for (const auto& property : m_properties) {
        const uint32_t length = static_cast<uint32_t>(property.second.size());
        stream.WriteBytes(property.second.data(), length);
        stream.WriteZeros(Padded(length) - length);
    }
}
