#pragma once
// EscherPersistTable: remembered stream offsets by key, in the order they
// were remembered. The PowerPoint writer keeps here where its containers
// start and where reference fields wait to be patched.
#include <cstdint>
#include <utility>
#include <vector>

class EscherPersistTable {
public:
    typedef std::pair<uint32_t, uint32_t> Entry;  // key, offset

    virtual ~EscherPersistTable() = default;

    // Appends the pair (an earlier entry of the key stays first).
    void RememberOffset(uint32_t key, uint32_t offset);
    // Replaces the offset of the key's first entry, or appends.
    void SetOffset(uint32_t key, uint32_t offset);
    // The first offset stored for the key; 0 when none.
    uint32_t GetOffset(uint32_t key) const;
    bool HasOffset(uint32_t key) const;
    // Removes every entry of the key.
    void ForgetOffset(uint32_t key);
    // Every offset at or after from grows by size (bytes inserted at from).
    void ShiftOffsets(uint32_t from, uint32_t size);

    const std::vector<Entry>& GetEntries() const { return m_entries; }

private:
    std::vector<Entry> m_entries;
};
