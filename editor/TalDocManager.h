#pragma once
// CTalDocManager: the report editor's document manager. It opens report
// documents (".otd") and report templates (".otn", which give an untitled
// report) by extension, refuses a file it cannot read with a message, and
// reopens the last file at start-up without asking (StartUpMode 2).
#include "appwindows/KWDocManager.h"

class CTalDocManager : public CKWDocManager {
    DECLARE_DYNAMIC(CTalDocManager)
public:
    CTalDocManager();
    ~CTalDocManager() override;

    // "otn": OpenTemplateFile; "otd": the class library's opening when the
    // file can be read; anything else: null, without a message.
    CDocument* OpenDocumentFile(LPCWSTR lpszFileName) override;
    // The files to open: at start-up the last file when there is one, else
    // the open dialog in the remembered folder.
    BOOL PromptFileNames(CStringList& names) override;
    // The template's content as a new untitled report; null when the file
    // cannot be read.
    virtual CDocument* OpenTemplateFile(LPCWSTR path);

    // "Can't open file <path>!" with the program's caption.
    static void ReportUnreadable(LPCWSTR path);
    // Whether the file opens for reading.
    static bool CanRead(LPCWSTR path);
};

// The extension of a path (after its last dot, after its last separator), lower-cased.
CString TalLowerExtension(LPCWSTR path);
