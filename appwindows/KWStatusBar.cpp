#include "appwindows/KWStatusBar.h"

#include "platform/classlib/DC.h"
#include "platform/classlib/MessageMap.h"

IMPLEMENT_DYNAMIC(CKWStatusBar, CQMXPStatusBar)

namespace {

CKWStatusBar* g_statusBar = nullptr;

// The panes whose double click presses a key.
constexpr int kInsertPane = 4;
constexpr int kNumLockPane = 5;
constexpr int kCapsLockPane = 6;

// "Arial" at 8.5 points.
constexpr int kPaneFontTenths = 85;

// A press and release with the key's own scan code.
void PressKey(BYTE key, DWORD extended)
{
    const BYTE scan = static_cast<BYTE>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    ::keybd_event(key, scan, extended, 0);
    ::keybd_event(key, scan, extended | KEYEVENTF_KEYUP, 0);
}

}  // namespace

CKWStatusBar* GetKWStatusBar()
{
    return g_statusBar;
}

BEGIN_MESSAGE_MAP(CKWStatusBar, CQMXPStatusBar)
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CKWStatusBar::CKWStatusBar()
{
    g_statusBar = this;
}

CKWStatusBar::~CKWStatusBar()
{
    if (g_statusBar == this)
        g_statusBar = nullptr;
}

void CKWStatusBar::SetPaneTexts(const wchar_t* first, va_list others)
{
    if (GetCount() == 0)
        return;
    SetPaneText(0, first, TRUE);
    for (int pane = 1; pane < GetCount(); ++pane) {
        const wchar_t* text = va_arg(others, const wchar_t*);
        if (!text)
            break;
        SetPaneText(pane, text, TRUE);
    }
}

int CKWStatusBar::HitTestPane(CPoint point) const
{
    for (int pane = 0; pane < GetCount(); ++pane) {
        CRect rect;
        GetItemRect(pane, &rect);
        if (rect.PtInRect(point))
            return pane;
    }
    return -1;
}

void CKWStatusBar::ToggleVisible()
{
    if (m_hWnd)
        ShowControlBar(!IsWindowVisible(), FALSE, FALSE);
}

COLORREF CKWStatusBar::PaneTextColour(UINT paneId)
{
    bool grey = false;
    if (paneId == ID_INDICATOR_CAPS)
        grey = (::GetKeyState(VK_CAPITAL) & 1) == 0;
    else if (paneId == ID_INDICATOR_NUM)
        grey = (::GetKeyState(VK_NUMLOCK) & 1) == 0;
    else if (paneId == ID_INDICATOR_OVR)
        grey = true;
    return ::GetSysColor(grey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
}

void CKWStatusBar::DrawPane(CDC* pDC, int nIndex)
{
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    GetPaneInfo(nIndex, id, style, width);
    CRect rect;
    GetItemRect(nIndex, &rect);
    if (rect.IsRectEmpty())
        return;
    if (!(style & SBPS_NOBORDERS))
        pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
    rect.DeflateRect(2, 1);
    LOGFONTW logFont = {};
    logFont.lfHeight = -::MulDiv(kPaneFontTenths, ::GetDeviceCaps(pDC->m_hDC, LOGPIXELSY), 720);
    ::lstrcpynW(logFont.lfFaceName, L"Arial", LF_FACESIZE);
    HFONT font = ::CreateFontIndirectW(&logFont);
    HGDIOBJ old = ::SelectObject(pDC->m_hDC, font);
    pDC->SetTextColor(PaneTextColour(id));
    const CString text = GetPaneText(nIndex);
    pDC->DrawText(text, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(pDC->m_hDC, old);
    ::DeleteObject(font);
}

void CKWStatusBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    switch (HitTestPane(point)) {
    case kInsertPane:
        PressKey(VK_INSERT, KEYEVENTF_EXTENDEDKEY);
        break;
    case kNumLockPane:
        PressKey(VK_NUMLOCK, KEYEVENTF_EXTENDEDKEY);
        break;
    case kCapsLockPane:
        PressKey(VK_CAPITAL, 0);
        break;
    default:
        CQMXPStatusBar::OnLButtonDblClk(nFlags, point);
        break;
    }
}
