#pragma once
// Documents, views, bars and frames of the frame, view and printing tests:
// each records what the library asked of it.
#include "FrameTestResources.h"
#include "TestSupport.h"

#include "platform/classlib/CmdUI.h"
#include "platform/classlib/ControlBar.h"
#include "platform/classlib/CreateContext.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/PrintDialog.h"
#include "platform/classlib/PrintInfo.h"
#include "platform/classlib/View.h"

#include <string>
#include <vector>

namespace frame_test {

// What the commands, prints and closes did, in order.
inline std::vector<std::wstring>& Log() {
    static std::vector<std::wstring> s_log;
    return s_log;
}
inline void Record(const std::wstring& entry) { Log().push_back(entry); }
inline std::wstring Joined() {
    std::wstring all;
    for (const auto& entry : Log())
        all += (all.empty() ? L"" : L" ") + entry;
    return all;
}

// The application of these tests: a message box is logged instead of shown.
class CFrameTestApp : public classlib_test::CTestApp {
public:
    int DoMessageBox(LPCWSTR lpszPrompt, UINT, UINT) override {
        Record(std::wstring(L"msgbox:") + lpszPrompt);
        return IDOK;
    }
};

class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
public:
    CTestDoc() { ++s_nLive; }
    ~CTestDoc() override { --s_nLive; }
    // Stands in for the save question: what the user would answer.
    BOOL SaveModified() override {
        Record(L"doc:save?");
        return s_bAllowClose;
    }
    void Serialize(CArchive&) override {}
    static int s_nLive;
    static BOOL s_bAllowClose;

protected:
    afx_msg void OnDocOnly() { Record(L"doc:DOCONLY"); }
    afx_msg void OnThing() { Record(L"doc:THING"); }
    DECLARE_MESSAGE_MAP()
};

// A view whose pages are numbered rectangles; it logs its printing steps.
class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
public:
    CTestView() { ++s_nLive; }
    ~CTestView() override { --s_nLive; }

    void OnDraw(CDC* pDC) override {
        // Every page is black where the view may draw.
        if (m_pLastInfo != nullptr) {
            CBrush brush;
            brush.CreateSolidBrush(RGB(0, 0, 0));
            pDC->FillRect(&m_pLastInfo->m_rectDraw, &brush);
        }
    }
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override {
        Record(pInfo->m_bPreview ? L"prepare:preview" : (pInfo->m_bDirect ? L"prepare:direct" : L"prepare"));
        if (s_nPages != 0)
            pInfo->SetMaxPage(s_nPages);
        // The frame closed meanwhile, as from a message loop the preparing runs.
        if (s_bCloseWhilePreparing && GetParentFrame() != nullptr)
            GetParentFrame()->SendMessage(WM_CLOSE);
        // Without a printer the preview draws through a screen context.
        if (pInfo->m_bPreview && s_bScreenPreview) {
            pInfo->m_pPD->m_pd.hDC = ::CreateCompatibleDC(nullptr);
            return TRUE;
        }
        return DoPreparePrinting(pInfo);
    }
    void OnBeginPrinting(CDC*, CPrintInfo*) override { Record(L"begin"); }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override {
        Record((pInfo->m_bPreview ? L"preview:" : L"print:") + std::to_wstring(pInfo->m_nCurPage));
        m_pLastInfo = pInfo;
        OnDraw(pDC);
        m_pLastInfo = nullptr;
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { Record(L"end"); }
    void OnInitialUpdate() override {
        Record(L"view:initial");
        CView::OnInitialUpdate();
    }

    static int s_nLive;
    // Pages of the job (0: the length is not known in advance).
    static UINT s_nPages;
    static BOOL s_bScreenPreview;
    static BOOL s_bCloseWhilePreparing;

protected:
    afx_msg void OnViewOnly() { Record(L"view:VIEWONLY"); }
    afx_msg void OnUpdateViewOnly(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    CPrintInfo* m_pLastInfo = nullptr;
    DECLARE_MESSAGE_MAP()
};

// A bar of a fixed thickness on the side of its style.
class CTestBar : public CControlBar {
public:
    explicit CTestBar(int nThickness) : m_nThickness(nThickness) {}
    BOOL Create(CWnd* pParent, DWORD dwBarStyle, UINT nID) {
        m_dwStyle = dwBarStyle;
        return CWnd::Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pParent, nID);
    }
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override {
        ++m_nLayouts;
        if (m_pNested != nullptr)
            m_pNested->RecalcLayout();  // a bar that asks for a layout while one runs
        return bHorz ? CSize(32767, m_nThickness) : CSize(m_nThickness, 32767);
    }
    CRect RectInParent() const { return classlib_test::RectInParent(m_hWnd); }
    int m_nThickness;
    int m_nLayouts = 0;
    CFrameWnd* m_pNested = nullptr;
};

// A window standing in for a status bar: keeps the prompts it is given.
class CTestMessageBar : public CWnd {
public:
    BOOL Create(CWnd* pParent) {
        return CWnd::Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), pParent, AFX_IDW_STATUS_BAR);
    }
    CString Text() const {
        CString text;
        GetWindowText(text);
        return text;
    }
};

class CTestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CTestFrame)
public:
    CTestFrame() { ++s_nLive; }
    ~CTestFrame() override { --s_nLive; }
    static int s_nLive;

protected:
    afx_msg void OnFrameOnly() { Record(L"frame:FRAMEONLY"); }
    afx_msg void OnAccel() { Record(L"frame:ACCEL"); }
    afx_msg void OnThing() { Record(L"frame:THING"); }
    DECLARE_MESSAGE_MAP()
};

using classlib_test::RectInParent;

// The windows of the calling thread, children included.
inline BOOL CALLBACK CountChildWindow(HWND, LPARAM lParam) {
    ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}
inline BOOL CALLBACK CountThreadWindow(HWND hWnd, LPARAM lParam) {
    ++*reinterpret_cast<int*>(lParam);
    ::EnumChildWindows(hWnd, CountChildWindow, lParam);
    return TRUE;
}
inline int CountThreadWindows() {
    int nCount = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountThreadWindow, reinterpret_cast<LPARAM>(&nCount));
    return nCount;
}

// A hidden frame with a view of CTestView on a new document (not owned by a template).
inline CTestFrame* MakeFrameWithView(CTestDoc* pDoc, DWORD dwStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE) {
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CTestView);
    context.m_pCurrentDoc = pDoc;
    auto* pFrame = new CTestFrame;
    if (!pFrame->Create(nullptr, L"Test Frame", dwStyle, CRect(0, 0, 400, 300), nullptr, nullptr, 0, &context))
        return nullptr;
    pFrame->InitialUpdateFrame(pDoc, FALSE);
    return pFrame;
}

}  // namespace frame_test
