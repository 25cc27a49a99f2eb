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
    int horizontalExtent = 0;
    bool horizontalBar = false;

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
        horizontalExtent = static_cast<int>(::SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0));
        SCROLLBARINFO bar = {sizeof bar};
        horizontalBar = ::GetScrollBarInfo(list, OBJID_HSCROLL, &bar) && !(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);
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
        L"that it needs the horizontal scroll bar to be read to its end",
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
    EXPECT_TRUE(dlg.listStyle & WS_HSCROLL);
    EXPECT_GT(dlg.horizontalExtent, dlg.listRect.right - dlg.listRect.left) << "the long line can be scrolled to";
}

TEST(XmlErrorDlg, APathLongerThanTheListIsScrolledToSideways)
{
    CProbedErrorDlg dlg;
    const std::wstring path = L"Cannot open file C:\\" + std::wstring(300, L'x') + L".jpg";
    dlg.AddLine(path.c_str());
    dlg.onInit = [](CProbedErrorDlg& d) { d.PostMessage(WM_COMMAND, IDOK); };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_GT(dlg.horizontalExtent, dlg.listRect.right - dlg.listRect.left);
    EXPECT_TRUE(dlg.horizontalBar);
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
