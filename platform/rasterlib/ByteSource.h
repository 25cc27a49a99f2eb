// Encoded image bytes, from a file (opened by its UTF-16 or ANSI path) or from caller
// memory.
#pragma once

#include <windows.h>

#include "platform/rasterlib/FileView.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rasterlib {

// The most of a file the library copies into its own memory: a file it
// cannot map is read whole only up to this, and an entry taken out of one
// (an icon's picture) too. A mapped view costs address space alone, so a
// file that maps is seen whole at any size the process has room for.
constexpr uint64_t kMostCopiedBytes = uint64_t(512) << 20;

class ByteSource {
public:
    ByteSource() = default;
    ~ByteSource();
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;

    // False when the path is empty or the file cannot be opened.
    bool OpenFile(const wchar_t* path);
    bool OpenFile(const char* ansiPath);
    // The bytes stay the caller's and must outlive this object.
    void UseMemory(const uint8_t* bytes, size_t count);
    // Takes over bytes made inside the library.
    void TakeMemory(std::vector<uint8_t>&& bytes);
    // count bytes of whole from offset on (cut at its end), read through
    // whole, which must outlive this object.
    void UsePart(const ByteSource& whole, uint64_t offset, uint64_t count);

    uint64_t Size() const { return m_size; }

    // Reads exactly count bytes at offset; false when they are not all there. Small
    // reads from a file go through a window of the file kept in memory, so that walking
    // a header byte by byte costs few system calls.
    bool ReadAt(uint64_t offset, void* dst, size_t count) const;

    // All bytes in memory (a file on a local disk is mapped, see FileView.h; any
    // other is read once); null when the source is too large or unreadable.
    const uint8_t* Whole();
    // The bytes where Whole() or the caller put them in memory; null before.
    const uint8_t* InMemory() const { return m_memory; }
    // Whole() found no room for the bytes: no view of the file could be
    // mapped and no copy made, for its size and not for a failed read.
    bool TooLargeToHold() const { return m_tooLarge; }

private:
    bool ReadFromFile(uint64_t offset, void* dst, size_t count) const;

    HANDLE m_file = INVALID_HANDLE_VALUE;
    FileView m_view;
    std::wstring m_widePath;
    const uint8_t* m_memory = nullptr;
    const ByteSource* m_whole = nullptr;  // the source a part is read through
    uint64_t m_partAt = 0;
    bool m_tooLarge = false;
    std::vector<uint8_t> m_owned;
    uint64_t m_size = 0;
    mutable std::vector<uint8_t> m_window;
    mutable uint64_t m_windowStart = 0;
};

// ANSI (code page of the system) to UTF-16; empty for a null or empty text.
std::wstring WidenAnsi(const char* text);

}  // namespace rasterlib
