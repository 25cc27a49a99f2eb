#include "framework/KWFileStream.h"

#include "framework/KWCodePage.h"
#include "framework/KWStream.h"

#include <cstring>
#include <cwchar>
#include <memory>

CKWFileStream::~CKWFileStream()
{
    if (m_stream)
        KWStreamClose(m_stream);
    m_stream = nullptr;
}

bool CKWFileStream::OpenFile(const wchar_t* name, const char* mode)
{
    if (m_stream)
        Close();
    m_fileName.Empty();
    if (!name || !*name)
        return false;
    m_stream = KWStreamOpenWideFile(name, mode);
    if (m_stream)
        m_fileName = name;
    return m_stream != nullptr;
}

bool CKWFileStream::OpenMemory(void* data, int32_t size)
{
    if (m_stream)
        Close();
    m_fileName.Empty();
    m_stream = KWStreamOpenMemory(data, size);
    return m_stream != nullptr;
}

bool CKWFileStream::Close()
{
    if (m_stream)
        KWStreamClose(m_stream);
    m_stream = nullptr;
    m_tokenStart = -1;
    return true;
}

int64_t CKWFileStream::Seek(int64_t offset, int origin)
{
    return m_stream ? KWStreamSeek(m_stream, offset, origin) : -1;
}

int64_t CKWFileStream::GetLength()
{
    if (!m_stream)
        return 0;
    const int64_t length = KWStreamLength(m_stream);
    return length < 0 ? 0 : length;
}

int32_t CKWFileStream::Read(void* buffer, int32_t n)
{
    return m_stream ? KWStreamReadBlock(m_stream, buffer, n) : 0;
}

int CKWFileStream::GetChar()
{
    uint8_t byte = 0;
    if (!m_stream || KWStreamRead(m_stream, &byte, 1) != 1)
        return -1;
    return byte;
}

bool CKWFileStream::ReadInt(int32_t& value)
{
    uint8_t bytes[4];
    if (Read(bytes, 4) != 4)
        return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                                 static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
    return true;
}

bool CKWFileStream::ReadByte(uint8_t& value)
{
    return Read(&value, 1) == 1;
}

bool CKWFileStream::ReadDouble(double& value)
{
    uint8_t bytes[8];
    if (Read(bytes, 8) != 8)
        return false;
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | bytes[i];
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool CKWFileStream::ReadShort(int16_t& value)
{
    value = 0;
    return false;
}

bool CKWFileStream::ReadUShort(uint16_t& value)
{
    value = 0;
    return false;
}

bool CKWFileStream::WriteInt(int32_t value)
{
    const uint32_t bits = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                              static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
    return m_stream && KWStreamWrite(m_stream, bytes, 4) == 4;
}

bool CKWFileStream::WriteChar(char ch)
{
    return m_stream && KWStreamWrite(m_stream, &ch, 1) == 1;
}

bool CKWFileStream::WriteDouble(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    uint8_t bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
    return m_stream && KWStreamWrite(m_stream, bytes, 8) == 8;
}

bool CKWFileStream::WriteText(const char* text, int32_t length)
{
    if (!m_stream || !text)
        return false;
    if (length <= 0)
        length = static_cast<int32_t>(std::strlen(text));
    if (length == 0)
        return true;
    return KWStreamWrite(m_stream, text, length) == length;
}

bool CKWFileStream::WriteWideText(const wchar_t* text, int32_t length)
{
    if (!m_stream || !text)
        return false;
    if (length <= 0)
        length = static_cast<int32_t>(std::wcslen(text));
    if (length == 0)
        return true;
    int size = 0;
    std::unique_ptr<char[]> utf8 = WideToUtf8Alloc(text, length, &size);
    if (!utf8 || size <= 1)
        return false;
    return WriteText(utf8.get(), size - 1);
}

void CKWFileStream::PutBack(int ch)
{
    if (m_stream && ch >= 0)
        KWStreamSeek(m_stream, -1, KWSTREAM_SEEK_CUR);
}
