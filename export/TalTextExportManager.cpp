#include "export/TalTextExportManager.h"

#include "model/TalTemplate.h"
#include "model/TalTextNote.h"

CTalTextExportManager::CTalTextExportManager(CTalTextNote* note, const CTalTemplate* pageTemplate,
                                             int32_t picturePages, double pageWidth, double pageHeight)
    : m_text(note), m_picturePages(picturePages), m_pageWidth(pageWidth), m_pageHeight(pageHeight),
      m_textCells(nullptr)
{
    if (pageTemplate) {
        m_textCells = pageTemplate->GetCells(CTalTemplate::kCellText);
        const CTalCellList* headings = pageTemplate->GetCells(CTalTemplate::kCellHeading);
        if (headings && !headings->empty())
            m_headingCell = headings->front();
        const CTalCellList* pictures = pageTemplate->GetCells(CTalTemplate::kCellPictures);
        if (!pictures || pictures->empty())
            m_picturePages = -1;
    } else {
        m_picturePages = -1;
    }
}

CTalTextExportManager::~CTalTextExportManager() {}

void CTalTextExportManager::Split(CTalTextPages& pages)
{
    pages.clear();
    if (!m_text || m_text->GetLength() == 0 || !m_textCells || m_textCells->empty())
        return;

    int32_t position = 0;
    while (position != -1) {
        const CKWDoubleRect rect = NextRect(pages);
        CTalTextBlock& block = pages.back().back();
        // A rectangle too low for even one line still takes that line, and
        // the text goes on in the next rectangle: nothing is dropped.
        int32_t next = m_text->GetFittingEnd(rect, position);
        if (next != -1 && next <= position)
            next = -1;  // no progress would never end
        block.lines.m_flags = m_text->BuildExportLines(block.lines.m_lines, rect, position, 0);
        block.start = position;
        block.end = next;
        position = next;
    }
}

CKWDoubleRect CTalTextExportManager::ToAbsolute(const CKWDoubleRect& fraction) const
{
    return CKWDoubleRect(fraction.left * m_pageWidth, fraction.top * m_pageHeight, fraction.right * m_pageWidth,
                         fraction.bottom * m_pageHeight);
}

CKWDoubleRect CTalTextExportManager::NextRect(CTalTextPages& pages)
{
    if (m_picturePages != -1 && m_pageIndex >= m_picturePages)
        return NextAreaRect(pages);
    if (m_cellIndex >= static_cast<int32_t>(m_textCells->size())) {
        ++m_pageIndex;
        m_cellIndex = 0;
        if (m_picturePages != -1 && m_pageIndex == m_picturePages)
            return NextAreaRect(pages);
    }
    if (m_cellIndex == 0)
        pages.emplace_back();
    const CKWDoubleRect& cell = (*m_textCells)[static_cast<size_t>(m_cellIndex)];
    CTalTextBlock block;
    block.rect = cell;
    pages.back().push_back(block);
    ++m_cellIndex;
    return ToAbsolute(cell);
}

CKWDoubleRect CTalTextExportManager::NextAreaRect(CTalTextPages& pages)
{
    if (!m_areasComputed)
        ComputeAreas();
    if (m_areaIndex >= static_cast<int32_t>(m_areas.size())) {
        ++m_pageIndex;
        m_areaIndex = 0;
    }
    if (m_areaIndex == 0)
        pages.emplace_back();
    const CKWDoubleRect& area = m_areas[static_cast<size_t>(m_areaIndex)];
    CTalTextBlock block;
    block.rect = area;
    pages.back().push_back(block);
    ++m_areaIndex;
    return ToAbsolute(area);
}

const std::vector<CKWDoubleRect>& CTalTextExportManager::GetAreas()
{
    if (!m_areasComputed)
        ComputeAreas();
    return m_areas;
}

void CTalTextExportManager::ComputeAreas()
{
    m_areasComputed = true;
    m_areas.clear();
    const double w = m_pageWidth;
    const double h = m_pageHeight;
    const CKWDoubleRect& cell = m_headingCell;
    if (cell.left == cell.right || cell.top == cell.bottom) {
        m_areas.emplace_back(kAreaMargin / w, kAreaMargin / h, (w - kAreaMargin) / w, (h - kAreaMargin) / h);
        return;
    }
    if (cell.top * h >= kLeastAreaRoom)
        m_areas.emplace_back(cell.left, kAreaMargin / h, cell.right, (cell.top * h - kHeadingGap) / h);
    if (cell.bottom * h <= h - kLeastAreaRoom)
        m_areas.emplace_back(cell.left, (cell.bottom * h + kHeadingGap) / h, cell.right, (h - kAreaMargin) / h);
    if (m_areas.empty())
        m_areas.emplace_back(cell.left, kAreaMargin / h, cell.right, (h - kAreaMargin) / h);
}
