#include "files/XmlErrorDlg.h"
#include "resources/FilesDialogs.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Reads the dialog's controls once it stands, then acts on it.
class CProbedErrorDlg : public CXmlErrorDlg {
public:
    std::function<void(CProbedErrorDlg&)> onInit;
    std::wstring heading;
    std::vector<std::wstring> listed;
    std::wstring caption;
    RECT listRect = {};
    LONG listStyle = 0;
    std::vector<int> rowHeights;
    bool horizontalBar = false;
    // The height each line takes wrapped to the list's client width, as text
    // of the list's font is measured there.
    std::vector<int> wrappedHeights;

    BOOL OnInitDialog() override
    {
        BOOL result = CXmlErrorDlg::OnInitDialog();
        wchar_t text[512];
        ::GetDlgItemTextW(m_hWnd, IDC_XML_ERROR_HEADING, text, 512);
        heading = text;
        ::GetWindowTextW(m_hWnd, text, 512);
        caption = text;
        HWND list = ::GetDlgItem(m_hWnd, IDC_XML_ERROR_LIST);
        int count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring line(static_cast<size_t>(::SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&line[0]));
            listed.push_back(line);
        }
        listStyle = ::GetWindowLongW(list, GWL_STYLE);
        for (int i = 0; i < count; ++i)
            rowHeights.push_back(static_cast<int>(::SendMessageW(list, LB_GETITEMHEIGHT, i, 0)));
        SCROLLBARINFO bar = {sizeof bar};
        horizontalBar = ::GetScrollBarInfo(list, OBJID_HSCROLL, &bar) && !(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);
        RECT client = {};
        ::GetClientRect(list, &client);
        HDC dc = ::GetDC(list);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
        for (const std::wstring& line : listed) {
            RECT text = {0, 0, client.right - ::GetSystemMetrics(SM_CXVSCROLL) - 4, 0};
            ::DrawTextW(dc, line.empty() ? L" " : line.c_str(), line.empty() ? 1 : int(line.size()), &text,
                        DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_CALCRECT);
            wrappedHeights.push_back(text.bottom);
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(list, dc);
        ::GetWindowRect(list, &listRect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&listRect), 2);
        SetTimer(1, 4000, nullptr);
        if (onInit)
            onInit(*this);
        return result;
    }

protected:
    afx_msg void OnTimer(UINT_PTR) { EndDialog(-2); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbedErrorDlg, CXmlErrorDlg)
    ON_WM_TIMER()
END_MESSAGE_MAP()

}  // namespace

TEST(XmlErrorDlg, ListsTheLinesUnderTheHeadingAndClosesWithOk)
{
    CProbedErrorDlg dlg;
    dlg.SetHeading(L"Some errors have occured during loading the document:");
    const std::vector<std::wstring> lines = {
        L"Cannot open file a.jpg",
        L"Error [Line 3]: Opening and ending tag mismatch: Child line 2 and Root",
        L"",
        L"Warning [line 12]: Misplaced tag Leaf is ignored. A long line that is wider than the list box itself, so "
        L"that it is read to its end on the rows below, wrapped at its words, without any sideways scrolling at all, "
        L"however narrow the list may be",
    };
    for (const std::wstring& line : lines)
        dlg.AddLine(line.c_str());
    dlg.onInit = [](CProbedErrorDlg& d) {
        d.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(d.m_hWnd, IDOK)));
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.caption, L"Errors");
    EXPECT_EQ(dlg.heading, L"Some errors have occured during loading the document:");
    EXPECT_EQ(dlg.listed, lines) << "in order, none sorted away";
    EXPECT_TRUE(dlg.listStyle & LBS_NOINTEGRALHEIGHT);
    EXPECT_FALSE(dlg.listStyle & LBS_SORT);
    // Long lines wrap: no sideways scrolling, and each row is as tall as its
    // line wrapped to the list's width.
    EXPECT_FALSE(dlg.listStyle & WS_HSCROLL);
    EXPECT_FALSE(dlg.horizontalBar);
    ASSERT_EQ(lines.size(), dlg.rowHeights.size());
    ASSERT_EQ(lines.size(), dlg.wrappedHeights.size());
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(dlg.wrappedHeights[i], dlg.rowHeights[i]) << i;
    EXPECT_GT(dlg.rowHeights[3], 2 * dlg.rowHeights[0]) << "the long line takes three rows or more";
}

TEST(XmlErrorDlg, APathLongerThanTheListBreaksWhereItMust)
{
    CProbedErrorDlg dlg;
    const std::wstring path = L"Cannot open file C:\\" + std::wstring(300, L'x') + L".jpg";
    dlg.AddLine(path.c_str());
    dlg.onInit = [](CProbedErrorDlg& d) { d.PostMessage(WM_COMMAND, IDOK); };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(1u, dlg.rowHeights.size());
    EXPECT_EQ(dlg.wrappedHeights[0], dlg.rowHeights[0]);
    EXPECT_FALSE(dlg.horizontalBar);
    EXPECT_EQ(std::vector<std::wstring>{path}, dlg.listed);
}

TEST(XmlErrorDlg, EscapeAndTheCloseBoxEndItToo)
{
    CProbedErrorDlg dlg;
    LRESULT help = 0;
    dlg.onInit = [&help](CProbedErrorDlg& d) {
        // A framework dialog: the help message is its own.
        help = d.SendMessage(g_msgShowContextHelp);
        d.PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(1, help);
    EXPECT_NE(nullptr, dynamic_cast<CKWDialog*>(&dlg));
    EXPECT_EQ(dlg.heading, L"") << "the heading replaces the template's text";
    EXPECT_TRUE(dlg.listed.empty());
}
