#include "docking/toolbars/QMXPToolbarButton.h"

#include "docking/frames/QMXPUserTool.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/toolbars/QMXPMnemonicLabel.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/MemFile.h"
#include "platform/classlib/OleDataObject.h"
#include "platform/classlib/OleDataSource.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

#include <commctrl.h>

#include <memory>

IMPLEMENT_SERIAL(CQMXPToolbarButton, CObject, VERSIONABLE_SCHEMA | 1)

BOOL CQMXPToolbarButton::m_bUpdateImages = TRUE;
BOOL CQMXPToolbarButton::m_bWrapText = TRUE;
CLIPFORMAT CQMXPToolbarButton::s_cFormat = 0;
CString CQMXPToolbarButton::s_strClipboardFormatName;

namespace {

constexpr UINT kArchiveBuffer = 4096;
// A button read from another process's data keeps its text within this;
// anything longer is no button of ours.
constexpr int kMaxStoredText = 1024;

}  // namespace

CQMXPToolbarButton::CQMXPToolbarButton() { Initialize(); }

CQMXPToolbarButton::CQMXPToolbarButton(UINT uiID, int iImage, LPCWSTR lpszText, BOOL bUserButton, BOOL bLocked) {
    Initialize();
    m_bLocked = bLocked;
    m_nID = uiID;
    m_bUserButton = bUserButton;
    SetImage(iImage);
    m_strText = lpszText != nullptr ? lpszText : L"";
    if (m_nID == 0 || m_bLocked)
        return;
    const int iInUse = GetImage();
    if (iInUse == -1 || (m_bUserButton && iInUse == -2)) {
        const int iCommandImage = QMXTheCommandManager()->GetCommandImage(m_nID, m_bUserButton);
        (m_bUserButton ? m_iUserImage : m_iImage) = iCommandImage;
    } else {
        QMXTheCommandManager()->SetCommandImage(m_nID, iInUse, m_bUserButton);
    }
}

CQMXPToolbarButton::CQMXPToolbarButton(UINT uiID, LPCWSTR lpszText, BOOL bText)
    : CQMXPToolbarButton(uiID, -1, lpszText) {
    if (bText)
        m_bText = TRUE;
}

CQMXPToolbarButton::~CQMXPToolbarButton() = default;

void CQMXPToolbarButton::Initialize() {
    m_bUserButton = FALSE;
    m_nID = 0;
    m_nStyle = 0;
    m_bText = FALSE;
    m_bImage = TRUE;
    m_bTextSecond = FALSE;
    m_bImageSecond = TRUE;
    m_bTextBelow = FALSE;
    m_bDragFromCollection = FALSE;
    m_rect.SetRectEmpty();
    m_iImage = -1;
    m_iUserImage = -1;
    m_bLocked = FALSE;
    m_bIsHidden = FALSE;
    m_sizeText = CSize(0, 0);
    m_pWndSelfDraw = nullptr;
    m_bOnMenuTypeBar = FALSE;
    m_bHorz = TRUE;
    m_bVisible = TRUE;
    m_bWrap = FALSE;
    m_bNoReset = FALSE;
    m_bOwnImage = FALSE;
    m_bAlwaysText = FALSE;
}

void CQMXPToolbarButton::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_nID) << static_cast<DWORD>(m_nStyle) << GetImage() << m_strText << m_bUserButton
           << m_bDragFromCollection << m_bText << m_bImage;
        return;
    }
    int iImage = -1;
    ar >> m_nID >> m_nStyle >> iImage >> m_strText;
    if (m_strText.GetLength() > kMaxStoredText)
        AfxThrowArchiveException(CArchiveException::genericException);
    ar >> m_bUserButton >> m_bDragFromCollection >> m_bText >> m_bImage;
    SetImage(iImage);
}

BOOL CQMXPToolbarButton::CanBeDroppedOn(CQMXPToolBar*) { return TRUE; }

void CQMXPToolbarButton::AssignFrom(const CQMXPToolbarButton& src) {
    m_nID = src.m_nID;
    m_bLocked = src.m_bLocked;
    m_bUserButton = src.m_bUserButton;
    m_nStyle = src.m_nStyle;
    SetImage(src.GetImage());
    m_strText = src.m_strText;
    m_bText = src.m_bText;
    m_bImage = src.m_bImage;
    m_bTextSecond = src.m_bTextSecond;
    m_strTextCustom = src.m_strTextCustom;
    m_bDragFromCollection = FALSE;
    m_bNoReset = src.m_bNoReset;
    m_bOwnImage = src.m_bOwnImage;
    m_bAlwaysText = src.m_bAlwaysText;
}

BOOL CQMXPToolbarButton::OnClick(CWnd*, BOOL) { return FALSE; }

BOOL CQMXPToolbarButton::OnClickUp() { return FALSE; }

BOOL CQMXPToolbarButton::OnDblClick(CWnd*) { return FALSE; }

BOOL CQMXPToolbarButton::OnToolHitTest(const CWnd*, TOOLINFOW*) { return FALSE; }

void CQMXPToolbarButton::SetRadio() {}

void CQMXPToolbarButton::OnParentChanged(CWnd* pWndParent) {
    auto* pToolBar = DYNAMIC_DOWNCAST(CQMXPToolBar, pWndParent);
    m_bOnMenuTypeBar = pToolBar != nullptr && pToolBar->IsMenuMode();
}

BOOL CQMXPToolbarButton::FillMenuItemText(CQMXPToolbarButton* pMenuItem) {
    if (m_strText.IsEmpty() && m_nID != 0 && pMenuItem != nullptr) {
        const CString strName = GetCommandShortName(m_nID);
        if (!strName.IsEmpty())
            pMenuItem->m_strText = strName;
    }
    return TRUE;
}

void CQMXPToolbarButton::OnMove() {}

void CQMXPToolbarButton::OnSize(int) {}

HWND CQMXPToolbarButton::GetHwnd() { return nullptr; }

BOOL CQMXPToolbarButton::CanBeStretched() const { return FALSE; }

BOOL CQMXPToolbarButton::OnCommandNotify(UINT) { return FALSE; }

void CQMXPToolbarButton::OnAddToCustomizePage() {}

HBRUSH CQMXPToolbarButton::OnCtlColor(CDC*, UINT) { return nullptr; }

BOOL CQMXPToolbarButton::CanBeDragged() const { return TRUE; }

BOOL CQMXPToolbarButton::HasBorder() const { return TRUE; }

void CQMXPToolbarButton::OnCancelMode() {}

BOOL CQMXPToolbarButton::IsPermitted() const {
    // A menu (id -1) runs no command: it may be customised like any item.
    if (m_nID == static_cast<UINT>(-1))
        return TRUE;
    return !IsStandardCommand(m_nID) && CQMXPToolBar::IsCommandPermitted(m_nID);
}

BOOL CQMXPToolbarButton::OnClickImmediate(CWnd*) { return FALSE; }

BOOL CQMXPToolbarButton::OnCustomizeMenu(CMenu*) { return FALSE; }

BOOL CQMXPToolbarButton::IsDroppedDown() const { return FALSE; }

BOOL CQMXPToolbarButton::ClosePopup() { return TRUE; }

// Every frame of the library answers its button hook with FALSE.
BOOL CQMXPToolbarButton::OnFrameHook(CWnd*, int) { return FALSE; }

void CQMXPToolbarButton::OnShow(BOOL) {}

CRect CQMXPToolbarButton::GetRect() const { return m_rect; }

void CQMXPToolbarButton::SetStyle(UINT nStyle) { m_nStyle = nStyle; }

void CQMXPToolbarButton::ResetToDefault() {
    if ((m_bUserButton && m_iUserImage >= 0) || static_cast<int>(m_nID) <= 0)
        return;
    if (qmxUserToolsManager != nullptr && qmxUserToolsManager->LookupTool(m_nID) != nullptr)
        return;
    int iImage = -1;
    if (CQMXPToolBar::m_DefaultImages.Lookup(m_nID, iImage) && iImage >= 0) {
        // The default image is a standard one.
        m_bUserButton = FALSE;
        SetImage(iImage);
        return;
    }
    if (m_bImage) {
        m_bImage = FALSE;
        m_bText = TRUE;
    }
    if (m_strText.IsEmpty())
        m_strText = GetCommandShortName(m_nID);
}

BOOL CQMXPToolbarButton::CompareWith(const CQMXPToolbarButton& other) const { return m_nID == other.m_nID; }

void CQMXPToolbarButton::EnableWindow(BOOL bEnable) {
    HWND hwnd = GetHwnd();
    if (hwnd != nullptr)
        ::EnableWindow(hwnd, bEnable);
}

BOOL CQMXPToolbarButton::IsWindowVisible() {
    HWND hwnd = GetHwnd();
    return hwnd != nullptr && (::GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

BOOL CQMXPToolbarButton::IsOwnerOf(HWND hwnd) {
    HWND hwndOwn = GetHwnd();
    return hwndOwn != nullptr && hwnd != nullptr && (hwndOwn == hwnd || ::IsChild(hwndOwn, hwnd));
}

BOOL CQMXPToolbarButton::HasFocus() const {
    HWND hwnd = const_cast<CQMXPToolbarButton*>(this)->GetHwnd();
    HWND hwndFocus = ::GetFocus();
    return hwnd != nullptr && hwndFocus != nullptr && (hwndFocus == hwnd || ::IsChild(hwnd, hwndFocus));
}

void CQMXPToolbarButton::SetImage(int iImage) {
    if (m_nStyle & TBBS_SEPARATOR) {
        // A separator keeps its width here.
        m_iImage = iImage;
        return;
    }
    (m_bUserButton ? m_iUserImage : m_iImage) = iImage;
    if (!m_bLocked && m_nID != 0) {
        CQMXPCommandManager* pManager = QMXTheCommandManager();
        if (iImage != -1) {
            if (m_bUserButton || m_bUpdateImages)
                pManager->SetCommandImage(m_nID, iImage, m_bUserButton);
        } else {
            m_iImage = pManager->GetCommandImage(m_nID, FALSE);
            m_iUserImage = pManager->GetCommandImage(m_nID, TRUE);
            if (m_iImage < 0)
                m_bUserButton = !m_bUserButton;
        }
    }
    if (GetImage() < 0) {
        m_bImage = FALSE;
        m_bText = TRUE;
    }
}

BOOL CQMXPToolbarButton::CanBeStored() const { return TRUE; }

BOOL CQMXPToolbarButton::IsEditable() const { return !IsStandardCommand(m_nID); }

void CQMXPToolbarButton::SetRect(const CRect& rect) {
    m_rect = rect;
    OnMove();
}

void CQMXPToolbarButton::FillInterior(CDC* pDC, const CRect& rect, BOOL bHighlight) {
    if (m_pWndSelfDraw != nullptr)
        return;
    int state = QMXP_BUTTON_NORMAL;
    if (!CQMXPToolBar::m_bCustomizeMode) {
        if (bHighlight)
            state = QMXP_BUTTON_HIGHLIGHTED;
        else if (m_nStyle & (TBBS_CHECKED | TBBS_PRESSED))
            state = QMXP_BUTTON_PRESSED;
    }
    CQMXPVisualManager::GetInstance()->OnFillButtonInterior(pDC, this, rect, state);
}

CLIPFORMAT CQMXPToolbarButton::GetClipboardFormat() {
    if (s_cFormat == 0) {
        s_strClipboardFormatName.Format(L"QMXToolbarButton%lx",
                                        static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(AfxGetInstanceHandle())));
        s_cFormat = static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(s_strClipboardFormatName));
    }
    return s_cFormat;
}

BOOL CQMXPToolbarButton::PutOnClipboard(COleDataSource* pDataSource) {
    if (!CanBeDragged())
        return TRUE;
    try {
        CSharedFile file(GMEM_MOVEABLE | GMEM_SHARE, kArchiveBuffer);
        {
            CArchive ar(&file, CArchive::store, kArchiveBuffer);
            ar.WriteClass(GetRuntimeClass());
            Serialize(ar);
            ar.Close();
        }
        pDataSource->CacheGlobalData(GetClipboardFormat(), file.Detach());
    } catch (CException* pException) {
        pException->Delete();
    }
    return TRUE;
}

CQMXPToolbarButton* CQMXPToolbarButton::LoadFromOleData(COleDataObject* pDataObject) {
    if (pDataObject == nullptr)
        return nullptr;
    std::unique_ptr<CFile> pFile(pDataObject->GetFileData(GetClipboardFormat()));
    if (pFile == nullptr)
        return nullptr;
    CQMXPToolbarButton* pButton = nullptr;
    try {
        CArchive ar(pFile.get(), CArchive::load, kArchiveBuffer);
        // Another process may offer the format: only our button classes are made.
        CRuntimeClass* pClass = ar.ReadClass(RUNTIME_CLASS(CQMXPToolbarButton));
        pButton = static_cast<CQMXPToolbarButton*>(pClass->CreateObject());
        if (pButton != nullptr) {
            pButton->Serialize(ar);
            ar.Close();
        }
    } catch (CException* pException) {
        pException->Delete();
        delete pButton;
        pButton = nullptr;
    }
    return pButton;
}

CString CQMXPToolbarButton::GetDisplayText(const CString& strText) {
    CString strResult;
    CQMXPMnemonicLabel::Parse(strText, strResult);
    return strResult;
}

CString CQMXPToolbarButton::GetCommandShortName(UINT uiCmd) {
    CString strFull;
    if (!AfxLoadStringResource(uiCmd, strFull))
        return CString();
    const int iBreak = strFull.Find(L'\n');
    return iBreak < 0 ? CString() : strFull.Mid(iBreak + 1);
}
