// The font table of styled text.
#include "framework/KWIndexDecoder.h"

#include "framework/KWFontFaceStorage.h"
#include "framework/KWArchive.h"

namespace {

const wchar_t kDefaultFace[] = L"Arial";

const std::wstring& EmptyName()
{
    static const std::wstring empty;
    return empty;
}

}  // namespace

void CKWIndexEntry::SetKey(const std::wstring& name)
{
    face = CKWFontFaceStorage::GetFace(name);
}

const std::wstring& CKWIndexEntry::GetName() const
{
    return face ? *face : EmptyName();
}

const CKWIndexEntry& CKWIndexDecoder::GetDefaultEntry()
{
    static const CKWIndexEntry entry(CKWFontFaceStorage::GetFace(kDefaultFace));
    return entry;
}

CKWIndexDecoder::CKWIndexDecoder() = default;

CKWIndexDecoder::CKWIndexDecoder(const CKWIndexDecoder& other) : m_entries(other.m_entries) {}

CKWIndexDecoder::~CKWIndexDecoder() = default;

CKWIndexDecoder& CKWIndexDecoder::operator=(const CKWIndexDecoder& other)
{
    if (this != &other)
        m_entries = other.m_entries;
    return *this;
}

const CKWIndexEntry& CKWIndexDecoder::GetEntry(uint32_t index) const
{
    return index < m_entries.size() ? m_entries[index] : GetDefaultEntry();
}

const CKWIndexEntry& CKWIndexDecoder::GetInstalledEntry(uint32_t index) const
{
    if (index < m_entries.size() && m_entries[index].installed)
        return m_entries[index];
    return GetDefaultEntry();
}

std::wstring CKWIndexDecoder::GetString(uint32_t index) const
{
    return index < m_entries.size() ? m_entries[index].GetName() : std::wstring();
}

uint32_t CKWIndexDecoder::FindOrAdd(const std::wstring& name, int flag)
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].GetName() == name)
            return static_cast<uint32_t>(i);
    }
    CKWIndexEntry entry;
    entry.SetKey(name);
    CKWFontFaceStorage& storage = GetFontFaceStorage();
    storage.EnsureFilled();
    entry.installed = storage.FindFace(name);
    m_entries.push_back(entry);
    return static_cast<uint32_t>(m_entries.size() - 1);
}

void CKWIndexDecoder::AddAll(const CKWIndexMap& loaded, CKWIndexRemap* remap)
{
    for (const auto& item : loaded) {
        uint32_t current = FindOrAdd(item.second.GetName());
        if (current != item.first && remap) {
            remap->flags |= CKWIndexRemap::kChanged;
            remap->pairs.emplace_back(item.first, current);
        }
    }
}

CKWIndexEntry& CKWIndexDecoder::FindByKey(CKWIndexMap& map, uint32_t index)
{
    return map[index];
}

CKWIndexRemap* CKWIndexDecoder::CreateRemap()
{
    if (!m_remap)
        m_remap.reset(new CKWIndexRemap());
    return m_remap.get();
}

void CKWIndexDecoder::FreeTable()
{
    m_remap.reset();
}

bool CKWIndexDecoder::Serialize(CKWArchive& ar)
{
    if (ar.IsStoring()) {
        for (size_t i = 0; i < m_entries.size(); ++i) {
            ar.WriteU32(static_cast<uint32_t>(i));
            ar.WriteString(m_entries[i].GetName());
        }
        ar.WriteU32(kEndMarker);
        return true;
    }
    // Each pair takes at least 8 bytes of the data, so the loop ends with the
    // data (the guarded reads throw there) whatever the indices say.
    CKWIndexMap loaded;
    std::wstring name;
    for (uint32_t index = ar.ReadU32(); index != kEndMarker; index = ar.ReadU32()) {
        ar.ReadString(name);
        FindByKey(loaded, index).SetKey(name);  // a later pair with the same index replaces the name
    }
    AddAll(loaded, m_remap.get());
    return true;
}
