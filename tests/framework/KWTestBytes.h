// Expected byte layouts of the binary archive, written by hand, and the bytes
// a store into a memory archive gives.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "framework/KWArchive.h"

namespace kwbytes {

typedef std::vector<uint8_t> Bytes;
const uint32_t kNoLink = 0xFFFFFFFFu;

// Little-endian writers; each returns the writer, so that a layout reads as one expression.
struct Writer {
    Bytes b;
    Writer& U8(uint8_t v) { b.push_back(v); return *this; }
    Writer& U16(uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
    Writer& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    Writer& U64(uint64_t v) { return U32(uint32_t(v)).U32(uint32_t(v >> 32)); }
    Writer& F32(float f) { uint32_t v; std::memcpy(&v, &f, 4); return U32(v); }
    Writer& F64(double d) { uint64_t v; std::memcpy(&v, &d, 8); return U64(v); }
    // UTF-16LE code units, no count.
    Writer& Utf16(const wchar_t* s) { for (; *s; ++s) U16(uint16_t(*s)); return *this; }
    // A byte-counted string: u32 byte count, then the code units.
    Writer& String(const wchar_t* s) { return U32(uint32_t(2 * std::wcslen(s))).Utf16(s); }
    Writer& Linked(uint8_t tag, uint32_t end, uint32_t first = kNoLink, uint32_t next = kNoLink)
    {
        return U8(tag).U32(end).U32(first).U32(next);
    }
    Writer& Plain(uint8_t tag, uint32_t end) { return U8(tag).U32(end); }
    Writer& Add(const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); return *this; }
    uint32_t Size() const { return uint32_t(b.size()); }
    operator Bytes() const { return b; }
};

// What the body stores into a growing memory archive (empty when nothing).
inline Bytes Stored(const std::function<void(CKWArchive&)>& body)
{
    CKWArchive ar(nullptr, 0, CKWArchive::kStore);
    body(ar);
    void* data = nullptr;
    uint32_t length = 0;
    if (!ar.FinishMemory(data, length))
        return Bytes();
    const uint8_t* p = static_cast<const uint8_t*>(data);
    return Bytes(p, p + length);
}

// A seeded mutation of a block as another program might hand it over: cut
// or lengthened, a few bytes changed (its sizes among them), and now and then
// a tail of 0xFF.
inline void Mutate(Bytes& block, std::mt19937& random)
{
    block.resize(random() % (block.size() + 64));
    for (int flips = random() % 8; flips > 0 && !block.empty(); --flips)
        block[random() % block.size()] = static_cast<uint8_t>(random());
    if (!block.empty() && random() % 4 == 0)
        std::fill(block.begin() + random() % block.size(), block.end(), 0xFF);
}

}  // namespace kwbytes
