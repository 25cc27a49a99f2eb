#pragma once
// CExportSamePictures: which pictures of one export are the same file. A
// picture used again under another id (its file reached by another spelling
// of its path, through a link, or copied elsewhere) has the same bytes; the
// export writes it once, under the id it met first, and refers to that
// wherever the picture is used again. Files of equal length are compared
// byte for byte, so that no two different pictures are ever taken for one.
#include <cstdint>
#include <map>

class CExportSamePictures {
public:
    // The id under which the export writes the picture's file: the first id
    // met whose file holds the same bytes, else the picture's own.
    uint32_t Written(uint32_t pictureId);

private:
    std::map<uint32_t, uint32_t> m_written;      // picture id -> id written
    std::multimap<uint64_t, uint32_t> m_byLength;  // file length -> ids written
};
