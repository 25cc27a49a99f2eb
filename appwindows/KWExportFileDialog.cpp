#include "appwindows/KWExportFileDialog.h"

#include "controls/KWMessageBox.h"
#include "framework/QMFormatInfo.h"

#include <windows.h>

namespace {

const int kNameEdit = 1152;   // edt1
const int kNameCombo = 1148;  // cmb13, the name box of newer dialogs
const DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_LONGNAMES;

int LastSeparator(const wchar_t* path)
{
    int last = -1;
    for (int i = 0; path && path[i]; ++i) {
        if (path[i] == L'\\' || path[i] == L'/' || path[i] == L':')
            last = i;
    }
    return last;
}

CString NamePart(const wchar_t* path)
{
    return path ? CString(path + LastSeparator(path) + 1) : CString();
}

CString FolderPart(const wchar_t* path)
{
    int last = LastSeparator(path);
    return last >= 0 ? CString(path, last + 1) : CString();
}

}  // namespace

CKWExportFileDialog::CKWExportFileDialog(const CQMFormatInfo* formats, uint32_t category, const wchar_t* proposedPath,
                                         const wchar_t* defaultExt, uint32_t defaultFlags, const wchar_t* title)
    : CFileDialog(FALSE, nullptr, NamePart(proposedPath), kSaveFlags), m_formats(formats), m_category(category)
{
    if (title) {
        m_title = title;
        m_ofn.lpstrTitle = m_title;
    }
    m_folder = FolderPart(proposedPath);
    if (!m_folder.IsEmpty())
        m_ofn.lpstrInitialDir = m_folder;

    KWExportFilter filter = KWBuildExportFilter(formats, category, defaultExt, defaultFlags);
    m_filter = filter.filter;
    m_records = filter.records;
    m_chosen = filter.chosen;
    m_ofn.lpstrFilter = m_filter;
    m_ofn.nFilterIndex = filter.filterIndex;

    if (defaultExt && *defaultExt)
        m_strDefExt = defaultExt;
    else if (m_chosen)
        m_strDefExt = KWFirstExtension(m_chosen);
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? nullptr : static_cast<const wchar_t*>(m_strDefExt);
}

BOOL CKWExportFileDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    m_lastNotify = reinterpret_cast<OFNOTIFYW*>(lParam);
    BOOL handled = CFileDialog::OnNotify(wParam, lParam, pResult);
    m_lastNotify = nullptr;
    return handled;
}

void CKWExportFileDialog::UpdateNameBox()
{
    HWND dialog = ::GetParent(m_hWnd);
    // The text typed in the name box, whichever control the dialog has for it.
    wchar_t name[MAX_PATH + 1] = {};
    if (::SendMessageW(dialog, CDM_GETSPEC, MAX_PATH + 1, reinterpret_cast<LPARAM>(name)) <= 0)
        return;
    CString text(name);
    if (text.IsEmpty() || !m_chosen)
        return;
    if (KWEnsureExtension(m_chosen, text, true))
        SetControlText(::GetDlgItem(dialog, kNameEdit) ? kNameEdit : kNameCombo, text);
}

void CKWExportFileDialog::OnInitDone()
{
    CFileDialog::OnInitDone();
    UpdateNameBox();
}

void CKWExportFileDialog::OnTypeChange()
{
    CFileDialog::OnTypeChange();
    if (!m_lastNotify || !m_lastNotify->lpOFN)
        return;
    const DWORD index = m_lastNotify->lpOFN->nFilterIndex;
    if (index >= 1 && index <= m_records.size())
        m_chosen = m_records[index - 1];
    UpdateNameBox();
}

BOOL CKWExportFileDialog::OnFileNameOK()
{
    const CString path = CFileDialog::GetPathName();
    if (NamePart(path).Left(1) == L".") {
        KWMessageBox(L"Invalid filename!", MB_OK, 0, nullptr, ::GetParent(m_hWnd));
        return TRUE;
    }
    return CFileDialog::OnFileNameOK();
}

CString CKWExportFileDialog::GetPathName() const
{
    CString path = CFileDialog::GetPathName();
    if (m_chosen && !path.IsEmpty())
        KWEnsureExtension(m_chosen, path, false);
    return path;
}
