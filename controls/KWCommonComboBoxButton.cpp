#include "controls/KWCommonComboBoxButton.h"

#include "controls/KWFontComboBox.h"
#include "controls/KWFontLists.h"
#include "docking/toolbars/QMXPComboEdit.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "framework/KWFontFaceStorage.h"
#include "platform/classlib/Archive.h"

#include <cwchar>

IMPLEMENT_SERIAL(CKWCommonComboBoxButton, CQMXPToolbarComboBoxButton, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CKWFontNameComboBoxButton, CKWCommonComboBoxButton, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CKWFontSizeComboBoxButton, CKWCommonComboBoxButton, VERSIONABLE_SCHEMA | 1)

bool CKWCommonComboBoxButton::s_bHasFocus = false;

namespace {

// A changed box is repainted with this margin around it on its tool bar.
constexpr int kRepaintMargin = 10;

// The font-name buttons on the live tool bars, in tool-bar order.
template <typename Action>
void ForEachFontNameButton(Action action)
{
    CObList buttons;
    CQMXPToolBar::CollectButtonsByCommand(CKWFontNameComboBoxButton::kCommandId, buttons);
    for (POSITION pos = buttons.GetHeadPosition(); pos != nullptr;) {
        CObject* button = buttons.GetNext(pos);
        if (button->IsKindOf(RUNTIME_CLASS(CKWFontNameComboBoxButton)))
            action(*static_cast<CKWFontNameComboBoxButton*>(button));
    }
}

template <class Box>
Box* CreateBox(DWORD style, CWnd* parent, const CRect& rect, UINT id)
{
    auto* box = new Box;
    if (!box->Create(style, rect, parent, id)) {
        delete box;
        return nullptr;
    }
    box->SetCommandId(id);
    return box;
}

}  // namespace

BOOL CKWCommonComboBoxButton::NotifyCommand(int iNotifyCode)
{
    switch (iNotifyCode) {
    case kSetFocus:
        s_bHasFocus = true;
        return TRUE;
    case kKillFocus:
        s_bHasFocus = false;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CKWCommonComboBoxButton::OnCommandNotify(UINT uiNotifyCode)
{
    const BOOL library = CQMXPToolbarComboBoxButton::OnCommandNotify(uiNotifyCode);
    return NotifyCommand(static_cast<int>(uiNotifyCode)) || library;
}

CComboBox* CKWCommonComboBoxButton::CreateCombo(CWnd* pWndParent, const CRect& rect)
{
    return CreateBox<CKWCommonComboBox>(m_dwStyle, pWndParent, rect, m_nID);
}

void CKWCommonComboBoxButton::Serialize(CArchive& ar)
{
    CQMXPToolbarComboBoxButton::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<int>(m_iWidth) << static_cast<int>(m_value);
        return;
    }
    int width = 0;
    int value = 0;
    ar >> width >> value;
    m_iWidth = width;
    m_value = value;
    m_rect.right = m_rect.left + width;
}

void CKWCommonComboBoxButton::AssignFrom(const CQMXPToolbarButton& src)
{
    CQMXPToolbarComboBoxButton::AssignFrom(src);
    if (const auto* combo = dynamic_cast<const CKWCommonComboBoxButton*>(&src))
        m_value = combo->m_value;
}

BOOL CKWFontNameComboBoxButton::NotifyCommand(int iNotifyCode)
{
    if (iNotifyCode == CBN_SELENDOK || iNotifyCode == CBN_SELENDCANCEL)
        return TRUE;
    return CKWCommonComboBoxButton::NotifyCommand(iNotifyCode);
}

CComboBox* CKWFontNameComboBoxButton::CreateCombo(CWnd* pWndParent, const CRect& rect)
{
    auto* box = CreateBox<CKWFontNameComboBox>(m_dwStyle, pWndParent, rect, m_nID);
    if (!box)
        return nullptr;
    if (GetFontCommboData().GetSize() == 0) {
        // The first box builds the picker data; all boxes are refilled from it.
        m_pWndCombo = box;
        UpdateFontLists(true);
        Refill();
    } else {
        m_pWndCombo = box;
        Refill();
    }
    return box;
}

void CKWFontNameComboBoxButton::Refill()
{
    RemoveAllItems();
    FCOMMBO_DATA_ARRAY& data = GetFontCommboData();
    for (size_t i = 0; i < data.GetSize(); ++i) {
        FontCommboData* entry = data.GetAt(i);
        CString name;
        if (entry->face && entry->face->name)
            name = entry->face->name->c_str();
        else if (const wchar_t* missing = GetMissingFontName(entry))
            name = CString(missing) + CKWFontNameComboBox::kMissedSuffix;
        AddItem(name, reinterpret_cast<DWORD_PTR>(entry));
    }
    // A sorted box holds its items in its own order: the lists follow it.
    RefillFromWindow();
}

void CKWFontNameComboBoxButton::RefillAll()
{
    ForEachFontNameButton([](CKWFontNameComboBoxButton& button) { button.Refill(); });
}

void CKWFontNameComboBoxButton::SetCurrentFont(int value, const wchar_t* face)
{
    // The entry that shows the font in a button: by its document index, else by the face's name.
    auto entryOf = [&](const CKWFontNameComboBoxButton& button) {
        int byName = -1;
        for (int i = 0; i < button.GetCount() && value >= 0; ++i) {
            const auto* entry = reinterpret_cast<const FontCommboData*>(button.GetItemData(i));
            if (entry && entry->value == value)
                return i;
            const wchar_t* name = GetFontEntryName(entry);
            if (byName < 0 && face && name && std::wcscmp(name, face) == 0)
                byName = i;
        }
        return byName;
    };
    bool first = true;
    bool shown = false;
    ForEachFontNameButton([&](CKWFontNameComboBoxButton& button) {
        if (shown)
            return;
        const int found = entryOf(button);
        if (first) {
            first = false;
            shown = button.GetCurSel() == found;
            if (shown)
                return;
        }
        button.SelectItem(found);
        CWnd* bar = button.GetComboBox() ? button.GetComboBox()->GetParent() : nullptr;
        if (bar && bar->m_hWnd) {
            CRect area = button.GetRect();
            area.InflateRect(kRepaintMargin, kRepaintMargin);
            bar->InvalidateRect(&area);
            bar->UpdateWindow();
        }
    });
}

CKWFontSizeComboBoxButton::CKWFontSizeComboBoxButton(DWORD style, int width)
    : CKWCommonComboBoxButton(kCommandId, style, width)
{
    for (int size : CKWFontSizeComboBox::kSizes) {
        CString text;
        text.Format(L"%d", size);
        AddItem(text);
    }
}

CComboBox* CKWFontSizeComboBoxButton::CreateCombo(CWnd* pWndParent, const CRect& rect)
{
    auto* box = CreateBox<CKWFontSizeComboBox>(m_dwStyle, pWndParent, rect, m_nID);
    if (!box)
        return nullptr;
    if (HWND edit = ::GetWindow(box->m_hWnd, GW_CHILD))
        ::SetWindowLongW(edit, GWL_STYLE, ::GetWindowLongW(edit, GWL_STYLE) | ES_NUMBER);
    return box;
}

void CKWFontSizeComboBoxButton::OnParentChanged(CWnd* pWndParent)
{
    CQMXPToolbarComboBoxButton::OnParentChanged(pWndParent);
    if (CQMXPComboEdit* edit = GetEditCtrl())
        if (edit->m_hWnd)
            ::SetWindowLongW(edit->m_hWnd, GWL_STYLE, ::GetWindowLongW(edit->m_hWnd, GWL_STYLE) | ES_NUMBER);
}
