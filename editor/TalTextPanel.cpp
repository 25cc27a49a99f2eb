#include "editor/TalTextPanel.h"

#include "editor/TalDocFrame.h"
#include "framework/KWColor.h"
#include "framework/KWFocusManager.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommandStrings.h"
#include "document/TalDocument.h"

void CTalTextPanel::BeginEditing()
{
    SetFocus();
    if (m_owner)
        m_owner->SetFocusItem(m_ownerCode);
    BeginEdit(GetTextObject());
}

void CTalTextPanel::ShowText(CKWTextObject* text)
{
    m_attaching = true;
    AttachTextObject(text);
    m_attaching = false;
}

void CTalTextPanel::DetachTextObject()
{
    CKWTextObject* text = GetTextObject();
    CKWTextPanel::DetachTextObject();
    if (m_attaching || !text)
        return;
    ShowText(text);
    if (m_hWnd) {
        Invalidate(TRUE);
        UpdateWindow();
    }
}

void CTalTextPanel::GetBackgroundColor(CKWColor& color)
{
    color = CKWColor::FromRgb(255, 255, 255);
}

CTalDocument* CTalTextPanel::GetDocument()
{
    auto* frame = m_hWnd ? dynamic_cast<CTalDocFrame*>(GetParentFrame()) : nullptr;
    return frame ? frame->GetDocument() : nullptr;
}

int CTalTextPanel::BeforeChange()
{
    CTalDocument* document = GetDocument();
    if (CTalCommandHistory* history = document ? document->GetCommandHistory() : nullptr)
        history->BeginGroup();
    return 0;
}

void CTalTextPanel::OnTextReplaced(int start, int startLine, int& end, int inserted)
{
    CKWTextPanel::OnTextReplaced(start, startLine, end, inserted);
    CTalDocument* document = GetDocument();
    CTalCommandHistory* history = document ? document->GetCommandHistory() : nullptr;
    if (!history || !history->IsGroupOpen())
        return;
    history->EndGroup(IDS_EDIT_TEXT_NOTE);
    document->SetModifiedFlag(TRUE);
}

void CTalTextPanel::OnSetFocus()
{
    CKWTextPanel::OnSetFocus();
    if (m_owner)
        m_owner->SetFocusItem(m_ownerCode);
}
