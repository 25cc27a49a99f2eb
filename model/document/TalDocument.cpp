#include "model/document/TalDocument.h"

#include "framework/KWSystemInfo.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommander.h"
#include "model/document/TalDocumentApp.h"
#include "model/document/TalDocumentViews.h"
#include "model/document/TalPrintIFace.h"
#include "model/document/TalSectionTree.h"
#include "platform/classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CTalDocument, CKWDocument)

BEGIN_MESSAGE_MAP(CTalDocument, CKWDocument)
    ON_COMMAND(ID_TAL_SAVE_AS_TEMPLATE, SaveAsTemplate)
    ON_COMMAND(ID_TAL_SAVE_AS_ARCHIVE, OnSaveAsArchive)
    ON_COMMAND_RANGE(ID_TAL_GENERATE_PDF, ID_TAL_GENERATE_PPT, OnGenerateReport)
    ON_COMMAND(ID_TAL_EDIT_UNDO, OnEditUndo)
    ON_COMMAND(ID_TAL_EDIT_REDO, OnEditRedo)
END_MESSAGE_MAP()

namespace {

// A4, when the application has no default page size.
const int32_t kDefaultPageWidth = 2100;
const int32_t kDefaultPageHeight = 2970;

}  // namespace

CTalDocument::CTalDocument() = default;

CTalDocument::~CTalDocument()
{
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
