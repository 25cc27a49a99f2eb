#pragma once
// CQMXPRegistry: registry access of the docking library below
// HKEY_CURRENT_USER (or HKEY_LOCAL_MACHINE for an administrator), read-only
// or writable. The key opened last is closed with the object.
#include "platform/classlib/Object.h"
#include "platform/classlib/String.h"

class CQMXPRegistry : public CObject {
    DECLARE_DYNCREATE(CQMXPRegistry)
public:
    CQMXPRegistry(BOOL bAdmin = FALSE, BOOL bReadOnly = TRUE);
    ~CQMXPRegistry() override;

    // Opens the path below the current key (one trailing backslash ignored);
    // FALSE when it is missing, the current key then unchanged.
    virtual BOOL Open(LPCWSTR lpszPath);
    virtual void Close();

    HKEY GetKey() const { return m_hKey; }

private:
    HKEY m_hKey;
    BOOL m_bAdmin;
    BOOL m_bReadOnly;
    CString m_strKeyPath;
};
