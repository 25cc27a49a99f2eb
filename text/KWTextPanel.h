#pragma once
// CKWTextPanel: the window in which one text is shown and edited. A panel
// (CKWPanel) that supplies the edit engine's window operations: it maps
// window points to text points, scrolls vertically through the panel's
// scroll bar, blinks the caret with a timer, scrolls while a selection is
// dragged past its edges, and paints the background, an optional
// placeholder bitmap, the selection and the text.
#include <cstdint>
#include <memory>

#include "controls/KWPanel.h"
#include "text/KWTextPanelIFace.h"

class CKWGdipBitmap;

// Told of every left button press in a panel, with the panel's click id.
class CKWTextPanelClickListener {
public:
    virtual void OnTextPanelClick(UINT clickId) = 0;

protected:
    ~CKWTextPanelClickListener() = default;
};

class CKWTextPanel : public CKWPanel, public CKWTextPanelIFace {
public:
    static constexpr const wchar_t* kClassName = L"KWTextPanelWindow";
    static constexpr UINT kCursorId = 926;
    static constexpr UINT_PTR kCaretTimerId = 100;
    static constexpr UINT kCaretTimerInterval = 50;  // ms
    // Caret timer ticks from one blink to the next.
    static constexpr uint32_t kBlinkTicks = 10;
    // True for a tick of a text panel's caret timer: like the system's caret
    // blink, no user activity.
    static bool IsCaretTick(const MSG& msg);

    CKWTextPanel();
    ~CKWTextPanel() override;

    // Registers the window class at the first creation, creates the window
    // and starts the caret timer.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // The placeholder shown while the text is empty and not edited.
    bool SetBitmap(UINT resourceId);
    void SetClickListener(CKWTextPanelClickListener* listener, UINT clickId);
    void SetContextMenuId(UINT id) { m_contextMenuId = id; }
    UINT GetContextMenuId() override { return m_contextMenuId; }
    // Lays the attached text out again and shows it.
    void RefreshText();

    // --- The engine's operations ---
    void BeginEdit(CKWTextObject* text) override;
    void DetachTextObject() override;
    void PaintBackground(IKWGraphics& graphics, const RECT& rect, HDC paintInfo) override;
    void OnPointerMoved(const CKWDoublePoint& point) override {}
    IKWGraphics* CreateGraphics() override;
    void ReleaseGraphics(IKWGraphics* graphics) override;
    void RepaintRect(const CKWDoubleRect& rect) override;
    void PlaceText(bool relayout) override;
    void InvalidateLines(int first, int last) override;
    void InvalidateAll() override;
    void InvalidateTextRect(const CKWDoubleRect* rect) override;
    void InvalidateWindowRect(const RECT& rect) override;
    void UpdateNow() override;
    void ScrollTo(double x, double y, bool updateNow) override;
    double GetScrollY() override;
    double GetScrollX() override { return 0.0; }
    void SetScrollY(double y) override;
    void SetScrollX(double x) override {}
    void UpdateView(const CKWDoubleRect* bounds) override;
    void UpdateScrollBars(const SIZE& pageSize, const SIZE& contentSize) override;
    void GetScrollBarsShown(bool* horizontal, bool* vertical) override;
    void CaptureMouse() override;
    void EndMouseAction() override;
    HWND GetClipboardOwner() override { return m_hWnd; }

    // --- The panel's handlers ---
    void OnSetFocus() override;
    void OnKillFocus() override;
    bool OnKeyDown(const CKWKeyRecord& key) override;
    bool OnLButtonDown(int x, int y) override;
    bool OnMouseMove(int x, int y) override;
    bool OnLButtonUp(int x, int y) override;
    bool OnLButtonDblClk(int x, int y) override;
    bool OnRButtonDown(int x, int y) override;
    void Paint(IKWGraphics& graphics, const RECT& rect, HRGN region) override;
    void OnSizeChanged() override;

protected:
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnChar(UINT code, UINT repeat, UINT flags);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    void StartCaretTimer();
    void KillCaretTimer();
    // Scrolls and extends the selection while it is dragged outside.
    void AutoScroll();
    // A window point as a text point, the scroll position added.
    double TextX(int x) const { return m_mapper.ToTextX(x); }
    double TextY(int y) { return m_mapper.ToTextY(y) + GetScrollY(); }
    RECT ToWindowRect(const CKWDoubleRect& rect, double dy) const;

    std::unique_ptr<CKWGdipBitmap> m_bitmap;
    UINT m_contextMenuId = 0;
    UINT_PTR m_caretTimer = 0;
    UINT m_clickId = 0;
    CKWTextPanelClickListener* m_clickListener = nullptr;
    uint32_t m_scrollBarUpdates = 0;  // tells a nested update from the outer one

    static bool s_classRegistered;
    static uint32_t s_caretTicks;  // shared by all text panels
};
