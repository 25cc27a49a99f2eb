#include "controls/KWListBoxControl.h"

#include "controls/KWControlsFactory.h"
#include "controls/KWListBoxCtrlImpWin.h"

void CKWListBoxControl::CreateImp(HWND hWnd)
{
    DestroyImp();
    m_imp = KWGetControlsFactory()->CreateListBoxImp(hWnd);
}

int CKWListBoxControl::GetCount()
{
    return KWForwardToImp(KindImp<CKWListBoxCtrlImp>(), &CKWListBoxCtrlImp::GetCount);
}

int CKWListBoxControl::ResetContent()
{
    return KWForwardToImp(KindImp<CKWListBoxCtrlImp>(), &CKWListBoxCtrlImp::ResetContent);
}

int CKWListBoxControl::AddString(const wchar_t* text)
{
    return KWForwardToImp(KindImp<CKWListBoxCtrlImp>(), &CKWListBoxCtrlImp::AddString, text);
}

int CKWListBoxControl::DeleteString(int index)
{
    return KWForwardToImp(KindImp<CKWListBoxCtrlImp>(), &CKWListBoxCtrlImp::DeleteString, index);
}

int CKWListBoxControl::GetCurSel()
{
    return KWForwardToImp(KindImp<CKWListBoxCtrlImp>(), &CKWListBoxCtrlImp::GetCurSel);
}

int CKWListBoxControl::SetCurSel(int index)
{
    return KWForwardToImp(KindImp<CKWListBoxCtrlImp>(), &CKWListBoxCtrlImp::SetCurSel, index);
}
