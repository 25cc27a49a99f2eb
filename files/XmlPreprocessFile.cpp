#include "files/XmlPreprocessFile.h"

#include "files/Base64.h"
#include "files/XmlValueForms.h"
#include "framework/KWRasterLib.h"
#include "model/TalTemplate.h"
#include "model/TalTitlePageTemplate.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

const char kImageStart[] = "<Image ";
const char kImageEnd[] = "</Image>";
const char kTitlePreviewStart[] = "<TitlePreview";
const char kTitlePreviewEnd[] = "</TitlePreview";
const char kTitleBackgroundStart[] = "<TitleBgImage";
const char kTitleBackgroundEnd[] = "</TitleBgImage";
const char kLeafPreviewStart[] = "<LeafPreview";
const char kLeafPreviewEnd[] = "</LeafPreview";
const char kLeafBackgroundStart[] = "<LeafBgImage";
const char kLeafBackgroundEnd[] = "</LeafBgImage";
const char kLeafTemplateStart[] = "<LeafTemplate";
const char kLeafTemplateEnd[] = "</LeafTemplate";
const char kImagesStart[] = "<Images";

const char kFileFormatAttribute[] = "FileFormat='";
const char kIdAttribute[] = "ID='";
const char kPictureTypeAttribute[] = "SavePicType='";
const char kCountAttribute[] = "Count='";

// Past a block whose start marker was found but that could not be read.
const int32_t kLeafTemplateSkip = 15;

// The value of an attribute in a header: the text after the prefix up to the
// next apostrophe, at most maxLength characters.
bool FindValue(const char* header, const char* prefix, int32_t maxLength, std::string& value)
{
    const char* start = std::strstr(header, prefix);
    if (!start)
        return false;
    start += std::strlen(prefix);
    const char* end = std::strchr(start, '\'');
    if (!end || end - start > maxLength)
        return false;
    value.assign(start, static_cast<size_t>(end - start));
    return true;
}

bool FindNumber(const char* header, const char* prefix, int32_t& number)
{
    std::string value;
    if (!FindValue(header, prefix, CXmlPreprocessFile::kMaxNumberLength, value))
        return false;
    number = static_cast<int32_t>(std::atoi(value.c_str()));
    return true;
}

// Only letters and digits may become a file extension in the picture store.
bool FindFormat(const char* header, std::string& format)
{
    return FindValue(header, kFileFormatAttribute, CXmlPreprocessFile::kMaxFormatLength, format)
        && IsXmlImageFormat(format.data(), format.size());
}

}  // namespace

CXmlPreprocessFile::CXmlPreprocessFile(const wchar_t* path) : m_window(new char[kWindowSize])
{
    if (path)
        Open(path, kRead | kBinary);
}

CXmlPreprocessFile::~CXmlPreprocessFile() = default;

const char* CXmlPreprocessFile::FindMarker(int32_t& position, const char* marker)
{
    if (!IsOpen() || !marker || !*marker || position < 0)
        return nullptr;
    const int32_t markerLength = static_cast<int32_t>(std::strlen(marker));
    char* window = m_window.get();
    for (;;) {
        std::memset(window, 0, kWindowSize);
        if (Seek(position) < 0)
            return nullptr;
        const int32_t read = Read(window, kWindowSize - 1);
        if (read <= 0)
            return nullptr;
        // Bytes, not a zero-terminated text: a stray zero byte hides nothing.
        const char* begin = window;
        const char* end = begin + read;
        const char* hit = std::search(begin, end, marker, marker + markerLength);
        if (hit != end) {
            position += static_cast<int32_t>(hit - window);
            return hit;
        }
        if (read < kWindowSize - 1)
            return nullptr;
        // The next window overlaps this one by the marker's length, so a
        // marker cut by the window's edge is found there.
        position += read - markerLength;
    }
}

int32_t CXmlPreprocessFile::ReadHeader(int32_t position, char (&header)[kHeaderSize + 1])
{
    std::memset(header, 0, sizeof header);
    if (Seek(position) < 0)
        return 0;
    int32_t read = Read(header, kHeaderSize);
    if (read <= 0)
        return 0;
    // Attributes are looked for in the start tag only, not in what follows it.
    if (char* close = static_cast<char*>(std::memchr(header, '>', static_cast<size_t>(read)))) {
        read = static_cast<int32_t>(close - header) + 1;
        header[read] = 0;
    }
    // A zero byte inside ends the header as a text.
    return static_cast<int32_t>(std::strlen(header));
}

int32_t CXmlPreprocessFile::StoreImage(int32_t position, int32_t length, const char* format)
{
    if (length < 1 || Seek(position) < 0)
        return 0;
    try {
        // The text is decoded window by window; only the bytes are held.
        std::vector<uint8_t> bytes(static_cast<size_t>(CBase64::DecodedCapacity(length)));
        size_t used = 0;
        CBase64::CDecoder decoder;
        char* window = m_window.get();
        for (int32_t remaining = length; remaining > 0 && !decoder.IsDone();) {
            const int32_t piece = std::min(remaining, kWindowSize);
            if (Read(window, piece) != piece)
                return 0;
            used += static_cast<size_t>(decoder.Feed(window, piece, bytes.data() + used));
            remaining -= piece;
        }
        used += static_cast<size_t>(decoder.Finish(bytes.data() + used));
        bytes.resize(used);
        if (bytes.empty())
            return 0;
        return static_cast<int32_t>(
            g_rasterLib.AddImageFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), format));
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int32_t CXmlPreprocessFile::ExtractImage(const char* startMarker, const char* endMarker, int32_t& position,
                                         bool* startFound)
{
    if (startFound)
        *startFound = false;
    if (!FindMarker(position, startMarker))
        return 0;
    if (startFound)
        *startFound = true;
    char header[kHeaderSize + 1];
    const int32_t headerLength = ReadHeader(position, header);
    std::string format;
    if (headerLength == 0 || !FindFormat(header, format) || header[headerLength - 1] != '>')
        return 0;
    const int32_t dataStart = position + headerLength;
    int32_t dataEnd = dataStart;
    if (!FindMarker(dataEnd, endMarker) || dataEnd - dataStart < 1)
        return 0;
    position = dataEnd;
    return StoreImage(dataStart, dataEnd - dataStart, format.c_str());
}

bool CXmlPreprocessFile::ReadTemplateImages(CTalTemplate* tmpl)
{
    if (!IsOpen() || !tmpl)
        return false;
    const bool title = dynamic_cast<CTalTitlePageTemplate*>(tmpl) != nullptr;
    int32_t position = 0;
    bool previewFound = false;
    tmpl->SetPreviewPictureId(ExtractImage(title ? kTitlePreviewStart : kLeafPreviewStart,
                                           title ? kTitlePreviewEnd : kLeafPreviewEnd, position, &previewFound));
    // Without a preview block the search ran to the end: the background may
    // still stand anywhere.
    if (!previewFound)
        position = 0;
    tmpl->SetBackgroundPictureId(ExtractImage(title ? kTitleBackgroundStart : kLeafBackgroundStart,
                                              title ? kTitleBackgroundEnd : kLeafBackgroundEnd, position));
    return true;
}

bool CXmlPreprocessFile::ReadTitleTemplateImages(int32_t& previewId, int32_t& backgroundId)
{
    previewId = 0;
    backgroundId = 0;
    if (!IsOpen())
        return false;
    int32_t position = 0;
    bool previewFound = false;
    previewId = ExtractImage(kTitlePreviewStart, kTitlePreviewEnd, position, &previewFound);
    if (!previewFound)
        position = 0;
    backgroundId = ExtractImage(kTitleBackgroundStart, kTitleBackgroundEnd, position);
    return true;
}

bool CXmlPreprocessFile::ReadLeafTemplateImages(int32_t& position, LeafTemplateImages& result)
{
    result = LeafTemplateImages();
    if (!FindMarker(position, kLeafTemplateStart))
        return false;
    const int32_t start = position;
    char header[kHeaderSize + 1];
    if (ReadHeader(position, header) == 0 || !FindNumber(header, kIdAttribute, result.templateId)) {
        // An unreadable block is passed over; the next one may be sound.
        position = start + kLeafTemplateSkip;
        return true;
    }
    // The template's pictures are those before its end tag (or before the
    // next template when the end tag is missing): a template without
    // pictures must not take the next one's.
    int32_t end = start + 1;
    const bool closed = FindMarker(end, kLeafTemplateEnd) != nullptr;
    int32_t next = start + 1;
    if (FindMarker(next, kLeafTemplateStart) && (!closed || next < end))
        end = next;
    else if (!closed)
        end = INT32_MAX;
    auto within = [&](int32_t at, const char* marker) {
        return FindMarker(at, marker) && at < end;
    };
    int32_t at = start;
    if (within(at, kLeafPreviewStart))
        result.previewId = ExtractImage(kLeafPreviewStart, kLeafPreviewEnd, at);
    if (within(at, kLeafBackgroundStart))
        result.backgroundId = ExtractImage(kLeafBackgroundStart, kLeafBackgroundEnd, at);
    position = end == INT32_MAX ? start + kLeafTemplateSkip : end;
    return true;
}

bool CXmlPreprocessFile::ReadImagesHeader(int32_t& pictureType, int32_t& count)
{
    count = 10;
    int32_t position = 0;
    if (!FindMarker(position, kImagesStart))
        return false;
    char header[kHeaderSize + 1];
    if (ReadHeader(position, header) == 0 || !FindNumber(header, kPictureTypeAttribute, pictureType))
        return false;
    FindNumber(header, kCountAttribute, count);
    return true;
}

bool CXmlPreprocessFile::ReadDocumentImage(int32_t& position, DocumentImage& result)
{
    result = DocumentImage();
    if (!FindMarker(position, kImageStart))
        return false;
    const int32_t elementStart = position;
    const int32_t markerLength = static_cast<int32_t>(std::strlen(kImageStart));
    char header[kHeaderSize + 1];
    const int32_t headerLength = ReadHeader(position, header);
    std::string format;
    const bool haveId = headerLength > 0 && FindNumber(header, kIdAttribute, result.imageId);
    if (!haveId || !FindFormat(header, format) || header[headerLength - 1] != '>') {
        // One unreadable image must not cost the images after it.
        position = elementStart + markerLength;
        return true;
    }
    const int32_t dataStart = elementStart + headerLength;
    int32_t dataEnd = dataStart;
    if (!FindMarker(dataEnd, kImageEnd))
        return false;
    if (dataEnd - dataStart < 1) {
        position = dataEnd;
        return true;
    }
    int32_t next = dataStart;
    if (FindMarker(next, kImageStart) && next < dataEnd) {
        // The element had no data of its own; the next one starts here.
        position = next;
        return true;
    }
    result.pictureId = StoreImage(dataStart, dataEnd - dataStart, format.c_str());
    position = dataEnd + static_cast<int32_t>(std::strlen(kImageEnd));
    return true;
}
