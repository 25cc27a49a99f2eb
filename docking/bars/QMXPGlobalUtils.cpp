#include "docking/bars/QMXPGlobalUtils.h"

#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/frames/QMXPMDIChildWnd.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPRegistry.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/WinApp.h"
#include "platform/classlib/Dialog.h"
#include "platform/classlib/ObList.h"
#include "platform/classlib/PropertySheet.h"

CQMXPGlobalUtils::CQMXPGlobalUtils() : m_bDialogApp(FALSE) {}

CQMXPGlobalUtils::~CQMXPGlobalUtils() = default;

CQMXPDockManager* CQMXPGlobalUtils::GetDockManager(CWnd* pWnd) {
    if (pWnd == nullptr)
        return nullptr;
    // The plain and OLE frames of the library come with the frames' own work.
    if (pWnd->IsKindOf(RUNTIME_CLASS(CQMXPMDIFrameWnd)))
        return static_cast<CQMXPMDIFrameWnd*>(pWnd)->GetDockManager();
    if (pWnd->IsKindOf(RUNTIME_CLASS(CQMXPMDIChildWnd)))
        return static_cast<CQMXPMDIChildWnd*>(pWnd)->GetDockManager();
    if (pWnd->IsKindOf(RUNTIME_CLASS(CDialog)) || pWnd->IsKindOf(RUNTIME_CLASS(CPropertySheet)))
        m_bDialogApp = TRUE;
    return nullptr;
}

BOOL CQMXPGlobalUtils::CheckAlignment(CPoint point, CQMXPBaseControlBar* pBar, int nSensitivity, BOOL bOuterEdge,
                                      DWORD& dwAlignment, DWORD dwEnabledDockBars, LPCRECT lpRectBounds) const {
    CRect rect;
    if (pBar != nullptr)
        pBar->GetWindowRect(&rect);
    else if (lpRectBounds != nullptr)
        rect = *lpRectBounds;
    else
        return FALSE;
    const int s = nSensitivity;
    // The caption of a docking pane widens its top strip; its tab area
    // widens the bottom one once panes have tabs.
    const int c = pBar != nullptr ? pBar->GetCaptionHeight() : 0;
    const int h = 0;
    const struct {
        DWORD dwSide;
        CRect rectInner;
        CRect rectOuter;
    } strips[] = {
        {0x2000, CRect(rect.left - s, rect.top - s, rect.right + s, rect.top + c + s),
         CRect(rect.left - s, rect.top - s, rect.right + s, rect.top)},
        {0x1000, CRect(rect.left - s, rect.top - s, rect.left + s, rect.bottom + s),
         CRect(rect.left - s, rect.top - s, rect.left, rect.bottom + s)},
        {0x8000, CRect(rect.left - s, rect.bottom - h - s, rect.right + s, rect.bottom + s),
         CRect(rect.left - s, rect.bottom, rect.right + s, rect.bottom + s)},
        {0x4000, CRect(rect.right - s, rect.top - s, rect.right + s, rect.bottom + s),
         CRect(rect.right, rect.top - s, rect.right + s, rect.bottom + s)},
    };
    for (const auto& strip : strips) {
        const CRect& rectStrip = bOuterEdge ? strip.rectOuter : strip.rectInner;
        if (rectStrip.PtInRect(point) && (dwEnabledDockBars & strip.dwSide) != 0) {
            dwAlignment = strip.dwSide;
            return TRUE;
        }
    }
    return FALSE;
}

void CQMXPGlobalUtils::FlipRect(CRect& rect, int nAngle) const {
    const CRect rectOld = rect;
    switch (nAngle) {
    case 90:
        rect.SetRect(rectOld.bottom, rectOld.left, rectOld.top, rectOld.right);
        break;
    case 180:
        rect.SetRect(rectOld.left, rectOld.bottom, rectOld.right, rectOld.top);
        break;
    case -90:
        rect.SetRect(rectOld.top, rectOld.right, rectOld.bottom, rectOld.left);
        break;
    default:
        break;
    }
}

void CQMXPGlobalUtils::SetNewParent(CObList& lstControlBars, CWnd* pNewParent, BOOL bCheckVisibility) {
    for (POSITION pos = lstControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CWnd*>(lstControlBars.GetNext(pos));
        if (bCheckVisibility && !(pBar->GetStyle() & WS_VISIBLE))
            continue;
        // A slider only changes its parent; the sliders come with the panes.
        CRect rect;
        pBar->GetWindowRect(&rect);
        pBar->ShowWindow(SW_HIDE);
        pBar->SetParent(pNewParent);
        pNewParent->ScreenToClient(&rect);
        pBar->CWnd::SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pBar->ShowWindow(SW_SHOW);
    }
}

CString QMXPRegisterBarClass(LPCWSTR lpszPrefix) {
    HINSTANCE hInst = AfxGetInstanceHandle();
    HCURSOR hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    const HBRUSH hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    CString strClass;
    strClass.Format(L"%s:%x:%x:%x:%x", lpszPrefix, static_cast<UINT>(reinterpret_cast<UINT_PTR>(hInst)), CS_DBLCLKS,
                    static_cast<UINT>(reinterpret_cast<UINT_PTR>(hCursor)),
                    static_cast<UINT>(reinterpret_cast<UINT_PTR>(hbrBackground)));
    WNDCLASSW wc;
    if (::GetClassInfoW(hInst, strClass, &wc))
        return strClass;
    wc = WNDCLASSW();
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = hInst;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = strClass;
    if (!::RegisterClassW(&wc))
        AfxThrowResourceException();
    return strClass;
}

CString QMXPBarStateKey(LPCWSTR lpszSection, LPCWSTR lpszClassName, LPCWSTR lpszProfileName, UINT uiID,
                        int nIndex) {
    const CString strSection = QMXPGetRegPath(lpszSection, lpszProfileName);
    CString strKey;
    if (nIndex == -1)
        strKey.Format(L"%s%s-%d", static_cast<LPCWSTR>(strSection), lpszClassName, uiID);
    else
        strKey.Format(L"%s%s-%d%x", static_cast<LPCWSTR>(strSection), lpszClassName, uiID, nIndex);
    return strKey;
}
