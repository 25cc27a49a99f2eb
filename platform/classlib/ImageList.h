#pragma once
// CImageList: an image list of the common controls. The object owns the
// list it creates or is attached to and destroys it with itself.
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"

#include <windows.h>
#include <commctrl.h>

class CBitmap;
class CDC;

class CImageList : public CObject {
    DECLARE_DYNAMIC(CImageList)
public:
    CImageList() = default;
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // A wrapper of the handle: the permanent one, else one of the calling
    // thread's temporaries (which never destroys the list).
    static CImageList* FromHandle(HIMAGELIST hImageList);

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();
    HIMAGELIST GetSafeHandle() const { return this != nullptr ? m_hImageList : nullptr; }
    operator HIMAGELIST() const { return m_hImageList; }

    int GetImageCount() const { return ::ImageList_GetImageCount(m_hImageList); }
    // The bitmap's images, with the colour as transparent (a mask list); the first new index or -1.
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon) { return ::ImageList_AddIcon(m_hImageList, hIcon); }
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    // The size of one image; (0, 0) without a list.
    CSize GetImageSize() const;

    HIMAGELIST m_hImageList = nullptr;
};
