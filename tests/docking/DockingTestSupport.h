#pragma once
// Frames, documents and views of the docking tests; each logs
// what it was asked.
#include "DockingTestResources.h"
#include "tests/platform/classlib/TestSupport.h"

#include "platform/classlib/Archive.h"
#include "platform/classlib/CreateContext.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/MemFile.h"
#include "platform/classlib/PrintDialog.h"
#include "platform/classlib/PrintInfo.h"
#include "platform/classlib/View.h"
#include "platform/classlib/WinApp.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace docking_test {

inline std::vector<std::wstring>& Log() {
    static std::vector<std::wstring> s_log;
    return s_log;
}
inline void Record(const std::wstring& entry) { Log().push_back(entry); }

class CDockTestApp : public CWinApp {
public:
    CDockTestApp() : CWinApp(L"DockingTests") {}
    int DoMessageBox(LPCWSTR lpszPrompt, UINT, UINT) override {
        Record(std::wstring(L"msgbox:") + lpszPrompt);
        return IDOK;
    }
};

class CDockTestDoc : public CDocument {
    DECLARE_DYNCREATE(CDockTestDoc)
};

// A view of three pages; the preview draws them through a screen context.
class CDockTestView : public CView {
    DECLARE_DYNCREATE(CDockTestView)
public:
    void OnDraw(CDC*) override {}
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override {
        pInfo->SetMaxPage(3);
        pInfo->m_pPD->m_pd.hDC = ::CreateCompatibleDC(nullptr);
        return TRUE;
    }
    void OnPrint(CDC*, CPrintInfo* pInfo) override { Record(L"preview:" + std::to_wstring(pInfo->m_nCurPage)); }
};

class CDockTestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CDockTestFrame)
protected:
    afx_msg void OnHandled() { Record(L"frame:HANDLED"); }
    afx_msg BOOL OnIndicator(UINT nID) {
        Record(L"frame:" + std::to_wstring(nID));
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

using classlib_test::RectInParent;

// The frame's window sized so that its client area is cx x cy (below its menu).
inline void SizeClientArea(CFrameWnd* pFrame, int cx, int cy) {
    CRect rect(0, 0, cx, cy);
    pFrame->CalcWindowRect(&rect);
    CRect rectClient;
    pFrame->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    pFrame->GetClientRect(&rectClient);
    pFrame->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height() + cy - rectClient.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
}

// The bytes of a registry value below HKEY_CURRENT_USER; none when it is missing.
inline std::vector<BYTE> RawRegistryValue(const std::wstring& key, const wchar_t* name) {
    DWORD size = 0;
    std::vector<BYTE> data;
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return data;
    data.resize(size);
    ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, nullptr, data.data(), &size);
    return data;
}
// The bytes a storing archive writes.
inline std::vector<BYTE> ArchivedBytes(const std::function<void(CArchive&)>& write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
    }
    const UINT nLength = static_cast<UINT>(file.GetLength());
    BYTE* pData = file.Detach();
    std::vector<BYTE> bytes(pData, pData + nLength);
    std::free(pData);
    return bytes;
}
inline std::vector<BYTE> StoredBytes(CObject& object) {
    return ArchivedBytes([&object](CArchive& ar) { object.Serialize(ar); });
}
inline void LoadBytes(CObject& object, std::vector<BYTE> bytes) {
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
}

// Dispatches what is queued (posted commands among it).
inline void Pump() { classlib_test::DrainMessages(); }

// A hidden frame of the given client size with a view on a new document.
inline CDockTestFrame* MakeFrame(int cx, int cy) {
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CDockTestView);
    context.m_pCurrentDoc = new CDockTestDoc;
    auto* pFrame = new CDockTestFrame;
    if (!pFrame->Create(nullptr, L"Dock", WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 100), nullptr, nullptr, 0,
                        &context))
        return nullptr;
    pFrame->InitialUpdateFrame(context.m_pCurrentDoc, FALSE);
    SizeClientArea(pFrame, cx, cy);
    return pFrame;
}

}  // namespace docking_test
