#pragma once
// CPrintInfo: the state of one print job or preview, shared by the print
// loop, the preview and the view's printing steps.
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

class CPrintDialog;

class CPrintInfo {
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    // The job's print dialog (owned): its PRINTDLG holds the page range and the printer's DC.
    CPrintDialog* m_pPD;
    BOOL m_bDirect;   // printing without the dialog
    BOOL m_bPreview;  // drawing for the print preview
    // Cleared by the view to end the job before the last page.
    BOOL m_bContinuePrinting;
    UINT m_nCurPage;
    // Pages shown side by side in the preview (1 or 2).
    UINT m_nNumPreviewPages;
    // The preview's page number texts: "Page %u\nPages %u-%u\n".
    CString m_strPageDesc;
    LPVOID m_lpUserData;
    // The printable area of the current page in logical units.
    CRect m_rectDraw;

    void SetMinPage(UINT nMinPage);
    void SetMaxPage(UINT nMaxPage);
    UINT GetMinPage() const;
    UINT GetMaxPage() const;
    UINT GetFromPage() const;
    UINT GetToPage() const;
};
