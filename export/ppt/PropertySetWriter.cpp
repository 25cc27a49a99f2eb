#include "export/ppt/PropertySetWriter.h"

#include "export/ppt/PPTOutStream.h"

namespace {

void WriteGuid(PPTOutStream& stream, const GUID& guid)
{
    stream.WriteU32(guid.Data1).WriteU16(guid.Data2).WriteU16(guid.Data3);
    stream.WriteBytes(guid.Data4, 8);
}

}  // namespace

PropertySetWriter::PropertySetWriter(PPTOutStream& stream) : m_stream(stream)
{
}

void PropertySetWriter::AddSection(std::unique_ptr<PropertySection> section)
{
    if (section)
        m_sections.push_back(std::move(section));
}

void PropertySetWriter::Write()
{
    const int64_t start = m_stream.Tell();
    if (start < 0)
        return;
    m_stream.WriteU16(m_byteOrder).WriteU16(m_format).WriteU16(m_systemVersion).WriteU16(m_system);
    WriteGuid(m_stream, m_classId);
    m_stream.WriteU32(static_cast<uint32_t>(m_sections.size()));
    for (const auto& section : m_sections) {
        WriteGuid(m_stream, section->GetFormatId());
        m_stream.WriteU32(0);
    }
    for (size_t k = 0; k < m_sections.size(); ++k) {
        const int64_t here = m_stream.Tell();
        if (here < 0)
            return;
        // The offset field follows the section's format id.
        m_stream.Seek(static_cast<uint32_t>(start + 44 + 20 * k));
        m_stream.WriteU32(static_cast<uint32_t>(here - start));
        m_stream.Seek(static_cast<uint32_t>(here));
        m_sections[k]->Write(m_stream);
    }
}
