#pragma once
// CWinApp: the application object, the thread object of the main thread. Its
// constructor makes it the current application; the entry point
// (AfxWinMain) runs InitInstance, then Run or ExitInstance.
#include "platform/classlib/Collection.h"
#include "platform/classlib/String.h"
#include "platform/classlib/WinThread.h"

#include <commdlg.h>

class CCmdUI;
class CCommandLineInfo;
class CDC;
class CDocManager;
class CDocTemplate;
class CDocument;
class CPrintDialog;
class CRecentFileList;

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

    // The document side (WinAppDocs.cpp).

    // Made by the first AddDocTemplate unless the application installed its
    // own; deleted with the application.
    CDocManager* m_pDocManager;
    // Made by LoadStdProfileSettings; written back by ExitInstance.
    CRecentFileList* m_pRecentFileList;
    // The command line being carried out while it prints ("/p", "/pt", DDE print).
    CCommandLineInfo* m_pCmdInfo;
    // The printer setup: DEVMODE and DEVNAMES global blocks, owned.
    HGLOBAL m_hDevMode;
    HGLOBAL m_hDevNames;
    // Pages shown side by side when a print preview opens (profile "Settings", "PreviewPages").
    UINT m_nNumPreviewPages;
    // The DDE service (the program's name) and topic ("system") of EnableShellOpen.
    ATOM m_atomApp;
    ATOM m_atomSystemTopic;

    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszFileName);
    virtual void AddToRecentFileList(LPCWSTR lpszPathName);
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    int GetOpenDocumentCount();
    BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                          CDocTemplate* pTemplate);

    // The recent-file list of nMaxMRU entries (none for 0) and the preview page count.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();

    // The arguments of m_lpCmdLine (the process's command line when null).
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // Carries out the command; FALSE when the program is to end now.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    // The main frame answers the shell's DDE conversation from now on.
    void EnableShellOpen();
    void RegisterShellFileTypes(BOOL bCompat = FALSE);
    void UnregisterShellFileTypes();
    // Removes the shell registration and the application's profile key.
    virtual BOOL Unregister();
    // A DDE command of the shell (the document manager's); FALSE when not understood.
    virtual BOOL OnDDECommand(LPWSTR lpszCommand);

    // The stored printer setup, fetched from the default printer when there is none.
    BOOL GetPrinterDeviceDefaults(PRINTDLGW* pPrintDlg);
    void UpdatePrinterSelection(BOOL bForceDefaults);
    // Takes the blocks over (freeing the old ones with bFreeOld).
    void SelectPrinter(HGLOBAL hDevNames, HGLOBAL hDevMode, BOOL bFreeOld = TRUE);
    // A DC of the stored printer; FALSE when there is no printer.
    BOOL CreatePrinterDC(CDC& dc);
    // Runs the print dialog on the stored setup and keeps what the user chose.
    virtual INT_PTR DoPrintDialog(CPrintDialog* pPD);

    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg void OnFilePrintSetup();
    afx_msg BOOL OnOpenRecentFile(UINT nID);
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

    // Every message box of the library comes here (nIDPrompt: its string id or 0).
    virtual int DoMessageBox(LPCWSTR lpszPrompt, UINT nType, UINT nIDPrompt);

protected:
    // The document side's part of ExitInstance: the recent files, the DDE
    // atoms and OLE; the documents are closed when the main frame closes.
    void ExitDocuments();
    // Deletes the document manager (with its templates), the recent-file
    // list and the printer setup.
    void DeleteDocuments();

    DECLARE_MESSAGE_MAP()

private:
    void SetStringField(LPCWSTR& field, LPCWSTR value);
};

// A message box owned by the active top-level window, captioned with the
// application's name, through CWinApp::DoMessageBox when there is an application.
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);

// OLE for the calling thread (OleInitialize); undone by the application's ExitInstance.
BOOL AfxOleInit();
void AfxOleTerm();
// OLE was started by AfxOleInit and not undone yet.
BOOL AfxOleIsInitialized();

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
// Records the program's instance, command line and show command in the
// library and the application object (the entry point calls it first).
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
