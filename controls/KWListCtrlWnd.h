#pragma once
// CKWListCtrlWnd: the list-view window behind the thumbnail list and the
// list control. It owns its items' data objects (each null or an object
// with a virtual destructor), shows a context menu, tells its owner when it
// gains the focus, starts a drag when the left button moves an item far
// enough, keeps the keys of a label edit from the dialog around it, and
// draws a picture in its background while it is empty.
#include "controls/KWDragDropPane.h"
#include "platform/classlib/ListCtrl.h"

#include <cstdint>

class CKWFocusManager;
class CKWImageViewData;

class CKWListCtrlWnd : public CListCtrl, public CKWDragDropPane {
    DECLARE_DYNAMIC(CKWListCtrlWnd)
public:
    // A move of more than this many pixels from the press starts a drag.
    static constexpr double kDragDistance = 5.0;

    CKWListCtrlWnd();
    // Deletes the background picture.
    ~CKWListCtrlWnd() override;

    virtual void SetMultiSelect(bool multi);
    virtual bool IsMultiSelect();
    // Escape (cancel) or Enter to the label's edit window, when one exists.
    virtual void EndEditLabel(bool cancel);
    virtual void SetLabelsReadOnly(bool readOnly);
    // The module's bitmap resource as the background picture; false when it cannot be loaded.
    virtual bool SetBackgroundBitmap(UINT resourceId);
    virtual bool QueryRange(int, int, int, int) { return false; }
    virtual bool QueryValue(int) { return false; }
    virtual void ForwardOwnDragOver(KWDragInfo* info, int x, int y) { OnOwnDragOver(info, CPoint(x, y)); }
    virtual void ForwardOwnDrop(int x, int y, KWDragInfo* info, const uint8_t* data, size_t size, int reserved)
    {
        OnOwnDrop(CPoint(x, y), info, data, size, reserved);
    }

    // Enter, Delete and Escape of a label edit are dispatched at once, so
    // that the dialog or frame around the list does not take them.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void SetOwner(CKWFocusManager* owner, int value)
    {
        m_owner = owner;
        m_focusValue = value;
    }
    void EnableDragStart(bool enable) { m_dragStart = enable; }
    void SetContextMenu(UINT menuId) { m_contextMenu = menuId; }
    CKWImageViewData* GetItemData(int index) const;
    // The old object is deleted (with deleteOld) only once the new one is set.
    bool SetItemData(int index, CKWImageViewData* data, bool deleteOld);
    bool DeleteItem(int index);
    void DeleteAllItems();
    // Deletes every item's data object and leaves null in its place.
    void ClearItemData();
    bool Cut();
    bool Copy();
    bool Clear();
    bool Paste();
    bool CanCut();
    bool CanCopy();
    bool CanClear();
    bool CanPaste();
    HBITMAP GetBackgroundBitmap() const { return m_background; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    // The edit box of the label being edited; null when none.
    HWND LabelEdit() const;
    void DrawBackground(HDC dc);

    UINT m_contextMenu = 0;
    int m_focusValue = 0;
    CKWFocusManager* m_owner = nullptr;
    CPoint m_dragPoint{-1, -1};
    bool m_dragStart = false;
    HBITMAP m_background = nullptr;
};

// Where a picture of w x h goes in a client area of width x height: centred
// at its own size when it fits, else scaled down with its proportions kept
// and centred. The drawn rectangle.
RECT KWFitPicture(int width, int height, int w, int h);
// Copies the bitmap into the rectangle as KWFitPicture places it; the drawn
// rectangle, relative to the rectangle's corner.
RECT KWBlitFitted(HDC dc, const RECT& client, HBITMAP bitmap);
