#include "PaneTestSupport.h"

#include <cwchar>

namespace docking_test {

void CTestPane::AddFileList(int nFiles) {
    CRect rect;
    GetClientRect(&rect);
    HWND hList = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                                   WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, 0, 0, rect.Width(), rect.Height(),
                                   m_hWnd, nullptr, nullptr, nullptr);
    for (int i = 1; i <= nFiles; ++i) {
        wchar_t szName[32];
        swprintf(szName, 32, L"IMG_%04d.jpg", i);
        ::SendMessageW(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(szName));
    }
}

LRESULT CTestPane::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT lResult = CQMXPDockingControlBar::WindowProc(message, wParam, lParam);
    const HWND hChild = message == WM_SIZE ? ::GetWindow(m_hWnd, GW_CHILD) : nullptr;
    if (hChild != nullptr)
        ::MoveWindow(hChild, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return lResult;
}

CTestPane* PaneTest::MakePane(UINT nID, CSize size, DWORD dwStyle, DWORD dwControlBarStyle, CSize sizeMin) {
    m_panes.push_back(std::make_unique<CTestPane>(sizeMin));
    CTestPane* pPane = m_panes.back().get();
    CString strTitle;
    strTitle.Format(L"Pane %u", nID);
    if (!pPane->Create(strTitle, m_pFrame, CRect(CPoint(0, 0), size), TRUE, nID,
                       WS_CHILD | WS_VISIBLE | 0x1000 | dwStyle, 0, dwControlBarStyle))
        return nullptr;
    pPane->EnableDocking(0xF000);
    return pPane;
}

CTestPane* PaneTest::DockPane(UINT nID, CSize size, UINT nDockBarID, DWORD dwStyle) {
    CTestPane* pPane = MakePane(nID, size, dwStyle);
    if (pPane != nullptr)
        m_pFrame->DockControlBar(pPane, nDockBarID);
    return pPane;
}

CQMXPDockingControlBar* PaneTest::GroupOfTwo(UINT nFirstID, UINT nSecondID) {
    CTestPane* pFirst = DockPane(nFirstID, CSize(200, 300), AFX_IDW_DOCKBAR_LEFT);
    CTestPane* pSecond = MakePane(nSecondID, CSize(200, 300));
    CQMXPDockingControlBar* pGroup = nullptr;
    if (pFirst != nullptr && pSecond != nullptr)
        pSecond->AttachToTabWnd(pFirst, QMXP_DM_RECT, TRUE, &pGroup);
    return pGroup;
}

CTestPane* PaneTest::FloatPane(UINT nID, const CRect& rect, DWORD dwStyle) {
    CTestPane* pPane = MakePane(nID, rect.Size(), dwStyle);
    if (pPane != nullptr)
        pPane->FloatControlBar(rect, QMXP_DM_RECT);
    return pPane;
}

LRESULT PaneTest::SendAt(CWnd* pWnd, UINT message, CPoint ptScreen, WPARAM wParam) {
    CPoint pt = ptScreen;
    if (message < WM_NCMOUSEMOVE || message > WM_NCMBUTTONDBLCLK)
        pWnd->ScreenToClient(&pt);
    return pWnd->SendMessage(message, wParam, MAKELPARAM(pt.x, pt.y));
}

CPoint PaneTest::CaptionPoint(CQMXPMiniFrameWnd* pFrame) {
    CRect rectCaption;
    pFrame->GetCaptionRect(rectCaption);
    CRect rectWindow;
    pFrame->GetWindowRect(&rectWindow);
    return CPoint(rectWindow.left + rectCaption.left + 20, rectWindow.top + rectCaption.CenterPoint().y);
}

void PaneTest::DragFrameTo(CQMXPMiniFrameWnd* pFrame, CPoint ptTo) {
    const CPoint ptFrom = CaptionPoint(pFrame);
    ::SetCursorPos(ptFrom.x, ptFrom.y);
    SendAt(pFrame, WM_LBUTTONDOWN, ptFrom, MK_LBUTTON);
    ::SetCursorPos(ptTo.x, ptTo.y);
    SendAt(pFrame, WM_MOUSEMOVE, ptTo, MK_LBUTTON);
    if (::IsWindow(pFrame->GetSafeHwnd()))
        SendAt(pFrame, WM_LBUTTONUP, ptTo);
    Pump();
}

}  // namespace docking_test
