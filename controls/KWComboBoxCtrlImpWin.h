#pragma once
// The combo box kinds. The drop-down list combo box makes its window inside
// a container of its own, which shows its owner the keys typed into it; the
// edit combo box works on a dialog's editable combo box and its edit
// selection. Each operation is one combo-box message; without a window it
// answers as noted and sends nothing.
#include "controls/KWCtrlImpWin.h"
#include "platform/classlib/Wnd.h"

#include <memory>

class CComboBox;

// What the hosting code learns of a combo box: the keys typed into it.
class CKWComboBoxOwner {
public:
    virtual ~CKWComboBoxOwner() = default;
    // True when the owner consumed the key.
    virtual bool OnComboBoxKey(UINT key) = 0;
};

class CKWComboBoxCtrlImp : public virtual CKWCtrlImp {
public:
    virtual int ResetContent() = 0;  // 0 without a window
    // The rest answer -1 without a window.
    virtual int GetCount() = 0;
    virtual int SetCurSel(int index) = 0;
    virtual int GetCurSel() = 0;
    virtual int AddString(const wchar_t* text) = 0;
    virtual int DeleteString(int index) = 0;
    virtual int InsertString(int index, const wchar_t* text) = 0;
    // Without regard to case (the platform's comparison).
    virtual int FindStringExact(int start, const wchar_t* text) = 0;
    // With regard to case, from max(start, 0).
    virtual int FindStringCase(int start, const wchar_t* text) = 0;
    virtual int SetItemData(int index, DWORD_PTR value) = 0;
    virtual DWORD_PTR GetItemData(int index) = 0;
    // The text message's result; -1 (text untouched) for an index out of the items.
    virtual int GetLBText(int index, CString& text) = 0;
    // Posted: the list opens (or closes) once the caller's message is handled.
    virtual void ShowDropDown(bool show) = 0;
    // Makes the container object (before Create); nothing is shown yet.
    virtual void AttachOwner(CKWComboBoxOwner* owner) = 0;
};

// The container: the owner sees each key pressed in the combo box first.
class CComboBaseWnd : public CWnd {
public:
    explicit CComboBaseWnd(CKWComboBoxOwner* owner) : m_owner(owner) {}

    BOOL PreTranslateMessage(MSG* msg) override;

private:
    CKWComboBoxOwner* m_owner;
};

class CKWComboBoxCtrlImpWin : public CKWCtrlImpWin, public virtual CKWComboBoxCtrlImp {
public:
    // The room of the drop-down list below the box.
    static constexpr int kListHeight = 100;

    explicit CKWComboBoxCtrlImpWin(HWND hWnd = nullptr);
    // Destroys the windows it made.
    ~CKWComboBoxCtrlImpWin() override;

    // The container (AttachOwner first: false without it), then the
    // drop-down list combo box with the id filling it, its list 100 below.
    bool Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;
    void Show(bool show) override;
    // The container to the rectangle, the combo box filling it with its list below.
    void SetWindowRect(const RECT& rect) override;

    int ResetContent() override;
    int GetCount() override;
    int SetCurSel(int index) override;
    int GetCurSel() override;
    int AddString(const wchar_t* text) override;
    int DeleteString(int index) override;
    int InsertString(int index, const wchar_t* text) override;
    int FindStringExact(int start, const wchar_t* text) override;
    int FindStringCase(int start, const wchar_t* text) override;
    int SetItemData(int index, DWORD_PTR value) override;
    DWORD_PTR GetItemData(int index) override;
    int GetLBText(int index, CString& text) override;
    void ShowDropDown(bool show) override;
    void AttachOwner(CKWComboBoxOwner* owner) override;

    HWND GetContainerHwnd() const;

protected:
    // The message's result; -1 without a window.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

private:
    std::unique_ptr<CComboBaseWnd> m_container;
    std::unique_ptr<CComboBox> m_combo;
};

class CKWEditComboBoxCtrlImp : public virtual CKWComboBoxCtrlImp {
public:
    // The start in the low word, the end in the high word (-1: to the end).
    virtual int SetEditSel(int start, int end) = 0;
    virtual int SelectAllText() = 0;
    virtual void GetEditSel(int& start, int& end) = 0;
};

class CKWEditComboBoxCtrlImpWin : public CKWComboBoxCtrlImpWin, public CKWEditComboBoxCtrlImp {
public:
    explicit CKWEditComboBoxCtrlImpWin(HWND hWnd = nullptr) : CKWComboBoxCtrlImpWin(hWnd) {}

    // Bound to an existing combo box only: no window, no container.
    bool Create(DWORD, DWORD, const RECT&, CWnd*, UINT) override { return false; }
    void Show(bool show) override { CKWCtrlImpWin::Show(show); }
    void SetWindowRect(const RECT& rect) override { CKWCtrlImpWin::SetWindowRect(rect); }
    void AttachOwner(CKWComboBoxOwner*) override {}

    int SetEditSel(int start, int end) override;
    int SelectAllText() override;
    void GetEditSel(int& start, int& end) override;
};
