#pragma once
// CTalPagePainter: draws one composed report page through the drawing
// interface, as the report view prints and previews it: its objects in list
// order (later ones over earlier ones), text-note lines, pictures (a
// section's picture rotated, grey and captioned as its record says; a
// watermark picture sized in inches of the printer), plain text in its box
// and watermark text placed by its place index.
#include "framework/KWRasterImage.h"
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
    // The pages' composed size (tenths of a millimetre; 0: the page rectangle
    // is that size at the drawing's resolution) scales the note lines, which
    // are laid out in tenths of a millimetre, to the rectangle they are drawn
    // on, so that they stay inside their boxes on any paper.
    CTalPagePainter(const CTalDocProperties& properties, double printerDpiX, double printerDpiY,
                    double composedWidth = 0, double composedHeight = 0);

    void DrawPage(IKWGraphics& graphics, const CRect& pageRect, const TalPageExport& page);

private:
    void DrawTextLines(const ExportTextData& block);
    void DrawPicture(const ExportImageData& picture);
    // A picture larger than the device pixels it is drawn on (width x height
    // in the drawing's units) is first reduced to them.
    void ShrinkToDevice(KWRasterImagePtr& image, double width, double height);
    void DrawCaption(const ExportImageData& picture, double pictureBottom);
    void DrawText(const TalObjExport& object);

    const CTalDocProperties& m_properties;
    double m_printerDpiX;
    double m_printerDpiY;
    double m_composedWidth;
    double m_composedHeight;
    IKWGraphics* m_graphics = nullptr;
    CRect m_page;
    double m_dpi = 96.0;
    double m_pointScale = 96.0 / 72.0;
    // Device units per tenth of a millimetre of the note lines.
    double m_lineScale = 96.0 / 254.0;
};
