#pragma once
// CPictCollectList: the image gallery's folder pane: one row per opened
// folder, drawn as a push button (pressed for the current folder), single
// selection; choosing a folder shows its images in the gallery's view.
#include "controls/KWItemsPanel.h"
#include "platform/classlib/String.h"
#include "resources/Editor.h"

class CFlItem;
class CPictCollectBar;

class CPictCollectList : public CKWItemsPanel {
public:
    static constexpr int kRowHeight = 20;

    explicit CPictCollectList(CPictCollectBar* owner);
    ~CPictCollectList() override;

    // The folder at the index; null for another entry or index.
    virtual CFlItem* GetFolder(int index);
    // The first folder whose path equals the path exactly; false and -1 for none.
    virtual bool FindFolder(const CString& path, int& index);
    virtual void RefreshScrollBars() { UpdateScrollBars(); }

    // --- The items panel ---
    int GetRowHeight() override { return kRowHeight; }
    // One column: the client width.
    int GetCellWidth() override;
    UINT GetContextMenuId() override { return IDR_TAL_GALLERY_LIST_MENU; }
    void DrawBackground(IKWGraphics& graphics, const RECT& clip) override;
    void DrawItem(int index, IKWGraphics& graphics, const RECT& cell) override;
    // After a selection step: the folder named first is shown.
    void InvalidateItems(int first, int second, bool invalidate, bool updateNow) override;
    // The gallery takes the keyboard focus, then the click selects.
    bool OnLButtonDown(int x, int y) override;

protected:
    // Folders dropped on the list go to the gallery.
    afx_msg void OnDropFiles(HDROP drop);
    DECLARE_MESSAGE_MAP()

private:
    CPictCollectBar* m_owner;
};

// The gallery panes' background.
void DrawGalleryBackground(IKWGraphics& graphics, const RECT& clip);
