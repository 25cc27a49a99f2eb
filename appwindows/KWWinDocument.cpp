#include "appwindows/KWWinDocument.h"

#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/WinApp.h"

IMPLEMENT_DYNAMIC(CKWWinDocument, COleServerDoc)

namespace {

// The title string of the save prompt and its dialog flags.
const UINT kSavePromptTitle = 1;
const DWORD kSavePromptFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;

}  // namespace

CKWWinDocument::CKWWinDocument() = default;

CKWWinDocument::~CKWWinDocument() = default;

bool CKWWinDocument::PromptSaveFileName(CString& name)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return false;
    return app->DoPromptFileName(name, kSavePromptTitle, kSavePromptFlags, FALSE, GetDocTemplate()) == 1;
}

void CKWWinDocument::SetModifiedFlag(BOOL bModified)
{
    m_bModified = bModified;
}

CString CKWWinDocument::ProposeFileName() const
{
    CString name = m_strTitle;
    for (int i = 0; i < name.GetLength(); ++i) {
        const wchar_t ch = name[i];
        if (ch == L':' || ch == L'/' || ch == L'\\') {
            name = name.Left(i);
            break;
        }
    }
    CString extension;
    if (m_pDocTemplate && m_pDocTemplate->GetDocString(extension, CDocTemplate::filterExt) &&
        !extension.IsEmpty()) {
        const int semicolon = extension.Find(L';');
        name += semicolon >= 0 ? extension.Left(semicolon) : extension;
    }
    return name;
}

BOOL CKWWinDocument::DoSave(LPCWSTR lpszPathName, BOOL bReplace)
{
    if (lpszPathName && *lpszPathName)
        return COleServerDoc::DoSave(lpszPathName, bReplace);
    CString name = m_strPathName;
    if (bReplace && name.IsEmpty())
        name = ProposeFileName();
    if (!PromptSaveFileName(name) || name.IsEmpty())
        return FALSE;
    return COleServerDoc::DoSave(name, bReplace);
}
