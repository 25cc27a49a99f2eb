// The section image panel's content: filling the thumbnail list from the
// current section, the picture-loading threads' messages, refreshing changed
// pictures, and the drag and drop of pictures, files, folders and bitmaps.
#include "editor/TalControlsWnd.h"

#include "editor/TalApplication.h"
#include "editor/TalDocFrame.h"
#include "editor/TalDragDropTask.h"
#include "editor/TalImageViewData.h"
#include "editor/TalPicThreadWin.h"
#include "export/ExportDib.h"
#include "export/ExportImageFiles.h"
#include "framework/KWDataSerializer.h"
#include "framework/KWDragInfo.h"
#include "framework/KWDropData.h"
#include "framework/KWFolderFormatScan.h"
#include "framework/KWRasterLib.h"
#include "framework/QMFormatInfo.h"
#include "model/TalFileNamesData.h"
#include "model/TalPicturesData.h"
#include "model/TalSection.h"
#include "document/TalDocument.h"
#include "platform/classlib/MessageMap.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// The kinds of the drag-information record the panel reads and writes.
enum : uint32_t { kKindFileNames = 0, kKindPictures = 2 };

bool KeyDown(int key)
{
    return ::GetKeyState(key) < 0;
}

// An image file the application lists (by its lowercased extension).
bool IsListedImage(const CString& path, const CQMFormatInfo* formats)
{
    CString extension;
    if (!GetFileExtension(path, extension))
        return false;
    extension.MakeLower();
    for (const CQMFormatInfo* format = formats; format; format = format->GetNext()) {
        if (format->GetFormatId() != kImageFileCategory)
            continue;
        for (const CQMExtensionInfo* ext = format->GetExtensions(); ext; ext = ext->GetNext()) {
            if (ext->GetText() && extension == CString(ext->GetText()))
                return true;
        }
    }
    return false;
}

// Keeps a window from repainting while it lives: a list filled item by item
// would repaint after each one (a dozen times slower), and is shown once.
class CRedrawFreeze {
public:
    explicit CRedrawFreeze(HWND window) : m_window(window)
    {
        if (m_window)
            ::SendMessageW(m_window, WM_SETREDRAW, FALSE, 0);
    }
    ~CRedrawFreeze()
    {
        if (m_window) {
            ::SendMessageW(m_window, WM_SETREDRAW, TRUE, 0);
            ::InvalidateRect(m_window, nullptr, TRUE);
        }
    }
    CRedrawFreeze(const CRedrawFreeze&) = delete;
    CRedrawFreeze& operator=(const CRedrawFreeze&) = delete;

private:
    HWND m_window;
};

}  // namespace

KWRasterImage* CTalControlsWnd::MakeDisplayImage(const KWRasterImage* image, const CTalPicture& picture)
{
    if (!image)
        return nullptr;
    KWRasterImage* rotated = nullptr;
    if (picture.GetAngle() != 0)
        rotated = g_rasterLib.RasterRotate(image, picture.GetAngle());
    KWRasterImage* shown = rotated;
    if (picture.IsGrayscale(GrayscaleDefault())) {
        const KWRasterImage* coloured = rotated ? rotated : image;
        KWRasterImage* gray = CKWRasterLib::RasterToGray(coloured);
        if (gray) {
            KWFreeRasterImage(rotated);
            shown = gray;
        }
    }
    // A picture left out of the report shows faded, as hidden files do.
    if (!picture.GetShown()) {
        KWRasterImage* faded = shown ? shown : KWCopyRasterImage(image);
        if (faded)
            FadeTowardsWhite(*faded);
        shown = faded;
    }
    return shown;
}

void CTalControlsWnd::FadeTowardsWhite(KWRasterImage& image)
{
    // Half-way to white; the alpha stays.
    for (uint32_t y = 0; y < image.height; ++y) {
        uint8_t* row = image.Pixels() + static_cast<size_t>(y) * image.stride;
        for (uint32_t x = 0; x < image.width; ++x)
            for (int channel = 0; channel < 3; ++channel)
                row[x * 4 + channel] = static_cast<uint8_t>((row[x * 4 + channel] + 255 + 1) / 2);
    }
}

void CTalControlsWnd::SetItemImage(int index, const CTalPicture& picture)
{
    SetItemImage(index, picture, g_rasterLib.GetThumbnail(static_cast<uint32_t>(picture.GetPictureId())));
}

void CTalControlsWnd::SetItemImage(int index, const CTalPicture& picture, const KWSharedRasterImage& thumbnail)
{
    if (!thumbnail)
        return;
    KWRasterImagePtr display(MakeDisplayImage(thumbnail.get(), picture));
    m_list.ReplaceImage(index, display ? display.get() : thumbnail.get());
    if (auto* data = dynamic_cast<CTalImageViewData*>(m_list.GetItemData(index)))
        data->SetShowsThumbnail();
    // An item out of view is painted when it comes into view: each
    // invalidation costs a call to the system.
    RECT rect = {};
    if (IsItemInView(index, &rect))
        m_list.InvalidateRect(rect);
}

bool CTalControlsWnd::IsItemInView(int index, RECT* itemRect)
{
    RECT rect = {}, client = {}, shown = {};
    m_list.GetClientRect(&client);
    if (!m_list.GetItemRect(index, rect))
        return false;
    if (itemRect)
        *itemRect = rect;
    return ::IntersectRect(&shown, &rect, &client) != FALSE;
}

void CTalControlsWnd::DeferThumbnail(uint32_t pictureId)
{
    if (m_deferred.count(pictureId))
        return;
    m_deferred[pictureId] = g_rasterLib.GetThumbnail(pictureId);
    m_deferredOrder.push_back(pictureId);
    if (!m_deferredTimer && m_hWnd)
        m_deferredTimer = ::SetTimer(m_hWnd, kDeferredTimer, kDeferredTickMs, nullptr) != 0;
}

void CTalControlsWnd::ShowDeferredThumbnails()
{
    CTalSection* section = GetSection();
    const DWORD start = ::GetTickCount();
    while (section && !m_deferredOrder.empty() && ::GetTickCount() - start < kDeferredShareMs) {
        const uint32_t id = m_deferredOrder.front();
        m_deferredOrder.pop_front();
        const KWSharedRasterImage thumbnail = m_deferred[id];
        m_deferred.erase(id);
        const CTalPictureList& pictures = section->GetPictures();
        const int count = std::min(m_list.GetItemCount(), static_cast<int>(pictures.size()));
        for (int i = 0; i < count; ++i) {
            const CKWRefPtr<CTalPicture>& picture = pictures[static_cast<size_t>(i)];
            if (!picture || static_cast<uint32_t>(picture->GetPictureId()) != id)
                continue;
            auto* data = dynamic_cast<CTalImageViewData*>(m_list.GetItemData(i));
            if (data && data->GetPictureId() == id && !data->ShowsThumbnail())
                SetItemImage(i, *picture, thumbnail);
        }
    }
    if (!section || m_deferredOrder.empty())
        DropDeferredThumbnails();
}

void CTalControlsWnd::DropDeferredThumbnails()
{
    m_deferred.clear();
    m_deferredOrder.clear();
    if (m_deferredTimer && m_hWnd)
        ::KillTimer(m_hWnd, kDeferredTimer);
    m_deferredTimer = false;
}

void CTalControlsWnd::ShowListAtOnce(const CTalPictureList& pictures)
{
    HWND list = GetItemHwnd(kList);
    if (!list || !::IsWindowVisible(list))
        return;
    RECT client = {};
    m_list.GetClientRect(&client);
    const int count = std::min(m_list.GetItemCount(), static_cast<int>(pictures.size()));
    for (int i = 0; i < count; ++i) {
        RECT rect = {}, shown = {};
        if (!m_list.GetItemRect(i, rect) || rect.top >= client.bottom)
            break;
        const CKWRefPtr<CTalPicture>& picture = pictures[static_cast<size_t>(i)];
        if (picture && ::IntersectRect(&shown, &rect, &client) &&
            g_rasterLib.FindThumbnail(static_cast<uint32_t>(picture->GetPictureId())))
            SetItemImage(i, *picture);
    }
    ::UpdateWindow(list);
}

void CTalControlsWnd::StopLoading()
{
    DropDeferredThumbnails();
    if (m_loadingStop)
        *m_loadingStop = true;
    m_loadingStop.reset();
    m_checks.reset();
}

void CTalControlsWnd::StartLoading(const CTalPictureList& pictures)
{
    // Every thread loads all of the section's pictures: an earlier one only
    // repeats the work (or loads a section no longer shown).
    StopLoading();
    m_loadingStop = std::make_shared<std::atomic<bool>>(false);
    m_checks = std::make_shared<CTalPictureChecks>(m_reading.GetUnchecked());
    CTalPicThreadWin::Start(m_hWnd, this, pictures, m_loadingStop, m_checks);
}

bool CTalControlsWnd::ReadAddedPictures(const std::vector<uint32_t>& pictureIds)
{
    if (!m_hWnd)
        return false;
    m_reading.Begin(pictureIds);
    // The thread loading the section checks them after its thumbnails; one
    // that has ended its checks leaves them to a thread of their own.
    if (!m_checks || !m_checks->Add(pictureIds)) {
        m_checks = std::make_shared<CTalPictureChecks>(pictureIds);
        if (!m_loadingStop)
            m_loadingStop = std::make_shared<std::atomic<bool>>(false);
        CTalPicThreadWin::Start(m_hWnd, this, CTalPictureList(), m_loadingStop, m_checks);
    }
    return true;
}

void CTalControlsWnd::LoadSectionImages(const CTalPictureList& pictures)
{
    StopLoading();
    m_list.DeleteAllItems();
    m_currentIndex = -1;
    if (pictures.empty()) {
        // Added pictures still unchecked are checked all the same.
        if (m_reading.IsActive())
            StartLoading(pictures);
        m_preview.SetImage(nullptr);
        if (!m_thumbnailsMode) {
            m_titleEdit.Enable(false);
            m_titleEdit.SetText(CString());
        }
    } else {
        m_currentIndex = 0;
        CRedrawFreeze freeze(GetItemHwnd(kList));
        m_list.BeginAddItems(static_cast<int>(pictures.size()), -1);
        if (!m_thumbnailsMode && pictures.front()) {
            m_titleEdit.Enable(true);
            m_titleEdit.SetText(pictures.front()->GetTitle());
            const uint32_t id = static_cast<uint32_t>(pictures.front()->GetPictureId());
            if (KWSharedRasterImage cached = g_rasterLib.GetPreviewImage(id)) {
                KWRasterImagePtr display(MakeDisplayImage(cached.get(), *pictures.front()));
                m_preview.SetImage(display ? display.get() : cached.get());
            }
        }
        for (const CKWRefPtr<CTalPicture>& picture : pictures) {
            const uint32_t id = picture ? static_cast<uint32_t>(picture->GetPictureId()) : 0;
            m_list.AddItem(picture ? picture->GetTitle() : CString(), nullptr, new CTalImageViewData(id));
        }
        m_list.EndAddItems();
        if (m_thumbnailsMode)
            SelectImages(CTalPositionList{0});
    }
    if (!pictures.empty()) {
        // The section shows whole at once, before its title (the document
        // sets that next) and before the loading thread's messages, which
        // come faster than the list paints when the cache holds the
        // thumbnails: the pictures of the section left are never seen
        // under the new title.
        ShowListAtOnce(pictures);
        StartLoading(pictures);
    }
    if (m_preview.IsVisible())
        m_preview.Redraw(false);
    UpdateImageButtons();
}

void CTalControlsWnd::InsertImages(const CTalPictureList& pictures, const CTalPositionList& indices, int n)
{
    if (n != -1) {
        const int start = m_list.GetItemCount();
        const int size = static_cast<int>(pictures.size());
        n = std::min(n, size);
        CRedrawFreeze freeze(GetItemHwnd(kList));
        m_list.BeginAddItems(n, -1);
        for (int i = size - n; i < size; ++i) {
            const CKWRefPtr<CTalPicture>& picture = pictures[static_cast<size_t>(i)];
            const uint32_t id = picture ? static_cast<uint32_t>(picture->GetPictureId()) : 0;
            m_list.SetItem(start + i - (size - n), picture ? picture->GetTitle() : CString(), nullptr,
                           new CTalImageViewData(id));
        }
        m_list.EndAddItems();
        StartLoading(pictures);
    } else {
        // A thumbnail in the cache comes at once (a moved picture's); one that
        // is not comes from a loading thread, so that a drop of many files
        // shows its titles at once.
        bool missing = false;
        for (int position : indices) {
            if (position < 0 || position >= static_cast<int>(pictures.size()) || !pictures[position])
                continue;
            const CTalPicture& picture = *pictures[static_cast<size_t>(position)];
            m_list.BeginAddItems(1, position);
            const uint32_t id = static_cast<uint32_t>(picture.GetPictureId());
            KWSharedRasterImage cached = g_rasterLib.FindThumbnail(id) ? g_rasterLib.GetThumbnail(id) : nullptr;
            KWRasterImagePtr display(cached ? MakeDisplayImage(cached.get(), picture) : nullptr);
            m_list.SetItem(position, picture.GetTitle(), display ? display.get() : cached.get(),
                           new CTalImageViewData(id));
            missing = missing || !cached;
            m_list.EndAddItems();
            // The current index keeps naming the picture whose title the box shows.
            if (m_currentIndex >= 0 && position <= m_currentIndex)
                ++m_currentIndex;
        }
        if (missing)
            StartLoading(pictures);
    }
    UpdateImageButtons();
}

void CTalControlsWnd::UpdateImages(const CTalPictureList& pictures, const CTalPositionList& indices)
{
    if (indices.empty())
        return;
    ShowImage(indices.front(), false);
    for (int position : indices) {
        if (position >= 0 && position < static_cast<int>(pictures.size()) && pictures[position])
            SetItemImage(position, *pictures[static_cast<size_t>(position)]);
    }
}

void CTalControlsWnd::UpdateDefaultGrayscaleImages(const CTalPictureList& pictures)
{
    if (m_list.GetItemCount() == 0)
        return;
    if (m_currentIndex >= 0 && m_currentIndex < static_cast<int>(pictures.size()) && pictures[m_currentIndex] &&
        pictures[m_currentIndex]->GetGrayscale() == CTalPicture::kDocumentDefault)
        ShowImage(m_currentIndex, false);
    for (size_t i = 0; i < pictures.size(); ++i) {
        if (pictures[i] && pictures[i]->GetGrayscale() == CTalPicture::kDocumentDefault)
            SetItemImage(static_cast<int>(i), *pictures[i]);
    }
}

LRESULT CTalControlsWnd::OnImageLoadedMessage(WPARAM wParam, LPARAM lParam)
{
    return OnImageItemLoaded(wParam, lParam);
}

LRESULT CTalControlsWnd::OnImageItemLoaded(WPARAM pictureId, LPARAM result)
{
    if (result == CTalPicThreadWin::kChecked) {
        std::vector<uint32_t> checked;
        CTalDocument* document = GetDocument();
        if (m_reading.OnPictureChecked(static_cast<uint32_t>(pictureId), checked) && document)
            document->ReportPictureProblems(checked, true);
        return 1;
    }
    m_reading.OnThumbnailRead(static_cast<uint32_t>(pictureId));
    const int count = m_list.GetItemCount();
    CTalSection* section = GetSection();
    if (!section)
        return 1;
    // The section's pictures are looked through in memory; only an item whose
    // picture has the id is asked for its data.
    const CTalPictureList& pictures = section->GetPictures();
    for (int i = 0; i < count && i < static_cast<int>(pictures.size()); ++i) {
        const CKWRefPtr<CTalPicture>& picture = pictures[static_cast<size_t>(i)];
        if (!picture || static_cast<uint32_t>(picture->GetPictureId()) != static_cast<uint32_t>(pictureId))
            continue;
        // An item that shows the cached thumbnail (put in when the section
        // was shown) has it already. One out of view gets it at a later
        // tick: when the cache holds a big section's thumbnails their
        // messages come all at once, and the windows would answer only
        // once every one was made.
        auto* data = dynamic_cast<CTalImageViewData*>(m_list.GetItemData(i));
        if (!data || data->GetPictureId() != static_cast<uint32_t>(pictureId) || data->ShowsThumbnail())
            continue;
        if (IsItemInView(i))
            SetItemImage(i, *picture);
        else
            DeferThumbnail(static_cast<uint32_t>(pictureId));
    }
    return 1;
}

// ---- Dropping onto the panel ------------------------------------------------------------

void CTalControlsWnd::StartDragTimer()
{
    // StartTimer stops a running timer first.
    StopDragTimer();
    m_dragTimer = StartTimer(kDragTimerMs, nullptr);
}

void CTalControlsWnd::StopDragTimer()
{
    if (m_dragTimer) {
        StopTimer(m_dragTimer);
        m_dragTimer = 0;
    }
}

void CTalControlsWnd::OnTimer(UINT timerId)
{
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_TAL_DRAG_TIMER, timerId, 0);
}

LRESULT CTalControlsWnd::OnDragTimerMessage(WPARAM wParam, LPARAM)
{
    // A tick that was under way when the timer stopped changes nothing.
    if (m_dragTimer && wParam == m_dragTimer)
        OnDragTimer();
    return 0;
}

void CTalControlsWnd::OnDragTimer()
{
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    const DWORD now = ::GetTickCount();
    if (cursor.x != m_lastCursor.x || cursor.y != m_lastCursor.y) {
        m_lastCursor = cursor;
        m_lastMove = now;
        return;
    }
    if (now - m_lastMove < kDragRestMs)
        return;
    int minimum = 0, maximum = 0;
    const int position = m_list.GetScrollInfo(true, minimum, maximum, 0);
    RECT client = {};
    m_list.GetClientRect(&client);
    HWND list = GetItemHwnd(kList);
    ::ScreenToClient(list, &cursor);
    int target = position;
    if (cursor.y >= 0 && cursor.y <= kDragBand && position > 0)
        target = std::max(position - kDragStep, 0);
    else if (cursor.y >= client.bottom - kDragBand && cursor.y <= client.bottom && position < maximum)
        target = std::min(position + kDragStep, maximum);
    if (target == position)
        return;
    ImageList_DragShowNolock(FALSE);
    m_list.SetScrollPos(true, target);
    m_list.Update();
    ImageList_DragShowNolock(TRUE);
}

int CTalControlsWnd::DropPosition(const CPoint& point)
{
    return m_list.GetInsertIndex(point, false);
}

bool CTalControlsWnd::OnOwnDragEnter(const CPoint& point, KWDragInfo* info, const uint8_t*, size_t, int)
{
    StartDragTimer();
    OnOwnDragOver(info, point);
    return true;
}

void CTalControlsWnd::OnOwnDragOver(KWDragInfo* info, const CPoint&)
{
    CTalDocument* document = GetDocument();
    if (!info)
        return;
    const bool sameDocument = info->kind != kKindFileNames &&
                              info->instanceId == CKWBaseApplication::GetInstanceId() && document &&
                              info->documentId == document->GetDocumentId();
    if (!sameDocument)
        info->flags |= KWDragInfo::kFlagCopy;
}

void CTalControlsWnd::OnOwnDragLeave()
{
    StopDragTimer();
}

bool CTalControlsWnd::OnOwnDrop(const CPoint& point, KWDragInfo* info, const uint8_t* data, size_t size, int)
{
    ImageList_DragShowNolock(FALSE);
    StopDragTimer();
    CTalDocument* document = GetDocument();
    if (!document || !info || !data || size == 0)
        return false;
    const int position = DropPosition(point);
    const bool copy = KeyDown(VK_LCONTROL) || KeyDown(VK_RCONTROL) || KeyDown(VK_CONTROL);
    size_t dropped = 0;
    try {
        if (info->kind == kKindPictures) {
            CTalPicturesData record;
            CKWDataSerializer serializer(data, size);
            if (!serializer.Load(record))
                return false;
            dropped = record.GetPictures().size();
            const bool sameDocument = info->instanceId == CKWBaseApplication::GetInstanceId() &&
                                      info->documentId == document->GetDocumentId();
            if (sameDocument && !copy && !record.GetPositions().empty())
                document->MovePictures(record.GetPositions(), position);
            else
                document->InsertPictureObjects(record.GetPictures(), position, nullptr, true);
        } else if (info->kind == kKindFileNames) {
            CTalFileNamesData record;
            CKWDataSerializer serializer(data, size);
            if (!serializer.Load(record))
                return false;
            dropped = record.GetNames().size();
            document->InsertPictures(record.GetNames(), position, nullptr, true, true);
        }
    } catch (...) {
        // A broken block drops nothing.
        return false;
    }
    const int half = dropped > 1 ? 80 : 64;
    m_list.InvalidateRect(RECT{point.x - half, point.y - half, point.x + half, point.y + half});
    return true;
}

int CTalControlsWnd::OnFilesDragEnter(const CPoint&, const std::vector<CString>&)
{
    StartDragTimer();
    return 1;
}

int CTalControlsWnd::OnFilesDrop(const CPoint& point, const std::vector<CString>& paths)
{
    StopDragTimer();
    CTalDocument* document = GetDocument();
    if (!document)
        return 0;
    const int position = DropPosition(point);
    const bool subfolders = KeyDown(VK_LSHIFT) || KeyDown(VK_RSHIFT) || KeyDown(VK_SHIFT);
    CTalApplication* app = GetTalApp();
    const CQMFormatInfo* formats = app ? app->GetFormatList() : nullptr;
    std::vector<CString> images;
    std::vector<CString> reports;
    for (const CString& path : paths) {
        const DWORD attributes = ::GetFileAttributesW(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ScanFolderForImages(path, images, subfolders, formats);
            continue;
        }
        CString extension;
        GetFileExtension(path, extension);
        extension.MakeLower();
        if (extension == L"otd" || extension == L"otn")
            reports.push_back(path);
        else if (IsListedImage(path, formats))
            images.push_back(path);
    }
    if (!images.empty())
        document->InsertPictures(images, position, nullptr, true, true);
    // Reports open in windows of their own once this report has its pictures.
    for (const CString& report : reports)
        AfxGetApp()->OpenDocumentFile(report);
    return 1;
}

DROPEFFECT CTalControlsWnd::OnBitmapDragEnter(COleDataObject*, CLIPFORMAT, const CPoint&)
{
    StartDragTimer();
    return DROPEFFECT_COPY;
}

DROPEFFECT CTalControlsWnd::OnBitmapDragOver(COleDataObject*, CLIPFORMAT, const CPoint&)
{
    return DROPEFFECT_COPY;
}

int CTalControlsWnd::OnBitmapDrop(COleDataObject* data, CLIPFORMAT format, const CPoint& point)
{
    StopDragTimer();
    CTalDocument* document = GetDocument();
    std::vector<uint8_t> bytes;
    const char* type = nullptr;
    if (!document || !KWReadDroppedImage(data, format, bytes, type))
        return 0;
    const int position = m_thumbnailsMode ? DropPosition(point) : m_currentIndex;
    KWRasterImagePtr image(
        g_rasterLib.RasterReadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), type, 0, 0));
    if (!image)
        return 0;
    const uint32_t id = g_rasterLib.SaveImage(image.get(), 0, 100);
    const CString path = id ? g_rasterLib.GetImagePath(id) : CString();
    if (path.IsEmpty())
        return 0;
    document->InsertPictures({path}, position, nullptr, true, false);
    return 1;
}

// ---- Dragging thumbnails out ------------------------------------------------------------

bool CTalControlsWnd::CanStartDrag()
{
    return GetDocument() != nullptr;
}

void CTalControlsWnd::BeginDrag(const CPoint& start)
{
    KWDragInfo info;
    info.Clear();
    CTalDocument* document = GetDocument();
    CTalSection* section = GetSection();
    if (!CanStartDrag() || !PrepareDragInfo(start, info) || !document || !section)
        return;
    info.instanceId = CKWBaseApplication::GetInstanceId();
    info.kind = kKindPictures;
    info.documentId = document->GetDocumentId();
    CTalPositionList positions;
    if (!ApplyToSelectedImages(positions))
        return;
    std::vector<uint32_t> ids;
    for (int index = m_list.GetFirstSelected(); index >= 0; m_list.GetNextSelected(index)) {
        if (auto* data = dynamic_cast<CTalImageViewData*>(m_list.GetItemData(index)))
            ids.push_back(data->GetPictureId());
    }
    if (ids.empty())
        return;
    const CString path = g_rasterLib.GetImagePath(ids.front());
    wcsncpy(info.path, path, KWDragInfo::kPathLength - 1);
    CTalPictureList pictures;
    section->CollectPictures(positions, pictures);
    auto* task = new CTalDragDropTask(document, new CTalPicturesData(pictures, false, &positions));
    // The drag image: every dragged thumbnail as it is shown.
    std::vector<KWRasterImagePtr> shown;
    std::vector<const KWRasterImage*> images;
    for (size_t i = 0; i < pictures.size() && i < ids.size(); ++i) {
        KWSharedRasterImage cached = g_rasterLib.GetThumbnail(ids[i]);
        if (!cached || !pictures[i])
            continue;
        shown.emplace_back(MakeDisplayImage(cached.get(), *pictures[i]));
        images.push_back(shown.back() ? shown.back().get() : cached.get());
        if (!shown.back())
            shown.back().reset(KWCopyRasterImage(cached.get()));
    }
    // The item's own formats, before the drag image joins it.
    task->Prepare();
    if (HBITMAP image = images.empty() ? nullptr : CreateDIBFromBitmaps(images))
        task->SetDragBitmap(image);
    task->SetDragInfo(info);
    task->DoDragDrop(start);
    task->InternalRelease();
}
