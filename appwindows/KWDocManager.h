#pragma once
// CKWDocManager: the framework's document manager. A new document always
// comes from the first template, the open command takes several files at
// once and opens each, and the open documents of all templates can be
// walked through one at a time.
#include "platform/classlib/DocManager.h"
#include "platform/classlib/StringList.h"

class CKWDocManager : public CDocManager {
    DECLARE_DYNAMIC(CKWDocManager)
public:
    CKWDocManager();
    ~CKWDocManager() override;

    // A new, visible document of the first template; nothing without templates.
    void OnFileNew() override;
    // Opens each chosen file in the order given.
    void OnFileOpen() override;
    // The open dialog for several files; false when it was cancelled.
    virtual BOOL PromptFileNames(CStringList& names);

    // The first open document of any template; null when there is none.
    CDocument* GetFirstDocument();
    // The next one, through the later templates; null at the end.
    CDocument* GetNextDocument();

    // The dialog's answer as full paths: one path, or the folder and the
    // names that follow it, NUL-separated.
    static void SplitFileNames(const CString& answer, CStringList& names);

private:
    POSITION m_templatePosition = nullptr;
    CDocTemplate* m_template = nullptr;
    POSITION m_documentPosition = nullptr;
};
