#pragma once
// The docking layout tests' frame: a library MDI frame with an 800 x 600
// client area and all four dock bars, bars of fixed sizes docked in it, and
// scopes for the cursor, the Ctrl key and the dock manager's clock.
#include "DockingTestSupport.h"

#include "docking/bars/QMXPControlBar.h"
#include "docking/bars/QMXPDockBar.h"
#include "docking/bars/QMXPDockBarRow.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPStatusBar.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPMiniFrameWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace docking_test {

// A bar of one size: cx along its dock bar, cy across.
class CFixedBar : public CQMXPControlBar {
public:
    explicit CFixedBar(CSize size) : m_size(size) {}
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? m_size : CSize(m_size.cy, m_size.cx); }
    CSize m_size;
};

// The library frame of the tests; it logs the pane and text-format
// commands it gets, tool bars rebuilt from their resources and tool bars
// that change sides.
class CDockTestMDIFrame : public CQMXPMDIFrameWnd {
    DECLARE_DYNCREATE(CDockTestMDIFrame)
protected:
    afx_msg BOOL OnIndicator(UINT nID) {
        Record(L"frame:" + std::to_wstring(nID));
        return TRUE;
    }
    afx_msg void OnTextFormat(UINT nID) { Record(L"format:" + std::to_wstring(nID)); }
    afx_msg BOOL OnTextCommand(UINT nID) {
        Record(L"command:" + std::to_wstring(nID));
        return TRUE;
    }
    afx_msg LRESULT OnResetToolBar(WPARAM wParam, LPARAM) {
        Record(L"reset:" + std::to_wstring(wParam));
        return 0;
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    DECLARE_MESSAGE_MAP()
};

// Puts the cursor somewhere for a scope and back.
class CCursorAt {
public:
    explicit CCursorAt(CPoint pt) {
        ::GetCursorPos(&m_ptOld);
        ::SetCursorPos(pt.x, pt.y);
    }
    ~CCursorAt() { ::SetCursorPos(m_ptOld.x, m_ptOld.y); }

private:
    POINT m_ptOld{};
};

// Holds Ctrl down in the thread's key state for a scope.
class CCtrlDown {
public:
    CCtrlDown() { Set(0x80); }
    ~CCtrlDown() { Set(0); }

private:
    static void Set(BYTE state) {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = state;
        ::SetKeyboardState(keys);
    }
};

// The dock manager's clock reads s_now for a scope.
class CTestClock {
public:
    CTestClock() { CQMXPDockManager::m_pfnClock = [] { return s_now; }; }
    ~CTestClock() { CQMXPDockManager::m_pfnClock = s_pfnOld; }
    static long s_now;

private:
    CQMXPDockManager::ClockFunction s_pfnOld = CQMXPDockManager::m_pfnClock;
};

class DockLayoutTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The frame of the test (a fixture may log more).
    virtual CDockTestMDIFrame* NewFrame() { return new CDockTestMDIFrame; }

    // A fixed bar docked to the dock bar of the id (none: not docked).
    CFixedBar* AddBar(CSize size, UINT nDockBarID, UINT nID);
    // The status bar with a message pane and two indicators.
    bool AddStatusBar(CQMXPStatusBar& bar);
    CQMXPDockBar* DockBar(DWORD dwSide) const { return Manager().DockBarForSide(dwSide, TRUE); }
    CQMXPDockManager& Manager() const { return *m_pFrame->GetDockManager(); }
    // The window in the frame's client coordinates.
    CRect InFrame(const CWnd* pWnd) const;
    CRect Screen(const CWnd* pWnd) const;

    CDockTestApp m_app;
    CDockTestMDIFrame* m_pFrame = nullptr;
    std::vector<std::unique_ptr<CFixedBar>> m_bars;
};

}  // namespace docking_test
