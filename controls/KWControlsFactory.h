#pragma once
// CKWControlsFactory: the single factory that makes the framework's
// controls, one operation per kind; KWGetControlsFactory gives it.
//
// The splitter bar is a window class of the framework's windows layer,
// above this one: that layer registers its maker here (SetSplitterMaker)
// before it asks for a bar.
#include "platform/classlib/Rect.h"

class CKWCtrlImp;
class CKWSplitterIFace;
class CWnd;

class CKWControlsFactory {
public:
    // Constructs a bar object (not yet a window): position, orientation
    // (true: a vertical bar) and the extent of the split item across the bar.
    using SplitterMaker = CKWSplitterIFace* (*)(int position, bool vertical, int extent);

    CKWControlsFactory() = default;
    virtual ~CKWControlsFactory();

    // Deletes the implementation (null is ignored).
    virtual void DestroyImp(CKWCtrlImp* imp);
    // A generic implementation and its window; returned whether or not the
    // window was made.
    virtual CKWCtrlImp* CreateCtrl(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // A generic implementation over the window (null: its Create makes one later).
    virtual CKWCtrlImp* CreateCtrlImp(HWND hWnd);

    // --- buttons, edits, lists and values: an implementation of the kind
    // over the window (null: one without a window yet) ---
    // A push button, check box or radio button.
    virtual CKWCtrlImp* CreateButtonImp(HWND hWnd);
    // An owner-drawn colour swatch button (bound to a dialog button only).
    virtual CKWCtrlImp* CreateColorButtonImp(HWND hWnd);
    // A bitmap button that takes the focus under the mouse (bound only).
    virtual CKWCtrlImp* CreateFocusedButtonImp(HWND hWnd);
    // An up-down control.
    virtual CKWCtrlImp* CreateSpinButtonImp(HWND hWnd);
    virtual CKWCtrlImp* CreateEditImp(HWND hWnd);
    virtual CKWCtrlImp* CreateProgressImp(HWND hWnd);
    // A track bar.
    virtual CKWCtrlImp* CreateSliderImp(HWND hWnd);
    virtual CKWCtrlImp* CreateListBoxImp(HWND hWnd);
    // A drop-down list combo box.
    virtual CKWCtrlImp* CreateComboBoxImp(HWND hWnd);
    // An editable combo box (bound only).
    virtual CKWCtrlImp* CreateEditComboBoxImp(HWND hWnd);
    // An edit box with spin buttons.
    virtual CKWCtrlImp* CreateSpinEditImp(HWND hWnd);
    virtual CKWCtrlImp* CreateDataTimePickerImp(HWND hWnd);
    // An edit box that takes a time of day.
    virtual CKWCtrlImp* CreateTimeEditImp(HWND hWnd);
    virtual CKWCtrlImp* CreateScrollBarImp(HWND hWnd);
    // A tree implementation with its own tree-view window.
    virtual CKWCtrlImp* CreateTreeCtrl(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // A tree implementation over an existing tree-view window.
    virtual CKWCtrlImp* CreateTreeImp(HWND hWnd);
    // A report-style list view of a dialog (bound only).
    virtual CKWCtrlImp* CreateListCtrlImp(HWND hWnd);
    // A thumbnail list with its own list view; returned whether or not the window was made.
    virtual CKWCtrlImp* CreateListImageViewCtrl(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // A thumbnail list over the list view; the thread-safe one serialises its operations.
    virtual CKWCtrlImp* CreateListImageViewImp(HWND hWnd);
    virtual CKWCtrlImp* CreateListImageViewImpMT(HWND hWnd);
    // A static window that shows a picture fitted into it (bound only).
    virtual CKWCtrlImp* CreateBitmapImp(HWND hWnd);
    // Nothing: null.
    virtual CKWCtrlImp* CreateNullCtrl(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // A bar made by the registered maker and created as a window with
    // (rect, parent, id, visible); the result of the creation is not checked.
    // Null when no maker is registered.
    virtual CKWSplitterIFace* CreateSplitter(bool vertical, int position, const RECT& rect, CWnd* parent,
                                             bool visible, UINT id, int extent);

    void SetSplitterMaker(SplitterMaker maker) { m_splitterMaker = maker; }
    SplitterMaker GetSplitterMaker() const { return m_splitterMaker; }

    CKWControlsFactory(const CKWControlsFactory&) = delete;
    CKWControlsFactory& operator=(const CKWControlsFactory&) = delete;

private:
    SplitterMaker m_splitterMaker = nullptr;
};

CKWControlsFactory* KWGetControlsFactory();
