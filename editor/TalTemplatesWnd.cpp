#include "editor/TalTemplatesWnd.h"

#include "editor/TalImageViewData.h"

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

// The data of a thumbnail: its preview picture and the template it shows
// (the manager's list may grow before the list is filled again).
class CTalTemplateItemData : public CTalImageViewData {
public:
    CTalTemplateItemData(uint32_t previewId, const CTalTemplate* tmpl) : CTalImageViewData(previewId), m_template(tmpl)
    {
    }
    const CTalTemplate* GetTemplate() const { return m_template; }

private:
    const CTalTemplate* m_template;
};

// A copy of the store's placeholder no larger than a thumbnail; null when
// there is none.
KWRasterImagePtr PlaceholderThumbnail()
{
    KWRasterImagePtr placeholder(g_rasterLib.RasterCopyPlaceholder());
    const uint32_t side = CTalTemplatesWnd::kThumbnailSize;
    if (!placeholder || (placeholder->width <= side && placeholder->height <= side))
        return placeholder;
    const double scale = std::min(double(side) / placeholder->width, double(side) / placeholder->height);
    KWRasterImagePtr fitted(g_rasterLib.RasterResize(placeholder.get(),
                                                     std::max(1u, uint32_t(placeholder->width * scale)),
                                                     std::max(1u, uint32_t(placeholder->height * scale))));
    return fitted ? std::move(fitted) : std::move(placeholder);
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

void CTalTemplatesWnd::InitControls()
{
    HWND list = GetList();
    m_list.CreateImageViewImp(list, false);
    m_list.SetThumbnailSize(kThumbnailSize, kThumbnailSize, 4, 4, 1);
    m_list.SetLabelsReadOnly(true);
    if (list)
        ListView_SetIconSpacing(list, kThumbnailSize + kCellGap, kThumbnailSize + kCellGap + 16);
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
    if (!GetList())
        return;
    m_list.DeleteAllItems();
    const std::vector<CTalTemplate*>& templates = g_TemplateManager.GetPageTemplates();
    m_list.BeginAddItems(static_cast<int>(templates.size()), -1);
    for (const CTalTemplate* tmpl : templates) {
        const uint32_t preview = static_cast<uint32_t>(tmpl->GetPreviewPictureId());
        KWSharedRasterImage thumbnail = preview ? g_rasterLib.GetThumbnail(preview) : KWSharedRasterImage();
        KWRasterImagePtr placeholder = thumbnail ? KWRasterImagePtr() : PlaceholderThumbnail();
        m_list.AddItem(ItemText(*tmpl), thumbnail ? thumbnail.get() : placeholder.get(),
                       new CTalTemplateItemData(preview, tmpl));
    }
    m_list.EndAddItems();
    m_selected = -1;
}

const CTalTemplate* CTalTemplatesWnd::TemplateOfItem(int item)
{
    if (item < 0 || item >= m_list.GetItemCount())
        return nullptr;
    const auto* data = dynamic_cast<const CTalTemplateItemData*>(m_list.GetItemData(item));
    return data ? data->GetTemplate() : nullptr;
}

int CTalTemplatesWnd::FindTemplateItem(const CTalTemplate* tmpl)
{
    if (!tmpl)
        return -1;
    for (int item = 0; item < m_list.GetItemCount(); ++item) {
        if (TemplateOfItem(item) == tmpl)
            return item;
    }
    return -1;
}

void CTalTemplatesWnd::UpdateForSection(CTalSection* section)
{
    if (!section)
        return;
    const bool hasParent = section->PeekParent() != nullptr;
    m_ownTemplate.Enable(hasParent);
    m_ownTemplate.SetCheck(section->GetOwnTemplate() || !hasParent ? BST_CHECKED : BST_UNCHECKED);
    if (!GetList())
        return;
    const int position = FindTemplateItem(section->GetPageTemplate());
    // The index is stored first: the selection this causes gives the
    // section no template again.
    m_selected = position;
    m_list.ClearSelection();
    if (position != -1) {
        m_list.SelectItem(position);
        m_list.EnsureVisible(position, false);
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
    m_list.DeleteAllItems();
    m_ownTemplate.DestroyImp();
    CTalPaneWnd::OnDestroy();
    m_list.DestroyImp();
}

void CTalTemplatesWnd::OnOwnTemplate()
{
    if (m_document)
        m_document->ToggleOwnTemplate();
}
