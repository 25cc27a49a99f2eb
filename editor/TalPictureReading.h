#pragma once
// CTalPictureReading: what the section image panel shows while the pictures
// a user just added are read and checked on the picture-loading threads:
// the busy cursor at once (the windows answer meanwhile), a progress window
// once the reading has lasted about a second, and, when the reading is done,
// one warning for the added pictures whose files proved damaged, empty or
// no picture. The panel tells it of each picture read and of the end of the
// loading; a section shown instead ends it without a warning (the export
// names those files).
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
    // The pictures are being read from now on.
    void Begin(const std::vector<uint32_t>& pictureIds);
    // One picture of the loading threads is read (and checked).
    void OnPictureRead(uint32_t pictureId);
    // The loading of every picture asked for is done: the warning, then the end.
    void OnLoadingDone();
    // The pictures are no longer read (another section is shown).
    void Cancel();
    // The panel's timer: the reading still goes on after the delay.
    void OnProgressTimer();

    bool IsActive() const { return m_active; }
    int GetTotal() const { return m_total; }
    int GetRead() const { return m_read; }

private:
    void End();

    HWND m_panel;
    bool m_active = false;
    int m_total = 0;
    int m_read = 0;
    std::multiset<uint32_t> m_waiting;  // added, not read yet
    std::vector<uint32_t> m_checked;    // added and read, not reported yet
    std::unique_ptr<CKWProgressWnd> m_progress;
};
