#include "document/TalDocument.h"

#include "controls/KWFontLists.h"
#include "framework/KWSystemInfo.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommander.h"
#include "document/TalDocumentApp.h"
#include "document/TalDocumentViews.h"
#include "document/TalPrintIFace.h"
#include "document/TalSectionTree.h"
#include "platform/classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CTalDocument, CKWDocument)

BEGIN_MESSAGE_MAP(CTalDocument, CKWDocument)
    // Files and the document.
    ON_COMMAND(ID_TAL_SAVE_AS_TEMPLATE, SaveAsTemplate)
    ON_COMMAND(ID_TAL_SAVE_AS_ARCHIVE, OnSaveAsArchive)
    ON_COMMAND_RANGE(ID_TAL_GENERATE_PDF, ID_TAL_GENERATE_PPT, OnGenerateReport)
    ON_UPDATE_COMMAND_UI(ID_TAL_FILE_SAVE, OnUpdateFileSave)
    ON_COMMAND(ID_TAL_SAVE_AS, OnSaveAs)
    ON_COMMAND(ID_TAL_PRINT_SETUP, OnPrintSetup)
    ON_COMMAND(ID_TAL_DOCUMENT_PROPERTIES, OnDocumentProperties)
    ON_COMMAND(ID_TAL_REPORT_PROPERTIES, OnReportProperties)
    ON_COMMAND(ID_TAL_WATERMARK_PROPERTIES, OnWatermarkProperties)
    // Sections.
    ON_COMMAND(ID_TAL_ADD_SECTION, OnAddSection)
    ON_COMMAND(ID_TAL_ADD_SUBSECTION, OnAddSubSection)
    ON_COMMAND(ID_TAL_REMOVE_SECTION, OnRemoveSection)
    ON_COMMAND_RANGE(ID_TAL_MOVE_SECTION_LEFT, ID_TAL_MOVE_SECTION_DOWN, OnMoveSection)
    ON_COMMAND(ID_TAL_EXPAND_ALL, OnExpandAll)
    ON_COMMAND(ID_TAL_RENAME, OnRename)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TAL_ADD_SECTION, ID_TAL_ADD_SUBSECTION, OnUpdateHasCurrentSection)
    ON_UPDATE_COMMAND_UI(ID_TAL_RENAME, OnUpdateHasCurrentSection)
    ON_UPDATE_COMMAND_UI(ID_TAL_REMOVE_SECTION, OnUpdateRemoveSection)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TAL_MOVE_SECTION_LEFT, ID_TAL_MOVE_SECTION_DOWN, OnUpdateMoveSection)
    ON_UPDATE_COMMAND_UI(ID_TAL_EXPAND_ALL, OnUpdateExpandAll)
    // Edit.
    ON_COMMAND(ID_TAL_EDIT_UNDO, OnEditUndo)
    ON_COMMAND(ID_TAL_EDIT_REDO, OnEditRedo)
    ON_UPDATE_COMMAND_UI(ID_TAL_EDIT_UNDO, OnUpdateEditUndo)
    ON_UPDATE_COMMAND_UI(ID_TAL_EDIT_REDO, OnUpdateEditRedo)
    ON_COMMAND(ID_TAL_EDIT_CUT, OnEditCut)
    ON_COMMAND(ID_TAL_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_TAL_EDIT_PASTE, OnEditPaste)
    ON_COMMAND(ID_TAL_PASTE_AS_SUBSECTION, OnPasteAsSubsection)
    ON_COMMAND(ID_TAL_DELETE_SELECTED, OnDeleteSelected)
    ON_COMMAND(ID_TAL_EDIT_SELECT_ALL, OnSelectAll)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TAL_EDIT_COPY, ID_TAL_EDIT_CUT, OnUpdateEditCutCopy)
    ON_UPDATE_COMMAND_UI(ID_TAL_EDIT_PASTE, OnUpdateEditPaste)
    ON_UPDATE_COMMAND_UI(ID_TAL_PASTE_AS_SUBSECTION, OnUpdatePasteAsSubsection)
    ON_UPDATE_COMMAND_UI(ID_TAL_DELETE_SELECTED, OnUpdateDeleteSelected)
    ON_UPDATE_COMMAND_UI(ID_TAL_EDIT_SELECT_ALL, OnUpdateSelectAll)
    // Pictures.
    ON_COMMAND(ID_TAL_ADD_IMAGE, OnAddImage)
    ON_COMMAND(ID_TAL_REMOVE_IMAGE, OnRemoveImage)
    ON_COMMAND(ID_TAL_CONVERT_TO_GRAYSCALE, OnConvertToGrayscale)
    ON_COMMAND(ID_TAL_ROTATE_LEFT, OnRotateLeft)
    ON_COMMAND(ID_TAL_ROTATE_RIGHT, OnRotateRight)
    ON_COMMAND(ID_TAL_USE_DESCRIPTION, OnUseDescription)
    ON_COMMAND(ID_TAL_SHOW_IN_REPORT, OnShowInReport)
    ON_COMMAND(ID_TAL_TURN_TO_NEW_PAGE, OnTurnToNewPage)
    ON_COMMAND(ID_TAL_GRAYSCALE_BY_DEFAULT, OnGrayscaleByDefault)
    ON_COMMAND(ID_TAL_USE_DESCRIPTION_BY_DEFAULT, OnUseDescriptionByDefault)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TAL_ADD_IMAGE, ID_TAL_TURN_TO_NEW_PAGE, OnUpdatePictureCommand)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TAL_GRAYSCALE_BY_DEFAULT, ID_TAL_USE_DESCRIPTION_BY_DEFAULT,
                               OnUpdatePictureCommand)
    ON_COMMAND_RANGE(ID_TAL_GO_TO_FIRST_IMAGE, ID_TAL_GO_TO_LAST_IMAGE, OnGoToImage)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TAL_GO_TO_FIRST_IMAGE, ID_TAL_GO_TO_LAST_IMAGE, OnUpdateGoToImage)
    ON_COMMAND(ID_TAL_PREVIEW_IMAGE, OnPreviewImage)
    ON_COMMAND(ID_TAL_THUMBNAILS, OnThumbnails)
    ON_UPDATE_COMMAND_UI(ID_TAL_PREVIEW_IMAGE, OnUpdatePreviewImage)
    ON_UPDATE_COMMAND_UI(ID_TAL_THUMBNAILS, OnUpdateThumbnails)
    ON_COMMAND(ID_TAL_COPY_IMAGES, OnCopyImages)
    ON_COMMAND(ID_TAL_ADD_IMAGES_TO_DOCUMENT, OnAddImagesToDocument)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TAL_COPY_IMAGES, ID_TAL_ADD_IMAGES_TO_DOCUMENT, OnUpdateGallerySelection)
    // Text formats.
    ON_COMMAND_RANGE(ID_TAL_BOLD, ID_TAL_UNDERLINE, OnTextStyle)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TAL_BOLD, ID_TAL_UNDERLINE, OnUpdateTextStyle)
    ON_COMMAND_RANGE(ID_TAL_ALIGN_LEFT, ID_TAL_ALIGN_RIGHT, OnTextAlign)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TAL_ALIGN_LEFT, ID_TAL_ALIGN_RIGHT, OnUpdateTextAlign)
    ON_COMMAND_RANGE(ID_TAL_FONT_BIGGER, ID_TAL_FONT_SMALLER, OnFontStep)
    ON_COMMAND(ID_TAL_TEXT_COLOR, OnTextColor)
    ON_UPDATE_COMMAND_UI(ID_TAL_TEXT_COLOR, OnUpdateTextColor)
    ON_COMMAND(ID_TAL_TEXT_BACKGROUND_COLOR, OnTextBackgroundColor)
    ON_COMMAND(ID_TAL_FONT_NAME, OnFontName)
    ON_CONTROL(CBN_SELENDOK, ID_TAL_FONT_NAME, OnFontName)
    ON_CONTROL(CBN_SELENDCANCEL, ID_TAL_FONT_NAME, OnFontNameCancel)
    ON_UPDATE_COMMAND_UI(ID_TAL_FONT_NAME, OnUpdateFontName)
    ON_COMMAND(ID_TAL_FONT_NAME_MENU, OnFontNameMenu)
    ON_COMMAND(ID_TAL_FONT_SIZE_MENU, OnFontSizeMenu)
    ON_COMMAND(ID_TAL_FONT_SIZE, OnFontSize)
    ON_CONTROL(CBN_SELENDOK, ID_TAL_FONT_SIZE, OnFontSize)
    ON_UPDATE_COMMAND_UI(ID_TAL_FONT_SIZE, OnUpdateFontSize)
    ON_UPDATE_COMMAND_UI(ID_TAL_FONT_SIZE_MENU, OnUpdateFontSize)
    ON_COMMAND(ID_TAL_SELECT_ALL_TEXT, OnSelectAllText)
    ON_UPDATE_COMMAND_UI(ID_TAL_SELECT_ALL_TEXT, OnUpdateSelectAllText)
    ON_COMMAND(ID_TAL_TEXT_PROPERTIES, OnTextProperties)
END_MESSAGE_MAP()

namespace {

// A4, when the application has no default page size.
const int32_t kDefaultPageWidth = 2100;
const int32_t kDefaultPageHeight = 2970;

}  // namespace

CTalDocument::CTalDocument()
{
    static uint32_t s_lastDocumentId = 0;
    m_documentId = ++s_lastDocumentId;
}

CTalDocument::~CTalDocument()
{
    // The font pickers must not keep this document's font list.
    if (GetCurrentFontList() == &GetProperties().GetFontTable())
        SetCurrentFontLists(nullptr, GetApplicationFontList());
    ClearPages();
    m_currentSection.Release();
    m_pendingSection.Release();
    m_file.Close();
    // The wizard's document is the application's; only the pointer goes.
    if (CTalDocumentApp* app = GetTalDocumentApp())
        app->ClearWizardDocument();
}

void CTalDocument::CreatePrintIFace()
{
    DeletePrintIFace();
    m_printIFace = new CTalPrintIFace(this);
}

BOOL CTalDocument::IsModified()
{
    return m_bModified;
}

BOOL CTalDocument::NewModifiedDocument()
{
    if (!COleServerDoc::OnNewDocument())
        return FALSE;
    SetModifiedFlag(TRUE);
    return TRUE;
}

void CTalDocument::UpdateDefaultFont()
{
    if (m_frame)
        m_frame->UpdateDefaultFont();
}

void CTalDocument::RefreshTemplatesWnd()
{
    if (m_frame)
        m_frame->RefreshTemplatesWnd();
}

void CTalDocument::ReloadSectionImages()
{
    if (m_frame && m_currentSection)
        m_frame->LoadSectionImages();
}

bool CTalDocument::GetDefaultPageSize(double& width, double& height)
{
    int32_t pageWidth = 0, pageHeight = 0;
    CTalDocumentApp* app = GetTalDocumentApp();
    if (app)
        app->GetDefaultPageSize(pageWidth, pageHeight);
    if (pageWidth == 0 || pageHeight == 0) {
        pageWidth = kDefaultPageWidth;
        pageHeight = kDefaultPageHeight;
        if (app)
            app->SetDefaultPageSize(pageWidth, pageHeight);
    }
    width = pageWidth * 0.1;
    height = pageHeight * 0.1;
    return true;
}

void CTalDocument::OnTreeSelChanged(HTREEITEM item)
{
    CTalSectionTree* tree = GetTree();
    CTalSection* section = SectionOfItem(tree, item);
    if (!section)
        return;
    m_frame->EndImageTitleEdit(false);
    m_currentSection = section;
    m_frame->LoadSectionImages();
    m_frame->UpdateTemplatesForSection(section);
    m_frame->LoadSectionText(section);
    tree->SetFocus();
}

void CTalDocument::OnEditUndo()
{
    CTalCommandHistory* history = GetCommandHistory();
    if (!history || !history->CanUndo())
        return;
    EndLabelAndTitleEdits();
    CWaitCursor wait;
    GetCommander().Undo();
    SetModifiedFlag(TRUE);
    OnTextLayoutChanged();
    RestoreTextRange();
}

void CTalDocument::OnEditRedo()
{
    CTalCommandHistory* history = GetCommandHistory();
    if (!history || !history->CanRedo())
        return;
    EndLabelAndTitleEdits();
    CWaitCursor wait;
    GetCommander().Redo();
    SetModifiedFlag(TRUE);
    OnTextLayoutChanged();
    RestoreTextRange();
}

void CTalDocument::OpenWrittenFile(const wchar_t* path)
{
    OpenWithShell(path);
}

void CTalDocument::HoldFile(const wchar_t* path)
{
    if (m_file.IsOpen())
        m_file.Close();
    m_heldPath = path;
    if (path && *path)
        m_file.Open(path, CKWFile::kRead);
}

void CTalDocument::ShowMessage(const wchar_t* text)
{
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}
