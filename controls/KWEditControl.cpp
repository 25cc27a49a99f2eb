#include "controls/KWEditControl.h"

#include "controls/KWControlsFactory.h"
#include "controls/KWEditCtrlImpWin.h"

void CKWEditControl::CreateImp(HWND hWnd)
{
    DestroyImp();
    m_imp = KWGetControlsFactory()->CreateEditImp(hWnd);
}

bool CKWEditControl::Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (m_imp)
        return false;
    m_imp = KWGetControlsFactory()->CreateEditImp(nullptr);
    return m_imp && m_imp->Create(exStyle, style, rect, parent, id);
}

void CKWEditControl::SetSel(int start, int end)
{
    KWForwardToImp(KindImp<CKWEditCtrlImp>(), &CKWEditCtrlImp::SetSel, start, end);
}

bool CKWEditControl::Cut()
{
    return KWForwardToImp(KindImp<CKWEditCtrlImp>(), &CKWEditCtrlImp::Cut);
}

bool CKWEditControl::Copy()
{
    return KWForwardToImp(KindImp<CKWEditCtrlImp>(), &CKWEditCtrlImp::Copy);
}

bool CKWEditControl::Clear()
{
    return KWForwardToImp(KindImp<CKWEditCtrlImp>(), &CKWEditCtrlImp::Clear);
}

bool CKWEditControl::Paste()
{
    return KWForwardToImp(KindImp<CKWEditCtrlImp>(), &CKWEditCtrlImp::Paste);
}

bool CKWEditControl::CanCut()
{
    return KWForwardToImp(KindImp<CKWEditCtrlImp>(), &CKWEditCtrlImp::CanCut);
}

bool CKWEditControl::CanCopy()
{
    return KWForwardToImp(KindImp<CKWEditCtrlImp>(), &CKWEditCtrlImp::CanCopy);
}

bool CKWEditControl::CanClear()
{
    return KWForwardToImp(KindImp<CKWEditCtrlImp>(), &CKWEditCtrlImp::CanClear);
}

bool CKWEditControl::CanPaste()
{
    return KWForwardToImp(KindImp<CKWEditCtrlImp>(), &CKWEditCtrlImp::CanPaste);
}

void CKWEditControl::SetEditOption(int option)
{
    KWForwardToImp(KindImp<CKWEditCtrlImp>(), &CKWEditCtrlImp::SetEditOption, option);
}
