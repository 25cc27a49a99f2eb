#include "framework/KWTextFileStream.h"

#include "framework/KWStream.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsTokenSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

bool CKWTextFileStream::Close()
{
    m_putBack = -1;
    return CKWFileStream::Close();
}

int64_t CKWTextFileStream::Seek(int64_t offset, int origin)
{
    m_putBack = -1;
    return CKWFileStream::Seek(offset, origin);
}

int CKWTextFileStream::GetChar()
{
    if (m_putBack >= 0) {
        int c = m_putBack;
        m_putBack = -1;
        return c;
    }
    // A byte 0xFF stays 0xFF: it is a letter in ANSI text, not the end of data.
    return CKWFileStream::GetChar();
}

void CKWTextFileStream::PutBack(int ch)
{
    if (m_stream && ch >= 0)
        m_putBack = ch & 0xFF;
}

int32_t CKWTextFileStream::ReadWithPutBack(void* buffer, int32_t n)
{
    if (!m_stream || !buffer || n <= 0)
        return 0;
    char* out = static_cast<char*>(buffer);
    if (m_putBack < 0)
        return Read(out, n);
    out[0] = static_cast<char>(m_putBack);
    m_putBack = -1;
    return 1 + (n > 1 ? Read(out + 1, n - 1) : 0);
}

void CKWTextFileStream::RestoreTokenStart()
{
    if (m_tokenStart >= 0)
        KWStreamSeek(m_stream, m_tokenStart, KWSTREAM_SEEK_SET);
    m_tokenStart = -1;
    m_putBack = -1;
}

bool CKWTextFileStream::ReadToken(char* buffer, int size)
{
    if (!m_stream)
        return false;
    // A character put back stands before the stream's position.
    const int64_t position = KWStreamGetPos(m_stream);
    m_tokenStart = position < 0 ? -1 : position - (m_putBack >= 0 ? 1 : 0);

    int c = GetChar();
    while (c >= 0 && IsTokenSpace(c))
        c = GetChar();
    int count = 0;
    while (c >= 0 && !IsTokenSpace(c)) {
        if (count == size - 1)
            break;
        buffer[count++] = static_cast<char>(c);
        c = GetChar();
    }
    buffer[count] = '\0';
    // An empty token (end of data) and one that filled the buffer both fail.
    if (count == 0 || count == size - 1) {
        RestoreTokenStart();
        return false;
    }
    return true;
}

bool CKWTextFileStream::ReadInt(int32_t& value)
{
    char token[kIntTokenSize];
    if (!ReadToken(token, kIntTokenSize))
        return false;
    char* end = nullptr;
    errno = 0;
    long long number = std::strtoll(token, &end, 10);
    // Text that is not wholly a number in range is a failure, not a 0.
    if (end == token || *end != '\0' || errno == ERANGE || number < INT32_MIN || number > INT32_MAX) {
        RestoreTokenStart();
        return false;
    }
    value = static_cast<int32_t>(number);
    return true;
}

bool CKWTextFileStream::ReadDouble(double& value)
{
    char token[kDoubleTokenSize];
    if (!ReadToken(token, kDoubleTokenSize))
        return false;
    char* end = nullptr;
    double number = std::strtod(token, &end);
    if (end == token || *end != '\0') {
        RestoreTokenStart();
        return false;
    }
    value = number;
    return true;
}

bool CKWTextFileStream::WriteInt(int32_t value)
{
    char text[16];
    int n = std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return n > 0 && WriteText(text, n);
}

std::string CKWTextFileStream::FormatDouble(double value)
{
    // "%f" of a large double has hundreds of digits.
    int needed = std::snprintf(nullptr, 0, "%f", value);
    if (needed <= 0)
        return std::string();
    std::string text(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(&text[0], text.size(), "%f", value);
    text.resize(static_cast<size_t>(needed));
    if (text.find('.') == std::string::npos)
        return text;  // "inf", "nan"
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

bool CKWTextFileStream::WriteDouble(double value)
{
    std::string text = FormatDouble(value);
    return !text.empty() && WriteText(text.data(), static_cast<int32_t>(text.size()));
}
