#pragma once
// CMiniFrameWnd: a frame window without the application frame's class: a
// popup or tool window that library code creates itself (the docking
// library's popup menus). It deletes itself when its window is destroyed,
// as every frame does.
#include "platform/classlib/FrameWnd.h"

class CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd();
    ~CMiniFrameWnd() override;

    // Without a class name the frame's own class is used (double clicks,
    // arrow cursor, face-coloured background). A popup gets no menu: nID is
    // a control id only for a child window.
    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd = nullptr, UINT nID = 0);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CWnd* pParentWnd = nullptr, UINT nID = 0);
    using CWnd::CreateEx;
};
