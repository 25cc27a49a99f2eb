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

namespace {

// The implementation made without a window, then its window; returned
// whether or not the window was made.
CKWCtrlImp* WithWindow(CKWCtrlImp* imp, DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (imp)
        imp->Create(exStyle, style, rect, parent, id);
    return imp;
}

}  // namespace

CKWCtrlImp* CKWControlsFactory::CreateCtrl(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return WithWindow(CreateCtrlImp(nullptr), exStyle, style, rect, parent, id);
}

CKWCtrlImp* CKWControlsFactory::CreateCtrlImp(HWND hWnd)
{
    return new (std::nothrow) CKWCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateTreeCtrl(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return WithWindow(CreateTreeImp(nullptr), exStyle, style, rect, parent, id);
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
