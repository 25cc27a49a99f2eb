#include "editor/TalPaneWnd.h"

#include "framework/KWFocusManager.h"
#include "platform/classlib/MessageMap.h"
#include "resources/Editor.h"

BEGIN_MESSAGE_MAP(CTalPaneWnd, CKWControlsWnd)
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CTalPaneWnd::~CTalPaneWnd() = default;

bool CTalPaneWnd::CreatePane(CWnd* parent, const RECT& rect, DWORD style, int)
{
    if (!Create(m_templateId, m_templateId, rect, parent, style, 0))
        return false;
    InitControls();
    return true;
}

void CTalPaneWnd::TakeFocus()
{
    if (m_hWnd)
        ::SetFocus(m_hWnd);
}

void CTalPaneWnd::NotifyFocus()
{
    if (m_focusManager)
        m_focusManager->SetFocusItem(m_focusCode);
}

void CTalPaneWnd::OnSetFocus(CWnd* pOldWnd)
{
    NotifyFocus();
    CKWControlsWnd::OnSetFocus(pOldWnd);
}
