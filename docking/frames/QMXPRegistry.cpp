#include "docking/frames/QMXPRegistry.h"

#include "platform/classlib/Archive.h"
#include "platform/classlib/ByteArray.h"
#include "platform/classlib/DWordArray.h"
#include "platform/classlib/MemFile.h"
#include "platform/classlib/ObList.h"
#include "platform/classlib/StringArray.h"
#include "platform/classlib/StringList.h"
#include "platform/classlib/WinApp.h"
#include "platform/classlib/WordArray.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

IMPLEMENT_DYNCREATE(CQMXPRegistry, CObject)

namespace {

// Query value, enumerate sub-keys, notify: enough to read.
constexpr REGSAM kReadOnlyAccess = 0x19;
constexpr UINT kArchiveBuffer = 4096;
constexpr UINT kNameBuffer = 1024;

HKEY RootKey(BOOL bAdmin) { return bAdmin ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

bool IsRootKey(HKEY hKey) { return hKey == HKEY_CURRENT_USER || hKey == HKEY_LOCAL_MACHINE; }

// The path without one trailing backslash.
CString TrimmedPath(LPCWSTR lpszPath) {
    CString strPath = lpszPath != nullptr ? lpszPath : L"";
    if (!strPath.IsEmpty() && strPath[strPath.GetLength() - 1] == L'\\')
        strPath = strPath.Left(strPath.GetLength() - 1);
    return strPath;
}

}  // namespace

CQMXPRegistry::CQMXPRegistry(BOOL bAdmin, BOOL bReadOnly)
    : m_lLastResult(0),
      m_dwLastType(0),
      m_dwLastSize(0),
      m_hKey(RootKey(bAdmin)),
      m_bAdmin(bAdmin),
      m_bReadOnly(bReadOnly) {}

CQMXPRegistry::~CQMXPRegistry() { Close(); }

BOOL CQMXPRegistry::Record(LONG lResult, DWORD dwType, DWORD dwSize) {
    m_lLastResult = lResult;
    m_dwLastType = dwType;
    m_dwLastSize = dwSize;
    return lResult == ERROR_SUCCESS;
}

BOOL CQMXPRegistry::ReadKeyValues(CStringArray& values) {
    wchar_t szName[kNameBuffer];
    DWORD dwIndex = 0;
    for (;; ++dwIndex) {
        DWORD cchName = kNameBuffer;
        if (::RegEnumValueW(m_hKey, dwIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        values.Add(szName);
    }
    return dwIndex > 0;
}

BOOL CQMXPRegistry::VerifyKey(LPCWSTR lpszPath) {
    HKEY hKey = nullptr;
    if (!Record(::RegOpenKeyExW(m_hKey, TrimmedPath(lpszPath), 0, m_bReadOnly ? kReadOnlyAccess : KEY_ALL_ACCESS,
                                &hKey)))
        return FALSE;
    ::RegCloseKey(hKey);
    return TRUE;
}

BOOL CQMXPRegistry::QueryValueSize(LPCWSTR lpszValue, DWORD& dwType, DWORD& dwSize) {
    return Record(::RegQueryValueExW(m_hKey, lpszValue, nullptr, &dwType, nullptr, &dwSize), dwType, dwSize);
}

BOOL CQMXPRegistry::VerifyValue(LPCWSTR lpszValue) {
    DWORD dwType = 0;
    DWORD dwSize = 0;
    return QueryValueSize(lpszValue, dwType, dwSize);
}

BOOL CQMXPRegistry::CreateKey(LPCWSTR lpszPath) {
    if (m_bReadOnly)
        return FALSE;
    HKEY hKey = nullptr;
    if (!Record(::RegCreateKeyExW(m_hKey, TrimmedPath(lpszPath), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &hKey, nullptr)))
        return FALSE;
    Close();
    m_hKey = hKey;
    return TRUE;
}

BOOL CQMXPRegistry::Open(LPCWSTR lpszPath) {
    m_strKeyPath = lpszPath != nullptr ? lpszPath : L"";
    HKEY hKey = nullptr;
    if (!Record(::RegOpenKeyExW(m_hKey, TrimmedPath(lpszPath), 0, m_bReadOnly ? kReadOnlyAccess : KEY_ALL_ACCESS,
                                &hKey)))
        return FALSE;
    Close();
    m_hKey = hKey;
    return TRUE;
}

void CQMXPRegistry::Close() {
    if (m_hKey != nullptr && !IsRootKey(m_hKey))
        ::RegCloseKey(m_hKey);
    m_hKey = nullptr;
}

BOOL CQMXPRegistry::DeleteValue(LPCWSTR lpszValue) { return Record(::RegDeleteValueW(m_hKey, lpszValue)); }

BOOL CQMXPRegistry::DeleteKey(LPCWSTR lpszPath, BOOL bAdmin) {
    if (m_bReadOnly)
        return FALSE;
    CString strPath = TrimmedPath(lpszPath);
    if (strPath.IsEmpty())
        return FALSE;
    HKEY hRoot = RootKey(bAdmin);
    HKEY hKey = nullptr;
    if (!Record(::RegOpenKeyExW(hRoot, strPath, 0, KEY_ALL_ACCESS, &hKey)))
        return FALSE;
    for (;;) {
        DWORD dwSubKeys = 0;
        DWORD cchMaxSubKey = 0;
        if (::RegQueryInfoKeyW(hKey, nullptr, nullptr, nullptr, &dwSubKeys, &cchMaxSubKey, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            ::RegCloseKey(hKey);
            return FALSE;
        }
        if (dwSubKeys == 0)
            break;
        // Always the first sub-key: the one deleted before is gone.
        std::unique_ptr<wchar_t[]> name(new wchar_t[cchMaxSubKey + 1]);
        if (::RegEnumKeyW(hKey, 0, name.get(), cchMaxSubKey + 1) != ERROR_SUCCESS ||
            !DeleteKey(strPath + L"\\" + name.get(), bAdmin)) {
            ::RegCloseKey(hKey);
            return FALSE;
        }
    }
    ::RegCloseKey(hKey);
    return Record(::RegDeleteKeyW(hRoot, strPath));
}

template <class TWrite>
BOOL CQMXPRegistry::WriteArchive(LPCWSTR lpszKey, TWrite writeData) {
    if (m_bReadOnly)
        return FALSE;
    BYTE* pData = nullptr;
    UINT nBytes = 0;
    try {
        CMemFile file(1024);
        CArchive ar(&file, CArchive::store, kArchiveBuffer);
        writeData(ar);
        ar.Close();
        nBytes = static_cast<UINT>(file.GetLength());
        pData = file.Detach();
    } catch (CException* pException) {
        pException->Delete();
        return FALSE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    BOOL bResult = Write(lpszKey, pData, nBytes);
    free(pData);
    return bResult;
}

template <class TRead>
BOOL CQMXPRegistry::ReadArchive(LPCWSTR lpszKey, TRead readData) {
    BYTE* pData = nullptr;
    UINT nBytes = 0;
    if (!Read(lpszKey, pData, nBytes))
        return FALSE;
    std::unique_ptr<BYTE[]> data(pData);
    try {
        CMemFile file(data.get(), nBytes);
        CArchive ar(&file, CArchive::load, kArchiveBuffer);
        readData(ar, nBytes);
        ar.Close();
    } catch (CException* pException) {
        pException->Delete();
        return FALSE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return TRUE;
}

BOOL CQMXPRegistry::WriteArchived(LPCWSTR lpszKey, const std::function<void(CArchive&)>& writeData) {
    return WriteArchive(lpszKey, writeData);
}

BOOL CQMXPRegistry::ReadArchived(LPCWSTR lpszKey, const std::function<void(CArchive&)>& readData) {
    return ReadArchive(lpszKey, [&readData](CArchive& ar, UINT) { readData(ar); });
}

BOOL CQMXPRegistry::Write(LPCWSTR lpszKey, CObject* pObject) {
    return WriteArchive(lpszKey, [pObject](CArchive& ar) { ar.WriteObject(pObject); });
}

BOOL CQMXPRegistry::Write(LPCWSTR lpszKey, CObject& object) {
    return WriteArchive(lpszKey, [&object](CArchive& ar) { object.Serialize(ar); });
}

BOOL CQMXPRegistry::Write(LPCWSTR lpszKey, CStringList& list) { return Write(lpszKey, static_cast<CObject&>(list)); }

BOOL CQMXPRegistry::Write(LPCWSTR lpszKey, const BYTE* pData, UINT nBytes) {
    if (m_bReadOnly)
        return FALSE;
    return Record(::RegSetValueExW(m_hKey, lpszKey, 0, REG_BINARY, pData, nBytes), REG_BINARY, nBytes);
}

BOOL CQMXPRegistry::Write(LPCWSTR lpszKey, const CPoint& point) {
    CDWordArray array;
    array.SetSize(5);
    array[0] = static_cast<DWORD>(point.x);
    array[1] = static_cast<DWORD>(point.y);
    return Write(lpszKey, array);
}

BOOL CQMXPRegistry::Write(LPCWSTR lpszKey, const CRect& rect) {
    return WriteArchive(lpszKey, [&rect](CArchive& ar) {
        const int32_t edges[4] = {rect.left, rect.top, rect.right, rect.bottom};
        ar.Write(edges, sizeof(edges));
    });
}

BOOL CQMXPRegistry::Write(LPCWSTR lpszKey, CWordArray& array) {
    return WriteArchive(lpszKey, [&array](CArchive& ar) {
        ar << static_cast<DWORD>(array.GetSize());
        for (INT_PTR i = 0; i < array.GetSize(); ++i)
            ar << array[i];
    });
}

BOOL CQMXPRegistry::Write(LPCWSTR lpszKey, CObList& list) { return Write(lpszKey, static_cast<CObject&>(list)); }

BOOL CQMXPRegistry::Write(LPCWSTR lpszKey, CByteArray& array) { return Write(lpszKey, static_cast<CObject&>(array)); }

BOOL CQMXPRegistry::Write(LPCWSTR lpszKey, CDWordArray& array) {
    return Write(lpszKey, static_cast<CObject&>(array));
}

BOOL CQMXPRegistry::Write(LPCWSTR lpszKey, CStringArray& array) {
    return Write(lpszKey, static_cast<CObject&>(array));
}

BOOL CQMXPRegistry::Write(LPCWSTR lpszKey, LPCWSTR lpszValue) {
    if (m_bReadOnly)
        return FALSE;
    if (lpszValue == nullptr)
        lpszValue = L"";
    const DWORD dwSize = static_cast<DWORD>((wcslen(lpszValue) + 1) * sizeof(wchar_t));
    return Record(::RegSetValueExW(m_hKey, lpszKey, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue), dwSize),
                  REG_SZ, dwSize);
}

BOOL CQMXPRegistry::Write(LPCWSTR lpszKey, DWORD dwValue) {
    if (m_bReadOnly)
        return FALSE;
    return Record(::RegSetValueExW(m_hKey, lpszKey, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                                   sizeof(dwValue)),
                  REG_DWORD, sizeof(dwValue));
}

BOOL CQMXPRegistry::Write(LPCWSTR lpszKey, int nValue) { return Write(lpszKey, static_cast<DWORD>(nValue)); }

BOOL CQMXPRegistry::Read(LPCWSTR lpszKey, CObject*& pObject) {
    CObject* pRead = nullptr;
    if (!ReadArchive(lpszKey, [&pRead](CArchive& ar, UINT) { pRead = ar.ReadObject(nullptr); }))
        return FALSE;
    pObject = pRead;
    return TRUE;
}

BOOL CQMXPRegistry::ReadObjectOf(LPCWSTR lpszKey, const CRuntimeClass* pClass, CObject*& pObject) {
    CObject* pRead = nullptr;
    if (!ReadArchive(lpszKey, [&pRead, pClass](CArchive& ar, UINT) { pRead = ar.ReadObject(pClass); }))
        return FALSE;
    pObject = pRead;
    return pRead != nullptr;
}

BOOL CQMXPRegistry::Read(LPCWSTR lpszKey, CObject& object) {
    return ReadArchive(lpszKey, [&object](CArchive& ar, UINT) { object.Serialize(ar); });
}

BOOL CQMXPRegistry::Read(LPCWSTR lpszKey, CObList& list) {
    while (!list.IsEmpty())
        delete list.RemoveHead();
    return Read(lpszKey, static_cast<CObject&>(list));
}

BOOL CQMXPRegistry::Read(LPCWSTR lpszKey, BYTE*& pData, UINT& nBytes) {
    pData = nullptr;
    nBytes = 0;
    DWORD dwType = 0;
    DWORD dwSize = 0;
    if (!QueryValueSize(lpszKey, dwType, dwSize))
        return FALSE;
    if (dwSize == 0)
        return TRUE;
    BYTE* pBlock = new (std::nothrow) BYTE[dwSize];
    if (pBlock == nullptr)
        return FALSE;
    if (!Record(::RegQueryValueExW(m_hKey, lpszKey, nullptr, &dwType, pBlock, &dwSize), dwType, dwSize)) {
        delete[] pBlock;
        return FALSE;
    }
    pData = pBlock;
    nBytes = dwSize;
    return TRUE;
}

BOOL CQMXPRegistry::Read(LPCWSTR lpszKey, CRect& rect) {
    return ReadArchive(lpszKey, [&rect](CArchive& ar, UINT) {
        int32_t edges[4];
        if (ar.Read(edges, sizeof(edges)) != sizeof(edges))
            AfxThrowArchiveException(CArchiveException::endOfFile);
        rect.SetRect(edges[0], edges[1], edges[2], edges[3]);
    });
}

BOOL CQMXPRegistry::Read(LPCWSTR lpszKey, CPoint& point) {
    DWORD dwType = 0;
    if (::RegQueryValueExW(m_hKey, lpszKey, nullptr, &dwType, nullptr, nullptr) != ERROR_SUCCESS ||
        dwType != REG_BINARY)
        return FALSE;
    CDWordArray array;
    if (!Read(lpszKey, array) || array.GetSize() < 2)
        return FALSE;
    point.x = static_cast<LONG>(array[0]);
    point.y = static_cast<LONG>(array[1]);
    return TRUE;
}

BOOL CQMXPRegistry::Read(LPCWSTR lpszKey, CByteArray& array) {
    array.RemoveAll();
    return Read(lpszKey, static_cast<CObject&>(array));
}

BOOL CQMXPRegistry::Read(LPCWSTR lpszKey, CWordArray& array) {
    array.RemoveAll();
    return ReadArchive(lpszKey, [&array](CArchive& ar, UINT nBytes) {
        DWORD dwCount = 0;
        ar >> dwCount;
        // The stored count is trusted only as far as the value holds elements.
        if (dwCount > (nBytes - sizeof(DWORD)) / sizeof(WORD))
            AfxThrowArchiveException(CArchiveException::endOfFile);
        array.SetSize(static_cast<INT_PTR>(dwCount));
        for (DWORD i = 0; i < dwCount; ++i)
            ar >> array[static_cast<INT_PTR>(i)];
    });
}

BOOL CQMXPRegistry::Read(LPCWSTR lpszKey, CDWordArray& array) {
    array.RemoveAll();
    return Read(lpszKey, static_cast<CObject&>(array));
}

BOOL CQMXPRegistry::Read(LPCWSTR lpszKey, CStringArray& array) {
    array.RemoveAll();
    return Read(lpszKey, static_cast<CObject&>(array));
}

BOOL CQMXPRegistry::Read(LPCWSTR lpszKey, CStringList& list) {
    list.RemoveAll();
    return Read(lpszKey, static_cast<CObject&>(list));
}

BOOL CQMXPRegistry::Read(LPCWSTR lpszKey, CString& strValue) {
    strValue.Empty();
    BYTE* pData = nullptr;
    UINT nBytes = 0;
    if (!Read(lpszKey, pData, nBytes))
        return FALSE;
    const std::unique_ptr<BYTE[]> data(pData);
    // Zero bytes past the data end the text even when the stored value has no
    // terminator or an odd size (three, so that the last character read is whole).
    std::vector<BYTE> text(static_cast<size_t>(nBytes) + 3, 0);
    if (nBytes > 0)
        memcpy(text.data(), pData, nBytes);
    strValue = reinterpret_cast<const wchar_t*>(text.data());
    return TRUE;
}

BOOL CQMXPRegistry::Read(LPCWSTR lpszKey, DWORD& dwValue) {
    DWORD dwType = 0;
    DWORD dwRead = 0;
    DWORD dwSize = sizeof(dwRead);
    if (!Record(::RegQueryValueExW(m_hKey, lpszKey, nullptr, &dwType, reinterpret_cast<BYTE*>(&dwRead), &dwSize),
                dwType, dwSize))
        return FALSE;
    dwValue = dwRead;
    return TRUE;
}

BOOL CQMXPRegistry::Read(LPCWSTR lpszKey, int& nValue) {
    DWORD dwValue = 0;
    if (!Read(lpszKey, dwValue))
        return FALSE;
    nValue = static_cast<int>(dwValue);
    return TRUE;
}

BOOL CQMXPRegistry::ReadSubKeys(CStringArray& subKeys) {
    wchar_t szName[kNameBuffer];
    for (DWORD dwIndex = 0;; ++dwIndex) {
        DWORD cchName = kNameBuffer;
        LONG lResult = ::RegEnumKeyExW(m_hKey, dwIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr);
        if (lResult == ERROR_NO_MORE_ITEMS)
            return dwIndex > 0;
        if (lResult != ERROR_SUCCESS)
            return TRUE;
        subKeys.Add(szName);
    }
}

CQMXPRegistrySP::~CQMXPRegistrySP() { delete m_pRegistry; }

CQMXPRegistry* CQMXPRegistrySP::Create(BOOL bAdmin, BOOL bReadOnly) {
    if (m_pRegistry == nullptr)
        m_pRegistry = new CQMXPRegistry(bAdmin, bReadOnly);
    return m_pRegistry;
}

CString QMXPGetRegPath(LPCWSTR lpszPostFix, LPCWSTR lpszOverridePath) {
    if (lpszOverridePath != nullptr && *lpszOverridePath != L'\0')
        return lpszOverridePath;
    CString strPath = L"SOFTWARE\\";
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr) {
        if (pApp->m_pszRegistryKey != nullptr && *pApp->m_pszRegistryKey != L'\0')
            strPath = strPath + pApp->m_pszRegistryKey + L"\\";
        if (pApp->m_pszProfileName != nullptr)
            strPath += pApp->m_pszProfileName;
    }
    strPath += L"\\";
    if (lpszPostFix != nullptr)
        strPath += lpszPostFix;
    return strPath + L"\\";
}
