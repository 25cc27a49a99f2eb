// The commands on sections, undo and redo with their menu texts, the tree's
// notifications, and the document commands: save, print setup and the
// document-properties sheet.
#include "document/TalDocument.h"

#include "model/TalCommandHistory.h"
#include "model/TalCommander.h"
#include "model/TalItemUserData.h"
#include "model/TalTemplate.h"
#include "model/TalTemplateManager.h"
#include "document/TalDocumentApp.h"
#include "document/TalDocumentViews.h"
#include "document/TalSectionTree.h"
#include "platform/classlib/CmdUI.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"
#include "resources/Strings.h"

#include <cstddef>

// ---- Helpers ------------------------------------------------------------------

int CTalDocument::GetActivePane() const
{
    return m_frame ? m_frame->GetActivePane() : CTalDocumentViews::kPaneTree;
}

bool CTalDocument::IsTreeEditingLabel() const
{
    CTalSectionTree* tree = GetTree();
    return tree && tree->IsEditingLabel();
}

void CTalDocument::EditSectionLabel(CTalSection* section)
{
    CTalSectionTree* tree = GetTree();
    if (HTREEITEM item = FindSectionItem(section))
        tree->EditLabel(item);
}

bool CTalDocument::CanRemoveCurrentSection() const
{
    return m_currentSection && m_currentSection->PeekParent();
}

// ---- Section commands ---------------------------------------------------------

void CTalDocument::OnAddSection()
{
    EndEdits(false);
    CKWRefPtr<CTalSection> current = m_currentSection;
    if (!current)
        return;
    if (CKWRefPtr<CTalSection> added = GetCommander().AddSiblingSection(current.Get(), nullptr, nullptr, true, true)) {
        SetModifiedFlag(TRUE);
        EditSectionLabel(added.Get());
    }
}

void CTalDocument::OnAddSubSection()
{
    EndEdits(false);
    CKWRefPtr<CTalSection> current = m_currentSection;
    if (!current)
        return;
    CKWRefPtr<CTalSection> added =
        GetCommander().AddChildSection(current.Get(), nullptr, nullptr, true, true, true, true);
    if (added) {
        SetModifiedFlag(TRUE);
        EditSectionLabel(added.Get());
    }
}

void CTalDocument::OnRemoveSection()
{
    EndEdits(false);
    if (!CanRemoveCurrentSection())
        return;
    CKWRefPtr<CTalSection> current = m_currentSection;
    GetCommander().RemoveSection(current.Get());
    SetModifiedFlag(TRUE);
}

void CTalDocument::OnMoveSection(UINT id)
{
    EndEdits(false);
    CKWRefPtr<CTalSection> current = m_currentSection;
    if (!current)
        return;
    CTalCommander& commander = GetCommander();
    CKWRefPtr<CTalSection> moved;
    switch (id) {
    case ID_TAL_MOVE_SECTION_LEFT:
        moved = commander.MoveSectionLeft(current.Get());
        break;
    case ID_TAL_MOVE_SECTION_RIGHT:
        moved = commander.MoveSectionRight(current.Get());
        break;
    case ID_TAL_MOVE_SECTION_UP:
        moved = commander.MoveSectionUp(current.Get());
        break;
    case ID_TAL_MOVE_SECTION_DOWN:
        moved = commander.MoveSectionDown(current.Get());
        break;
    default:
        break;
    }
    if (moved)
        SetModifiedFlag(TRUE);
}

void CTalDocument::OnExpandAll()
{
    EndEdits(false);
    CKWRefPtr<CTalSection> heading = GetProperties().GetHeadingSection();
    GetCommander().ExpandAll(heading.Get());
    ApplySectionExpandedState(heading.Get(), true);
}

void CTalDocument::OnRename()
{
    if (IsTreeEditingLabel()) {
        GetTree()->EndEditLabel(false);
        return;
    }
    if (m_frame && m_frame->IsEditingTitle()) {
        m_frame->EndImageTitleEdit(false);
        return;
    }
    if (GetActivePane() == CTalDocumentViews::kPaneImages && m_frame->RenameImage())
        return;
    if (m_currentSection)
        EditSectionLabel(m_currentSection.Get());
}

void CTalDocument::SetSectionTemplate(const wchar_t* templateName)
{
    EndEdits(false);
    CKWRefPtr<CTalSection> current = m_currentSection;
    const int index = g_TemplateManager.IndexOfPageTemplate(g_TemplateManager.FindPageTemplate(templateName));
    if (current && GetCommander().SetSectionTemplate(current.Get(), index))
        SetModifiedFlag(TRUE);
}

void CTalDocument::ToggleOwnTemplate()
{
    EndEdits(false);
    CKWRefPtr<CTalSection> current = m_currentSection;
    if (current && GetCommander().SetUseTemplate(current.Get(), !current->GetOwnTemplate()))
        SetModifiedFlag(TRUE);
}

// ---- Tree notifications ---------------------------------------------------------

void CTalDocument::OnTreeItemExpanded(UINT action, HTREEITEM item)
{
    CTalSectionTree* tree = GetTree();
    CKWRefPtr<CTalSection> section = SectionOfItem(tree, item);
    if (!section)
        return;
    GetCommander().SetSectionExpanded(section.Get(), action == TVE_EXPAND);
    if (action == TVE_COLLAPSE && m_currentSection && m_currentSection->IsDescendantOf(section.Get()))
        tree->SelectItem(item);
}

void CTalDocument::RenameSectionFromTree(HTREEITEM item, const CString& text)
{
    CKWRefPtr<CTalSection> section = SectionOfItem(GetTree(), item);
    // An edit that kept the name is no step of the history.
    if (!section || section->GetName() == text)
        return;
    GetCommander().RenameSection(section.Get(), text);
    SetModifiedFlag(TRUE);
}

// ---- Document commands ------------------------------------------------------------

void CTalDocument::OnSaveAs()
{
    EndEdits(false);
    DoSave(nullptr);
}

namespace {

// The orientation of the printer's default device mode: portrait (1) when
// there is none or it says portrait, else landscape (0).
int32_t DefaultPrinterPortrait()
{
    CWinApp* app = AfxGetApp();
    PRINTDLGW pd = {};
    pd.lStructSize = sizeof(pd);
    if (!app || !app->GetPrinterDeviceDefaults(&pd) || !pd.hDevMode)
        return 1;
    int32_t portrait = 1;
    const size_t needed = offsetof(DEVMODEW, dmOrientation) + sizeof(short);
    if (const auto* mode = static_cast<const DEVMODEW*>(::GlobalLock(pd.hDevMode))) {
        // A block too short to hold the field is taken as no device mode.
        if (::GlobalSize(pd.hDevMode) >= needed && mode->dmOrientation != DMORIENT_PORTRAIT)
            portrait = 0;
        ::GlobalUnlock(pd.hDevMode);
    }
    return portrait;
}

}  // namespace

void CTalDocument::OnPrintSetup()
{
    if (CTalDocumentApp* app = GetTalDocumentApp())
        app->RunPrintSetup();
    const int32_t portrait = DefaultPrinterPortrait();
    GetProperties().SetPortrait(portrait);
    GetProperties().m_printOrientation = portrait;
}

void CTalDocument::ShowPropertiesSheet(int page)
{
    EndEdits(false);
    CTalDocumentApp* app = GetTalDocumentApp();
    if (!app)
        return;
    CString caption;
    AfxLoadStringResource(IDS_DOCUMENT_PROPERTIES, caption);
    app->RunDocumentProperties(caption, AfxGetMainWnd(), *this, page);
}

void CTalDocument::OnDocumentProperties()
{
    ShowPropertiesSheet(-1);
}

void CTalDocument::OnReportProperties()
{
    ShowPropertiesSheet(3);
}

void CTalDocument::OnWatermarkProperties()
{
    ShowPropertiesSheet(2);
}

// ---- Update handlers --------------------------------------------------------------

void CTalDocument::OnUpdateHasCurrentSection(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_currentSection != nullptr);
}

void CTalDocument::OnUpdateRemoveSection(CCmdUI* cmdUI)
{
    cmdUI->Enable(CanRemoveCurrentSection());
}

bool CTalDocument::CanMoveCurrentSection(UINT id) const
{
    CTalSection* parent = m_currentSection ? m_currentSection->PeekParent() : nullptr;
    if (!parent)
        return false;
    const int index = parent->IndexOfSubSection(m_currentSection.Get());
    switch (id) {
    case ID_TAL_MOVE_SECTION_LEFT:
        return parent->PeekParent() != nullptr;
    case ID_TAL_MOVE_SECTION_RIGHT:
    case ID_TAL_MOVE_SECTION_UP:
        return index > 0;
    case ID_TAL_MOVE_SECTION_DOWN:
        return index >= 0 && index < parent->GetSubSectionCount() - 1;
    default:
        return false;
    }
}

void CTalDocument::OnUpdateMoveSection(CCmdUI* cmdUI)
{
    cmdUI->Enable(CanMoveCurrentSection(cmdUI->m_nID));
}

bool CTalDocument::HandleSectionTreeKey(const CKWKeyRecord& key)
{
    if (!key.ctrl || key.alt || key.shift)
        return false;
    UINT id = 0;
    switch (key.key) {
    case VK_LEFT:
        id = ID_TAL_MOVE_SECTION_LEFT;
        break;
    case VK_RIGHT:
        id = ID_TAL_MOVE_SECTION_RIGHT;
        break;
    case VK_UP:
        id = ID_TAL_MOVE_SECTION_UP;
        break;
    case VK_DOWN:
        id = ID_TAL_MOVE_SECTION_DOWN;
        break;
    default:
        return false;
    }
    // The key is the tree's even when the section cannot move that way: the
    // tree would otherwise take Ctrl+Left for its own collapse.
    if (CanMoveCurrentSection(id))
        OnMoveSection(id);
    return true;
}

void CTalDocument::OnUpdateExpandAll(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetProperties().GetHeadingSection()->GetSubSectionCount() > 0);
}

void CTalDocument::OnUpdateEditUndo(CCmdUI* cmdUI)
{
    CTalCommandHistory* history = GetCommandHistory();
    cmdUI->Enable(history && history->CanUndo());
    if (history)
        cmdUI->SetText(history->GetUndoText());
}

void CTalDocument::OnUpdateEditRedo(CCmdUI* cmdUI)
{
    // Changed text of an edit in progress would be lost to a replay.
    const bool changedLabel = IsTreeEditingLabel() && GetTree()->IsLabelModified();
    const bool changedTitle = m_frame && m_frame->IsEditingTitle() && m_frame->IsTitleModified();
    if (changedLabel || changedTitle) {
        cmdUI->Enable(FALSE);
        return;
    }
    CTalCommandHistory* history = GetCommandHistory();
    cmdUI->Enable(history && history->CanRedo());
    if (history)
        cmdUI->SetText(history->GetRedoText());
}

void CTalDocument::OnUpdateFileSave(CCmdUI* cmdUI)
{
    cmdUI->Enable(IsModified());
}
