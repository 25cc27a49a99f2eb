#include "controls/KWButtonControl.h"

#include "controls/KWColorButtonCtrlImpWin.h"
#include "controls/KWControlsFactory.h"

void CKWButtonControl::CreateImp(HWND hWnd)
{
    DestroyImp();
    m_imp = KWGetControlsFactory()->CreateButtonImp(hWnd);
}

LRESULT CKWButtonControl::SetCheck(int value)
{
    return KWForwardToImp(KindImp<CKWButtonCtrlImp>(), &CKWButtonCtrlImp::SetCheck, value);
}

LRESULT CKWButtonControl::GetCheck()
{
    return KWForwardToImp(KindImp<CKWButtonCtrlImp>(), &CKWButtonCtrlImp::GetCheck);
}

void CKWColorButtonControl::CreateImp(HWND hWnd)
{
    DestroyImp();
    m_imp = KWGetControlsFactory()->CreateColorButtonImp(hWnd);
}

void CKWColorButtonControl::SetColor(COLORREF colour)
{
    KWForwardToImp(KindImp<CKWColorButtonCtrlImp>(), &CKWColorButtonCtrlImp::SetColor, colour);
}

COLORREF CKWColorButtonControl::GetColor()
{
    return KWForwardToImp(KindImp<CKWColorButtonCtrlImp>(), &CKWColorButtonCtrlImp::GetColor);
}
