#include "DocTestSupport.h"

#include "platform/classlib/Archive.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/File.h"
#include "platform/classlib/CommandLineInfo.h"

namespace doc_test {

std::vector<std::wstring>& Log() {
    static std::vector<std::wstring> s_log;
    return s_log;
}

IMPLEMENT_DYNCREATE(CDocTestDoc, COleServerDoc)
IMPLEMENT_DYNCREATE(CDocTestView, CView)
IMPLEMENT_DYNCREATE(CDocTestChild, CMDIChildWnd)
IMPLEMENT_DYNCREATE(CDocTestMainFrame, CMDIFrameWnd)

int CDocTestDoc::s_nLive = 0;
BOOL CDocTestDoc::s_bFailLoad = FALSE;
int CDocTestItem::s_nLive = 0;
int CDocTestView::s_nLive = 0;
int CDocTestChild::s_nLive = 0;
int CDocTestMainFrame::s_nLive = 0;

void CDocTestDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_strText;
    } else {
        ar >> m_strText;
        if (s_bFailLoad)
            AfxThrowArchiveException(CArchiveException::badSchema);
    }
}

BOOL CDocTestDoc::OnNewDocument() {
    if (!COleServerDoc::OnNewDocument())
        return FALSE;
    Log().push_back(L"new:" + std::wstring(GetTitle()));
    return TRUE;
}

COleServerItem* CDocTestDoc::OnGetEmbeddedItem() { return new CDocTestItem(this); }

BEGIN_MESSAGE_MAP(CDocTestView, CView)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, OnPrintDirect)
END_MESSAGE_MAP()

void CDocTestView::OnPrintDirect() {
    std::wstring entry = L"print:";
    if (CDocument* pDoc = GetDocument())
        entry += pDoc->GetTitle();
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pCmdInfo != nullptr) {
        const CCommandLineInfo* pInfo = pApp->m_pCmdInfo;
        if (pInfo->m_nShellCommand == CCommandLineInfo::FilePrintTo)
            entry += L" to " + std::wstring(pInfo->m_strPrinterName) + L"," + std::wstring(pInfo->m_strDriverName) +
                     L"," + std::wstring(pInfo->m_strPortName);
    } else {
        entry += L" without command line";
    }
    Log().push_back(entry);
}

const wchar_t CDocTestApp::kRegistryKey[] = L"Kestrel Works DocTests";

BEGIN_MESSAGE_MAP(CDocTestApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
END_MESSAGE_MAP()

CDocTestApp::CDocTestApp() : CWinApp(L"DocTestApp") {
    m_pszExeName = ::_wcsdup(L"DocTestApp");
}

BOOL CDocTestApp::StartUp() {
    SetRegistryKey(kRegistryKey);
    LoadStdProfileSettings(4);
    auto* pFrame = new CDocTestMainFrame;
    if (!pFrame->LoadFrame(IDR_DOCTEST_MAIN))
        return FALSE;
    m_pMainWnd = pFrame;
    m_pReportTemplate = new CMultiDocTemplate(IDR_DOCTEST_REPORT, RUNTIME_CLASS(CDocTestDoc),
                                              RUNTIME_CLASS(CDocTestChild), RUNTIME_CLASS(CDocTestView));
    AddDocTemplate(m_pReportTemplate);
    m_pTemplateTemplate = new CMultiDocTemplate(IDR_DOCTEST_TEMPLATE, RUNTIME_CLASS(CDocTestDoc),
                                                RUNTIME_CLASS(CDocTestChild), RUNTIME_CLASS(CDocTestView));
    AddDocTemplate(m_pTemplateTemplate);
    EnableShellOpen();
    pFrame->ShowWindow(SW_SHOWNORMAL);
    pFrame->UpdateWindow();
    return TRUE;
}

void CDocTestApp::ShutDown() {
    if (m_pMainWnd != nullptr && m_pMainWnd->m_hWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
    classlib_test::DrainMessages();
    ExitDocuments();
}

int CDocTestApp::DoMessageBox(LPCWSTR lpszPrompt, UINT, UINT) {
    m_prompts.push_back(lpszPrompt);
    return m_nAnswer;
}

int LiveObjects() {
    return CDocTestDoc::s_nLive + CDocTestItem::s_nLive + CDocTestView::s_nLive + CDocTestChild::s_nLive +
           CDocTestMainFrame::s_nLive;
}

CString TestPath(LPCWSTR lpszName, BOOL bCreate) {
    wchar_t szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    CString strFolder = CString(szTemp) + L"classlib_doc_tests";
    ::CreateDirectoryW(strFolder, nullptr);
    CString strPath = strFolder + L"\\" + lpszName;
    if (bCreate) {
        HANDLE h = ::CreateFileW(strPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
    }
    return strPath;
}

void WriteDocFile(LPCWSTR lpszPath, LPCWSTR lpszText) {
    CFile file(lpszPath, CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    ar << CString(lpszText);
    ar.Close();
    file.Close();
}

}  // namespace doc_test
