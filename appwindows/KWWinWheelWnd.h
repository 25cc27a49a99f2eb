#pragma once
// CKWWinWheelWnd: the auto-scroll window of the middle mouse button. A small
// round window at the cursor; while it is open, every 10 ms the view
// scrolls towards the cursor, faster the farther the cursor is from where it
// started, and the cursor shows the direction. A click, a key or the loss of
// the focus closes it; the object deletes itself with its window.
#include "platform/classlib/GdiObject.h"
#include "platform/classlib/Wnd.h"

#include <cstdint>

// Cursor moves smaller than this, in pixels, do not scroll.
extern int32_t g_KWAutoScrollDeadZone;

class CKWWinWheelWnd : public CWnd {
    DECLARE_DYNAMIC(CKWWinWheelWnd)
public:
    enum : UINT { kTimerId = 1968, kTimerPeriod = 10, kDirectionBitmap = 905 };

    CKWWinWheelWnd();
    ~CKWWinWheelWnd() override;

    // Opens the window at the cursor for the owner; false (and the object
    // deleted) when no direction is allowed or the window cannot be made.
    bool Start(CWnd* owner, bool allowVertical, bool allowHorizontal);

    // The scroll step for a cursor at distance from the start point.
    static CPoint StepFor(CPoint distance, bool allowVertical, bool allowHorizontal);
    // The cursor resource that shows the step.
    static UINT CursorFor(CPoint step, bool allowVertical, bool allowHorizontal);

protected:
    void PostNcDestroy() override;

    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

    DECLARE_MESSAGE_MAP()

private:
    void Close();

    CWnd* m_owner;
    CPoint m_startPoint;
    int32_t m_imageOffset;
    UINT_PTR m_timerId;
    BOOL m_noVertical;
    BOOL m_noHorizontal;
    CBitmap m_directionBitmap;
    bool m_closing = false;
};

// Starts the auto-scroll of the owner; true when the window opened.
bool StartAutoScroll(CWnd* owner, bool allowVertical, bool allowHorizontal);
