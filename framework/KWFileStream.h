#pragma once
// CKWFileStream: the stream object behind an open CKWFile, over one KWStream
// (a disk file or a block of memory). This binary form writes numbers as raw
// little-endian bytes; CKWTextFileStream writes them as decimal text.
#include "platform/classlib/String.h"

#include <cstdint>

struct KWStream;

class CKWFileStream {
public:
    CKWFileStream() = default;
    // Closes the stream.
    virtual ~CKWFileStream();
    CKWFileStream(const CKWFileStream&) = delete;
    CKWFileStream& operator=(const CKWFileStream&) = delete;

    // Closes an open stream first. The file is opened by its UTF-16 name, so
    // names outside the ANSI code page open too. True when open.
    virtual bool OpenFile(const wchar_t* name, const char* mode);
    // Closes an open stream first; KWStreamOpenMemory (no data and size 0: a
    // growing block). True when open.
    virtual bool OpenMemory(void* data, int32_t size);
    virtual bool Close();
    // KWStreamSeek; -1 when closed. Drops a character put back.
    virtual int64_t Seek(int64_t offset, int origin);
    // 0 when closed or unknown.
    virtual int64_t GetLength();
    // Raw bytes; 0 when closed.
    virtual int32_t Read(void* buffer, int32_t n);
    // One byte (0..255), -1 at the end of data, on error or when closed.
    virtual int GetChar();
    virtual bool ReadInt(int32_t& value);
    virtual bool ReadByte(uint8_t& value);
    virtual bool ReadDouble(double& value);
    // The two 16-bit reads read nothing: the value becomes 0 and the result is false.
    virtual bool ReadShort(int16_t& value);
    virtual bool ReadUShort(uint16_t& value);
    virtual bool WriteInt(int32_t value);
    virtual bool WriteChar(char ch);
    virtual bool WriteDouble(double value);
    // The bytes without a terminator; length 0 means up to the NUL.
    virtual bool WriteText(const char* text, int32_t length);
    // As UTF-8 without a terminator; length 0 means up to the NUL.
    virtual bool WriteWideText(const wchar_t* text, int32_t length);
    // Makes ch the next character read. The binary stream steps back one
    // byte, so that a look-ahead never loses data.
    virtual void PutBack(int ch);

    void SetFileTypeCreator(uint32_t type, uint32_t creator)
    {
        m_fileType = type;
        m_creator = creator;
    }
    uint32_t GetFileType() const { return m_fileType; }
    uint32_t GetCreator() const { return m_creator; }

    bool IsOpen() const { return m_stream != nullptr; }
    KWStream* GetStream() const { return m_stream; }
    const CString& GetFileName() const { return m_fileName; }

protected:
    KWStream* m_stream = nullptr;
    int64_t m_tokenStart = -1;  // where the last text token began
    uint32_t m_fileType = 0;
    uint32_t m_creator = 0;
    CString m_fileName;  // empty for memory
};
