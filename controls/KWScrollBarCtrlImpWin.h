#pragma once
// The scroll bar kind: a scroll-bar control, every operation on its own bar
// (SB_CTL), whatever bar a generic scroll operation names.
#include "controls/KWCtrlImpWin.h"
#include "platform/classlib/ScrollBar.h"

class CKWScrollBarCtrlImp {
public:
    virtual ~CKWScrollBarCtrlImp() = default;
    // 0 when the range cannot be read.
    virtual int GetRangeMin() = 0;
    virtual int GetRangeMax() = 0;
    virtual int GetPos() = 0;
    virtual void SetRangeMin(int minimum) = 0;
    virtual void SetRangeMax(int maximum) = 0;
    virtual void SetPos(int position) = 0;
};

class CKWScrollBarCtrlImpWin : public CKWCtrlImpWin, public CKWScrollBarCtrlImp {
public:
    explicit CKWScrollBarCtrlImpWin(HWND hWnd = nullptr) : CKWCtrlImpWin(hWnd) {}

    // A scroll-bar window of its own (destroyed with the implementation); the
    // extended style is not used.
    bool Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;
    int GetScrollPos(bool vertical) override;
    void SetScrollPos(bool vertical, int position) override;
    int GetScrollInfo(bool vertical, int& minimum, int& maximum, int passed) override;

    int GetRangeMin() override;
    int GetRangeMax() override;
    int GetPos() override;
    void SetRangeMin(int minimum) override;
    void SetRangeMax(int maximum) override;
    void SetPos(int position) override;

private:
    bool GetRange(int& minimum, int& maximum);

    CScrollBar m_bar;
};
