#include "appwindows/KWAboutDialog.h"

#include "appwindows/KWAccessors.h"
#include "appwindows/KWBaseApplication.h"
#include "appwindows/KWEggsHelper.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/StringResource.h"
#include "resources/FrameworkDialogs.h"
#include "resources/Strings.h"

IMPLEMENT_DYNAMIC(CKWAboutDialog, CKWDialog)

COLORREF g_KWAboutCreditsColor = 0xFFFFFF;
COLORREF g_KWAboutTextColor = 0;

namespace {
constexpr double kScrollStep = 1.0;
}  // namespace

BEGIN_MESSAGE_MAP(CKWAboutDialog, CKWDialog)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CKWAboutDialog::CKWAboutDialog(UINT templateId, CWnd* parent)
    : CKWDialog(templateId, parent), m_startTick(::GetTickCount())
{
}

CKWAboutDialog::~CKWAboutDialog()
{
    delete m_clickHandler;
    delete m_firstLink;
    delete m_secondLink;
}

void CKWAboutDialog::SetOwnedObject(CKWEggsHelper* helper)
{
    if (helper == m_clickHandler)
        return;
    delete m_clickHandler;
    m_clickHandler = helper;
}

BOOL CKWAboutDialog::OnInitDialog()
{
    CKWDialog::OnInitDialog();
    CKWBaseApplication* app = KWGetApp();
    m_credits.Create(IDC_KW_ABOUT_CREDITS, this);
    m_credits.SetImageResource(app ? app->GetAboutBitmapId() : 0);
    m_credits.SetImpParam(g_KWAboutCreditsColor);
    m_credits.Refresh();

    m_firstLink = new CKWHLinkStatic;
    m_firstLink->Create(IDC_KW_ABOUT_LINK1, this, kLinkColor, g_KWAboutTextColor);
    m_secondLink = new CKWHLinkStatic;
    m_secondLink->Create(IDC_KW_ABOUT_LINK2, this, kLinkColor, g_KWAboutTextColor);
    m_firstLink->SetText(m_firstLinkText, m_firstLinkTarget);
    m_secondLink->SetText(m_secondLinkText, m_secondLinkTarget);

    CString version;
    AfxLoadStringResource(IDS_VERSION_PREFIX, version);
    if (app)
        version += app->GetVersionString();
    m_version.Create(GetItemWindow(IDC_KW_ABOUT_VERSION));
    m_version.SetText(version);
    m_version.SetTextColor(g_KWAboutTextColor);

    SetTimer(kTimerId, kTimerPeriodMs);
    return TRUE;
}

void CKWAboutDialog::OnTimer(UINT_PTR)
{
    if (::GetTickCount() - m_startTick < kScrollDelayMs)
        return;
    m_creditsPosition -= kScrollStep;
    const int offset = static_cast<int>(m_creditsPosition);
    if (offset != 0)
        m_credits.SetOffset(offset);
}

bool CKWAboutDialog::OnLButtonDownHook(CPoint point)
{
    if (!m_clickHandler)
        return false;
    m_clickHandler->OnClick(this, point.x, point.y);
    return true;
}

void CKWAboutDialog::OnDestroy()
{
    KillTimer(kTimerId);
    m_credits.DestroyWindow();
    if (m_firstLink)
        m_firstLink->DestroyWindow();
    if (m_secondLink)
        m_secondLink->DestroyWindow();
    m_version.DestroyImp();
    delete m_firstLink;
    m_firstLink = nullptr;
    delete m_secondLink;
    m_secondLink = nullptr;
    CKWDialog::OnDestroy();
}
