#include "editor/TalTemplatesWnd.h"

#include "framework/KWFocusManager.h"
#include "framework/KWKeyRecord.h"
#include "framework/KWRasterImage.h"
#include "framework/KWRasterLib.h"
#include "model/TalSection.h"
#include "model/TalTemplate.h"
#include "model/TalTemplateManager.h"
#include "document/TalDocument.h"
#include "platform/classlib/MessageMap.h"
#include "resources/Editor.h"

#include <algorithm>

namespace {

constexpr int kCellGap = 4;
constexpr int kBoxLeft = 10;
constexpr int kBoxFromBottom = 20;
constexpr COLORREF kCellBackground = RGB(255, 255, 255);

// The image drawn into a cell of the thumbnail size: scaled down to fit,
// proportions kept, centred on white. Null when it cannot be made.
HBITMAP MakeCellBitmap(const KWRasterImage* image)
{
    const int size = CTalTemplatesWnd::kThumbnailSize;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP cell = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    if (!cell)
        return nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, cell);
    RECT all = {0, 0, size, size};
    HBRUSH white = ::CreateSolidBrush(kCellBackground);
    ::FillRect(dc, &all, white);
    ::DeleteObject(white);
    if (image && image->width > 0 && image->height > 0 && image->stride >= image->width * 4) {
        const double scale = std::min(1.0, std::min(static_cast<double>(size) / image->width,
                                                    static_cast<double>(size) / image->height));
        const int width = std::max(1, static_cast<int>(image->width * scale));
        const int height = std::max(1, static_cast<int>(image->height * scale));
        BITMAPINFO source = {};
        source.bmiHeader.biSize = sizeof(source.bmiHeader);
        source.bmiHeader.biWidth = static_cast<LONG>(image->stride / 4);
        source.bmiHeader.biHeight = -static_cast<LONG>(image->height);
        source.bmiHeader.biPlanes = 1;
        source.bmiHeader.biBitCount = 32;
        ::SetStretchBltMode(dc, HALFTONE);
        ::StretchDIBits(dc, (size - width) / 2, (size - height) / 2, width, height, 0, 0,
                        static_cast<int>(image->width), static_cast<int>(image->height), image->Pixels(), &source,
                        DIB_RGB_COLORS, SRCCOPY);
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return cell;
}

// The template's title, or its name up to its first dot.
CString ItemText(const CTalTemplate& tmpl)
{
    CString text = tmpl.GetTitle();
    if (!text.IsEmpty())
        return text;
    text = tmpl.GetName();
    const int dot = text.Find(L'.');
    return dot >= 0 ? text.Left(dot) : text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CTalTemplatesWnd, CTalPaneWnd)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_BN_CLICKED(kOwnTemplateId, OnOwnTemplate)
END_MESSAGE_MAP()

CTalTemplatesWnd::CTalTemplatesWnd(CTalDocument* document) : CTalPaneWnd(IDD_TAL_TEMPLATES, 3), m_document(document)
{
}

CTalTemplatesWnd::~CTalTemplatesWnd()
{
    if (m_images)
        ImageList_Destroy(m_images);
}

void CTalTemplatesWnd::InitControls()
{
    HWND list = GetList();
    m_images = ImageList_Create(kThumbnailSize, kThumbnailSize, ILC_COLOR32, 8, 8);
    if (list) {
        ListView_SetImageList(list, m_images, LVSIL_NORMAL);
        ListView_SetIconSpacing(list, kThumbnailSize + kCellGap, kThumbnailSize + kCellGap + 16);
    }
    m_ownTemplate.CreateImp(GetItemHwnd(kOwnTemplateId));
}

void CTalTemplatesWnd::TakeFocus()
{
    if (HWND list = GetList())
        ::SetFocus(list);
    else
        CTalPaneWnd::TakeFocus();
}

void CTalTemplatesWnd::LoadTemplates()
{
    HWND list = GetList();
    if (!list || !m_images)
        return;
    ListView_DeleteAllItems(list);
    ImageList_RemoveAll(m_images);
    const std::vector<CTalTemplate*>& templates = g_TemplateManager.GetPageTemplates();
    ListView_SetItemCount(list, static_cast<int>(templates.size()));
    for (size_t i = 0; i < templates.size(); ++i) {
        const CTalTemplate& tmpl = *templates[i];
        const uint32_t preview = static_cast<uint32_t>(tmpl.GetPreviewPictureId());
        KWSharedRasterImage thumbnail = preview ? g_rasterLib.GetThumbnail(preview) : KWSharedRasterImage();
        KWRasterImagePtr placeholder;
        if (!thumbnail)
            placeholder.reset(g_rasterLib.RasterCopyPlaceholder());
        HBITMAP cell = MakeCellBitmap(thumbnail ? thumbnail.get() : placeholder.get());
        const int image = cell ? ImageList_Add(m_images, cell, nullptr) : -1;
        if (cell)
            ::DeleteObject(cell);
        CString text = ItemText(tmpl);
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(static_cast<const wchar_t*>(text));
        item.iImage = image;
        // The item knows its template itself: the manager's list may grow
        // (a loaded report adds its templates) before the list is filled again.
        item.lParam = reinterpret_cast<LPARAM>(templates[i]);
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    m_selected = -1;
}

const CTalTemplate* CTalTemplatesWnd::TemplateOfItem(int item) const
{
    HWND list = GetList();
    if (!list || item < 0)
        return nullptr;
    LVITEMW query = {};
    query.mask = LVIF_PARAM;
    query.iItem = item;
    if (!::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query)))
        return nullptr;
    return reinterpret_cast<const CTalTemplate*>(query.lParam);
}

int CTalTemplatesWnd::FindTemplateItem(const CTalTemplate* tmpl) const
{
    HWND list = GetList();
    if (!list || !tmpl)
        return -1;
    LVFINDINFOW find = {};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(tmpl);
    return static_cast<int>(::SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void CTalTemplatesWnd::UpdateForSection(CTalSection* section)
{
    if (!section)
        return;
    const bool hasParent = section->PeekParent() != nullptr;
    m_ownTemplate.Enable(hasParent);
    m_ownTemplate.SetCheck(section->GetOwnTemplate() || !hasParent ? BST_CHECKED : BST_UNCHECKED);
    HWND list = GetList();
    if (!list)
        return;
    const int position = FindTemplateItem(section->GetPageTemplate());
    // The index is stored first: the selection this causes gives the
    // section no template again.
    m_selected = position;
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    if (position != -1) {
        ListView_SetItemState(list, position, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, position, FALSE);
    }
}

BOOL CTalTemplatesWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const BOOL handled = CTalPaneWnd::OnNotify(wParam, lParam, pResult);
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header || header->idFrom != kListId || !m_document)
        return handled;
    if (header->code == LVN_ITEMCHANGED) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) && change->iItem != m_selected) {
            m_selected = change->iItem;
            if (const CTalTemplate* tmpl = TemplateOfItem(m_selected))
                m_document->SetSectionTemplate(tmpl->GetName());
        }
        return TRUE;
    }
    if (header->code == NM_SETFOCUS) {
        // The list has the pane's focus: the frame's focus manager hears it.
        if (CKWFocusManager* manager = GetFocusManager())
            manager->SetFocusItem(GetFocusCode());
        return handled;
    }
    if (header->code == LVN_KEYDOWN) {
        const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(lParam);
        m_document->HandleKey(CKWKeyRecord::FromMessage(key->wVKey));
        return TRUE;
    }
    return handled;
}

void CTalTemplatesWnd::OnSize(UINT, int cx, int cy)
{
    HWND list = GetList();
    if (!list)
        return;
    RECT place;
    ::GetWindowRect(list, &place);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
    ::MoveWindow(list, place.left, place.top, cx, std::max(cy - kFullHeight, 0), TRUE);
    ListView_Arrange(list, LVA_DEFAULT);
    if (HWND box = GetItemHwnd(kOwnTemplateId)) {
        RECT rect;
        ::GetWindowRect(box, &rect);
        ::MoveWindow(box, kBoxLeft, cy < kFullHeight ? 0 : cy - kBoxFromBottom, rect.right - rect.left,
                     rect.bottom - rect.top, TRUE);
    }
    if (HWND label = GetItemHwnd(kLabelId))
        ::ShowWindow(label, cy >= kFullHeight ? SW_SHOW : SW_HIDE);
}

void CTalTemplatesWnd::OnDestroy()
{
    if (HWND list = GetList())
        ListView_DeleteAllItems(list);
    m_ownTemplate.DestroyImp();
    CTalPaneWnd::OnDestroy();
}

void CTalTemplatesWnd::OnOwnTemplate()
{
    if (m_document)
        m_document->ToggleOwnTemplate();
}
