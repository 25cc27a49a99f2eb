#pragma once
// CKWBaseWinApplication: the Windows side of the framework's application.
// It joins the class library's application, the docking library's
// workspace (which keeps the window layout in the registry) and the
// framework's abstract application, and carries the start-up: OLE, common
// controls, the splash screen, the registry key from the string table, the
// recent files, the main frame, the document manager and templates, the
// shell's DDE open. It writes the shell registration of its document types
// and, before the layout is loaded, restores the default settings when they
// are missing, of another version, or the user holds the Control key.
#include "docking/frames/QMXPWorkspace.h"
#include "appwindows/KWAbstractApp.h"
#include "platform/classlib/WinApp.h"

// Document-type flags of the shell registration.
constexpr UINT KW_REG_ICON = 1;
constexpr UINT KW_REG_OPEN = 2;
constexpr UINT KW_REG_PRINT = 4;
constexpr UINT KW_REG_PRINTTO = 8;  // with the new-file entry

class CKWBaseWinApplication : public CWinApp, public CQMXPWorkspace, public CKWAbstractApp {
    DECLARE_DYNAMIC(CKWBaseWinApplication)
public:
    explicit CKWBaseWinApplication(LPCWSTR appName = nullptr);
    ~CKWBaseWinApplication() override;

    // The start-up sequence; FALSE stops the program.
    BOOL InitInstance() override;
    // The shell registration again, the application's end, the docking
    // library's visual manager released, then the class library's end. A
    // start that ended before its main frame and settings were made writes
    // none of it and answers kStartFailedExitCode.
    int ExitInstance() override;

    // The exit code of a start that could not make its main window (where
    // no window can be made, for one).
    static constexpr int kStartFailedExitCode = 1;

    // --- CKWAbstractApp ---
    // The Control key as it is now and the application's default script.
    void GetResetRequest(bool& controlHeld, UINT& scriptId, bool& skip) override;
    // The user's local application-data folder, else %TEMP%, with a final
    // backslash; empty when neither is known.
    CString GetDataRoot() override;

    // --- Own operations ---
    // Measures the default printer's page (refresh: the stored printer setup
    // is dropped and fetched again).
    virtual void UpdatePrinterMetrics(bool refresh);
    virtual void ShowCustomizeSheet();
    // Writes under HKEY_CLASSES_ROOT the types RegisterDocumentTypes gives.
    virtual void RegisterShellFileTypes();
    // The document type of the index (extension with its dot, file-type id,
    // type name, KW_REG_... flags); FALSE after the last. None here.
    virtual BOOL RegisterDocumentTypes(int index, CString& extension, CString& fileTypeId, CString& typeName,
                                       UINT& flags);
    // The two values of the splash screen (the second is its bitmap id); none here.
    virtual void GetSplashInfo(UINT& first, UINT& bitmapId);
    // OLE through the class library; a failure is reported and ends the start.
    virtual BOOL InitOle();

protected:
    // The workspace is about to load the saved layout: the settings reset.
    void PreLoadState() override;

private:
    // The main frame is made and the settings read: the end writes them back.
    bool m_startedUp = false;
};
