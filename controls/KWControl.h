#pragma once
// The control facade and its implementation interface. Callers hold a
// CKWControl (or a kind facade) as a member; the facade owns one
// implementation object made by the controls factory and gives it back to
// the factory to destroy. Every forwarder is safe without an implementation:
// setters do nothing, getters answer false or 0.
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

#include <windows.h>

#include <utility>

class CKWDragDropPane;
class CKWFocusManager;
class CKWFontData;
class CWnd;

class CKWCtrlImp {
public:
    virtual ~CKWCtrlImp() = default;
    virtual void Enable(bool enable) = 0;
    virtual bool IsEnabled() = 0;
    virtual void Show(bool show) = 0;
    virtual bool IsVisible() = 0;
    virtual void Redraw(bool updateNow) = 0;
    virtual void Invalidate() = 0;
    virtual void InvalidateRect(const RECT& rect) = 0;
    virtual void Update() = 0;
    virtual void SetFocus() = 0;
    virtual void SetText(const CString& text) = 0;
    virtual void GetText(CString& text) = 0;
    virtual bool HasFocus() = 0;
    virtual void SetFont(const CKWFontData& font) = 0;
    virtual void SetWindowRect(const RECT& rect) = 0;
    virtual bool Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) = 0;
    virtual void SetContextMenu(UINT menuId) = 0;
    virtual void SetDropHandler(CKWDragDropPane* handler) = 0;
    virtual void EnableDragDrop(bool enable) = 0;
    // The owner is told (with the value) when the window gains the focus.
    virtual void SetOwner(CKWFocusManager* owner, int value) = 0;
    virtual void GetClientRect(RECT* rect) = 0;
    virtual int GetScrollPos(bool vertical) = 0;
    virtual void SetScrollPos(bool vertical, int position) = 0;
    virtual int GetScrollInfo(bool vertical, int& minimum, int& maximum, int passed) = 0;
};

class CKWControl {
public:
    CKWControl() = default;
    // Gives the implementation back to the factory.
    virtual ~CKWControl();
    CKWControl(const CKWControl&) = delete;
    CKWControl& operator=(const CKWControl&) = delete;

    // Binds the facade to an existing window, replacing any implementation.
    virtual void CreateImp(HWND hWnd);
    virtual void DestroyImp();
    // Kinds that make their own window override it; false here.
    virtual bool Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    virtual void SetDropHandler(CKWDragDropPane* handler);
    virtual void GetClientRect(RECT* rect);
    virtual int GetScrollPos(bool vertical);
    virtual void SetScrollPos(bool vertical, int position);
    // Both outputs 0 first; 0 without an implementation.
    virtual int GetScrollInfo(bool vertical, int& minimum, int& maximum, int passed);

    void Enable(bool enable);
    void Show(bool show);
    bool IsVisible();
    void Redraw(bool updateNow);
    void Invalidate();
    void InvalidateRect(const RECT& rect);
    void Update();
    void SetFocus();
    void SetText(const CString& text);
    void GetText(CString& text);
    bool HasFocus();
    void SetFont(const CKWFontData& font);
    void SetContextMenu(UINT menuId);
    void SetOwner(CKWFocusManager* owner, int value);
    void EnableDragDrop(bool enable);

    CKWCtrlImp* GetImp() const { return m_imp; }

protected:
    // The implementation as the kind's interface (a cast through the run-time
    // type information); null without one or when it is of another kind.
    template <class Kind>
    Kind* KindImp() const
    {
        return dynamic_cast<Kind*>(m_imp);
    }

    CKWCtrlImp* m_imp = nullptr;
};

// A kind operation of the implementation, or the answer of no implementation
// (a default-made result).
template <class Kind, typename Result, typename... Params, typename... Args>
Result KWForwardToImp(Kind* imp, Result (Kind::*operation)(Params...), Args&&... args)
{
    if (!imp)
        return Result();
    return (imp->*operation)(std::forward<Args>(args)...);
}
