#include "controls/KWCommonComboBoxButton.h"

#include "controls/KWFontLists.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "framework/KWFontFaceStorage.h"

IMPLEMENT_SERIAL(CKWCommonComboBoxButton, CQMXPToolbarComboBoxButton, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CKWFontNameComboBoxButton, CKWCommonComboBoxButton, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CKWFontSizeComboBoxButton, CKWCommonComboBoxButton, VERSIONABLE_SCHEMA | 1)

bool CKWCommonComboBoxButton::s_bHasFocus = false;

namespace {

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

void CKWFontNameComboBoxButton::Refill()
{
    RemoveAllItems();
    const CKWFontFaceStorage* fonts = GetApplicationFontList();
    FCOMMBO_DATA_ARRAY& data = GetFontCommboData();
    for (size_t i = 0; fonts && i < fonts->GetCount() && i < data.GetSize(); ++i) {
        const CKWFontFace* face = fonts->GetAt(i);
        AddItem(face && face->name ? face->name->c_str() : L"", reinterpret_cast<DWORD_PTR>(data.GetAt(i)));
    }
}

void CKWFontNameComboBoxButton::RefillAll()
{
    ForEachFontNameButton([](CKWFontNameComboBoxButton& button) { button.Refill(); });
}

int CKWFontNameComboBoxButton::GetCurrentValue() const
{
    const auto* entry = reinterpret_cast<const FontCommboData*>(GetItemData(GetCurSel()));
    return entry ? entry->value : -1;
}

void CKWFontNameComboBoxButton::SetCurrentFont(int value)
{
    bool first = true;
    bool shown = false;
    ForEachFontNameButton([&](CKWFontNameComboBoxButton& button) {
        if (first) {
            first = false;
            shown = button.GetCurSel() >= 0 ? button.GetCurrentValue() == value : value < 0;
        }
        if (shown)
            return;
        int found = -1;
        for (int i = 0; i < button.GetCount() && found < 0 && value >= 0; ++i) {
            const auto* entry = reinterpret_cast<const FontCommboData*>(button.GetItemData(i));
            if (entry && entry->value == value)
                found = i;
        }
        button.SelectItem(found);
    });
}

CKWFontSizeComboBoxButton::CKWFontSizeComboBoxButton(DWORD style, int width)
    : CKWCommonComboBoxButton(kCommandId, style, width)
{
    for (const wchar_t* size : {L"8", L"9", L"10", L"11", L"12", L"14", L"16", L"18", L"20", L"22", L"24", L"26",
                                L"28", L"36", L"48", L"72"})
        AddItem(size);
}
