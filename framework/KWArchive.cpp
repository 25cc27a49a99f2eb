// The binary archive records.
#include "framework/KWArchive.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <cwchar>

static_assert(sizeof(wchar_t) == 2, "strings are stored as UTF-16 code units");

namespace {

void PutU32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

uint32_t GetU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool IsLinkedTag(uint8_t tag) { return tag < CKWArchive::kFirstPlainTag; }

[[noreturn]] void Fail() { throw CKWArchiveException(0); }

// A record's positions are 4-byte fields: a position beyond them counts as
// a failed one (-1), as the stream's own failures do.
int32_t ArchivePosition(int64_t position)
{
    return position >= 0 && position <= INT32_MAX ? static_cast<int32_t>(position) : -1;
}

}  // namespace

CKWArchive::CKWArchive(void* data, uint32_t size, uint32_t direction) : m_direction(direction)
{
    if (size <= static_cast<uint32_t>(INT32_MAX))
        m_stream = KWStreamOpenMemory(data, static_cast<int32_t>(size));
}

CKWArchive::CKWArchive(const wchar_t* fileName, uint32_t direction) : m_direction(direction), m_fileBased(1)
{
    if (!fileName)
        return;
    m_fileName = fileName;
    // The stream takes 8-bit names; a name the ANSI code page cannot express does not open.
    BOOL usedDefault = FALSE;
    int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, fileName, -1, nullptr, 0, nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        return;
    std::string ansi(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, fileName, -1, &ansi[0], n, nullptr, &usedDefault);
    if (usedDefault)
        return;
    m_stream = KWStreamOpenFile(ansi.c_str(), IsLoading() ? "rb" : "wb");
}

CKWArchive::~CKWArchive()
{
    Close();
    m_pending.clear();
}

bool CKWArchive::HasStreamError() const
{
    return m_stream && (m_stream->error & KWSTREAM_ERR_IO) != 0;
}

void CKWArchive::Close()
{
    if (m_stream) {
        if (IsStoring())
            FinishLastPending();
        KWStreamClose(m_stream);
        m_stream = nullptr;
    }
    m_fileName.clear();
}

// ---- Record headers ---------------------------------------------------------

void CKWArchive::WriteRecordHeader(const CKWArchiveRecord& rec)
{
    uint8_t header[kLinkedHeaderSize];
    header[0] = rec.tag;
    PutU32(header + 1, static_cast<uint32_t>(rec.end));
    int32_t size = kPlainHeaderSize;
    if (IsLinkedTag(rec.tag)) {
        PutU32(header + 5, static_cast<uint32_t>(rec.first));
        PutU32(header + 9, static_cast<uint32_t>(rec.next));
        size = kLinkedHeaderSize;
    }
    KWStreamWrite(m_stream, header, size);
}

void CKWArchive::RewriteRecordHeader(const CKWArchiveRecord& rec)
{
    // Headers are patched in place, so a store makes one pass over the data.
    int32_t saved = ArchivePosition(KWStreamGetPos(m_stream));
    KWStreamSeek(m_stream, rec.start, KWSTREAM_SEEK_SET);
    WriteRecordHeader(rec);
    KWStreamSeek(m_stream, saved, KWSTREAM_SEEK_SET);
}

void CKWArchive::AddPendingRecord(const CKWArchiveRecord& rec)
{
    if (IsLinkedTag(rec.tag)) {
        for (size_t i = m_pending.size(); i-- > 0;) {
            CKWArchiveRecord& last = m_pending[i];
            if (!IsLinkedTag(last.tag))
                continue;
            if (last.closed) {
                // The last ended linked record gets this one as its next link.
                last.next = rec.start;
                RewriteRecordHeader(last);
                m_pending.erase(m_pending.begin() + static_cast<ptrdiff_t>(i));
            } else {
                last.first = rec.start;
            }
            break;
        }
    }
    m_pending.push_back(rec);
}

void CKWArchive::FinishRecord()
{
    size_t i = m_pending.size();
    while (i > 0 && m_pending[i - 1].closed)
        --i;
    if (i == 0)
        return;  // no open record: an unpaired EndRecord changes nothing
    --i;
    CKWArchiveRecord& rec = m_pending[i];
    rec.closed = 1;
    rec.end = ArchivePosition(KWStreamGetPos(m_stream));
    if (!IsLinkedTag(rec.tag)) {
        RewriteRecordHeader(rec);
        m_pending.erase(m_pending.begin() + static_cast<ptrdiff_t>(i));
        return;
    }
    // Linked records ended inside this one keep no next link.
    for (size_t j = i + 1; j < m_pending.size(); ++j)
        RewriteRecordHeader(m_pending[j]);
    m_pending.erase(m_pending.begin() + static_cast<ptrdiff_t>(i + 1), m_pending.end());
}

void CKWArchive::FinishLastPending()
{
    if (!m_pending.empty() && IsLinkedTag(m_pending.back().tag)) {
        RewriteRecordHeader(m_pending.back());
        m_pending.pop_back();
    }
}

void CKWArchive::ReadRecordHeader(CKWArchiveRecord& rec)
{
    int tag = ReadByte();
    rec.tag = static_cast<uint8_t>(tag < 0 ? 0xFF : tag);
    uint8_t field[4] = {0, 0, 0, 0};
    ArchiveReadBytes(field, 4);
    rec.end = static_cast<int32_t>(GetU32(field));
    rec.first = -1;
    rec.next = -1;
    if (IsLinkedTag(rec.tag)) {
        std::memset(field, 0, sizeof field);
        ArchiveReadBytes(field, 4);
        rec.first = static_cast<int32_t>(GetU32(field));
        std::memset(field, 0, sizeof field);
        ArchiveReadBytes(field, 4);
        rec.next = static_cast<int32_t>(GetU32(field));
    }
}

bool CKWArchive::BeginRecord(uint8_t tag)
{
    if (!m_stream)
        return false;
    int32_t p = ArchivePosition(KWStreamGetPos(m_stream));
    if (IsStoring()) {
        CKWArchiveRecord rec;
        rec.start = p;
        rec.end = p;  // the end field holds the start until the record is finished
        rec.first = -1;
        rec.next = -1;
        rec.tag = tag;
        rec.closed = 0;
        WriteRecordHeader(rec);
        AddPendingRecord(rec);
        return true;
    }

    CKWArchiveRecord rec;
    rec.start = p;
    ReadRecordHeader(rec);
    if (rec.tag != tag) {
        // Absent: the stream stands where it stood.
        KWStreamSeek(m_stream, p, KWSTREAM_SEEK_SET);
        return false;
    }
    // A loaded end must lie between the header's end and the enclosing end.
    int64_t headerEnd = static_cast<int64_t>(p) + (IsLinkedTag(tag) ? kLinkedHeaderSize : kPlainHeaderSize);
    int64_t end = static_cast<int64_t>(static_cast<uint32_t>(rec.end));
    int64_t limit = m_pending.empty() ? DataLength() : static_cast<int64_t>(m_pending.back().end);
    if (p < 0 || end < headerEnd || end > limit)
        Fail();
    m_pending.push_back(rec);
    return true;
}

void CKWArchive::EndRecord()
{
    if (!m_stream)
        return;
    if (IsStoring()) {
        FinishRecord();
        return;
    }
    if (m_pending.empty())
        return;
    // Fields this reader does not know are skipped.
    if (KWStreamGetPos(m_stream) < m_pending.back().end)
        KWStreamSeek(m_stream, m_pending.back().end, KWSTREAM_SEEK_SET);
    m_pending.pop_back();
}

// ---- Guarded reads ----------------------------------------------------------

void CKWArchive::CheckRead(uint64_t n)
{
    if (!m_stream || IsStoring())
        Fail();  // nothing to read: no stream, or an archive that writes
    if (m_pending.empty())
        return;  // outside any record the stream's end of data answers
    int32_t pos = ArchivePosition(KWStreamGetPos(m_stream));
    if (pos < 0 || static_cast<uint64_t>(pos) + n > static_cast<uint64_t>(static_cast<int64_t>(m_pending.back().end)))
        Fail();
}

int64_t CKWArchive::DataLength()
{
    if (m_dataLength < 0 && m_stream) {
        int32_t len = ArchivePosition(KWStreamLength(m_stream));
        if (len < 0)
            Fail();
        if (IsLoading())
            m_dataLength = len;  // loaded data does not change
        return len;
    }
    return m_dataLength;
}

int64_t CKWArchive::ReadableLimit()
{
    if (!m_stream)
        Fail();
    int32_t pos = ArchivePosition(KWStreamGetPos(m_stream));
    if (pos < 0)
        Fail();
    int64_t end = m_pending.empty() ? DataLength() : static_cast<int64_t>(m_pending.back().end);
    return end > pos ? end - pos : 0;
}

int32_t CKWArchive::ArchiveReadBytes(void* dst, int32_t n)
{
    if (n <= 0)
        return 0;
    CheckRead(static_cast<uint64_t>(n));
    return KWStreamRead(m_stream, dst, n);
}

void CKWArchive::ReadRaw(void* dst, int32_t n)
{
    if (n <= 0)
        return;
    // A scalar the data cannot supply is a failed load, inside a record or not.
    if (ArchiveReadBytes(dst, n) != n)
        Fail();
}

int CKWArchive::ReadByte()
{
    CheckRead(1);
    uint8_t b = 0;
    if (KWStreamRead(m_stream, &b, 1) != 1)
        return -1;
    return b;
}

void CKWArchive::ReadBytes(void* dst, int32_t n) { ReadRaw(dst, n); }

uint8_t CKWArchive::ReadU8()
{
    uint8_t v = 0;
    ReadRaw(&v, 1);
    return v;
}

uint16_t CKWArchive::ReadU16()
{
    uint8_t b[2];
    ReadRaw(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t CKWArchive::ReadU32()
{
    uint8_t b[4];
    ReadRaw(b, 4);
    return GetU32(b);
}

uint64_t CKWArchive::ReadU64()
{
    uint8_t b[8];
    ReadRaw(b, 8);
    return static_cast<uint64_t>(GetU32(b)) | (static_cast<uint64_t>(GetU32(b + 4)) << 32);
}

double CKWArchive::ReadDouble()
{
    uint64_t bits = ReadU64();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

float CKWArchive::ReadFloat()
{
    uint32_t bits = ReadU32();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// ---- Writes -----------------------------------------------------------------

void CKWArchive::WriteBytes(const void* src, int32_t n)
{
    // A loading archive never writes (its memory block is the caller's data).
    if (m_stream && IsStoring() && n > 0)
        KWStreamWrite(m_stream, src, n);
}

void CKWArchive::WriteByte(uint8_t b) { WriteBytes(&b, 1); }

void CKWArchive::WriteU16(uint16_t v)
{
    uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    WriteBytes(b, 2);
}

void CKWArchive::WriteU32(uint32_t v)
{
    uint8_t b[4];
    PutU32(b, v);
    WriteBytes(b, 4);
}

void CKWArchive::WriteU64(uint64_t v)
{
    uint8_t b[8];
    PutU32(b, static_cast<uint32_t>(v));
    PutU32(b + 4, static_cast<uint32_t>(v >> 32));
    WriteBytes(b, 8);
}

void CKWArchive::WriteDouble(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    WriteU64(bits);
}

void CKWArchive::WriteFloat(float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    WriteU32(bits);
}

// ---- Strings ----------------------------------------------------------------

void CKWArchive::WriteString(const wchar_t* s, size_t length)
{
    if (length > INT32_MAX / 2)
        length = 0;  // cannot be counted in the format's u32 byte count
    WriteU32(static_cast<uint32_t>(length * 2));
    if (length)
        WriteBytes(s, static_cast<int32_t>(length * 2));
}

void CKWArchive::WriteString(const wchar_t* s)
{
    WriteString(s, s ? std::wcslen(s) : 0);
}

void CKWArchive::ReadString(CString& s)
{
    std::wstring text;
    ReadString(text);
    s = CString(text.data(), static_cast<int>(text.size()));
}

void CKWArchive::ReadString(std::wstring& s)
{
    uint32_t count = ReadU32();
    if (count == 0) {
        s.clear();
        return;
    }
    // 64-bit arithmetic and a bound by the bytes present: a crafted count can
    // neither wrap past the guard nor ask for more memory than the data holds.
    uint64_t bytes = count & ~1u;
    if (bytes > static_cast<uint64_t>(ReadableLimit()))
        Fail();
    std::wstring text(count / 2, L'\0');
    ReadRaw(text.empty() ? nullptr : &text[0], static_cast<int32_t>(bytes));
    s.swap(text);
}

void CKWArchive::WriteStringChars(const wchar_t* s, size_t length)
{
    if (length > INT32_MAX / 2)
        length = 0;
    WriteU32(static_cast<uint32_t>(length));
    if (length)
        WriteBytes(s, static_cast<int32_t>(length * 2));
}

void CKWArchive::WriteStringChars(const wchar_t* s)
{
    WriteStringChars(s, s ? std::wcslen(s) : 0);
}

void CKWArchive::ReadStringChars(CString& s)
{
    // 0xFFFFFFFF leaves the string as it was: start from its text.
    std::wstring text(s.GetString(), static_cast<size_t>(s.GetLength()));
    ReadStringChars(text);
    s = CString(text.data(), static_cast<int>(text.size()));
}

void CKWArchive::ReadStringChars(std::wstring& s)
{
    uint32_t count = ReadU32();
    if (count == 0) {
        s.clear();
        return;
    }
    if (count == 0xFFFFFFFFu)
        return;  // the string keeps its text
    uint64_t bytes = static_cast<uint64_t>(count) * 2;
    if (bytes > static_cast<uint64_t>(ReadableLimit()))
        Fail();
    std::wstring text(count, L'\0');
    ReadRaw(&text[0], static_cast<int32_t>(bytes));
    s.swap(text);
}

// ---- Memory blocks ----------------------------------------------------------

bool CKWArchive::FinishMemory(void*& data, uint32_t& length)
{
    data = nullptr;
    length = 0;
    if (!m_stream || m_fileBased)
        return false;
    if (IsStoring())
        FinishLastPending();
    int32_t len = ArchivePosition(KWStreamLength(m_stream));
    void* block = KWStreamGetBackendData(m_stream);
    if (len <= 0 || !block || HasStreamError())
        return false;
    data = block;
    length = static_cast<uint32_t>(len);
    return true;
}

void* CKWArchive::DetachMemory(uint32_t& length)
{
    length = 0;
    if (!m_stream || m_fileBased)
        return nullptr;
    int32_t len = ArchivePosition(KWStreamLength(m_stream));
    length = len > 0 ? static_cast<uint32_t>(len) : 0;
    return KWStreamDetachMemory(m_stream);
}
