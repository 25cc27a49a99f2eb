#include "platform/classlib/Document.h"

#include "platform/classlib/Archive.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/File.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/View.h"
#include "platform/classlib/WinApp.h"

#include <vector>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

namespace {
// The name part of a path (after the last separator).
CString FileNameOf(const CString& strPath) {
    int nCut = -1;
    for (int i = 0; i < strPath.GetLength(); ++i) {
        wchar_t ch = strPath[i];
        if (ch == L'\\' || ch == L'/' || ch == L':')
            nCut = i;
    }
    return strPath.Mid(nCut + 1);
}
}  // namespace

CString AfxFullPath(LPCWSTR lpszFileIn) {
    if (lpszFileIn == nullptr || *lpszFileIn == L'\0')
        return CString();
    DWORD nNeeded = ::GetFullPathNameW(lpszFileIn, 0, nullptr, nullptr);
    if (nNeeded == 0)
        return CString(lpszFileIn);
    std::vector<wchar_t> buffer(static_cast<size_t>(nNeeded) + 1, L'\0');
    DWORD nLength = ::GetFullPathNameW(lpszFileIn, nNeeded + 1, buffer.data(), nullptr);
    if (nLength == 0 || nLength > nNeeded)
        return CString(lpszFileIn);
    return CString(buffer.data(), static_cast<int>(nLength));
}

BOOL AfxComparePath(LPCWSTR lpszPath1, LPCWSTR lpszPath2) {
    CString str1 = AfxFullPath(lpszPath1);
    CString str2 = AfxFullPath(lpszPath2);
    return ::CompareStringOrdinal(str1, str1.GetLength(), str2, str2.GetLength(), TRUE) == CSTR_EQUAL;
}

int AfxMessageBoxText(UINT nID, LPCWSTR lpszDefault, UINT nType, LPCWSTR lpsz1) {
    CString strText;
    if (!AfxLoadStringResource(nID, strText))
        strText = lpszDefault;
    if (lpsz1 != nullptr)
        strText.Replace(L"%1", lpsz1);
    return AfxMessageBox(strText, nType, nID);
}

CDocument::CDocument() : m_bAutoDelete(TRUE), m_bEmbedded(FALSE), m_pDocTemplate(nullptr), m_bModified(FALSE) {}

CDocument::~CDocument() {
    // Views that outlive their document must not call back into it.
    DisconnectViews();
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCWSTR lpszTitle) {
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCWSTR lpszPathName, BOOL bAddToMRU) {
    m_strPathName = AfxFullPath(lpszPathName);
    SetTitle(FileNameOf(m_strPathName));
    if (bAddToMRU && !m_strPathName.IsEmpty()) {
        if (CWinApp* pApp = AfxGetApp())
            pApp->AddToRecentFileList(m_strPathName);
    }
}

BOOL CDocument::IsModified() { return m_bModified; }

void CDocument::SetModifiedFlag(BOOL bModified) { m_bModified = bModified; }

POSITION CDocument::GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }

CView* CDocument::GetNextView(POSITION& rPosition) const { return m_viewList.GetNext(rPosition); }

void CDocument::AddView(CView* pView) {
    if (pView == nullptr || m_viewList.Find(pView) != nullptr)
        return;
    if (pView->m_pDocument != nullptr && pView->m_pDocument != this)
        pView->m_pDocument->RemoveView(pView);
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
    POSITION pos = m_viewList.Find(pView);
    if (pos == nullptr)
        return;
    m_viewList.RemoveAt(pos);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    POSITION pos = GetFirstViewPosition();
    while (pos != nullptr) {
        CView* pView = GetNextView(pos);
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::OnChangedViewList() {
    if (m_viewList.IsEmpty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts() {
    // The distinct visible frames, in the order of their first views.
    std::vector<CFrameWnd*> frames;
    POSITION pos = GetFirstViewPosition();
    while (pos != nullptr) {
        CView* pView = GetNextView(pos);
        if (pView->m_hWnd == nullptr || !pView->IsWindowVisible())
            continue;
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame == nullptr)
            continue;
        bool bKnown = false;
        for (CFrameWnd* p : frames)
            bKnown = bKnown || p == pFrame;
        if (!bKnown)
            frames.push_back(pFrame);
    }
    int nFrames = static_cast<int>(frames.size());
    for (int i = 0; i < nFrames; ++i) {
        frames[static_cast<size_t>(i)]->m_nWindow = nFrames == 1 ? 0 : i + 1;
        frames[static_cast<size_t>(i)]->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

CFile* CDocument::GetFile(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    CFile* pFile = new CFile;
    if (!pFile->Open(lpszFileName, nOpenFlags, pError)) {
        delete pFile;
        return nullptr;
    }
    return pFile;
}

void CDocument::ReleaseFile(CFile* pFile, BOOL bAbort) {
    if (pFile == nullptr)
        return;
    if (bAbort) {
        pFile->Abort();
        delete pFile;
        return;
    }
    try {
        pFile->Close();
    } catch (...) {
        delete pFile;
        throw;
    }
    delete pFile;
}

void CDocument::ReportSaveLoadException(LPCWSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault) {
    if (e != nullptr && e->IsKindOf(RUNTIME_CLASS(CUserException)))
        return;  // already reported
    CString strPath = lpszPathName != nullptr ? CString(lpszPathName) : m_strTitle;
    LPCWSTR lpszText = bSaving ? L"Failed to save document." : L"Failed to open document.";
    if (e != nullptr && e->IsKindOf(RUNTIME_CLASS(CFileException))) {
        switch (static_cast<CFileException*>(e)->m_cause) {
        case CFileException::fileNotFound:
        case CFileException::badPath:
            lpszText = L"%1\nFile not found.";
            break;
        case CFileException::accessDenied:
            lpszText = bSaving ? L"Unable to write to %1.\nAccess denied." : L"Unable to read from %1.\nAccess denied.";
            break;
        case CFileException::sharingViolation:
        case CFileException::lockViolation:
            lpszText = L"%1\nThe file is in use by another program.";
            break;
        case CFileException::diskFull:
            lpszText = L"Unable to write to %1.\nThe disk is full.";
            break;
        default:
            break;
        }
        AfxMessageBoxText(0, lpszText, MB_ICONEXCLAMATION, strPath);
        return;
    }
    if (e != nullptr && e->IsKindOf(RUNTIME_CLASS(CArchiveException)) && !bSaving)
        lpszText = L"Unexpected file format.";
    AfxMessageBoxText(nIDPDefault, lpszText, MB_ICONEXCLAMATION, strPath);
}

BOOL CDocument::OnOpenDocument(LPCWSTR lpszPathName) {
    CFileException fe;
    CFile* pFile = GetFile(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe);
    if (pFile == nullptr) {
        ReportSaveLoadException(lpszPathName, &fe, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag();  // while half loaded
    CArchive loadArchive(pFile, CArchive::load | CArchive::bNoFlushOnDelete);
    loadArchive.m_pDocument = this;
    try {
        CWaitCursor wait;
        if (pFile->GetLength() != 0)
            Serialize(loadArchive);
        loadArchive.Close();
        ReleaseFile(pFile, FALSE);
    } catch (CException* e) {
        loadArchive.Abort();
        ReleaseFile(pFile, TRUE);
        DeleteContents();
        ReportSaveLoadException(lpszPathName, e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        e->Delete();
        return FALSE;
    } catch (...) {
        loadArchive.Abort();
        ReleaseFile(pFile, TRUE);
        DeleteContents();
        ReportSaveLoadException(lpszPathName, nullptr, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCWSTR lpszPathName) {
    CFileException fe;
    CFile* pFile = GetFile(lpszPathName, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &fe);
    if (pFile == nullptr) {
        ReportSaveLoadException(lpszPathName, &fe, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    CArchive saveArchive(pFile, CArchive::store | CArchive::bNoFlushOnDelete);
    saveArchive.m_pDocument = this;
    try {
        CWaitCursor wait;
        Serialize(saveArchive);
        saveArchive.Close();
        ReleaseFile(pFile, FALSE);
    } catch (CException* e) {
        saveArchive.Abort();
        ReleaseFile(pFile, TRUE);
        ReportSaveLoadException(lpszPathName, e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        e->Delete();
        return FALSE;
    } catch (...) {
        saveArchive.Abort();
        ReleaseFile(pFile, TRUE);
        ReportSaveLoadException(lpszPathName, nullptr, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument() {
    // The document must outlive the destruction of its frames.
    BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        CView* pView = m_viewList.GetHead();
        CFrameWnd* pFrame = pView->m_hWnd != nullptr ? pView->GetParentFrame() : nullptr;
        if (pFrame != nullptr) {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
        } else if (pView->m_hWnd != nullptr) {
            pView->DestroyWindow();
        }
        // A view that stayed (no window, or one that did not go) is let go here.
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView)
            RemoveView(pView);
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame) {
    POSITION pos = GetFirstViewPosition();
    while (pos != nullptr) {
        CView* pView = GetNextView(pos);
        CFrameWnd* pOther = pView->m_hWnd != nullptr ? pView->GetParentFrame() : nullptr;
        if (pOther != nullptr && pOther != pFrame)
            return TRUE;  // another frame keeps showing the document
    }
    return SaveModified();
}

BOOL CDocument::SaveModified() {
    if (!IsModified())
        return TRUE;
    CString strName = m_strPathName.IsEmpty() ? m_strTitle : FileNameOf(m_strPathName);
    if (strName.IsEmpty() && !AfxLoadStringResource(AFX_IDS_UNTITLED, strName))
        strName = L"Untitled";
    switch (AfxMessageBoxText(AFX_IDP_ASK_TO_SAVE, L"Save changes to %1?", MB_YESNOCANCEL | MB_ICONEXCLAMATION,
                              strName)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

void CDocument::PreCloseFrame(CFrameWnd*) {}

BOOL CDocument::DoFileSave() {
    DWORD dwAttrib = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(m_strPathName);
    // A new document, a file that is gone or a read-only one get a new name.
    if (dwAttrib == INVALID_FILE_ATTRIBUTES || (dwAttrib & FILE_ATTRIBUTE_READONLY))
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(LPCWSTR lpszPathName, BOOL bReplace) {
    CString strNewName = lpszPathName;
    if (strNewName.IsEmpty()) {
        CDocTemplate* pTemplate = GetDocTemplate();
        strNewName = m_strPathName;
        if (bReplace && strNewName.IsEmpty()) {
            strNewName = m_strTitle;
            // A title is no path: cut it before anything that would make it one.
            for (int i = 0; i < strNewName.GetLength(); ++i) {
                wchar_t ch = strNewName[i];
                if (ch == L':' || ch == L'/' || ch == L'\\') {
                    strNewName = strNewName.Left(i);
                    break;
                }
            }
            CString strExt;
            if (pTemplate != nullptr && pTemplate->GetDocString(strExt, CDocTemplate::filterExt) &&
                !strExt.IsEmpty()) {
                int nSemicolon = strExt.Find(L';');
                strNewName += nSemicolon >= 0 ? strExt.Left(nSemicolon) : strExt;
            }
        }
        CWinApp* pApp = AfxGetApp();
        if (pApp == nullptr || !pApp->DoPromptFileName(strNewName, AFX_IDS_SAVEFILE,
                                                       OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, pTemplate))
            return FALSE;
    }
    CWaitCursor wait;
    if (!OnSaveDocument(strNewName)) {
        if (lpszPathName == nullptr)
            ::DeleteFileW(strNewName);  // no half-written file under the new name
        return FALSE;
    }
    if (bReplace)
        SetPathName(strNewName);
    return TRUE;
}

void CDocument::DisconnectViews() {
    while (!m_viewList.IsEmpty()) {
        CView* pView = m_viewList.RemoveHead();
        pView->m_pDocument = nullptr;
    }
}

HMENU CDocument::GetDefaultMenu() { return nullptr; }

HACCEL CDocument::GetDefaultAccelerator() { return nullptr; }

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnFileClose() {
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }

void CDocument::OnFileSaveAs() { DoSave(nullptr); }
