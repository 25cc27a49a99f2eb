#pragma once
// CKWWinStatic: the static window of the bitmap control. It draws its
// picture (else its resource bitmap) fitted into its client area on the
// button face, shows a context menu, tells its owner when it gains the
// focus and is a drop pane.
#include "controls/KWDragDropPane.h"
#include "platform/classlib/Static.h"

#include <cstdint>

class CKWFocusManager;
struct KWRasterImage;

class CKWWinStatic : public CStatic, public CKWDragDropPane {
public:
    CKWWinStatic() = default;
    // Deletes the picture and the resource bitmap.
    ~CKWWinStatic() override;

    // A device bitmap made from the image becomes the picture; the previous
    // picture is deleted. Null clears it.
    virtual void SetImage(const KWRasterImage* image);

    // The previous picture, which the caller now owns.
    HBITMAP SetPicture(HBITMAP bitmap);
    HBITMAP GetPicture() const { return m_picture; }
    bool LoadResourceBitmap(UINT resourceId);
    void SetContextMenuId(uint16_t id) { m_contextMenuId = id; }
    void SetOwner(CKWFocusManager* owner, int value)
    {
        m_owner = owner;
        m_focusValue = value;
    }

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    // Revokes the drop target while the window still exists.
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    uint16_t m_contextMenuId = 0;
    int m_focusValue = 0;
    CKWFocusManager* m_owner = nullptr;
    HBITMAP m_picture = nullptr;
    HBITMAP m_resourceBitmap = nullptr;
};

// Draws the bitmap fitted into the rectangle (centred at its own size when it
// fits, else scaled down with its proportions kept) and fills the strips
// beside it with the button face.
void KWDrawFittedBitmap(HDC dc, const RECT& client, HBITMAP bitmap);

// A 32-bit top-down device bitmap of the image's pixels, a transparent
// picture blended over the background; null for null.
HBITMAP KWBitmapFromRasterImage(const KWRasterImage* image, COLORREF background = RGB(255, 255, 255));
