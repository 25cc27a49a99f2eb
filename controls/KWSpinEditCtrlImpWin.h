#pragma once
// The spin edit kind: an edit box and a spin button side by side in a
// container window, which tells an owner of the keys typed, the end of an
// edit and each spin.
#include "controls/KWCtrlImpWin.h"
#include "platform/classlib/Wnd.h"

#include <memory>

class CKWEditCtrlImpWin;
class CKWSpinButtonCtrlImpWin;

// What the hosting code learns of a spin edit.
class CKWSpinEditOwner {
public:
    virtual ~CKWSpinEditOwner() = default;
    // A key pressed in the control; true when the owner consumed it.
    virtual bool OnSpinEditKey(UINT key) = 0;
    // The edit part lost the focus, or a spin is about to change the value.
    virtual void OnSpinEditEnd() = 0;
    // The spin button moves: its position and the step asked for.
    virtual void OnSpinEditSpin(int position, int delta) = 0;
};

class CKWSpinEditCtrlImp : public virtual CKWCtrlImp {
public:
    // The edit part's operations.
    virtual bool SetReadOnly(bool readOnly) = 0;
    virtual void SetModify(bool modified) = 0;
    virtual bool GetModify() = 0;
    virtual void SetSel(int start, int end) = 0;
    virtual void GetSel(int& start, int& end) = 0;
    virtual void LimitText(int count) = 0;
    virtual int GetLimitText() = 0;
    // The spin part's operations.
    virtual int GetPos() = 0;
    virtual void GetRange(int& lower, int& upper) = 0;
    virtual int SetPos(int position) = 0;
    virtual void SetRange(int lower, int upper) = 0;
    // Makes the container object (before Create); an existing window given at
    // construction becomes the container.
    virtual void AttachOwner(CKWSpinEditOwner* owner) = 0;
    // The edit and spin parts inside the container.
    virtual void CreateParts() = 0;
};

// The container: passes keys to the owner, moves the focus to the edit part
// on Tab, and reports the end of edits and the spins.
class CVDBaseWnd : public CWnd {
public:
    explicit CVDBaseWnd(CKWSpinEditOwner* owner) : m_owner(owner) {}

    void SetFocusTarget(HWND edit) { m_focusTarget = edit; }
    void SetSpinWindow(HWND spin) { m_spin = spin; }

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    CKWSpinEditOwner* m_owner;
    HWND m_focusTarget = nullptr;
    HWND m_spin = nullptr;
};

class CKWSpinEditCtrlImpWin : public CKWCtrlImpWin, public CKWSpinEditCtrlImp {
public:
    static constexpr int kSpinWidth = 16;

    explicit CKWSpinEditCtrlImpWin(HWND hWnd = nullptr);
    // A container it made goes with its parts; an existing one is let go and
    // the parts made in it are destroyed.
    ~CKWSpinEditCtrlImpWin() override;

    // The container (AttachOwner first: false without it) with the id, then
    // the parts with the ids id and id + 1.
    bool Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;
    void Enable(bool enable) override;
    bool IsEnabled() override;
    void Show(bool show) override;
    bool IsVisible() override;
    void Redraw(bool updateNow) override;
    void Invalidate() override;
    void SetFocus() override;
    void SetText(const CString& text) override;
    void GetText(CString& text) override;
    bool HasFocus() override;
    void SetFont(const CKWFontData& font) override;
    // Moves the container and lays the parts out in it again.
    void SetWindowRect(const RECT& rect) override;

    bool SetReadOnly(bool readOnly) override;
    void SetModify(bool modified) override;
    bool GetModify() override;
    void SetSel(int start, int end) override;
    void GetSel(int& start, int& end) override;
    void LimitText(int count) override;
    int GetLimitText() override;
    int GetPos() override;
    void GetRange(int& lower, int& upper) override;
    int SetPos(int position) override;
    void SetRange(int lower, int upper) override;
    void AttachOwner(CKWSpinEditOwner* owner) override;
    void CreateParts() override;

    CKWEditCtrlImpWin* GetEditPart() const { return m_edit.get(); }
    CKWSpinButtonCtrlImpWin* GetSpinPart() const { return m_spin.get(); }

private:
    void PlaceParts(int width, int height);

    HWND m_existing;
    bool m_madeContainer = false;
    std::unique_ptr<CKWEditCtrlImpWin> m_edit;
    std::unique_ptr<CKWSpinButtonCtrlImpWin> m_spin;
    std::unique_ptr<CVDBaseWnd> m_container;
};
