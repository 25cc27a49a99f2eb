#pragma once
// CPreviewDC: the context a print preview draws its pages through. Queries
// go to the printer's context (m_hAttribDC), so the view lays its pages out
// exactly as for printing; output goes to an enhanced metafile that refers
// to the printer, which the preview then plays scaled into the page on screen.
#include "platform/classlib/DC.h"

class CPreviewDC : public CDC {
    DECLARE_DYNAMIC(CPreviewDC)
public:
    CPreviewDC();
    // Owns neither context: the printer's belongs to the print job.
    ~CPreviewDC() override;

    void SetAttribDC(HDC hDC);

    // Starts recording one page (the printer's state is saved); FALSE without a printer.
    BOOL BeginPage();
    // The recorded page (the caller deletes it), the printer's state restored;
    // null when no page was being recorded.
    HENHMETAFILE EndPage();

    // The paper in printer pixels, and the printable area within it.
    CSize GetPaperSize() const;
    CRect GetPrintableRect() const;

    // The size in screen pixels at which the printable area of the page being
    // recorded is shown; empty when not known. What is drawn at that size
    // is shown pixel for pixel.
    void SetShownSize(CSize size) { m_shownSize = size; }
    CSize GetShownSize() const { return m_shownSize; }

private:
    int m_nSavedAttrib;
    CSize m_shownSize;
};
