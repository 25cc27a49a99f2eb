#pragma once
// CXmlFile: the file object the XML layer reads and writes through, over the
// framework's buffered stream: in the platform's text mode (every LF written
// reaches the disk as CR LF and reads back as LF) or in binary mode, with the
// write operators of the XML value forms. It has the interface of the
// framework's file object, so that the XML classes can move onto it.
#include "platform/classlib/String.h"

#include <cstdint>

struct KWStream;

class CXmlFile {
public:
    // Mode bits.
    enum : uint32_t { kRead = 1, kWrite = 2, kBinary = 4 };

    CXmlFile() = default;
    CXmlFile(const wchar_t* path, uint32_t mode) { Open(path, mode); }
    // Flushes and closes.
    virtual ~CXmlFile();
    CXmlFile(const CXmlFile&) = delete;
    CXmlFile& operator=(const CXmlFile&) = delete;

    // Writing creates or truncates the file. The path is opened as UTF-16.
    virtual bool Open(const wchar_t* path, uint32_t mode);
    // False when pending bytes could not be written or the file not closed.
    virtual bool Close();
    // From the start; the new position, -1 on failure or without a file.
    virtual int32_t Seek(int32_t position);
    // Bytes read, 0 at the end.
    virtual int32_t Read(void* buffer, int32_t count);
    // Bytes accepted.
    virtual int32_t Write(const void* bytes, int32_t count);
    virtual bool Flush();
    virtual bool IsEOF() const;
    virtual bool IsOpen() const { return m_stream != nullptr; }
    // In bytes; 0 without a file.
    virtual int32_t GetLength() const;
    // True once a write or flush failed since the file was opened.
    bool HasWriteError() const { return m_writeError; }
    const CString& GetPath() const { return m_path; }

    // Write operators; each does nothing without a file. Wide text goes out
    // as UTF-8 without a byte-order mark; numbers in the XML value forms.
    CXmlFile& operator<<(const CString& text);
    CXmlFile& operator<<(const wchar_t* text);
    CXmlFile& operator<<(double value);
    CXmlFile& operator<<(float value);
    CXmlFile& operator<<(const char* text);
    CXmlFile& operator<<(char ch);
    CXmlFile& operator<<(int32_t value);
    void WriteString(const CString& text) { *this << text; }

private:
    KWStream* m_stream = nullptr;
    CString m_path;
    bool m_writeError = false;
};
