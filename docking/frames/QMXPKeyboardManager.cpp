#include "docking/frames/QMXPKeyboardManager.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPKeyHelper.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/View.h"
#include "platform/classlib/WinApp.h"

#include <cwctype>
#include <vector>

CQMXPKeyboardManager* qmxKeyboardManager = nullptr;
BOOL CQMXPKeyboardManager::m_bUseKeyboardLayout = FALSE;

namespace {

constexpr wchar_t kRegAccelerators[] = L"Accelerators";
constexpr UINT kAccelRecordSize = 6;
// FVIRTKEY | FSHIFT | FCONTROL | FALT: FNOINVERT says nothing about the key.
constexpr BYTE kKeyFlagsMask = 0x1D;

// A private copy of the last table asked for, one for the default frame
// and one for the others.
struct CAccelCache {
    HACCEL hAccel = nullptr;
    std::vector<ACCEL> entries;
};
CAccelCache g_cacheDefault;
CAccelCache g_cacheOther;

const std::vector<ACCEL>& CachedTable(CFrameWnd* pWndFrame, BOOL bIsDefaultFrame) {
    CAccelCache& cache = bIsDefaultFrame ? g_cacheDefault : g_cacheOther;
    HACCEL hAccel = pWndFrame != nullptr ? pWndFrame->GetDefaultAccelerator() : nullptr;
    if (hAccel != cache.hAccel) {
        cache.entries.clear();
        cache.hAccel = hAccel;
        const int nCount = hAccel != nullptr ? ::CopyAcceleratorTableW(hAccel, nullptr, 0) : 0;
        if (nCount > 0) {
            cache.entries.resize(static_cast<size_t>(nCount));
            if (::CopyAcceleratorTableW(hAccel, cache.entries.data(), nCount) != nCount)
                cache.entries.clear();
        }
    }
    return cache.entries;
}

CString KeyboardSection(LPCWSTR lpszProfileName) { return QMXPGetRegPath(qmxRegKeyboardManager, lpszProfileName); }

CString TableKey(LPCWSTR lpszSection, UINT uiResId) {
    CString strKey;
    strKey.Format(L"%lsQMXKeyboard-%u", lpszSection, uiResId);
    return strKey;
}

// The templates that have a table of their own.
template <class TVisit>
void ForEachTemplateTable(TVisit visit) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || pApp->m_pDocManager == nullptr)
        return;
    for (POSITION pos = pApp->GetFirstDocTemplatePosition(); pos != nullptr;) {
        auto* pTemplate = dynamic_cast<CMultiDocTemplate*>(pApp->GetNextDocTemplate(pos));
        if (pTemplate != nullptr && pTemplate->m_hAccelTable != nullptr)
            visit(pTemplate);
    }
}

CFrameWnd* FrameOrMainWindow(CFrameWnd* pDefaultFrame) {
    if (pDefaultFrame != nullptr)
        return pDefaultFrame;
    CWnd* pMainWnd = AfxGetMainWnd();
    return pMainWnd != nullptr && pMainWnd->IsFrameWnd() ? static_cast<CFrameWnd*>(pMainWnd) : nullptr;
}

}  // namespace

CQMXPKeyboardManager::CQMXPKeyboardManager() = default;

CQMXPKeyboardManager::~CQMXPKeyboardManager() { ClearCaches(); }

void CQMXPKeyboardManager::ClearCaches() {
    g_cacheDefault = CAccelCache();
    g_cacheOther = CAccelCache();
}

BOOL CQMXPKeyboardManager::UpdateAcceleratorTable(CMultiDocTemplate* pTemplate, LPACCEL lpAccel, int nSize,
                                                  CFrameWnd* pDefaultFrame) {
    if (lpAccel == nullptr || nSize <= 0)
        return FALSE;
    HACCEL hAccelNew = ::CreateAcceleratorTableW(lpAccel, nSize);
    if (hAccelNew == nullptr)
        return FALSE;
    if (!UpdateAccelTable(pTemplate, hAccelNew, pDefaultFrame)) {
        ::DestroyAcceleratorTable(hAccelNew);
        return FALSE;
    }
    return TRUE;
}

BOOL CQMXPKeyboardManager::UpdateAccelTable(CMultiDocTemplate* pTemplate, HACCEL hAccelNew, CFrameWnd* pDefaultFrame) {
    HACCEL hAccelOld = nullptr;
    if (pTemplate == nullptr) {
        CFrameWnd* pFrame = FrameOrMainWindow(pDefaultFrame);
        if (pFrame == nullptr)
            return FALSE;
        hAccelOld = pFrame->m_hAccelTable;
        pFrame->m_hAccelTable = hAccelNew;
    } else {
        hAccelOld = pTemplate->m_hAccelTable;
        pTemplate->m_hAccelTable = hAccelNew;
        // Frames that still use the template's old table take the new one.
        for (POSITION posDoc = pTemplate->GetFirstDocPosition(); posDoc != nullptr;) {
            CDocument* pDoc = pTemplate->GetNextDoc(posDoc);
            for (POSITION posView = pDoc->GetFirstViewPosition(); posView != nullptr;) {
                CView* pView = pDoc->GetNextView(posView);
                CFrameWnd* pFrame = pView != nullptr ? pView->GetParentFrame() : nullptr;
                if (pFrame != nullptr && pFrame->m_hAccelTable == hAccelOld)
                    pFrame->m_hAccelTable = hAccelNew;
            }
        }
    }
    // A handle may be reused by the next table: no cache may outlive its table.
    ClearCaches();
    if (hAccelOld != nullptr && hAccelOld != hAccelNew)
        ::DestroyAcceleratorTable(hAccelOld);
    return TRUE;
}

BOOL CQMXPKeyboardManager::ResetAll() {
    HINSTANCE hInst = AfxGetResourceHandle();
    ForEachTemplateTable([hInst](CMultiDocTemplate* pTemplate) {
        HACCEL hAccel = ::LoadAcceleratorsW(hInst, MAKEINTRESOURCEW(pTemplate->GetResourceID()));
        if (hAccel != nullptr)
            UpdateAccelTable(pTemplate, hAccel);
    });
    CFrameWnd* pFrame = FrameOrMainWindow(nullptr);
    if (pFrame != nullptr && pFrame->m_hAccelTable != nullptr && pFrame->m_nIDHelp != 0) {
        HACCEL hAccel = ::LoadAcceleratorsW(hInst, MAKEINTRESOURCEW(pFrame->m_nIDHelp));
        if (hAccel != nullptr)
            UpdateAccelTable(nullptr, hAccel, pFrame);
    }
    return TRUE;
}

BOOL CQMXPKeyboardManager::SaveAcceleratorState(LPCWSTR lpszSection, UINT uiResId, HACCEL hAccelTable) {
    const int nCount = ::CopyAcceleratorTableW(hAccelTable, nullptr, 0);
    if (nCount <= 0)
        return FALSE;
    std::vector<ACCEL> entries(static_cast<size_t>(nCount));
    ::CopyAcceleratorTableW(hAccelTable, entries.data(), nCount);
    // The stored record is the system's ACCEL: flags, a fill byte, key, command.
    std::vector<BYTE> bytes(static_cast<size_t>(nCount) * kAccelRecordSize, 0);
    for (size_t i = 0; i < entries.size(); ++i) {
        BYTE* pRecord = &bytes[i * kAccelRecordSize];
        pRecord[0] = entries[i].fVirt;
        pRecord[2] = LOBYTE(entries[i].key);
        pRecord[3] = HIBYTE(entries[i].key);
        pRecord[4] = LOBYTE(entries[i].cmd);
        pRecord[5] = HIBYTE(entries[i].cmd);
    }
    CQMXPRegistrySP regSP;
    CQMXPRegistry* pReg = regSP.Create(FALSE, FALSE);
    return pReg->CreateKey(TableKey(lpszSection, uiResId)) &&
           pReg->Write(kRegAccelerators, bytes.data(), static_cast<UINT>(bytes.size()));
}

HACCEL CQMXPKeyboardManager::LoadAcceleratorState(LPCWSTR lpszSection, UINT uiResId) {
    CQMXPRegistrySP regSP;
    CQMXPRegistry* pReg = regSP.Create(FALSE, TRUE);
    BYTE* pData = nullptr;
    UINT nBytes = 0;
    if (!pReg->Open(TableKey(lpszSection, uiResId)) || !pReg->Read(kRegAccelerators, pData, nBytes))
        return nullptr;
    const UINT nCount = nBytes / kAccelRecordSize;
    std::vector<ACCEL> entries(nCount);
    for (UINT i = 0; i < nCount; ++i) {
        const BYTE* pRecord = pData + i * kAccelRecordSize;
        entries[i].fVirt = pRecord[0];
        entries[i].key = MAKEWORD(pRecord[2], pRecord[3]);
        entries[i].cmd = MAKEWORD(pRecord[4], pRecord[5]);
        if (!CQMXPToolBar::IsCommandPermitted(entries[i].cmd))
            entries[i].cmd = 0;
    }
    delete[] pData;
    return nCount > 0 ? ::CreateAcceleratorTableW(entries.data(), static_cast<int>(nCount)) : nullptr;
}

BOOL CQMXPKeyboardManager::SaveState(LPCWSTR lpszProfileName, CFrameWnd* pDefaultFrame) {
    const CString strSection = KeyboardSection(lpszProfileName);
    ForEachTemplateTable([&strSection](CMultiDocTemplate* pTemplate) {
        SaveAcceleratorState(strSection, pTemplate->GetResourceID(), pTemplate->m_hAccelTable);
    });
    CFrameWnd* pFrame = FrameOrMainWindow(pDefaultFrame);
    if (pFrame != nullptr && pFrame->m_hAccelTable != nullptr)
        SaveAcceleratorState(strSection, 0, pFrame->m_hAccelTable);
    return TRUE;
}

BOOL CQMXPKeyboardManager::LoadState(LPCWSTR lpszProfileName, CFrameWnd* pDefaultFrame) {
    const CString strSection = KeyboardSection(lpszProfileName);
    ForEachTemplateTable([&strSection](CMultiDocTemplate* pTemplate) {
        HACCEL hAccel = LoadAcceleratorState(strSection, pTemplate->GetResourceID());
        if (hAccel != nullptr && !UpdateAccelTable(pTemplate, hAccel))
            ::DestroyAcceleratorTable(hAccel);
    });
    CFrameWnd* pFrame = FrameOrMainWindow(pDefaultFrame);
    if (pFrame != nullptr && pFrame->m_hAccelTable != nullptr) {
        HACCEL hAccel = LoadAcceleratorState(strSection, 0);
        if (hAccel != nullptr && !UpdateAccelTable(nullptr, hAccel, pFrame))
            ::DestroyAcceleratorTable(hAccel);
    }
    return TRUE;
}

BOOL CQMXPKeyboardManager::FindDefaultAccelerator(UINT uiCmd, CString& str, CFrameWnd* pWndFrame,
                                                  BOOL bIsDefaultFrame) {
    str.Empty();
    for (const ACCEL& accel : CachedTable(pWndFrame, bIsDefaultFrame)) {
        if (accel.cmd == uiCmd) {
            ACCEL copy = accel;
            CQMXPKeyHelper(&copy).Format(str);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CQMXPKeyboardManager::IsKeyHandled(WORD nKey, BYTE fVirt, CFrameWnd* pWndFrame, BOOL bIsDefaultFrame) {
    for (const ACCEL& accel : CachedTable(pWndFrame, bIsDefaultFrame)) {
        if (accel.key == nKey && (accel.fVirt & kKeyFlagsMask) == (fVirt & kKeyFlagsMask))
            return TRUE;
    }
    return FALSE;
}

BOOL CQMXPKeyboardManager::IsCharacterKey(UINT nKey) {
    if (nKey >= VK_NUMPAD0 && nKey <= VK_NUMPAD9)
        return TRUE;
    // The high bit marks a dead key, which still types its sign; control
    // characters (Enter, Tab, Escape, Backspace) are keys, not letters.
    const UINT nChar = ::MapVirtualKeyW(nKey, MAPVK_VK_TO_CHAR) & 0x7FFFFFFF;
    return nChar >= L' ' && nChar != 0x7F;
}

UINT CQMXPKeyboardManager::TranslateCharToUpper(UINT nChar) {
    const BOOL bAlt = (::GetAsyncKeyState(VK_MENU) & 0x8000) != 0;
    const BOOL bKeypad = nChar >= VK_NUMPAD0 && nChar <= VK_NUMPAD9 && !bAlt;
    const BOOL bLetter = m_bUseKeyboardLayout && nChar >= 'A' && nChar <= 'Z';
    if (bKeypad || bLetter) {
        BYTE keyState[256] = {0};
        ::GetKeyboardState(keyState);
        CWinApp* pApp = AfxGetApp();
        HKL hkl = ::GetKeyboardLayout(pApp != nullptr ? pApp->m_nThreadID : 0);
        WORD wChar = 0;
        const UINT nScan = ::MapVirtualKeyExW(nChar, MAPVK_VK_TO_VSC, hkl);
        if (::ToAsciiEx(nChar, nScan, keyState, &wChar, 1, hkl) == 1)
            return static_cast<UINT>(std::towupper(static_cast<wchar_t>(static_cast<BYTE>(wChar))));
    }
    if (bAlt)
        return nChar;
    return static_cast<UINT>(std::towupper(static_cast<wchar_t>(nChar)));
}
