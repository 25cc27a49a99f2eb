#pragma once
// CKWHLinkStatic: a link over a static control of a dialog: its text drawn
// in the link colour (the hover colour while the mouse is over it) with a
// hand cursor; a click opens the link through the application.
#include "controls/KWDrawnStaticWin.h"
#include "framework/KWColor.h"
#include "platform/classlib/String.h"
#include "platform/classlib/Wnd.h"

class IKWGraphics;

// The hand shown over a link.
constexpr UINT IDC_KW_LINK_HAND = 927;

class CKWHLinkStaticImp {
public:
    virtual ~CKWHLinkStaticImp() = default;
    virtual void ReleaseWindow() = 0;
    virtual void SetHoverColor(const CKWColor& colour, bool redraw);
    virtual void SetColor(const CKWColor& colour);
    virtual void SetText(const CString& text, const CString& link);
    virtual void Refresh() = 0;
    virtual void Draw(IKWGraphics* graphics);
    // Hands a non-empty link to the application's link opening.
    virtual void OnClick(const CPoint& point);

    const CString& GetText() const { return m_text; }
    const CString& GetLink() const { return m_link; }

protected:
    CKWColor m_colour;
    CKWColor m_hoverColour;
    CString m_text;
    CString m_link;
    bool m_hover = false;
};

class CKWHLinkStaticImpWin : public CKWDrawnStaticWin, public CKWHLinkStaticImp {
public:
    void ReleaseWindow() override { ReleaseStatic(); }
    void Refresh() override { RefreshStatic(); }

protected:
    void PreSubclassWindow() override;
    void DrawStatic(IKWGraphics* graphics) override { Draw(graphics); }
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    bool m_tracking = false;
};

class CKWHLinkStatic {
public:
    CKWHLinkStatic() = default;
    virtual ~CKWHLinkStatic();
    CKWHLinkStatic(const CKWHLinkStatic&) = delete;
    CKWHLinkStatic& operator=(const CKWHLinkStatic&) = delete;

    // Takes over the dialog item's window with its two colours; false when
    // there is no such item.
    virtual bool Create(UINT controlId, CWnd* parent, COLORREF hoverColour, COLORREF linkColour);
    virtual void ReleaseWindow();
    // The colour while the mouse is over the link, shown at once.
    virtual void SetHoverColor(COLORREF colour);
    // Shown at the next repaint.
    virtual void SetColor(COLORREF colour);
    virtual void SetText(const CString& text, const CString& link);
    // Destroys the item's window and the implementation.
    void DestroyWindow();
    CKWHLinkStaticImp* GetImp() const { return m_imp; }

private:
    CKWHLinkStaticImpWin* m_imp = nullptr;
};
