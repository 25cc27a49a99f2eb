#include "files/XmlFile.h"

#include "files/XmlValueForms.h"
#include "framework/KWFileStream.h"

#include <cstring>
#include <string>

CXmlFile::~CXmlFile()
{
    Close();
}

bool CXmlFile::Open(const wchar_t* path, uint32_t mode)
{
    Close();
    m_writeError = false;
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

bool CXmlFile::Close()
{
    const bool open = IsOpen();
    const bool closed = CKWFile::Close();
    if (open && !closed)
        m_writeError = true;
    return !open || (closed && !m_writeError);
}

int32_t CXmlFile::Seek(int32_t position)
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
        if (run > 0 && CKWFile::Write(text + written, run) != run)
            break;
        written += run;
        if (feed) {
            if (CKWFile::Write("\r\n", 2) != 2)
                break;
            ++written;
        }
    }
    if (written != count)
        m_writeError = true;
    return written;
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
