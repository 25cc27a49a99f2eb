#pragma once
// The print preview of a report window, opened by the main tool bar's button
// and closed by its own Close, as a user does: its tool bar, its pages and
// the view it draws them in.
#include "ProgramRealInput.h"
#include "ProgramRun.h"
#include "UserInput.h"

#include "tests/support/WindowPixels.h"

#include <windows.h>

#include <string>
#include <utility>

namespace edtest {

class CPrintPreview {
public:
    CPrintPreview(const CProgramRun& program, HWND frame)
        : m_program(program), m_view(CProgramRun::FindById(frame, kViewId))
    {
    }

    // True once the report's view gave way to the preview and its tool bar
    // offers Close.
    bool Open()
    {
        if (!ClickBarCommand(CProgramRun::FindById(m_program.Main(), kMainBar), kPrintPreview) ||
            !WaitFor([&] { return !::IsWindowVisible(m_view); }))
            return false;
        return WaitFor([&] {
            m_bar = CProgramRun::FindById(m_program.Main(), kBar);
            return m_bar && BarCommandIndex(m_bar, kClose) >= 0;
        });
    }
    // The next page asked for.
    void Next() const { ClickBarCommand(m_bar, kNext); }
    // True once the status bar names the page as the one shown.
    bool Shows(int page) const
    {
        HWND status = CProgramRun::FindById(m_program.Main(), kStatusBar);
        const std::wstring named = L"Page " + std::to_wstring(page);
        return WaitFor([&] { return StatusPaneText(status, 0) == named; });
    }
    // True once the report's view is back.
    bool Close() const
    {
        ClickBarCommand(m_bar, kClose);
        return WaitFor([&] { return ::IsWindowVisible(m_view) != FALSE; });
    }
    // The paper of the page shown once drawn on its grey ground, the same at
    // two looks: its pixels, and in paper where it lies in the view.
    test_support::Pixels Paper(CRect& paper) const
    {
        test_support::Pixels last;
        WaitFor([&] {
            HWND view = View();
            test_support::Pixels pixels = view ? test_support::Capture(view, false) : test_support::Pixels();
            paper = WhitePaper(pixels);
            const bool onGround = paper.Width() > 20 && paper.Height() > 20 &&
                                  (paper.Width() < pixels.width - 10 || paper.Height() < pixels.height - 10);
            const bool steady = onGround && pixels == last;
            last = std::move(pixels);
            return steady;
        });
        return last;
    }
    // The view that shows the pages in place of the hidden report view.
    HWND View() const
    {
        HWND found = nullptr;
        ::EnumChildWindows(m_program.Main(), FindVisibleView, reinterpret_cast<LPARAM>(&found));
        return found;
    }

private:
    static constexpr int kViewId = 0xE900;
    static constexpr int kMainBar = 59952;
    static constexpr int kBar = 0xE800;
    static constexpr int kStatusBar = 0xE801;
    static constexpr UINT kPrintPreview = 57609;
    static constexpr UINT kNext = 0xE302;
    static constexpr UINT kClose = 0xE300;

    // The smallest rectangle holding the white pixels.
    static CRect WhitePaper(const test_support::Pixels& pixels)
    {
        CRect paper(pixels.width, pixels.height, 0, 0);
        for (int y = 0; y < pixels.height; ++y)
            for (int x = 0; x < pixels.width; ++x)
                if (pixels.At(x, y) == RGB(255, 255, 255))
                    paper |= CRect(x, y, x + 1, y + 1);
        return paper.left < paper.right ? paper : CRect(0, 0, 0, 0);
    }

    static BOOL CALLBACK FindVisibleView(HWND window, LPARAM data)
    {
        auto* found = reinterpret_cast<HWND*>(data);
        if (::GetDlgCtrlID(window) == kViewId && ::IsWindowVisible(window))
            *found = window;
        return *found == nullptr;
    }

    const CProgramRun& m_program;
    HWND m_view;
    HWND m_bar = nullptr;
};

}  // namespace edtest
