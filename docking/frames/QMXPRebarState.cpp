#include "docking/frames/QMXPRebarState.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPReBar.h"
#include "docking/frames/QMXPRegistry.h"

#include <commctrl.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

// The stored band record: the common controls' record up to the header size.
constexpr UINT kBandInfoSize = 80;
constexpr UINT kStoredMask =
    RBBIM_STYLE | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_IDEALSIZE | RBBIM_HEADERSIZE;
// A fixed-size band reports its minimum width 4 pixels short of what it was given.
constexpr UINT kFixedSizeExtra = 4;

struct RebarWalk {
    LPCWSTR lpszProfile;
};

CString RebarKey(LPCWSTR lpszProfile, HWND hWndRebar) {
    CString strKey;
    strKey.Format(qmxRegRebarFormat, static_cast<long>(::GetDlgCtrlID(hWndRebar)));
    return CString(lpszProfile) + strKey;
}

CQMXPReBar* RebarOf(HWND hWnd) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    return pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CQMXPReBar)) ? static_cast<CQMXPReBar*>(pWnd) : nullptr;
}

BOOL SaveOne(HWND hWndRebar, LPCWSTR lpszProfile) {
    CQMXPRegistry reg(FALSE, FALSE);
    if (!reg.CreateKey(RebarKey(lpszProfile, hWndRebar)))
        return FALSE;
    const UINT nCount = static_cast<UINT>(::SendMessageW(hWndRebar, RB_GETBANDCOUNT, 0, 0));
    if (nCount == 0)
        return TRUE;
    std::unique_ptr<BYTE[]> records(new (std::nothrow) BYTE[static_cast<size_t>(nCount) * kBandInfoSize]());
    std::unique_ptr<uint32_t[]> ids(new (std::nothrow) uint32_t[nCount]());
    if (!records || !ids)
        return TRUE;
    for (UINT i = 0; i < nCount; ++i) {
        REBARBANDINFOW rbbi{};
        rbbi.cbSize = kBandInfoSize;
        rbbi.fMask = kStoredMask | RBBIM_CHILD;
        ::SendMessageW(hWndRebar, RB_GETBANDINFOW, i, reinterpret_cast<LPARAM>(&rbbi));
        if (rbbi.fStyle & RBBS_FIXEDSIZE)
            rbbi.cxMinChild += kFixedSizeExtra;
        ids[i] = rbbi.hwndChild != nullptr ? static_cast<uint32_t>(::GetDlgCtrlID(rbbi.hwndChild)) : 0;
        rbbi.hwndChild = nullptr;
        rbbi.fMask &= ~RBBIM_CHILD;
        std::memcpy(records.get() + static_cast<size_t>(i) * kBandInfoSize, &rbbi, kBandInfoSize);
    }
    reg.Write(qmxRegRebarInfo, records.get(), nCount * kBandInfoSize);
    reg.Write(qmxRegRebarIds, reinterpret_cast<const BYTE*>(ids.get()), nCount * sizeof(uint32_t));
    return TRUE;
}

// Records that are not one 80-byte band record per stored id, each saying
// so, are not applied.
bool RecordsMatch(const BYTE* pRecords, UINT nRecordBytes, UINT nCount) {
    if (static_cast<uint64_t>(nRecordBytes) != static_cast<uint64_t>(nCount) * kBandInfoSize)
        return false;
    for (UINT i = 0; i < nCount; ++i) {
        UINT cbSize = 0;
        std::memcpy(&cbSize, pRecords + static_cast<size_t>(i) * kBandInfoSize, sizeof(cbSize));
        if (cbSize != kBandInfoSize)
            return false;
    }
    return true;
}

void ApplyBands(HWND hWndRebar, const BYTE* pRecords, const uint32_t* pIds, UINT nCount) {
    for (UINT i = 0; i < nCount; ++i) {
        for (UINT j = i; j < nCount; ++j) {
            REBARBANDINFOW child{};
            child.cbSize = kBandInfoSize;
            child.fMask = RBBIM_CHILD;
            ::SendMessageW(hWndRebar, RB_GETBANDINFOW, j, reinterpret_cast<LPARAM>(&child));
            if (child.hwndChild == nullptr || static_cast<uint32_t>(::GetDlgCtrlID(child.hwndChild)) != pIds[i])
                continue;
            if (j != i)
                ::SendMessageW(hWndRebar, RB_MOVEBAND, j, i);
            REBARBANDINFOW rbbi{};
            std::memcpy(&rbbi, pRecords + static_cast<size_t>(i) * kBandInfoSize, kBandInfoSize);
            rbbi.cbSize = kBandInfoSize;
            rbbi.fMask &= kStoredMask;
            // The save added the 4 pixels the control takes off again; take
            // them off here, or each save and load would widen the band.
            if ((rbbi.fStyle & RBBS_FIXEDSIZE) && rbbi.cxMinChild >= kFixedSizeExtra)
                rbbi.cxMinChild -= kFixedSizeExtra;
            ::SendMessageW(hWndRebar, RB_SETBANDINFOW, i, reinterpret_cast<LPARAM>(&rbbi));
            break;
        }
    }
}

BOOL LoadOne(HWND hWndRebar, LPCWSTR lpszProfile) {
    CQMXPRegistry reg(FALSE, TRUE);
    if (!reg.Open(RebarKey(lpszProfile, hWndRebar)))
        return FALSE;
    BYTE* pRecords = nullptr;
    UINT nRecordBytes = 0;
    BYTE* pIdBytes = nullptr;
    UINT nIdBytes = 0;
    const BOOL bRead = reg.Read(qmxRegRebarInfo, pRecords, nRecordBytes) && reg.Read(qmxRegRebarIds, pIdBytes, nIdBytes);
    std::unique_ptr<BYTE[]> records(pRecords);
    std::unique_ptr<BYTE[]> idBytes(pIdBytes);
    if (!bRead)
        return TRUE;
    const UINT nCount = nIdBytes / sizeof(uint32_t);
    const UINT nBands = static_cast<UINT>(::SendMessageW(hWndRebar, RB_GETBANDCOUNT, 0, 0));
    if (nCount != nBands || nCount == 0 || !RecordsMatch(pRecords, nRecordBytes, nCount))
        return TRUE;
    std::vector<uint32_t> ids(nCount);
    std::memcpy(ids.data(), pIdBytes, nCount * sizeof(uint32_t));
    ApplyBands(hWndRebar, pRecords, ids.data(), nCount);
    return TRUE;
}

BOOL CALLBACK SaveProc(HWND hWnd, LPARAM lParam) {
    if (RebarOf(hWnd) == nullptr)
        return TRUE;
    return SaveOne(hWnd, reinterpret_cast<RebarWalk*>(lParam)->lpszProfile);
}

BOOL CALLBACK LoadProc(HWND hWnd, LPARAM lParam) {
    if (RebarOf(hWnd) == nullptr)
        return TRUE;
    return LoadOne(hWnd, reinterpret_cast<RebarWalk*>(lParam)->lpszProfile);
}

}  // namespace

BOOL CQMXPRebarState::SaveRebarState(LPCWSTR lpszProfileName, CWnd* pParentWnd) {
    if (pParentWnd == nullptr || pParentWnd->GetSafeHwnd() == nullptr)
        return FALSE;
    RebarWalk walk{lpszProfileName};
    return ::EnumChildWindows(pParentWnd->m_hWnd, SaveProc, reinterpret_cast<LPARAM>(&walk));
}

BOOL CQMXPRebarState::LoadRebarState(LPCWSTR lpszProfileName, CWnd* pParentWnd) {
    if (pParentWnd == nullptr || pParentWnd->GetSafeHwnd() == nullptr)
        return FALSE;
    RebarWalk walk{lpszProfileName};
    return ::EnumChildWindows(pParentWnd->m_hWnd, LoadProc, reinterpret_cast<LPARAM>(&walk));
}
