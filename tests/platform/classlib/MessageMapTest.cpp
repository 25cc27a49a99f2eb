#include "platform/classlib/ComboBox.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/ScrollBar.h"
#include "platform/classlib/Wnd.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Registered before main; the message map reads the number when it dispatches.
const UINT g_msgRegistered = ::RegisterWindowMessageW(L"ClassLibTests_Registered");

// One handler per signature; each writes what it received.
class CSigWnd : public CWnd {
public:
    std::vector<std::string> log;
    HWND hOther = nullptr;
    HDC hdcExpected = nullptr;
    HDROP hDropExpected = nullptr;

    void Log(const char* format, ...) {
        char buffer[256];
        va_list args;
        va_start(args, format);
        std::vsnprintf(buffer, sizeof(buffer), format, args);
        va_end(args);
        log.push_back(buffer);
    }
    const char* Name(CWnd* pWnd) const {
        if (pWnd == nullptr)
            return "null";
        if (pWnd->m_hWnd == hOther)
            return "other";
        if (pWnd->m_hWnd == m_hWnd)
            return "self";
        return "?";
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW cs) {
        Log("create %ls", cs->lpszName);
        return CWnd::OnCreate(cs);
    }
    afx_msg BOOL OnNcCreate(LPCREATESTRUCTW cs) {
        Log("nccreate");
        return CWnd::OnNcCreate(cs);
    }
    afx_msg void OnSize(UINT nType, int cx, int cy) { Log("size %u %d %d", nType, cx, cy); }
    afx_msg void OnSizing(UINT fwSide, LPRECT r) {
        Log("sizing %u %ld,%ld,%ld,%ld", fwSide, r->left, r->top, r->right, r->bottom);
    }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) { Log("lbuttondown %u %ld %ld", nFlags, point.x, point.y); }
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point) {
        Log("nclbuttondown %u %ld %ld", nHitTest, point.x, point.y);
    }
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
        Log("wheel %u %d %ld %ld", nFlags, zDelta, pt.x, pt.y);
        return TRUE;
    }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Log("keydown %u %u %u", nChar, nRepCnt, nFlags); }
    afx_msg void OnSetFocus(CWnd* pOldWnd) { Log("setfocus %s", Name(pOldWnd)); }
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos) { Log("contextmenu %s %ld %ld", Name(pWnd), pos.x, pos.y); }
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
        Log("setcursor %s %u %u", Name(pWnd), nHitTest, message);
        return TRUE;
    }
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
        Log("mouseactivate %s %u %u", Name(pDesktopWnd), nHitTest, message);
        return MA_NOACTIVATE;
    }
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
        Log("hscroll %u %u %s", nSBCode, nPos, pScrollBar != nullptr && pScrollBar->m_hWnd == hOther ? "bar" : "none");
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { Log("timer %u", static_cast<unsigned>(nIDEvent)); }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
        Log("erasebkgnd %s", pDC->m_hDC == hdcExpected ? "dc" : "?");
        return TRUE;
    }
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* p) {
        Log("nccalcsize %d %ld", bCalcValidRects, p->rgrc[0].left);
    }
    afx_msg LRESULT OnNcHitTest(CPoint point) {
        Log("nchittest %ld %ld", point.x, point.y);
        return HTCAPTION;
    }
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI) { Log("minmax %ld", lpMMI->ptMaxTrackSize.x); }
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
        Log("activate %u %s %d", nState, Name(pWndOther), bMinimized);
    }
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID) {
        Log("activateapp %d %lu", bActive, static_cast<unsigned long>(dwThreadID));
    }
    afx_msg BOOL OnNcActivate(BOOL bActive) {
        Log("ncactivate %d", bActive);
        return TRUE;
    }
    afx_msg void OnEnable(BOOL bEnable) { Log("enable %d", bEnable); }
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos) { Log("poschanging %d,%d", lpwndpos->x, lpwndpos->y); }
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam) { Log("syscommand %u %ld", nID, static_cast<long>(lParam)); }
    afx_msg void OnSettingChange(UINT uFlags, LPCWSTR lpszSection) { Log("settingchange %u %ls", uFlags, lpszSection); }
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) {
        Log("menuchar %u %u %s", nChar, nFlags, pMenu != nullptr && pMenu->m_hMenu != nullptr ? "menu" : "none");
        return MAKELRESULT(1, MNC_EXECUTE);
    }
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
        Log("initmenupopup %s %u %d", pPopupMenu != nullptr && pPopupMenu->m_hMenu != nullptr ? "menu" : "none", nIndex,
            bSysMenu);
    }
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS) { Log("drawitem %d %u", nIDCtl, lpDIS->itemID); }
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMIS) {
        Log("measureitem %d", nIDCtl);
        lpMIS->itemHeight = 17;
    }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        Log("ctlcolor %s %s %u", pDC->m_hDC == hdcExpected ? "dc" : "?", Name(pWnd), nCtlColor);
        return static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    }
    afx_msg UINT OnGetDlgCode() {
        Log("getdlgcode");
        return DLGC_WANTALLKEYS;
    }
    afx_msg void OnDropFiles(HDROP hDropInfo) { Log("dropfiles %s", hDropInfo == hDropExpected ? "ok" : "?"); }
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo) {
        Log("help %d", pHelpInfo->iCtrlId);
        return TRUE;
    }
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd) {
        Log("mdiactivate %d %s %s", bActivate, Name(pActivateWnd), Name(pDeactivateWnd));
    }
    afx_msg BOOL OnQueryNewPalette() {
        Log("querynewpalette");
        return TRUE;
    }
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd) { Log("palettechanged %s", Name(pFocusWnd)); }
    afx_msg void OnMouseLeave() { Log("mouseleave"); }
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        Log("paint %s", dc.m_hDC != nullptr ? "dc" : "none");
    }
    afx_msg void OnDestroy() {
        Log("destroy");
        CWnd::OnDestroy();
    }
    afx_msg LRESULT OnApp(WPARAM wParam, LPARAM lParam) {
        Log("app %u %ld", static_cast<unsigned>(wParam), static_cast<long>(lParam));
        return 99;
    }
    afx_msg void OnAppVoid() { Log("appvoid"); }
    afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) {
        Log("registered %u", static_cast<unsigned>(wParam));
        return 7;
    }
    afx_msg void OnRegisteredCommand() { Log("registeredcommand"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSigWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_NCCREATE()
    ON_WM_SIZE()
    ON_WM_SIZING()
    ON_WM_LBUTTONDOWN()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
    ON_WM_SETFOCUS()
    ON_WM_CONTEXTMENU()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEACTIVATE()
    ON_WM_HSCROLL()
    ON_WM_TIMER()
    ON_WM_ERASEBKGND()
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_GETMINMAXINFO()
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
    ON_WM_NCACTIVATE()
    ON_WM_ENABLE()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SYSCOMMAND()
    ON_WM_SETTINGCHANGE()
    ON_WM_MENUCHAR()
    ON_WM_INITMENUPOPUP()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_CTLCOLOR()
    ON_WM_GETDLGCODE()
    ON_WM_DROPFILES()
    ON_WM_HELPINFO()
    ON_WM_MDIACTIVATE()
    ON_WM_QUERYNEWPALETTE()
    ON_WM_PALETTECHANGED()
    ON_WM_MOUSELEAVE()
    ON_WM_PAINT()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_APP + 1, OnApp)
    ON_MESSAGE_VOID(WM_APP + 2, OnAppVoid)
    ON_REGISTERED_MESSAGE(g_msgRegistered, OnRegistered)
    ON_COMMAND(LOWORD(g_msgRegistered), OnRegisteredCommand)
END_MESSAGE_MAP()

struct Dispatch {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const char* expected;
    LRESULT result;  // checked unless LRESULT_ANY
};
constexpr LRESULT LRESULT_ANY = 0x7FFF1234;

LPARAM Lp(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }
template <class T>
LPARAM Ptr(T* p) {
    return reinterpret_cast<LPARAM>(p);
}

}  // namespace

TEST(MessageMap, EachHandlerSignatureGetsItsArguments) {
    CSigWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"sig", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr));
    // The window was attached before its first messages: creation reached the map.
    auto find = [&](const char* line) {
        for (size_t i = 0; i < wnd.log.size(); ++i) {
            if (wnd.log[i] == line)
                return static_cast<int>(i);
        }
        return -1;
    };
    EXPECT_GE(find("nccreate"), 0);
    EXPECT_GT(find("create sig"), find("nccreate"));

    HWND hOther = ::CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD, 0, 0, 100, 16, wnd.m_hWnd, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(nullptr, hOther);
    wnd.hOther = hOther;
    HDC hdc = ::GetDC(wnd.m_hWnd);
    wnd.hdcExpected = hdc;
    HMENU hMenu = ::CreatePopupMenu();
    RECT rect = {1, 2, 3, 4};
    NCCALCSIZE_PARAMS ncParams = {};
    ncParams.rgrc[0] = {11, 12, 13, 14};
    MINMAXINFO mmi = {};
    mmi.ptMaxTrackSize.x = 640;
    WINDOWPOS pos = {};
    pos.x = 5;
    pos.y = 6;
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = 12;
    dis.itemID = 3;
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_LISTBOX;
    mis.CtlID = 13;
    HELPINFO help = {};
    help.cbSize = sizeof(help);
    help.iCtrlId = 44;
    HDROP hDrop = reinterpret_cast<HDROP>(::GlobalAlloc(GMEM_MOVEABLE, 32));
    wnd.hDropExpected = hDrop;
    WPARAM wOther = reinterpret_cast<WPARAM>(hOther);
    LPARAM lOther = reinterpret_cast<LPARAM>(hOther);

    const Dispatch cases[] = {
        {WM_SIZE, SIZE_MAXIMIZED, Lp(300, -5), "size 2 300 -5", 0},
        {WM_SIZING, WMSZ_BOTTOM, Ptr(&rect), "sizing 6 1,2,3,4", TRUE},
        {WM_LBUTTONDOWN, MK_CONTROL, Lp(-3, 40), "lbuttondown 8 -3 40", 0},
        {WM_NCLBUTTONDOWN, HTCAPTION, Lp(700, -20), "nclbuttondown 2 700 -20", 0},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-120)), Lp(10, 20), "wheel 4 -120 10 20", TRUE},
        {WM_KEYDOWN, VK_F5, MAKELPARAM(3, 0x3F), "keydown 116 3 63", 0},
        {WM_SETFOCUS, wOther, 0, "setfocus other", 0},
        {WM_CONTEXTMENU, wOther, Lp(100, -7), "contextmenu other 100 -7", 0},
        {WM_SETCURSOR, wOther, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), "setcursor other 1 512", TRUE},
        {WM_MOUSEACTIVATE, wOther, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN), "mouseactivate other 1 513",
         MA_NOACTIVATE},
        {WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 77), lOther, "hscroll 5 77 bar", 0},
        {WM_TIMER, 42, 0, "timer 42", 0},
        {WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0, "erasebkgnd dc", TRUE},
        {WM_NCCALCSIZE, FALSE, Ptr(&ncParams), "nccalcsize 0 11", 0},
        {WM_NCHITTEST, 0, Lp(15, 25), "nchittest 15 25", HTCAPTION},
        {WM_GETMINMAXINFO, 0, Ptr(&mmi), "minmax 640", 0},
        {WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 1), lOther, "activate 2 other 1", 0},
        {WM_ACTIVATEAPP, TRUE, 1234, "activateapp 1 1234", 0},
        {WM_NCACTIVATE, TRUE, 0, "ncactivate 1", TRUE},
        {WM_ENABLE, FALSE, 0, "enable 0", 0},
        {WM_WINDOWPOSCHANGING, 0, Ptr(&pos), "poschanging 5,6", 0},
        {WM_SYSCOMMAND, SC_MOVE, 5, "syscommand 61456 5", 0},
        {WM_SETTINGCHANGE, 47, Ptr(L"Policy"), "settingchange 47 Policy", 0},
        {WM_MENUCHAR, MAKEWPARAM(L'x', MF_POPUP), Ptr(hMenu), "menuchar 120 16 menu", MAKELRESULT(1, MNC_EXECUTE)},
        {WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(3, 1), "initmenupopup menu 3 1", 0},
        {WM_DRAWITEM, 12, Ptr(&dis), "drawitem 12 3", TRUE},
        {WM_MEASUREITEM, 13, Ptr(&mis), "measureitem 13", TRUE},
        {WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), lOther, "ctlcolor dc other 6",
         reinterpret_cast<LRESULT>(::GetStockObject(GRAY_BRUSH))},
        {WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hdc), lOther, "ctlcolor dc other 3",
         reinterpret_cast<LRESULT>(::GetStockObject(GRAY_BRUSH))},
        {WM_GETDLGCODE, 0, 0, "getdlgcode", DLGC_WANTALLKEYS},
        {WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0, "dropfiles ok", 0},
        {WM_HELP, 0, Ptr(&help), "help 44", TRUE},
        {WM_MDIACTIVATE, wOther, reinterpret_cast<LPARAM>(wnd.m_hWnd), "mdiactivate 1 self other", 0},
        {WM_QUERYNEWPALETTE, 0, 0, "querynewpalette", TRUE},
        {WM_PALETTECHANGED, wOther, 0, "palettechanged other", 0},
        {WM_MOUSELEAVE, 0, 0, "mouseleave", 0},
        {WM_APP + 1, 5, -6, "app 5 -6", 99},
        {WM_APP + 2, 0, 0, "appvoid", 0},
        {g_msgRegistered, 3, 0, "registered 3", 7},
        {WM_COMMAND, LOWORD(g_msgRegistered), 0, "registeredcommand", LRESULT_ANY},
    };
    for (const Dispatch& c : cases) {
        wnd.log.clear();
        LRESULT result = ::SendMessageW(wnd.m_hWnd, c.message, c.wParam, c.lParam);
        ASSERT_EQ(1u, wnd.log.size()) << c.expected;
        EXPECT_EQ(c.expected, wnd.log[0]);
        if (c.result != LRESULT_ANY) {
            EXPECT_EQ(c.result, result) << c.expected;
        }
    }
    EXPECT_EQ(17u, mis.itemHeight);

    // A message without an entry gets the default processing.
    wnd.log.clear();
    ::SendMessageW(wnd.m_hWnd, WM_SETTEXT, 0, Ptr(L"renamed"));
    EXPECT_TRUE(wnd.log.empty());
    CString text;
    wnd.GetWindowText(text);
    EXPECT_STREQ(L"renamed", text);

    // WM_PAINT through a paint context (the window stays hidden: showing and
    // hiding top-level windows is slow without a window manager).
    wnd.log.clear();
    ::SendMessageW(wnd.m_hWnd, WM_PAINT, 0, 0);
    ASSERT_EQ(1u, wnd.log.size());
    EXPECT_EQ("paint dc", wnd.log.back());

    ::ReleaseDC(wnd.m_hWnd, hdc);
    ::DestroyMenu(hMenu);
    ::GlobalFree(hDrop);
    wnd.log.clear();
    EXPECT_TRUE(wnd.DestroyWindow());
    int destroyed = 0;
    for (const std::string& line : wnd.log)
        destroyed += line == "destroy";
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    classlib_test::DrainMessages();
}

namespace {

// A control that answers some notifications itself.
class CReflectingButton : public CWnd {
public:
    std::vector<std::string> log;
    BOOL passClickOn = FALSE;
    HBRUSH brush = nullptr;

protected:
    afx_msg BOOL OnClickedReflect() {
        log.push_back("clicked");
        return !passClickOn;
    }
    afx_msg void OnNotifyClickReflect(NMHDR*, LRESULT* pResult) {
        log.push_back("nmclick");
        *pResult = 5;
    }
    afx_msg HBRUSH CtlColor(CDC*, UINT nCtlColor) {
        log.push_back("ctlcolor " + std::to_string(nCtlColor));
        return brush;
    }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        // As an owner-drawn control takes its drawing.
        if (message == WM_DRAWITEM) {
            log.push_back("drawitem");
            if (pResult != nullptr)
                *pResult = TRUE;
            return TRUE;
        }
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CWnd)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClickedReflect)
    ON_NOTIFY_REFLECT(NM_CLICK, OnNotifyClickReflect)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CParentWnd : public CWnd {
public:
    std::vector<std::string> log;

protected:
    afx_msg void OnClicked() { log.push_back("parent clicked"); }
    afx_msg void OnNmClick(NMHDR*, LRESULT*) { log.push_back("parent nmclick"); }
    afx_msg void OnNmDblClkRange(UINT id, NMHDR* pNMHDR, LRESULT* pResult) {
        log.push_back("parent dblclk " + std::to_string(id) + " " + std::to_string(pNMHDR->idFrom));
        *pResult = 9;
    }
    afx_msg void OnDrawItem(int, LPDRAWITEMSTRUCT lpDIS) {
        log.push_back("parent drawitem");
        CWnd::OnDrawItem(0, lpDIS);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
    ON_BN_CLICKED(77, OnClicked)
    ON_NOTIFY(NM_CLICK, 77, OnNmClick)
    ON_NOTIFY_RANGE(NM_DBLCLK, 70, 79, OnNmDblClkRange)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

}  // namespace

TEST(MessageMap, ChildNotificationsAreReflectedToTheControlFirst) {
    CParentWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    CReflectingButton button;
    ASSERT_TRUE(button.CreateEx(0, L"BUTTON", L"b", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20, parent.m_hWnd,
                                reinterpret_cast<HMENU>(77)));
    WPARAM clicked = MAKEWPARAM(77, BN_CLICKED);
    LPARAM hButton = reinterpret_cast<LPARAM>(button.m_hWnd);

    // The _EX form passes the notification on when its handler says so.
    button.passClickOn = TRUE;
    ::SendMessageW(parent.m_hWnd, WM_COMMAND, clicked, hButton);
    EXPECT_EQ(std::vector<std::string>{"clicked"}, button.log);
    EXPECT_EQ(std::vector<std::string>{"parent clicked"}, parent.log);
    button.log.clear();
    parent.log.clear();
    button.passClickOn = FALSE;
    ::SendMessageW(parent.m_hWnd, WM_COMMAND, clicked, hButton);
    EXPECT_EQ(std::vector<std::string>{"clicked"}, button.log);
    EXPECT_TRUE(parent.log.empty());

    // A reflected WM_NOTIFY handler keeps it from the parent and sets the result.
    button.log.clear();
    NMHDR nm = {button.m_hWnd, 77, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(5, ::SendMessageW(parent.m_hWnd, WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&nm)));
    EXPECT_EQ(std::vector<std::string>{"nmclick"}, button.log);
    EXPECT_TRUE(parent.log.empty());
    // One the control does not reflect reaches the parent's range entry.
    nm.code = static_cast<UINT>(NM_DBLCLK);
    EXPECT_EQ(9, ::SendMessageW(parent.m_hWnd, WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&nm)));
    EXPECT_EQ(std::vector<std::string>{"parent dblclk 77 77"}, parent.log);

    // Colours: the control's brush wins; no brush leaves it to the parent's
    // default processing.
    HDC hdc = ::GetDC(parent.m_hWnd);
    WPARAM wDC = reinterpret_cast<WPARAM>(hdc);
    button.log.clear();
    button.brush = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    EXPECT_EQ(reinterpret_cast<LRESULT>(button.brush), ::SendMessageW(parent.m_hWnd, WM_CTLCOLORBTN, wDC, hButton));
    EXPECT_EQ(std::vector<std::string>{"ctlcolor 3"}, button.log);
    button.brush = nullptr;
    EXPECT_EQ(::DefWindowProcW(parent.m_hWnd, WM_CTLCOLORBTN, wDC, hButton),
              ::SendMessageW(parent.m_hWnd, WM_CTLCOLORBTN, wDC, hButton));
    ::ReleaseDC(parent.m_hWnd, hdc);

    // The parent's handler calls the base, which hands the drawing to the control.
    button.log.clear();
    parent.log.clear();
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = 77;
    dis.hwndItem = button.m_hWnd;
    EXPECT_EQ(TRUE, ::SendMessageW(parent.m_hWnd, WM_DRAWITEM, 77, reinterpret_cast<LPARAM>(&dis)));
    EXPECT_EQ(std::vector<std::string>{"parent drawitem"}, parent.log);
    EXPECT_EQ(std::vector<std::string>{"drawitem"}, button.log);

    parent.DestroyWindow();
    EXPECT_EQ(nullptr, button.m_hWnd) << "the child went with its parent";
    classlib_test::DrainMessages();
}

namespace {

// A sorted owner-drawn combo box of numbers: each item as high as 10 plus its
// number, sorted by the numbers, its drawings noted.
class COwnerDrawnCombo : public CComboBox {
public:
    std::vector<DWORD_PTR> drawn;

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override { drawn.push_back(lpDIS->itemData); }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override {
        lpMIS->itemHeight = 10 + static_cast<UINT>(lpMIS->itemData);
    }
    int CompareItem(LPCOMPAREITEMSTRUCT lpCIS) override {
        return lpCIS->itemData1 < lpCIS->itemData2 ? -1 : lpCIS->itemData1 > lpCIS->itemData2 ? 1 : 0;
    }
};

}  // namespace

TEST(MessageMap, OwnerDrawnComboBoxesDrawMeasureAndCompareTheirItems) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr));
    COwnerDrawnCombo combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_SORT, CRect(0, 0, 100, 150),
                             &parent, 5));
    for (DWORD_PTR number : {7, 3, 5})
        ::SendMessageW(combo.m_hWnd, CB_ADDSTRING, 0, static_cast<LPARAM>(number));
    std::vector<DWORD_PTR> order;
    std::vector<int> heights;
    for (int i = 0; i < combo.GetCount(); ++i) {
        order.push_back(combo.GetItemData(i));
        heights.push_back(static_cast<int>(::SendMessageW(combo.m_hWnd, CB_GETITEMHEIGHT, i, 0)));
    }
    EXPECT_EQ((std::vector<DWORD_PTR>{3, 5, 7}), order);
    EXPECT_EQ((std::vector<int>{13, 15, 17}), heights);
    combo.SetCurSel(1);
    combo.RedrawWindow();
    EXPECT_FALSE(combo.drawn.empty());
    EXPECT_EQ(5u, combo.drawn.back());
    parent.DestroyWindow();
    classlib_test::DrainMessages();
}

namespace {

class CThrowingWnd : public CWnd {
public:
    BOOL throwOnCreate = FALSE;
    int ncDestroyed = 0;

protected:
    afx_msg LRESULT OnThrowLibrary(WPARAM, LPARAM) { AfxThrowResourceException(); }
    afx_msg LRESULT OnThrowOther(WPARAM, LPARAM) { throw 42; }
    afx_msg int OnCreate(LPCREATESTRUCTW cs) {
        if (throwOnCreate)
            AfxThrowMemoryException();
        return CWnd::OnCreate(cs);
    }
    void PostNcDestroy() override { ++ncDestroyed; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_MESSAGE(WM_APP + 10, OnThrowLibrary)
    ON_MESSAGE(WM_APP + 11, OnThrowOther)
    ON_WM_CREATE()
END_MESSAGE_MAP()

}  // namespace

TEST(MessageMap, ExceptionsStayInsideTheWindowProcedure) {
    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"throws", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(0, ::SendMessageW(wnd.m_hWnd, WM_APP + 10, 0, 0));
    EXPECT_EQ(0, ::SendMessageW(wnd.m_hWnd, WM_APP + 11, 0, 0));
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
    wnd.DestroyWindow();
    EXPECT_EQ(1, wnd.ncDestroyed);

    // A creation handler that throws makes the creation fail, and the object
    // still hears of its window's end.
    CThrowingWnd failing;
    failing.throwOnCreate = TRUE;
    EXPECT_FALSE(failing.CreateEx(0, nullptr, L"fails", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(nullptr, failing.m_hWnd);
    EXPECT_EQ(1, failing.ncDestroyed);
    classlib_test::DrainMessages();
}
