#include "editor/TalPictureReading.h"

#include "appwindows/KWBusyCursor.h"
#include "appwindows/KWProgressWnd.h"
#include "document/TalDocument.h"
#include "platform/classlib/Wnd.h"

CTalPictureReading::CTalPictureReading(HWND panel) : m_panel(panel) {}

CTalPictureReading::~CTalPictureReading()
{
    End();
}

void CTalPictureReading::Begin(const std::vector<uint32_t>& pictureIds)
{
    if (pictureIds.empty())
        return;
    m_waiting.insert(pictureIds.begin(), pictureIds.end());
    m_total += static_cast<int>(pictureIds.size());
    if (m_progress)
        m_progress->SetRange(0, m_total);
    if (m_active)
        return;
    m_active = true;
    CKWBusyCursor::BeginBackground();
    if (m_panel)
        ::SetTimer(m_panel, kProgressTimer, kProgressDelayMs, nullptr);
}

void CTalPictureReading::OnPictureRead(uint32_t pictureId)
{
    const auto found = m_waiting.find(pictureId);
    if (found == m_waiting.end())
        return;
    m_waiting.erase(found);
    m_checked.push_back(pictureId);
    ++m_read;
    if (m_progress)
        m_progress->SetPos(m_read);
}

void CTalPictureReading::OnLoadingDone()
{
    if (!m_active)
        return;
    // The states are known: the loading threads checked each file.
    std::vector<uint32_t> checked;
    checked.swap(m_checked);
    End();
    CTalDocument::ReportPictureProblems(checked, true);
}

void CTalPictureReading::Cancel()
{
    m_checked.clear();
    End();
}

void CTalPictureReading::OnProgressTimer()
{
    if (m_panel)
        ::KillTimer(m_panel, kProgressTimer);
    if (!m_active || m_progress)
        return;
    CWnd* owner = m_panel ? CWnd::FromHandle(::GetAncestor(m_panel, GA_ROOT)) : nullptr;
    m_progress = std::make_unique<CKWProgressWnd>(owner);
    m_progress->SetMessage(L"Reading pictures...");
    m_progress->SetRange(0, m_total);
    m_progress->SetPos(m_read);
    // The windows behind it answer: it takes neither the activation nor the keys.
    m_progress->ShowInactive();
}

void CTalPictureReading::End()
{
    if (!m_active)
        return;
    m_active = false;
    if (m_panel)
        ::KillTimer(m_panel, kProgressTimer);
    m_progress.reset();
    m_waiting.clear();
    m_total = 0;
    m_read = 0;
    CKWBusyCursor::EndBackground();
}
