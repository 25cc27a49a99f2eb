// The application base's parts on given inputs: version numbers, links,
// page measures, the shell registration, the document manager and the
// status bar's panes.
#include "KWAppTestSupport.h"

#include "controls/KWScrolledBitmapControl.h"
#include "framework/KWSystemInfo.h"
#include "appwindows/KWDocManager.h"
#include "appwindows/KWStatusBar.h"
#include "platform/classlib/DocTemplate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace kwapp;

namespace {

std::wstring ClassesValue(const std::wstring& key, const wchar_t* name = nullptr)
{
    wchar_t value[2100] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"(missing)";
    return value;
}

// Answers the open dialog: the folder first (the dialog may open in the one
// it remembers), then the names. A message box it raises is closed and noted.
std::vector<std::wstring> g_typed;
std::vector<std::wstring> g_boxes;
void CALLBACK TypeNames(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = classlib_test::FindThreadDialog(nullptr, 1148);
    if (!dialog)
        dialog = classlib_test::FindThreadDialog(nullptr, 1152);
    if (!dialog) {
        const std::vector<std::wstring> texts = classlib_test::AnswerMessageBox();
        g_boxes.insert(g_boxes.end(), texts.begin(), texts.end());
        return;
    }
    if (g_typed.empty() || !g_boxes.empty()) {
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        ::KillTimer(nullptr, timer);
        return;
    }
    for (int id : {1148, 1152})
        ::SendMessageW(dialog, CDM_SETCONTROLTEXT, id, reinterpret_cast<LPARAM>(g_typed.front().c_str()));
    g_typed.erase(g_typed.begin());
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

}  // namespace

TEST(AppVersion, NumbersJoinMinorAndBuildAndAreKeptFromTheFirstCall)
{
    const struct {
        const wchar_t* text;
        int32_t number;
    } cases[] = {{L"2.1.3.4", 213004}, {L"2.1.3", 213000}, {L"2.1", 201000}, {L"2", 200000},
                 {L"", 100000},        {L"1.13.2.7", 232007}, {L" 3.0.0.12", 300012}};
    for (const auto& c : cases)
        EXPECT_EQ(c.number, KWVersionNumberFromText(c.text)) << c.text;

    CAppTestApp app;
    EXPECT_STREQ(L"2.1.3.4", app.GetVersionString());
    EXPECT_EQ(213004, app.GetVersionNumber());
    app.SetVersionText(L"2.1");
    EXPECT_EQ(213004, app.GetVersionNumber());
}

TEST(AppVersion, LinksGetTheirSchemeOnce)
{
    EXPECT_STREQ(L"http://www.kestrelworks.example/", KWCompleteLink(L"www.kestrelworks.example/"));
    EXPECT_STREQ(L"http://a.example", KWCompleteLink(L"http://a.example"));
    EXPECT_STREQ(L"https://b.example", KWCompleteLink(L"https://b.example"));
}

TEST(AppPrinterMetrics, PixelsBecomeTenthsOfAMillimetre)
{
    CAppTestApp app;
    // 8.5 by 11 inches at 600 pixels per inch, the printable area 100 pixels
    // in from the left, top and right and 150 from the bottom.
    app.SetPageGeometry({600, 600, 5100, 6600, 100, 100, 4900, 6350});
    EXPECT_NEAR(42.3333, app.m_leftMargin, 1e-4);
    EXPECT_NEAR(63.5, app.m_bottomMargin, 1e-9);
    EXPECT_NEAR(2074.3333, app.m_printableWidth, 1e-4);
    EXPECT_EQ(2794, app.m_paperHeight);
    EXPECT_EQ(63, app.m_largestMargin);
}

TEST(AppPieces, TheCreditsPictureComesBackFromTheBottom)
{
    const struct {
        int offset;
        int top;
    } cases[] = {{0, 0}, {-1, -1}, {-655, -655}, {-656, 152}, {-655 - 153, 0}, {-655 - 808, 153}, {-655 - 809, 152}};
    for (const auto& c : cases)
        EXPECT_EQ(c.top, KWScrolledBitmapTop(c.offset, 153, 655)) << c.offset;
}

class AppParts : public AppFixture {};

TEST_F(AppParts, TheShellRegistrationWritesWhatTheFlagsAsk)
{
    app->RegisterShellFileTypes();
    const std::wstring path = GetModuleFilePath().GetString();
    const struct {
        const wchar_t* key;
        const wchar_t* name;
        std::wstring value;
    } cases[] = {
        {L".kwa", nullptr, L"KWAppTests.A"},
        {L"KWAppTests.A", nullptr, L"Test Type"},
        {L"KWAppTests.A\\DefaultIcon", nullptr, path + L",1"},
        {L"KWAppTests.A\\shell\\open\\ddeexec", nullptr, L"[open(\"%1\")]"},
        {L"KWAppTests.A\\shell\\open\\ddeexec\\Application", nullptr, L"framework_tests"},
        {L"KWAppTests.A\\shell\\open\\ddeexec\\topic", nullptr, L"system"},
        {L"KWAppTests.A\\shell\\open\\command", nullptr, path + L" /dde"},
        {L"KWAppTests.A\\shell\\print\\command", nullptr, L"(missing)"},
        {L"KWAppTests.A\\shell\\printto\\command", nullptr, L"(missing)"},
        {L".kwa\\ShellNew", L"NullFile", L"(missing)"},
        {L"KWAppTests.B\\shell\\print\\ddeexec", nullptr, L"[print(\"%1\")]"},
        {L"KWAppTests.B\\shell\\print\\command", nullptr, path + L" /p \"%1\""},
        {L"KWAppTests.B\\shell\\printto\\ddeexec", nullptr, L"[printto(\"%1\",\"%2\",\"%3\",\"%4\")]"},
        {L"KWAppTests.B\\shell\\printto\\command", nullptr, path + L" /pt \"%1\" \"%2\" \"%3\" \"%4\""},
        {L".kwb\\ShellNew", L"NullFile", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value, ClassesValue(c.key, c.name)) << c.key;
}

TEST_F(AppParts, TheDocumentsOfAllTemplatesAreWalkedThrough)
{
    CKWDocManager empty;
    empty.OnFileNew();
    EXPECT_TRUE(app->messages.empty()) << "without templates File New does nothing";
    EXPECT_EQ(nullptr, empty.GetFirstDocument());

    // The first template has no document; the two added have one each.
    std::vector<CDocument*> made;
    for (int added = 0; added < 2; ++added) {
        auto* docTemplate = new CMultiDocTemplate(IDR_KWAPP_DOC, RUNTIME_CLASS(CAppTestDoc),
                                                  RUNTIME_CLASS(CAppTestFrame), RUNTIME_CLASS(CAppTestView));
        app->AddDocTemplate(docTemplate);
        made.push_back(docTemplate->OpenDocumentFile(nullptr));
    }
    EXPECT_EQ(made[0], app->GetFirstDocument());
    EXPECT_EQ(made[1], app->GetNextDocument());
    EXPECT_EQ(nullptr, app->GetNextDocument());
}

TEST_F(AppParts, ThreeFilesChosenTogetherOpenInTheirOrder)
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"kwapp_open_" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<std::wstring> paths;
    for (const wchar_t* name : {L"c.kwr", L"a.kwr", L"b.kwr"}) {
        paths.push_back(folder + L"\\" + name);
        ::CloseHandle(::CreateFileW(paths.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    g_typed = {folder, L"\"c.kwr\" \"a.kwr\" \"b.kwr\""};
    g_boxes.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, TypeNames);
    app->OnFileOpen();
    ::KillTimer(nullptr, timer);
    for (const std::wstring& path : paths)
        ::DeleteFileW(path.c_str());
    ::RemoveDirectoryW(folder.c_str());

    EXPECT_TRUE(g_boxes.empty());
    ASSERT_EQ(3u, CAppTestDoc::s_opened.size());
    for (size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(0, _wcsicmp(paths[i].c_str(), CAppTestDoc::s_opened[i].c_str())) << CAppTestDoc::s_opened[i];
}

TEST_F(AppParts, StatusPanesAreFoundByPoint)
{
    CKWStatusBar* bar = GetKWStatusBar();
    ASSERT_NE(nullptr, bar);
    for (int pane = 0; pane < bar->GetCount(); ++pane) {
        CRect rect;
        bar->GetItemRect(pane, &rect);
        EXPECT_EQ(pane, bar->HitTestPane(rect.CenterPoint())) << pane;
    }
    EXPECT_EQ(-1, bar->HitTestPane(CPoint(-5, -5)));
}

namespace {

// The darkest grey level of a pane's pixels (0 black, 255 white).
int DarkestInPane(CKWStatusBar* bar, int pane)
{
    CRect rect;
    bar->GetItemRect(pane, &rect);
    rect.DeflateRect(3, 2);
    bar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    HDC dc = ::GetDC(bar->m_hWnd);
    int darkest = 255;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) {
            const COLORREF c = ::GetPixel(dc, x, y);
            darkest = std::min(darkest, std::max({int(GetRValue(c)), int(GetGValue(c)), int(GetBValue(c))}));
        }
    ::ReleaseDC(bar->m_hWnd, dc);
    return darkest;
}

bool Toggled(int key)
{
    classlib_test::DrainMessages();
    return (::GetKeyState(key) & 1) != 0;
}

}  // namespace

TEST_F(AppParts, LockPanesAreGreyWhileTheirKeyIsOffAndADoubleClickTogglesIt)
{
    CKWStatusBar* bar = GetKWStatusBar();
    ASSERT_NE(nullptr, bar);
    ::SetForegroundWindow(bar->GetParentFrame()->m_hWnd);
    const struct {
        int pane;
        int key;
        const wchar_t* text;
    } locks[] = {{5, VK_NUMLOCK, L"NUM"}, {6, VK_CAPITAL, L"CAP"}};
    for (const auto& lock : locks) {
        bar->SetPaneText(lock.pane, lock.text, TRUE);
        CRect rect;
        bar->GetItemRect(lock.pane, &rect);
        const LPARAM centre = MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y);
        // Off first: a double click turns it off when it is on.
        if (Toggled(lock.key))
            bar->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, centre);
        ASSERT_FALSE(Toggled(lock.key)) << lock.text;
        const int off = DarkestInPane(bar, lock.pane);
        EXPECT_GE(off, 0x60) << lock.text << ": grey while off";
        bar->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, centre);
        EXPECT_TRUE(Toggled(lock.key)) << lock.text << ": the double click presses the key";
        EXPECT_LT(DarkestInPane(bar, lock.pane), 0x40) << lock.text << ": in the window text's colour while on";
        bar->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, centre);
        EXPECT_FALSE(Toggled(lock.key)) << lock.text;
    }
}
