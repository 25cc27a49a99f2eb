#include "model/TalSectionData.h"

#include "framework/KWArchive.h"
#include "model/TalPictureKinds.h"
#include "model/TalSection.h"

CTalSectionData::CTalSectionData(CTalSection* section, bool owning)
    : m_section(section), m_owning(owning ? 1 : 0), m_sourceTable(m_fontEntries)
{
}

CTalSectionData::~CTalSectionData() { ReleaseSection(); }

void CTalSectionData::ReleaseSection()
{
    if (m_section && m_owning)
        m_section->Detach();
    m_section.Release();
}

const CKWIndexEntry& CTalSectionData::CEntryTable::GetEntry(uint32_t index) const
{
    return index < m_entries.size() ? m_entries[index] : GetDefaultEntry();
}

const CKWIndexDecoder* CTalSectionData::GetSourceFontTable() const { return &m_sourceTable; }

// Block: record 5, the font table as (u32 index, string) pairs ending in
// 0xFFFFFFFF; record 1, the section body, closed by what its pictures without
// a file were (CTalPictureKinds).
bool CTalSectionData::Serialize(CKWArchive& ar)
{
    if (ar.IsStoring()) {
        if (!m_section)
            return false;
        ar.BeginRecord(kFontTableTag);
        if (CKWIndexDecoder* table = m_section->GetFontTable()) {
            table->Serialize(ar);
        } else {
            ar.WriteU32(CKWIndexDecoder::kEndMarker);
        }
        ar.EndRecord();
        ar.BeginRecord(kSectionTag);
        m_section->Serialize(ar);
        std::vector<CTalPicture*> pictures;
        CTalPictureKinds::Collect(m_section.Get(), pictures);
        CTalPictureKinds::Store(ar, pictures);
        ar.EndRecord();
        return true;
    }

    ReleaseSection();
    m_fontEntries.clear();
    // A block without the expected records is refused rather than read
    // unguarded at the top level.
    if (!ar.BeginRecord(kFontTableTag))
        return false;
    for (;;) {
        const uint32_t index = ar.ReadU32();
        if (index == CKWIndexDecoder::kEndMarker)
            break;
        std::wstring name;
        ar.ReadString(name);
        CKWIndexEntry entry;
        entry.SetKey(name);
        m_fontEntries.push_back(entry);
    }
    ar.EndRecord();
    if (!ar.BeginRecord(kSectionTag))
        return false;
    CKWRefPtr<CTalSection> section(new CTalSection(nullptr, nullptr));
    try {
        section->Serialize(ar);
        std::vector<CTalPicture*> pictures;
        CTalPictureKinds::Collect(section.Get(), pictures);
        CTalPictureKinds::Load(ar, pictures);
    } catch (...) {
        // The partly read subtree holds parent links: break them so it goes.
        section->Detach();
        throw;
    }
    ar.EndRecord();
    m_section = section;
    return true;
}
