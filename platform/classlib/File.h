#pragma once
// CFile: a file on disk through a Win32 handle, and CFileException, the
// failure of a file operation. Positions and lengths are 64-bit.
#include "platform/classlib/Exception.h"

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCWSTR lpszFileName = nullptr);

    // The cause for a Win32 error code.
    static int OsErrorToException(LONG lOsError);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCWSTR lpszFileName = nullptr);

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

    CFile();
    // Takes over an open handle; it is not closed by the object.
    explicit CFile(HANDLE hFile);
    // Opens the file; throws CFileException on failure.
    CFile(LPCWSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;

    HANDLE m_hFile;

    // FALSE on failure; pError, when given, receives the cause.
    virtual BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    // Throws on a failing close; Abort closes without throwing.
    virtual void Close();
    virtual void Abort();

    // The bytes read, fewer at the end of the file.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Throws CFileException when not everything could be written.
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    void SeekToBegin() { Seek(0, begin); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual void Flush();

    virtual CString GetFilePath() const { return m_strFileName; }
    virtual void SetFilePath(LPCWSTR lpszNewName) { m_strFileName = lpszNewName; }
    // The name part of the path.
    virtual CString GetFileName() const;

    operator HANDLE() const { return m_hFile; }

protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;
};
