#include "docking/bars/QMXPOutlookBar.h"

#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPOutlookBarPane.h"
#include "docking/bars/QMXPOutlookWnd.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/DC.h"

#include <set>
#include <utility>
#include <vector>

IMPLEMENT_SERIAL(CQMXPOutlookBar, CQMXPBaseTabbedBar, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CQMXPOutlookBarDockingPane, CQMXPDockingCBWrapper, VERSIONABLE_SCHEMA | 1)

namespace {
constexpr UINT kTabWndID = 101;
constexpr DWORD kOutlookTabbedStyle = 0x40;
constexpr DWORD kDockAnywhere = 0x4;
constexpr DWORD kAlignAny = 0xF000;
constexpr DWORD kCustomPageStyle = 0x50402808;

// The ids the custom pages of every outlook bar hold.
std::set<UINT>& UsedCustomPageIDs() {
    static std::set<UINT> s_ids;
    return s_ids;
}
}  // namespace

BEGIN_MESSAGE_MAP(CQMXPOutlookBar, CQMXPBaseTabbedBar)
    ON_WM_CREATE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CQMXPOutlookBar::CQMXPOutlookBar() : m_lstCustomPages(10) {}

CQMXPOutlookBar::~CQMXPOutlookBar() { RemoveCustomPages(); }

BOOL CQMXPOutlookBar::IsCustomPageIDUsed(UINT uiID) { return UsedCustomPageIDs().count(uiID) != 0; }

void CQMXPOutlookBar::RemoveCustomPages() {
    while (!m_lstCustomPages.IsEmpty()) {
        auto* pPage = static_cast<CQMXPOutlookBarPane*>(m_lstCustomPages.RemoveHead());
        UsedCustomPageIDs().erase(pPage->GetID());
        if (pPage->GetSafeHwnd() != nullptr)
            pPage->DestroyWindow();
        delete pPage;
    }
}

BOOL CQMXPOutlookBar::Create(LPCWSTR lpszLabel, CWnd* pParentWnd, const CRect& rect, UINT nID, DWORD dwStyle,
                             DWORD dwControlBarStyle, CCreateContext* pContext) {
    if (!CQMXPDockingControlBar::Create(lpszLabel, pParentWnd, rect, FALSE, nID, dwStyle, kOutlookTabbedStyle,
                                        dwControlBarStyle, pContext))
        return FALSE;
    if (dwControlBarStyle & kDockAnywhere) {
        EnableDocking(kAlignAny);
        DockToFrame();
    } else if (CQMXPDockManager* pDockManager = qmxGlobalUtils.GetDockManager(pParentWnd)) {
        pDockManager->AddControlBar(this, TRUE, FALSE, FALSE);
    }
    return TRUE;
}

int CQMXPOutlookBar::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CQMXPDockingControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* pOutlookWnd = new CQMXPOutlookWnd;
    pOutlookWnd->EnableWrapper(TRUE);
    m_pTabWnd = pOutlookWnd;
    if (!pOutlookWnd->Create(CRect(0, 0, lpCreateStruct->cx, lpCreateStruct->cy), this, kTabWndID)) {
        m_pTabWnd = nullptr;
        delete pOutlookWnd;
        return -1;
    }
    pOutlookWnd->SetWrapperRTC(RUNTIME_CLASS(CQMXPOutlookBarDockingPane));
    if (CanFloat())
        pOutlookWnd->HideSingleTab(TRUE);
    return 0;
}

void CQMXPOutlookBar::OnPaint() {
    CPaintDC dc(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    CQMXPVisualManager::GetInstance()->OnFillBarBackground(&dc, this, rectClient, rectClient, FALSE);
}

BOOL CQMXPOutlookBar::CanAcceptBar(const CQMXPBaseControlBar* pBar) const {
    if (pBar == nullptr)
        return FALSE;
    if (CanFloat())
        return CQMXPDockingControlBar::CanAcceptBar(pBar);
    return pBar->IsKindOf(RUNTIME_CLASS(CQMXPOutlookBarDockingPane)) ||
           pBar->IsKindOf(RUNTIME_CLASS(CQMXPOutlookBarPane)) || pBar->IsKindOf(RUNTIME_CLASS(CQMXPOutlookBar));
}

void CQMXPOutlookBar::GetTabArea(CRect& rectTabAreaTop, CRect& rectTabAreaBottom) const {
    rectTabAreaTop.SetRectEmpty();
    rectTabAreaBottom.SetRectEmpty();
    if (CanFloat()) {
        if (m_pTabWnd != nullptr && m_pTabWnd->GetSafeHwnd() != nullptr)
            m_pTabWnd->GetTabArea(rectTabAreaTop, rectTabAreaBottom);
        return;
    }
    GetClientRect(&rectTabAreaTop);
    ClientToScreen(&rectTabAreaTop);
}

int CQMXPOutlookBar::GetDockingStatus(CPoint point, int nSensitivity) {
    if (m_pTabWnd == nullptr)
        return QMXP_CS_NOTHING;
    if (m_pTabWnd->GetTabsNum() == 0 || m_pTabWnd->GetVisibleTabsNum() == 0)
        return QMXP_CS_DELAY_DOCK_TO_TAB;
    CRect rectTop;
    CRect rectBottom;
    m_pTabWnd->GetTabArea(rectTop, rectBottom);
    rectTop.bottom += nSensitivity;
    rectBottom.top -= nSensitivity;
    if (HitTest(point, TRUE) == HTCAPTION || rectTop.PtInRect(point) || rectBottom.PtInRect(point))
        return QMXP_CS_DELAY_DOCK_TO_TAB;
    const int nStatus = CQMXPDockingControlBar::GetDockingStatus(point, nSensitivity);
    return !CanFloat() && nStatus == QMXP_CS_DELAY_DOCK ? QMXP_CS_NOTHING : nStatus;
}

CString CQMXPOutlookBar::GetCustomPagesKey(LPCWSTR lpszProfileName, UINT uiID, int nIndex) const {
    if (uiID == static_cast<UINT>(-1))
        uiID = static_cast<UINT>(GetDlgCtrlID());
    // With an index the name carries an extra "s", as stored by every earlier release.
    return QMXPBarStateKey(qmxRegOutlookBarSection, nIndex == -1 ? L"QMXPOutlookBar" : L"sQMXPOutlookBar",
                           lpszProfileName, uiID, nIndex);
}

BOOL CQMXPOutlookBar::SaveState(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    CQMXPBaseTabbedBar::SaveState(lpszProfileName, uiID, nIndex);
    for (POSITION pos = m_lstCustomPages.GetHeadPosition(); pos != nullptr;) {
        auto* pPage = static_cast<CQMXPOutlookBarPane*>(m_lstCustomPages.GetNext(pos));
        const UINT uiPageID = pPage->GetID();
        pPage->SaveState(lpszProfileName, uiPageID, static_cast<int>(uiPageID));
    }
    CQMXPRegistrySP regSP;
    CQMXPRegistry* pReg = regSP.Create(FALSE, FALSE);
    if (!pReg->CreateKey(GetCustomPagesKey(lpszProfileName, uiID, nIndex)))
        return FALSE;
    return pReg->WriteArchived(qmxRegOutlookCustomPages, [this](CArchive& ar) {
        ar << static_cast<int>(m_lstCustomPages.GetCount());
        for (POSITION pos = m_lstCustomPages.GetHeadPosition(); pos != nullptr;) {
            auto* pPage = static_cast<CQMXPOutlookBarPane*>(m_lstCustomPages.GetNext(pos));
            // A page that is not a tab of its own is held by a wrapper that shows its name.
            CWnd* pNamed = m_pTabWnd != nullptr && m_pTabWnd->GetTabFromHwnd(pPage->GetSafeHwnd()) == -1 &&
                                   pPage->GetParent() != nullptr
                               ? pPage->GetParent()
                               : pPage;
            CString strName;
            pNamed->GetWindowText(strName);
            ar << static_cast<int>(pPage->GetID());
            ar << strName;
        }
    });
}

BOOL CQMXPOutlookBar::LoadState(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    CQMXPBaseTabbedBar::LoadState(lpszProfileName, uiID, nIndex);
    std::vector<std::pair<UINT, CString>> pages;
    {
        CQMXPRegistrySP regSP;
        CQMXPRegistry* pReg = regSP.Create(FALSE, TRUE);
        // The pages are read whole before any is made: a damaged value makes none.
        const BOOL bRead = pReg->Open(GetCustomPagesKey(lpszProfileName, uiID, nIndex)) &&
                           pReg->ReadArchived(qmxRegOutlookCustomPages, [&pages](CArchive& ar) {
                               int nCount = 0;
                               ar >> nCount;
                               for (int i = 0; i < nCount; ++i) {
                                   int nID = 0;
                                   CString strName;
                                   ar >> nID >> strName;
                                   pages.emplace_back(static_cast<UINT>(nID), strName);
                               }
                           });
        if (!bRead)
            return TRUE;
    }
    CWnd* pOwner = GetOwner() != nullptr ? GetOwner() : GetParent();
    for (const auto& page : pages) {
        const UINT uiPageID = page.first;
        // An id outside the custom range, or one a page already holds, would share a page's state.
        if (uiPageID < kFirstCustomPageID || IsCustomPageIDUsed(uiPageID) || m_pTabWnd == nullptr)
            continue;
        auto* pPage = new CQMXPOutlookBarPane;
        if (!pPage->Create(this, kCustomPageStyle, uiPageID)) {
            delete pPage;
            continue;
        }
        pPage->SetOwner(pOwner);
        pPage->LoadState(lpszProfileName, uiPageID, static_cast<int>(uiPageID));
        m_lstCustomPages.AddTail(pPage);
        UsedCustomPageIDs().insert(uiPageID);
        m_pTabWnd->AddTab(pPage, page.second, static_cast<UINT>(-1), TRUE);
    }
    return TRUE;
}

// The wrapper of plain windows added as detachable pages -----------------------------

BEGIN_MESSAGE_MAP(CQMXPOutlookBarDockingPane, CQMXPDockingCBWrapper)
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CQMXPOutlookBarDockingPane::CQMXPOutlookBarDockingPane() : m_bCreated(FALSE) { m_pTabbedControlBarRTC = RUNTIME_CLASS(CQMXPOutlookBar); }

CQMXPOutlookBarDockingPane::~CQMXPOutlookBarDockingPane() = default;

BOOL CQMXPOutlookBarDockingPane::CreateEx(DWORD dwStyleEx, LPCWSTR lpszCaption, CWnd* pParentWnd, const CRect& rect,
                                          BOOL bHasCaption, UINT nID, DWORD dwStyle, DWORD dwTabbedStyle,
                                          DWORD dwControlBarStyle, CCreateContext* pContext) {
    if (!CQMXPDockingCBWrapper::CreateEx(dwStyleEx, lpszCaption, pParentWnd, rect, bHasCaption, nID, dwStyle,
                                         dwTabbedStyle, dwControlBarStyle, pContext))
        return FALSE;
    m_pTabbedControlBarRTC = RUNTIME_CLASS(CQMXPOutlookBar);
    m_bCreated = TRUE;
    return TRUE;
}

void CQMXPOutlookBarDockingPane::OnNcDestroy() {
    // A pane whose creation failed is deleted by the one that made it.
    const BOOL bCreated = m_bCreated;
    CQMXPDockingCBWrapper::OnNcDestroy();
    if (bCreated)
        delete this;
}
