#include "editor/TalDocManager.h"

#include "controls/KWMessageBox.h"
#include "editor/TalApplication.h"
#include "framework/KWFile.h"
#include "appwindows/KWImportFileDialog.h"
#include "model/TalPrefs.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/StringResource.h"
#include "resources/Editor.h"
#include "resources/Strings.h"

IMPLEMENT_DYNAMIC(CTalDocManager, CKWDocManager)

namespace {
// The open dialog's kinds: report templates, report documents, all supported files.
constexpr uint32_t kOpenKinds = 16384 | 2048 | 1;
}  // namespace

CString TalLowerExtension(LPCWSTR path)
{
    const CString text = path ? path : L"";
    const int dot = text.ReverseFind(L'.');
    const int separator = std::max(text.ReverseFind(L'\\'), text.ReverseFind(L'/'));
    if (dot < 0 || dot < separator)
        return CString();
    CString extension = text.Mid(dot + 1);
    extension.MakeLower();
    return extension;
}

CTalDocManager::CTalDocManager() = default;

CTalDocManager::~CTalDocManager() = default;

bool CTalDocManager::CanRead(LPCWSTR path)
{
    CKWFile file;
    if (!path || !file.Open(path, CKWFile::kRead | CKWFile::kBinary))
        return false;
    file.Close();
    return true;
}

void CTalDocManager::ReportUnreadable(LPCWSTR path)
{
    CString format;
    CString caption;
    AfxLoadStringResource(IDS_CANT_OPEN_FILE, format);
    AfxLoadStringResource(IDS_TAL_APP_CAPTION, caption);
    CString text;
    text.Format(format, path ? path : L"");
    KWMessageBox(text, MB_ICONEXCLAMATION, 0, caption);
}

CDocument* CTalDocManager::OpenDocumentFile(LPCWSTR lpszFileName)
{
    const CString extension = TalLowerExtension(lpszFileName);
    if (extension == L"otn")
        return OpenTemplateFile(lpszFileName);
    if (extension != L"otd")
        return nullptr;
    if (!CanRead(lpszFileName)) {
        ReportUnreadable(lpszFileName);
        return nullptr;
    }
    return CKWDocManager::OpenDocumentFile(lpszFileName);
}

CDocument* CTalDocManager::OpenTemplateFile(LPCWSTR path)
{
    if (!CanRead(path)) {
        ReportUnreadable(path);
        return nullptr;
    }
    CDocument* document = CKWDocManager::OpenDocumentFile(path);
    POSITION position = GetFirstDocTemplatePosition();
    auto* reportTemplate = position ? dynamic_cast<CMultiDocTemplate*>(GetNextDocTemplate(position)) : nullptr;
    if (document && reportTemplate) {
        // A report made from a template starts untitled, numbered after the
        // others, and without the template's path: saving it asks for a name
        // instead of writing over the template.
        reportTemplate->SetDefaultTitle(document);
        ++reportTemplate->m_nUntitledCount;
        document->ClearPathName();
    }
    return document;
}

BOOL CTalDocManager::PromptFileNames(CStringList& names)
{
    CTalApplication* app = GetTalApp();
    if (!app)
        return CKWDocManager::PromptFileNames(names);
    CTalPrefs& prefs = app->GetPrefs();
    // The start-up request is used once, whether or not there is a last file.
    const bool startUp = app->TakeStartUpOpenFlag();
    if (startUp && !prefs.GetLastFile().IsEmpty()) {
        names.AddTail(prefs.GetLastFile());
        return TRUE;
    }
    CKWImportFileDialog dialog(app->GetFormatList(), kOpenKinds, 0, nullptr, false, nullptr, true);
    dialog.SetInitialDir(prefs.GetWatermarkPicturePath());
    if (dialog.DoModal() != IDOK)
        return FALSE;
    std::vector<CString> files;
    dialog.GetSelectedFiles(files);
    for (const CString& file : files)
        names.AddTail(file);
    if (!files.empty()) {
        const int slash = files.front().ReverseFind(L'\\');
        if (slash >= 0)
            prefs.SetWatermarkPicturePath(files.front().Left(slash));
    }
    return TRUE;
}
