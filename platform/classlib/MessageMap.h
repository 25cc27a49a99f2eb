#pragma once
// Message maps: each class that handles messages or commands has a static
// table of entries, chained to its base class's table. An entry names the
// message (or command and notification code), the id range, the handler and
// the handler's signature code; the signature is checked when the table is
// compiled (the handler is converted to the exact member-function type) and
// decoded by one dispatcher.
#include <windows.h>

class CCmdTarget;
class CCmdUI;
class CDC;
class CMenu;
class CScrollBar;
class CWnd;

// Messages private to the class library.
constexpr UINT WM_SIZEPARENT = 0x0361;
constexpr UINT WM_SETMESSAGESTRING = 0x0362;
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;
constexpr UINT WM_INITIALUPDATE = 0x0364;
constexpr UINT WM_COMMANDHELP = 0x0365;
constexpr UINT WM_HELPHITTEST = 0x0366;
constexpr UINT WM_EXITHELPMODE = 0x0367;
constexpr UINT WM_RECALCPARENT = 0x0368;
constexpr UINT WM_SIZECHILD = 0x0369;
constexpr UINT WM_KICKIDLE = 0x036A;
constexpr UINT WM_QUERYCENTERWND = 0x036B;
constexpr UINT WM_DISABLEMODAL = 0x036C;
constexpr UINT WM_FLOATSTATUS = 0x036D;
// WM_FLOATSTATUS: the window keeps its caption active with its owner.
constexpr WPARAM FS_SYNCACTIVE = 0x0040;
constexpr UINT WM_ACTIVATETOPLEVEL = 0x036E;

// The single message that stands for the WM_CTLCOLORxxx family in message maps.
constexpr UINT AFX_WM_CTLCOLOR = 0x0019;
// A message reflected back to the child control that sent it.
constexpr UINT WM_REFLECT_BASE = 0xBC00;
// Marks entries of registered messages, whose number is read from a variable.
constexpr UINT AFX_WM_REGISTERED = 0xC000;

// Command codes of OnCmdMsg besides control notification codes.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

// Argument of OnCmdMsg for WM_NOTIFY entries.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

typedef void (CCmdTarget::*AFX_PMSG)();

// Handlers of every signature are kept as AFX_PMSG and converted back to their
// own type, recorded in the entry, before the call.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
template <class F>
inline AFX_PMSG AfxToPmsg(F pfn) {
    return reinterpret_cast<AFX_PMSG>(pfn);
}
template <class F>
inline F AfxFromPmsg(AFX_PMSG pfn) {
    return reinterpret_cast<F>(pfn);
}
#pragma GCC diagnostic pop

// Filled by OnCmdMsg instead of calling the handler: the test whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

// Handler signatures. The names say result_arguments.
enum AfxSig : UINT {
    AfxSig_end = 0,

    // Commands, notifications and update handlers (CCmdTarget).
    AfxSigCmd_v,         // void ()
    AfxSigCmd_b,         // BOOL ()              reflected control notification, _EX
    AfxSigCmd_RANGE,     // void (UINT id)
    AfxSigCmd_EX,        // BOOL (UINT id)
    AfxSigCmdUI,         // void (CCmdUI*)
    AfxSigNotify_v,      // void (NMHDR*, LRESULT*)
    AfxSigNotify_b,      // BOOL (NMHDR*, LRESULT*)  reflected notification, _EX
    AfxSigNotify_RANGE,  // void (UINT id, NMHDR*, LRESULT*)
    AfxSigNotify_EX,     // BOOL (UINT id, NMHDR*, LRESULT*)

    // Window messages (CWnd).
    AfxSig_l_w_l,        // LRESULT (WPARAM, LPARAM)
    AfxSig_v_v,          // void ()
    AfxSig_b_v,          // BOOL ()
    AfxSig_u_v,          // UINT ()
    AfxSig_i_CREATE,     // int (LPCREATESTRUCT)
    AfxSig_b_CREATE,     // BOOL (LPCREATESTRUCT)
    AfxSig_v_u_i_i,      // void (UINT, int, int)
    AfxSig_v_u_RECT,     // void (UINT, LPRECT)
    AfxSig_v_u_pt,       // void (UINT, CPoint)
    AfxSig_b_u_s_pt,     // BOOL (UINT, short, CPoint)
    AfxSig_v_u_u_u,      // void (UINT, UINT, UINT)
    AfxSig_v_W,          // void (CWnd*)        window in wParam
    AfxSig_v_W_pt,       // void (CWnd*, CPoint)
    AfxSig_b_W_u_u,      // BOOL (CWnd*, UINT, UINT)
    AfxSig_i_W_u_u,      // int (CWnd*, UINT, UINT)
    AfxSig_v_u_u_SB,     // void (UINT, UINT, CScrollBar*)
    AfxSig_v_t,          // void (UINT_PTR)
    AfxSig_b_D,          // BOOL (CDC*)
    AfxSig_v_b_NCCALC,   // void (BOOL, NCCALCSIZE_PARAMS*)
    AfxSig_l_pt,         // LRESULT (CPoint)
    AfxSig_v_MINMAX,     // void (MINMAXINFO*)
    AfxSig_v_u_W_b,      // void (UINT, CWnd*, BOOL)
    AfxSig_v_b_h,        // void (BOOL, DWORD)
    AfxSig_b_b,          // BOOL (BOOL)
    AfxSig_v_b,          // void (BOOL)
    AfxSig_v_POS,        // void (WINDOWPOS*)
    AfxSig_v_u_l,        // void (UINT, LPARAM)
    AfxSig_v_u_sz,       // void (UINT, LPCWSTR)
    AfxSig_l_u_u_M,      // LRESULT (UINT, UINT, CMenu*)
    AfxSig_v_M_u_b,      // void (CMenu*, UINT, BOOL)
    AfxSig_v_i_DRAW,     // void (int, LPDRAWITEMSTRUCT)
    AfxSig_v_i_MEASURE,  // void (int, LPMEASUREITEMSTRUCT)
    AfxSig_hbr_D_W_u,    // HBRUSH (CDC*, CWnd*, UINT)
    AfxSig_hbr_D_u,      // HBRUSH (CDC*, UINT)  reflected WM_CTLCOLOR
    AfxSig_v_HDROP,      // void (HDROP)
    AfxSig_b_HELPINFO,   // BOOL (HELPINFO*)
    AfxSig_v_b_W_W,      // void (BOOL, CWnd*, CWnd*)
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;   // window message, WM_COMMAND, WM_NOTIFY (reflected: + WM_REFLECT_BASE)
    UINT nCode;      // control notification code or CN_UPDATE_COMMAND_UI
    UINT nID;        // first command or control id
    UINT nLastID;    // last id of the range
    UINT nSig;       // AfxSig
    AFX_PMSG pfn;
    const UINT* pnRegistered;  // the variable that holds a registered message number
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Handlers are marked with this in class declarations.
#define afx_msg

// The member-function types of the signatures, named so they pass through macros.
typedef void (CCmdTarget::*AfxPmsg_v)();
typedef BOOL (CCmdTarget::*AfxPmsg_b)();
typedef void (CCmdTarget::*AfxPmsg_v_u)(UINT);
typedef BOOL (CCmdTarget::*AfxPmsg_b_u)(UINT);
typedef void (CCmdTarget::*AfxPmsg_v_CMDUI)(CCmdUI*);
typedef void (CCmdTarget::*AfxPmsg_v_NOTIFY)(NMHDR*, LRESULT*);
typedef BOOL (CCmdTarget::*AfxPmsg_b_NOTIFY)(NMHDR*, LRESULT*);
typedef void (CCmdTarget::*AfxPmsg_v_u_NOTIFY)(UINT, NMHDR*, LRESULT*);
typedef BOOL (CCmdTarget::*AfxPmsg_b_u_NOTIFY)(UINT, NMHDR*, LRESULT*);
typedef LRESULT (CWnd::*AfxPmsgW_l_w_l)(WPARAM, LPARAM);
typedef void (CWnd::*AfxPmsgW_v_v)();

#define DECLARE_MESSAGE_MAP()                                 \
protected:                                                    \
    static const AFX_MSGMAP* GetThisMessageMap();             \
    virtual const AFX_MSGMAP* GetMessageMap() const;

// The table is a function-local static: it is built on the first dispatch, so an
// entry may take its id from a variable that a static initialiser fills (an
// id registered at start-up).
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                               \
        typedef theClass ThisClass;                                                 \
        typedef baseClass TheBaseClass;                                             \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                          \
    {0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};                                   \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                            \
    }

#define AFX_ENTRY(msg, code, id, idLast, sig, type, fn) \
    {msg, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(idLast), sig, \
     AfxToPmsg(static_cast<type>(&ThisClass::fn)), nullptr},

// Commands and their update handlers.
#define ON_COMMAND(id, memberFxn) AFX_ENTRY(WM_COMMAND, CN_COMMAND, id, id, AfxSigCmd_v, AfxPmsg_v, memberFxn)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    AFX_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, AfxSigCmd_RANGE, AfxPmsg_v_u, memberFxn)
#define ON_COMMAND_EX(id, memberFxn) AFX_ENTRY(WM_COMMAND, CN_COMMAND, id, id, AfxSigCmd_EX, AfxPmsg_b_u, memberFxn)
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
    AFX_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, AfxSigCmd_EX, AfxPmsg_b_u, memberFxn)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    AFX_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, AfxSigCmdUI, AfxPmsg_v_CMDUI, memberFxn)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    AFX_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, AfxSigCmdUI, AfxPmsg_v_CMDUI, memberFxn)

// Control notifications that arrive as WM_COMMAND.
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    AFX_ENTRY(WM_COMMAND, static_cast<WORD>(wNotifyCode), id, id, AfxSigCmd_v, AfxPmsg_v, memberFxn)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    AFX_ENTRY(WM_COMMAND, static_cast<WORD>(wNotifyCode), id, idLast, AfxSigCmd_RANGE, AfxPmsg_v_u, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)

// WM_NOTIFY from child controls, by control id.
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    AFX_ENTRY(WM_NOTIFY, static_cast<WORD>(wNotifyCode), id, id, AfxSigNotify_v, AfxPmsg_v_NOTIFY, memberFxn)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
    AFX_ENTRY(WM_NOTIFY, static_cast<WORD>(wNotifyCode), id, idLast, AfxSigNotify_RANGE, AfxPmsg_v_u_NOTIFY, memberFxn)
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) \
    AFX_ENTRY(WM_NOTIFY, static_cast<WORD>(wNotifyCode), id, id, AfxSigNotify_EX, AfxPmsg_b_u_NOTIFY, memberFxn)
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn) \
    AFX_ENTRY(WM_NOTIFY, static_cast<WORD>(wNotifyCode), id, idLast, AfxSigNotify_EX, AfxPmsg_b_u_NOTIFY, memberFxn)

// Notifications reflected back to the control that sent them. The plain forms
// keep the parent from seeing the notification; the _EX forms pass it on when
// the handler returns FALSE.
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
    AFX_ENTRY(WM_REFLECT_BASE + WM_COMMAND, static_cast<WORD>(wNotifyCode), 0, 0, AfxSigCmd_v, AfxPmsg_v, memberFxn)
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
    AFX_ENTRY(WM_REFLECT_BASE + WM_COMMAND, static_cast<WORD>(wNotifyCode), 0, 0, AfxSigCmd_b, AfxPmsg_b, memberFxn)
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                          \
    AFX_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, static_cast<WORD>(wNotifyCode), 0, 0, AfxSigNotify_v, AfxPmsg_v_NOTIFY, \
              memberFxn)
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                                       \
    AFX_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, static_cast<WORD>(wNotifyCode), 0, 0, AfxSigNotify_b, AfxPmsg_b_NOTIFY, \
              memberFxn)

// Any window message, with the raw parameters.
#define ON_MESSAGE(message, memberFxn) AFX_ENTRY(message, 0, 0, 0, AfxSig_l_w_l, AfxPmsgW_l_w_l, memberFxn)
#define ON_MESSAGE_VOID(message, memberFxn) AFX_ENTRY(message, 0, 0, 0, AfxSig_v_v, AfxPmsgW_v_v, memberFxn)
// A message registered at run time; the number is read from the variable at dispatch.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                   \
    {AFX_WM_REGISTERED, 0, 0, 0, AfxSig_l_w_l,                                \
     AfxToPmsg(static_cast<AfxPmsgW_l_w_l>(&ThisClass::memberFxn)), &(nMessageVariable)},
