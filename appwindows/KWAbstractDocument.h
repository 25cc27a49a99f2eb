#pragma once
// CKWAbstractDocument: how the framework's views and frames reach a document
// without knowing the class library's document classes.
#include "platform/classlib/String.h"

class CKWArchive;
class CKWPrintIFace;

class CKWAbstractDocument {
public:
    virtual ~CKWAbstractDocument() = default;

    // The document's print interface; null when it has none.
    virtual CKWPrintIFace* GetPrintIFace() { return nullptr; }
    // Asks for the file name to save under (name holds the proposal and
    // receives the choice); false when nothing was chosen.
    virtual bool PromptSaveFileName(CString& name) { return false; }
    // Reads or writes the document through the binary archive.
    virtual void Serialize(CKWArchive& ar) {}
    // Called once a document has been read through the archive.
    virtual bool OnDocumentLoaded() { return false; }
    // Pages beyond one that the print preview shows side by side when it opens.
    virtual int GetExtraPreviewPages() { return 0; }
};
