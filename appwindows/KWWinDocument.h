#pragma once
// CKWWinDocument: the Windows document of the framework. Every document is
// the class library's OLE server document (so that it can be dragged and
// embedded) and offers the framework's abstract document interface.
#include "appwindows/KWAbstractDocument.h"
#include "platform/classlib/OleDocument.h"

class CKWWinDocument : public COleServerDoc, public CKWAbstractDocument {
    DECLARE_DYNAMIC(CKWWinDocument)
public:
    CKWWinDocument();
    ~CKWWinDocument() override;

    // Both Serialize operations stay visible: the class library's archive
    // and the framework's binary archive.
    using COleServerDoc::Serialize;
    using CKWAbstractDocument::Serialize;

    // The application's save prompt (the document manager's file dialog);
    // true only when the user chose a name, which is left in name.
    bool PromptSaveFileName(CString& name) override;

    // Stores the flag only.
    void SetModifiedFlag(BOOL bModified = TRUE) override;
    // A path saves there. Without one the path name is proposed (or, when
    // replacing an unnamed document, its title cut before ':', '/' or '\'
    // with the template's first filter extension) and PromptSaveFileName
    // decides; false when it was cancelled.
    BOOL DoSave(LPCWSTR lpszPathName, BOOL bReplace = TRUE) override;

    // The title as a file name: cut before the first ':', '/' or '\', with
    // the first of the template's filter extensions appended when it has one.
    CString ProposeFileName() const;
};
