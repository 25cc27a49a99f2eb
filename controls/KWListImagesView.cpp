#include "controls/KWListImagesView.h"

#include "controls/KWControlsFactory.h"

void CKWListImagesView::CreateImageViewImp(HWND hWnd, bool threadSafe)
{
    DestroyImp();
    CKWControlsFactory* factory = KWGetControlsFactory();
    m_imp = threadSafe ? factory->CreateListImageViewImpMT(hWnd) : factory->CreateListImageViewImp(hWnd);
}

bool CKWListImagesView::CreateImageView(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                                        bool threadSafe)
{
    CreateImageViewImp(nullptr, threadSafe);
    return m_imp && m_imp->Create(exStyle, style, rect, parent, id);
}

void CKWListImagesView::AddItem(const CString& caption, const KWRasterImage* source, CKWImageViewData* data)
{
    if (CKWListImageViewImp* imp = Thumbnails())
        imp->AddItem(caption, source, data);
    else
        delete data;
}

void CKWListImagesView::SetItem(int index, const CString& caption, const KWRasterImage* source,
                                CKWImageViewData* data)
{
    if (CKWListImageViewImp* imp = Thumbnails())
        imp->SetItem(index, caption, source, data);
    else
        delete data;
}
