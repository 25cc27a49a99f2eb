#pragma once
// The test application of the report-document tests: a class-library
// application that offers the document's application services, one
// multi-document template over a recording report document, a frame whose
// panes are fakes that log every call and keep an in-memory section tree,
// and a timer that answers the modal dialogs the document runs.
#include "appwindows/KWView.h"
#include "controls/KWDBItemUserData.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "framework/QMFormatInfo.h"
#include "document/TalDocument.h"
#include "document/TalDocumentApp.h"
#include "document/TalDocumentViews.h"
#include "model/TalPrefs.h"
#include "document/TalSectionTree.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/WinApp.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/model/ModelLeakCheck.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace taldoc {

// Resource id of the report template (TalDocumentTests.rc).
const UINT kReportTemplateId = 19501;

// The section tree, in memory. Every change is logged by the section name of
// the item (its text) so that a test reads what the user would see happen.
class CFakeSectionTree : public CTalSectionTree {
public:
    explicit CFakeSectionTree(std::vector<std::string>& log) : m_log(log) {}
    ~CFakeSectionTree() override;

    HTREEITEM InsertItem(const wchar_t* text, HTREEITEM parent, HTREEITEM after) override;
    void DeleteItem(HTREEITEM item) override;
    void DeleteAllItems() override;
    HTREEITEM GetRootItem() override;
    HTREEITEM GetNextChild(HTREEITEM item, HTREEITEM previous) override;
    CKWDBItemUserData* GetItemData(HTREEITEM item) override;
    void SetItemData(HTREEITEM item, CKWDBItemUserData* data) override;
    void SetItemText(HTREEITEM item, const wchar_t* text) override;
    void SelectItem(HTREEITEM item) override;
    void Expand(HTREEITEM item, int code) override;
    void EnsureVisible(HTREEITEM item) override;
    void EditLabel(HTREEITEM item) override;
    void EndEditLabel(bool cancel) override;
    bool IsEditingLabel() override { return m_editing != nullptr; }
    void SetFocus() override {}
    // The label edit box: its clipboard tests answer whether a label is edited.
    bool IsLabelModified() override { return m_editing && labelModified; }
    bool CanCut() override { return IsEditingLabel(); }
    bool CanCopy() override { return IsEditingLabel(); }
    bool CanPaste() override { return IsEditingLabel(); }
    bool CanDelete() override { return IsEditingLabel(); }
    bool CutLabel() override { return LabelCommand("cut"); }
    bool CopyLabel() override { return LabelCommand("copy"); }
    bool PasteLabel() override { return LabelCommand("paste"); }
    bool DeleteLabel() override { return LabelCommand("delete"); }
    HTREEITEM GetEditedItem() const { return m_editing; }
    bool labelModified = false;

    // The tree as text: "Name(child,child(grandchild))", expanded items marked with "+".
    std::string Describe() const;
    std::string Name(HTREEITEM item) const;
    HTREEITEM GetSelected() const { return m_selected; }
    bool IsExpanded(HTREEITEM item) const;
    // The document told of selections (null: none).
    CTalDocument* document = nullptr;

private:
    struct Item {
        HTREEITEM parent = nullptr;
        std::vector<HTREEITEM> children;
        std::string text;
        std::unique_ptr<CKWDBItemUserData> data;
        bool expanded = false;
    };
    void Log(const std::string& line) { m_log.push_back(line); }
    bool LabelCommand(const char* name);
    std::vector<HTREEITEM>& ChildrenOf(HTREEITEM parent);
    void Forget(HTREEITEM item);
    void DescribeItem(std::string& out, HTREEITEM item) const;

    std::vector<std::string>& m_log;
    std::map<HTREEITEM, Item> m_items;
    std::vector<HTREEITEM> m_roots;
    uintptr_t m_nextHandle = 0x100;
    HTREEITEM m_selected = nullptr;
    HTREEITEM m_editing = nullptr;
};

// The panes of a report frame; each call is one line of the log.
class CFakeDocumentViews : public CTalDocumentViews {
public:
    CFakeDocumentViews() : tree(log) {}

    CTalSectionTree* GetSectionTree() override { return &tree; }
    void EndImageTitleEdit(bool cancel) override { Log(std::string("end title edit ") + (cancel ? "cancel" : "keep")); }
    void LoadSectionImages() override { Log("load images"); }
    void SelectImages(const CTalPositionList& positions) override
    {
        Log("select images " + Positions(positions));
        selectedImages = positions;
        currentImage = positions.empty() ? -1 : positions.front();
    }
    void UpdateImages(const CTalPositionList& positions) override { Log("update images " + Positions(positions)); }
    void UpdateImageTitle(int position, const CString& title, bool startEdit) override;
    void UpdateDefaultGrayscaleImages(const CTalPictureList& pictures) override
    {
        Log("grayscale images " + std::to_string(pictures.size()));
    }
    void UpdateTemplatesForSection(CTalSection* section) override { Log("templates " + NameOf(section)); }
    void FocusTemplates() override { Log("focus templates"); }
    void RefreshTemplatesWnd() override { Log("refresh templates"); }
    void LoadSectionText(CTalSection* section) override { Log("load text " + NameOf(section)); }
    void UpdateDefaultFont() override { Log("default font"); }
    void LeaveTextEditing() override { Log("leave text editing"); }
    void RefreshText() override { Log("refresh text"); }
    void SelectText(int32_t first, int32_t last) override
    {
        Log("select text " + std::to_string(first) + " " + std::to_string(last));
    }
    CKWTextPanel* GetTextPanel() override { return nullptr; }

    // The frame and the image panel (TalDocumentCommandSupport.cpp): the
    // panel keeps its mode, current image and selection; the title edit box
    // is there while editingTitle is set.
    int GetActivePane() override { return activePane; }
    HWND GetFrameWindow() override { return nullptr; }
    void FocusFrame() override { Log("focus frame"); }
    void InsertImages(const CTalPositionList& positions) override
    {
        Log("insert images " + std::to_string(positions.size()));
    }
    int GetCurrentImageIndex() override { return currentImage; }
    bool HasCurrentImage() override { return currentImage >= 0; }
    CTalPositionList GetSelectedImageIndices() override;
    bool IsThumbnailsMode() override { return thumbnails; }
    void ShowPreview() override { thumbnails = false; }
    void ShowThumbnails() override { thumbnails = true; }
    void ToggleViewMode() override { thumbnails = !thumbnails; }
    // The document asks only where the panel can go.
    void GoToFirstImage() override { currentImage = 0; }
    void GoToPreviousImage() override { --currentImage; }
    void GoToNextImage() override { ++currentImage; }
    void GoToLastImage() override { currentImage = ImageCount() - 1; }
    void ShowImageProperties() override { Log("image properties"); }
    bool RenameImage() override
    {
        editingTitle = currentImage >= 0;
        return editingTitle;
    }
    bool IsEditingTitle() override { return editingTitle; }
    bool IsTitleModified() override { return editingTitle && titleModified; }
    bool CanSelectAllImages() override { return thumbnails && ImageCount() > 0; }
    void SelectAllImages() override { Log("select all images"); }
    bool CanCutTitle() override { return editingTitle; }
    bool CanCopyTitle() override { return editingTitle; }
    bool CanPasteTitle() override { return editingTitle; }
    bool CanDeleteTitle() override { return editingTitle; }
    bool CutTitle() override { return TitleCommand("cut"); }
    bool CopyTitle() override { return TitleCommand("copy"); }
    bool PasteTitle() override { return TitleCommand("paste"); }
    bool DeleteTitle() override { return TitleCommand("delete"); }
    // The pictures of the document's current section.
    int ImageCount() const;

    int activePane = kPaneTree;
    bool thumbnails = true;
    int currentImage = -1;
    CTalPositionList selectedImages;
    bool editingTitle = false;
    bool titleModified = false;

    // The lines of the log that do not start with any of the prefixes.
    std::vector<std::string> LogWithout(const std::vector<std::string>& prefixes) const;

    std::vector<std::string> log;
    CFakeSectionTree tree;

private:
    void Log(const std::string& line) { log.push_back(line); }
    static std::string Positions(const CTalPositionList& positions);
    static std::string NameOf(const CTalSection* section);
    bool TitleCommand(const char* name);
};

// The report frame: registers its fake panes with the document it is made for.
class CTestDocFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CTestDocFrame)
public:
    CTestDocFrame();
    ~CTestDocFrame() override;
    CFakeDocumentViews views;

protected:
    BOOL OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext) override;

private:
    CTalDocument* m_document = nullptr;
};

// The report view: notes that the document bound it.
class CTestReportView : public CKWView {
    DECLARE_DYNCREATE(CTestReportView)
public:
    void OnDraw(CDC*) override {}
    void InitializeView(CKWDocument* document) override { ++initialized; }
    int initialized = 0;
};

// The report document without the shell: written exports are noted instead of opened.
class CTestTalDocument : public CTalDocument {
    DECLARE_DYNCREATE(CTestTalDocument)
public:
    std::vector<std::wstring> opened;

protected:
    void OpenWrittenFile(const wchar_t* path) override { opened.push_back(path); }
};

class CTalTestApp : public CWinApp, public CTalDocumentApp {
public:
    CTalTestApp();
    ~CTalTestApp() override;

    // The report template (document, frame and view above).
    void StartUp();
    // Closes every document (their frames go with them).
    void CloseAll();
    // A new document from the template; null when it was abandoned.
    CTestTalDocument* NewDocument();
    // A new document that the wizard answers with the start document.
    CTestTalDocument* NewDocumentFrom(CTalBaseDocument& start);
    CTestTalDocument* OpenDocument(const wchar_t* path);

    // --- CTalDocumentApp ---
    CTalPrefs& GetPrefs() override { return prefs; }
    const CQMFormatInfo* GetFormatList() override { return formats.get(); }
    CString GetAuthorName() override { return L"Test Owner"; }
    CString GetCompanyName() override { return L"Test Company"; }
    CTalBaseDocument* GetWizardDocument() override { return wizardDocument; }
    void ClearWizardDocument() override { wizardDocument = nullptr; }
    CString GetWizardText() override { return wizardText; }
    void GetDefaultPageSize(int32_t& width, int32_t& height) override;
    void SetDefaultPageSize(int32_t width, int32_t height) override;
    bool RunExportOptionsDialog(CTalDocProperties& properties, bool& optionsChanged,
                                bool& grayscaleChanged) override;
    // The dialogs and the gallery answer from the fields below
    // (TalDocumentCommandSupport.cpp).
    bool ChooseImageFiles(std::vector<CString>& files) override { return !(files = chosenFiles).empty(); }
    int GetSelectedGalleryImageCount() override { return static_cast<int>(galleryFiles.size()); }
    bool GetSelectedGalleryFiles(std::vector<CString>& files) override { return !(files = galleryFiles).empty(); }
    CQMXPToolbarButton* FindToolbarButton(UINT id) override { return button && button->m_nID == id ? button : nullptr; }
    void RunPrintSetup() override { ++printSetupRuns; }
    void SetPrinterOrientation(int32_t portrait) override { printerOrientations.push_back(portrait); }
    void RunDocumentProperties(const CString&, CWnd*, CTalBaseDocument&, int page) override
    {
        propertiesPages.push_back(page);
    }
    bool RunTextProperties(const CString&, CTalTextProperties& properties) override
    {
        textPropertiesShown = properties;
        return textPropertiesAnswer && textPropertiesAnswer(properties);
    }

    // --- CWinApp ---
    // Message boxes are noted and answered with OK.
    int DoMessageBox(LPCWSTR lpszPrompt, UINT nType, UINT nIDPrompt) override;
    void AddToRecentFileList(LPCWSTR lpszPathName) override { recentFiles.push_back(lpszPathName); }

    CTalPrefs prefs;
    std::unique_ptr<CQMFormatInfo> formats;
    CTalBaseDocument* wizardDocument = nullptr;
    CString wizardText;
    int32_t pageWidth = 0;
    int32_t pageHeight = 0;
    // The export-options dialog: its answer and what it reports.
    bool exportOptionsOk = true;
    bool exportOptionsChanged = false;
    bool exportGrayscaleChanged = false;
    int exportDialogRuns = 0;
    // The "Open Image" dialog's files (none: cancelled), the gallery's selection.
    std::vector<CString> chosenFiles;
    std::vector<CString> galleryFiles;
    // The tool-bar button found for its command.
    CQMXPToolbarButton* button = nullptr;
    int printSetupRuns = 0;
    std::vector<int32_t> printerOrientations;
    // The pages the document-properties sheet was opened at.
    std::vector<int> propertiesPages;
    // The text-properties sheet: what it was given, and its answer.
    CTalTextProperties textPropertiesShown;
    std::function<bool(CTalTextProperties&)> textPropertiesAnswer;
    std::vector<std::wstring> messages;
    std::vector<std::wstring> recentFiles;
    CMultiDocTemplate* reportTemplate = nullptr;
};

// The application's kinds of files, as its format list has them.
std::unique_ptr<CQMFormatInfo> MakeApplicationFormats();

// What the next modal dialog of the thread gets, from a timer: the name typed
// into a file dialog's name box and OK, or a button of another dialog (found
// by a control it has).
void AnswerFileDialog(const std::wstring& name);
void PressInDialogWith(int controlId, int button);
// OK in the next message box.
void AnswerMessageBox();
// Whether the last answer found its dialog, and the message text it had.
bool DialogWasAnswered();
std::wstring AnsweredText();
void StopAnswering();

// A fresh folder under the temporary folder, with its final backslash; the
// files left in it go with RemoveFolder.
std::wstring MakeTestFolder(const wchar_t* name);
void RemoveFolder(const std::wstring& folder);
bool FileExists(const std::wstring& path);

// Sections, pictures and texts of a tree, one line each, with the fields a
// report file keeps (not the objects' identities, section ids or expanded flags).
std::string DescribeReport(const CTalSection* heading);

// A test over a new, empty report document of the test application (made
// from an empty wizard report, so no file is read), with its fake panes.
class ReportDocumentTest : public ModelLeakCheck {
protected:
    void SetUp() override;
    void TearDown() override;
    CTalCommander& Commander() { return document->GetCommander(); }
    CTalDocProperties& Properties() { return document->GetProperties(); }

    std::unique_ptr<CTalTestApp> app;
    std::unique_ptr<CTalBaseDocument> wizard;
    CTestTalDocument* document = nullptr;
    CFakeDocumentViews* views = nullptr;
    CKWRefPtr<CTalSection> heading;
};

// Adds the text to the section's note as one undoable step of the history.
void TypeNote(CTalDocument& document, CTalSection* section, const wchar_t* text);

}  // namespace taldoc
