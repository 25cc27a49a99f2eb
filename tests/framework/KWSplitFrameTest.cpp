// Document frames: maximised on opening, captioned from the document, the
// split tree laid out on resizing, nothing left behind when they close, and
// a picture of a split frame with a scrolled view.
#include "KWWindowsTestSupport.h"

#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/Document.h"

#include <gtest/gtest.h>

#include <set>

using namespace kwwin;

namespace {

BOOL CALLBACK CollectChild(HWND window, LPARAM windows)
{
    reinterpret_cast<std::set<HWND>*>(windows)->insert(window);
    return TRUE;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM windows)
{
    reinterpret_cast<std::set<HWND>*>(windows)->insert(window);
    ::EnumChildWindows(window, CollectChild, windows);
    return TRUE;
}

// Every window of the thread, children included.
std::set<HWND> ThreadWindows()
{
    std::set<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectTopLevel, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::wstring Caption(CWnd* window)
{
    CString text;
    window->GetWindowText(text);
    return text.GetString();
}

class SplitFrame : public ::testing::Test, public WindowsFixture {};

TEST_F(SplitFrame, ANewFrameOpensMaximisedEvenAfterTheLastWasRestored)
{
    CTestSplitFrame* first = NewFrame();
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(first->IsZoomed());
    first->MDIRestore();
    EXPECT_FALSE(first->IsZoomed());
    CTestSplitFrame* second = NewFrame();
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    EXPECT_TRUE(second->IsZoomed());
}

TEST_F(SplitFrame, CaptionsAreTheTitleWithTheWindowNumberKept)
{
    CTestSplitFrame* frame = NewFrame();
    ASSERT_NE(nullptr, frame);
    CDocument* document = frame->GetActiveDocument();
    document->SetTitle(L"Report.otd");
    EXPECT_EQ(L"Report", Caption(frame));

    MainFrame()->SendMessage(WM_COMMAND, 0xE130);  // a second window on the document
    Pump();
    CTestSplitFrame* other = dynamic_cast<CTestSplitFrame*>(MainFrame()->MDIGetActive());
    ASSERT_NE(nullptr, other);
    ASSERT_NE(frame, other);
    EXPECT_EQ(L"Report:1", Caption(frame));
    EXPECT_EQ(L"Report:2", Caption(other));

    const std::wstring title(600, L'x');
    document->SetTitle(title.c_str());
    EXPECT_EQ(title.substr(0, 513) + L":1", Caption(frame));
    EXPECT_EQ(title.substr(0, 513) + L":2", Caption(other));
}

TEST_F(SplitFrame, MinimisingKeepsThePanesAndRestoringFillsTheNewArea)
{
    CTestSplitFrame* frame = NewFrame();
    ASSERT_NE(nullptr, frame);
    frame->BuildPanes();
    frame->MDIRestore();
    frame->SetWindowPos(nullptr, 0, 0, 600, 400, SWP_NOZORDER);
    const CRect view = RectInParent(frame->View()->m_hWnd);
    const CRect left = frame->left.Place();
    frame->ShowWindow(SW_MINIMIZE);
    Pump();
    EXPECT_EQ(view, RectInParent(frame->View()->m_hWnd));
    EXPECT_EQ(left, frame->left.Place());

    frame->ShowWindow(SW_RESTORE);
    frame->SetWindowPos(nullptr, 0, 0, 700, 450, SWP_NOZORDER);
    const CRect area = frame->GetPaneArea();
    EXPECT_EQ(area.right, frame->right.Place().right) << "the tree fills the area left of the scroll strip";
    EXPECT_EQ(area.bottom, frame->bottom.Place().bottom);
    EXPECT_EQ(area.bottom, RectInParent(frame->View()->m_hWnd).bottom);
    EXPECT_GT(frame->left.Place().Width(), left.Width()) << "the growth is shared";
}

TEST_F(SplitFrame, OpeningAndClosingFramesLeavesNothingBehind)
{
    Pump();
    const std::set<HWND> before = ThreadWindows();
    const int documents = CWinTestDoc::s_live;
    std::vector<HRGN> regions;
    for (int i = 0; i < 20; ++i) {
        CTestSplitFrame* frame = NewFrame();
        ASSERT_NE(nullptr, frame);
        frame->BuildPanes();
        frame->View()->SendMessage(WM_PAINT);
        regions.push_back(frame->View()->GetUpdateRegion());
        CDocument* document = frame->GetActiveDocument();
        document->OnCloseDocument();
        Pump();
    }
    EXPECT_EQ(documents, CWinTestDoc::s_live);
    EXPECT_EQ(0, CTestSplitView::s_live);
    EXPECT_EQ(before, ThreadWindows());
    for (HRGN region : regions)
        EXPECT_EQ(0u, ::GetObjectType(region)) << "the view's update region is deleted";
}

TEST_F(SplitFrame, APictureOfASplitFrameWithAScrolledView)
{
    CTestSplitFrame* frame = NewFrame();
    ASSERT_NE(nullptr, frame);
    frame->BuildPanes();
    CTestSplitView* view = frame->View();
    view->contentSize = {900, 700};
    view->InitializeView(nullptr);
    // The strip hands its scroll bar's messages to the view.
    HWND bar = view->GetVertScrollBar()->m_hWnd;
    ::SendMessageW(::GetParent(bar), WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), reinterpret_cast<LPARAM>(bar));
    view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0),
                      reinterpret_cast<LPARAM>(view->GetHorzScrollBar()->m_hWnd));
    ::RedrawWindow(MainFrame()->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_GT(view->GetVertScrollBar()->GetScrollPos(), 0);
    EXPECT_TRUE(WriteScreenshot(MainFrame()->m_hWnd, L"split-frame-scrolled-view"));
}

}  // namespace
