#include "TalDocumentCommandSupport.h"

#include "model/TalCommandGroup.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommander.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalTextNote.h"
#include "platform/classlib/CreateContext.h"

#include <cstring>

namespace taldoc {

// ---- The fake panes' image panel, label and title edit boxes, and dialogs ------------

bool CFakeSectionTree::LabelCommand(const char* name)
{
    if (!m_editing)
        return false;
    Log(std::string("label ") + name);
    return true;
}

bool CFakeDocumentViews::TitleCommand(const char* name)
{
    if (!editingTitle)
        return false;
    log.push_back(std::string("title ") + name);
    return true;
}

int CFakeDocumentViews::ImageCount() const
{
    CTalDocument* document = tree.document;
    CKWRefPtr<CTalSection> current = document ? document->GetCurrentSection() : nullptr;
    return current ? current->GetPictureCount() : 0;
}

CTalPositionList CFakeDocumentViews::GetSelectedImageIndices()
{
    if (!thumbnails)
        return currentImage >= 0 ? CTalPositionList{currentImage} : CTalPositionList();
    return selectedImages;
}

// ---- A frame with a real text panel -----------------------------------------------------

void CPanelDocumentViews::LoadSectionText(CTalSection* section)
{
    CFakeDocumentViews::LoadSectionText(section);
    if (panel.m_hWnd)
        panel.AttachTextObject(section ? section->GetTextNote() : nullptr);
}

void CPanelDocumentViews::LeaveTextEditing()
{
    CFakeDocumentViews::LeaveTextEditing();
    CKWTextObject* text = panel.GetTextObject();
    if (panel.m_hWnd && text && panel.IsEditing()) {
        panel.DetachTextObject();
        panel.AttachTextObject(text);
    }
}

void CPanelDocumentViews::RefreshText()
{
    CFakeDocumentViews::RefreshText();
    if (panel.m_hWnd)
        panel.RefreshText();
}

void CPanelDocumentViews::SelectText(int32_t first, int32_t last)
{
    CFakeDocumentViews::SelectText(first, last);
    if (!panel.m_hWnd || !panel.GetTextObject())
        return;
    panel.BeginEdit(panel.GetTextObject());
    panel.SetSel(first, last, true);
}

IMPLEMENT_DYNCREATE(CPanelDocFrame, CFrameWnd)

CPanelDocFrame::~CPanelDocFrame()
{
    if (m_document && m_document->GetFrame() == &views)
        m_document->SetFrame(nullptr);
}

BOOL CPanelDocFrame::OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext)
{
    if (!CFrameWnd::OnCreateClient(lpcs, pContext))
        return FALSE;
    const RECT area = {0, 0, 300, 200};
    if (!views.panel.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, area, this, 1))
        return FALSE;
    views.frame = m_hWnd;
    m_document = pContext ? dynamic_cast<CTalDocument*>(pContext->m_pCurrentDoc) : nullptr;
    if (m_document) {
        views.tree.document = m_document;
        m_document->SetFrame(&views);
    }
    return TRUE;
}

// ---- Fixture ------------------------------------------------------------------------------

void TalCommandFixture::SetUp()
{
    ModelLeakCheck::SetUp();
    app.reset(new CTalTestApp);
    app->reportTemplate = new CMultiDocTemplate(kReportTemplateId, RUNTIME_CLASS(CTestTalDocument),
                                                RUNTIME_CLASS(CPanelDocFrame), RUNTIME_CLASS(CTestReportView));
    app->AddDocTemplate(app->reportTemplate);
    wizard.reset(new CTalBaseDocument);
    document = app->NewDocumentFrom(*wizard);
    ASSERT_NE(nullptr, document);
    views = static_cast<CPanelDocumentViews*>(document->GetFrame());
    ASSERT_NE(nullptr, views);
    heading = document->GetProperties().GetHeadingSection();
    a = Add(heading.Get(), L"A");
    b = Add(heading.Get(), L"B");
    document->SetModifiedFlag(FALSE);
}

void TalCommandFixture::TearDown()
{
    heading.Release();
    a.Release();
    b.Release();
    app.reset();
    wizard.reset();
    ModelLeakCheck::TearDown();
}

namespace {

class CRecordingCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override { state.enabled = on != FALSE; }
    void SetCheck(int check) override { state.checked = check; }
    void SetText(LPCWSTR text) override { state.text = text; }
    CommandState state;
};

}  // namespace

CommandState TalCommandFixture::Update(UINT id)
{
    CRecordingCmdUI cmdUI;
    cmdUI.m_nID = id;
    document->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &cmdUI, nullptr);
    return cmdUI.state;
}

void TalCommandFixture::Command(UINT id)
{
    ::SendMessageW(views->frame, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

CKWRefPtr<CTalSection> TalCommandFixture::Add(CTalSection* parent, const wchar_t* name)
{
    return document->GetCommander().AddChildSection(parent, name, nullptr, false, false, true, true);
}

void TalCommandFixture::Select(CTalSection* section)
{
    Tree().SelectItem(document->FindSectionItem(section));
}

uint32_t TalCommandFixture::LastStepLabel()
{
    const int position = History().GetPosition();
    return position < 0 ? 0 : History().GetGroup(position)->GetLabel();
}

void TalCommandFixture::AddPictures(CTalSection* section, const std::vector<std::wstring>& paths)
{
    std::vector<CString> files;
    for (const std::wstring& path : paths)
        files.push_back(path.c_str());
    document->InsertPictures(files, -1, section, false, true);
}

// ---- Clipboard --------------------------------------------------------------------------------

void SetClipboard(const std::vector<std::pair<UINT, std::string>>& data)
{
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    for (const auto& format : data) {
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, format.second.size());
        std::memcpy(::GlobalLock(block), format.second.data(), format.second.size());
        ::GlobalUnlock(block);
        ::SetClipboardData(format.first, block);
    }
    ::CloseClipboard();
}

std::string UnicodeBytes(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

void SetClipboardBitmap(int width, int height)
{
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::SetClipboardData(CF_BITMAP, bitmap);
    ::CloseClipboard();
}

}  // namespace taldoc
