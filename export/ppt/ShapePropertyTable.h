#pragma once
// ShapePropertyTable: the properties of one shape, written as one property
// record sorted by property id, with the complex data after the fixed part.
#include <cstdint>
#include <memory>
#include <vector>

class PPTOutStream;

class ShapePropertyTable {
public:
    // Flags of a stored property id.
    enum : uint16_t {
        kIdMask = 0x3FFF,
        kPictureFlag = 0x4000,  // the value refers to a picture
        kComplexFlag = 0x8000,  // complex data follow the table
    };
    static constexpr uint16_t kRotation = 0x0004;

    ShapePropertyTable();

    // Adds the property or replaces the one with the same id. With complex
    // data the stored value is their length.
    void SetProperty(uint16_t id, uint32_t value, bool picture = false, const void* complex = nullptr,
                     uint32_t complexLength = 0);
    // Angle in hundredths of a degree; stored as 16.16 degrees in 0..360.
    void SetRotation(int32_t angle);
    // The header (version given, instance = entry count), then the entries
    // sorted by id, then the complex data in the same order.
    void WriteTo(PPTOutStream& stream, uint16_t version) const;

    size_t GetCount() const { return m_entries.size(); }
    uint32_t GetTotalSize() const { return m_totalSize; }
    bool HasComplexData() const { return m_hasComplex; }
    // The stored value of an id (flags ignored); false when absent.
    bool GetValue(uint16_t id, uint32_t& value) const;

private:
    struct Entry {
        uint16_t id = 0;
        uint32_t value = 0;
        std::unique_ptr<uint8_t[]> complex;
        uint32_t complexLength = 0;
    };

    std::vector<Entry> m_entries;
    uint32_t m_totalSize = 0;
    bool m_hasComplex = false;
};
