#pragma once
// Helpers of the PowerPoint tests: memory streams, a stream that fails, a
// walker that parses a record tree and checks every length on the way, and
// a reader of compound files.
#include <objidl.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A new stream in memory (one reference, the caller's).
IStream* NewMemoryStream();
// Every byte of the stream; its position is kept.
std::vector<uint8_t> StreamBytes(IStream* stream);

// A stream that accepts limit bytes in total and fails every write after.
IStream* NewLimitedStream(uint32_t limit);

uint16_t U16At(const std::vector<uint8_t>& bytes, size_t offset);
uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset);

struct PptRecord {
    uint32_t offset = 0;  // of the header
    uint16_t version = 0;
    uint16_t instance = 0;
    uint16_t type = 0;
    uint32_t length = 0;
    std::vector<PptRecord> children;  // of a container (version 0xF)

    uint32_t Body() const { return offset + 8; }
    uint32_t End() const { return offset + 8 + length; }
    bool IsContainer() const { return version == 0xF; }
    // The first descendant (depth first) of the type; null when none.
    const PptRecord* Find(uint16_t type) const;
    void FindAll(uint16_t type, std::vector<const PptRecord*>& out) const;
    // The direct children of the type, in order.
    std::vector<const PptRecord*> Children(uint16_t type) const;
};

// Parses [start, end) as a sequence of records. Every record must lie inside
// its container and the children of a container must fill it exactly; the
// first violation is described in error and false returned.
bool ParseRecords(const std::vector<uint8_t>& bytes, uint32_t start, uint32_t end, std::vector<PptRecord>& out,
                  std::string& error);
// The whole buffer as the root's children.
bool ParseTree(const std::vector<uint8_t>& bytes, PptRecord& root, std::string& error);

// A compound file read back: its class id and its streams by name.
struct CompoundFile {
    bool opened = false;
    CLSID classId = {};
    std::map<std::wstring, std::vector<uint8_t>> streams;
};
CompoundFile ReadCompoundFile(const std::wstring& path);

