#include "controls/ButtonST.h"

#include "platform/classlib/DC.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

#include <commctrl.h>

namespace {

// Image and caption move by this much while pressed.
constexpr int kPressedOffset = 1;
// The icon's distance from the left edge beside a caption.
constexpr int kIconMargin = 3;
constexpr int kToolTipWidth = 400;
constexpr UINT_PTR kToolId = 1;
// The type bits of a button style, and the check-box bit among them.
constexpr DWORD kTypeMask = 0x1F;
constexpr UINT kCaptionFormat = DT_WORDBREAK | DT_CENTER;

}  // namespace

BEGIN_MESSAGE_MAP(CButtonST, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_KILLFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_CANCELMODE()
    ON_WM_ENABLE()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
    ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
    ON_MESSAGE(BM_SETCHECK, OnSetCheck)
    ON_MESSAGE(BM_GETCHECK, OnGetCheck)
    ON_WM_SYSCOLORCHANGE()
    ON_WM_CTLCOLOR_REFLECT()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CButtonST::CButtonST()
{
    ReadColors();
}

CButtonST::~CButtonST()
{
    ReleaseIcons();
    if (m_toolTip.m_hWnd)
        m_toolTip.DestroyWindow();
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

void CButtonST::ReadColors()
{
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    for (int i = 0; i < kColorCount; i += 2) {
        m_colors[i] = face;
        m_colors[i + 1] = text;
    }
}

void CButtonST::ReleaseIcons()
{
    for (Icon& icon : m_icons) {
        if (icon.handle)
            ::DestroyIcon(icon.handle);
        icon = Icon();
    }
}

DWORD CButtonST::SetIconHandles(HICON iconIn, HICON iconOut, HICON iconDisabled)
{
    ReleaseIcons();
    const HICON given[kIconCount] = {iconIn, iconOut, iconDisabled};
    if (!iconIn) {
        // Without the in icon the button shows none; the others are its own all the same.
        for (HICON icon : given)
            if (icon)
                ::DestroyIcon(icon);
        if (m_hWnd)
            Invalidate();
        return 0;
    }
    for (int i = 0; i < kIconCount; ++i) {
        if (!given[i])
            continue;
        // The icon's size is twice its hot spot; the bitmaps that come with
        // the answer are ours to delete.
        ICONINFO info = {};
        if (!::GetIconInfo(given[i], &info)) {
            ReleaseIcons();
            for (int rest = i + 1; rest < kIconCount; ++rest)
                if (given[rest])
                    ::DestroyIcon(given[rest]);
            return 1;
        }
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
        if (info.hbmMask)
            ::DeleteObject(info.hbmMask);
        m_icons[i] = {given[i], static_cast<int>(info.xHotspot * 2), static_cast<int>(info.yHotspot * 2)};
    }
    if (m_hWnd)
        Invalidate();
    return 0;
}

DWORD CButtonST::SetIconById(UINT iconIn, UINT iconOut, UINT iconDisabled)
{
    auto load = [](UINT id) -> HICON {
        if (id == 0)
            return nullptr;
        return static_cast<HICON>(
            ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    };
    return SetIconHandles(load(iconIn), load(iconOut), load(iconDisabled));
}

void CButtonST::EnsureToolTip()
{
    if (m_toolTip.m_hWnd)
        return;
    m_toolTip.Create(this, 0);
    m_toolTip.Activate(FALSE);
    m_toolTip.SetMaxTipWidth(kToolTipWidth);
    if (!m_tipText.IsEmpty())
        ApplyTooltipText();
}

void CButtonST::ApplyTooltipText()
{
    if (m_toolTip.GetToolCount() == 0) {
        CRect client;
        GetClientRect(&client);
        m_toolTip.AddTool(this, m_tipText, &client, kToolId);
    }
    m_toolTip.UpdateTipText(m_tipText, this, kToolId);
    m_toolTip.Activate(m_tipActive);
}

void CButtonST::SetTooltipString(LPCWSTR text, BOOL activate)
{
    if (!text)
        return;
    m_tipText = text;
    m_tipActive = activate;
    // A panel holds many buttons: each one's tooltip window is made when the
    // mouse first comes to it, not with the panel.
    if (m_toolTip.m_hWnd)
        ApplyTooltipText();
}

void CButtonST::SetTooltipTextById(UINT stringId, BOOL activate)
{
    CString text;
    AfxLoadStringResource(stringId, text);
    if (!text.IsEmpty())
        SetTooltipString(text, activate);
}

void CButtonST::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    DWORD type = GetStyle() & kTypeMask;
    m_checkBoxMode = (type & BS_CHECKBOX) != 0;
    if (type == BS_DEFPUSHBUTTON)
        m_default = true;
    ModifyStyle(kTypeMask, BS_OWNERDRAW, SWP_FRAMECHANGED);
}

BOOL CButtonST::PreTranslateMessage(MSG* msg)
{
    // The tooltip takes only the mouse's messages.
    if (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) {
        EnsureToolTip();
        m_toolTip.RelayEvent(msg);
    }
    if (msg->message == WM_LBUTTONDBLCLK)
        msg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(msg);
}

void CButtonST::CancelHover()
{
    if (!m_hover)
        return;
    m_hover = false;
    Invalidate(FALSE);
}

void CButtonST::OnMouseMove(UINT flags, CPoint point)
{
    CButton::OnMouseMove(flags, point);
    ClientToScreen(&point);
    const HWND under = ::WindowFromPoint(point);
    // Dragging onto the button does not light it.
    if ((flags & MK_LBUTTON) && !m_hover)
        return;
    if (under == m_hWnd && !m_hover) {
        m_hover = true;
        Invalidate(FALSE);
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        ::_TrackMouseEvent(&track);
    } else if (under != m_hWnd) {
        CancelHover();
    }
}

void CButtonST::OnMouseLeave()
{
    CancelHover();
}

void CButtonST::OnKillFocus(CWnd* newWindow)
{
    CButton::OnKillFocus(newWindow);
    CancelHover();
}

void CButtonST::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CButton::OnActivate(state, other, minimized);
    if (state == WA_INACTIVE)
        CancelHover();
}

void CButtonST::OnCancelMode()
{
    CButton::OnCancelMode();
    CancelHover();
}

void CButtonST::OnEnable(BOOL enable)
{
    CButton::OnEnable(enable);
    if (!enable) {
        // Only a focus the button had (the system has already taken it away
        // then) moves on: buttons disabled while the user works elsewhere
        // leave the focus where it is.
        CWnd* parent = GetParent();
        const HWND focus = ::GetFocus();
        if (parent && (focus == nullptr || focus == m_hWnd)) {
            CWnd* next = parent->GetNextDlgTabItem(this, FALSE);
            if (next && next->m_hWnd != m_hWnd)
                next->SetFocus();
            else
                parent->SetFocus();
        }
    }
    CancelHover();
}

void CButtonST::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    CButton::OnKeyDown(key, repeat, flags);
    CWnd* parent = GetParent();
    if (!parent)
        return;
    NMKEY notice = {};
    notice.hdr.hwndFrom = m_hWnd;
    notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    notice.hdr.code = static_cast<UINT>(NM_KEYDOWN);
    notice.nVKey = key;
    notice.uFlags = flags;
    parent->SendNotifyMessage(WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
}

UINT CButtonST::OnGetDlgCode()
{
    const UINT code = static_cast<UINT>(Default());
    return code | (m_default ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

LRESULT CButtonST::OnSetStyle(WPARAM style, LPARAM redraw)
{
    const DWORD type = static_cast<DWORD>(style) & kTypeMask;
    if (type == BS_DEFPUSHBUTTON)
        m_default = true;
    else if (type == BS_PUSHBUTTON)
        m_default = false;
    return DefWindowProc(BM_SETSTYLE, (style & ~WPARAM(kTypeMask)) | BS_OWNERDRAW, redraw);
}

LRESULT CButtonST::OnSetCheck(WPARAM check, LPARAM)
{
    if (m_checkBoxMode) {
        m_check = (check == BST_CHECKED || check == BST_INDETERMINATE) ? 1 : 0;
        Invalidate();
    }
    return 0;
}

LRESULT CButtonST::OnGetCheck(WPARAM, LPARAM)
{
    return m_check;
}

void CButtonST::OnSysColorChange()
{
    CButton::OnSysColorChange();
    ReadColors();
    Invalidate();
}

HBRUSH CButtonST::CtlColor(CDC*, UINT)
{
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CButtonST::OnClicked()
{
    SetFocus();
    if (m_checkBoxMode) {
        m_check = m_check ? 0 : 1;
        Invalidate();
    }
    // The parent hears of the click as well.
    return FALSE;
}

void CButtonST::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    m_pressed = (drawItem->itemState & ODS_SELECTED) != 0 || (m_checkBoxMode && m_check == 1);
    m_focused = (drawItem->itemState & ODS_FOCUS) != 0;
    m_disabled = (drawItem->itemState & ODS_DISABLED) != 0;
    const CRect item(drawItem->rcItem);
    dc->SetBkMode(TRANSPARENT);

    DrawBackground(dc, item);
    if (m_pressed || m_hover)
        DrawBorder(dc, item);

    CString caption;
    GetWindowText(caption);
    CRect captionRect = item;
    if (m_icons[kIconIn].handle)
        DrawIcon(dc, !caption.IsEmpty(), item, captionRect, m_pressed, m_disabled);
    if (!caption.IsEmpty())
        DrawCaption(dc, caption, captionRect, m_pressed, m_disabled);
}

void CButtonST::DrawBackground(CDC* dc, const CRect& rect)
{
    COLORREF back = m_colors[kBackOut];
    if (m_hover || m_pressed)
        back = m_colors[kBackIn];
    else if (m_focused)
        back = m_colors[kBackFocus];
    dc->FillSolidRect(&rect, back);
}

void CButtonST::DrawBorder(CDC* dc, const CRect& rect)
{
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_pressed)
        dc->Draw3dRect(&rect, shadow, light);
    else
        dc->Draw3dRect(&rect, light, shadow);
}

void CButtonST::DrawIcon(CDC* dc, BOOL hasCaption, const CRect& item, CRect& caption, BOOL pressed, BOOL disabled)
{
    const Icon* icon = &m_icons[kIconIn];
    UINT effect = 0;
    if (disabled) {
        if (m_icons[kIconDisabled].handle) {
            icon = &m_icons[kIconDisabled];
        } else {
            if (m_icons[kIconOut].handle)
                icon = &m_icons[kIconOut];
            effect = DSS_DISABLED;
        }
    } else if (!(pressed || (!m_checkBoxMode && m_hover)) && m_icons[kIconOut].handle) {
        icon = &m_icons[kIconOut];
    }

    CPoint place = item.TopLeft();
    if (hasCaption) {
        place.x += kIconMargin;
        caption.left += kIconMargin + icon->width;
    } else {
        place.x += (item.Width() - icon->width) / 2;
    }
    place.y += (item.Height() - icon->height) / 2;
    if (pressed && !m_checkBoxMode)
        place.Offset(kPressedOffset, kPressedOffset);
    ::DrawStateW(dc->m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(icon->handle), 0, place.x, place.y,
                 icon->width, icon->height, DST_ICON | effect);
}

void CButtonST::DrawCaption(CDC* dc, const CString& caption, const CRect& rect, BOOL pressed, BOOL disabled)
{
    CRect area = rect;
    if (pressed && !m_checkBoxMode)
        area.OffsetRect(kPressedOffset, kPressedOffset);
    CRect text = area;
    dc->DrawText(caption, &text, kCaptionFormat | DT_CALCRECT);
    text.OffsetRect((area.Width() - text.Width()) / 2, (area.Height() - text.Height()) / 2);

    dc->SetBkMode(TRANSPARENT);
    if (disabled) {
        // Embossed: a light copy one pixel down and right under the shadow.
        text.OffsetRect(1, 1);
        dc->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        dc->DrawText(caption, &text, kCaptionFormat);
        text.OffsetRect(-1, -1);
        dc->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        dc->DrawText(caption, &text, kCaptionFormat);
        return;
    }
    const bool in = m_hover || pressed;
    dc->SetTextColor(m_colors[in ? kTextIn : kTextOut]);
    dc->SetBkColor(m_colors[in ? kBackIn : kBackOut]);
    dc->DrawText(caption, &text, kCaptionFormat);
}
