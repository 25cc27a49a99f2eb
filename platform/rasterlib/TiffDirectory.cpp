#include "platform/rasterlib/TiffDirectory.h"

#include "platform/rasterlib/ByteOrder.h"

// libtiff's own table of the fields it knows (scripts/setup.sh installs the
// header beside this build of it).
#include <tiffiop.h>

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
// A classic TIFF (the library takes no other): a count of 2 bytes, entries
// of 12 with values of up to 4 bytes in them, and a link of 4.
constexpr uint64_t kEntry = 12, kInEntry = 4, kLink = 4;

// Fields libtiff's table keeps as values for the caller alone that a reading
// asks for all the same (libtiff's RGBA reader, the library's conversions),
// and the fields of the codings libtiff is built with, which its table of
// every picture's fields does not hold.
constexpr uint16_t kAskedFor[] = {292, 293, 317, 318, 319, 326, 327, 328, 332, 347,
                                  512, 513, 514, 515, 517, 518, 519, 520, 521, 529};
// The offsets and byte counts of the strips or tiles, which libtiff holds by
// their number (TiffBudget).
constexpr uint16_t kStrileTags[] = {273, 279, 324, 325};

bool Has(const uint16_t* first, const uint16_t* last, uint16_t tag)
{
    return std::find(first, last, tag) != last;
}

// True for a field no reading uses: libtiff passes it over, or holds it only
// for the caller to ask for (a tag it does not know it holds so too), and no
// reading asks for it.
bool NoReadingUses(uint16_t tag)
{
    if (Has(std::begin(kAskedFor), std::end(kAskedFor), tag))
        return false;
    const TIFFFieldArray* known = _TIFFGetFields();
    for (uint32_t i = 0; i < known->count; ++i)
        if (known->fields[i].field_tag == tag)
            return known->fields[i].field_bit == FIELD_CUSTOM || known->fields[i].field_bit == FIELD_IGNORE;
    return true;
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

uint32_t TiffTypeBytes(uint32_t type)
{
    // BYTE, ASCII, SHORT, LONG, RATIONAL, SBYTE, UNDEFINED, SSHORT, SLONG,
    // SRATIONAL, FLOAT, DOUBLE, IFD, two unassigned, LONG8, SLONG8, IFD8
    // (which libtiff reads in a classic file too).
    static const uint8_t kBytes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4, 0, 0, 8, 8, 8};
    return type < std::size(kBytes) ? kBytes[type] : 0;
}

bool TiffDirectory::Read(const ByteSource& source)
{
    *this = TiffDirectory();
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
    if (entries > kMostEntries)
        return false;
    // The entries whole and the link after them where the file holds it.
    std::vector<uint8_t> stored(size_t(entries * kEntry + kLink), 0);
    const uint64_t first = m_at + 2;
    const bool linked = source.ReadAt(first, stored.data(), stored.size());
    if (!linked && !source.ReadAt(first, stored.data(), size_t(entries * kEntry)))
        return false;
    const Fields fields(stored.data(), big);
    std::vector<uint64_t> kept;
    for (uint64_t entry = 0; entry < entries * kEntry; entry += kEntry) {
        const uint16_t tag = uint16_t(fields.Short(entry));
        const uint64_t size = uint64_t(TiffTypeBytes(fields.Short(entry + 2))) * fields.Long(entry + 4);
        if (size > kLargeValueBytes && NoReadingUses(tag))
            continue;
        // Each field's values as libtiff reads them, those of fields that
        // share their bytes as often as they are read.
        if (size > kInEntry && !Has(std::begin(kStrileTags), std::end(kStrileTags), tag))
            m_fieldBytes += size * kValueCopies;
        m_fieldBytes += kEntryBytes;
        kept.push_back(entry);
    }
    if (kept.size() == entries)
        return true;
    // No longer than the stored directory: at least one entry of 12 bytes
    // less, and a link of 0, as libtiff takes a missing one.
    fields.PutShort(m_kept, uint32_t(kept.size()));
    for (const uint64_t entry : kept)
        m_kept.insert(m_kept.end(), stored.data() + entry, stored.data() + entry + kEntry);
    const uint8_t* next = stored.data() + entries * kEntry;
    m_kept.insert(m_kept.end(), next, next + kLink);
    return true;
}

}  // namespace rasterlib
