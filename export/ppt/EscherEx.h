#pragma once
// EscherEx: the record layer of the PowerPoint writer: record headers,
// containers whose lengths are patched when they close, headers reserved and
// filled after their body, the table of remembered offsets and the insertion
// of bytes into the middle of what is already written.
//
// Record header (8 bytes, little-endian): u16 version (bits 0-3) and instance
// (bits 4-15), u16 record type, u32 body length. Containers have version 0xF.
#include "export/ppt/EscherPersistTable.h"
#include "export/ppt/PPTOutStream.h"

#include <cstdint>
#include <vector>

class EscherEx : public EscherPersistTable {
public:
    static constexpr uint16_t kContainerVersion = 0xF;
    // The largest piece moved at once by InsertGap.
    static constexpr uint32_t kMovePiece = 0x40000;

    // The record tree starts at the stream's current position.
    explicit EscherEx(PPTOutStream& stream);
    ~EscherEx() override = default;
    EscherEx(const EscherEx&) = delete;
    EscherEx& operator=(const EscherEx&) = delete;

    PPTOutStream& GetStream() { return m_stream; }
    // The current position (0 when the stream cannot tell; its error is kept).
    uint32_t Tell();

    void WriteRecordHeader(uint32_t length, uint16_t type, uint16_t version, uint16_t instance);

    // Writes a container header with length 0 and opens it.
    virtual void BeginContainer(uint16_t type, uint16_t instance = 0);
    // Patches the innermost open container's length and closes it.
    virtual void EndContainer();
    // Opens size bytes at the current position: every record of the tree that
    // holds the position grows by size (with expand, a record ending exactly
    // at the position does not), remembered and open offsets after it move,
    // and the stream is left at the position for the caller to fill the gap.
    virtual void InsertGap(uint32_t size, bool expand);

    // An 8-byte header to fill once its body is written (these nest).
    void ReserveHeader();
    void FillReservedHeader(uint16_t type, uint16_t version, uint16_t instance);

    // Writes value at the offset stored for key and comes back; false (and
    // nothing written) when the key has no offset.
    bool PatchAtOffset(uint32_t key, uint32_t value);
    // Seeks to the offset stored for key; false when the key is unknown.
    bool SeekToOffset(uint32_t key);

    size_t GetOpenContainerCount() const { return m_open.size(); }
    // Type of the innermost open container; 0 when none is open.
    uint16_t GetInnermostType() const { return m_open.empty() ? 0 : m_open.back().type; }

private:
    struct OpenRecord {
        uint32_t lengthOffset;  // of the length field
        uint16_t type;
    };

    PPTOutStream& m_stream;
    uint32_t m_treeStart;
    std::vector<OpenRecord> m_open;
    std::vector<uint32_t> m_reserved;  // header offsets of reserved headers
};
