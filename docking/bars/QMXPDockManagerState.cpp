// CQMXPDockManager: the stored docking layout. SaveState writes the bars'
// own states and the blob of the arrangement (tab groups, docked panes and
// sliders, floating frames, auto-hidden panes); LoadState reads it back,
// and ApplyLoadedLayout rebuilds the arrangement. A damaged blob leaves the
// layout the code built.
#include "docking/bars/QMXPAutoHideToolBar.h"
#include "docking/bars/QMXPBarContainerManager.h"
#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPDockBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPSlider.h"
#include "docking/bars/QMXPTabWnd.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/toolbars/QMXPBaseToolBar.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/MemFile.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

namespace {

const wchar_t kRegLayoutValue[] = L"DockingCBAndSliders";
constexpr UINT kNoID = static_cast<UINT>(-1);
constexpr int kArchiveBuffer = 4096;

CString LayoutKey(LPCWSTR lpszProfileName, UINT uiID) {
    CString strKey;
    strKey.Format(L"%sQMXPDockManager-%d", static_cast<LPCWSTR>(QMXPGetRegPath(qmxRegDockManagerSection,
                                                                               lpszProfileName)),
                  uiID);
    return strKey;
}

BOOL IsSavedPane(CObject* pObject) {
    auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pObject);
    if (pPane == nullptr || !pPane->CanFloat())
        return FALSE;
    if (static_cast<UINT>(pPane->GetDlgCtrlID()) != kNoID)
        return TRUE;
    // A bar without an id of its own is written by its first tab.
    auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pPane);
    return pTabbedBar != nullptr && pTabbedBar->GetTabsNum() > 0 && pTabbedBar->GetTabWnd(0) != nullptr;
}

BOOL IsSavedSlider(CObject* pObject) {
    auto* pSlider = DYNAMIC_DOWNCAST(CQMXPSlider, pObject);
    return pSlider != nullptr && pSlider->GetContainerManager() != nullptr && !pSlider->IsManagerEmpty();
}

}  // namespace

// The auto-hide record ------------------------------------------------------------------------

QMXP_AUTOHIDEBAR_SAVE_INFO::QMXP_AUTOHIDEBAR_SAVE_INFO()
    : m_nBarID(kNoID),
      m_dwBarAlignment(0),
      m_bIsVisible(TRUE),
      m_lstSiblingBars(10),
      m_rectBar(0, 0, 0, 0),
      m_bFirstInGroup(TRUE),
      m_bLastInGroup(TRUE),
      m_bActiveInGroup(TRUE),
      m_pSavedBar(nullptr) {}

void QMXP_AUTOHIDEBAR_SAVE_INFO::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_nBarID << m_dwBarAlignment << m_bIsVisible << 0;
        ar << m_rectBar.left << m_rectBar.top << m_rectBar.right << m_rectBar.bottom;
        ar << m_bFirstInGroup << m_bLastInGroup << m_bActiveInGroup;
        return;
    }
    int nSiblings = 0;
    ar >> m_nBarID >> m_dwBarAlignment >> m_bIsVisible >> nSiblings;
    for (int i = 0; i < nSiblings; ++i) {
        UINT nID = 0;
        ar >> nID;
        if (nID != kNoID)
            m_lstSiblingBars.AddTail(nID);
    }
    ar >> m_rectBar.left >> m_rectBar.top >> m_rectBar.right >> m_rectBar.bottom;
    ar >> m_bFirstInGroup >> m_bLastInGroup >> m_bActiveInGroup;
}

void CQMXPDockManager::ClearLoadedAutoHideRecords() {
    for (POSITION pos = m_lstLoadedAutoHideRecords.GetHeadPosition(); pos != nullptr;)
        delete m_lstLoadedAutoHideRecords.GetNext(pos);
    m_lstLoadedAutoHideRecords.RemoveAll();
}

// Saving ----------------------------------------------------------------------------------------

BOOL CQMXPDockManager::SaveState(LPCWSTR lpszProfileName, UINT uiID) {
    auto saveBar = [lpszProfileName](CObject* pObject) {
        auto* pBar = DYNAMIC_DOWNCAST(CQMXPControlBar, pObject);
        if (pBar != nullptr && !pBar->IsKindOf(RUNTIME_CLASS(CQMXPBaseToolBar)))
            pBar->SaveState(lpszProfileName, kNoID, -1);
    };
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;)
        saveBar(m_lstBars.GetNext(pos));
    // The auto-hidden panes keep their own states too.
    for (POSITION pos = m_lstAutoHideSliders.GetHeadPosition(); pos != nullptr;) {
        auto* pSlider = DYNAMIC_DOWNCAST(CQMXPSlider, m_lstAutoHideSliders.GetNext(pos));
        if (pSlider != nullptr)
            saveBar(pSlider->GetFirstBar());
    }
    for (POSITION pos = m_lstFloatingFrames.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPMiniFrameWnd*>(m_lstFloatingFrames.GetNext(pos))->SaveState(lpszProfileName, kNoID);
    CQMXPRegistrySP regSP;
    CQMXPRegistry* pReg = regSP.Create(FALSE, FALSE);
    return pReg->CreateKey(LayoutKey(lpszProfileName, uiID)) && pReg->Write(kRegLayoutValue, *this);
}

void CQMXPDockManager::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        StoreLayout(ar);
    else
        LoadLayout(ar);
}

void CQMXPDockManager::StoreLayout(CArchive& ar) {
    // Empty tabbed bars leave, and the floating frames drop panes that are gone.
    std::vector<CQMXPBaseTabbedBar*> emptyBars;
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;) {
        auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, m_lstBars.GetNext(pos));
        if (pTabbedBar != nullptr && pTabbedBar->GetTabsNum() == 0 && pTabbedBar->CanFloat())
            emptyBars.push_back(pTabbedBar);
    }
    for (CQMXPBaseTabbedBar* pTabbedBar : emptyBars)
        pTabbedBar->UndockControlBar(TRUE);
    for (POSITION pos = m_lstFloatingFrames.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPMiniFrameWnd*>(m_lstFloatingFrames.GetNext(pos))->PrepareToSave();

    std::vector<CQMXPBaseTabbedBar*> tabGroups;
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;) {
        auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, m_lstBars.GetNext(pos));
        if (pTabbedBar != nullptr && !pTabbedBar->CanFloat())
            tabGroups.push_back(pTabbedBar);
    }
    ar << static_cast<int>(tabGroups.size());
    for (CQMXPBaseTabbedBar* pTabbedBar : tabGroups) {
        ar << pTabbedBar->GetDlgCtrlID();
        pTabbedBar->SerializeTabWindow(ar);
    }

    // Only what is written is counted.
    int nItems = 0;
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;) {
        CObject* pObject = m_lstBars.GetNext(pos);
        nItems += (IsSavedPane(pObject) || IsSavedSlider(pObject)) ? 1 : 0;
    }
    ar << nItems;
    for (POSITION pos = m_lstBars.GetTailPosition(); pos != nullptr;) {
        CObject* pObject = m_lstBars.GetPrev(pos);
        if (IsSavedPane(pObject)) {
            auto* pPane = static_cast<CQMXPDockingControlBar*>(pObject);
            const int nID = pPane->GetDlgCtrlID();
            ar << 1 << nID;
            if (static_cast<UINT>(nID) == kNoID)
                ar << static_cast<CQMXPBaseTabbedBar*>(pPane)->GetTabWnd(0)->GetDlgCtrlID();
        } else if (IsSavedSlider(pObject)) {
            ar << 0;
            static_cast<CQMXPSlider*>(pObject)->Serialize(ar);
        }
    }

    std::vector<CQMXPMiniFrameWnd*> frames;
    for (POSITION pos = m_lstFloatingFrames.GetHeadPosition(); pos != nullptr;) {
        auto* pFrame = static_cast<CQMXPMiniFrameWnd*>(m_lstFloatingFrames.GetNext(pos));
        if (pFrame->GetControlBarCount() > 0)
            frames.push_back(pFrame);
    }
    ar << static_cast<int>(frames.size());
    for (CQMXPMiniFrameWnd* pFrame : frames)
        ar.WriteObject(pFrame);

    std::vector<std::unique_ptr<QMXP_AUTOHIDEBAR_SAVE_INFO>> records;
    for (POSITION pos = m_lstAutoHideSliders.GetHeadPosition(); pos != nullptr;) {
        auto* pSlider = DYNAMIC_DOWNCAST(CQMXPSlider, m_lstAutoHideSliders.GetNext(pos));
        CQMXPDockingControlBar* pPane = pSlider != nullptr ? pSlider->GetFirstBar() : nullptr;
        if (pPane == nullptr)
            continue;
        QMXP_AUTOHIDEBAR_SAVE_INFO& info = *records.emplace_back(std::make_unique<QMXP_AUTOHIDEBAR_SAVE_INFO>());
        info.m_nBarID = static_cast<UINT>(pPane->GetDlgCtrlID());
        info.m_dwBarAlignment = pPane->GetCurrentAlignment() & 0xF000;
        info.m_bIsVisible = CQMXPDockingControlBar::IsHideInAutoHideMode() ? pPane->IsVisible() : TRUE;
        pPane->GetWindowRect(&info.m_rectBar);
        if (info.m_rectBar.IsRectEmpty())
            info.m_rectBar = pPane->GetRestoredRect();
        CQMXPAutoHideToolBar* pStrip = pPane->GetAutoHideToolBar();
        if (pStrip != nullptr) {
            info.m_bFirstInGroup = pStrip->IsFirstInGroup();
            info.m_bLastInGroup = pStrip->IsLastInGroup();
            info.m_bActiveInGroup = pStrip->IsActiveInGroup();
        }
    }
    ar << static_cast<int>(records.size());
    for (const auto& info : records)
        info->Serialize(ar);
}

// Loading ---------------------------------------------------------------------------------------

BOOL CQMXPDockManager::LoadState(LPCWSTR lpszProfileName, UINT uiID) {
    auto loadBar = [lpszProfileName](CObject* pObject) {
        auto* pBar = DYNAMIC_DOWNCAST(CQMXPControlBar, pObject);
        if (pBar != nullptr && !pBar->IsKindOf(RUNTIME_CLASS(CQMXPBaseToolBar)))
            pBar->LoadState(lpszProfileName, kNoID, -1);
    };
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;)
        loadBar(m_lstBars.GetNext(pos));
    for (POSITION pos = m_lstAutoHideSliders.GetHeadPosition(); pos != nullptr;) {
        auto* pSlider = DYNAMIC_DOWNCAST(CQMXPSlider, m_lstAutoHideSliders.GetNext(pos));
        if (pSlider != nullptr)
            loadBar(pSlider->GetFirstBar());
    }
    for (POSITION pos = m_lstFloatingFrames.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPMiniFrameWnd*>(m_lstFloatingFrames.GetNext(pos))->LoadState(lpszProfileName, kNoID);

    BYTE* pData = nullptr;
    UINT nBytes = 0;
    {
        CQMXPRegistrySP regSP;
        CQMXPRegistry* pReg = regSP.Create(FALSE, TRUE);
        if (!pReg->Open(LayoutKey(lpszProfileName, uiID)) || !pReg->Read(kRegLayoutValue, pData, nBytes))
            return FALSE;
    }
    std::unique_ptr<BYTE[]> data(pData);
    try {
        CMemFile file(data.get(), nBytes);
        CArchive ar(&file, CArchive::load, kArchiveBuffer);
        Serialize(ar);
        ar.Close();
    } catch (CException* pException) {
        pException->Delete();
        DiscardLoadedLayout();
        return FALSE;
    } catch (const std::bad_alloc&) {
        DiscardLoadedLayout();
        return FALSE;
    }
    m_bLoadFailed = FALSE;
    return TRUE;
}

void CQMXPDockManager::LoadLayout(CArchive& ar) {
    m_lstLoadedItems.RemoveAll();
    m_lstLoadedTabGroups.RemoveAll();
    m_lstLoadedFloatingFrames.RemoveAll();
    ClearLoadedAutoHideRecords();

    int nTabbed = 0;
    ar >> nTabbed;
    BOOL bGroupMissing = FALSE;
    for (int i = 0; i < nTabbed; ++i) {
        UINT nID = 0;
        ar >> nID;
        auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, FindBarByID(nID, TRUE));
        if (pTabbedBar != nullptr && pTabbedBar->GetUnderlinedWindow() != nullptr) {
            pTabbedBar->SerializeTabWindow(ar);
            m_lstLoadedTabGroups.AddTail(pTabbedBar);
        } else {
            // A group that is gone still has its record read, so the stream stays in step.
            CQMXPTabWnd tabsOfGoneBar;
            tabsOfGoneBar.Serialize(ar);
            bGroupMissing = TRUE;
        }
    }

    int nItems = 0;
    ar >> nItems;
    CQMXPSlider* pLastSlider = nullptr;
    for (int i = 0; i < nItems; ++i) {
        int nKind = 0;
        ar >> nKind;
        if (nKind == 0) {
            auto* pSlider = new CQMXPSlider(TRUE, m_pFrame);
            // Listed at once, so that a failure further on can undo it.
            m_lstLoadedItems.AddHead(pSlider);
            pSlider->Serialize(ar);
            pLastSlider = pSlider;
            continue;
        }
        UINT nID = 0;
        ar >> nID;
        CQMXPDockingControlBar* pPane = nullptr;
        if (nID != kNoID) {
            pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, FindBarByID(nID, TRUE));
        } else {
            UINT nTabID = 0;
            ar >> nTabID;
            if (pLastSlider != nullptr && pLastSlider->GetContainerManager() != nullptr)
                pPane = pLastSlider->GetContainerManager()->FindTabbedBarBySiblingID(nTabID);
        }
        // A pane belongs beside the slider read before it: a stream that names one first is damaged.
        if (pLastSlider == nullptr)
            AfxThrowArchiveException(CArchiveException::genericException);
        if (pPane == nullptr)
            continue;
        if (pPane->IsAutoHideMode())
            pPane->SetAutoHideMode(FALSE, 0xF000, nullptr, TRUE);
        pPane->SetRestoredDefaultSlider(pLastSlider->GetSafeHwnd());
        pPane->SetCurrentAlignment(pLastSlider->GetCurrentAlignment());
        m_lstLoadedItems.AddHead(pPane);
    }

    int nFrames = 0;
    ar >> nFrames;
    for (int i = 0; i < nFrames; ++i) {
        CQMXPMiniFrameWnd::m_pParentWndForSerialize = m_pFrame;
        CQMXPMiniFrameWnd* pMiniFrame = nullptr;
        ar >> pMiniFrame;
        if (pMiniFrame != nullptr)
            m_lstLoadedFloatingFrames.AddTail(pMiniFrame);
    }

    int nAutoHide = 0;
    ar >> nAutoHide;
    for (int i = 0; i < nAutoHide; ++i) {
        auto* pInfo = new QMXP_AUTOHIDEBAR_SAVE_INFO;
        m_lstLoadedAutoHideRecords.AddTail(pInfo);
        pInfo->Serialize(ar);
    }
    // The whole stream was read; a layout whose tab group is gone is not this frame's any more.
    if (bGroupMissing)
        AfxThrowArchiveException(CArchiveException::genericException);
}

void CQMXPDockManager::DiscardLoadedLayout() {
    for (POSITION pos = m_lstLoadedItems.GetHeadPosition(); pos != nullptr;) {
        CObject* pObject = m_lstLoadedItems.GetNext(pos);
        auto* pSlider = DYNAMIC_DOWNCAST(CQMXPSlider, pObject);
        if (pSlider != nullptr) {
            // The window takes its object with it; a slider that never got one goes by itself.
            if (pSlider->GetSafeHwnd() != nullptr)
                pSlider->DestroyWindow();
            else
                delete pSlider;
            continue;
        }
        auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pObject);
        if (pPane != nullptr) {
            pPane->SetRestoredFromRegistry(FALSE);
            pPane->SetRestoredDefaultSlider(nullptr);
        }
    }
    m_lstLoadedItems.RemoveAll();
    for (POSITION pos = m_lstLoadedFloatingFrames.GetHeadPosition(); pos != nullptr;) {
        auto* pMiniFrame = static_cast<CQMXPMiniFrameWnd*>(m_lstLoadedFloatingFrames.GetNext(pos));
        if (::IsWindow(pMiniFrame->GetSafeHwnd()))
            pMiniFrame->DestroyWindow();
    }
    m_lstLoadedFloatingFrames.RemoveAll();
    m_lstLoadedTabGroups.RemoveAll();
    ClearLoadedAutoHideRecords();
    m_bLoadFailed = TRUE;
}

// Applying ----------------------------------------------------------------------------------------

void CQMXPDockManager::ApplyLoadedLayout() {
    if (m_bLoadFailed || m_pFrame == nullptr ||
        (m_lstLoadedItems.IsEmpty() && m_lstLoadedFloatingFrames.IsEmpty() && m_lstLoadedTabGroups.IsEmpty() &&
         m_lstBars.IsEmpty()))
        return;
    qmxRestoringDockState = TRUE;

    // 1. Groups in auto hide return first (by their first strips).
    std::vector<CQMXPDockingControlBar*> groupLeaders;
    for (POSITION pos = m_lstAutoHideSliders.GetHeadPosition(); pos != nullptr;) {
        auto* pSlider = DYNAMIC_DOWNCAST(CQMXPSlider, m_lstAutoHideSliders.GetNext(pos));
        CQMXPDockingControlBar* pPane = pSlider != nullptr ? pSlider->GetFirstBar() : nullptr;
        if (pPane != nullptr && pPane->GetAutoHideToolBar() != nullptr && pPane->GetAutoHideToolBar()->IsFirstInGroup())
            groupLeaders.push_back(pPane);
    }
    for (CQMXPDockingControlBar* pPane : groupLeaders)
        pPane->SetAutoHideMode(FALSE, 0xF000, nullptr, TRUE);

    // 2. The loaded sliders and panes join the bar list in their stored order,
    // each pane beside the slider it was read after.
    for (POSITION pos = m_lstLoadedItems.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPBaseControlBar*>(m_lstLoadedItems.GetNext(pos));
        auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pBar);
        if (pPane != nullptr) {
            pPane->LeaveTabGroup(m_pFrame);
            CQMXPMiniFrameWnd* pMiniFrame = pPane->GetParentMiniFrame(TRUE);
            if (pMiniFrame != nullptr)
                pMiniFrame->RemoveControlBar(pPane, FALSE, FALSE);
            auto* pSlider = DYNAMIC_DOWNCAST(CQMXPSlider, CWnd::FromHandlePermanent(pPane->GetRestoredDefaultSlider()));
            CQMXPSlider* pOldSlider = pPane->GetDefaultSlider();
            if (pOldSlider != nullptr && pOldSlider != pSlider)
                pOldSlider->RemoveControlBar(pPane);
            pPane->SetDefaultSlider(pSlider != nullptr ? pSlider->GetSafeHwnd() : nullptr);
            if (pPane->GetParent() != m_pFrame)
                pPane->SetParent(m_pFrame);
            pPane->ShowCaption(TRUE);
        }
        POSITION posListed = m_lstBars.Find(pBar);
        if (posListed != nullptr)
            m_lstBars.RemoveAt(posListed);
        m_lstBars.AddTail(pBar);
        pBar->SetDockSite(m_pFrame);
    }

    // 3. The floating frames take their bars.
    for (POSITION pos = m_lstLoadedFloatingFrames.GetHeadPosition(); pos != nullptr;) {
        auto* pMiniFrame = static_cast<CQMXPMiniFrameWnd*>(m_lstLoadedFloatingFrames.GetNext(pos));
        if (!::IsWindow(pMiniFrame->GetSafeHwnd()))
            continue;
        pMiniFrame->SetWindowPos(nullptr, 0, 0, 0, 0,
                                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        pMiniFrame->RestoreAfterLoad(this);
    }

    // 4. Bars that are not panes take their stored places.
    std::vector<CQMXPControlBar*> others;
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;) {
        CObject* pObject = m_lstBars.GetNext(pos);
        auto* pDockBar = DYNAMIC_DOWNCAST(CQMXPDockBar, pObject);
        if (pDockBar != nullptr) {
            for (POSITION posBar = pDockBar->GetControlBars().GetHeadPosition(); posBar != nullptr;)
                others.push_back(static_cast<CQMXPControlBar*>(pDockBar->GetControlBars().GetNext(posBar)));
            continue;
        }
        auto* pBar = DYNAMIC_DOWNCAST(CQMXPControlBar, pObject);
        if (pBar == nullptr || pBar->IsKindOf(RUNTIME_CLASS(CQMXPDockingControlBar)) || !pBar->IsRestoredFromRegistry())
            continue;
        if (!pBar->CanFloat()) {
            const CRect rect = pBar->GetRestoredDockedRect();
            pBar->CWnd::SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            pBar->ShowWindow(pBar->GetRecentVisibleState() ? SW_SHOW : SW_HIDE);
        } else {
            others.push_back(pBar);
        }
    }
    others.erase(std::remove_if(others.begin(), others.end(),
                                [](CQMXPControlBar* pBar) {
                                    return !pBar->IsRestoredFromRegistry() ||
                                           pBar->IsKindOf(RUNTIME_CLASS(CQMXPDockingControlBar)) ||
                                           pBar->IsKindOf(RUNTIME_CLASS(CQMXPAutoHideToolBar));
                                }),
                 others.end());
    // A stored row index counts the rows of the stored layout: the bars leave their present rows
    // first and come back row by row, so that a bar is never put into a row another bar still holds.
    {
        // Each bar leaving lays the frame out: once, after the last, is enough.
        CQMXPLayoutHold hold(m_pFrame);
        for (CQMXPControlBar* pBar : others)
            if (!pBar->IsRestoredFloating())
                pBar->UndockControlBar(TRUE);
    }
    std::stable_sort(others.begin(), others.end(), [](CQMXPControlBar* pLeft, CQMXPControlBar* pRight) {
        const int nLeftRow = pLeft->GetRecentDockInfo().m_nRecentRowIndex;
        const int nRightRow = pRight->GetRecentDockInfo().m_nRecentRowIndex;
        if (nLeftRow != nRightRow)
            return nLeftRow < nRightRow;
        const CRect rectLeft = pLeft->GetRestoredDockedRect();
        const CRect rectRight = pRight->GetRestoredDockedRect();
        return rectLeft.left + rectLeft.top < rectRight.left + rectRight.top;
    });
    {
        // Each bar docked back lays the frame out: once, after the last, is enough.
        CQMXPLayoutHold hold(m_pFrame);
        for (CQMXPControlBar* pBar : others)
            pBar->RestoreDockState(this);
    }

    // 5. The loaded panes at their places; tabbed bars gather their tabs.
    for (POSITION pos = m_lstLoadedItems.GetHeadPosition(); pos != nullptr;) {
        auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, m_lstLoadedItems.GetNext(pos));
        if (pPane == nullptr)
            continue;
        const CRect rect = pPane->GetRestoredDockedRect();
        pPane->CWnd::SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                  SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        CQMXPSlider* pSlider = pPane->GetDefaultSlider();
        if (pSlider != nullptr)
            pPane->SetCurrentAlignment(pSlider->GetCurrentAlignment());
        auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pPane);
        if (pTabbedBar != nullptr && pSlider != nullptr) {
            pTabbedBar->ApplyRestoredTabs();
            if (pTabbedBar->GetTabsNum() > 0)
                pTabbedBar->AdjustLayout();
        }
        const BOOL bVisible = pTabbedBar != nullptr ? pTabbedBar->GetVisibleTabsNum() > 0
                                                    : (!pPane->IsRestoredFromRegistry() || pPane->GetRecentVisibleState());
        pPane->ShowWindow(bVisible ? SW_SHOW : SW_HIDE);
        if (pSlider != nullptr)
            pSlider->ShowControlBar(pPane, bVisible);
    }

    // 6.
    AdjustDockingLayout(nullptr);

    // 7. Auto-hidden panes to their sides.
    for (POSITION pos = m_lstLoadedAutoHideRecords.GetHeadPosition(); pos != nullptr;) {
        QMXP_AUTOHIDEBAR_SAVE_INFO* pInfo = m_lstLoadedAutoHideRecords.GetNext(pos);
        auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, FindBarByID(pInfo->m_nBarID, TRUE));
        const DWORD dwSide = pInfo->m_dwBarAlignment & 0xF000;
        if (pPane == nullptr || (m_dwAutoHideSides & dwSide) == 0)
            continue;
        if (pPane->IsAutoHideMode())
            pPane->SetAutoHideMode(FALSE, 0xF000, nullptr, TRUE);
        pPane->LeaveTabGroup(m_pFrame);
        pPane->DockToFrameWindow(dwSide, nullptr, QMXP_DM_MOUSE, nullptr, -1, FALSE);
        CRect rect = pInfo->m_rectBar;
        if (pPane->GetParent() != nullptr)
            pPane->GetParent()->ScreenToClient(&rect);
        pPane->CWnd::SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                  SWP_NOZORDER | SWP_NOACTIVATE);
        CQMXPAutoHideToolBar* pStrip = pPane->SetAutoHideMode(TRUE, dwSide, nullptr, FALSE);
        if (pStrip != nullptr) {
            pStrip->SetFirstInGroup(pInfo->m_bFirstInGroup);
            pStrip->SetLastInGroup(pInfo->m_bLastInGroup);
            pStrip->CQMXPControlBar::SetActiveInGroup(pInfo->m_bActiveInGroup);
            pStrip->ShowPaneButton(pPane, pInfo->m_bIsVisible, FALSE);
        }
        pInfo->m_pSavedBar = pPane;
    }
    // 8.
    if (CQMXPDockingControlBar::IsHideInAutoHideMode()) {
        for (POSITION pos = m_lstLoadedAutoHideRecords.GetHeadPosition(); pos != nullptr;) {
            QMXP_AUTOHIDEBAR_SAVE_INFO* pInfo = m_lstLoadedAutoHideRecords.GetNext(pos);
            if (pInfo->m_pSavedBar != nullptr)
                pInfo->m_pSavedBar->ShowControlBar(pInfo->m_bIsVisible, FALSE, FALSE);
        }
    }
    // 9.
    for (POSITION pos = m_lstLoadedTabGroups.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPBaseTabbedBar*>(m_lstLoadedTabGroups.GetNext(pos))->ApplyRestoredTabs();

    // 10. Empty tabbed bars go.
    std::vector<CQMXPBaseTabbedBar*> emptyBars;
    for (POSITION pos = m_lstBars.GetTailPosition(); pos != nullptr;) {
        auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, m_lstBars.GetPrev(pos));
        if (pTabbedBar != nullptr && pTabbedBar->GetTabsNum() == 0 && pTabbedBar->CanFloat())
            emptyBars.push_back(pTabbedBar);
    }
    for (CQMXPBaseTabbedBar* pTabbedBar : emptyBars) {
        pTabbedBar->UndockControlBar(TRUE);
        pTabbedBar->DestroyWindow();
    }

    // 11.
    m_lstLoadedItems.RemoveAll();
    m_lstLoadedTabGroups.RemoveAll();
    m_lstLoadedFloatingFrames.RemoveAll();
    qmxRestoringDockState = FALSE;
    RelayoutAllBars(TRUE);
}
