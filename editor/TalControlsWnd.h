#pragma once
// CTalControlsWnd: the section image panel of a report window. It shows the
// current section's pictures as thumbnails (several may be selected) or one
// at a time as a preview with its title in an edit box and four navigation
// buttons; a row of image buttons below runs the document's picture
// commands and switches the mode. The list is filled at once with titles;
// picture-loading threads bring the thumbnails, one message per picture.
// Pictures, image files, folders, reports and bitmaps dropped on it are
// inserted (or opened) as one undoable step each; selected thumbnails can
// be dragged out. TalControlsWndContent.cpp holds the content and the drag
// and drop.
#include "controls/KWBitmapControl.h"
#include "controls/KWButtonControl.h"
#include "controls/KWDragDropPane.h"
#include "controls/KWEditControl.h"
#include "controls/KWListImagesView.h"
#include "controls/ThemeHelperST.h"
#include "controls/XPStyleButtonST.h"
#include "editor/TalPaneWnd.h"
#include "editor/TalPictureChecks.h"
#include "editor/TalPictureReading.h"
#include "framework/KWRasterImage.h"
#include "framework/KWThreadOwner.h"
#include "framework/KWTimerIFace.h"
#include "model/TalPicture.h"

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <vector>

class CTalDocFrame;
class CTalDocument;
class CTalSection;
struct KWRasterImage;

// The drag-scroll tick, posted from the multimedia timer's thread (wParam: the timer id).
constexpr UINT WM_TAL_DRAG_TIMER = WM_APP + 0x121;

class CTalControlsWnd : public CTalPaneWnd,
                        public CKWDragDropPane,
                        public CKWTimerIFace,
                        public CKWWinThreadOwner {
public:
    // The thumbnails' side in the list, and the list's reserve below it.
    static constexpr int kThumbnailSide = 124;
    static constexpr int kButtonRow = 36;
    // The drag-scroll timer: its period, the rest before it scrolls, the
    // bands at the list's edges and the step.
    static constexpr UINT kDragTimerMs = 60;
    static constexpr DWORD kDragRestMs = 700;
    static constexpr int kDragBand = 30;
    static constexpr int kDragStep = 15;

    CTalControlsWnd();
    // Stops the loading threads before the controls go.
    ~CTalControlsWnd() override;

    // The frame whose document the panel shows; set before the pane is made.
    void AttachFrame(CTalDocFrame* frame) { m_frame = frame; }
    virtual void OnImageTitleChanged(int index, const CString& title);
    // Run once, by the pane's creation.
    void InitControls() override;
    void TakeFocus() override;
    // The focus manager is told also when the list or the preview takes the focus.
    void AttachFocusManager(CKWFocusManager* manager) override;

    bool IsThumbnailsMode() const { return m_thumbnailsMode; }
    int GetCurrentImageIndex();
    bool HasCurrentImage();
    bool ApplyToSelectedImages(CTalPositionList& indices);
    void SelectImages(const CTalPositionList& indices);
    void SelectAll();
    bool CanSelectAll();
    void ShowPreview();
    void ShowThumbnails();
    void ToggleViewMode();
    void GoToFirstImage();
    void GoToPreviousImage();
    void GoToNextImage();
    void GoToLastImage();
    bool Rename();
    bool IsEditingTitle();
    void EndTitleEdit(bool cancel);
    bool IsTitleModified();
    bool UpdateImageTitle(int index, const CString& title, bool startEdit);
    void ShowImageProperties();
    void UpdateImageButtons();
    bool Cut();
    bool DeleteSelected();
    bool Copy();
    bool Paste();
    bool CanCut();
    bool CanDelete();
    bool CanCopy();
    bool CanPaste();

    // --- Content (TalControlsWndContent.cpp) ---
    void LoadSectionImages(const CTalPictureList& pictures);
    // n not -1: the last n pictures are new at the end; -1: the pictures at
    // the positions were inserted there.
    void InsertImages(const CTalPictureList& pictures, const CTalPositionList& indices, int n);
    void UpdateImages(const CTalPictureList& pictures, const CTalPositionList& indices);
    void UpdateDefaultGrayscaleImages(const CTalPictureList& pictures);
    // The pictures just added are read by the loading threads, their files
    // checked after the thumbnails: the busy cursor, the progress window
    // after a second, and one warning for their problems once every file is
    // checked. False when the panel has no window.
    bool ReadAddedPictures(const std::vector<uint32_t>& pictureIds);
    const CTalPictureReading& GetReading() const { return m_reading; }
    // The picture's rotation and greyscale applied to a cached image, faded
    // when the picture is left out of the report; null when none applies.
    KWRasterImage* MakeDisplayImage(const KWRasterImage* image, const CTalPicture& picture);
    // The image's colours half-way to white (a picture left out of the report).
    static void FadeTowardsWhite(KWRasterImage& image);
    LRESULT OnImageItemLoaded(WPARAM pictureId, LPARAM result);

    // --- Drag and drop (TalControlsWndContent.cpp) ---
    void BeginDrag(const CPoint& start) override;
    bool CanStartDrag() override;
    bool OnOwnDragEnter(const CPoint& point, KWDragInfo* info, const uint8_t* data, size_t size,
                        int reserved) override;
    void OnOwnDragOver(KWDragInfo* info, const CPoint& point) override;
    void OnOwnDragLeave() override;
    bool OnOwnDrop(const CPoint& point, KWDragInfo* info, const uint8_t* data, size_t size, int reserved) override;
    int OnFilesDragEnter(const CPoint& point, const std::vector<CString>& paths) override;
    int OnFilesDrop(const CPoint& point, const std::vector<CString>& paths) override;
    DROPEFFECT OnBitmapDragEnter(COleDataObject* data, CLIPFORMAT format, const CPoint& point) override;
    DROPEFFECT OnBitmapDragOver(COleDataObject* data, CLIPFORMAT format, const CPoint& point) override;
    int OnBitmapDrop(COleDataObject* data, CLIPFORMAT format, const CPoint& point) override;
    // From the multimedia timer's thread: only a message to the panel.
    void OnTimer(UINT timerId) override;
    // One tick of the drag scroll, on the panel's thread.
    void OnDragTimer();
    UINT GetDragTimer() const { return m_dragTimer; }

    CKWListImagesView& GetList() { return m_list; }
    CKWBitmapControl& GetPreview() { return m_preview; }

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnButton(UINT id);
    afx_msg void OnPreviewClicked();
    afx_msg void OnTitleSetFocus();
    afx_msg void OnTitleKillFocus();
    afx_msg LRESULT OnImageLoadedMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDragTimerMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTimerMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The list and the preview tell the focus manager when they take the focus.
    void TellFocusOfPictures();
    CTalDocument* GetDocument() const;
    CTalSection* GetSection() const;
    bool GrayscaleDefault() const;
    void ShowImage(int index, bool onlyIfChanged);
    void CommitTitleEdit(bool save);
    void EndAnyTitleEdit();
    void SetStatusText(const CString& text);
    void EnableNavigation(bool first, bool last);
    HWND TitleEdit() const { return GetItemHwnd(kTitleEdit); }
    bool TitleHasFocus() const;
    // True when the box holds a title the user typed since it was filled,
    // other than the current item's; the title goes to text.
    bool TitleTyped(CString& text);
    // The cached thumbnail of the picture (or the one given) made into its
    // display image; the item is repainted where the list shows it.
    void SetItemImage(int index, const CTalPicture& picture);
    void SetItemImage(int index, const CTalPicture& picture, const KWSharedRasterImage& thumbnail);
    // True when some of the item shows in the list; with itemRect, the
    // item's rectangle goes there.
    bool IsItemInView(int index, RECT* itemRect = nullptr);
    // A thumbnail that came for items out of view, put in at the next tick.
    void DeferThumbnail(uint32_t pictureId);
    // The deferred thumbnails, for a tick's share of time.
    void ShowDeferredThumbnails();
    void DropDeferredThumbnails();
    // The items in view show the thumbnails the cache holds, and the list is
    // painted now.
    void ShowListAtOnce(const CTalPictureList& pictures);
    // Starts a loading thread for the pictures; the earlier ones stop first.
    // It also checks the files of the added pictures not checked yet.
    void StartLoading(const CTalPictureList& pictures);
    // The loading threads started so far stop before their next picture:
    // what they load is not shown any more.
    void StopLoading();
    void StartDragTimer();
    void StopDragTimer();
    int DropPosition(const CPoint& point);

    enum : UINT { kTitleEdit = 1144, kList = 1122, kPreviewPicture = 1134 };
    // The tick of the deferred thumbnails, and the time each tick gives them.
    static constexpr UINT_PTR kDeferredTimer = 0x7A2;
    static constexpr UINT kDeferredTickMs = 15;
    static constexpr DWORD kDeferredShareMs = 10;

    CThemeHelperST m_themeHelper;
    CXPStyleButtonST m_buttons[15];
    CKWButtonControl m_buttonFacades[13];
    CKWEditControl m_titleEdit;
    CKWListImagesView m_list;
    CKWBitmapControl m_preview;
    CTalDocFrame* m_frame = nullptr;
    int m_currentIndex = -1;
    bool m_notifications = true;
    bool m_thumbnailsMode = true;
    UINT m_dragTimer = 0;
    POINT m_lastCursor = {-1, -1};
    DWORD m_lastMove = 0;
    // Shared with the loading threads started since the last StopLoading.
    std::shared_ptr<std::atomic<bool>> m_loadingStop;
    // The files the last loading thread checks after its thumbnails.
    std::shared_ptr<CTalPictureChecks> m_checks;
    CTalPictureReading m_reading;
    // Thumbnails that came for items out of view, by picture id, in the
    // order they came; held, so that the cache may let them go meanwhile.
    std::map<uint32_t, KWSharedRasterImage> m_deferred;
    std::deque<uint32_t> m_deferredOrder;
    bool m_deferredTimer = false;
};
