#include "model/TalTemplate.h"

CTalTemplate::~CTalTemplate() = default;

void CTalTemplate::AddCell(int32_t kind, const CKWDoubleRect& rect) { m_cells[kind].push_back(rect); }

const CTalCellList* CTalTemplate::GetCells(int32_t kind) const
{
    auto found = m_cells.find(kind);
    return found == m_cells.end() ? nullptr : &found->second;
}

void CTalTemplate::TakeContent(CTalTemplate& other)
{
    SetTitle(other.GetTitle());
    SetPreviewPictureId(other.GetPreviewPictureId());
    SetBackgroundPictureId(other.GetBackgroundPictureId());
    SetUnkeptPictures(other.m_unkeptPictures, other.m_unkeptError);
    m_filePictures[0] = other.m_filePictures[0];
    m_filePictures[1] = other.m_filePictures[1];
    other.ClearFilePictures();
    m_cells.swap(other.m_cells);
    other.m_cells.clear();
    other.SetTitle(CString());
    other.SetPreviewPictureId(0);
    other.SetBackgroundPictureId(0);
    other.SetUnkeptPictures(false);
}
