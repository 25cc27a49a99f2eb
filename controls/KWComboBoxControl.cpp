#include "controls/KWComboBoxControl.h"

#include "controls/KWControlsFactory.h"

void CKWComboBoxControl::CreateImp(HWND hWnd)
{
    DestroyImp();
    m_imp = KWGetControlsFactory()->CreateComboBoxImp(hWnd);
}

bool CKWComboBoxControl::Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (m_imp)
        return false;
    m_imp = KWGetControlsFactory()->CreateComboBoxImp(nullptr);
    auto* combo = KindImp<CKWComboBoxCtrlImp>();
    if (!combo)
        return false;
    combo->AttachOwner(this);
    return combo->Create(exStyle, style, rect, parent, id);
}

int CKWComboBoxControl::SetCurSel(int index)
{
    return KWForwardToImp(KindImp<CKWComboBoxCtrlImp>(), &CKWComboBoxCtrlImp::SetCurSel, index);
}

int CKWComboBoxControl::GetCurSel()
{
    return KWForwardToImp(KindImp<CKWComboBoxCtrlImp>(), &CKWComboBoxCtrlImp::GetCurSel);
}

int CKWComboBoxControl::AddString(const wchar_t* text)
{
    return KWForwardToImp(KindImp<CKWComboBoxCtrlImp>(), &CKWComboBoxCtrlImp::AddString, text);
}

int CKWComboBoxControl::FindStringExact(int start, const wchar_t* text)
{
    return KWForwardToImp(KindImp<CKWComboBoxCtrlImp>(), &CKWComboBoxCtrlImp::FindStringExact, start, text);
}

int CKWComboBoxControl::GetLBText(int index, CString& text)
{
    return KWForwardToImp(KindImp<CKWComboBoxCtrlImp>(), &CKWComboBoxCtrlImp::GetLBText, index, text);
}

int CKWComboBoxControl::FindString(const wchar_t* text)
{
    auto* combo = KindImp<CKWComboBoxCtrlImp>();
    if (!combo)
        return -1;
    const CString wanted(text ? text : L"");
    const int count = combo->GetCount();
    for (int index = 0; index < count; ++index) {
        CString item;
        combo->GetLBText(index, item);
        if (item == wanted) {
            combo->SetCurSel(index);
            return index;
        }
    }
    return -1;
}
