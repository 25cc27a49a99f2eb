#include "docking/toolbars/QMXPToolBar.h"

#include "docking/frames/QMXPMiniFrameWnd.h"

#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/toolbars/CmdUsageCount.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/CmdUI.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/FrameWnd.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(CQMXPToolBar, CQMXPBaseToolBar)

const UINT QMXTOOLBAR_POPUPMENU = ::RegisterWindowMessageW(L"QMXTOOLBAR_POPUPMENU");

BOOL CQMXPToolBar::m_bCustomizeMode = FALSE;
CList<UINT, UINT> CQMXPToolBar::m_lstBasicCommands;
CList<UINT, UINT> CQMXPToolBar::m_lstUnpermittedCommands;
CSize CQMXPToolBar::m_sizeButtonEdgeMargins(0, 0);
COLORREF CQMXPToolBar::m_clrTextHot = static_cast<COLORREF>(-1);
CSize CQMXPToolBar::m_sizeButton(23, 22);
CSize CQMXPToolBar::m_sizeCurButton(23, 22);

namespace {

constexpr int kDefaultHeight = 22;
// The bar styles of Create's style: the low word and the gripper (0x00400000).
constexpr DWORD kBarStyleMask = 0x0040FFFF;
constexpr int kMinButtonWidth = 23;
constexpr int kTextPadding = 12;

// The live tool bars, for the searches by command.
std::vector<CQMXPToolBar*>& AllToolBars() {
    static std::vector<CQMXPToolBar*> s_toolBars;
    return s_toolBars;
}

// The state of one button asked of the command targets.
class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        SetStyleBit(TBBS_DISABLED, !bOn);
    }
    void SetCheck(int nCheck) override { SetStyleBit(TBBS_CHECKED, nCheck != 0); }
    void SetText(LPCWSTR lpszText) override {
        CQMXPToolbarButton* pButton = Button();
        if (pButton != nullptr && pButton->m_strText != lpszText) {
            pButton->m_strText = lpszText;
            m_bLayoutChanged = TRUE;
        }
    }
    CQMXPToolBar* m_pBar = nullptr;
    BOOL m_bLayoutChanged = FALSE;

private:
    CQMXPToolbarButton* Button() const { return m_pBar->GetButton(static_cast<int>(m_nIndex)); }
    void SetStyleBit(UINT nBit, bool bSet) {
        CQMXPToolbarButton* pButton = Button();
        if (pButton == nullptr)
            return;
        UINT nStyle = bSet ? (pButton->m_nStyle | nBit) : (pButton->m_nStyle & ~nBit);
        if (nStyle != pButton->m_nStyle) {
            pButton->m_nStyle = nStyle;
            CRect rect = pButton->GetRect();
            m_pBar->InvalidateRect(&rect);
        }
    }
};

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPToolBar, CQMXPBaseToolBar)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CQMXPToolBar::CQMXPToolBar()
    : m_cyHeight(kDefaultHeight),
      m_bLocked(FALSE),
      m_sizeButtonLocked(23, 22),
      m_sizeCurButtonLocked(23, 22),
      m_bLargeIconsAreEnbaled(TRUE) {
    AllToolBars().push_back(this);
}

CQMXPToolBar::~CQMXPToolBar() {
    auto& bars = AllToolBars();
    bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;)
        delete m_Buttons.GetNext(pos);
    m_Buttons.RemoveAll();
}

BOOL CQMXPToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    constexpr DWORD kBarStyleBits = 0x40FFFF;
    constexpr DWORD kGripper = 0x400000;
    SetBarStyle((dwStyle & kBarStyleBits) | kGripper);
    const CString strClass = QMXPRegisterBarClass(L"QMXToolBar");
    if (!CQMXPControlBar::CreateEx(0, strClass, (dwStyle & ~kBarStyleBits) | WS_CHILD, CRect(0, 0, 0, 0), pParentWnd,
                                   nID, QMXP_CBRS_FLOAT | QMXP_CBRS_CLOSE))
        return FALSE;
    // The window style's low word is the class's; the bar style keeps the bar's bits.
    SetBarStyle(GetBarStyle() & (kBarStyleBits | QMXP_CBRS_FLOATING));
    AdjustLayout();
    return TRUE;
}

BOOL CQMXPToolBar::RemoveButton(int iIndex) {
    if (iIndex < 0 || iIndex >= GetCount())
        return FALSE;
    POSITION pos = m_Buttons.FindIndex(iIndex);
    delete m_Buttons.GetAt(pos);
    m_Buttons.RemoveAt(pos);
    return TRUE;
}

int CQMXPToolBar::InsertButton(CQMXPToolbarButton* pButton, int iInsertAt) {
    if (pButton == nullptr)
        return -1;
    int nIndex;
    if (iInsertAt < 0 || iInsertAt >= GetCount()) {
        m_Buttons.AddTail(pButton);
        nIndex = GetCount() - 1;
    } else {
        m_Buttons.InsertBefore(m_Buttons.FindIndex(iInsertAt), pButton);
        nIndex = iInsertAt;
    }
    AdjustLayout();
    return nIndex;
}

int CQMXPToolBar::GetCount() const { return static_cast<int>(m_Buttons.GetCount()); }

CQMXPToolbarButton* CQMXPToolBar::GetButton(int iIndex) const {
    if (iIndex < 0 || iIndex >= GetCount())
        return nullptr;
    return static_cast<CQMXPToolbarButton*>(m_Buttons.GetAt(m_Buttons.FindIndex(iIndex)));
}

int CQMXPToolBar::CommandToIndex(UINT nID) const {
    int nIndex = 0;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr; ++nIndex) {
        if (static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos))->m_nID == nID)
            return nIndex;
    }
    return -1;
}

void CQMXPToolBar::SetHeight(int cyHeight) {
    if (m_bLocked)
        return;
    m_cyHeight = cyHeight;
    AdjustLayout();
}

int CQMXPToolBar::CollectButtonsByCommand(UINT nID, CObList& listButtons) {
    int nCount = 0;
    for (CQMXPToolBar* pBar : AllToolBars()) {
        if (pBar->m_hWnd == nullptr)
            continue;
        for (POSITION pos = pBar->m_Buttons.GetHeadPosition(); pos != nullptr;) {
            CObject* pButton = pBar->m_Buttons.GetNext(pos);
            if (static_cast<CQMXPToolbarButton*>(pButton)->m_nID == nID) {
                listButtons.AddTail(pButton);
                ++nCount;
            }
        }
    }
    return nCount;
}

const std::vector<CQMXPToolBar*>& CQMXPToolBar::GetAllToolbars() { return AllToolBars(); }

void CQMXPToolBar::CountCommandUse(UINT uiCmd) { qmxCmdUsageCount.AddCmd(uiCmd); }

BOOL CQMXPToolBar::IsCommandRarelyUsed(UINT uiCmd) {
    if (m_bCustomizeMode || uiCmd == 0 || uiCmd == 0xFFFFFFFF || IsStandardCommand(uiCmd) ||
        m_lstBasicCommands.IsEmpty() || m_lstBasicCommands.Find(uiCmd) != nullptr)
        return FALSE;
    return !qmxCmdUsageCount.IsFrequentlyUsedCmd(uiCmd);
}

void CQMXPToolBar::AddAlwaysShownCommand(UINT uiCmd) {
    if (m_lstBasicCommands.Find(uiCmd) == nullptr)
        m_lstBasicCommands.AddTail(uiCmd);
}

COLORREF CQMXPToolBar::GetHotTextColor() {
    return m_clrTextHot != static_cast<COLORREF>(-1) ? m_clrTextHot : globalData.clrBtnText;
}

CSize CQMXPToolBar::GetButtonSize() const {
    CSize size = m_bLocked ? (m_bLargeIconsAreEnbaled ? m_sizeCurButtonLocked : m_sizeButtonLocked)
                           : (m_bLargeIconsAreEnbaled ? m_sizeCurButton : m_sizeButton);
    if (IsButtonExtraSizeAvailable())
        size += CQMXPVisualManager::GetInstance()->GetButtonExtraBorder();
    return size;
}

CWnd* CQMXPToolBar::GetCommandTarget() const {
    CWnd* pOwner = GetOwnerFrame();
    if (pOwner != nullptr && (!IsMenuMode() || pOwner->IsFrameWnd()))
        return pOwner;
    return QMXFindOwnerFrame(const_cast<CQMXPToolBar*>(this));
}

CSize CQMXPToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    int nLength = 0;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;)
        nLength = std::max<int>(nLength, static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos))->GetRect().right);
    if (bStretch)
        nLength = 32767;
    return bHorz ? CSize(nLength, m_cyHeight) : CSize(m_cyHeight, nLength);
}

void CQMXPToolBar::AdjustLayout() {
    if (m_hWnd == nullptr)
        return;
    const CSize sizeBefore = CalcFixedLayout(FALSE, TRUE);
    CClientDC dc(this);
    HGDIOBJ hOldFont = ::SelectObject(dc.m_hDC, ::GetStockObject(DEFAULT_GUI_FONT));
    int x = GripperWidth();
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        int cx = kMinButtonWidth;
        if (!pButton->m_strText.IsEmpty())
            cx = std::max<int>(cx, dc.GetTextExtent(pButton->m_strText).cx + kTextPadding);
        pButton->SetRect(CRect(x, 0, x + cx, m_cyHeight));
        x += cx;
    }
    ::SelectObject(dc.m_hDC, hOldFont);
    Invalidate();
    // A docked bar that changed its length takes its new length in its row;
    // a floating frame takes the bar's size.
    const CSize sizeAfter = CalcFixedLayout(FALSE, TRUE);
    if (sizeAfter != sizeBefore && m_pParentDockBar != nullptr)
        UpdateSize(TRUE);
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr) {
        CRect rectClient;
        pMiniFrame->GetClientRect(&rectClient);
        if (rectClient.Size() != sizeAfter && !pMiniFrame->IsRolledUp())
            pMiniFrame->SizeToContent();
    }
    CQMXPBaseToolBar::AdjustLayout();
}

void CQMXPToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CToolCmdUI state;
    state.m_pBar = this;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = GetButton(static_cast<int>(state.m_nIndex))->m_nID;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
    if (state.m_bLayoutChanged)
        AdjustLayout();
}

int CQMXPToolBar::GripperWidth() const {
    constexpr DWORD kGripper = 0x400000;
    constexpr int kGripperWidth = 7 + 2;
    return m_pParentDockBar != nullptr && (GetBarStyle() & kGripper) ? kGripperWidth : 0;
}

void CQMXPToolBar::OnChangeBarStyle(DWORD) { AdjustLayout(); }

void CQMXPToolBar::OnPaint() {
    CPaintDC dc(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    dc.FillSolidRect(&rectClient, ::GetSysColor(COLOR_BTNFACE));
    if (GripperWidth() > 0)
        CQMXPVisualManager::GetInstance()->OnDrawBarGripper(
            &dc, CRect(1, 2, GripperWidth() - 1, rectClient.bottom - 2), TRUE, this);
    HGDIOBJ hOldFont = ::SelectObject(dc.m_hDC, ::GetStockObject(DEFAULT_GUI_FONT));
    dc.SetBkMode(TRANSPARENT);
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        CRect rect = pButton->GetRect();
        if (pButton->m_nStyle & TBBS_CHECKED)
            dc.Draw3dRect(&rect, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
        dc.SetTextColor(::GetSysColor((pButton->m_nStyle & TBBS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        dc.DrawText(pButton->m_strText, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    ::SelectObject(dc.m_hDC, hOldFont);
}

int CQMXPToolBar::ButtonFromPoint(CPoint point) const {
    int nIndex = 0;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr; ++nIndex) {
        if (static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos))->GetRect().PtInRect(point))
            return nIndex;
    }
    return -1;
}

void CQMXPToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if (ButtonFromPoint(point) >= 0) {
        Default();
        return;
    }
    CQMXPBaseToolBar::OnLButtonDown(nFlags, point);
}

void CQMXPToolBar::OnLButtonUp(UINT nFlags, CPoint point) {
    if (IsCaptured() || GetParentMiniFrame(TRUE) != nullptr) {
        CQMXPBaseToolBar::OnLButtonUp(nFlags, point);
        if (IsCaptured() || ButtonFromPoint(point) < 0)
            return;
    }
    CQMXPToolbarButton* pButton = GetButton(ButtonFromPoint(point));
    if (pButton == nullptr || (pButton->m_nStyle & TBBS_DISABLED))
        return;
    CWnd* pOwner = GetOwner();
    if (pOwner != nullptr)
        pOwner->PostMessage(WM_COMMAND, pButton->m_nID, 0);
}

void CQMXPToolBar::OnSize(UINT nType, int cx, int cy) {
    CQMXPBaseToolBar::OnSize(nType, cx, cy);
    Invalidate();
}
