#include "appwindows/KWView.h"

#include "framework/KWBrush.h"
#include "framework/KWColor.h"
#include "framework/KWGdiPlusDraw.h"
#include "framework/KWGdipBitmap.h"
#include "framework/KWViewTool.h"
#include "appwindows/KWWinBasePageFrame.h"
#include "platform/classlib/ScrollBar.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNCREATE(CKWView, CKWWinView)

int32_t g_KWScrollMargin = 20;
int32_t g_KWWheelShift = 6;

namespace {

const double kPageStepShare = 0.9;
const double kLineStepShare = 0.05;

// The highest position the bar's thumb reaches.
int ScrollLimit(const SCROLLINFO& info) { return info.nMax - std::max(static_cast<int>(info.nPage) - 1, 0); }

SCROLLINFO ReadScrollInfo(CScrollBar* bar)
{
    SCROLLINFO info = {};
    bar->GetScrollInfo(&info, SIF_ALL);
    return info;
}

// The new position of one bar for a scroll code.
int StepPosition(CScrollBar* bar, UINT code, UINT trackPosition, int line, int page)
{
    const SCROLLINFO info = ReadScrollInfo(bar);
    int position = info.nPos;
    switch (code) {
    case SB_LINEUP:
        position -= line;
        break;
    case SB_LINEDOWN:
        position += line;
        break;
    case SB_PAGEUP:
        position = std::max(0, position - page);
        break;
    case SB_PAGEDOWN:
        position = std::min(ScrollLimit(info), position + page);
        break;
    case SB_THUMBTRACK:
        position = static_cast<int>(trackPosition);
        break;
    default:
        break;
    }
    return position;
}

}  // namespace

CKWView::CKWView()
    : m_lineStep(5, 5), m_pageStep(150, 150), m_viewTool(nullptr), m_backBitmap(nullptr), m_backGraphics(nullptr)
{
}

CKWView::~CKWView()
{
    delete m_viewTool;
    delete m_backGraphics;
    delete m_backBitmap;
}

void CKWView::InitializeView(CKWDocument* document)
{
    RecreateBackBuffer(1, 1);
    CreateViewTool();
    m_pageFrame = dynamic_cast<CKWWinBasePageFrame*>(GetParent());
    CenterContent();
}

bool CKWView::GetContentRect(CRect& rect)
{
    const CPoint origin = GetScrollPosition();
    KWDoubleSize size = {0, 0};
    GetContentSize(size);
    rect.SetRect(origin.x, origin.y, origin.x + static_cast<int>(size.cx), origin.y + static_cast<int>(size.cy));
    return true;
}

void CKWView::ResetScrolling()
{
    CRect client;
    GetClientRect(&client);
    const int width = client.Width();
    const int height = client.Height();
    KWDoubleSize size = {0, 0};
    GetContentSize(size);
    m_pageStep = CSize(static_cast<int>(kPageStepShare * width), static_cast<int>(kPageStepShare * height));
    m_lineStep = CSize(static_cast<int>(kLineStepShare * width), static_cast<int>(kLineStepShare * height));
    const int margins = 2 * g_KWScrollMargin;
    if (CScrollBar* bar = GetVertScrollBar())
        SetScrollInfo(bar, 0, std::max(height, static_cast<int>(size.cy) + margins) - 1, height, 0);
    if (CScrollBar* bar = GetHorzScrollBar())
        SetScrollInfo(bar, 0, std::max(width, static_cast<int>(size.cx) + margins) - 1, width, 0);
}

void CKWView::RecalcScrolling()
{
    ResetScrolling();
    UpdateScrollBars();
}

void CKWView::CenterContent()
{
    ResetScrolling();
    CRect client;
    GetClientRect(&client);
    KWDoubleSize size = {0, 0};
    GetContentSize(size);
    const CPoint minimum = GetMinimumOrigin();
    CPoint origin;
    origin.x = minimum.x + static_cast<int>((client.Width() - size.cx) * 0.5);
    // Content taller than the view starts just below its top edge.
    origin.y = size.cy < client.Height() ? static_cast<int>((client.Height() - size.cy) * 0.5) : 5;
    SetScrollPosition(origin);
    UpdateScrollBars();
}

void CKWView::UpdateScrollBars()
{
    CRect client;
    GetClientRect(&client);
    CRect content;
    GetContentRect(content);
    CRect united = content;
    CRect extra;
    if (GetExtraRect(extra))
        united.UnionRect(&content, &extra);
    for (int axis = 0; axis < 2; ++axis) {
        const bool horizontal = axis == 0;
        CScrollBar* bar = horizontal ? GetHorzScrollBar() : GetVertScrollBar();
        if (!bar)
            continue;
        const int extent = horizontal ? client.Width() : client.Height();
        const int contentNear = horizontal ? content.left : content.top;
        const int contentFar = horizontal ? content.right : content.bottom;
        const int unitedNear = horizontal ? united.left : united.top;
        const int unitedFar = horizontal ? united.right : united.bottom;
        int contentMargin = g_KWScrollMargin;
        if (extent > contentFar - contentNear)
            contentMargin = static_cast<int>((extent - (contentFar - contentNear)) * 0.5);
        int unitedMargin = g_KWScrollMargin;
        if (extent > unitedFar - unitedNear)
            unitedMargin = static_cast<int>((extent - (unitedFar - unitedNear)) * 0.5);
        const int lowest = std::min({0, unitedNear - unitedMargin, contentNear - contentMargin});
        const int highest = std::max({extent, unitedFar + unitedMargin, contentFar + contentMargin});
        int minimum = 0;
        int maximum = 0;
        GetScrollRange(bar, minimum, maximum);
        const int position =
            lowest < 0 ? std::max(unitedMargin - unitedNear, contentMargin - contentNear) : 0;
        SetScrollInfo(bar, minimum, highest - lowest - 1, extent, position);
    }
}

void CKWView::ScrollContent(int dx, int dy)
{
    if (dx != 0 || dy != 0)
        ScrollContentBy(dx, dy);
}

void CKWView::ScrollLines(bool horizontal, int count)
{
    const int delta = -(horizontal ? m_lineStep.cx : m_lineStep.cy) * count;
    const CPoint before = GetScrollPosition();
    if (horizontal)
        ScrollHorz(delta);
    else
        ScrollVert(delta);
    const CPoint after = GetScrollPosition();
    ScrollContent(after.x - before.x, after.y - before.y);
    UpdateScrollBars();
}

int CKWView::GetWheelShift() { return g_KWWheelShift; }

bool CKWView::OnScroll(UINT code, UINT position)
{
    const UINT horizontalCode = code & 0xFF;
    const UINT verticalCode = (code >> 8) & 0xFF;
    CScrollBar* horizontal = GetHorzScrollBar();
    CScrollBar* vertical = GetVertScrollBar();
    int dx = 0;
    int dy = 0;
    if (horizontal)
        dx = StepPosition(horizontal, horizontalCode, position, m_lineStep.cx, m_pageStep.cx) -
             horizontal->GetScrollPos();
    if (vertical)
        dy = StepPosition(vertical, verticalCode, position, m_lineStep.cy, m_pageStep.cy) - vertical->GetScrollPos();
    const CPoint before = GetScrollPosition();
    const bool result = OnScrollBy(dx, dy);
    if (horizontalCode != SB_ENDSCROLL && verticalCode != SB_ENDSCROLL) {
        const CPoint after = GetScrollPosition();
        ScrollContent(after.x - before.x, after.y - before.y);
    } else {
        UpdateScrollBars();
    }
    return result;
}

bool CKWView::OnScrollBy(int dx, int dy)
{
    const bool horizontal = ScrollHorz(dx);
    const bool vertical = ScrollVert(dy);
    return horizontal || vertical;
}

bool CKWView::ScrollAxis(CScrollBar* bar, int delta, bool horizontal)
{
    if (!bar || !bar->m_hWnd || delta == 0)
        return false;
    SCROLLINFO info = ReadScrollInfo(bar);
    int position = info.nPos + delta;
    const int limit = ScrollLimit(info);
    if (position < info.nMin) {
        info.nMax += info.nMin - position;
        position = 0;
    } else if (position > limit) {
        info.nMax += position - limit;
    }
    SCROLLINFO range = {};
    range.fMask = SIF_RANGE;
    range.nMin = info.nMin;
    range.nMax = info.nMax;
    bar->SetScrollInfo(&range, FALSE);
    CPoint origin = GetScrollPosition();
    (horizontal ? origin.x : origin.y) -= delta;
    SetScrollPosition(origin);
    bar->SetScrollPos(position, TRUE);
    return true;
}

bool CKWView::ScrollHorz(int delta) { return ScrollAxis(GetHorzScrollBar(), delta, true); }

bool CKWView::ScrollVert(int delta) { return ScrollAxis(GetVertScrollBar(), delta, false); }

void CKWView::ScrollBy(int dx, int dy)
{
    const int kSmallestStep = 5;
    if (std::abs(dx) < kSmallestStep && std::abs(dy) < kSmallestStep)
        return;
    int appliedX = 0;
    int appliedY = 0;
    if (dx != 0 && ScrollHorz(dx))
        appliedX = dx;
    if (dy != 0 && ScrollVert(dy))
        appliedY = dy;
    ScrollContent(-appliedX, -appliedY);
    UpdateScrollBars();
}

bool CKWView::IsDoubleBuffered() { return true; }

void CKWView::OnSizeBuffer(int cx, int cy)
{
    if (IsDoubleBuffered() && cx > 0 && cy > 0)
        RecreateBackBuffer(cx, cy);
}

void CKWView::Paint(IKWGraphics* graphics, const CRect& rect)
{
    const bool buffered = IsDoubleBuffered() && m_backGraphics;
    IKWGraphics* target = buffered ? m_backGraphics : graphics;
    CRect box;
    ::GetRgnBox(m_updateRegion, &box);
    target->SaveTransform();
    ApplyScrollTransform(target);
    if (!box.IsRectEmpty())
        Draw(target, box);
    target->RestoreTransform();
    // One image draw per paint puts the buffer on the screen.
    if (buffered && !box.IsRectEmpty())
        graphics->DrawImage(0, 0, m_backBitmap, nullptr);
}

CPoint CKWView::GetMinimumOrigin() { return CPoint(0, 0); }

CPoint CKWView::GetScrollPosition() { return m_viewTool ? m_viewTool->GetOrigin() : CPoint(0, 0); }

void CKWView::SetScrollPosition(const CPoint& origin)
{
    if (m_viewTool)
        m_viewTool->SetOrigin(origin);
}

void CKWView::GetScrollRange(CScrollBar* bar, int& minimum, int& maximum)
{
    minimum = maximum = 0;
    if (bar && bar->m_hWnd)
        bar->GetScrollRange(&minimum, &maximum);
}

void CKWView::SetScrollInfo(CScrollBar* bar, int minimum, int maximum, int page, int position)
{
    if (!bar || !bar->m_hWnd)
        return;
    SCROLLINFO info = {};
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = minimum;
    info.nMax = maximum;
    info.nPage = static_cast<UINT>(std::max(page - 1, 0));
    info.nPos = position;
    bar->SetScrollInfo(&info, TRUE);
}

void CKWView::CreateViewTool()
{
    delete m_viewTool;
    m_viewTool = new CKWViewTool;
}

void CKWView::RecreateBackBuffer(int cx, int cy)
{
    if (!IsDoubleBuffered())
        return;
    cx = cx < 2 ? 1 : cx;
    cy = cy < 2 ? 1 : cy;
    if (m_backBitmap && m_backBitmap->IsValid() && m_backBitmap->GetWidth() >= cx &&
        m_backBitmap->GetHeight() >= cy)
        return;
    const int width = std::max(m_backBitmap ? m_backBitmap->GetWidth() : 0, cx);
    const int height = std::max(m_backBitmap ? m_backBitmap->GetHeight() : 0, cy);
    delete m_backGraphics;
    m_backGraphics = nullptr;
    if (!m_backBitmap)
        m_backBitmap = new CKWGdipBitmap;
    if (m_backBitmap->Create(width, height, CKWGdipBitmap::kPixelFormat32bppARGB))
        m_backGraphics = new CKWGdiPlusDraw(*m_backBitmap);
}

void CKWView::ApplyScrollTransform(IKWGraphics* graphics)
{
    const CPoint origin = GetScrollPosition();
    graphics->Translate(origin.x, origin.y);
}

void CKWView::EraseBackground(IKWGraphics* graphics, const CRect* rect)
{
    CRect area;
    if (rect)
        area = *rect;
    else
        GetClientRect(&area);
    graphics->BeginPath();
    graphics->AddRectangle(area.left, area.top, area.Width(), area.Height());
    graphics->FillPath(CKWBrush(CKWColor::FromRgb(0xFF, 0xFF, 0xFF)));
}

void CKWView::ScrollContentBy(int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return;
    CRect client;
    GetClientRect(&client);
    ScrollWindowBy(client, dx, dy);
    if (dx > 0)
        InvalidateRect(CRect(client.left, client.top, client.left + dx, client.bottom), TRUE);
    if (dx < 0) {
        const int widened = ::GetSystemMetrics(SM_CXEDGE) + ::GetSystemMetrics(SM_CXHSCROLL);
        InvalidateRect(CRect(client.right + dx - widened, client.top, client.right, client.bottom), TRUE);
    }
    if (dy > 0)
        InvalidateRect(CRect(client.left, client.top, client.right, client.top + dy), TRUE);
    if (dy < 0) {
        const int widened = ::GetSystemMetrics(SM_CYEDGE) + ::GetSystemMetrics(SM_CYVSCROLL);
        InvalidateRect(CRect(client.left, client.bottom + dy - widened, client.right, client.bottom), TRUE);
    }
    UpdateWindow();
}
