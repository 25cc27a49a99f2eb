#pragma once
// CKWScrolledBitmapControl: a picture from a bitmap resource over a static
// control of a dialog, moved up through the window by an offset that its
// owner changes; a picture that has left the top comes back in from the
// bottom. The space the picture leaves is filled with a background colour.
#include "controls/KWDrawnStaticWin.h"
#include "framework/KWGdipBitmap.h"
#include "platform/classlib/Wnd.h"

#include <memory>

class IKWGraphics;

// Where the picture's top lies for an offset: the offset itself until the
// picture has left the top, then it comes back from the bottom with a
// period of the view height plus the picture height.
int KWScrolledBitmapTop(int offset, int viewHeight, int pictureHeight);

class CKWScrolledBitmapControlImp {
public:
    virtual ~CKWScrolledBitmapControlImp() = default;
    virtual void ReleaseWindow() = 0;
    virtual void GetClientRect(CRect& rect) = 0;
    virtual void Draw(IKWGraphics* graphics);
    virtual void ClearImage() { m_picture.reset(); }
    virtual void SetImageResource(UINT resourceId);
    virtual void SetOffset(int offset);
    virtual void Redraw(bool now);
    // Invalidates without erasing and repaints at once.
    virtual void Refresh() = 0;
    virtual CSize GetClientSize();
    virtual CSize GetImageSize();
    virtual void UpdateSizes();

    int GetOffset() const { return m_offset; }
    void SetBackground(COLORREF colour) { m_background = colour; }

protected:
    std::unique_ptr<CKWGdipBitmap> m_picture;
    int m_offset = 0;
    int m_previousOffset = 0;
    CSize m_view = CSize(0, 0);
    CSize m_image = CSize(0, 0);
    COLORREF m_background = RGB(255, 255, 255);
};

class CKWScrolledBitmapControlImpWin : public CKWDrawnStaticWin, public CKWScrolledBitmapControlImp {
public:
    void ReleaseWindow() override { ReleaseStatic(); }
    void GetClientRect(CRect& rect) override { StaticClientRect(rect); }
    void Refresh() override { RefreshStatic(); }

protected:
    void DrawStatic(IKWGraphics* graphics) override { Draw(graphics); }
};

class CKWScrolledBitmapControl {
public:
    CKWScrolledBitmapControl() = default;
    virtual ~CKWScrolledBitmapControl();
    CKWScrolledBitmapControl(const CKWScrolledBitmapControl&) = delete;
    CKWScrolledBitmapControl& operator=(const CKWScrolledBitmapControl&) = delete;

    // Takes over the dialog item's window; false when there is none.
    virtual bool Create(UINT controlId, CWnd* parent);
    virtual void ReleaseWindow();
    virtual void UpdateSizes();
    virtual void ClearImage();
    virtual void SetImageResource(UINT resourceId);
    // Empty without an implementation.
    virtual void GetClientSize(CSize& size);
    virtual void GetImageSize(CSize& size);
    // The new offset, drawn at once.
    virtual void SetOffset(int offset);
    // The background colour.
    void SetImpParam(COLORREF colour);
    // Measures the view and the picture again and repaints.
    void Refresh();
    // Destroys the item's window and the implementation.
    void DestroyWindow();
    // 0 without an implementation.
    int GetOffset() const;

private:
    CKWScrolledBitmapControlImpWin* m_imp = nullptr;
};
