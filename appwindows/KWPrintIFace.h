#pragma once
// CKWPrintIFace: what the framework's views ask of a document while they
// print or preview it. Each document type supplies its own; the defaults
// print one page and skip none.
class CDC;
class CPrintDialog;
class CPrintInfo;

class CKWPrintIFace {
public:
    CKWPrintIFace() = default;
    virtual ~CKWPrintIFace();
    CKWPrintIFace(const CKWPrintIFace&) = delete;
    CKWPrintIFace& operator=(const CKWPrintIFace&) = delete;

    // The page at which the print preview opens.
    virtual int GetPreviewStartPage();
    // Sets up the job (its page range); the view prepares the rest whatever happens here.
    virtual void OnPreparePrinting(CPrintInfo* info);
    // Only when the job has a print dialog, which is passed on.
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info, CPrintDialog* printDialog);
    // Only while printing or previewing.
    virtual void OnPrepareDC(CDC* dc, CPrintInfo* info);
    // Prepares one page; false skips it.
    virtual bool PreparePage(CDC* dc, CPrintInfo* info);
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
};
