#include "platform/classlib/WinApp.h"

#include "platform/classlib/Exception.h"
#include "platform/classlib/HandleMap.h"
#include "platform/classlib/Wnd.h"

#include <cstdlib>
#include <cwchar>
#include <vector>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
CWinApp* g_pApp = nullptr;
HINSTANCE g_hInstance = nullptr;
HINSTANCE g_hInstResource = nullptr;

// The program file's name without folder and extension.
CString ExeBaseName(HINSTANCE hInstance) {
    wchar_t szPath[MAX_PATH + 1] = {0};
    ::GetModuleFileNameW(hInstance, szPath, MAX_PATH);
    CString name(szPath);
    int nSlash = name.ReverseFind(L'\\');
    if (nSlash >= 0)
        name = name.Mid(nSlash + 1);
    int nDot = name.ReverseFind(L'.');
    if (nDot > 0)
        name = name.Left(nDot);
    return name;
}
}  // namespace

CWinApp* AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetInstanceHandle() {
    return g_hInstance != nullptr ? g_hInstance : ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return g_hInstResource != nullptr ? g_hInstResource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource) { g_hInstResource = hInstResource; }

CWinApp::CWinApp(LPCWSTR lpszAppName)
    : m_hInstance(nullptr), m_lpCmdLine(nullptr), m_nCmdShow(SW_SHOWNORMAL), m_pszAppName(nullptr),
      m_pszExeName(nullptr), m_pszRegistryKey(nullptr), m_pszProfileName(nullptr), m_pDocManager(nullptr),
      m_pRecentFileList(nullptr), m_pCmdInfo(nullptr), m_hDevMode(nullptr), m_hDevNames(nullptr),
      m_nNumPreviewPages(0), m_atomApp(0), m_atomSystemTopic(0) {
    if (lpszAppName != nullptr)
        m_pszAppName = ::_wcsdup(lpszAppName);
    // The application object is the thread object of the thread that makes it.
    m_bAutoDelete = FALSE;
    m_nThreadID = ::GetCurrentThreadId();
    g_pApp = this;
    AfxGetThreadState()->m_pCurrentWinThread = this;
}

CWinApp::~CWinApp() {
    DeleteDocuments();
    std::free(const_cast<LPWSTR>(m_pszAppName));
    std::free(const_cast<LPWSTR>(m_pszExeName));
    std::free(const_cast<LPWSTR>(m_pszRegistryKey));
    std::free(const_cast<LPWSTR>(m_pszProfileName));
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::SetStringField(LPCWSTR& field, LPCWSTR value) {
    std::free(const_cast<LPWSTR>(field));
    field = value != nullptr ? ::_wcsdup(value) : nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
    if (m_pMainWnd == nullptr)
        ::PostQuitMessage(0);
    return CWinThread::Run();
}

int CWinApp::ExitInstance() {
    ExitDocuments();
    return CWinThread::ExitInstance();
}

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey) {
    SetStringField(m_pszRegistryKey, lpszRegistryKey);
    SetStringField(m_pszProfileName, m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
    const wchar_t* pText = nullptr;
    int nLength = ::LoadStringW(AfxGetResourceHandle(), nIDRegistryKey, reinterpret_cast<LPWSTR>(&pText), 0);
    SetRegistryKey(nLength > 0 ? static_cast<LPCWSTR>(CString(pText, nLength)) : L"");
}

HKEY CWinApp::GetAppRegistryKey() {
    if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr)
        return nullptr;
    HKEY hAppKey = nullptr;
    HKEY hSoftKey = nullptr;
    HKEY hCompanyKey = nullptr;
    DWORD dw;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_WRITE | KEY_READ, &hSoftKey) == ERROR_SUCCESS) {
        if (::RegCreateKeyExW(hSoftKey, m_pszRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_WRITE | KEY_READ, nullptr, &hCompanyKey, &dw) == ERROR_SUCCESS) {
            ::RegCreateKeyExW(hCompanyKey, m_pszProfileName, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_WRITE | KEY_READ, nullptr, &hAppKey, &dw);
        }
    }
    if (hSoftKey != nullptr)
        ::RegCloseKey(hSoftKey);
    if (hCompanyKey != nullptr)
        ::RegCloseKey(hCompanyKey);
    return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCWSTR lpszSection) {
    HKEY hAppKey = GetAppRegistryKey();
    if (hAppKey == nullptr)
        return nullptr;
    HKEY hSectionKey = nullptr;
    DWORD dw;
    ::RegCreateKeyExW(hAppKey, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, nullptr,
                      &hSectionKey, &dw);
    ::RegCloseKey(hAppKey);
    return hSectionKey;
}

UINT CWinApp::GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr)
        return static_cast<UINT>(nDefault);
    DWORD dwValue = 0;
    DWORD dwType = 0;
    DWORD dwCount = sizeof(DWORD);
    LONG lResult = ::RegQueryValueExW(hSecKey, lpszEntry, nullptr, &dwType, reinterpret_cast<LPBYTE>(&dwValue),
                                      &dwCount);
    ::RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS && dwType == REG_DWORD && dwCount == sizeof(DWORD))
        return static_cast<UINT>(dwValue);
    return static_cast<UINT>(nDefault);
}

BOOL CWinApp::WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr)
        return FALSE;
    DWORD dwValue = static_cast<DWORD>(nValue);
    LONG lResult = ::RegSetValueExW(hSecKey, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                                    sizeof(dwValue));
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault) {
    CString strDefault(lpszDefault);
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr)
        return strDefault;
    DWORD dwType = 0;
    DWORD dwCount = 0;
    LONG lResult = ::RegQueryValueExW(hSecKey, lpszEntry, nullptr, &dwType, nullptr, &dwCount);
    CString strValue;
    if (lResult == ERROR_SUCCESS && dwType == REG_SZ) {
        // The size from outside is in bytes and may lack the terminator.
        std::vector<wchar_t> buffer(dwCount / sizeof(wchar_t) + 1, L'\0');
        lResult = ::RegQueryValueExW(hSecKey, lpszEntry, nullptr, &dwType, reinterpret_cast<LPBYTE>(buffer.data()),
                                     &dwCount);
        if (lResult == ERROR_SUCCESS)
            strValue = buffer.data();
    }
    ::RegCloseKey(hSecKey);
    return (lResult == ERROR_SUCCESS && dwType == REG_SZ) ? strValue : strDefault;
}

BOOL CWinApp::WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue) {
    LONG lResult;
    if (lpszEntry == nullptr) {
        HKEY hAppKey = GetAppRegistryKey();
        if (hAppKey == nullptr)
            return FALSE;
        lResult = ::RegDeleteKeyW(hAppKey, lpszSection);
        ::RegCloseKey(hAppKey);
        return lResult == ERROR_SUCCESS;
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr)
        return FALSE;
    if (lpszValue == nullptr) {
        lResult = ::RegDeleteValueW(hSecKey, lpszEntry);
    } else {
        DWORD cb = static_cast<DWORD>((std::wcslen(lpszValue) + 1) * sizeof(wchar_t));
        lResult = ::RegSetValueExW(hSecKey, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue), cb);
    }
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE* ppData, UINT* pBytes) {
    *ppData = nullptr;
    *pBytes = 0;
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr)
        return FALSE;
    DWORD dwType = 0;
    DWORD dwCount = 0;
    LONG lResult = ::RegQueryValueExW(hSecKey, lpszEntry, nullptr, &dwType, nullptr, &dwCount);
    if (lResult == ERROR_SUCCESS && dwType == REG_BINARY) {
        *ppData = new BYTE[dwCount != 0 ? dwCount : 1];
        lResult = ::RegQueryValueExW(hSecKey, lpszEntry, nullptr, &dwType, *ppData, &dwCount);
    }
    ::RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS && dwType == REG_BINARY) {
        *pBytes = dwCount;
        return TRUE;
    }
    delete[] *ppData;
    *ppData = nullptr;
    return FALSE;
}

BOOL CWinApp::WriteProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE pData, UINT nBytes) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr)
        return FALSE;
    LONG lResult = ::RegSetValueExW(hSecKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nCmdShow) {
    g_hInstance = hInstance;
    if (g_hInstResource == nullptr)
        g_hInstResource = hInstance;
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr) {
        pApp->m_hInstance = hInstance;
        pApp->m_lpCmdLine = lpCmdLine;
        pApp->m_nCmdShow = nCmdShow;
        pApp->m_hThread = nullptr;
        pApp->m_nThreadID = ::GetCurrentThreadId();
        CString strExeName = ExeBaseName(hInstance);
        if (pApp->m_pszExeName == nullptr)
            pApp->m_pszExeName = ::_wcsdup(strExeName);
        if (pApp->m_pszAppName == nullptr)
            pApp->m_pszAppName = ::_wcsdup(strExeName);
    }
    AfxGetThreadState()->m_pCurrentWinThread = pApp;
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow) {
    int nReturnCode = -1;
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow))
        return nReturnCode;
    try {
        if (!pApp->InitInstance()) {
            if (pApp->m_pMainWnd != nullptr)
                pApp->m_pMainWnd->DestroyWindow();
            nReturnCode = pApp->ExitInstance();
        } else {
            nReturnCode = pApp->Run();
        }
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    AfxTermThread();
    return nReturnCode;
}
