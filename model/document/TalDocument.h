#pragma once
// CTalDocument: the report document, one per open report window. The
// framework document (an OLE server document) joined with the report's
// content (CTalBaseDocument). It keeps its frame's panes in step with the
// model through the notifications of the command handlers, opens and saves
// report files through the report serializer under a progress window, makes
// its first content from the report wizard or the default report template,
// composes the report's pages and dispatches "Generate Report" to the PDF,
// HTML and PowerPoint writers.
//
// Panes: TalDocumentNotify.cpp; files: TalDocumentFile.cpp; pages and
// exports: TalDocumentExport.cpp.
#include "export/TalExportDocIFace.h"
#include "export/TalPageExport.h"
#include "framework/windows/KWDocument.h"
#include "framework/KWFile.h"
#include "framework/KWRefPtr.h"
#include "model/TalBaseDocument.h"
#include "model/TalSection.h"

#include <commctrl.h>

#include <cstdint>

class CTalDocumentApp;
class CTalDocumentViews;
class CTalSectionTree;

// The commands the document handles.
enum : UINT {
    ID_TAL_SAVE_AS_TEMPLATE = 32776,
    ID_TAL_SAVE_AS_ARCHIVE = 32836,
    ID_TAL_GENERATE_PDF = 32837,
    ID_TAL_GENERATE_HTML = 32838,
    ID_TAL_GENERATE_PPT = 32839,
    ID_TAL_EDIT_UNDO = 57643,
    ID_TAL_EDIT_REDO = 57644,
};

class CTalDocument : public CKWDocument, public CTalBaseDocument, public CTalExportDocIFace {
    DECLARE_DYNCREATE(CTalDocument)
public:
    // File categories of the export file dialog.
    enum : uint32_t { kCategoryDocument = 0x800, kCategoryTemplate = 0x4000 };
    // The image-save type of an archive: the pictures go into the file.
    static const int32_t kArchiveImageSaveType = 2;

    CTalDocument();
    ~CTalDocument() override;

    // --- Frame and panes ---
    // The frame registers itself once it exists (null when it goes).
    void SetFrame(CTalDocumentViews* frame) { m_frame = frame; }
    CTalDocumentViews* GetFrame() const { return m_frame; }
    // The section whose pictures, template and note the panes show; null when none.
    CKWRefPtr<CTalSection> GetCurrentSection() const { return m_currentSection; }
    // The held report file (open for reading while the document has one).
    CKWFile& GetHeldFile() { return m_file; }
    // Its path; empty when no file is held.
    CString GetHeldPath() const { return m_file.IsOpen() ? m_heldPath : CString(); }

    // Ends every edit in progress in the frame: the tree's label edit, the
    // image-title edit and the text window's editing mode (cancel: drop the text).
    void EndEdits(bool cancel);
    // Depth-first search from start (0: the root) for the item of the section.
    HTREEITEM FindSectionItem(CTalSection* section, HTREEITEM start = 0);
    // Reveals the ancestors of a section that is not the current one
    // (expanding collapsed ones); with ensureVisible its item is scrolled into view.
    void RevealSection(CTalSection* section, bool ensureVisible);
    // Applies the sections' expanded flags to the item (and, recursive, its
    // subtree; children before a collapsed parent collapses).
    void ApplyExpandedState(CTalSectionTree* tree, HTREEITEM item, bool recursive);
    // The same from a section's item; null: the current section.
    virtual void ApplySectionExpandedState(CTalSection* section, bool recursive);
    // With reveal, first reveals the item's section; then selects the item.
    void SelectTreeItem(CTalSectionTree* tree, HTREEITEM item, bool reveal);
    // One item for the section under parent after previous (0: first); 0 when refused.
    HTREEITEM InsertSectionItem(CTalSection* section, CTalSectionTree* tree, HTREEITEM parent, HTREEITEM previous);
    // The section's item followed by the items of its whole subtree.
    HTREEITEM InsertSectionSubtree(CTalSection* section, CTalSectionTree* tree, HTREEITEM parent,
                                   HTREEITEM previous);
    // Fills in the subtrees of the section's children under its item; with
    // select shows it; then applies the expanded state from its item.
    void EnsureSectionItem(CTalSection* section, bool select);
    void RefreshTemplatesWnd();
    void ReloadSectionImages();
    // After an undo or redo: shows the section of the pending text range and
    // selects the range in the text window; then forgets it.
    void RestoreTextRange();

    // --- Tree notifications (from the frame's tree, through the view) ---
    // An item holding a section became selected: it becomes the current section.
    void OnTreeSelChanged(HTREEITEM item);

    // --- Model notifications (CTalBaseDocument) ---
    void OnModelReset(CKWRefPtr<CTalSection> heading) override;
    void OnSectionInserted(CKWRefPtr<CTalSection> section, bool select) override;
    void OnSectionRemoved(CKWRefPtr<CTalSection> section) override;
    void OnSectionMoving(CKWRefPtr<CTalSection> section) override;
    void OnSectionMoved(CKWRefPtr<CTalSection> section) override;
    void OnSectionRenamed(CKWRefPtr<CTalSection> section, bool startLabelEdit) override;
    void OnSectionTemplateChanged(CKWRefPtr<CTalSection> section) override;
    void OnSectionExpandedChanged(CKWRefPtr<CTalSection> section) override;
    void OnPictureTitleChanged(CKWRefPtr<CTalSection> section, CKWRefPtr<CTalPicture> picture,
                               bool startEdit) override;
    void OnPicturesChanging(CKWRefPtr<CTalSection> section) override;
    void OnPicturesRemoved(CKWRefPtr<CTalSection> section, const CTalPositionList& positions) override;
    void OnPicturesRotated(CKWRefPtr<CTalSection> section, const CTalPositionList& positions) override;
    void OnPicturePropertiesChanged(CKWRefPtr<CTalSection> section, const CTalPositionList& positions) override;
    void OnDefaultGrayscaleChanged() override;
    void OnTextNoteChanged(CKWRefPtr<CTalSection> section) override;
    void OnTextRangeChanged(CKWRefPtr<CTalSection> section, int32_t first, int32_t last) override;
    void OnTextLayoutChanged() override;
    // The application's default page size (A4 when it has none) in millimetres.
    bool GetDefaultPageSize(double& width, double& height) override;

    // --- Lifecycle (TalDocumentFile.cpp) ---
    // A new document's first content: the wizard's document, else the
    // default report template (asking for another in the preferences while
    // it cannot be found). False when the user gave up.
    bool InitDocument() override;
    virtual bool InitFromWizardDocument(CTalBaseDocument* wizard);
    // A template ("otn", any case) is loaded without becoming the last file.
    BOOL OnOpenDocument(LPCWSTR lpszPathName) override;
    // Reads a report or report template into the model; remember stores the
    // path as the last file. On failure the modified flag, the held file and
    // the last file are as they were.
    virtual bool LoadFile(const wchar_t* path, bool remember);
    // Writes the report; "Cannot save the document!" on failure, which leaves
    // the previous file, the modified flag and the held file as they were.
    BOOL OnSaveDocument(LPCWSTR lpszPathName) override;
    // Templates never enter the recent-file list.
    void SetPathName(LPCWSTR lpszPathName, BOOL bAddToMRU = TRUE) override;
    BOOL IsModified() override;
    // The export file dialog for report documents; the choice becomes the last file.
    bool PromptSaveFileName(CString& path) override;
    // Saves a copy as a report template; the report stays modified as it
    // was and keeps its own file.
    virtual void SaveAsTemplate();
    // Saves a copy with the pictures inside; the report keeps its state.
    void OnSaveAsArchive();
    // The OLE document's new step; the document is then marked modified.
    virtual BOOL NewModifiedDocument();
    // The text window's font box shows the document's default font.
    virtual void UpdateDefaultFont();

    // --- Undo and redo ---
    void OnEditUndo();
    void OnEditRedo();

    // --- Report generation (TalDocumentExport.cpp) ---
    // 32837 PDF, 32838 HTML, 32839 PowerPoint.
    void OnGenerateReport(UINT id);
    // Asks for the output file of the category, confirms the export
    // options, runs the writer of the chosen format and stores that format
    // as DefExportFormat.
    void GenerateReport(uint32_t category, uint32_t defaultFormat);
    virtual bool WritePdf(const wchar_t* fileName);
    virtual bool WriteHtml(const wchar_t* fileName);
    virtual bool WritePowerPoint(const wchar_t* fileName);
    // True at once without ShowExpDlg; else the export-options dialog decides.
    bool ConfirmExportOptions();

    // --- Pages ---
    // Replaces the page list by the title page, contents pages and section
    // pages; "There is no page for report generating!" and false without any.
    bool ComposePages(bool printing);
    size_t GetPageCount() const { return m_pages.size(); }
    // 1-based; null past the end (and for 0).
    TalPageExport* GetPage(size_t number) const;
    void ClearPages();
    // The number of the current section's first page (0 when none was composed).
    int GetCurrentStartPage() const { return m_currentStartPage; }

    // --- CTalExportDocIFace ---
    CTalDocProperties& GetExportProperties() override { return GetProperties(); }
    bool ComposeExportPages(bool printing) override { return ComposePages(printing); }
    const TalPageList& GetExportPages() const override { return m_pages; }

protected:
    void CreatePrintIFace() override;
    // Opens a written export with the shell's "open" verb.
    virtual void OpenWrittenFile(const wchar_t* path);
    // Closes the held file and opens it (for reading) on the path.
    void HoldFile(const wchar_t* path);

    DECLARE_MESSAGE_MAP()

private:
    CTalSectionTree* GetTree() const;
    // The section behind an item whose data is a CTalItemUserData; null otherwise.
    CTalSection* SectionOfItem(CTalSectionTree* tree, HTREEITEM item) const;
    // Reveals and selects the item when it holds a section (its selection makes it current).
    void ShowSectionItem(CTalSectionTree* tree, HTREEITEM item);
    // The item of the section, or, when it is not the current section, the
    // section shown; else its item made visible. 0 when it has no item;
    // wasCurrent tells whether it was the current section before.
    HTREEITEM ShowOrRevealSection(CTalSection* section, bool* wasCurrent = nullptr);
    // The item to insert a section's item after: its previous sibling's.
    HTREEITEM PreviousSiblingItem(CTalSection* section, HTREEITEM parentItem);
    // Ends the tree's label edit and the image-title edit, keeping their text.
    void EndLabelAndTitleEdits();
    bool IsCurrent(const CTalSection* section) const { return section && section == m_currentSection.Get(); }
    bool RunPreferencesDialog(CTalDocumentApp* app);
    // An exclamation box captioned with the application's name.
    static void ShowMessage(const wchar_t* text);
    // Saves under the path without the report taking it: the modified flag
    // and the held file stay as they were. True when written.
    bool SaveCopy(const wchar_t* path);

    CTalDocumentViews* m_frame = nullptr;
    TalPageList m_pages;
    CKWFile m_file;
    CString m_heldPath;  // the path m_file was last opened on
    CKWRefPtr<CTalSection> m_currentSection;
    CKWRefPtr<CTalSection> m_pendingSection;
    int32_t m_pendingFirst = -1;
    int32_t m_pendingLast = -1;
    int m_currentStartPage = 0;
};
