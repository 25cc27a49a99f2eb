#pragma once
// PDFOutput: the byte sink of the PDF writer. It holds the current stream (the
// file, or a memory stream while the data of a stream object are collected),
// formats numbers the way the file format wants them, whatever the C
// runtime's locale, and frames stream data. It counts the bytes that reach
// the file itself, so offsets are exact with or without buffering and past
// 2 GB, and it remembers the first failure so that the export can report it.
#include <cstddef>
#include <cstdint>

#include "export/pdf/PDFFileStream.h"

enum PDFFilterKind : uint8_t {
    kPDFFilterNone = 0,
    kPDFFilterFlate = 1,
    kPDFFilterAsciiHex = 2,
    kPDFFilterAscii85 = 3,
    kPDFFilterDct = 4,
};

// The name written after "/Filter " (null for kPDFFilterNone or a kind out of range).
const char* PDFFilterName(PDFFilterKind kind);

class PDFOutput {
public:
    // Creates or empties the file at the UTF-16 path; IsOpen tells whether it could.
    explicit PDFOutput(const wchar_t* path);
    // Takes over a stream that stands for the file (null: nothing is open).
    explicit PDFOutput(KWStream* file);
    ~PDFOutput();
    PDFOutput(const PDFOutput&) = delete;
    PDFOutput& operator=(const PDFOutput&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    // True after any failed write, compression or allocation.
    bool HasFailed() const { return m_failed; }
    // The system's code of the file's first failure (creating, writing or
    // closing it); 0 when the system named none.
    DWORD GetSystemError() const { return m_status.error; }
    void SetFailed() { m_failed = true; }
    // The offset in the file of the next byte written to the file.
    uint64_t GetFilePos() const { return m_filePos; }
    // True while a stream object's data go to memory.
    bool InStream() const { return m_memory != nullptr; }

    // Number writers: the value alone, no blank, no line end.
    PDFOutput& WriteReal(double value);       // "%.4f"
    PDFOutput& WriteFloat(float value);       // "%.3f"
    PDFOutput& WriteInt(int32_t value);       // "%ld"
    PDFOutput& WriteUInt(uint32_t value);     // "%lu"
    PDFOutput& WriteUShort(uint16_t value);   // "%u"
    PDFOutput& WriteUInt64(uint64_t value);
    // Every UTF-16 code unit as four upper-case hex digits.
    PDFOutput& WriteHexText(const wchar_t* text);
    PDFOutput& WriteHexText(const wchar_t* text, size_t length);
    // "%010d %05d %c" without line end; the offset is unsigned.
    PDFOutput& WriteXrefEntry(uint64_t offset, uint16_t generation, bool inUse);

    // ASCII text up to its terminator.
    PDFOutput& Write(const char* text);
    PDFOutput& WriteLineEnd();
    // A text followed by CR LF.
    PDFOutput& WriteLine(const char* text);
    PDFOutput& WriteBytes(const void* bytes, size_t count);

    // Stream framing: the data between BeginStream and EndStream go into
    // memory and reach the file, encoded by the filter, at EndStream.
    bool BeginStream();
    // Kind 2 writes every byte as two hex digits with CR LF after every second
    // byte; every other kind writes the bytes as they are.
    void WriteStreamData(const void* bytes, size_t count, PDFFilterKind kind);
    // Encodes what the stream holds (Flate for kind 1, unchanged otherwise),
    // writes it to the file and returns its byte count. A failure marks the
    // output failed and writes nothing.
    uint64_t EndStream(PDFFilterKind kind);
    // Writes a complete block of stream data directly to the file, Flate
    // compressed for kind 1 (the block is then needed whole) and unchanged
    // otherwise; returns the byte count written. Used for pictures, whose data
    // are too large to be copied through memory once more.
    uint64_t WriteEncodedBlock(const void* bytes, size_t count, PDFFilterKind kind);

    // Flushes and closes the file; false when any write or the close failed.
    bool Close();

private:
    void Put(const void* bytes, size_t count);

    KWStream* m_current = nullptr;  // where writes go
    KWStream* m_file = nullptr;
    KWStream* m_memory = nullptr;   // while a stream object is open
    uint64_t m_filePos = 0;
    uint64_t m_streamStart = 0;
    bool m_failed = false;
    PDFFileStatus m_status;
};

// Compresses count bytes with zlib at level 9 (a zlib stream with header
// and checksum); false when zlib fails or memory is short.
bool PDFDeflate(const void* bytes, size_t count, unsigned char*& out, size_t& outCount);
