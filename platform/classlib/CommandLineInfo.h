#pragma once
// CCommandLineInfo: what the program was asked to do on its command line.
// Flags start with '/' or '-' and are compared without regard to case:
// "p" print, "pt" print to (the printer, driver and port follow the file
// name), "dde" wait for the shell's DDE command, "Register"/"Regserver",
// "Unregister"/"Unregserver", "Embedding", "Automation". The first other
// argument is the file; a file alone means open it.
#include "platform/classlib/Object.h"
#include "platform/classlib/String.h"

class CCommandLineInfo : public CObject {
public:
    CCommandLineInfo();

    // One argument, without its '/' or '-' when bFlag; bLast for the last one.
    virtual void ParseParam(LPCWSTR pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash;
    BOOL m_bRunEmbedded;
    BOOL m_bRunAutomated;
    enum {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppRegister,
        AppUnregister,
        FileNothing = -1,
    } m_nShellCommand;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

protected:
    void ParseParamFlag(LPCWSTR pszParam);
    void ParseParamNotFlag(LPCWSTR pszParam);
    void ParseLast(BOOL bLast);
};
