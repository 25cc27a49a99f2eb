#pragma once
// CMemFile: a file held in a block of memory that grows by a fixed step as
// it is written; CSharedFile: the same in a global memory block that can be
// handed to the clipboard or to OLE.
#include "platform/classlib/File.h"

class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    // Works on the caller's buffer; with nGrowBytes 0 it cannot grow beyond it.
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    // The buffer is the caller's again after Detach (or when the file is
    // destroyed); the file's length is nBufferSize with nGrowBytes 0, else 0.
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Hands the buffer out (allocated by Alloc: free it with free()) and
    // leaves the file empty; GetLength before it tells how much is used.
    BYTE* Detach();

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    ULONGLONG GetLength() const override { return m_nFileSize; }
    void SetLength(ULONGLONG dwNewLen) override;
    void Flush() override {}
    void Close() override;
    void Abort() override { Close(); }

protected:
    virtual BYTE* Alloc(SIZE_T nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
    virtual void Free(BYTE* lpMem);
    // Makes the buffer at least dwNewLen bytes, in steps of the growth size.
    virtual void GrowFile(SIZE_T dwNewLen);

    UINT m_nGrowBytes;
    SIZE_T m_nPosition;
    SIZE_T m_nBufferSize;
    SIZE_T m_nFileSize;
    BYTE* m_lpBuffer;
    // The buffer was allocated here (not given by the caller).
    BOOL m_bAutoDelete;
};

class CSharedFile : public CMemFile {
    DECLARE_DYNAMIC(CSharedFile)
public:
    explicit CSharedFile(UINT nAllocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT nGrowBytes = 4096);
    ~CSharedFile() override;

    // The global block, cut to the written length, for the clipboard or a
    // data source; the file is empty afterwards.
    HGLOBAL Detach();
    // Works on a global block whose whole size is the file's contents; the
    // block stays the caller's unless it is detached again.
    void SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow = TRUE);

    void Close() override;

protected:
    BYTE* Alloc(SIZE_T nBytes) override;
    BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes) override;
    void Free(BYTE* lpMem) override;
    // A caller's block (SetHandle) is copied into a block of the file's own.
    void GrowFile(SIZE_T dwNewLen) override;

    UINT m_nAllocFlags;
    HGLOBAL m_hGlobalMemory;
    BOOL m_bAllowGrow;
};
