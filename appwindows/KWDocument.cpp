#include "appwindows/KWDocument.h"

#include "framework/KWArchive.h"
#include "appwindows/KWPrintIFace.h"
#include "appwindows/KWView.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"
#include "resources/Strings.h"

IMPLEMENT_DYNAMIC(CKWDocument, CKWWinDocument)

namespace {

// Never reset: a document keeps its number for life.
uint32_t s_documentCounter = 0;

// A message box with the string-table text (its fallback when the program has
// no such string), "%s" replaced by the path.
void ReportFileFailure(UINT textId, const wchar_t* fallback, const wchar_t* path)
{
    CString text;
    if (!AfxLoadStringResource(textId, text))
        text = fallback;
    text.Replace(L"%s", path);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

void ReportOpenFailure(const wchar_t* path)
{
    ReportFileFailure(IDS_CANT_OPEN_FILE, L"Can't open file %s!", path);
}

void ReportSaveFailure(const wchar_t* path)
{
    ReportFileFailure(IDS_CANT_SAVE_FILE, L"Can't save file %s!", path);
}

}  // namespace

CKWDocument::CKWDocument() : m_documentNumber(++s_documentCounter) {}

CKWDocument::~CKWDocument()
{
    delete m_printIFace;
    m_printIFace = nullptr;
}

bool CKWDocument::OnDocumentLoaded()
{
    CreatePrintIFace();
    InitializeFirstView();
    return true;
}

void CKWDocument::SetModifiedFlag(BOOL bModified)
{
    const bool modified = bModified != FALSE;
    if ((IsModified() != FALSE) == modified)
        return;
    CKWWinDocument::SetModifiedFlag(bModified);
    POSITION position = GetFirstViewPosition();
    while (position)
        OnModifiedChanged(modified, GetNextView(position));
}

BOOL CKWDocument::OnNewDocument()
{
    if (!CKWWinDocument::OnNewDocument() || !InitDocument())
        return FALSE;
    InitializeFirstView();
    return TRUE;
}

BOOL CKWDocument::OnOpenDocument(LPCWSTR lpszPathName)
{
    if (!lpszPathName || !*lpszPathName)
        return FALSE;
    CKWArchive archive(lpszPathName, CKWArchive::kLoad);
    if (!archive.IsOpen()) {
        ReportOpenFailure(lpszPathName);
        return FALSE;
    }
    try {
        Serialize(archive);
    } catch (...) {
        archive.Close();
        ReportOpenFailure(lpszPathName);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    OnDocumentLoaded();
    archive.Close();
    return TRUE;
}

BOOL CKWDocument::OnSaveDocument(LPCWSTR lpszPathName)
{
    if (!lpszPathName || !*lpszPathName)
        return FALSE;
    CKWArchive archive(lpszPathName, CKWArchive::kStore);
    if (!archive.IsOpen()) {
        ReportSaveFailure(lpszPathName);
        return FALSE;
    }
    bool written = true;
    try {
        Serialize(archive);
        // Storing does not throw: a full disk shows only in the stream's error bit.
        KWStreamFlush(archive.GetStream());
        written = !archive.HasStreamError();
    } catch (...) {
        written = false;
    }
    archive.Close();
    if (!written) {
        ReportSaveFailure(lpszPathName);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CKWDocument::DeletePrintIFace()
{
    delete m_printIFace;
    m_printIFace = nullptr;
}

void CKWDocument::OnModifiedChanged(bool modified, CView* view) {}

CString CKWDocument::GetFrameTitle(CFrameWnd* frame)
{
    const int dot = m_strTitle.ReverseFind(L'.');
    return dot >= 0 ? m_strTitle.Left(dot) : m_strTitle;
}

bool CKWDocument::InitDocument()
{
    CreatePrintIFace();
    return true;
}

CView* CKWDocument::InitializeFirstView()
{
    POSITION position = GetFirstViewPosition();
    if (!position)
        return nullptr;
    CKWView* view = DYNAMIC_DOWNCAST(CKWView, GetNextView(position));
    if (!view)
        return nullptr;
    view->InitializeView(this);
    return view;
}

void CKWDocument::CreatePrintIFace() {}
