#include "controls/KWControlsFactory.h"

#include "controls/KWBitmapControl.h"
#include "controls/KWButtonCtrlImpWin.h"
#include "controls/KWColorButtonCtrlImpWin.h"
#include "controls/KWComboBoxCtrlImpWin.h"
#include "controls/KWCtrlImpWin.h"
#include "controls/KWDataTimePickerCtrlImpWin.h"
#include "controls/KWEditCtrlImpWin.h"
#include "controls/KWFocusedButtonCtrlImpWin.h"
#include "controls/KWListBoxCtrlImpWin.h"
#include "controls/KWListCtrlImpWin.h"
#include "controls/KWListImageViewImpWinMT.h"
#include "controls/KWProgressCtrlImpWin.h"
#include "controls/KWScrollBarCtrlImpWin.h"
#include "controls/KWSpinButtonCtrlImpWin.h"
#include "controls/KWSpinEditCtrlImpWin.h"
#include "controls/KWTimeEditCtrlImpWin.h"
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

// --- buttons, edits, lists and values ---

CKWCtrlImp* CKWControlsFactory::CreateButtonImp(HWND hWnd)
{
    return new (std::nothrow) CKWButtonCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateColorButtonImp(HWND hWnd)
{
    return new (std::nothrow) CKWColorButtonCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateFocusedButtonImp(HWND hWnd)
{
    return new (std::nothrow) CKWFocusedButtonCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateSpinButtonImp(HWND hWnd)
{
    return new (std::nothrow) CKWSpinButtonCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateEditImp(HWND hWnd)
{
    return new (std::nothrow) CKWEditCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateProgressImp(HWND hWnd)
{
    return new (std::nothrow) CKWProgressCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateSliderImp(HWND hWnd)
{
    return new (std::nothrow) CKWSliderCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateListBoxImp(HWND hWnd)
{
    return new (std::nothrow) CKWListBoxCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateComboBoxImp(HWND hWnd)
{
    return new (std::nothrow) CKWComboBoxCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateEditComboBoxImp(HWND hWnd)
{
    return new (std::nothrow) CKWEditComboBoxCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateSpinEditImp(HWND hWnd)
{
    return new (std::nothrow) CKWSpinEditCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateDataTimePickerImp(HWND hWnd)
{
    return new (std::nothrow) CKWDataTimePickerCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateTimeEditImp(HWND hWnd)
{
    return new (std::nothrow) CKWTimeEditCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateScrollBarImp(HWND hWnd)
{
    return new (std::nothrow) CKWScrollBarCtrlImpWin(hWnd);
}

// --- trees ---

CKWCtrlImp* CKWControlsFactory::CreateTreeCtrl(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return WithWindow(CreateTreeImp(nullptr), exStyle, style, rect, parent, id);
}

CKWCtrlImp* CKWControlsFactory::CreateTreeImp(HWND hWnd)
{
    return new (std::nothrow) CKWTreeCtrlImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateListCtrlImp(HWND hWnd)
{
    return hWnd ? new (std::nothrow) CKWListCtrlImpWin(hWnd) : nullptr;
}

CKWCtrlImp* CKWControlsFactory::CreateListImageViewCtrl(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent,
                                                       UINT id)
{
    return WithWindow(CreateListImageViewImp(nullptr), exStyle, style, rect, parent, id);
}

CKWCtrlImp* CKWControlsFactory::CreateListImageViewImp(HWND hWnd)
{
    return new (std::nothrow) CKWListImageViewImpWin(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateListImageViewImpMT(HWND hWnd)
{
    return new (std::nothrow) CKWListImageViewImpWin_MThread(hWnd);
}

CKWCtrlImp* CKWControlsFactory::CreateBitmapImp(HWND hWnd)
{
    return hWnd ? new (std::nothrow) CKWBitmapControlImpWin(hWnd) : nullptr;
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
