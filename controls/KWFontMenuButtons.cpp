#include "controls/KWFontMenuButtons.h"

#include "controls/KWFontComboBox.h"
#include "controls/KWFontLists.h"
#include "controls/KWFontMenuChoice.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "framework/KWFontFaceStorage.h"
#include "framework/KWMeasure.h"

IMPLEMENT_DYNCREATE(CKWFontMenuButtonBase, CQMXPToolbarMenuButton)
IMPLEMENT_DYNCREATE(CQMXPToolbarFontNameMenuButton, CKWFontMenuButtonBase)
IMPLEMENT_DYNCREATE(CQMXPToolbarFontSizeMenuButton, CKWFontMenuButtonBase)

namespace {

constexpr int kMaxFontSize = 1670;

}  // namespace

void CKWFontMenuButtonBase::AddMenuItem(UINT command, const CString& text)
{
    m_listCommands.AddTail(new CQMXPToolbarMenuButton(command, nullptr, -1, text));
}

std::vector<CKWFontMenuButtonBase::MenuItem> CKWFontMenuButtonBase::GetMenuItems() const
{
    std::vector<MenuItem> items;
    for (POSITION pos = m_listCommands.GetHeadPosition(); pos != nullptr;) {
        const auto* item = static_cast<const CQMXPToolbarButton*>(m_listCommands.GetNext(pos));
        items.push_back({item->m_nID, item->m_strText});
    }
    return items;
}

// ---- Font names ---------------------------------------------------------------------------

CQMXPPopupMenu* CQMXPToolbarFontNameMenuButton::MakePopupMenu()
{
    return new CQMXPFontPopupMenu;
}

void CQMXPToolbarFontNameMenuButton::AddFont(const CString& name, const FontCommboData* entry)
{
    AddMenuItem(m_nID, entry && entry->face ? name : name + CKWFontNameComboBox::kMissedSuffix);
}

void CQMXPToolbarFontNameMenuButton::RebuildAll()
{
    if (!GetApplicationFontList())
        return;
    CObList buttons;
    CQMXPToolBar::CollectButtonsByCommand(kCommandId, buttons);
    FCOMMBO_DATA_ARRAY& data = GetFontCommboData();
    for (POSITION pos = buttons.GetHeadPosition(); pos != nullptr;) {
        auto* button = DYNAMIC_DOWNCAST(CQMXPToolbarFontNameMenuButton, buttons.GetNext(pos));
        if (!button)
            continue;
        button->DeleteSubItems();
        for (size_t i = 0; i < data.GetSize(); ++i) {
            const FontCommboData* entry = data.GetAt(i);
            const wchar_t* name = entry->face && entry->face->name ? entry->face->name->c_str()
                                                                   : GetMissingFontName(entry);
            button->AddFont(name ? name : L"", entry);
        }
    }
}

BOOL CQMXPPopupMenuFontBar::OnItemClicked(CQMXPToolbarButton* pButton)
{
    CQMXPPopupMenu* popup = GetParentPopup();
    if (pButton && popup && DYNAMIC_DOWNCAST(CQMXPToolbarFontNameMenuButton, popup->GetParentButton()))
        SetChosenFontName(pButton->m_strText);
    return CQMXPPopupMenuBar::OnItemClicked(pButton);
}

CQMXPPopupMenuBar* CQMXPFontPopupMenu::GetMenuBar()
{
    if (DYNAMIC_DOWNCAST(CQMXPToolbarFontNameMenuButton, GetParentButton()))
        return &m_fontBar;
    return CQMXPPopupMenu::GetMenuBar();
}

// ---- Font sizes ---------------------------------------------------------------------------

HWND CQMXPFontSizePopupMenu::s_target = nullptr;

CQMXPPopupMenu* CQMXPToolbarFontSizeMenuButton::MakePopupMenu()
{
    return new CQMXPFontSizePopupMenu;
}

int CQMXPPopupMenuFontSizeBar::ParseSize(const CString& text)
{
    double points = 0.0;
    if (!ParsePointSize(text, points))
        return 0;
    points += 0.5;
    if (!(points > 0.0))  // also NaN
        return 0;
    return points >= kMaxFontSize ? kMaxFontSize : static_cast<int>(points);
}

BOOL CQMXPPopupMenuFontSizeBar::OnItemClicked(CQMXPToolbarButton* pButton)
{
    CQMXPPopupMenu* popup = GetParentPopup();
    if (pButton && popup && DYNAMIC_DOWNCAST(CQMXPToolbarFontSizeMenuButton, popup->GetParentButton()))
        SetChosenFontSize(ParseSize(pButton->m_strText));
    return CQMXPPopupMenuBar::OnItemClicked(pButton);
}

CQMXPPopupMenuBar* CQMXPFontSizePopupMenu::GetMenuBar()
{
    if (DYNAMIC_DOWNCAST(CQMXPToolbarFontSizeMenuButton, GetParentButton()))
        return &m_sizeBar;
    return CQMXPPopupMenu::GetMenuBar();
}

HWND CQMXPFontSizePopupMenu::GetPopupOwnerWnd(HWND window)
{
    if (s_target)
        return s_target;
    return window ? ::GetAncestor(window, GA_ROOTOWNER) : nullptr;
}
