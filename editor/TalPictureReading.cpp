#include "editor/TalPictureReading.h"

#include "appwindows/KWBusyCursor.h"
#include "appwindows/KWProgressWnd.h"
#include "platform/classlib/Wnd.h"

namespace {

bool TakeOne(std::multiset<uint32_t>& set, uint32_t id)
{
    const auto found = set.find(id);
    if (found == set.end())
        return false;
    set.erase(found);
    return true;
}

}  // namespace

CTalPictureReading::CTalPictureReading(HWND panel) : m_panel(panel) {}

CTalPictureReading::~CTalPictureReading()
{
    End();
}

void CTalPictureReading::Begin(const std::vector<uint32_t>& pictureIds)
{
    if (pictureIds.empty())
        return;
    m_unread.insert(pictureIds.begin(), pictureIds.end());
    m_unchecked.insert(pictureIds.begin(), pictureIds.end());
    m_total += static_cast<int>(pictureIds.size());
    if (m_active) {
        ShowProgress();
        return;
    }
    m_active = true;
    CKWBusyCursor::BeginBackground();
    if (m_panel)
        ::SetTimer(m_panel, kProgressTimer, kProgressDelayMs, nullptr);
}

void CTalPictureReading::OnThumbnailRead(uint32_t pictureId)
{
    if (!TakeOne(m_unread, pictureId))
        return;
    ++m_done;
    ShowProgress();
}

bool CTalPictureReading::OnPictureChecked(uint32_t pictureId, std::vector<uint32_t>& checked)
{
    if (!TakeOne(m_unchecked, pictureId))
        return false;
    // A file checked before its thumbnail came (another section shown meanwhile).
    if (TakeOne(m_unread, pictureId))
        ++m_done;
    ++m_done;
    m_checked.push_back(pictureId);
    if (!m_unchecked.empty()) {
        ShowProgress();
        return false;
    }
    // The states are known: the loading threads checked each file.
    checked.swap(m_checked);
    End();
    return true;
}

void CTalPictureReading::Cancel()
{
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
    m_message = nullptr;
    m_range = 0;
    ShowProgress();
    // The windows behind it answer: it takes neither the activation nor the keys.
    m_progress->ShowInactive();
}

void CTalPictureReading::ShowProgress()
{
    if (!m_progress)
        return;
    // Each change of the text or the range repaints: only when they change.
    const wchar_t* message = m_unread.empty() ? L"Checking pictures..." : L"Reading pictures...";
    if (message != m_message)
        m_progress->SetMessage(message);
    m_message = message;
    // A thumbnail and a check for each picture.
    if (m_range != 2 * m_total)
        m_progress->SetRange(0, 2 * m_total);
    m_range = 2 * m_total;
    m_progress->SetPos(m_done);
}

void CTalPictureReading::End()
{
    if (!m_active)
        return;
    m_active = false;
    if (m_panel)
        ::KillTimer(m_panel, kProgressTimer);
    m_progress.reset();
    m_unread.clear();
    m_unchecked.clear();
    m_checked.clear();
    m_total = 0;
    m_done = 0;
    CKWBusyCursor::EndBackground();
}
