#include "docking/frames/QMXPDocTypeLines.h"

#include "platform/classlib/ComboBox.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/WinApp.h"

#include <set>

void QMXPAddDocTypeLines(CComboBox& wndList, BOOL (*pfnTake)(const CMultiDocTemplate& docTemplate)) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    std::set<UINT> setIds;
    for (POSITION pos = pApp->GetFirstDocTemplatePosition(); pos != nullptr;) {
        auto* pTemplate = dynamic_cast<CMultiDocTemplate*>(pApp->GetNextDocTemplate(pos));
        if (pTemplate == nullptr || !pfnTake(*pTemplate) || !setIds.insert(pTemplate->GetResourceID()).second)
            continue;
        CString strName;
        pTemplate->GetDocString(strName, CDocTemplate::fileNewName);
        const int iIndex = wndList.AddString(strName);
        wndList.SetItemData(iIndex, reinterpret_cast<DWORD_PTR>(pTemplate));
    }
}

HICON QMXPDocTypeIcon(const CMultiDocTemplate& docTemplate) {
    HICON hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(docTemplate.GetResourceID()));
    return hIcon != nullptr ? hIcon : ::LoadIconW(nullptr, IDI_APPLICATION);
}
