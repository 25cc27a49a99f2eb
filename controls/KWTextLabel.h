#pragma once
// CKWTextLabel: one line of text in a chosen face, size, style and colour over
// a static control of a dialog, drawn through the framework's GDI+ drawing
// rather than by the static control. The facade holds the implementation,
// which subclasses the static's window and lets it go again when released.
#include "controls/KWDrawnStaticWin.h"
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

#include <cstdint>

class CKWTextLabelImp {
public:
    virtual ~CKWTextLabelImp() = default;
    // Sets the window text and repaints the whole label.
    virtual void SetText(const CString& text) = 0;
    virtual void GetText(CString& text) = 0;
    // These three take effect at the next repaint.
    virtual void SetTextColor(COLORREF colour) { m_textColour = colour; }
    virtual void SetFontStyle(uint32_t style) { m_fontStyle = style; }
    // A copy of the face (callers pass temporaries); repaints the whole label.
    virtual void SetFaceName(const wchar_t* face) = 0;
    const CString& GetFaceName() const { return m_faceName; }
    // In pixels.
    virtual void SetFontSize(double size) { m_fontSize = size; }
    // Detaches from the window, which stays.
    virtual void ReleaseWindow() = 0;
    virtual void GetClientRect(CRect& rect) = 0;

protected:
    COLORREF m_textColour = 0;
    uint32_t m_fontStyle = 0;
    CString m_faceName = L"Arial";
    double m_fontSize = 12.0;
};

class CKWTextLabelImpWin : public CKWDrawnStaticWin, public CKWTextLabelImp {
public:
    void SetText(const CString& text) override;
    void GetText(CString& text) override;
    void SetFaceName(const wchar_t* face) override;
    void ReleaseWindow() override { ReleaseStatic(); }
    void GetClientRect(CRect& rect) override { StaticClientRect(rect); }

protected:
    // The text at the top left; a label without WS_EX_TRANSPARENT fills the
    // button face behind it.
    void DrawStatic(IKWGraphics* graphics) override;
};

class CKWTextLabel {
public:
    CKWTextLabel() = default;
    ~CKWTextLabel() { DestroyImp(); }
    CKWTextLabel(const CKWTextLabel&) = delete;
    CKWTextLabel& operator=(const CKWTextLabel&) = delete;

    // A new implementation over the window (the old one released first).
    void Create(HWND window);
    // Releases the window and deletes the implementation.
    void DestroyImp();
    // Without an implementation these do nothing.
    void SetText(const CString& text);
    void SetTextColor(COLORREF colour);
    void SetFontStyle(uint32_t style);
    void SetFaceName(const wchar_t* face);
    void SetFontSize(double size);
    // Empty without an implementation.
    CString GetFaceName() const { return m_imp ? m_imp->GetFaceName() : CString(); }

private:
    CKWTextLabelImp* m_imp = nullptr;
};
