#pragma once
// The controls window: a child window made from a dialog template that hosts
// framework controls, whose facades bind to its items by id (GetItemHwnd).
// CKWAbstractControlsWnd is what the framework holds of it;
// CKWControlsWndWin and CKWControlsWnd are its Windows classes; every
// message goes to the class library's window.
#include "platform/classlib/Wnd.h"

class CKWAbstractControlsWnd {
public:
    virtual ~CKWAbstractControlsWnd() = default;
    virtual CWnd* GetParentWnd() = 0;
    virtual CWnd* GetWnd() = 0;
    virtual void Show(bool show) = 0;
    virtual void Enable(bool enable) = 0;
};

class CKWControlsWndWin : public CWnd, public CKWAbstractControlsWnd {
public:
    CKWControlsWndWin() = default;
    ~CKWControlsWndWin() override;

    CWnd* GetParentWnd() override;
    CWnd* GetWnd() override { return this; }
    void Show(bool show) override;
    void Enable(bool enable) override;

    // A modeless child dialog of the template under the parent: the caption
    // bit from the style, the client edge from the extended style, the other
    // bits the template's; the control id set, the template's initialisation
    // data run, placed at the rectangle and shown when the style is visible.
    // False when the template or its initialisation data fails.
    virtual bool Create(UINT templateId, UINT controlId, const RECT& rect, CWnd* parent, DWORD style,
                        DWORD exStyle);

};

class CKWControlsWnd : public CKWControlsWndWin {
public:
    CKWControlsWnd() = default;
    ~CKWControlsWnd() override;

    // The child item with the id; null when there is none.
    HWND GetItemHwnd(UINT id) const { return ::GetDlgItem(m_hWnd, static_cast<int>(id)); }

};
