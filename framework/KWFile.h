#pragma once
// CKWFile: the framework's file object. It owns one stream object, a
// CKWFileStream for binary files or a CKWTextFileStream for text files, and
// forwards to it. Every operation on a file without an open stream returns 0
// or false or does nothing; none throws. The stream operators do nothing on
// a closed file and return the file so that calls chain.
#include "platform/classlib/String.h"

#include <cstdint>

class CKWFileStream;

class CKWFile {
public:
    // Open flags.
    enum : uint32_t { kRead = 1, kWrite = 2, kBinary = 4 };
    // Seek origins.
    enum { kBegin = 0, kCurrent = 1, kEnd = 2 };

    CKWFile() = default;
    // Opens at once; IsOpen tells whether that worked.
    CKWFile(const wchar_t* name, uint32_t flags);
    // Flushes, then closes and deletes the stream object.
    virtual ~CKWFile();
    CKWFile(const CKWFile&) = delete;
    CKWFile& operator=(const CKWFile&) = delete;

    // Binary files read with "br", write with "bw" (created or truncated);
    // text files open without "b", in the C runtime's text mode, which
    // translates line ends. True when a stream is open.
    virtual bool Open(const wchar_t* name, uint32_t flags);
    // Writes the pending bytes and closes; false when a write failed since
    // the file was opened. True without a stream.
    virtual bool Close();
    // Origin 1 from the current position, 2 from the end, else from the
    // start; the new position, 0 without a stream. Positions and lengths
    // are 64-bit: a report reaches past 2 GB and 4 GB.
    virtual int64_t Seek(int64_t offset, int origin);
    virtual int32_t Read(void* buffer, int32_t n);
    virtual int32_t Write(const void* buffer, int32_t n);
    // True when the pending bytes were written.
    virtual bool Flush();
    // One line of 8-bit text without its line end (CR, LF, CR LF or LF CR);
    // a NUL ends the text. The number of characters stored plus one; 0 when
    // nothing could be stored.
    virtual int32_t ReadLine(char* buffer, int32_t size);
    // The stream's end-of-data bit; true without a stream.
    virtual bool IsEOF() const;
    virtual bool IsOpen() const;
    virtual int64_t GetLength();
    // Four-character codes kept for callers; not otherwise used here.
    virtual void SetFileTypeCreator(uint32_t type, uint32_t creator);

    virtual CKWFile& operator<<(const CString& text);
    // As UTF-8.
    virtual CKWFile& operator<<(const wchar_t* text);
    virtual CKWFile& operator<<(const double& value);
    virtual CKWFile& operator<<(float value);
    virtual CKWFile& operator<<(const char* text);
    virtual CKWFile& operator<<(char ch);
    virtual CKWFile& operator<<(int32_t value);
    // Strings are not read back: the string is emptied and nothing consumed.
    virtual CKWFile& operator>>(CString& text);
    // 16-bit values are not read back: the value becomes 0.
    virtual CKWFile& operator>>(int16_t& value);
    virtual CKWFile& operator>>(double& value);
    virtual CKWFile& operator>>(uint16_t& value);
    virtual CKWFile& operator>>(int32_t& value);
    virtual CKWFile& operator>>(char& ch);

    // For files over memory: the length (0 when not open) and the data
    // pointer; true when both are non-zero. The pointer is valid until the
    // next write or the end of the file.
    bool GetMemoryBlock(void*& data, int32_t& length);
    // For files over memory: the data pointer, which the caller then owns
    // (free it with free); null when not open or not over memory.
    void* DetachMemory();

    CKWFileStream* GetFileStream() const { return m_stream; }

protected:
    // Replaces the stream object (the old one is closed and deleted).
    void SetFileStream(CKWFileStream* stream);

    CKWFileStream* m_stream = nullptr;
};
