#include "framework/KWMemFile.h"

#include "framework/KWFileStream.h"

CKWMemFile::CKWMemFile(void* data, int32_t size)
{
    auto* stream = new CKWFileStream;
    stream->OpenMemory(data, size);
    SetFileStream(stream);
}

bool CKWMemFile::Open(const wchar_t*, uint32_t)
{
    return true;
}

bool CKWMemFile::Close()
{
    return true;
}
