#pragma once
// CKWBaseApplication: the framework's application object, the base of the
// program's. It adds to the Windows application the tool bar manager, the
// status bar with the panes the application describes, the framework's
// document manager, the program's data folder, its version, the opening of
// web links and the hooks through which the application fills in its part
// (document types, splash, print preview, help, About box).
#include "controls/KWLinkOpener.h"
#include "controls/KWToolBarManager.h"
#include "appwindows/KWBaseWinApplication.h"

#include <cstdint>

class CCmdUI;

// The number of a version text "major.minor.build.revision": major, then
// minor and build joined, then revision: (major * 100 + joined) * 1000 +
// revision; an empty or missing major piece counts as 1.
int32_t KWVersionNumberFromText(const wchar_t* text);

// A web address as the shell opens it: "http://" put before a text that
// begins with neither "http://" nor "https://".
CString KWCompleteLink(const CString& text);

class CKWBaseApplication : public CKWBaseWinApplication, public IKWLinkOpener {
    DECLARE_DYNAMIC(CKWBaseApplication)
public:
    // Measures the default printer and notes the start time.
    explicit CKWBaseApplication(LPCWSTR appName = nullptr);
    // The identity of this running program in the drags it starts, which
    // its drop targets compare.
    static uint32_t GetInstanceId() { return ::GetCurrentProcessId(); }
    // The window that receives the application's messages (its text); none
    // by default.
    void SetMessageSink(HWND sink) { m_messageSink = sink; }
    HWND GetMessageSink() const { return m_messageSink; }
    // Hands the text to the message sink when there is one; nothing otherwise.
    void ShowMessage(const wchar_t* text, int value);
    // Deletes the status bar and the format list.
    ~CKWBaseApplication() override;

    // --- The class library ---
    // The idle hook, then the class library's idle processing.
    BOOL OnIdle(LONG lCount) override;

    // --- CKWAbstractApp ---
    // The settings, the document manager (installed as the class library's),
    // then the document templates.
    void InitializeApp() override;
    // The application's settings are saved.
    void TerminateApp() override;
    // The first hook, the tool bars, the second hook.
    void OnMainFrameCreate(CFrameWnd* frame) override;
    CKWToolBarManager* GetToolBarManager() override { return &m_toolBarManager; }
    // The bar with the panes GetStatusBarPane describes, in the frame.
    CKWStatusBar* CreateStatusBar(CWnd* parent) override;
    CKWStatusBar* GetStatusBar() override { return m_statusBar; }
    DWORD GetStartTickCount() override { return m_startTickCount; }
    // BuildFileFilters' list, asked for once and kept.
    CQMFormatInfo* GetFormatList() override;
    CKWDocManager* GetDocManager() override;
    CKWDocument* GetFirstDocument() override;
    CKWDocument* GetNextDocument() override;
    // Whether the stored tool-bar settings have the program's major version.
    void GetSettingsPresent(bool& present) override;
    void PassKeyStackToStatusBar() override;

    // --- Own operations ---
    // The data root, the maker's and the product's folders, each with a
    // final backslash; with create, each level is made when missing.
    virtual CString GetDataFolder(bool create);
    // Derived once from GetVersionString and kept.
    virtual int32_t GetVersionNumber();
    // The program file's product version ("2.1", or "2.1.3.4" when the low
    // half is not 0), read once and kept.
    virtual CString GetVersionString();
    // Opens KWCompleteLink of the text with the shell's "open" verb.
    void OpenLink(const CString& text) override;
    // The application's list of file formats; none here.
    virtual CQMFormatInfo* BuildFileFilters() { return nullptr; }
    virtual CKWDocManager* CreateDocManager();
    // Pane 0 gets first, the next panes the further texts up to a null.
    virtual void SetStatusBarTexts(const wchar_t* first, ...);
    virtual bool IsStatusBarVisible();
    virtual void ToggleStatusBar();
    // Before the tool bars are made in the new main frame, and after.
    virtual void OnMainFrameCreating(CFrameWnd* frame) {}
    virtual void OnMainFrameCreated() {}
    // The status-bar pane of the index (command id, style, width); false
    // after the last. None here.
    virtual bool GetStatusBarPane(int index, UINT& id, UINT& style, int& width) { return false; }
    // The bitmap resource of the About box's credits; none here.
    virtual UINT GetAboutBitmapId() { return 0; }
    // Print preview of the frame begins (ending false) or ends (true): the
    // framework's step and the application's hook; then, after the end,
    // the last step. Nothing here.
    virtual void OnPrintPreviewFrame(CFrameWnd* frame, bool ending) {}
    virtual void PrintPreviewHook(CFrameWnd* frame, bool ending) {}
    virtual void OnPrintPreviewEnded() {}
    // The folder of the help file, with a final backslash: the program's.
    virtual CString GetHelpFolder();
    // The properties of the active document's current image; nothing here.
    virtual void ShowImageProperties() {}
    // Whether text is laid out with the printer's font metrics.
    virtual bool UseWysiwygFonts() { return false; }

    // The whole help file through the shell.
    afx_msg void OnHelp();
    afx_msg void OnUpdateHelp(CCmdUI* pCmdUI);

    // The most panes a status bar gets.
    static constexpr int kMaxStatusPanes = 32;

protected:
    CKWToolBarManager m_toolBarManager;
    CKWStatusBar* m_statusBar = nullptr;
    DWORD m_startTickCount;
    CQMFormatInfo* m_formatList = nullptr;
    bool m_formatListAsked = false;
    int32_t m_versionNumber = -1;
    CString m_versionString;
    HWND m_messageSink = nullptr;

    DECLARE_MESSAGE_MAP()
};
