#include "docking/toolbars/QMXPToolBarImages.h"

#include "docking/toolbars/QMXPDibSection.h"
#include "docking/toolbars/QMXPDrawManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/WinApp.h"
#include "platform/classlib/WinThread.h"
#include "platform/classlib/Wnd.h"

#include <cstdint>
#include <cstdio>
#include <vector>

HDC CQMXPToolBarImages::s_hDCGlyphs = nullptr;
HDC CQMXPToolBarImages::s_hDCMono = nullptr;

namespace {

constexpr UINT kIdsCannotCopyImage = 16010;
// Brush where the mask is 0, destination where it is 1.
constexpr DWORD kRopBrushWhereMaskClear = 0xB8074A;
// Brush where the mask is 1, destination where it is 0.
constexpr DWORD kRopBrushWhereMaskSet = 0xE20746;

// The stored button colours and the system colours that replace them.
struct ColorMap {
    COLORREF stored;
    int sysColor;
};
constexpr ColorMap kSysColorMap[] = {
    {RGB(0x00, 0x00, 0x00), COLOR_BTNTEXT},
    {RGB(0x80, 0x80, 0x80), COLOR_BTNSHADOW},
    {RGB(0xC0, 0xC0, 0xC0), COLOR_BTNFACE},
    {RGB(0xFF, 0xFF, 0xFF), COLOR_BTNHIGHLIGHT},
};

COLORREF SwapRB(COLORREF clr) { return RGB(GetBValue(clr), GetGValue(clr), GetRValue(clr)); }

CSize BitmapSize(HBITMAP hBitmap) {
    BITMAP bm{};
    if (hBitmap == nullptr || ::GetObjectW(hBitmap, sizeof(bm), &bm) == 0)
        return CSize(0, 0);
    return CSize(bm.bmWidth, bm.bmHeight);
}

int BitmapBitsPerPixel(HBITMAP hBitmap) {
    BITMAP bm{};
    return ::GetObjectW(hBitmap, sizeof(bm), &bm) != 0 ? bm.bmBitsPixel : 0;
}

// Copies a part of a bitmap (selected in no context) into a context.
void BlitFromBitmap(HDC hDCDest, int xDest, int yDest, int cx, int cy, HBITMAP hSrc, int xSrc, int ySrc) {
    HDC hDCSrc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOldSrc = ::SelectObject(hDCSrc, hSrc);
    ::BitBlt(hDCDest, xDest, yDest, cx, cy, hDCSrc, xSrc, ySrc, SRCCOPY);
    ::SelectObject(hDCSrc, hOldSrc);
    ::DeleteDC(hDCSrc);
}

// Copies a part of one bitmap into another.
void CopyBits(HBITMAP hDest, int xDest, int yDest, int cx, int cy, HBITMAP hSrc, int xSrc, int ySrc) {
    HDC hDCDest = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOldDest = ::SelectObject(hDCDest, hDest);
    BlitFromBitmap(hDCDest, xDest, yDest, cx, cy, hSrc, xSrc, ySrc);
    ::SelectObject(hDCDest, hOldDest);
    ::DeleteDC(hDCDest);
}

HBITMAP CreateScreenBitmap(int cx, int cy) {
    HDC hDCScreen = ::GetDC(nullptr);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hDCScreen, cx, cy);
    ::ReleaseDC(nullptr, hDCScreen);
    return hBitmap;
}

// The program's folder with the name and extension of lpszName.
CString InProgramFolder(LPCWSTR lpszName) {
    wchar_t szModule[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    wchar_t szDrive[_MAX_DRIVE], szDir[_MAX_DIR], szName[_MAX_FNAME], szExt[_MAX_EXT];
    _wsplitpath_s(szModule, szDrive, _MAX_DRIVE, szDir, _MAX_DIR, nullptr, 0, nullptr, 0);
    _wsplitpath_s(lpszName, nullptr, 0, nullptr, 0, szName, _MAX_FNAME, szExt, _MAX_EXT);
    wchar_t szPath[MAX_PATH] = {};
    _wmakepath_s(szPath, szDrive, szDir, szName, szExt);
    return szPath;
}

}  // namespace

CQMXPToolBarImages::CQMXPToolBarImages()
    : m_sizeImage(16, 15),
      m_sizeImageDest(0, 0),
      m_hbmImageWell(nullptr),
      m_hbmImageLight(nullptr),
      m_hInstImageWell(nullptr),
      m_bUserImagesList(FALSE),
      m_bModified(FALSE),
      m_iCount(0),
      m_bStretch(FALSE),
      m_hDCMem(nullptr),
      m_hBmpMem(nullptr),
      m_hBmpOriginal(nullptr),
      m_clrTransparent(static_cast<COLORREF>(-1)),
      m_bReadOnly(FALSE),
      m_bIsTemporary(FALSE),
      m_clrImageShadow(0),
      m_bFadeInactive(FALSE),
      m_nBitsPerPixel(0) {
    if (s_hDCGlyphs == nullptr)
        s_hDCGlyphs = ::CreateCompatibleDC(nullptr);
    if (s_hDCMono == nullptr)
        s_hDCMono = ::CreateCompatibleDC(nullptr);
    if (s_hDCGlyphs == nullptr || s_hDCMono == nullptr)
        AfxThrowResourceException();
    OnSysColorChange();
}

CQMXPToolBarImages::~CQMXPToolBarImages() {
    if (!m_bIsTemporary)
        DeleteStrip();
    m_lstOrigResIds.RemoveAll();
    m_mapOrigResOffsets.RemoveAll();
    m_strUdfPath.Empty();
}

void CQMXPToolBarImages::CleanUpSharedContexts() {
    if (s_hDCGlyphs != nullptr)
        ::DeleteDC(s_hDCGlyphs);
    if (s_hDCMono != nullptr)
        ::DeleteDC(s_hDCMono);
    s_hDCGlyphs = s_hDCMono = nullptr;
}

void CQMXPToolBarImages::DeleteStrip() {
    if (m_hbmImageWell != nullptr)
        ::DeleteObject(m_hbmImageWell);
    if (m_hbmImageLight != nullptr)
        ::DeleteObject(m_hbmImageLight);
    m_hbmImageWell = nullptr;
    m_hbmImageLight = nullptr;
}

void CQMXPToolBarImages::UpdateCount() {
    m_iCount = (m_hbmImageWell != nullptr && m_sizeImage.cx > 0) ? BitmapSize(m_hbmImageWell).cx / m_sizeImage.cx
                                                                  : 0;
}

int CQMXPToolBarImages::GetResourceOffset(UINT uiResID) const {
    int iOffset = -1;
    return m_mapOrigResOffsets.Lookup(uiResID, iOffset) ? iOffset : -1;
}

void CQMXPToolBarImages::SetTransparentColor(COLORREF clrTransparent) {
    if (m_clrTransparent == clrTransparent)
        return;
    m_clrTransparent = clrTransparent;
    RebuildFadedImage();
}

BOOL CQMXPToolBarImages::Load(UINT uiResID, HINSTANCE hinstRes, BOOL bAdd) {
    if (m_bIsTemporary)
        return FALSE;
    if (bAdd) {
        if (m_lstOrigResIds.Find(uiResID) != nullptr)
            return TRUE;
    } else {
        DeleteStrip();
        m_lstOrigResIds.RemoveAll();
        m_mapOrigResOffsets.RemoveAll();
    }
    m_hInstImageWell = hinstRes != nullptr ? hinstRes : AfxGetResourceHandle();
    auto hbmp = static_cast<HBITMAP>(::LoadImageW(m_hInstImageWell, MAKEINTRESOURCEW(uiResID), IMAGE_BITMAP, 0, 0,
                                                  LR_CREATEDIBSECTION | LR_LOADMAP3DCOLORS));
    if (hbmp == nullptr)
        return FALSE;
    m_nBitsPerPixel = BitmapBitsPerPixel(hbmp);
    if (bAdd) {
        m_mapOrigResOffsets[uiResID] = m_iCount;
        AddImage(hbmp);
        m_lstOrigResIds.AddTail(uiResID);
        ::DeleteObject(hbmp);
    } else {
        m_hbmImageWell = hbmp;
    }
    FinishLoad();
    return TRUE;
}

void CQMXPToolBarImages::FinishLoad() {
    // The system maps the standard greys of palette bitmaps only.
    if (m_nBitsPerPixel > 8)
        MapTo3dColors(FALSE);
    UpdateCount();
    RebuildFadedImage();
}

BOOL CQMXPToolBarImages::Load(LPCWSTR lpszBmpFileName) {
    if (m_bIsTemporary || lpszBmpFileName == nullptr)
        return FALSE;
    DeleteStrip();
    CString strPath = lpszBmpFileName;
    if (wcspbrk(lpszBmpFileName, L"\\/:") == nullptr)
        strPath = InProgramFolder(lpszBmpFileName);
    auto hbmp = static_cast<HBITMAP>(
        ::LoadImageW(nullptr, strPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (hbmp == nullptr)
        return FALSE;
    m_hbmImageWell = hbmp;
    m_bUserImagesList = TRUE;
    m_strUdfPath = strPath;
    const DWORD dwAttributes = ::GetFileAttributesW(strPath);
    m_bReadOnly = dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    m_nBitsPerPixel = BitmapBitsPerPixel(hbmp);
    FinishLoad();
    return TRUE;
}

BOOL CQMXPToolBarImages::SaveToFile(LPCWSTR lpszBmpFileName) {
    if (!m_bUserImagesList || m_hbmImageWell == nullptr || m_bReadOnly)
        return FALSE;
    const CString strPath = lpszBmpFileName != nullptr ? CString(lpszBmpFileName) : m_strUdfPath;
    if (!m_bModified && strPath == m_strUdfPath)
        return TRUE;

    BITMAP bm{};
    if (::GetObjectW(m_hbmImageWell, sizeof(bm), &bm) == 0)
        return FALSE;
    const WORD nBitCount = static_cast<WORD>(bm.bmPlanes * bm.bmBitsPixel);
    const UINT nColors = nBitCount <= 8 ? (1u << nBitCount) : 0;
    const DWORD dwImageSize = static_cast<DWORD>(((nBitCount * bm.bmWidth + 31) & ~31) / 8 * bm.bmHeight);
    std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + nColors * sizeof(RGBQUAD) + dwImageSize);
    auto* pHeader = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
    pHeader->biSize = sizeof(BITMAPINFOHEADER);
    pHeader->biWidth = bm.bmWidth;
    pHeader->biHeight = bm.bmHeight;
    pHeader->biPlanes = 1;
    pHeader->biBitCount = nBitCount;
    pHeader->biCompression = BI_RGB;
    pHeader->biSizeImage = dwImageSize;
    HDC hDC = ::GetDC(nullptr);
    HPALETTE hOldPalette = ::SelectPalette(hDC, static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)), FALSE);
    const int nLines = ::GetDIBits(hDC, m_hbmImageWell, 0, static_cast<UINT>(bm.bmHeight),
                                   dib.data() + sizeof(BITMAPINFOHEADER) + nColors * sizeof(RGBQUAD),
                                   reinterpret_cast<BITMAPINFO*>(pHeader), DIB_RGB_COLORS);
    ::SelectPalette(hDC, hOldPalette, FALSE);
    ::ReleaseDC(nullptr, hDC);
    if (nLines == 0)
        return FALSE;
    // GetDIBits may have changed the header; the table follows the header we wrote.
    pHeader->biSize = sizeof(BITMAPINFOHEADER);
    auto* pColors = reinterpret_cast<RGBQUAD*>(dib.data() + sizeof(BITMAPINFOHEADER));
    for (UINT i = 0; i < nColors; ++i) {
        auto& entry = reinterpret_cast<COLORREF&>(pColors[i]);
        entry = MapFromSysColor(entry, TRUE);
    }

    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfSize = static_cast<DWORD>(dib.size() + sizeof(BITMAPFILEHEADER));
    fileHeader.bfOffBits = static_cast<DWORD>(sizeof(BITMAPINFOHEADER) + nColors * sizeof(RGBQUAD) +
                                              sizeof(BITMAPFILEHEADER));
    HANDLE hFile = ::CreateFileW(strPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD dwWritten = 0;
    BOOL bOk = ::WriteFile(hFile, &fileHeader, sizeof(fileHeader), &dwWritten, nullptr) &&
               dwWritten == sizeof(fileHeader) &&
               ::WriteFile(hFile, dib.data(), static_cast<DWORD>(dib.size()), &dwWritten, nullptr) &&
               dwWritten == dib.size();
    bOk = ::CloseHandle(hFile) && bOk;
    if (bOk)
        m_bModified = FALSE;
    return bOk;
}

int CQMXPToolBarImages::AddImage(HBITMAP hbmp) {
    if (m_bIsTemporary || hbmp == nullptr)
        return -1;
    const CSize sizeAdd = BitmapSize(hbmp);
    const CSize sizeOld = BitmapSize(m_hbmImageWell);
    if (sizeAdd.cx <= 0 || sizeAdd.cy <= 0)
        return -1;
    const int cy = m_hbmImageWell != nullptr ? sizeOld.cy : sizeAdd.cy;
    HBITMAP hbmpNew = CreateScreenBitmap(sizeOld.cx + sizeAdd.cx, cy);
    if (hbmpNew == nullptr)
        return -1;
    if (m_hbmImageWell != nullptr)
        CopyBits(hbmpNew, 0, 0, sizeOld.cx, sizeOld.cy, m_hbmImageWell, 0, 0);
    CopyBits(hbmpNew, sizeOld.cx, 0, sizeAdd.cx, sizeAdd.cy, hbmp, 0, 0);
    if (m_hbmImageWell != nullptr)
        ::DeleteObject(m_hbmImageWell);
    m_hbmImageWell = hbmpNew;
    m_bModified = TRUE;
    UpdateCount();
    RebuildFadedImage();
    return m_iCount - 1;
}

BOOL CQMXPToolBarImages::UpdateImage(int iImage, HBITMAP hbmp) {
    if (!m_bUserImagesList || m_bIsTemporary || m_hbmImageWell == nullptr || hbmp == nullptr || iImage < 0 ||
        iImage >= m_iCount)
        return FALSE;
    CopyBits(m_hbmImageWell, iImage * m_sizeImage.cx, 0, m_sizeImage.cx, m_sizeImage.cy, hbmp, 0, 0);
    m_bModified = TRUE;
    RebuildFadedImage();
    return TRUE;
}

void CQMXPToolBarImages::Clear() {
    if (m_bIsTemporary)
        return;
    m_hInstImageWell = nullptr;
    DeleteStrip();
    m_lstOrigResIds.RemoveAll();
    m_mapOrigResOffsets.RemoveAll();
    m_strUdfPath.Empty();
    m_bUserImagesList = FALSE;
    m_iCount = 0;
    m_bModified = FALSE;
}

BOOL CQMXPToolBarImages::CopyTo(CQMXPToolBarImages& imagesDest) {
    if (imagesDest.m_bIsTemporary)
        return FALSE;
    if (imagesDest.m_hbmImageWell != nullptr)
        imagesDest.Clear();
    imagesDest.m_sizeImage = m_sizeImage;
    imagesDest.m_sizeImageDest = m_sizeImageDest;
    imagesDest.m_hInstImageWell = m_hInstImageWell;
    imagesDest.m_bUserImagesList = m_bUserImagesList;
    imagesDest.m_strUdfPath = m_strUdfPath;
    imagesDest.m_bModified = m_bModified;
    imagesDest.m_iCount = m_iCount;
    imagesDest.m_clrTransparent = m_clrTransparent;
    imagesDest.m_bReadOnly = m_bReadOnly;
    imagesDest.m_nBitsPerPixel = m_nBitsPerPixel;
    if (m_hbmImageWell != nullptr) {
        const CSize size = BitmapSize(m_hbmImageWell);
        imagesDest.m_hbmImageWell = CreateScreenBitmap(size.cx, size.cy);
        if (imagesDest.m_hbmImageWell == nullptr)
            return FALSE;
        CopyBits(imagesDest.m_hbmImageWell, 0, 0, size.cx, size.cy, m_hbmImageWell, 0, 0);
    }
    for (POSITION pos = m_lstOrigResIds.GetHeadPosition(); pos != nullptr;)
        imagesDest.m_lstOrigResIds.AddTail(m_lstOrigResIds.GetNext(pos));
    for (POSITION pos = m_mapOrigResOffsets.GetStartPosition(); pos != nullptr;) {
        UINT uiResID = 0;
        int iOffset = 0;
        m_mapOrigResOffsets.GetNextAssoc(pos, uiResID, iOffset);
        imagesDest.m_mapOrigResOffsets[uiResID] = iOffset;
    }
    imagesDest.RebuildFadedImage();
    return TRUE;
}

void CQMXPToolBarImages::ShareWith(CQMXPToolBarImages& imagesDest) {
    imagesDest.Clear();
    imagesDest.m_bIsTemporary = TRUE;
    imagesDest.m_bReadOnly = TRUE;
    imagesDest.m_sizeImage = m_sizeImage;
    imagesDest.m_sizeImageDest = m_sizeImageDest;
    imagesDest.m_hbmImageWell = m_hbmImageWell;
    imagesDest.m_bUserImagesList = m_bUserImagesList;
    imagesDest.m_iCount = m_iCount;
}

BOOL CQMXPToolBarImages::MapTo3dColors(BOOL bRGBtoBGR, COLORREF clrSrc, COLORREF clrDest) {
    const COLORREF kNone = static_cast<COLORREF>(-1);
    if (m_hbmImageWell == nullptr || (clrSrc != kNone && clrDest == kNone))
        return FALSE;
    const CSize size = BitmapSize(m_hbmImageWell);
    CQMXPDibSection dib;
    if (!dib.Create(size.cx, size.cy))
        return FALSE;
    BlitFromBitmap(dib.GetDC(), 0, 0, size.cx, size.cy, m_hbmImageWell, 0, 0);
    ::GdiFlush();
    for (int x = 0; x < size.cx; ++x) {
        for (int y = 0; y < size.cy; ++y) {
            // With bRGBtoBGR the colours are taken in the pixels' own order
            // (blue low), else as colour values.
            uint32_t& pixel = dib.Pixel(x, y);
            const COLORREF clr = bRGBtoBGR ? (pixel & 0xFFFFFF) : CQMXPDibSection::ToColor(pixel);
            COLORREF clrNew = clr;
            if (clrSrc != kNone)
                clrNew = clr == clrSrc ? clrDest : clr;
            else
                clrNew = MapToSysColor(clr, bRGBtoBGR);
            if (clrNew != clr)
                pixel = bRGBtoBGR ? clrNew : CQMXPDibSection::FromColor(clrNew);
        }
    }
    HBITMAP hbmpNew = CreateScreenBitmap(size.cx, size.cy);
    if (hbmpNew == nullptr)
        return FALSE;
    HDC hDCNew = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOldNew = ::SelectObject(hDCNew, hbmpNew);
    ::BitBlt(hDCNew, 0, 0, size.cx, size.cy, dib.GetDC(), 0, 0, SRCCOPY);
    ::SelectObject(hDCNew, hOldNew);
    ::DeleteDC(hDCNew);
    ::DeleteObject(m_hbmImageWell);
    m_hbmImageWell = hbmpNew;
    return TRUE;
}

COLORREF CQMXPToolBarImages::MapToSysColor(COLORREF color, BOOL bUseRGBQUAD) {
    for (const ColorMap& entry : kSysColorMap) {
        if (entry.stored == color) {
            const COLORREF clrSys = ::GetSysColor(entry.sysColor);
            return bUseRGBQUAD ? SwapRB(clrSys) : clrSys;
        }
    }
    return color;
}

COLORREF CQMXPToolBarImages::MapFromSysColor(COLORREF color, BOOL bUseRGBQUAD) {
    for (const ColorMap& entry : kSysColorMap) {
        const COLORREF clrSys = bUseRGBQUAD ? SwapRB(::GetSysColor(entry.sysColor)) : ::GetSysColor(entry.sysColor);
        if (clrSys == color)
            return bUseRGBQUAD ? SwapRB(entry.stored) : entry.stored;
    }
    return color;
}

BOOL CQMXPToolBarImages::RebuildFadedImage() {
    if (m_hbmImageLight != nullptr) {
        ::DeleteObject(m_hbmImageLight);
        m_hbmImageLight = nullptr;
    }
    if (m_hbmImageWell == nullptr || globalData.bitsPerPixel <= 8 || (::GetVersion() & 0x80000000) != 0)
        return TRUE;
    const CSize size = BitmapSize(m_hbmImageWell);
    CQMXPDibSection dib;
    if (!dib.Create(size.cx, size.cy))
        return FALSE;
    BlitFromBitmap(dib.GetDC(), 0, 0, size.cx, size.cy, m_hbmImageWell, 0, 0);
    CDC dc;
    dc.Attach(dib.GetDC());
    const COLORREF clrTransparent =
        m_clrTransparent != static_cast<COLORREF>(-1) ? m_clrTransparent : globalData.clrBtnFace;
    CQMXPDrawManager(dc).HighlightRect(CRect(0, 0, size.cx, size.cy), 130, clrTransparent);
    dc.Detach();
    m_hbmImageLight = dib.Detach();
    return TRUE;
}

void CQMXPToolBarImages::OnSysColorChange() {
    if (m_bIsTemporary)
        return;
    if (m_hbmImageWell != nullptr) {
        if (m_bUserImagesList) {
            const CString strPath = m_strUdfPath;
            Load(strPath);
        } else if (!m_lstOrigResIds.IsEmpty()) {
            CList<UINT, UINT> lstIds;
            lstIds.AddTail(&m_lstOrigResIds);
            DeleteStrip();
            m_lstOrigResIds.RemoveAll();
            m_mapOrigResOffsets.RemoveAll();
            m_iCount = 0;
            for (POSITION pos = lstIds.GetHeadPosition(); pos != nullptr;)
                Load(lstIds.GetNext(pos), m_hInstImageWell, TRUE);
        } else {
            return;
        }
    }
    UpdateCount();
    RebuildFadedImage();
    m_clrImageShadow = ::GetSysColor(COLOR_BTNSHADOW);
}

BOOL QMXCopyDrawingToClipboard(HWND hwndOwner, CSize size, const std::function<BOOL(CDC*)>& draw) {
    BOOL bDone = FALSE;
    HBITMAP hbmp = CreateScreenBitmap(size.cx, size.cy);
    if (hbmp != nullptr && hwndOwner != nullptr) {
        CDC dc;
        dc.Attach(::CreateCompatibleDC(nullptr));
        HGDIOBJ hOld = ::SelectObject(dc.m_hDC, hbmp);
        CRect rect(CPoint(0, 0), size);
        dc.FillRect(&rect, &globalData.brBtnFace);
        const BOOL bDrawn = draw(&dc);
        ::SelectObject(dc.m_hDC, hOld);
        ::DeleteDC(dc.Detach());
        if (bDrawn && ::OpenClipboard(hwndOwner)) {
            if (::EmptyClipboard() && ::SetClipboardData(CF_BITMAP, hbmp) != nullptr) {
                hbmp = nullptr;  // the clipboard owns it now
                bDone = TRUE;
            }
            ::CloseClipboard();
        }
    }
    if (hbmp != nullptr)
        ::DeleteObject(hbmp);
    if (!bDone)
        AfxMessageBoxText(kIdsCannotCopyImage, L"Can't copy bitmap image into the clipboard!", MB_OK | MB_ICONSTOP);
    return bDone;
}

BOOL CQMXPToolBarImages::CopyImageToClipboard(int iImage) {
    CWnd* pMainWnd = AfxGetMainWnd();
    return QMXCopyDrawingToClipboard(pMainWnd != nullptr ? pMainWnd->GetSafeHwnd() : nullptr, m_sizeImage,
                                     [this, iImage](CDC* pDC) {
                                         CQMXPDrawState ds;
                                         if (iImage < 0 || iImage >= m_iCount || !BeginDraw(ds))
                                             return FALSE;
                                         const BOOL bDrawn = DrawImage(pDC, 0, 0, iImage);
                                         FinishDraw(ds);
                                         return bDrawn;
                                     });
}

BOOL CQMXPToolBarImages::BeginDraw(CQMXPDrawState& ds, int cxDraw, int cyDraw, BOOL bFadeInactive) {
    if (m_hbmImageWell == nullptr)
        return FALSE;
    m_bFadeInactive = bFadeInactive && m_hbmImageLight != nullptr && m_nBitsPerPixel >= 1 && m_nBitsPerPixel <= 4;
    ds.hbmOldGlyphs =
        static_cast<HBITMAP>(::SelectObject(s_hDCGlyphs, m_bFadeInactive ? m_hbmImageLight : m_hbmImageWell));
    ds.hbmMono = ::CreateBitmap(m_sizeImage.cx + 2, m_sizeImage.cy + 2, 1, 1, nullptr);
    ds.hbmMonoOld = static_cast<HBITMAP>(::SelectObject(s_hDCMono, ds.hbmMono));
    m_sizeImageDest = (cxDraw > 0 && cyDraw > 0) ? CSize(cxDraw, cyDraw) : m_sizeImage;
    if (m_sizeImageDest == m_sizeImage && m_clrTransparent == static_cast<COLORREF>(-1))
        return TRUE;
    m_bStretch = m_sizeImageDest != m_sizeImage;
    HDC hDCScreen = ::GetDC(nullptr);
    m_hDCMem = ::CreateCompatibleDC(hDCScreen);
    m_hBmpMem = ::CreateCompatibleBitmap(hDCScreen, m_sizeImage.cx + 2, m_sizeImage.cy + 2);
    ::ReleaseDC(nullptr, hDCScreen);
    if (m_hDCMem == nullptr || m_hBmpMem == nullptr) {
        FinishDraw(ds);
        return FALSE;
    }
    m_hBmpOriginal = ::SelectObject(m_hDCMem, m_hBmpMem);
    return TRUE;
}

void CQMXPToolBarImages::FinishDraw(CQMXPDrawState& ds) {
    ::SelectObject(s_hDCMono, ds.hbmMonoOld);
    ::SelectObject(s_hDCGlyphs, ds.hbmOldGlyphs);
    if (ds.hbmMono != nullptr)
        ::DeleteObject(ds.hbmMono);
    ds = CQMXPDrawState();
    m_sizeImageDest = CSize(0, 0);
    if (m_hDCMem != nullptr) {
        if (m_hBmpOriginal != nullptr)
            ::SelectObject(m_hDCMem, m_hBmpOriginal);
        ::DeleteDC(m_hDCMem);
    }
    if (m_hBmpMem != nullptr)
        ::DeleteObject(m_hBmpMem);
    m_hDCMem = nullptr;
    m_hBmpMem = nullptr;
    m_hBmpOriginal = nullptr;
    m_bStretch = FALSE;
    m_bFadeInactive = FALSE;
}

void CQMXPToolBarImages::CreateMask(int iImage, BOOL bHilite, BOOL bHiliteShadow) {
    const int cx = m_sizeImage.cx;
    const int cy = m_sizeImage.cy;
    ::PatBlt(s_hDCMono, 0, 0, cx + 2, cy + 2, WHITENESS);
    ::SetBkColor(s_hDCGlyphs,
                 m_clrTransparent != static_cast<COLORREF>(-1) ? m_clrTransparent : globalData.clrBtnFace);
    ::BitBlt(s_hDCMono, 0, 0, cx, cy, s_hDCGlyphs, iImage * cx, 0, SRCCOPY);
    if (bHilite) {
        ::SetBkColor(s_hDCGlyphs, globalData.clrBtnHilite);
        ::BitBlt(s_hDCMono, 0, 0, cx, cy, s_hDCGlyphs, iImage * cx, 0, SRCPAINT);
    }
    if (bHiliteShadow)
        ::BitBlt(s_hDCMono, 1, 1, cx + 1, cy + 1, s_hDCMono, 0, 0, SRCAND);
}

BOOL CQMXPToolBarImages::DrawImage(CDC* pDC, int x, int y, int iImage, BOOL bHilite, BOOL bDisabled,
                                   BOOL bIndeterminate, BOOL bShadow, BOOL bInactive) {
    if (pDC == nullptr || iImage < 0 || iImage >= m_iCount)
        return FALSE;
    if (bShadow && globalData.bitsPerPixel <= 8)
        return TRUE;
    if (m_bStretch) {
        bHilite = FALSE;
        bIndeterminate = FALSE;
    }
    HGDIOBJ hbmOldGlyphs = nullptr;
    if (!bInactive && m_bFadeInactive)
        hbmOldGlyphs = ::SelectObject(s_hDCGlyphs, m_hbmImageWell);

    const COLORREF kNone = static_cast<COLORREF>(-1);
    const int cx = m_sizeImage.cx;
    const int cy = m_sizeImage.cy;
    HDC hDCDest = pDC->m_hDC;
    int xDest = x;
    int yDest = y;
    if (m_bStretch || m_clrTransparent != kNone) {
        hDCDest = m_hDCMem;
        xDest = yDest = 0;
        RECT rectImage = {0, 0, cx, cy};
        if (m_clrTransparent == kNone || m_clrTransparent == globalData.clrBtnFace) {
            ::FillRect(hDCDest, &rectImage, static_cast<HBRUSH>(globalData.brBtnFace.m_hObject));
        } else {
            const COLORREF clrOld = ::SetBkColor(hDCDest, m_clrTransparent);
            ::ExtTextOutW(hDCDest, 0, 0, ETO_OPAQUE, &rectImage, nullptr, 0, nullptr);
            ::SetBkColor(hDCDest, clrOld);
        }
    }

    if (!bHilite && !bDisabled && !bShadow)
        ::BitBlt(hDCDest, xDest, yDest, cx, cy, s_hDCGlyphs, iImage * cx, 0, SRCCOPY);

    if (bDisabled || bShadow || (bHilite && bIndeterminate)) {
        CreateMask(iImage, TRUE, FALSE);
        ::SetTextColor(hDCDest, bShadow ? m_clrImageShadow : RGB(0, 0, 0));
        ::SetBkColor(hDCDest, RGB(255, 255, 255));
        if (bDisabled && CQMXPVisualManager::GetInstance()->bEmbossDisabledImage) {
            HGDIOBJ hOldBrush = ::SelectObject(hDCDest, globalData.hbrBtnHilite);
            ::BitBlt(hDCDest, xDest + 1, yDest + 1, cx + 2, cy + 2, s_hDCMono, 0, 0, kRopBrushWhereMaskClear);
            ::SelectObject(hDCDest, hOldBrush);
        }
        HGDIOBJ hOldBrush = ::SelectObject(hDCDest, globalData.hbrBtnShadow);
        ::BitBlt(hDCDest, xDest, yDest, cx + 2, cy + 2, s_hDCMono, 0, 0, kRopBrushWhereMaskClear);
        ::SelectObject(hDCDest, hOldBrush);
    }

    if (bHilite || bIndeterminate) {
        CreateMask(iImage, !bIndeterminate, bDisabled);
        ::SetTextColor(hDCDest, RGB(0, 0, 0));
        ::SetBkColor(hDCDest, RGB(255, 255, 255));
        HGDIOBJ hOldBrush = ::SelectObject(hDCDest, globalData.brLight.m_hObject);
        ::BitBlt(hDCDest, xDest, yDest, cx, cy, s_hDCMono, 0, 0, kRopBrushWhereMaskSet);
        ::SelectObject(hDCDest, hOldBrush);
    }

    const COLORREF clrTransparent = m_clrTransparent != kNone ? m_clrTransparent : globalData.clrBtnFace;
    if (m_bStretch) {
        QMXTransparentBlt(pDC->m_hDC, x, y, cx, cy, m_hDCMem, 0, 0, clrTransparent, m_sizeImageDest.cx,
                          m_sizeImageDest.cy);
    } else if (m_clrTransparent != kNone) {
        QMXTransparentBlt(pDC->m_hDC, x, y, cx, cy, m_hDCMem, 0, 0, clrTransparent);
    }

    if (hbmOldGlyphs != nullptr)
        ::SelectObject(s_hDCGlyphs, hbmOldGlyphs);
    return TRUE;
}

void QMXFillDitherRect(CDC* pDC, LPCRECT lpRect) { pDC->FillRect(lpRect, &globalData.brLight); }

void QMXTransparentBlt(HDC hdcDest, int nXDest, int nYDest, int nWidth, int nHeight, HDC hdcSrc, int nXSrc,
                       int nYSrc, COLORREF colorTransparent, int nWidthDest, int nHeightDest) {
    const int cxDest = nWidthDest != -1 ? nWidthDest : nWidth;
    const int cyDest = nHeightDest != -1 ? nHeightDest : nHeight;
    HDC hdcImage = ::CreateCompatibleDC(hdcDest);
    HDC hdcTrans = ::CreateCompatibleDC(hdcDest);
    HBITMAP hbmImage = ::CreateCompatibleBitmap(hdcDest, cxDest, cyDest);
    HGDIOBJ hOldImage = ::SelectObject(hdcImage, hbmImage);
    if (cxDest != nWidth || cyDest != nHeight)
        ::StretchBlt(hdcImage, 0, 0, cxDest, cyDest, hdcSrc, nXSrc, nYSrc, nWidth, nHeight, SRCCOPY);
    else
        ::BitBlt(hdcImage, 0, 0, nWidth, nHeight, hdcSrc, nXSrc, nYSrc, SRCCOPY);

    HBITMAP hbmTrans = ::CreateBitmap(cxDest, cyDest, 1, 1, nullptr);
    HGDIOBJ hOldTrans = ::SelectObject(hdcTrans, hbmTrans);
    ::SetBkColor(hdcImage, colorTransparent);
    ::BitBlt(hdcTrans, 0, 0, cxDest, cyDest, hdcImage, 0, 0, SRCCOPY);

    ::SetBkColor(hdcImage, RGB(0, 0, 0));
    ::SetTextColor(hdcImage, RGB(255, 255, 255));
    ::BitBlt(hdcImage, 0, 0, cxDest, cyDest, hdcTrans, 0, 0, SRCAND);

    const COLORREF clrOldBk = ::SetBkColor(hdcDest, RGB(255, 255, 255));
    const COLORREF clrOldText = ::SetTextColor(hdcDest, RGB(0, 0, 0));
    ::BitBlt(hdcDest, nXDest, nYDest, cxDest, cyDest, hdcTrans, 0, 0, SRCAND);
    ::BitBlt(hdcDest, nXDest, nYDest, cxDest, cyDest, hdcImage, 0, 0, SRCPAINT);
    ::SetBkColor(hdcDest, clrOldBk);
    ::SetTextColor(hdcDest, clrOldText);

    ::SelectObject(hdcTrans, hOldTrans);
    ::SelectObject(hdcImage, hOldImage);
    ::DeleteObject(hbmTrans);
    ::DeleteObject(hbmImage);
    ::DeleteDC(hdcTrans);
    ::DeleteDC(hdcImage);
}
