#pragma once
// CImageList: a common-controls image list (images of one size with their
// masks). The list the object holds is destroyed with it unless detached.
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"

#include <windows.h>
#include <commctrl.h>

class CBitmap;
class CDC;

class CImageList : public CObject {
public:
    CImageList() = default;
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;

    // A wrapper of the handle: the permanent one, else one of the calling
    // thread's temporaries (which never destroys the list).
    static CImageList* FromHandle(HIMAGELIST hImageList);

    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    // Any list held before is destroyed first.
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    BOOL DeleteImageList();
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();

    int GetImageCount() const { return m_hImageList != nullptr ? ::ImageList_GetImageCount(m_hImageList) : 0; }
    // The bitmap's images, crMask the colour that becomes transparent; the
    // first new index, -1 on failure.
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HBITMAP hbmImage, COLORREF crMask) {
        return m_hImageList != nullptr ? ::ImageList_AddMasked(m_hImageList, hbmImage, crMask) : -1;
    }
    int Add(HICON hIcon) { return m_hImageList != nullptr ? ::ImageList_AddIcon(m_hImageList, hIcon) : -1; }
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    // The size of one image; (0, 0) without a list.
    CSize GetImageSize() const;
};
