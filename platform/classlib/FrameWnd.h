#pragma once
// CFrameWnd: a top-level (or MDI child) window that holds views and control
// bars. It lays out its bars and its view pane (RecalcLayout through
// WM_SIZEPARENT), keeps the active view, builds its caption from the active
// document (with ":n" when several frames show one document), shows command
// prompts in its status bar, translates its accelerators, brings menu items
// up to date through CCmdUI and routes commands: active view (then its
// document), frame, application. Frames delete themselves when their window
// is destroyed.
#include "platform/classlib/Wnd.h"

class CControlBar;
class CDockState;
class CDocument;
class CView;
struct CCreateContext;
struct CPrintPreviewState;

// Frame styles: the low word of a top-level window's style is free for these.
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;   // the caption names the active document
constexpr DWORD FWS_PREFIXTITLE = 0x00004000;  // "Document - Application" instead of the reverse
constexpr DWORD FWS_SNAPTOBARS = 0x00002000;

// Child window ids the frames and views know.
constexpr UINT AFX_IDW_CONTROLBAR_FIRST = 0xE800;
constexpr UINT AFX_IDW_CONTROLBAR_LAST = 0xE8FF;
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_PREVIEW_BAR = 0xE802;
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;  // the frame's view (the pane that fills what bars leave)
constexpr UINT AFX_IDW_PANE_LAST = 0xE9FF;
constexpr UINT AFX_IDW_PANE_SAVE = 0xEA21;   // id a view carries while the preview replaces it

// The commands that show and hide the frame's tool bar, status bar and rebar.
constexpr UINT ID_VIEW_TOOLBAR = 0xE800;
constexpr UINT ID_VIEW_STATUS_BAR = 0xE801;
constexpr UINT ID_VIEW_REBAR = 0xE804;
constexpr UINT ID_CONTEXT_HELP = 0xE145;

// Strings of the frames.
constexpr UINT AFX_IDS_APP_TITLE = 0xE000;
constexpr UINT AFX_IDS_IDLEMESSAGE = 0xE001;  // the status prompt when nothing is tracked

// RepositionBars flags.
constexpr UINT reposDefault = 0;
constexpr UINT reposQuery = 1;  // computes the left-over rectangle without moving anything
constexpr UINT reposExtra = 2;  // lpRectParam holds extra borders to take off the left-over area
constexpr UINT reposNoPosLeftOver = 0x8000;

// Parameter of WM_SIZEPARENT (lParam): each bar takes its space off rect and
// adds its move to hDWP (a null hDWP only asks for the sizes).
struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;
    RECT rect;
    SIZE sizeTotal;
    BOOL bStretch;
};

// The rectangle of one child in a deferred reposition; used by the bars.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault;

    // Menu items without a command handler are disabled when a popup opens.
    BOOL m_bAutoMenuEnable;
    // The document's window number in the caption: 0 for the only frame on
    // its document, 1, 2 ... when several show it (set by the document's
    // UpdateFrameCounts). Not shown when 0.
    int m_nWindow;
    // The caption text without the document part (the application's title).
    CString m_strTitle;
    HMENU m_hMenuDefault;
    HACCEL m_hAccelTable;
    // The id of the frame's resources (menu, icon, accelerators, title string).
    UINT m_nIDHelp;
    // TRUE while the context-help mode runs.
    BOOL m_bHelpMode;

    // Context help mode: the help cursor until a click, which asks the window
    // under the pointer (and its parents) for a help id with WM_HELPHITTEST
    // and gives it to WinHelp; Escape or the right button cancel.
    virtual void OnContextHelp();
    // FALSE keeps the frame out of context help (a modal dialog or a mode already on).
    virtual BOOL CanEnterHelpMode();

    // The border space an in-place item asks of the frame.
    enum BorderCmd { borderGet = 1, borderRequest = 2, borderSet = 3 };
    // borderGet: the client area the frame's bars leave; borderRequest: TRUE
    // when the borders fit into the client area; borderSet: the layout is
    // done again. TRUE unless a request does not fit.
    virtual BOOL NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder);
    // The command whose prompt the status bar shows, and the last one shown.
    UINT m_nIDTracking;
    UINT m_nIDLastMessage;
    // Set while the frame lays itself out; a nested RecalcLayout does nothing.
    BOOL m_bInRecalcLayout;
    // While a print preview runs, WM_CLOSE calls this instead of closing.
    BOOL (*m_lpfnCloseProc)(CFrameWnd* pFrameWnd);

    BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCWSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Creates the frame from the resources of nIDResource: menu, icon,
    // accelerators and the title (the string's text up to the first '\n').
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL LoadAccelTable(LPCWSTR lpszResourceName);
    virtual HACCEL GetDefaultAccelerator();

    // Creates a view of pContext->m_pNewViewClass as a child pane with the id,
    // attached to pContext->m_pCurrentDoc; null on failure.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    // Shows the frame (and on its first showing sends WM_INITIALUPDATE to its
    // views), makes the view active and updates the caption.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);

    // Places the control bars (WM_SIZEPARENT) and gives the rest to the view pane.
    virtual void RecalcLayout(BOOL bNotify = TRUE);

    // Active view, document and frame.
    CView* GetActiveView() const { return m_pViewActive; }
    // The view gets the focus when bNotify and the frame is active; the old
    // and new views are told with OnActivateView.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    virtual CFrameWnd* GetActiveFrame();

    // Caption.
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void UpdateFrameTitleForDocument(LPCWSTR lpszDocName);
    void SetTitle(LPCWSTR lpszTitle) { m_strTitle = lpszTitle; }
    CString GetTitle() const { return m_strTitle; }
    // The menu bar of the frame (MDI frames merge the child's); null keeps the default.
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);

    // Status prompts: the first line of the command's string (up to '\n').
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    virtual CWnd* GetMessageBar();
    void SetMessageText(LPCWSTR lpszText);
    void SetMessageText(UINT nID);

    // The control bar child with the id; null when there is none.
    CControlBar* GetControlBar(UINT nID);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // The class library docks no bars in dock bars of its own: the state
    // it gives is empty, and applying one changes nothing.
    void GetDockState(CDockState& state) const;

    // Print preview switches the frame's menu, bars and view; see CPrintPreviewState.
    virtual void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState);

    BOOL IsFrameWnd() const override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    void PostNcDestroy() override;
    // Makes the views from the context (its view class), when it names one.
    virtual BOOL OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext);
    BOOL OnCreateHelper(LPCREATESTRUCTW lpcs, CCreateContext* pContext);

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    // The shell's DDE conversation (answered once the application enabled shell open).
    afx_msg LRESULT OnDDEInitiate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDDEExecute(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDDETerminate(WPARAM wParam, LPARAM lParam);

    CView* m_pViewActive;

    DECLARE_MESSAGE_MAP()
};
