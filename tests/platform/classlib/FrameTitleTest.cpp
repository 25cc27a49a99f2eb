// Frame captions: the document's title with the window number when several
// frames show one document, in SDI and MDI frames.
#include "FrameTestSupport.h"

#include "platform/classlib/DocManager.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/MDIChildWnd.h"
#include "platform/classlib/MDIFrameWnd.h"

#include <gtest/gtest.h>

using namespace frame_test;
using classlib_test::DrainMessages;

namespace {

CString WindowText(HWND hWnd) {
    CString text;
    CWnd::FromHandle(hWnd)->GetWindowText(text);
    return text;
}

TEST(FrameTitleTest, CaptionJoinsTitleDocumentAndWindowNumber) {
    CFrameTestApp app;
    auto* pDoc = new CTestDoc;
    CTestFrame* pFrame = MakeFrameWithView(pDoc);
    ASSERT_NE(pFrame, nullptr);
    struct Case {
        const wchar_t* appTitle;
        bool bPrefix;
        const wchar_t* docName;
        int nWindow;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"App", true, L"Doc", 0, L"Doc - App"},
        {L"App", true, L"Doc", 2, L"Doc:2 - App"},
        {L"App", false, L"Doc", 1, L"App - Doc:1"},
        {L"App", true, nullptr, 3, L"App"},
        {L"App", true, L"", 3, L"App"},
        {L"", true, L"Doc", 12, L"Doc:12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.expected)));
        pFrame->SetTitle(c.appTitle);
        pFrame->ModifyStyle(c.bPrefix ? 0 : FWS_PREFIXTITLE, c.bPrefix ? FWS_PREFIXTITLE : 0);
        pFrame->m_nWindow = c.nWindow;
        pFrame->UpdateFrameTitleForDocument(c.docName);
        EXPECT_EQ(std::wstring(WindowText(pFrame->m_hWnd)), c.expected);
    }
    // The active document names the frame; without FWS_ADDTOTITLE the caption stays.
    pDoc->SetTitle(L"Report.otd");
    pFrame->m_nWindow = 0;
    pFrame->ModifyStyle(0, FWS_PREFIXTITLE);
    pFrame->SetTitle(L"App");
    pFrame->OnUpdateFrameTitle(TRUE);
    EXPECT_EQ(std::wstring(WindowText(pFrame->m_hWnd)), L"Report.otd - App");
    pFrame->ModifyStyle(FWS_ADDTOTITLE, 0);
    pDoc->SetTitle(L"Other");
    EXPECT_EQ(std::wstring(WindowText(pFrame->m_hWnd)), L"Report.otd - App");
    pFrame->DestroyWindow();
    DrainMessages();
    EXPECT_EQ(CTestDoc::s_nLive, 0);
}

// A main window with one template; it is shown because only frames on the
// screen are counted as the document's windows.
class MDIFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        m_nWindowsBefore = CountThreadWindows();
        m_pTemplate = new CMultiDocTemplate(IDR_FRAMETEST_DOC, RUNTIME_CLASS(CTestDoc),
                                            RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CTestView));
        m_app.AddDocTemplate(m_pTemplate);
        m_pMainFrame = new CMDIFrameWnd;
        ASSERT_TRUE(m_pMainFrame->LoadFrame(IDR_FRAMETEST_MAIN));
        m_app.m_pMainWnd = m_pMainFrame;
        m_pMainFrame->ShowWindow(SW_SHOWNOACTIVATE);
    }
    void TearDown() override {
        if (m_app.m_pMainWnd != nullptr)
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        DrainMessages();
        EXPECT_EQ(m_app.m_pMainWnd, nullptr);
        EXPECT_EQ(CTestDoc::s_nLive, 0);
        EXPECT_EQ(CTestView::s_nLive, 0);
        EXPECT_EQ(CountThreadWindows(), m_nWindowsBefore);
    }
    CMDIChildWnd* Active() const { return m_pMainFrame->MDIGetActive(); }

    CFrameTestApp m_app;
    CMultiDocTemplate* m_pTemplate = nullptr;
    CMDIFrameWnd* m_pMainFrame = nullptr;
    int m_nWindowsBefore = 0;
};

TEST_F(MDIFrameTest, ASecondFrameOnOneDocumentNumbersBoth) {
    m_app.OnFileNew();
    CMDIChildWnd* pFirst = Active();
    ASSERT_NE(pFirst, nullptr);
    CDocument* pDoc = pFirst->GetActiveDocument();
    ASSERT_NE(pDoc, nullptr);
    const std::wstring title(pDoc->GetTitle());
    EXPECT_EQ(std::wstring(WindowText(pFirst->m_hWnd)), title);
    // The template's menu is on the main window while its frame is active.
    EXPECT_EQ(::GetMenu(m_pMainFrame->m_hWnd), m_pTemplate->m_hMenuShared);

    m_pMainFrame->SendMessage(WM_COMMAND, ID_WINDOW_NEW);
    CMDIChildWnd* pSecond = Active();
    ASSERT_NE(pSecond, nullptr);
    ASSERT_NE(pSecond, pFirst);
    EXPECT_EQ(pSecond->GetActiveDocument(), pDoc);
    EXPECT_EQ(std::wstring(WindowText(pFirst->m_hWnd)), title + L":1");
    EXPECT_EQ(std::wstring(WindowText(pSecond->m_hWnd)), title + L":2");
    EXPECT_EQ(pFirst->m_nWindow, 1);
    EXPECT_EQ(pSecond->m_nWindow, 2);
    EXPECT_EQ(m_pMainFrame->GetActiveFrame(), pSecond);

    // The main window names the active document while its frame is not maximised.
    m_pMainFrame->MDIRestore(pSecond);
    m_pMainFrame->OnUpdateFrameTitle(TRUE);
    EXPECT_EQ(std::wstring(WindowText(m_pMainFrame->m_hWnd)), title + L":2 - Frame Tests");

    // Closing one frame asks nothing (the other still shows the document) and drops the numbers.
    pSecond->SendMessage(WM_CLOSE);
    DrainMessages();
    EXPECT_EQ(Joined(), L"view:initial view:initial");
    EXPECT_EQ(Active(), pFirst);
    EXPECT_EQ(std::wstring(WindowText(pFirst->m_hWnd)), title);
    EXPECT_EQ(CTestView::s_nLive, 1);

    // The last frame asks the document.
    CTestDoc::s_bAllowClose = FALSE;
    pDoc->SetModifiedFlag(TRUE);
    pFirst->SendMessage(WM_CLOSE);
    EXPECT_EQ(Log().back(), L"doc:save?");
    EXPECT_EQ(Active(), pFirst);
    CTestDoc::s_bAllowClose = TRUE;
    pFirst->SendMessage(WM_CLOSE);
    DrainMessages();
    EXPECT_EQ(Active(), nullptr);
    EXPECT_EQ(CTestDoc::s_nLive, 0);
    // Without a child the main window shows its own menu again.
    EXPECT_EQ(::GetMenu(m_pMainFrame->m_hWnd), m_pMainFrame->m_hMenuDefault);
}

TEST_F(MDIFrameTest, CommandsReachTheActiveDocumentsViewFirst) {
    m_app.OnFileNew();
    m_app.OnFileNew();
    CMDIChildWnd* pActive = Active();
    ASSERT_NE(pActive, nullptr);
    m_pMainFrame->SendMessage(WM_COMMAND, ID_FRAMETEST_VIEWONLY);
    m_pMainFrame->SendMessage(WM_COMMAND, ID_FRAMETEST_DOCONLY);
    m_pMainFrame->SendMessage(WM_COMMAND, ID_FRAMETEST_THING);
    EXPECT_EQ(Joined(), L"view:initial view:initial view:VIEWONLY doc:DOCONLY doc:THING");

    // The template's accelerators work in its frames: F6 is the view's command.
    Log().clear();
    MSG msg = {};
    msg.hwnd = pActive->GetActiveView()->m_hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_F6;
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(m_pMainFrame->m_hWnd, &msg));
    EXPECT_EQ(Joined(), L"view:VIEWONLY");
    // The main window's F5 has no handler: translated all the same, nobody logs.
    Log().clear();
    msg.wParam = VK_F5;
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(m_pMainFrame->m_hWnd, &msg));
    EXPECT_EQ(Joined(), L"");

    // Closing the main window closes every document.
    m_pMainFrame->SendMessage(WM_CLOSE);
    DrainMessages();
    EXPECT_EQ(CTestDoc::s_nLive, 0);
}

}  // namespace
