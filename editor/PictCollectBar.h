#pragma once
// CPictCollectBar: the image gallery, a docking bar of the main window. Its
// upper pane lists the opened folders, its lower pane shows the images of
// the chosen folder; folders come from the "Add Folder" command or are
// dropped from the shell, the bar's place is kept in the preferences.
#include "controls/KWDragBar.h"
#include "editor/PictCollectList.h"
#include "editor/PictCollectView.h"
#include "platform/classlib/String.h"

#include <vector>

class CFrameWnd;
class CTalPrefs;

class CPictCollectBar : public CKWDragBar {
    DECLARE_DYNAMIC(CPictCollectBar)
public:
    static constexpr UINT kBarId = 5971;
    static constexpr DWORD kStyle = 0x46004140;
    static constexpr UINT kIconId = 128;

    CPictCollectBar();
    ~CPictCollectBar() override;

    // Makes the bar on the main frame at the preferences' place, floating or
    // docked; false when the window cannot be made.
    bool CreatePictCollectBar(CFrameWnd* frame, const CTalPrefs& prefs);
    // The docking library's own state, then the rectangle, the floating
    // flag and (docked) the side into the preferences.
    void SavePictCollectBarState(CTalPrefs& prefs);
    // True when the workspace holds the bar's docking state from an earlier
    // run, so that the stored docking layout has a place for it.
    static bool HasStoredState();

    // Opens the folder: its images, unless it holds none (reported once
    // while reported is false). An open folder is selected again unless
    // skipIfOpen is false, when it is listed twice.
    void AddFolder(const CString& path, bool& reported, bool select, bool skipIfOpen, bool withSubfolders);
    // Every sub-folder below the path, depth first, each before its own.
    void AddSubfolders(const CString& path, bool& reported, bool skipIfOpen);
    void ShowFolder(CFlItem* folder);
    void CloseCurrentFolder();
    // Empties both panes and hides the bar.
    void CloseAllFolders();
    // Selected thumbnails that carry a file path.
    int GetSelectedImageCount();
    // Their paths, in selection order, appended; true when files is not empty.
    bool GetSelectedImageFiles(std::vector<CString>& files);
    int GetFolderCount() const { return m_list.GetItemCount(); }

    CPictCollectList& GetList() { return m_list; }
    CPictCollectView& GetView() { return m_view; }

    // --- The drag bar ---
    void RecalcLayout() override;
    void GetMinSize(CSize& size) const override;
    // The folder list above, as many whole rows as fit in half the client
    // height (one to ten, none without folders), shrunk until a row of
    // thumbnails fits below; the view below it.
    virtual void CalcPaneRects(RECT& list, RECT& view);
    virtual int GetFolderRowHeight() { return m_list.GetRowHeight(); }
    virtual int GetMaxFolderRows() { return 10; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnDropFiles(HDROP drop);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    DECLARE_MESSAGE_MAP()

private:
    CPictCollectList m_list;
    CPictCollectView m_view;
};
