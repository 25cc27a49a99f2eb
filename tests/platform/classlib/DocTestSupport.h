#pragma once
// The test application of the document tests: an MDI main frame, two
// multi-document templates over one OLE server document class, a view that
// records the print commands, and an application whose message boxes
// answer as the test says. Every object counts its live instances.
#include "DocTestResources.h"
#include "TestSupport.h"

#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/MDIChildWnd.h"
#include "platform/classlib/MDIFrameWnd.h"
#include "platform/classlib/OleServerItem.h"
#include "platform/classlib/View.h"
#include "platform/classlib/WinApp.h"

#include <string>
#include <vector>

namespace doc_test {

// What the application, documents and views were asked, in order.
std::vector<std::wstring>& Log();

class CDocTestDoc : public COleServerDoc {
    DECLARE_DYNCREATE(CDocTestDoc)
public:
    CDocTestDoc() { ++s_nLive; }
    ~CDocTestDoc() override { --s_nLive; }

    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;
    void DeleteContents() override { m_strText.Empty(); }

    CString m_strText;
    // A load that fails in the middle.
    static BOOL s_bFailLoad;
    static int s_nLive;

protected:
    COleServerItem* OnGetEmbeddedItem() override;
};

class CDocTestItem : public COleServerItem {
public:
    explicit CDocTestItem(CDocTestDoc* pDoc, BOOL bAutoDelete = FALSE) : COleServerItem(pDoc, bAutoDelete) {
        ++s_nLive;
    }
    ~CDocTestItem() override { --s_nLive; }
    BOOL OnDraw(CDC*, CSize&) override { return TRUE; }
    static int s_nLive;
};

class CDocTestView : public CView {
    DECLARE_DYNCREATE(CDocTestView)
public:
    CDocTestView() { ++s_nLive; }
    ~CDocTestView() override { --s_nLive; }
    void OnDraw(CDC*) override {}
    static int s_nLive;

protected:
    // Records the direct print with the command line the application carries out.
    afx_msg void OnPrintDirect();
    DECLARE_MESSAGE_MAP()
};

class CDocTestChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(CDocTestChild)
public:
    CDocTestChild() { ++s_nLive; }
    ~CDocTestChild() override { --s_nLive; }
    static int s_nLive;
};

// The library's MDI frame, which also answers the shell's DDE conversation.
class CDocTestMainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CDocTestMainFrame)
public:
    CDocTestMainFrame() { ++s_nLive; }
    ~CDocTestMainFrame() override { --s_nLive; }
    static int s_nLive;
};

class CDocTestApp : public CWinApp {
public:
    CDocTestApp();
    // Settings under HKEY_CURRENT_USER\Software\<kRegistryKey>\DocTestApp.
    static const wchar_t kRegistryKey[];

    // The main frame, 4 recent files, the two templates, the shell's DDE.
    BOOL StartUp();
    // Closes the main frame as the user would and lets the messages run.
    void ShutDown();

    int DoMessageBox(LPCWSTR lpszPrompt, UINT nType, UINT nIDPrompt) override;
    // The answer of the next message boxes.
    int m_nAnswer = IDOK;
    std::vector<std::wstring> m_prompts;

    CMultiDocTemplate* m_pReportTemplate = nullptr;
    CMultiDocTemplate* m_pTemplateTemplate = nullptr;

protected:
    DECLARE_MESSAGE_MAP()
};

// Live objects of all the test classes together.
int LiveObjects();
// A file of the test folder under the temporary folder (created empty when bCreate).
CString TestPath(LPCWSTR lpszName, BOOL bCreate = FALSE);
// Writes a document file as CDocTestDoc stores it.
void WriteDocFile(LPCWSTR lpszPath, LPCWSTR lpszText);

}  // namespace doc_test
