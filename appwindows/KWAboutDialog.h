#pragma once
// CKWAboutDialog: the About box: a background picture, a credits picture
// that starts scrolling up three seconds after the box was made, two links
// and the version line. A click in the box goes to its click handler, when
// it has one.
#include "controls/KWHLinkStatic.h"
#include "controls/KWScrolledBitmapControl.h"
#include "controls/KWTextLabel.h"
#include "appwindows/KWDialog.h"

class CKWEggsHelper;

// The About box's colours, one for the whole program: the credits' background
// and the texts. The application sets them before it makes the box.
extern COLORREF g_KWAboutCreditsColor;
extern COLORREF g_KWAboutTextColor;

class CKWAboutDialog : public CKWDialog {
    DECLARE_DYNAMIC(CKWAboutDialog)
public:
    // Notes the time the credits' delay counts from.
    explicit CKWAboutDialog(UINT templateId, CWnd* parent = nullptr);
    // Deletes the click handler.
    ~CKWAboutDialog() override;

    // Binds the credits, links and version line and starts the timer.
    BOOL OnInitDialog() override;
    // The click handler's OnClick(this box, x, y); false without a handler.
    bool OnLButtonDownHook(CPoint point) override;
    // WM_TIMER (any id): after the delay, one step up per tick.
    virtual void OnTimer(UINT_PTR nIDEvent);

    // The box takes the handler; one it had before is deleted.
    void SetOwnedObject(CKWEggsHelper* helper);

    CString m_firstLinkText;
    CString m_firstLinkTarget;
    CString m_secondLinkText;
    CString m_secondLinkTarget;

    static constexpr UINT_PTR kTimerId = 0x41427574;
    static constexpr UINT kTimerPeriodMs = 15;
    static constexpr DWORD kScrollDelayMs = 3000;
    static constexpr COLORREF kLinkColor = 0xDD0000;

    CKWScrolledBitmapControl& GetCredits() { return m_credits; }

protected:
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CKWHLinkStatic* m_firstLink = nullptr;
    CKWHLinkStatic* m_secondLink = nullptr;
    CKWTextLabel m_version;
    CKWScrolledBitmapControl m_credits;
    double m_creditsPosition = 0.0;
    DWORD m_startTick;
    CKWEggsHelper* m_clickHandler = nullptr;
};
