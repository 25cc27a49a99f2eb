// CKWTextPanel: creation, the engine's window operations and the panel's
// handlers. Scrolling and the timer: KWTextPanelScroll.cpp.
#include "text/KWTextPanel.h"

#include <algorithm>

#include "framework/KWBrush.h"
#include "framework/KWColor.h"
#include "framework/KWGdiPlusDraw.h"
#include "framework/KWGdipBitmap.h"
#include "platform/classlib/WinApp.h"
#include "text/KWTextObject.h"

bool CKWTextPanel::s_classRegistered = false;
uint32_t CKWTextPanel::s_caretTicks = 0;

BEGIN_MESSAGE_MAP(CKWTextPanel, CKWPanel)
    ON_WM_TIMER()
    ON_WM_CHAR()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CKWTextPanel::CKWTextPanel() = default;

CKWTextPanel::~CKWTextPanel() = default;

BOOL CKWTextPanel::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!s_classRegistered) {
        WNDCLASSW windowClass = {};
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = AfxGetInstanceHandle();
        windowClass.hCursor = ::LoadCursorW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(kCursorId));
        windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = kClassName;
        if (!::RegisterClassW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return FALSE;
        s_classRegistered = true;
    }
    if (!CWnd::Create(kClassName, nullptr, style, rect, parent, id))
        return FALSE;
    StartCaretTimer();
    return TRUE;
}

bool CKWTextPanel::SetBitmap(UINT resourceId)
{
    std::unique_ptr<CKWGdipBitmap> bitmap(new CKWGdipBitmap);
    const bool loaded = bitmap->LoadFromResource(resourceId);
    m_bitmap = std::move(bitmap);
    return loaded;
}

void CKWTextPanel::SetClickListener(CKWTextPanelClickListener* listener, UINT clickId)
{
    m_clickListener = listener;
    m_clickId = clickId;
}

void CKWTextPanel::RefreshText()
{
    CKWTextObject* text = GetTextObject();
    if (!text)
        return;
    text->Layout();
    UpdateView(nullptr);
    EnsureCaretVisible();
    InvalidateAll();
    UpdateNow();
}

bool CKWTextPanel::IsCaretTick(const MSG& msg)
{
    return msg.message == WM_TIMER && msg.wParam == kCaretTimerId &&
           dynamic_cast<CKWTextPanel*>(CWnd::FromHandlePermanent(msg.hwnd)) != nullptr;
}

void CKWTextPanel::StartCaretTimer()
{
    KillCaretTimer();
    m_caretTimer = ::SetTimer(m_hWnd, kCaretTimerId, kCaretTimerInterval, nullptr);
}

void CKWTextPanel::KillCaretTimer()
{
    if (m_caretTimer) {
        ::KillTimer(m_hWnd, m_caretTimer);
        m_caretTimer = 0;
    }
}

// --- The engine's operations ---

void CKWTextPanel::BeginEdit(CKWTextObject* text)
{
    CKWEditEngine::BeginEdit(text);
    StartCaretTimer();
}

void CKWTextPanel::DetachTextObject()
{
    KillCaretTimer();
    InvalidateSelection();
    CKWTextObject* text = GetTextObject();
    if (m_bitmap && text && text->GetLength() == 0)
        InvalidateAll();  // the placeholder shows again
    CKWEditEngine::DetachTextObject();
}

void CKWTextPanel::PaintBackground(IKWGraphics& graphics, const RECT& rect, HDC)
{
    CKWColor color;
    GetBackgroundColor(color);
    graphics.BeginPath();
    graphics.AddRectangle(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    graphics.ClosePathFigure();
    graphics.FillPath(CKWBrush(color));
    CKWTextObject* text = GetTextObject();
    if (m_bitmap && text && text->GetLength() == 0 && !IsEditing())
        graphics.DrawImage(0, 0, m_bitmap.get(), nullptr);
    if (IsEditing() && GetSelEnd().pos > GetSelStart().pos)
        PaintSelection(graphics);
}

IKWGraphics* CKWTextPanel::CreateGraphics()
{
    return new CKWGdiPlusDraw(m_hWnd);
}

void CKWTextPanel::ReleaseGraphics(IKWGraphics* graphics)
{
    delete graphics;
}

RECT CKWTextPanel::ToWindowRect(const CKWDoubleRect& rect, double dy) const
{
    const CKWDoubleRect& place = GetTextObject()->GetRect();
    RECT out;
    out.left = m_mapper.ToWindowX(place.left + rect.left);
    out.top = m_mapper.ToWindowY(place.top + rect.top + dy);
    out.right = m_mapper.ToWindowX(place.left + rect.right);
    out.bottom = m_mapper.ToWindowY(place.top + rect.bottom + dy);
    return out;
}

void CKWTextPanel::RepaintRect(const CKWDoubleRect& rect)
{
    if (GetTextObject()) {
        const RECT window = ToWindowRect(rect, 0.0);
        InvalidateRect(&window, TRUE);
    } else {
        Invalidate(TRUE);
    }
    UpdateWindow();
}

void CKWTextPanel::PlaceText(bool relayout)
{
    CKWTextObject* text = GetTextObject();
    if (!text)
        return;
    RECT client = {};
    GetClientRect(&client);
    if (client.right - client.left > 1 && client.bottom - client.top > 1)
        ::InflateRect(&client, -1, -1);
    text->SetRect(CKWDoubleRect(m_mapper.ToTextX(client.left), m_mapper.ToTextY(client.top),
                                m_mapper.ToTextX(client.right), m_mapper.ToTextY(client.bottom)));
    if (relayout)
        text->UpdateLayout();
}

void CKWTextPanel::InvalidateLines(int first, int last)
{
    CKWTextObject* text = GetTextObject();
    const int lines = text ? text->GetLineCount() : 0;
    if (lines == 0)
        return;
    first = std::clamp(first, 0, lines - 1);
    last = std::clamp(last, first, lines - 1);
    const CKWLineRecord& lastLine = text->GetLine(last);
    const int holder = text->LineOfPosition(lastLine.end, false, last);
    const double top = text->GetLine(first).top;
    const double bottom = text->GetLine(holder).top + lastLine.height;
    RECT band = ToWindowRect(CKWDoubleRect(0, top, 0, bottom), -GetScrollY());
    RECT client = {};
    GetClientRect(&client);
    band.left = client.left;
    band.right = client.right;
    InvalidateRect(&band, TRUE);
}

void CKWTextPanel::InvalidateAll()
{
    Invalidate(TRUE);
}

void CKWTextPanel::InvalidateTextRect(const CKWDoubleRect* rect)
{
    if (rect && GetTextObject())
        InvalidateWindowRect(ToWindowRect(*rect, 0.0));
    else
        InvalidateAll();
}

void CKWTextPanel::InvalidateWindowRect(const RECT& rect)
{
    InvalidateRect(&rect, TRUE);
}

void CKWTextPanel::UpdateNow()
{
    UpdateWindow();
}

void CKWTextPanel::UpdateView(const CKWDoubleRect* bounds)
{
    if (GetTextObject())
        CKWEditEngine::UpdateView(bounds);
}

void CKWTextPanel::GetScrollBarsShown(bool* horizontal, bool* vertical)
{
    const DWORD style = GetStyle();
    if (horizontal)
        *horizontal = (style & WS_HSCROLL) != 0;
    if (vertical)
        *vertical = (style & WS_VSCROLL) != 0;
}

void CKWTextPanel::CaptureMouse()
{
    SetCapture();
}

void CKWTextPanel::EndMouseAction()
{
    ::ReleaseCapture();
}

// --- Handlers ---

void CKWTextPanel::OnSetFocus()
{
    StartCaretTimer();
}

void CKWTextPanel::OnKillFocus()
{
    KillCaretTimer();
}

bool CKWTextPanel::OnKeyDown(const CKWKeyRecord& key)
{
    return IsEditing() && OnKey(key.key, key.shift != 0, key.ctrl != 0);
}

void CKWTextPanel::OnChar(UINT code, UINT repeat, UINT flags)
{
    if (IsEditing())
        CKWEditEngine::OnChar(code, repeat, flags);
    Default();
}

BOOL CKWTextPanel::OnEraseBkgnd(CDC*)
{
    return TRUE;  // the paint covers the whole window
}

bool CKWTextPanel::OnLButtonDown(int x, int y)
{
    SetCapture();
    SetFocus();
    if (m_clickListener)
        m_clickListener->OnTextPanelClick(m_clickId);
    if (!IsEditing()) {
        CKWTextObject* text = GetTextObject();
        BeginEdit(text);
        if (m_bitmap && text && text->GetLength() == 0)
            InvalidateAll();  // the placeholder goes
    }
    MouseDown(TextX(x), TextY(y));
    return true;
}

bool CKWTextPanel::OnMouseMove(int x, int y)
{
    MouseMove(TextX(x), TextY(y));
    return true;
}

bool CKWTextPanel::OnLButtonUp(int x, int y)
{
    MouseUp(TextX(x), TextY(y));
    ::ReleaseCapture();
    return true;
}

bool CKWTextPanel::OnLButtonDblClk(int x, int y)
{
    MouseDoubleClick(TextX(x), TextY(y));
    return true;
}

bool CKWTextPanel::OnRButtonDown(int, int)
{
    SetFocus();
    return false;  // the context menu follows
}

void CKWTextPanel::Paint(IKWGraphics& graphics, const RECT& rect, HRGN region)
{
    graphics.SaveTransform();
    PaintBackground(graphics, rect, nullptr);
    const int scroll = CKWWinPanel::GetScrollPos();
    graphics.Translate(0, -scroll);
    if (CKWTextObject* text = GetTextObject()) {
        CKWCoordMapper mapper;
        mapper.graphics = &graphics;
        const int dpi = graphics.GetDpi();
        mapper.scale = dpi > 0 ? dpi / 254.0 : m_mapper.scale;
        RECT clip = rect;
        RECT box = {};
        if (region && ::GetRgnBox(region, &box) != ERROR)
            ::IntersectRect(&clip, &clip, &box);
        ::OffsetRect(&clip, 0, scroll);
        CKWDoubleRect textClip(mapper.ToTextX(clip.left), mapper.ToTextY(clip.top), mapper.ToTextX(clip.right),
                               mapper.ToTextY(clip.bottom));
        textClip.Normalize();
        if (IsEditing())
            PaintText(graphics, textClip);
        else
            text->Draw(graphics, textClip);
    }
    graphics.RestoreTransform();
}

void CKWTextPanel::OnSizeChanged()
{
    CKWTextObject* text = GetTextObject();
    if (!text)
        return;
    PlaceText(true);
    m_linesValid = 0;
    ValidateLines();
    CKWDoubleRect bounds;
    text->GetBounds(bounds);
    UpdateView(&bounds);
}
