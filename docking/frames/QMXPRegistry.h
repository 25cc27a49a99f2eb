#pragma once
// CQMXPRegistry: the docking library's one way into the registry, below
// HKEY_CURRENT_USER (or HKEY_LOCAL_MACHINE for an administrator). A read-only
// object opens keys for reading only and refuses every write, key creation
// and key deletion. Numbers and strings are stored as they are; containers,
// points, rectangles and objects as one REG_BINARY value holding a
// class-library archive. Every failure is FALSE; nothing is thrown.
//
// CQMXPRegistrySP owns the registry object of one load or save, and
// QMXPGetRegPath builds the path of a library section.
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

#include <cstdint>
#include <functional>

class CByteArray;
class CDWordArray;
class CObList;
class CStringArray;
class CStringList;
class CWordArray;

class CQMXPRegistry : public CObject {
    DECLARE_DYNCREATE(CQMXPRegistry)
public:
    CQMXPRegistry(BOOL bAdmin = FALSE, BOOL bReadOnly = TRUE);
    ~CQMXPRegistry() override;

    // Appends the names of the current key's values; FALSE when it has none.
    virtual BOOL ReadKeyValues(CStringArray& values);
    // The path opens below the current key (closed again at once).
    virtual BOOL VerifyKey(LPCWSTR lpszPath);
    virtual BOOL VerifyValue(LPCWSTR lpszValue);
    // Creates or opens the key for writing; it becomes the current key.
    virtual BOOL CreateKey(LPCWSTR lpszPath);
    // Opens an existing key, which becomes the current key; a failure leaves
    // the current key as it was. The path is kept as given.
    virtual BOOL Open(LPCWSTR lpszPath);
    virtual void Close();
    virtual BOOL DeleteValue(LPCWSTR lpszValue);
    // Deletes the key below the root of bAdmin with all its sub-keys. An
    // empty path is refused: it would name the whole root.
    virtual BOOL DeleteKey(LPCWSTR lpszPath, BOOL bAdmin = FALSE);

    // The object with its class, read back by Read(name, CObject*&).
    virtual BOOL Write(LPCWSTR lpszKey, CObject* pObject);
    // The object's own Serialize.
    virtual BOOL Write(LPCWSTR lpszKey, CObject& object);
    virtual BOOL Write(LPCWSTR lpszKey, CStringList& list);
    virtual BOOL Write(LPCWSTR lpszKey, const BYTE* pData, UINT nBytes);
    // An array of five 32-bit values: x, y, 0, 0, 0.
    virtual BOOL Write(LPCWSTR lpszKey, const CPoint& point);
    // Left, top, right, bottom, signed 32-bit each.
    virtual BOOL Write(LPCWSTR lpszKey, const CRect& rect);
    // The count as 32 bits, then each element as 16 bits.
    virtual BOOL Write(LPCWSTR lpszKey, CWordArray& array);
    virtual BOOL Write(LPCWSTR lpszKey, CObList& list);
    virtual BOOL Write(LPCWSTR lpszKey, CByteArray& array);
    virtual BOOL Write(LPCWSTR lpszKey, CDWordArray& array);
    virtual BOOL Write(LPCWSTR lpszKey, CStringArray& array);
    // REG_SZ with its terminating zero.
    virtual BOOL Write(LPCWSTR lpszKey, LPCWSTR lpszValue);
    virtual BOOL Write(LPCWSTR lpszKey, DWORD dwValue);
    virtual BOOL Write(LPCWSTR lpszKey, int nValue);
    // REG_BINARY of what the function puts into a storing archive; FALSE when
    // it throws or the value cannot be written.
    BOOL WriteArchived(LPCWSTR lpszKey, const std::function<void(CArchive&)>& writeData);
    // The value through a loading archive; FALSE when it is missing or the function throws.
    BOOL ReadArchived(LPCWSTR lpszKey, const std::function<void(CArchive&)>& readData);

    // A new object of the stored class; the caller owns it.
    virtual BOOL Read(LPCWSTR lpszKey, CObject*& pObject);
    // An object stored by pointer whose class is pClass or derives from it;
    // a stored object of another class is not made at all.
    BOOL ReadObjectOf(LPCWSTR lpszKey, const CRuntimeClass* pClass, CObject*& pObject);
    virtual BOOL Read(LPCWSTR lpszKey, CObject& object);
    // Deletes the objects the list holds first.
    virtual BOOL Read(LPCWSTR lpszKey, CObList& list);
    // The value's bytes in a block allocated with new[] that the caller
    // deletes; no block for an empty value.
    virtual BOOL Read(LPCWSTR lpszKey, BYTE*& pData, UINT& nBytes);
    virtual BOOL Read(LPCWSTR lpszKey, CRect& rect);
    virtual BOOL Read(LPCWSTR lpszKey, CPoint& point);
    virtual BOOL Read(LPCWSTR lpszKey, CByteArray& array);
    virtual BOOL Read(LPCWSTR lpszKey, CWordArray& array);
    virtual BOOL Read(LPCWSTR lpszKey, CDWordArray& array);
    virtual BOOL Read(LPCWSTR lpszKey, CStringArray& array);
    virtual BOOL Read(LPCWSTR lpszKey, CStringList& list);
    // Empty (and FALSE) when the value is missing; an empty value is TRUE.
    virtual BOOL Read(LPCWSTR lpszKey, CString& strValue);
    virtual BOOL Read(LPCWSTR lpszKey, DWORD& dwValue);
    virtual BOOL Read(LPCWSTR lpszKey, int& nValue);

    // Appends the names of the current key's sub-keys; FALSE when it has none.
    virtual BOOL ReadSubKeys(CStringArray& subKeys);

    HKEY GetKey() const { return m_hKey; }
    const CString& GetKeyPath() const { return m_strKeyPath; }
    BOOL IsReadOnly() const { return m_bReadOnly; }

private:
    friend class CQMXPRegistrySP;

    // Stores what writeData puts into a storing archive as REG_BINARY.
    template <class TWrite>
    BOOL WriteArchive(LPCWSTR lpszKey, TWrite writeData);
    // Reads the value and lets readData take it from a loading archive.
    template <class TRead>
    BOOL ReadArchive(LPCWSTR lpszKey, TRead readData);
    BOOL Record(LONG lResult, DWORD dwType = 0, DWORD dwSize = 0);
    // The type and size of a value of the current key; FALSE when it is missing.
    BOOL QueryValueSize(LPCWSTR lpszValue, DWORD& dwType, DWORD& dwSize);

    // Bookkeeping of the last registry call.
    LONG m_lLastResult;
    DWORD m_dwLastType;
    DWORD m_dwLastSize;

    HKEY m_hKey;
    BOOL m_bAdmin;
    CString m_strKeyPath;
    BOOL m_bReadOnly;
};

// Owns the registry object of one load or save and deletes it at its end.
class CQMXPRegistrySP {
public:
    CQMXPRegistrySP() = default;
    ~CQMXPRegistrySP();
    CQMXPRegistrySP(const CQMXPRegistrySP&) = delete;
    CQMXPRegistrySP& operator=(const CQMXPRegistrySP&) = delete;

    // The object, made on the first call; later calls return it unchanged.
    CQMXPRegistry* Create(BOOL bAdmin, BOOL bReadOnly);

private:
    CQMXPRegistry* m_pRegistry = nullptr;
};

// "SOFTWARE\<registry key>\<profile name>\<postfix>\" of the application
// (no empty component without a registry key); a non-empty override path is
// returned as it is.
CString QMXPGetRegPath(LPCWSTR lpszPostFix, LPCWSTR lpszOverridePath = nullptr);
