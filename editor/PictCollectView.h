#pragma once
// CPictCollectView: the image gallery's thumbnail pane: the images of the
// shown folder in 134-pixel cells, selected several at a time, added to the
// current section by a double click, and dragged into a report as file names.
#include "controls/KWItemsPanel.h"
#include "platform/classlib/String.h"
#include "resources/Editor.h"

#include <vector>

class CFlItem;
class CImItem;
class CPictCollectBar;

class CPictCollectView : public CKWItemsPanel {
public:
    static constexpr int kCellSize = 134;

    explicit CPictCollectView(CPictCollectBar* owner);
    ~CPictCollectView() override;

    // Fills the selection's part of the cell with the highlight colour.
    virtual void DrawSelection(IKWGraphics& graphics, const RECT& cell);
    // The selected images' thumbnails as one bitmap; null without any.
    virtual HBITMAP CreateDragImage();
    // The image at the index; null for another entry or index.
    virtual CImItem* GetImage(int index);

    // Copies of the folder's images replace the view's (null: nothing happens).
    void ShowFolder(CFlItem* folder);
    // Empties the view and forgets its folder.
    void Clear();
    CFlItem* GetShownFolder() const { return m_folder; }
    // The selected images' file paths, in selection order, appended.
    void CollectSelectedFiles(std::vector<CString>& files);

    // --- The items panel ---
    int GetRowHeight() override { return kCellSize; }
    int GetCellWidth() override { return kCellSize; }
    int16_t GetLineStep() override { return IsRowScrolling() ? 1 : 5; }
    UINT GetContextMenuId() override { return IDR_TAL_GALLERY_VIEW_MENU; }
    void DrawBackground(IKWGraphics& graphics, const RECT& clip) override;
    void DrawItem(int index, IKWGraphics& graphics, const RECT& cell) override;
    // The gallery takes the keyboard focus, then the click selects.
    bool OnLButtonDown(int x, int y) override;
    // Selects as the left button does, without focus or capture.
    bool OnRButtonDown(int x, int y) override;
    // The active report adds the selected images to its current section.
    bool OnLButtonDblClk(int x, int y) override;
    // Ctrl+Shift+VK_NUMPAD1 selects every thumbnail.
    bool OnKeyDown(const CKWKeyRecord& key) override;

    // --- Dragging images into a report ---
    // A report document is active.
    bool CanStartDrag() override;
    void BeginDrag(const CPoint& start) override;

private:
    CPictCollectBar* m_owner;
    CFlItem* m_folder = nullptr;
};
