#pragma once
// CExportSamePictures: which pictures of one export are the same file. A
// picture used again under another id (its file reached by another spelling
// of its path, through a link, or copied elsewhere) has the same bytes; the
// export writes it once, under the id it met first, and refers to that
// wherever the picture is used again. A file's length and a hash of its first
// and last 64 KB find the candidates (camera files of equal length differ
// within their first kilobytes); a candidate is compared byte for byte, so
// that no two different pictures are ever taken for one.
#include <cstdint>
#include <map>
#include <tuple>

class CExportSamePictures {
public:
    // The id under which the export writes the picture's file: the first id
    // met whose file holds the same bytes, else the picture's own.
    uint32_t Written(uint32_t pictureId);

private:
    // Length, and hashes of the first and of the last 64 KB.
    using Fingerprint = std::tuple<uint64_t, uint64_t, uint64_t>;

    std::map<uint32_t, uint32_t> m_written;          // picture id -> id written
    std::multimap<Fingerprint, uint32_t> m_byPrint;  // ids written by their files' fingerprints
};
