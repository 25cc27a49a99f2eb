#include "controls/KWControlsFactory.h"

#include "framework/KWSplitterIFace.h"

CKWControlsFactory::~CKWControlsFactory() = default;

CKWSplitterIFace* CKWControlsFactory::CreateSplitter(bool vertical, int position, const RECT& rect, CWnd* parent,
                                                     bool visible, UINT id, int extent)
{
    if (!m_splitterMaker)
        return nullptr;
    CKWSplitterIFace* splitter = m_splitterMaker(position, vertical, extent);
    if (splitter)
        splitter->CreateBar(rect, parent, id, visible);
    return splitter;
}

CKWControlsFactory* KWGetControlsFactory()
{
    static CKWControlsFactory s_factory;
    return &s_factory;
}
