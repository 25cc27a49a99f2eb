#include "docking/toolbars/QMXPShowAllButton.h"

#include "docking/frames/QMXPKeyHelper.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/StringResource.h"

#include <commctrl.h>

#include <cstdlib>

IMPLEMENT_DYNCREATE(CQMXPShowAllButton, CQMXPToolbarMenuButton)

namespace {

constexpr int kShowAllWidth = 50;
constexpr int kShowAllExtraHeight = 6;
constexpr UINT kExpandString = 16025;

CQMXPPopupMenu* PopupOf(CWnd* pWndParent) {
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, pWndParent);
    return pBar != nullptr ? pBar->GetParentPopup() : nullptr;
}

}  // namespace

CQMXPShowAllButton::CQMXPShowAllButton() = default;

CQMXPShowAllButton::~CQMXPShowAllButton() = default;

SIZE CQMXPShowAllButton::OnCalcSize(CDC*, const CSize&, BOOL) {
    return CSize(kShowAllWidth, CQMXPMenuGlyphs::GetSize().cy + kShowAllExtraHeight);
}

void CQMXPShowAllButton::OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages*, BOOL, BOOL, BOOL bHighlight, BOOL,
                                BOOL) {
    CRect rectButton = rect;
    rectButton.DeflateRect(0, 1);
    FillInterior(pDC, rectButton, bHighlight);
    CQMXPMenuGlyphs::DrawCentered(pDC, CQMXPMenuGlyphs::IdArowShowAll, rectButton);
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    if (m_nStyle & (TBBS_CHECKED | TBBS_PRESSED))
        pManager->OnDrawButtonBorder(pDC, this, rectButton, QMXP_BUTTON_PRESSED);
    else if (bHighlight)
        pManager->OnDrawButtonBorder(pDC, this, rectButton, QMXP_BUTTON_HIGHLIGHTED);
}

BOOL CQMXPShowAllButton::OnClick(CWnd* pWnd, BOOL bDelay) {
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, pWnd);
    if (pBar == nullptr)
        return FALSE;
    if (!bDelay) {
        CQMXPPopupMenu* pPopup = PopupOf(pWnd);
        if (pPopup == nullptr)
            return FALSE;
        pPopup->ShowAllCommands();
        return TRUE;
    }
    if (CQMXPToolBar::m_bShowAllMenusAfterDelay)
        pBar->SetDelayedOpen(this, 2);
    return TRUE;
}

BOOL CQMXPShowAllButton::OpenPopupMenu(CWnd* pWnd) { return OnClick(pWnd != nullptr ? pWnd : m_pWndParent, FALSE); }

BOOL CQMXPShowAllButton::OnToolHitTest(const CWnd* pWnd, TOOLINFOW* pTI) {
    CString strFormat;
    AfxLoadStringResource(kExpandString, strFormat);
    ACCEL accel{};
    accel.fVirt = FVIRTKEY | FCONTROL;
    accel.key = VK_DOWN;
    CString strKey;
    CQMXPKeyHelper(&accel).Format(strKey);
    CString strTip = strFormat;
    strTip.Replace(L"%s", strKey);
    if (pTI != nullptr) {
        pTI->hwnd = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
        pTI->uId = 0;
        pTI->rect = m_rect;
        // The caller frees the text.
        pTI->lpszText = ::_wcsdup(strTip);
    }
    return TRUE;
}
