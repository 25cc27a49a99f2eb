// CKWIndexDecoder: the font table of styled text. Each font face
// name gets a small index (its position), text data stores indices, and the
// table stores and reloads itself through a binary archive, remapping the
// indices of loaded text to the current table.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CKWArchive;
struct CKWFontFace;

// One entry of the table.
struct CKWIndexEntry {
    uint32_t reserved = 0;                    // always 0
    const std::wstring* face = nullptr;       // the pooled face name (CKWFontFaceStorage::GetFace)
    const CKWFontFace* installed = nullptr;   // the installed face of that name, or null

    CKWIndexEntry() = default;
    explicit CKWIndexEntry(const std::wstring* pooledFace) : face(pooledFace) {}
    // Interns the name in the face-name pool and keeps the pooled string.
    void SetKey(const std::wstring& name);
    // The face name (empty for an entry without one).
    const std::wstring& GetName() const;
};

// The ordered map of the entries read by a load: stored index to entry.
typedef std::map<uint32_t, CKWIndexEntry> CKWIndexMap;

// The remap record of a load: which stored indices landed elsewhere.
struct CKWIndexRemap {
    enum : uint8_t { kChanged = 1 };  // set when a load changed any index
    uint8_t flags = 0;
    std::vector<std::pair<uint32_t, uint32_t>> pairs;  // (old index, new index)
};

class CKWIndexDecoder {
public:
    static const uint32_t kEndMarker = 0xFFFFFFFFu;

    CKWIndexDecoder();
    CKWIndexDecoder(const CKWIndexDecoder& other);  // copies the entries, not the remap record
    virtual ~CKWIndexDecoder();
    // Copies the entries of another table (the remap record stays as it is).
    CKWIndexDecoder& operator=(const CKWIndexDecoder& other);

    // The entry, or the default "Arial" entry when the index is out of range.
    virtual const CKWIndexEntry& GetEntry(uint32_t index) const;
    // The entry, or the default entry when out of range or not installed.
    virtual const CKWIndexEntry& GetInstalledEntry(uint32_t index) const;
    // Stores (index, byte-counted name) pairs and 0xFFFFFFFF, or loads them and
    // adds them with AddAll. Loading may throw CKWArchiveException. True.
    virtual bool Serialize(CKWArchive& ar);

    // The index of the face name (exact, case-sensitive), appending a new entry
    // when absent. The flag is kept for callers that pass one; it changes nothing.
    uint32_t FindOrAdd(const std::wstring& name, int flag = 0);
    // The face name of the index as a new string, empty when out of range.
    std::wstring GetString(uint32_t index) const;
    // Adds each loaded name in increasing index order (FindOrAdd); every name
    // that lands at another index sets the remap record's flag and adds the pair.
    void AddAll(const CKWIndexMap& loaded, CKWIndexRemap* remap);
    // The entry of the index in a loading map, made empty when missing.
    static CKWIndexEntry& FindByKey(CKWIndexMap& map, uint32_t index);

    uint32_t GetCount() const { return static_cast<uint32_t>(m_entries.size()); }
    bool IsEmpty() const { return m_entries.empty(); }
    void RemoveAll() { m_entries.clear(); }
    const std::vector<CKWIndexEntry>& GetEntries() const { return m_entries; }

    // The remap record (owned, may be null); Serialize fills it when present.
    CKWIndexRemap* GetRemap() const { return m_remap.get(); }
    CKWIndexRemap* CreateRemap();
    // Deletes the remap record.
    void FreeTable();

    // The global default entry: "Arial", not installed.
    static const CKWIndexEntry& GetDefaultEntry();

private:
    std::vector<CKWIndexEntry> m_entries;  // index = position
    std::unique_ptr<CKWIndexRemap> m_remap;
};
