// A frame's commands: routing through the active view and its document,
// menu states, accelerators, status prompts and closing with the save question.
#include "FrameTestSupport.h"

#include "platform/classlib/Menu.h"
#include "platform/classlib/StringResource.h"

#include <gtest/gtest.h>

using namespace frame_test;
using classlib_test::DrainMessages;

namespace {

class FrameCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        m_nWindowsBefore = CountThreadWindows();
        m_pDoc = new CTestDoc;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CTestView);
        context.m_pCurrentDoc = m_pDoc;
        m_pFrame = new CTestFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_FRAMETEST_MAIN, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context));
        m_pFrame->InitialUpdateFrame(m_pDoc, FALSE);
        m_hWndFrame = m_pFrame->m_hWnd;
    }
    void TearDown() override {
        if (::IsWindow(m_hWndFrame))
            m_pFrame->DestroyWindow();
        DrainMessages();
        EXPECT_EQ(CTestFrame::s_nLive, 0);
        EXPECT_EQ(CTestView::s_nLive, 0);
        EXPECT_EQ(CTestDoc::s_nLive, 0);
        EXPECT_EQ(CountThreadWindows(), m_nWindowsBefore);
    }

    CFrameTestApp m_app;
    CTestDoc* m_pDoc = nullptr;
    CTestFrame* m_pFrame = nullptr;
    HWND m_hWndFrame = nullptr;
    int m_nWindowsBefore = 0;
};

TEST_F(FrameCommandTest, ViewThenDocumentThenFrameThenNobody) {
    const struct {
        UINT nID;
        const wchar_t* handledBy;
        BOOL bHandled;
    } cases[] = {
        {ID_FRAMETEST_VIEWONLY, L"view:VIEWONLY", TRUE},
        {ID_FRAMETEST_DOCONLY, L"doc:DOCONLY", TRUE},
        {ID_FRAMETEST_THING, L"doc:THING", TRUE},  // the document comes before the frame
        {ID_FRAMETEST_FRAMEONLY, L"frame:FRAMEONLY", TRUE},
        {ID_FRAMETEST_NOBODY, L"", FALSE},
    };
    for (const auto& c : cases) {
        Log().clear();
        BOOL bHandled = m_pFrame->OnCmdMsg(c.nID, CN_COMMAND, nullptr, nullptr);
        EXPECT_EQ(bHandled, c.bHandled) << c.nID;
        EXPECT_EQ(Joined(), c.handledBy);
    }
    // Without an active view the frame is next.
    CView* pView = m_pFrame->GetActiveView();
    m_pFrame->SetActiveView(nullptr, FALSE);
    Log().clear();
    m_pFrame->SendMessage(WM_COMMAND, ID_FRAMETEST_THING);
    EXPECT_EQ(Joined(), L"frame:THING");
    m_pFrame->SetActiveView(pView, FALSE);
}

TEST_F(FrameCommandTest, MenuItemsFollowTheirHandlers) {
    CMenu* pFile = CMenu::FromHandle(::GetSubMenu(::GetMenu(m_hWndFrame), 0));
    ASSERT_NE(pFile, nullptr);
    // Handlers of the view's document count as well: the document's command is enabled.
    ::AppendMenuW(pFile->m_hMenu, MF_STRING, ID_FRAMETEST_VIEWONLY, L"View");
    ::AppendMenuW(pFile->m_hMenu, MF_STRING, ID_FRAMETEST_DOCONLY, L"Doc");
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pFile->m_hMenu), 0);
    auto state = [&](UINT nID) { return pFile->GetMenuState(nID, MF_BYCOMMAND); };
    EXPECT_FALSE(state(ID_FRAMETEST_THING) & MF_GRAYED);
    EXPECT_TRUE(state(ID_FRAMETEST_NOBODY) & MF_GRAYED);
    EXPECT_FALSE(state(ID_FRAMETEST_DOCONLY) & MF_GRAYED);
    EXPECT_TRUE(state(ID_FRAMETEST_VIEWONLY) & MF_CHECKED);  // the view's update handler

    m_pFrame->m_bAutoMenuEnable = FALSE;
    ::EnableMenuItem(pFile->m_hMenu, ID_FRAMETEST_NOBODY, MF_ENABLED);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pFile->m_hMenu), 0);
    EXPECT_FALSE(state(ID_FRAMETEST_NOBODY) & MF_GRAYED);
}

TEST_F(FrameCommandTest, AcceleratorsOfTheFrameSendTheirCommands) {
    MSG msg = {};
    msg.hwnd = m_pFrame->GetActiveView()->m_hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_F5;
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(m_hWndFrame, &msg));
    EXPECT_EQ(Joined(), L"frame:ACCEL");
    Log().clear();
    msg.wParam = VK_F7;  // no accelerator
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(m_hWndFrame, &msg));
    EXPECT_EQ(Joined(), L"");
}

TEST_F(FrameCommandTest, PromptsGoToTheStatusBar) {
    CTestMessageBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame));
    EXPECT_EQ(m_pFrame->GetMessageBar(), CWnd::FromHandle(bar.m_hWnd));

    // The first line of the command's string.
    m_pFrame->SendMessage(WM_SETMESSAGESTRING, ID_FRAMETEST_THING);
    EXPECT_EQ(std::wstring(bar.Text()), L"Does the thing");
    EXPECT_EQ(m_pFrame->m_nIDLastMessage, static_cast<UINT>(ID_FRAMETEST_THING));
    m_pFrame->SetMessageText(L"Plain words");
    EXPECT_EQ(std::wstring(bar.Text()), L"Plain words");

    // Walking a menu shows each item's prompt; popups and separators show none.
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_FRAMETEST_VIEWONLY, MF_STRING), 1);
    EXPECT_EQ(std::wstring(bar.Text()), L"Only the view knows");
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), 1);
    EXPECT_EQ(std::wstring(bar.Text()), L"");
    // Closing the menu brings back the idle prompt.
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    CString strIdle;
    AfxLoadStringResource(AFX_IDS_IDLEMESSAGE, strIdle);
    EXPECT_EQ(std::wstring(bar.Text()), std::wstring(strIdle));
    EXPECT_EQ(m_pFrame->m_nIDTracking, AFX_IDS_IDLEMESSAGE);
    bar.DestroyWindow();
}

TEST_F(FrameCommandTest, ClosingAsksTheModifiedDocumentFirst) {
    m_pDoc->SetModifiedFlag(TRUE);
    CTestDoc::s_bAllowClose = FALSE;
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(Joined(), L"doc:save?");
    EXPECT_TRUE(::IsWindow(m_hWndFrame));

    CTestDoc::s_bAllowClose = TRUE;
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(m_hWndFrame));
    EXPECT_EQ(CTestDoc::s_nLive, 0);  // its last view went
}

TEST_F(FrameCommandTest, TheMainWindowClosesAllDocuments) {
    m_app.m_pMainWnd = m_pFrame;
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(m_hWndFrame));
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    DrainMessages();  // the quit message of the main window
}

}  // namespace
