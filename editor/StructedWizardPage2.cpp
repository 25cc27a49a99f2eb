#include "editor/StructedWizardPage2.h"

#include "editor/StructedWizard.h"
#include "editor/TalWizardDocument.h"
#include "model/TalTextNote.h"
#include "resources/Wizard.h"

BEGIN_MESSAGE_MAP(CStructedWizardPage2, CKWPropertyPage)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_TAL_WIZ_ADD_SECTION, IDC_TAL_WIZ_EDIT_NAME, OnButton)
    ON_EN_CHANGE(IDC_TAL_WIZ_COMMENT, OnCommentChanged)
END_MESSAGE_MAP()

namespace {

const wchar_t kNewSectionName[] = L"New Section";

struct ButtonInfo {
    UINT id;
    UINT icon;
    UINT tooltip;
};
const ButtonInfo kButtons[CStructedWizardPage2::kButtonCount] = {
    {IDC_TAL_WIZ_ADD_SECTION, IDI_TAL_WIZ_ADD_SECTION, IDS_TAL_WIZ_ADD_SECTION},
    {IDC_TAL_WIZ_ADD_SUBSECTION, IDI_TAL_WIZ_ADD_SUBSECTION, IDS_TAL_WIZ_ADD_SUBSECTION},
    {IDC_TAL_WIZ_REMOVE_SECTION, IDI_TAL_WIZ_REMOVE_SECTION, IDS_TAL_WIZ_REMOVE_SECTION},
    {IDC_TAL_WIZ_MOVE_UP, IDI_TAL_WIZ_MOVE_UP, IDS_TAL_WIZ_MOVE_UP},
    {IDC_TAL_WIZ_MOVE_DOWN, IDI_TAL_WIZ_MOVE_DOWN, IDS_TAL_WIZ_MOVE_DOWN},
    {IDC_TAL_WIZ_MOVE_LEFT, IDI_TAL_WIZ_MOVE_LEFT, IDS_TAL_WIZ_MOVE_LEFT},
    {IDC_TAL_WIZ_MOVE_RIGHT, IDI_TAL_WIZ_MOVE_RIGHT, IDS_TAL_WIZ_MOVE_RIGHT},
    {IDC_TAL_WIZ_EDIT_NAME, IDI_TAL_WIZ_EDIT_NAME, IDS_TAL_WIZ_EDIT_NAME},
};

int ButtonIndex(UINT id)
{
    for (int i = 0; i < CStructedWizardPage2::kButtonCount; ++i) {
        if (kButtons[i].id == id)
            return i;
    }
    return -1;
}

// The comment as the edit box shows it ("\r\n" lines) and as the note keeps it ("\n").
CString ToEditLines(CString text)
{
    text.Replace(L"\r\n", L"\n");
    text.Replace(L"\n", L"\r\n");
    return text;
}

CString ToNoteLines(CString text)
{
    text.Replace(L"\r\n", L"\n");
    return text;
}

}  // namespace

CStructedWizardPage2::CStructedWizardPage2() : CKWPropertyPage(IDD_TAL_WIZARD_STRUCTURE) {}

CStructedWizardPage2::~CStructedWizardPage2() = default;

CStructedWizard* CStructedWizardPage2::Sheet() const
{
    return CStructedWizard::FromPage(*this);
}

BOOL CStructedWizardPage2::OnInitDialog()
{
    m_tree.CreateImp(::GetDlgItem(m_hWnd, IDC_TAL_WIZ_TREE));
    m_comment.CreateImp(::GetDlgItem(m_hWnd, IDC_TAL_WIZ_COMMENT));
    m_picture.Attach(IDC_TAL_WIZ_PICTURE, this);
    m_picture.SetImageResource(IDB_TAL_WIZARD_PAGE2);
    for (int i = 0; i < kButtonCount; ++i) {
        m_buttons[i].SubclassDlgItem(kButtons[i].id, this);
        m_buttons[i].SetThemeHelper(&m_theme);
        m_buttons[i].SetIconById(kButtons[i].icon, 0, 0);
        m_buttons[i].SetTooltipTextById(kButtons[i].tooltip, TRUE);
        m_buttonFacades[i].CreateImp(m_buttons[i].m_hWnd);
    }
    return CKWPropertyPage::OnInitDialog();
}

CTalSection* CStructedWizardPage2::SectionOf(HTREEITEM item) const
{
    const auto found = m_sections.find(item);
    return found == m_sections.end() ? nullptr : found->second.Get();
}

HTREEITEM CStructedWizardPage2::InsertSubtree(CTalSection* section, HTREEITEM parent)
{
    HTREEITEM item = m_tree.InsertItem(section->GetName(), parent, TVI_LAST);
    m_sections[item] = section;
    m_parents[item] = parent;
    for (const auto& child : section->GetSubSections())
        InsertSubtree(child.Get(), item);
    m_tree.Expand(item, TVE_EXPAND);
    return item;
}

void CStructedWizardPage2::FillTree(CTalSection* show)
{
    m_tree.DeleteAllItems();
    m_sections.clear();
    m_parents.clear();
    m_current = nullptr;
    m_notify = false;
    CKWRefPtr<CTalSection> heading = Sheet()->GetWizardDocument()->GetProperties().GetHeadingSection();
    HTREEITEM root = heading ? InsertSubtree(heading.Get(), nullptr) : nullptr;
    m_notify = true;
    HTREEITEM target = root;
    for (const auto& entry : m_sections) {
        if (show && entry.second.Get() == show)
            target = entry.first;
    }
    m_tree.SelectItem(target);
    // A selection that did not change sends no notice: the page follows it anyway.
    m_current = m_tree.GetSelectedItem();
    UpdateButtons();
    ShowComment();
}

BOOL CStructedWizardPage2::OnSetActive()
{
    m_editingLabel = false;
    Sheet()->SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    FillTree(Sheet()->m_currentSection.Get());
    return CKWPropertyPage::OnSetActive();
}

LRESULT CStructedWizardPage2::OnWizardNext()
{
    EndLabelEdit();
    Sheet()->m_currentSection = SectionOf(m_tree.GetSelectedItem());
    return 0;
}

void CStructedWizardPage2::EndLabelEdit()
{
    if (m_tree.IsEditingLabel())
        m_tree.EndEditLabelNow(false);
    m_editingLabel = false;
}

BOOL CStructedWizardPage2::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const BOOL handled = CKWPropertyPage::OnNotify(wParam, lParam, pResult);
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom != IDC_TAL_WIZ_TREE)
        return handled;
    if (header->code == TVN_SELCHANGEDW && m_notify) {
        const auto* change = reinterpret_cast<const NMTREEVIEWW*>(lParam);
        if (change->itemNew.hItem)
            m_current = change->itemNew.hItem;
        UpdateButtons();
        ShowComment();
        m_tree.SetFocus();
        *pResult = 0;
        return TRUE;
    }
    if (header->code == TVN_ENDLABELEDITW) {
        const auto* edit = reinterpret_cast<const NMTVDISPINFOW*>(lParam);
        m_editingLabel = false;
        if (!edit->item.pszText) {
            UpdateButtons();
            return FALSE;
        }
        m_tree.SetItemText(edit->item.hItem, edit->item.pszText);
        if (CTalSection* section = SectionOf(edit->item.hItem))
            section->SetName(edit->item.pszText);
        UpdateButtons();
        SetModified(TRUE);
        *pResult = TRUE;
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    return handled;
}

void CStructedWizardPage2::UpdateButtons()
{
    CTalSection* section = SectionOf(m_current);
    CKWRefPtr<CTalSection> parent = section ? section->GetParent() : nullptr;
    const bool isRoot = !section || m_current == m_tree.GetRootItem() || !parent;
    const int index = isRoot ? -1 : parent->IndexOfSubSection(section);
    const bool hasPrevious = !isRoot && index > 0;
    const bool hasNext = !isRoot && index + 1 < parent->GetSubSectionCount();
    CKWRefPtr<CTalSection> heading = Sheet()->GetWizardDocument()->GetProperties().GetHeadingSection();
    m_buttonFacades[ButtonIndex(IDC_TAL_WIZ_REMOVE_SECTION)].Enable(!isRoot);
    m_buttonFacades[ButtonIndex(IDC_TAL_WIZ_MOVE_UP)].Enable(hasPrevious);
    m_buttonFacades[ButtonIndex(IDC_TAL_WIZ_MOVE_DOWN)].Enable(hasNext);
    m_buttonFacades[ButtonIndex(IDC_TAL_WIZ_MOVE_LEFT)].Enable(!isRoot && parent.Get() != heading.Get());
    m_buttonFacades[ButtonIndex(IDC_TAL_WIZ_MOVE_RIGHT)].Enable(hasPrevious);
}

void CStructedWizardPage2::ShowComment()
{
    CTalSection* section = SectionOf(m_current ? m_current : m_tree.GetRootItem());
    CTalTextNote* note = section ? section->GetTextNote() : nullptr;
    m_fillingComment = true;
    m_comment.SetText(note ? ToEditLines(note->GetText()) : CString());
    m_fillingComment = false;
}

void CStructedWizardPage2::OnCommentChanged()
{
    // The page's own showing would otherwise write the text back with "\r"
    // added at every visit.
    if (m_fillingComment)
        return;
    SetModified(TRUE);
    CTalSection* section = SectionOf(m_current);
    if (CTalTextNote* note = section ? section->GetTextNote() : nullptr) {
        CString text;
        m_comment.GetText(text);
        note->SetText(ToNoteLines(text));
    }
}

void CStructedWizardPage2::OnButton(UINT id)
{
    const int index = ButtonIndex(id);
    if (index >= 0)
        m_buttonFacades[index].SetCheck(BST_UNCHECKED);
    if (id != IDC_TAL_WIZ_EDIT_NAME)
        EndLabelEdit();
    switch (id) {
    case IDC_TAL_WIZ_ADD_SECTION:
        AddSection();
        break;
    case IDC_TAL_WIZ_ADD_SUBSECTION:
        AddSubsection();
        break;
    case IDC_TAL_WIZ_REMOVE_SECTION:
        RemoveSection();
        break;
    case IDC_TAL_WIZ_EDIT_NAME:
        EditSectionName();
        break;
    default:
        MoveSection(id);
        break;
    }
}

void CStructedWizardPage2::SelectAndEdit(HTREEITEM item, CKWRefPtr<CTalSection> section)
{
    m_sections[item] = section;
    m_tree.SelectItem(item);
    m_current = item;
    m_notify = true;
    UpdateButtons();
    ShowComment();
    m_tree.SetFocus();
    m_tree.EditLabel(item);
    m_editingLabel = true;
}

void CStructedWizardPage2::AddSection()
{
    CTalSection* current = SectionOf(m_current);
    if (!current)
        return;
    CKWRefPtr<CTalSection> parent = current->GetParent();
    if (m_current == m_tree.GetRootItem() || !parent) {
        AddSubsection();
        return;
    }
    m_notify = false;
    CKWRefPtr<CTalSection> section(new CTalSection(parent.Get(), kNewSectionName));
    parent->InsertSubSection(section.Get(), current);
    const HTREEITEM parentItem = m_parents[m_current];
    HTREEITEM item = m_tree.InsertItem(kNewSectionName, parentItem, m_current);
    m_parents[item] = parentItem;
    SelectAndEdit(item, section);
}

void CStructedWizardPage2::AddSubsection()
{
    CTalSection* current = SectionOf(m_current);
    if (!current)
        return;
    m_notify = false;
    CKWRefPtr<CTalSection> section(new CTalSection(current, kNewSectionName));
    current->AppendSubSection(section.Get());
    HTREEITEM item = m_tree.InsertItem(kNewSectionName, m_current, TVI_LAST);
    m_tree.Expand(m_current, TVE_EXPAND);
    m_parents[item] = m_current;
    SelectAndEdit(item, section);
}

void CStructedWizardPage2::RemoveSection()
{
    CKWRefPtr<CTalSection> section = SectionOf(m_current);
    CKWRefPtr<CTalSection> parent = section ? section->GetParent() : nullptr;
    if (!section || !parent || m_current == m_tree.GetRootItem())
        return;
    m_notify = false;
    const int index = parent->IndexOfSubSection(section.Get());
    const HTREEITEM parentItem = m_parents[m_current];
    HTREEITEM next = parentItem;
    if (index > 0) {
        CKWRefPtr<CTalSection> previous = parent->GetSubSection(index - 1);
        for (const auto& entry : m_sections) {
            if (entry.second.Get() == previous.Get())
                next = entry.first;
        }
    }
    // The items of the whole subtree go with the tree's item.
    std::vector<HTREEITEM> gone = {m_current};
    for (size_t i = 0; i < gone.size(); ++i) {
        for (const auto& entry : m_parents) {
            if (entry.second == gone[i])
                gone.push_back(entry.first);
        }
    }
    m_tree.DeleteItem(m_current);
    parent->RemoveSubSection(section.Get());
    section->Detach();
    for (HTREEITEM item : gone) {
        m_sections.erase(item);
        m_parents.erase(item);
    }
    m_tree.SelectItem(next);
    m_current = next;
    m_notify = true;
    UpdateButtons();
    ShowComment();
}

void CStructedWizardPage2::MoveSection(UINT command)
{
    CKWRefPtr<CTalSection> section = SectionOf(m_current);
    CKWRefPtr<CTalSection> parent = section ? section->GetParent() : nullptr;
    if (!section || !parent || m_current == m_tree.GetRootItem())
        return;
    const int index = parent->IndexOfSubSection(section.Get());
    const int count = parent->GetSubSectionCount();
    CKWRefPtr<CTalSection> heading = Sheet()->GetWizardDocument()->GetProperties().GetHeadingSection();
    switch (command) {
    case IDC_TAL_WIZ_MOVE_UP:
        if (index <= 0)
            return;
        parent->RemoveSubSection(section.Get());
        parent->InsertSubSection(section.Get(), index >= 2 ? parent->GetSubSection(index - 2).Get() : nullptr);
        break;
    case IDC_TAL_WIZ_MOVE_DOWN:
        if (index < 0 || index + 1 >= count)
            return;
        parent->RemoveSubSection(section.Get());
        parent->InsertSubSection(section.Get(), parent->GetSubSection(index).Get());
        break;
    case IDC_TAL_WIZ_MOVE_LEFT: {
        CKWRefPtr<CTalSection> grandparent = parent->GetParent();
        if (parent.Get() == heading.Get() || !grandparent)
            return;
        parent->RemoveSubSection(section.Get());
        grandparent->InsertSubSection(section.Get(), parent.Get());
        break;
    }
    case IDC_TAL_WIZ_MOVE_RIGHT: {
        if (index <= 0)
            return;
        CKWRefPtr<CTalSection> previous = parent->GetSubSection(index - 1);
        parent->RemoveSubSection(section.Get());
        previous->AppendSubSection(section.Get());
        break;
    }
    default:
        return;
    }
    FillTree(section.Get());
}

void CStructedWizardPage2::EditSectionName()
{
    if (!m_editingLabel && m_current) {
        m_tree.SetFocus();
        m_tree.EditLabel(m_current);
        m_editingLabel = true;
        return;
    }
    if (m_editingLabel) {
        EndLabelEdit();
        m_tree.SetFocus();
    }
}

BOOL CStructedWizardPage2::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN)
        return CKWPropertyPage::PreTranslateMessage(msg);
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    const WPARAM key = msg->wParam;
    if (m_tree.IsEditingLabel()) {
        if (key == VK_F2) {
            EndLabelEdit();
            m_tree.SetFocus();
            return TRUE;
        }
        // The label's own keys, not the dialog's default buttons.
        if (key == VK_RETURN || key == VK_DELETE || key == VK_ESCAPE || ctrl) {
            ::TranslateMessage(msg);
            ::DispatchMessageW(msg);
            return TRUE;
        }
        return CKWPropertyPage::PreTranslateMessage(msg);
    }
    if (!m_tree.HasFocus())
        return CKWPropertyPage::PreTranslateMessage(msg);
    if (key == VK_RETURN)
        shift ? AddSubsection() : AddSection();
    else if (ctrl && key == VK_UP)
        MoveSection(IDC_TAL_WIZ_MOVE_UP);
    else if (ctrl && key == VK_DOWN)
        MoveSection(IDC_TAL_WIZ_MOVE_DOWN);
    else if (ctrl && key == VK_LEFT)
        MoveSection(IDC_TAL_WIZ_MOVE_LEFT);
    else if (ctrl && key == VK_RIGHT)
        MoveSection(IDC_TAL_WIZ_MOVE_RIGHT);
    else if (key == VK_DELETE)
        RemoveSection();
    else if (key == VK_F2)
        EditSectionName();
    else
        return CKWPropertyPage::PreTranslateMessage(msg);
    return TRUE;
}
