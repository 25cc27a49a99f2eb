#pragma once
// CPrintDialog: the common print (or print setup) dialog over PRINTDLG, with
// the printer's names and device mode taken from its global handles.
#include "platform/classlib/Dialog.h"

#include <commdlg.h>

class CDC;

class CPrintDialog : public CDialog {
    DECLARE_DYNAMIC(CPrintDialog)
public:
    // bPrintSetupOnly: the setup dialog (PD_PRINTSETUP) instead of the print dialog.
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                          PD_NOSELECTION,
                          CWnd* pParentWnd = nullptr);
    // Frees the printer DC when PD_RETURNDC left one; hDevMode and hDevNames
    // belong to whoever put them in m_pd (the application's are not freed).
    ~CPrintDialog() override;

    PRINTDLGW m_pd;

    // IDOK or IDCANCEL (also on failure; CommDlgExtendedError tells).
    INT_PTR DoModal() override;
    // The default printer's names and mode into m_pd without showing anything;
    // FALSE when there is no printer.
    BOOL GetDefaults();
    // A DC for the printer of m_pd's names and mode, also stored in m_pd.hDC.
    HDC CreatePrinterDC();
    // m_pd.hDC when it exists, else the dialog's DC (PD_RETURNDC) as m_pd has it.
    HDC GetPrinterDC() const;

    CString GetDeviceName() const;
    CString GetDriverName() const;
    CString GetPortName() const;
    // Locked for the caller's use while the handle lives; null without one.
    LPDEVMODEW GetDevMode() const;
    BOOL PrintAll() const { return (m_pd.Flags & (PD_PAGENUMS | PD_SELECTION)) == 0; }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    int GetCopies() const;
    int GetFromPage() const { return m_pd.nFromPage; }
    int GetToPage() const { return m_pd.nToPage; }

    // A DC for names and a mode held in DEVNAMES/DEVMODE global handles; null on failure.
    static HDC CreatePrinterDC(HGLOBAL hDevNames, HGLOBAL hDevMode);
    // A DC for the printer of the driver (may be empty) and device names, on
    // the paper and in the orientation of the mode in hDevMode (may be null):
    // the whole mode when it is that printer's own, else only those fields,
    // the printer's own defaults giving the rest. Null when there is no such
    // printer.
    static HDC CreateNamedPrinterDC(LPCWSTR lpszDriver, LPCWSTR lpszDevice, HGLOBAL hDevMode);

private:
    CString DevNamesField(int nField) const;
};
