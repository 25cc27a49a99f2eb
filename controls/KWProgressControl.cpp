#include "controls/KWProgressControl.h"

#include "controls/KWControlsFactory.h"
#include "controls/KWProgressCtrlImpWin.h"

void CKWProgressControl::CreateImp(HWND hWnd)
{
    DestroyImp();
    m_imp = KWGetControlsFactory()->CreateProgressImp(hWnd);
}

int CKWProgressControl::SetRange(int lower, int upper)
{
    return KWForwardToImp(KindImp<CKWProgressCtrlImp>(), &CKWProgressCtrlImp::SetRange, lower, upper);
}

int CKWProgressControl::GetUpper()
{
    CKWProgressCtrlImp* imp = KindImp<CKWProgressCtrlImp>();
    return imp ? imp->GetUpper() : kNoWindowUpper;
}

int CKWProgressControl::SetPos(int position)
{
    return KWForwardToImp(KindImp<CKWProgressCtrlImp>(), &CKWProgressCtrlImp::SetPos, position);
}

int CKWProgressControl::GetPos()
{
    return KWForwardToImp(KindImp<CKWProgressCtrlImp>(), &CKWProgressCtrlImp::GetPos);
}

int CKWProgressControl::SetStep(int step)
{
    return KWForwardToImp(KindImp<CKWProgressCtrlImp>(), &CKWProgressCtrlImp::SetStep, step);
}

int CKWProgressControl::StepIt()
{
    return KWForwardToImp(KindImp<CKWProgressCtrlImp>(), &CKWProgressCtrlImp::StepIt);
}
