#include "controls/KWTextLabel.h"

#include "framework/KWBrush.h"
#include "framework/KWColor.h"
#include "framework/KWFont.h"
#include "framework/KWGraphics.h"

void CKWTextLabelImpWin::SetText(const CString& text)
{
    if (!m_hWnd)
        return;
    // The static control's own handler of the new text would draw it at once
    // in the dialog's small font; the label keeps the text and draws it in
    // its own font.
    ::DefWindowProcW(m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(static_cast<const wchar_t*>(text)));
    Invalidate(TRUE);
    UpdateWindow();
}

void CKWTextLabelImpWin::GetText(CString& text)
{
    GetWindowText(text);
}

void CKWTextLabelImpWin::SetFaceName(const wchar_t* face)
{
    m_faceName = face ? face : L"";
    if (m_hWnd)
        Invalidate(TRUE);
}

void CKWTextLabelImpWin::DrawStatic(IKWGraphics* graphics)
{
    CRect client;
    GetClientRect(client);
    if (!(GetExStyle() & WS_EX_TRANSPARENT)) {
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        graphics->BeginPath();
        graphics->AddRectangle(client.left, client.top, client.Width(), client.Height());
        graphics->FillPath(CKWBrush(CKWColor::FromColorRef(face)));
    }
    CString text;
    GetText(text);
    const CKWFont font(m_faceName.GetString(), m_fontSize, static_cast<int>(m_fontStyle));
    const CKWBrush brush(CKWColor::FromColorRef(m_textColour));
    graphics->DrawStringAt(client.left, client.top, text, text.GetLength(), font, &brush, nullptr);
}

void CKWTextLabel::Create(HWND window)
{
    DestroyImp();
    auto* imp = new CKWTextLabelImpWin;
    imp->SubclassWindow(window);
    m_imp = imp;
}

void CKWTextLabel::DestroyImp()
{
    if (!m_imp)
        return;
    m_imp->ReleaseWindow();
    delete m_imp;
    m_imp = nullptr;
}

void CKWTextLabel::SetText(const CString& text)
{
    if (m_imp)
        m_imp->SetText(text);
}

void CKWTextLabel::SetTextColor(COLORREF colour)
{
    if (m_imp)
        m_imp->SetTextColor(colour);
}

void CKWTextLabel::SetFontStyle(uint32_t style)
{
    if (m_imp)
        m_imp->SetFontStyle(style);
}

void CKWTextLabel::SetFaceName(const wchar_t* face)
{
    if (m_imp)
        m_imp->SetFaceName(face);
}

void CKWTextLabel::SetFontSize(double size)
{
    if (m_imp)
        m_imp->SetFontSize(size);
}
