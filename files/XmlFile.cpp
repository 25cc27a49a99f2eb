#include "files/XmlFile.h"

#include "files/XmlValueForms.h"
#include "framework/KWFileStream.h"
#include "framework/KWWriteBehind.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// Blocks of the write-behind: writes large enough that their count costs
// little, small enough that the writing thread finds them still in the
// processor's cache.
const int32_t kBlockSize = 4 * CXmlFile::kRunSize;
const int kBlockCount = 8;

}  // namespace

CXmlFile::CXmlFile() = default;

CXmlFile::CXmlFile(const wchar_t* path, uint32_t mode)
{
    Open(path, mode);
}

CXmlFile::~CXmlFile()
{
    Close();
}

bool CXmlFile::Open(const wchar_t* path, uint32_t mode)
{
    Close();
    m_writeError = false;
    m_written = 0;
    m_lineEnds = false;
    if (!path || !*path)
        return false;
    // Reading keeps the mode asked for; text is read through the runtime.
    if ((mode & kWrite) && !(mode & kBinary)) {
        m_lineEnds = true;
        mode |= kBinary;
    }
    return CKWFile::Open(path, mode);
}

bool CXmlFile::OpenEmpty(const wchar_t* path, uint32_t mode)
{
    Close();
    m_writeError = false;
    m_written = 0;
    m_lineEnds = (mode & kWrite) && !(mode & kBinary);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !*path || !(mode & kWrite) || !::GetFileAttributesExW(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || data.nFileSizeHigh != 0 || data.nFileSizeLow != 0)
        return false;
    // Read and write on an existing file: opened as it is, not created again.
    auto* stream = new CKWFileStream;
    SetFileStream(stream);
    return stream->OpenFile(path, "r+b");
}

bool CXmlFile::Close()
{
    if (m_writer) {
        QueueBlock();
        if (!m_writer->Finish())
            m_writeError = true;
        m_writer.reset();
    }
    const bool open = IsOpen();
    const bool closed = CKWFile::Close();
    if (open && !closed)
        m_writeError = true;
    return !open || (closed && !m_writeError);
}

int64_t CXmlFile::Seek(int64_t position)
{
    return IsOpen() ? CKWFile::Seek(position, kBegin) : -1;
}

int32_t CXmlFile::Write(const void* bytes, int32_t count)
{
    if (!IsOpen() || !bytes || count <= 0)
        return 0;
    const char* text = static_cast<const char*>(bytes);
    int32_t written = 0;
    while (written < count) {
        const char* feed = m_lineEnds ? static_cast<const char*>(std::memchr(text + written, '\n',
                                                                              static_cast<size_t>(count - written)))
                                      : nullptr;
        const int32_t run = feed ? static_cast<int32_t>(feed - text) - written : count - written;
        if (run > 0 && WriteRun(text + written, run) != run)
            break;
        written += run;
        if (feed) {
            if (WriteRun("\r\n", 2) != 2)
                break;
            ++written;
        }
    }
    if (written != count)
        m_writeError = true;
    return written;
}

int32_t CXmlFile::WriteRun(const void* bytes, int32_t count)
{
    if (!IsOpen() || !bytes || count <= 0)
        return 0;
    if (m_writer) {
        Append(static_cast<const char*>(bytes), count);
        m_written += count;
        return count;
    }
    const int32_t written = CKWFile::Write(bytes, count);
    if (written != count)
        m_writeError = true;
    m_written += written;
    return written;
}

char* CXmlFile::RunBuffer(int32_t count)
{
    count = std::max(0, std::min(count, kRunSize));
    if (!m_writer) {
        if (m_run.size() < static_cast<size_t>(count))
            m_run.resize(static_cast<size_t>(count));
        return m_run.data();
    }
    if (kBlockSize - m_blockUsed < count)
        QueueBlock();
    if (!m_block)
        m_block = m_writer->TakeBlock();
    return reinterpret_cast<char*>(m_block) + m_blockUsed;
}

void CXmlFile::RunWritten(int32_t count)
{
    if (count <= 0)
        return;
    if (m_writer) {
        m_blockUsed += count;
        m_written += count;
    } else {
        Write(m_run.data(), count);
    }
}

void CXmlFile::WriteBehind()
{
    if (IsOpen() && !m_writer)
        m_writer = std::make_unique<CKWWriteBehind>(kBlockSize, kBlockCount);
}

void CXmlFile::Append(const char* bytes, int32_t count)
{
    while (count > 0) {
        if (!m_block)
            m_block = m_writer->TakeBlock();
        const int32_t take = std::min(count, kBlockSize - m_blockUsed);
        std::memcpy(m_block + m_blockUsed, bytes, static_cast<size_t>(take));
        m_blockUsed += take;
        bytes += take;
        count -= take;
        if (m_blockUsed == kBlockSize)
            QueueBlock();
    }
}

void CXmlFile::QueueBlock()
{
    if (!m_block)
        return;
    // Only the writing thread uses the stream while blocks are queued.
    m_writer->Queue(m_block, static_cast<size_t>(m_blockUsed), [this](const uint8_t* bytes, size_t size) {
        return CKWFile::Write(bytes, static_cast<int32_t>(size)) == static_cast<int32_t>(size);
    });
    m_block = nullptr;
    m_blockUsed = 0;
}

CString CXmlFile::GetPath() const
{
    return IsOpen() ? GetFileStream()->GetFileName() : CString();
}

CXmlFile& CXmlFile::operator<<(const CString& text)
{
    return *this << text.GetString();
}

CXmlFile& CXmlFile::operator<<(const wchar_t* text)
{
    if (IsOpen() && text && *text) {
        std::string utf8 = XmlPlainForm(text);
        Write(utf8.data(), static_cast<int32_t>(utf8.size()));
    }
    return *this;
}

CXmlFile& CXmlFile::operator<<(const double& value)
{
    if (IsOpen()) {
        std::string text = XmlRealForm(value);
        Write(text.data(), static_cast<int32_t>(text.size()));
    }
    return *this;
}

CXmlFile& CXmlFile::operator<<(float value)
{
    const double widened = value;
    return *this << widened;
}

CXmlFile& CXmlFile::operator<<(const char* text)
{
    if (IsOpen() && text)
        Write(text, static_cast<int32_t>(std::strlen(text)));
    return *this;
}

CXmlFile& CXmlFile::operator<<(char ch)
{
    if (IsOpen())
        Write(&ch, 1);
    return *this;
}

CXmlFile& CXmlFile::operator<<(int32_t value)
{
    if (IsOpen()) {
        std::string text = XmlIntegerForm(value);
        Write(text.data(), static_cast<int32_t>(text.size()));
    }
    return *this;
}
