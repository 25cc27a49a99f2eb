// The report document's lifecycle: its first content (wizard or default
// template), opening and saving report files, and the save-as variants.
#include "document/TalDocument.h"

#include "export/ExportImageFiles.h"
#include "files/TalTags.h"
#include "files/TalXmlSerializer.h"
#include "appwindows/KWExportFileDialog.h"
#include "framework/KWPathUtils.h"
#include "appwindows/KWProgressWnd.h"
#include "document/TalDocumentApp.h"
#include "model/TalPrefDlg.h"
#include "model/TalPrefs.h"
#include "platform/classlib/WinApp.h"

namespace {

const wchar_t kTemplateExtension[] = L"otn";

// True when the path's extension, in any case, is the report templates'.
bool IsTemplatePath(const wchar_t* path)
{
    CString extension = GetPathExtension(path);
    extension.MakeLower();
    return extension == kTemplateExtension;
}

// The progress window of a load or a save: range 1..100, step 1.
void PrepareProgress(CKWProgressWnd& progress)
{
    progress.SetRange(1, 100);
    progress.SetStep(1);
}

}  // namespace

bool CTalDocument::InitDocument()
{
    CTalDocumentApp* app = GetTalDocumentApp();
    for (;;) {
        if (app && app->GetWizardDocument())
            return InitFromWizardDocument(app->GetWizardDocument());
        CString resolved;
        const CString defaultFile = app ? app->GetPrefs().GetDefaultFile() : CString();
        if (ResolveFilePath(defaultFile, resolved)) {
            const bool initialised = CKWDocument::InitDocument();
            if (initialised) {
                LoadFile(resolved, false);
                SetModifiedFlag(TRUE);
            }
            if (app) {
                GetProperties().m_author = app->GetAuthorName();
                GetProperties().m_company = app->GetCompanyName();
            }
            return initialised;
        }
        ShowMessage(L"Can't open default template. Choose correct file in Preferences dialog.");
        // The user may choose another default template; Cancel gives up.
        if (!RunPreferencesDialog(app))
            return false;
    }
}

bool CTalDocument::RunPreferencesDialog(CTalDocumentApp* app)
{
    if (!app)
        return false;
    CTalPrefDlg dialog(app->GetPrefs(), app->GetFormatList());
    return dialog.DoModal() == IDOK;
}

bool CTalDocument::InitFromWizardDocument(CTalBaseDocument* wizard)
{
    CTalDocumentApp* app = GetTalDocumentApp();
    CTalDocProperties& properties = GetProperties();
    properties.Assign(wizard->GetProperties());
    if (app && properties.m_author.IsEmpty())
        properties.m_author = app->GetAuthorName();
    if (app && properties.m_company.IsEmpty())
        properties.m_company = app->GetCompanyName();
    if (!properties.m_title.IsEmpty())
        SetTitle(properties.m_title);
    if (app)
        HoldFile(app->GetWizardText());
    CreatePrintIFace();
    OnModelReset(properties.GetHeadingSection());
    UpdateDefaultFont();
    SetModifiedFlag(TRUE);
    return true;
}

BOOL CTalDocument::OnOpenDocument(LPCWSTR lpszPathName)
{
    return LoadFile(lpszPathName, !IsTemplatePath(lpszPathName)) ? TRUE : FALSE;
}

bool CTalDocument::LoadFile(const wchar_t* path, bool remember)
{
    if (!path || !*path)
        return false;
    // Destroyed in the reverse order: progress window, serializer, tag table.
    CTalTags tags;
    CTalXmlSerializer serializer;
    CKWProgressWnd progress;
    PrepareProgress(progress);
    progress.Show();
    if (!tags.RegisterTags() || !serializer.LoadDocument(path, this, &tags, 0, &progress))
        return false;
    HoldFile(path);
    if (remember) {
        if (CTalDocumentApp* app = GetTalDocumentApp())
            app->GetPrefs().SetLastFile(path);
    }
    progress.Hide();
    SetModifiedFlag(FALSE);
    CreatePrintIFace();
    OnModelReset(GetProperties().GetHeadingSection());
    UpdateDefaultFont();
    return true;
}

BOOL CTalDocument::OnSaveDocument(LPCWSTR lpszPathName)
{
    return SaveReportFile(lpszPathName, false) ? TRUE : FALSE;
}

bool CTalDocument::SaveReportFile(const wchar_t* path, bool copy)
{
    if (!path || !*path)
        return false;
    CTalTags tags;
    CTalXmlSerializer serializer;
    serializer.SetSavesCopy(copy);
    CKWProgressWnd progress;
    PrepareProgress(progress);
    progress.SetMessage(L"Saving...");
    progress.Show();
    // The held file would keep the report from replacing it: it is let go
    // for the save and taken again when the save fails.
    const CString heldPath = GetHeldPath();
    m_file.Close();
    if (!tags.RegisterTags() || !serializer.SaveDocument(this, path, &progress)) {
        HoldFile(heldPath);
        progress.Hide();
        ShowMessage(L"Cannot save the document!");
        return false;
    }
    progress.Hide();
    if (copy) {
        // The report goes on with its own file and its own pictures.
        HoldFile(heldPath);
        return true;
    }
    SetModifiedFlag(FALSE);
    HoldFile(path);
    m_file.SetFileTypeCreator(0, 0);
    ReloadSectionImages();
    return true;
}

void CTalDocument::SetPathName(LPCWSTR lpszPathName, BOOL bAddToMRU)
{
    CKWDocument::SetPathName(lpszPathName, IsTemplatePath(lpszPathName) ? FALSE : bAddToMRU);
}

bool CTalDocument::PromptSaveFileName(CString& path)
{
    CTalDocumentApp* app = GetTalDocumentApp();
    if (!app)
        return false;
    const CString proposed = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    CKWExportFileDialog dialog(app->GetFormatList(), kCategoryDocument, proposed);
    dialog.m_ofn.Flags |= OFN_PATHMUSTEXIST;
    if (dialog.DoModal() != IDOK)
        return false;
    path = dialog.GetPathName();
    app->GetPrefs().SetLastFile(path);
    return true;
}

void CTalDocument::SaveAsTemplate()
{
    EndEdits(false);
    CTalDocumentApp* app = GetTalDocumentApp();
    if (!app)
        return;
    CKWExportFileDialog dialog(app->GetFormatList(), kCategoryTemplate, app->GetPrefs().GetTemplatesFolder());
    if (dialog.DoModal() != IDOK)
        return;
    const CString path = dialog.GetPathName();
    if (!SaveReportFile(path, true))
        return;
    CString folder = GetPathDirectory(path);
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\')
        folder += L'\\';
    app->GetPrefs().SetTemplatesFolder(folder);
}

void CTalDocument::OnSaveAsArchive()
{
    EndEdits(false);
    CTalDocumentApp* app = GetTalDocumentApp();
    if (!app)
        return;
    CTalDocProperties& properties = GetProperties();
    const int32_t imageSaveType = properties.m_imageSaveType;
    properties.m_imageSaveType = kArchiveImageSaveType;
    CKWExportFileDialog dialog(app->GetFormatList(), kCategoryDocument);
    if (dialog.DoModal() == IDOK)
        SaveReportFile(dialog.GetPathName(), true);
    properties.m_imageSaveType = imageSaveType;
}
