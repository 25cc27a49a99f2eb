#pragma once
// CKWImageControl: a static control of a dialog that shows one picture from
// the module's bitmap resources, or whose owner draws its content through a
// callback. The facade makes its Windows implementation itself, without the
// controls factory, and is then attached to the dialog item.
#include "controls/KWDrawnStaticWin.h"
#include "platform/classlib/Rect.h"

class CKWGdipBitmap;
class CKWImageControlImp;
class IKWGraphics;

// Draws the control's content in place of its picture.
using KWImageDrawCallback = void (*)(IKWGraphics* graphics, CKWImageControlImp* control, void* context);

class CKWImageControlImp {
public:
    CKWImageControlImp() = default;
    // Deletes the picture.
    virtual ~CKWImageControlImp();
    CKWImageControlImp(const CKWImageControlImp&) = delete;
    CKWImageControlImp& operator=(const CKWImageControlImp&) = delete;

    // Destroys the window, when there is one.
    virtual BOOL DestroyWindow() = 0;
    virtual void GetClientRect(CRect& rect) = 0;
    // The callback alone when there is one; else the picture unscaled at (0, 0).
    virtual void Draw(IKWGraphics* graphics);
    virtual void ClearImage();
    // A picture that cannot be loaded leaves the control without one.
    virtual void SetImageResource(UINT resourceId);
    // Invalidates without erasing and repaints at once.
    virtual void Refresh() = 0;
    virtual void SetDrawCallback(KWImageDrawCallback callback, void* context);
    // 0 x 0 without a picture.
    virtual void GetImageSize(CSize& size);
    virtual void GetClientSize(CSize& size);
    // The picture's size into the first two members of the rectangle.
    virtual void UpdateImageSize();
    // May be null.
    virtual CKWGdipBitmap* GetImage() { return m_image; }

    const CRect& GetRect() const { return m_rect; }
    COLORREF GetBackground() const { return m_background; }

protected:
    CKWGdipBitmap* m_image = nullptr;
    CRect m_rect = CRect(0, 0, 0, 0);
    COLORREF m_background = RGB(255, 255, 255);
    KWImageDrawCallback m_callback = nullptr;
    void* m_context = nullptr;
};

class CKWImageControlImpWin : public CKWDrawnStaticWin, public CKWImageControlImp {
public:
    BOOL DestroyWindow() override { return m_hWnd ? CStatic::DestroyWindow() : FALSE; }
    void GetClientRect(CRect& rect) override { StaticClientRect(rect); }
    void Refresh() override { RefreshStatic(); }

protected:
    void DrawStatic(IKWGraphics* graphics) override { Draw(graphics); }
};

class CKWImageControl {
public:
    CKWImageControl();
    virtual ~CKWImageControl();
    CKWImageControl(const CKWImageControl&) = delete;
    CKWImageControl& operator=(const CKWImageControl&) = delete;

    // Takes over the parent's dialog item; false when there is none.
    virtual bool Attach(UINT controlId, CWnd* parent);
    virtual void DestroyWindow();
    virtual void UpdateImageSize();
    virtual void ClearImage();
    virtual void SetImageResource(UINT resourceId);
    virtual void SetDrawCallback(KWImageDrawCallback callback, void* context);
    virtual void GetImageSize(CSize& size);
    virtual void GetClientSize(CSize& size);
    virtual void SetWindowRect(const CRect& rect);
    virtual void GetClientRect(CRect& rect);
    // The whole window, erased.
    void Invalidate();

    CKWImageControlImpWin* GetImp() const { return m_imp; }

private:
    CKWImageControlImpWin* m_imp;
};
