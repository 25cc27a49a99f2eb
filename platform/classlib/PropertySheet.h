#pragma once
// CPropertySheet: the pages in a tabbed dialog. DoModal runs the sheet as a
// modeless system sheet inside the library's modal loop and answers the button
// that closed it (IDOK, IDCANCEL or ID_WIZFINISH). Pages are made when first
// shown, so OK and Apply reach only pages that exist.
#include "platform/classlib/PropertyPage.h"

#include <vector>

#ifndef ID_WIZFINISH
#define ID_WIZFINISH 0x3025
#endif

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCWSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    PROPSHEETHEADERW m_psh;

    // The sheet does not own its pages.
    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }
    void SetTitle(LPCWSTR lpszText, UINT nStyle = 0);
    void SetWizardMode() { m_psh.dwFlags |= PSH_WIZARD; }
    void SetWizardButtons(DWORD dwFlags) { ::PostMessageW(m_hWnd, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(dwFlags)); }
    BOOL PressButton(int nButton) {
        return static_cast<BOOL>(::SendMessageW(m_hWnd, PSM_PRESSBUTTON, static_cast<WPARAM>(nButton), 0));
    }

    virtual INT_PTR DoModal();
    // The sheet as a modeless window: of the given style (a child control with
    // WS_CHILD), or with -1 a window beside its parent in the system's own
    // style that stays until it is destroyed (its close buttons only mark it
    // done); FALSE when it cannot be made, PostNcDestroy called as CWnd's
    // creations do.
    virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);
    // The sheet's tab control (PSM_GETTABCONTROL).
    HWND GetTabControl() const { return reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0)); }
    void EndDialog(int nEndID);
    virtual BOOL OnInitDialog();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL ContinueModal() override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT HandlePressButton(WPARAM wParam, LPARAM lParam);

    std::vector<CPropertyPage*> m_pages;
    CString m_strCaption;
    CWnd* m_pParentWnd;
    HWND m_hWndTop;

    DECLARE_MESSAGE_MAP()

private:
    void CommonConstruct(CWnd* pParentWnd, UINT iSelectPage);
    static HPROPSHEETPAGE CreatePageHandle(CPropertyPage* pPage);
    // The system's header for the pages (their handles made into pages), modeless.
    PROPSHEETHEADERW MakeHeader(std::vector<HPROPSHEETPAGE>& pages, HWND hWndParent, PFNPROPSHEETCALLBACK pfnCallback,
                                DWORD dwFlags);
};
