#include "appwindows/KWOleDropSource.h"

CKWOleDropSource::CKWOleDropSource() : m_imageList(nullptr), m_width(0), m_height(0), m_ownsList(false) {}

CKWOleDropSource::~CKWOleDropSource() { EndDragImage(); }

void CKWOleDropSource::EndDragImage()
{
    if (!m_imageList)
        return;
    if (m_ownsList) {
        // The image is taken off the screen first: ending the drag alone
        // leaves its last picture where no window paints again (a frame's
        // border under a drop on the tree).
        ::ImageList_DragLeave(::GetDesktopWindow());
        ::ImageList_EndDrag();
        ::ImageList_Destroy(m_imageList);
    }
    m_imageList = nullptr;
    m_ownsList = false;
}

SCODE CKWOleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState)
{
    if (m_imageList) {
        POINT cursor;
        ::GetCursorPos(&cursor);
        ::ImageList_DragMove(cursor.x - m_width / 2, cursor.y - m_height / 2);
    }
    return COleDropSource::QueryContinueDrag(bEscapePressed, dwKeyState);
}

SCODE CKWOleDropSource::GiveFeedback(DROPEFFECT dropEffect) { return COleDropSource::GiveFeedback(dropEffect); }

void CKWOleDropSource::SetImageList(HIMAGELIST imageList)
{
    EndDragImage();
    m_imageList = imageList;
    if (imageList)
        ::ImageList_GetIconSize(imageList, &m_width, &m_height);
}

void CKWOleDropSource::SetDragImage(HBITMAP bitmap)
{
    BITMAP info = {};
    if (!bitmap || ::GetObjectW(bitmap, sizeof(info), &info) == 0)
        return;
    EndDragImage();
    m_width = info.bmWidth;
    m_height = info.bmHeight;
    m_imageList = ::ImageList_Create(m_width, m_height, ILC_COLOR32 | ILC_MASK, 1, 1);
    if (!m_imageList)
        return;
    m_ownsList = true;
    ::ImageList_Add(m_imageList, bitmap, nullptr);
    POINT cursor;
    ::GetCursorPos(&cursor);
    ::ImageList_BeginDrag(m_imageList, 0, 0, 0);
    ::ImageList_DragEnter(::GetDesktopWindow(), cursor.x - m_width / 2, cursor.y - m_height / 2);
}
