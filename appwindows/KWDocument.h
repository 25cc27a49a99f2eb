#pragma once
// CKWDocument: the framework's document. It numbers its documents, owns the
// print interface, gives the frames their captions, reads and writes itself
// through the framework's binary archive and binds its first view once it
// has content.
#include "appwindows/KWWinDocument.h"

#include <cstdint>

class CFrameWnd;
class CView;

class CKWDocument : public CKWWinDocument {
    DECLARE_DYNAMIC(CKWDocument)
public:
    // Takes the next number of the process-wide counter (the first document is 1).
    CKWDocument();
    // Deletes the print interface.
    ~CKWDocument() override;

    uint32_t GetDocumentNumber() const { return m_documentNumber; }

    // --- CKWAbstractDocument ---
    CKWPrintIFace* GetPrintIFace() override { return m_printIFace; }
    // CreatePrintIFace, then InitializeFirstView; true.
    bool OnDocumentLoaded() override;

    // --- The class library's document ---
    // Only a change of the flag reaches the views (OnModifiedChanged, in view-list order).
    void SetModifiedFlag(BOOL bModified = TRUE) override;
    // The OLE document's new step, then InitDocument, then InitializeFirstView.
    BOOL OnNewDocument() override;
    // Through a binary archive on the file. False for an empty path, a file
    // that does not open, or any exception of the archive or of Serialize; the
    // last two are reported in a message box ("Can't open file %s!").
    BOOL OnOpenDocument(LPCWSTR lpszPathName) override;
    // As OnOpenDocument, writing; false also when not every byte was written
    // (reported as "Can't save file %s!").
    BOOL OnSaveDocument(LPCWSTR lpszPathName) override;

    // --- Added operations ---
    virtual void DeletePrintIFace();
    // The modified flag changed; for each view of the document.
    virtual void OnModifiedChanged(bool modified, CView* view);
    // The caption of the document's frames: the title up to its last '.'.
    virtual CString GetFrameTitle(CFrameWnd* frame);
    // A new document's first content; the base makes the print interface.
    virtual bool InitDocument();
    // The first view of the document, bound to it when it is the
    // framework's view; null otherwise.
    virtual CView* InitializeFirstView();
    // A derived document makes its interface and keeps it in m_printIFace.
    virtual void CreatePrintIFace();

protected:
    CKWPrintIFace* m_printIFace = nullptr;

private:
    uint32_t m_documentNumber;
};
