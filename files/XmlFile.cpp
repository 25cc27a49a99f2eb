#include "files/XmlFile.h"

#include "files/XmlValueForms.h"
#include "framework/KWStream.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

namespace {

// A file opened by its UTF-16 name, so that names outside the ANSI code page
// open too; reads and writes go through the runtime as for any stream file,
// in its text or binary mode.
int32_t FileRead(void* handle, void* buffer, int32_t n)
{
    return ::_read(*static_cast<int*>(handle), buffer, static_cast<unsigned>(n));
}

int32_t FileWrite(void* handle, const void* buffer, int32_t n)
{
    return ::_write(*static_cast<int*>(handle), buffer, static_cast<unsigned>(n));
}

int32_t FileSeek(void* handle, int32_t offset, int origin)
{
    return ::_lseek(*static_cast<int*>(handle), offset, origin);
}

void FileClose(void* handle)
{
    int* cell = static_cast<int*>(handle);
    ::_close(*cell);
    delete cell;
}

const KWStreamBackend kWideFileBackend = {FileRead, FileWrite, FileSeek, FileClose};

KWStream* OpenWide(const wchar_t* path, const char* mode)
{
    const uint32_t bits = KWStreamParseMode(mode);
    const bool reads = (bits & KWSTREAM_MODE_READ) != 0;
    const bool writes = (bits & (KWSTREAM_MODE_WRITE | KWSTREAM_MODE_APPEND)) != 0;
    int flags = reads && writes ? _O_RDWR : writes ? _O_WRONLY : _O_RDONLY;
    if (bits & KWSTREAM_MODE_BINARY)
        flags |= _O_BINARY;
    if (bits & KWSTREAM_MODE_CREATE)
        flags |= _O_CREAT | _O_TRUNC;
    const int fd = ::_wopen(path, flags, _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return nullptr;
    int* cell = new int(fd);
    KWStream* stream = KWStreamOpenBackend(&kWideFileBackend, cell, bits);
    if (!stream)
        FileClose(cell);
    return stream;
}

}  // namespace

CXmlFile::~CXmlFile()
{
    Close();
}

bool CXmlFile::Open(const wchar_t* path, uint32_t mode)
{
    Close();
    if (!path || !*path)
        return false;
    std::string modeText;
    if (mode & kWrite)
        modeText = (mode & kRead) ? "w+" : "w";
    else
        modeText = "r";
    if (mode & kBinary)
        modeText += 'b';
    m_stream = OpenWide(path, modeText.c_str());
    m_writeError = false;
    if (m_stream)
        m_path = path;
    return m_stream != nullptr;
}

bool CXmlFile::Close()
{
    if (!m_stream)
        return true;
    bool ok = Flush();
    KWStreamClose(m_stream);
    m_stream = nullptr;
    m_path.Empty();
    return ok && !m_writeError;
}

int32_t CXmlFile::Seek(int32_t position)
{
    return m_stream ? KWStreamSeek(m_stream, position, KWSTREAM_SEEK_SET) : -1;
}

int32_t CXmlFile::Read(void* buffer, int32_t count)
{
    if (!m_stream || !buffer || count <= 0)
        return 0;
    return KWStreamRead(m_stream, buffer, count);
}

int32_t CXmlFile::Write(const void* bytes, int32_t count)
{
    if (!m_stream || !bytes || count <= 0)
        return 0;
    int32_t written = KWStreamWrite(m_stream, bytes, count);
    if (written != count)
        m_writeError = true;
    return written;
}

bool CXmlFile::Flush()
{
    if (!m_stream)
        return false;
    // A stream holding read-ahead has nothing to write.
    if (!(m_stream->mode & (KWSTREAM_MODE_WRITE | KWSTREAM_MODE_APPEND)))
        return true;
    if (KWStreamFlush(m_stream) != 0) {
        m_writeError = true;
        return false;
    }
    return true;
}

bool CXmlFile::IsEOF() const
{
    return !m_stream || (m_stream->error & KWSTREAM_ERR_EOF) != 0;
}

int32_t CXmlFile::GetLength() const
{
    if (!m_stream)
        return 0;
    int32_t length = KWStreamLength(m_stream);
    return length < 0 ? 0 : length;
}

CXmlFile& CXmlFile::operator<<(const CString& text)
{
    return *this << text.GetString();
}

CXmlFile& CXmlFile::operator<<(const wchar_t* text)
{
    if (m_stream && text && *text) {
        std::string utf8 = XmlPlainForm(text);
        Write(utf8.data(), static_cast<int32_t>(utf8.size()));
    }
    return *this;
}

CXmlFile& CXmlFile::operator<<(double value)
{
    if (m_stream) {
        std::string text = XmlRealForm(value);
        Write(text.data(), static_cast<int32_t>(text.size()));
    }
    return *this;
}

CXmlFile& CXmlFile::operator<<(float value)
{
    return *this << static_cast<double>(value);
}

CXmlFile& CXmlFile::operator<<(const char* text)
{
    if (m_stream && text)
        Write(text, static_cast<int32_t>(std::strlen(text)));
    return *this;
}

CXmlFile& CXmlFile::operator<<(char ch)
{
    if (m_stream)
        Write(&ch, 1);
    return *this;
}

CXmlFile& CXmlFile::operator<<(int32_t value)
{
    if (m_stream) {
        std::string text = XmlIntegerForm(value);
        Write(text.data(), static_cast<int32_t>(text.size()));
    }
    return *this;
}
