#pragma once
// CPropertyPage: one page of a property sheet. Its dialog is made by the
// sheet the first time the page is shown; the sheet's notifications reach the
// overridables below.
#include "platform/classlib/Dialog.h"
#include "platform/classlib/String.h"

#include <commctrl.h>

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    // dwSize is the size of the page record handed to the system (older
    // record layouts are shorter).
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0, DWORD dwSize = sizeof(PROPSHEETPAGEW));
    explicit CPropertyPage(LPCWSTR lpszTemplateName, UINT nIDCaption = 0, DWORD dwSize = sizeof(PROPSHEETPAGEW));

    PROPSHEETPAGEW m_psp;

    // Enables (or disables) the sheet's Apply button for this page.
    void SetModified(BOOL bChanged = TRUE);
    void CancelToClose();

    // The page becomes current: the data goes to the controls again (not the first time).
    virtual BOOL OnSetActive();
    // The page stops being current: the controls' data is taken; FALSE keeps the page.
    virtual BOOL OnKillActive();
    // OK or Apply, for every page that has been created: calls OnOK.
    virtual BOOL OnApply();
    // Cancel, for every page that has been created: calls OnCancel.
    virtual void OnReset();
    void OnOK() override;
    void OnCancel() override;
    virtual BOOL OnQueryCancel();
    // Wizard pages: 0 goes on in order, -1 stays, else the template id of the page to go to.
    virtual LRESULT OnWizardBack();
    virtual LRESULT OnWizardNext();
    virtual BOOL OnWizardFinish();

    // Dialog keys are left to the sheet, which knows all the pages.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    BOOL m_bFirstSetActive;
    CString m_strCaption;

private:
    void CommonConstruct(LPCWSTR lpszTemplateName, UINT nIDCaption, DWORD dwSize);
};
