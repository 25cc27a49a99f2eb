#include "appwindows/KWWinWheelWnd.h"

#include "appwindows/KWView.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CKWWinWheelWnd, CWnd)

BEGIN_MESSAGE_MAP(CKWWinWheelWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_WM_KILLFOCUS()
    ON_WM_LBUTTONDOWN()
    ON_WM_MBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

int32_t g_KWAutoScrollDeadZone = 5;

namespace {

const wchar_t kWheelWindowClass[] = L"KWAutoScrollWnd";
const int kWindowSize = 30;
const int kImageSize = 26;
// The cursor jumps this far up and left when the window opens, and back when it closes.
const int kCursorShift = 15;
const int kSpeedDivisor = 8;
// Images of the direction bitmap.
const int kImageBoth = 0;
const int kImageHorizontal = 26;
const int kImageVertical = 52;

LPCWSTR WheelWindowClass()
{
    HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSW wc = {};
    if (!::GetClassInfoW(instance, kWheelWindowClass, &wc)) {
        wc = WNDCLASSW();
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = instance;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        wc.lpszClassName = kWheelWindowClass;
        if (!::RegisterClassW(&wc))
            return nullptr;
    }
    return kWheelWindowClass;
}

int Sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

CKWWinWheelWnd::CKWWinWheelWnd()
    : m_owner(nullptr), m_imageOffset(kImageBoth), m_timerId(0), m_noVertical(TRUE), m_noHorizontal(TRUE)
{
    m_directionBitmap.LoadBitmap(kDirectionBitmap);
}

CKWWinWheelWnd::~CKWWinWheelWnd() = default;

bool CKWWinWheelWnd::Start(CWnd* owner, bool allowVertical, bool allowHorizontal)
{
    m_owner = owner;
    if (allowVertical)
        m_noVertical = FALSE;
    if (allowHorizontal)
        m_noHorizontal = FALSE;
    LPCWSTR windowClass = WheelWindowClass();
    if ((m_noVertical && m_noHorizontal) || !owner || !windowClass) {
        delete this;
        return false;
    }
    // A window that cannot be made has deleted its object already.
    if (!CreateEx(WS_EX_TOOLWINDOW, windowClass, L"", WS_POPUP | WS_CLIPSIBLINGS, 0, 0, kWindowSize, kWindowSize,
                  nullptr, nullptr))
        return false;
    SetWindowRgn(::CreateEllipticRgn(2, 2, kWindowSize - 1, kWindowSize - 1), FALSE);
    CPoint cursor;
    ::GetCursorPos(&cursor);
    cursor.Offset(-kCursorShift, -kCursorShift);
    ::SetCursorPos(cursor.x, cursor.y);
    m_startPoint = cursor;
    owner->ScreenToClient(&m_startPoint);
    SetWindowPos(nullptr, cursor.x, cursor.y, kWindowSize, kWindowSize, SWP_NOZORDER);
    ShowWindow(SW_SHOW);
    SetCapture();
    m_timerId = SetTimer(kTimerId, kTimerPeriod);
    if (m_noVertical)
        m_imageOffset = kImageHorizontal;
    else if (m_noHorizontal)
        m_imageOffset = kImageVertical;
    return true;
}

CPoint CKWWinWheelWnd::StepFor(CPoint distance, bool allowVertical, bool allowHorizontal)
{
    if (std::abs(distance.x) < g_KWAutoScrollDeadZone || !allowHorizontal)
        distance.x = 0;
    if (std::abs(distance.y) < g_KWAutoScrollDeadZone || !allowVertical)
        distance.y = 0;
    return CPoint(distance.x / kSpeedDivisor, distance.y / kSpeedDivisor);
}

UINT CKWWinWheelWnd::CursorFor(CPoint step, bool allowVertical, bool allowHorizontal)
{
    // By the signs of the step: up, then clockwise.
    static const UINT kCursors[3][3] = {
        // sx < 0, sx = 0, sx > 0
        {913, 906, 907},  // sy < 0
        {912, 0, 908},    // sy = 0
        {911, 910, 909},  // sy > 0
    };
    const UINT cursor = kCursors[Sign(step.y) + 1][Sign(step.x) + 1];
    if (cursor != 0)
        return cursor;
    if (allowVertical && allowHorizontal)
        return 925;
    return allowVertical ? 924 : 916;
}

void CKWWinWheelWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (client.Width() < kImageSize || client.Height() < kImageSize)
        return;
    HDC source = ::CreateCompatibleDC(dc.m_hDC);
    HGDIOBJ old = ::SelectObject(source, m_directionBitmap.m_hObject);
    const int x = std::max(1, (client.Width() - kImageSize) / 2);
    const int y = std::max(1, (client.Height() - kImageSize) / 2);
    ::BitBlt(dc.m_hDC, x, y, kImageSize, kImageSize, source, m_imageOffset, 0, SRCCOPY);
    ::SelectObject(source, old);
    ::DeleteDC(source);
}

void CKWWinWheelWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kTimerId)
        return;
    CPoint cursor;
    ::GetCursorPos(&cursor);
    m_owner->ScreenToClient(&cursor);
    const CPoint step = StepFor(cursor - m_startPoint, !m_noVertical, !m_noHorizontal);
    CKWView* view = DYNAMIC_DOWNCAST(CKWView, m_owner);
    if (view && (step.x != 0 || step.y != 0))
        view->ScrollBy(step.x, step.y);
    const UINT cursorId = CursorFor(step, !m_noVertical, !m_noHorizontal);
    ::SetCursor(::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(cursorId)));
}

void CKWWinWheelWnd::OnDestroy()
{
    m_closing = true;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (m_timerId)
        KillTimer(m_timerId);
    m_timerId = 0;
    ::SetCursor(nullptr);
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ::SetCursorPos(cursor.x + kCursorShift, cursor.y + kCursorShift);
    CWnd::OnDestroy();
}

void CKWWinWheelWnd::PostNcDestroy()
{
    if (m_owner && m_owner->m_hWnd)
        m_owner->Invalidate(TRUE);
    delete this;
}

void CKWWinWheelWnd::Close()
{
    // The focus leaves the window while it is destroyed: close once.
    if (m_closing)
        return;
    m_closing = true;
    DestroyWindow();
}

void CKWWinWheelWnd::OnKillFocus(CWnd*)
{
    Default();
    Close();
}

void CKWWinWheelWnd::OnLButtonDown(UINT, CPoint) { Close(); }

void CKWWinWheelWnd::OnMButtonDown(UINT, CPoint) { Close(); }

void CKWWinWheelWnd::OnRButtonDown(UINT, CPoint) { Close(); }

void CKWWinWheelWnd::OnKeyDown(UINT, UINT, UINT) { Close(); }

bool StartAutoScroll(CWnd* owner, bool allowVertical, bool allowHorizontal)
{
    return (new CKWWinWheelWnd)->Start(owner, allowVertical, allowHorizontal);
}
