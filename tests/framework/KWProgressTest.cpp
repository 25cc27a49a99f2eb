// Tests of the progress interface's stages and of the progress window.
#include "framework/KWProgressInterface.h"
#include "appwindows/KWProgressWnd.h"

#include "resources/FrameworkDialogs.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A bar without a window: it records every position it is given.
class CRecordingProgress : public CKWProgressInterface {
public:
    explicit CRecordingProgress(int upper, int start = 0) : m_upper(upper), m_pos(start) {}
    std::vector<int> positions;

    void StepIt() override { ++m_pos; }
    int GetPos() override { return m_pos; }
    void SetPos(int position) override
    {
        m_pos = position;
        positions.push_back(position);
    }
    int GetUpper() override { return m_upper; }

private:
    int m_upper;
    int m_pos;
};

std::vector<int> Range(int first, int last, int step)
{
    std::vector<int> values;
    for (int v = first; v <= last; v += step)
        values.push_back(v);
    return values;
}

}  // namespace

TEST(CKWProgressInterface, StagesMoveForwardWithinTheirShare)
{
    struct Case {
        const char* name;
        double share;
        int upper;
        int start;
        int units;
        int advances;
        std::vector<int> positions;
    };
    const Case cases[] = {
        {"0.8 of 100 in 40 units: 2 per unit", 0.8, 100, 0, 40, 40, Range(2, 80, 2)},
        {"no units: one position per advance", 1.0, 100, 0, 0, 5, Range(1, 5, 1)},
        {"more units than positions: never backwards", 1.0, 10, 0, 40, 40, Range(1, 10, 1)},
        {"never beyond the stage end", 0.5, 100, 0, 10, 15, Range(5, 50, 5)},
        {"a later stage starts where the bar stands", 0.2, 100, 80, 4, 4, Range(85, 100, 5)},
    };
    for (const Case& c : cases) {
        CRecordingProgress progress(c.upper, c.start);
        progress.SetStageShare(c.share);
        progress.BeginStage(c.units);
        int last = 0;
        for (int i = 0; i < c.advances; ++i)
            last = progress.Advance();
        EXPECT_EQ(c.positions, progress.positions) << c.name;
        EXPECT_EQ(c.positions.back(), last) << c.name;
    }
}

TEST(CKWProgressInterface, UpdateJumpsToTheStageEndOnce)
{
    CRecordingProgress progress(100);
    progress.SetStageShare(0.8);
    progress.BeginStage(40);
    progress.Advance();
    progress.Update();
    progress.Update();
    EXPECT_EQ((std::vector<int>{2, 80}), progress.positions);

    // The rest of the range in a second stage.
    progress.SetStageShare(0.2);
    progress.BeginStage(0);
    progress.Update();
    EXPECT_EQ(100, progress.GetPos());
}

namespace {

WNDPROC g_barProc = nullptr;
int g_barPaints = 0;

LRESULT CALLBACK CountBarPaints(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
        ++g_barPaints;
    return ::CallWindowProcW(g_barProc, hWnd, message, wParam, lParam);
}

}  // namespace

TEST(CKWProgressWnd, HiddenWindowWithLabelAndBar)
{
    HWND hWnd = nullptr;
    {
        CKWProgressWnd window;
        hWnd = window.m_hWnd;
        ASSERT_TRUE(::IsWindow(hWnd));
        EXPECT_FALSE(::IsWindowVisible(hWnd)) << "hidden until shown";
        EXPECT_EQ(0u, window.GetStyle() & WS_CAPTION);
        EXPECT_EQ(nullptr, ::GetDlgItem(hWnd, IDOK)) << "no way to cancel";
        wchar_t text[64] = {};
        ::GetDlgItemTextW(hWnd, IDC_KW_PROGRESS_TEXT, text, 64);
        EXPECT_STREQ(L"Processing...", text);
        EXPECT_EQ(1000, window.GetUpper());
        EXPECT_EQ(0, window.GetPos());

        window.SetRange(1, 100);
        window.SetStep(1);
        EXPECT_EQ(100, window.GetUpper());
        window.SetPos(1);
        window.StepIt();
        EXPECT_EQ(2, window.GetPos());

        window.SetMessage(L"Saving...");
        ::GetDlgItemTextW(hWnd, IDC_KW_PROGRESS_TEXT, text, 64);
        EXPECT_STREQ(L"Saving...", text);

        EXPECT_FALSE(window.Show()) << "not visible before";
        EXPECT_TRUE(::IsWindowVisible(hWnd));
        EXPECT_TRUE(window.Show());
        EXPECT_TRUE(window.Hide());
        EXPECT_FALSE(window.Hide());

        // The document's use: 1..100 and the whole range in one stage.
        window.SetPos(1);
        window.SetStageShare(0.8);
        window.BeginStage(40);
        for (int i = 0; i < 40; ++i)
            window.Advance();
        EXPECT_EQ(81, window.GetPos()) << "from 1, 0.8 of the upper end 100";

        // Many moves at once: each is taken, few are drawn, the last one is.
        window.Show();
        HWND bar = ::GetDlgItem(hWnd, IDC_KW_PROGRESS_BAR);
        g_barPaints = 0;
        g_barProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountBarPaints)));
        for (int position = 1; position <= 100; ++position) {
            window.SetPos(position);
            EXPECT_EQ(position, window.GetPos());
        }
        EXPECT_LT(g_barPaints, 20);
        EXPECT_GE(g_barPaints, 1) << "the end is drawn";
        ::SetWindowLongPtrW(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_barProc));
    }
    EXPECT_FALSE(::IsWindow(hWnd)) << "the window went with the object";
}
