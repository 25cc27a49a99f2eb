#include "appwindows/KWBaseApplication.h"

#include "framework/KWSystemInfo.h"
#include "framework/QMFormatInfo.h"
#include "appwindows/KWDocManager.h"
#include "appwindows/KWDocument.h"
#include "appwindows/KWHelpShow.h"
#include "appwindows/KWStatusBar.h"
#include "platform/classlib/CmdUI.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/StringResource.h"
#include "resources/Strings.h"

#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CKWBaseApplication, CKWBaseWinApplication)

namespace {

constexpr UINT kHelpCommand = 0xE146;  // ID_HELP

// The value as the C library's wide conversion reads it: blanks, one
// sign, digits up to the first other character. A piece is read whole,
// however long it is.
int32_t PieceValue(const std::wstring& piece)
{
    return static_cast<int32_t>(std::wcstol(piece.c_str(), nullptr, 10));
}

}  // namespace

int32_t KWVersionNumberFromText(const wchar_t* text)
{
    const std::wstring version = text ? text : L"";
    const size_t firstDot = version.find(L'.');
    const std::wstring majorPiece = version.substr(0, firstDot);
    const int32_t major = majorPiece.empty() ? 1 : PieceValue(majorPiece);
    if (firstDot == std::wstring::npos)
        return static_cast<int32_t>(static_cast<uint32_t>(major) * 100000u);
    // The minor and build pieces are joined: the dot between them is skipped.
    std::wstring middle;
    size_t position = firstDot + 1;
    bool skippedDot = false;
    bool stoppedAtDot = false;
    for (; position < version.size(); ++position) {
        if (version[position] == L'.') {
            if (skippedDot) {
                stoppedAtDot = true;
                break;
            }
            skippedDot = true;
            continue;
        }
        middle += version[position];
    }
    const int32_t minor = middle.empty() ? 0 : PieceValue(middle);
    int32_t last = 0;
    if (stoppedAtDot && position + 1 < version.size())
        last = PieceValue(version.substr(position + 1));
    // 32-bit arithmetic, wrapping as the program's numbers do.
    const uint32_t number = (static_cast<uint32_t>(major) * 100u + static_cast<uint32_t>(minor)) * 1000u +
                            static_cast<uint32_t>(last);
    return static_cast<int32_t>(number);
}

BEGIN_MESSAGE_MAP(CKWBaseApplication, CKWBaseWinApplication)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(kHelpCommand, OnHelp)
    ON_UPDATE_COMMAND_UI(kHelpCommand, OnUpdateHelp)
END_MESSAGE_MAP()

CKWBaseApplication::CKWBaseApplication(LPCWSTR appName)
    : CKWBaseWinApplication(appName), m_startTickCount(::GetTickCount())
{
    m_toolBarManager.SetKeyStack(&m_keyStack);
    UpdatePrinterMetrics(true);
}

CKWBaseApplication::~CKWBaseApplication()
{
    delete m_statusBar;
    m_statusBar = nullptr;
    delete m_formatList;
    m_formatList = nullptr;
}

BOOL CKWBaseApplication::OnIdle(LONG lCount)
{
    OnIdleHook();
    return CKWBaseWinApplication::OnIdle(lCount);
}

void CKWBaseApplication::InitializeApp()
{
    LoadSettings();
    CKWDocManager* manager = CreateDocManager();
    if (manager) {
        delete m_pDocManager;
        m_pDocManager = manager;
    }
    AddDocTemplates();
}

void CKWBaseApplication::TerminateApp()
{
    SaveSettings();
}

void CKWBaseApplication::OnMainFrameCreate(CFrameWnd* frame)
{
    OnMainFrameCreating(frame);
    m_toolBarManager.CreateToolBars(frame);
    OnMainFrameCreated();
}

CKWStatusBar* CKWBaseApplication::CreateStatusBar(CWnd* parent)
{
    std::vector<UINT> ids;
    std::vector<UINT> styles;
    std::vector<int> widths;
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    for (int index = 0; index < kMaxStatusPanes && GetStatusBarPane(index, id, style, width); ++index) {
        ids.push_back(id);
        styles.push_back(style);
        widths.push_back(width);
    }
    delete m_statusBar;
    m_statusBar = new CKWStatusBar;
    if (!m_statusBar->Create(parent)) {
        delete m_statusBar;
        m_statusBar = nullptr;
        return nullptr;
    }
    // The indicators get their texts from the string table.
    m_statusBar->SetIndicators(ids.data(), static_cast<int>(ids.size()));
    for (size_t pane = 0; pane < ids.size(); ++pane)
        m_statusBar->SetPaneInfo(static_cast<int>(pane), ids[pane], styles[pane], widths[pane]);
    // The message pane starts with the idle text, as it shows it again after every prompt.
    CString idle;
    if (!ids.empty() && AfxLoadStringResource(AFX_IDS_IDLEMESSAGE, idle))
        m_statusBar->SetPaneText(0, AfxExtractStringField(idle, 0));
    return m_statusBar;
}

CQMFormatInfo* CKWBaseApplication::GetFormatList()
{
    if (!m_formatList)
        m_formatList = BuildFileFilters();
    return m_formatList;
}

CKWDocManager* CKWBaseApplication::GetDocManager()
{
    return m_pDocManager && m_pDocManager->IsKindOf(RUNTIME_CLASS(CKWDocManager))
               ? static_cast<CKWDocManager*>(m_pDocManager)
               : nullptr;
}

namespace {
CKWDocument* AsFrameworkDocument(CDocument* document)
{
    return document && document->IsKindOf(RUNTIME_CLASS(CKWDocument)) ? static_cast<CKWDocument*>(document)
                                                                      : nullptr;
}
}  // namespace

CKWDocument* CKWBaseApplication::GetFirstDocument()
{
    CKWDocManager* manager = GetDocManager();
    return manager ? AsFrameworkDocument(manager->GetFirstDocument()) : nullptr;
}

CKWDocument* CKWBaseApplication::GetNextDocument()
{
    CKWDocManager* manager = GetDocManager();
    return manager ? AsFrameworkDocument(manager->GetNextDocument()) : nullptr;
}

void CKWBaseApplication::GetSettingsPresent(bool& present)
{
    m_toolBarManager.CheckVersion(present, nullptr);
}

void CKWBaseApplication::PassKeyStackToStatusBar()
{
    if (m_statusBar)
        m_statusBar->SetKeyStack(&m_keyStack);
}

CString CKWBaseApplication::GetDataFolder(bool create)
{
    CString folder = GetDataRoot();
    for (UINT id : {UINT(IDS_MAKER_NAME), UINT(IDS_PRODUCT_FOLDER)}) {
        CString name;
        AfxLoadStringResource(id, name);
        folder += name;
        folder += L'\\';
        // A level that exists already is left as it is.
        if (create)
            ::CreateDirectoryW(folder, nullptr);
    }
    return folder;
}

CString CKWBaseApplication::GetVersionString()
{
    if (m_versionString.IsEmpty())
        m_versionString = GetProgramVersionText();
    return m_versionString;
}

int32_t CKWBaseApplication::GetVersionNumber()
{
    // From the version text itself, not from whatever was read before.
    if (m_versionNumber == -1)
        m_versionNumber = KWVersionNumberFromText(GetVersionString());
    return m_versionNumber;
}

CString KWCompleteLink(const CString& text)
{
    if (text.Left(7) == L"http://" || text.Left(8) == L"https://")
        return text;
    return L"http://" + text;
}

void CKWBaseApplication::OpenLink(const CString& text)
{
    ::ShellExecuteW(nullptr, L"open", KWCompleteLink(text), nullptr, nullptr, SW_SHOWNORMAL);
}

CKWDocManager* CKWBaseApplication::CreateDocManager()
{
    return new CKWDocManager;
}

void CKWBaseApplication::SetStatusBarTexts(const wchar_t* first, ...)
{
    if (!m_statusBar)
        return;
    va_list others;
    va_start(others, first);
    m_statusBar->SetPaneTexts(first, others);
    va_end(others);
}

bool CKWBaseApplication::IsStatusBarVisible()
{
    return m_statusBar && m_statusBar->m_hWnd && ::IsWindowVisible(m_statusBar->m_hWnd) == 1;
}

void CKWBaseApplication::ToggleStatusBar()
{
    if (m_statusBar)
        m_statusBar->ToggleVisible();
}

CString CKWBaseApplication::GetHelpFolder()
{
    return GetModuleDirectory();
}

void CKWBaseApplication::OnHelp()
{
    KWShowHelp(L"", L"", nullptr);
}

void CKWBaseApplication::OnUpdateHelp(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CKWBaseApplication::ShowMessage(const wchar_t* text, int)
{
    if (m_messageSink && ::IsWindow(m_messageSink))
        ::SendMessageW(m_messageSink, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L""));
}
