#include "controls/KWFontComboBox.h"

#include "controls/KWFontLists.h"
#include "framework/KWFontFaceStorage.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/View.h"
#include "platform/classlib/WinApp.h"
#include "resources/Toolbars.h"

#include <cwchar>

namespace {

constexpr int kMarkWidth = 16;
constexpr int kMarkHeight = 15;
constexpr COLORREF kMissingColor = RGB(120, 120, 120);
constexpr wchar_t kListFace[] = L"MS Sans Serif";

// The active view of the main window's active frame; null when none.
CView* ActiveView()
{
    auto* main = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    CFrameWnd* frame = main ? main->GetActiveFrame() : nullptr;
    return frame ? frame->GetActiveView() : nullptr;
}

bool KeyDown(int key)
{
    return ::GetKeyState(key) < 0;
}

}  // namespace

// ---- CKWCommonComboBox ---------------------------------------------------------------

int CKWCommonComboBox::SelectStringExact(const wchar_t* text)
{
    for (int i = 0; i < GetCount(); ++i) {
        CString item;
        GetLBText(i, item);
        if (item == text) {
            SetCurSel(i);
            return i;
        }
    }
    SetCurSel(-1);
    return -1;
}

BOOL CKWCommonComboBox::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_LBUTTONDOWN) {
        // The tool bar takes the focus from the view, so that it knows
        // where the focus goes back to.
        CView* view = ActiveView();
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(view ? view->m_hWnd : nullptr));
        return FALSE;
    }
    if (pMsg->message != WM_KEYDOWN)
        return CComboBox::PreTranslateMessage(pMsg);
    switch (pMsg->wParam) {
    case VK_RETURN:
        if (CView* view = ActiveView())
            view->SendMessage(WM_COMMAND, MAKEWPARAM(m_commandId, kEnterNotification),
                              reinterpret_cast<LPARAM>(m_hWnd));
        return TRUE;
    case VK_UP:
    case VK_DOWN:
        if (KeyDown(VK_MENU) || KeyDown(VK_CONTROL) || GetDroppedState())
            break;
        ShowDropDown(TRUE);
        return TRUE;
    case VK_BACK:
    case VK_DELETE: {
        HWND focus = ::GetFocus();
        if (!focus || !::IsChild(m_hWnd, focus))
            break;
        if (pMsg->wParam == VK_BACK) {
            MSG typed;
            ::PeekMessageW(&typed, pMsg->hwnd, WM_CHAR, WM_CHAR, PM_REMOVE);
            ::SendMessageW(focus, WM_CHAR, VK_BACK, pMsg->lParam);
        } else {
            ::SendMessageW(focus, WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
        }
        return TRUE;
    }
    default:
        break;
    }
    return CComboBox::PreTranslateMessage(pMsg);
}

// ---- CKWFontNameComboBox ---------------------------------------------------------------

bool CKWFontNameComboBox::s_ownFaceNames = false;
std::wstring CKWFontNameComboBox::s_sampleText;

CKWFontNameComboBox::CKWFontNameComboBox()
{
    m_marks = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_KW_FONT_MARKS),
                                                IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

CKWFontNameComboBox::~CKWFontNameComboBox()
{
    if (m_marks)
        ::DeleteObject(m_marks);
}

void CKWFontNameComboBox::FillList(const std::vector<CString>& names, const std::vector<FontCommboData*>& entries)
{
    ResetContent();
    for (size_t i = 0; i < entries.size() && i < names.size(); ++i)
        AddFont(names[i], entries[i]);
    SetCurSel(-1);
}

int CKWFontNameComboBox::AddFont(const CString& name, FontCommboData* entry)
{
    CString text = name;
    if (!entry || !entry->face)
        text += kMissedSuffix;
    const int index = AddString(text);
    if (index >= 0)
        SetItemData(index, reinterpret_cast<DWORD_PTR>(entry));
    return index;
}

int CKWFontNameComboBox::FindByValue(int value) const
{
    for (int i = 0; i < GetCount(); ++i) {
        const auto* entry = reinterpret_cast<const FontCommboData*>(GetItemData(i));
        if (entry && entry != reinterpret_cast<const FontCommboData*>(CB_ERR) && entry->value == value)
            return i;
    }
    return -1;
}

void CKWFontNameComboBox::DrawItem(LPDRAWITEMSTRUCT item)
{
    HDC dc = item->hDC;
    RECT rect = item->rcItem;
    if (item->itemAction & ODA_FOCUS)
        ::DrawFocusRect(dc, &rect);
    if (static_cast<int>(item->itemID) < 0)
        return;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    const COLORREF back = selected ? ::GetSysColor(COLOR_HIGHLIGHT) : ::GetBkColor(dc);
    HBRUSH brush = ::CreateSolidBrush(back);
    ::FillRect(dc, &rect, brush);
    ::DeleteObject(brush);

    const auto* entry = reinterpret_cast<const FontCommboData*>(item->itemData);
    const CKWFontFace* face = entry ? entry->face : nullptr;
    const int type = face ? face->type : 0;
    const int markX = type == CKWFontFaceStorage::kTrueType ? kMarkWidth : type == CKWFontFaceStorage::kDevice ? 0
                                                                                                             : 2 * kMarkWidth;
    if (m_marks) {
        HDC marks = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(marks, m_marks);
        ::BitBlt(dc, rect.left, rect.top, kMarkWidth, kMarkHeight, marks, markX, 0, SRCAND);
        ::SelectObject(marks, old);
        ::DeleteDC(marks);
    }

    CString text;
    GetLBText(static_cast<int>(item->itemID), text);
    LOGFONTW logFont = {};
    logFont.lfHeight = (rect.bottom - rect.top) - 2;
    logFont.lfWeight = FW_NORMAL;
    bool ownFace = face && face->name && s_ownFaceNames && !(item->itemState & ODS_COMBOBOXEDIT);
    const bool symbolOnly = face && face->charsets.size() == 1 && face->charsets.front() == SYMBOL_CHARSET;
    const bool sample = ownFace && symbolOnly && !s_sampleText.empty();
    if (sample)
        ownFace = false;
    std::wcsncpy(logFont.lfFaceName, ownFace ? face->name->c_str() : kListFace, LF_FACESIZE - 1);
    HFONT font = ::CreateFontIndirectW(&logFont);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    const COLORREF textColor =
        !face ? kMissingColor : selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : ::GetTextColor(dc);
    const COLORREF oldColor = ::SetTextColor(dc, textColor);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    RECT textRect = rect;
    textRect.left += kTextLeft;
    ::DrawTextW(dc, text, text.GetLength(), &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (sample) {
        SIZE name = {};
        ::GetTextExtentPoint32W(dc, text, text.GetLength(), &name);
        std::wcsncpy(logFont.lfFaceName, face->name->c_str(), LF_FACESIZE - 1);
        logFont.lfCharSet = SYMBOL_CHARSET;
        HFONT sampleFont = ::CreateFontIndirectW(&logFont);
        HGDIOBJ nameFont = ::SelectObject(dc, sampleFont);
        RECT sampleRect = textRect;
        sampleRect.left += name.cx + kTextLeft;
        ::DrawTextW(dc, s_sampleText.c_str(), static_cast<int>(s_sampleText.size()), &sampleRect,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        ::SelectObject(dc, nameFont);
        ::DeleteObject(sampleFont);
    }
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColor);
    ::SelectObject(dc, oldFont);
    ::DeleteObject(font);
}

void CKWFontNameComboBox::MeasureItem(LPMEASUREITEMSTRUCT item)
{
    item->itemHeight = kItemHeight;
    if (m_hWnd) {
        RECT rect;
        ::GetWindowRect(m_hWnd, &rect);
        item->itemWidth = static_cast<UINT>(rect.right - rect.left);
    }
}

int CKWFontNameComboBox::CompareItem(LPCOMPAREITEMSTRUCT item)
{
    if (static_cast<int>(item->itemID1) < 0)
        return -1;
    if (static_cast<int>(item->itemID2) < 0)
        return 1;
    CString first, second;
    GetLBText(static_cast<int>(item->itemID1), first);
    GetLBText(static_cast<int>(item->itemID2), second);
    const int order = _wcsicmp(first, second);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

// ---- CKWFontSizeComboBox ---------------------------------------------------------------

const int CKWFontSizeComboBox::kSizes[17] = {6, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

void CKWFontSizeComboBox::FillSizes(int current)
{
    ResetContent();
    int selected = -1;
    for (int size : kSizes) {
        CString text;
        text.Format(L"%d", size);
        const int index = AddString(text);
        if (size == current)
            selected = index;
    }
    SetCurSel(selected);
    if (current >= 0 && selected < 0) {
        CString text;
        text.Format(L"%d", current);
        SetWindowText(text);
    }
}

void CKWFontSizeComboBox::ShowText(const wchar_t* text)
{
    const int found = FindStringExact(-1, text);
    SetCurSel(found);
    if (found < 0)
        SetWindowText(text);
}
