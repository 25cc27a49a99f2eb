#include "framework/KWSplitterIFace.h"

#include <algorithm>

namespace {

int TotalAlong(CKWSplitItem* item, bool alongX)
{
    if (!item)
        return 0;
    return alongX ? item->GetTotalWidth() : item->GetTotalHeight();
}

}  // namespace

CKWSplitterIFace::CKWSplitterIFace(bool vertical)
    : m_first(nullptr), m_second(nullptr), m_vertical(vertical), m_ratio(0.5), m_moveBarFirst(false)
{
}

CKWSplitterIFace::~CKWSplitterIFace()
{
    CKWSplitItem* children[] = {m_first, m_second};
    m_first = m_second = nullptr;
    for (CKWSplitItem* child : children) {
        if (!child || child->GetParentSplitter() != this)
            continue;
        child->SetParentSplitter(nullptr);
        if (child->IsSplitter())
            delete child;
    }
}

void CKWSplitterIFace::SetChildren(CKWSplitItem* first, CKWSplitItem* second)
{
    m_first = first;
    m_second = second;
}

void CKWSplitterIFace::ReplaceChild(CKWSplitItem* child, CKWSplitItem* replacement)
{
    if (m_first == child)
        m_first = replacement;
    else if (m_second == child)
        m_second = replacement;
}

void CKWSplitterIFace::ForgetChild(CKWSplitItem* child) { ReplaceChild(child, nullptr); }

int CKWSplitterIFace::AlongAxis(CKWSplitItem* item) { return TotalAlong(item, m_vertical); }

bool CKWSplitterIFace::CanMoveEdge(int delta, bool alongX, bool afterEdge)
{
    if (!m_first && !m_second)
        return false;
    if (alongX != m_vertical)
        return (!m_first || m_first->CanMoveEdge(delta, alongX, afterEdge)) &&
               (!m_second || m_second->CanMoveEdge(delta, alongX, afterEdge));
    return (!m_first || m_first->CanMoveEdge(delta, alongX, false)) &&
           (!m_second || m_second->CanMoveEdge(delta, alongX, true));
}

bool CKWSplitterIFace::IsCollapsible()
{
    return m_first && m_second && m_first->IsCollapsible() && m_second->IsCollapsible();
}

bool CKWSplitterIFace::IsSplitter() { return true; }

void CKWSplitterIFace::SetSize(int cx, int cy, int dx, int dy)
{
    const int bar = g_KWSplitterThickness;
    if (!m_first && !m_second)
        return;
    if (!m_first || !m_second) {
        if (m_vertical)
            PlaceBar(dx, dy, bar, cy);
        else
            PlaceBar(dx, dy, cx, bar);
        (m_first ? m_first : m_second)->SetSize(cx, cy, 0, 0);
        return;
    }
    const int length = m_vertical ? cx : cy;
    const int a = AlongAxis(m_first);
    const int b = AlongAxis(m_second);
    const int delta = length - (bar + a + b);
    int da;
    int db;
    if (length > bar && (a != 0 || b != 0)) {
        da = static_cast<int>(static_cast<int64_t>(a) * delta / (a + b));
        db = delta - da;
        // A side that would vanish stays at 0; the other then changes by
        // delta - bar, as the layout always has.
        if (b + db <= 0) {
            db = -b;
            da = delta - bar;
        }
        if (a + da <= 0) {
            da = -a;
            db = delta - bar;
        }
    } else {
        da = db = std::max(0, static_cast<int>(delta * 0.5));
    }
    if (m_vertical) {
        PlaceBar(dx + da, dy, bar, cy);
        m_first->SetSize(a + da, cy, dx, dy);
        m_second->SetSize(b + db, cy, dx + da, dy);
    } else {
        PlaceBar(dx, dy + da, cx, bar);
        m_first->SetSize(cx, a + da, dx, dy);
        m_second->SetSize(cx, b + db, dx, dy + da);
    }
}

int CKWSplitterIFace::GetTotalWidth()
{
    if (m_vertical)
        return TotalAlong(m_first, true) + g_KWSplitterThickness + TotalAlong(m_second, true);
    return TotalAlong(m_first, true);
}

int CKWSplitterIFace::GetTotalHeight()
{
    if (!m_vertical)
        return TotalAlong(m_first, false) + g_KWSplitterThickness + TotalAlong(m_second, false);
    return TotalAlong(m_first, false);
}

void CKWSplitterIFace::Hide()
{
    HideBar();
    HideAll();
}

void CKWSplitterIFace::Show()
{
    ShowBar();
    ShowAll();
}

void CKWSplitterIFace::HideAll()
{
    if (m_first)
        m_first->HideAll();
    if (m_second)
        m_second->HideAll();
}

void CKWSplitterIFace::ShowAll()
{
    if (m_first)
        m_first->ShowAll();
    if (m_second)
        m_second->ShowAll();
}

void CKWSplitterIFace::Update()
{
    if (m_first)
        m_first->Update();
    if (m_second)
        m_second->Update();
}

void CKWSplitterIFace::ShiftEdge(int delta, bool alongX, bool grow, bool moveOrigin, bool resize) {}

void CKWSplitterIFace::ShiftSubtree(int delta, bool alongX, bool grow, bool moveOrigin, bool resize)
{
    if (!m_first && !m_second)
        return;
    if (alongX == m_vertical) {
        // Only the child next to the moving edge changes.
        if (grow) {
            if (m_second)
                m_second->ShiftSubtree(delta, alongX, true, false, resize);
        } else if (m_first) {
            m_first->ShiftSubtree(delta, alongX, false, true, resize);
        }
        return;
    }
    if (m_first)
        m_first->ShiftSubtree(delta, alongX, grow, !grow, resize);
    if (m_second)
        m_second->ShiftSubtree(delta, alongX, grow, !grow, resize);
    CKWSplitItem::ShiftEdge(delta, alongX, grow, !grow, resize);
}

void CKWSplitterIFace::MoveBar(int delta, bool vertical)
{
    if (!m_first && !m_second)
        return;
    // Moving back, a bar that asks for it goes first so that it is never drawn over a pane.
    const bool barFirst = delta < 0 && vertical && m_moveBarFirst;
    if (barFirst)
        CKWSplitItem::ShiftEdge(delta, vertical, false, true, false);
    if (m_first)
        m_first->ShiftSubtree(delta, vertical, true, false, true);
    if (m_second)
        m_second->ShiftSubtree(delta, vertical, false, true, true);
    if (!barFirst)
        CKWSplitItem::ShiftEdge(delta, vertical, false, true, false);
    const int a = TotalAlong(m_first, vertical);
    const int b = TotalAlong(m_second, vertical);
    if (a >= 1 && b > g_KWSplitterThickness)
        m_ratio = static_cast<double>(a) / (g_KWSplitterThickness + b + a);
}

bool CKWSplitterIFace::IsVertical() { return m_vertical; }

bool CKWSplitterIFace::IsChildCollapsible(bool first)
{
    CKWSplitItem* child = first ? m_first : m_second;
    return child && child->IsCollapsible();
}

void CKWSplitterIFace::Collapse(bool first)
{
    bool side = first;
    if (!IsChildCollapsible(side))
        side = !side;
    if (!IsChildCollapsible(side))
        return;
    const int a = AlongAxis(m_first);
    const int b = AlongAxis(m_second);
    m_ratio = static_cast<double>(a) / (g_KWSplitterThickness + b + a);
    MoveBar(side ? -a : std::max(0, b - g_KWSplitterThickness), m_vertical);
}

bool CKWSplitterIFace::IsCollapsed()
{
    return AlongAxis(m_first) == 0 || AlongAxis(m_second) <= g_KWSplitterThickness;
}

void CKWSplitterIFace::Expand()
{
    if (!IsCollapsed())
        return;
    const int whole = m_vertical ? GetTotalWidth() : GetTotalHeight();
    const int target = static_cast<int>(whole * m_ratio);
    MoveBar(target - AlongAxis(m_first), m_vertical);
}

CKWSplitterIFace* CKWSplitterIFace::FindAncestor(bool vertical)
{
    for (CKWSplitterIFace* splitter = m_parent; splitter; splitter = splitter->GetParentSplitter()) {
        if (splitter->IsVertical() == vertical)
            return splitter;
    }
    return nullptr;
}
