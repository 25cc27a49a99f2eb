#pragma once
// CTalDocFrame: the report window of one open report. It holds the report's
// panes: the view (their parent), the section tree, the image panel, the
// page-template window and the text-note window, split into a layout of two
// columns (the tree above the page templates; the text note above the
// images). Its focus manager keeps the pane that has the focus, by code:
// 1 tree, 2 image panel, 3 page-template window, 4 text-note window. The
// report document reaches its panes through it (CTalDocumentViews).
#include "editor/TalSectionTreeCtrl.h"
#include "framework/KWFocusManager.h"
#include "appwindows/KWSplitFrame.h"
#include "document/TalDocumentViews.h"

class CTalControlsWnd;
class CTalDocument;
class CTalTemplatesWnd;
class CTalTextWnd;
class CTalView;

class CTalDocFrame : public CKWSplitFrame, public CKWFocusManager, public CTalDocumentViews {
    DECLARE_DYNCREATE(CTalDocFrame)
public:
    enum : int { kFocusTree = 1, kFocusImages = 2, kFocusTemplates = 3, kFocusText = 4 };

    CTalDocFrame();
    ~CTalDocFrame() override;

    CTalDocument* GetDocument() const { return m_document; }
    CTalTemplatesWnd* GetTemplatesWnd() const { return m_templatesWnd; }
    CTalTextWnd* GetTextWnd() const { return m_textWnd; }
    CTalSectionTreeCtrl& GetTree() { return m_tree; }

    // Builds the panes over the view and splits them; true.
    virtual bool CreatePanes();
    // The panes over the view's client area of this size.
    void LayOutPanes(int cx, int cy);
    // The focus goes back to the pane of the current focus code.
    void RestoreFocus();
    // Whether the next use of the section tree's command shows the trees (all frames share it).
    static bool GetTreeToggleFlag() { return s_showTree; }

    // --- CKWFocusManager: the text-note window is told first when it loses the focus ---
    void SetFocusItem(int code) override;

    // --- The class library ---
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void AdjustActivatedFrame() override;
    void RecalcLayout(BOOL bNotify = TRUE) override;

    // --- CTalDocumentViews ---
    int GetActivePane() override { return GetFocusItem(); }
    HWND GetFrameWindow() override { return m_hWnd; }
    void FocusFrame() override;
    CTalSectionTree* GetSectionTree() override;
    void RefreshTemplatesWnd() override;
    void FocusTemplates() override;
    // --- The image panel (TalDocFrameImages.cpp): each does nothing, or
    // answers no image, while the frame has no panel ---
    void EndImageTitleEdit(bool cancel) override;
    void LoadSectionImages() override;
    void SelectImages(const CTalPositionList& positions) override;
    void UpdateImages(const CTalPositionList& positions) override;
    void UpdateImageTitle(int position, const CString& title, bool startEdit) override;
    void UpdateDefaultGrayscaleImages(const CTalPictureList& pictures) override;
    void InsertImages(const CTalPositionList& positions) override;
    int GetCurrentImageIndex() override;
    bool HasCurrentImage() override;
    CTalPositionList GetSelectedImageIndices() override;
    bool IsThumbnailsMode() override;
    void ShowPreview() override;
    void ShowThumbnails() override;
    void ToggleViewMode() override;
    void GoToFirstImage() override;
    void GoToPreviousImage() override;
    void GoToNextImage() override;
    void GoToLastImage() override;
    void ShowImageProperties() override;
    bool RenameImage() override;
    bool IsEditingTitle() override;
    bool IsTitleModified() override;
    bool CanSelectAllImages() override;
    void SelectAllImages() override;
    bool CanCutTitle() override;
    bool CanCopyTitle() override;
    bool CanPasteTitle() override;
    bool CanDeleteTitle() override;
    bool CutTitle() override;
    bool CopyTitle() override;
    bool PasteTitle() override;
    bool DeleteTitle() override;
    void UpdateTemplatesForSection(CTalSection* section) override;
    void LoadSectionText(CTalSection* section) override;
    void UpdateDefaultFont() override;
    void LeaveTextEditing() override;
    void RefreshText() override;
    void SelectText(int32_t first, int32_t last) override;
    CKWTextPanel* GetTextPanel() override;

protected:
    BOOL OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext) override;

    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    afx_msg void OnToggleSectionTree();
    afx_msg void OnUpdateToggleSectionTree(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    // The section tree shown or hidden, with its pane's place.
    void ShowSectionTree(bool show);
    CTalView* GetTalView();

    CTalSectionTreeCtrl m_tree;
    CTalControlsWnd* m_imagePanel = nullptr;
    CTalTemplatesWnd* m_templatesWnd = nullptr;
    CTalTextWnd* m_textWnd = nullptr;
    CTalDocument* m_document = nullptr;
    // Set when the panes are made.
    bool m_layoutFlag = false;
    int m_layoutValueA = 0;
    int m_layoutValueB = 0;

    static bool s_showTree;
};
