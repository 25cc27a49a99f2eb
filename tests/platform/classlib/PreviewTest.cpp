// Print preview: it replaces the view in its frame, shows one or two pages
// drawn by the view's printing steps, numbers them in the status line, and
// gives everything back when it closes.
#include "FrameTestSupport.h"

#include "platform/classlib/CmdUI.h"
#include "platform/classlib/PreviewView.h"

#include <gtest/gtest.h>

using namespace frame_test;
using classlib_test::DrainMessages;

namespace {

// Records what an update handler said of a command.
class CRecordCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetText(LPCWSTR lpszText) override { m_strText = lpszText; }
    BOOL m_bEnabled = -1;
    CString m_strText;
};

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        CTestView::s_nPages = 3;
        CTestView::s_bScreenPreview = TRUE;
        CTestView::s_bCloseWhilePreparing = FALSE;
        m_nWindowsBefore = CountThreadWindows();
        m_pDoc = new CTestDoc;
        m_pFrame = MakeFrameWithView(m_pDoc);
        ASSERT_NE(m_pFrame, nullptr);
        CRect rect(0, 0, 600, 400);
        m_pFrame->CalcWindowRect(&rect);
        m_pFrame->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        m_pView = m_pFrame->GetActiveView();
        ASSERT_TRUE(m_messageBar.Create(m_pFrame));
        m_pToolBar = new CTestBar(24);
        m_pToolBar->m_bAutoDelete = TRUE;
        ASSERT_TRUE(m_pToolBar->Create(m_pFrame, CBRS_TOP, AFX_IDW_TOOLBAR));
        m_pFrame->RecalcLayout();
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();
        DrainMessages();
        EXPECT_EQ(CTestView::s_nLive, 0);
        EXPECT_EQ(CTestDoc::s_nLive, 0);
        EXPECT_EQ(CountThreadWindows(), m_nWindowsBefore);
    }
    CPreviewView* Preview() const {
        CWnd* pPane = CWnd::FromHandlePermanent(::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_PANE_FIRST));
        if (pPane == nullptr || !pPane->IsKindOf(RUNTIME_CLASS(CPreviewView)))
            return nullptr;
        return static_cast<CPreviewView*>(pPane);
    }
    std::wstring Status() const { return std::wstring(m_messageBar.Text()); }
    // Draws the preview into a bitmap and tells the colour at a point.
    COLORREF PaintAndSample(POINT pt) {
        CPreviewView* pPreview = Preview();
        CRect client;
        pPreview->GetClientRect(&client);
        CClientDC screen(nullptr);
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        HBITMAP hBitmap = ::CreateCompatibleBitmap(screen.m_hDC, client.Width(), client.Height());
        HGDIOBJ hOld = ::SelectObject(dc.m_hDC, hBitmap);
        pPreview->OnDraw(&dc);
        COLORREF color = dc.GetPixel(pt);
        ::SelectObject(dc.m_hDC, hOld);
        ::DeleteObject(hBitmap);
        return color;
    }
    static POINT Centre(const CRect& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }
    UINT CommandState(UINT nID, CRecordCmdUI& state) {
        state.m_nID = nID;
        state.DoUpdate(m_pFrame, TRUE);
        return state.m_bEnabled;
    }

    CFrameTestApp m_app;
    CTestDoc* m_pDoc = nullptr;
    CTestFrame* m_pFrame = nullptr;
    CView* m_pView = nullptr;
    CTestMessageBar m_messageBar;
    CTestBar* m_pToolBar = nullptr;
    int m_nWindowsBefore = 0;
};

TEST_F(PreviewTest, OpensWithOnePageInPlaceOfTheView) {
    m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    CPreviewView* pPreview = Preview();
    ASSERT_NE(pPreview, nullptr);
    EXPECT_EQ(Joined(), L"prepare:preview begin");
    EXPECT_EQ(m_pFrame->GetActiveView(), pPreview);
    EXPECT_EQ(pPreview->GetPagesShown(), 1u);
    EXPECT_EQ(pPreview->GetCurrentPage(), 1u);
    EXPECT_EQ(Status(), L"Page 1");
    // The view waits hidden under another id; the frame's bars step aside for the preview's.
    EXPECT_EQ(::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_PANE_SAVE), m_pView->m_hWnd);
    EXPECT_FALSE(m_pView->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(m_pToolBar->IsVisible());
    HWND hWndBar = ::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_PREVIEW_BAR);
    ASSERT_NE(hWndBar, nullptr);
    CRect rectBar = RectInParent(hWndBar);
    EXPECT_EQ(rectBar.top, 0);
    EXPECT_EQ(RectInParent(pPreview->m_hWnd).top, rectBar.bottom);
    EXPECT_NE(m_pFrame->m_lpfnCloseProc, nullptr);

    // One page is drawn, black where the view draws, on the grey background.
    Log().clear();
    CRect page = pPreview->CalcPageRect(0);
    ASSERT_FALSE(page.IsRectEmpty());
    EXPECT_EQ(PaintAndSample(Centre(page)), RGB(0, 0, 0));
    EXPECT_EQ(Joined(), L"preview:1");
    CRect client;
    pPreview->GetClientRect(&client);
    EXPECT_EQ(PaintAndSample({client.right - 2, client.bottom / 2}) , ::GetSysColor(COLOR_APPWORKSPACE) & 0xFFFFFF);
}

TEST_F(PreviewTest, TwoPagesSideBySideAndThePageNumbers) {
    m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    CPreviewView* pPreview = Preview();
    ASSERT_NE(pPreview, nullptr);
    CRecordCmdUI numPage;
    EXPECT_TRUE(CommandState(AFX_ID_PREVIEW_NUMPAGE, numPage));
    EXPECT_EQ(std::wstring(numPage.m_strText), L"&Two Page");

    m_pFrame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NUMPAGE);
    EXPECT_EQ(pPreview->GetPagesShown(), 2u);
    EXPECT_EQ(Status(), L"Pages 1-2");
    CRecordCmdUI numPageAfter;
    CommandState(AFX_ID_PREVIEW_NUMPAGE, numPageAfter);
    EXPECT_EQ(std::wstring(numPageAfter.m_strText), L"&One Page");

    Log().clear();
    CRect left = pPreview->CalcPageRect(0);
    CRect right = pPreview->CalcPageRect(1);
    EXPECT_LT(left.right, right.left);
    EXPECT_EQ(left.Size(), right.Size());
    EXPECT_EQ(PaintAndSample(Centre(right)), RGB(0, 0, 0));
    EXPECT_EQ(Joined(), L"preview:1 preview:2");

    const struct {
        UINT nCommand;
        const wchar_t* status;
        BOOL bNext;
        BOOL bPrev;
    } steps[] = {
        {AFX_ID_PREVIEW_NEXT, L"Pages 2-3", FALSE, TRUE},
        {AFX_ID_PREVIEW_NEXT, L"Pages 2-3", FALSE, TRUE},  // disabled: refused
        {AFX_ID_PREVIEW_NUMPAGE, L"Page 2", TRUE, TRUE},
        {AFX_ID_PREVIEW_NEXT, L"Page 3", FALSE, TRUE},
        {AFX_ID_PREVIEW_NUMPAGE, L"Pages 2-3", FALSE, TRUE},  // two pages from the last show the last two
        {AFX_ID_PREVIEW_PREV, L"Pages 1-2", TRUE, FALSE},
    };
    for (const auto& step : steps) {
        m_pFrame->SendMessage(WM_COMMAND, step.nCommand);
        EXPECT_EQ(Status(), step.status);
        CRecordCmdUI next;
        CRecordCmdUI prev;
        EXPECT_EQ(CommandState(AFX_ID_PREVIEW_NEXT, next), static_cast<UINT>(step.bNext)) << step.status;
        EXPECT_EQ(CommandState(AFX_ID_PREVIEW_PREV, prev), static_cast<UINT>(step.bPrev)) << step.status;
    }
}

TEST_F(PreviewTest, AJobOfUnknownLengthEndsWhereTheViewSays) {
    CTestView::s_nPages = 0;
    m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    CPreviewView* pPreview = Preview();
    ASSERT_NE(pPreview, nullptr);
    m_pFrame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NUMPAGE);
    Log().clear();
    PaintAndSample({0, 0});
    // The second page does not exist: it is asked for but not printed.
    EXPECT_EQ(Joined(), L"preview:1");
    EXPECT_EQ(Status(), L"Page 1");
    CRecordCmdUI next;
    EXPECT_FALSE(CommandState(AFX_ID_PREVIEW_NEXT, next));
}

TEST_F(PreviewTest, ClosingGivesTheFrameBack) {
    m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    ASSERT_NE(Preview(), nullptr);
    Log().clear();
    // Closing the frame during the preview closes only the preview.
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(m_pFrame->m_hWnd));
    EXPECT_EQ(Preview(), nullptr);
    EXPECT_EQ(Joined(), L"end");
    EXPECT_EQ(::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_PANE_FIRST), m_pView->m_hWnd);
    EXPECT_EQ(::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_PANE_SAVE), nullptr);
    EXPECT_EQ(::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_PREVIEW_BAR), nullptr);
    EXPECT_TRUE(m_pView->GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(m_pToolBar->IsVisible());
    EXPECT_EQ(m_pFrame->GetActiveView(), m_pView);
    EXPECT_EQ(m_pFrame->m_lpfnCloseProc, nullptr);
    EXPECT_EQ(RectInParent(m_pView->m_hWnd).top, 24);
    // A second preview starts as the first did.
    m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    ASSERT_NE(Preview(), nullptr);
    m_pFrame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    EXPECT_EQ(Preview(), nullptr);
}

TEST_F(PreviewTest, AFrameClosedWhileTheJobIsPreparedEndsThePreviewOnceItIsMade) {
    CTestView::s_bCloseWhilePreparing = TRUE;
    m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    // The preview was made, then closed as the frame asked: everything is back.
    EXPECT_EQ(Joined(), L"prepare:preview begin end");
    EXPECT_TRUE(::IsWindow(m_pFrame->m_hWnd));
    EXPECT_EQ(Preview(), nullptr);
    EXPECT_EQ(::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_PANE_FIRST), m_pView->m_hWnd);
    EXPECT_EQ(::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_PREVIEW_BAR), nullptr);
    EXPECT_TRUE(m_pView->GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(m_pToolBar->IsVisible());
    EXPECT_EQ(m_pFrame->GetActiveView(), m_pView);
    EXPECT_EQ(m_pFrame->m_lpfnCloseProc, nullptr);
    // The next preview starts and stays.
    CTestView::s_bCloseWhilePreparing = FALSE;
    m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    EXPECT_NE(Preview(), nullptr);
}

}  // namespace
