#include "KWWindowsTestSupport.h"

#include "tests/support/WindowScreenshot.h"

#include "framework/KWBrush.h"
#include "framework/KWColor.h"
#include "framework/KWDragInfo.h"
#include "framework/KWFont.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWGraphics.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/MessageMap.h"

#include <windows.h>
#include <gdiplus.h>

namespace kwwin {

int CWinTestDoc::s_live = 0;
int CTestSplitView::s_live = 0;

IMPLEMENT_DYNCREATE(CWinTestDoc, CKWDocument)
IMPLEMENT_DYNCREATE(CTestSplitView, CKWSplitView)
IMPLEMENT_DYNCREATE(CTestSplitFrame, CKWSplitFrame)

BEGIN_MESSAGE_MAP(CTestPane, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

bool CTestPane::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CWnd::Create(L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, rect, parent, id) != FALSE;
}

CRect CTestPane::Place() const { return RectInParent(m_hWnd); }

void CTestPane::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    CWnd::GetClientRect(&client);
    HBRUSH brush = ::CreateSolidBrush(m_colour);
    ::FillRect(dc.m_hDC, &client, brush);
    ::DeleteObject(brush);
}

void CTestSplitView::Draw(IKWGraphics* graphics, const CRect& rect)
{
    drawn.push_back(rect);
    // The box is in client coordinates; the graphics draws the content at the origin.
    const CPoint origin = GetScrollPosition();
    CRect box = rect;
    box.OffsetRect(-origin.x, -origin.y);
    EraseBackground(graphics, &box);
    const double step = 50;
    for (double y = 0; y < contentSize.cy; y += step) {
        for (double x = 0; x < contentSize.cx; x += step) {
            const bool dark = (static_cast<int>(x / step) + static_cast<int>(y / step)) % 2 == 0;
            graphics->BeginPath();
            graphics->AddRectangle(x, y, step, step);
            graphics->FillPath(CKWBrush(dark ? CKWColor::FromRgb(70, 110, 170) : CKWColor::FromRgb(190, 210, 235)));
        }
    }
    const CKWFont font(L"Arial", 20, 1);
    const CKWBrush white(CKWColor::FromRgb(255, 255, 255));
    graphics->DrawStringAt(12, 12, L"Scrolled view", -1, font, &white, nullptr);
}

bool CTestSplitView::AcceptsFile(const CString& path)
{
    askedFiles.push_back(path.GetString());
    return askedFiles.back() == acceptedFile;
}

bool CTestSplitView::OnDragEnterData(const KWDragInfo*, const std::vector<uint8_t>*, const CKWDoublePoint&)
{
    return enterAnswer;
}

void CTestSplitView::OnDropData(const KWDragInfo* info, const std::vector<uint8_t>* data, const CKWDoublePoint&,
                                bool copy)
{
    std::wstring entry = info ? std::wstring(info->name) : L"(external)";
    entry += copy ? L":copy" : L":move";
    if (data)
        entry += L":" + std::to_wstring(data->size());
    drops.push_back(entry);
}

void CTestSplitFrame::BuildPanes()
{
    CTestSplitView* view = View();
    SetRoot(view);
    CRect place = RectInParent(view->m_hWnd);
    left.Create(this, CRect(0, 0, 10, 10), 0x300);
    right.Create(this, CRect(0, 0, 10, 10), 0x301);
    bottom.Create(this, CRect(0, 0, 10, 10), 0x302);
    AddItem(view, &left, false, true, 150, this, 0x310, false);
    place = RectInParent(view->m_hWnd);
    AddItem(view, &right, true, true, place.Width() - 180, this, 0x311, false);
    AddItem(&right, &bottom, true, false, right.Place().Height() / 2, this, 0x312, false);
}

WindowsFixture::WindowsFixture()
{
    app.AddDocTemplate(new CMultiDocTemplate(IDR_KWWIN_DOC, RUNTIME_CLASS(CWinTestDoc), RUNTIME_CLASS(CTestSplitFrame),
                                             RUNTIME_CLASS(CTestSplitView)));
    m_mainFrame = new CMDIFrameWnd;
    if (!m_mainFrame->LoadFrame(IDR_KWWIN_MAIN)) {
        m_mainFrame = nullptr;
        return;
    }
    app.m_pMainWnd = m_mainFrame;
    CRect rect(0, 0, 800, 600);
    m_mainFrame->CalcWindowRect(&rect);
    m_mainFrame->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    m_mainFrame->ShowWindow(SW_SHOW);
    Pump();
}

WindowsFixture::~WindowsFixture()
{
    if (app.m_pMainWnd)
        app.m_pMainWnd->SendMessage(WM_CLOSE);
    Pump();
}

CTestSplitFrame* WindowsFixture::NewFrame()
{
    app.OnFileNew();
    Pump();
    return m_mainFrame ? dynamic_cast<CTestSplitFrame*>(m_mainFrame->MDIGetActive()) : nullptr;
}

CRect RectInParent(HWND window)
{
    CRect rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

bool WriteScreenshot(HWND window, const wchar_t* name)
{
    return test_support::WriteWindowScreenshot(window, name);
}

}  // namespace kwwin
