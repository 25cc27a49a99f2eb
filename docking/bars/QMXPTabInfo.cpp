#include "docking/bars/QMXPTabInfo.h"

#include "platform/classlib/Wnd.h"

IMPLEMENT_DYNAMIC(CQMXPTabInfo, CObject)

CQMXPTabInfo::CQMXPTabInfo(const CString& strText, UINT uiIcon, CWnd* pWnd, int iTabID, BOOL bDetachable)
    : m_strText(strText),
      m_uiIcon(uiIcon),
      m_hIcon(nullptr),
      m_rect(0, 0, 0, 0),
      m_bVisible(TRUE),
      m_pWnd(pWnd),
      m_bIsListView(FALSE),
      m_nFullWidth(0),
      m_iTabID(iTabID),
      m_clrText(static_cast<COLORREF>(-1)),
      m_clrBack(static_cast<COLORREF>(-1)),
      m_bIsDetachable(bDetachable) {
    if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr) {
        wchar_t szClass[256] = {};
        ::GetClassNameW(pWnd->m_hWnd, szClass, 255);
        m_bIsListView = ::lstrcmpW(szClass, L"SysListView32") == 0;
    }
}

CQMXPTabInfo::~CQMXPTabInfo() { SetIcon(nullptr); }

void CQMXPTabInfo::SetIcon(HICON hIcon) {
    if (m_hIcon != nullptr)
        ::DestroyIcon(m_hIcon);
    m_hIcon = hIcon != nullptr ? ::CopyIcon(hIcon) : nullptr;
}
