#pragma once
// CTalSectionData: the clipboard and drag-and-drop record of one section with
// its whole subtree: record 5 holds the font table the text notes' font
// indices refer to, record 1 the section body.
#include <cstdint>
#include <vector>

#include "framework/KWIndexDecoder.h"
#include "framework/KWRefPtr.h"
#include "framework/KWSerialData.h"

class CTalSection;

class CTalSectionData : public CKWSerialData {
public:
    enum : uint8_t { kFontTableTag = 5, kSectionTag = 1 };
    // owning: the record detaches the section before releasing it.
    explicit CTalSectionData(CTalSection* section = nullptr, bool owning = false);
    ~CTalSectionData() override;
    CTalSectionData(const CTalSectionData&) = delete;
    CTalSectionData& operator=(const CTalSectionData&) = delete;

    // Storing: false (nothing written) without a section. Loading: a new
    // section replaces the record's; false, with no section, when the block
    // lacks a record or nests too deep. May throw the archive's exception.
    bool Serialize(CKWArchive& ar) override;

    CKWRefPtr<CTalSection> GetSection() const { return m_section; }
    bool IsOwning() const { return m_owning != 0; }
    void SetOwning(bool owning) { m_owning = owning ? 1 : 0; }
    // The font names of a loaded block; an entry's position is its index.
    const std::vector<CKWIndexEntry>& GetFontEntries() const { return m_fontEntries; }
    // The loaded font entries as a table to remap the section's fonts from
    // (CTalSection::RemapFonts); valid while the record lives.
    const CKWIndexDecoder* GetSourceFontTable() const;

private:
    // Answers GetEntry by position from the record's entries.
    class CEntryTable : public CKWIndexDecoder {
    public:
        explicit CEntryTable(const std::vector<CKWIndexEntry>& entries) : m_entries(entries) {}
        const CKWIndexEntry& GetEntry(uint32_t index) const override;

    private:
        const std::vector<CKWIndexEntry>& m_entries;
    };

    void ReleaseSection();

    CKWRefPtr<CTalSection> m_section;
    uint8_t m_owning;
    std::vector<CKWIndexEntry> m_fontEntries;
    CEntryTable m_sourceTable;
};
