#pragma once
// CTalPrintIFace: how the report is printed and previewed. It composes the
// report's pages before the job, records the device's resolution and
// printable size, and gives each printed page its drawing scale.
#include "appwindows/KWPrintIFace.h"
#include "platform/classlib/Rect.h"

#include <cstdint>

class CTalDocument;

class CTalPrintIFace : public CKWPrintIFace {
public:
    explicit CTalPrintIFace(CTalDocument* document);
    ~CTalPrintIFace() override;

    // The first page of the current section, as the last composition found it.
    int GetPreviewStartPage() override;
    // Composes the pages for printing; the job's range is 1 to their number.
    void OnPreparePrinting(CPrintInfo* info) override;
    // Reads the device's resolution and printable size.
    void OnBeginPrinting(CDC* dc, CPrintInfo* info, CPrintDialog* printDialog) override;
    // Printing: 100 / pixels per inch on each axis; previewing: 1.0. No page is skipped.
    bool PreparePage(CDC* dc, CPrintInfo* info) override;

    // (0, 0, printable width, printable height) in device pixels.
    CRect GetSizeRect() const;
    double GetScaleX() const { return m_scaleX; }
    double GetScaleY() const { return m_scaleY; }
    double GetPrintableWidth() const { return m_printableWidth; }
    double GetPrintableHeight() const { return m_printableHeight; }
    // The device's resolution as the last job read it (0 before any).
    int32_t GetPixelsPerInchX() const { return m_pixelsPerInchX; }
    int32_t GetPixelsPerInchY() const { return m_pixelsPerInchY; }

private:
    CTalDocument* m_document;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    double m_printableWidth = 210.0;
    double m_printableHeight = 297.0;
    int32_t m_printableWidthPixels = 2000;
    int32_t m_printableHeightPixels = 3000;
    int32_t m_pixelsPerInchX = 0;
    int32_t m_pixelsPerInchY = 0;
    int32_t m_startPage = 1;
};
