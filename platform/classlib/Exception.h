#pragma once
// The class library's exceptions. They are thrown as pointers to heap objects
// (throw new ...); the handler that catches one calls Delete on it.
#include "platform/classlib/Object.h"
#include "platform/classlib/String.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}

    // Frees an exception thrown with new; an exception on the stack stays.
    void Delete();

protected:
    BOOL m_bAutoDelete;
};

class CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
};

class CResourceException : public CException {
    DECLARE_DYNAMIC(CResourceException)
};

class CInvalidArgException : public CException {
    DECLARE_DYNAMIC(CInvalidArgException)
};

// A failure already reported to the user (data exchange validation).
class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
};

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema,
    };

    explicit CArchiveException(int cause = none, LPCWSTR lpszArchiveName = nullptr);

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName = nullptr);
