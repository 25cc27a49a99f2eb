// The tool bar's library-wide state, its button list, sizes and image
// loading, and its window's life.
#include "docking/toolbars/QMXPToolBar.h"

#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPFrameImpl.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/toolbars/CmdUsageCount.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>

IMPLEMENT_SERIAL(CQMXPToolBar, CQMXPBaseToolBar, VERSIONABLE_SCHEMA | 1)

// Registered at start-up, in this order. POPUPMENU: a bar's context menu
// (wParam the bar's window, lParam the screen point) to its frame;
// CUSTOMIZE: customisation starts (TRUE) or ends; CREATE and DELETE: the
// frame makes (lParam the name) or allows deleting (lParam the bar) a user
// tool bar; CUSTOMIZEHELP: help of a customisation page; RESETTOOLBAR: a
// bar was rebuilt from its resource (wParam the resource id); RESETMENU,
// RESETCONTEXTMENU, RESETKEYBAORD: a menu, a context menu or the keys were
// reset; TOLBARCHANGEALIGN: a bar's side changed (the code of a WM_NOTIFY
// to the main window).
const UINT QMXTOOLBAR_POPUPMENU = ::RegisterWindowMessageW(L"QMXTOOLBAR_POPUPMENU");
const UINT QMXTOOLBAR_CUSTOMIZE = ::RegisterWindowMessageW(L"QMXTOOLBAR_CUSTOMIZE");
const UINT QMXTOOLBAR_CREATE = ::RegisterWindowMessageW(L"QMXTOOLBAR_CREATE");
const UINT QMXTOOLBAR_DELETE = ::RegisterWindowMessageW(L"QMXTOOLBAR_DELETE");
const UINT QMXTOOLBAR_CUSTOMIZEHELP = ::RegisterWindowMessageW(L"QMXTOOLBAR_CUSTOMIZEHELP");
const UINT QMXTOOLBAR_RESETTOOLBAR = ::RegisterWindowMessageW(L"QMXTOOLBAR_RESETTOOLBAR");
const UINT QMXTOOLBAR_RESETMENU = ::RegisterWindowMessageW(L"QMXTOOLBAR_RESETMENU");
const UINT QMXTOOLBAR_SHOWREGULARMENU = ::RegisterWindowMessageW(L"QMXTOOLBAR_SHOWREGULARMENU");
const UINT QMXTOOLBAR_RESETCONTEXTMENU = ::RegisterWindowMessageW(L"QMXTOOLBAR_RESETCONTEXTMENU");
const UINT QMXTOOLBAR_RESETKEYBAORD = ::RegisterWindowMessageW(L"QMXTOOLBAR_RESETKEYBAORD");
const UINT QMXM_TOLBARCHANGEALIGN = ::RegisterWindowMessageW(L"QMXM_TOLBARCHANGEALIGN");

CQMXPToolBarImages CQMXPToolBar::m_Images;
CQMXPToolBarImages CQMXPToolBar::m_ColdImages;
CQMXPToolBarImages CQMXPToolBar::m_MenuImages;
CQMXPToolBarImages CQMXPToolBar::m_DisabledImages;
CQMXPToolBarImages CQMXPToolBar::m_DisabledMenuImages;
CQMXPToolBarImages CQMXPToolBar::m_LargeImages;
CQMXPToolBarImages CQMXPToolBar::m_LargeColdImages;
CQMXPToolBarImages CQMXPToolBar::m_LargeDisabledImages;
CQMXPToolBarImages* CQMXPToolBar::m_pUserImages = nullptr;
CMap<UINT, UINT, int, int> CQMXPToolBar::m_DefaultImages(10);
CList<UINT, UINT> CQMXPToolBar::m_lstUnpermittedCommands(10);
CList<UINT, UINT> CQMXPToolBar::m_lstBasicCommands(10);

BOOL CQMXPToolBar::m_bCustomizeMode = FALSE;
BOOL CQMXPToolBar::m_bAltCustomization = FALSE;
BOOL CQMXPToolBar::m_bAltCustomizing = FALSE;
BOOL CQMXPToolBar::m_bLargeIcons = FALSE;
BOOL CQMXPToolBar::m_bShowTooltips = TRUE;
BOOL CQMXPToolBar::m_bShowShortcutKeys = TRUE;
BOOL CQMXPToolBar::m_bRecentlyUsedMenus = TRUE;
BOOL CQMXPToolBar::m_bShowAllMenusAfterDelay = TRUE;
CSize CQMXPToolBar::m_sizeButton(23, 22);
CSize CQMXPToolBar::m_sizeImage(16, 15);
CSize CQMXPToolBar::m_sizeCurButton(23, 22);
CSize CQMXPToolBar::m_sizeCurImage(16, 15);
CSize CQMXPToolBar::m_sizeMenuImage(-1, -1);
CSize CQMXPToolBar::m_sizeMenuButton(-1, -1);
CSize CQMXPToolBar::m_sizeButtonEdgeMargins(0, 0);
COLORREF CQMXPToolBar::m_clrTextHot = static_cast<COLORREF>(-1);
CQMXPToolBar* CQMXPToolBar::m_pSelToolbar = nullptr;

namespace {

// Every tool bar with a window, in creation order.
std::vector<CQMXPToolBar*>& AllToolBars() {
    static std::vector<CQMXPToolBar*> s_toolBars;
    return s_toolBars;
}

constexpr UINT kIdcStretchHorz = 30980;
constexpr UINT kIdcStretchVert = 30981;
constexpr int kInvalidateMargin = 10;

CSize Doubled(const CSize& size) { return CSize(size.cx * 2, size.cy * 2); }

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPToolBar, CQMXPBaseToolBar)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSELEAVE()
    ON_WM_CANCELMODE()
    ON_WM_CONTEXTMENU()
    ON_WM_SETCURSOR()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_COMMAND_RANGE(QMXP_ID_CUSTOMIZE_RESET, QMXP_ID_CUSTOMIZE_NEW_MENU, OnCustomizeCommand)
    ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
    ON_MESSAGE(TB_BUTTONCOUNT, OnButtonCount)
    ON_MESSAGE(TB_GETITEMRECT, OnGetItemRect)
    ON_MESSAGE(TB_GETBUTTON, OnGetButton)
END_MESSAGE_MAP()

CQMXPToolBar::CQMXPToolBar()
    : m_bLocked(FALSE),
      m_bLargeIconsAreEnbaled(TRUE),
      m_Impl(this),
      m_bPermament(FALSE),
      m_bTextLabels(FALSE),
      m_bDrawTextLabels(FALSE),
      m_nMaxBtnHeight(0),
      m_sizeButtonLocked(23, 22),
      m_sizeImageLocked(16, 15),
      m_sizeCurButtonLocked(23, 22),
      m_sizeCurImageLocked(16, 15),
      m_iButtonCapture(-1),
      m_iHighlighted(-1),
      m_iSelected(-1),
      m_iHot(-1),
      m_Buttons(10),
      m_OrigButtons(10),
      m_nTooltipsCount(0),
      m_iDragIndex(-1),
      m_rectDrag(0, 0, 0, 0),
      m_pDragButton(nullptr),
      m_bIsDragCopy(FALSE),
      m_ptStartDrag(-1, -1),
      m_bStretchButton(FALSE),
      m_rectTrack(0, 0, 0, 0),
      m_iImagesOffset(0),
      m_uiOriginalResID(0),
      m_bTracked(FALSE),
      m_ptLastMouse(-1, -1),
      m_bMenuMode(FALSE),
      m_pWndLastCapture(nullptr),
      m_hwndLastFocus(nullptr),
      m_bDisableControlsIfNoHandler(TRUE),
      m_bRouteCommandsViaFrame(TRUE),
      m_rectGripper(0, 0, 0, 0),
      m_sizeLast(0, 0),
      m_AcellKeys(17),
      m_bDrawBorders(TRUE),
      m_bGrayDisabledButtons(TRUE),
      m_bDontChangeButtonText(FALSE),
      m_nMaxLen(0),
      m_pCustomizeBtn(nullptr),
      m_bResourceWasChanged(FALSE),
      m_cyFixedHeight(0) {}

CQMXPToolBar::~CQMXPToolBar() {
    auto& bars = AllToolBars();
    bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
    while (!m_OrigButtons.IsEmpty())
        delete m_OrigButtons.RemoveHead();
    RemoveAllButtons();
    m_AcellKeys.RemoveAll();
}

int CQMXPToolBar::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CQMXPBaseToolBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (globalData.hcurStretchHorz == nullptr)
        globalData.hcurStretchHorz = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kIdcStretchHorz));
    if (globalData.hcurStretchVert == nullptr)
        globalData.hcurStretchVert = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kIdcStretchVert));
    if (globalData.hcurMove == nullptr)
        globalData.hcurMove = ::LoadCursorW(nullptr, IDC_SIZEALL);
    m_penDrag.CreatePen(PS_SOLID, 1, globalData.clrBtnText);
    if (m_wndToolTip.Create(this, TTS_ALWAYSTIP))
        m_wndToolTip.Activate(TRUE);
    AllToolBars().push_back(this);
    // Fails without OLE; the bar then only takes no dragged buttons.
    m_DropTarget.Register(this);
    return 0;
}

void CQMXPToolBar::OnDestroy() {
    m_DropTarget.Revoke();
    m_penDrag.DeleteObject();
    m_wndToolTip.DestroyWindow();
    m_nTooltipsCount = 0;
    CQMXPBaseToolBar::OnDestroy();
    if (m_pSelToolbar == this)
        m_pSelToolbar = nullptr;
    auto& bars = AllToolBars();
    bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
}

void CQMXPToolBar::OnSize(UINT nType, int cx, int cy) {
    CQMXPBaseToolBar::OnSize(nType, cx, cy);
    if (m_bCustomizeMode && !m_bLocked)
        CancelMouseState();
    AdjustLocations();
    if (!IsFloating()) {
        RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        return;
    }
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    CMenu* pSysMenu = pMiniFrame != nullptr ? pMiniFrame->GetSystemMenu(FALSE) : nullptr;
    if (pSysMenu != nullptr) {
        pSysMenu->DeleteMenu(SC_RESTORE, MF_BYCOMMAND);
        pSysMenu->DeleteMenu(SC_MINIMIZE, MF_BYCOMMAND);
        pSysMenu->DeleteMenu(SC_MAXIMIZE, MF_BYCOMMAND);
        if (!CanBeClosed())
            pSysMenu->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    }
}

// --- Buttons -------------------------------------------------------------------------------------

int CQMXPToolBar::InsertButton(CQMXPToolbarButton* pButton, int iInsertAt) {
    if (pButton == nullptr || !IsCommandPermitted(pButton->m_nID))
        return -1;
    const int nCount = GetCount();
    if (iInsertAt == -1 || iInsertAt == nCount) {
        if (m_pCustomizeBtn != nullptr && nCount > 0) {
            iInsertAt = nCount - 1;
            m_Buttons.InsertBefore(m_Buttons.FindIndex(iInsertAt), pButton);
        } else {
            iInsertAt = nCount;
            m_Buttons.AddTail(pButton);
        }
    } else if (iInsertAt < 0 || iInsertAt > nCount) {
        return -1;
    } else {
        m_Buttons.InsertBefore(m_Buttons.FindIndex(iInsertAt), pButton);
    }
    pButton->OnParentChanged(this);
    return iInsertAt;
}

int CQMXPToolBar::InsertButton(const CQMXPToolbarButton& button, int iInsertAt) {
    auto* pCopy = static_cast<CQMXPToolbarButton*>(button.GetRuntimeClass()->CreateObject());
    if (pCopy == nullptr)
        return -1;
    pCopy->AssignFrom(button);
    const int iIndex = InsertButton(pCopy, iInsertAt);
    if (iIndex < 0)
        delete pCopy;
    return iIndex;
}

int CQMXPToolBar::InsertSeparator(int iInsertAt) {
    if (GetCount() == 0)
        return -1;
    auto* pButton = new CQMXPToolbarButton;
    pButton->m_nStyle = TBBS_SEPARATOR;
    const int iIndex = InsertButton(pButton, iInsertAt);
    if (iIndex < 0)
        delete pButton;
    return iIndex;
}

void CQMXPToolBar::RemoveAllButtons() {
    m_iButtonCapture = -1;
    m_iHighlighted = -1;
    m_iSelected = -1;
    while (!m_Buttons.IsEmpty()) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.RemoveHead());
        pButton->OnCancelMode();
        delete pButton;
    }
    m_pCustomizeBtn = nullptr;
}

int CQMXPToolBar::ReplaceButton(UINT uiCmd, const CQMXPToolbarButton& button, BOOL bAll) {
    int nReplaced = 0;
    for (int iIndex = CommandToIndex(uiCmd); iIndex >= 0; iIndex = CommandToIndex(uiCmd, iIndex + 1)) {
        POSITION pos = m_Buttons.FindIndex(iIndex);
        auto* pOld = static_cast<CQMXPToolbarButton*>(m_Buttons.GetAt(pos));
        m_Buttons.RemoveAt(pos);
        pOld->OnCancelMode();
        delete pOld;
        if (InsertButton(button, iIndex) < 0)
            return 0;
        ++nReplaced;
        if (!bAll)
            break;
    }
    return nReplaced;
}

int CQMXPToolBar::GetCount() const { return static_cast<int>(m_Buttons.GetCount()); }

CQMXPToolbarButton* CQMXPToolBar::GetButton(int iIndex) const {
    if (iIndex < 0 || iIndex >= GetCount())
        return nullptr;
    return static_cast<CQMXPToolbarButton*>(m_Buttons.GetAt(m_Buttons.FindIndex(iIndex)));
}

int CQMXPToolBar::CommandToIndex(UINT nIDFind, int iIndexFirst) const {
    int iIndex = 0;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr; ++iIndex) {
        const auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        if (iIndex >= iIndexFirst && pButton->m_nID == nIDFind)
            return iIndex;
    }
    return -1;
}

int CQMXPToolBar::ButtonToIndex(const CQMXPToolbarButton* pButton) const {
    int iIndex = 0;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr; ++iIndex) {
        if (m_Buttons.GetNext(pos) == pButton)
            return iIndex;
    }
    return -1;
}

UINT CQMXPToolBar::GetItemID(int nIndex) const {
    const CQMXPToolbarButton* pButton = GetButton(nIndex);
    return pButton != nullptr ? pButton->m_nID : 0;
}

void CQMXPToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    const CQMXPToolbarButton* pButton = GetButton(nIndex);
    *lpRect = pButton != nullptr ? pButton->GetRect() : CRect(0, 0, 0, 0);
}

void CQMXPToolBar::GetInvalidateItemRect(int nIndex, LPRECT lpRect) const {
    const CQMXPToolbarButton* pButton = GetButton(nIndex);
    *lpRect = pButton != nullptr ? pButton->GetRect() : CRect(0, 0, 0, 0);
}

UINT CQMXPToolBar::GetButtonStyle(int nIndex) const {
    const CQMXPToolbarButton* pButton = GetButton(nIndex);
    return pButton != nullptr ? pButton->m_nStyle : 0;
}

void CQMXPToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
    CQMXPToolbarButton* pButton = GetButton(nIndex);
    if (pButton == nullptr)
        return;
    if (nStyle & TBBS_DISABLED)
        nStyle &= ~TBBS_PRESSED;
    const UINT nOldStyle = pButton->m_nStyle;
    if (nOldStyle == nStyle)
        return;
    pButton->SetStyle(nStyle);
    if (!((nOldStyle & TBBS_PRESSED) && (nStyle & TBBS_PRESSED)))
        InvalidateButton(nIndex);
}

BOOL CQMXPToolBar::SetButtonText(int nIndex, LPCWSTR lpszText) {
    CQMXPToolbarButton* pButton = GetButton(nIndex);
    if (pButton == nullptr)
        return FALSE;
    pButton->m_strText = lpszText != nullptr ? lpszText : L"";
    return TRUE;
}

CString CQMXPToolBar::GetButtonText(int nIndex) const {
    const CQMXPToolbarButton* pButton = GetButton(nIndex);
    return pButton != nullptr ? pButton->m_strText : CString();
}

CQMXPToolbarButton* CQMXPToolBar::CopyCustomizeButton() const {
    if (m_pCustomizeBtn == nullptr)
        return nullptr;
    auto* pCopy = static_cast<CQMXPToolbarButton*>(m_pCustomizeBtn->GetRuntimeClass()->CreateObject());
    if (pCopy != nullptr)
        pCopy->AssignFrom(*m_pCustomizeBtn);
    return pCopy;
}

CQMXPToolbarButton* CQMXPToolBar::GetHighlightedButton() const { return GetButton(m_iHighlighted); }

void CQMXPToolBar::InvalidateButton(int nIndex) {
    CQMXPToolbarButton* pButton = GetButton(nIndex);
    if (pButton == nullptr || GetSafeHwnd() == nullptr)
        return;
    CRect rect = pButton->GetRect();
    rect.InflateRect(kInvalidateMargin, kInvalidateMargin);
    InvalidateRect(&rect);
}

BOOL CQMXPToolBar::IsUserDefined() const {
    // The frame that owns the bar (through its floating frame) keeps the range.
    const CQMXPFrameImpl* pImpl = CQMXPFrameImpl::FromFrame(QMXFindOwnerFrame(const_cast<CQMXPToolBar*>(this)));
    return pImpl != nullptr && pImpl->IsUserDefinedToolbar(this);
}

int CQMXPToolBar::CollectButtonsByCommand(UINT uiCmd, CObList& listButtons) {
    if (uiCmd == 0)
        return 0;
    int nCount = 0;
    for (CQMXPToolBar* pBar : AllToolBars()) {
        if (!::IsWindow(pBar->GetSafeHwnd()))
            continue;
        for (POSITION pos = pBar->m_Buttons.GetHeadPosition(); pos != nullptr;) {
            CObject* pButton = pBar->m_Buttons.GetNext(pos);
            if (static_cast<CQMXPToolbarButton*>(pButton)->m_nID == uiCmd) {
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

// --- Sizes ---------------------------------------------------------------------------------------

void CQMXPToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    m_sizeButton = m_sizeCurButton = sizeButton;
    m_sizeImage = m_sizeCurImage = sizeImage;
    for (CQMXPToolBarImages* pImages : {&m_Images, &m_ColdImages, &m_DisabledImages})
        pImages->SetImageSize(sizeImage);
    for (CQMXPToolBarImages* pImages : {&m_LargeImages, &m_LargeColdImages, &m_LargeDisabledImages})
        pImages->SetImageSize(Doubled(sizeImage));
    if (m_pUserImages != nullptr)
        m_pUserImages->SetImageSize(sizeImage);
    if (m_bLargeIcons) {
        m_sizeCurButton = Doubled(m_sizeButton);
        m_sizeCurImage = Doubled(m_sizeImage);
    }
}

void CQMXPToolBar::SetLockedSizes(SIZE sizeButton, SIZE sizeImage) {
    m_sizeButtonLocked = m_sizeCurButtonLocked = sizeButton;
    m_sizeImageLocked = m_sizeCurImageLocked = sizeImage;
    for (CQMXPToolBarImages* pImages : {&m_ImagesLocked, &m_ColdImagesLocked, &m_DisabledImagesLocked,
                                        &m_MenuImagesLocked, &m_DisabledMenuImagesLocked})
        pImages->SetImageSize(sizeImage);
    for (CQMXPToolBarImages* pImages : {&m_LargeImagesLocked, &m_LargeColdImagesLocked, &m_LargeDisabledImagesLocked})
        pImages->SetImageSize(Doubled(sizeImage));
    if (m_bLargeIcons) {
        m_sizeCurButtonLocked = Doubled(m_sizeButtonLocked);
        m_sizeCurImageLocked = Doubled(m_sizeImageLocked);
    }
}

void CQMXPToolBar::SetLargeIcons(BOOL bLargeIcons) {
    m_bLargeIcons = bLargeIcons;
    m_sizeCurButton = bLargeIcons ? Doubled(m_sizeButton) : m_sizeButton;
    m_sizeCurImage = bLargeIcons ? Doubled(m_sizeImage) : m_sizeImage;
    for (CQMXPToolBar* pBar : AllToolBars()) {
        if (pBar->m_bLocked) {
            pBar->m_sizeCurButtonLocked = bLargeIcons ? Doubled(pBar->m_sizeButtonLocked) : pBar->m_sizeButtonLocked;
            pBar->m_sizeCurImageLocked = bLargeIcons ? Doubled(pBar->m_sizeImageLocked) : pBar->m_sizeImageLocked;
        }
    }
    std::vector<CFrameWnd*> frames;
    for (CQMXPToolBar* pBar : AllToolBars()) {
        if (!::IsWindow(pBar->GetSafeHwnd()))
            continue;
        pBar->AdjustLayout();
        CFrameWnd* pFrame = pBar->GetDockSiteFrameWnd();
        if (pFrame != nullptr && std::find(frames.begin(), frames.end(), pFrame) == frames.end())
            frames.push_back(pFrame);
    }
    // Each frame lays its rows out once for the new sizes and is drawn again
    // whole: the places the bars left (larger or smaller) keep nothing of them.
    for (CFrameWnd* pFrame : frames) {
        if (!::IsWindow(pFrame->GetSafeHwnd()))
            continue;
        pFrame->RecalcLayout(TRUE);
        pFrame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

CSize CQMXPToolBar::GetMenuImageSize() { return m_sizeMenuImage.cx > 0 ? m_sizeMenuImage : m_sizeImage; }

CSize CQMXPToolBar::GetMenuButtonSize() { return m_sizeMenuButton.cx > 0 ? m_sizeMenuButton : m_sizeButton; }

void CQMXPToolBar::EnableTextLabels(BOOL bEnable) {
    if (IsMenuMode())
        return;
    m_bTextLabels = bEnable;
    AdjustLayout();
}

CSize CQMXPToolBar::GetButtonSize() const {
    CSize size = m_bLocked ? (m_bLargeIconsAreEnbaled ? m_sizeCurButtonLocked : m_sizeButtonLocked)
                           : (m_bLargeIconsAreEnbaled ? m_sizeCurButton : m_sizeButton);
    if (IsButtonExtraSizeAvailable())
        size += CQMXPVisualManager::GetInstance()->GetButtonExtraBorder();
    return size;
}

CSize CQMXPToolBar::GetImageSize() const {
    return m_bLocked ? (m_bLargeIconsAreEnbaled ? m_sizeCurImageLocked : m_sizeImageLocked)
                     : (m_bLargeIconsAreEnbaled ? m_sizeCurImage : m_sizeImage);
}

int CQMXPToolBar::GetRowHeight() const {
    int nHeight;
    if (m_bDrawTextLabels)
        nHeight = m_nMaxBtnHeight;
    else if (IsMenuMode())
        nHeight = m_sizeMenuButton.cy > 0 ? m_sizeMenuButton.cy : m_sizeButton.cy;
    else
        nHeight = GetButtonSize().cy;
    const int nTextHeight = IsHorizontal() ? globalData.textHeight : globalData.textHeightVert;
    return std::max({nHeight, nTextHeight, m_cyFixedHeight});
}

int CQMXPToolBar::GetColumnWidth() const {
    if (IsMenuMode())
        return m_sizeMenuButton.cx > 0 ? m_sizeMenuButton.cx : m_sizeButton.cx;
    return GetButtonSize().cx;
}

void CQMXPToolBar::SetHeight(int cyHeight) {
    if (m_bLocked)
        return;
    m_cyFixedHeight = cyHeight;
    AdjustLayout();
}

// --- Images --------------------------------------------------------------------------------------

namespace {

CQMXPToolBarParams MakeParams(UINT uiColdResID, UINT uiHotResID, UINT uiDisabledResID, UINT uiMenuResID,
                              UINT uiMenuDisabledResID) {
    CQMXPToolBarParams params;
    params.m_uiColdResID = uiColdResID;
    params.m_uiHotResID = uiHotResID;
    params.m_uiDisabledResID = uiDisabledResID;
    params.m_uiMenuResID = uiMenuResID;
    params.m_uiMenuDisabledResID = uiMenuDisabledResID;
    return params;
}

}  // namespace

BOOL CQMXPToolBar::LoadBitmap(UINT uiResID, UINT uiColdResID, UINT uiMenuResID, BOOL bLocked, UINT uiDisabledResID,
                              UINT uiMenuDisabledResID) {
    CQMXPToolBarParams params = MakeParams(uiColdResID, uiResID, uiDisabledResID, uiMenuResID, uiMenuDisabledResID);
    return LoadBitmapEx(params, bLocked);
}

BOOL CQMXPToolBar::LoadToolBar(UINT uiResID, UINT uiColdResID, UINT uiMenuResID, BOOL bLocked,
                               UINT uiDisabledResID, UINT uiMenuDisabledResID, UINT uiHotResID) {
    CQMXPToolBarParams params = MakeParams(uiColdResID, uiHotResID, uiDisabledResID, uiMenuResID, uiMenuDisabledResID);
    return LoadToolBarEx(uiResID, params, bLocked);
}

BOOL CQMXPToolBar::LoadBitmapEx(CQMXPToolBarParams& params, BOOL bLocked) {
    m_bLocked = bLocked;
    struct Entry {
        UINT uiResID;
        CQMXPToolBarImages* pShared;
        CQMXPToolBarImages* pLocked;
    };
    const Entry entries[] = {
        {params.m_uiColdResID, &m_ColdImages, &m_ColdImagesLocked},
        {params.m_uiDisabledResID, &m_DisabledImages, &m_DisabledImagesLocked},
        {params.m_uiLargeColdResID, &m_LargeColdImages, &m_LargeColdImagesLocked},
        {params.m_uiLargeHotResID, &m_LargeImages, &m_LargeImagesLocked},
        {params.m_uiLargeDisabledResID, &m_LargeDisabledImages, &m_LargeDisabledImagesLocked},
        {params.m_uiMenuResID, &m_MenuImages, &m_MenuImagesLocked},
        {params.m_uiMenuDisabledResID, &m_DisabledMenuImages, &m_DisabledMenuImagesLocked},
    };
    if (m_bLocked) {
        if (!m_ImagesLocked.Load(params.m_uiHotResID))
            return FALSE;
    } else {
        if (!m_Images.Load(params.m_uiHotResID, nullptr, TRUE))
            return FALSE;
        m_iImagesOffset = m_Images.GetResourceOffset(params.m_uiHotResID);
    }
    for (const Entry& entry : entries) {
        if (entry.uiResID == 0)
            continue;
        const BOOL bLoaded = m_bLocked ? entry.pLocked->Load(entry.uiResID) : entry.pShared->Load(entry.uiResID, nullptr, TRUE);
        if (!bLoaded)
            return FALSE;
    }
    return TRUE;
}

void CQMXPToolBar::ResetAllImages() {
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos))->ResetToDefault();
    if (IsFloating())
        AdjustLayout();
}

BOOL CQMXPToolBar::RestoreFromResource() {
    if (m_uiOriginalResID == 0)
        return FALSE;
    if (!LoadToolBar(m_uiOriginalResID, 0, 0, m_bLocked))
        return FALSE;
    AdjustLayout();
    if (GetSafeHwnd() != nullptr) {
        Invalidate();
        UpdateWindow();
    }
    return TRUE;
}

// --- Messages ------------------------------------------------------------------------------------

BOOL CQMXPToolBar::OnEraseBkgnd(CDC*) { return TRUE; }

LRESULT CQMXPToolBar::OnNcHitTest(CPoint) { return HTCLIENT; }

void CQMXPToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
    CRect rect(lpncsp->rgrc[0]);
    m_Impl.CalcNcSize(rect);
    lpncsp->rgrc[0] = rect;
}

void CQMXPToolBar::OnNcPaint() { m_Impl.DrawNcArea(GetCurrentMessage() != nullptr ? GetCurrentMessage()->wParam : 1); }

void CQMXPToolBar::OnSysColorChange() {
    globalData.RefreshSysColors();
    CQMXPVisualManager::GetInstance()->OnUpdateSystemColors();
    for (CQMXPToolBarImages* pImages :
         {&m_Images, &m_ColdImages, &m_MenuImages, &m_DisabledImages, &m_DisabledMenuImages, &m_LargeImages,
          &m_LargeColdImages, &m_LargeDisabledImages, &m_ImagesLocked, &m_ColdImagesLocked, &m_DisabledImagesLocked,
          &m_LargeImagesLocked, &m_LargeColdImagesLocked, &m_LargeDisabledImagesLocked, &m_MenuImagesLocked,
          &m_DisabledMenuImagesLocked})
        pImages->OnSysColorChange();
    if (m_pUserImages != nullptr)
        m_pUserImages->OnSysColorChange();
    Invalidate();
}

void CQMXPToolBar::OnSettingChange(UINT uFlags, LPCWSTR) {
    if (uFlags == SPI_SETNONCLIENTMETRICS) {
        globalData.UpdateFonts();
        AdjustLayout();
    }
}

HBRUSH CQMXPToolBar::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        if (pWnd != nullptr && pButton->IsOwnerOf(pWnd->GetSafeHwnd())) {
            HBRUSH hbr = pButton->OnCtlColor(pDC, nCtlColor);
            if (hbr != nullptr)
                return hbr;
        }
    }
    return CQMXPBaseToolBar::OnCtlColor(pDC, pWnd, nCtlColor);
}

LRESULT CQMXPToolBar::OnButtonCount(WPARAM, LPARAM) { return GetCount(); }

LRESULT CQMXPToolBar::OnGetItemRect(WPARAM wParam, LPARAM lParam) {
    GetItemRect(static_cast<int>(wParam), reinterpret_cast<LPRECT>(lParam));
    return TRUE;
}

LRESULT CQMXPToolBar::OnGetButton(WPARAM wParam, LPARAM lParam) {
    auto* pButtonInfo = reinterpret_cast<TBBUTTON*>(lParam);
    const CQMXPToolbarButton* pButton = GetButton(static_cast<int>(wParam));
    *pButtonInfo = TBBUTTON();
    if (pButton != nullptr) {
        pButtonInfo->idCommand = static_cast<int>(pButton->m_nID);
        pButtonInfo->fsState = static_cast<BYTE>(pButton->m_nStyle >> 16);
        pButtonInfo->fsStyle = static_cast<BYTE>(pButton->m_nStyle);
    }
    return TRUE;
}
