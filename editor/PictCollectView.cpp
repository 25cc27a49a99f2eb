#include "editor/PictCollectView.h"

#include "editor/PictCollectBar.h"
#include "editor/PictCollectItems.h"
#include "editor/TalApplication.h"
#include "editor/TalDragDropTask.h"
#include "export/ExportDib.h"
#include "framework/KWBrush.h"
#include "framework/KWColor.h"
#include "framework/KWDragInfo.h"
#include "framework/KWGdipBitmap.h"
#include "framework/KWGraphics.h"
#include "framework/KWRasterLib.h"
#include "appwindows/KWAccessors.h"
#include "model/TalFileNamesData.h"
#include "document/TalDocument.h"

#include <cwchar>

namespace {

const int kInset = 2;
// The drag-information kind of image file names.
const uint32_t kKindFileNames = 0;

bool EitherKeyDown(int left, int right)
{
    return ::GetKeyState(left) < 0 || ::GetKeyState(right) < 0;
}

CTalDocument* ActiveReport()
{
    return dynamic_cast<CTalDocument*>(KWGetActiveDocument());
}

}  // namespace

CPictCollectView::CPictCollectView(CPictCollectBar* owner) : m_owner(owner) {}

CPictCollectView::~CPictCollectView() = default;

CImItem* CPictCollectView::GetImage(int index)
{
    return IsItem(index) ? dynamic_cast<CImItem*>(GetItem(index)) : nullptr;
}

void CPictCollectView::ShowFolder(CFlItem* folder)
{
    if (!folder)
        return;
    RemoveAllItems();
    m_folder = folder;
    for (const CImItem& image : folder->GetImages())
        AddItem(new CImItem(image));
    UpdateScrollBars();
    Redraw(true);
}

void CPictCollectView::Clear()
{
    RemoveAllItems();
    m_folder = nullptr;
}

void CPictCollectView::CollectSelectedFiles(std::vector<CString>& files)
{
    for (int index = GetFirstSelectedIndex(); index != -1; GetNextSelectedIndex(index)) {
        CImItem* image = GetImage(index);
        if (image && !image->m_path.IsEmpty())
            files.push_back(image->m_path);
    }
}

void CPictCollectView::DrawBackground(IKWGraphics& graphics, const RECT& clip)
{
    DrawGalleryBackground(graphics, clip);
}

void CPictCollectView::DrawSelection(IKWGraphics& graphics, const RECT& cell)
{
    graphics.BeginPath();
    graphics.AddRectangle(cell.left + 1, cell.top + 1, cell.right - cell.left - 4, cell.bottom - cell.top - 4);
    graphics.ClosePathFigure();
    graphics.FillPath(CKWBrush(CKWColor::FromColorRef(::GetSysColor(COLOR_HIGHLIGHT))));
}

void CPictCollectView::DrawItem(int index, IKWGraphics& graphics, const RECT& cell)
{
    CImItem* image = GetImage(index);
    if (!image)
        return;
    if (IsSelected(index))
        DrawSelection(graphics, cell);
    if (image->m_pictureId == 0)
        image->m_pictureId = g_rasterLib.GetPictureId(image->m_path);
    KWSharedRasterImage thumbnail = g_rasterLib.GetThumbnail(image->m_pictureId);
    if (!thumbnail)
        return;
    const int width = static_cast<int>(thumbnail->width);
    const int height = static_cast<int>(thumbnail->height);
    // Unscaled, centred in the cell inside its inset.
    int left = cell.left + kInset;
    int top = cell.top + kInset;
    const int freeWidth = cell.right - cell.left - 2 * kInset - width;
    const int freeHeight = cell.bottom - cell.top - 2 * kInset - height;
    if (freeWidth > 1)
        left += freeWidth / 2;
    if (freeHeight > 1)
        top += freeHeight / 2;
    CKWGdipBitmap bitmap;
    bitmap.Wrap(width, height, static_cast<int>(thumbnail->stride), const_cast<uint8_t*>(thumbnail->Pixels()),
                CKWGdipBitmap::kPixelFormat32bppARGB);
    graphics.DrawImage(left, top, &bitmap, nullptr);
}

bool CPictCollectView::OnLButtonDown(int x, int y)
{
    ::SetFocus(m_owner->m_hWnd);
    return CKWItemsPanel::OnLButtonDown(x, y);
}

bool CPictCollectView::OnRButtonDown(int x, int y)
{
    SelectItem(ItemFromPoint(CPoint(x, y)), EitherKeyDown(VK_LCONTROL, VK_RCONTROL),
               EitherKeyDown(VK_LSHIFT, VK_RSHIFT), true, true);
    return false;
}

bool CPictCollectView::OnLButtonDblClk(int, int)
{
    if (CTalDocument* document = ActiveReport())
        document->OnAddImagesToDocument();
    return true;
}

bool CPictCollectView::OnKeyDown(const CKWKeyRecord& key)
{
    if (key.key != VK_NUMPAD1 || !key.ctrl || !key.shift)
        return false;
    SelectAll();
    return true;
}

HBITMAP CPictCollectView::CreateDragImage()
{
    std::vector<KWSharedRasterImage> held;
    std::vector<const KWRasterImage*> images;
    for (int index = GetFirstSelectedIndex(); index != -1; GetNextSelectedIndex(index)) {
        CImItem* image = GetImage(index);
        if (!image)
            continue;
        if (image->m_pictureId == 0)
            image->m_pictureId = g_rasterLib.GetPictureId(image->m_path);
        if (KWSharedRasterImage thumbnail = g_rasterLib.GetThumbnail(image->m_pictureId)) {
            held.push_back(thumbnail);
            images.push_back(thumbnail.get());
        }
    }
    return images.empty() ? nullptr : CreateDIBFromBitmaps(images);
}

bool CPictCollectView::CanStartDrag()
{
    return ActiveReport() != nullptr;
}

void CPictCollectView::BeginDrag(const CPoint& start)
{
    CTalDocument* document = ActiveReport();
    CTalApplication* app = GetTalApp();
    if (!CanStartDrag() || !document || !app || !m_folder)
        return;
    CImItem* first = GetImage(GetFirstSelectedIndex());
    if (!first)
        return;
    KWDragInfo info;
    info.Clear();
    info.x = start.x;
    info.y = start.y;
    info.instanceId = app->GetInstanceId();
    info.kind = kKindFileNames;
    info.documentId = static_cast<uint32_t>(m_folder->GetSerial());
    info.pictureId = first->m_pictureId;
    std::wcsncpy(info.path, first->m_path, KWDragInfo::kPathLength - 1);
    std::vector<CString> files;
    CollectSelectedFiles(files);
    auto* task = new CTalDragDropTask(document, new CTalFileNamesData(files));
    // The item's own formats, before the drag image joins it.
    task->Prepare();
    if (HBITMAP image = CreateDragImage())
        task->SetDragBitmap(image);
    task->SetDragInfo(info);
    task->DoDragDrop(start);
    task->InternalRelease();
}
