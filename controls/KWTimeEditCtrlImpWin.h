#pragma once
// The time edit kind over an edit box: the value is taken when the box loses
// the focus and when Enter is pressed in it, and reported to the box's parent
// as WM_NOTIFY with the box's id and the kind's codes.
#include "controls/KWCtrlImpWin.h"
#include "controls/KWTimeEditCtrlImp.h"
#include "platform/classlib/Edit.h"

class CKWTimeEditCtrlImpWin;

class CKWTimeEditCtrl : public CEdit {
public:
    explicit CKWTimeEditCtrl(CKWTimeEditCtrlImpWin* imp) : m_imp(imp) {}

protected:
    afx_msg void OnKillFocus(CWnd* newWnd);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    DECLARE_MESSAGE_MAP()

private:
    CKWTimeEditCtrlImpWin* m_imp;
};

class CKWTimeEditCtrlImpWin : public CKWCtrlImpWin, public CKWTimeEditCtrlImp {
public:
    // Subclasses the existing edit box (none for null; Create makes one).
    explicit CKWTimeEditCtrlImpWin(HWND hWnd = nullptr);
    // Lets the edit box go (its window procedure restored); the box stays.
    ~CKWTimeEditCtrlImpWin() override;

    // The edit box with the id; the extended style is not used.
    bool Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;
    // Invalidates with erasing; the update flag is not used.
    void Redraw(bool updateNow) override;
    void Notify(UINT code) override;

private:
    CKWTimeEditCtrl m_wnd;
};
