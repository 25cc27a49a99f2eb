// The text tool bar's pickers: made anew when the bar is reset, and turned
// into menus or combo boxes as the bar docks along a side or along the top
// or bottom.
#include "editor/TalApplication.h"

#include "controls/KWColorMenuButton.h"
#include "controls/KWCommonComboBoxButton.h"
#include "controls/KWFontMenuButtons.h"
#include "controls/KWToolBarManager.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/StringResource.h"
#include "resources/Editor.h"
#include "resources/Toolbars.h"

#include <commctrl.h>

namespace {

// CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_SORT | CBS_HASSTRINGS.
constexpr DWORD kFontNameStyle = 0x313;
constexpr int kFontNameWidth = 160;
constexpr DWORD kFontSizeStyle = CBS_DROPDOWN;
constexpr int kFontSizeWidth = 60;
constexpr UINT kTextColorCommand = 32846;
// Docked along a side (left or right), along the top or bottom.
constexpr DWORD kAlignSides = 0x5000;
constexpr DWORD kAlignTopBottom = 0xA000;

}  // namespace

void CTalApplication::OnMainFrameCreated()
{
    for (int index = 0; index < m_toolBarManager.GetCount(); ++index) {
        CQMXPToolBar* bar = m_toolBarManager.GetToolBar(index);
        if (bar && bar->m_hWnd && !bar->IsMenuMode())
            bar->EnableCustomizeButton(TRUE);
    }
}

CQMXPToolbarButton* CTalApplication::FindToolbarButton(UINT commandId)
{
    for (int index = 0; index < m_toolBarManager.GetCount(); ++index) {
        CQMXPToolBar* bar = m_toolBarManager.GetToolBar(index);
        const int position = bar ? bar->CommandToIndex(commandId) : -1;
        if (position >= 0)
            return bar->GetButton(position);
    }
    return nullptr;
}

void CTalApplication::ResetToolbarButtons(UINT resourceId)
{
    if (resourceId != IDR_TAL_FORMAT_TEXT_TOOLBAR)
        return;
    CQMXPToolBar* bar = m_toolBarManager.FindToolBar(ID_TAL_FORMAT_TEXT_TOOLBAR_BAR);
    if (!bar)
        return;
    bar->ReplaceButton(CKWFontNameComboBoxButton::kCommandId,
                       CKWFontNameComboBoxButton(kFontNameStyle, kFontNameWidth), TRUE);
    bar->ReplaceButton(CKWFontSizeComboBoxButton::kCommandId,
                       CKWFontSizeComboBoxButton(kFontSizeStyle, kFontSizeWidth), TRUE);
    // The palette offers another colour through the library's colour dialog.
    CColorMenuButton colorButton(kTextColorCommand, CKWColor());
    CString strMoreColor;
    AfxLoadStringResource(IDS_TAL_MORE_COLOR, strMoreColor);
    colorButton.EnableCustomColorButton(strMoreColor, TRUE, TRUE);
    bar->ReplaceButton(kTextColorCommand, colorButton, TRUE);
    ReplaceToolbarButtons(ID_TAL_FORMAT_TEXT_TOOLBAR_BAR, bar->GetCurrentAlignment());
}

void CTalApplication::ReplaceToolbarButtons(UINT toolBarId, DWORD alignment)
{
    CQMXPToolBar* bar = m_toolBarManager.FindToolBar(toolBarId);
    if (!bar)
        return;
    for (int index = 0; index < bar->GetCount(); ++index) {
        CQMXPToolbarButton* button = bar->GetButton(index);
        if (alignment & kAlignSides) {
            if (button->IsKindOf(RUNTIME_CLASS(CKWFontNameComboBoxButton))) {
                // The menu fills itself with the font list when it opens.
                CQMXPToolbarFontNameMenuButton menu;
                menu.AddMenuItem(button->m_nID, L"Must delete!");
                bar->RemoveButton(index);
                bar->InsertButton(menu, index);
            } else if (button->IsKindOf(RUNTIME_CLASS(CKWFontSizeComboBoxButton))) {
                const auto* sizes = static_cast<CKWFontSizeComboBoxButton*>(button);
                CQMXPToolbarFontSizeMenuButton menu;
                for (int entry = 0; entry < sizes->GetCount(); ++entry)
                    menu.AddMenuItem(CQMXPToolbarFontSizeMenuButton::kCommandId, sizes->GetItem(entry));
                bar->RemoveButton(index);
                bar->InsertButton(menu, index);
            }
        } else if (alignment & kAlignTopBottom) {
            if (button->IsKindOf(RUNTIME_CLASS(CQMXPToolbarFontNameMenuButton))) {
                bar->RemoveButton(index);
                bar->InsertButton(CKWFontNameComboBoxButton(kFontNameStyle, kFontNameWidth), index);
            } else if (button->IsKindOf(RUNTIME_CLASS(CQMXPToolbarFontSizeMenuButton))) {
                bar->RemoveButton(index);
                bar->InsertButton(CKWFontSizeComboBoxButton(kFontSizeStyle, kFontSizeWidth), index);
            }
        }
    }
    // The font-name menus list the fonts instead of their placeholder.
    CQMXPToolbarFontNameMenuButton::RebuildAll();
    bar->AdjustLayout();
}
