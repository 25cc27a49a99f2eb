#include "editor/DocPropertiesPage2.h"

#include "editor/ReportPropControls.h"
#include "editor/TalImageViewData.h"
#include "editor/WatermarkDrawing.h"
#include "framework/KWAlphaComposite.h"
#include "framework/KWGdipBitmap.h"
#include "framework/KWGraphics.h"
#include "framework/KWRasterLib.h"
#include "model/TalDocProperties.h"
#include "model/TalTemplate.h"
#include "model/TalTemplateManager.h"
#include "resources/ReportPropDialogs.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void DrawLogoPreview(IKWGraphics* graphics, CKWImageControlImp* control, void* context)
{
    static_cast<CDocPropertiesPage2*>(context)->DrawPreview(graphics, control);
}

// The whole file; false when it cannot be read or memory runs out.
bool ReadWholeFile(const CString& path, std::vector<uint8_t>& bytes)
{
    FILE* file = _wfopen(path, L"rb");
    if (!file)
        return false;
    bool read = false;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size >= 0 && std::fseek(file, 0, SEEK_SET) == 0) {
            try {
                bytes.resize(static_cast<size_t>(size));
                read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
            } catch (const std::bad_alloc&) {
                read = false;
            }
        }
    }
    std::fclose(file);
    return read;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDocPropertiesPage2, CTalPropertiesPage)
    ON_BN_CLICKED(IDC_TP_INSERT_LOGO, OnInsertLogo)
    ON_BN_CLICKED(IDC_TP_INSERT_DATE, OnInsertDate)
    ON_BN_CLICKED(IDC_TP_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CDocPropertiesPage2::CDocPropertiesPage2() : CTalPropertiesPage(IDD_TAL_PROP_TITLE_PAGE) {}

CString CDocPropertiesPage2::TemplateLabel(const CString& title, const CString& name)
{
    if (!title.IsEmpty())
        return title;
    const int dot = name.Find(L'.');
    return dot < 0 ? name : name.Left(dot);
}

bool CDocPropertiesPage2::BrowseImage(CString& path)
{
    return TalBrowseImageFile(path);
}

BOOL CDocPropertiesPage2::OnInitDialog()
{
    m_insertLogo.CreateImp(::GetDlgItem(m_hWnd, IDC_TP_INSERT_LOGO));
    m_insertDate.CreateImp(::GetDlgItem(m_hWnd, IDC_TP_INSERT_DATE));
    m_list.CreateImageViewImp(::GetDlgItem(m_hWnd, IDC_TP_TEMPLATES), false);
    const CTalDocProperties* properties = Properties();
    if (properties) {
        m_insertLogo.SetCheck(properties->m_insertLogo ? BST_CHECKED : BST_UNCHECKED);
        m_insertDate.SetCheck(properties->m_insertDate ? BST_CHECKED : BST_UNCHECKED);
        if (properties->m_logoPictureId != 0)
            m_logoPath = g_rasterLib.GetImagePath(static_cast<uint32_t>(properties->m_logoPictureId));
    }
    m_preview.Attach(IDC_PROP_PREVIEW, this);
    m_preview.SetDrawCallback(DrawLogoPreview, this);
    FillTemplates();
    m_initialized = true;
    return TRUE;
}

void CDocPropertiesPage2::FillTemplates()
{
    const std::vector<CTalTemplate*>& templates = g_TemplateManager.GetTitlePageTemplates();
    m_list.SetThumbnailSize(kThumbnailSide, kThumbnailSide, 4, 4, 1);
    const CTalDocProperties* properties = Properties();
    const CTalTemplate* current = properties ? properties->GetTitlePageTemplate() : nullptr;
    m_templateIndex = 0;
    m_list.BeginAddItems(static_cast<int>(templates.size()), -1);
    for (size_t i = 0; i < templates.size(); ++i) {
        const CTalTemplate* tmpl = templates[i];
        const auto previewId = static_cast<uint32_t>(tmpl->GetPreviewPictureId());
        // Without a readable preview the list shows its default picture.
        KWSharedRasterImage thumbnail;
        if (previewId != 0)
            thumbnail = g_rasterLib.GetThumbnail(previewId);
        m_list.AddItem(TemplateLabel(tmpl->GetTitle(), tmpl->GetName()), thumbnail.get(),
                       new CTalImageViewData(previewId));
        if (tmpl == current)
            m_templateIndex = static_cast<int>(i);
    }
    m_list.EndAddItems();
    if (!templates.empty()) {
        m_list.SelectItem(m_templateIndex);
        m_list.EnsureVisible(m_templateIndex, false);
    }
}

BOOL CDocPropertiesPage2::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->idFrom == IDC_TP_TEMPLATES && header->code == LVN_ITEMCHANGED) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uNewState & LVIS_SELECTED) && change->iItem != -1 && change->iItem != m_templateIndex) {
            m_templateIndex = change->iItem;
            m_list.SelectItem(m_templateIndex);
            SetModified(TRUE);
        }
        *pResult = 0;
        return TRUE;
    }
    return CTalPropertiesPage::OnNotify(wParam, lParam, pResult);
}

void CDocPropertiesPage2::OnInsertLogo()
{
    if (!m_initialized)
        return;
    m_logoChecked = m_insertLogo.GetCheck() == BST_CHECKED;
    if (m_logoChecked && m_logoPath.IsEmpty())
        OnBrowse();
    SetModified(TRUE);
}

void CDocPropertiesPage2::OnInsertDate()
{
    SetModified(TRUE);
}

void CDocPropertiesPage2::OnBrowse()
{
    CString path;
    if (!BrowseImage(path))
        return;
    // Compared as written: another letter case is another file to copy.
    if (path != m_logoPath)
        m_logoChanged = true;
    m_logoPath = path;
    m_insertLogo.SetCheck(BST_CHECKED);
    m_preview.Invalidate();
    SetModified(TRUE);
}

BOOL CDocPropertiesPage2::OnKillActive()
{
    m_logoChecked = m_insertLogo.GetCheck() == BST_CHECKED;
    m_dateChecked = m_insertDate.GetCheck() == BST_CHECKED;
    int index = m_list.GetFirstSelected();
    if (index < 0)
        index = m_list.GetCurrentItem();
    if (index >= 0)
        m_templateIndex = index;
    return TRUE;
}

BOOL CDocPropertiesPage2::OnApply()
{
    CTalDocProperties* properties = Properties();
    if (!m_initialized || !properties)
        return TRUE;
    OnKillActive();
    MarkDocumentModified();
    properties->m_insertLogo = m_logoChecked ? 1 : 0;
    properties->m_insertDate = m_dateChecked ? 1 : 0;
    if (!m_logoPath.IsEmpty() && m_logoChanged) {
        const int dot = m_logoPath.ReverseFind(L'.');
        const std::wstring wide = dot < 0 ? std::wstring() : std::wstring(static_cast<const wchar_t*>(m_logoPath) + dot + 1);
        const std::string extension(wide.begin(), wide.end());
        std::vector<uint8_t> bytes;
        if (ReadWholeFile(m_logoPath, bytes) && !bytes.empty()) {
            const uint32_t id =
                g_rasterLib.AddImageFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), extension.c_str());
            if (id != 0) {
                properties->m_logoPictureId = static_cast<int32_t>(id);
                // A second Apply of the same choice adds no second copy.
                m_logoChanged = false;
            }
        }
    }
    // An index the list no longer holds leaves the template as it is.
    const std::vector<CTalTemplate*>& templates = g_TemplateManager.GetTitlePageTemplates();
    if (m_templateIndex >= 0 && m_templateIndex < static_cast<int>(templates.size()))
        properties->m_titleTemplateName = templates[m_templateIndex]->GetName();
    return TRUE;
}

void CDocPropertiesPage2::DrawPreview(IKWGraphics* graphics, CKWImageControlImp* control)
{
    if (!graphics || !control)
        return;
    CRect client;
    control->GetClientRect(client);
    const double areaWidth = client.Width() - 2;
    const double areaHeight = client.Height() - 2;
    TalDrawRectangle(*graphics, 1, 1, areaWidth, areaHeight, kTalPreviewBackground);
    const DWORD attributes = m_logoPath.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(m_logoPath);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) || areaWidth <= 0 ||
        areaHeight <= 0)
        return;
    KWRasterImagePtr image(g_rasterLib.RasterReadFile(m_logoPath, 0, 0));
    if (!image || image->width == 0 || image->height == 0)
        return;
    // The logo lies on the white title page: its transparent parts show white.
    KWBlendOver(*image, kTalPreviewPage);
    const double factor = (static_cast<double>(image->width) / image->height) / (areaWidth / areaHeight);
    const TalFittedBox box = TalFitBox(factor, areaWidth, areaHeight, 2, 2, 2, 1);
    CKWGdipBitmap bitmap;
    bitmap.Wrap(static_cast<int>(image->width), static_cast<int>(image->height), static_cast<int>(image->stride),
                image->Pixels(), CKWGdipBitmap::kPixelFormat32bppRGB);
    graphics->DrawImage(box.left, box.top, box.width, box.height, &bitmap, nullptr);
}
