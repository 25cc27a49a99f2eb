#include "controls/KWItemsPanel.h"

#include <algorithm>

namespace {

bool EitherKeyDown(int left, int right)
{
    return ::GetKeyState(left) < 0 || ::GetKeyState(right) < 0;
}

}  // namespace

CKWItemsPanel::CKWItemsPanel() = default;

CKWItemsPanel::~CKWItemsPanel()
{
    RemoveAllItems();
}

void CKWItemsPanel::RemoveAllItems()
{
    m_items.Clear();
    m_selection.clear();
    m_current = -1;
}

void CKWItemsPanel::RemoveItem(int index)
{
    if (!IsItem(index))
        return;
    delete m_items[static_cast<size_t>(index)];
    m_items.erase(m_items.begin() + index);
}

CKWPlItem* CKWItemsPanel::GetCurrentItem()
{
    return IsItem(m_current) ? GetItem(m_current) : nullptr;
}

// ---- Layout -------------------------------------------------------------------

void CKWItemsPanel::RecalcLayout()
{
    m_cellWidth = GetCellWidth();
    m_rowHeight = GetRowHeight();
    m_columns = CalcColumns();
    m_rows = CalcRows();
}

int CKWItemsPanel::CalcColumns()
{
    RECT client = {};
    GetClientRect(&client);
    const int cell = std::max(GetCellWidth(), 1);
    return std::max(1, static_cast<int>(client.right - client.left) / cell);
}

int CKWItemsPanel::CalcRows()
{
    const int columns = std::max(m_columns, 1);
    return (GetItemCount() + columns - 1) / columns;
}

int CKWItemsPanel::ScrollOffset()
{
    const int position = GetScrollPos();
    return m_rowUnits ? position * m_rowHeight : position;
}

void CKWItemsPanel::HorizontalGap(int& gap, int& remainder)
{
    RECT client = {};
    GetClientRect(&client);
    const int free = client.right - m_columns * m_cellWidth - client.left;
    gap = free / (m_columns + 1);
    remainder = free - gap * (m_columns + 1);
}

RECT CKWItemsPanel::GetCellRect(int column, int row)
{
    const int offset = ScrollOffset();
    int gap = 0;
    int remainder = 0;
    HorizontalGap(gap, remainder);
    RECT cell;
    cell.left = (gap + m_cellWidth) * column + remainder / 2 + gap;
    cell.right = cell.left + m_cellWidth;
    cell.top = m_rowHeight * row - offset;
    cell.bottom = m_rowHeight * (row + 1) - offset;
    return cell;
}

RECT CKWItemsPanel::GetItemRect(int index)
{
    const int columns = std::max(m_columns, 1);
    return GetCellRect(index % columns, index / columns);
}

int CKWItemsPanel::ItemFromPoint(const CPoint& point)
{
    const int offset = ScrollOffset();
    int gap = 0;
    int remainder = 0;
    HorizontalGap(gap, remainder);
    const int pitch = std::max(m_cellWidth + gap, 1);
    const int x = std::min(static_cast<int>(point.x), pitch * m_columns - 1);
    const int column = (x - gap / 2) / pitch;
    const int row = (point.y + offset) / std::max(m_rowHeight, 1);
    return row * m_columns + column;
}

// ---- Scrolling ----------------------------------------------------------------

int CKWItemsPanel::GetScrollUnit()
{
    return m_rowUnits ? std::max(m_rowHeight, 1) : 1;
}

void CKWItemsPanel::UpdateScrollBars()
{
    RecalcLayout();
    RECT client = {};
    GetClientRect(&client);
    const int height = client.bottom - client.top;
    const int rowHeight = std::max(m_rowHeight, 1);
    const int visibleRows = height / rowHeight;
    const bool needed = m_rows * rowHeight > height;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    if (!needed) {
        // Nothing to scroll: the contents start at the top again.
        if (GetScrollPos() != 0) {
            SetScrollPos(0);
            Invalidate(TRUE);
        }
        ::EnableScrollBar(m_hWnd, SB_VERT, ESB_DISABLE_BOTH);
        return;
    }
    ::EnableScrollBar(m_hWnd, SB_VERT, ESB_ENABLE_BOTH);
    int maximum = (m_rows - visibleRows) * rowHeight;
    if (maximum >= kRowUnitsThreshold)
        m_rowUnits = true;
    if (m_rowUnits)
        maximum = m_rows - visibleRows;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = maximum;
    info.nPage = 0;
    ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

bool CKWItemsPanel::OnVScroll(int code, int position)
{
    return ScrollVertically(code, position, GetLineStep(), false, m_rowUnits ? m_rowHeight : 1);
}

int CKWItemsPanel::EnsureVisible(int index)
{
    if (!IsItem(index))
        return index;
    const RECT cell = GetItemRect(index);
    RECT client = {};
    GetClientRect(&client);
    if (cell.top >= client.top && cell.bottom <= client.bottom && cell.left >= client.left &&
        cell.right <= client.right)
        return cell.bottom;
    const int position = GetScrollPos() + (m_rowUnits ? cell.top / std::max(m_rowHeight, 1) : cell.top);
    SetScrollPos(position);
    return position;
}

void CKWItemsPanel::OnSizeChanged()
{
    UpdateScrollBars();
}

// ---- Painting -----------------------------------------------------------------

void CKWItemsPanel::Paint(IKWGraphics& graphics, const RECT& client, HRGN region)
{
    DrawBackground(graphics, client);
    const int count = GetItemCount();
    const int columns = std::max(m_columns, 1);
    for (int index = 0; index < count; ++index) {
        const RECT cell = GetCellRect(index % columns, index / columns);
        if (cell.top >= client.bottom)
            break;
        if (cell.bottom <= client.top)
            continue;
        if (region && !::RectInRegion(region, &cell))
            continue;
        DrawItem(index, graphics, cell);
    }
}

// ---- Selection ----------------------------------------------------------------

bool CKWItemsPanel::OnLButtonDown(int x, int y)
{
    CKWPanel::OnLButtonDown(x, y);
    const bool ctrl = EitherKeyDown(VK_LCONTROL, VK_RCONTROL);
    const bool shift = EitherKeyDown(VK_LSHIFT, VK_RSHIFT);
    SelectItem(ItemFromPoint(CPoint(x, y)), ctrl, shift, true, true);
    return true;
}

bool CKWItemsPanel::IsSelected(int index)
{
    if (!m_multiSelect)
        return index == m_current;
    return std::find(m_selection.begin(), m_selection.end(), index) != m_selection.end();
}

bool CKWItemsPanel::Unselect(int index)
{
    const auto found = std::find(m_selection.begin(), m_selection.end(), index);
    if (found == m_selection.end())
        return false;
    m_selection.erase(found);
    return true;
}

void CKWItemsPanel::InvalidateItem(int index)
{
    if (!IsItem(index) || !m_hWnd)
        return;
    const RECT cell = GetItemRect(index);
    InvalidateRect(&cell, TRUE);
}

void CKWItemsPanel::SelectItem(int index, bool ctrl, bool shift, bool invalidate, bool)
{
    if (index == m_current && !m_multiSelect)
        return;
    if (!IsItem(index)) {
        DeselectAll();
        Redraw(true);
        return;
    }
    int previous = -1;
    if (!m_multiSelect) {
        previous = m_current;
        m_current = index;
    } else {
        std::vector<bool> before(static_cast<size_t>(GetItemCount()), false);
        for (int selected : m_selection) {
            if (IsItem(selected))
                before[static_cast<size_t>(selected)] = true;
        }
        if (shift) {
            if (m_selection.empty()) {
                m_selection.push_back(index);
            } else if (index != m_current) {
                // The range from the anchor (the current item) to the click,
                // whichever items it covers.
                const int low = std::min(m_current, index);
                const int high = std::max(m_current, index);
                m_selection.erase(std::remove_if(m_selection.begin(), m_selection.end(),
                                                 [&](int selected) { return selected < low || selected > high; }),
                                  m_selection.end());
                for (int i = low; i <= high; ++i) {
                    if (!before[static_cast<size_t>(i)])
                        m_selection.push_back(i);
                }
            }
        } else if (ctrl) {
            if (!Unselect(index))
                m_selection.push_back(index);
        } else {
            if (before[static_cast<size_t>(index)])
                return;
            previous = m_selection.empty() ? -1 : m_selection.front();
            m_selection.clear();
            m_selection.push_back(index);
        }
        for (int i = 0; i < GetItemCount(); ++i) {
            if (before[static_cast<size_t>(i)] != IsSelected(i) && invalidate)
                InvalidateItem(i);
        }
        if (!IsSelected(m_current))
            m_current = m_selection.empty() ? -1 : m_selection.front();
    }
    InvalidateItems(index, previous, true, true);
}

void CKWItemsPanel::InvalidateItems(int first, int second, bool invalidate, bool updateNow)
{
    if (!invalidate || !m_hWnd)
        return;
    if (IsItem(first)) {
        InvalidateItem(first);
        if (second != -1)
            InvalidateItem(second);
        if (updateNow)
            UpdateWindow();
        return;
    }
    Invalidate(TRUE);
    if (updateNow)
        Redraw(true);
}

void CKWItemsPanel::ClearSelection(bool multiSelect)
{
    m_multiSelect = multiSelect;
    m_selection.clear();
    m_current = -1;
}

void CKWItemsPanel::SelectAll()
{
    m_selection.clear();
    m_current = -1;
    if (!m_hWnd)
        return;
    RECT client = {};
    GetClientRect(&client);
    if (GetItemCount() == 0) {
        Invalidate(TRUE);
        return;
    }
    m_current = 0;
    for (int i = 0; i < GetItemCount(); ++i)
        m_selection.push_back(i);
    RECT area = client;
    area.bottom = std::min(client.bottom, GetItemRect(GetItemCount() - 1).bottom);
    InvalidateRect(&area, TRUE);
}

void CKWItemsPanel::DeselectAll()
{
    for (int selected : m_selection)
        InvalidateItem(selected);
    InvalidateItem(m_current);
    m_selection.clear();
    m_current = -1;
}

int CKWItemsPanel::GetFirstSelectedIndex()
{
    if (!m_multiSelect)
        return m_current;
    return m_selection.empty() ? -1 : m_selection.front();
}

int CKWItemsPanel::GetNextSelectedIndex(int& index)
{
    int next = -1;
    if (!m_multiSelect) {
        next = index == -1 ? m_current : -1;
    } else if (index == -1) {
        next = m_selection.empty() ? -1 : m_selection.front();
    } else {
        const auto found = std::find(m_selection.begin(), m_selection.end(), index);
        if (found != m_selection.end() && found + 1 != m_selection.end())
            next = *(found + 1);
    }
    index = next;
    return next;
}

CKWPlItem* CKWItemsPanel::GetFirstSelectedItem(int& index)
{
    index = GetFirstSelectedIndex();
    return IsItem(index) ? GetItem(index) : nullptr;
}

CKWPlItem* CKWItemsPanel::GetNextSelectedItem(int& index)
{
    GetNextSelectedIndex(index);
    return IsItem(index) ? GetItem(index) : nullptr;
}
