// A menu button's sub-items, its menu handles both ways, its popup's
// opening and closing, and its record.
#include "docking/toolbars/QMXPToolbarMenuButton.h"

#include "docking/frames/QMXPTearOffManager.h"
#include "docking/frames/QMXPWorkspace.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/Archive.h"

IMPLEMENT_SERIAL(CQMXPToolbarMenuButton, CQMXPToolbarButton, VERSIONABLE_SCHEMA | 1)

namespace {

constexpr int kMaxMenuText = 1024;
constexpr UINT kNoCommand = static_cast<UINT>(-1);
constexpr UINT kMenuBreakStyle = 0x20000000;
constexpr int kInvalidateMargin = 4;

bool IsOrdinaryCommand(UINT uiID) { return uiID != 0 && uiID != kNoCommand; }

// The tear-off id is stored since the data version 4.71 (and always with the current one).
bool StoresTearOffId() {
    const CQMXPWorkspace* pWorkspace = QMXPGetWorkspace();
    if (pWorkspace == nullptr)
        return true;
    const int nMajor = pWorkspace->GetDataVersionMajor();
    const int nMinor = pWorkspace->GetDataVersionMinor();
    if (nMajor == -1)
        return true;
    return nMajor > 4 || (nMajor == 4 && nMinor >= 71);
}

CString MenuItemText(HMENU hMenu, int iItem) {
    wchar_t szText[kMaxMenuText + 1] = {0};
    ::GetMenuStringW(hMenu, static_cast<UINT>(iItem), szText, kMaxMenuText, MF_BYPOSITION);
    return szText;
}

}  // namespace

CQMXPToolbarMenuButton::CQMXPToolbarMenuButton() { Initialize(); }

CQMXPToolbarMenuButton::CQMXPToolbarMenuButton(UINT uiID, HMENU hMenu, int iImage, LPCWSTR lpszText,
                                               BOOL bUserButton)
    : CQMXPToolbarButton(uiID, iImage, lpszText, bUserButton) {
    Initialize();
    if (hMenu != nullptr)
        BuildFromMenuHandle(hMenu);
}

void CQMXPToolbarMenuButton::Initialize() {
    m_listCommands.RemoveAll();
    m_bDrawDownArrow = FALSE;
    m_bMenuMode = FALSE;
    m_pPopupMenu = nullptr;
    m_pWndParent = nullptr;
    m_bDefault = FALSE;
    m_bClickedOnMenu = FALSE;
    m_bHorz = TRUE;
    m_bToBeClosed = FALSE;
    m_bMenuOnly = FALSE;
    m_uiTearOffBarID = 0;
    m_bIsRadio = FALSE;
    m_pWndMessage = nullptr;
}

CQMXPToolbarMenuButton::~CQMXPToolbarMenuButton() {
    if (m_pPopupMenu != nullptr)
        m_pPopupMenu->pParentBtn = nullptr;
    DeleteSubItems();
    if (m_uiTearOffBarID != 0 && qmxTearOffManager != nullptr)
        qmxTearOffManager->SetInUse(m_uiTearOffBarID, FALSE);
}

void CQMXPToolbarMenuButton::DeleteSubItems() {
    while (!m_listCommands.IsEmpty())
        delete m_listCommands.RemoveHead();
}

void CQMXPToolbarMenuButton::Serialize(CArchive& ar) {
    CQMXPToolbarButton::Serialize(ar);
    if (ar.IsLoading()) {
        DeleteSubItems();
        UINT uiTearOffBarID = 0;
        if (StoresTearOffId())
            ar >> uiTearOffBarID;
        AssignTearOffId(uiTearOffBarID);
        // Only menu buttons: the record may come from another process's data.
        for (DWORD_PTR n = ar.ReadCount(); n > 0; --n) {
            CObject* pObject = ar.ReadObject(RUNTIME_CLASS(CQMXPToolbarMenuButton));
            if (pObject != nullptr)
                m_listCommands.AddTail(pObject);
        }
        return;
    }
    if (StoresTearOffId())
        ar << static_cast<DWORD>(m_uiTearOffBarID);
    ar.WriteCount(static_cast<DWORD_PTR>(m_listCommands.GetCount()));
    for (POSITION pos = m_listCommands.GetHeadPosition(); pos != nullptr;)
        ar.WriteObject(m_listCommands.GetNext(pos));
}

void CQMXPToolbarMenuButton::AssignFrom(const CQMXPToolbarButton& src) {
    CQMXPToolbarButton::AssignFrom(src);
    const auto* pSrc = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, const_cast<CQMXPToolbarButton*>(&src));
    if (pSrc == nullptr)
        return;
    m_bDefault = pSrc->m_bDefault;
    m_bMenuOnly = pSrc->m_bMenuOnly;
    m_bIsRadio = pSrc->m_bIsRadio;
    m_pWndMessage = pSrc->m_pWndMessage;
    AssignTearOffId(pSrc->m_uiTearOffBarID);
    DeleteSubItems();
    for (POSITION pos = pSrc->m_listCommands.GetHeadPosition(); pos != nullptr;) {
        auto* pItem = static_cast<CQMXPToolbarMenuButton*>(pSrc->m_listCommands.GetNext(pos));
        auto* pCopy = static_cast<CQMXPToolbarMenuButton*>(pItem->GetRuntimeClass()->CreateObject());
        if (pCopy == nullptr)
            continue;
        pCopy->AssignFrom(*pItem);
        m_listCommands.AddTail(pCopy);
    }
}

void CQMXPToolbarMenuButton::AssignTearOffId(UINT uiBarID) {
    if (uiBarID != m_uiTearOffBarID && qmxTearOffManager != nullptr) {
        if (m_uiTearOffBarID != 0)
            qmxTearOffManager->SetInUse(m_uiTearOffBarID, FALSE);
        if (uiBarID != 0)
            qmxTearOffManager->SetInUse(uiBarID, TRUE);
    }
    m_uiTearOffBarID = uiBarID;
}

void CQMXPToolbarMenuButton::BuildFromMenuHandle(HMENU hMenu) {
    DeleteSubItems();
    if (hMenu == nullptr || !::IsMenu(hMenu))
        return;
    const UINT uiDefault = ::GetMenuDefaultItem(hMenu, FALSE, 0);
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        auto* pItem = new CQMXPToolbarMenuButton;
        pItem->m_nID = ::GetMenuItemID(hMenu, i);
        pItem->m_strText = MenuItemText(hMenu, i);
        if (pItem->m_nID == kNoCommand) {
            if (qmxTearOffManager != nullptr)
                pItem->AssignTearOffId(CQMXPTearOffManager::Parse(pItem->m_strText));
            pItem->BuildFromMenuHandle(::GetSubMenu(hMenu, i));
        } else if (pItem->m_nID == uiDefault) {
            pItem->m_bDefault = TRUE;
        }
        if (::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION) & MF_MENUBREAK)
            pItem->m_nStyle |= kMenuBreakStyle;
        m_listCommands.AddTail(pItem);
    }
}

HMENU CQMXPToolbarMenuButton::CreateMenuHandle() const {
    if (m_listCommands.IsEmpty() && IsOrdinaryCommand(m_nID) && !m_bMenuOnly)
        return nullptr;
    HMENU hMenu = ::CreatePopupMenu();
    if (hMenu == nullptr)
        return nullptr;
    UINT uiDefault = 0;
    BOOL bHasDefault = FALSE;
    for (POSITION pos = m_listCommands.GetHeadPosition(); pos != nullptr;) {
        const auto* pItem = static_cast<const CQMXPToolbarMenuButton*>(m_listCommands.GetNext(pos));
        UINT uiFlags = (pItem->m_nStyle & kMenuBreakStyle) ? MF_MENUBREAK : 0;
        if (pItem->HasTearOffId())
            uiFlags |= MF_MENUBARBREAK;
        BOOL bAppended = FALSE;
        if (pItem->m_nID == 0) {
            bAppended = ::AppendMenuW(hMenu, uiFlags | MF_SEPARATOR, 0, nullptr);
        } else if (pItem->m_nID == kNoCommand) {
            HMENU hSubMenu = pItem->CreateMenuHandle();
            CString strText = pItem->m_strText;
            if (pItem->HasTearOffId() && qmxTearOffManager != nullptr)
                CQMXPTearOffManager::Build(pItem->m_uiTearOffBarID, strText);
            bAppended = hSubMenu != nullptr && ::AppendMenuW(hMenu, uiFlags | MF_POPUP,
                                                             reinterpret_cast<UINT_PTR>(hSubMenu), strText);
            if (!bAppended && hSubMenu != nullptr)
                ::DestroyMenu(hSubMenu);
        } else {
            if (pItem->m_bDefault) {
                uiDefault = pItem->m_nID;
                bHasDefault = TRUE;
            }
            bAppended = ::AppendMenuW(hMenu, uiFlags | MF_STRING, pItem->m_nID, pItem->m_strText);
        }
        if (!bAppended) {
            ::DestroyMenu(hMenu);
            return nullptr;
        }
    }
    if (bHasDefault)
        ::SetMenuDefaultItem(hMenu, uiDefault, FALSE);
    return hMenu;
}

CQMXPPopupMenu* CQMXPToolbarMenuButton::MakePopupMenu() { return new CQMXPPopupMenu; }

void CQMXPToolbarMenuButton::OnParentChanged(CWnd* pWndParent) {
    CQMXPToolbarButton::OnParentChanged(pWndParent);
    const BOOL bHasItems = !m_listCommands.IsEmpty();
    if (DYNAMIC_DOWNCAST(CQMXPMenuBar, pWndParent) != nullptr) {
        m_bText = TRUE;
        m_bImage = FALSE;
        m_bDrawDownArrow = IsOrdinaryCommand(m_nID) && bHasItems;
    } else {
        m_bDrawDownArrow = m_nID == 0 || m_nID == kNoCommand || bHasItems;
    }
    if (DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, pWndParent) != nullptr) {
        m_bMenuMode = TRUE;
        m_bText = TRUE;
        m_bImage = FALSE;
        m_bDrawDownArrow = m_nID == 0 || m_nID == kNoCommand || bHasItems;
    } else {
        m_bMenuMode = FALSE;
    }
    m_pWndParent = pWndParent;
}

BOOL CQMXPToolbarMenuButton::OnClick(CWnd* pWnd, BOOL bDelay) {
    m_bClickedOnMenu = FALSE;
    if (m_bDrawDownArrow && !bDelay && !m_bMenuMode) {
        if (IsOrdinaryCommand(m_nID)) {
            CPoint point;
            ::GetCursorPos(&point);
            if (pWnd != nullptr)
                pWnd->ScreenToClient(&point);
            CRect rect = m_rect;
            const CSize sizeExtra = CQMXPVisualManager::GetInstance()->GetButtonExtraBorder();
            if (sizeExtra != CSize(0, 0))
                rect.InflateRect(sizeExtra.cx / 2 + 1, sizeExtra.cy / 2 + 1);
            const int nScale = CQMXPToolBar::IsLargeIcons() ? 2 : 1;
            const CSize sizeGlyph = CQMXPMenuGlyphs::GetSize();
            CRect rectArrow = rect;
            if (m_bHorz)
                rectArrow.left = rectArrow.right - (sizeGlyph.cx * nScale + 2);
            else
                rectArrow.top = rectArrow.bottom - (sizeGlyph.cy * nScale + 2);
            m_bClickedOnMenu = rectArrow.PtInRect(point);
            if (!m_bClickedOnMenu)
                return FALSE;
        } else {
            m_bClickedOnMenu = TRUE;
        }
    }
    if (!m_bClickedOnMenu && IsOrdinaryCommand(m_nID) && !m_bDrawDownArrow && !m_bMenuOnly)
        return FALSE;

    auto* pMenuBar = DYNAMIC_DOWNCAST(CQMXPMenuBar, m_pWndParent);
    if (m_pPopupMenu != nullptr) {
        m_pPopupMenu->GetMenuBar()->m_bIsClickOutsideItem = FALSE;
        m_pPopupMenu->bDestroying = TRUE;
        m_pPopupMenu->SendMessage(WM_CLOSE);
        m_pPopupMenu = nullptr;
        if (pMenuBar != nullptr)
            pMenuBar->SetDroppedButton(nullptr);
    } else {
        auto* pParentMenu = DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, m_pWndParent);
        if (bDelay && pParentMenu != nullptr && !CQMXPToolBar::m_bCustomizeMode) {
            pParentMenu->SetDelayedOpen(this);
        } else {
            if (pMenuBar != nullptr) {
                CQMXPToolbarButton* pOpen = pMenuBar->FindOpenMenuButton();
                if (pOpen != nullptr && pOpen != this)
                    pOpen->OnCancelMode();
            }
            if (!OpenPopupMenu(pWnd))
                return FALSE;
            if (pMenuBar != nullptr)
                pMenuBar->SetDroppedButton(this);
        }
    }
    if (m_pWndParent != nullptr && m_pWndParent->GetSafeHwnd() != nullptr) {
        CRect rect = m_rect;
        rect.InflateRect(kInvalidateMargin, kInvalidateMargin);
        m_pWndParent->InvalidateRect(&rect);
    }
    return TRUE;
}

BOOL CQMXPToolbarMenuButton::OnClickImmediate(CWnd* pWnd) { return OnClick(pWnd, FALSE); }

BOOL CQMXPToolbarMenuButton::OpenPopupMenu(CWnd* pWnd) {
    if (m_pPopupMenu != nullptr)
        return FALSE;
    if (pWnd == nullptr)
        pWnd = m_pWndParent;
    if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr)
        return FALSE;

    CRect rect = m_rect;
    int x = 0;
    int y = 0;
    int nDirection = QMXP_DROP_DOWN;
    auto* pParentMenu = DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, m_pWndParent);
    auto* pMenuBar = DYNAMIC_DOWNCAST(CQMXPMenuBar, m_pWndParent);
    if (pParentMenu != nullptr) {
        pWnd->ClientToScreen(&rect);
        CRect rectWindow;
        pParentMenu->GetWindowRect(&rectWindow);
        x = rectWindow.right + 1;
        y = rect.top - 2;
        nDirection = QMXP_DROP_RIGHT;
    } else if (pMenuBar != nullptr && !pMenuBar->IsHorizontal()) {
        pWnd->ClientToScreen(&rect);
        x = rect.right + 1;
        y = rect.top;
        nDirection = QMXP_DROP_RIGHT;
    } else {
        pWnd->ClientToScreen(&rect);
        x = rect.left;
        y = rect.bottom - 1;
    }

    HMENU hMenu = CreateMenuHandle();
    if (hMenu == nullptr && !IsEmptyMenuAllowed())
        return FALSE;
    CQMXPPopupMenu* pPopup = MakePopupMenu();
    if (pPopup == nullptr) {
        if (hMenu != nullptr)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    if (pPopup->GetMenuItemCount() > 0 && hMenu != nullptr) {
        // A popup that fills itself needs no menu.
        ::DestroyMenu(hMenu);
        hMenu = nullptr;
    }
    m_pPopupMenu = pPopup;
    pPopup->pParentBtn = this;
    pPopup->dropDirection = nDirection;
    if (!pPopup->Create(pWnd, x, y, hMenu)) {
        // The popup has deleted itself; the menu made for it is still ours.
        m_pPopupMenu = nullptr;
        if (hMenu != nullptr)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    if (m_pPopupMenu == nullptr)
        return FALSE;  // the frame refused it
    if (m_pWndMessage != nullptr) {
        m_pPopupMenu->pMessageWnd = m_pWndMessage;
    } else {
        for (CWnd* pAbove = pWnd; pAbove != nullptr; pAbove = pAbove->GetParent()) {
            if (auto* pHolder = DYNAMIC_DOWNCAST(CQMXPPopupMenu, pAbove)) {
                m_pPopupMenu->pMessageWnd = pHolder->pMessageWnd;
                break;
            }
        }
    }
    return TRUE;
}

void CQMXPToolbarMenuButton::OnCancelMode() {
    CQMXPPopupMenu* pPopup = m_pPopupMenu;
    if (pPopup != nullptr && ::IsWindow(pPopup->GetSafeHwnd()) && !pPopup->IsBarKeepOpen()) {
        pPopup->CancelItemModes();
        pPopup->bCloseParentChain = FALSE;
        pPopup->bDestroying = TRUE;
        pPopup->GetMenuBar()->m_bIsClickOutsideItem = FALSE;
        pPopup->SendMessage(WM_CLOSE);
    }
    m_pPopupMenu = nullptr;
    if (m_pWndParent != nullptr && ::IsWindow(m_pWndParent->GetSafeHwnd())) {
        CRect rect = m_rect;
        rect.InflateRect(kInvalidateMargin, kInvalidateMargin);
        m_pWndParent->InvalidateRect(&rect);
        m_pWndParent->UpdateWindow();
    }
    m_bToBeClosed = FALSE;
}

BOOL CQMXPToolbarMenuButton::ClosePopup() {
    if (m_pPopupMenu != nullptr)
        m_pPopupMenu->CancelItemModes();
    return TRUE;
}

void CQMXPToolbarMenuButton::CloseMenuChain() {
    CWnd* pWnd = m_pWndParent;
    CQMXPPopupMenu* pTop = nullptr;
    for (CWnd* pAbove = pWnd != nullptr ? pWnd->GetParent() : nullptr; pAbove != nullptr;) {
        auto* pPopup = DYNAMIC_DOWNCAST(CQMXPPopupMenu, pAbove);
        if (pPopup == nullptr)
            break;
        pTop = pPopup;
        CQMXPPopupMenu* pParent = pPopup->GetParentPopup();
        pAbove = pParent;
    }
    if (pTop != nullptr)
        pTop->CloseMenu();
}

BOOL CQMXPToolbarMenuButton::IsDroppedDown() const {
    return m_pPopupMenu != nullptr && ::IsWindow(m_pPopupMenu->GetSafeHwnd());
}

void CQMXPToolbarMenuButton::ResetToDefault() {
    CQMXPToolbarButton::ResetToDefault();
    for (POSITION pos = m_listCommands.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPToolbarMenuButton*>(m_listCommands.GetNext(pos))->ResetToDefault();
}

BOOL CQMXPToolbarMenuButton::CompareWith(const CQMXPToolbarButton& other) const {
    if (m_nID != other.m_nID)
        return FALSE;
    const auto* pOther = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, const_cast<CQMXPToolbarButton*>(&other));
    if (pOther == nullptr)
        return m_listCommands.IsEmpty();
    if (m_listCommands.GetCount() != pOther->m_listCommands.GetCount())
        return FALSE;
    POSITION posOther = pOther->m_listCommands.GetHeadPosition();
    for (POSITION pos = m_listCommands.GetHeadPosition(); pos != nullptr;) {
        const auto* pItem = static_cast<const CQMXPToolbarMenuButton*>(m_listCommands.GetNext(pos));
        const auto* pOtherItem = static_cast<const CQMXPToolbarMenuButton*>(pOther->m_listCommands.GetNext(posOther));
        if (!pItem->CompareWith(*pOtherItem))
            return FALSE;
    }
    return TRUE;
}

void CQMXPToolbarMenuButton::SetRadio() {
    m_bIsRadio = TRUE;
    if (m_pWndParent == nullptr || m_pWndParent->GetSafeHwnd() == nullptr)
        return;
    const int nMargin = CQMXPVisualManager::GetInstance()->GetMenuImageMargin();
    CRect rectImage(m_rect.left + nMargin, m_rect.top,
                    m_rect.left + 2 * nMargin + CQMXPToolBar::GetMenuImageSize().cx, m_rect.bottom);
    m_pWndParent->InvalidateRect(&rectImage);
    m_pWndParent->UpdateWindow();
}

CSize CQMXPToolbarMenuButton::GetSeparatorInsets() {
    return CSize(CQMXPToolBar::GetMenuImageSize().cx / 2 + 3, CQMXPMenuGlyphs::GetSize().cx);
}

BOOL CQMXPToolbarMenuButton::IsCommandWithoutImage(UINT uiCmd) {
    return QMXTheCommandManager()->IsCommandWithoutImage(uiCmd);
}
