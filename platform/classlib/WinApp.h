#pragma once
// CWinApp: the application object, the thread object of the main thread. Its
// constructor makes it the current application; the entry point
// (AfxWinMain) runs InitInstance, then Run or ExitInstance.
#include "platform/classlib/String.h"
#include "platform/classlib/WinThread.h"

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCWSTR lpszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance;
    LPWSTR m_lpCmdLine;
    int m_nCmdShow;
    // These strings are allocated with malloc (_wcsdup) and freed by the
    // application; replace them the same way.
    LPCWSTR m_pszAppName;
    LPCWSTR m_pszExeName;
    LPCWSTR m_pszRegistryKey;
    LPCWSTR m_pszProfileName;

    BOOL InitInstance() override;
    // Quits at once when InitInstance made no main window.
    int Run() override;
    int ExitInstance() override;

    // Settings live under HKEY_CURRENT_USER\Software\<key>\<profile name>;
    // setting the key makes the profile name the application name.
    void SetRegistryKey(LPCWSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    // Opened (created when missing) for reading and writing; the caller closes it.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCWSTR lpszSection);

    UINT GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue);
    CString GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault = nullptr);
    // A null entry deletes the section, a null value the entry.
    BOOL WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue);
    // The data is allocated with new[]; the caller deletes it.
    BOOL GetProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE pData, UINT nBytes);

private:
    void SetStringField(LPCWSTR& field, LPCWSTR value);
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
// Records the program's instance, command line and show command in the
// library and the application object (the entry point calls it first).
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
