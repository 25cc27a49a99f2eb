#pragma once
// CDocTemplate: makes documents of one class with their frames and views,
// and describes the document type through the fields of its document
// string (resource nIDResource): window title, document name, File New
// name, filter name, filter extension, registry file-type id and type name,
// separated by '\n'. CMultiDocTemplate keeps any number of documents, each
// in MDI child frames, with a menu and accelerators shared by all of them.
#include "platform/classlib/CmdTarget.h"
#include "platform/classlib/List.h"
#include "platform/classlib/String.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };
    // How well a file suits the template, in increasing order.
    enum Confidence {
        noAttempt,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen,
    };

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);

public:
    ~CDocTemplate() override;

    // Reads the document string (and, in derived templates, shared resources).
    virtual void LoadTemplate();
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);
    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;

    // yesAlreadyOpen (rpDocMatch set) when one of the template's documents
    // has the path (letter case aside); yesAttemptNative when the path ends
    // in the filter extension; else yesAttemptForeign.
    virtual Confidence MatchDocType(LPCWSTR lpszPathName, CDocument*& rpDocMatch);
    // A document of the class, added to the template; null on failure.
    virtual CDocument* CreateNewDocument();
    // A frame of the frame class with a view of the view class on pDoc,
    // loaded from nIDResource; null on failure.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);

    // Asks every modified document; FALSE when one was not saved.
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    // A new document (null path) or the document of a file, with its frame;
    // null on failure.
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    // Gives a new document its untitled name.
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;

    UINT GetResourceID() const { return m_nIDResource; }

protected:
    // After a failed new or open: the frame goes, and the document with it.
    void DestroyFrameAndDocument(CFrameWnd* pFrame, CDocument* pDocument);

public:

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
    // The document manager deletes the template when it is deleted itself.
    BOOL m_bAutoDelete;
};

class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass);
    // Destroys the shared menu and accelerators.
    ~CMultiDocTemplate() override;

    // Also loads the menu and the accelerator table of nIDResource.
    void LoadTemplate() override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    // The document name (or "Untitled") followed by the untitled count + 1.
    void SetDefaultTitle(CDocument* pDocument) override;

    // Shown by every frame of the template's documents.
    HMENU m_hMenuShared;
    HACCEL m_hAccelTable;
    // New documents made so far; the next untitled one is numbered one more.
    int m_nUntitledCount;

protected:
    CList<CDocument*, CDocument*> m_docList;
};
