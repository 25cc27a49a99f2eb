// CKWArchive: the binary archive, a stream of nested, tagged
// records holding little-endian scalars and UTF-16 strings.
//
// Failure: a guarded read that would run past the end of the innermost open
// record (or past the data) throws CKWArchiveException. The code that starts a
// whole load or store catches every exception around it and reports failure;
// the archive is then destroyed. Storing never throws.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "framework/KWStream.h"
#include "platform/classlib/String.h"

// The exception of a failed guarded read; its code is 0 (the only code thrown).
class CKWArchiveException : public std::exception {
public:
    explicit CKWArchiveException(int code = 0) : m_code(code) {}
    int GetCode() const { return m_code; }
    const char* what() const noexcept override { return "CKWArchive: read past the end of a record or of the data"; }

private:
    int m_code;
};

// The archive's view of one record header.
struct CKWArchiveRecord {
    int32_t start = 0;   // stream position of the record's tag byte
    int32_t end = 0;     // first byte after the record's content
    int32_t first = -1;  // first link (linked records only)
    int32_t next = -1;   // next link (linked records only)
    uint8_t tag = 0;
    uint8_t closed = 0;  // storing only: 1 once the record has been ended
};

class CKWArchive {
public:
    // Direction values: 0 stores; any other value loads.
    enum : uint32_t { kStore = 0, kLoad = 1 };
    // Tags below this one are linked records (13-byte header); the others plain (5 bytes).
    static const uint8_t kFirstPlainTag = 128;
    static const int32_t kLinkedHeaderSize = 13;
    static const int32_t kPlainHeaderSize = 5;
    static const uint32_t kNoLink = 0xFFFFFFFFu;

    // Over memory: the block and its size go to KWStreamOpenMemory (null and 0
    // for a growing block when storing; the data and its size when loading).
    CKWArchive(void* data, uint32_t size, uint32_t direction);
    // Over a file: the name goes to the ANSI code page and opens "rb" (loading)
    // or "wb" (storing). The stream is null when the file cannot be opened (also
    // when the code page cannot express the name); test IsOpen before use.
    CKWArchive(const wchar_t* fileName, uint32_t direction);
    ~CKWArchive();

    CKWArchive(const CKWArchive&) = delete;
    CKWArchive& operator=(const CKWArchive&) = delete;

    uint32_t GetDirection() const { return m_direction; }
    bool IsStoring() const { return m_direction == kStore; }
    bool IsLoading() const { return m_direction != kStore; }
    bool IsOpen() const { return m_stream != nullptr; }
    bool IsFileBased() const { return m_fileBased != 0; }
    const std::wstring& GetFileName() const { return m_fileName; }
    KWStream* GetStream() const { return m_stream; }
    // True when the stream met a back-end read or write failure (a store that
    // could not write everything).
    bool HasStreamError() const;

    // While storing, finishes the last pending record; closes the stream; empties the name.
    void Close();

    // Records.
    bool BeginRecord(uint8_t tag);
    void EndRecord();
    // Guards a read of n bytes inside the innermost open record (loading).
    void CheckRead(uint64_t n);
    // CheckRead, then KWStreamRead; the count read.
    int32_t ArchiveReadBytes(void* dst, int32_t n);
    // CheckRead of 1 byte, then one byte (-1 at the end of the data).
    int ReadByte();
    void WriteByte(uint8_t b);

    // Scalars: raw little-endian bytes, no tag or padding. Writes go straight to
    // the stream; reads are guarded and throw when the data ends before the value.
    void WriteBytes(const void* src, int32_t n);
    void WriteU8(uint8_t v) { WriteBytes(&v, 1); }
    void WriteU16(uint16_t v);
    void WriteU32(uint32_t v);
    void WriteI32(int32_t v) { WriteU32(static_cast<uint32_t>(v)); }
    void WriteU64(uint64_t v);
    void WriteDouble(double v);
    void WriteFloat(float v);
    void ReadBytes(void* dst, int32_t n);  // guarded, all n bytes or throws
    uint8_t ReadU8();
    uint16_t ReadU16();
    uint32_t ReadU32();
    int32_t ReadI32() { return static_cast<int32_t>(ReadU32()); }
    uint64_t ReadU64();
    double ReadDouble();
    float ReadFloat();

    // Strings. Byte-counted: u32 byte count (2 x length), then UTF-16LE code units.
    void WriteString(const std::wstring& s) { WriteString(s.data(), s.size()); }
    void WriteString(const CString& s) { WriteString(s.GetString(), static_cast<size_t>(s.GetLength())); }
    void WriteString(const wchar_t* s);  // NUL-terminated; null writes an empty string
    void WriteString(const wchar_t* s, size_t length);
    void ReadString(std::wstring& s);
    void ReadString(CString& s);
    // Character-counted: u32 code-unit count, then the code units. A loaded count
    // of 0xFFFFFFFF reads nothing and leaves the string as it was.
    void WriteStringChars(const std::wstring& s) { WriteStringChars(s.data(), s.size()); }
    void WriteStringChars(const CString& s) { WriteStringChars(s.GetString(), static_cast<size_t>(s.GetLength())); }
    void WriteStringChars(const wchar_t* s);
    void WriteStringChars(const wchar_t* s, size_t length);
    void ReadStringChars(std::wstring& s);
    void ReadStringChars(CString& s);

    // Memory archives only. While storing, finishes the last pending record, then
    // gives the length and the block; true when both are non-zero (and the
    // stream has no write error). The block stays the archive's.
    bool FinishMemory(void*& data, uint32_t& length);
    // The length and the block, which the caller then owns (free it with free);
    // null for a file archive or without a stream.
    void* DetachMemory(uint32_t& length);

    // The records pending (storing) or open (loading), innermost last.
    const std::vector<CKWArchiveRecord>& GetPendingRecords() const { return m_pending; }

private:
    void WriteRecordHeader(const CKWArchiveRecord& rec);
    void ReadRecordHeader(CKWArchiveRecord& rec);
    void RewriteRecordHeader(const CKWArchiveRecord& rec);
    void AddPendingRecord(const CKWArchiveRecord& rec);
    void FinishRecord();
    void FinishLastPending();
    // The bytes a read may still take: up to the innermost open record's end, or
    // to the end of the data when none is open.
    int64_t ReadableLimit();
    int64_t DataLength();
    void ReadRaw(void* dst, int32_t n);

    uint32_t m_direction;
    KWStream* m_stream = nullptr;
    std::wstring m_fileName;
    uint8_t m_fileBased = 0;
    std::vector<CKWArchiveRecord> m_pending;
    int64_t m_dataLength = -1;  // loading: the stream's length, taken once
};

// The free-function form for callers that hold only the archive: CheckRead then
// KWStreamRead; the count read.
inline int32_t ArchiveReadBytes(CKWArchive& ar, void* dst, int32_t n) { return ar.ArchiveReadBytes(dst, n); }
