// How a tool bar is created and built from command ids and tool-bar
// resources, and the edits of its button list: removal, mnemonics, labels,
// groups, dropped buttons and the merge of a changed resource.
#include "docking/toolbars/QMXPToolBar.h"

#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/frames/ButtonAppearanceDlg.h"
#include "docking/toolbars/QMXPMnemonicLabel.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/OleDataObject.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace {

// The tool-bar resource type: 16-bit words of version, image width and
// height, item count, then one command id per item (0: a separator).
constexpr WORD kRtToolbar = 241;
constexpr DWORD kBarStyleMask = 0x0040FFFF;
constexpr DWORD kFlatStyle = 0x0800;
// Styles a tool-bar window always has, less 0x0002.
constexpr DWORD kToolbarWindowBits = 0x4E;
constexpr int kGroupDragThreshold = 6;

CQMXPToolbarButton* NewSeparator() {
    auto* pButton = new CQMXPToolbarButton;
    pButton->m_nStyle = TBBS_SEPARATOR;
    return pButton;
}

bool ListHasCommand(const CObList& list, UINT uiCmd) {
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        if (static_cast<const CQMXPToolbarButton*>(list.GetNext(pos))->m_nID == uiCmd)
            return true;
    }
    return false;
}

}  // namespace

BOOL CQMXPToolBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID) {
    DWORD dwBarStyle = (dwStyle | QMXP_CBRS_GRIPPER) & kBarStyleMask;
    if (nID == AFX_IDW_TOOLBAR)
        dwBarStyle |= QMXP_CBRS_HIDE_INPLACE;
    rcBorders.left = std::max<LONG>(rcBorders.left, 1);
    rcBorders.top = std::max<LONG>(rcBorders.top, 1);
    SetBorders(&rcBorders);
    const DWORD dwWindowStyle = ((dwStyle & ~kBarStyleMask) | dwCtrlStyle | kToolbarWindowBits) & ~0x0002u;
    const CString strClass = QMXPRegisterBarClass(L"QMXToolBar");
    SetBarStyle(dwBarStyle);
    if (!CQMXPControlBar::CreateEx(0, strClass, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID,
                                   QMXP_CBRS_FLOAT | QMXP_CBRS_CLOSE))
        return FALSE;
    // The window's style joined the bar style on creation: the bar style is its own again.
    SetBarStyle(dwBarStyle);
    return TRUE;
}

BOOL CQMXPToolBar::CreateEx(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return Create(pParentWnd, kFlatStyle, dwStyle, CRect(1, 1, 1, 1), nID);
}

BOOL CQMXPToolBar::SetButtons(const UINT* lpIDArray, int nIDCount, BOOL bRemapImages) {
    CQMXPToolbarButton* pCustomizeCopy = CopyCustomizeButton();
    RemoveAllButtons();
    while (!m_OrigButtons.IsEmpty())
        delete m_OrigButtons.RemoveHead();

    if (lpIDArray != nullptr) {
        int iImage = m_iImagesOffset;
        for (int i = 0; i < nIDCount; ++i) {
            const UINT uiID = lpIDArray[i];
            m_OrigButtons.AddTail(new CQMXPToolbarButton(uiID, -1, nullptr, FALSE, TRUE));
            if (uiID == 0) {
                InsertButton(NewSeparator());
                continue;
            }
            if (bRemapImages) {
                if (InsertButton(CQMXPToolbarButton(uiID, iImage, nullptr, FALSE, m_bLocked)) >= 0 && !m_bLocked)
                    m_DefaultImages.SetAt(uiID, iImage);
                ++iImage;
            } else {
                int iDefault = -1;
                if (m_DefaultImages.Lookup(uiID, iDefault))
                    InsertButton(CQMXPToolbarButton(uiID, iDefault, nullptr, FALSE, m_bLocked));
            }
        }
    } else {
        for (int i = 0; i < nIDCount; ++i)
            InsertButton(NewSeparator());
    }
    if (pCustomizeCopy != nullptr && InsertButton(pCustomizeCopy) >= 0)
        m_pCustomizeBtn = pCustomizeCopy;
    if (GetSafeHwnd() != nullptr) {
        CWnd* pTarget = GetDockSiteFrameWnd() != nullptr ? GetDockSiteFrameWnd() : GetParent();
        if (pTarget != nullptr)
            pTarget->SendMessage(QMXTOOLBAR_RESETTOOLBAR, m_uiOriginalResID);
    }
    return TRUE;
}

BOOL CQMXPToolBar::LoadToolBarEx(UINT uiToolbarResID, CQMXPToolBarParams& params, BOOL bLocked) {
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceW(hInst, MAKEINTRESOURCEW(uiToolbarResID), MAKEINTRESOURCEW(kRtToolbar));
    HGLOBAL hGlobal = hRsrc != nullptr ? ::LoadResource(hInst, hRsrc) : nullptr;
    const auto* pData = hGlobal != nullptr ? static_cast<const WORD*>(::LockResource(hGlobal)) : nullptr;
    const DWORD dwSize = hRsrc != nullptr ? ::SizeofResource(hInst, hRsrc) : 0;
    if (pData == nullptr || dwSize < 4 * sizeof(WORD))
        return FALSE;
    const CSize sizeImage(pData[1], pData[2]);
    // The item count is believed only as far as the resource holds items.
    const size_t nCount = std::min<size_t>(pData[3], dwSize / sizeof(WORD) - 4);
    std::vector<UINT> ids(pData + 4, pData + 4 + nCount);

    const CSize sizeButton(sizeImage.cx + 6, sizeImage.cy + 6);
    if (bLocked)
        SetLockedSizes(sizeButton, sizeImage);
    else
        SetSizes(sizeButton, sizeImage);
    m_bLocked = bLocked;
    if (params.m_uiHotResID == 0)
        params.m_uiHotResID = uiToolbarResID;
    if (m_uiOriginalResID == 0 && !LoadBitmapEx(params, bLocked))
        ids.clear();
    if (!bLocked) {
        int iImage = m_iImagesOffset;
        for (UINT uiID : ids) {
            if (uiID != 0)
                m_DefaultImages.SetAt(uiID, iImage++);
        }
    }
    m_uiOriginalResID = uiToolbarResID;
    if (!SetButtons(ids.data(), static_cast<int>(ids.size())))
        m_uiOriginalResID = 0;
    return TRUE;
}

void CQMXPToolBar::RemoveButtonAt(int iIndex) {
    POSITION pos = m_Buttons.FindIndex(iIndex);
    if (pos == nullptr)
        return;
    auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetAt(pos));
    m_Buttons.RemoveAt(pos);
    pButton->OnCancelMode();
    delete pButton;
    for (int* pIndex : {&m_iButtonCapture, &m_iHighlighted, &m_iSelected}) {
        if (*pIndex == iIndex)
            *pIndex = -1;
        else if (*pIndex > iIndex)
            --*pIndex;
    }
}

BOOL CQMXPToolBar::RemoveButton(int iIndex) {
    const int nCount = GetCount();
    if (iIndex < 0 || iIndex >= nCount || (m_pCustomizeBtn != nullptr && iIndex == nCount - 1))
        return FALSE;
    RemoveButtonAt(iIndex);
    auto isSeparator = [this](int i) {
        const CQMXPToolbarButton* pButton = GetButton(i);
        return pButton != nullptr && pButton != m_pCustomizeBtn && (pButton->m_nStyle & TBBS_SEPARATOR);
    };
    const int iLast = GetCount() - (m_pCustomizeBtn != nullptr ? 2 : 1);
    for (int i = iLast; i >= 0 && isSeparator(i); --i)
        RemoveButtonAt(i);
    if (iIndex > 0 && isSeparator(iIndex - 1) && isSeparator(iIndex))
        RemoveButtonAt(iIndex);
    RebuildAccelerators();
    return TRUE;
}

wchar_t CQMXPToolBar::MnemonicOf(const CQMXPToolbarButton& button) {
    if ((button.m_nStyle & TBBS_SEPARATOR) || !button.m_bText)
        return 0;
    // The letter the label underlines: "&&" shows an "&" and marks nothing.
    CString strShown;
    const int iMnemonic = CQMXPMnemonicLabel::Parse(button.m_strText, strShown);
    if (iMnemonic < 0)
        return 0;
    wchar_t ch = strShown[iMnemonic];
    ::CharUpperBuffW(&ch, 1);
    return ch;
}

void CQMXPToolBar::RebuildAccelerators() {
    m_AcellKeys.RemoveAll();
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        if (const wchar_t ch = MnemonicOf(*pButton))
            m_AcellKeys.SetAt(ch, pButton);
    }
}

BOOL CQMXPToolBar::SetButtonLabel(int nIndex, LPCWSTR lpszText, BOOL bShowText, BOOL bShowImage) {
    CQMXPToolbarButton* pButton = GetButton(nIndex);
    if (pButton == nullptr)
        return FALSE;
    pButton->m_bText = bShowText;
    pButton->m_bImage = bShowImage;
    if (lpszText != nullptr && *lpszText != L'\0')
        pButton->m_strText = lpszText;
    else if (bShowText)
        SetDefaultButtonText(pButton);
    return TRUE;
}

BOOL CQMXPToolBar::SetDefaultButtonText(CQMXPToolbarButton* pButton) {
    if (pButton == nullptr || pButton->m_nID == 0)
        return FALSE;
    const CString strName = CQMXPToolbarButton::GetCommandShortName(pButton->m_nID);
    if (strName.IsEmpty())
        return FALSE;
    pButton->m_strText = strName;
    return TRUE;
}

int CQMXPToolBar::GetButtonTextByCommand(UINT uiCmd, LPWSTR lpszText, int nMax) const {
    const CQMXPToolbarButton* pButton = GetButton(CommandToIndex(uiCmd));
    if (pButton == nullptr || lpszText == nullptr || nMax <= 0)
        return 0;
    const int nLength = std::min(pButton->m_strText.GetLength(), nMax - 1);
    std::wmemcpy(lpszText, pButton->m_strText, static_cast<size_t>(nLength));
    lpszText[nLength] = L'\0';
    return nLength;
}

// --- Customisation edits -------------------------------------------------------------------------

BOOL CQMXPToolBar::DeleteSelectedButton() {
    if (!RemoveButton(m_iSelected))
        return FALSE;
    m_iSelected = -1;
    AdjustLayout();
    return TRUE;
}

void CQMXPToolBar::ToggleBeginGroup() {
    if (m_iSelected < 0 || m_iSelected >= GetCount())
        return;
    const CQMXPToolbarButton* pPrev = GetButton(m_iSelected - 1);
    if (pPrev == nullptr || !(pPrev->m_nStyle & TBBS_SEPARATOR)) {
        if (InsertButton(NewSeparator(), m_iSelected) >= 0)
            ++m_iSelected;
    } else {
        const int iSelected = m_iSelected;
        RemoveButtonAt(iSelected - 1);
        m_iSelected = iSelected - 1;
    }
    AdjustLayout();
}

void CQMXPToolBar::DragGroupSeparator(CQMXPToolbarButton* pButton, CPoint ptStart, CPoint ptEnd) {
    const int iIndex = ButtonToIndex(pButton);
    const int nDelta = IsHorizontal() ? ptEnd.x - ptStart.x : ptEnd.y - ptStart.y;
    if (iIndex <= 0 || std::abs(nDelta) < kGroupDragThreshold)
        return;
    const CQMXPToolbarButton* pPrev = GetButton(iIndex - 1);
    const BOOL bSeparatorBefore = pPrev != nullptr && (pPrev->m_nStyle & TBBS_SEPARATOR);
    if (nDelta > 0 && !bSeparatorBefore)
        InsertButton(NewSeparator(), iIndex);
    else if (nDelta < 0 && bSeparatorBefore)
        RemoveButtonAt(iIndex - 1);
    AdjustLayout();
    m_iSelected = -1;
    Invalidate();
    UpdateWindow();
}

CQMXPToolbarButton* CQMXPToolBar::CreateDroppedButton(COleDataObject* pDataObject) {
    CQMXPToolbarButton* pButton = CQMXPToolbarButton::LoadFromOleData(pDataObject);
    if (pButton == nullptr)
        return nullptr;
    const int iTab = pButton->m_strText.Find(L'\t');
    if (iTab >= 0)
        pButton->m_strText = pButton->m_strText.Left(iTab);
    if (pButton->m_bDragFromCollection) {
        pButton->m_bText = FALSE;
        pButton->m_bImage = TRUE;
    }
    // A button without image or text has no look yet: the user gives it one.
    if (pButton->GetImage() < 0 && pButton->m_strText.IsEmpty()) {
        CButtonAppearanceDlg dlg(pButton, m_pUserImages, this, 0, IsMenuMode());
        if (dlg.DoModal() != IDOK) {
            delete pButton;
            return nullptr;
        }
    }
    if (pButton->GetImage() < 0) {
        pButton->m_bImage = FALSE;
        pButton->m_bText = TRUE;
    }
    return pButton;
}

int CQMXPToolBar::DropIndexFromPoint(CPoint point) const {
    const BOOL bHorz = IsHorizontal();
    int iIndex = 0;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr; ++iIndex) {
        const auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        const CPoint ptCenter = pButton->GetRect().CenterPoint();
        if (pButton != m_pCustomizeBtn && (bHorz ? point.x < ptCenter.x : point.y < ptCenter.y))
            return iIndex;
    }
    return GetCount();
}

BOOL CQMXPToolBar::OnDrop(COleDataObject* pDataObject, DWORD dropEffect, CPoint point) {
    CQMXPToolbarButton* pButton = CreateDroppedButton(pDataObject);
    if (pButton == nullptr)
        return FALSE;
    int iDropIndex = m_iDragIndex >= 0 ? m_iDragIndex : DropIndexFromPoint(point);
    // The insertion mark goes with the drop (no drag-leave follows a drop).
    m_iDragIndex = -1;
    m_rectDrag.SetRectEmpty();
    const int iSource = ButtonToIndex(m_pDragButton);
    if (iSource >= 0) {
        if (dropEffect != DROPEFFECT_COPY && (iDropIndex == iSource || iDropIndex == iSource + 1)) {
            DragGroupSeparator(m_pDragButton, m_ptStartDrag, point);
            // The button stays where it is: the drag is over for it.
            m_pDragButton = nullptr;
            delete pButton;
            return TRUE;
        }
        if (dropEffect != DROPEFFECT_COPY) {
            RemoveButtonAt(iSource);
            m_pDragButton = nullptr;
            if (iDropIndex > iSource)
                --iDropIndex;
        }
    }
    if (InsertButton(pButton, iDropIndex) < 0) {
        delete pButton;
        return FALSE;
    }
    AdjustLayout();
    AdjustTabbedToolbar();
    if (m_bCustomizeMode)
        pButton->OnAddToCustomizePage();
    m_iHighlighted = -1;
    Invalidate();
    UpdateWindow();
    return TRUE;
}

void CQMXPToolBar::MergeResourceChanges(CObList& lstStoredButtons) {
    // The stored list is the resource as it was when the state was saved;
    // the reset buttons are the resource now.
    BOOL bChanged = lstStoredButtons.GetCount() != m_OrigButtons.GetCount();
    for (POSITION pos = lstStoredButtons.GetHeadPosition(); pos != nullptr;) {
        const UINT uiID = static_cast<CQMXPToolbarButton*>(lstStoredButtons.GetNext(pos))->m_nID;
        if (ListHasCommand(m_OrigButtons, uiID))
            continue;
        bChanged = TRUE;
        // The user's groups stay.
        if (uiID == 0)
            continue;
        for (int iIndex = CommandToIndex(uiID); iIndex >= 0; iIndex = CommandToIndex(uiID))
            if (!RemoveButton(iIndex))
                break;
    }
    int iPosition = 0;
    for (POSITION pos = m_OrigButtons.GetHeadPosition(); pos != nullptr; ++iPosition) {
        const UINT uiID = static_cast<CQMXPToolbarButton*>(m_OrigButtons.GetNext(pos))->m_nID;
        if (ListHasCommand(lstStoredButtons, uiID))
            continue;
        bChanged = TRUE;
        const int iInsert = std::min(iPosition, GetCount());
        if (uiID == 0) {
            InsertButton(NewSeparator(), iInsert);
            continue;
        }
        int iImage = -1;
        m_DefaultImages.Lookup(uiID, iImage);
        InsertButton(CQMXPToolbarButton(uiID, iImage, nullptr, FALSE, m_bLocked), iInsert);
    }
    if (bChanged)
        m_bResourceWasChanged = TRUE;
}
