#pragma once
// CTalPagePainter: draws one composed report page through the drawing
// interface, as the report view prints and previews it: its objects in list
// order (later ones over earlier ones), text-note lines, pictures (a
// section's picture rotated, grey and captioned as its record says; a
// watermark picture sized in inches of the printer), plain text in its box
// and watermark text placed by its place index.
#include "platform/classlib/Rect.h"

#include <cstdint>

class CKWIndexDecoder;
class ExportCommonImageData;
class ExportImageData;
class ExportTextData;
class IKWGraphics;
class TalObjExport;
class TalPageExport;
class CTalDocProperties;

// The alignment flags of a watermark's place index 0 (top left) .. 8 (bottom
// right), row by row; 0 for any other index.
uint32_t TalPlaceAlignmentFlags(int32_t place);

class CTalPagePainter {
public:
    // properties: the document's (its font table names the text lines'
    // faces); the printer's resolution gives a watermark picture its size.
    CTalPagePainter(const CTalDocProperties& properties, double printerDpiX, double printerDpiY);

    void DrawPage(IKWGraphics& graphics, const CRect& pageRect, const TalPageExport& page);

private:
    void DrawTextLines(const ExportTextData& block);
    void DrawPicture(const ExportImageData& picture);
    void DrawCaption(const ExportImageData& picture, double pictureBottom);
    void DrawText(const TalObjExport& object);

    const CTalDocProperties& m_properties;
    double m_printerDpiX;
    double m_printerDpiY;
    IKWGraphics* m_graphics = nullptr;
    CRect m_page;
    double m_dpi = 96.0;
    double m_pointScale = 96.0 / 72.0;
};
