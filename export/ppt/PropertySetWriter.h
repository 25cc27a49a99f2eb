#pragma once
// PropertySetWriter: an OLE property-set stream: the header (byte order,
// format, system version, system, class id), the list of section format ids
// with their offsets, then the sections.
#include <guiddef.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "export/ppt/PropertySection.h"

class PPTOutStream;

class PropertySetWriter {
public:
    // Byte order 0xFFFE, format 0, system version 4, system 2, zero class id.
    explicit PropertySetWriter(PPTOutStream& stream);

    // The writer takes the section over; sections are written in adding order.
    void AddSection(std::unique_ptr<PropertySection> section);
    // Header and sections from the stream's current position (its start).
    void Write();

private:
    PPTOutStream& m_stream;
    uint16_t m_byteOrder = 0xFFFE;
    uint16_t m_format = 0;
    uint16_t m_systemVersion = 4;
    uint16_t m_system = 2;
    GUID m_classId{};
    std::vector<std::unique_ptr<PropertySection>> m_sections;
};
