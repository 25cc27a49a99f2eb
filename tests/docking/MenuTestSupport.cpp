#include "MenuTestSupport.h"

#include "docking/toolbars/QMXPMenuSound.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"

namespace docking_test {

IMPLEMENT_DYNCREATE(CMenuTestFrame, CDockTestMDIFrame)

BEGIN_MESSAGE_MAP(CMenuTestFrame, CDockTestMDIFrame)
    ON_COMMAND_RANGE(ID_MENUTEST_FIRST, ID_MENUTEST_LAST, OnMenuCommand)
    ON_REGISTERED_MESSAGE(QMXTOOLBAR_RESETMENU, OnResetMenu)
    ON_REGISTERED_MESSAGE(QMXTOOLBAR_POPUPMENU, OnToolBarContextMenu)
END_MESSAGE_MAP()

LRESULT CMenuTestFrame::OnToolBarContextMenu(WPARAM, LPARAM lParam) {
    HMENU hMenu = MakeMenu({{30010, L"Main Toolbar"},
                            {30011, L"Edit Tree Toolbar"},
                            {30012, L"Format Text Toolbar"},
                            {0, nullptr},
                            {ID_MENUTEST_CUSTOMIZE, L"&Customize..."}});
    auto* pPopup = new CQMXPPopupMenu;
    // A popup that cannot be made has deleted itself and left the menu here.
    if (!pPopup->Create(this, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), hMenu))
        ::DestroyMenu(hMenu);
    return 0;
}

CRect MenuTest::s_rectWork;

HMENU MakeMenu(const std::vector<MenuItem>& items) {
    HMENU hMenu = ::CreatePopupMenu();
    for (const MenuItem& item : items) {
        if (!item.sub.empty())
            ::AppendMenuW(hMenu, MF_POPUP | item.flags, reinterpret_cast<UINT_PTR>(MakeMenu(item.sub)), item.text);
        else if (item.id == 0)
            ::AppendMenuW(hMenu, MF_SEPARATOR | item.flags, 0, nullptr);
        else
            ::AppendMenuW(hMenu, MF_STRING | item.flags, item.id, item.text);
    }
    return hMenu;
}

std::vector<UINT> LoggedCommands() {
    std::vector<UINT> commands;
    for (const std::wstring& entry : Log()) {
        if (entry.rfind(L"cmd:", 0) == 0)
            commands.push_back(static_cast<UINT>(std::stoul(entry.substr(4))));
    }
    return commands;
}

void PumpFor(DWORD dwMilliseconds) {
    const DWORD dwStart = ::GetTickCount();
    for (DWORD dwElapsed = 0; dwElapsed < dwMilliseconds; dwElapsed = ::GetTickCount() - dwStart) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, dwMilliseconds - dwElapsed, QS_ALLINPUT);
        Pump();
    }
}

void MenuTest::SetUp() {
    m_nSavedAnimation = CQMXPPopupMenu::animationType;
    m_bSavedShadows = CQMXPPopupMenu::bMenuShadows;
    m_bSavedSounds = qmxMenuSoundsEnabled;
    CQMXPPopupMenu::animationType = QMXP_ANIMATION_NONE;
    // Sounds would start the sound thread that its own test starts.
    qmxMenuSoundsEnabled = FALSE;
    DockLayoutTest::SetUp();
}

void MenuTest::TearDown() {
    CloseAllPopups();
    CQMXPPopupMenu::pfnWorkAreaAt = nullptr;
    DockLayoutTest::TearDown();
    CQMXPPopupMenu::animationType = m_nSavedAnimation;
    CQMXPPopupMenu::bMenuShadows = m_bSavedShadows;
    qmxMenuSoundsEnabled = m_bSavedSounds;
}

std::vector<std::wstring> ItemTexts(CQMXPPopupMenu* pPopup) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < pPopup->GetMenuItemCount(); ++i) {
        const CQMXPToolbarButton* pItem = pPopup->GetMenuItem(i);
        texts.push_back((pItem->m_nStyle & TBBS_SEPARATOR) ? L"-" : std::wstring(pItem->m_strText));
    }
    return texts;
}

CQMXPPopupMenu* MenuTest::OpenPopup(HMENU hMenu, CPoint point) {
    auto* pPopup = new CQMXPPopupMenu;
    if (!pPopup->Create(m_pFrame, point.x, point.y, hMenu))
        return nullptr;
    return pPopup;
}

std::vector<CQMXPPopupMenu*> MenuTest::OpenPopups() {
    std::vector<CQMXPPopupMenu*> popups;
    for (CQMXPPopupMenu* pPopup = CQMXPPopupMenu::GetActiveMenu(); pPopup != nullptr; pPopup = pPopup->GetParentPopup())
        popups.push_back(pPopup);
    return popups;
}

void MenuTest::CloseAllPopups() {
    for (int n = 0; n < 8 && CQMXPPopupMenu::GetActiveMenu() != nullptr; ++n)
        CQMXPPopupMenu::GetActiveMenu()->SendMessage(WM_CLOSE);
    Pump();
}

CRect MenuTest::MenuRect(CQMXPPopupMenu* pPopup) {
    CRect rect;
    pPopup->GetWindowRect(&rect);
    return CRect(rect.TopLeft(), pPopup->sizeFinal);
}

void MenuTest::PlaceFrame(const CRect& rect) {
    m_pFrame->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    m_pFrame->RecalcLayout();
    Pump();
}

}  // namespace docking_test
