#pragma once
// CKWCommonComboBoxButton: the base of the framework's tool-bar combo boxes
// (font name and font size). While the combo box of any of them has the
// keyboard focus a global flag is set, so that the refresh of the text
// tool bar does not overwrite what the user is typing.
//
// CKWFontNameComboBoxButton (command 32853): the font names of the
// application's list and the fonts the document uses that the system lacks,
// each entry's data its picker entry (KWFontLists.h), in an owner-drawn box
// (KWFontComboBox.h).
#include "docking/toolbars/QMXPToolbarComboBoxButton.h"

#include <cstdint>

class CKWCommonComboBoxButton : public CQMXPToolbarComboBoxButton {
    DECLARE_DYNCREATE(CKWCommonComboBoxButton)
public:
    // Notifications of the combo box that the button handles.
    enum : int { kSetFocus = 3, kKillFocus = 4 };

    CKWCommonComboBoxButton() = default;
    explicit CKWCommonComboBoxButton(UINT nID) : CQMXPToolbarComboBoxButton(nID) {}
    // A box of the combo style and width (pixels), without an image.
    CKWCommonComboBoxButton(UINT nID, DWORD style, int width) : CQMXPToolbarComboBoxButton(nID, -1, style, width) {}

    // A notification of the button's combo box; TRUE when the button handled it.
    virtual BOOL NotifyCommand(int iNotifyCode);
    // The library's notification, then the button's own.
    BOOL OnCommandNotify(UINT uiNotifyCode) override;
    // A box of the framework's kind (keys as a tool-bar box wants them).
    CComboBox* CreateCombo(CWnd* pWndParent, const CRect& rect) override;
    // The library's record, then the button's width and its value (two
    // 32-bit values); a loaded button's right edge is its left plus the width.
    void Serialize(CArchive& ar) override;
    // The value travels with a copy (customisation).
    void AssignFrom(const CQMXPToolbarButton& src) override;

    // A value kept and stored with the button; 0 until set.
    int32_t GetValue() const { return m_value; }
    void SetValue(int32_t value) { m_value = value; }

    // True while a combo box of such a button has the keyboard focus.
    static bool HasComboFocus() { return s_bHasFocus; }

private:
    int32_t m_value = 0;
    static bool s_bHasFocus;
};

class CKWFontNameComboBoxButton : public CKWCommonComboBoxButton {
    DECLARE_DYNCREATE(CKWFontNameComboBoxButton)
public:
    enum : UINT { kCommandId = 32853 };

    CKWFontNameComboBoxButton() : CKWCommonComboBoxButton(kCommandId) {}
    CKWFontNameComboBoxButton(DWORD style, int width) : CKWCommonComboBoxButton(kCommandId, style, width) {}

    // The end of a choice (CBN_SELENDOK, CBN_SELENDCANCEL) goes on as the command.
    BOOL NotifyCommand(int iNotifyCode) override;
    // The owner-drawn box, filled from the picker data (made first when empty).
    CComboBox* CreateCombo(CWnd* pWndParent, const CRect& rect) override;

    // Refills the entries from the application's font list and the picker data.
    void Refill();
    // Every font-name button of the tool bars.
    static void RefillAll();
    // Shows in every font-name button the entry whose document font index is
    // the value; when no entry has it, the entry of the face name given (a
    // font the document's table does not list yet, such as the default face
    // of a new report's empty note), else none. Nothing when the first button
    // already shows it. A changed button's area is repainted.
    static void SetCurrentFont(int value, const wchar_t* face = nullptr);
};

// CKWFontSizeComboBoxButton (command 32842): the font sizes in points.
class CKWFontSizeComboBoxButton : public CKWCommonComboBoxButton {
    DECLARE_DYNCREATE(CKWFontSizeComboBoxButton)
public:
    enum : UINT { kCommandId = 32842 };

    CKWFontSizeComboBoxButton() : CKWCommonComboBoxButton(kCommandId) {}
    // With the standard sizes from 6 to 72 points as its entries.
    CKWFontSizeComboBoxButton(DWORD style, int width);
    // A box whose typed text takes digits only.
    CComboBox* CreateCombo(CWnd* pWndParent, const CRect& rect) override;
    void OnParentChanged(CWnd* pWndParent) override;
};
