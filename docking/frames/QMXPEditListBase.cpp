#include "docking/frames/QMXPEditListBase.h"

#include "docking/frames/QMXPKeyHelper.h"
#include "docking/toolbars/QMXPButton.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/StringResource.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CQMXPEditListBase, CStatic)

namespace {

struct StandardButton {
    UINT uiBit;
    UINT uiCommand;
    UINT uiBitmap;
    UINT uiTooltip;
    WORD wKey;
    BYTE fVirt;
};

const StandardButton kStandardButtons[] = {
    {QMXP_EDITLIST_NEWITEM, CQMXPEditListBase::kNewItemId, 16929, 16017, VK_INSERT, 0},
    {QMXP_EDITLIST_REMOVEITEM, CQMXPEditListBase::kRemoveItemId, 16930, 16020, VK_DELETE, 0},
    {QMXP_EDITLIST_UPITEM, CQMXPEditListBase::kUpItemId, 16931, 16021, VK_UP, FALT},
    {QMXP_EDITLIST_DOWNITEM, CQMXPEditListBase::kDownItemId, 16932, 16022, VK_DOWN, FALT},
};

// Children of the control: the list is 1, the caption buttons follow.
constexpr UINT kFirstButtonId = 2;

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPEditListBase, CStatic)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_SETFONT, OnSetFont)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_ENABLE()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CQMXPEditListBase::CQMXPEditListBase()
    : m_sizeButton(0, 0),
      m_rectCaption(0, 0, 0, 0),
      m_uiStandardBtns(0),
      m_bNewItem(FALSE),
      m_hFont(nullptr),
      m_bIsActualDelete(TRUE),
      m_bBrowseButton(FALSE),
      m_bGrayDisabledButtons(TRUE),
      m_bCreating(FALSE) {
    m_mapButtonIDs.InitHashTable(17);
}

CQMXPEditListBase::~CQMXPEditListBase() {
    while (!m_lstButtons.IsEmpty())
        delete m_lstButtons.RemoveHead();
    if (m_hFont != nullptr)
        ::DeleteObject(m_hFont);
}

BOOL CQMXPEditListBase::PreCreateWindow(CREATESTRUCTW& cs) {
    m_bCreating = TRUE;
    return CStatic::PreCreateWindow(cs);
}

void CQMXPEditListBase::PreSubclassWindow() {
    CStatic::PreSubclassWindow();
    // A static of a dialog template is attached after it exists; one made
    // by Create gets its list on WM_CREATE.
    if (!m_bCreating)
        Init();
}

int CQMXPEditListBase::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    m_bCreating = FALSE;
    if (CStatic::OnCreate(lpCreateStruct) == -1)
        return -1;
    Init();
    return 0;
}

void CQMXPEditListBase::Init() {
    ModifyStyle(0, SS_NOTIFY | WS_CLIPCHILDREN);
    CreateList();
    AdjustLayout();
}

CQMXPButton* CQMXPEditListBase::GetButton(int iIndex) const {
    POSITION pos = m_lstButtons.FindIndex(iIndex);
    return pos == nullptr ? nullptr : static_cast<CQMXPButton*>(m_lstButtons.GetAt(pos));
}

UINT CQMXPEditListBase::ButtonCommand(int iButton) const {
    UINT uiCmd = 0;
    return m_mapButtonIDs.Lookup(iButton, uiCmd) ? uiCmd : 0;
}

BOOL CQMXPEditListBase::SetStandardButtons(UINT uiBtns) {
    if (GetSafeHwnd() == nullptr)
        return FALSE;
    for (const StandardButton& button : kStandardButtons) {
        if (!(uiBtns & button.uiBit))
            continue;
        CString strTooltip;
        AfxLoadStringResource(button.uiTooltip, strTooltip);
        if (!AddButton(button.uiBitmap, strTooltip, button.wKey, button.fVirt, button.uiCommand))
            return FALSE;
    }
    m_uiStandardBtns |= uiBtns;
    return TRUE;
}

BOOL CQMXPEditListBase::AddButton(UINT uiImageId, LPCWSTR lpszTooltip, WORD wKeyAccelerator, BYTE fVirt,
                                  UINT uiButtonID) {
    if (GetSafeHwnd() == nullptr)
        return FALSE;
    auto* pButton = new CQMXPButton;
    const UINT uiChildId = kFirstButtonId + static_cast<UINT>(m_lstButtons.GetCount());
    if (!pButton->Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 0, 0), this, uiChildId)) {
        delete pButton;
        return FALSE;
    }
    pButton->m_nFlatStyle = CQMXPButton::BUTTONSTYLE_FLAT;
    pButton->m_bGrayDisabled = m_bGrayDisabledButtons;
    pButton->SetImage(uiImageId);

    CString strTooltip = lpszTooltip != nullptr ? lpszTooltip : L"";
    if (wKeyAccelerator != 0) {
        ACCEL accel = {static_cast<BYTE>(fVirt | FVIRTKEY), wKeyAccelerator, 0};
        CString strKey;
        CQMXPKeyHelper(&accel).Format(strKey);
        strTooltip += L" (" + strKey + L")";
    }
    pButton->SetTooltip(strTooltip);
    pButton->SizeToContent();
    if (m_lstButtons.IsEmpty()) {
        CRect rectButton;
        pButton->GetWindowRect(&rectButton);
        m_sizeButton = rectButton.Size();
    }

    if (uiButtonID != 0)
        m_mapButtonIDs.SetAt(static_cast<int>(m_lstButtons.GetCount()), uiButtonID);
    m_lstButtons.AddTail(pButton);
    m_lstKeyAccell.push_back(wKeyAccelerator == 0 ? 0 : (static_cast<DWORD>(fVirt) << 16) | wKeyAccelerator);
    AdjustLayout();
    return TRUE;
}

HFONT CQMXPEditListBase::CaptionFont() const {
    if (m_hFont != nullptr)
        return m_hFont;
    CWnd* pParent = GetParent();
    HFONT hParentFont = pParent != nullptr ? reinterpret_cast<HFONT>(pParent->SendMessage(WM_GETFONT)) : nullptr;
    return hParentFont != nullptr ? hParentFont : static_cast<HFONT>(globalData.fontRegular.GetSafeHandle());
}

void CQMXPEditListBase::AdjustLayout() {
    if (GetSafeHwnd() == nullptr)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);

    CClientDC dc(this);
    HGDIOBJ hOldFont = ::SelectObject(dc.GetSafeHdc(), CaptionFont());
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(dc.GetSafeHdc(), &tm);
    ::SelectObject(dc.GetSafeHdc(), hOldFont);

    const int nCaptionHeight = std::max<int>(tm.tmHeight * 4 / 3, m_sizeButton.cy);
    m_rectCaption = rectClient;
    m_rectCaption.bottom = m_rectCaption.top + nCaptionHeight;

    int x = rectClient.right - m_sizeButton.cx - 1;
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPButton*>(m_lstButtons.GetNext(pos));
        pButton->MoveWindow(x, m_rectCaption.top + 1, m_sizeButton.cx, nCaptionHeight - 2);
        x -= m_sizeButton.cx;
    }

    HWND hList = GetListHwnd();
    if (hList != nullptr) {
        ::SetWindowPos(hList, nullptr, rectClient.left, m_rectCaption.bottom, rectClient.Width(),
                       rectClient.bottom - m_rectCaption.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
        OnSizeList();
    }
}

void CQMXPEditListBase::OnSize(UINT nType, int cx, int cy) {
    CStatic::OnSize(nType, cx, cy);
    AdjustLayout();
}

LRESULT CQMXPEditListBase::OnSetFont(WPARAM wParam, LPARAM lParam) {
    if (m_hFont != nullptr) {
        ::DeleteObject(m_hFont);
        m_hFont = nullptr;
    }
    LOGFONTW lf = {};
    if (wParam != 0 && ::GetObjectW(reinterpret_cast<HFONT>(wParam), sizeof(lf), &lf) != 0)
        m_hFont = ::CreateFontIndirectW(&lf);
    AdjustLayout();
    if (LOWORD(lParam))
        Invalidate();
    return 0;
}

LRESULT CQMXPEditListBase::OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(CaptionFont()); }

BOOL CQMXPEditListBase::OnEraseBkgnd(CDC*) { return TRUE; }

void CQMXPEditListBase::OnPaint() {
    CPaintDC dc(this);
    dc.FillRect(&m_rectCaption, &globalData.brBtnFace);
    dc.Draw3dRect(&m_rectCaption, globalData.clrBtnHilite, globalData.clrBtnShadow);

    CRect rectText = m_rectCaption;
    rectText.DeflateRect(5, 0);
    CString strText;
    GetWindowText(strText);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF clrOld = dc.SetTextColor(IsWindowEnabled() ? globalData.clrBtnText : globalData.clrGrayedText);
    HGDIOBJ hOldFont = ::SelectObject(dc.GetSafeHdc(), CaptionFont());
    dc.DrawText(strText, &rectText, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    ::SelectObject(dc.GetSafeHdc(), hOldFont);
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldMode);
}

void CQMXPEditListBase::EnableButtons(BOOL bEnable) {
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPButton*>(m_lstButtons.GetNext(pos))->EnableWindow(bEnable);
}

void CQMXPEditListBase::OnEnable(BOOL bEnable) {
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPButton*>(m_lstButtons.GetNext(pos));
        pButton->m_bGrayDisabled = !bEnable || m_bGrayDisabledButtons;
        pButton->EnableWindow(bEnable);
    }
    if (GetListHwnd() != nullptr)
        ::EnableWindow(GetListHwnd(), bEnable);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
}

void CQMXPEditListBase::OnSetFocus(CWnd*) {
    if (GetListHwnd() != nullptr)
        ::SetFocus(GetListHwnd());
}

BOOL CQMXPEditListBase::OnCommand(WPARAM wParam, LPARAM lParam) {
    const HWND hFrom = reinterpret_cast<HWND>(lParam);
    int iButton = 0;
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr; ++iButton) {
        auto* pButton = static_cast<CQMXPButton*>(m_lstButtons.GetNext(pos));
        if (hFrom == nullptr || pButton->GetSafeHwnd() != hFrom)
            continue;
        if (HIWORD(wParam) == BN_CLICKED) {
            if (GetListHwnd() != nullptr)
                ::SetFocus(GetListHwnd());
            OnClickButton(iButton);
        }
        return TRUE;
    }
    return CStatic::OnCommand(wParam, lParam);
}

void CQMXPEditListBase::OnClickButton(int iButton) {
    if (m_uiStandardBtns == 0)
        return;
    const UINT uiCmd = ButtonCommand(iButton);
    const int iSelItem = GetSelItem();
    if (uiCmd == kUpItemId || uiCmd == kDownItemId) {
        const BOOL bUp = uiCmd == kUpItemId;
        if (iSelItem < 0 || (bUp && iSelItem == 0) || (!bUp && iSelItem == GetCount() - 1))
            return;
        const HWND hList = GetListHwnd();
        ::SendMessageW(hList, WM_SETREDRAW, FALSE, 0);
        const CString strText = GetItemText(iSelItem);
        const DWORD_PTR dwData = GetItemData(iSelItem);
        // A move is no deletion of the user's.
        m_bIsActualDelete = FALSE;
        RemoveItem(iSelItem);
        m_bIsActualDelete = TRUE;
        const int iNew = AddItem(strText, dwData, bUp ? iSelItem - 1 : iSelItem + 1);
        SelectItem(iNew);
        ::SendMessageW(hList, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(hList, nullptr, TRUE);
        if (bUp)
            OnAfterMoveItemUp(iNew);
        else
            OnAfterMoveItemDown(iNew);
    } else if (uiCmd == kRemoveItemId) {
        if (iSelItem >= 0 && OnBeforeRemoveItem(iSelItem))
            RemoveItem(iSelItem);
    } else if (uiCmd == kNewItemId) {
        CreateNewItem();
    }
}

BYTE CQMXPEditListBase::ModifierFlags() {
    BYTE fFlags = 0;
    if (::GetKeyState(VK_CONTROL) & 0x8000)
        fFlags |= FCONTROL;
    if (::GetKeyState(VK_MENU) & 0x8000)
        fFlags |= FALT;
    if (::GetKeyState(VK_SHIFT) & 0x8000)
        fFlags |= FSHIFT;
    return fFlags;
}

BOOL CQMXPEditListBase::ProcessShortcut(WORD wKey, BYTE fFlags) {
    const DWORD dwShortcut = (static_cast<DWORD>(fFlags) << 16) | wKey;
    for (size_t i = 0; i < m_lstKeyAccell.size(); ++i) {
        if (m_lstKeyAccell[i] != 0 && m_lstKeyAccell[i] == dwShortcut) {
            OnClickButton(static_cast<int>(i));
            return TRUE;
        }
    }
    return FALSE;
}

void CQMXPEditListBase::OnKey(WORD wKey, BYTE fFlags) {
    const int iSelItem = GetSelItem();
    if (iSelItem >= 0 && fFlags == 0 && (wKey == VK_SPACE || wKey == VK_F2))
        EditItem(iSelItem);
}

BOOL CQMXPEditListBase::CreateNewItem() {
    const int iItem = AddItem(L"");
    if (iItem < 0)
        return FALSE;
    m_bNewItem = TRUE;
    return EditItem(iItem);
}

void CQMXPEditListBase::OnEndEditLabel(LPCWSTR lpszLabel) {
    const int iSelItem = GetSelItem();
    const CString strLabel = lpszLabel != nullptr ? lpszLabel : L"";
    if (iSelItem >= 0) {
        if (!strLabel.IsEmpty()) {
            SetItemText(iSelItem, strLabel);
            if (m_bNewItem)
                OnAfterAddItem(iSelItem);
            else
                OnAfterRenameItem(iSelItem);
        } else if (m_bNewItem) {
            RemoveItem(iSelItem);
        }
    }
    m_bNewItem = FALSE;
    EnableButtons(TRUE);
}

void CQMXPEditListBase::OnDrawBrowseButton(CDC* pDC, CRect rect, BOOL bIsButtonPressed, BOOL) {
    pDC->FillRect(&rect, &globalData.brBtnFace);
    CRect rectText = rect;
    if (bIsButtonPressed)
        rectText.OffsetRect(1, 1);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(globalData.clrBtnText);
    HGDIOBJ hOldFont = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(DEFAULT_GUI_FONT));
    pDC->DrawText(CString(L"..."), &rectText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(pDC->GetSafeHdc(), hOldFont);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
    pDC->Draw3dRect(&rect, globalData.clrBtnDkShadow, globalData.clrBtnDkShadow);
    rect.DeflateRect(1, 1);
    ::DrawEdge(pDC->GetSafeHdc(), &rect, bIsButtonPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}
