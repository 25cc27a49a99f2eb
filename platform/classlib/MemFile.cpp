#include "platform/classlib/MemFile.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)
IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

namespace {
// Sizes from outside are checked in 64 bits against what a block can hold.
constexpr ULONGLONG kMaxBlock = static_cast<ULONGLONG>(static_cast<SIZE_T>(-1));
}  // namespace

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(nullptr),
      m_bAutoDelete(TRUE) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
    : m_nGrowBytes(0), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(nullptr),
      m_bAutoDelete(TRUE) {
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() {
    if (m_lpBuffer != nullptr && m_bAutoDelete)
        Free(m_lpBuffer);
    m_lpBuffer = nullptr;
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
    Close();
    m_lpBuffer = lpBuffer;
    m_nBufferSize = nBufferSize;
    m_nGrowBytes = nGrowBytes;
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_nPosition = 0;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
    BYTE* lpBuffer = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nFileSize = m_nBufferSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return lpBuffer;
}

BYTE* CMemFile::Alloc(SIZE_T nBytes) { return static_cast<BYTE*>(std::malloc(nBytes)); }

BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes) { return static_cast<BYTE*>(std::realloc(lpMem, nBytes)); }

void CMemFile::Free(BYTE* lpMem) { std::free(lpMem); }

void CMemFile::GrowFile(SIZE_T dwNewLen) {
    if (dwNewLen <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();  // a caller's fixed buffer
    ULONGLONG nNewBufferSize = m_nBufferSize;
    while (nNewBufferSize < dwNewLen)
        nNewBufferSize += m_nGrowBytes;
    if (nNewBufferSize > kMaxBlock)
        AfxThrowMemoryException();
    BYTE* lpNew;
    if (m_lpBuffer == nullptr) {
        lpNew = Alloc(static_cast<SIZE_T>(nNewBufferSize));
    } else if (m_bAutoDelete) {
        lpNew = Realloc(m_lpBuffer, static_cast<SIZE_T>(nNewBufferSize));
    } else {
        // The caller's buffer stays the caller's; the contents move to one of ours.
        lpNew = Alloc(static_cast<SIZE_T>(nNewBufferSize));
        if (lpNew != nullptr)
            std::memcpy(lpNew, m_lpBuffer, m_nFileSize);
    }
    if (lpNew == nullptr)
        AfxThrowMemoryException();
    m_lpBuffer = lpNew;
    m_nBufferSize = static_cast<SIZE_T>(nNewBufferSize);
    m_bAutoDelete = TRUE;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
    if (nCount == 0 || m_nPosition >= m_nFileSize)
        return 0;
    SIZE_T nRead = m_nFileSize - m_nPosition;
    if (nRead > nCount)
        nRead = nCount;
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, nRead);
    m_nPosition += nRead;
    return static_cast<UINT>(nRead);
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0)
        return;
    ULONGLONG nEnd = static_cast<ULONGLONG>(m_nPosition) + nCount;
    if (nEnd > kMaxBlock)
        AfxThrowMemoryException();
    if (nEnd > m_nBufferSize)
        GrowFile(static_cast<SIZE_T>(nEnd));
    // A write after a seek beyond the end leaves zeros in the gap.
    if (m_nPosition > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = static_cast<SIZE_T>(nEnd);
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
    LONGLONG lBase = nFrom == begin ? 0 : nFrom == current ? static_cast<LONGLONG>(m_nPosition)
                                                           : static_cast<LONGLONG>(m_nFileSize);
    LONGLONG lNew = lBase + lOff;
    if (lNew < 0 || static_cast<ULONGLONG>(lNew) > kMaxBlock)
        AfxThrowFileException(CFileException::badSeek, ERROR_NEGATIVE_SEEK, m_strFileName);
    m_nPosition = static_cast<SIZE_T>(lNew);
    return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG dwNewLen) {
    if (dwNewLen > kMaxBlock)
        AfxThrowMemoryException();
    SIZE_T nNewLen = static_cast<SIZE_T>(dwNewLen);
    if (nNewLen > m_nBufferSize)
        GrowFile(nNewLen);
    if (nNewLen > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, nNewLen - m_nFileSize);
    if (m_nPosition > nNewLen)
        m_nPosition = nNewLen;
    m_nFileSize = nNewLen;
}

void CMemFile::Close() {
    if (m_lpBuffer != nullptr && m_bAutoDelete)
        Free(m_lpBuffer);
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
}

CSharedFile::CSharedFile(UINT nAllocFlags, UINT nGrowBytes)
    : CMemFile(nGrowBytes), m_nAllocFlags(nAllocFlags), m_hGlobalMemory(nullptr), m_bAllowGrow(TRUE) {}

CSharedFile::~CSharedFile() { Close(); }

void CSharedFile::Close() {
    if (m_lpBuffer != nullptr) {
        if (m_bAutoDelete)
            Free(m_lpBuffer);
        else if (m_hGlobalMemory != nullptr)
            ::GlobalUnlock(m_hGlobalMemory);
    }
    m_hGlobalMemory = nullptr;
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
}

void CSharedFile::GrowFile(SIZE_T dwNewLen) {
    if (dwNewLen <= m_nBufferSize)
        return;
    if (!m_bAllowGrow)
        AfxThrowMemoryException();
    if (m_bAutoDelete || m_hGlobalMemory == nullptr) {
        CMemFile::GrowFile(dwNewLen);
        return;
    }
    HGLOBAL hOld = m_hGlobalMemory;
    BYTE* lpOld = m_lpBuffer;
    SIZE_T nOldBufferSize = m_nBufferSize;
    m_hGlobalMemory = nullptr;
    m_lpBuffer = nullptr;
    m_nBufferSize = 0;
    m_bAutoDelete = TRUE;
    try {
        CMemFile::GrowFile(dwNewLen);
    } catch (...) {
        m_hGlobalMemory = hOld;
        m_lpBuffer = lpOld;
        m_nBufferSize = nOldBufferSize;
        m_bAutoDelete = FALSE;
        throw;
    }
    std::memcpy(m_lpBuffer, lpOld, m_nFileSize);
    ::GlobalUnlock(hOld);
}

BYTE* CSharedFile::Alloc(SIZE_T nBytes) {
    HGLOBAL hMem = ::GlobalAlloc(m_nAllocFlags, nBytes);
    if (hMem == nullptr)
        return nullptr;
    m_hGlobalMemory = hMem;
    return static_cast<BYTE*>(::GlobalLock(hMem));
}

BYTE* CSharedFile::Realloc(BYTE*, SIZE_T nBytes) {
    if (!m_bAllowGrow)
        return nullptr;
    ::GlobalUnlock(m_hGlobalMemory);
    HGLOBAL hNew = ::GlobalReAlloc(m_hGlobalMemory, nBytes, m_nAllocFlags);
    if (hNew == nullptr) {
        ::GlobalLock(m_hGlobalMemory);
        return nullptr;
    }
    m_hGlobalMemory = hNew;
    return static_cast<BYTE*>(::GlobalLock(hNew));
}

void CSharedFile::Free(BYTE*) {
    if (m_hGlobalMemory != nullptr) {
        ::GlobalUnlock(m_hGlobalMemory);
        ::GlobalFree(m_hGlobalMemory);
    }
    m_hGlobalMemory = nullptr;
}

HGLOBAL CSharedFile::Detach() {
    HGLOBAL hMem = m_hGlobalMemory;
    if (hMem != nullptr) {
        ::GlobalUnlock(hMem);
        // Receivers take GlobalSize for the length of the data.
        if (m_bAutoDelete && m_nFileSize != 0 && m_nFileSize < m_nBufferSize) {
            HGLOBAL hCut = ::GlobalReAlloc(hMem, m_nFileSize, m_nAllocFlags);
            if (hCut != nullptr)
                hMem = hCut;
        }
    }
    m_hGlobalMemory = nullptr;
    m_lpBuffer = nullptr;
    m_nFileSize = m_nBufferSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return hMem;
}

void CSharedFile::SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow) {
    CSharedFile::Close();
    m_hGlobalMemory = hGlobalMemory;
    m_lpBuffer = static_cast<BYTE*>(::GlobalLock(hGlobalMemory));
    m_nBufferSize = m_nFileSize = m_lpBuffer != nullptr ? ::GlobalSize(hGlobalMemory) : 0;
    m_nPosition = 0;
    m_bAllowGrow = bAllowGrow;
    m_bAutoDelete = FALSE;
}
