#include "platform/classlib/CmdTarget.h"

#include "platform/classlib/CmdUI.h"
#include "platform/classlib/ThreadState.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &entries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

namespace {

BOOL DispatchCmdMsg(CCmdTarget* pTarget, UINT nID, const AFX_MSGMAP_ENTRY* pEntry, void* pExtra,
                    AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (pHandlerInfo != nullptr) {
        pHandlerInfo->pTarget = pTarget;
        pHandlerInfo->pmf = pEntry->pfn;
        return TRUE;
    }
    AFX_PMSG pfn = pEntry->pfn;
    AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
    switch (pEntry->nSig) {
    case AfxSigCmd_v:
        (pTarget->*pfn)();
        return TRUE;
    case AfxSigCmd_b:
        return (pTarget->*AfxFromPmsg<AfxPmsg_b>(pfn))();
    case AfxSigCmd_RANGE:
        (pTarget->*AfxFromPmsg<AfxPmsg_v_u>(pfn))(nID);
        return TRUE;
    case AfxSigCmd_EX:
        return (pTarget->*AfxFromPmsg<AfxPmsg_b_u>(pfn))(nID);
    case AfxSigCmdUI: {
        // An update handler answers for the item unless it asks to continue routing.
        CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
        pCmdUI->m_bContinueRouting = FALSE;
        (pTarget->*AfxFromPmsg<AfxPmsg_v_CMDUI>(pfn))(pCmdUI);
        return !pCmdUI->m_bContinueRouting;
    }
    case AfxSigNotify_v:
        (pTarget->*AfxFromPmsg<AfxPmsg_v_NOTIFY>(pfn))(pNotify->pNMHDR, pNotify->pResult);
        return TRUE;
    case AfxSigNotify_b:
        return (pTarget->*AfxFromPmsg<AfxPmsg_b_NOTIFY>(pfn))(pNotify->pNMHDR, pNotify->pResult);
    case AfxSigNotify_RANGE:
        (pTarget->*AfxFromPmsg<AfxPmsg_v_u_NOTIFY>(pfn))(nID, pNotify->pNMHDR, pNotify->pResult);
        return TRUE;
    case AfxSigNotify_EX:
        return (pTarget->*AfxFromPmsg<AfxPmsg_b_u_NOTIFY>(pfn))(nID, pNotify->pNMHDR, pNotify->pResult);
    default:
        return FALSE;
    }
}

}  // namespace

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    UINT nMsg = 0;
    if (nCode != CN_UPDATE_COMMAND_UI) {
        nMsg = HIWORD(nCode);
        nCode = LOWORD(nCode);
    }
    if (nMsg == 0)
        nMsg = WM_COMMAND;
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nSig != AfxSig_end; ++pEntry) {
            if (pEntry->nMessage == nMsg && pEntry->nCode == static_cast<UINT>(nCode) && nID >= pEntry->nID &&
                nID <= pEntry->nLastID)
                return DispatchCmdMsg(this, nID, pEntry, pExtra, pHandlerInfo);
        }
    }
    return FALSE;
}

void AfxDoWaitCursor(int nCode) {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    pState->m_nWaitCursorCount += nCode;
    if (pState->m_nWaitCursorCount > 0) {
        HCURSOR hcurPrev = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        if (nCode > 0 && pState->m_nWaitCursorCount == 1)
            pState->m_hcurWaitCursorRestore = hcurPrev;
    } else {
        // Unbalanced ends do not push the count below zero.
        pState->m_nWaitCursorCount = 0;
        ::SetCursor(pState->m_hcurWaitCursorRestore);
    }
}

void CCmdTarget::BeginWaitCursor() { AfxDoWaitCursor(1); }
void CCmdTarget::EndWaitCursor() { AfxDoWaitCursor(-1); }
void CCmdTarget::RestoreWaitCursor() { AfxDoWaitCursor(0); }

CWaitCursor::CWaitCursor() { AfxDoWaitCursor(1); }
CWaitCursor::~CWaitCursor() { AfxDoWaitCursor(-1); }
void CWaitCursor::Restore() { AfxDoWaitCursor(0); }
