#include "editor/PictCollectItems.h"

#include "framework/KWPathUtils.h"

namespace {

int s_lastFolderSerial = 0;

}  // namespace

CFlItem::CFlItem(const CString& path) : m_path(path), m_serial(++s_lastFolderSerial) {}

CFlItem::~CFlItem() = default;

void CFlItem::AddImage(const CString& path, uint32_t pictureId)
{
    m_images.emplace_back(path, pictureId);
}

CString CFlItem::GetName() const
{
    return GetPathFolderName(m_path);
}
