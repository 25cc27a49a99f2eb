#include "controls/KWProgressControl.h"

#include "controls/KWControlsFactory.h"
#include "controls/KWProgressCtrlImpWin.h"

void CKWProgressControl::CreateImp(HWND hWnd)
{
    DestroyImp();
    m_imp = KWGetControlsFactory()->CreateProgressImp(hWnd);
}

CKWProgressCtrlImp* CKWProgressControl::WindowImp() const
{
    // The implementation answers -1 without a window; the facade keeps its
    // own answers for that case, so it asks only one that has a window.
    auto* window = dynamic_cast<CKWCtrlImpWin*>(m_imp);
    return window && window->GetHwnd() ? KindImp<CKWProgressCtrlImp>() : nullptr;
}

int CKWProgressControl::SetRange(int lower, int upper)
{
    return KWForwardToImp(WindowImp(), &CKWProgressCtrlImp::SetRange, lower, upper);
}

int CKWProgressControl::GetUpper()
{
    CKWProgressCtrlImp* imp = WindowImp();
    return imp ? imp->GetUpper() : kNoWindowUpper;
}

int CKWProgressControl::SetPos(int position)
{
    return KWForwardToImp(WindowImp(), &CKWProgressCtrlImp::SetPos, position);
}

int CKWProgressControl::GetPos()
{
    return KWForwardToImp(WindowImp(), &CKWProgressCtrlImp::GetPos);
}

int CKWProgressControl::SetStep(int step)
{
    return KWForwardToImp(WindowImp(), &CKWProgressCtrlImp::SetStep, step);
}

int CKWProgressControl::StepIt()
{
    return KWForwardToImp(WindowImp(), &CKWProgressCtrlImp::StepIt);
}
