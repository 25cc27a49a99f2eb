// The edit engine driven through a text panel's window: keys, typed
// characters and the mouse as messages; selections, runs and paragraph
// records checked afterwards.
#include "text/KWEditEngine.h"

#include <gtest/gtest.h>

#include "tests/text/PanelTestSupport.h"
#include "tests/text/TextTestSupport.h"

namespace {

std::wstring Text(const CKWTextObject& text)
{
    return std::wstring(text.GetText().GetString(), static_cast<size_t>(text.GetLength()));
}

}  // namespace

TEST(EditEngine, KeysMoveAndChangeTheSelection)
{
    struct Case {
        const wchar_t* text;
        int start, end;  // selection before
        UINT key;
        bool shift, ctrl;
        int wantStart, wantEnd;
        const wchar_t* wantText;  // null: unchanged
    };
    const Case cases[] = {
        {L"abcdef", 2, 5, VK_LEFT, false, false, 2, 2, nullptr},  // collapses, no further
        {L"abcdef", 2, 5, VK_RIGHT, false, false, 5, 5, nullptr},
        {L"abcdef", 3, 3, VK_LEFT, false, false, 2, 2, nullptr},
        {L"abcdef", 1, 1, VK_RIGHT, true, false, 1, 2, nullptr},
        {L"abc def", 5, 5, VK_LEFT, false, true, 4, 4, nullptr},  // to the word's start
        {L"abc def", 0, 0, VK_RIGHT, false, true, 3, 3, nullptr},
        {L"abc def", 1, 1, VK_END, false, true, 7, 7, nullptr},
        {L"abc def", 2, 6, VK_HOME, false, true, 0, 0, nullptr},
        {L"abc\ndef", 5, 5, VK_HOME, false, false, 4, 4, nullptr},
        {L"abc\ndef", 1, 1, VK_END, false, false, 3, 3, nullptr},  // before the line feed
        {L"abc\ndef", 1, 1, VK_END, true, false, 1, 4, nullptr},   // the line feed included
        {L"abc\ndef", 1, 1, VK_DOWN, false, false, 5, 5, nullptr},
        {L"abc\ndef", 6, 6, VK_UP, false, false, 2, 2, nullptr},
        {L"abc\ndef", 1, 1, VK_UP, false, false, 0, 0, nullptr},   // first line: the start
        {L"abc\ndef", 5, 5, VK_DOWN, false, false, 7, 7, nullptr},  // last line: the end
        {L"abc", 0, 0, VK_BACK, false, false, 0, 0, nullptr},      // nothing before the caret
        {L"abc", 3, 3, VK_DELETE, false, false, 3, 3, nullptr},    // nothing after it
        {L"abc", 2, 2, VK_BACK, false, false, 1, 1, L"ac"},
        {L"abc", 1, 1, VK_DELETE, false, false, 1, 1, L"ac"},
        {L"abc", 1, 3, VK_BACK, false, false, 1, 1, L"a"},
        {L"abc", 2, 2, VK_BACK, false, true, 2, 2, nullptr},       // consumed, nothing done
        {L"abc", 1, 2, 'A', false, true, 0, 3, nullptr},
    };
    PanelWindow window;
    for (const Case& c : cases) {
        TableText text;
        SetNote(text, c.text);
        window.Edit(text);
        window.Panel().SetSel(c.start, c.end, true);
        window.Key(c.key, c.shift, c.ctrl);
        const std::wstring label = std::wstring(c.text) + L" key " + std::to_wstring(c.key);
        EXPECT_EQ(window.Selection(), std::make_pair(c.wantStart, c.wantEnd)) << label.c_str();
        EXPECT_EQ(Text(text), c.wantText ? c.wantText : c.text) << label.c_str();
        window.Panel().DetachTextObject();
    }
}

TEST(EditEngine, SelectionEdgesAndQuietKeys)
{
    PanelWindow window;
    TableText text;
    SetNote(text, L"abc");
    window.Edit(text);
    window.Panel().SetSel(5, -1, true);
    EXPECT_EQ(window.Selection(), std::make_pair(3, 3));

    // Select-all with everything selected, and Home where the caret already
    // is, repaint nothing.
    window.Panel().SetSel(0, -1, true);
    EXPECT_FALSE(window.Invalidates([&] { window.Key('A', false, true); }));
    window.Panel().SetSel(0, 0, true);
    EXPECT_FALSE(window.Invalidates([&] { window.Key(VK_HOME); }));
    EXPECT_TRUE(window.Invalidates([&] { window.Key(VK_END); }));
}

TEST(EditEngine, TypingKeepsRunsAndParagraphRecords)
{
    PanelWindow window;
    TableText text;
    SetNote(text, L"abcdef");
    window.Edit(text);

    window.Panel().SetSel(3, 3, true);
    window.Type(L"\x7f\x01");  // control characters are no text
    EXPECT_EQ(Text(text), L"abcdef");
    window.Type(L"\r");
    EXPECT_EQ(Text(text), L"abc\ndef");
    EXPECT_EQ(ParaCounts(text), (std::vector<uint32_t>{4, 3}));
    EXPECT_EQ(window.Selection(), std::make_pair(4, 4));
    window.Key(VK_BACK);  // the paragraphs join again, in one record
    EXPECT_EQ(ParaCounts(text), (std::vector<uint32_t>{6}));
    window.Key(VK_END, false, true);
    window.Type(L"\r");  // the empty last paragraph has its own record
    EXPECT_EQ(ParaCounts(text), (std::vector<uint32_t>{7, 0}));

    // Bold set at the caret changes no run; the next typed character is bold.
    window.Panel().SetSel(2, 2, true);
    const std::vector<uint32_t> runs = RunCounts(text);
    CKWCharFormat bold;
    bold.m_count = CKWCharFormat::kBold;
    bold.m_style = CKWCharFormat::kBold;
    window.Panel().SetSelCharFormat(bold);
    EXPECT_EQ(RunCounts(text), runs);
    uint32_t mask = 0;
    EXPECT_TRUE(window.Panel().GetSelCharFormat(mask)->m_style & CKWCharFormat::kBold);
    window.Type(L"X");
    EXPECT_EQ(Text(text), L"abXcdef\n");
    EXPECT_EQ(RunCounts(text), (std::vector<uint32_t>{2, 1, 5}));
    EXPECT_EQ(text.GetRun(1).m_style, CKWCharFormat::kBold);
    EXPECT_EQ(text.GetRun(0).m_style | text.GetRun(2).m_style, 0);
    EXPECT_TRUE(window.Panel().IsTyping());
    EXPECT_EQ(window.Panel().GetModified() & 1, 1u);
}

TEST(EditEngine, MouseSelects)
{
    PanelWindow window;
    TableText text;
    SetNote(text, L"hello world again");
    window.Edit(text);

    // A press with Shift held collapses the selection where it was pressed.
    window.Panel().SetSel(1, 4, true);
    SetModifiers(true, false);
    window.Press(WM_LBUTTONDOWN, window.PointOf(8), MK_LBUTTON | MK_SHIFT);
    window.Press(WM_LBUTTONUP, window.PointOf(8), MK_SHIFT);
    SetModifiers(false, false);
    EXPECT_EQ(window.Selection(), std::make_pair(8, 8));

    // Dragging selects from the press to the pointer.
    window.Press(WM_LBUTTONDOWN, window.PointOf(2), MK_LBUTTON);
    window.Press(WM_MOUSEMOVE, window.PointOf(9), MK_LBUTTON);
    window.Press(WM_LBUTTONUP, window.PointOf(9));
    EXPECT_EQ(window.Selection(), std::make_pair(2, 9));

    // A double click selects from the word's start to the next word start,
    // also on the word's first letter.
    for (int at : {8, 6}) {
        window.Press(WM_LBUTTONDOWN, window.PointOf(at), MK_LBUTTON);
        window.Press(WM_LBUTTONUP, window.PointOf(at));
        window.Press(WM_LBUTTONDBLCLK, window.PointOf(at), MK_LBUTTON);
        window.Press(WM_LBUTTONUP, window.PointOf(at));
        EXPECT_EQ(window.Selection(), std::make_pair(6, 11)) << at;
    }

    // A right press takes the focus and leaves the caret.
    window.Panel().SetSel(2, 2, true);
    ::SetFocus(window.Host());
    window.Press(WM_RBUTTONDOWN, window.PointOf(12), MK_RBUTTON);
    EXPECT_EQ(::GetFocus(), window.Handle());
    EXPECT_EQ(window.Selection(), std::make_pair(2, 2));
}

TEST(EditEngine, CaretScrollsIntoViewOnlyWithTheBar)
{
    PanelWindow window(200, 60);
    TableText text;
    SetNote(text, L"one\ntwo\nthree\nfour\nfive\nsix\nseven\neight");
    window.Edit(text);
    ASSERT_TRUE(window.Panel().GetStyle() & WS_VSCROLL);

    window.Key(VK_END, false, true);
    EXPECT_GT(window.Panel().scrollRequests, 0);
    EXPECT_GT(window.Panel().GetScrollY(), 0.0);
    window.Key(VK_HOME, false, true);
    EXPECT_EQ(window.Panel().GetScrollY(), 0.0);

    window.Panel().manageBar = false;
    window.Panel().ShowScrollBar(SB_VERT, FALSE);
    window.Panel().scrollRequests = 0;
    for (UINT key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_END})
        window.Key(key, false, key == VK_END);
    EXPECT_EQ(window.Panel().scrollRequests, 0);
    EXPECT_EQ(window.Selection(), std::make_pair(text.GetLength(), text.GetLength()));
}
