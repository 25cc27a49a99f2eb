#include "TalDocumentTestSupport.h"

#include "model/TalCommandHistory.h"
#include "model/TalCommander.h"
#include "model/TalDocProperties.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalTextNote.h"
#include "platform/classlib/CreateContext.h"
#include "tests/framework/KWFileDialogTestSupport.h"
#include "tests/platform/classlib/TestSupport.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace taldoc {

namespace {

std::string Narrow(const wchar_t* text)
{
    std::string out;
    for (; text && *text; ++text)
        out += *text < 128 ? static_cast<char>(*text) : '?';
    return out;
}

std::string Positions(const CTalPositionList& positions)
{
    std::string out;
    for (int32_t position : positions)
        out += (out.empty() ? "" : ",") + std::to_string(position);
    return out;
}

std::string NameOf(const CTalSection* section)
{
    return section ? Narrow(section->GetName()) : std::string("-");
}

}  // namespace

// ---- CFakeSectionTree -------------------------------------------------------

CFakeSectionTree::~CFakeSectionTree() = default;

std::vector<HTREEITEM>& CFakeSectionTree::ChildrenOf(HTREEITEM parent)
{
    return parent ? m_items[parent].children : m_roots;
}

HTREEITEM CFakeSectionTree::InsertItem(const wchar_t* text, HTREEITEM parent, HTREEITEM after)
{
    if (parent && !m_items.count(parent))
        return nullptr;
    HTREEITEM item = reinterpret_cast<HTREEITEM>(m_nextHandle++);
    Item& record = m_items[item];
    record.parent = parent;
    record.text = Narrow(text);
    std::vector<HTREEITEM>& siblings = ChildrenOf(parent);
    auto place = std::find(siblings.begin(), siblings.end(), after);
    siblings.insert(after && place != siblings.end() ? place + 1 : siblings.begin(), item);
    Log("insert " + record.text + " under " + (parent ? Name(parent) : std::string("-")) + " after " +
        (after ? Name(after) : std::string("-")));
    return item;
}

void CFakeSectionTree::Forget(HTREEITEM item)
{
    auto found = m_items.find(item);
    if (found == m_items.end())
        return;
    std::vector<HTREEITEM> children = found->second.children;
    for (HTREEITEM child : children)
        Forget(child);
    if (m_selected == item)
        m_selected = nullptr;
    if (m_editing == item)
        m_editing = nullptr;
    m_items.erase(item);
}

void CFakeSectionTree::DeleteItem(HTREEITEM item)
{
    auto found = m_items.find(item);
    if (found == m_items.end())
        return;
    Log("delete " + found->second.text);
    std::vector<HTREEITEM>& siblings = ChildrenOf(found->second.parent);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), item), siblings.end());
    Forget(item);
}

void CFakeSectionTree::DeleteAllItems()
{
    Log("clear");
    m_items.clear();
    m_roots.clear();
    m_selected = nullptr;
    m_editing = nullptr;
}

HTREEITEM CFakeSectionTree::GetRootItem()
{
    return m_roots.empty() ? nullptr : m_roots.front();
}

HTREEITEM CFakeSectionTree::GetNextChild(HTREEITEM item, HTREEITEM previous)
{
    auto found = m_items.find(item);
    if (found == m_items.end())
        return nullptr;
    const std::vector<HTREEITEM>& children = found->second.children;
    if (!previous)
        return children.empty() ? nullptr : children.front();
    auto place = std::find(children.begin(), children.end(), previous);
    return place == children.end() || place + 1 == children.end() ? nullptr : *(place + 1);
}

CKWDBItemUserData* CFakeSectionTree::GetItemData(HTREEITEM item)
{
    auto found = m_items.find(item);
    return found == m_items.end() ? nullptr : found->second.data.get();
}

void CFakeSectionTree::SetItemData(HTREEITEM item, CKWDBItemUserData* data)
{
    auto found = m_items.find(item);
    if (found == m_items.end()) {
        delete data;
        return;
    }
    found->second.data.reset(data);
}

void CFakeSectionTree::SetItemText(HTREEITEM item, const wchar_t* text)
{
    auto found = m_items.find(item);
    if (found == m_items.end())
        return;
    Log("rename " + found->second.text + " to " + Narrow(text));
    found->second.text = Narrow(text);
}

void CFakeSectionTree::SelectItem(HTREEITEM item)
{
    if (!m_items.count(item))
        return;
    Log("select " + Name(item));
    m_selected = item;
    if (document)
        document->OnTreeSelChanged(item);
}

void CFakeSectionTree::Expand(HTREEITEM item, int code)
{
    auto found = m_items.find(item);
    if (found == m_items.end())
        return;
    found->second.expanded = code == kExpand;
    Log(std::string(code == kExpand ? "expand " : "collapse ") + found->second.text);
}

void CFakeSectionTree::EnsureVisible(HTREEITEM item)
{
    Log("visible " + Name(item));
}

void CFakeSectionTree::EditLabel(HTREEITEM item)
{
    m_editing = item;
    Log("edit label " + Name(item));
}

void CFakeSectionTree::EndEditLabel(bool cancel)
{
    if (!m_editing)
        return;
    Log(std::string("end label edit ") + (cancel ? "cancel" : "keep"));
    m_editing = nullptr;
}

std::string CFakeSectionTree::Name(HTREEITEM item) const
{
    auto found = m_items.find(item);
    return found == m_items.end() ? std::string("?") : found->second.text;
}

bool CFakeSectionTree::IsExpanded(HTREEITEM item) const
{
    auto found = m_items.find(item);
    return found != m_items.end() && found->second.expanded;
}

void CFakeSectionTree::DescribeItem(std::string& out, HTREEITEM item) const
{
    const Item& record = m_items.at(item);
    out += record.text;
    if (record.expanded)
        out += "+";
    if (!record.children.empty()) {
        out += "(";
        for (size_t i = 0; i < record.children.size(); ++i) {
            if (i)
                out += ",";
            DescribeItem(out, record.children[i]);
        }
        out += ")";
    }
}

std::string CFakeSectionTree::Describe() const
{
    std::string out;
    for (size_t i = 0; i < m_roots.size(); ++i) {
        if (i)
            out += ";";
        DescribeItem(out, m_roots[i]);
    }
    return out;
}

// ---- CFakeDocumentViews -----------------------------------------------------

std::string CFakeDocumentViews::Positions(const CTalPositionList& positions)
{
    return taldoc::Positions(positions);
}

std::string CFakeDocumentViews::NameOf(const CTalSection* section)
{
    return taldoc::NameOf(section);
}

void CFakeDocumentViews::UpdateImageTitle(int position, const CString& title, bool startEdit)
{
    Log("image title " + std::to_string(position) + " " + Narrow(title) + (startEdit ? " edit" : ""));
}

std::vector<std::string> CFakeDocumentViews::LogWithout(const std::vector<std::string>& prefixes) const
{
    std::vector<std::string> kept;
    for (const std::string& line : log) {
        bool drop = false;
        for (const std::string& prefix : prefixes)
            drop = drop || line.compare(0, prefix.size(), prefix) == 0;
        if (!drop)
            kept.push_back(line);
    }
    return kept;
}

// ---- Frame, view and document -------------------------------------------------

IMPLEMENT_DYNCREATE(CTestDocFrame, CFrameWnd)
IMPLEMENT_DYNCREATE(CTestReportView, CKWView)
IMPLEMENT_DYNCREATE(CTestTalDocument, CTalDocument)

CTestDocFrame::CTestDocFrame() = default;

CTestDocFrame::~CTestDocFrame()
{
    if (m_document && m_document->GetFrame() == &views)
        m_document->SetFrame(nullptr);
}

BOOL CTestDocFrame::OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext)
{
    if (!CFrameWnd::OnCreateClient(lpcs, pContext))
        return FALSE;
    m_document = pContext ? dynamic_cast<CTalDocument*>(pContext->m_pCurrentDoc) : nullptr;
    if (m_document) {
        views.tree.document = m_document;
        m_document->SetFrame(&views);
    }
    return TRUE;
}

// ---- CTalTestApp --------------------------------------------------------------

CTalTestApp::CTalTestApp() : CWinApp(L"OstraTallier Tests"), formats(MakeApplicationFormats()) {}

CTalTestApp::~CTalTestApp()
{
    CloseAll();
}

void CTalTestApp::StartUp()
{
    reportTemplate = new CMultiDocTemplate(kReportTemplateId, RUNTIME_CLASS(CTestTalDocument),
                                           RUNTIME_CLASS(CTestDocFrame), RUNTIME_CLASS(CTestReportView));
    AddDocTemplate(reportTemplate);
}

void CTalTestApp::CloseAll()
{
    if (m_pDocManager)
        CloseAllDocuments(FALSE);
    classlib_test::DrainMessages();
}

CTestTalDocument* CTalTestApp::NewDocument()
{
    return dynamic_cast<CTestTalDocument*>(reportTemplate->OpenDocumentFile(nullptr, FALSE));
}

CTestTalDocument* CTalTestApp::NewDocumentFrom(CTalBaseDocument& start)
{
    wizardDocument = &start;
    CTestTalDocument* document = NewDocument();
    wizardDocument = nullptr;
    return document;
}

CTestTalDocument* CTalTestApp::OpenDocument(const wchar_t* path)
{
    return dynamic_cast<CTestTalDocument*>(reportTemplate->OpenDocumentFile(path, FALSE));
}

void CTalTestApp::GetDefaultPageSize(int32_t& width, int32_t& height)
{
    width = pageWidth;
    height = pageHeight;
}

void CTalTestApp::SetDefaultPageSize(int32_t width, int32_t height)
{
    pageWidth = width;
    pageHeight = height;
}

bool CTalTestApp::RunExportOptionsDialog(CTalDocProperties&, bool& optionsChanged, bool& grayscaleChanged)
{
    ++exportDialogRuns;
    optionsChanged = exportOptionsChanged;
    grayscaleChanged = exportGrayscaleChanged;
    return exportOptionsOk;
}

int CTalTestApp::DoMessageBox(LPCWSTR lpszPrompt, UINT, UINT)
{
    messages.push_back(lpszPrompt);
    return IDOK;
}

std::unique_ptr<CQMFormatInfo> MakeApplicationFormats()
{
    return kw_test::MakeFormats({
        {2048, L"Report Documents", {{"otd", 1, 1}}},
        {16384, L"Report Templates", {{"otn", 1, 1}}},
        {32, L"Html files", {{"html", 0, 1}}},
        {64, L"Document PowerPoint", {{"ppt", 0, 1}}},
        {128, L"Portable Document Format (PDF Documents)", {{"pdf", 0, 1}}},
        {2, L"All Files", {{"*", 1, 0}}},
    });
}

// ---- Dialog answers -------------------------------------------------------------

namespace {

// The name box of the common file dialogs: cmb13 in the explorer style, edt1 in the old one.
const int kNameCombo = 1148;
const int kNameBox = 1152;
// The text of a message box.
const int kMessageText = 0xFFFF;

struct DialogAnswer {
    UINT_PTR timer = 0;
    std::wstring name;
    int controlId = 0;
    int button = IDOK;
    bool answered = false;
    std::wstring text;
    DWORD started = 0;
};
DialogAnswer s_answer;

void CALLBACK AnswerTick(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = classlib_test::FindThreadDialog(nullptr, s_answer.controlId);
    if (!dialog && s_answer.controlId == kNameBox)
        dialog = classlib_test::FindThreadDialog(nullptr, kNameCombo);
    if (!dialog) {
        if (::GetTickCount() - s_answer.started > 10000)
            StopAnswering();
        return;
    }
    if (s_answer.controlId == kNameBox)
        ::SetDlgItemTextW(dialog, ::GetDlgItem(dialog, kNameCombo) ? kNameCombo : kNameBox, s_answer.name.c_str());
    wchar_t text[512] = {};
    ::GetDlgItemTextW(dialog, kMessageText, text, 512);
    s_answer.text = text;
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(s_answer.button, BN_CLICKED), 0);
    s_answer.answered = true;
    StopAnswering();
}

void StartAnswering()
{
    StopAnswering();
    s_answer.answered = false;
    s_answer.started = ::GetTickCount();
    s_answer.timer = ::SetTimer(nullptr, 0, 50, AnswerTick);
}

}  // namespace

void AnswerFileDialog(const std::wstring& name)
{
    s_answer.name = name;
    s_answer.controlId = kNameBox;
    s_answer.button = name.empty() ? IDCANCEL : IDOK;
    StartAnswering();
}

void PressInDialogWith(int controlId, int button)
{
    s_answer.name.clear();
    s_answer.controlId = controlId;
    s_answer.button = button;
    StartAnswering();
}

void AnswerMessageBox()
{
    PressInDialogWith(kMessageText, IDOK);
}

std::wstring AnsweredText()
{
    return s_answer.text;
}

bool DialogWasAnswered()
{
    return s_answer.answered;
}

void StopAnswering()
{
    if (s_answer.timer)
        ::KillTimer(nullptr, s_answer.timer);
    s_answer.timer = 0;
}

// ---- Files ------------------------------------------------------------------------

std::wstring MakeTestFolder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"taldoc" + std::to_wstring(::GetCurrentProcessId()) + L"_" + name;
    RemoveFolder(folder + L"\\");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

void RemoveFolder(const std::wstring& folder)
{
    CKWTestTempFolder::RemoveTree(folder);
}

bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// ---- Model ------------------------------------------------------------------------

namespace {

void DescribeSection(std::ostringstream& out, const CTalSection* section, int depth)
{
    out << std::string(static_cast<size_t>(depth) * 2, ' ') << NameOf(section) << " own "
        << int(section->GetOwnTemplate()) << " template "
        << Narrow(section->GetTemplateName()) << " note \"" << Narrow(section->GetTextNote()->GetText()) << "\"\n";
    for (const CKWRefPtr<CTalPicture>& picture : section->GetPictures())
        out << std::string(static_cast<size_t>(depth) * 2 + 2, ' ') << "picture " << picture->GetPictureId() << " "
            << Narrow(picture->GetTitle()) << " angle " << picture->GetAngle() << "\n";
    for (const CKWRefPtr<CTalSection>& child : section->GetSubSections())
        DescribeSection(out, child.Get(), depth + 1);
}

}  // namespace

std::string DescribeReport(const CTalSection* heading)
{
    std::ostringstream out;
    DescribeSection(out, heading, 0);
    return out.str();
}

void ReportDocumentTest::SetUp()
{
    ModelLeakCheck::SetUp();
    app.reset(new CTalTestApp);
    app->StartUp();
    wizard.reset(new CTalBaseDocument);
    document = app->NewDocumentFrom(*wizard);
    ASSERT_NE(nullptr, document);
    views = static_cast<CFakeDocumentViews*>(document->GetFrame());
    ASSERT_NE(nullptr, views);
    heading = document->GetProperties().GetHeadingSection();
}

void ReportDocumentTest::TearDown()
{
    StopAnswering();
    heading.Release();
    app.reset();
    wizard.reset();
    ModelLeakCheck::TearDown();
}

void TypeNote(CTalDocument& document, CTalSection* section, const wchar_t* text)
{
    CTalCommandHistory* history = document.GetCommandHistory();
    history->BeginGroup();
    CTalTextNote* note = section->GetTextNote();
    note->ReplaceText(text, -1, note->GetLength(), note->GetLength());
    history->EndGroup(0);
}

}  // namespace taldoc
