#pragma once
// The document windows of the framework under test: an MDI application with
// one document template whose frame is a split frame of a scrolled test view
// and three plain test panes, and the helpers that drive them.
#include "KWWindowsTestResources.h"
#include "tests/platform/classlib/TestSupport.h"

#include "framework/KWSplitItem.h"
#include "framework/KWSplitterIFace.h"
#include "appwindows/KWDocument.h"
#include "appwindows/KWSplitFrame.h"
#include "appwindows/KWSplitView.h"
#include "platform/classlib/ScrollBar.h"
#include "platform/classlib/MDIFrameWnd.h"
#include "platform/classlib/WinApp.h"

#include <ostream>
#include <string>
#include <vector>

namespace kwwin {

class CWinTestApp : public CWinApp {
public:
    CWinTestApp() : CWinApp(L"KWWindowTests") {}
    int DoMessageBox(LPCWSTR lpszPrompt, UINT, UINT) override
    {
        messages.push_back(lpszPrompt);
        return IDOK;
    }
    std::vector<std::wstring> messages;
};

class CWinTestDoc : public CKWDocument {
    DECLARE_DYNCREATE(CWinTestDoc)
public:
    CWinTestDoc() { ++s_live; }
    ~CWinTestDoc() override { --s_live; }
    static int s_live;
};

// A plain pane: a child window of one colour.
class CTestPane : public CWnd, public CKWSplitItem {
public:
    explicit CTestPane(COLORREF colour = RGB(200, 220, 240)) : m_colour(colour) {}
    using CWnd::GetClientRect;
    bool Create(CWnd* parent, const RECT& rect, UINT id);
    CWnd* GetWnd() override { return m_hWnd ? this : nullptr; }
    // Where the pane is, in its parent's client coordinates.
    CRect Place() const;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_colour;
};

// A scrolled view of a grid of the content size; it notes what it was asked
// to draw and print.
class CTestSplitView : public CKWSplitView {
    DECLARE_DYNCREATE(CTestSplitView)
public:
    CTestSplitView() { ++s_live; }
    ~CTestSplitView() override { --s_live; }

    void GetContentSize(KWDoubleSize& size) override { size = contentSize; }
    void Draw(IKWGraphics* graphics, const CRect& rect) override;
    bool AcceptsFile(const CString& path) override;
    bool OnDragEnterData(const KWDragInfo* info, const std::vector<uint8_t>* data,
                         const CKWDoublePoint& point) override;
    void OnDropData(const KWDragInfo* info, const std::vector<uint8_t>* data, const CKWDoublePoint& point,
                    bool copy) override;
    bool PrepareDragData(const CPoint& point, KWDragInfo& info) override { return true; }
    CKWWinSrvrItem* GetDragItem() override { return dragItem; }
    void OnDragMoved() override { ++movedDrags; }
    bool OnDragEnterObject(COleDataObject*, const CKWDoublePoint&) override
    {
        ++objectEnters;
        return objectAnswer;
    }

    KWDoubleSize contentSize = {600, 450};
    std::vector<CRect> drawn;
    std::vector<std::wstring> askedFiles;
    std::wstring acceptedFile;
    bool enterAnswer = false;
    std::vector<std::wstring> drops;
    CKWWinSrvrItem* dragItem = nullptr;
    int movedDrags = 0;
    int objectEnters = 0;
    bool objectAnswer = false;
    static int s_live;
};

// The split frame: the view alone until BuildPanes splits it into
// left | view | (right over bottom).
class CTestSplitFrame : public CKWSplitFrame {
    DECLARE_DYNCREATE(CTestSplitFrame)
public:
    CTestSplitFrame() : left(RGB(205, 220, 240)), right(RGB(240, 225, 200)), bottom(RGB(210, 235, 210)) {}
    void BuildPanes();
    CTestSplitView* View() { return static_cast<CTestSplitView*>(GetActiveView()); }

    CTestPane left;
    CTestPane right;
    CTestPane bottom;
};

// The application with its main frame (800 by 600) and the report template.
class WindowsFixture {
public:
    WindowsFixture();
    ~WindowsFixture();
    // A new document in a new frame; null when none was made.
    CTestSplitFrame* NewFrame();
    CMDIFrameWnd* MainFrame() { return m_mainFrame; }

    CWinTestApp app;

private:
    CMDIFrameWnd* m_mainFrame = nullptr;
};

// Dispatches what is queued.
inline void Pump() { classlib_test::DrainMessages(); }
// The rectangle of a window in its parent's client coordinates.
CRect RectInParent(HWND window);
// The window's image as a PNG file under the test program's folder,
// screenshots\<name>.png; false when it cannot be written.
bool WriteScreenshot(HWND window, const wchar_t* name);

}  // namespace kwwin
