#pragma once
// The bitmap control: a static window of a dialog that shows a picture
// fitted into it (CKWWinStatic). CKWBitmapControlImp is the kind's
// interface, CKWBitmapControlImpWin its implementation over the dialog item
// (subclassed at once, let go when the implementation goes) and
// CKWBitmapControl the facade.
#include "controls/KWCtrlImpWin.h"
#include "controls/KWWinStatic.h"

class CKWBitmapControlImp : public virtual CKWCtrlImp {
public:
    // The bitmap resource as the static window's own image.
    virtual void SetStaticBitmap(UINT resourceId) = 0;
    virtual void SetImage(const KWRasterImage* image) = 0;
    // The previous picture, not deleted: the caller owns it.
    virtual HBITMAP SetBitmap(HBITMAP bitmap) = 0;
    virtual HBITMAP GetBitmap() = 0;
    virtual bool LoadResourceBitmap(UINT resourceId) = 0;
};

class CKWBitmapControlImpWin : public CKWCtrlImpWin, public CKWBitmapControlImp {
public:
    // The clipping and owner-drawn static styles added to the bound window,
    // and the class styles that redraw it whole on resizing.
    static constexpr DWORD kBoundStyle = 0x0600000D;

    explicit CKWBitmapControlImpWin(HWND hWnd);
    ~CKWBitmapControlImpWin() override;

    bool Create(DWORD, DWORD, const RECT&, CWnd*, UINT) override { return false; }
    void SetContextMenu(UINT menuId) override { m_wnd.SetContextMenuId(static_cast<uint16_t>(menuId)); }
    void SetDropHandler(CKWDragDropPane* handler) override { m_wnd.SetDropHandler(handler); }
    void EnableDragDrop(bool enable) override;
    void SetOwner(CKWFocusManager* owner, int value) override { m_wnd.SetOwner(owner, value); }

    void SetStaticBitmap(UINT resourceId) override;
    void SetImage(const KWRasterImage* image) override { m_wnd.SetImage(image); }
    HBITMAP SetBitmap(HBITMAP bitmap) override { return m_wnd.SetPicture(bitmap); }
    HBITMAP GetBitmap() override { return m_wnd.GetPicture(); }
    bool LoadResourceBitmap(UINT resourceId) override { return m_wnd.LoadResourceBitmap(resourceId); }

    CKWWinStatic& GetWindow() { return m_wnd; }

private:
    CKWWinStatic m_wnd;
};

class CKWBitmapControl : public CKWControl {
public:
    void CreateImp(HWND hWnd) override;

    void SetStaticBitmap(UINT resourceId) { KWForwardToImp(Kind(), &CKWBitmapControlImp::SetStaticBitmap, resourceId); }
    void SetImage(const KWRasterImage* image) { KWForwardToImp(Kind(), &CKWBitmapControlImp::SetImage, image); }
    HBITMAP SetBitmap(HBITMAP bitmap) { return KWForwardToImp(Kind(), &CKWBitmapControlImp::SetBitmap, bitmap); }
    HBITMAP GetBitmap() { return KWForwardToImp(Kind(), &CKWBitmapControlImp::GetBitmap); }
    bool LoadResourceBitmap(UINT id) { return KWForwardToImp(Kind(), &CKWBitmapControlImp::LoadResourceBitmap, id); }

private:
    CKWBitmapControlImp* Kind() const { return KindImp<CKWBitmapControlImp>(); }
};
