#pragma once
// CDocManager: the application's list of document templates. It opens
// files with the template that suits them best, creates new documents,
// saves and closes all documents, asks for file names, writes the shell
// registration of the document types and carries out the shell's DDE
// commands. An application may install a derived manager.
#include "platform/classlib/List.h"
#include "platform/classlib/String.h"

class CDocTemplate;
class CDocument;

class CDocManager : public CObject {
    DECLARE_DYNAMIC(CDocManager)
public:
    CDocManager();
    // Deletes the templates whose m_bAutoDelete is set.
    ~CDocManager() override;

    virtual void AddDocTemplate(CDocTemplate* pTemplate);
    virtual POSITION GetFirstDocTemplatePosition() const;
    virtual CDocTemplate* GetNextDocTemplate(POSITION& pos) const;

    // Writes, for every template with a filter extension and a file-type id,
    // the shell's keys of its type (HKEY_CLASSES_ROOT): the extension, the
    // type with its name, icon, "open" command and DDE command, and with
    // bCompat the "print" and "printto" verbs.
    virtual void RegisterShellFileTypes(BOOL bCompat);
    // Removes what RegisterShellFileTypes wrote; FALSE when something stayed.
    virtual BOOL UnregisterShellFileTypes();

    // The document of the file: the one already open (its frame is
    // activated) or one opened by the best template; null on failure.
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszFileName);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    virtual int GetOpenDocumentCount();

    // The common file dialog for opening (filters of all templates, or of
    // pTemplate) or saving; TRUE with the name chosen. Several names come
    // back NUL-separated (folder first) when lFlags ask for multi-select.
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                  CDocTemplate* pTemplate);

    // The shell's commands: [open("path")], [print("path")],
    // [printto("path","printer","driver","port")]; FALSE for anything else.
    virtual BOOL OnDDECommand(LPWSTR lpszCommand);

    // A new document from the first template.
    virtual void OnFileNew();
    // The open dialog, then OpenDocumentFile with the chosen name.
    virtual void OnFileOpen();

protected:
    CList<CDocTemplate*, CDocTemplate*> m_templateList;
};

// Parses one DDE command of the shell: the verb before '(' (brackets and
// blanks taken off) and the arguments, each in double quotes or up to the
// next comma. FALSE when the text is no command.
BOOL AfxParseDDECommand(LPCWSTR lpszCommand, CString& rVerb, CString* pArgs, int nMaxArgs, int& rnArgs);
