#pragma once
// CKWSplashScreen: the bitmap shown centred on the screen while the program
// starts. It goes away by itself after its display time (or when asked),
// repaints the main window and deletes itself.
#include "platform/classlib/GdiObject.h"
#include "platform/classlib/Wnd.h"

class CKWSplashScreen : public CWnd {
public:
    // Shows the bitmap resource (its low 16 bits); the window, or null when
    // the bitmap cannot be loaded or the window made. The first value is
    // not used.
    static CKWSplashScreen* ShowSplashScreen(UINT first, UINT bitmapId);
    // The splash window that is showing; null when there is none.
    static CKWSplashScreen* GetShowing() { return s_showing; }

    // Kills the timer, destroys the window and repaints the main window.
    void HideSplashScreen();

    static constexpr UINT kDisplayTimeMs = 750;

protected:
    CKWSplashScreen();
    ~CKWSplashScreen() override;
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    static CKWSplashScreen* s_showing;

    UINT_PTR m_timer = 0;
    CBitmap m_bitmap;
    UINT m_displayTime = kDisplayTimeMs;
    UINT m_bitmapId = 0;
};
