#pragma once
// CKWCtrlImpWin: the generic Windows implementation of a control, over a
// window handle. It never destroys the window it wraps; the font it makes
// with SetFont is its own and goes with it. Kind implementations derive
// from it (virtually from CKWCtrlImp, so that a kind holds one interface).
#include "controls/KWControl.h"

class CKWCtrlImpWin : public virtual CKWCtrlImp {
public:
    explicit CKWCtrlImpWin(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
    // Deletes the font made by SetFont.
    ~CKWCtrlImpWin() override;
    CKWCtrlImpWin(const CKWCtrlImpWin&) = delete;
    CKWCtrlImpWin& operator=(const CKWCtrlImpWin&) = delete;

    void Enable(bool enable) override;
    bool IsEnabled() override;
    void Show(bool show) override;
    bool IsVisible() override;
    void Redraw(bool updateNow) override;
    void Invalidate() override;
    void InvalidateRect(const RECT& rect) override;
    void Update() override;
    void SetFocus() override;
    void SetText(const CString& text) override;
    void GetText(CString& text) override;
    bool HasFocus() override;
    // The previous font is deleted before the new one is made.
    void SetFont(const CKWFontData& font) override;
    void SetWindowRect(const RECT& rect) override;
    // A "STATIC" window with the control id.
    bool Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;
    void SetContextMenu(UINT) override {}
    void SetDropHandler(CKWDragDropPane*) override {}
    void EnableDragDrop(bool) override {}
    void SetOwner(CKWFocusManager*, int) override {}
    void GetClientRect(RECT* rect) override;
    int GetScrollPos(bool vertical) override;
    // WM_VSCROLL with SB_THUMBPOSITION and the position, whatever bar is named.
    void SetScrollPos(bool vertical, int position) override;
    int GetScrollInfo(bool vertical, int& minimum, int& maximum, int passed) override;

    HWND GetHwnd() const { return m_hWnd; }
    HFONT GetFontHandle() const { return m_font; }

protected:
    void SetHwnd(HWND hWnd) { m_hWnd = hWnd; }

private:
    HWND m_hWnd;
    HFONT m_font = nullptr;
};

// A window of the class with an empty title; a child window gets the id (its
// menu handle is its id). Null when the system refuses it.
HWND KWCreateChildControl(const wchar_t* className, DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent,
                          UINT id);

// The style of a container window made around a control's parts: the given
// window style bits, without the control's own low word and scroll bars.
DWORD KWContainerStyle(DWORD style);
