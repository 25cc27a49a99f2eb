#include "docking/toolbars/QMXPGlobalData.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/Wnd.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

namespace {

// NONCLIENTMETRICS without the padded border added by later systems.
constexpr UINT kNonClientMetricsSize = sizeof(NONCLIENTMETRICSW) - sizeof(int);

NONCLIENTMETRICSW NonClientMetrics() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = kNonClientMetricsSize;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &ncm, 0);
    return ncm;
}

int CALLBACK FindFamily(const LOGFONTW* pLogFont, const TEXTMETRICW*, DWORD, LPARAM lParam) {
    auto* pFound = reinterpret_cast<BOOL*>(lParam);
    if (_wcsicmp(pLogFont->lfFaceName, qmxFontTahoma) == 0) {
        *pFound = TRUE;
        return 0;
    }
    return 1;
}

void ReplaceFont(CFont& font, const LOGFONTW& logFont) {
    font.DeleteObject();
    font.CreateFontIndirect(&logFont);
}

// A checkerboard of the face and highlight colours, for palette screens.
HBRUSH CreateCheckerBrush(HDC hDC) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = 8;
    info.header.biHeight = 8;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    const COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    info.colors[0] = {GetBValue(clrFace), GetGValue(clrFace), GetRValue(clrFace), 0};
    info.colors[1] = {GetBValue(clrHilite), GetGValue(clrHilite), GetRValue(clrHilite), 0};
    // Rows of 32 bits; alternate 0x55 and 0xAA.
    DWORD rows[8];
    for (int i = 0; i < 8; ++i)
        rows[i] = (i % 2 == 0) ? 0x55u : 0xAAu;
    HBITMAP hBitmap = ::CreateDIBitmap(hDC, &info.header, CBM_INIT, rows,
                                       reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
    if (hBitmap == nullptr)
        return nullptr;
    HBRUSH hBrush = ::CreatePatternBrush(hBitmap);
    ::DeleteObject(hBitmap);
    return hBrush;
}

// A system brush is never deleted: the wrapper lets go of it first.
void AttachSystemBrush(CBrush& brush, int nIndex) {
    brush.Detach();
    brush.Attach(::GetSysColorBrush(nIndex));
}

}  // namespace

CQMXPGlobalData::CQMXPGlobalData()
    : hbrBtnHilite(nullptr),
      hbrBtnShadow(nullptr),
      hcurStretchHorz(nullptr),
      hcurStretchVert(nullptr),
      hcurHand(nullptr),
      hcurMove(nullptr),
      hiconTool(nullptr),
      bIsWindowsNT4(FALSE),
      bitsPerPixel(0),
      dragFrameWidth(4),
      dragFrameWidthSmall(3),
      dockBarMargin(14),
      autoHideOffset(4),
      dockPercentage(50),
      textHeight(0),
      textHeightVert(0),
      menuItemHeight(0),
      menuItemWidth(0),
      hmodUxTheme(nullptr),
      bIsOfficeStyleLook(FALSE),
      gripperSize(7),
      borderSize(1) {
    RefreshSysColors();
    UpdateFonts();
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (::GetVersionExW(&version))
        bIsWindowsNT4 = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion < 5;
}

CQMXPGlobalData::~CQMXPGlobalData() {
    CleanUp();
    brBtnFace.Detach();
    brHilite.Detach();
    brDarkShadow.Detach();
}

void CQMXPGlobalData::RefreshSysColors() {
    clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
    clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    clrBtnHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    clrBtnText = ::GetSysColor(COLOR_BTNTEXT);
    clrWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    clrBtnDkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    clrBtnLight = ::GetSysColor(COLOR_3DLIGHT);
    clrGrayedText = ::GetSysColor(COLOR_GRAYTEXT);
    clrHilite = ::GetSysColor(COLOR_HIGHLIGHT);
    clrTextHilite = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    clrHotLinkText = RGB(0, 0, 255);

    hbrBtnShadow = ::GetSysColorBrush(COLOR_BTNSHADOW);
    hbrBtnHilite = ::GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    AttachSystemBrush(brBtnFace, COLOR_BTNFACE);
    AttachSystemBrush(brHilite, COLOR_HIGHLIGHT);
    AttachSystemBrush(brDarkShadow, COLOR_3DDKSHADOW);

    HDC hDC = ::GetDC(nullptr);
    bitsPerPixel = ::GetDeviceCaps(hDC, BITSPIXEL);
    brLight.DeleteObject();
    if (bitsPerPixel <= 8) {
        brLight.Attach(CreateCheckerBrush(hDC));
    } else {
        brLight.CreateSolidBrush(RGB(GetRValue(clrBtnFace) + (GetRValue(clrBtnHilite) - GetRValue(clrBtnFace)) / 2,
                                     GetGValue(clrBtnFace) + (GetGValue(clrBtnHilite) - GetGValue(clrBtnFace)) / 2,
                                     GetBValue(clrBtnFace) + (GetBValue(clrBtnHilite) - GetBValue(clrBtnFace)) / 2));
    }
    ::ReleaseDC(nullptr, hDC);

    CQMXPMenuGlyphs::RefreshColors();
}

void CQMXPGlobalData::UpdateFonts() {
    const NONCLIENTMETRICSW ncm = NonClientMetrics();

    HDC hDC = ::GetDC(nullptr);
    LOGFONTW logFont{};
    logFont.lfHeight = ncm.lfMenuFont.lfHeight;
    logFont.lfWeight = ncm.lfMenuFont.lfWeight;
    logFont.lfItalic = ncm.lfMenuFont.lfItalic;
    logFont.lfCharSet = static_cast<BYTE>(::GetTextCharsetInfo(hDC, nullptr, 0));
    wcscpy_s(logFont.lfFaceName, ncm.lfMenuFont.lfFaceName);
    if (ncm.lfMenuFont.lfCharSet <= SYMBOL_CHARSET) {
        BOOL bTahoma = FALSE;
        ::EnumFontFamiliesW(hDC, nullptr, FindFamily, reinterpret_cast<LPARAM>(&bTahoma));
        wcscpy_s(logFont.lfFaceName, bTahoma ? qmxFontTahoma : qmxFontMSSansSerif);
    }
    ::ReleaseDC(nullptr, hDC);

    ReplaceFont(fontRegular, logFont);

    const NONCLIENTMETRICSW ncmStatus = NonClientMetrics();
    LOGFONTW logStatus = logFont;
    logStatus.lfWeight = ncmStatus.lfStatusFont.lfWeight;
    logStatus.lfItalic = ncmStatus.lfStatusFont.lfItalic;
    ReplaceFont(fontStatus, logStatus);

    logFont.lfUnderline = TRUE;
    ReplaceFont(fontUnderline, logFont);
    logFont.lfUnderline = FALSE;
    logFont.lfWeight = FW_BOLD;
    ReplaceFont(fontBold, logFont);

    const BYTE nCharSet = logFont.lfCharSet;
    LOGFONTW logMarlett = logFont;
    logMarlett.lfCharSet = SYMBOL_CHARSET;
    logMarlett.lfWeight = 0;
    logMarlett.lfHeight = ::GetSystemMetrics(SM_CYMENUCHECK) - 1;
    wcscpy_s(logMarlett.lfFaceName, qmxFontMarlett);
    ReplaceFont(fontMarlett, logMarlett);
    logFont.lfCharSet = nCharSet;

    LOGFONTW logVert{};
    HGDIOBJ hStockFont = ::GetStockObject(DEFAULT_GUI_FONT);
    if (hStockFont != nullptr && ::GetObjectW(hStockFont, sizeof(logVert), &logVert) != 0) {
        logVert.lfHeight = ncm.lfMenuFont.lfHeight;
        logVert.lfWeight = ncm.lfMenuFont.lfWeight;
        logVert.lfItalic = ncm.lfMenuFont.lfItalic;
        wcscpy_s(logVert.lfFaceName, qmxFontArial);
        logVert.lfEscapement = 2700;
        logVert.lfOrientation = 900;
        ReplaceFont(fontVert, logVert);
        logVert.lfEscapement = 900;
        ReplaceFont(fontVertLeft, logVert);
    }

    UpdateTextMetrics();
}

void CQMXPGlobalData::UpdateTextMetrics() {
    HDC hDC = ::GetDC(nullptr);
    HGDIOBJ hOldFont = ::SelectObject(hDC, fontRegular.m_hObject);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(hDC, &tm);
    textHeight = tm.tmHeight + 2;
    ::SelectObject(hDC, fontVert.m_hObject);
    ::GetTextMetricsW(hDC, &tm);
    textHeightVert = tm.tmHeight + 2;
    // The text and a margin of two pixels above and below it, and a line more.
    menuItemHeight = textHeight + 6;
    menuItemWidth = textHeight + 6;
    ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(nullptr, hDC);
}

CSize CQMXPGlobalData::GetSmallIconSize() {
    if (m_smallIconSize.cx <= 0)
        UpdateSmallIconSize();
    return m_smallIconSize;
}

void CQMXPGlobalData::UpdateSmallIconSize() {
    const HRESULT hrInit = ::CoInitialize(nullptr);
    SHFILEINFOW info{};
    auto hImageList = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                         SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | SHGFI_SHELLICONSIZE | SHGFI_SMALLICON));
    int cx = 0;
    int cy = 0;
    if (hImageList != nullptr && ::ImageList_GetIconSize(hImageList, &cx, &cy)) {
        m_smallIconSize = CSize(cx, cy);
    } else {
        m_smallIconSize = CSize(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
    }
    if (SUCCEEDED(hrInit))
        ::CoUninitialize();
}

void CQMXPGlobalData::CleanUp() {
    brLight.DeleteObject();
    fontRegular.DeleteObject();
    fontStatus.DeleteObject();
    fontBold.DeleteObject();
    fontUnderline.DeleteObject();
    fontVert.DeleteObject();
    fontVertLeft.DeleteObject();
    fontMarlett.DeleteObject();
    if (hmodUxTheme != nullptr) {
        ::FreeLibrary(hmodUxTheme);
        hmodUxTheme = nullptr;
    }
}

BOOL CQMXPGlobalData::PaintParentBackground(CWnd* pWnd, CDC* pDC, LPCRECT lpRectClip) {
    if (pWnd == nullptr || pDC == nullptr)
        return FALSE;
    CRgn rgn;
    if (lpRectClip != nullptr) {
        rgn.CreateRectRgnIndirect(lpRectClip);
        pDC->SelectClipRgn(&rgn);
    }
    if (hmodUxTheme == nullptr)
        hmodUxTheme = ::LoadLibraryW(L"UxTheme.dll");
    using DrawThemeParentBackgroundFn = HRESULT(WINAPI*)(HWND, HDC, const RECT*);
    auto pfnDraw = hmodUxTheme != nullptr ? reinterpret_cast<DrawThemeParentBackgroundFn>(reinterpret_cast<void*>(
                                                ::GetProcAddress(hmodUxTheme, "DrawThemeParentBackground")))
                                          : nullptr;
    if (pfnDraw != nullptr && pfnDraw(pWnd->GetSafeHwnd(), pDC->GetSafeHdc(), lpRectClip) == S_OK) {
        pDC->SelectClipRgn(nullptr);
        return TRUE;
    }
    CWnd* pParent = pWnd->GetParent();
    if (pParent == nullptr) {
        pDC->SelectClipRgn(nullptr);
        return FALSE;
    }
    CPoint point(0, 0);
    pWnd->MapWindowPoints(pParent, &point, 1);
    CPoint ptOldOrg = pDC->SetWindowOrg(point.x, point.y);
    BOOL bResult = static_cast<BOOL>(pParent->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(pDC->m_hDC), 0));
    pDC->SetWindowOrg(ptOldOrg.x, ptOldOrg.y);
    pDC->SelectClipRgn(nullptr);
    return bResult;
}

CFrameWnd* QMXFindOwnerFrame(CWnd* pWnd) {
    if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr)
        return nullptr;
    // A floating frame leads on to the frame it belongs to.
    for (CWnd* pCur = pWnd->GetParent(); pCur != nullptr; pCur = pCur->GetParent()) {
        if (pCur->IsFrameWnd())
            return static_cast<CFrameWnd*>(pCur);
        if (pCur->IsKindOf(RUNTIME_CLASS(CQMXPMiniFrameWnd))) {
            CWnd* pFrame = static_cast<CQMXPMiniFrameWnd*>(pCur)->GetParentFrame();
            return pFrame != nullptr && pFrame->IsFrameWnd() ? static_cast<CFrameWnd*>(pFrame) : nullptr;
        }
    }
    return nullptr;
}
