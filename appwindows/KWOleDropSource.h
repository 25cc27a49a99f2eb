#pragma once
// CKWOleDropSource: the drop source of the framework's drags: it moves a
// drag image (an image list) with the cursor while the drag runs, the
// image centred on the cursor.
#include "platform/classlib/OleDropSource.h"

#include <commctrl.h>

class CKWOleDropSource : public COleDropSource {
public:
    CKWOleDropSource();
    // Ends a drag image it showed and deletes the list it made.
    ~CKWOleDropSource() override;

    // Moves the image with the cursor, then the class library's decision.
    SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) override;
    SCODE GiveFeedback(DROPEFFECT dropEffect) override;
    // Uses a list that another object holds (and keeps).
    void SetImageList(HIMAGELIST imageList);
    // Shows the bitmap centred on the cursor; nothing when its size cannot be
    // read.
    void SetDragImage(HBITMAP bitmap);

private:
    void EndDragImage();

    HIMAGELIST m_imageList;
    // The drag image's size.
    int m_width;
    int m_height;
    bool m_ownsList;
};
