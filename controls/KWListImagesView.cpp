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
    DestroyImp();
    CKWControlsFactory* factory = KWGetControlsFactory();
    if (threadSafe) {
        m_imp = factory->CreateListImageViewImpMT(nullptr);
        if (m_imp)
            m_imp->Create(exStyle, style, rect, parent, id);
    } else {
        m_imp = factory->CreateListImageViewCtrl(exStyle, style, rect, parent, id);
    }
    return m_imp != nullptr;
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
