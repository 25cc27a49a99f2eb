#pragma once
// CTalPaneWnd: a pane of a report window: a controls window made from its
// dialog template as a child of the report view, a node of the frame's split
// layout, and a window that tells the frame's focus manager (with its focus
// code) when it takes the focus. The image panel, the page-template window
// and the text-note window derive from it.
#include "controls/KWControlsWnd.h"
#include "framework/KWSplitItem.h"

class CKWFocusManager;

class CTalPaneWnd : public CKWControlsWnd, public CKWSplitItem {
public:
    CTalPaneWnd(UINT templateId, int focusCode) : m_templateId(templateId), m_focusCode(focusCode) {}
    ~CTalPaneWnd() override;

    using CWnd::GetClientRect;
    // The pane's window from its template, with the template id as its
    // control id, then its controls (InitControls); value: handed on by the
    // frame, not used by the pane itself.
    virtual bool CreatePane(CWnd* parent, const RECT& rect, DWORD style, int value);
    // Binds and makes the pane's controls; nothing in the base.
    virtual void InitControls() {}
    // The focus manager told when the pane takes the focus (not owned).
    virtual void AttachFocusManager(CKWFocusManager* manager) { m_focusManager = manager; }
    // Gives the pane (or the control in it that should have it) the focus.
    virtual void TakeFocus();

    CWnd* GetWnd() override { return m_hWnd ? this : nullptr; }
    int GetFocusCode() const { return m_focusCode; }
    CKWFocusManager* GetFocusManager() const { return m_focusManager; }

protected:
    // Tells the focus manager that the pane took the focus.
    void NotifyFocus();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()

private:
    UINT m_templateId;
    int m_focusCode;
    CKWFocusManager* m_focusManager = nullptr;
};

