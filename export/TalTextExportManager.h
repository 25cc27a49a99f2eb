#pragma once
// CTalTextExportManager: cuts a section's text note into blocks of whole
// lines, each fitting one rectangle of one page, grouped by page. On the
// picture pages the blocks fill the template's text cells; after the last
// picture page they fill areas computed around the heading cell.
#include <cstdint>
#include <vector>

#include "export/KWTextExportManager.h"
#include "export/TextExportLine.h"
#include "framework/KWDoubleRect.h"

class CKWTextObject;
class CTalTemplate;
class CTalTextNote;

struct CTalTextBlock {
    int32_t start = 0;  // where the block begins in the text
    int32_t end = -1;   // where the next block begins; -1: to the end of the text
    CKWDoubleRect rect;  // page fractions
    TextExportLine lines;
};

typedef std::vector<CTalTextBlock> CTalTextPage;
typedef std::vector<CTalTextPage> CTalTextPages;

class CTalTextExportManager : public CKWTextExportManager {
public:
    // Margin, gap to the heading and least room for an area, in tenths of a millimetre.
    static constexpr double kAreaMargin = 200.0;
    static constexpr double kHeadingGap = 100.0;
    static constexpr double kLeastAreaRoom = 500.0;

    // picturePages: the section's number of picture pages; the manager uses
    // -1 (text cells on every page) when the template has no picture cell.
    // Page size in tenths of a millimetre.
    CTalTextExportManager(CTalTextNote* note, const CTalTemplate* pageTemplate, int32_t picturePages,
                          double pageWidth, double pageHeight);
    ~CTalTextExportManager() override;

    // Clears pages and fills it, one entry per page, each with its blocks.
    void Split(CTalTextPages& pages);

    int32_t GetPicturePages() const { return m_picturePages; }
    // The text areas of the pages after the picture pages (page fractions).
    const std::vector<CKWDoubleRect>& GetAreas();

private:
    // The next rectangle in tenths of a millimetre; appends its block (and a
    // page when it opens one).
    CKWDoubleRect NextRect(CTalTextPages& pages);
    CKWDoubleRect NextAreaRect(CTalTextPages& pages);
    CKWDoubleRect ToAbsolute(const CKWDoubleRect& fraction) const;
    void ComputeAreas();

    CKWTextObject* m_text;  // the note's text, not owned
    int32_t m_picturePages;
    double m_pageWidth;
    double m_pageHeight;
    const std::vector<CKWDoubleRect>* m_textCells;  // the template's, not owned
    CKWDoubleRect m_headingCell;
    int32_t m_pageIndex = 0;
    int32_t m_cellIndex = 0;
    int32_t m_areaIndex = 0;
    std::vector<CKWDoubleRect> m_areas;
    bool m_areasComputed = false;
};
