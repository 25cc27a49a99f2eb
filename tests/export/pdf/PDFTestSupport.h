// Helpers of the PDF writer tests: an in-memory sink that stands for the
// output file, temporary files, and a small reader of the files written
// (objects by the cross-reference table, stream data, inflation).
#pragma once

#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "framework/KWStream.h"
#include "tests/export/ExportTestSupport.h"

namespace pdftest {

// A stream back end over a string, kept after the stream closes.
struct Sink {
    std::string bytes;
    bool closed = false;
    bool failWrites = false;

    static int32_t Read(void*, void*, int32_t) { return -1; }
    static int32_t Write(void* h, const void* buffer, int32_t n)
    {
        Sink* s = static_cast<Sink*>(h);
        if (s->failWrites)
            return 0;
        s->bytes.append(static_cast<const char*>(buffer), static_cast<size_t>(n));
        return n;
    }
    static int64_t Seek(void* h, int64_t offset, int origin)
    {
        Sink* s = static_cast<Sink*>(h);
        return origin == KWSTREAM_SEEK_SET ? offset : static_cast<int64_t>(s->bytes.size()) + offset;
    }
    static void Close(void* h) { static_cast<Sink*>(h)->closed = true; }

    KWStream* Open()
    {
        static const KWStreamBackend backend = {Read, Write, Seek, Close};
        return KWStreamOpenBackend(&backend, this, KWSTREAM_MODE_WRITE | KWSTREAM_MODE_BINARY);
    }
};

// A unique path in the temporary folder (the file is not created), removed at the end.
class TempPath {
public:
    explicit TempPath(const wchar_t* suffix = L".pdf")
    {
        wchar_t dir[MAX_PATH];
        ::GetTempPathW(MAX_PATH, dir);
        static int counter = 0;
        wchar_t name[64];
        ::swprintf(name, 64, L"otpdf_%lu_%d", ::GetCurrentProcessId(), ++counter);
        m_path = std::wstring(dir) + name + suffix;
    }
    ~TempPath()
    {
        KeepForCheck();
        ::DeleteFileW(m_path.c_str());
    }
    TempPath(const TempPath&) = delete;
    TempPath& operator=(const TempPath&) = delete;
    const wchar_t* c_str() const { return m_path.c_str(); }
    const std::wstring& Path() const { return m_path; }

private:
    // With OT_PDF_CHECK_DIR set, every complete PDF file a test wrote is copied
    // there before it goes, so that the host's PDF tools can check the same bytes.
    void KeepForCheck() const
    {
        const char* keep = std::getenv("OT_PDF_CHECK_DIR");
        if (!keep || m_path.size() < 4 || m_path.compare(m_path.size() - 4, 4, L".pdf") != 0)
            return;
        HANDLE h = ::CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return;
        char head[5] = {};
        char tail[16] = {};
        DWORD got = 0;
        bool complete = ::ReadFile(h, head, 5, &got, nullptr) && got == 5 && std::memcmp(head, "%PDF-", 5) == 0;
        if (complete) {
            ::SetFilePointer(h, -static_cast<LONG>(sizeof(tail)), nullptr, FILE_END);
            complete = ::ReadFile(h, tail, sizeof(tail), &got, nullptr) &&
                       std::string(tail, got).find("%%EOF") != std::string::npos;
        }
        ::CloseHandle(h);
        if (!complete)
            return;
        static int counter = 0;
        wchar_t name[32];
        std::swprintf(name, 32, L"\\written%04d.pdf", ++counter);
        std::wstring target;
        for (const char* c = keep; *c; ++c)
            target += static_cast<wchar_t>(static_cast<unsigned char>(*c));
        ::CopyFileW(m_path.c_str(), (target + name).c_str(), FALSE);
    }

    std::wstring m_path;
};

inline std::string Inflate(const std::string& packed)
{
    std::string out;
    z_stream z;
    std::memset(&z, 0, sizeof(z));
    if (inflateInit(&z) != Z_OK)
        return out;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = static_cast<uInt>(packed.size());
    char buffer[65536];
    int rc;
    do {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof(buffer);
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof(buffer) - z.avail_out);
    } while (rc == Z_OK);
    inflateEnd(&z);
    return rc == Z_STREAM_END ? out : std::string("<inflate failed>");
}

// The UTF-16 units of the text in the hexadecimal form a content stream shows them.
inline std::string HexUnits(const wchar_t* text)
{
    std::string out;
    char b[8];
    for (; *text; ++text) {
        std::snprintf(b, sizeof(b), "%04X", static_cast<unsigned>(*text));
        out += b;
    }
    return out;
}

// The strings shown by each text object (BT..ET) of a content stream, one entry per object.
inline std::vector<std::string> ShownPerTextObject(const std::string& content)
{
    std::vector<std::string> objects;
    size_t at = 0, end;
    for (bool inText = false; at < content.size(); at = end + 2) {
        end = content.find("\r\n", at);
        if (end == std::string::npos)
            end = content.size();
        const std::string line = content.substr(at, end - at);
        if (line == "BT") {
            objects.emplace_back();
            inText = true;
        } else if (line == "ET") {
            inText = false;
        } else if (inText && line.size() > 4 && line.compare(line.size() - 4, 4, "> Tj") == 0) {
            objects.back() += line.substr(1, line.size() - 5);
        }
    }
    return objects;
}

struct XrefEntry {
    uint64_t offset = 0;
    uint32_t generation = 0;
    char kind = 0;
};

// The written file, read through its trailer and cross-reference table.
class Document {
public:
    explicit Document(std::string bytes) : m_bytes(std::move(bytes)) { Parse(); }

    const std::string& Bytes() const { return m_bytes; }
    bool Valid() const { return m_valid; }
    uint32_t Size() const { return m_size; }
    const std::vector<XrefEntry>& Xref() const { return m_xref; }  // index = object number
    // The first object in use whose cross-reference offset does not land on
    // its "N 0 obj" line; 0 when every one does.
    uint32_t MisplacedObject() const
    {
        for (uint32_t n = 1; n < m_xref.size(); ++n) {
            const std::string header = std::to_string(n) + " 0 obj\r\n";
            const size_t offset = size_t(m_xref[n].offset);
            if (m_xref[n].kind == 'n' && (offset > m_bytes.size() || m_bytes.compare(offset, header.size(), header)))
                return n;
        }
        return 0;
    }

    // The text between "N 0 obj\r\n" and "endobj" (with the stream data), empty when absent.
    std::string Object(uint32_t number) const
    {
        if (number >= m_xref.size() || m_xref[number].kind != 'n')
            return std::string();
        const size_t start = static_cast<size_t>(m_xref[number].offset);
        const std::string header = std::to_string(number) + " 0 obj\r\n";
        if (m_bytes.compare(start, header.size(), header) != 0)
            return std::string();
        const size_t body = start + header.size();
        const size_t end = m_bytes.find("endobj\r\n", StreamEnd(number, body));
        return end == std::string::npos ? std::string() : m_bytes.substr(body, end - body);
    }
    // The value after "/Key " on one of the object's dictionary lines.
    std::string Entry(uint32_t number, const std::string& key) const
    {
        const std::string dictionary = Dictionary(number);
        const size_t at = dictionary.find("\r\n" + key + " ");
        if (at == std::string::npos)
            return std::string();
        const size_t value = at + key.size() + 3;
        return dictionary.substr(value, dictionary.find("\r\n", value) - value);
    }
    // The raw stream data of an object, by its /Length (direct or indirect).
    std::string StreamData(uint32_t number) const
    {
        if (number >= m_xref.size())
            return std::string();
        const size_t start = static_cast<size_t>(m_xref[number].offset);
        const size_t data = DataStart(start);
        if (data == std::string::npos)
            return std::string();
        return m_bytes.substr(data, static_cast<size_t>(Length(number)));
    }
    int64_t Length(uint32_t number) const
    {
        std::string value = Entry(number, "/Length");
        if (value.empty())
            value = Entry(number, "/Length ");
        while (!value.empty() && value[0] == ' ')
            value.erase(0, 1);
        if (value.size() > 4 && value.compare(value.size() - 4, 4, " 0 R") == 0) {
            const uint32_t target = static_cast<uint32_t>(std::strtoul(value.c_str(), nullptr, 10));
            std::string object = Object(target);
            return std::strtoll(object.c_str(), nullptr, 10);
        }
        return value.empty() ? -1 : std::strtoll(value.c_str(), nullptr, 10);
    }

private:
    // The object's text up to its stream data or its end.
    std::string Dictionary(uint32_t number) const
    {
        if (number >= m_xref.size() || m_xref[number].kind != 'n')
            return std::string();
        const size_t start = static_cast<size_t>(m_xref[number].offset);
        const size_t stream = m_bytes.find("stream\r\n", start);
        const size_t end = std::min(stream, m_bytes.find("endobj\r\n", start));
        return end == std::string::npos ? std::string() : m_bytes.substr(start, end - start);
    }
    size_t DataStart(size_t objectStart) const
    {
        const size_t dictionaryEnd = m_bytes.find(">>\r\nstream\r\n", objectStart);
        const size_t end = m_bytes.find("endobj\r\n", objectStart);
        if (dictionaryEnd == std::string::npos || dictionaryEnd > end)
            return std::string::npos;
        return dictionaryEnd + 12;
    }
    size_t StreamEnd(uint32_t number, size_t body) const
    {
        const size_t data = DataStart(static_cast<size_t>(m_xref[number].offset));
        if (data == std::string::npos)
            return body;
        const int64_t length = Length(number);
        return length < 0 ? body : data + static_cast<size_t>(length);
    }
    void Parse()
    {
        const size_t start = m_bytes.rfind("startxref\r\n");
        if (start == std::string::npos)
            return;
        const uint64_t xref = std::strtoull(m_bytes.c_str() + start + 11, nullptr, 10);
        if (xref >= m_bytes.size() || m_bytes.compare(static_cast<size_t>(xref), 6, "xref\r\n") != 0)
            return;
        size_t at = static_cast<size_t>(xref) + 6;
        char* end = nullptr;
        const unsigned long first = std::strtoul(m_bytes.c_str() + at, &end, 10);
        m_size = static_cast<uint32_t>(std::strtoul(end, &end, 10));
        at = static_cast<size_t>(end - m_bytes.c_str()) + 2;
        if (first != 0)
            return;
        for (uint32_t i = 0; i < m_size; ++i, at += 20) {
            if (at + 20 > m_bytes.size() || m_bytes.compare(at + 18, 2, "\r\n") != 0)
                return;
            XrefEntry e;
            e.offset = std::strtoull(m_bytes.substr(at, 10).c_str(), nullptr, 10);
            e.generation = static_cast<uint32_t>(std::strtoul(m_bytes.substr(at + 11, 5).c_str(), nullptr, 10));
            e.kind = m_bytes[at + 17];
            m_xref.push_back(e);
        }
        m_valid = m_bytes.compare(at, 7, "trailer") == 0;
    }

    std::string m_bytes;
    std::vector<XrefEntry> m_xref;
    uint32_t m_size = 0;
    bool m_valid = false;
};

}  // namespace pdftest
