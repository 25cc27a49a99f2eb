#pragma once
// CKWItemsPanel: a panel that shows its items as a grid of equal cells, row
// after row, scrolled vertically (in pixels, or in rows once the range
// would reach 32000 pixels), with a current item and a single or multiple
// selection that clicks drive with Ctrl and Shift. A derived panel gives
// the cell size and draws each item; the panel owns its items.
#include "controls/KWPanel.h"
#include "controls/KWPlItem.h"

#include <cstdint>
#include <vector>

class CKWItemsPanel : public CKWPanel {
public:
    CKWItemsPanel();
    // Deletes every item.
    ~CKWItemsPanel() override;

    // --- The items panel's operations ---
    // Deletes every item; no selection, no current item.
    virtual void RemoveAllItems();
    // Scrolls (without repainting) so that the item's cell starts at the
    // top, unless it lies wholly inside the client area: then the cell's
    // bottom. An index outside the items is returned as it is.
    virtual int EnsureVisible(int index);
    virtual RECT GetItemRect(int index);
    // Cells spread over the width with equal gaps, rows without gaps, moved
    // up by the scroll position.
    virtual RECT GetCellRect(int column, int row);
    virtual int GetRowHeight() { return 36; }
    virtual int GetCellWidth() { return 36; }
    // The client width over the cell width, at least 1.
    virtual int CalcColumns();
    virtual int CalcRows();
    virtual int16_t GetLineStep() { return 1; }
    virtual void DrawBackground(IKWGraphics& graphics, const RECT& clip) {}
    virtual void DrawItem(int index, IKWGraphics& graphics, const RECT& cell) = 0;
    // A click on the item with the keys; an index past the items deselects all.
    virtual void SelectItem(int index, bool ctrl, bool shift, bool invalidate, bool updateNow);
    // The two cells (second -1: none) when first is an item, else the client area.
    virtual void InvalidateItems(int first, int second, bool invalidate, bool updateNow);
    // Empties the selection in the given mode (no repaint).
    virtual void ClearSelection(bool multiSelect);
    virtual bool IsMultiSelect() { return m_multiSelect; }
    virtual bool IsSelected(int index);
    virtual void SelectAll();
    virtual void DeselectAll();
    virtual int GetFirstSelectedIndex();
    // The selected index after index (-1: the first), written back; -1 at the end.
    virtual int GetNextSelectedIndex(int& index);
    virtual CKWPlItem* GetFirstSelectedItem(int& index);
    virtual CKWPlItem* GetNextSelectedItem(int& index);

    // --- Items ---
    void AddItem(CKWPlItem* item) { m_items.push_back(item); }
    // Deletes the item at the index; the selection stays as it is.
    void RemoveItem(int index);
    CKWPlItem* GetItem(int index) { return m_items[static_cast<size_t>(index)]; }
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // Null without a current item.
    CKWPlItem* GetCurrentItem();
    int GetCurrentIndex() const { return m_current; }
    // row x columns + column of the cell under the client point, not checked
    // against the item count.
    int ItemFromPoint(const CPoint& point);
    const std::vector<int>& GetSelection() const { return m_selection; }
    int GetColumns() const { return m_columns; }
    int GetRows() const { return m_rows; }
    bool IsRowScrolling() const { return m_rowUnits; }

    // --- The panel's operations ---
    // Codes 0-3 move by lines (GetLineStep) and pages, kept in the bar's
    // range and never against their direction; code 5 goes to the position
    // as given. The contents move by rows in row units.
    bool OnVScroll(int code, int position) override;
    // The row height in row units, else 1.
    int GetScrollUnit() override;
    void RecalcLayout() override;
    void UpdateScrollBars() override;
    // The background, then the cells that meet the clip and the region.
    void Paint(IKWGraphics& graphics, const RECT& client, HRGN region) override;
    // The press, then SelectItem of the cell under it with the Ctrl and Shift keys.
    bool OnLButtonDown(int x, int y) override;
    void OnSizeChanged() override;

    // Scroll ranges from this many pixels on count rows.
    static constexpr int kRowUnitsThreshold = 32000;

protected:
    // The scroll position in pixels.
    int ScrollOffset();
    // The free space between cells: gap = free / (columns + 1).
    void HorizontalGap(int& gap, int& remainder);
    void InvalidateItem(int index);
    bool IsItem(int index) const { return index >= 0 && index < GetItemCount(); }
    // Removes the index from the selection; false when it was not in it.
    bool Unselect(int index);

    CKWPlItems m_items;
    int m_cellWidth = 0;
    int m_rowHeight = 0;
    int m_columns = 0;
    int m_rows = 0;
    bool m_rowUnits = false;
    bool m_multiSelect = false;
    int m_current = -1;
    std::vector<int> m_selection;
};
