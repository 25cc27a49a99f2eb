#include "controls/KWTreeControlSplit.h"

#include "controls/KWTreeCtrlImpWin.h"

CKWTreeControlSplit::~CKWTreeControlSplit()
{
    DestroyImp();
}

CWnd* CKWTreeControlSplit::GetWnd()
{
    auto* tree = dynamic_cast<CKWTreeCtrlImpWin*>(m_imp);
    return tree && tree->GetWindow().m_hWnd ? &tree->GetWindow() : nullptr;
}
