#include "docking/toolbars/QMXPToolbarButton.h"

#include "docking/toolbars/QMXPVisualManager.h"

IMPLEMENT_DYNCREATE(CQMXPToolbarButton, CObject)

CQMXPToolbarButton::CQMXPToolbarButton() : m_nID(0), m_nStyle(0), m_bText(FALSE), m_rect(0, 0, 0, 0) {}

CQMXPToolbarButton::CQMXPToolbarButton(UINT nID, LPCWSTR lpszText, BOOL bText)
    : m_nID(nID), m_nStyle(0), m_strText(lpszText), m_bText(bText), m_rect(0, 0, 0, 0) {}

CQMXPToolbarButton::~CQMXPToolbarButton() = default;

// The tool bars' list of excluded commands joins these with the tool bar itself.
BOOL CQMXPToolbarButton::IsPermitted() const { return !IsStandardCommand(m_nID); }
