// A TIFF's bytes opened by libtiff: where they are in memory (a file seen
// through a view of it), its reads and map work on the bytes where they lie;
// else it reads them through the file's own reads, which leave the address
// space of this 32-bit process to the picture's pixels. Its errors are kept
// quiet (the calls' answers end a read), and a warning or an error of libjpeg
// inside a JPEG coding marks the picture damaged, as it does for a JPEG file.
// Several inputs may read one picture at once, each at its own place (the
// planes of a picture stored apart, each read from the start of its strips).
// Each reads the first directory without the large fields no reading uses
// (TiffDirectory).
#pragma once

#include "platform/rasterlib/ByteSource.h"
#include "platform/rasterlib/TiffDirectory.h"

#include <cstddef>
#include <cstdint>
#include <memory>

struct tiff;

namespace rasterlib {

enum class TiffOpening {
    Ready,
    NotTaken,  // a kind left to the system's decoder
    NotRead,   // a kind no reader here reads (floating-point or complex samples)
    Damaged,   // libtiff refuses its directory
    TooLarge   // no reading of it stays within the reading's bound (TiffBudget.h)
};

class TiffInput {
public:
    // damaged is set when libjpeg warns or fails; it must outlive this object, and so
    // must the source.
    TiffInput(const ByteSource& source, bool* damaged);
    ~TiffInput();
    TiffInput(const TiffInput&) = delete;
    TiffInput& operator=(const TiffInput&) = delete;

    // The first directory read; null when libtiff refuses it.
    tiff* Open();
    tiff* Tiff() const { return m_tiff; }
    // That directory as the input reads it.
    const TiffDirectory& Directory() const { return m_directory; }
    // libtiff reads the coded bytes where they lie, not into buffers of its
    // own: the source was in memory when the input was made.
    bool IsMapped() const { return m_mapped; }
    const ByteSource& Source() const { return m_source; }
    // Another input of the same bytes and damage flag, not yet open.
    std::unique_ptr<TiffInput> Twin() const;

    // The bytes and where libtiff reads them; the directory kept is read in
    // place of the stored one.
    struct Place {
        const ByteSource* source = nullptr;
        uint64_t at = 0;
        const TiffDirectory* directory = nullptr;
    };

private:
    const ByteSource& m_source;
    const bool m_mapped;
    TiffDirectory m_directory;
    Place m_place;
    bool* m_damaged;
    tiff* m_tiff = nullptr;
};

// The most libtiff may ask for at once (a row, a tile, a strip's state, the
// tables), and the most a piece of a picture is decoded into.
constexpr uint64_t kTiffMostAtOnce = uint64_t(64) << 20;

}  // namespace rasterlib
