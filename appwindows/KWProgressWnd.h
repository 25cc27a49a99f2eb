#pragma once
// CKWProgressWnd: the modeless progress window (dialog 901), a message label
// and a progress bar, that implements the progress interface. It offers no
// cancel: the operation it shows runs to its end. None of its operations
// dispatches messages; Show and SetMessage paint at once, the bar draws its
// moves a few times a second.
#include "controls/KWProgressControl.h"
#include "appwindows/KWDialog.h"
#include "framework/KWProgressInterface.h"

class CKWProgressWnd : public CKWDialog, public CKWProgressInterface {
public:
    // Creates the dialog at once, hidden until shown.
    explicit CKWProgressWnd(CWnd* pParentWnd = nullptr);
    // Destroys the dialog.
    ~CKWProgressWnd() override;

    void SetRange(int low, int high) override;
    void SetStep(int step);
    // Sets the label's text and repaints the label at once.
    void SetMessage(const wchar_t* text) override;
    // Shows and paints the window; true when it was visible before.
    bool Show();
    // Shows and paints the window without activating it, so that the
    // windows behind it keep the keys; true when it was visible before.
    bool ShowInactive();
    // True when it was visible before.
    bool Hide();

    void StepIt() override;
    int GetPos() override;
    void SetPos(int position) override;
    int GetUpper() override;

    // Binds the label and the bar; the bar at 0 in 0..1000, step 1.
    BOOL OnInitDialog() override;

private:
    static constexpr DWORD kDrawInterval = 40;  // milliseconds

    HWND m_label = nullptr;
    HWND m_barWindow = nullptr;
    CKWProgressControl m_bar;
    DWORD m_drawnAt = 0;  // tick count when the bar last drew a move
};
