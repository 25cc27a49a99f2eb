#include "editor/TalTextWnd.h"

#include "framework/KWIndexDecoder.h"
#include "model/TalSection.h"
#include "model/TalTextFormat.h"
#include "model/TalTextNote.h"
#include "document/TalDocument.h"
#include "platform/classlib/MessageMap.h"
#include "resources/Editor.h"

#include <algorithm>
#include <string>

namespace {
// The report's text style, whose face the label takes.
constexpr int32_t kReportTextStyle = 8;
constexpr double kLabelFontSize = 20.0;
constexpr uint32_t kLabelFontStyle = 1;
constexpr UINT kPanelMenuId = 1146;
constexpr UINT kPanelBitmapId = 2528;
constexpr int kPanelRightGap = 5;
// The line under the label, above the panel.
constexpr int kSeparatorGap = 3;
}  // namespace

BEGIN_MESSAGE_MAP(CTalTextWnd, CTalPaneWnd)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CTalTextWnd::CTalTextWnd(CTalDocument* document) : CTalPaneWnd(IDD_TAL_TEXT, 4), m_document(document) {}

CTalTextWnd::~CTalTextWnd()
{
    m_label.DestroyImp();
}

void CTalTextWnd::InitControls()
{
    CRect client;
    GetClientRect(&client);
    client.top = kPanelTop;
    m_panel.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, client, this, kPanelId);
    m_panel.SetContextMenuId(kPanelMenuId);
    m_panel.SetBitmap(kPanelBitmapId);
    m_panel.SetControlsOwner(GetFocusManager(), GetFocusCode());
    m_panel.SetClickListener(this, kPanelId);
    m_label.Create(GetItemHwnd(kLabelId));
    m_label.SetFontSize(kLabelFontSize);
    m_label.SetFontStyle(kLabelFontStyle);
    UpdateDefaultFont();
}

void CTalTextWnd::OnTextPanelClick(UINT)
{
    NotifyFocus();
}

void CTalTextWnd::TakeFocus()
{
    if (m_panel.m_hWnd)
        m_panel.SetFocus();
    else
        CTalPaneWnd::TakeFocus();
}

void CTalTextWnd::OnSize(UINT, int, int)
{
    CRect client;
    GetClientRect(&client);
    if (m_panel.m_hWnd)
        m_panel.MoveWindow(client.left, kPanelTop, std::max(client.right - kPanelRightGap, client.left) - client.left,
                           std::max<LONG>(client.bottom - kPanelTop, 0));
    // The name in its large type needs more than the template's line: the
    // label takes the room above the panel and the line goes under it.
    const struct {
        UINT id;
        int top, height;
    } rows[] = {{kLabelId, 0, kPanelTop - kSeparatorGap - 1}, {kSeparatorId, kPanelTop - kSeparatorGap, 1}};
    for (const auto& row : rows) {
        if (HWND item = GetItemHwnd(row.id)) {
            RECT rect;
            ::GetWindowRect(item, &rect);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
            ::MoveWindow(item, rect.left, row.top, client.Width() - rect.left, row.height, TRUE);
        }
    }
}

void CTalTextWnd::LoadSectionText(CTalSection* section)
{
    CString name = section ? section->GetName() : CString();
    name.Trim();
    m_label.SetText(name);
    CKWRefPtr<CTalSection> current = m_document ? m_document->GetCurrentSection() : CKWRefPtr<CTalSection>();
    m_panel.ShowText(current ? current->GetTextNote() : nullptr);
    if (m_panel.m_hWnd) {
        m_panel.Invalidate(TRUE);
        m_panel.UpdateWindow();
    }
}

void CTalTextWnd::UpdateDefaultFont()
{
    std::wstring face;
    if (m_document) {
        CTalDocProperties& properties = m_document->GetProperties();
        if (const CTalTextFormat* style = properties.GetTextFormat(kReportTextStyle, false))
            face = properties.GetFontTable().GetEntry(style->m_font).GetName();
    }
    if (face.empty())
        face = L"Arial";
    // The label keeps its own copy: the name goes with this call.
    m_label.SetFaceName(face.c_str());
}

void CTalTextWnd::OnEditorKillFocus()
{
    if (m_panel.IsEditing())
        m_panel.DetachTextObject();
}

void CTalTextWnd::SelectText(int first, int last)
{
    if (!m_panel.GetTextObject())
        return;
    if (!m_panel.IsEditing())
        m_panel.BeginEdit(m_panel.GetTextObject());
    m_panel.SetSel(first, last, true);
}
