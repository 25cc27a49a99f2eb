#include "controls/KWHLinkStatic.h"

#include "controls/KWLinkOpener.h"
#include "framework/KWBrush.h"
#include "framework/KWFont.h"
#include "framework/KWGraphics.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/WinApp.h"

void CKWHLinkStaticImp::SetHoverColor(const CKWColor& colour, bool redraw)
{
    m_hoverColour = colour;
    if (redraw)
        Refresh();
}

void CKWHLinkStaticImp::SetColor(const CKWColor& colour)
{
    m_colour = colour;
}

void CKWHLinkStaticImp::SetText(const CString& text, const CString& link)
{
    m_text = text;
    m_link = link;
}

void CKWHLinkStaticImp::Draw(IKWGraphics* graphics)
{
    const CKWFont font(L"Arial", 12, 0);
    const CKWBrush brush(m_hover ? m_hoverColour : m_colour);
    graphics->DrawStringAt(0, 0, m_text, m_text.GetLength(), font, &brush, nullptr);
}

void CKWHLinkStaticImp::OnClick(const CPoint&)
{
    if (m_link.IsEmpty())
        return;
    if (IKWLinkOpener* opener = KWGetLinkOpener())
        opener->OpenLink(m_link);
}

BEGIN_MESSAGE_MAP(CKWHLinkStaticImpWin, CKWDrawnStaticWin)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

void CKWHLinkStaticImpWin::PreSubclassWindow()
{
    CKWDrawnStaticWin::PreSubclassWindow();
    // A static reports clicks only with SS_NOTIFY.
    ModifyStyle(0, SS_NOTIFY);
}

void CKWHLinkStaticImpWin::OnLButtonDown(UINT, CPoint point)
{
    OnClick(point);
}

void CKWHLinkStaticImpWin::OnMouseMove(UINT, CPoint)
{
    if (!m_tracking) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        m_tracking = ::TrackMouseEvent(&track) != FALSE;
    }
    if (!m_hover) {
        m_hover = true;
        Refresh();
    }
}

void CKWHLinkStaticImpWin::OnMouseLeave()
{
    m_tracking = false;
    if (m_hover) {
        m_hover = false;
        Refresh();
    }
}

BOOL CKWHLinkStaticImpWin::OnSetCursor(CWnd* window, UINT hitTest, UINT message)
{
    // Only over the link: changing the cursor of the static class would put
    // the hand over every static control of the program.
    HCURSOR hand = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_KW_LINK_HAND));
    if (!hand)
        return CWnd::OnSetCursor(window, hitTest, message);
    ::SetCursor(hand);
    return TRUE;
}

CKWHLinkStatic::~CKWHLinkStatic()
{
    delete m_imp;
}

bool CKWHLinkStatic::Create(UINT controlId, CWnd* parent, COLORREF hoverColour, COLORREF linkColour)
{
    delete m_imp;
    m_imp = new CKWHLinkStaticImpWin;
    if (!parent || !m_imp->SubclassDlgItem(controlId, parent))
        return false;
    m_imp->SetHoverColor(CKWColor::FromColorRef(hoverColour), true);
    m_imp->SetColor(CKWColor::FromColorRef(linkColour));
    return true;
}

void CKWHLinkStatic::ReleaseWindow()
{
    if (m_imp)
        m_imp->ReleaseWindow();
}

void CKWHLinkStatic::SetHoverColor(COLORREF colour)
{
    if (m_imp)
        m_imp->SetHoverColor(CKWColor::FromColorRef(colour), true);
}

void CKWHLinkStatic::SetColor(COLORREF colour)
{
    if (m_imp)
        m_imp->SetColor(CKWColor::FromColorRef(colour));
}

void CKWHLinkStatic::SetText(const CString& text, const CString& link)
{
    if (m_imp)
        m_imp->SetText(text, link);
}

void CKWHLinkStatic::DestroyWindow()
{
    if (m_imp)
        m_imp->DestroyStatic();
    delete m_imp;
    m_imp = nullptr;
}
