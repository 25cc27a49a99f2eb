#include "export/ppt/PPTOutStream.h"

PPTOutStream::~PPTOutStream()
{
    Release();
}

void PPTOutStream::Attach(IStream* stream)
{
    Release();
    m_stream = stream;
    m_lastResult = S_OK;
    m_error = S_OK;
    m_systemError = 0;
}

void PPTOutStream::Release()
{
    if (m_stream) {
        m_stream->Release();
        m_stream = nullptr;
    }
}

void PPTOutStream::Note(HRESULT result, DWORD systemError)
{
    m_lastResult = result;
    if (FAILED(result) && SUCCEEDED(m_error)) {
        m_error = result;
        m_systemError = systemError;
    }
}

PPTOutStream& PPTOutStream::WriteU8(uint8_t value)
{
    return WriteBytes(&value, 1);
}

PPTOutStream& PPTOutStream::WriteU16(uint16_t value)
{
    const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    return WriteBytes(bytes, 2);
}

PPTOutStream& PPTOutStream::WriteU32(uint32_t value)
{
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return WriteBytes(bytes, 4);
}

PPTOutStream& PPTOutStream::WriteBytes(const void* bytes, uint32_t count)
{
    if (!m_stream) {
        Note(E_POINTER);
        return *this;
    }
    if (count == 0)
        return *this;
    ULONG written = 0;
    ::SetLastError(0);
    HRESULT hr = m_stream->Write(bytes, count, &written);
    DWORD systemError = FAILED(hr) ? ::GetLastError() : 0;
    // A short write without an error code is a full medium all the same.
    if (SUCCEEDED(hr) && written != count) {
        hr = STG_E_MEDIUMFULL;
        systemError = ERROR_DISK_FULL;
    }
    Note(hr, systemError);
    return *this;
}

PPTOutStream& PPTOutStream::WriteZeros(uint32_t count)
{
    static const uint8_t zeros[64] = {};
    while (count > 0) {
        const uint32_t piece = count < sizeof(zeros) ? count : static_cast<uint32_t>(sizeof(zeros));
        WriteBytes(zeros, piece);
        count -= piece;
    }
    return *this;
}

bool PPTOutStream::ReadBytes(void* bytes, uint32_t count)
{
    if (!m_stream) {
        Note(E_POINTER);
        return false;
    }
    ULONG read = 0;
    HRESULT hr = m_stream->Read(bytes, count, &read);
    if (SUCCEEDED(hr) && read != count)
        hr = STG_E_READFAULT;
    Note(hr);
    return SUCCEEDED(hr);
}

bool PPTOutStream::ReadU16(uint16_t& value)
{
    uint8_t bytes[2];
    if (!ReadBytes(bytes, 2))
        return false;
    value = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
    return true;
}

bool PPTOutStream::ReadU32(uint32_t& value)
{
    uint8_t bytes[4];
    if (!ReadBytes(bytes, 4))
        return false;
    value = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
            (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    return true;
}

int64_t PPTOutStream::Tell()
{
    if (!m_stream) {
        Note(E_POINTER);
        return -1;
    }
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    ULARGE_INTEGER position;
    HRESULT hr = m_stream->Seek(zero, STREAM_SEEK_CUR, &position);
    Note(hr);
    return SUCCEEDED(hr) ? static_cast<int64_t>(position.QuadPart) : -1;
}

PPTOutStream& PPTOutStream::Seek(uint32_t position)
{
    if (!m_stream) {
        Note(E_POINTER);
        return *this;
    }
    LARGE_INTEGER move;
    move.QuadPart = position == kEnd ? 0 : static_cast<LONGLONG>(position);
    Note(m_stream->Seek(move, position == kEnd ? STREAM_SEEK_END : STREAM_SEEK_SET, nullptr));
    return *this;
}

PPTOutStream& PPTOutStream::SeekRelative(int32_t delta)
{
    if (!m_stream) {
        Note(E_POINTER);
        return *this;
    }
    LARGE_INTEGER move;
    move.QuadPart = delta;
    Note(m_stream->Seek(move, STREAM_SEEK_CUR, nullptr));
    return *this;
}

int64_t PPTOutStream::GetSize()
{
    const int64_t here = Tell();
    if (here < 0)
        return -1;
    Seek(kEnd);
    const int64_t size = Tell();
    Seek(static_cast<uint32_t>(here));
    return size;
}
