#include "platform/classlib/CommandLineInfo.h"

CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE), m_nShellCommand(FileNew) {}

void CCommandLineInfo::ParseParam(LPCWSTR pszParam, BOOL bFlag, BOOL bLast) {
    if (bFlag)
        ParseParamFlag(pszParam);
    else
        ParseParamNotFlag(pszParam);
    ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(LPCWSTR pszParam) {
    CString strParam(pszParam);
    if (strParam.CompareNoCase(L"pt") == 0) {
        m_nShellCommand = FilePrintTo;
    } else if (strParam.CompareNoCase(L"p") == 0) {
        m_nShellCommand = FilePrint;
    } else if (strParam.CompareNoCase(L"Unregister") == 0 || strParam.CompareNoCase(L"Unregserver") == 0) {
        m_nShellCommand = AppUnregister;
    } else if (strParam.CompareNoCase(L"Register") == 0 || strParam.CompareNoCase(L"Regserver") == 0) {
        m_nShellCommand = AppRegister;
    } else if (strParam.CompareNoCase(L"dde") == 0) {
        m_nShellCommand = FileDDE;
    } else if (strParam.CompareNoCase(L"Embedding") == 0) {
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    } else if (strParam.CompareNoCase(L"Automation") == 0) {
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    }
}

void CCommandLineInfo::ParseParamNotFlag(LPCWSTR pszParam) {
    if (m_strFileName.IsEmpty())
        m_strFileName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty())
        m_strPrinterName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strDriverName.IsEmpty())
        m_strDriverName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPortName.IsEmpty())
        m_strPortName = pszParam;
}

void CCommandLineInfo::ParseLast(BOOL bLast) {
    if (!bLast)
        return;
    if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
        m_nShellCommand = FileOpen;
    m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
}
