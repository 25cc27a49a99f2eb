#include "platform/rasterlib/TiffDirectory.h"

#include "platform/rasterlib/ByteOrder.h"

#include <algorithm>
#include <iterator>

namespace rasterlib {

namespace {

// A value past this many bytes of a field no reading uses is left out.
constexpr uint64_t kLargeValueBytes = 4096;
// libtiff reads a value, may widen it, and copies it into the directory.
constexpr uint64_t kValueCopies = 4;
// An entry as stored and as libtiff's directory holds it while it is read.
constexpr uint64_t kEntryBytes = 64;
// libtiff refuses a directory of more entries.
constexpr uint64_t kMostEntries = 4096;

// The fields whose values libtiff's readings and the library's use, and may
// be large: the samples' sizes and kinds, the strips' and tiles' places, the
// colour map, the transfer function and the JPEG tables.
constexpr uint16_t kUsedLarge[] = {258, 273, 279, 280, 281, 301, 320, 324, 325, 338, 339, 340, 341, 347, 519, 520, 521};
constexpr uint16_t kStrileTags[] = {273, 279, 324, 325};

uint64_t TypeBytes(uint16_t type)
{
    // BYTE, ASCII, SHORT, LONG, RATIONAL, SBYTE, UNDEFINED, SSHORT, SLONG,
    // SRATIONAL, FLOAT, DOUBLE, IFD.
    static const uint8_t kBytes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
    return type < std::size(kBytes) ? kBytes[type] : 0;
}

bool Has(const uint16_t* first, const uint16_t* last, uint16_t tag)
{
    return std::find(first, last, tag) != last;
}

class Fields {
public:
    Fields(const uint8_t* bytes, bool bigEndian) : m_bytes(bytes), m_big(bigEndian) {}
    uint32_t Short(uint64_t at) const { return m_big ? Be16(m_bytes + at) : Le16(m_bytes + at); }
    uint32_t Long(uint64_t at) const { return m_big ? Be32(m_bytes + at) : Le32(m_bytes + at); }
    void PutShort(std::vector<uint8_t>& out, uint32_t value) const
    {
        out.push_back(uint8_t(m_big ? value >> 8 : value));
        out.push_back(uint8_t(m_big ? value : value >> 8));
    }

private:
    const uint8_t* m_bytes;
    bool m_big;
};

}  // namespace

bool TiffDirectory::Read(const ByteSource& source)
{
    *this = TiffDirectory();
    // A classic TIFF (the library takes no other): a count of 2 bytes, entries
    // of 12 with values of up to 4 bytes in them, and a link of 4.
    constexpr uint64_t kEntry = 12, kInEntry = 4;
    uint8_t header[8];
    if (!source.ReadAt(0, header, sizeof header) ||
        !((header[0] == 'I' && header[1] == 'I') || (header[0] == 'M' && header[1] == 'M')))
        return false;
    const bool big = header[0] == 'M';
    m_at = Fields(header, big).Long(4);
    uint8_t count[2];
    if (Fields(header, big).Short(2) != 42 || !source.ReadAt(m_at, count, sizeof count))
        return false;
    const uint64_t entries = Fields(count, big).Short(0);
    std::vector<uint8_t> stored(size_t(entries * kEntry + 4));
    if (entries > kMostEntries || !source.ReadAt(m_at + 2, stored.data(), stored.size()))
        return false;
    const Fields fields(stored.data(), big);
    std::vector<uint64_t> kept;
    for (uint64_t entry = 0; entry < entries * kEntry; entry += kEntry) {
        const uint16_t tag = uint16_t(fields.Short(entry));
        const uint64_t size = TypeBytes(uint16_t(fields.Short(entry + 2))) * fields.Long(entry + 4);
        if (size > kLargeValueBytes && !Has(std::begin(kUsedLarge), std::end(kUsedLarge), tag))
            continue;
        // The offsets and byte counts of the strips or tiles are counted by
        // their number (TiffBudget), as libtiff holds them.
        if (size > kInEntry && !Has(std::begin(kStrileTags), std::end(kStrileTags), tag))
            m_fieldBytes += size * kValueCopies;
        m_fieldBytes += kEntryBytes;
        kept.push_back(entry);
    }
    if (kept.size() == entries)
        return true;
    fields.PutShort(m_kept, uint32_t(kept.size()));
    for (const uint64_t entry : kept)
        m_kept.insert(m_kept.end(), stored.data() + entry, stored.data() + entry + kEntry);
    const uint8_t* next = stored.data() + entries * kEntry;
    m_kept.insert(m_kept.end(), next, next + 4);
    return true;
}

}  // namespace rasterlib
