#pragma once
// CTalApplication: the report editor's application object (theApp, given by
// GetTalApp). It carries the program from its start to the first report
// window: the framework's start-up, the shell command of the command line,
// the start-up action of the preference StartUpMode, the page templates
// shipped in the folder "DATA" beside the program; it answers the
// framework's questions (document types, splash, status panes, format list,
// document manager), offers the report document its services
// (CTalDocumentApp) and handles the commands that belong to no report.
#include "docking/toolbars/QMXPDropDownToolBar.h"
#include "appwindows/KWBaseApplication.h"
#include "document/TalDocumentApp.h"

#include <cstdint>
#include <memory>
#include <vector>

class CCommandLineInfo;
class CPictCollectBar;
class CTalBaseDocument;
class CTalPrefs;
class CThemeHelperST;

class CTalApplication : public CKWBaseApplication, public CTalDocumentApp {
    DECLARE_DYNAMIC(CTalApplication)
public:
    // The workspace's registry section, below the application's key.
    static const wchar_t kRegistrySection[];

    CTalApplication();
    ~CTalApplication() override;

    // The program's services installed for the lower layers, the framework's
    // start-up, the raster library, the command line and its shell command;
    // FALSE ends the program (also when the start-up failed).
    BOOL InitInstance() override;
    // The seams of the lower layers filled (TalApplicationServices.cpp): the
    // template scan, the page-template windows' refresh, the printer's page,
    // the preferences' folders.
    void InstallServices();
    // Carries out the parsed shell command; FALSE when the program is to end.
    virtual BOOL ProcessShellCommand(CCommandLineInfo& info);
    // The start without a file, by StartUpMode.
    virtual void DoStartUpAction();
    // The report wizard, modal; on Finish a new report from its content.
    // TRUE when the wizard was finished.
    virtual BOOL NewReportWithWizard();
    // A report (".otd") or report template (".otn") named on the command
    // line, in any letter case; TRUE when it was handed on.
    virtual BOOL OpenCommandLineFile(const CString& path);
    // Whether the start-up asked for the open dialog (StartUpMode 2); the
    // request is forgotten once asked for.
    bool TakeStartUpOpenFlag();

    // --- CKWAbstractApp ---
    void InitializeApp() override;
    void TerminateApp() override;
    // The raster-image library's start (its configuration files written
    // out), which nothing shown at start needs, once the start is done.
    void OnIdleHook() override;
    // The text panels' caret ticks (20 a second) are no activity that the
    // command states would be brought up to date for.
    BOOL IsIdleMessage(MSG* pMsg) override;
    void SaveSettings() override;
    void LoadSettings() override;
    void ResetToolBar(UINT toolBarId) override { ResetToolbarButtons(toolBarId); }
    // The program's tool bars show a chevron for the buttons they have no room for.
    void OnMainFrameCreated() override;
    UINT GetDefaultScriptId() override;
    void PrepareApp() override;
    void AddDocTemplates() override;
    CFrameWnd* CreateMainFrame() override;

    // --- The framework application's questions ---
    BOOL RegisterDocumentTypes(int index, CString& extension, CString& fileTypeId, CString& typeName,
                               UINT& flags) override;
    void GetSplashInfo(UINT& first, UINT& bitmapId) override;
    void PrintPreviewHook(CFrameWnd* frame, bool ending) override;
    CString GetHelpFolder() override;
    UINT GetAboutBitmapId() override { return 135; }
    void ShowImageProperties() override;
    bool UseWysiwygFonts() override;
    CQMFormatInfo* BuildFileFilters() override;
    CKWDocManager* CreateDocManager() override;
    bool GetStatusBarPane(int index, UINT& id, UINT& style, int& width) override;
    // The shell's registration of the report and template types, written at
    // every exit in place of the framework's (TalShellRegistration.cpp).
    void RegisterShellFileTypes() override;
    // The program the shell starts: the module's folder, the application's
    // executable name and ".exe".
    CString GetShellProgramPath() const;
    // The installed fonts into the application's font list, with the
    // printer's device context when there is one.
    virtual void EnumerateFonts();

    // --- Tool bars ---
    // The text tool bar's (resource 130) font and colour boxes made anew.
    virtual void ResetToolbarButtons(UINT resourceId);
    // The text tool bar's font boxes as menus (docked left or right) or as
    // combo boxes (docked top or bottom).
    virtual void ReplaceToolbarButtons(UINT toolBarId, DWORD alignment);

    // --- CTalDocumentApp ---
    CTalPrefs& GetPrefs() override { return *m_prefs; }
    CQMFormatInfo* GetFormatList() override { return CKWBaseApplication::GetFormatList(); }
    CString GetAuthorName() override;
    CString GetCompanyName() override;
    CTalBaseDocument* GetWizardDocument() override { return m_wizardDocument; }
    void ClearWizardDocument() override { m_wizardDocument = nullptr; }
    CString GetWizardText() override { return m_wizardText; }
    void GetDefaultPageSize(int32_t& width, int32_t& height) override;
    void SetDefaultPageSize(int32_t width, int32_t height) override;
    // The report's main options ("Report Properties"): true on OK, with what changed.
    bool RunExportOptionsDialog(CTalDocProperties& properties, bool& optionsChanged,
                                bool& grayscaleChanged) override;
    bool ChooseImageFiles(std::vector<CString>& files) override;
    // The gallery's selected images (none without a gallery).
    int GetSelectedGalleryImageCount() override;
    bool GetSelectedGalleryFiles(std::vector<CString>& files) override;
    CQMXPToolbarButton* FindToolbarButton(UINT commandId) override;
    void RunPrintSetup() override;
    void SetPrinterOrientation(int32_t portrait) override;
    // The report properties sheet over a report document, at the page.
    void RunDocumentProperties(const CString& caption, CWnd* parent, CTalBaseDocument& document,
                               int page) override;
    // The text properties sheet on the selection's formats; true on OK.
    bool RunTextProperties(const CString& caption, CTalTextProperties& properties) override;

    // --- The image gallery (TalApplicationGallery.cpp) ---
    // The gallery bar, made on the main window at the first call; null when
    // it cannot be made.
    CPictCollectBar* GetPictCollectBar();
    // Called by the main window as it is made, before the stored docking
    // layout is loaded: a gallery that existed at the last close is made
    // now, so that the layout brings it back to its place and state
    // (docked, floating or auto-hidden); otherwise it waits for first use.
    void RestorePictCollectBar(CFrameWnd* frame);
    // The gallery bar when it exists; never makes one.
    CPictCollectBar* FindPictCollectBar() const;
    // Deletes the gallery bar object (its window goes with the main window).
    void ReleasePictCollectBar();
    // The folder chooser of "Add Folder"; false when cancelled.
    virtual bool ChooseGalleryFolder(CString& folder);

    // --- Commands (TalApplicationCommands.cpp) ---
    afx_msg void OnFileNewFromTemplate();
    afx_msg void OnWizard();
    afx_msg void OnOpenPictureFolder();
    afx_msg void OnPreferences();
    afx_msg void OnToggleGallery();
    afx_msg void OnUpdateToggleGallery(CCmdUI* pCmdUI);
    afx_msg void OnCloseWindow();
    afx_msg void OnUpdateCloseWindow(CCmdUI* pCmdUI);
    afx_msg void OnCloseAll();
    afx_msg void OnUpdateCloseAll(CCmdUI* pCmdUI);
    afx_msg void OnAddGalleryFolder();
    afx_msg void OnCloseGalleryFolder();
    afx_msg void OnCloseAllGalleryFolders();
    afx_msg void OnGallerySelectAll();
    afx_msg void OnUpdateGalleryCommand(CCmdUI* pCmdUI);
    afx_msg void OnUpdateGallerySelectAll(CCmdUI* pCmdUI);
    afx_msg void OnToggleToolBar(UINT id);
    afx_msg void OnUpdateToggleToolBar(CCmdUI* pCmdUI);
    afx_msg void OnCustomizeToolBars();
    // The status bar shown or hidden (command 32791, no menu entry).
    afx_msg void OnToggleStatusBar();
    afx_msg void OnUpdateToggleStatusBar(CCmdUI* pCmdUI);
    afx_msg void OnPrintSetup();
    afx_msg void OnAbout();
    afx_msg void OnProductWebSite();
    afx_msg void OnLatestUpdate();
    afx_msg void OnAppExit();
    afx_msg void OnUpdateAlwaysEnabled(CCmdUI* pCmdUI);
    // Every report window's page-template window is refreshed.
    void RefreshTemplateWindows();
    // Shows the problems of the templates read at start in one dialog.
    virtual void ShowTemplateProblems(const std::vector<CString>& lines);

protected:
    DECLARE_MESSAGE_MAP()

private:
    // The tool bar a drop-down button opens.
    CQMXPDropDownToolBar m_dropDownToolBar;
    std::unique_ptr<CTalPrefs> m_prefs;
    bool m_startUpOpen = false;
    // What the start found wrong with the template files, shown once the
    // main window is up.
    std::vector<CString> m_templateProblems;
    bool m_rasterLibraryWaits = false;
    CTalBaseDocument* m_wizardDocument = nullptr;
    std::vector<std::unique_ptr<CTalBaseDocument>> m_wizardDocuments;
    CString m_wizardText;
    CPictCollectBar* MakePictCollectBar(CFrameWnd* frame);

    // The gallery's visibility before a print preview hid it.
    uint8_t m_galleryWasVisible = 0;
    CPictCollectBar* m_pictCollectBar = nullptr;
};

// The application object; null when the running one is of another class.
CTalApplication* GetTalApp();

// The visual-styles library for the program's themed buttons, bound for
// the whole run.
extern CThemeHelperST g_themeHelper;
// The program's short name, "Tallier".
extern const wchar_t g_strAppShortName[];
// The window message "IMAGE_ITEM_LOADED__REPL_IMG" that a picture-loading
// thread posts to its image panel with the id of a picture it has read.
extern const UINT g_msgImageItemLoaded;
