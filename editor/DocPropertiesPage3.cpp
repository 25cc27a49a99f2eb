#include "editor/DocPropertiesPage3.h"

#include "controls/KWMessageBox.h"
#include "editor/ReportPropControls.h"
#include "editor/WatermarkDrawing.h"
#include "editor/WatermarkPropDlg.h"
#include "model/TalDocProperties.h"
#include "model/TalPrefs.h"
#include "model/TalWatermark.h"
#include "document/TalDocument.h"
#include "document/TalDocumentApp.h"
#include "resources/ReportPropDialogs.h"

namespace {

void DrawWatermarksPreview(IKWGraphics* graphics, CKWImageControlImp* control, void* context)
{
    static_cast<CDocPropertiesPage3*>(context)->DrawPreview(graphics, control);
}

CTalPrefs* ApplicationPrefs()
{
    CTalDocumentApp* app = GetTalDocumentApp();
    return app ? &app->GetPrefs() : nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDocPropertiesPage3, CTalPropertiesPage)
    ON_BN_CLICKED(IDC_WMS_ADD, OnAdd)
    ON_BN_CLICKED(IDC_WMS_PROPERTIES, OnProperties)
    ON_BN_CLICKED(IDC_WMS_REMOVE, OnRemove)
    ON_BN_CLICKED(IDC_WMS_SHOW_ALL, OnShowAll)
    ON_LBN_SELCHANGE(IDC_WMS_LIST, OnSelectionChanged)
    ON_LBN_DBLCLK(IDC_WMS_LIST, OnProperties)
END_MESSAGE_MAP()

CDocPropertiesPage3::CDocPropertiesPage3() : CTalPropertiesPage(IDD_TAL_PROP_WATERMARKS) {}

CDocPropertiesPage3::~CDocPropertiesPage3() = default;

BOOL CDocPropertiesPage3::OnInitDialog()
{
    m_list.CreateImp(::GetDlgItem(m_hWnd, IDC_WMS_LIST));
    m_showAll.CreateImp(::GetDlgItem(m_hWnd, IDC_WMS_SHOW_ALL));
    m_properties.CreateImp(::GetDlgItem(m_hWnd, IDC_WMS_PROPERTIES));
    m_remove.CreateImp(::GetDlgItem(m_hWnd, IDC_WMS_REMOVE));
    const CTalPrefs* prefs = ApplicationPrefs();
    m_showAll.SetCheck(prefs && prefs->GetShowAllWatermarks() ? BST_CHECKED : BST_UNCHECKED);
    m_preview.Attach(IDC_PROP_PREVIEW, this);
    m_preview.SetDrawCallback(DrawWatermarksPreview, this);
    m_watermarks.clear();
    if (const CTalDocProperties* properties = Properties()) {
        for (const CTalWatermark* mark : properties->GetWatermarks())
            m_watermarks.push_back(std::make_unique<CTalWatermark>(*mark));
    }
    RefillList(m_watermarks.empty() ? -1 : 0);
    EnableButtons();
    m_initialized = true;
    return TRUE;
}

void CDocPropertiesPage3::RefillList(int select)
{
    m_list.ResetContent();
    for (const auto& mark : m_watermarks)
        m_list.AddString(mark->m_name);
    m_list.SetCurSel(select);
    m_preview.Invalidate();
}

void CDocPropertiesPage3::EnableButtons()
{
    const bool any = m_list.GetCount() > 0;
    m_properties.Enable(any);
    m_remove.Enable(any);
}

bool CDocPropertiesPage3::EditWatermark(CTalWatermark& watermark)
{
    CWatermarkPropDlg dialog(&watermark, Sheet(), this);
    return dialog.DoModal() == IDOK;
}

bool CDocPropertiesPage3::ConfirmRemove()
{
    return KWMessageBox(TalResourceString(IDS_WM_DELETE_QUESTION), MB_YESNO | MB_ICONQUESTION, 0, nullptr, m_hWnd) ==
           IDYES;
}

void CDocPropertiesPage3::OnAdd()
{
    auto mark = std::make_unique<CTalWatermark>();
    // The number follows the count, even where that name is taken.
    mark->m_name.Format(L"Watermark%d", static_cast<int>(m_watermarks.size()) + 1);
    if (EditWatermark(*mark)) {
        m_watermarks.push_back(std::move(mark));
        RefillList(static_cast<int>(m_watermarks.size()) - 1);
        SetModified(TRUE);
    }
    EnableButtons();
}

void CDocPropertiesPage3::OnProperties()
{
    const int index = m_list.GetCurSel();
    if (index < 0 || index >= static_cast<int>(m_watermarks.size()))
        return;
    auto copy = std::make_unique<CTalWatermark>(*m_watermarks[index]);
    if (!EditWatermark(*copy))
        return;
    m_watermarks[index] = std::move(copy);
    RefillList(index);
    SetModified(TRUE);
}

void CDocPropertiesPage3::OnRemove()
{
    const int index = m_list.GetCurSel();
    if (index < 0 || index >= static_cast<int>(m_watermarks.size()) || !ConfirmRemove())
        return;
    m_list.DeleteString(index);
    m_watermarks.erase(m_watermarks.begin() + index);
    if (!m_watermarks.empty())
        m_list.SetCurSel(index == 0 ? 0 : index - 1);
    m_preview.Invalidate();
    SetModified(TRUE);
    EnableButtons();
}

void CDocPropertiesPage3::OnShowAll()
{
    // Kept at once: the preference outlives a cancelled sheet.
    if (CTalPrefs* prefs = ApplicationPrefs())
        prefs->SetShowAllWatermarks(m_showAll.GetCheck() == BST_CHECKED);
    m_preview.Invalidate();
    SetModified(TRUE);
}

void CDocPropertiesPage3::OnSelectionChanged()
{
    if (m_showAll.GetCheck() != BST_CHECKED)
        m_preview.Invalidate();
}

void CDocPropertiesPage3::DrawPreview(IKWGraphics* graphics, CKWImageControlImp* control)
{
    CDocProperties* sheet = Sheet();
    const CTalDocProperties* properties = Properties();
    if (!graphics || !control || !sheet || !properties)
        return;
    CRect client;
    control->GetClientRect(client);
    const CRect page = TalDrawPreviewPage(*graphics, client, sheet->m_pageWidthMm, sheet->m_pageHeightMm);
    const auto draw = [&](const CTalWatermark& mark) {
        TalDrawWatermark(*graphics, page, mark, sheet->m_pageWidthMm, sheet->m_pageHeightMm,
                         properties->GetFontTable());
    };
    if (m_showAll.GetCheck() != BST_CHECKED) {
        const int index = m_list.GetCurSel();
        if (index >= 0 && index < static_cast<int>(m_watermarks.size()))
            draw(*m_watermarks[index]);
        return;
    }
    // Those sent to the front come last, each pass in list order.
    for (const bool front : {false, true}) {
        for (const auto& mark : m_watermarks) {
            if ((mark->m_sendToFront != 0) == front)
                draw(*mark);
        }
    }
}

BOOL CDocPropertiesPage3::OnApply()
{
    CTalDocProperties* properties = Properties();
    if (!m_initialized || !properties)
        return TRUE;
    OnKillActive();
    properties->DeleteWatermarks();
    for (const auto& mark : m_watermarks)
        properties->AddWatermark(new CTalWatermark(*mark));
    MarkDocumentModified();
    return TRUE;
}
