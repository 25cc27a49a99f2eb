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
// exports: TalDocumentExport.cpp; commands on sections, undo and the
// document: TalDocumentSections.cpp; the clipboard and keys:
// TalDocumentClipboard.cpp; pictures: TalDocumentPictures.cpp; text
// formats: TalDocumentText.cpp.
#include "export/TalExportDocIFace.h"
#include "export/TalPageExport.h"
#include "framework/KWKeyRecord.h"
#include "appwindows/KWDocument.h"
#include "framework/KWFile.h"
#include "framework/KWRefPtr.h"
#include "model/TalBaseDocument.h"
#include "model/TalSection.h"
#include "document/TalCommandIds.h"

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <set>
#include <vector>

class CKWOutputRecord;
class CCmdUI;
class CTalDocumentApp;
class CTalDocumentViews;
class CTalSectionTree;

class CTalDocument : public CKWDocument, public CTalBaseDocument, public CTalExportDocIFace {
    DECLARE_DYNCREATE(CTalDocument)
public:
    // File categories of the export file dialog.
    enum : uint32_t { kCategoryDocument = 0x800, kCategoryTemplate = 0x4000 };
    // The image-save type of an archive: the pictures go into the file.
    static const int32_t kArchiveImageSaveType = 2;

    CTalDocument();
    ~CTalDocument() override;

    // The document's identity in the drags it starts: unique within the run.
    uint32_t GetDocumentId() const { return m_documentId; }

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
    // An item was expanded (action 2) or collapsed: the section keeps the
    // state; collapsing above the current section selects the collapsed item.
    void OnTreeItemExpanded(UINT action, HTREEITEM item);
    // A label edit ended with the text: the item's section is renamed as one step.
    void RenameSectionFromTree(HTREEITEM item, const CString& text);

    // --- Section commands (TalDocumentSections.cpp) ---
    void OnAddSection();
    void OnAddSubSection();
    void OnRemoveSection();
    // 32811 left, 32812 right, 32813 up, 32814 down.
    void OnMoveSection(UINT id);
    void OnExpandAll();
    // F2: ends a label or title edit in progress, else starts one.
    void OnRename();
    bool CanRemoveCurrentSection() const;
    // Requests of the page-template window, each one undoable step.
    void SetSectionTemplate(const wchar_t* templateName);
    void ToggleOwnTemplate();

    // --- Document commands ---
    void OnSaveAs();
    // The application's print setup; the printer's orientation becomes the page's.
    void OnPrintSetup();
    void OnDocumentProperties();
    void OnReportProperties();
    void OnWatermarkProperties();
    // The document-properties sheet at the page (-1: its default page).
    virtual void ShowPropertiesSheet(int page);

    // --- Clipboard and keys (TalDocumentClipboard.cpp) ---
    // The program's own formats or text, a bitmap, a DIB or TIFF data is on the clipboard.
    static bool CanPasteClipboard();
    bool CanDeleteSelected();
    // The current section with its subtree under "Tallier Objects"; false when nothing was put.
    bool CopyCurrentSectionToClipboard();
    // The selected pictures under "Tallier Pictures"; false when nothing was put.
    bool CopyPicturesToClipboard();
    // The first of the clipboard's kinds of data that pastes: sections,
    // pictures, picture files, image data, then text as a section name.
    void PasteFromClipboard(bool asSubsection);
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnPasteAsSubsection();
    void OnDeleteSelected();
    void OnSelectAll();
    // A key of the views and panels; true when it was used.
    bool HandleKey(const CKWKeyRecord& key);
    // A key pressed in the section tree before the tree sees it: Ctrl with
    // an arrow moves the current section that way; true when it was such a key.
    bool HandleSectionTreeKey(const CKWKeyRecord& key);
    // Whether the current section can move as the command (32811 to 32814) says.
    bool CanMoveCurrentSection(UINT id) const;

    // --- Pictures (TalDocumentPictures.cpp) ---
    // Pictures for the files (id 0: skipped) inserted into the section (null:
    // the current one) at the position (-1: the end) as one step, titled by
    // the file names or "Picture-<id>". The section used; null when there was none.
    CKWRefPtr<CTalSection> InsertPictures(const std::vector<CString>& files, int position, CTalSection* section,
                                          bool group, bool useFileTitles);
    // One warning listing every picture whose file is damaged, empty, not a
    // picture, of too many pixels (named with its size) or missing, each
    // named as the user knows it (TalPictureName). Without told (pictures
    // added or pasted) each picture is named once in the program's run; a
    // generation names every picture it puts in as a placeholder but those in
    // told, the ones it named already, and adds those it names to told.
    // decode: each file is proven by a small decode (as its thumbnail is
    // made), not by its bytes only.
    void ReportPictureProblems(const std::vector<uint32_t>& pictureIds, bool decode,
                               std::set<uint32_t>* told = nullptr);
    // The pictures just added or pasted are checked, on the picture-loading
    // threads when the panel can, and their problems named.
    void CheckAddedPictures(const std::vector<uint32_t>& pictureIds);
    // Before a generation or a print: every picture that goes in as a
    // placeholder is named, however often it was named before.
    void ReportPlaceholders();
    // The picture ids the report uses: its sections' pictures, its logo and
    // its picture watermarks.
    std::vector<uint32_t> CollectPictureIds();
    // The picture ids of the section and of its sub-sections.
    static void AppendSectionPictureIds(CTalSection* section, std::vector<uint32_t>& ids);
    // Ready pictures inserted as one step; false when the commander refused.
    bool InsertPictureObjects(const CTalPictureList& pictures, int position, CTalSection* section, bool group);
    void SetPictureTitle(int position, const CString& title);
    void MovePictures(const CTalPositionList& positions, int anchorIndex);
    void ShowImageProperties();
    void ToggleViewMode();
    bool CanGoBack();
    bool CanGoForward();
    void OnAddImage();
    void OnAddImagesToDocument();
    void OnCopyImages();
    void OnRemoveImage();
    void OnConvertToGrayscale();
    void OnGrayscaleByDefault();
    void OnRotateLeft();
    void OnRotateRight();
    void OnUseDescription();
    void OnUseDescriptionByDefault();
    void OnShowInReport();
    void OnTurnToNewPage();
    void OnGoToImage(UINT id);
    void OnPreviewImage();
    void OnThumbnails();
    void OnPicturesInserted(CKWRefPtr<CTalSection> section, const CTalPositionList& positions) override;

    // --- Text formats (TalDocumentText.cpp) ---
    void BeginTextCommand();
    void EndTextCommand();
    void OnTextStyle(UINT id);
    void OnTextAlign(UINT id);
    void OnFontStep(UINT id);
    void OnTextColor();
    void OnTextBackgroundColor();
    // The font-name box chose a font (also at the end of its selection).
    void OnFontName();
    // The font-name box's selection was cancelled: the focus goes back to the frame.
    void OnFontNameCancel();
    void OnFontNameMenu();
    void OnFontSizeMenu();
    void OnFontSize();
    void OnSelectAllText();
    void OnTextProperties();
    // The font pickers show this document's fonts; with rebuild their data is made anew.
    virtual void UpdateFontLists(bool rebuild);

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

    // --- Update handlers of the commands above ---
    void OnUpdateHasCurrentSection(CCmdUI* cmdUI);
    void OnUpdateRemoveSection(CCmdUI* cmdUI);
    void OnUpdateMoveSection(CCmdUI* cmdUI);
    void OnUpdateExpandAll(CCmdUI* cmdUI);
    void OnUpdateEditUndo(CCmdUI* cmdUI);
    void OnUpdateEditRedo(CCmdUI* cmdUI);
    void OnUpdateFileSave(CCmdUI* cmdUI);
    void OnUpdateEditCutCopy(CCmdUI* cmdUI);
    void OnUpdateEditPaste(CCmdUI* cmdUI);
    void OnUpdatePasteAsSubsection(CCmdUI* cmdUI);
    void OnUpdateDeleteSelected(CCmdUI* cmdUI);
    void OnUpdateSelectAll(CCmdUI* cmdUI);
    void OnUpdatePictureCommand(CCmdUI* cmdUI);
    void OnUpdateGoToImage(CCmdUI* cmdUI);
    void OnUpdatePreviewImage(CCmdUI* cmdUI);
    void OnUpdateThumbnails(CCmdUI* cmdUI);
    void OnUpdateGallerySelection(CCmdUI* cmdUI);
    void OnUpdateTextStyle(CCmdUI* cmdUI);
    void OnUpdateTextAlign(CCmdUI* cmdUI);
    void OnUpdateTextColor(CCmdUI* cmdUI);
    void OnUpdateFontName(CCmdUI* cmdUI);
    void OnUpdateFontSize(CCmdUI* cmdUI);
    void OnUpdateSelectAllText(CCmdUI* cmdUI);

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
    bool IsTreeEditingLabel() const;
    // Starts editing the label of the section's item.
    void EditSectionLabel(CTalSection* section);
    // The active pane: 2 the image panel, 4 the text window, else the tree.
    int GetActivePane() const;
    // The current picture of the image panel; null when none.
    CKWRefPtr<CTalPicture> GetCurrentPicture() const;
    // Ends the edits, then the selected pictures of the current section when
    // the panel has a current picture; false when there is nothing to change.
    bool PrepareSelectedPictures(CTalPositionList& positions, CKWRefPtr<CTalPicture>& current);
    // Runs change(current picture, selected positions) when there are
    // pictures to change; its true marks the document modified.
    template <typename Change>
    void ChangeSelectedPictures(Change change);
    // The section's item made visible and the panel refreshed when it is the
    // current section, else the section shown; false when it has no item.
    bool ShowPicturesOf(CTalSection* section, const std::function<void()>& refreshPanel);
    // The text-format command with the change between its begin and end.
    template <typename Change>
    void RunTextCommand(Change change);
    // Sets the font of the name for the selection as a text command; the font's index.
    uint32_t ApplyFontName(const CString& name);
    bool IsCurrent(const CTalSection* section) const { return section && section == m_currentSection.Get(); }
    bool RunPreferencesDialog(CTalDocumentApp* app);
    // An exclamation box captioned with the application's name.
    static void ShowMessage(const wchar_t* text);
    // The one message of a generation that failed: the file and the reason.
    static void ReportOutputFailure(const CKWOutputRecord& output);
    // After a generation that wrote its output: the pictures that went bad
    // while it ran are named, then the output is opened.
    void EndGeneration(const wchar_t* fileName);
    // Writes the report file; true when written. A copy (an archive, a
    // template) does not become the report's file: the modified flag, the
    // held file and the report's pictures stay as they were. A failure is
    // told with the file and the reason.
    bool SaveReportFile(const wchar_t* path, bool copy);

    CTalDocumentViews* m_frame = nullptr;
    uint32_t m_documentId;
    TalPageList m_pages;
    CKWFile m_file;
    CString m_heldPath;  // the path m_file was last opened on
    CKWRefPtr<CTalSection> m_currentSection;
    CKWRefPtr<CTalSection> m_pendingSection;
    int32_t m_pendingFirst = -1;
    int32_t m_pendingLast = -1;
    int m_currentStartPage = 0;
    // The pictures the warning of the generation under way named already.
    std::set<uint32_t> m_generationTold;
};
