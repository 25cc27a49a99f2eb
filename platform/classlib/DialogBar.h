#pragma once
// CDialogBar: a control bar made from a dialog template (the print
// preview's button bar). Its controls' commands go to the frame, and their
// states are brought up to date through CCmdUI at idle time.
#include "platform/classlib/ControlBar.h"

class CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)
public:
    CDialogBar();

    // nStyle: the CBRS_ side and borders; the template must make a child window.
    BOOL Create(CWnd* pParentWnd, LPCWSTR lpszTemplateName, UINT nStyle, UINT nID);
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID) {
        return Create(pParentWnd, MAKEINTRESOURCEW(nIDTemplate), nStyle, nID);
    }

    // The size of the template's window; the bar's thickness.
    CSize m_sizeDefault;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
};
