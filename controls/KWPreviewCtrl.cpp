#include "controls/KWPreviewCtrl.h"

#include "framework/KWDoubleRect.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/MessageMap.h"

namespace {

// The margin kept free around the preview.
constexpr int kMargin = 2;

CRect PreviewPlace(CSize bitmap, const CRect& client)
{
    CRect inner = client;
    inner.DeflateRect(kMargin, kMargin);
    if (bitmap.cx <= inner.Width() && bitmap.cy <= inner.Height()) {
        const int left = inner.left + (inner.Width() - bitmap.cx) / 2;
        const int top = inner.top + (inner.Height() - bitmap.cy) / 2;
        return CRect(left, top, left + bitmap.cx, top + bitmap.cy);
    }
    return CRect(FitRectInFrame(CRect(0, 0, bitmap.cx, bitmap.cy), inner));
}

}  // namespace

BEGIN_MESSAGE_MAP(CKWPreviewCtrl, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CKWPreviewCtrl::~CKWPreviewCtrl()
{
    DeletePreview();
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        UnsubclassWindow();
}

void CKWPreviewCtrl::DeletePreview()
{
    if (m_preview)
        ::DeleteObject(m_preview);
    m_preview = nullptr;
}

void CKWPreviewCtrl::SetFile(const wchar_t* file, int show, bool redraw)
{
    const wchar_t* name = file ? file : L"";
    if (m_file != name)
        m_file = name;
    m_show = show;
    Rebuild(redraw);
}

void CKWPreviewCtrl::Rebuild(bool redraw)
{
    DeletePreview();
    if (m_show && !m_file.IsEmpty() && m_maker) {
        const HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        m_preview = m_maker(m_file, 0);
        ::SetCursor(previous);
    }
    if (redraw && m_hWnd) {
        Invalidate(TRUE);
        UpdateWindow();
    }
}

void CKWPreviewCtrl::OnPaint()
{
    if (!m_preview) {
        Default();
        return;
    }
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    ::FillRect(dc.m_hDC, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    BITMAP info = {};
    if (!::GetObjectW(m_preview, sizeof(info), &info))
        return;
    const CRect target = PreviewPlace(CSize(info.bmWidth, info.bmHeight), client);
    HDC memory = ::CreateCompatibleDC(dc.m_hDC);
    const HGDIOBJ old = ::SelectObject(memory, m_preview);
    ::SetStretchBltMode(dc.m_hDC, COLORONCOLOR);
    ::StretchBlt(dc.m_hDC, target.left, target.top, target.Width(), target.Height(), memory, 0, 0, info.bmWidth,
                 info.bmHeight, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}
