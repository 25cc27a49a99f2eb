#include "editor/StructedWizardPage3.h"

#include "editor/StructedWizard.h"
#include "editor/TalApplication.h"
#include "editor/TalImageViewData.h"
#include "editor/TalWizardDocument.h"
#include "framework/KWPathUtils.h"
#include "framework/KWRasterLib.h"
#include "framework/KWSystemInfo.h"
#include "appwindows/KWImportFileDialog.h"
#include "model/TalPicture.h"
#include "resources/Wizard.h"

BEGIN_MESSAGE_MAP(CStructedWizardPage3, CKWPropertyPage)
    ON_BN_CLICKED(IDC_TAL_WIZ_ADD_IMAGES, OnAddImages)
    ON_BN_CLICKED(IDC_TAL_WIZ_REMOVE_IMAGES, OnRemoveImages)
END_MESSAGE_MAP()

namespace {

// The open dialog's categories of images.
constexpr uint32_t kImageKinds = 1025;
constexpr int kThumbnailSize = 128;

}  // namespace

CStructedWizardPage3::CStructedWizardPage3() : CKWPropertyPage(IDD_TAL_WIZARD_SECTIONS) {}

CStructedWizardPage3::~CStructedWizardPage3() = default;

CStructedWizard* CStructedWizardPage3::Sheet() const
{
    return CStructedWizard::FromPage(*this);
}

BOOL CStructedWizardPage3::OnInitDialog()
{
    m_tree.CreateImp(::GetDlgItem(m_hWnd, IDC_TAL_WIZ_TREE));
    m_images.CreateImageViewImp(::GetDlgItem(m_hWnd, IDC_TAL_WIZ_IMAGES), false);
    m_images.SetThumbnailSize(kThumbnailSize, kThumbnailSize, 4, 4, 1);
    m_picture.Attach(IDC_TAL_WIZ_PICTURE, this);
    m_picture.SetImageResource(IDB_TAL_WIZARD_PAGE3);
    const bool xp = IsWindowsXPOrLater();
    const struct {
        CXPStyleButtonST& button;
        CKWButtonControl& facade;
        UINT id;
        UINT icon;
        UINT tooltip;
    } buttons[] = {
        {m_addButton, m_addFacade, IDC_TAL_WIZ_ADD_IMAGES, UINT(xp ? IDI_TAL_ADD_IMAGES : IDI_TAL_ADD_IMAGES_PLAIN),
         IDS_TAL_WIZ_ADD_IMAGES},
        {m_removeButton, m_removeFacade, IDC_TAL_WIZ_REMOVE_IMAGES,
         UINT(xp ? IDI_TAL_REMOVE_IMAGES : IDI_TAL_REMOVE_IMAGES_PLAIN), IDS_TAL_WIZ_REMOVE_IMAGES},
    };
    for (const auto& entry : buttons) {
        entry.button.SubclassDlgItem(entry.id, this);
        entry.button.SetThemeHelper(&m_theme);
        entry.button.SetIconById(entry.icon, 0, 0);
        entry.button.SetTooltipTextById(entry.tooltip, TRUE);
        entry.facade.CreateImp(entry.button.m_hWnd);
    }
    return CKWPropertyPage::OnInitDialog();
}

CTalSection* CStructedWizardPage3::SectionOf(HTREEITEM item) const
{
    const auto found = m_sections.find(item);
    return found == m_sections.end() ? nullptr : found->second.Get();
}

void CStructedWizardPage3::InsertSubtree(CTalSection* section, HTREEITEM parent)
{
    HTREEITEM item = m_tree.InsertItem(section->GetName(), parent, TVI_LAST);
    m_sections[item] = section;
    std::vector<uint32_t>& ids = m_pictureIds[item];
    for (const auto& picture : section->GetPictures()) {
        const auto id = static_cast<uint32_t>(picture->GetPictureId());
        ids.push_back(id);
        m_titles[id] = picture->GetTitle();
    }
    for (const auto& child : section->GetSubSections())
        InsertSubtree(child.Get(), item);
    m_tree.Expand(item, TVE_EXPAND);
}

BOOL CStructedWizardPage3::OnSetActive()
{
    CStructedWizard* sheet = Sheet();
    sheet->SetWizardButtons(PSWIZB_BACK | PSWIZB_FINISH);
    m_notify = false;
    m_tree.DeleteAllItems();
    m_sections.clear();
    m_pictureIds.clear();
    m_titles.clear();
    m_current = nullptr;
    CKWRefPtr<CTalSection> heading = sheet->GetWizardDocument()->GetProperties().GetHeadingSection();
    if (heading)
        InsertSubtree(heading.Get(), nullptr);
    m_current = m_tree.GetRootItem();
    for (const auto& entry : m_sections) {
        if (entry.second.Get() == sheet->m_currentSection.Get())
            m_current = entry.first;
    }
    m_notify = true;
    m_tree.SelectItem(m_current);
    // An unchanged selection sends no notice: the images are shown here too.
    ShowImages();
    return CKWPropertyPage::OnSetActive();
}

void CStructedWizardPage3::ShowImages()
{
    m_images.DeleteAllItems();
    const auto found = m_pictureIds.find(m_current);
    if (found != m_pictureIds.end()) {
        m_images.BeginAddItems(static_cast<int>(found->second.size()), -1);
        // A picture without an image in the store shows the list's default
        // picture; one whose file cannot be read, the store's placeholder.
        for (uint32_t id : found->second) {
            KWSharedRasterImage thumbnail;
            if (id != 0)
                thumbnail = g_rasterLib.GetThumbnail(id);
            m_images.AddItem(m_titles[id], thumbnail.get(), new CTalImageViewData(id));
        }
        m_images.EndAddItems();
    }
    if (m_images.GetItemCount() > 0)
        m_images.SelectItem(0);
    m_removeFacade.Enable(m_images.GetItemCount() > 0);
}

void CStructedWizardPage3::UpdateRemoveButton()
{
    m_removeFacade.Enable(m_images.GetItemCount() > 0 && m_images.GetFirstSelected() >= 0);
}

BOOL CStructedWizardPage3::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const BOOL handled = CKWPropertyPage::OnNotify(wParam, lParam, pResult);
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == IDC_TAL_WIZ_TREE) {
        if (header->code == TVN_SELCHANGEDW && m_notify) {
            if (m_images.IsEditingLabel())
                m_images.EndEditLabel(false);
            const auto* change = reinterpret_cast<const NMTREEVIEWW*>(lParam);
            if (change->itemNew.hItem)
                m_current = change->itemNew.hItem;
            ShowImages();
            *pResult = 0;
            return TRUE;
        }
        if (header->code == TVN_BEGINLABELEDITW) {
            // Sections are named on the structure page, not here.
            *pResult = TRUE;
            ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return handled;
    }
    if (header->idFrom != IDC_TAL_WIZ_IMAGES)
        return handled;
    switch (header->code) {
    case LVN_ITEMCHANGED:
        UpdateRemoveButton();
        break;
    case LVN_BEGINLABELEDITW:
        m_removeFacade.Enable(false);
        break;
    case LVN_ENDLABELEDITW: {
        const auto* edit = reinterpret_cast<const NMLVDISPINFOW*>(lParam);
        CTalSection* section = SectionOf(m_current);
        if (!edit->item.pszText || !section) {
            UpdateRemoveButton();
            break;
        }
        const int position = edit->item.iItem;
        std::vector<uint32_t>& ids = m_pictureIds[m_current];
        if (position >= 0 && position < section->GetPictureCount() && position < static_cast<int>(ids.size())) {
            section->GetPicture(position)->SetTitle(edit->item.pszText);
            m_titles[ids[static_cast<size_t>(position)]] = edit->item.pszText;
            m_images.SetItemText(position, edit->item.pszText);
        }
        UpdateRemoveButton();
        *pResult = TRUE;
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    default:
        break;
    }
    return handled;
}

void CStructedWizardPage3::OnAddImages()
{
    if (m_images.IsEditingLabel())
        m_images.EndEditLabel(false);
    if (SectionOf(m_current)) {
        CTalApplication* app = GetTalApp();
        CKWImportFileDialog dialog(app->GetFormatList(), kImageKinds, 0, nullptr, true, nullptr, true);
        dialog.SetInitialDir(m_lastFolder);
        if (dialog.DoModal() == IDOK) {
            std::vector<CString> paths;
            dialog.GetSelectedFiles(paths);
            AddImages(paths);
        }
    }
    m_addFacade.SetCheck(BST_UNCHECKED);
    m_removeFacade.Enable(m_images.GetItemCount() > 0);
}

void CStructedWizardPage3::AddImages(const std::vector<CString>& paths)
{
    CTalSection* section = SectionOf(m_current);
    if (!section)
        return;
    std::vector<uint32_t>& ids = m_pictureIds[m_current];
    for (const CString& path : paths) {
        m_lastFolder = GetPathDirectory(path);
        const uint32_t id = g_rasterLib.GetPictureId(path);
        ids.push_back(id);
        CKWRefPtr<CTalPicture> picture(new CTalPicture(section));
        picture->SetPictureId(static_cast<int32_t>(id));
        // The file's name without its extension, whatever its length.
        CString title = GetPathFileName(path, true);
        const int dot = title.ReverseFind(L'.');
        if (dot > 0)
            title = title.Left(dot);
        picture->SetTitle(title);
        section->InsertPicture(section->GetPictureCount(), picture.Get());
        m_titles[id] = title;
    }
    ShowImages();
}

void CStructedWizardPage3::OnRemoveImages()
{
    m_removeFacade.SetCheck(BST_UNCHECKED);
    if (m_images.IsEditingLabel())
        m_images.EndEditLabel(false);
    RemoveSelectedImages();
}

void CStructedWizardPage3::RemoveSelectedImages()
{
    CTalSection* section = SectionOf(m_current);
    if (!section || m_images.GetFirstSelected() < 0)
        return;
    std::vector<int> positions;
    for (int position = m_images.GetFirstSelected(); position >= 0; m_images.GetNextSelected(position))
        positions.push_back(position);
    std::vector<uint32_t>& ids = m_pictureIds[m_current];
    // Each removal moves the later positions one down.
    for (size_t k = 0; k < positions.size(); ++k) {
        const int at = positions[k] - static_cast<int>(k);
        if (CKWRefPtr<CTalPicture> picture = section->TakePicture(at))
            picture->Detach();
        if (at >= 0 && at < static_cast<int>(ids.size()))
            ids.erase(ids.begin() + at);
    }
    ShowImages();
}

LRESULT CStructedWizardPage3::OnWizardBack()
{
    Sheet()->m_currentSection = SectionOf(m_tree.GetSelectedItem());
    return CKWPropertyPage::OnWizardBack();
}

BOOL CStructedWizardPage3::OnWizardFinish()
{
    if (m_images.IsEditingLabel())
        m_images.EndEditLabel(false);
    return CKWPropertyPage::OnWizardFinish();
}

BOOL CStructedWizardPage3::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN)
        return CKWPropertyPage::PreTranslateMessage(msg);
    const WPARAM key = msg->wParam;
    if (m_images.IsEditingLabel()) {
        if (key == VK_F2) {
            m_images.EndEditLabel(false);
            return TRUE;
        }
        // The title's own keys, not the dialog's default buttons.
        if (key == VK_RETURN || key == VK_DELETE || key == VK_ESCAPE || ::GetKeyState(VK_CONTROL) < 0) {
            ::TranslateMessage(msg);
            ::DispatchMessageW(msg);
            return TRUE;
        }
        return CKWPropertyPage::PreTranslateMessage(msg);
    }
    switch (key) {
    case VK_RETURN:
        OnAddImages();
        return TRUE;
    case VK_DELETE:
        OnRemoveImages();
        return TRUE;
    case VK_F2:
        m_images.EditLabel(m_images.GetCurrentItem());
        return TRUE;
    default:
        return CKWPropertyPage::PreTranslateMessage(msg);
    }
}
