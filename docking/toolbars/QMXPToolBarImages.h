#pragma once
// CQMXPToolBarImages: a strip of equally sized button images in one bitmap,
// image i in the columns from i × image width. Strips load from bitmap
// resources (the four standard button greys become the current system
// colours) or from a user's bitmap file, which they can save back; images
// are drawn normal, disabled, dithered, as a shadow or faded, within a
// drawing pass (BeginDraw, DrawImage..., FinishDraw). All strips share two
// device contexts: passes of different strips are never nested.
#include "platform/classlib/List.h"
#include "platform/classlib/Map.h"
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

#include <functional>

class CDC;

// What a drawing pass restores at its end.
struct CQMXPDrawState {
    HBITMAP hbmMono = nullptr;
    HBITMAP hbmMonoOld = nullptr;
    HBITMAP hbmOldGlyphs = nullptr;
};

class CQMXPToolBarImages : public CObject {
public:
    // Raises the resource exception when the shared contexts cannot be made.
    CQMXPToolBarImages();
    ~CQMXPToolBarImages() override;

    // A bitmap resource; with bAdd its images are appended (once per id),
    // else it replaces the strip.
    BOOL Load(UINT uiResID, HINSTANCE hinstRes = nullptr, BOOL bAdd = FALSE);
    // A user's bitmap file; a bare name lies in the program's folder.
    BOOL Load(LPCWSTR lpszBmpFileName);
    // Writes the user strip as a bitmap file with the standard colours;
    // an unmodified strip is not written again to its own file.
    BOOL SaveToFile(LPCWSTR lpszBmpFileName = nullptr);
    // Appends the bitmap's images; the index of the last one, -1 on failure.
    int AddImage(HBITMAP hbmp);
    BOOL UpdateImage(int iImage, HBITMAP hbmp);
    void Clear();
    // An independent copy into the target.
    BOOL CopyTo(CQMXPToolBarImages& imagesDest);
    // The target shows this strip's bitmap without owning it.
    void ShareWith(CQMXPToolBarImages& imagesDest);

    // Maps the standard colours to the system colours, or one colour to
    // another, in every pixel.
    BOOL MapTo3dColors(BOOL bRGBtoBGR = TRUE, COLORREF clrSrc = static_cast<COLORREF>(-1),
                       COLORREF clrDest = static_cast<COLORREF>(-1));
    BOOL RebuildFadedImage();
    void OnSysColorChange();
    BOOL CopyImageToClipboard(int iImage);

    static COLORREF MapToSysColor(COLORREF color, BOOL bUseRGBQUAD = TRUE);
    static COLORREF MapFromSysColor(COLORREF color, BOOL bUseRGBQUAD = TRUE);

    BOOL BeginDraw(CQMXPDrawState& ds, int cxDraw = 0, int cyDraw = 0, BOOL bFadeInactive = FALSE);
    BOOL DrawImage(CDC* pDC, int x, int y, int iImage, BOOL bHilite = FALSE, BOOL bDisabled = FALSE,
                   BOOL bIndeterminate = FALSE, BOOL bShadow = FALSE, BOOL bInactive = FALSE);
    void FinishDraw(CQMXPDrawState& ds);

    int GetCount() const { return m_iCount; }
    CSize GetImageSize() const { return m_sizeImage; }
    void SetImageSize(SIZE size) { m_sizeImage = size; UpdateCount(); }
    COLORREF GetTransparentColor() const { return m_clrTransparent; }
    // Rebuilds the faded copy when the colour changes.
    void SetTransparentColor(COLORREF clrTransparent);
    HBITMAP GetImageWell() const { return m_hbmImageWell; }
    HBITMAP GetFadedImageWell() const { return m_hbmImageLight; }
    BOOL IsUserImagesList() const { return m_bUserImagesList; }
    BOOL IsModified() const { return m_bModified; }
    BOOL IsReadOnly() const { return m_bReadOnly; }
    int GetBitsPerPixel() const { return m_nBitsPerPixel; }
    // The index of the first image of a resource loaded with bAdd; -1 when none.
    int GetResourceOffset(UINT uiResID) const;

    // The shared contexts, deleted when the program ends.
    static void CleanUpSharedContexts();

private:
    void UpdateCount();
    // Maps the greys of a loaded strip, counts its images and fades it.
    void FinishLoad();
    void DeleteStrip();
    void CreateMask(int iImage, BOOL bHilite, BOOL bHiliteShadow);

    CSize m_sizeImage;
    CSize m_sizeImageDest;
    HBITMAP m_hbmImageWell;
    HBITMAP m_hbmImageLight;
    HINSTANCE m_hInstImageWell;
    BOOL m_bUserImagesList;
    CString m_strUdfPath;
    BOOL m_bModified;
    int m_iCount;
    CList<UINT, UINT> m_lstOrigResIds;
    CMap<UINT, UINT, int, int> m_mapOrigResOffsets;
    BOOL m_bStretch;
    HDC m_hDCMem;
    HBITMAP m_hBmpMem;
    HGDIOBJ m_hBmpOriginal;
    COLORREF m_clrTransparent;
    BOOL m_bReadOnly;
    BOOL m_bIsTemporary;
    COLORREF m_clrImageShadow;
    BOOL m_bFadeInactive;
    int m_nBitsPerPixel;

    static HDC s_hDCGlyphs;
    static HDC s_hDCMono;
};

// What draw paints on the button face of a new screen bitmap of the size,
// put on the clipboard as CF_BITMAP for the owner; when the bitmap cannot
// be made, draw fails, or the clipboard refuses it, the library's message
// "Can't copy bitmap image into the clipboard!" and FALSE.
BOOL QMXCopyDrawingToClipboard(HWND hwndOwner, CSize size, const std::function<BOOL(CDC*)>& draw);

// Fills with the library's dither brush, the background of checked buttons.
void QMXFillDitherRect(CDC* pDC, LPCRECT lpRect);

// Copies the source to the destination leaving out the pixels of the
// transparent colour; stretched when a destination size (not -1) differs.
void QMXTransparentBlt(HDC hdcDest, int nXDest, int nYDest, int nWidth, int nHeight, HDC hdcSrc, int nXSrc,
                       int nYSrc, COLORREF colorTransparent, int nWidthDest = -1, int nHeightDest = -1);
