// The first directory of a TIFF as each libtiff input of the picture is given
// it: without the fields no reading uses whose values are large (a colour
// profile, XMP, an editor's layers, private fields), which libtiff copies
// whole into every input (a TIFF of 16 planes apart and a 40 MB profile took
// 738 MB to read, one of four 63 MB fields 3.5 GB and 14 s for the check), and
// what the fields kept hold in an input. Every field a reading uses is kept,
// whatever its size, and counted by what libtiff reads of it, so that an input
// reads the picture as libtiff alone reads it, or is refused at once as past
// the reading's bound (TiffBudget.h).
#pragma once

#include "platform/rasterlib/ByteSource.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rasterlib {

// The bytes of one value of a TIFF field type; 0 for a type libtiff reads
// nothing of.
uint32_t TiffTypeBytes(uint32_t type);

class TiffDirectory {
public:
    // False when the bytes hold no classic TIFF header and first directory
    // whole, its link to the next one aside (which libtiff takes as 0 when
    // the file ends before it): libtiff refuses the file as it is.
    bool Read(const ByteSource& source);

    // The directory's entry count, its entries kept and its link to the next
    // one, to be read at At() in place of the stored directory; empty when no
    // field is left out.
    const std::vector<uint8_t>& Kept() const { return m_kept; }
    uint64_t At() const { return m_at; }
    // What an input holds of the kept fields and entries, the offsets and
    // byte counts of the strips or tiles aside.
    uint64_t FieldBytes() const { return m_fieldBytes; }

private:
    std::vector<uint8_t> m_kept;
    uint64_t m_at = 0;
    uint64_t m_fieldBytes = 0;
};

}  // namespace rasterlib
