#include "platform/classlib/DocTemplate.h"

#include "platform/classlib/CreateContext.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

namespace {
// Field nIndex of a '\n'-separated string; FALSE when there are fewer fields.
BOOL ExtractField(const CString& strFull, int nIndex, CString& rField) {
    int nStart = 0;
    for (int i = 0; i < nIndex; ++i) {
        int nNext = strFull.Find(L'\n', nStart);
        if (nNext < 0) {
            rField.Empty();
            return FALSE;
        }
        nStart = nNext + 1;
    }
    int nEnd = strFull.Find(L'\n', nStart);
    rField = nEnd < 0 ? strFull.Mid(nStart) : strFull.Mid(nStart, nEnd - nStart);
    return TRUE;
}

// The extension of a path: from its last dot, when that follows the last separator.
CString ExtensionOf(LPCWSTR lpszPath) {
    CString strPath(lpszPath);
    int nDot = strPath.ReverseFind(L'.');
    int nSlash = strPath.ReverseFind(L'\\');
    int nOther = strPath.ReverseFind(L'/');
    if (nOther > nSlash)
        nSlash = nOther;
    if (nDot < 0 || nDot < nSlash)
        return CString();
    return strPath.Mid(nDot);
}
}  // namespace

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass),
      m_bAutoDelete(TRUE) {}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate() {
    if (m_strDocStrings.IsEmpty())
        AfxLoadStringResource(m_nIDResource, m_strDocStrings);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
    return ExtractField(m_strDocStrings, static_cast<int>(index), rString);
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
    if (pDoc->m_pDocTemplate == this)
        pDoc->m_pDocTemplate = nullptr;
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCWSTR lpszPathName, CDocument*& rpDocMatch) {
    rpDocMatch = nullptr;
    POSITION pos = GetFirstDocPosition();
    while (pos != nullptr) {
        CDocument* pDoc = GetNextDoc(pos);
        if (!pDoc->GetPathName().IsEmpty() && AfxComparePath(pDoc->GetPathName(), lpszPathName)) {
            rpDocMatch = pDoc;
            return yesAlreadyOpen;
        }
    }
    CString strFilterExt;
    if (GetDocString(strFilterExt, filterExt) && !strFilterExt.IsEmpty()) {
        CString strExt = ExtensionOf(lpszPathName);
        // Several extensions are separated by ';'.
        int nStart = 0;
        while (nStart <= strFilterExt.GetLength()) {
            int nEnd = strFilterExt.Find(L';', nStart);
            CString strOne = nEnd < 0 ? strFilterExt.Mid(nStart) : strFilterExt.Mid(nStart, nEnd - nStart);
            strOne.Trim();
            if (strOne.Left(1) == L"*")
                strOne = strOne.Mid(1);
            if (!strOne.IsEmpty() && !strExt.IsEmpty() && strExt.CompareNoCase(strOne) == 0)
                return yesAttemptNative;
            if (nEnd < 0)
                break;
            nStart = nEnd + 1;
        }
    }
    return yesAttemptForeign;
}

CDocument* CDocTemplate::CreateNewDocument() {
    if (m_pDocClass == nullptr || !m_pDocClass->IsDerivedFrom(RUNTIME_CLASS(CDocument)))
        return nullptr;
    CDocument* pDocument = static_cast<CDocument*>(m_pDocClass->CreateObject());
    if (pDocument == nullptr)
        return nullptr;
    AddDocument(pDocument);
    return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    if (m_pFrameClass == nullptr || !m_pFrameClass->IsDerivedFrom(RUNTIME_CLASS(CFrameWnd)))
        return nullptr;
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CFrameWnd* pFrame = static_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
    if (pFrame == nullptr)
        return nullptr;
    // A frame that fails deletes itself.
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified() {
    POSITION pos = GetFirstDocPosition();
    while (pos != nullptr) {
        CDocument* pDoc = GetNextDoc(pos);
        if (!pDoc->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL bEndSession) {
    POSITION pos = GetFirstDocPosition();
    while (pos != nullptr) {
        CDocument* pDoc = GetNextDoc(pos);
        if (bEndSession)
            pDoc->DisconnectViews();
        pDoc->OnCloseDocument();
    }
}

void CDocTemplate::DestroyFrameAndDocument(CFrameWnd* pFrame, CDocument* pDocument) {
    // A document with views closes itself with its last one; one without
    // views would be left behind.
    BOOL bHadViews = pDocument->GetFirstViewPosition() != nullptr;
    BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pFrame->DestroyWindow();
    if (!bHadViews && bAutoDelete)
        delete pDocument;
}

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_hMenuShared(nullptr),
      m_hAccelTable(nullptr), m_nUntitledCount(0) {}

CMultiDocTemplate::~CMultiDocTemplate() {
    // Documents still open lose their template, not their life.
    while (!m_docList.IsEmpty())
        CDocTemplate::RemoveDocument(m_docList.RemoveHead());
    if (m_hMenuShared != nullptr)
        ::DestroyMenu(m_hMenuShared);
    if (m_hAccelTable != nullptr)
        ::DestroyAcceleratorTable(m_hAccelTable);
}

void CMultiDocTemplate::LoadTemplate() {
    CDocTemplate::LoadTemplate();
    HINSTANCE hInst = AfxGetResourceHandle();
    LPCWSTR lpszName = MAKEINTRESOURCEW(m_nIDResource);
    if (m_hMenuShared == nullptr && ::FindResourceW(hInst, lpszName, RT_MENU) != nullptr)
        m_hMenuShared = ::LoadMenuW(hInst, lpszName);
    if (m_hAccelTable == nullptr &&
        ::FindResourceW(hInst, lpszName, RT_ACCELERATOR) != nullptr)
        m_hAccelTable = ::LoadAcceleratorsW(hInst, lpszName);
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc) {
    CDocTemplate::AddDocument(pDoc);
    if (m_docList.Find(pDoc) == nullptr)
        m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc) {
    CDocTemplate::RemoveDocument(pDoc);
    POSITION pos = m_docList.Find(pDoc);
    if (pos != nullptr)
        m_docList.RemoveAt(pos);
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const { return m_docList.GetHeadPosition(); }

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const { return m_docList.GetNext(rPos); }

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible) {
    CDocument* pDocument = CreateNewDocument();
    if (pDocument == nullptr) {
        AfxMessageBoxText(AFX_IDP_FAILED_TO_CREATE_DOC, L"Failed to create empty document.", MB_ICONEXCLAMATION);
        return nullptr;
    }
    // A frame that fails takes its views with it; the document must survive that.
    BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE;
    CFrameWnd* pFrame = CreateNewFrame(pDocument, nullptr);
    pDocument->m_bAutoDelete = bAutoDelete;
    if (pFrame == nullptr) {
        AfxMessageBoxText(AFX_IDP_FAILED_TO_CREATE_DOC, L"Failed to create empty document.", MB_ICONEXCLAMATION);
        delete pDocument;
        return nullptr;
    }
    if (lpszPathName == nullptr) {
        SetDefaultTitle(pDocument);
        if (!bMakeVisible)
            pDocument->m_bEmbedded = TRUE;
        if (!pDocument->OnNewDocument()) {
            DestroyFrameAndDocument(pFrame, pDocument);
            return nullptr;
        }
        ++m_nUntitledCount;
    } else {
        CWaitCursor wait;
        if (!pDocument->OnOpenDocument(lpszPathName)) {
            DestroyFrameAndDocument(pFrame, pDocument);
            return nullptr;
        }
        pDocument->SetPathName(lpszPathName);
    }
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    CString strDocName;
    if (GetDocString(strDocName, docName) && !strDocName.IsEmpty()) {
        CString strNumber;
        strNumber.Format(L"%d", m_nUntitledCount + 1);
        strDocName += strNumber;
    } else if (!AfxLoadStringResource(AFX_IDS_UNTITLED, strDocName)) {
        strDocName = L"Untitled";
    }
    pDocument->SetTitle(strDocName);
}
