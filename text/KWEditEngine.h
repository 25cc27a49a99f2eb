#pragma once
// CKWEditEngine: edits one laid-out text interactively: the selection and
// its caret, the format typed characters take, keys, typed characters,
// mouse actions and the clipboard. It knows no window: invalidating,
// updating, scrolling and mouse capture are virtual operations that a panel
// supplies (CKWTextPanel).
//
// Coordinates: text points are layout units (tenths of a millimetre); window
// points are pixels. Points handed to the mouse operations are text points
// with the scroll position already added.
//
// Keys and the mouse: KWEditEngineInput.cpp; the clipboard:
// KWEditEngineClipboard.cpp; selection painting and scrolling:
// KWEditEngineView.cpp.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/KWDoubleRect.h"
#include "framework/KWGraphics.h"
#include "text/KWCharFormat.h"
#include "text/KWParaFormat.h"

class CKWColor;
class CKWRtfReader;
class CKWTextObject;
class CString;
class CKWClipboard;

// A character position and the index of the line that shows it (-1: not
// known yet). A position on the boundary of two lines of one paragraph can
// be shown at the end of the first or the start of the second.
struct CKWTextPos {
    int pos = 0;
    int line = 0;

    bool operator==(const CKWTextPos& o) const { return pos == o.pos && line == o.line; }
    bool operator!=(const CKWTextPos& o) const { return !(*this == o); }
};

// Maps window points (pixels) to text points (layout units) and back.
struct CKWCoordMapper {
    IKWGraphics* graphics = nullptr;
    int originX = 0;
    int originY = 0;
    double scale = 1.0;  // pixels per layout unit

    double ToTextX(double x) const { return (x - originX) / scale; }
    double ToTextY(double y) const { return (y - originY) / scale; }
    // Half away from zero, then the origin.
    int ToWindowX(double x) const { return Round(x * scale) + originX; }
    int ToWindowY(double y) const { return Round(y * scale) + originY; }
    static int Round(double v) { return static_cast<int>(v >= 0 ? v + 0.5000001 : v - 0.5000001); }
};

class CKWEditEngine {
public:
    CKWEditEngine();

    // --- Virtual operations, in slot order ---
    // Sets the editing flag, attaching the text when it is another one.
    virtual void BeginEdit(CKWTextObject* text);
    // Forgets the text, clears the editing flag.
    virtual void DetachTextObject();
    // Paints what lies under the text in a window rectangle.
    virtual void PaintBackground(IKWGraphics& graphics, const RECT& rect, HDC paintInfo) = 0;
    virtual void OnPointerMoved(const CKWDoublePoint& point) = 0;
    virtual IKWGraphics* CreateGraphics() = 0;
    virtual void ReleaseGraphics(IKWGraphics* graphics) = 0;
    // Invalidates a rectangle of the text (relative to the placement) and
    // updates at once.
    virtual void RepaintRect(const CKWDoubleRect& rect) = 0;
    // Makes the window's text area the text's placement.
    virtual void PlaceText(bool relayout) = 0;
    virtual void InvalidateLines(int first, int last) = 0;
    virtual void InvalidateAll() = 0;
    // Relative to the placement; null: everything.
    virtual void InvalidateTextRect(const CKWDoubleRect* rect) = 0;
    virtual void InvalidateWindowRect(const RECT& rect) = 0;
    virtual void UpdateNow() = 0;
    // Scrolls so that the text point is at the window's top left.
    virtual void ScrollTo(double x, double y, bool updateNow);
    virtual double GetScrollY() = 0;
    virtual double GetScrollX() = 0;
    virtual void SetScrollY(double y) = 0;
    virtual void SetScrollX(double x) = 0;
    // Brings the scroll bars in line with the text's size (bounds relative to
    // the placement; null: the text's own).
    virtual void UpdateView(const CKWDoubleRect* bounds);
    // Sizes in window pixels.
    virtual void UpdateScrollBars(const SIZE& pageSize, const SIZE& contentSize) = 0;
    virtual void GetScrollBarsShown(bool* horizontal, bool* vertical) = 0;
    virtual void CaptureMouse() = 0;
    virtual void EndMouseAction() = 0;
    // The window rectangles a range covers (the selection when both are 0),
    // the scroll position taken off: one per line; for an empty range one
    // pixel wide at the caret.
    virtual void GetSelectionRects(std::vector<RECT>& list, int start, int end);
    virtual void InvalidateSelection();
    virtual void InvalidateRects(const std::vector<RECT>& list);
    // The window the clipboard is opened with.
    virtual HWND GetClipboardOwner() { return nullptr; }
    virtual void GetBackgroundColor(CKWColor& color);
    virtual int BeforeChange() { return 0; }
    virtual int AfterChange() { return 0; }
    virtual void OnChange() {}
    // After characters from start (on startLine) to end were replaced by
    // inserted ones: relayout, repaint, the caret after them. end becomes
    // the new end.
    virtual void OnTextReplaced(int start, int startLine, int& end, int inserted);

    // --- Text and selection ---
    // Detaches a text being edited, attaches this one (or none) and resets
    // the selection, the formats and the view.
    void AttachTextObject(CKWTextObject* text);
    CKWTextObject* GetTextObject() const { return m_text; }
    bool IsEditing() const { return m_editing != 0; }
    const CKWTextPos& GetSelStart() const { return m_start; }
    const CKWTextPos& GetSelEnd() const { return m_end; }
    const CKWTextPos& GetPivot() const { return m_pivot; }
    // Stores a new selection (the ends in any order) and repaints the old
    // and the new one; an empty selection carries the pivot.
    void SetSelection(const CKWTextPos& start, const CKWTextPos& end, bool scroll);
    void UpdateSelection(const CKWTextPos* oldStart, const CKWTextPos* oldEnd, bool invalidateNew, bool scroll);
    // Scrolls the free end of the selection into view when the vertical
    // scroll bar is shown.
    void EnsureCaretVisible();
    // Positions clamped to the text; a negative end is the text end.
    void SetSel(int start, int end, bool scroll);
    // A writable text with a non-empty selection.
    bool HasSelection() const;
    // The selection between the pivot and a new free end.
    void ExtendSelectionTo(const CKWTextPos& to, bool scroll);

    // --- Formats ---
    void InvalidateFormatCache();
    // The common formats of the selection and the masks of their uniform
    // fields; the character format is what typed characters take. Null
    // without a text.
    const CKWCharFormat* GetSelCharFormat(uint32_t& mask);
    const CKWParaFormat* GetSelParaFormat(uint32_t& mask);
    // Applied to the selection; with an empty one merged into the format of
    // the next typed characters.
    void SetSelCharFormat(const CKWCharFormat& request);
    void SetSelParaFormat(const CKWParaFormat& request);

    // --- Editing ---
    // Replaces the selection by length characters (nothing for a read-only
    // text, or for nothing by nothing).
    void ReplaceSelection(const wchar_t* text, int length);
    void Clear() { ReplaceSelection(nullptr, 0); }
    bool Copy();
    bool Cut();
    bool Paste();
    bool CanPaste() const;
    // A virtual key with the Shift and Ctrl states; true when handled.
    bool OnKey(UINT key, bool shift, bool ctrl);
    void OnChar(UINT code, UINT repeat, UINT flags);
    void MouseDown(double x, double y);
    void MouseMove(double x, double y);
    void MouseUp(double x, double y);
    void MouseDoubleClick(double x, double y);

    // --- Painting ---
    // Toggles the caret of an empty selection (not while dragging).
    void BlinkCaret();
    // The text, then the caret unless it is hidden.
    void PaintText(IKWGraphics& graphics, const CKWDoubleRect& clip);
    void PaintSelection(IKWGraphics& graphics);
    void PaintCaret(IKWGraphics& graphics);

    bool IsDragging() const { return m_dragging != 0; }
    bool IsCaretHidden() const { return m_caretHidden != 0; }
    bool IsTyping() const { return m_typing != 0; }
    uint32_t GetModified() const { return m_modified; }
    void SetBlinkSuppressed(bool suppressed) { m_blinkSuppress = suppressed ? 1 : 0; }
    const CKWCoordMapper& GetMapper() const { return m_mapper; }

protected:
    // Not deleted through the engine: the panel's interface adds the
    // virtual destructor.
    ~CKWEditEngine();

    // The position and line of a text point (scroll included).
    CKWTextPos HitPosition(double x, double y) const;
    // Line indexes for positions that lack them.
    void ValidateLines();

    CKWCoordMapper m_mapper;
    uint8_t m_blinkSuppress = 0;
    CKWTextPos m_start;
    CKWTextPos m_end;
    CKWTextPos m_prevStart;
    CKWTextPos m_prevEnd;
    CKWTextPos m_pivot;
    uint8_t m_caretHidden = 0;
    uint8_t m_linesValid = 1;
    uint8_t m_dragging = 0;

private:
    void AppendRangeRects(std::vector<RECT>& list, CKWTextPos start, CKWTextPos end);
    CKWTextPos PosAt(int pos, bool atEnd, int fromLine = 0) const;
    void ComputeFormats();
    // Makes the engine's own copy the format of typed characters.
    void UseOwnFormat();
    void MergeIntoOwnFormat(const CKWCharFormat& request);
    // Formats changed on the text: lay it out and show it again.
    void RefreshAfterFormat();
    // Every change of the text goes through here; the records are kept
    // whole (one run and one paragraph at least, a paragraph record per
    // paragraph around the change).
    void BeginTextChange();
    void EndTextChange(int start, int startLine, int end, int inserted);
    void DeleteRange(int start, int end);
    void AlignParagraphRecords(int from, int to);
    // Keys.
    bool OnMoveKey(UINT key, bool shift, bool ctrl);
    CKWTextPos MovedEnd(const CKWTextPos& from, UINT key, bool ctrl, bool shift) const;
    CKWTextPos FreeEnd() const;
    // Clipboard.
    void PutRtf(CKWClipboard& clipboard, int start, int end) const;
    bool PasteRtf(CKWClipboard& clipboard);
    void InsertRtf(const CKWRtfReader& reader);
    void PastePlain(CString& text, int charset);

    uint32_t m_ownMask = 0;  // fields of the own format set explicitly
    CKWCharFormat m_ownFormat;
    bool m_useOwnFormat = false;
    CKWCharFormat m_selCharFormat;
    uint32_t m_charMask = 0;
    CKWParaFormat m_selParaFormat;
    uint32_t m_paraMask = 0;
    bool m_formatsValid = false;
    uint32_t m_modified = 0;
    uint8_t m_typing = 0;
    CKWTextObject* m_text = nullptr;
    uint8_t m_editing = 0;
};
