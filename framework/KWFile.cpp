#include "framework/KWFile.h"

#include "framework/KWFileStream.h"
#include "framework/KWStream.h"
#include "framework/KWTextFileStream.h"

#include <string>

CKWFile::CKWFile(const wchar_t* name, uint32_t flags)
{
    Open(name, flags);
}

CKWFile::~CKWFile()
{
    if (m_stream && m_stream->IsOpen())
        KWStreamFlush(m_stream->GetStream());
    SetFileStream(nullptr);
}

void CKWFile::SetFileStream(CKWFileStream* stream)
{
    if (m_stream) {
        m_stream->Close();
        delete m_stream;
    }
    m_stream = stream;
}

bool CKWFile::Open(const wchar_t* name, uint32_t flags)
{
    if (m_stream && m_stream->IsOpen())
        Close();
    SetFileStream(nullptr);

    std::string mode;
    CKWFileStream* stream;
    if (flags & kBinary) {
        stream = new CKWFileStream;
        mode = "b";
    } else {
        stream = new CKWTextFileStream;
    }
    if (flags & kRead)
        mode += 'r';
    if (flags & kWrite)
        mode += 'w';
    if (mode.empty())
        mode = "b+";
    m_stream = stream;
    stream->OpenFile(name, mode.c_str());
    return stream->IsOpen();
}

bool CKWFile::Close()
{
    if (!m_stream)
        return true;
    bool ok = true;
    if (KWStream* s = m_stream->GetStream()) {
        // Pending output is written now, so that a failure is seen.
        if (s->mode & (KWSTREAM_MODE_WRITE | KWSTREAM_MODE_APPEND))
            KWStreamFlush(s);
        ok = (s->error & KWSTREAM_ERR_IO) == 0;
    }
    SetFileStream(nullptr);
    return ok;
}

int64_t CKWFile::Seek(int64_t offset, int origin)
{
    if (!m_stream || !m_stream->IsOpen())
        return 0;
    if (origin != kCurrent && origin != kEnd)
        origin = kBegin;
    return m_stream->Seek(offset, origin);
}

int32_t CKWFile::Read(void* buffer, int32_t n)
{
    return m_stream ? m_stream->Read(buffer, n) : 0;
}

int32_t CKWFile::Write(const void* buffer, int32_t n)
{
    if (!m_stream || !m_stream->IsOpen())
        return 0;
    return KWStreamWriteBlock(m_stream->GetStream(), buffer, n);
}

bool CKWFile::Flush()
{
    if (!m_stream || !m_stream->IsOpen())
        return false;
    return KWStreamFlush(m_stream->GetStream()) == 0;
}

int32_t CKWFile::ReadLine(char* buffer, int32_t size)
{
    if (!buffer || size <= 0)
        return 0;
    buffer[0] = '\0';
    if (!IsOpen())
        return 0;
    int32_t count = 0;
    int lineEnd = -1;
    bool endOfData = false;
    while (count < size - 1) {
        int c = m_stream->GetChar();
        if (c < 0) {
            endOfData = true;
            break;
        }
        if (c == '\r' || c == '\n') {
            lineEnd = c;
            break;
        }
        buffer[count++] = static_cast<char>(c);
    }
    buffer[count] = '\0';
    if (!endOfData) {
        int next = m_stream->GetChar();
        if (next >= 0 && lineEnd < 0 && (next == '\r' || next == '\n')) {
            // The line filled the buffer exactly: this is its line end.
            lineEnd = next;
            next = m_stream->GetChar();
        }
        if (next >= 0) {
            // A CR LF or LF CR pair ends one line; the same line end again
            // starts an empty line.
            bool pairEnd = lineEnd >= 0 && (next == '\r' || next == '\n') && next != lineEnd;
            if (!pairEnd)
                m_stream->PutBack(next);
        }
    }
    return count + 1;
}

bool CKWFile::IsEOF() const
{
    if (!m_stream || !m_stream->IsOpen())
        return true;
    return (m_stream->GetStream()->error & KWSTREAM_ERR_EOF) != 0;
}

bool CKWFile::IsOpen() const
{
    return m_stream && m_stream->IsOpen();
}

int64_t CKWFile::GetLength()
{
    return m_stream ? m_stream->GetLength() : 0;
}

void CKWFile::SetFileTypeCreator(uint32_t type, uint32_t creator)
{
    if (m_stream)
        m_stream->SetFileTypeCreator(type, creator);
}

CKWFile& CKWFile::operator<<(const CString& text)
{
    return *this << text.GetString();
}

CKWFile& CKWFile::operator<<(const wchar_t* text)
{
    if (IsOpen() && text)
        m_stream->WriteWideText(text, 0);
    return *this;
}

CKWFile& CKWFile::operator<<(const double& value)
{
    if (IsOpen())
        m_stream->WriteDouble(value);
    return *this;
}

CKWFile& CKWFile::operator<<(float value)
{
    const double widened = value;
    return *this << widened;
}

CKWFile& CKWFile::operator<<(const char* text)
{
    if (IsOpen() && text)
        m_stream->WriteText(text, 0);
    return *this;
}

CKWFile& CKWFile::operator<<(char ch)
{
    if (IsOpen())
        m_stream->WriteChar(ch);
    return *this;
}

CKWFile& CKWFile::operator<<(int32_t value)
{
    if (IsOpen())
        m_stream->WriteInt(value);
    return *this;
}

CKWFile& CKWFile::operator>>(CString& text)
{
    if (IsOpen()) {
        int16_t ignored;
        *this >> ignored;
        text.Empty();
    }
    return *this;
}

CKWFile& CKWFile::operator>>(int16_t& value)
{
    if (IsOpen())
        m_stream->ReadShort(value);
    return *this;
}

CKWFile& CKWFile::operator>>(double& value)
{
    if (IsOpen())
        m_stream->ReadDouble(value);
    return *this;
}

CKWFile& CKWFile::operator>>(uint16_t& value)
{
    if (IsOpen())
        m_stream->ReadUShort(value);
    return *this;
}

CKWFile& CKWFile::operator>>(int32_t& value)
{
    if (IsOpen())
        m_stream->ReadInt(value);
    return *this;
}

CKWFile& CKWFile::operator>>(char& ch)
{
    if (IsOpen()) {
        uint8_t byte;
        if (m_stream->ReadByte(byte))
            ch = static_cast<char>(byte);
    }
    return *this;
}

bool CKWFile::GetMemoryBlock(void*& data, int32_t& length)
{
    data = nullptr;
    length = 0;
    if (!IsOpen())
        return false;
    // The length first: it writes out pending bytes, which may move the block.
    // A memory block holds at most 2 GB (the memory back end's limit).
    length = static_cast<int32_t>(m_stream->GetLength());
    data = KWStreamGetBackendData(m_stream->GetStream());
    return data != nullptr && length != 0;
}

void* CKWFile::DetachMemory()
{
    if (!IsOpen())
        return nullptr;
    return KWStreamDetachMemory(m_stream->GetStream());
}
