#include "platform/classlib/Menu.h"

#include "platform/classlib/HandleMap.h"
#include "platform/classlib/Wnd.h"
#include "platform/classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {
CObject* NewTempMenu(void* handle) {
    CMenu* p = new CMenu;
    p->m_hMenu = static_cast<HMENU>(handle);
    return p;
}

void DeleteTempMenu(CObject* pObject) {
    CMenu* p = static_cast<CMenu*>(pObject);
    p->m_hMenu = nullptr;
    delete p;
}
}  // namespace

CHandleMap* afxMapHMENU() {
    static CHandleMap* pMap = new CHandleMap(afxHandleMenu, NewTempMenu, DeleteTempMenu);
    return pMap;
}

CMenu::~CMenu() { DestroyMenu(); }

BOOL CMenu::LoadMenu(LPCWSTR lpszResourceName) {
    return Attach(::LoadMenuW(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CMenu::DestroyMenu() {
    if (m_hMenu == nullptr)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (hMenu == nullptr)
        return FALSE;
    m_hMenu = hMenu;
    afxMapHMENU()->SetPermanent(hMenu, this);
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU hMenu = m_hMenu;
    if (hMenu != nullptr)
        afxMapHMENU()->RemoveHandle(hMenu);
    m_hMenu = nullptr;
    return hMenu;
}

HMENU CMenu::GetSafeHmenu() const {
    const CMenu* p = this;
    __asm__("" : "+r"(p));  // `this` may be null; keep the test
    return p != nullptr ? p->m_hMenu : nullptr;
}

CMenu* CMenu::FromHandle(HMENU hMenu) { return static_cast<CMenu*>(afxMapHMENU()->FromHandle(hMenu)); }

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    int nLength = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (nLength <= 0) {
        rString.Empty();
        return 0;
    }
    nLength = ::GetMenuStringW(m_hMenu, nIDItem, rString.GetBuffer(nLength), nLength + 1, nFlags);
    rString.ReleaseBuffer(nLength);
    return nLength;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, CWnd::SafeHwndOf(pWnd), lpRect);
}
