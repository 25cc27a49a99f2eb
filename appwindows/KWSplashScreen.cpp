#include "appwindows/KWSplashScreen.h"

#include "platform/classlib/DC.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/WinApp.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
}  // namespace

CKWSplashScreen* CKWSplashScreen::s_showing = nullptr;

BEGIN_MESSAGE_MAP(CKWSplashScreen, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CKWSplashScreen::CKWSplashScreen() = default;

CKWSplashScreen::~CKWSplashScreen()
{
    if (s_showing == this)
        s_showing = nullptr;
}

CKWSplashScreen* CKWSplashScreen::ShowSplashScreen(UINT, UINT bitmapId)
{
    auto* splash = new CKWSplashScreen;
    s_showing = splash;
    splash->m_bitmapId = bitmapId;
    CWinApp* app = AfxGetApp();
    CWnd* owner = app ? app->m_pMainWnd : nullptr;
    BITMAP info = {};
    if (!splash->m_bitmap.LoadBitmap(LOWORD(bitmapId)) || !splash->m_bitmap.GetBitmap(&info)) {
        // No window was involved: the object is still here.
        delete splash;
        return nullptr;
    }
    // A window that cannot be made has deleted its object already
    // (PostNcDestroy), which cleared the pointer to it.
    if (!splash->CreateEx(0, nullptr, nullptr, WS_POPUP | WS_VISIBLE, 0, 0, info.bmWidth, info.bmHeight,
                          CWnd::SafeHwndOf(owner), nullptr))
        return nullptr;
    splash->UpdateWindow();
    return splash;
}

int CKWSplashScreen::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    // Centred on the screen's work area.
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + (work.right - work.left - lpCreateStruct->cx) / 2;
    const int y = work.top + (work.bottom - work.top - lpCreateStruct->cy) / 2;
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_timer = SetTimer(kTimerId, m_displayTime);
    return 0;
}

void CKWSplashScreen::OnPaint()
{
    CPaintDC dc(this);
    CDC memory;
    if (!memory.CreateCompatibleDC(&dc))
        return;
    BITMAP info = {};
    m_bitmap.GetBitmap(&info);
    CBitmap* old = memory.SelectObject(&m_bitmap);
    dc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

void CKWSplashScreen::OnTimer(UINT_PTR)
{
    HideSplashScreen();
}

void CKWSplashScreen::HideSplashScreen()
{
    if (m_timer) {
        KillTimer(m_timer);
        m_timer = 0;
    }
    DestroyWindow();
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd && ::IsWindow(app->m_pMainWnd->m_hWnd))
        app->m_pMainWnd->UpdateWindow();
}

void CKWSplashScreen::PostNcDestroy()
{
    delete this;
}
