#pragma once
// CTalPictureReading: what the section image panel shows while the pictures
// a user just added are read on the picture-loading threads, first their
// thumbnails, then the check of their files: the busy cursor at once (the
// windows answer meanwhile), a progress window once the reading has lasted
// about a second ("Reading pictures...", then "Checking pictures..."), and,
// once every file is checked, one warning for the added pictures whose files
// proved damaged, empty, too large, no picture or missing. The panel tells it of each
// thumbnail read and each file checked.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

class CKWProgressWnd;

class CTalPictureReading {
public:
    // The timer, on the panel's window, after which the progress window shows.
    static constexpr UINT_PTR kProgressTimer = 0x7A1;
    static constexpr UINT kProgressDelayMs = 1000;

    explicit CTalPictureReading(HWND panel = nullptr);
    ~CTalPictureReading();
    CTalPictureReading(const CTalPictureReading&) = delete;
    CTalPictureReading& operator=(const CTalPictureReading&) = delete;

    void SetPanel(HWND panel) { m_panel = panel; }
    // The pictures are read from now on.
    void Begin(const std::vector<uint32_t>& pictureIds);
    void OnThumbnailRead(uint32_t pictureId);
    // The last file checked ends the reading: true, with the pictures checked,
    // for the warning that names their problems.
    bool OnPictureChecked(uint32_t pictureId, std::vector<uint32_t>& checked);
    // The panel goes: the reading ends without a warning (an export names
    // the files' problems).
    void Cancel();
    // The panel's timer: the reading still goes on after the delay.
    void OnProgressTimer();

    bool IsActive() const { return m_active; }
    // The added pictures whose files are not checked yet.
    std::vector<uint32_t> GetUnchecked() const { return std::vector<uint32_t>(m_unchecked.begin(), m_unchecked.end()); }

private:
    void ShowProgress();
    void End();

    HWND m_panel;
    bool m_active = false;
    int m_total = 0;
    int m_done = 0;  // thumbnails read and files checked
    std::multiset<uint32_t> m_unread;     // added, no thumbnail read yet
    std::multiset<uint32_t> m_unchecked;  // added, file not checked yet
    std::vector<uint32_t> m_checked;      // added and checked
    std::unique_ptr<CKWProgressWnd> m_progress;
    const wchar_t* m_message = nullptr;  // shown by the progress window
    int m_range = 0;
};
