#pragma once
// CXmlFile: the framework file as the XML layer uses it: written as text
// (every LF written reaches the disk as CR LF), or read and written in binary
// mode. Text is written through a binary file that puts in the CR itself,
// which is several times faster than the runtime's text mode and gives the
// same bytes. Its write operators put out the XML value forms in either mode
// and go through Write, so that a failed write is seen (HasWriteError) and
// Close reports it.
#include "framework/KWFile.h"

#include <cstdint>
#include <memory>
#include <vector>

class CKWWriteBehind;

class CXmlFile : public CKWFile {
public:
    CXmlFile();
    CXmlFile(const wchar_t* path, uint32_t mode);
    // Flushes and closes.
    ~CXmlFile() override;

    // Writing creates or truncates the file; any UTF-16 name opens.
    bool Open(const wchar_t* path, uint32_t mode) override;
    // Writing, as Open does, into a file that exists and is empty (a temporary
    // file just made), which is not truncated: a file truncated on opening is
    // written out in full when it is closed (the disk's file system does so
    // to protect a file replaced that way), which costs as much as the writing.
    // False when the file is missing or not empty.
    bool OpenEmpty(const wchar_t* path, uint32_t mode);
    // False when pending bytes could not be written or a write failed.
    bool Close() override;
    // From the start; the new position, -1 on failure or without a file.
    int64_t Seek(int64_t position);
    using CKWFile::Seek;
    // Bytes accepted; fewer than asked marks a write error.
    int32_t Write(const void* bytes, int32_t count) override;
    // The same for bytes that hold no line feed (Base64 text): they go out
    // without being searched for one.
    int32_t WriteRun(const void* bytes, int32_t count);
    // Room for at most kRunSize bytes that hold no line feed, made in place
    // and then written with RunWritten.
    static const int32_t kRunSize = 64 * 1024;
    char* RunBuffer(int32_t count);
    void RunWritten(int32_t count);
    // From now until Close, what is written is handed in large blocks to a
    // thread of its own, which writes it while the caller goes on; a write
    // that fails shows at Close. Only writes and Close may follow.
    void WriteBehind();
    // True once a write or flush failed since the file was opened.
    bool HasWriteError() const { return m_writeError; }
    // The bytes written since the file was opened, as they reach the file
    // (every LF with its CR): the offset the next byte will have.
    int64_t GetWrittenCount() const { return m_written; }
    // The path the file was opened with; empty while closed.
    CString GetPath() const;

    // Wide text goes out as UTF-8 without a byte-order mark; numbers in the
    // XML value forms. Each does nothing without a file.
    CXmlFile& operator<<(const CString& text) override;
    CXmlFile& operator<<(const wchar_t* text) override;
    CXmlFile& operator<<(const double& value) override;
    CXmlFile& operator<<(float value) override;
    CXmlFile& operator<<(const char* text) override;
    CXmlFile& operator<<(char ch) override;
    CXmlFile& operator<<(int32_t value) override;
    void WriteString(const CString& text) { *this << text; }

private:
    // Copies bytes into the write-behind blocks.
    void Append(const char* bytes, int32_t count);
    // Hands the block filled so far to the writing thread.
    void QueueBlock();

    bool m_writeError = false;
    int64_t m_written = 0;
    bool m_lineEnds = false;  // LF goes out as CR LF
    std::unique_ptr<CKWWriteBehind> m_writer;
    uint8_t* m_block = nullptr;  // the block being filled
    int32_t m_blockUsed = 0;
    std::vector<char> m_run;  // the room of a run without write-behind
};
