// The section tree as drop target and drag source: sections move or copy,
// pictures, gallery files, shell files and folders, bitmaps and text become
// sections and pictures, each drop one undoable step; resting the cursor
// over the tree scrolls it at its edges or expands a collapsed section.
#include "editor/TalView.h"

#include "editor/TalApplication.h"
#include "editor/TalDocFrame.h"
#include "editor/TalDragDropTask.h"
#include "export/ExportImageFiles.h"
#include "framework/KWDataSerializer.h"
#include "framework/KWArchive.h"
#include "framework/KWDragInfo.h"
#include "framework/KWDropData.h"
#include "framework/KWFolderFormatScan.h"
#include "framework/KWFolderScanner.h"
#include "framework/KWPathUtils.h"
#include "framework/KWRasterImage.h"
#include "framework/KWRasterLib.h"
#include "framework/KWSystemInfo.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommandStrings.h"
#include "model/TalCommander.h"
#include "model/TalFileNamesData.h"
#include "model/TalItemUserData.h"
#include "model/TalPicturesData.h"
#include "model/TalSectionData.h"
#include "document/TalDocument.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/WinApp.h"

#include <new>

namespace {

// The drag-information kinds of the report's transfers.
enum : uint32_t { kKindFileNames = 0, kKindSection = 1, kKindPictures = 2 };
constexpr int kDragImageFontHeight = 14;
constexpr UINT kDragImageTextFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;

// The tree item that last got the insertion mark, and whether the cursor
// was then on its label: a move that changes neither repaints nothing.
HTREEITEM s_markItem = nullptr;
bool s_markOnLabel = false;

bool EitherKeyDown(int left, int right)
{
    return ::GetKeyState(left) < 0 || ::GetKeyState(right) < 0;
}

// The record restored from a dropped block; false when it does not restore.
bool LoadRecord(const uint8_t* data, size_t size, CKWSerialData& record)
{
    if (!data || size == 0 || size > 0xFFFFFFFFu)
        return false;
    try {
        CKWDataSerializer serializer(data, static_cast<uint32_t>(size));
        return serializer.Load(record);
    } catch (const CKWArchiveException&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool IsReportFile(const CString& path)
{
    CString extension;
    if (!GetFileExtension(path, extension))
        return false;
    return extension.CompareNoCase(L"otd") == 0 || extension.CompareNoCase(L"otn") == 0;
}

std::vector<CString> ImagesOf(const CString& folder)
{
    std::vector<CString> images;
    CTalApplication* app = GetTalApp();
    ScanFolderForImages(folder, images, false, app ? app->GetFormatList() : nullptr);
    return images;
}

}  // namespace

CTalSectionTreeCtrl* CTalView::GetTree()
{
    CTalDocFrame* frame = GetDocFrame();
    return frame && frame->GetTree().GetTreeImp() ? &frame->GetTree() : nullptr;
}

CTalSection* CTalView::TargetSection(HTREEITEM item)
{
    CTalSectionTreeCtrl* tree = GetTree();
    if (tree && item) {
        auto* data = dynamic_cast<CTalItemUserData*>(tree->GetItemData(item));
        if (auto* section = data ? dynamic_cast<CTalSection*>(data->GetReportObject()) : nullptr)
            return section;
    }
    CTalDocument* document = GetTalDocument();
    return document ? document->GetProperties().GetHeadingSection().Get() : nullptr;
}

HTREEITEM CTalView::HitTestTree(const CPoint& point, bool& onLabel)
{
    onLabel = true;
    CTalSectionTreeCtrl* tree = GetTree();
    if (!tree)
        return nullptr;
    UINT flags = 0;
    HTREEITEM item = tree->HitTest(point.x, point.y, &flags);
    if (!item)
        return tree->GetRootItem();
    RECT text = {};
    onLabel = tree->GetItemRect(item, &text, true) && point.x >= text.left && point.x <= text.right;
    return item;
}

void CTalView::HighlightDropTarget(const CPoint* point)
{
    CTalSectionTreeCtrl* tree = GetTree();
    if (!tree)
        return;
    bool onLabel = false;
    tree->SetInsertMark(point ? HitTestTree(*point, onLabel) : nullptr, 0, true, true);
}

void CTalView::RemoveDropMark(bool redraw)
{
    s_markItem = nullptr;
    s_markOnLabel = false;
    CTalSectionTreeCtrl* tree = GetTree();
    if (!tree)
        return;
    DragShowNolock(false);
    tree->SetInsertMark(nullptr, 0, true, false);
    if (redraw) {
        tree->Invalidate();
        tree->CKWControl::Update();
    }
    DragShowNolock(true);
}

// ---- The hover timer ---------------------------------------------------------------

void CTalView::StartHoverTimer()
{
    if (m_hoverTimer)
        return;
    ::GetCursorPos(&m_hoverCursor);
    m_hoverTick = ::GetTickCount();
    m_hoverTimer = StartTimer(kHoverPeriodMs, nullptr);
}

void CTalView::StopHoverTimer()
{
    const UINT timer = m_hoverTimer;
    m_hoverTimer = 0;
    StopTimer(timer);
}

void CTalView::OnTimer(UINT timerId)
{
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_TIMER, timerId, 0);
}

LRESULT CTalView::OnHoverTimerMessage(WPARAM wParam, LPARAM)
{
    // A tick posted before its timer stopped finds no timer of that id.
    if (m_hoverTimer != 0 && wParam == m_hoverTimer)
        OnDragHoverTimer();
    return 0;
}

void CTalView::OnDragHoverTimer()
{
    CTalSectionTreeCtrl* tree = GetTree();
    CWnd* window = tree ? tree->GetWnd() : nullptr;
    if (!window)
        return;
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    const DWORD now = ::GetTickCount();
    if (cursor.x != m_hoverCursor.x || cursor.y != m_hoverCursor.y) {
        m_hoverCursor = cursor;
        m_hoverTick = now;
        return;
    }
    if (now - m_hoverTick < kHoverRestMs)
        return;
    POINT point = cursor;
    ::ScreenToClient(window->m_hWnd, &point);
    UINT flags = 0;
    HTREEITEM item = tree->HitTest(point.x, point.y, &flags);
    if (!item)
        return;
    RECT row = {};
    tree->GetItemRect(item, &row, false);
    const int height = row.bottom - row.top;
    RECT client = {};
    tree->GetClientRect(&client);
    int minimum = 0;
    int maximum = 0;
    const int position = tree->GetScrollInfo(true, minimum, maximum, 0);
    const bool topBand = point.y >= 0 && point.y <= height;
    const bool bottomBand = point.y >= client.bottom - height && point.y <= client.bottom;
    if ((topBand && position > 0) || (bottomBand && position < maximum)) {
        // The rest is not restarted: the tree goes on scrolling every tick.
        DragShowNolock(false);
        tree->SetScrollPos(true, topBand ? position - 1 : position + 1);
        tree->CKWControl::Update();
        DragShowNolock(true);
        return;
    }
    if (tree->IsExpanded(item))
        return;
    DragShowNolock(false);
    tree->Expand(item, TVE_EXPAND);
    tree->InvalidateRect(client);
    tree->CKWControl::Update();
    DragShowNolock(true);
    m_hoverCursor = cursor;
    m_hoverTick = now;
}

// ---- Drags over the tree ---------------------------------------------------------

void CTalView::OnDragOverTree(KWDragInfo* info, const CPoint& point)
{
    if (!info || info->kind > kKindPictures)
        return;
    if (info->kind == kKindFileNames)
        info->flags |= KWDragInfo::kFlagCopy;
    CTalSectionTreeCtrl* tree = GetTree();
    if (!tree)
        return;
    bool onLabel = false;
    HTREEITEM item = HitTestTree(point, onLabel);
    if (item == s_markItem && onLabel == s_markOnLabel)
        return;
    DragShowNolock(false);
    RECT row = {};
    if (s_markItem && tree->GetItemRect(s_markItem, &row, false))
        tree->InvalidateRect(row);
    tree->SetInsertMark(item, 0, true, true);
    s_markItem = item;
    s_markOnLabel = onLabel;
    ::ValidateRect(tree->GetWnd()->m_hWnd, nullptr);
    DragShowNolock(true);
}

void CTalView::OnDragLeaveTree()
{
    StopHoverTimer();
    RemoveDropMark(true);
}

bool CTalView::OnOwnDragEnter(const CPoint&, KWDragInfo* info, const uint8_t*, size_t, int)
{
    if (!info || info->instanceId == 0)
        return false;
    StartHoverTimer();
    if (info->kind == kKindFileNames)
        info->flags |= KWDragInfo::kFlagCopy;
    return true;
}

void CTalView::OnOwnDragOver(KWDragInfo* info, const CPoint& point)
{
    OnDragOverTree(info, point);
}

void CTalView::OnOwnDragLeave()
{
    OnDragLeaveTree();
}

bool CTalView::OnOwnDrop(const CPoint& point, KWDragInfo* info, const uint8_t* data, size_t size, int)
{
    OnDropData(point, info, data, size);
    return true;
}

int CTalView::OnFilesDragEnter(const CPoint&, const std::vector<CString>&)
{
    StartHoverTimer();
    return 1;
}

int CTalView::OnFilesDragEvent(int)
{
    OnDragEnterView();
    return 1;
}

void CTalView::OnDragEnterView()
{
    if (CTalApplication* app = GetTalApp())
        app->ShowMessage(L"Dragging file(s) has entered to the view", 0);
}

int CTalView::OnFilesDragOver(const std::vector<CString>&, const CPoint& point)
{
    HighlightDropTarget(&point);
    return 1;
}

int CTalView::OnFilesDrop(const CPoint& point, const std::vector<CString>& paths)
{
    OnDropFiles(paths, point);
    return 1;
}

int CTalView::OnTextDrop(const CPoint& point, const CString& text)
{
    OnDropText(text, point);
    return 1;
}

int CTalView::OnBitmapDrop(COleDataObject* data, CLIPFORMAT format, const CPoint& point)
{
    OnDropImageData(data, format, point);
    return 1;
}

DROPEFFECT CTalView::OnBitmapDragEnter(COleDataObject*, CLIPFORMAT, const CPoint&)
{
    StartHoverTimer();
    return DROPEFFECT_COPY;
}

DROPEFFECT CTalView::OnTextDragEnter(COleDataObject*, CLIPFORMAT, const CPoint&)
{
    StartHoverTimer();
    return DROPEFFECT_COPY;
}

DROPEFFECT CTalView::OnBitmapDragOver(COleDataObject*, CLIPFORMAT, const CPoint& point)
{
    HighlightDropTarget(&point);
    return DROPEFFECT_COPY;
}

DROPEFFECT CTalView::OnTextDragOver(COleDataObject*, CLIPFORMAT format, const CPoint& point)
{
    if (format != CF_UNICODETEXT && format != CF_TEXT)
        return DROPEFFECT_NONE;
    HighlightDropTarget(&point);
    return DROPEFFECT_COPY;
}

// ---- Drops -------------------------------------------------------------------------

void CTalView::OnDropData(const CPoint& point, KWDragInfo* info, const uint8_t* data, size_t size)
{
    StopHoverTimer();
    RemoveDropMark(false);
    CTalDocument* document = GetTalDocument();
    CTalApplication* app = GetTalApp();
    if (!document || !info || info->kind > kKindPictures)
        return;
    const bool sameApplication = app && info->instanceId == app->GetInstanceId();
    const bool sameDocument = sameApplication && info->documentId == document->GetDocumentId();
    const bool copy = EitherKeyDown(VK_LCONTROL, VK_RCONTROL) || !sameDocument;
    bool onLabel = false;
    HTREEITEM item = HitTestTree(point, onLabel);
    CKWRefPtr<CTalSection> target(TargetSection(item));
    if (!target)
        return;
    CTalCommander& commander = document->GetCommander();
    bool changed = false;
    if (info->kind == kKindSection) {
        // A section read but not placed is detached when the record goes.
        CTalSectionData record(nullptr, true);
        if (!LoadRecord(data, size, record) || !record.GetSection())
            return;
        CKWRefPtr<CTalSection> dropped = record.GetSection();
        CKWRefPtr<CTalSection> own = copy ? nullptr : document->FindSectionById(dropped->GetId());
        RECT text = {};
        const bool hasText = item && GetTree() && GetTree()->GetItemRect(item, &text, true);
        if (copy) {
            if (commander.AddSiblingSection(target.Get(), nullptr, dropped.Get(), true, true,
                                            record.GetSourceFontTable())) {
                record.SetOwning(false);
                changed = true;
            }
        } else if (own && own.Get() == target.Get() && item) {
            // Onto its own label: the left half moves it a level left, the right half right.
            if (hasText)
                changed = (point.x < text.left + (text.right - text.left) / 2 ? commander.MoveSectionLeft(own.Get())
                                                                              : commander.MoveSectionRight(own.Get()))
                              .Get() != nullptr;
        } else if (own) {
            bool asChild = !(hasText && point.x >= text.left && point.x <= text.left + kLabelEdge);
            if (commander.CanMoveSection(own.Get(), target.Get(), asChild))
                changed = commander.MoveSectionTo(own.Get(), target.Get(), asChild).Get() != nullptr;
        }
    } else if (info->kind == kKindPictures) {
        CTalPicturesData record;
        if (!LoadRecord(data, size, record) || record.GetPictures().empty())
            return;
        if (!copy) {
            CKWRefPtr<CTalSection> source = document->GetCurrentSection();
            if (!source)
                source = document->GetProperties().GetHeadingSection();
            changed = source && commander.MovePictures(target.Get(), source.Get(), record.GetPositions(), -1);
        } else {
            changed = document->InsertPictureObjects(record.GetPictures(), -1, target.Get(), true);
        }
    } else {
        CTalFileNamesData record;
        if (LoadRecord(data, size, record) && !record.GetNames().empty())
            changed = document->InsertPictures(record.GetNames(), -1, target.Get(), true, true) != nullptr;
    }
    if (changed)
        document->SetModifiedFlag(TRUE);
}

void CTalView::OnDropFiles(const std::vector<CString>& paths, const CPoint& point)
{
    StopHoverTimer();
    CTalDocument* document = GetTalDocument();
    if (!document)
        return;
    const bool recursive = EitherKeyDown(VK_LSHIFT, VK_RSHIFT);
    bool onLabel = false;
    CKWRefPtr<CTalSection> target(TargetSection(HitTestTree(point, onLabel)));
    RemoveDropMark(false);
    if (!target)
        return;
    CTalApplication* app = GetTalApp();
    const CQMFormatInfo* formats = app ? app->GetFormatList() : nullptr;
    CTalCommandHistory* history = document->GetCommandHistory();
    if (history)
        history->BeginGroup();
    std::vector<CString> images;
    std::vector<CString> reports;
    bool firstFolder = true;
    for (const CString& path : paths) {
        const DWORD attributes = ::GetFileAttributesW(path);
        if (path.IsEmpty() || attributes == INVALID_FILE_ATTRIBUTES)
            continue;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            if (CountCategoryExtension(path, kImageFileCategory, formats) > 0)
                images.push_back(path);
            else if (IsReportFile(path))
                reports.push_back(path);
            continue;
        }
        CKWRefPtr<CTalSection> section =
            document->GetCommander().AddChildSection(target.Get(), GetPathFolderName(path), nullptr, false, false, true, true);
        if (!section)
            continue;
        const std::vector<CString> own = ImagesOf(path);
        if (!own.empty())
            document->InsertPictures(own, -1, section.Get(), false, true);
        if (firstFolder)
            document->ReloadSectionImages();
        if (recursive)
            AddFolderSections(path, section.Get());
        document->EnsureSectionItem(section.Get(), firstFolder);
        firstFolder = false;
    }
    if (history)
        history->EndGroup(IDS_ADD_SECTION);
    if (!images.empty())
        document->InsertPictures(images, -1, target.Get(), true, true);
    document->SetModifiedFlag(TRUE);
    // Reports open in windows of their own once this report has its changes.
    for (const CString& report : reports)
        AfxGetApp()->OpenDocumentFile(report);
}

void CTalView::AddFolderSections(const CString& folder, CTalSection* parent)
{
    CTalDocument* document = GetTalDocument();
    if (!document || !parent)
        return;
    // The section of each level's folder, by depth: the walk goes depth first.
    std::vector<CKWRefPtr<CTalSection>> parents(1, CKWRefPtr<CTalSection>(parent));
    KWWalkSubfolders(folder, [&](const CString& path, const CString& name, int depth) {
        parents.resize(static_cast<size_t>(depth));
        CTalSection* above = parents.back().Get();
        CKWRefPtr<CTalSection> section =
            above ? document->GetCommander().AddChildSection(above, name, nullptr, false, false, true, true)
                  : CKWRefPtr<CTalSection>();
        if (section) {
            const std::vector<CString> images = ImagesOf(path);
            if (!images.empty())
                document->InsertPictures(images, -1, section.Get(), false, true);
        }
        parents.push_back(section);
    });
}

void CTalView::OnDropImageData(COleDataObject* data, CLIPFORMAT format, const CPoint& point)
{
    StopHoverTimer();
    RemoveDropMark(false);
    CTalDocument* document = GetTalDocument();
    bool onLabel = false;
    CKWRefPtr<CTalSection> target(TargetSection(HitTestTree(point, onLabel)));
    std::vector<uint8_t> bytes;
    const char* type = nullptr;
    if (!document || !target || !KWReadDroppedImage(data, format, bytes, type))
        return;
    KWRasterImagePtr image(
        g_rasterLib.RasterReadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), type, 0, 0));
    if (!image)
        return;
    const uint32_t id = g_rasterLib.SaveImage(image.get(), 0, 100);
    const CString path = id ? g_rasterLib.GetImagePath(id) : CString();
    if (!path.IsEmpty() && document->InsertPictures({path}, -1, target.Get(), true, false))
        document->SetModifiedFlag(TRUE);
}

void CTalView::OnDropText(const CString& text, const CPoint& point)
{
    StopHoverTimer();
    RemoveDropMark(false);
    CTalDocument* document = GetTalDocument();
    if (!document || text.IsEmpty())
        return;
    bool onLabel = false;
    HTREEITEM item = HitTestTree(point, onLabel);
    CTalSectionTreeCtrl* tree = GetTree();
    UINT flags = 0;
    const bool hit = tree && tree->HitTest(point.x, point.y, &flags) != nullptr;
    CKWRefPtr<CTalSection> target(TargetSection(hit ? item : nullptr));
    if (!target)
        return;
    RECT label = {};
    const bool onEdge = hit && tree->GetItemRect(item, &label, true) && point.x >= label.left &&
                        point.x <= label.left + kLabelEdge && point.y >= label.top && point.y < label.bottom;
    const bool heading = target.Get() == document->GetProperties().GetHeadingSection().Get();
    CTalCommander& commander = document->GetCommander();
    CKWRefPtr<CTalSection> added = heading || !onEdge
                                       ? commander.AddChildSection(target.Get(), text, nullptr, true, true, true, true)
                                       : commander.AddSiblingSection(target.Get(), text, nullptr, true, true);
    if (added)
        document->SetModifiedFlag(TRUE);
}

// ---- Dragging a section out of the tree ---------------------------------------------

void CTalView::BeginDrag(const CPoint& start)
{
    CTalDocument* document = GetTalDocument();
    CTalApplication* app = GetTalApp();
    if (!document || !app || !GetTree())
        return;
    KWDragInfo info;
    info.Clear();
    info.instanceId = app->GetInstanceId();
    info.kind = kKindSection;
    info.documentId = document->GetDocumentId();
    CTalDragDropTask* task = BeginDragSelection(start);
    if (!task)
        return;
    // The item's own formats, before the drag image joins it.
    task->Prepare();
    if (HBITMAP image = MakeDragImage(start))
        task->SetDragBitmap(image);
    task->SetDragInfo(info);
    task->DoDragDrop(start);
    RemoveDropMark(true);
    task->InternalRelease();
}

CTalDragDropTask* CTalView::BeginDragSelection(const CPoint& start)
{
    CTalDocument* document = GetTalDocument();
    CTalSectionTreeCtrl* tree = GetTree();
    if (!document || !tree || !document->GetCurrentSection())
        return nullptr;
    // The section pressed, not the one the pointer has reached by the time
    // the move counts as a drag.
    HTREEITEM item = tree->GetSelectedItem();
    UINT flags = 0;
    if (HTREEITEM under = tree->HitTest(start.x, start.y, &flags))
        item = under;
    auto* data = item ? dynamic_cast<CTalItemUserData*>(tree->GetItemData(item)) : nullptr;
    auto* section = data ? dynamic_cast<CTalSection*>(data->GetReportObject()) : nullptr;
    if (!section)
        return nullptr;
    auto* task = new CTalDragDropTask(document, new CTalSectionData(section, false));
    task->SetDescription(tree->GetItemText(item));
    return task;
}

HBITMAP CTalView::MakeDragImage(const CPoint& point)
{
    CTalSectionTreeCtrl* tree = GetTree();
    if (!tree)
        return nullptr;
    UINT flags = 0;
    HTREEITEM item = tree->HitTest(point.x, point.y, &flags);
    RECT text = {};
    if (!item || !tree->GetItemRect(item, &text, true))
        return nullptr;
    const int width = text.right - text.left + 6;
    const int height = text.bottom - text.top + 4;
    HWND window = tree->GetWnd()->m_hWnd;
    HDC treeDC = ::GetDC(window);
    HDC memory = ::CreateCompatibleDC(treeDC);
    HBITMAP bitmap = ::CreateCompatibleBitmap(treeDC, width, height);
    ::ReleaseDC(window, treeDC);
    if (!memory || !bitmap) {
        if (memory)
            ::DeleteDC(memory);
        if (bitmap)
            ::DeleteObject(bitmap);
        return nullptr;
    }
    HFONT font = ::CreateFontW(kDragImageFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Arial");
    HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
    HGDIOBJ oldFont = ::SelectObject(memory, font);
    RECT area = {0, 0, width, height};
    ::SetBkColor(memory, RGB(255, 255, 255));
    ::ExtTextOutW(memory, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    const CString label = tree->GetItemText(item);
    ::DrawTextW(memory, label, label.GetLength(), &area, kDragImageTextFlags);
    ::SelectObject(memory, oldFont);
    ::SelectObject(memory, oldBitmap);
    ::DeleteObject(font);
    ::DeleteDC(memory);
    return bitmap;
}
