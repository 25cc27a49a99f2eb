#pragma once
// The message-map entries of window messages, each with the handler name and
// signature that CWnd declares for it.
#include "platform/classlib/MessageMap.h"

class CPoint;

typedef int (CWnd::*AfxPmsgW_i_CREATE)(LPCREATESTRUCTW);
typedef BOOL (CWnd::*AfxPmsgW_b_CREATE)(LPCREATESTRUCTW);
typedef BOOL (CWnd::*AfxPmsgW_b_v)();
typedef UINT (CWnd::*AfxPmsgW_u_v)();
typedef void (CWnd::*AfxPmsgW_v_u_i_i)(UINT, int, int);
typedef void (CWnd::*AfxPmsgW_v_u_RECT)(UINT, LPRECT);
typedef void (CWnd::*AfxPmsgW_v_u_pt)(UINT, CPoint);
typedef BOOL (CWnd::*AfxPmsgW_b_u_s_pt)(UINT, short, CPoint);
typedef void (CWnd::*AfxPmsgW_v_u_u_u)(UINT, UINT, UINT);
typedef void (CWnd::*AfxPmsgW_v_W)(CWnd*);
typedef void (CWnd::*AfxPmsgW_v_W_pt)(CWnd*, CPoint);
typedef BOOL (CWnd::*AfxPmsgW_b_W_u_u)(CWnd*, UINT, UINT);
typedef int (CWnd::*AfxPmsgW_i_W_u_u)(CWnd*, UINT, UINT);
typedef void (CWnd::*AfxPmsgW_v_u_u_SB)(UINT, UINT, CScrollBar*);
typedef void (CWnd::*AfxPmsgW_v_t)(UINT_PTR);
typedef BOOL (CWnd::*AfxPmsgW_b_D)(CDC*);
typedef void (CWnd::*AfxPmsgW_v_b_NCCALC)(BOOL, NCCALCSIZE_PARAMS*);
typedef LRESULT (CWnd::*AfxPmsgW_l_pt)(CPoint);
typedef void (CWnd::*AfxPmsgW_v_MINMAX)(MINMAXINFO*);
typedef void (CWnd::*AfxPmsgW_v_u_W_b)(UINT, CWnd*, BOOL);
typedef void (CWnd::*AfxPmsgW_v_b_h)(BOOL, DWORD);
typedef BOOL (CWnd::*AfxPmsgW_b_b)(BOOL);
typedef void (CWnd::*AfxPmsgW_v_b)(BOOL);
typedef void (CWnd::*AfxPmsgW_v_POS)(WINDOWPOS*);
typedef void (CWnd::*AfxPmsgW_v_u_l)(UINT, LPARAM);
typedef void (CWnd::*AfxPmsgW_v_u_sz)(UINT, LPCWSTR);
typedef LRESULT (CWnd::*AfxPmsgW_l_u_u_M)(UINT, UINT, CMenu*);
typedef void (CWnd::*AfxPmsgW_v_M_u_b)(CMenu*, UINT, BOOL);
typedef void (CWnd::*AfxPmsgW_v_i_DRAW)(int, LPDRAWITEMSTRUCT);
typedef void (CWnd::*AfxPmsgW_v_i_MEASURE)(int, LPMEASUREITEMSTRUCT);
typedef HBRUSH (CWnd::*AfxPmsgW_hbr_D_W_u)(CDC*, CWnd*, UINT);
typedef HBRUSH (CWnd::*AfxPmsgW_hbr_D_u)(CDC*, UINT);
typedef void (CWnd::*AfxPmsgW_v_HDROP)(HDROP);
typedef BOOL (CWnd::*AfxPmsgW_b_HELPINFO)(HELPINFO*);
typedef void (CWnd::*AfxPmsgW_v_b_W_W)(BOOL, CWnd*, CWnd*);

#define AFX_WM(msg, sig, fn) AFX_ENTRY(msg, 0, 0, 0, AfxSig_##sig, AfxPmsgW_##sig, fn)

#define ON_WM_CREATE() AFX_WM(WM_CREATE, i_CREATE, OnCreate)
#define ON_WM_NCCREATE() AFX_WM(WM_NCCREATE, b_CREATE, OnNcCreate)
#define ON_WM_DESTROY() AFX_WM(WM_DESTROY, v_v, OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM(WM_NCDESTROY, v_v, OnNcDestroy)
#define ON_WM_CLOSE() AFX_WM(WM_CLOSE, v_v, OnClose)
#define ON_WM_SIZE() AFX_WM(WM_SIZE, v_u_i_i, OnSize)
#define ON_WM_SIZING() AFX_WM(WM_SIZING, v_u_RECT, OnSizing)
#define ON_WM_MOVING() AFX_WM(WM_MOVING, v_u_RECT, OnMoving)
#define ON_WM_PAINT() AFX_WM(WM_PAINT, v_v, OnPaint)
#define ON_WM_NCPAINT() AFX_WM(WM_NCPAINT, v_v, OnNcPaint)
#define ON_WM_ERASEBKGND() AFX_WM(WM_ERASEBKGND, b_D, OnEraseBkgnd)
#define ON_WM_LBUTTONDOWN() AFX_WM(WM_LBUTTONDOWN, v_u_pt, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM(WM_LBUTTONUP, v_u_pt, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM(WM_LBUTTONDBLCLK, v_u_pt, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM(WM_RBUTTONDOWN, v_u_pt, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM(WM_RBUTTONUP, v_u_pt, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_WM(WM_RBUTTONDBLCLK, v_u_pt, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_WM(WM_MBUTTONDOWN, v_u_pt, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_WM(WM_MBUTTONUP, v_u_pt, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() AFX_WM(WM_MBUTTONDBLCLK, v_u_pt, OnMButtonDblClk)
#define ON_WM_MOUSEMOVE() AFX_WM(WM_MOUSEMOVE, v_u_pt, OnMouseMove)
#define ON_WM_MOUSEWHEEL() AFX_WM(WM_MOUSEWHEEL, b_u_s_pt, OnMouseWheel)
#define ON_WM_MOUSELEAVE() AFX_WM(WM_MOUSELEAVE, v_v, OnMouseLeave)
#define ON_WM_MOUSEACTIVATE() AFX_WM(WM_MOUSEACTIVATE, i_W_u_u, OnMouseActivate)
#define ON_WM_NCMOUSEMOVE() AFX_WM(WM_NCMOUSEMOVE, v_u_pt, OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_WM(WM_NCLBUTTONDOWN, v_u_pt, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_WM(WM_NCLBUTTONUP, v_u_pt, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_WM(WM_NCLBUTTONDBLCLK, v_u_pt, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_WM(WM_NCRBUTTONDOWN, v_u_pt, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_WM(WM_NCRBUTTONUP, v_u_pt, OnNcRButtonUp)
#define ON_WM_NCMBUTTONDOWN() AFX_WM(WM_NCMBUTTONDOWN, v_u_pt, OnNcMButtonDown)
#define ON_WM_NCMBUTTONUP() AFX_WM(WM_NCMBUTTONUP, v_u_pt, OnNcMButtonUp)
#define ON_WM_KEYDOWN() AFX_WM(WM_KEYDOWN, v_u_u_u, OnKeyDown)
#define ON_WM_KEYUP() AFX_WM(WM_KEYUP, v_u_u_u, OnKeyUp)
#define ON_WM_SYSKEYDOWN() AFX_WM(WM_SYSKEYDOWN, v_u_u_u, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_WM(WM_SYSKEYUP, v_u_u_u, OnSysKeyUp)
#define ON_WM_CHAR() AFX_WM(WM_CHAR, v_u_u_u, OnChar)
#define ON_WM_SETFOCUS() AFX_WM(WM_SETFOCUS, v_W, OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WM(WM_KILLFOCUS, v_W, OnKillFocus)
#define ON_WM_TIMER() AFX_WM(WM_TIMER, v_t, OnTimer)
#define ON_WM_CANCELMODE() AFX_WM(WM_CANCELMODE, v_v, OnCancelMode)
#define ON_WM_CONTEXTMENU() AFX_WM(WM_CONTEXTMENU, v_W_pt, OnContextMenu)
#define ON_WM_SETCURSOR() AFX_WM(WM_SETCURSOR, b_W_u_u, OnSetCursor)
#define ON_WM_HSCROLL() AFX_WM(WM_HSCROLL, v_u_u_SB, OnHScroll)
#define ON_WM_VSCROLL() AFX_WM(WM_VSCROLL, v_u_u_SB, OnVScroll)
#define ON_WM_SYSCOLORCHANGE() AFX_WM(WM_SYSCOLORCHANGE, v_v, OnSysColorChange)
#define ON_WM_SETTINGCHANGE() AFX_WM(WM_SETTINGCHANGE, v_u_sz, OnSettingChange)
#define ON_WM_NCCALCSIZE() AFX_WM(WM_NCCALCSIZE, v_b_NCCALC, OnNcCalcSize)
#define ON_WM_NCHITTEST() AFX_WM(WM_NCHITTEST, l_pt, OnNcHitTest)
#define ON_WM_GETMINMAXINFO() AFX_WM(WM_GETMINMAXINFO, v_MINMAX, OnGetMinMaxInfo)
#define ON_WM_ACTIVATE() AFX_WM(WM_ACTIVATE, v_u_W_b, OnActivate)
#define ON_WM_ACTIVATEAPP() AFX_WM(WM_ACTIVATEAPP, v_b_h, OnActivateApp)
#define ON_WM_NCACTIVATE() AFX_WM(WM_NCACTIVATE, b_b, OnNcActivate)
#define ON_WM_WINDOWPOSCHANGING() AFX_WM(WM_WINDOWPOSCHANGING, v_POS, OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() AFX_WM(WM_WINDOWPOSCHANGED, v_POS, OnWindowPosChanged)
#define ON_WM_EXITSIZEMOVE() AFX_WM(WM_EXITSIZEMOVE, v_v, OnExitSizeMove)
#define ON_WM_SYSCOMMAND() AFX_WM(WM_SYSCOMMAND, v_u_l, OnSysCommand)
#define ON_WM_MENUCHAR() AFX_WM(WM_MENUCHAR, l_u_u_M, OnMenuChar)
#define ON_WM_INITMENUPOPUP() AFX_WM(WM_INITMENUPOPUP, v_M_u_b, OnInitMenuPopup)
#define ON_WM_DRAWITEM() AFX_WM(WM_DRAWITEM, v_i_DRAW, OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_WM(WM_MEASUREITEM, v_i_MEASURE, OnMeasureItem)
// Stands for the whole WM_CTLCOLORxxx family; nCtlColor tells which (CTLCOLOR_xxx).
#define ON_WM_CTLCOLOR() AFX_WM(AFX_WM_CTLCOLOR, hbr_D_W_u, OnCtlColor)
// In the control: a NULL brush leaves the message to the parent.
#define ON_WM_CTLCOLOR_REFLECT() AFX_WM(WM_REFLECT_BASE + AFX_WM_CTLCOLOR, hbr_D_u, CtlColor)
#define ON_WM_ENABLE() AFX_WM(WM_ENABLE, v_b, OnEnable)
#define ON_WM_GETDLGCODE() AFX_WM(WM_GETDLGCODE, u_v, OnGetDlgCode)
#define ON_WM_DROPFILES() AFX_WM(WM_DROPFILES, v_HDROP, OnDropFiles)
#define ON_WM_HELPINFO() AFX_WM(WM_HELP, b_HELPINFO, OnHelpInfo)
#define ON_WM_MDIACTIVATE() AFX_WM(WM_MDIACTIVATE, v_b_W_W, OnMDIActivate)
#define ON_WM_QUERYNEWPALETTE() AFX_WM(WM_QUERYNEWPALETTE, b_v, OnQueryNewPalette)
#define ON_WM_PALETTECHANGED() AFX_WM(WM_PALETTECHANGED, v_W, OnPaletteChanged)
