#pragma once
// The application of the application-base tests: it notes the operations the
// framework calls, in order; its main frame, one report template of a
// framework document (three pages, preview from page 2) in a split frame of
// the scrolled test view and one pane; and the fixture that starts it.
#include "KWAppTestResources.h"
#include "KWWindowsTestSupport.h"

#include "appwindows/KWBaseApplication.h"
#include "appwindows/KWMainFrame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace kwapp {

class CAppTestDoc : public CKWDocument {
    DECLARE_DYNCREATE(CAppTestDoc)
public:
    CAppTestDoc() { ++s_live; }
    ~CAppTestDoc() override { --s_live; }
    void CreatePrintIFace() override;
    // Notes the path; no file is read.
    BOOL OnOpenDocument(LPCWSTR path) override;
    static int s_live;
    static std::vector<std::wstring> s_opened;
};

// The scrolled test view that prints its page number in a frame.
class CAppTestView : public kwwin::CTestSplitView {
    DECLARE_DYNCREATE(CAppTestView)
public:
    void PrintPage(IKWGraphics* graphics, int page) override;
};

// The view and one pane, side by side.
class CAppTestFrame : public CKWSplitFrame {
    DECLARE_DYNCREATE(CAppTestFrame)
public:
    void BuildPanes();
    kwwin::CTestPane pane;
};

class CAppTestApp : public CKWBaseApplication {
public:
    CAppTestApp() : CKWBaseApplication(L"KWAppTests") {}

    void SaveSettings() override { Note(L"SaveSettings"); }
    void LoadSettings() override { Note(L"LoadSettings"); }
    void ResetToolBar(UINT id) override { Note(L"ResetToolBar " + std::to_wstring(id)); }
    UINT GetDefaultScriptId() override { return ::GetSystemMetrics(SM_CXSCREEN) > 800 ? 1002 : 1001; }
    void PrepareApp() override;
    void AddDocTemplates() override;
    CFrameWnd* CreateMainFrame() override;
    CKWDocManager* CreateDocManager() override;
    void GetSplashInfo(UINT& first, UINT& bitmapId) override;
    void OnMainFrameCreating(CFrameWnd*) override { Note(L"OnMainFrameCreating"); }
    void OnMainFrameCreated() override { Note(L"OnMainFrameCreated"); }
    // When the splash screen was asked for (it shows right after).
    DWORD splashAskedAt = 0;
    void GetResetRequest(bool& controlHeld, UINT& scriptId, bool& skip) override;
    bool GetStatusBarPane(int index, UINT& id, UINT& style, int& width) override;
    BOOL RegisterDocumentTypes(int index, CString& extension, CString& typeId, CString& typeName,
                               UINT& flags) override;
    UINT GetAboutBitmapId() override { return 135; }
    void OnPrintPreviewFrame(CFrameWnd*, bool ending) override { Note(ending ? L"Frame end" : L"Frame begin"); }
    void PrintPreviewHook(CFrameWnd*, bool ending) override { Note(ending ? L"Hook end" : L"Hook begin"); }
    void OnPrintPreviewEnded() override { Note(L"Preview ended"); }
    BOOL OnDDECommand(LPWSTR command) override;
    int DoMessageBox(LPCWSTR prompt, UINT, UINT) override;

    // The version text as if the program file had another one.
    void SetVersionText(const wchar_t* text) { m_versionString = text; }
    CKWMainFrame* MainFrame() { return static_cast<CKWMainFrame*>(m_pMainWnd); }
    int Count(const std::wstring& call) const;

    std::vector<std::wstring> calls;
    std::vector<std::wstring> ddeCommands;
    std::vector<std::wstring> messages;

private:
    void Note(const std::wstring& call) { calls.push_back(call); }
};

// The settings key of the program below HKEY_CURRENT_USER; the tests start
// and end without it.
extern const wchar_t kProgramKey[];
// The workspace's key the test application sets.
extern const wchar_t kWorkspaceKey[];
// Deletes a key tree below HKEY_CLASSES_ROOT or HKEY_CURRENT_USER.
void DeleteKey(HKEY root, const wchar_t* path);
// Writes the settings a previous run left, so that no reset runs.
void WriteCurrentSettings();

// Starts the test application (AfxWinInit, InitInstance) with settings in
// place; ends it and removes its registry keys afterwards.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts a new application; false when InitInstance failed.
    bool Start();
    // Closes the main window and ends the application.
    void Stop();
    // File New: the new document's frame with its panes built.
    CAppTestFrame* NewDocument();

    std::unique_ptr<CAppTestApp> app;
};

}  // namespace kwapp
