#pragma once
// CPropertySheetCtrl: a property sheet that lives inside a dialog as a child
// control. Its tab control fills it and the pages fill the tab control; it
// lays them out again when it is sized or another tab is chosen.
#include "platform/classlib/PropertySheet.h"

class CPropertySheetCtrl : public CPropertySheet {
    DECLARE_DYNAMIC(CPropertySheetCtrl)
public:
    explicit CPropertySheetCtrl(LPCWSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The tab control over the whole client area, each page inside it.
    void LayoutControls();
    void SetAccelerators(HACCEL hAccel) { m_hAccel = hAccel; }

    HACCEL m_hAccel;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // A modeless sheet deletes itself with its window.
    void PostNcDestroy() override;
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};
