#include "model/TalTemplate.h"

CTalTemplate::~CTalTemplate() = default;

void CTalTemplate::AddCell(int32_t kind, const CKWDoubleRect& rect) { m_cells[kind].push_back(rect); }

const CTalCellList* CTalTemplate::GetCells(int32_t kind) const
{
    auto found = m_cells.find(kind);
    return found == m_cells.end() ? nullptr : &found->second;
}
