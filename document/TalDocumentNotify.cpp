// The document's panes kept in step with the model: the section tree, the
// image panel, the page-template window and the text-note window.
#include "document/TalDocument.h"

#include "document/TalDocumentViews.h"
#include "model/TalItemUserData.h"
#include "model/TalPicture.h"
#include "document/TalSectionTree.h"

#include <utility>
#include <vector>

CTalSectionTree* CTalDocument::GetTree() const
{
    return m_frame ? m_frame->GetSectionTree() : nullptr;
}

CTalSection* CTalDocument::SectionOfItem(CTalSectionTree* tree, HTREEITEM item) const
{
    if (!tree || !item)
        return nullptr;
    auto* data = dynamic_cast<CTalItemUserData*>(tree->GetItemData(item));
    return data ? dynamic_cast<CTalSection*>(data->GetReportObject()) : nullptr;
}

void CTalDocument::EndLabelAndTitleEdits()
{
    if (!m_frame)
        return;
    CTalSectionTree* tree = GetTree();
    if (tree && tree->IsEditingLabel())
        tree->EndEditLabel(false);
    m_frame->EndImageTitleEdit(false);
}

void CTalDocument::EndEdits(bool cancel)
{
    if (!m_frame)
        return;
    CTalSectionTree* tree = GetTree();
    if (tree && tree->IsEditingLabel())
        tree->EndEditLabel(cancel);
    m_frame->EndImageTitleEdit(cancel);
    m_frame->LeaveTextEditing();
}

HTREEITEM CTalDocument::FindSectionItem(CTalSection* section, HTREEITEM start)
{
    CTalSectionTree* tree = GetTree();
    if (!tree || !section)
        return nullptr;
    if (!start)
        start = tree->GetRootItem();
    // Depth first with an explicit stack: each item, then its children in order.
    std::vector<HTREEITEM> pending;
    if (start)
        pending.push_back(start);
    while (!pending.empty()) {
        HTREEITEM item = pending.back();
        pending.pop_back();
        if (SectionOfItem(tree, item) == section)
            return item;
        std::vector<HTREEITEM> children;
        for (HTREEITEM child = tree->GetNextChild(item, nullptr); child; child = tree->GetNextChild(item, child))
            children.push_back(child);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return nullptr;
}

void CTalDocument::RevealSection(CTalSection* section, bool ensureVisible)
{
    if (!section)
        return;
    if (!IsCurrent(section)) {
        CKWRefPtr<CTalSection> parent = section->GetParent();
        if (parent) {
            RevealSection(parent.Get(), false);
            if (!parent->GetExpanded()) {
                parent->SetExpanded(1);
                ApplySectionExpandedState(parent.Get(), true);
            }
        }
    }
    if (ensureVisible) {
        CTalSectionTree* tree = GetTree();
        HTREEITEM item = FindSectionItem(section);
        if (tree && item)
            tree->EnsureVisible(item);
    }
}

void CTalDocument::ApplyExpandedState(CTalSectionTree* tree, HTREEITEM item, bool recursive)
{
    CTalSection* section = SectionOfItem(tree, item);
    if (!section)
        return;
    const bool expanded = section->GetExpanded() != 0;
    if (expanded)
        tree->Expand(item, CTalSectionTree::kExpand);
    if (recursive) {
        for (HTREEITEM child = tree->GetNextChild(item, nullptr); child; child = tree->GetNextChild(item, child))
            ApplyExpandedState(tree, child, true);
    }
    if (!expanded)
        tree->Expand(item, CTalSectionTree::kCollapse);
}

void CTalDocument::ApplySectionExpandedState(CTalSection* section, bool recursive)
{
    if (!section)
        section = m_currentSection.Get();
    CTalSectionTree* tree = GetTree();
    HTREEITEM item = FindSectionItem(section);
    if (tree && item)
        ApplyExpandedState(tree, item, recursive);
}

void CTalDocument::SelectTreeItem(CTalSectionTree* tree, HTREEITEM item, bool reveal)
{
    if (!tree || !item)
        return;
    if (reveal)
        RevealSection(SectionOfItem(tree, item), true);
    tree->SelectItem(item);
}

void CTalDocument::ShowSectionItem(CTalSectionTree* tree, HTREEITEM item)
{
    if (SectionOfItem(tree, item))
        SelectTreeItem(tree, item, true);
}

HTREEITEM CTalDocument::InsertSectionItem(CTalSection* section, CTalSectionTree* tree, HTREEITEM parent,
                                          HTREEITEM previous)
{
    if (!section || !tree)
        return nullptr;
    HTREEITEM item = tree->InsertItem(section->GetName(), parent, previous);
    if (item)
        tree->SetItemData(item, new CTalItemUserData(section));
    return item;
}

HTREEITEM CTalDocument::InsertSectionSubtree(CTalSection* section, CTalSectionTree* tree, HTREEITEM parent,
                                             HTREEITEM previous)
{
    HTREEITEM item = InsertSectionItem(section, tree, parent, previous);
    if (!item)
        return nullptr;
    HTREEITEM after = nullptr;
    for (const CKWRefPtr<CTalSection>& child : section->GetSubSections()) {
        if (HTREEITEM inserted = InsertSectionSubtree(child.Get(), tree, item, after))
            after = inserted;
    }
    return item;
}

HTREEITEM CTalDocument::PreviousSiblingItem(CTalSection* section, HTREEITEM parentItem)
{
    CTalSection* parent = section->PeekParent();
    const int index = parent ? parent->IndexOfSubSection(section) : -1;
    if (index <= 0)
        return nullptr;
    return FindSectionItem(parent->GetSubSections()[static_cast<size_t>(index - 1)].Get(), parentItem);
}

HTREEITEM CTalDocument::ShowOrRevealSection(CTalSection* section, bool* wasCurrent)
{
    CTalSectionTree* tree = GetTree();
    HTREEITEM item = FindSectionItem(section);
    if (!item)
        return nullptr;
    const bool current = IsCurrent(section);
    if (!current)
        ShowSectionItem(tree, item);
    else
        tree->EnsureVisible(item);
    if (wasCurrent)
        *wasCurrent = current;
    return item;
}

void CTalDocument::EnsureSectionItem(CTalSection* section, bool select)
{
    CTalSectionTree* tree = GetTree();
    HTREEITEM item = FindSectionItem(section);
    if (!item)
        return;
    HTREEITEM after = nullptr;
    for (const CKWRefPtr<CTalSection>& child : section->GetSubSections()) {
        if (HTREEITEM inserted = InsertSectionSubtree(child.Get(), tree, item, after))
            after = inserted;
    }
    if (select)
        ShowSectionItem(tree, item);
    ApplyExpandedState(tree, item, true);
}

void CTalDocument::RestoreTextRange()
{
    if (m_frame && m_pendingSection && m_pendingFirst != -1) {
        CTalSectionTree* tree = GetTree();
        // Without its item the section cannot be shown, and the range would
        // land in another section's note.
        if (HTREEITEM item = FindSectionItem(m_pendingSection.Get())) {
            if (IsCurrent(m_pendingSection.Get()))
                tree->EnsureVisible(item);
            else
                SelectTreeItem(tree, item, true);
            m_frame->SelectText(m_pendingFirst, m_pendingLast);
        }
    }
    m_pendingSection.Release();
    m_pendingFirst = -1;
    m_pendingLast = -1;
}

// ---- Notifications ----------------------------------------------------------

void CTalDocument::OnModelReset(CKWRefPtr<CTalSection>)
{
    CTalSectionTree* tree = GetTree();
    if (!tree)
        return;
    tree->DeleteAllItems();
    CKWRefPtr<CTalSection> heading = GetProperties().GetHeadingSection();
    HTREEITEM item = InsertSectionSubtree(heading.Get(), tree, nullptr, nullptr);
    if (!item)
        return;
    ApplyExpandedState(tree, item, true);
    tree->SelectItem(item);
}

void CTalDocument::OnSectionInserted(CKWRefPtr<CTalSection> section, bool select)
{
    EndEdits(false);
    CTalSectionTree* tree = GetTree();
    CTalSection* parent = section ? section->PeekParent() : nullptr;
    HTREEITEM parentItem = FindSectionItem(parent);
    if (!tree || !parentItem)
        return;
    HTREEITEM after = PreviousSiblingItem(section.Get(), parentItem);
    tree->EnsureVisible(parentItem);
    HTREEITEM item = InsertSectionSubtree(section.Get(), tree, parentItem, after);
    if (!item)
        return;
    if (select)
        ShowSectionItem(tree, item);
    ApplyExpandedState(tree, item, true);
}

void CTalDocument::OnSectionRemoved(CKWRefPtr<CTalSection> section)
{
    EndEdits(false);
    CTalSectionTree* tree = GetTree();
    if (!tree || !section)
        return;
    CTalSection* parent = section->PeekParent();
    HTREEITEM parentItem = FindSectionItem(parent);
    HTREEITEM item = FindSectionItem(section.Get(), parentItem);
    if (!item)
        return;
    HTREEITEM next = PreviousSiblingItem(section.Get(), parentItem);
    if (!next)
        next = parentItem;
    if (next)
        tree->EnsureVisible(next);
    tree->DeleteItem(item);
    if (next)
        ShowSectionItem(tree, next);
}

void CTalDocument::OnSectionMoving(CKWRefPtr<CTalSection> section)
{
    EndEdits(false);
    CTalSectionTree* tree = GetTree();
    if (!tree || !section)
        return;
    HTREEITEM parentItem = FindSectionItem(section->PeekParent());
    if (HTREEITEM item = FindSectionItem(section.Get(), parentItem))
        tree->DeleteItem(item);
}

void CTalDocument::OnSectionMoved(CKWRefPtr<CTalSection> section)
{
    EndEdits(false);
    CTalSectionTree* tree = GetTree();
    CTalSection* parent = section ? section->PeekParent() : nullptr;
    HTREEITEM parentItem = FindSectionItem(parent);
    if (!tree || !parentItem)
        return;
    HTREEITEM item = InsertSectionSubtree(section.Get(), tree, parentItem, PreviousSiblingItem(section.Get(), parentItem));
    if (!parent->GetExpanded()) {
        parent->SetExpanded(1);
        ApplyExpandedState(tree, parentItem, false);
    }
    if (!item)
        return;
    ApplyExpandedState(tree, item, true);
    ShowSectionItem(tree, item);
}

void CTalDocument::OnSectionRenamed(CKWRefPtr<CTalSection> section, bool startLabelEdit)
{
    EndEdits(false);
    bool current = false;
    HTREEITEM item = ShowOrRevealSection(section.Get(), &current);
    if (!item)
        return;
    if (current)
        m_frame->LoadSectionText(section.Get());
    GetTree()->SetItemText(item, section->GetName());
    if (startLabelEdit)
        GetTree()->EditLabel(item);
}

void CTalDocument::OnSectionTemplateChanged(CKWRefPtr<CTalSection> section)
{
    EndEdits(false);
    bool current = false;
    if (!ShowOrRevealSection(section.Get(), &current))
        return;
    if (current)
        m_frame->UpdateTemplatesForSection(section.Get());
    if (m_currentSection && m_currentSection->GetOwnTemplate())
        m_frame->FocusTemplates();
}

void CTalDocument::OnSectionExpandedChanged(CKWRefPtr<CTalSection> section)
{
    // A cleared flag changes nothing: the tree has collapsed itself.
    HTREEITEM item = FindSectionItem(section.Get());
    if (item && section->GetExpanded())
        ApplyExpandedState(GetTree(), item, true);
}

void CTalDocument::OnPictureTitleChanged(CKWRefPtr<CTalSection> section, CKWRefPtr<CTalPicture> picture,
                                         bool startEdit)
{
    if (!ShowOrRevealSection(section.Get()) || !picture)
        return;
    const int position = section->IndexOfPicture(picture.Get());
    if (position >= 0)
        m_frame->UpdateImageTitle(position, picture->GetTitle(), startEdit);
}

void CTalDocument::OnPicturesChanging(CKWRefPtr<CTalSection>)
{
    if (m_frame)
        m_frame->LeaveTextEditing();
}

bool CTalDocument::ShowPicturesOf(CTalSection* section, const std::function<void()>& refreshPanel)
{
    bool current = false;
    if (!ShowOrRevealSection(section, &current))
        return false;
    if (current)
        refreshPanel();
    return true;
}

void CTalDocument::OnPicturesRemoved(CKWRefPtr<CTalSection> section, const CTalPositionList& positions)
{
    if (ShowPicturesOf(section.Get(), [&] { m_frame->LoadSectionImages(); }))
        m_frame->SelectImages(positions);
}

void CTalDocument::OnPicturesRotated(CKWRefPtr<CTalSection> section, const CTalPositionList& positions)
{
    EndEdits(false);
    if (ShowPicturesOf(section.Get(), [&] { m_frame->UpdateImages(positions); }))
        m_frame->SelectImages(positions);
}

void CTalDocument::OnPicturePropertiesChanged(CKWRefPtr<CTalSection> section, const CTalPositionList& positions)
{
    // The thumbnails are made again: a picture left out of the report shows faded.
    EndEdits(false);
    if (ShowPicturesOf(section.Get(), [&] { m_frame->UpdateImages(positions); }))
        m_frame->SelectImages(positions);
}

void CTalDocument::OnDefaultGrayscaleChanged()
{
    EndEdits(false);
    if (m_frame && m_currentSection)
        m_frame->UpdateDefaultGrayscaleImages(m_currentSection->GetPictures());
}

void CTalDocument::OnTextNoteChanged(CKWRefPtr<CTalSection> section)
{
    CTalSectionTree* tree = GetTree();
    HTREEITEM item = FindSectionItem(section.Get());
    if (!item)
        return;
    if (IsCurrent(section.Get())) {
        // The text window keeps its edit: the change came from it.
        EndLabelAndTitleEdits();
        tree->EnsureVisible(item);
    } else {
        EndEdits(false);
        ShowSectionItem(tree, item);
    }
}

void CTalDocument::OnTextRangeChanged(CKWRefPtr<CTalSection> section, int32_t first, int32_t last)
{
    if (IsCurrent(section.Get()))
        EndLabelAndTitleEdits();
    else
        EndEdits(false);
    m_pendingSection = std::move(section);
    m_pendingFirst = first;
    m_pendingLast = last;
}

void CTalDocument::OnTextLayoutChanged()
{
    if (m_frame)
        m_frame->RefreshText();
}
