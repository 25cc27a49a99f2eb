#include "controls/KWControlsFactory.h"

#include "controls/KWCtrlImpWin.h"
#include "controls/KWTreeCtrlImpWin.h"
#include "framework/KWSplitterIFace.h"

#include <new>

CKWControlsFactory::~CKWControlsFactory() = default;

void CKWControlsFactory::DestroyImp(CKWCtrlImp* imp)
{
    delete imp;
}

CKWCtrlImp* CKWControlsFactory::CreateCtrl(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    CKWCtrlImp* imp = CreateCtrlImp(nullptr);
    if (imp)
        imp->Create(exStyle, style, rect, parent, id);
    return imp;
}

CKWCtrlImp* CKWControlsFactory::CreateCtrlImp(HWND hWnd)
{
    return new (std::nothrow) CKWCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateTreeCtrl(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    CKWCtrlImp* imp = CreateTreeImp(nullptr);
    if (imp)
        imp->Create(exStyle, style, rect, parent, id);
    return imp;
}

CKWCtrlImp* CKWControlsFactory::CreateTreeImp(HWND hWnd)
{
    return new (std::nothrow) CKWTreeCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateNullCtrl(DWORD, DWORD, const RECT&, CWnd*, UINT)
{
    return nullptr;
}

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
