#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/HandleMap.h"
#include "platform/classlib/PropertySheet.h"
#include "platform/classlib/ScrollBar.h"
#include "platform/classlib/Wnd.h"

#include "TestResources.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

std::map<UINT, int> g_rawMessages;

LRESULT CALLBACK RawProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_rawMessages[message];
    if (message == WM_APP + 5)
        return 55;
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

HWND CreateRawWindow(HWND hWndParent = nullptr) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RawProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ClassLibTestRaw";
    ::RegisterClassW(&wc);  // fails harmlessly after the first time
    DWORD style = hWndParent != nullptr ? WS_CHILD : WS_POPUP;
    return ::CreateWindowExW(0, L"ClassLibTestRaw", L"raw", style, 0, 0, 50, 50, hWndParent, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

class CSubclassingWnd : public CWnd {
public:
    int preSubclassCalls = 0;
    std::vector<std::string> log;

    void PreSubclassWindow() override {
        ++preSubclassCalls;
        // The window exists but has had no creation message yet.
        log.push_back(m_hWnd != nullptr ? "presubclass" : "presubclass without window");
    }
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override {
        log.push_back("precreate");
        cs.style |= WS_BORDER;
        return CWnd::PreCreateWindow(cs);
    }

protected:
    afx_msg LRESULT OnMine(WPARAM, LPARAM) { return 66; }
    afx_msg BOOL OnNcCreate(LPCREATESTRUCTW cs) {
        log.push_back("nccreate");
        return CWnd::OnNcCreate(cs);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSubclassingWnd, CWnd)
    ON_MESSAGE(WM_APP + 6, OnMine)
    ON_WM_NCCREATE()
END_MESSAGE_MAP()

WNDPROC WndProcOf(HWND hWnd) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)); }

}  // namespace

TEST(CWnd, SubclassingAndUnsubclassingRestoreTheWindowProcedure) {
    g_rawMessages.clear();
    HWND hWnd = CreateRawWindow();
    ASSERT_NE(nullptr, hWnd);
    WNDPROC original = WndProcOf(hWnd);

    CSubclassingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    EXPECT_EQ(1, wnd.preSubclassCalls);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(AfxWndProc), WndProcOf(hWnd));
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(&wnd, CWnd::FromHandle(hWnd));
    EXPECT_EQ(66, ::SendMessageW(hWnd, WM_APP + 6, 0, 0));
    EXPECT_EQ(0, g_rawMessages[WM_APP + 6]) << "handled by the map, not passed on";
    EXPECT_EQ(55, ::SendMessageW(hWnd, WM_APP + 5, 0, 0)) << "unhandled: the old procedure";
    EXPECT_EQ(1, g_rawMessages[WM_APP + 5]);

    CSubclassingWnd second;
    EXPECT_FALSE(second.SubclassWindow(hWnd)) << "one object per window";
    EXPECT_EQ(nullptr, second.m_hWnd);

    EXPECT_EQ(hWnd, wnd.UnsubclassWindow());
    EXPECT_EQ(original, WndProcOf(hWnd));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(0, ::SendMessageW(hWnd, WM_APP + 6, 0, 0));
    EXPECT_EQ(1, g_rawMessages[WM_APP + 6]);

    // Attached without subclassing: the object names the window, its map hears nothing.
    CSubclassingWnd attached;
    ASSERT_TRUE(attached.Attach(hWnd));
    EXPECT_EQ(&attached, CWnd::FromHandle(hWnd));
    EXPECT_EQ(original, WndProcOf(hWnd));
    EXPECT_EQ(0, ::SendMessageW(hWnd, WM_APP + 6, 0, 0));
    EXPECT_EQ(hWnd, attached.Detach());
    EXPECT_TRUE(::IsWindow(hWnd));

    // Destroyed while subclassed: the old procedure sees the window's end and
    // the object lets go of it.
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    g_rawMessages.clear();
    ::DestroyWindow(hWnd);
    EXPECT_EQ(1, g_rawMessages[WM_NCDESTROY]);
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

TEST(CWnd, CreationRunsPreCreateAndAttachesBeforeTheFirstMessage) {
    CSubclassingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"made", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr));
    ASSERT_GE(wnd.log.size(), 3u);
    EXPECT_EQ("precreate", wnd.log[0]);
    EXPECT_EQ("presubclass", wnd.log[1]);
    EXPECT_EQ("nccreate", wnd.log[2]);
    EXPECT_TRUE(wnd.GetStyle() & WS_BORDER);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(AfxWndProc), WndProcOf(wnd.m_hWnd));
    wnd.DestroyWindow();

    // A system class keeps its behaviour through the default processing.
    CWnd check;
    ASSERT_TRUE(check.CreateEx(0, L"BUTTON", L"check", WS_POPUP | BS_AUTOCHECKBOX, 0, 0, 40, 20, nullptr, nullptr));
    check.SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(BST_CHECKED, check.SendMessage(BM_GETCHECK));

    // Styles.
    EXPECT_FALSE(check.ModifyStyle(0, 0));
    EXPECT_TRUE(check.ModifyStyle(0, WS_DISABLED));
    EXPECT_TRUE(check.GetStyle() & WS_DISABLED);
    EXPECT_TRUE(check.ModifyStyleEx(0, WS_EX_TOOLWINDOW, SWP_FRAMECHANGED));
    EXPECT_TRUE(check.GetExStyle() & WS_EX_TOOLWINDOW);
    check.DestroyWindow();
}

namespace {

int g_live = 0;
int g_told = 0;  // PostNcDestroy calls

// A window object of the library's kind that counts itself and deletes itself when told.
template <class Base>
struct CCounted : Base {
    CCounted() { ++g_live; }
    ~CCounted() override { --g_live; }
    void PostNcDestroy() override { ++g_told, delete this; }
};
using CCountedWnd = CCounted<CWnd>;

// Refuses the window being made, as a hook of the system's chain may:
// installed first, it is asked after the library's own.
LRESULT CALLBACK RefuseWindow(int code, WPARAM wParam, LPARAM lParam) {
    return code == HCBT_CREATEWND ? 1 : ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST(CWnd, NoWindowObjectOutlivesItsDestroyedTree) {
    size_t permanentBefore = afxMapHWND()->GetPermanentCount();
    auto* root = new CCountedWnd;
    ASSERT_TRUE(root->CreateEx(0, nullptr, L"root", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
    for (int i = 0; i < 3; ++i) {
        auto* child = new CCountedWnd;
        ASSERT_TRUE(child->Create(nullptr, L"child", WS_VISIBLE, CRect(0, 0, 50, 50), root, 10 + i));
        for (int j = 0; j < 2; ++j) {
            auto* grandchild = new CCountedWnd;
            ASSERT_TRUE(grandchild->Create(nullptr, L"grandchild", 0, CRect(0, 0, 5, 5), child, 20 + j));
        }
        // A control made elsewhere and subclassed later.
        auto* subclassed = new CCountedWnd;
        ASSERT_TRUE(subclassed->SubclassWindow(CreateRawWindow(child->m_hWnd)));
    }
    EXPECT_EQ(13, g_live);
    EXPECT_EQ(permanentBefore + 13, afxMapHWND()->GetPermanentCount());

    root->DestroyWindow();
    EXPECT_EQ(0, g_live);
    EXPECT_EQ(permanentBefore, afxMapHWND()->GetPermanentCount());

    // An object whose creation failed is told exactly once and names no
    // window: before it had one, refused by a hook of the system's chain
    // after the library attached it, or a dialog without its template.
    const struct {
        const char* road;
        bool refused;
        BOOL (*create)();
    } roads[] = {
        {"no such class", false,
         [] { return (new CCountedWnd)->CreateEx(0, L"NoSuchClassAnywhere", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr); }},
        {"refused", true, [] { return (new CCountedWnd)->CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr); }},
        {"no template", false, [] { return (new CCountedWnd)->CreateDlg(MAKEINTRESOURCEW(999), nullptr); }},
        {"dialog refused", true, [] { return (new CCountedWnd)->CreateDlg(MAKEINTRESOURCEW(IDD_TEST_DIALOG), nullptr); }},
        {"frame refused", true, [] { return (new CCounted<CFrameWnd>)->LoadFrame(999, WS_OVERLAPPEDWINDOW); }},
        {"sheet without pages", false, [] { return (new CCounted<CPropertySheet>)->Create(); }},
    };
    for (const auto& r : roads) {
        SCOPED_TRACE(r.road);
        g_told = 0;
        HHOOK hook = r.refused ? ::SetWindowsHookExW(WH_CBT, RefuseWindow, nullptr, ::GetCurrentThreadId()) : nullptr;
        EXPECT_FALSE(r.create());
        ::UnhookWindowsHookEx(hook);
        EXPECT_EQ(1, g_told);
        EXPECT_EQ(0, g_live);
        EXPECT_EQ(permanentBefore, afxMapHWND()->GetPermanentCount());
    }
    classlib_test::DrainMessages();
}

TEST(CWnd, ParentOwnerAndFrameQueries) {
    class CStayFrame : public CFrameWnd {
    public:
        void PostNcDestroy() override {}
    };
    CStayFrame outer;
    ASSERT_TRUE(outer.Create(nullptr, L"outer", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 300)));
    CStayFrame inner;
    ASSERT_TRUE(inner.Create(nullptr, L"inner", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 200), &outer));
    CWnd view;
    ASSERT_TRUE(view.Create(nullptr, L"view", WS_VISIBLE, CRect(0, 0, 100, 100), &inner, 1));
    CWnd control;
    ASSERT_TRUE(control.Create(nullptr, L"control", WS_VISIBLE, CRect(0, 0, 10, 10), &view, 2));
    CWnd popup;
    ASSERT_TRUE(popup.CreateEx(0, nullptr, L"popup", WS_POPUP, 0, 0, 10, 10, outer.m_hWnd, nullptr));

    EXPECT_EQ(&view, control.GetParent());
    EXPECT_EQ(&inner, control.GetParentFrame());
    EXPECT_EQ(&outer, control.GetTopLevelFrame());
    EXPECT_EQ(&outer, inner.GetTopLevelFrame());
    EXPECT_EQ(&outer, outer.GetTopLevelFrame());
    EXPECT_EQ(nullptr, outer.GetParentFrame());
    EXPECT_EQ(&outer, control.GetTopLevelParent());
    EXPECT_EQ(&outer, control.GetParentOwner());
    EXPECT_EQ(&outer, popup.GetTopLevelParent());
    EXPECT_EQ(&outer, popup.GetTopLevelOwner());
    EXPECT_EQ(&popup, popup.GetParentOwner()) << "a popup is its own parent-owner";
    EXPECT_EQ(&view, control.GetOwner());
    control.SetOwner(&popup);
    EXPECT_EQ(&popup, control.GetOwner());
    EXPECT_EQ(&view, control.GetParent());
    EXPECT_TRUE(outer.IsFrameWnd());
    EXPECT_FALSE(view.IsFrameWnd());

    CWnd* noWindow = nullptr;
    EXPECT_EQ(nullptr, noWindow->GetSafeHwnd());

    popup.DestroyWindow();
    outer.DestroyWindow();
    EXPECT_EQ(nullptr, control.m_hWnd);
    EXPECT_EQ(nullptr, inner.m_hWnd);
    classlib_test::DrainMessages();
}

namespace {

class CScrolledWnd : public CWnd {
public:
    CScrollBar* m_pBar = nullptr;
    CScrollBar* GetScrollBarCtrl(int nBar) const override { return nBar == SB_VERT ? m_pBar : nullptr; }
};

}  // namespace

TEST(CWnd, ScrollFunctionsUseTheScrollBarControlWhenThereIsOne) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | SBS_VERT, CRect(180, 0, 196, 200), &parent, 101));
    CScrolledWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, L"scrolled", WS_VSCROLL | WS_HSCROLL, CRect(0, 0, 150, 150), &parent, 1));
    wnd.m_pBar = &bar;

    wnd.SetScrollRange(SB_VERT, 0, 50);
    wnd.SetScrollPos(SB_VERT, 20);
    EXPECT_EQ(20, bar.GetScrollPos());
    EXPECT_EQ(20, wnd.GetScrollPos(SB_VERT));
    EXPECT_EQ(0, ::GetScrollPos(wnd.m_hWnd, SB_VERT)) << "the window's own bar is not used";
    SCROLLINFO si = {};
    ASSERT_TRUE(wnd.GetScrollInfo(SB_VERT, &si, SIF_RANGE | SIF_POS));
    EXPECT_EQ(50, si.nMax);
    EXPECT_EQ(20, si.nPos);

    wnd.SetScrollRange(SB_HORZ, 0, 30);
    wnd.SetScrollPos(SB_HORZ, 7);
    EXPECT_EQ(7, ::GetScrollPos(wnd.m_hWnd, SB_HORZ));
    EXPECT_EQ(20, bar.GetScrollPos());
    parent.DestroyWindow();
}

namespace {

class CIdleCountingWnd : public CWnd {
public:
    int idleUpdates = 0;

protected:
    afx_msg void OnIdleUpdateCmdUI() { ++idleUpdates; }
    afx_msg void OnTimer(UINT_PTR nIDEvent) {
        KillTimer(nIDEvent);
        ::PostQuitMessage(3);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIdleCountingWnd, CWnd)
    ON_MESSAGE_VOID(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_WM_TIMER()
END_MESSAGE_MAP()

}  // namespace

TEST(CWinThread, IdleTimeUpdatesTheWindowsAndDeletesTemporaryObjects) {
    classlib_test::CTestApp app;
    CIdleCountingWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, L"main", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    CIdleCountingWnd child;
    ASSERT_TRUE(child.Create(nullptr, L"child", WS_VISIBLE, CRect(0, 0, 50, 50), &main, 1));
    CIdleCountingWnd grandchild;
    ASSERT_TRUE(grandchild.Create(nullptr, L"grandchild", 0, CRect(0, 0, 5, 5), &child, 2));
    main.ShowWindow(SW_SHOWNA);
    app.m_pMainWnd = &main;

    HWND hRaw = CreateRawWindow(main.m_hWnd);
    CWnd* pTemp = CWnd::FromHandle(hRaw);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(pTemp, CWnd::FromHandle(hRaw)) << "one temporary object per handle";
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hRaw));
    EXPECT_GE(afxMapHWND()->GetTemporaryCount(), 1u);

    main.SetTimer(1, 200);
    int code;
    {
        classlib_test::Watchdog watchdog(5000);
        code = app.Run();
        EXPECT_FALSE(watchdog.Fired());
    }
    EXPECT_EQ(3, code);
    EXPECT_GT(main.idleUpdates, 0);
    EXPECT_EQ(main.idleUpdates, child.idleUpdates);
    EXPECT_EQ(main.idleUpdates, grandchild.idleUpdates) << "the hidden grandchild is updated as well";
    EXPECT_EQ(0u, afxMapHWND()->GetTemporaryCount());
    EXPECT_EQ(0u, afxMapHDC()->GetTemporaryCount());

    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
    classlib_test::DrainMessages();
}

TEST(CWinThread, DestroyingTheMainWindowEndsTheLoop) {
    classlib_test::CTestApp app;
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 100)));
    app.m_pMainWnd = frame;
    frame->PostMessage(WM_CLOSE);  // the default processing destroys the window
    int code;
    {
        classlib_test::Watchdog watchdog(5000);
        code = app.Run();
        EXPECT_FALSE(watchdog.Fired());
    }
    EXPECT_EQ(0, code);
    EXPECT_EQ(nullptr, app.m_pMainWnd);
}
