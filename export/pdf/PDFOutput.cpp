#include "export/pdf/PDFOutput.h"

#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

const char* const kFilterNames[] = {nullptr, "/FlateDecode", "/ASCIIHexDecode", "/ASCII85Decode", "/DCTDecode"};
const char kHexDigits[] = "0123456789ABCDEF";

// Decimal digits of value, at least width of them (zero padded), into buffer
// (at least 24 bytes); returns the length.
size_t FormatUnsigned(uint64_t value, int width, char* buffer)
{
    char digits[24];
    size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n < static_cast<size_t>(width) && n < sizeof(digits))
        digits[n++] = '0';
    for (size_t i = 0; i < n; ++i)
        buffer[i] = digits[n - 1 - i];
    buffer[n] = 0;
    return n;
}

// value with the given decimals; the decimal point is a point in any locale,
// and a value that is not finite (no reader accepts "nan") is written as 0.
size_t FormatFixed(double value, int decimals, char* buffer, size_t size)
{
    if (!std::isfinite(value))
        value = 0.0;
    int n = std::snprintf(buffer, size, "%.*f", decimals, value);
    if (n < 0 || static_cast<size_t>(n) >= size) {
        std::snprintf(buffer, size, "%.*f", decimals, 0.0);
        n = static_cast<int>(std::strlen(buffer));
    }
    for (int i = 0; i < n; ++i) {
        if ((buffer[i] < '0' || buffer[i] > '9') && buffer[i] != '-')
            buffer[i] = '.';
    }
    return static_cast<size_t>(n);
}

}  // namespace

const char* PDFFilterName(PDFFilterKind kind)
{
    return kind < sizeof(kFilterNames) / sizeof(kFilterNames[0]) ? kFilterNames[kind] : nullptr;
}

bool PDFDeflate(const void* bytes, size_t count, unsigned char*& out, size_t& outCount)
{
    out = nullptr;
    outCount = 0;
    if (count > 0xFFFFFFFFu)
        return false;
    const uLong bound = ::compressBound(static_cast<uLong>(count));
    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(bound ? bound : 1));
    if (!buffer)
        return false;
    uLongf produced = bound;
    static const Bytef kNothing = 0;
    const Bytef* source = count ? static_cast<const Bytef*>(bytes) : &kNothing;
    if (::compress2(buffer, &produced, source, static_cast<uLong>(count), 9) != Z_OK) {
        std::free(buffer);
        return false;
    }
    out = buffer;
    outCount = produced;
    return true;
}

PDFOutput::PDFOutput(const wchar_t* path)
{
    m_file = PDFOpenFileStream(path, &m_status);
    m_current = m_file;
}

PDFOutput::PDFOutput(KWStream* file) : m_current(file), m_file(file)
{
}

PDFOutput::~PDFOutput()
{
    if (m_memory)
        KWStreamClose(m_memory);
    Close();
}

void PDFOutput::Put(const void* bytes, size_t count)
{
    if (!m_current || count == 0)
        return;
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    while (count > 0) {
        // The stream takes signed 32-bit counts.
        const int32_t chunk = count > 0x40000000u ? 0x40000000 : static_cast<int32_t>(count);
        const int32_t done = KWStreamWriteBlock(m_current, p, chunk);
        if (m_current == m_file)
            m_filePos += done > 0 ? static_cast<uint64_t>(done) : 0;
        if (done != chunk) {
            m_failed = true;
            return;
        }
        p += chunk;
        count -= static_cast<size_t>(chunk);
    }
}

PDFOutput& PDFOutput::WriteReal(double value)
{
    char buffer[352];
    Put(buffer, FormatFixed(value, 4, buffer, sizeof(buffer)));
    return *this;
}

PDFOutput& PDFOutput::WriteFloat(float value)
{
    char buffer[352];
    Put(buffer, FormatFixed(static_cast<double>(value), 3, buffer, sizeof(buffer)));
    return *this;
}

PDFOutput& PDFOutput::WriteInt(int32_t value)
{
    char buffer[24];
    size_t n = 0;
    uint64_t magnitude = static_cast<uint64_t>(value < 0 ? -static_cast<int64_t>(value) : value);
    if (value < 0)
        buffer[n++] = '-';
    n += FormatUnsigned(magnitude, 1, buffer + n);
    Put(buffer, n);
    return *this;
}

PDFOutput& PDFOutput::WriteUInt(uint32_t value)
{
    return WriteUInt64(value);
}

PDFOutput& PDFOutput::WriteUShort(uint16_t value)
{
    return WriteUInt64(value);
}

PDFOutput& PDFOutput::WriteUInt64(uint64_t value)
{
    char buffer[24];
    Put(buffer, FormatUnsigned(value, 1, buffer));
    return *this;
}

PDFOutput& PDFOutput::WriteHexText(const wchar_t* text)
{
    return WriteHexText(text, text ? std::wcslen(text) : 0);
}

PDFOutput& PDFOutput::WriteHexText(const wchar_t* text, size_t length)
{
    char buffer[256];
    size_t n = 0;
    for (size_t i = 0; i < length; ++i) {
        const uint16_t unit = static_cast<uint16_t>(text[i]);
        buffer[n++] = kHexDigits[(unit >> 12) & 15];
        buffer[n++] = kHexDigits[(unit >> 8) & 15];
        buffer[n++] = kHexDigits[(unit >> 4) & 15];
        buffer[n++] = kHexDigits[unit & 15];
        if (n == sizeof(buffer)) {
            Put(buffer, n);
            n = 0;
        }
    }
    Put(buffer, n);
    return *this;
}

PDFOutput& PDFOutput::WriteXrefEntry(uint64_t offset, uint16_t generation, bool inUse)
{
    char buffer[48];
    size_t n = FormatUnsigned(offset, 10, buffer);
    buffer[n++] = ' ';
    n += FormatUnsigned(generation, 5, buffer + n);
    buffer[n++] = ' ';
    buffer[n++] = inUse ? 'n' : 'f';
    Put(buffer, n);
    return *this;
}

PDFOutput& PDFOutput::Write(const char* text)
{
    if (text)
        Put(text, std::strlen(text));
    return *this;
}

PDFOutput& PDFOutput::WriteLineEnd()
{
    Put("\r\n", 2);
    return *this;
}

PDFOutput& PDFOutput::WriteLine(const char* text)
{
    return Write(text).WriteLineEnd();
}

PDFOutput& PDFOutput::WriteBytes(const void* bytes, size_t count)
{
    Put(bytes, count);
    return *this;
}

bool PDFOutput::BeginStream()
{
    if (!m_file || m_memory) {
        m_failed = true;
        return false;
    }
    m_streamStart = m_filePos;
    m_memory = KWStreamOpenMemory(nullptr, 0);
    if (!m_memory) {
        m_failed = true;
        return false;
    }
    m_current = m_memory;
    return true;
}

void PDFOutput::WriteStreamData(const void* bytes, size_t count, PDFFilterKind kind)
{
    if (kind != kPDFFilterAsciiHex) {
        Put(bytes, count);
        return;
    }
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    char buffer[6];
    for (size_t i = 0; i < count; ++i) {
        buffer[0] = kHexDigits[p[i] >> 4];
        buffer[1] = kHexDigits[p[i] & 15];
        size_t n = 2;
        if (i & 1) {
            buffer[n++] = '\r';
            buffer[n++] = '\n';
        }
        Put(buffer, n);
    }
}

uint64_t PDFOutput::EndStream(PDFFilterKind kind)
{
    if (!m_memory) {
        m_failed = true;
        return 0;
    }
    KWStream* memory = m_memory;
    m_memory = nullptr;
    m_current = m_file;
    const int32_t length = KWStreamLength(memory);
    const void* data = KWStreamGetBackendData(memory);
    uint64_t written = 0;
    if (length < 0 || memory->error != 0 || (length > 0 && !data))
        m_failed = true;
    else
        written = WriteEncodedBlock(data, static_cast<size_t>(length), kind);
    KWStreamClose(memory);
    return written;
}

uint64_t PDFOutput::WriteEncodedBlock(const void* bytes, size_t count, PDFFilterKind kind)
{
    if (kind != kPDFFilterFlate) {
        const uint64_t before = m_filePos;
        Put(bytes, count);
        return m_filePos - before;
    }
    unsigned char* packed = nullptr;
    size_t packedCount = 0;
    if (!PDFDeflate(bytes, count, packed, packedCount)) {
        m_failed = true;
        return 0;
    }
    const uint64_t before = m_filePos;
    Put(packed, packedCount);
    std::free(packed);
    return m_filePos - before;
}

bool PDFOutput::Close()
{
    if (m_file) {
        if (KWStreamFlush(m_file) != 0 || m_file->error != 0)
            m_failed = true;
        KWStreamClose(m_file);
        m_file = nullptr;
        m_current = nullptr;
        if (m_status.writeFailed || m_status.closeFailed)
            m_failed = true;
    }
    return !m_failed;
}
